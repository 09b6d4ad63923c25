#include "plot/curve_analysis.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "plot/zero_search.h"

namespace kq {
namespace {

// An extremum whose value is this small a part of its neighbours' is a zero the curve
// touches: rounding keeps the computed minimum of sin(x)^2 at pi just off 0.
constexpr long double kTouchingShare = 0x1p-50L;
// How deep one sampling interval is halved at most where the curve turns too often.
constexpr int kMostHalvings = 40;
// Halvings in a row toward one end of a steady stretch after which it is taken for a pole.
constexpr int kMostChased = 8;
// How often a search that ran into a break looks again either side of it.
constexpr int kMostResearches = 3;

class Analysis {
public:
    Analysis(CurveFunction& f, SampledCurve& curve, const AnalysisOptions& options)
        : f_(f), curve_(curve), options_(options) {}

    void Pass(Order order) {
        order_ = order;
        inserts_.clear();
        auto& nodes = curve_.nodes;
        for (std::size_t i = 0; i < nodes.size();) {
            std::size_t j = i;
            while (j + 1 < nodes.size() && !nodes[j].gapAfter) ++j;
            Run(i, j);
            i = j + 1;
        }
        Merge();
    }

    // Makes the nodes with slopes dense enough that between neighbours the curve turns at
    // most once: an interval whose ends disagree with a single turn is halved, again and again.
    void Resolve() {
        inserts_.clear();
        auto& nodes = curve_.nodes;
        bool unresolved = false;
        for (std::size_t i = 0; i + 1 < nodes.size(); ++i) {
            if (nodes[i].gapAfter || !nodes[i].slopes || !nodes[i + 1].slopes) continue;
            unresolved = Halve(nodes[i], nodes[i + 1], 0) || unresolved;
        }
        if (unresolved)
            for (EventKind kind : {EventKind::Root, EventKind::Min, EventKind::Max, EventKind::Inflection})
                events.more[static_cast<std::size_t>(kind)] = true;
        order_ = Order::Slope;  // the nodes added have their slopes
        Merge();
    }

    CurveEvents events;

private:
    // Whether the curve may turn more often between a and b than the nodes can tell: the
    // cubic through their values and slopes bends at either end quite otherwise than the
    // curve's exact second derivative says, by enough to change the slope noticeably (near a
    // straight stretch rounding alone makes the cubic's bend differ).
    static bool Unresolved(const CurveNode& a, const CurveNode& b) {
        if (!Known(a.s, Order::Curvature) || !Known(b.s, Order::Curvature)) return false;
        const long double w = b.x - a.x, secant = (b.s.value - a.s.value) / w;
        const long double bendA = (6 * secant - 4 * a.s.dx - 2 * b.s.dx) / w;
        const long double bendB = (-6 * secant + 2 * a.s.dx + 4 * b.s.dx) / w;
        const long double bend = std::max(std::fabs(a.s.dxx), std::fabs(b.s.dxx));
        const long double slope = std::max(std::fabs(a.s.dx), std::fabs(b.s.dx));
        const long double miss = std::max(std::fabs(bendA - a.s.dxx), std::fabs(bendB - b.s.dxx));
        return miss > bend / 2 && miss * w > slope / 4;
    }

    // Whether the curve keeps its direction and its bend from a through b: the slope and the
    // second derivative of one sign at all three.
    static bool Steady(const CurveNode& a, const CurveNode& m, const CurveNode& b) {
        for (Order order : {Order::Slope, Order::Curvature}) {
            const int s = SignOf(a.s, order);
            if (s == 0 || SignOf(m.s, order) != s || SignOf(b.s, order) != s) return false;
        }
        return true;
    }

    // True where the budget ran out before the curve was told apart. `chase` counts the
    // halvings just before that left only the half at one end unresolved (> 0 at b, < 0 at
    // a) while the curve kept steady: a curve that does so again and again is running into a
    // pole at that end (1/u is no cubic at any scale next to u = 0), not hiding turns, and
    // the halving stops there instead of following it down to the last bits.
    bool Halve(const CurveNode& a, const CurveNode& b, int depth, int chase = 0) {
        if (!Unresolved(a, b)) return false;
        const long double m = SplitPoint(a.x, b.x);
        if (m == a.x || depth >= kMostHalvings) return false;
        if (spent_ >= options_.resolveBudget) return true;
        ++spent_;
        CurveNode middle;
        if (!f_.At(m, middle)) return false;  // a hole: left to the searches, which cut there
        const bool leftOpen = Unresolved(a, middle), rightOpen = Unresolved(middle, b);
        int next = 0;
        if (leftOpen != rightOpen && Steady(a, middle, b))
            next = rightOpen ? std::max(chase, 0) + 1 : std::min(chase, 0) - 1;
        const bool chased = std::abs(next) > kMostChased;
        // The nodes added in x order, so that they join the curve's without a sort.
        const bool left = leftOpen && !chased && Halve(a, middle, depth + 1, next);
        inserts_.push_back({middle, false, false});
        return (rightOpen && !chased && Halve(middle, b, depth + 1, next)) || left;
    }

