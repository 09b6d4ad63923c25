// A 24-bit bitmap file (BMP) made a row at a time: the header first, then the rows from the
// bottom up, so that a large picture is never held a second time as a whole file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kq {

class BmpRows {
public:
    // Nothing for a size the format cannot hold in its 32-bit fields.
    static std::optional<BmpRows> For(int width, int height);

    // The file's header (54 bytes), at 96 dots per inch.
    std::vector<std::uint8_t> Header() const;
    // One row of pixels 0x..RRGGBB (the top byte is ignored) as the file keeps it: blue,
    // green, red, padded to whole 32-bit words. `out` gets RowBytes() bytes.
    void Row(std::span<const std::uint32_t> pixels, std::vector<std::uint8_t>& out) const;

    std::size_t RowBytes() const;
    std::uint64_t FileBytes() const;
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    BmpRows(int width, int height) : width_(width), height_(height) {}
    int width_, height_;
};

}  // namespace kq
