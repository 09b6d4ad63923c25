#include "plot/page_picture.h"

#include "plot/graphiq.h"
#include "plot/point_marks.h"
#include "plot/three_dim_graphiq.h"

namespace kq {

PictureDrawing PlaneDrawing(Graphiq& graph) {
    return [&graph](Canvas& canvas, int width, int height, const PictureStyle& style) {
        // Paper is white already: only the screen and the files lay the white down.
        if (style.medium == Medium::Paper)
            graph.Draw(canvas, width, height, style.axes, true, style.density);
        else
            graph.DrawOnWhite(canvas, width, height, style.axes, style.density);
    };
}

PictureDrawing PlaneDrawing(Graphiq& graph, std::shared_ptr<const NotablePoints> marks) {
    if (!marks) return PlaneDrawing(graph);
    return [&graph, marks = std::move(marks)](Canvas& canvas, int width, int height, const PictureStyle& style) {
        PlaneDrawing(graph)(canvas, width, height, style);
        DrawPointMarks(canvas, graph.View(), width, height, marks->points,
                       [&graph](int curve) { return graph.CurveColour(curve); }, MarkRadius(width, height));
    };
}

PictureDrawing SurfaceDrawing(ThreeDimGraphiq& surface) {
    return [&surface](Canvas& canvas, int width, int height, const PictureStyle& style) {
        surface.Draw(canvas, width, height, SurfaceBackground(style.medium));
    };
}

Rgb SurfaceBackground(Medium medium) { return medium == Medium::Paper ? Rgb{255, 255, 255} : kSurfaceBackground; }

}  // namespace kq
