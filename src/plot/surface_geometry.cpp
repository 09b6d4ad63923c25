#include "plot/surface_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kq {
namespace {

// Box coordinates are held within this bound so that cutting never meets an infinity.
constexpr double kFarAway = 1e6;

struct Corner {
    BoxPoint p;
    std::int64_t index;  // a grid point, or -1 for a point made by cutting
};

// The part of `in` on the kept side of the plane z = level (above it when `keepAbove`).
int CutAt(const Corner* in, int count, double level, bool keepAbove, Corner* out) {
    auto inside = [&](const Corner& c) { return keepAbove ? c.p.z >= level : c.p.z <= level; };
    int n = 0;
    for (int k = 0; k < count; ++k) {
        const Corner& a = in[k];
        const Corner& b = in[(k + 1) % count];
        const bool ina = inside(a), inb = inside(b);
        if (ina) out[n++] = a;
        if (ina != inb) {
            const double t = (level - a.p.z) / (b.p.z - a.p.z);
            out[n++] = {{a.p.x + t * (b.p.x - a.p.x), a.p.y + t * (b.p.y - a.p.y), level}, -1};
        }
    }
    return n;
}

// The edges of the polygon just added for cell (i, j) that are mesh lines: those on a drawn
// grid line (each cut point lies exactly on the grid edge it was cut from) and those along
// the box's faces.
void AddLineEdges(SurfaceGeometry& g, int i, int j, int n, const std::vector<double>& rows,
                  const std::vector<double>& columns) {
    const int s = g.lineStride;
    auto drawn = [&](int line) { return line % s == 0 || line == n; };
    const std::uint32_t from = g.starts[g.starts.size() - 2], to = g.starts.back();
    for (std::uint32_t c = from; c < to; ++c) {
        const std::uint32_t ia = g.indices[c], ib = g.indices[c + 1 < to ? c + 1 : from];
        const BoxPoint &a = g.vertices[ia], &b = g.vertices[ib];
        bool keep = false;
        if (a.y == b.y && a.y == rows[j])
            keep = drawn(j);
        else if (a.y == b.y && a.y == rows[j + 1])
            keep = drawn(j + 1);
        else if (a.x == b.x && a.x == columns[i])
            keep = drawn(i);
        else if (a.x == b.x && a.x == columns[i + 1])
            keep = drawn(i + 1);
        else
            keep = a.z == b.z && (a.z == kBoxHalfHeight || a.z == -kBoxHalfHeight);
        if (keep) g.edges.insert(g.edges.end(), {ia, ib});
    }
    g.edgeStarts.push_back(static_cast<std::uint32_t>(g.edges.size() / 2));
}

}  // namespace

int LineStride(int intervals) { return std::max(1, (intervals + kMaxMeshLines - 1) / kMaxMeshLines); }

BoxScale::BoxScale(const ZRange& range) {
    // Halves throughout: no difference of two finite values can overflow.
    middle_ = range.low / 2 + range.high / 2;
    halfSpan_ = range.high / 2 - range.low / 2;
    if (!(halfSpan_ > 0)) halfSpan_ = 0.5L;
}

double BoxScale::operator()(long double z) const {
    const long double t = (z / 2 - middle_ / 2) / (halfSpan_ / 2) * static_cast<long double>(kBoxHalfHeight);
    if (std::isnan(t)) return 0;
    return static_cast<double>(std::clamp(t, static_cast<long double>(-kFarAway), static_cast<long double>(kFarAway)));
}

void OutlineFolds(const SurfaceGeometry& g, std::span<const ScreenPoint> p, std::vector<std::uint32_t>& out) {
    out.clear();
    // Twice the signed area on the canvas: its sign says which side faces the eye.
    auto side = [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
        return (p[b].x - p[a].x) * (p[c].y - p[a].y) - (p[b].y - p[a].y) * (p[c].x - p[a].x);
    };
    for (std::size_t k = 0; k < g.PolygonCount(); ++k) {
        const std::uint32_t from = g.starts[k], to = g.starts[k + 1];
        const std::uint32_t first = g.indices[from];
        for (std::uint32_t c = from + 2; c + 1 < to; ++c) {
            const double before = side(first, g.indices[c - 1], g.indices[c]);
            const double after = side(first, g.indices[c], g.indices[c + 1]);
            if ((before > 0 && after < 0) || (before < 0 && after > 0)) out.insert(out.end(), {first, g.indices[c]});
        }
    }
}

bool IsBreak(double previous, bool hasPrevious, double step, double next, bool hasNext, double height) {
    const double size = std::fabs(step);
    // Beside a hole or at the border one neighbour says too little: a slope running into a
    // peak looks just like a jump there.
    if (!hasPrevious || !hasNext || !(size > 0.02 * height)) return false;
    const double neighbours = std::fabs(previous) + std::fabs(next);
    if (previous * next > 0 && previous * step < 0 && size > neighbours) return true;
    return size > 0.05 * height && size > 10 * neighbours;
}

