// "File → Export Chart…": the graph on screen — the main graph, or the meter graph while it
// covers it — as PNG, PDF or SVG at a chosen size, named like the run's data file.

#include "app/form1.h"

#include "files/datafile.h"
#include "platform/chart/chartimage.h"

#include <QDir>
#include <QStatusBar>

namespace vemra {

void Form1::ExportChart_Click() {
    Graph* shown = CWGraphMult->isHidden() ? CWGraph1 : CWGraphMult;
    const QString suggested = QDir::current().filePath(runFileStem(clock().now()) + ".png");
    dialogs().chooseChartExport(
        {suggested, shown->size()},
        [this, shown](const ChartExportChoice& c) { exportChart(shown, c); });
}

void Form1::exportChart(Graph* graph, const ChartExportChoice& choice) {
    const auto refuse = [&](const QString& reason) {
        dialogs().message(QStringLiteral("Warning"),
                          tr("The chart was not exported to %1: %2.").arg(choice.path, reason),
                          MessageIcon::Warning);
    };
    const auto format = imageFormatFor(choice.path);
    if (!format) {
        refuse(tr("choose a name that ends in .png, .pdf or .svg"));
        return;
    }
    const QByteArray picture = chartImage(*graph->plot(), *format, choice.size);
    if (picture.isEmpty()) {
        refuse(tr("a picture of %1 × %2 pixels could not be made")
                   .arg(choice.size.width())
                   .arg(choice.size.height()));
        return;
    }
    WholeFile file(fileSink_, choice.path);
    if (!file.open() || !file.write(picture) || !file.commit()) {
        refuse(file.error());
        return;
    }
    statusBar()->showMessage(tr("Chart exported to %1").arg(choice.path), 10000);
}

} // namespace vemra
