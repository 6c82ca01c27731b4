#include "station.h"

#include "platform/serial/qtserialbackend.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <sys/resource.h>

namespace vemra::bench {

BenchStation::BenchStation(const QString& rigProgram, const QStringList& rigArgs,
                           const Timing& timing) {
    QDir::setCurrent(dir_.path());
    rig_.setStandardErrorFile(QProcess::nullDevice());
    rig_.setStandardOutputFile(QProcess::nullDevice());
    rig_.start(rigProgram, QStringList{QStringLiteral("--dir"), dir_.path()} + rigArgs);
    for (int i = 0; i < 50 && !QFile::exists(QStringLiteral("Comm1")); ++i)
        QThread::msleep(100);

    Platform platform;
    platform.boardPort = std::make_unique<QtSerialBackend>();
    platform.meterPort = std::make_unique<QtSerialBackend>();
    platform.systemPorts = [] { return QStringList(); };
    auto recorder = std::make_unique<RecordingDialogs>();
    dialogs_ = recorder.get();
    platform.dialogs = std::move(recorder);
    platform.journal = timing.journal;
    form_ = std::make_unique<Form1>(std::move(platform));
    dialogs_->shown.clear(); // no Vemra.ini here: the design values stand
    form_->setGeometry(0, 0, 1920, 1080);
    form_->show();

    Form1& f = *form_;
    f.CheckEnCH0->setChecked(true);
    f.CheckEnCH1->setChecked(true);
    f.CheckEnCH2->setChecked(true);
    f.CheckInf->setChecked(timing.endless);
    f.CWNumEditFreq->setValue(timing.period);
    f.CWNumEditNumPoint->setValue(timing.perBlock);
    f.CWNumEditTotPoint->setValue(timing.totalPoints);
    f.CWNumEdit1->setValue(timing.shownPoints);
    f.ComboPort->setCurrentIndex(0);
    if (timing.meter) {
        f.AgilChann->trigger();
        f.ComboPort2->setCurrentIndex(1);
        run(800); // the meter's INIT lines, 100 ms apart
    }
    run(200);
}

BenchStation::~BenchStation() {
    form_.reset();
    rig_.terminate();
    rig_.waitForFinished(3000);
}

bool BenchStation::portOpen() const {
    return form_->MSComm1->portOpen();
}

QString BenchStation::said() const {
    QStringList texts;
    for (const auto& shown : dialogs_->shown)
        texts << shown.text;
    return texts.join(QStringLiteral(" / "));
}

void BenchStation::start() {
    form_->CommandSendData->click();
}

void BenchStation::run(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

namespace {

double statusMiB(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(static_cast<qsizetype>(qstrlen(key)))
                       .trimmed()
                       .split(' ')[0]
                       .toDouble() /
                   1024.0;
    }
    return 0;
}

} // namespace

double residentMiB() {
    return statusMiB("VmRSS:");
}

double peakResidentMiB() {
    return statusMiB("VmHWM:");
}

long voluntarySwitches() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw;
}

double median(QList<double> v) {
    std::sort(v.begin(), v.end());
    const qsizetype n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

JournalFiles journalFiles() {
    JournalFiles on;
    for (const QFileInfo& file : QDir(QStringLiteral("VemraJournal"))
                                     .entryInfoList({QStringLiteral("*.journal")}, QDir::Files)) {
        ++on.files;
        on.mib += static_cast<double>(file.size()) / (1024.0 * 1024.0);
    }
    return on;
}

} // namespace vemra::bench
