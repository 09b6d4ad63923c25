// Pictures of the graphs in the formats this platform serves: EMF (the default), BMP, WMF,
// PNG, SVG and PDF, each drawn by the same renderer at the on-screen size.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QSize>
#include <QString>
#include <optional>

#include "docs/file_result.h"
#include "plot/page_picture.h"

class QIODevice;

namespace kq {

enum class PictureFormat { Emf, Bmp, Wmf, Png, Svg, Pdf };

// The format a file name's extension asks for (case does not matter).
std::optional<PictureFormat> PictureFormatOf(const QString& path);

// What a picture file shows: a page's picture at a size, painted with QPainter (BMP, PNG,
// SVG, PDF) or drawn on a metafile's canvas (EMF, WMF), the labels in `font`'s family.
struct PictureSource {
    QSize size;
    PictureDrawing drawing;
    QFont font;
    bool axes = true;
    QString title;  // the file's title where the format keeps one
};

// The bitmap formats draw the whole picture in memory first. The program as a whole stays
// within kMostMemory: the image gets all of it but what the program itself needs.
inline constexpr qint64 kMostMemory = qint64{1} << 30;
inline constexpr qint64 kMostImageBytes = kMostMemory - (qint64{64} << 20);

// Why a picture of `size` cannot be made in `format` (in Russian, with the limit), or an empty
// text when it can.
QString PictureSizeRefusal(PictureFormat format, QSize size);

// Draws the picture and writes the file's bytes to `out` as they are made (a bitmap a row at
// a time); false when drawing or encoding failed or the size is refused.
bool WritePicture(PictureFormat format, const PictureSource& source, QIODevice& out);

// The file's bytes; empty when drawing or encoding failed.
QByteArray RenderPicture(PictureFormat format, const PictureSource& source);

// Writes the picture into the file `nativePath` as it is drawn (a large picture is not held a
// second time as its bytes); a failure keeps the old file. The reason is the file's, or that
// the picture was not saved when the drawing itself failed.
FileResult<> SavePicture(const QByteArray& nativePath, PictureFormat format, const PictureSource& source);

}  // namespace kq
