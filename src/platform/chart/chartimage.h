#pragma once
// A chart as a picture for a report: what is on screen (axes, captions, colours, the data
// in view) drawn at a chosen size as PNG, PDF or SVG.

#include <QByteArray>
#include <QSize>
#include <QString>
#include <optional>

class QCustomPlot;

namespace vemra {

enum class ImageFormat { Png, Pdf, Svg };

// By the file's extension, letter case aside; nullopt for any other.
std::optional<ImageFormat> imageFormatFor(const QString& path);

// The file's bytes; empty when the picture could not be made.
QByteArray chartImage(QCustomPlot& plot, ImageFormat format, QSize size);

} // namespace vemra
