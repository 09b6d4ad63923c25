#include "support/recording_canvas.h"

#include <algorithm>

namespace kq {
namespace {

std::string Color(Rgb c) { return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b); }

}  // namespace

void RecordingCanvas::SetPenColor(Rgb c) { calls.push_back("pen " + Color(c)); }
void RecordingCanvas::SetPenWidth(int w) { calls.push_back("width " + std::to_string(w)); }
void RecordingCanvas::SetBrushClear(bool clear) { calls.push_back(clear ? "brush clear" : "brush solid"); }
void RecordingCanvas::SetFontSize(int points) { calls.push_back("font " + std::to_string(points)); }
void RecordingCanvas::SetFontColor(Rgb c) { calls.push_back("fontcolor " + Color(c)); }
void RecordingCanvas::MoveTo(int x, int y) { calls.push_back("M " + std::to_string(x) + " " + std::to_string(y)); }
void RecordingCanvas::LineTo(int x, int y) { calls.push_back("L " + std::to_string(x) + " " + std::to_string(y)); }
void RecordingCanvas::TextOut(int x, int y, std::string_view text) {
    calls.push_back("T " + std::to_string(x) + " " + std::to_string(y) + " " + std::string(text));
}
void RecordingCanvas::TextOutOnHalo(int x, int y, std::string_view text, Rgb halo) {
    calls.push_back("halo " + Color(halo));
    TextOut(x, y, text);
}
void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    calls.push_back("R " + std::to_string(x1) + " " + std::to_string(y1) + " " + std::to_string(x2) + " " +
                    std::to_string(y2));
}
void RecordingCanvas::Fill(Rgb c) { calls.push_back("fill " + Color(c)); }
void RecordingCanvas::Polygon(std::span<const CanvasPoint> points, Rgb fill) {
    calls.push_back("P " + Color(fill));
    polygons.emplace_back(points.begin(), points.end());
}
void RecordingCanvas::Polyline(std::span<const CanvasPoint> points) {
    calls.push_back("Y");
    polylines.emplace_back(points.begin(), points.end());
}

Size RecordingCanvas::TextExtent(std::string_view text) {
    const auto characters = std::count_if(text.begin(), text.end(), [](char ch) { return (ch & 0xC0) != 0x80; });
    return {static_cast<int>(characters) * kCharWidth, kTextHeight};
}

std::vector<std::string> RecordingCanvas::Strokes() const {
    std::vector<std::string> out;
    for (const auto& c : calls)
        if (c[0] == 'M' || c[0] == 'L') out.push_back(c);
    return out;
}

}  // namespace kq
