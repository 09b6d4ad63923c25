// The surface's grid over x, y in [-10, 10], the values of z = f(x, y) on it, and the z range
// its box shows.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/eval_status.h"
#include "plot/round_ticks.h"

namespace kq {

class Translator;

inline constexpr long double kGridFrom = -10;
inline constexpr long double kGridTo = 10;
inline constexpr long double kInitialGridStep = 0.91L;
inline constexpr long double kMinGridStep = 0.05L;
inline constexpr long double kMaxGridStep = 5;

// Intervals per side for step h: ceil(20 / h - 1e-9), so that 20 / 0.05 counts as 400 and a
// step that does not divide 20 still reaches 10 with a shorter last interval.
int GridIntervals(long double step);

// Grid coordinate i of a grid with `intervals` intervals of step h: -10 + i * h, computed
// directly so that no error accumulates, and exactly 10 at the last point.
inline long double GridCoordinate(int i, long double step, int intervals) {
    return i >= intervals ? kGridTo : kGridFrom + i * step;
}

class SurfaceMesh {
public:
    // Evaluates the formula at every grid point; `step` must lie in [kMinGridStep, kMaxGridStep].
    void Evaluate(Translator& formula, long double step);

    // The step of every interval but the last, which may be shorter.
    long double Step() const { return step_; }
    int Intervals() const { return intervals_; }
    // Points per side.
    int Side() const { return intervals_ + 1; }
    // The same coordinates along x and y: from -10 to exactly 10.
    long double X(int i) const { return coordinates_[static_cast<std::size_t>(i)]; }
    long double Y(int j) const { return coordinates_[static_cast<std::size_t>(j)]; }

    // Index of point (i, j): x index i, y index j.
    std::size_t At(int i, int j) const { return static_cast<std::size_t>(j) * Side() + i; }
    long double Z(int i, int j) const { return z_[At(i, j)]; }
    EvalStatus Status(int i, int j) const { return status_[At(i, j)]; }
    // A point with a finite value; every other point is a hole.
    bool Defined(int i, int j) const { return defined_[At(i, j)] != 0; }

    int DefinedCount() const { return definedCount_; }
    int PointCount() const { return Side() * Side(); }
    // The failure of the first failing point in grid order (Ok when none failed).
    EvalStatus FirstFailure() const { return firstFailure_; }

    // Every k-th point each way and the last one (a grid k times coarser over the same
    // square), for a quick picture while the surface is being turned.
    SurfaceMesh Coarser(int k) const;

    const std::vector<long double>& Values() const { return z_; }
    const std::vector<std::uint8_t>& DefinedFlags() const { return defined_; }

private:
    long double step_ = kInitialGridStep;
    int intervals_ = 0;
    std::vector<long double> coordinates_{kGridFrom};
    std::vector<long double> z_;
    std::vector<EvalStatus> status_;
    std::vector<std::uint8_t> defined_;
    int definedCount_ = 0;
    EvalStatus firstFailure_ = EvalStatus::Ok;
};

// The z values the box spans, and the values its z axis is labelled with.
struct ZRange {
    long double low = -0.5L, high = 0.5L;
    bool empty = true;  // no point has a value
    // The values the z axis is labelled with.
    RoundTicks ticks{-0.5L, 0.5L, 0.5L, -1, 3};
    // The smallest and the largest value of the surface: beyond the box where it cuts them.
    long double lowest = 0, highest = 0;
    bool CutBelow() const { return !empty && lowest < low; }
    bool CutAbove() const { return !empty && highest > high; }
};

// The range of the finite values without their highest and lowest 2 %, so that a pole does
// not flatten everything else; widened by a quarter toward the extremes, so that a bounded
// surface keeps its corners; labelled at round values (at most kMostZTicks steps of 1, 2 or 5
// times a power of ten), an end that lies close to one moved out to it. A constant surface
// gets a range of height 1 around its value.
inline constexpr int kMostZTicks = 5;
ZRange ZRangeOf(const SurfaceMesh& mesh);

}  // namespace kq
