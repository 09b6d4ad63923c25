#include "plot/surface_lines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kq {
namespace {

double Cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// A hundredth of a pixel: finer than any printer or viewer shows, short to write.
double Rounded(double v) { return std::round(v * 100) / 100; }

CanvasPoint At(CanvasPoint a, CanvasPoint b, double t) {
    if (t <= 0) return {Rounded(a.x), Rounded(a.y)};
    if (t >= 1) return {Rounded(b.x), Rounded(b.y)};
    return {Rounded(a.x + t * (b.x - a.x)), Rounded(a.y + t * (b.y - a.y))};
}

// Joins touching or overlapping intervals of a sorted list.
void Merge(std::vector<std::pair<double, double>>& intervals) {
    std::sort(intervals.begin(), intervals.end());
    std::size_t n = 0;
    for (const auto& i : intervals) {
        if (n > 0 && i.first <= intervals[n - 1].second)
            intervals[n - 1].second = std::max(intervals[n - 1].second, i.second);
        else
            intervals[n++] = i;
    }
    intervals.resize(n);
}

// One drawn edge: a piece of a grid line (along x at y = key, or along y at x = key) from
// `from` to `to` along it, or a cut along a face of the box.
struct Piece {
    enum Kind : std::uint8_t { AlongX, AlongY, Other } kind;
    double key, from, to;
    std::uint32_t a, b;  // the vertices at `from` and at `to`
    std::int64_t rank;   // painted right after this polygon
};

constexpr double kSame = 1e-9;  // box units: copies of one edge from its two cells

}  // namespace

Occluders::Occluders(const SurfaceGeometry& geometry, std::span<const ScreenPoint> projected,
                     std::span<const std::uint32_t> order)
    : geometry_(geometry), projected_(projected) {
    const std::size_t count = geometry.PolygonCount();
    rank_.assign(count, 0);
    for (std::size_t k = 0; k < order.size(); ++k) rank_[order[k]] = static_cast<std::uint32_t>(k);
    bounds_.resize(count);
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    Bounds all{kInfinity, kInfinity, -kInfinity, -kInfinity};
    for (std::size_t k = 0; k < count; ++k) {
        Bounds b{kInfinity, kInfinity, -kInfinity, -kInfinity};
        for (std::uint32_t c = geometry.starts[k]; c < geometry.starts[k + 1]; ++c) {
            const ScreenPoint& p = projected[geometry.indices[c]];
            b.left = std::min(b.left, p.x);
            b.right = std::max(b.right, p.x);
            b.top = std::min(b.top, p.y);
            b.bottom = std::max(b.bottom, p.y);
        }
        bounds_[k] = b;
        all.left = std::min(all.left, b.left);
        all.right = std::max(all.right, b.right);
        all.top = std::min(all.top, b.top);
        all.bottom = std::max(all.bottom, b.bottom);
    }
    seen_.assign(count, 0);
    binStarts_.assign(2, 0);
    if (count == 0) return;
    // About two polygons a bin where they spread evenly.
    const int side = std::clamp(static_cast<int>(std::ceil(std::sqrt(count / 2.0))), 1, 1024);
    columns_ = rows_ = side;
    left_ = all.left;
    top_ = all.top;
    binWidth_ = std::max((all.right - all.left) / side, 1e-9);
    binHeight_ = std::max((all.bottom - all.top) / side, 1e-9);
    const auto column = [&](double x) { return std::clamp(static_cast<int>((x - left_) / binWidth_), 0, columns_ - 1); };
    const auto row = [&](double y) { return std::clamp(static_cast<int>((y - top_) / binHeight_), 0, rows_ - 1); };
    const auto eachBin = [&](const Bounds& b, auto&& f) {
        for (int r = row(b.top); r <= row(b.bottom); ++r)
            for (int c = column(b.left); c <= column(b.right); ++c) f(static_cast<std::size_t>(r) * columns_ + c);
    };
    binStarts_.assign(static_cast<std::size_t>(columns_) * rows_ + 1, 0);
    for (std::size_t k = 0; k < count; ++k) eachBin(bounds_[k], [&](std::size_t bin) { ++binStarts_[bin + 1]; });
    for (std::size_t k = 1; k < binStarts_.size(); ++k) binStarts_[k] += binStarts_[k - 1];
    binPolygons_.resize(binStarts_.back());
    // Each bin lists its polygons last painted first: a query stops at the first one painted
    // before the segment.
    std::vector<std::uint32_t> next(binStarts_.begin(), binStarts_.end() - 1);
    for (std::size_t k = order.size(); k-- > 0;)
        eachBin(bounds_[order[k]], [&](std::size_t bin) { binPolygons_[next[bin]++] = order[k]; });
}

