// The renderers' canvas on a placeable Windows metafile: the plane graph and the surface as
// a WMF picture, with lines and polygons placed between pixels as on screen.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "docs/wmf_writer.h"
#include "plot/canvas.h"

namespace kq {

class WmfCanvas : public Canvas {
public:
    // How wide and high `utf8` is in a font of `pixelHeight` pixels, as a reader of the
    // picture will draw it.
    using TextMeasure = std::function<Size(std::string_view utf8, int pixelHeight)>;

    // A picture of `width` x `height` pixels at 96 dots per inch; nothing can be drawn on
    // one too large for the format (see Fits).
    WmfCanvas(int width, int height, TextMeasure measure);

    // Whether a picture of this size can be written.
    static bool Fits(int width, int height);

    void SetPenColor(Rgb color) override;
    void SetPenWidth(int width) override;
    void SetBrushClear(bool clear) override;
    void SetFontSize(int points) override;
    void SetFontColor(Rgb color) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, std::string_view utf8) override;
    Size TextExtent(std::string_view utf8) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Fill(Rgb color) override;
    void Polygon(std::span<const CanvasPoint> points, Rgb fill) override;
    void Polyline(std::span<const CanvasPoint> points) override;

    // Ends the picture: the file's bytes (empty for a picture that does not fit).
    std::vector<std::uint8_t> Finish();

    static constexpr int kDotsPerInch = 96;
    // Readers without Arial fall back to a sans-serif face with Cyrillic letters.
    static constexpr const char* kFontFace = "Arial";

private:
    // A pixel's centre, or a point between pixels, in logical units.
    WmfPoint Centre(int x, int y) const;
    WmfPoint Between(CanvasPoint p) const;
    void Flush();
    void ApplyPen();
    void ApplyBrush();

    int width_, height_;
    int unitsPerPixel_;
    TextMeasure measure_;
    WmfWriter writer_;
    std::vector<WmfPoint> run_;  // the line being drawn with LineTo
    int x_ = 0, y_ = 0;
    Rgb penColor_ = kBlack;
    int penWidth_ = 1;
    bool brushClear_ = false;
    int fontPixels_ = 0;
};

}  // namespace kq
