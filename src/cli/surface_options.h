// What the verbs that draw the surface (surface, print --surface) are told about it, declared
// and checked in one place: the grid step, the turn, the scale and the projection.
#pragma once

#include "plot/surface_mesh.h"
#include "plot/surface_view.h"

namespace kq {

class OptionParser;
class ThreeDimGraphiq;

struct SurfaceViewOptions {
    long double step = kInitialGridStep;
    double tilt = SurfaceView::kInitialTilt, spin = SurfaceView::kInitialSpin;
    double divisor = SurfaceView::kInitialDivisor;
    bool parallel = false;
    bool viewGiven = false;  // --turn, --scale or --parallel: options only a picture uses
};

// --step H, --turn AX AY, --scale S, --parallel.
void DeclareSurfaceViewOptions(OptionParser& parser, SurfaceViewOptions& options);

// The grid step and the view as the options describe them.
void SetUpSurfaceView(ThreeDimGraphiq& surface, const SurfaceViewOptions& options);

}  // namespace kq
