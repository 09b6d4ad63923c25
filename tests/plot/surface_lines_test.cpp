// The surface as visible lines: what the back-to-front painting leaves of each mesh line, in
// as few paths as the runs allow, with short coordinates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "plot/surface_lines.h"
#include "plot/three_dim_graphiq.h"
#include "support/recording_canvas.h"

namespace kq {
namespace {

using Intervals = std::vector<std::pair<double, double>>;

// Polygons given on the canvas directly (depth does not matter here), painted in list order.
struct Scene {
    SurfaceGeometry geometry;
    std::vector<ScreenPoint> points;
    std::vector<std::uint32_t> order;
    void Add(std::vector<CanvasPoint> polygon) {
        for (const CanvasPoint& p : polygon) {
            geometry.indices.push_back(static_cast<std::uint32_t>(points.size()));
            points.push_back({p.x, p.y, 0});
        }
        geometry.starts.push_back(static_cast<std::uint32_t>(geometry.indices.size()));
        geometry.cells.push_back(static_cast<std::uint32_t>(geometry.cells.size()));
        geometry.edgeStarts.push_back(0);
        order.push_back(static_cast<std::uint32_t>(order.size()));
    }
    Intervals Visible(CanvasPoint a, CanvasPoint b, std::int64_t rank) {
        Occluders o(geometry, points, order);
        Intervals out;
        o.Visible(a, b, rank, out);
        return out;
    }
};

void ExpectIntervals(const Intervals& got, const Intervals& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t k = 0; k < got.size(); ++k) {
        EXPECT_NEAR(got[k].first, want[k].first, 1e-12) << k;
        EXPECT_NEAR(got[k].second, want[k].second, 1e-12) << k;
    }
}

TEST(Occluders, OnlyLaterPolygonsHideAndOnlyWhereTheyCover) {
    Scene s;
    s.Add({{1, -1}, {2, -1}, {2, 1}, {1, 1}});  // covers x from 1 to 2 of the segment
    s.Add({{3, 0.5}, {3.5, 0.5}, {3.5, 1}, {3, 1}});  // beside it: covers nothing
    ExpectIntervals(s.Visible({0, 0}, {4, 0}, -1), {{0, 0.25}, {0.5, 1}});
    ExpectIntervals(s.Visible({0, 0}, {4, 0}, 0), {{0, 1}});  // painted after the square
    // Two that overlap hide one stretch; one that covers all hides it all.
    s.Add({{1.5, -1}, {2.5, -1}, {2.5, 1}, {1.5, 1}});
    ExpectIntervals(s.Visible({0, 0}, {4, 0}, -1), {{0, 0.25}, {0.625, 1}});
    s.Add({{-1, -1}, {5, -1}, {5, 1}, {-1, 1}});
    EXPECT_TRUE(s.Visible({0, 0}, {4, 0}, 1).empty());
}

TEST(Occluders, AFoldedCellCoversByTheEvenOddRule) {
    Scene s;
    // A bow tie crossing itself at (2, 0): its two wings cover, the space between does not.
    s.Add({{0, -1}, {4, 1}, {4, -1}, {0, 1}});
    ExpectIntervals(s.Visible({-1, 0.5}, {5, 0.5}, -1), {{0, 1.0 / 6}, {2.0 / 6, 4.0 / 6}, {5.0 / 6, 1}});
}

TEST(Occluders, CornersThatOnlyTouchHideNothing) {
    Scene s;
    s.Add({{0, 0}, {2, 0}, {2, 2}, {0, 2}});
    ExpectIntervals(s.Visible({2, 2}, {4, 4}, -1), {{0, 1}});  // from its corner outward
    ExpectIntervals(s.Visible({2, 4}, {4, 2}, -1), {{0, 1}});  // past a corner
    // Corner to corner across it: hidden between the corners exactly.
    ExpectIntervals(s.Visible({-1, 3}, {3, -1}, -1), {{0, 0.25}, {0.75, 1}});
    // A segment that ends inside.
    ExpectIntervals(s.Visible({-2, 1}, {1, 1}, -1), {{0, 2.0 / 3}});
}

// Mesh-line paths in the line colour: those drawn after the pen takes the surface's colour.
std::vector<CanvasPath> MeshPaths(ThreeDimGraphiq& s, int w, int h) {
    RecordingCanvas c;
    s.Draw(c, w, h, kSurfaceBackground, SurfaceStyle::Lines);
    const Rgb line = s.LineColor(s.View().For(w, h));
    const std::string pen = "pen " + std::to_string(line.r) + "," + std::to_string(line.g) + "," + std::to_string(line.b);
    std::vector<CanvasPath> out;
    bool on = false;
    std::size_t polyline = 0;
    for (const auto& call : c.calls) {
        if (call.rfind("pen ", 0) == 0) on = call == pen;
        if (call == "Y") {
            if (on) out.push_back(c.polylines[polyline]);
            ++polyline;
        }
    }
    return out;
}

TEST(SurfaceLines, NothingHiddenGivesOnePathPerGridLine) {
    // A plane seen from straight above hides nothing of itself.
    for (long double step : {0.91L, 0.3L, 0.05L}) {
        ThreeDimGraphiq s;
        s.SetFormula("x/2+y/3");
        s.SetStep(step);
        s.View().SetAngles(90, 0);
        s.View().SetPerspective(false);
        const auto paths = MeshPaths(s, 600, 600);
        const SurfaceGeometry& g = s.Geometry();
        const int lines = s.Mesh().Intervals() / g.lineStride + 1 + (s.Mesh().Intervals() % g.lineStride != 0);
        EXPECT_EQ(static_cast<int>(paths.size()), 2 * lines) << static_cast<double>(step);
        for (const CanvasPath& p : paths) EXPECT_EQ(static_cast<int>(p.size()), s.Mesh().Intervals() + 1);
    }
}

TEST(SurfaceLines, CoordinatesKeepTwoDecimals) {
    ThreeDimGraphiq s;
    s.SetFormula("cos(rt2(x*x+y*y))");
    s.SetStep(0.2);
    RecordingCanvas c;
    s.Draw(c, 640, 480);
    ASSERT_GT(c.polylines.size(), 50u);
    for (const auto& path : c.polylines)
        for (const CanvasPoint& p : path) {
            EXPECT_NEAR(p.x * 100, std::round(p.x * 100), 1e-6);
            EXPECT_NEAR(p.y * 100, std::round(p.y * 100), 1e-6);
        }
}

TEST(SurfaceLines, AFineGridIsAFewHundredPathsNotACellEach) {
    ThreeDimGraphiq s;
    s.SetFormula("cos(rt2(x*x+y*y))");
    s.SetStep(kMinGridStep);
    RecordingCanvas c;
    s.Draw(c, 640, 480);
    EXPECT_TRUE(c.polygons.empty());
    EXPECT_LT(c.polylines.size(), 2000u);
    std::size_t points = 0;
    for (const auto& path : c.polylines) points += path.size();
    EXPECT_LT(points, 2 * 51 * 401u);  // never more than the drawn lines have
}

// Checked against every polygon, one sample at a time: a point of a mesh line is visible when
// no polygon painted after the line covers it (by the even-odd rule). The paths must hold the
// visible samples and miss the hidden ones.
TEST(SurfaceLines, VisibleWhereNoLaterPolygonCoversTheLine) {
    ThreeDimGraphiq s;
    s.SetFormula("cos(rt2(x*x+y*y))+x/10");
    s.SetStep(0.5);
    for (const auto& [tilt, spin, perspective] :
         {std::tuple{35.0, -35.0, true}, {12.0, 20.0, false}, {-30.0, 120.0, true}, {70.0, 200.0, true}}) {
        s.View().SetAngles(tilt, spin);
        s.View().SetPerspective(perspective);
        const Projector p = s.View().For(640, 480);
        const SurfaceGeometry& g = s.Geometry();
        std::vector<ScreenPoint> q;
        ProjectAll(p, g.vertices, q);
        const std::vector<std::uint32_t> order = s.DrawingOrder(p);
        std::vector<std::size_t> rank(order.size());
        for (std::size_t k = 0; k < order.size(); ++k) rank[order[k]] = k;
        // Each drawn edge once, painted with the later of its cells.
        std::map<std::pair<std::uint32_t, std::uint32_t>, std::size_t> edges;
        for (std::size_t k = 0; k < g.PolygonCount(); ++k)
            for (std::uint32_t e = g.edgeStarts[k]; e < g.edgeStarts[k + 1]; ++e) {
                const auto key = std::minmax(g.edges[2 * e], g.edges[2 * e + 1]);
                edges[key] = std::max(edges[key], rank[k]);
            }
        const auto paths = MeshPaths(s, 640, 480);
        auto onPath = [&](double x, double y) {
            for (const CanvasPath& path : paths)
                for (std::size_t k = 0; k + 1 < path.size(); ++k) {
                    const CanvasPoint a = path[k], b = path[k + 1];
                    const double dx = b.x - a.x, dy = b.y - a.y, l2 = dx * dx + dy * dy;
                    const double t = l2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / l2, 0.0, 1.0) : 0;
                    if (std::hypot(a.x + t * dx - x, a.y + t * dy - y) < 0.03) return true;
                }
            return false;
        };
        int visible = 0, hidden = 0;
        for (const auto& [key, r] : edges) {
            for (double t : {0.3, 0.7}) {
                const double x = q[key.first].x + t * (q[key.second].x - q[key.first].x);
                const double y = q[key.first].y + t * (q[key.second].y - q[key.first].y);
                bool covered = false, close = false;
                for (std::size_t k = 0; k < g.PolygonCount() && !close; ++k) {
                    if (rank[k] <= r) continue;
                    bool inside = false;
                    const std::uint32_t from = g.starts[k], to = g.starts[k + 1];
                    for (std::uint32_t c = from, last = to - 1; c < to; last = c++) {
                        const ScreenPoint &u = q[g.indices[c]], &v = q[g.indices[last]];
                        if ((u.y > y) != (v.y > y) && x < (v.x - u.x) * (y - u.y) / (v.y - u.y) + u.x) inside = !inside;
                        // Too near an outline to tell by a sample.
                        const double dx = v.x - u.x, dy = v.y - u.y, l2 = dx * dx + dy * dy;
                        const double s2 = l2 > 0 ? std::clamp(((x - u.x) * dx + (y - u.y) * dy) / l2, 0.0, 1.0) : 0;
                        close = close || std::hypot(u.x + s2 * dx - x, u.y + s2 * dy - y) < 0.1;
                    }
                    covered = covered || inside;
                }
                if (close) continue;
                EXPECT_EQ(onPath(x, y), !covered) << tilt << " " << spin << " at " << x << "," << y;
                (covered ? hidden : visible) += 1;
            }
        }
        EXPECT_GT(visible, 1000) << tilt << " " << spin;
        EXPECT_GT(hidden, 200) << tilt << " " << spin;
    }
}

}  // namespace
}  // namespace kq
