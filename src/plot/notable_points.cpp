#include "plot/notable_points.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <utility>

#include "plot/curve_analysis.h"
#include "plot/curve_nodes.h"
#include "plot/parallel_runs.h"

namespace kq {
namespace {

std::vector<long double> SampleXs(long double lo, long double hi, int count) {
    std::vector<long double> xs(static_cast<std::size_t>(count) + 1);
    const long double width = hi - lo;
    for (int k = 0; k < count; ++k) xs[k] = lo + width * k / count;
    xs[count] = hi;
    return xs;
}

// How many sampling intervals the crossing search passes over at once where two curves stay
// well apart.
constexpr std::size_t kBlock = 32;

struct RoughRange {
    double lo = 0, hi = 0;
    bool continuous = false;
};

// Whether curve a stays above curve b (side 1; below for -1) over a block by more than either
// moves in it, so far that neither a change of sides nor an extremum of the difference near 0
// can be among its samples. A gap g > spread keeps the parabola through three neighbouring
// differences off 0: its turn is at most a quarter of the spread from the middle one, which is
// at least g.
bool ApartOver(const RoughRange& a, const RoughRange& b, int side) {
    if (!a.continuous || !b.continuous || side == 0) return false;
    const double gap = side > 0 ? a.lo - b.hi : b.lo - a.hi;
    const double spread = (a.hi - a.lo) + (b.hi - b.lo);
    const double size = std::max(std::fabs(a.lo), std::fabs(a.hi)) + std::max(std::fabs(b.lo), std::fabs(b.hi));
    return gap > 2 * spread && gap > 0x1p-30 * size;
}

// What one curve contributes, before the |y| mode and the limits, and where on the sampling
// grid it is: the node at each sample (none where it is undefined), and the intervals across
// which it is not continuous.
struct CurveResult {
    SampledCurve sampled;
    CurveEvents events;
    std::vector<const CurveNode*> atSample;
    std::vector<long double> valueAt;  // the value at each sample that is a node
    std::vector<double> roughAt;       // the same in double, for quick comparisons
    // 1 where sample k is a node and the curve is continuous from it to sample k + 1.
    std::vector<char> onToNext;
    std::vector<char> cutAfter;  // cutAfter[k]: not continuous from sample k to k + 1
    // Per block of kBlock sampling intervals, the range of the rough values over the block's
    // samples and one either side, where the curve is continuous through all of them.
    std::vector<RoughRange> blocks;
    // Its own points in the |y| mode as drawn, sorted and limited, and the limits that cut them.
    std::vector<NotablePoint> points;
    std::vector<PointLimit> more;
};

// Builds the blocks' ranges of a curve placed on the grid.
void SummariseBlocks(CurveResult& r) {
    const std::size_t n = r.roughAt.size();
    r.blocks.assign(n / kBlock + 1, RoughRange{});
    for (std::size_t b = 0; b < r.blocks.size(); ++b) {
        const std::size_t from = b * kBlock > 0 ? b * kBlock - 1 : 0;
        const std::size_t to = std::min(n, (b + 1) * kBlock + 1);
        if (from >= to) continue;
        RoughRange& range = r.blocks[b];
        range.continuous = true;
        range.lo = range.hi = r.roughAt[from];
        for (std::size_t k = from; k < to; ++k) {
            if (k + 1 < to && !r.onToNext[k]) range.continuous = false;
            if (!r.atSample[k]) range.continuous = false;
            range.lo = std::min(range.lo, r.roughAt[k]);
            range.hi = std::max(range.hi, r.roughAt[k]);
        }
        // Values past double's range, or NaN, leave the block to the sample by sample look.
        if (!std::isfinite(range.lo) || !std::isfinite(range.hi)) range.continuous = false;
    }
}

void PlaceOnGrid(CurveResult& r, const std::vector<long double>& xs) {
    const auto& nodes = r.sampled.nodes;
    const std::size_t n = xs.size();
    r.atSample.assign(n, nullptr);
    r.cutAfter.assign(n, 1);
    r.valueAt.assign(n, 0);
    r.roughAt.assign(n, 0);
    r.onToNext.assign(n, 0);
    // One walk along the nodes, which know the samples they are at: those from one sample's
    // node to the next one's tell whether the curve is continuous between (no gap after any).
    std::size_t last = n;  // the sample of the last node at one
    bool gap = false;
    for (const SampledNode& node : nodes) {
        if (node.sample >= 0) {
            const auto k = static_cast<std::size_t>(node.sample);
            if (last + 1 == k) r.cutAfter[last] = gap;
            r.atSample[k] = &node;
            std::memcpy(&r.valueAt[k], &node.s.value, sizeof(long double));
            r.roughAt[k] = static_cast<double>(node.s.value);
            last = k;
            gap = false;
        }
        gap = gap || node.gapAfter;
    }
    for (std::size_t k = 0; k + 1 < n; ++k) r.onToNext[k] = r.atSample[k] && r.atSample[k + 1] && !r.cutAfter[k];
    SummariseBlocks(r);
}

// The nodes of f - g where the curves may meet, on the sampling grid: about every change of
// sign of the difference, every exact zero and every extremum of it that comes close to 0 (two
// crossings inside one sampling interval hide behind one), where both curves are continuous;
// a gap wherever either is not, or nothing is kept.
SampledCurve DifferenceNodes(CurveFunction& difference, const CurveResult& a, const CurveResult& b,
                             const std::vector<long double>& xs) {
    const std::size_t n = xs.size();
    const long double* va = a.valueAt.data();
    const long double* vb = b.valueAt.data();
    const double* ra = a.roughAt.data();
    const double* rb = b.roughAt.data();
    auto covered = [&](std::size_t k) { return a.atSample[k] && b.atSample[k]; };
    auto together = [&](std::size_t k) { return a.onToNext[k] && b.onToNext[k]; };
    auto g = [&](std::size_t k) { return va[k] - vb[k]; };
    // Which curve is above at k, d being ra[k] - rb[k]: told in double where that is clear,
    // else in full.
    auto side = [&](std::size_t k, double d) {
        if (std::fabs(d) > 0x1p-40 * (std::fabs(ra[k]) + std::fabs(rb[k]))) return d > 0 ? 1 : -1;
        return va[k] > vb[k] ? 1 : (va[k] < vb[k] ? -1 : 0);
    };
    // 1: keep, 2: keep with slopes; and which are kept, a few dozen of the thousands.
    std::vector<char> keep(n, 0);
    std::vector<std::size_t> kept;
    auto mark = [&](std::size_t k, char how) {
        if (!keep[k]) kept.push_back(k);
        keep[k] = std::max(keep[k], how);
    };
    // The rough differences at k - 1 and k, carried along (each is computed once).
    double before = 0, at = n > 0 ? ra[0] - rb[0] : 0;
    int here = n > 0 && covered(0) ? side(0, at) : 0;
    for (std::size_t k = 0; k + 1 < n; ++k) {
        if (k % kBlock == 0 && k > 0 && ApartOver(a.blocks[k / kBlock], b.blocks[k / kBlock], here)) {
            // Nothing to keep in this block, and the side at its end is the side now.
            k = std::min(k + kBlock, n - 1) - 1;
            before = ra[k] - rb[k];
            at = ra[k + 1] - rb[k + 1];
            continue;
        }
        const double after = ra[k + 1] - rb[k + 1];
        if (!together(k)) {
            here = covered(k + 1) ? side(k + 1, after) : 0;
            before = at;
            at = after;
            continue;
        }
        const int next = side(k + 1, after);  // (both curves are at k + 1: they go on to it)
        if (here != next || here == 0) {
            // The neighbours too, for the first guess of the crossing.
            const std::size_t from = k > 0 && together(k - 1) ? k - 1 : k;
            const std::size_t to = together(k + 1) ? k + 2 : k + 1;
            for (std::size_t j = from; j <= to; ++j) mark(j, 1);
        }
        if (k > 0 && together(k - 1)) {
            // An extremum of the difference that comes close to 0 (roughly is enough here).
            const double rise = at - before, fall = after - at;
            // Three values on one side whose parabola turns near 0 or beyond (a change of sign
            // seen next to them is looked at anyway).
            // (Bitwise, without branches: the answer is no at almost every sample, and which
            // way each comparison goes is a coin toss the processor cannot predict.)
            const bool turns = !(((rise > 0) & (fall > 0)) | ((rise < 0) & (fall < 0)));
            const bool oneSide = ((before > 0) == (at > 0)) & ((after > 0) == (at > 0)) & (at != 0);
            const double bend = (fall - rise) / 2, tilt = (after - before) / 2;
            if ((turns & oneSide) &&
                (bend == 0 || (at > 0 ? at - tilt * tilt / (4 * bend) <= 0.125 * at
                                      : at - tilt * tilt / (4 * bend) >= 0.125 * at))) {
                mark(k - 1, 2);
                mark(k, 2);
                mark(k + 1, 2);
            }
        }
        here = next;
        before = at;
        at = after;
    }
    if (n > 0 && covered(n - 1) && va[n - 1] == vb[n - 1]) mark(n - 1, 1);

    SampledCurve out;
    out.spacing = a.sampled.spacing;
    out.floor = std::max(a.sampled.floor, b.sampled.floor);
    out.scale = std::max(a.sampled.scale, b.sampled.scale);
    // Marked about each sample in turn, so nearly in order already.
    std::sort(kept.begin(), kept.end());
    for (const std::size_t k : kept) {
        const CurveNode& ea = *a.atSample[k];
        const CurveNode& eb = *b.atSample[k];
        // From a's node, which is a copy where filling a fresh one is a loop of stores.
        SampledNode node{ea, false, false};
        node.x = xs[k];
        node.s.value = g(k);
        if (ea.slopes && eb.slopes) {
            node.s.dx -= eb.s.dx;
            node.s.dxx -= eb.s.dxx;
            if (eb.s.first != SlopeStatus::Exact) node.s.first = eb.s.first;
            if (eb.s.second != SlopeStatus::Exact) node.s.second = eb.s.second;
            node.slopes = true;
        } else {
            CurveSlopes& d = node.s;
            d.dx = d.dxx = 0;
            d.first = d.second = SlopeStatus::Exact;
            node.slopes = false;
            if (keep[k] == 2) difference.WithSlopes(node);
        }
        node.gapAfter = k + 1 >= n || !together(k) || !keep[k + 1];
        out.nodes.push_back(node);
    }
    return out;
}

PointKind KindOf(EventKind kind) {
    switch (kind) {
        case EventKind::Root: return PointKind::Root;
        case EventKind::Min: return PointKind::Min;
        case EventKind::Max: return PointKind::Max;
        case EventKind::Inflection: return PointKind::Inflection;
    }
    return PointKind::Root;
}

// The lower branch of |y| = f(x) is the mirror image: its minima are the upper one's maxima.
PointKind Mirrored(PointKind kind) {
    if (kind == PointKind::Min) return PointKind::Max;
    if (kind == PointKind::Max) return PointKind::Min;
    return kind;
}

class Collector {
public:
    explicit Collector(bool absolute) : absolute_(absolute) {}

