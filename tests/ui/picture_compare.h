// Helpers for tests that read pictures back with other programs and compare them with the
// screen: running a converter, and whether two pictures show the same strokes.
#pragma once

#include <QColor>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

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
// pixel of displacement and some anti-aliasing.
inline double DarkPixelsFound(const QImage& a, const QImage& b) {
    int dark = 0, found = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (!Dark(a, x, y, 100)) continue;
            ++dark;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) near = Dark(b, x + dx, y + dy, 180);
            found += near;
        }
    return dark == 0 ? 0.0 : static_cast<double>(found) / dark;
}

// Both pictures show the same dark strokes (and there are some).
inline bool SameStrokes(const QImage& a, const QImage& b, double share = 0.97) {
    return a.size() == b.size() && DarkPixelsFound(a, b) >= share && DarkPixelsFound(b, a) >= share;
}

}  // namespace kq::test
