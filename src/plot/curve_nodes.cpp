#include "plot/curve_nodes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "engine/special_points.h"
#include "plot/zero_search.h"

namespace kq {
namespace {

// A change of value between samples more than this many times what the larger slope there
// accounts for is looked at closely: a continuous curve whose slope is monotonic between two
// samples changes by at most once that.
constexpr long double kSuspectFactor = 4;
// The part of the size of values that matter below which the values' own size does not count
// when a jump is measured against them.
constexpr long double kFloorShare = 0x1p-10L;
// Samples between two second differences of opposite signs that all get their slopes.
constexpr std::size_t kMostFilled = 16;
// Special points looked at in one sampling interval.
constexpr std::size_t kSpecialsPerInterval = 16;

// The special points of [a, b], each once: the engine answers one per question, so the
// question is asked again either side of each answer.
void CollectSpecials(const SpecialPointSet& specials, long double a, long double b, std::vector<long double>& out,
                     int depth) {
    if (!(a <= b) || depth > 8 || out.size() >= kSpecialsPerInterval) return;
    const std::optional<long double> s = specials.Query(a, b);
    if (!s || *s < a || *s > b) return;
    out.push_back(*s);
    CollectSpecials(specials, a, Below(*s), out, depth + 1);
    CollectSpecials(specials, Above(*s), b, out, depth + 1);
}

// Where to say a hole between two defined points is: at a special point of the formula inside
// it (the pole itself, as 2 for 1/(x-2)), else in its middle.
long double HoleCentre(const SpecialPointSet& specials, long double left, long double right) {
    std::vector<long double> inside;
    CollectSpecials(specials, Above(left), Below(right), inside, 0);
    if (!inside.empty()) return *std::min_element(inside.begin(), inside.end());
    return left + (right - left) / 2;
}

// Where the largest size among the defined values is (n where none is defined), by their
// bits: sizes order as the exponent field and then the significand, which integer
// comparisons read without the x87 unit (whose running maximum passes through memory at
// every sample). Infinities and NaN are never defined values.
std::size_t LargestSize(const std::vector<long double>& values, const std::vector<char>& defined) {
    const std::size_t n = values.size();
    std::size_t best = n;
    std::uint16_t bestTop = 0;
    std::uint64_t bestSignificand = 0;
    for (std::size_t k = 0; k < n; ++k) {
        if (!defined[k]) continue;
        const LongDoubleBits bits = BitsOf(values[k]);
        const std::uint64_t significand = bits.significand;
        const std::uint16_t top = bits.top & 0x7FFF;
        if (best == n || top > bestTop || (top == bestTop && significand > bestSignificand)) {
            best = k;
            bestTop = top;
            bestSignificand = significand;
        }
    }
    return best;
}

// Which samples get their slopes computed (the others keep only the value), and between which
// the values look like a jump. Slopes are wanted about every change of direction and of
// curvature the values show, and about their jumps: there the finder looks closer.
struct Candidates {
    std::vector<char> slopes, suspect;
};

Candidates MarkCandidates(const std::vector<long double>& values, const std::vector<char>& defined, long double scale) {
    const std::size_t n = values.size();
    Candidates c{std::vector<char>(n, 0), std::vector<char>(n, 0)};
    // In double: this only chooses where to look closer, and where double cannot tell two
    // values apart it sees a turn, which looks closer still. (Values beyond double's range
    // become infinities whose differences are NaN, which look closer too.)
    std::vector<double> v(n);
    for (std::size_t k = 0; k < n; ++k) v[k] = static_cast<double>(values[k]);
    const double floor = static_cast<double>(0x1p-24L * scale);
    auto around = [&](std::size_t k) {
        for (std::size_t j = k > 0 ? k - 1 : 0; j <= k + 1 && j < n; ++j) c.slopes[j] = 1;
    };
    auto both = [&](std::size_t k) { return k + 1 < n && defined[k] && defined[k + 1]; };
    // The values cannot show a turn in the first or last interval: slopes at both ends.
    for (std::size_t k : {std::size_t{0}, n > 0 ? n - 1 : 0}) around(k);
    std::size_t lastCurved = n;  // the last sample whose second difference is above rounding
    int lastSign = 0;
    for (std::size_t k = 0; k + 1 < n; ++k) {
        if (!both(k)) continue;
        const double step = v[k + 1] - v[k];
        // A jump stands out of the changes beside it.
        double beside = -1;
        if (k > 0 && both(k - 1)) beside = std::fabs(v[k] - v[k - 1]);
        if (both(k + 1)) beside = std::max(beside, std::fabs(v[k + 2] - v[k + 1]));
        const double local = std::max({std::fabs(v[k]), std::fabs(v[k + 1]), floor});
        if (beside < 0 || !(std::fabs(step) <= kSuspectFactor * beside + 0x1p-30 * local)) {
            c.suspect[k] = 1;
            around(k);
            around(k + 1);
        }
        if (k == 0 || !both(k - 1)) continue;
        const double before = v[k] - v[k - 1];
        if (!(before > 0 && step > 0) && !(before < 0 && step < 0)) around(k);
        const double curvature = step - before;
        const double noise = 0x1p-48 * (std::fabs(v[k - 1]) + 2 * std::fabs(v[k]) + std::fabs(v[k + 1]));
        if (!(std::fabs(curvature) > noise)) continue;
        const int sign = curvature > 0 ? 1 : -1;
        if (lastSign != 0 && sign != lastSign) {
            // Slopes all the way between, so that the change of sign is between neighbours.
            if (k - lastCurved <= kMostFilled)
                for (std::size_t j = lastCurved; j <= k; ++j) around(j);
            around(lastCurved);
            around(k);
        }
        lastSign = sign;
        lastCurved = k;
    }
    return c;
}

class Sampler {
public:
    Sampler(CurveFunction& f, const SpecialPointSet& specials, std::size_t limit, SampledCurve& out)
        : f_(f), specials_(specials), limit_(limit), out_(out) {}

