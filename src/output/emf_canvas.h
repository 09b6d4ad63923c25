// The renderer's canvas on an enhanced metafile (EMF), for pictures of the graph that other
// programs scale without losing sharpness.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plot/canvas.h"

namespace kq {

class EmfDevice;

class EmfCanvas : public Canvas {
public:
    // A picture of `width` x `height` pixels; `title` goes into the file's description.
    EmfCanvas(int width, int height, const std::string& title);
    ~EmfCanvas() override;

    void SetPenColor(Rgb color) override;
    void SetPenWidth(int width) override;
    void SetBrushClear(bool clear) override;
    void SetFontSize(int points) override;
    void SetFontColor(Rgb color) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, std::string_view utf8) override;
    void TextOutOnHalo(int x, int y, std::string_view utf8, Rgb halo) override;
    Size TextExtent(std::string_view utf8) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Fill(Rgb color) override;
    // Filled, so that a surface hides what lies behind it as on screen.
    void Polygon(std::span<const CanvasPoint> points, Rgb fill) override;

    // Ends the picture: the file's bytes, or nothing when the metafile could not be made.
    std::vector<std::uint8_t> Finish();

    // Text pixels per point: the reference screen's 96 dots per inch.
    static constexpr int kDotsPerInch = 96;

private:
    void ApplyPen();

    std::unique_ptr<EmfDevice> device_;
    Rgb penColor_ = kBlack;
    int penWidth_ = 1;
    int fontPixels_ = 0;
    Rgb fontColor_ = kBlack;
    std::vector<std::int32_t> polygon_;  // reused: a surface draws many small polygons
};

}  // namespace kq
