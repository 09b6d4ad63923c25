#include "output/picture_export.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>
#include <optional>
#include <span>
#include <vector>

#include "docs/bmp_rows.h"
#include "docs/docs_texts.h"
#include "docs/wmf_canvas.h"
#include "output/arial_metrics.h"
#include "output/emf_canvas.h"
#include "output/picture_painting.h"
#include "output/safe_file.h"
#include "output/svg_text.h"

namespace kq {
namespace {

constexpr qint64 kBytesPerPixel = 4;

PictureStyle FileStyle(const PictureSource& source) { return {Medium::File, source.axes, 1}; }

bool Paint(QPaintDevice& device, const PictureSource& source) {
    QPainter painter(&device);
    if (!painter.isActive()) return false;
    PaintPicture(painter, source.size, source.font, source.drawing, FileStyle(source));
    return painter.end();
}

bool WriteAll(QIODevice& out, const void* data, std::size_t size) {
    return out.write(static_cast<const char*>(data), static_cast<qint64>(size)) == static_cast<qint64>(size);
}

// The picture drawn on white, in memory; a null image when there is no room for it.
QImage Drawn(const PictureSource& source) {
    QImage image(source.size, QImage::Format_RGB32);
    if (image.isNull()) return {};
    image.fill(Qt::white);
    return Paint(image, source) ? image : QImage();
}

// Written a row at a time, straight from the drawn picture.
bool Bmp(const PictureSource& source, QIODevice& out) {
    const std::optional<BmpRows> rows = BmpRows::For(source.size.width(), source.size.height());
    if (!rows) return false;
    const QImage image = Drawn(source);
    if (image.isNull() || !WriteAll(out, rows->Header().data(), rows->Header().size())) return false;
    std::vector<std::uint8_t> row;
    for (int y = rows->Height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        rows->Row(std::span(line, static_cast<std::size_t>(rows->Width())), row);
        if (!WriteAll(out, row.data(), row.size())) return false;
    }
    return true;
}

// The picture a byte a pixel, when every pixel is a grey (red, green and blue alike).
std::optional<QImage> Greys(const QImage& image) {
    QImage grey(image.size(), QImage::Format_Grayscale8);
    if (grey.isNull()) return std::nullopt;
    for (int y = 0; y < image.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* to = grey.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const int r = qRed(in[x]);
            if (qGreen(in[x]) != r || qBlue(in[x]) != r) return std::nullopt;
            to[x] = static_cast<uchar>(r);
        }
    }
    return grey;
}

bool Png(const PictureSource& source, QIODevice& out) {
    QImage image = Drawn(source);
    if (image.isNull()) return false;
    // A graph in black and greys is written a byte a pixel instead of three: a third of the
    // rows to filter and pack, the same pixels read back.
    if (std::optional<QImage> grey = Greys(image)) image = std::move(*grey);
    QImageWriter writer(&out, "png");
    // zlib's level 3 instead of its default 6: a graph's long runs of white pack almost as
    // well (a file some 1.25 times larger) at a fraction of the time. Qt takes the level as
    // a share of 100 and turns it into 0..9 by rounding down level * 9 / 91.
    constexpr int kZlibLevel = 3;
    writer.setCompression((kZlibLevel * 91 + 8) / 9);
    return writer.write(image);
}

bool Svg(const PictureSource& source, QIODevice& out) {
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(source.size);
    svg.setViewBox(QRect(QPoint(0, 0), source.size));
    svg.setTitle(SvgText(source.title));
    return Paint(svg, source);
}

bool Pdf(const PictureSource& source, QIODevice& out) {
    QPdfWriter pdf(&out);
    // One point a pixel: the page is the picture.
    pdf.setResolution(72);
    pdf.setPageSize(QPageSize(QSizeF(source.size), QPageSize::Point));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(source.title);
    pdf.setCreator(QStringLiteral("Кванториум+ от KX"));
    return Paint(pdf, source);
}

bool Emf(const PictureSource& source, QIODevice& out) {
    EmfCanvas canvas(source.size.width(), source.size.height(), source.title.toStdString());
    source.drawing(canvas, source.size.width(), source.size.height(), FileStyle(source));
    const std::vector<std::uint8_t> bytes = canvas.Finish();
    return !bytes.empty() && WriteAll(out, bytes.data(), bytes.size());
}

bool Wmf(const PictureSource& source, QIODevice& out) {
    if (!WmfCanvas::Fits(source.size.width(), source.size.height())) return false;
    WmfCanvas canvas(source.size.width(), source.size.height(), ArialTextExtent);
    source.drawing(canvas, source.size.width(), source.size.height(), FileStyle(source));
    const std::vector<std::uint8_t> bytes = canvas.Finish();
    return !bytes.empty() && WriteAll(out, bytes.data(), bytes.size());
}

}  // namespace