    // The special points of the whole sampled range at once, where there are not too many:
    // then each interval takes its own from them instead of asking the formula again.
    void KnowSpecials(long double from, long double to, std::size_t most) {
        known_ = specials_.Within(from, to, most, all_);
        next_ = 0;
    }

    // A node after the others; `sample` the grid's point it is at (-1 for none).
    void Append(const CurveNode& node, bool gapAfter, std::int32_t sample = -1) {
        auto& nodes = out_.nodes;
        // (Two samples' nodes are never at one x: no comparison of long doubles for them.)
        if (!nodes.empty() && (sample < 0 || nodes.back().sample < 0) && nodes.back().x == node.x) {
            nodes.back().gapAfter = nodes.back().gapAfter || gapAfter;
            if (sample >= 0) nodes.back().sample = sample;
            return;
        }
        nodes.push_back({node, gapAfter, false, sample});
    }

    bool Full() {
        if (out_.breaks.size() < limit_) return false;
        out_.moreBreaks = true;
        return true;
    }

    void AddBreak(long double x, const CurveNode& left, const CurveNode& right) {
        // A point alone between two jumps (sgn at 0) belongs to one break with them.
        auto& breaks = out_.breaks;
        if (!breaks.empty() && breaks.back().right.x == left.x)
            breaks.back().right = right;
        else if (Full())
            return;
        else
            breaks.push_back({x, left, right, true, true});
        Append(left, true);
        Append(right, false);
    }

    // An undefined run of samples between defined ones (or the view's edge).
    void UndefinedRun(const CurveNode* before, long double firstUndefined, long double lastUndefined,
                      const CurveNode* after, long double spacing) {
        CurveNode left, right;
        if (before) left = FindDomainEnd(f_, before->x, firstUndefined);
        if (after) right = FindDomainEnd(f_, after->x, lastUndefined);
        if (before && after && right.x - left.x < spacing) {
            AddBreak(HoleCentre(specials_, left.x, right.x), left, right);
            return;
        }
        if (before) {
            out_.ends.push_back(left);
            Append(left, true);
        }
        if (after) {
            out_.ends.push_back(right);
            Append(right, false);
        }
    }

    // Breaks between two defined samples a and b: at the special points, then where the values
    // jump (looked at where `suspect`, the values of the samples about showing a change out of
    // line with their neighbours', or where the slopes at both ends are known, which tell a
    // change they do not account for). Appends what it finds, not a itself.
    void Between(const CurveNode& a, const CurveNode& b, bool suspect) {
        std::vector<long double>& specials = inside_;
        specials.clear();
        if (known_) {
            // Between is asked in increasing x: the points left behind stay behind.
            while (next_ < all_.size() && all_[next_] < a.x) ++next_;
            for (std::size_t i = next_; i < all_.size() && all_[i] <= b.x && specials.size() < kSpecialsPerInterval; ++i)
                specials.push_back(all_[i]);
        } else {
            CollectSpecials(specials_, a.x, b.x, specials, 0);
            std::sort(specials.begin(), specials.end());
        }
        if (specials.empty()) {  // as at almost every interval: the same as below, without the copy
            if (suspect || (a.slopes && b.slopes)) Suspect(a, b);
            return;
        }
        CurveNode from = a;
        for (long double s : specials) {
            if (!(s > from.x) || !(s < b.x) || Full()) continue;
            if (!f_.Defined(s)) {
                const SearchResult hole = FindHole(f_, from.x, s, b.x);
                Suspect(from, hole.left);
                AddBreak(s, hole.left, hole.right);
                from = hole.right;
                continue;
            }
            CurveNode below, at, above;
            if (!f_.At(Below(s), below) || !f_.At(s, at) || !f_.At(Above(s), above)) continue;
            const long double scale = LocalScale(out_, a, b);
            const bool fromBelow = IsJump(below, at, scale), intoAbove = IsJump(at, above, scale);
            if (!fromBelow && !intoAbove) continue;
            const CurveNode& left = fromBelow ? below : at;
            const CurveNode& right = intoAbove ? above : at;
            Suspect(from, left);
            AddBreak(s, left, right);
            from = right;
        }
        if (suspect || from.x != a.x || (from.slopes && b.slopes)) Suspect(from, b);
    }

private:
    // A jump the values show between two points of one continuous stretch.
    void Suspect(const CurveNode& left, const CurveNode& right) {
        if (!(right.x > left.x) || Full()) return;
        // Copies only where slopes are still to be computed: this is asked at most intervals.
        auto withSlopes = [this](const CurveNode& node, CurveNode& copy) -> const CurveNode* {
            if (node.slopes) return &node;
            copy = node;
            return f_.WithSlopes(copy) ? &copy : nullptr;
        };
        CurveNode leftCopy, rightCopy;
        const CurveNode* pp = withSlopes(left, leftCopy);
        const CurveNode* qq = pp ? withSlopes(right, rightCopy) : nullptr;
        if (!qq) return;
        const CurveNode& p = *pp;
        const CurveNode& q = *qq;
        const long double change = std::fabs(q.s.value - p.s.value);
        const long double slope = std::max(std::fabs(p.s.dx), std::fabs(q.s.dx));
        const long double scale = LocalScale(out_, p, q);
        if (!(change > kSuspectFactor * slope * (q.x - p.x) + 0x1p-30L * scale)) return;
        const SearchResult r = LocateJump(f_, p, q, scale);
        if (r.outcome == SearchResult::Jump)
            AddBreak(r.right.x, r.left, r.right);
        else if (r.outcome == SearchResult::Hole)
            AddBreak(HoleCentre(specials_, r.left.x, r.right.x), r.left, r.right);
    }

