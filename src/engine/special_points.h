// Likely poles of a formula, found from the numbers it contains, so that a plot can sample
// exactly there and lift the pen instead of joining +∞ to −∞.
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
    void AddXOperand() { ++rootDegree_; }
    // While translating: the formula calls a function with periodic poles.
    void SetPeriodic() { periodic_ = true; }
    // Half a turn in the formula's angle unit (π, or 180 in degrees mode): where the
    // periodic poles are looked for. Reset keeps it: the mode belongs to the formula, which
    // sets it whenever the mode changes.
    void SetHalfTurn(long double halfTurn) { halfTurn_ = halfTurn; }

    // After translating: ratios p^(1/d) / q^(1/d) of positive candidates, both signs.
    void Build();

    // The special point of [a, b]: the stored point lying there that was found first, else,
    // for a periodic formula, the multiple of half a turn and then of a quarter lying there.
    // Asking changes nothing, so the same question always gets the same answer.
    std::optional<long double> Query(long double a, long double b) const;

    const std::vector<long double>& Points() const { return points_; }
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

    void AddPoint(long double p);

    int rootDegree_ = 1;
    std::vector<long double> candidates_;  // the positive ones, each once
    std::vector<long double> points_;      // in the order found
    ValueIndex candidateIndex_, pointIndex_;
    std::vector<std::pair<long double, std::uint32_t>> sorted_;  // points by value, with their order
    bool periodic_ = false;
    long double halfTurn_ = kPi;
};

}  // namespace kq
