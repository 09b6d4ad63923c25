// What the plane renderer draws on: the screen, a printer page, a picture file or a test's
// recording all implement this one interface.
#pragma once

#include <cstdint>
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
    // The outline from (x1, y1) up to but not including (x2, y2), filled unless the brush is clear.
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    // Paints the whole surface with one colour.
    virtual void Fill(Rgb color) = 0;
    // The box TextOut would cover with this text at the current font size; draws nothing.
    virtual Size TextExtent(std::string_view utf8) = 0;
};

}  // namespace kq
