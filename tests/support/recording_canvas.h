// A canvas that writes down every drawing call as a line of text: what tests compare strokes
// with. Text measures kCharWidth pixels a character (UTF-8 code points, whatever the font
// size) and kTextHeight high, so label placement can be checked exactly; measuring is not
// written down.
#pragma once

#include <string>
#include <vector>

#include "plot/canvas.h"

namespace kq {

class RecordingCanvas : public Canvas {
public:
    static constexpr int kCharWidth = 6;
    static constexpr int kTextHeight = 10;

    void SetPenColor(Rgb c) override;
    void SetPenWidth(int w) override;
    void SetBrushClear(bool clear) override;
    void SetFontSize(int points) override;
    void SetFontColor(Rgb c) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, std::string_view text) override;
    // Written down as "halo r,g,b" and then the text as TextOut writes it.
    void TextOutOnHalo(int x, int y, std::string_view text, Rgb halo) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Fill(Rgb c) override;
    Size TextExtent(std::string_view text) override;
    void Polygon(std::span<const CanvasPoint> points, Rgb fill) override;
    void Polyline(std::span<const CanvasPoint> points) override;

    std::vector<std::string> calls;
    // Every polygon's points, in the order drawn (the calls hold "P r,g,b" for each).
    std::vector<std::vector<CanvasPoint>> polygons;
    // Every polyline's points, in the order drawn (the calls hold "Y" for each).
    std::vector<std::vector<CanvasPoint>> polylines;
    // Only the strokes: "M x y" and "L x y".
    std::vector<std::string> Strokes() const;
};

}  // namespace kq
