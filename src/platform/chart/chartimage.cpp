#include "platform/chart/chartimage.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <qcustomplot.h>

namespace vemra {

namespace {

// Vector pictures keep lines and text as such, one device unit per chart pixel.
void drawVector(QCustomPlot& plot, QPaintDevice& device, QSize size) {
    QCPPainter painter(&device);
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    plot.toPainter(&painter, size.width(), size.height());
}

} // namespace

std::optional<ImageFormat> imageFormatFor(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == u"png")
        return ImageFormat::Png;
    if (extension == u"pdf")
        return ImageFormat::Pdf;
    if (extension == u"svg")
        return ImageFormat::Svg;
    return std::nullopt;
}

QByteArray chartImage(QCustomPlot& plot, ImageFormat format, QSize size) {
    if (size.isEmpty())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
    case ImageFormat::Png:
        if (!plot.toPixmap(size.width(), size.height()).save(&buffer, "PNG"))
            return {};
        break;
    case ImageFormat::Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(72);
        pdf.setPageSize(
            QPageSize(QSizeF(size), QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF());
        drawVector(plot, pdf, size);
        break;
    }
    case ImageFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(), size));
        svg.setTitle(QStringLiteral("Vemra Measurement chart"));
        drawVector(plot, svg, size);
        break;
    }
    }
    return bytes;
}

} // namespace vemra