    // A point with a value; in |y| mode it is on the curve only where the value is not
    // negative, and then on both branches (once where they meet, at 0).
    void Add(PointKind kind, int curve, int other, long double x, long double y) {
        if (!absolute_) {
            points.push_back({kind, curve, other, x, y, true});
            return;
        }
        if (y < 0) return;
        points.push_back({kind, curve, other, x, y, true});
        if (y > 0) points.push_back({Mirrored(kind), curve, other, x, -y, true});
    }
    void AddRoot(int curve, long double x, long double y) {
        points.push_back({PointKind::Root, curve, -1, x, y, true});
    }
    void AddBreak(int curve, const CurveBreak& b) {
        if (absolute_ && !(b.hasLeft && b.left.s.value >= 0) && !(b.hasRight && b.right.s.value >= 0)) return;
        points.push_back({PointKind::Break, curve, -1, b.x, 0, false});
    }
    void More(int curve, int other, PointKind kind) { more.push_back({curve, other, kind}); }

    // Sorted, each point once, at most `limit` of each kind. The points of one curve (or one
    // pair) come from its own collector only, so this is done per collector, on the thread
    // that found them, and the lists are merged at the end.
    void Finish(std::size_t limit);

    std::vector<NotablePoint> points;
    std::vector<PointLimit> more;

private:
    bool absolute_;
};

// By x, kind, curve, second curve and value, as std::tie would order them, compared one by one
// (the tuple's three-way comparison of long doubles costs several times as much, and the lists
// are sorted after every edit).
[[gnu::always_inline]] inline bool Before(const NotablePoint& a, const NotablePoint& b) {
    if (a.x < b.x) return true;
    if (b.x < a.x) return false;
    if (a.kind != b.kind) return a.kind < b.kind;
    if (a.curve != b.curve) return a.curve < b.curve;
    if (a.other != b.other) return a.other < b.other;
    return a.y < b.y;
}

void Collector::Finish(std::size_t limit) {
    std::sort(points.begin(), points.end(), [](const NotablePoint& a, const NotablePoint& b) { return Before(a, b); });
    points.erase(std::unique(points.begin(), points.end()), points.end());
    // One curve (or pair) in the list: the kind tells the points' group apart.
    std::size_t counts[static_cast<std::size_t>(PointKind::End) + 1] = {};
    std::size_t kept = 0;
    for (const NotablePoint& p : points) {
        if (++counts[static_cast<std::size_t>(p.kind)] > limit) {
            More(p.curve, p.other, p.kind);
            continue;
        }
        points[kept++] = p;
    }
    points.resize(kept);
}

// Every list merged into one in the order Before gives, pairs of lists at a time.
std::vector<NotablePoint> MergeSorted(std::vector<std::vector<NotablePoint>> lists) {
    auto before = [](const NotablePoint& a, const NotablePoint& b) { return Before(a, b); };
    if (lists.empty()) return {};
    while (lists.size() > 1) {
        std::vector<std::vector<NotablePoint>> merged;
        merged.reserve(lists.size() / 2 + 1);
        for (std::size_t i = 0; i + 1 < lists.size(); i += 2) {
            std::vector<NotablePoint> both;
            both.reserve(lists[i].size() + lists[i + 1].size());
            std::merge(lists[i].begin(), lists[i].end(), lists[i + 1].begin(), lists[i + 1].end(),
                       std::back_inserter(both), before);
            merged.push_back(std::move(both));
        }
        if (lists.size() % 2) merged.push_back(std::move(lists.back()));
        lists = std::move(merged);
    }
    return std::move(lists.front());
}

}  // namespace

const char* PointKindWord(PointKind kind) {
    switch (kind) {
        case PointKind::Root: return "root";
        case PointKind::Min: return "min";
        case PointKind::Max: return "max";
        case PointKind::Inflection: return "inflection";
        case PointKind::Cross: return "cross";
        case PointKind::Break: return "break";
        case PointKind::End: return "end";
    }
    return "";
}

const char* PointKindName(PointKind kind) {
    switch (kind) {
        case PointKind::Root: return "корень";
        case PointKind::Min: return "минимум";
        case PointKind::Max: return "максимум";
        case PointKind::Inflection: return "перегиб";
        case PointKind::Cross: return "пересечение";
        case PointKind::Break: return "разрыв";
        case PointKind::End: return "край области";
    }
    return "";
}

NotablePoints FindNotablePoints(std::span<const PlotCurve> curves, const PointOptions& options) {
    NotablePoints result;
    const ViewRect& v = options.view;
    const long double lo = std::min(v.xmin, v.xmax), hi = std::max(v.xmin, v.xmax);
    if (!(lo < hi) || !std::isfinite(lo) || !std::isfinite(hi)) return result;
    const int count = std::max(kLeastPointSamples, 2 * std::max(options.columns, 1));
    SamplingPlan plan;
    plan.xs = SampleXs(lo, hi, count);
    plan.spacing = (hi - lo) / count;
    plan.extent = std::fabs(v.ymax - v.ymin);
    if (!std::isfinite(plan.extent)) plan.extent = 0;
    plan.limit = options.limit;

    // A translator is evaluated on one thread at a time: curves that share one stay on one.
    std::vector<const Translator*> formulas;
    for (const PlotCurve& curve : curves) formulas.push_back(curve.formula);
    std::sort(formulas.begin(), formulas.end());
    const bool shared = std::adjacent_find(formulas.begin(), formulas.end()) != formulas.end();
    const int threads = shared ? 1 : std::max(1, options.threads);
    // Two curves of one formula (the same text in the same modes) are the same curve: it is
    // worked out once, and each of them lists its points. They coincide everywhere, so they
    // have no meeting points to list between them, not even where their domain ends.
    auto same = [&](std::size_t i, std::size_t j) {
        const Translator& a = *curves[i].formula;
        const Translator& b = *curves[j].formula;
        return &a == &b || (a.CompiledText() == b.CompiledText() && a.Degrees() == b.Degrees() &&
                            a.ExactFunctions() == b.ExactFunctions() && a.Rounding() == b.Rounding());
    };
    std::vector<std::size_t> first(curves.size());  // the first curve of each one's formula
    std::vector<std::size_t> distinct;              // the curves that are firsts
    for (std::size_t c = 0; c < curves.size(); ++c) {
        first[c] = c;
        for (std::size_t d : distinct)
            if (same(d, c)) {
                first[c] = d;
                break;
            }
        if (first[c] == c) distinct.push_back(c);
    }
    std::vector<CurveResult> results(curves.size());  // of the firsts
    auto analyseCurve = [&](std::size_t c) {
        const PlotCurve& curve = curves[c];
        CurveFunction f(*curve.formula);
        CurveResult& r = results[c];
        r.sampled = SampleCurve(f, curve.formula->Specials(), plan);
        r.events = AnalyseCurve(f, r.sampled, {true, true, 16384, options.limit});
        PlaceOnGrid(r, plan.xs);
        Collector collect(options.absolute);
        for (std::size_t k = 0; k < kEventKinds; ++k) {
            const PointKind kind = KindOf(static_cast<EventKind>(k));
            for (const CurveNode& n : r.events.found[k]) {
                if (kind == PointKind::Root)
                    collect.AddRoot(curve.number, n.x, n.s.value);
                else
                    collect.Add(kind, curve.number, -1, n.x, n.s.value);
            }
            if (r.events.more[k]) collect.More(curve.number, -1, kind);
        }
        for (const CurveBreak& b : r.sampled.breaks) collect.AddBreak(curve.number, b);
        if (r.sampled.moreBreaks) collect.More(curve.number, -1, PointKind::Break);
        for (const CurveNode& e : r.sampled.ends) collect.Add(PointKind::End, curve.number, -1, e.x, e.s.value);
        collect.Finish(options.limit);
        r.points = std::move(collect.points);
        r.more = std::move(collect.more);
    };

    // The crossings, pair by pair, in the order their curves are done: a pair of the first
    // curves can start while the last ones are still being sampled, so no thread waits for the
    // slowest curve with nothing to do. A pair is looked at as the pair of its curves' firsts,
    // in its own order (f - g is searched, not g - f, so that each pair's points are the bits
    // it would have alone), and once for all the pairs that come to it.
    std::vector<std::pair<std::size_t, std::size_t>> pairs;  // of firsts, each once
    std::vector<std::size_t> pairOf;                         // of each pair of curves, in order
    std::map<std::pair<std::size_t, std::size_t>, std::size_t> pairAt;  // in pairs
    for (std::size_t j = 1; j < curves.size(); ++j)
        for (std::size_t i = 0; i < j; ++i) {
            if (first[i] == first[j]) continue;
            const auto [at, fresh] = pairAt.try_emplace({first[i], first[j]}, pairs.size());
            if (fresh) pairs.push_back(at->first);
            pairOf.push_back(at->second);
        }
    // Each pair is taken by the next thread free with a set of the formulas that no other
    // thread is using: the first set the caller's (a curve being sampled is never one of a
    // pair being looked at), the others copies, made when first needed.
    const std::size_t sets = std::max<std::size_t>(1, std::min<std::size_t>(static_cast<std::size_t>(threads), pairs.size()));
    std::vector<std::vector<std::unique_ptr<Translator>>> copies(sets);
    for (auto& set : copies) set.resize(curves.size());
    std::vector<std::size_t> freeSets;
    for (std::size_t s = sets; s-- > 0;) freeSets.push_back(s);
    std::mutex lock;  // over freeSets and done
    std::condition_variable finished;
    std::vector<char> done(curves.size(), 0);
    // Each pair's crossings as curves 0 and 1, numbered for each pair of curves at the end.
    std::vector<Collector> meetings(pairs.size(), Collector(options.absolute));
    auto findCrossings = [&](std::size_t pair) {
        // (Plain names: clang 14 cannot capture structured bindings in the lambda below.)
        const std::size_t i = pairs[pair].first, j = pairs[pair].second;
        std::size_t s = 0;
        {
            // Every curve is taken before any pair, so the curves waited for are under way.
            std::unique_lock guard(lock);
            finished.wait(guard, [&] { return done[i] && done[j]; });
            s = freeSets.back();
            freeSets.pop_back();
        }
        struct Release {
            std::mutex& lock;
            std::vector<std::size_t>& sets;
            std::size_t s;
            ~Release() {
                const std::lock_guard guard(lock);
                sets.push_back(s);
            }
        } release{lock, freeSets, s};
        auto formula = [&](std::size_t c) -> Translator& {
            if (s == 0) return *curves[c].formula;
            std::unique_ptr<Translator>& copy = copies[s][c];
            if (!copy) {
                // Reads only what translation set, never what evaluation changes: safe while
                // another thread evaluates the original.
                copy = std::make_unique<Translator>();
                copy->TranslateLike(*curves[c].formula);
            }
            return *copy;
        };
        Collector& found = meetings[pair];
        CurveFunction difference(formula(i), formula(j));
        CurveFunction curveI(formula(i)), curveJ(formula(j));
        SampledCurve nodes = DifferenceNodes(difference, results[i], results[j], plan.xs);
        const CurveEvents roots = AnalyseCurve(difference, nodes, {false, false, 0, options.limit});
        for (const CurveNode& n : roots.found[static_cast<std::size_t>(EventKind::Root)]) {
            long double y = 0;
            if (curveI.Value(n.x, y)) found.Add(PointKind::Cross, 0, 1, n.x, y);
        }
        // Where one curve's domain ends on the other: a meeting the sampling grid, which
        // has no point there, cannot show.
        for (const auto& [ends, other] :
             {std::pair{&results[i].sampled.ends, &curveJ}, std::pair{&results[j].sampled.ends, &curveI}}) {
            for (const CurveNode& e : *ends) {
                long double there = 0;
                if (other->Value(e.x, there) && there == e.s.value) found.Add(PointKind::Cross, 0, 1, e.x, there);
            }
        }
        if (roots.more[static_cast<std::size_t>(EventKind::Root)]) found.More(0, 1, PointKind::Cross);
        found.Finish(options.limit);
    };
    RunInParallel(static_cast<int>(distinct.size() + pairs.size()), threads, [&](int job) {
        const auto k = static_cast<std::size_t>(job);
        if (k >= distinct.size()) {
            findCrossings(k - distinct.size());
            return;
        }
        analyseCurve(distinct[k]);
        {
            const std::lock_guard guard(lock);
            done[distinct[k]] = 1;
        }
        finished.notify_all();
    });

    // Each curve's list (for a formula's later curves a copy of its first's, renumbered) and
    // each pair's, merged.
    std::vector<std::vector<NotablePoint>> lists;
    std::vector<PointLimit> more;
    auto take = [&](const std::vector<NotablePoint>& points, const std::vector<PointLimit>& limits, int curve,
                    int other) {
        lists.push_back(points);
        for (NotablePoint& p : lists.back()) {
            p.curve = curve;
            p.other = other;
        }
        for (PointLimit m : limits) {
            m.curve = curve;
            m.other = other;
            more.push_back(m);
        }
    };
    // From the last: the copies are made before their first's list is moved into place.
    for (std::size_t c = curves.size(); c-- > 0;) {
        CurveResult& r = results[first[c]];
        if (first[c] != c) {
            take(r.points, r.more, curves[c].number, -1);
            continue;
        }
        lists.push_back(std::move(r.points));
        more.insert(more.end(), r.more.begin(), r.more.end());
    }
    for (std::size_t j = 1, p = 0; j < curves.size(); ++j)
        for (std::size_t i = 0; i < j; ++i) {
            if (first[i] == first[j]) continue;
            const Collector& m = meetings[pairOf[p++]];
            take(m.points, m.more, curves[i].number, curves[j].number);
        }
    result.points = MergeSorted(std::move(lists));

    std::sort(more.begin(), more.end(), [](const PointLimit& a, const PointLimit& b) {
        return std::tie(a.curve, a.other, a.kind) < std::tie(b.curve, b.other, b.kind);
    });
    more.erase(std::unique(more.begin(), more.end()), more.end());
    result.more = std::move(more);
    return result;
}

}  // namespace kq
