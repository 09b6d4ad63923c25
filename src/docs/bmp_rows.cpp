#include "docs/bmp_rows.h"

#include <algorithm>

namespace kq {
namespace {

constexpr std::uint32_t kHeaderBytes = 14 + 40;
constexpr std::uint32_t kDotsPerMetre = 3780;  // 96 dots per inch

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

std::optional<BmpRows> BmpRows::For(int width, int height) {
    if (width <= 0 || height <= 0) return std::nullopt;
    const BmpRows rows(width, height);
    if (rows.FileBytes() > 0xFFFFFFFFull) return std::nullopt;
    return rows;
}

std::size_t BmpRows::RowBytes() const { return (static_cast<std::size_t>(width_) * 3 + 3) & ~std::size_t{3}; }

std::uint64_t BmpRows::FileBytes() const {
    return kHeaderBytes + std::uint64_t{RowBytes()} * static_cast<std::uint64_t>(height_);
}

std::vector<std::uint8_t> BmpRows::Header() const {
    std::vector<std::uint8_t> out;
    out.reserve(kHeaderBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<std::uint32_t>(FileBytes()));
    Put32(out, 0);
    Put32(out, kHeaderBytes);
    // BITMAPINFOHEADER; a positive height puts the bottom row first.
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width_));
    Put32(out, static_cast<std::uint32_t>(height_));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);  // no compression
    Put32(out, static_cast<std::uint32_t>(FileBytes() - kHeaderBytes));
    Put32(out, kDotsPerMetre);
    Put32(out, kDotsPerMetre);
    Put32(out, 0);
    Put32(out, 0);
    return out;
}

void BmpRows::Row(std::span<const std::uint32_t> pixels, std::vector<std::uint8_t>& out) const {
    out.assign(RowBytes(), 0);
    const std::size_t n = std::min(pixels.size(), static_cast<std::size_t>(width_));
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t p = pixels[i];
        out[3 * i] = static_cast<std::uint8_t>(p);
        out[3 * i + 1] = static_cast<std::uint8_t>(p >> 8);
        out[3 * i + 2] = static_cast<std::uint8_t>(p >> 16);
    }
}

}  // namespace kq
