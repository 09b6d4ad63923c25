#include "ui/picture_export.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "ui/emf_canvas.h"
#include "ui/svg_text.h"

namespace kq {
namespace {

bool Paint(QPaintDevice& device, const PictureSource& source) {
    QPainter painter(&device);
    if (!painter.isActive()) return false;
    source.paint(painter, source.size);
    return painter.end();
}

QByteArray Image(const PictureSource& source, const char* format) {
    QImage image(source.size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (!Paint(image, source)) return {};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    return writer.write(image) ? buffer.data() : QByteArray();
}

QByteArray Svg(const PictureSource& source) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(source.size);
    svg.setViewBox(QRect(QPoint(0, 0), source.size));
    svg.setTitle(SvgText(source.title));
    return Paint(svg, source) ? buffer.data() : QByteArray();
}

QByteArray Pdf(const PictureSource& source) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        // One point a pixel: the page is the picture.
        pdf.setResolution(72);
        pdf.setPageSize(QPageSize(QSizeF(source.size), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(source.title);
        pdf.setCreator(QStringLiteral("Кванториум+ от KX"));
        if (!Paint(pdf, source)) return {};
    }
    return buffer.data();
}

QByteArray Emf(const PictureSource& source) {
    EmfCanvas canvas(source.size.width(), source.size.height(), source.title.toStdString());
    source.draw(canvas, source.size.width(), source.size.height());
    const std::vector<std::uint8_t> bytes = canvas.Finish();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

std::optional<PictureFormat> PictureFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "emf") return PictureFormat::Emf;
    if (suffix == "bmp") return PictureFormat::Bmp;
    if (suffix == "png") return PictureFormat::Png;
    if (suffix == "svg") return PictureFormat::Svg;
    if (suffix == "pdf") return PictureFormat::Pdf;
    return std::nullopt;
}

QByteArray RenderPicture(PictureFormat format, const PictureSource& source) {
    if (source.size.isEmpty()) return {};
    switch (format) {
        case PictureFormat::Emf: return Emf(source);
        case PictureFormat::Bmp: return Image(source, "bmp");
        case PictureFormat::Png: return Image(source, "png");
        case PictureFormat::Svg: return Svg(source);
        case PictureFormat::Pdf: return Pdf(source);
    }
    return {};
}

}  // namespace kq
