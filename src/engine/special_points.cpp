#include "engine/special_points.h"

#include <algorithm>
#include <cmath>

#include "engine/math_functions.h"

namespace kq {

void SpecialPointSet::Reset() {
    rootDegree_ = 1;
    candidates_.assign(1, 1.0L);  // 0 is a candidate too, but only positive ones form ratios
    points_.clear();
    sorted_.clear();
    periodic_ = false;
}

void SpecialPointSet::AddOperand(long double value) {
    const long double magnitude = std::fabs(value);
    if (!(magnitude > 0) || !std::isfinite(magnitude) || candidates_.size() >= kCapacity) return;
    if (std::find(candidates_.begin(), candidates_.end(), magnitude) == candidates_.end())
        candidates_.push_back(magnitude);
}

void SpecialPointSet::AddPoint(long double p) {
    if (!std::isfinite(p) || points_.size() >= kCapacity) return;
    if (std::find(points_.begin(), points_.end(), p) != points_.end()) return;
    points_.push_back(p);
}

void SpecialPointSet::Build() {
    points_.clear();
    std::vector<long double> roots(candidates_.size());
    for (int d = 1; d <= rootDegree_ && points_.size() < kCapacity; ++d) {
        const long double inverse = 1.0L / d;
        for (std::size_t i = 0; i < candidates_.size(); ++i) roots[i] = std::pow(candidates_[i], inverse);
        for (std::size_t p = 0; p < roots.size() && points_.size() < kCapacity; ++p) {
            for (std::size_t q = 0; q < roots.size() && points_.size() < kCapacity; ++q) {
                const long double r = roots[p] / roots[q];
                AddPoint(r);
                AddPoint(-r);
            }
        }
        // Past the point where every root is 1 no degree can add anything new.
        if (candidates_.size() == 1) break;
    }
    sorted_.clear();
    sorted_.reserve(points_.size());
    for (std::uint32_t i = 0; i < points_.size(); ++i) sorted_.emplace_back(points_[i], i);
    std::sort(sorted_.begin(), sorted_.end());
}

std::optional<long double> SpecialPointSet::Query(long double a, long double b) const {
    // Of the points in [a, b] (adjacent in value order) the one with the lowest order wins.
    auto it = std::lower_bound(sorted_.begin(), sorted_.end(), a,
                               [](const std::pair<long double, std::uint32_t>& e, long double v) { return e.first < v; });
    std::uint32_t first = UINT32_MAX;
    for (; it != sorted_.end() && it->first <= b; ++it) first = std::min(first, it->second);
    if (first != UINT32_MAX) return points_[first];
    if (!periodic_) return std::nullopt;
    for (int j = 1; j <= 2; ++j) {
        const long double step = kPi / j;
        const long double c = b > 0 ? std::trunc(b / step) * step : std::trunc(a / step) * step;
        if (a <= c && c <= b) return c;
    }
    return std::nullopt;
}

}  // namespace kq
