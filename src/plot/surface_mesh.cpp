#include "plot/surface_mesh.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

#include "engine/translator.h"

namespace kq {

int GridIntervals(long double step) { return static_cast<int>(std::ceil((kGridTo - kGridFrom) / step - 1e-9L)); }

void SurfaceMesh::Evaluate(Translator& formula, long double step) {
    step_ = step;
    intervals_ = GridIntervals(step);
    const int side = Side();
    coordinates_.resize(side);
    for (int i = 0; i < side; ++i) coordinates_[i] = GridCoordinate(i, step, intervals_);
    const std::size_t count = static_cast<std::size_t>(side) * side;
    z_.assign(count, 0);
    status_.assign(count, EvalStatus::Ok);
    defined_.assign(count, 0);
    definedCount_ = 0;
    firstFailure_ = EvalStatus::Ok;
    // A row of the grid at a time: the formula runs its own loop over the x values.
    for (int j = 0; j < side; ++j) {
        const std::size_t row = At(0, j);
        formula.TryValues(coordinates_, Y(j), std::span(z_).subspan(row, side), std::span(status_).subspan(row, side));
        for (std::size_t k = row; k < row + static_cast<std::size_t>(side); ++k) {
            if (status_[k] != EvalStatus::Ok) {
                z_[k] = 0;
                if (firstFailure_ == EvalStatus::Ok) firstFailure_ = status_[k];
            } else if (std::isfinite(z_[k])) {
                defined_[k] = 1;
                ++definedCount_;
            }
        }
    }
}

SurfaceMesh SurfaceMesh::Coarser(int k) const {
    SurfaceMesh c;
    k = std::max(k, 1);
    c.step_ = step_ * k;
    c.intervals_ = (intervals_ + k - 1) / k;
    const int side = c.Side();
    // Point i of the coarser grid is point i * k of this one, and its last point this one's.
    const auto source = [&](int i) { return std::min(i * k, intervals_); };
    c.coordinates_.resize(side);
    for (int i = 0; i < side; ++i) c.coordinates_[i] = coordinates_[source(i)];
    const std::size_t count = static_cast<std::size_t>(side) * side;
    c.z_.resize(count);
    c.status_.resize(count);
    c.defined_.resize(count);
    for (int j = 0; j < side; ++j) {
        for (int i = 0; i < side; ++i) {
            const std::size_t from = At(source(i), source(j)), to = c.At(i, j);
            c.z_[to] = z_[from];
            c.status_[to] = status_[from];
            c.defined_[to] = defined_[from];
            c.definedCount_ += defined_[from];
            if (c.firstFailure_ == EvalStatus::Ok) c.firstFailure_ = status_[from];
        }
    }
    return c;
}

ZRange ZRangeOf(const SurfaceMesh& mesh) {
    std::vector<long double> values;
    values.reserve(mesh.DefinedCount());
    const auto& z = mesh.Values();
    const auto& defined = mesh.DefinedFlags();
    for (std::size_t k = 0; k < z.size(); ++k)
        if (defined[k]) values.push_back(z[k]);
    ZRange range;
    if (values.empty()) return range;
    range.empty = false;

    const std::size_t n = values.size();
    const std::size_t cut = n / 50;  // 2 % at each end
    const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
    const long double min = *lowest, max = *highest;
    std::nth_element(values.begin(), values.begin() + cut, values.end());
    const long double low = values[cut];
    std::nth_element(values.begin(), values.begin() + (n - 1 - cut), values.end());
    const long double high = values[n - 1 - cut];

    // Half the span would overflow where the full one does not.
    const long double margin = (high / 2 - low / 2) / 2;
    range.low = std::max(min, low - margin);
    range.high = std::min(max, high + margin);
    const long double middle = range.low / 2 + range.high / 2;
    const long double tiny = 64 * std::numeric_limits<long double>::epsilon() * std::max(1.0L, std::fabs(middle));
    if (!(range.high / 2 - range.low / 2 > tiny)) {
        // Height 1, or as little more as the type can tell apart from the value.
        const long double half = std::max(0.5L, tiny);
        range.low = middle - half;
        range.high = middle + half;
    }
    range.ticks = RoundTicksFor(range.low, range.high, kMostZTicks);
    range.low = range.ticks.low;
    range.high = range.ticks.high;
    range.lowest = min;
    range.highest = max;
    return range;
}

}  // namespace kq
