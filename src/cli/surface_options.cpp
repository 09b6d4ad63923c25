#include "cli/surface_options.h"

#include "cli/option_parser.h"
#include "engine/number_text.h"
#include "plot/three_dim_graphiq.h"

namespace kq {

void DeclareSurfaceViewOptions(OptionParser& parser, SurfaceViewOptions& o) {
    parser
        .Values("--step", {"H"},
                [&o](const std::vector<std::string>& v) {
                    o.step = ParseNumberOption("--step", v[0]);
                    if (o.step < kMinGridStep || o.step > kMaxGridStep)
                        throw UsageError{"шаг сетки --step должен быть от 0.05 до 5: \"" + v[0] + "\""};
                })
        .Values("--turn", {"AX", "AY"},
                [&o](const std::vector<std::string>& v) {
                    o.tilt = static_cast<double>(ParseNumberOption("--turn", v[0]));
                    o.spin = static_cast<double>(ParseNumberOption("--turn", v[1]));
                    o.viewGiven = true;
                })
        .Values("--scale", {"S"},
                [&o](const std::vector<std::string>& v) {
                    const long double s = ParseNumberOption("--scale", v[0]);
                    if (s < SurfaceView::kMinDivisor || s > SurfaceView::kMaxDivisor)
                        throw UsageError{"масштаб --scale должен быть от " +
                                         FormatC("%.6Lg", SurfaceView::kMinDivisor) + " до " +
                                         FormatC("%.6Lg", SurfaceView::kMaxDivisor) + ": \"" + v[0] + "\""};
                    o.divisor = static_cast<double>(s);
                    o.viewGiven = true;
                })
        .Values("--parallel", {}, [&o](const std::vector<std::string>&) {
            o.parallel = true;
            o.viewGiven = true;
        });
}

void SetUpSurfaceView(ThreeDimGraphiq& surface, const SurfaceViewOptions& o) {
    surface.SetStep(o.step);
    surface.View().SetAngles(o.tilt, o.spin);
    surface.View().SetDivisor(o.divisor);
    surface.View().SetPerspective(!o.parallel);
}

}  // namespace kq
