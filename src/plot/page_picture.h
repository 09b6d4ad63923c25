// A page's picture drawn at any size on any canvas: the one entry through which the screen,
// picture files, printing and the command line draw the plane graph and the surface. The
// medium decides the background: the plane graph lies on white with grey numbers on every
// medium; the surface on its light grey on screen and in files, on the paper's white in print.
#pragma once

#include <functional>
#include <memory>

#include "plot/canvas.h"
#include "plot/notable_points.h"

namespace kq {

class Graphiq;
class ThreeDimGraphiq;

enum class Medium { Screen, File, Paper };

struct PictureStyle {
    Medium medium = Medium::Screen;
    bool axes = true;     // the plane graph's axes; the surface always has its box
    double density = 1;   // device pixels per canvas pixel (a fine screen samples every one)
};

using PictureDrawing = std::function<void(Canvas& canvas, int width, int height, const PictureStyle& style)>;

// The graphs draw as long as they live; the drawing refers to them.
PictureDrawing PlaneDrawing(Graphiq& graph);
// The same with the markers of `marks` over the curves (none when it is empty).
PictureDrawing PlaneDrawing(Graphiq& graph, std::shared_ptr<const NotablePoints> marks);
PictureDrawing SurfaceDrawing(ThreeDimGraphiq& surface);

// What the surface is drawn on.
Rgb SurfaceBackground(Medium medium);

}  // namespace kq
