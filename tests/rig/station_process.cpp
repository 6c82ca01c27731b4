// The station in a process of its own, as the program runs it (real serial ports, the ending
// signals, a shown window), so a test can end it every way an operator's station ends, a kill
// included. A dialog recorder stands in for the message boxes, so none waits for an answer.
//   station_process <folder>
// Lines on the standard input drive it:
//   run <mask> <period> <perBlock> <total> [meter]   Comm1 (with "meter" also Comm2 and the
//                                                    external channel), then Start
//   count | stop | exit | close                      nothing, Stop, File → Exit, the window
//                                                    closed
// Each is answered once done with "<command> <SampleCount> <SavedSampleCount>"; exit answers
// just before it ends the program, with the counts of that moment. When the event loop ends
// the counts come once more as "ended ...".

#include "app/form1.h"
#include "platform/serial/qtserialbackend.h"
#include "platform/system/endingsignals.h"

#include <QtWidgets>
#include <cstdio>
#include <unistd.h>

using namespace vemra;

namespace {

void answer(const QString& command, const Form1& f) {
    std::printf("%s %d %d\n", qPrintable(command), f.SampleCount, f.SavedSampleCount);
    std::fflush(stdout);
}

void run(Form1& f, const QStringList& args) {
    const int mask = args.value(1).toInt();
    f.CheckEnCH0->setChecked(mask & 1);
    f.CheckEnCH1->setChecked(mask & 2);
    f.CheckEnCH2->setChecked(mask & 4);
    f.CWNumEditFreq->setValue(args.value(2).toInt());
    f.CWNumEditNumPoint->setValue(args.value(3).toInt());
    f.CWNumEditTotPoint->setValue(args.value(4).toInt());
    if (f.MSComm1->portOpen())
        f.SetupComm1();
    else
        f.ComboPort->setCurrentIndex(0);
    const auto start = [&f] {
        f.CommandSendData->click();
        answer(QStringLiteral("run"), f);
    };
    if (args.value(5) != u"meter")
        return start();
    // A short integration lets the meter keep up with a record every 25 ms.
    f.LabelParam[3]->setText(QStringLiteral("FRES:NPLC 0.2"));
    f.AgilChann->trigger();
    f.ComboPort2->setCurrentIndex(1);
    // Started once the meter's set-up lines have gone, as an operator waits for them.
    auto* wait = new QTimer(&f);
    QObject::connect(wait, &QTimer::timeout, &f, [&f, wait, start] {
        if (f.TimerSendFrame->isActive())
            return;
        wait->deleteLater();
        start();
    });
    wait->start(20);
}

void command(Form1& f, const QStringList& args) {
    const QString& name = args.value(0);
    if (name == u"run")
        return run(f, args);
    if (name == u"stop")
        f.CommandOff->click();
    if (name == u"close")
        f.close();
    answer(name, f);
    if (name == u"exit")
        f.ExitProgr->trigger();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2 || !QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    Platform platform;
    platform.boardPort = std::make_unique<QtSerialBackend>();
    platform.meterPort = std::make_unique<QtSerialBackend>();
    platform.systemPorts = [] { return QStringList(); };
    platform.dialogs = std::make_unique<RecordingDialogs>();
    Form1 window(std::move(platform));
    closeOnEndingSignals(&window);
    window.show();

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, &window, [&] {
        char bytes[256];
        const ssize_t got = ::read(STDIN_FILENO, bytes, sizeof bytes);
        if (got <= 0)
            return input.setEnabled(false);
        pending.append(bytes, got);
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1))
            command(window, QString::fromLatin1(pending.left(end)).split(u' '));
    });
    const int status = app.exec();
    answer(QStringLiteral("ended"), window);
    return status;
}