    CurveFunction& f_;
    const SpecialPointSet& specials_;
    std::size_t limit_;
    SampledCurve& out_;
    std::vector<long double> all_;     // every special point of the range, when known_
    bool known_ = false;
    std::size_t next_ = 0;             // the first of all_ not behind the interval asked about
    std::vector<long double> inside_;  // those of the interval asked about
};

}  // namespace

long double LocalScale(const SampledCurve& curve, const CurveNode& a, const CurveNode& b) {
    return std::max({std::fabs(a.s.value), std::fabs(b.s.value), 0x1p-24L * curve.scale, curve.floor});
}

SampledCurve SampleCurve(CurveFunction& f, const SpecialPointSet& specials, const SamplingPlan& plan) {
    const std::vector<long double>& xs = plan.xs;
    const long double spacing = plan.spacing;
    SampledCurve out;
    out.spacing = spacing;
    out.floor = kFloorShare * plan.extent;
    const std::size_t n = xs.size();
    std::vector<long double> values;
    std::vector<char> defined;
    f.Values(xs, values, defined);
    if (const std::size_t largest = LargestSize(values, defined); largest < n) out.scale = std::fabs(values[largest]);
    const Candidates candidates = MarkCandidates(values, defined, out.scale);
    // The slopes of the samples that get them, in order, and where each sample's are (0 for
    // none): a few hundred, where a node for every sample would be a block of megabytes.
    std::vector<CurveSlopes> slopes;
    std::vector<std::uint32_t> slopesOf(n, 0);
    for (std::size_t k = 0; k < n; ++k) {
        if (!defined[k] || !candidates.slopes[k]) continue;
        CurveSlopes s;
        defined[k] = f.At(xs[k], s);
        if (!defined[k]) continue;
        slopes.push_back(s);
        slopesOf[k] = static_cast<std::uint32_t>(slopes.size());
    }
    // The node at sample k: its x and value copied as bytes (an assignment of long doubles
    // goes through the x87 registers, an 80-bit load and store for each).
    auto sample = [&](std::size_t k, CurveNode& node) {
        node = CurveNode{};
        std::memcpy(&node.x, &xs[k], sizeof(long double));
        if (slopesOf[k]) {
            node.s = slopes[slopesOf[k] - 1];
            node.slopes = true;
        } else {
            std::memcpy(&node.s.value, &values[k], sizeof(long double));
        }
    };
    // Room for what the finder adds later (subdivisions, extrema, inflections), so that its
    // passes do not move the whole list to a larger block.
    out.nodes.reserve(n + n / 4 + 64);
    Sampler sampler(f, specials, plan.limit, out);
    if (n > 0) sampler.KnowSpecials(xs.front(), xs.back(), 4 * n);
    // The nodes at k and k + 1, which take turns.
    CurveNode slots[2];
    CurveNode* here = &slots[0];
    CurveNode* next = &slots[1];
    if (n > 0 && defined[0]) sample(0, *here);
    for (std::size_t k = 0; k < n;) {
        if (!defined[k]) {
            std::size_t last = k;
            while (last + 1 < n && !defined[last + 1]) ++last;
            if (last + 1 < n) sample(last + 1, *next);
            sampler.UndefinedRun(k > 0 ? here : nullptr, xs[k], xs[last], last + 1 < n ? next : nullptr, spacing);
            std::swap(here, next);
            k = last + 1;
            continue;
        }
        sampler.Append(*here, false, static_cast<std::int32_t>(k));
        if (k + 1 < n && defined[k + 1]) {
            sample(k + 1, *next);
            sampler.Between(*here, *next, candidates.suspect[k]);
            std::swap(here, next);
        }
        ++k;
    }
    return out;
}

}  // namespace kq
