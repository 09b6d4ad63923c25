// Pictures of the plane graph in the formats this platform serves: EMF (the default), BMP,
// PNG, SVG and PDF, each drawn by the same renderer at the on-screen size.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class QPainter;

namespace kq {

class Canvas;

enum class PictureFormat { Emf, Bmp, Png, Svg, Pdf };

// The format a file name's extension asks for (case does not matter).
std::optional<PictureFormat> PictureFormatOf(const QString& path);

struct PictureSource {
    QSize size;
    // Draws the picture on a painter, as the screen does (BMP, PNG, SVG, PDF).
    std::function<void(QPainter&, QSize)> paint;
    // Draws it on a canvas of that size (EMF, which has no painter).
    std::function<void(Canvas&, int width, int height)> draw;
    QString title;  // the file's title where the format keeps one
};

// The file's bytes; empty when drawing or encoding failed.
QByteArray RenderPicture(PictureFormat format, const PictureSource& source);

}  // namespace kq
