// Likely poles of a formula, found from the numbers it contains, so that a plot can sample
// exactly there and lift the pen instead of joining +∞ to −∞. Translation only collects the
// numbers; the points are worked out on the first question, which most formulas (the
// calculator's, the command line's) never ask.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "engine/math_functions.h"

namespace kq {

class SpecialPointSet {
public:
    static constexpr std::size_t kCapacity = 500;  // per store; further values are dropped

    SpecialPointSet() { Reset(); }

    // Forgets everything: root degree 1, candidate 1, no points, not periodic.
    void Reset();

    // While translating: a number read from the formula (x, y and pi read as 0).
    void AddOperand(long double value);
    // While translating: an x read from the formula raises the root degree.
    void AddXOperand() {
        ++rootDegree_;
        built_ = false;
    }
    // While translating: the formula calls a function with periodic poles.
    void SetPeriodic() { periodic_ = true; }
    // Half a turn in the formula's angle unit (π, or 180 in degrees mode): where the
    // periodic poles are looked for. Reset keeps it: the mode belongs to the formula, which
    // sets it whenever the mode changes.
    void SetHalfTurn(long double halfTurn) { halfTurn_ = halfTurn; }

    // After translating: ratios p^(1/d) / q^(1/d) of positive candidates, both signs. Asking
    // for points or a query does it when it has not been done since the last change.
    void Build() const;
    bool IsBuilt() const { return built_; }

    // The special point of [a, b]: the stored point lying there that was found first, else,
    // for a periodic formula, the multiple of half a turn and then of a quarter lying there.
    // Asking changes nothing, so the same question always gets the same answer.
    std::optional<long double> Query(long double a, long double b) const;
    // Every point that Query finds in [a, b] when asked again either side of each answer, in
    // increasing order and each once: the stored points there and, for a periodic formula, the
    // multiples of half and of a quarter turn. False, with `out` unspecified, where there are
    // more than `limit`.
    bool Within(long double a, long double b, std::size_t limit, std::vector<long double>& out) const;

    const std::vector<long double>& Points() const {
        if (!built_) Build();
        return points_;
    }
    bool Periodic() const { return periodic_; }
    int RootDegree() const { return rootDegree_; }

private:
    // Where each value of a store sits, found in constant time, so that building stays linear
    // in what it adds however many values are already there.
    class ValueIndex {
    public:
        // Forgets every value at once: entries of an older generation count as free.
        void Clear();
        // False when `v` is already among `store`; else true, and `v` is known to be store[at].
        bool Insert(const std::vector<long double>& store, long double v, std::size_t at);

    private:
        std::array<std::uint32_t, 1024> slots_{};  // generation << 16 | (1 + the index in the store)
        std::uint32_t generation_ = 0;
    };
    static_assert(2 * kCapacity <= 1024, "the index must stay at most half full");

    void AddPoint(long double p) const;

    int rootDegree_ = 1;
    std::vector<long double> candidates_;  // the positive ones, each once
    ValueIndex candidateIndex_;
    // Worked out from the above when first asked for (so a const set may fill them in: like
    // every other call on a formula, not from two threads at once).
    mutable std::vector<long double> points_;  // in the order found
    mutable ValueIndex pointIndex_;
    mutable std::vector<std::pair<long double, std::uint32_t>> sorted_;  // points by value, with their order
    mutable bool built_ = false;
    bool periodic_ = false;
    long double halfTurn_ = kPi;
};

}  // namespace kq
