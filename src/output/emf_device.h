// An enhanced metafile being drawn, in the plain types of this program. Its .cpp is the only
// file that sees the metafile library, whose headers redefine common names (min, max, NULL).
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace kq {

class EmfDevice {
public:
    // A picture of `width` x `height` pixels of the library's reference device.
    EmfDevice(int width, int height, std::u16string_view description);
    ~EmfDevice();
    EmfDevice(const EmfDevice&) = delete;
    EmfDevice& operator=(const EmfDevice&) = delete;

    bool Ok() const;

    // Colours are 0xRRGGBB.
    void SetPen(std::uint32_t color, int width);
    void SetBrush(std::uint32_t color, bool clear);
    void SetFont(std::u16string_view family, int pixelHeight);
    void SetTextColor(std::uint32_t color);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // `text` with its top-left corner at (x, y), on a transparent background.
    void Text(int x, int y, std::u16string_view text);
    // GDI's rectangle: the outline ends one pixel before (x2, y2).
    void Rectangle(int x1, int y1, int x2, int y2);
    // A closed polygon through the points (x0, y0, x1, y1, ...) outlined with the pen and
    // filled with `fill`, leaving the brush as it was.
    void Polygon(const std::vector<std::int32_t>& xy, std::uint32_t fill);
    // The whole picture in one colour, leaving pen and brush as they were.
    void Fill(std::uint32_t color);

    // Ends the picture and returns the file's bytes; empty when the metafile failed.
    std::vector<std::uint8_t> Finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace kq
