// Memory of a whole run and of an endless one, the station against vemra-rig streaming as
// fast as the line takes it (three channels):
//   bench_run_memory <vemra-rig> run [records] [meter]   a finite run of that many records
//       (default 1,000,000): the rig stops after exactly that many; the operator zooms out
//       over the whole run after Stop, then saves it. Prints resident memory idle, after the
//       run and the peak (which includes the save). With "meter" the external channel is on
//       (its readings store sized for the run) and the rig's meter sends readings.
//   bench_run_memory <vemra-rig> soak [records] [no-journal]  an endless run until that many
//       records (default 10,000,000) went by; prints resident memory, CPU, the event loop's
//       longest delay and the run journal's files every 10 seconds. With no-journal the run
//       is not journaled, to see what the journal costs.

#include "station.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

using namespace vemra;
using namespace vemra::bench;

namespace {

int finiteRun(const QString& rig, int records, bool meter) {
    Timing timing;
    timing.perBlock = 100;
    timing.totalPoints = records;
    timing.meter = meter;
    BenchStation station(
        rig,
        {QStringLiteral("--fast"), QStringLiteral("--records-limit"), QString::number(records)},
        timing);
    Form1& form = station.form();
    const double idle = residentMiB();
    station.start();
    QElapsedTimer wall;
    wall.start();
    if (!BenchStation::runUntil([&] { return form.CommandSendData->isEnabled(); }, 600'000)) {
        std::fprintf(stderr, "the run did not end (%d records): %s\n", form.SampleCount,
                     qPrintable(station.said()));
        return 1;
    }
    BenchStation::run(500); // blocks still on the line
    const double seconds = static_cast<double>(wall.elapsed()) / 1000.0;
    const double afterRun = residentMiB();
    // The operator looks over the whole run.
    form.CWGraph1->setAxisRange(1, 0, form.SampleCount);
    BenchStation::run(500);
    form.CommandSave->click();
    BenchStation::run(200);
    const QStringList saved = QDir().entryList({QStringLiteral("VemraData*")});
    std::printf("run: %d records per channel in %.1f s, saved %s (%s)\n", form.SampleCount, seconds,
                saved.isEmpty() ? "nothing" : qPrintable(saved.first()),
                qPrintable(station.said()));
    std::printf("memory: %.1f MiB idle, %.1f MiB after the run, %.1f MiB peak (save included)\n",
                idle, afterRun, peakResidentMiB());
    if (meter)
        std::printf("meter: %d readings\n", form.MultCount);
    return 0;
}

int soak(const QString& rig, qint64 records, bool journal) {
    Timing timing;
    timing.perBlock = 10;
    timing.totalPoints = 100'000;
    timing.endless = true;
    timing.journal = journal;
    BenchStation station(rig, {QStringLiteral("--fast")}, timing);
    Form1& form = station.form();
    station.start();
    // The event loop's responsiveness: how late a 10 ms timer fires.
    QElapsedTimer tick;
    tick.start();
    qint64 worstLate = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout,
                     [&] { worstLate = std::max(worstLate, tick.restart() - 10); });
    probe.start(10);
    qint64 seen = 0;
    int last = 0;
    double cpu = cpuSeconds();
    std::printf("   s   records   MiB  CPU%%  worst delay ms  overrun bytes  journal files  MiB\n");
    for (int second = 10; seen < records; second += 10) {
        BenchStation::run(10'000);
        // SampleCount wraps in an endless run; count what went by.
        const int now = form.SampleCount;
        seen += now >= last ? now - last : now + (timing.totalPoints - timing.perBlock - last);
        last = now;
        const double used = cpuSeconds();
        const JournalFiles files = journalFiles();
        std::printf("%4d %9lld %5.1f %5.1f %8lld %14lld %14d %5.1f\n", second, seen, residentMiB(),
                    (used - cpu) * 10.0, worstLate, form.OverrunBytes, files.files, files.mib);
        std::fflush(stdout);
        cpu = used;
        worstLate = 0;
    }
    form.CommandOff->click();
    std::printf("peak memory %.1f MiB\n", peakResidentMiB());
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString mode = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (argc < 3 || (mode != QLatin1String("run") && mode != QLatin1String("soak"))) {
        std::fprintf(stderr,
                     "usage: %s <vemra-rig> run [records] [meter] | soak [records] [no-journal]\n",
                     argv[0]);
        return 2;
    }
    const QString rig = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    if (mode == QLatin1String("run"))
        return finiteRun(rig, argc > 3 ? std::atoi(argv[3]) : 1'000'000,
                         argc > 4 && QLatin1String(argv[4]) == QLatin1String("meter"));
    return soak(rig, argc > 3 ? std::atoll(argv[3]) : 10'000'000,
                !(argc > 4 && QLatin1String(argv[4]) == QLatin1String("no-journal")));
}