std::optional<PictureFormat> PictureFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "emf") return PictureFormat::Emf;
    if (suffix == "bmp") return PictureFormat::Bmp;
    if (suffix == "wmf") return PictureFormat::Wmf;
    if (suffix == "png") return PictureFormat::Png;
    if (suffix == "svg") return PictureFormat::Svg;
    if (suffix == "pdf") return PictureFormat::Pdf;
    return std::nullopt;
}

QString PictureSizeRefusal(PictureFormat format, QSize size) {
    if (format == PictureFormat::Wmf && !WmfCanvas::Fits(size.width(), size.height()))
        return QStringLiteral("рисунок WMF %1x%2 точек не помещается в координаты формата: сторона не больше %3 точек")
            .arg(size.width())
            .arg(size.height())
            .arg(WmfWriter::kMaxExtent - 1);
    if (format != PictureFormat::Bmp && format != PictureFormat::Png) return {};
    const qint64 bytes = qint64{size.width()} * size.height() * kBytesPerPixel;
    if (bytes <= kMostImageBytes) return {};
    constexpr qint64 kMiB = qint64{1} << 20;
    const auto side = static_cast<qint64>(std::sqrt(static_cast<double>(kMostImageBytes / kBytesPerPixel)));
    return QStringLiteral(
               "изображение %1x%2 точек заняло бы %3 МБ памяти, а можно не больше %4 МБ "
               "(вместе с программой %5 МБ), например %6x%6 точек")
        .arg(size.width())
        .arg(size.height())
        .arg((bytes + kMiB - 1) / kMiB)
        .arg(kMostImageBytes / kMiB)
        .arg(kMostMemory / kMiB)
        .arg(side);
}

bool WritePicture(PictureFormat format, const PictureSource& source, QIODevice& out) {
    if (source.size.isEmpty() || !PictureSizeRefusal(format, source.size).isEmpty()) return false;
    switch (format) {
        case PictureFormat::Emf: return Emf(source, out);
        case PictureFormat::Bmp: return Bmp(source, out);
        case PictureFormat::Wmf: return Wmf(source, out);
        case PictureFormat::Png: return Png(source, out);
        case PictureFormat::Svg: return Svg(source, out);
        case PictureFormat::Pdf: return Pdf(source, out);
    }
    return false;
}

QByteArray RenderPicture(PictureFormat format, const PictureSource& source) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return WritePicture(format, source, buffer) ? buffer.data() : QByteArray();
}

FileResult<> SavePicture(const QByteArray& nativePath, PictureFormat format, const PictureSource& source) {
    SafeFile file(nativePath);
    QIODevice* device = file.Device();
    const bool drawn = device && WritePicture(format, source, *device);
    // The file took all it was given, but the picture could not be made: the file is not to blame.
    if (device && !drawn && !file.WriteFailed()) return FileResult<>::Failure(kPictureNotSaved);
    return file.Commit(drawn);
}

}  // namespace kq
