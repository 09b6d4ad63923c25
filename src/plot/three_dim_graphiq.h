// The surface plotter: z = f(x, y) on a grid over [-10, 10] x [-10, 10], seen in a box that
// turns, scales and switches projection. Evaluates only when the formula, the grid step, the
// angle unit or the rounding changed; turning and scaling only project again. One Draw serves
// the screen without OpenGL, printing, picture files and the command line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/translator.h"
#include "plot/canvas.h"
#include "plot/surface_box.h"
#include "plot/surface_geometry.h"
#include "plot/surface_mesh.h"
#include "plot/surface_view.h"

namespace kq {

// The background: 0.95 grey.
inline constexpr Rgb kSurfaceBackground{242, 242, 242};

// Black while the cells are large; lighter as they shrink toward a few pixels, so that a fine
// grid still shows its shape instead of a black patch.
Rgb MeshLineColor(double cellPixels);

// How the surface reaches its canvas. Lines: only what stays visible of the mesh lines, one
// path per visible run along a grid line, coordinates to a hundredth of a pixel; small files
// for vector pictures and printers, quick on screen, and whole lines where cells are a pixel
// or two, as OpenGL shows them. Filled: every cell filled with the background back to front
// and its mesh lines drawn over it; the lines a fill does not hide are what Lines keeps.
enum class SurfaceStyle { Filled, Lines };

class ThreeDimGraphiq {
public:
    ThreeDimGraphiq();

    void SetFormula(std::string_view text);
    const std::string& Formula() const { return formula_; }

    // Clamped to [kMinGridStep, kMaxGridStep]; a value that is not a number is ignored.
    void SetStep(long double step);
    long double Step() const { return step_; }

    // Trigonometric functions in degrees instead of radians.
    void SetDegrees(bool degrees);
    bool Degrees() const { return translator_.Degrees(); }

    // "Точные функции" for the surface's formula (Translator::SetExactFunctions).
    void SetExactFunctions(bool exact);
    bool ExactFunctions() const { return translator_.ExactFunctions(); }

    // Rounding digits of every value (-1: none).
    void SetRounding(int digits);
    int Rounding() const { return translator_.Rounding(); }

    // Turning and scaling: never evaluates.
    SurfaceView& View() { return view_; }
    const SurfaceView& View() const { return view_; }

    // The evaluated grid, the box's z range and the polygons, evaluated first when stale.
    const SurfaceMesh& Mesh();
    const ZRange& Range();
    // What the box's labels say: the sampled x and y ranges and the z range.
    BoxAxes Axes();
    const SurfaceGeometry& Geometry();
    // The same surface on a grid a few times coarser, with the same mesh lines, for frames
    // drawn while turning where the full one is too slow; Geometry() itself on coarse grids.
    const SurfaceGeometry& PreviewGeometry();

    // How many times the grid was evaluated; a view that keeps uploaded geometry uploads
    // again when this moves on.
    std::uint64_t EvaluationCount() const { return evaluations_; }

    // The whole picture on a W x H canvas: the background, the far edges of the box, the
    // surface with hidden lines removed, the axis names and ranges and the note on values the
    // box cuts.
    void Draw(Canvas& canvas, int width, int height, Rgb background = kSurfaceBackground,
              SurfaceStyle style = SurfaceStyle::Lines);

    // The colour of the mesh lines for this projection and the current grid step.
    Rgb LineColor(const Projector& projector) const;

    // The polygons of Geometry() in the order Draw paints them, farthest first.
    const std::vector<std::uint32_t>& DrawingOrder(const Projector& projector);

private:
    void Refresh();
    void DrawFilled(Canvas& canvas, const Projector& projector, Rgb background);
    void DrawLines(Canvas& canvas, const Projector& projector);

    Translator translator_;
    std::string formula_;
    long double step_ = kInitialGridStep;
    bool stale_ = true;
    std::uint64_t evaluations_ = 0;
    SurfaceMesh mesh_;
    ZRange range_;
    SurfaceGeometry geometry_;
    SurfaceGeometry preview_;
    std::uint64_t previewOf_ = 0;  // the evaluation the preview was made from
    SurfaceView view_;
    // Reused between frames.
    std::vector<ScreenPoint> projected_;
    std::vector<std::pair<double, std::uint32_t>> keys_;
    std::vector<double> centres_;
    std::vector<std::uint32_t> order_;
};

}  // namespace kq