    EventKind KindOf(int before, int after) const {
        switch (order_) {
            case Order::Value: return EventKind::Root;
            case Order::Slope: return before < 0 && after > 0 ? EventKind::Min : EventKind::Max;
            case Order::Curvature: return EventKind::Inflection;
        }
        return EventKind::Root;
    }

    bool Reported(EventKind kind) const {
        return (kind != EventKind::Min && kind != EventKind::Max) || options_.extrema;
    }

    // Whether a point of `kind` is still wanted: past the limit the list only says there is more.
    bool Wanted(EventKind kind) {
        if (!Reported(kind)) return true;  // found for the passes after, never listed
        auto k = static_cast<std::size_t>(kind);
        if (events.found[k].size() < options_.limit) return true;
        events.more[k] = true;
        return false;
    }

    void Record(EventKind kind, const CurveNode& at, bool insert) {
        if (!Wanted(kind)) return;
        if (Reported(kind)) events.found[static_cast<std::size_t>(kind)].push_back(at);
        // The roots' pass is the last: what it finds is listed, and no later pass needs it
        // among the nodes (merging it in would move every node after the first root).
        if (insert && order_ != Order::Value) inserts_.push_back({at, false, order_ == Order::Slope});
    }

    // Whether the pass knows the quantity at node i: the value always, the slopes where computed.
    bool Evaluated(std::size_t i) const { return order_ == Order::Value || curve_.nodes[i].slopes; }
    int Sign(std::size_t i) const { return SignOf(curve_.nodes[i].s, order_); }
    bool IsZero(std::size_t i) const {
        const CurveSlopes& s = curve_.nodes[i].s;
        return Evaluated(i) && Known(s, order_) && QuantityOf(s, order_) == 0;
    }
    bool IsKink(std::size_t i) const { return Evaluated(i) && !Known(curve_.nodes[i].s, order_); }

    void Run(std::size_t first, std::size_t last) {
        auto& nodes = curve_.nodes;
        std::size_t signedBefore = last + 1;  // none yet
        for (std::size_t q = first; q <= last; ++q) {
            if (!Evaluated(q)) continue;
            const int s = Sign(q);
            if (s == 0) continue;
            if (order_ == Order::Value && nodes[q].extremum) Touching(first, q, last);
            if (signedBefore > last) {
                // Zeros from the start of the stretch: a root where they end.
                if (order_ == Order::Value)
                    if (const std::size_t z = LastZero(first, q); z < q)
                        Record(EventKind::Root, FindZeroRunEnd(f_, nodes[z], nodes[q], order_), false);
            } else {
                Bracket(signedBefore, q);
            }
            signedBefore = q;
        }
        if (order_ == Order::Value && signedBefore <= last)
            if (const std::size_t z = FirstZero(signedBefore + 1, last + 1); z <= last)
                Record(EventKind::Root, FindZeroRunEnd(f_, nodes[z], nodes[signedBefore], order_), false);
    }

    // Whether a run of zeros from `left` to `right` is too narrow to be more than one point:
    // narrower than the sampling, far below what any view shows.
    bool Narrow(const CurveNode& left, const CurveNode& right) const { return right.x - left.x < curve_.spacing; }

    // The first zero node in [from, to), or `to`.
    std::size_t FirstZero(std::size_t from, std::size_t to) const {
        for (std::size_t i = from; i < to; ++i)
            if (IsZero(i)) return i;
        return to;
    }
    // The last zero node in [from, to), or `to`.
    std::size_t LastZero(std::size_t from, std::size_t to) const {
        for (std::size_t i = to; i > from; --i)
            if (IsZero(i - 1)) return i - 1;
        return to;
    }