SurfaceGeometry BuildGeometry(const SurfaceMesh& mesh, const ZRange& range) {
    SurfaceGeometry g;
    const int side = mesh.Side(), n = mesh.Intervals();
    const BoxScale scale(range);
    g.vertices.resize(static_cast<std::size_t>(side) * side);
    for (int j = 0; j < side; ++j) {
        const double y = static_cast<double>(mesh.Y(j) / 10);
        for (int i = 0; i < side; ++i) {
            const double z = mesh.Defined(i, j) ? scale(mesh.Z(i, j)) : 0;
            g.vertices[mesh.At(i, j)] = {static_cast<double>(mesh.X(i) / 10), y, z};
        }
    }
    if (n < 1) return g;

    auto z = [&](int i, int j) { return g.vertices[mesh.At(i, j)].z; };
    auto defined = [&](int i, int j) { return mesh.Defined(i, j); };
    const double height = 2 * kBoxHalfHeight;

    // Breaks along x (edge (i, j)-(i+1, j)) and along y (edge (i, j)-(i, j+1)).
    std::vector<std::uint8_t> breakX(static_cast<std::size_t>(side) * n, 0), breakY(breakX.size(), 0);
    // Along one grid line: the edge from step k to k + 1, judged with the steps on either side.
    const auto breaksAlong = [&](std::vector<std::uint8_t>& breaks, auto at) {
        const auto zOf = [&](std::pair<int, int> p) { return z(p.first, p.second); };
        const auto has = [&](std::pair<int, int> p) { return defined(p.first, p.second); };
        for (int line = 0; line < side; ++line) {
            for (int k = 0; k < n; ++k) {
                const auto a = at(line, k), b = at(line, k + 1);
                if (!has(a) || !has(b)) continue;
                const bool hasPrevious = k > 0 && has(at(line, k - 1));
                const bool hasNext = k + 2 <= n && has(at(line, k + 2));
                breaks[static_cast<std::size_t>(line) * n + k] =
                    IsBreak(hasPrevious ? zOf(a) - zOf(at(line, k - 1)) : 0, hasPrevious, zOf(b) - zOf(a),
                            hasNext ? zOf(at(line, k + 2)) - zOf(b) : 0, hasNext, height);
            }
        }
    };
    breaksAlong(breakX, [](int j, int i) { return std::pair{i, j}; });
    breaksAlong(breakY, [](int i, int j) { return std::pair{i, j}; });

    g.lineStride = LineStride(n);
    std::vector<double> rows(side), columns(side);
    for (int k = 0; k < side; ++k) {
        columns[k] = g.vertices[mesh.At(k, 0)].x;
        rows[k] = g.vertices[mesh.At(0, k)].y;
    }
    const double top = kBoxHalfHeight, bottom = -kBoxHalfHeight;
    const std::size_t cellCount = static_cast<std::size_t>(n) * n;
    g.cells.reserve(cellCount);
    g.indices.reserve(cellCount * 4);
    g.starts.reserve(cellCount + 1);
    std::array<Corner, 12> a{}, b{};
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            if (!defined(i, j) || !defined(i + 1, j) || !defined(i + 1, j + 1) || !defined(i, j + 1)) continue;
            if (breakX[static_cast<std::size_t>(j) * n + i] || breakX[static_cast<std::size_t>(j + 1) * n + i] ||
                breakY[static_cast<std::size_t>(i) * n + j] || breakY[static_cast<std::size_t>(i + 1) * n + j])
                continue;
            const std::size_t k[4] = {mesh.At(i, j), mesh.At(i + 1, j), mesh.At(i + 1, j + 1), mesh.At(i, j + 1)};
            double lowest = g.vertices[k[0]].z, highest = lowest;
            for (std::size_t c : k) {
                lowest = std::min(lowest, g.vertices[c].z);
                highest = std::max(highest, g.vertices[c].z);
            }
            // Beyond both faces at once: the two sides of a pole, never one slope.
            if (highest > top && lowest < bottom) continue;
            if (lowest > top || highest < bottom) continue;
            const std::uint32_t cell = static_cast<std::uint32_t>(j) * n + i;
            if (lowest >= bottom && highest <= top) {
                for (std::size_t c : k) g.indices.push_back(static_cast<std::uint32_t>(c));
            } else {
                for (int c = 0; c < 4; ++c) a[c] = {g.vertices[k[c]], static_cast<std::int64_t>(k[c])};
                int count = CutAt(a.data(), 4, bottom, true, b.data());
                count = CutAt(b.data(), count, top, false, a.data());
                if (count < 3) continue;
                for (int c = 0; c < count; ++c) {
                    if (a[c].index >= 0) {
                        g.indices.push_back(static_cast<std::uint32_t>(a[c].index));
                    } else {
                        g.indices.push_back(static_cast<std::uint32_t>(g.vertices.size()));
                        g.vertices.push_back(a[c].p);
                    }
                }
            }
            g.cells.push_back(cell);
            g.starts.push_back(static_cast<std::uint32_t>(g.indices.size()));
            AddLineEdges(g, i, j, n, rows, columns);
        }
    }
    return g;
}

}  // namespace kq
