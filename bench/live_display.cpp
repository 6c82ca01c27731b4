// The live display's cost: the station against vemra-rig at the fastest stream the line
// allows (period 1 ms, one record per block, three channels, 60000 displayed points) for
// a given time, reporting the station's CPU time per second of stream and its peak memory.
// Run it with a real display (Xvfb) so the chart is really drawn:
//   xvfb-run -s "-screen 0 1920x1080x24" bench_live_display <vemra-rig> [seconds]

#include "app/form1.h"
#include "platform/qtserialbackend.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

using namespace vemra;

namespace {

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <vemra-rig> [seconds]\n", argv[0]);
        return 2;
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 20;

    const QString rigProgram = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QProcess rig;
    rig.setStandardErrorFile(QProcess::nullDevice());
    rig.start(rigProgram, {QStringLiteral("--dir"), dir.path()});
    for (int i = 0; i < 50 && !QFile::exists(QStringLiteral("Comm1")); ++i)
        QThread::msleep(100);

    Platform platform;
    platform.boardPort = std::make_unique<QtSerialBackend>();
    platform.meterPort = std::make_unique<QtSerialBackend>();
    platform.systemPorts = [] { return QStringList(); };
    auto recorder = std::make_unique<RecordingDialogs>();
    RecordingDialogs* dialogs = recorder.get();
    platform.dialogs = std::move(recorder);
    Form1 form(std::move(platform));
    dialogs->shown.clear(); // no Vemra.ini here: the design values stand
    form.showMaximized();

    form.CheckEnCH1->setChecked(true);
    form.CheckEnCH2->setChecked(true);
    form.ChannelMask = 7;
    form.NumChannels = 3;
    form.CWNumEditFreq->setValue(10);
    form.CWNumEditNumPoint->setValue(1);
    form.NumAvgPoints = 1;
    form.CWNumEditTotPoint->setValue(1000000);
    form.TotalPoints = 1000000;
    form.CWNumEdit1->setValue(60000);
    form.ComboPort->setCurrentIndex(0);
    form.CommandSendData->click();
    if (!form.MSComm1->portOpen()) {
        std::fprintf(stderr, "the board port did not open: %s\n",
                     dialogs->shown.isEmpty() ? "" : qPrintable(dialogs->shown.first().text));
        return 1;
    }

    // Let the stream settle, then measure; the event loop runs as in the program.
    // (QApplication::quit would close the window, which stops the run.)
    QEventLoop loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec();
    const int samplesBefore = form.SampleCount;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = cpuSeconds() - cpuBefore;
    const double elapsed = static_cast<double>(wall.elapsed()) / 1000.0;
    const int samples = form.SampleCount - samplesBefore;
    form.CommandOff->click();
    if (!dialogs->shown.isEmpty())
        std::fprintf(stderr, "station said: %s\n", qPrintable(dialogs->shown.first().text));

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("stream: %.1f s, %d records (%.0f records/s), %d repaints\n", elapsed, samples,
                samples / elapsed, form.CWGraph1->replotCount());
    std::printf("station CPU: %.3f s per second of stream (%.1f%% of one core)\n", cpu / elapsed,
                100.0 * cpu / elapsed);
    std::printf("peak memory: %.1f MiB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    rig.terminate();
    rig.waitForFinished(3000);
    return 0;
}
