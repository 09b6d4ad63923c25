// A placeable Windows metafile (WMF) written record by record: pens, brushes, one font, lines,
// polygons, rectangles and text, in 16-bit logical units, so that older programs that know no
// enhanced metafile still open the picture.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kq {

struct WmfPoint {
    int x = 0, y = 0;
};

class WmfWriter {
public:
    // Logical coordinates are 16-bit: no side may be longer.
    static constexpr int kMaxExtent = 32767;

    // A picture `width` x `height` logical units (1..kMaxExtent), `unitsPerInch` of them to
    // the inch; text is drawn on a transparent background from its top-left corner.
    WmfWriter(int width, int height, int unitsPerInch);

    // Colours are 0xRRGGBB. The objects most recently used stay in the player's table, so
    // going back to one of them costs a selection, not a new object.
    void SetPen(std::uint32_t color, int width);
    void SetNullPen();
    void SetBrush(std::uint32_t color);
    void SetNullBrush();
    // `face` in Latin letters (at most 31); `height` the character height in logical units;
    // `charset` the code page text bytes are in (204: Windows-1251).
    void SetFont(std::string_view face, int height, std::uint8_t charset);
    void SetTextColor(std::uint32_t color);

    // Coordinates beyond the 16-bit range are clamped to it.
    void Polyline(std::span<const WmfPoint> points);
    void Polygon(std::span<const WmfPoint> points);
    // The outline from (left, top) up to but not including (right, bottom), filled with the brush.
    void Rectangle(int left, int top, int right, int bottom);
    // Bytes in the font's code page, the top-left corner of the text at (x, y).
    void Text(int x, int y, std::string_view bytes);

    // The file: the placeable header, the metafile header, the records and the end record.
    std::vector<std::uint8_t> Finish() const;

private:
    enum Slot { kPen, kBrush, kFont, kSlots };
    class Record;
    // An object in the player's table; `record` tells it apart from the others.
    struct Object {
        Slot slot;
        std::vector<std::uint8_t> record;
        std::uint64_t lastUse;
    };
    static constexpr std::size_t kTableSize = 32;

    void Add(const Record& record);
    // Selects the object `record` makes, making it first when the table does not hold it.
    void Select(Slot slot, const Record& record);
    void Points(std::uint16_t function, std::span<const WmfPoint> points);

    int width_, height_, unitsPerInch_;
    std::vector<std::uint8_t> records_;
    std::uint32_t largestRecord_ = 0;  // in 16-bit words
    std::vector<Object> table_;        // by index; an empty record is a free entry
    std::uint64_t uses_ = 0;
    int selected_[kSlots] = {-1, -1, -1};
};

}  // namespace kq
