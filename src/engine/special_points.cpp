#include "engine/special_points.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "engine/math_functions.h"

namespace kq {
namespace {

// c^(1/d) by powl, remembered: powl is slow, and the same numbers come back with every
// translation of a formula being typed. One table per thread, so no lock is needed.
long double RootOf(long double c, int d) {
    struct Entry {
        long double c, root;
        int d;
    };
    thread_local Entry cache[256] = {};
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(static_cast<double>(c));
    Entry& e = cache[((bits ^ static_cast<std::uint64_t>(d)) * 0x9E3779B97F4A7C15u) >> 56];
    if (e.d != d || e.c != c) e = {c, std::pow(c, 1.0L / d), d};
    return e.root;
}

}  // namespace

void SpecialPointSet::ValueIndex::Clear() {
    if (++generation_ == 0x10000) {
        slots_.fill(0);
        generation_ = 1;
    }
}

bool SpecialPointSet::ValueIndex::Insert(const std::vector<long double>& store, long double v, std::size_t at) {
    // Hashed by the nearest double: equal values hash alike, and a double's bits come out of
    // the x87 unit far faster than the 80 of a long double.
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(static_cast<double>(v));
    std::size_t h = static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15u) >> 54);
    for (;; h = (h + 1) % slots_.size()) {
        if (slots_[h] >> 16 != generation_) {
            slots_[h] = generation_ << 16 | static_cast<std::uint32_t>(at + 1);
            return true;
        }
        if (store[(slots_[h] & 0xFFFF) - 1] == v) return false;
    }
}

void SpecialPointSet::Reset() {
    rootDegree_ = 1;
    candidates_.assign(1, 1.0L);  // 0 is a candidate too, but only positive ones form ratios
    candidateIndex_.Clear();
    candidateIndex_.Insert(candidates_, 1.0L, 0);
    points_.clear();
    pointIndex_.Clear();
    sorted_.clear();
    built_ = false;
    periodic_ = false;
}

void SpecialPointSet::AddOperand(long double value) {
    built_ = false;
    const long double magnitude = std::fabs(value);
    if (!(magnitude > 0) || !std::isfinite(magnitude) || candidates_.size() >= kCapacity) return;
    if (candidateIndex_.Insert(candidates_, magnitude, candidates_.size())) candidates_.push_back(magnitude);
}

void SpecialPointSet::AddPoint(long double p) const {
    if (!std::isfinite(p) || points_.size() >= kCapacity) return;
    if (pointIndex_.Insert(points_, p, points_.size())) points_.push_back(p);
}

void SpecialPointSet::Build() const {
    built_ = true;
    points_.clear();
    pointIndex_.Clear();
    std::vector<long double> roots(candidates_.size());
    for (int d = 1; d <= rootDegree_ && points_.size() < kCapacity; ++d) {
        // The first root is the value itself and any root of 1 is 1: powl gives exactly these.
        for (std::size_t i = 0; i < candidates_.size(); ++i)
            roots[i] = d == 1 || candidates_[i] == 1 ? candidates_[i] : RootOf(candidates_[i], d);
        for (std::size_t p = 0; p < roots.size() && points_.size() < kCapacity; ++p) {
            for (std::size_t q = 0; q < roots.size() && points_.size() < kCapacity; ++q) {
                if (p == q && p > 0) continue;  // 1 and -1 again, there from the first pair on
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
    if (!built_) Build();
    // Of the points in [a, b] (adjacent in value order) the one with the lowest order wins.
    auto it =
        std::lower_bound(sorted_.begin(), sorted_.end(), a,
                         [](const std::pair<long double, std::uint32_t>& e, long double v) { return e.first < v; });
    std::uint32_t first = UINT32_MAX;
    for (; it != sorted_.end() && it->first <= b; ++it) first = std::min(first, it->second);
    if (first != UINT32_MAX) return points_[first];
    if (!periodic_) return std::nullopt;
    for (int j = 1; j <= 2; ++j) {
        const long double step = halfTurn_ / j;
        const long double c = b > 0 ? TowardZero(b / step) * step : TowardZero(a / step) * step;
        if (a <= c && c <= b) return c;
    }
    return std::nullopt;
}

bool SpecialPointSet::Within(long double a, long double b, std::size_t limit, std::vector<long double>& out) const {
    if (!built_) Build();
    out.clear();
    if (!(a <= b)) return true;
    auto it =
        std::lower_bound(sorted_.begin(), sorted_.end(), a,
                         [](const std::pair<long double, std::uint32_t>& e, long double v) { return e.first < v; });
    for (; it != sorted_.end() && it->first <= b; ++it) {
        if (out.size() >= limit) return false;
        out.push_back(it->first);
    }
    if (periodic_) {
        // The multiples n * step that Query computes, for every n whose product lies inside.
        for (int j = 1; j <= 2; ++j) {
            const long double step = halfTurn_ / j;
            const long double first = std::ceil(a / step), last = std::floor(b / step);
            const long double span = last - first;
            if (!(span < static_cast<long double>(limit) + 2)) return false;
            // Counted by an integer: far out, where n + 1 rounds back to n, a step in n would
            // never end the loop; there the neighbours only repeat and are merged below.
            const long long steps = static_cast<long long>(span) + 2;
            for (long long k = 0; k <= steps; ++k) {
                const long double n = first - 1 + static_cast<long double>(k);
                // Zero with the sign Query gives it: counted from b where b > 0, else from a.
                const long double c = n != 0 ? n * step : (b > 0 ? 0.0L : std::copysign(0.0L, a));
                if (!(a <= c && c <= b)) continue;
                if (out.size() >= 2 * limit) return false;
                out.push_back(c);
            }
        }
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        if (out.size() > limit) return false;
    }
    return true;
}

}  // namespace kq