void Occluders::CoveredBy(std::uint32_t polygon, CanvasPoint a, CanvasPoint b,
                          std::vector<std::pair<double, double>>& out) {
    const std::uint32_t from = geometry_.starts[polygon], to = geometry_.starts[polygon + 1];
    const std::uint32_t n = std::min<std::uint32_t>(to - from, kMostCorners);
    if (n < 3) return;
    const double dx = b.x - a.x, dy = b.y - a.y;
    // Which side of the segment's line each corner lies on: a polygon wholly on one side
    // cannot cover any of it, which settles most polygons met.
    std::array<CanvasPoint, kMostCorners> p;
    std::array<double, kMostCorners> side;
    bool left = false, right = false;
    for (std::uint32_t k = 0; k < n; ++k) {
        const ScreenPoint& q = projected_[geometry_.indices[from + k]];
        p[k] = {q.x, q.y};
        side[k] = Cross(dx, dy, q.x - a.x, q.y - a.y);
        left = left || side[k] >= 0;
        right = right || side[k] <= 0;
    }
    if (!left || !right) return;
    // Where the segment crosses the outline; between two crossings it is wholly in or out.
    std::array<double, kMostCorners + 2> crossings;
    std::size_t count = 0;
    crossings[count++] = 0;
    for (std::uint32_t k = 0; k < n; ++k) {
        const std::uint32_t next = k + 1 < n ? k + 1 : 0;
        if ((side[k] > 0 && side[next] > 0) || (side[k] < 0 && side[next] < 0)) continue;
        const double ex = p[next].x - p[k].x, ey = p[next].y - p[k].y;
        const double denominator = Cross(dx, dy, ex, ey);
        if (std::fabs(denominator) < 1e-300) continue;  // along the line: the parts between say it
        const double t = Cross(p[k].x - a.x, p[k].y - a.y, ex, ey) / denominator;
        if (t > 0 && t < 1) crossings[count++] = t;
    }
    crossings[count++] = 1;
    std::sort(crossings.begin(), crossings.begin() + count);
    for (std::size_t k = 0; k + 1 < count; ++k) {
        const double t0 = crossings[k], t1 = crossings[k + 1];
        if (!(t1 - t0 > 1e-12)) continue;
        const double x = a.x + (t0 + t1) / 2 * dx, y = a.y + (t0 + t1) / 2 * dy;
        bool inside = false;
        for (std::uint32_t c = 0, last = n - 1; c < n; last = c++)
            if ((p[c].y > y) != (p[last].y > y) && x < (p[last].x - p[c].x) * (y - p[c].y) / (p[last].y - p[c].y) + p[c].x)
                inside = !inside;
        if (inside) out.emplace_back(t0, t1);
    }
}

void Occluders::Visible(CanvasPoint a, CanvasPoint b, std::int64_t rank, std::vector<std::pair<double, double>>& out) {
    out.clear();
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (!(length > 0)) return;
    covered_.clear();
    if (++query_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        query_ = 1;
    }
    // In pieces about a bin long, so that a long segment looks only at the bins it crosses.
    const double bins = std::max(std::fabs(b.x - a.x) / binWidth_, std::fabs(b.y - a.y) / binHeight_);
    const int pieces = std::clamp(static_cast<int>(std::ceil(bins)), 1, 4096);
    const double gridRight = left_ + binWidth_ * columns_, gridBottom = top_ + binHeight_ * rows_;
    for (int piece = 0; piece < pieces && !binPolygons_.empty(); ++piece) {
        const CanvasPoint p{a.x + (b.x - a.x) * piece / pieces, a.y + (b.y - a.y) * piece / pieces};
        const CanvasPoint q{a.x + (b.x - a.x) * (piece + 1) / pieces, a.y + (b.y - a.y) * (piece + 1) / pieces};
        const double left = std::min(p.x, q.x), right = std::max(p.x, q.x);
        const double top = std::min(p.y, q.y), bottom = std::max(p.y, q.y);
        if (right < left_ || left > gridRight || bottom < top_ || top > gridBottom) continue;
        const int c0 = std::clamp(static_cast<int>((left - left_) / binWidth_), 0, columns_ - 1);
        const int c1 = std::clamp(static_cast<int>((right - left_) / binWidth_), 0, columns_ - 1);
        const int r0 = std::clamp(static_cast<int>((top - top_) / binHeight_), 0, rows_ - 1);
        const int r1 = std::clamp(static_cast<int>((bottom - top_) / binHeight_), 0, rows_ - 1);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) {
                const std::size_t bin = static_cast<std::size_t>(r) * columns_ + c;
                for (std::uint32_t k = binStarts_[bin]; k < binStarts_[bin + 1]; ++k) {
                    const std::uint32_t polygon = binPolygons_[k];
                    if (static_cast<std::int64_t>(rank_[polygon]) <= rank) break;
                    if (seen_[polygon] == query_) continue;
                    seen_[polygon] = query_;
                    const Bounds& o = bounds_[polygon];
                    if (o.right < std::min(a.x, b.x) || o.left > std::max(a.x, b.x) ||
                        o.bottom < std::min(a.y, b.y) || o.top > std::max(a.y, b.y))
                        continue;
                    CoveredBy(polygon, a, b, covered_);
                }
            }
    }
    Merge(covered_);
    // What is left, without slivers too short to see either way.
    const double shortest = 0.005 / length;
    double t = 0;
    for (const auto& [t0, t1] : covered_) {
        if (t1 - t0 <= shortest) continue;
        if (t0 - t > shortest) out.emplace_back(t, t0);
        t = std::max(t, t1);
    }
    if (1 - t > shortest) out.emplace_back(t, 1.0);
}

