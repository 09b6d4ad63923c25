// Helpers for tests that read pictures back with other programs and compare them with the
// screen: running a converter, and whether two pictures show the same strokes.
#pragma once

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QSvgRenderer>
#include <QXmlStreamReader>

namespace kq::test {

// Runs `program` (which must be installed) and says whether it finished with status 0.
inline bool Run(const QString& program, const QStringList& args, QString* output = nullptr) {
    if (QStandardPaths::findExecutable(program).isEmpty()) return false;
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000)) return false;
    if (output) *output = QString::fromUtf8(p.readAllStandardOutput());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

inline bool Dark(const QImage& image, int x, int y, int limit) {
    return x >= 0 && y >= 0 && x < image.width() && y < image.height() && qGray(image.pixel(x, y)) < limit;
}

// The share of `a`'s dark pixels (the black curves) that `b` has dark as well, allowing one
// pixel of displacement and some anti-aliasing; lighter limits take grey lines in too.
inline double DarkPixelsFound(const QImage& a, const QImage& b, int darkLimit = 100, int nearlyDark = 180) {
    int dark = 0, found = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (!Dark(a, x, y, darkLimit)) continue;
            ++dark;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) near = Dark(b, x + dx, y + dy, nearlyDark);
            found += near;
        }
    return dark == 0 ? 0.0 : static_cast<double>(found) / dark;
}

// Both pictures show the same dark strokes (and there are some).
inline bool SameStrokes(const QImage& a, const QImage& b, double share = 0.97) {
    return a.size() == b.size() && DarkPixelsFound(a, b) >= share && DarkPixelsFound(b, a) >= share;
}

// The same with the grey lines of the surface, on a background lighter than `background`.
inline bool SameGreyStrokes(const QImage& a, const QImage& b, double share, int background = 240) {
    const int line = background - 50, nearly = background - 10;
    return a.size() == b.size() && DarkPixelsFound(a, b, line, nearly) >= share &&
           DarkPixelsFound(b, a, line, nearly) >= share;
}

// A metafile read back by libwmf (wmf2svg), drawn at `size`: the reader puts the picture
// somewhere on its own page, and the picture's background, its first rectangle, says where.
inline QImage ReadBackWmf(const QString& wmf, QSize size) {
    const QString svg = wmf + ".svg";
    if (!Run("wmf2svg", {"-o", svg, wmf})) return {};
    QFile f(svg);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader xml(&f);
    QRectF area;
    while (!xml.atEnd() && area.isNull())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("rect")) {
            const auto at = [&](const char* name) { return xml.attributes().value(QLatin1String(name)).toDouble(); };
            area = QRectF(at("x"), at("y"), at("width"), at("height"));
        }
    // The reader leaves its polylines' fill unsaid, which SVG takes for black: they are lines.
    f.seek(0);
    QByteArray text = f.readAll();
    text.replace("<polyline ", "<polyline fill=\"none\" ");
    QSvgRenderer renderer(text);
    if (area.isEmpty() || !renderer.isValid()) return {};
    renderer.setViewBox(area);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

}  // namespace kq::test
