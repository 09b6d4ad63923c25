// The standard headers come first: the metafile library's headers define min, max and NULL.
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "output/emf_device.h"

#include <libEMF/emf.h>

namespace kq {
namespace {

// The library's reference device: 1024 x 768 pixels on 320 x 240 mm.
constexpr int kReferenceWidth = 1024, kReferenceHeight = 768;
constexpr int kReferenceWidthMm = 320, kReferenceHeightMm = 240;

COLORREF ToColorRef(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

LPCWSTR Wide(const std::u16string& text) { return reinterpret_cast<LPCWSTR>(text.c_str()); }

}  // namespace

struct EmfDevice::State {
    FILE* file = nullptr;
    HDC dc = 0;
    HGDIOBJ pen = 0, brush = 0, font = 0;
    int width = 0, height = 0;

    void Close() {
        if (dc) DeleteEnhMetaFile(CloseEnhMetaFileWithFILE(dc));
        dc = 0;
        for (HGDIOBJ* object : {&pen, &brush, &font}) {
            if (*object) DeleteObject(*object);
            *object = 0;
        }
    }

    // Selects `object` in place of `current`, deleting the one it replaces.
    void Replace(HGDIOBJ& current, HGDIOBJ object) {
        SelectObject(dc, object);
        if (current) DeleteObject(current);
        current = object;
    }
};

EmfDevice::EmfDevice(int width, int height, std::u16string_view description) : state_(std::make_unique<State>()) {
    state_->width = width;
    state_->height = height;
    state_->file = std::tmpfile();
    if (!state_->file) return;
    // The frame in hundredths of a millimetre.
    RECT frame = {0, 0, width * kReferenceWidthMm * 100 / kReferenceWidth,
                  height * kReferenceHeightMm * 100 / kReferenceHeight};
    // The description is two texts, each ending in a NUL, and a final NUL.
    std::u16string text(description);
    text += u'\0';
    text += u'\0';
    state_->dc = CreateEnhMetaFileWithFILEW(0, state_->file, &frame, Wide(text));
    if (!state_->dc) return;
    SetBkMode(state_->dc, TRANSPARENT);
    SetTextAlign(state_->dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    SelectObject(state_->dc, GetStockObject(NULL_BRUSH));
}

EmfDevice::~EmfDevice() {
    state_->Close();
    if (state_->file) std::fclose(state_->file);
}

bool EmfDevice::Ok() const { return state_->dc != 0; }

void EmfDevice::SetPen(std::uint32_t color, int width) {
    if (Ok()) state_->Replace(state_->pen, CreatePen(PS_SOLID, width, ToColorRef(color)));
}

void EmfDevice::SetBrush(std::uint32_t color, bool clear) {
    if (!Ok()) return;
    if (clear) {
        SelectObject(state_->dc, GetStockObject(NULL_BRUSH));
        if (state_->brush) DeleteObject(state_->brush);
        state_->brush = 0;
    } else {
        state_->Replace(state_->brush, CreateSolidBrush(ToColorRef(color)));
    }
}

void EmfDevice::SetFont(std::u16string_view family, int pixelHeight) {
    if (!Ok()) return;
    const std::u16string name(family);
    // A negative height asks for the character height without the internal leading.
    state_->Replace(state_->font, CreateFontW(-pixelHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET,
                                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                              DEFAULT_PITCH | FF_SWISS, Wide(name)));
}

void EmfDevice::SetTextColor(std::uint32_t color) {
    if (Ok()) ::SetTextColor(state_->dc, ToColorRef(color));
}

void EmfDevice::MoveTo(int x, int y) {
    if (Ok()) MoveToEx(state_->dc, x, y, 0);
}

void EmfDevice::LineTo(int x, int y) {
    if (Ok()) ::LineTo(state_->dc, x, y);
}

void EmfDevice::Text(int x, int y, std::u16string_view text) {
    if (!Ok() || text.empty()) return;
    const std::u16string copy(text);
    TextOutW(state_->dc, x, y, Wide(copy), static_cast<INT>(copy.size()));
}

void EmfDevice::Rectangle(int x1, int y1, int x2, int y2) {
    if (Ok()) ::Rectangle(state_->dc, x1, y1, x2, y2);
}

void EmfDevice::Polygon(const std::vector<std::int32_t>& xy, std::uint32_t fill) {
    if (!Ok() || xy.size() < 4) return;
    std::vector<POINT> points(xy.size() / 2);
    for (std::size_t k = 0; k < points.size(); ++k) points[k] = {xy[2 * k], xy[2 * k + 1]};
    HBRUSH brush = CreateSolidBrush(ToColorRef(fill));
    const HGDIOBJ oldBrush = SelectObject(state_->dc, brush);
    ::Polygon(state_->dc, points.data(), static_cast<INT>(points.size()));
    SelectObject(state_->dc, oldBrush);
    DeleteObject(brush);
}

void EmfDevice::Fill(std::uint32_t color) {
    if (!Ok()) return;
    HBRUSH brush = CreateSolidBrush(ToColorRef(color));
    const HGDIOBJ oldBrush = SelectObject(state_->dc, brush);
    const HGDIOBJ oldPen = SelectObject(state_->dc, GetStockObject(NULL_PEN));
    // With no pen the rectangle leaves out its right and bottom edges: reach one beyond.
    ::Rectangle(state_->dc, 0, 0, state_->width + 1, state_->height + 1);
    SelectObject(state_->dc, oldPen);
    SelectObject(state_->dc, oldBrush);
    DeleteObject(brush);
}

std::vector<std::uint8_t> EmfDevice::Finish() {
    std::vector<std::uint8_t> bytes;
    if (!Ok()) return bytes;
    state_->Close();
    if (std::fflush(state_->file) != 0 || std::fseek(state_->file, 0, SEEK_END) != 0) return bytes;
    const long size = std::ftell(state_->file);
    if (size <= 0 || std::fseek(state_->file, 0, SEEK_SET) != 0) return bytes;
    bytes.resize(static_cast<std::size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), state_->file) != bytes.size()) bytes.clear();
    return bytes;
}

}  // namespace kq
