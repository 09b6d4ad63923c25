// What the plane renderer draws on: the screen, a printer page, a picture file or a test's
// recording all implement this one interface.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <string_view>

namespace kq {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A measured extent in canvas pixels.
struct Size {
    int width = 0, height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kSilver{192, 192, 192};
inline constexpr Rgb kGrey{128, 128, 128};

// A point with fractional pixel coordinates, for shapes that must not jitter when they are small.
struct CanvasPoint {
    double x = 0, y = 0;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void SetPenColor(Rgb color) = 0;
    virtual void SetPenWidth(int width) = 0;
    // A clear brush leaves the inside of rectangles and the background of text alone.
    virtual void SetBrushClear(bool clear) = 0;
    virtual void SetFontSize(int points) = 0;
    virtual void SetFontColor(Rgb color) = 0;

    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // Text whose top-left corner is at (x, y).
    virtual void TextOut(int x, int y, std::string_view utf8) = 0;
    // The same text on a narrow outline of `halo` around its letters, so that lines under it
    // do not hide it. A canvas that cannot outline text writes it plainly.
    virtual void TextOutOnHalo(int x, int y, std::string_view utf8, Rgb halo) {
        (void)halo;
        TextOut(x, y, utf8);
    }
    // The outline from (x1, y1) up to but not including (x2, y2), filled unless the brush is clear.
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    // Paints the whole surface with one colour.
    virtual void Fill(Rgb color) = 0;
    // The box TextOut would cover with this text at the current font size; draws nothing.
    virtual Size TextExtent(std::string_view utf8) = 0;
    // A closed polygon filled with `fill` and outlined with the pen. A canvas that cannot fill
    // only outlines it (rounding to whole pixels).
    virtual void Polygon(std::span<const CanvasPoint> points, Rgb fill) {
        (void)fill;
        if (points.empty()) return;
        MoveTo(static_cast<int>(std::lround(points.back().x)), static_cast<int>(std::lround(points.back().y)));
        for (const CanvasPoint& p : points)
            LineTo(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)));
    }
    // Lines through the points with the pen; coordinates may be fractional. A canvas that
    // cannot place lines between pixels rounds them.
    virtual void Polyline(std::span<const CanvasPoint> points) {
        if (points.empty()) return;
        MoveTo(static_cast<int>(std::lround(points.front().x)), static_cast<int>(std::lround(points.front().y)));
        for (const CanvasPoint& p : points.subspan(1))
            LineTo(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)));
    }
};

}  // namespace kq