    // Between two nodes with signs, everything between them without one.
    void Bracket(std::size_t p, std::size_t q) {
        auto& nodes = curve_.nodes;
        const int sp = Sign(p), sq = Sign(q);
        const EventKind kind = KindOf(sp, sq);
        const std::size_t zero = FirstZero(p + 1, q);
        if (zero < q) {
            // Exact zeros: a root whatever the signs about it, an extremum or inflection where
            // the signs change; a stretch of them (a flat extremum) is named at both its ends.
            if (order_ != Order::Value && sp == sq) return;
            const std::size_t lastZero = LastZero(p + 1, q);
            if (zero == lastZero && q == p + 2) {
                // A zero between neighbours off zero: one point (rounding may make it a run
                // far narrower than the nodes' spacing, which is all the same point).
                if (order_ == Order::Slope) nodes[zero].extremum = true;
                Record(kind, nodes[zero], false);
                return;
            }
            const CurveNode left = FindZeroRunEnd(f_, nodes[zero], nodes[p], order_);
            const CurveNode right = FindZeroRunEnd(f_, nodes[lastZero], nodes[q], order_);
            if (order_ == Order::Slope)
                for (std::size_t i = zero; i <= lastZero; ++i) nodes[i].extremum = true;
            if (Narrow(left, right)) {
                // Rounding makes a single zero a run (cos(x) is 1 for every |x| below 2e-10,
                // so cos(x)-sec(x) is 0 there): one point, the node itself where there is
                // one, else the run's middle.
                CurveNode middle = nodes[zero];
                if (zero != lastZero && !f_.At(left.x + (right.x - left.x) / 2, middle)) middle = left;
                Record(kind, middle, false);
                return;
            }
            Record(kind, left, left.x != nodes[zero].x);
            Record(kind, right, right.x != nodes[lastZero].x);
            return;
        }
        if (sp == sq) return;
        std::size_t firstKink = q, lastKink = q;
        bool skipped = false;  // nodes between without the quantity
        for (std::size_t i = p + 1; i < q; ++i) {
            skipped = skipped || !Evaluated(i);
            if (IsKink(i)) {
                if (firstKink == q) firstKink = i;
                lastKink = i;
            }
        }
        if (firstKink == q) {
            // Slopes are computed about every change of direction and curvature the values
            // show, so a change of sign between slopes further apart is one of those, seen
            // closer by nodes of its own.
            if (skipped || !Wanted(kind)) return;
            Search(nodes[p], nodes[q], 0,
                   q == p + 1 ? Guess(p, q) : std::numeric_limits<long double>::quiet_NaN());
            return;
        }
        // Only nodes where the quantity has no meaning (the slope of a kink): the change of
        // sign happens at the kink.
        const std::size_t kink = firstKink + (lastKink - firstKink) / 2;
        if (order_ == Order::Slope) nodes[kink].extremum = true;
        Record(kind, nodes[kink], false);
    }

    // A first guess for a root between neighbouring nodes p and q = p + 1: the inverse
    // interpolation through the values of up to two nodes either side in the same stretch,
    // which is closer than the secant by orders, so that Newton's method needs a step or two.
    long double Guess(std::size_t p, std::size_t q) const {
        const auto& nodes = curve_.nodes;
        std::size_t from = p, to = q;
        if (from > 0 && !nodes[from - 1].gapAfter && Evaluated(from - 1)) --from;
        if (to + 1 < nodes.size() && !nodes[to].gapAfter && Evaluated(to + 1)) ++to;
        long double xs[4], ys[4];
        int count = 0;
        for (std::size_t i = from; i <= to; ++i, ++count) {
            xs[count] = nodes[i].x;
            ys[count] = QuantityOf(nodes[i].s, order_);
        }
        // Where the quantity turns about the bracket, fewer points: those on its side.
        const int at = static_cast<int>(p - from);
        long double guess = InverseInterpolation(xs, ys, count);
        if (std::isnan(guess) && at > 0) guess = InverseInterpolation(xs, ys, at + 2);
        if (std::isnan(guess) && at + 2 < count) guess = InverseInterpolation(xs + at, ys + at, count - at);
        return guess;
    }

    void Search(const CurveNode& a, const CurveNode& b, int depth,
                long double guess = std::numeric_limits<long double>::quiet_NaN()) {
        const int sa = SignOf(a.s, order_), sb = SignOf(b.s, order_);
        const SearchResult r = FindZero(f_, a, b, order_, LocalScale(curve_, a, b), guess);
        switch (r.outcome) {
            case SearchResult::Zero: Record(KindOf(sa, sb), r.at, true); return;
            case SearchResult::None: return;
            case SearchResult::Hole:
            case SearchResult::Jump: break;
        }
        // A break the sampling did not see: the curve is cut there and each side looked at.
        const long double x = r.outcome == SearchResult::Jump ? r.right.x : r.left.x + (r.right.x - r.left.x) / 2;
        if (curve_.breaks.size() < options_.limit)
            curve_.breaks.push_back({x, r.left, r.right, true, true});
        else
            curve_.moreBreaks = true;
        inserts_.push_back({r.left, true, false});
        inserts_.push_back({r.right, false, false});
        if (depth >= kMostResearches) return;
        if (r.left.x > a.x && SignOf(r.left.s, order_) == -sa) Search(a, r.left, depth + 1);
        if (r.right.x < b.x && SignOf(r.right.s, order_) == -sb) Search(r.right, b, depth + 1);
    }

