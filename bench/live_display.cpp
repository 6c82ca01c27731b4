// The live display's cost: the station against vemra-rig at period 1 ms, one record per
// block, three channels, 60,000 points shown per trace, the window at 1920 × 1080, the run
// journaled as the station journals every run (or, with no-journal, not, to see what the
// journal costs). It waits until the chart is full and scrolling, then measures the station's
// CPU time per second of stream. Run it on a real display (Xvfb) so the chart is really drawn;
// bench/live-display runs it several times and prints the medians. With "still" the mouse
// rests over the plot with both markers placed, so the cursor and the readout follow every
// frame; with "moving" it also sweeps across the plot at 60 moves a second (both journaled):
//   bench_live_display <vemra-rig> [seconds] [journal|no-journal|still|moving]

#include "station.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <cstdio>
#include <qcustomplot.h>

using namespace vemra;
using namespace vemra::bench;

namespace {

void mouse(QWidget* plot, QEvent::Type type, QPoint at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
    QMouseEvent event(type, at, plot->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &event);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString variant = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("journal");
    const QStringList variants{"journal", "no-journal", "still", "moving"};
    if (argc < 2 || !variants.contains(variant)) {
        std::fprintf(stderr, "usage: %s <vemra-rig> [seconds] [journal|no-journal|still|moving]\n",
                     argv[0]);
        return 2;
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
    Timing timing;
    timing.journal = variant != u"no-journal";
    BenchStation station(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath(), {}, timing);
    Form1& form = station.form();
    station.start();
    if (!station.portOpen()) {
        std::fprintf(stderr, "the board port did not open: %s\n", qPrintable(station.said()));
        return 1;
    }

    // The chart is full once the newest point has pushed the x window past its width.
    const bool full = BenchStation::runUntil(
        [&] { return form.SampleCount > timing.shownPoints + 2000; }, 120'000);
    if (!full) {
        std::fprintf(stderr, "the chart did not fill in 2 minutes (%d records)\n",
                     form.SampleCount);
        return 1;
    }

    QCustomPlot* plot = form.CWGraph1->plot();
    const QRect area = plot->axisRect()->rect();
    const auto across = [&](double part) {
        return QPoint(area.left() + static_cast<int>(area.width() * part), area.center().y());
    };
    QTimer sweep;
    if (variant == u"still" || variant == u"moving") {
        for (const double part : {0.3, 0.7}) {
            mouse(plot, QEvent::MouseButtonPress, across(part));
            mouse(plot, QEvent::MouseButtonRelease, across(part));
        }
        mouse(plot, QEvent::MouseMove, across(0.5));
    }
    int step = 0;
    QObject::connect(&sweep, &QTimer::timeout, [&] {
        mouse(plot, QEvent::MouseMove, across(0.1 + 0.8 * (step++ % 240) / 240.0));
    });
    if (variant == u"moving")
        sweep.start(1000 / 60);

    const int samplesBefore = form.SampleCount;
    const int framesBefore = form.CWGraph1->replotCount();
    const long switchesBefore = voluntarySwitches();
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    BenchStation::run(seconds * 1000);
    const double cpu = cpuSeconds() - cpuBefore;
    const double elapsed = static_cast<double>(wall.elapsed()) / 1000.0;
    const int samples = form.SampleCount - samplesBefore;
    const int frames = form.CWGraph1->replotCount() - framesBefore;
    const long switches = voluntarySwitches() - switchesBefore;
    const double x0 = form.CWGraph1->axisMinimum(1);
    const double x1 = form.CWGraph1->axisMaximum(1);
    const QString mark = form.LabelBuff->text();
    const QString status = form.statusBar()->currentMessage();
    const QString readout = form.CWGraph1->readout()->text();
    form.CommandOff->click();

    std::printf("window %dx%d, x window %.0f..%.0f (%.0f points per trace)\n", form.width(),
                form.height(), x0, x1, x1 - x0);
    std::printf("stream: %.1f s, %d records (%.0f records/s), %.1f frames/s, %.0f wake-ups/s\n",
                elapsed, samples, samples / elapsed, frames / elapsed, switches / elapsed);
    std::printf("board status: \"%s\"; status bar: \"%s\"\n", qPrintable(mark), qPrintable(status));
    std::printf("pointer: %s; readout: \"%s\"\n", qPrintable(variant),
                qPrintable(readout.left(70)));
    std::printf("peak memory: %.1f MiB\n", peakResidentMiB());
    const JournalFiles files = journalFiles();
    std::printf("journal: %s, %d file(s), %.1f MiB\n", timing.journal ? "on" : "off", files.files,
                files.mib);
    std::printf("station CPU: %.2f%% of one core\n", 100.0 * cpu / elapsed);
    return 0;
}