VisibleLines VisibleMeshLines(const SurfaceGeometry& g, std::span<const ScreenPoint> projected,
                              std::span<const std::uint32_t> order, std::span<const BoxEdge> farEdges,
                              const Projector& projector) {
    VisibleLines lines;
    Occluders occluders(g, projected, order);
    std::vector<std::pair<double, double>> visible;

    // The far edges are painted first, at whole pixels.
    for (const BoxEdge& e : farEdges) {
        const ScreenPoint p = projector(e.a), q = projector(e.b);
        const CanvasPoint a{std::round(p.x), std::round(p.y)}, b{std::round(q.x), std::round(q.y)};
        occluders.Visible(a, b, -1, visible);
        for (const auto& [t0, t1] : visible) lines.box.push_back({At(a, b, t0), At(a, b, t1)});
    }

    std::vector<std::int64_t> rank(g.PolygonCount());
    for (std::size_t k = 0; k < order.size(); ++k) rank[order[k]] = static_cast<std::int64_t>(k);
    std::vector<Piece> pieces;
    pieces.reserve(g.edges.size() / 2);
    for (std::size_t k = 0; k < g.PolygonCount(); ++k) {
        for (std::uint32_t e = g.edgeStarts[k]; e < g.edgeStarts[k + 1]; ++e) {
            std::uint32_t ia = g.edges[2 * e], ib = g.edges[2 * e + 1];
            const BoxPoint &a = g.vertices[ia], &b = g.vertices[ib];
            Piece piece{Piece::Other, static_cast<double>(k), 0, 0, ia, ib, rank[k]};
            if (a.y == b.y && a.x != b.x) {
                piece.kind = Piece::AlongX;
                piece.key = a.y;
                piece.from = a.x;
                piece.to = b.x;
            } else if (a.x == b.x && a.y != b.y) {
                piece.kind = Piece::AlongY;
                piece.key = a.x;
                piece.from = a.y;
                piece.to = b.y;
            }
            if (piece.from > piece.to) {
                std::swap(piece.from, piece.to);
                std::swap(piece.a, piece.b);
            }
            pieces.push_back(piece);
        }
    }
    std::sort(pieces.begin(), pieces.end(), [](const Piece& p, const Piece& q) {
        if (p.kind != q.kind) return p.kind < q.kind;
        if (p.key != q.key) return p.key < q.key;
        if (p.from != q.from) return p.from < q.from;
        return p.to < q.to;
    });
    // An edge between two cells comes from both: it is seen as the later one leaves it.
    std::size_t unique = 0;
    for (const Piece& p : pieces) {
        Piece* last = unique > 0 ? &pieces[unique - 1] : nullptr;
        if (last && p.kind != Piece::Other && last->kind == p.kind && last->key == p.key &&
            std::fabs(last->from - p.from) < kSame && std::fabs(last->to - p.to) < kSame) {
            if (p.rank > last->rank) *last = p;
            continue;
        }
        pieces[unique++] = p;
    }
    pieces.resize(unique);

    // Runs along one grid line: a piece visible to its end goes on in the next piece that is
    // visible from its start, where the two meet.
    const Piece* previous = nullptr;
    bool open = false;  // the last run ends where the previous piece ends
    for (const Piece& p : pieces) {
        const CanvasPoint a{projected[p.a].x, projected[p.a].y}, b{projected[p.b].x, projected[p.b].y};
        occluders.Visible(a, b, p.rank, visible);
        const bool continues = open && previous && p.kind != Piece::Other && previous->kind == p.kind &&
                               previous->key == p.key && std::fabs(previous->to - p.from) < kSame;
        for (std::size_t k = 0; k < visible.size(); ++k) {
            const auto [t0, t1] = visible[k];
            if (k == 0 && t0 == 0 && continues)
                lines.mesh.back().push_back(At(a, b, t1));
            else
                lines.mesh.push_back({At(a, b, t0), At(a, b, t1)});
        }
        open = !visible.empty() && visible.back().second == 1.0;
        previous = &p;
    }
    return lines;
}

}  // namespace kq