    // A value extremum just off 0 between neighbours of its own sign: the curve touches 0.
    void Touching(std::size_t first, std::size_t e, std::size_t last) {
        if (e == first || e == last) return;
        const auto& nodes = curve_.nodes;
        const long double v = nodes[e].s.value, before = nodes[e - 1].s.value,
                          after = nodes[e + 1].s.value;
        if ((before > 0) != (v > 0) || (after > 0) != (v > 0) || before == 0 || after == 0) return;
        if (std::fabs(v) <= kTouchingShare * std::max(std::fabs(before), std::fabs(after)))
            Record(EventKind::Root, nodes[e], false);
    }

    // The nodes found in this pass join the curve's, in x order; one x stays one node. In
    // place from the back: the few found move only the nodes after the first of them, and the
    // curve's thousands are not copied into a new list each pass.
    void Merge() {
        if (inserts_.empty()) return;
        auto before = [](const SampledNode& a, const SampledNode& b) { return a.x < b.x; };
        // Found left to right, as they mostly are: sorting would only move them about.
        if (!std::is_sorted(inserts_.begin(), inserts_.end(), before))
            std::stable_sort(inserts_.begin(), inserts_.end(), before);
        // One x once among the inserts too, their flags joined.
        std::size_t kept = 0;
        for (std::size_t k = 0; k < inserts_.size(); ++k) {
            if (kept > 0 && inserts_[kept - 1].x == inserts_[k].x) {
                Join(inserts_[kept - 1], inserts_[k]);
                continue;
            }
            inserts_[kept++] = inserts_[k];
        }
        inserts_.resize(kept);
        auto& nodes = curve_.nodes;
        // Inserts at the x of a node join it where it stands; the others take new places.
        kept = 0;
        auto from = nodes.begin();
        for (const SampledNode& n : inserts_) {
            from = std::lower_bound(from, nodes.end(), n, before);
            if (from != nodes.end() && from->x == n.x)
                Join(*from, n);
            else
                inserts_[kept++] = n;
        }
        inserts_.resize(kept);
        const std::vector<SampledNode>& fresh = inserts_;
        if (fresh.empty()) return;
        // From the back: each insert's place found by bisection, the nodes after it moved up
        // as one block (the few found move only the nodes after the first of them).
        std::size_t end = nodes.size();
        nodes.resize(nodes.size() + fresh.size());
        for (std::size_t k = fresh.size(); k > 0; --k) {
            const SampledNode& n = fresh[k - 1];
            const std::size_t at = static_cast<std::size_t>(
                std::upper_bound(nodes.begin(), nodes.begin() + static_cast<std::ptrdiff_t>(end), n, before) -
                nodes.begin());
            std::move_backward(nodes.begin() + static_cast<std::ptrdiff_t>(at),
                               nodes.begin() + static_cast<std::ptrdiff_t>(end),
                               nodes.begin() + static_cast<std::ptrdiff_t>(end + k));
            nodes[at + k - 1] = n;
            end = at;
        }
    }

    static void Join(SampledNode& into, const SampledNode& other) {
        into.gapAfter = into.gapAfter || other.gapAfter;
        into.extremum = into.extremum || other.extremum;
        into.sample = std::max(into.sample, other.sample);
    }

    CurveFunction& f_;
    SampledCurve& curve_;
    const AnalysisOptions& options_;
    Order order_ = Order::Value;
    std::vector<SampledNode> inserts_;
    std::size_t spent_ = 0;  // evaluations the subdivision has made
};

}  // namespace

CurveEvents AnalyseCurve(CurveFunction& f, SampledCurve& curve, const AnalysisOptions& options) {
    Analysis analysis(f, curve, options);
    if (options.resolveBudget > 0) analysis.Resolve();
    if (options.inflections) analysis.Pass(Order::Curvature);
    analysis.Pass(Order::Slope);
    analysis.Pass(Order::Value);  // last: its roots are not added to the nodes
    for (auto& list : analysis.events.found)
        std::sort(list.begin(), list.end(), [](const CurveNode& a, const CurveNode& b) { return a.x < b.x; });
    return std::move(analysis.events);
}

}  // namespace kq
