#include "plot/signed_area.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <queue>
#include <vector>

#include "engine/number_text.h"
#include "plot/curve_nodes.h"

namespace kq {
namespace {

// The 15-point Kronrod rule and the 7-point Gauss rule inside it, on [-1, 1], from the outside
// in: the Kronrod abscissae, Gauss's being every other one from the second (worked out with
// mpmath to 30 digits: the Stieltjes polynomial of degree 8 for the Legendre polynomial of
// degree 7, and the weights that integrate polynomials of degree 22 exactly).
constexpr long double kNodes[8] = {
    0.991455371120812639206854697526L, 0.949107912342758524526189684048L,
    0.864864423359769072789712788641L, 0.741531185599394439863864773281L,
    0.586087235467691130294144838259L, 0.405845151377397166906606412077L,
    0.207784955007898467600689403773L, 0.0L,
};
constexpr long double kKronrodWeights[8] = {
    0.022935322010529224963732008059L, 0.0630920926299785532907006631892L, 0.104790010322250183839876322542L,
    0.14065325971552591874518959051L,  0.169004726639267902826583426599L,  0.190350578064785409913256402421L,
    0.204432940075298892414161999235L, 0.209482141084727828012999174892L,
};
constexpr long double kGaussWeights[4] = {
    0.129484966168869693270611432679L,
    0.279705391489276667901467771424L,
    0.381830050505118944950369775489L,
    0.417959183673469387755102040816L,
};

constexpr long double kEpsilon = LDBL_EPSILON;
// The error asked for, relative to the area (or to the area of |f| where the signs cancel):
// a few dozen units of long double, far below the 1e-15 promised.
constexpr long double kRelative = 64 * kEpsilon;
constexpr long double kCancelled = 128 * kEpsilon;
constexpr std::size_t kMostPieces = 4000;

struct Piece {
    long double a, b, value, error, magnitude;
    bool operator<(const Piece& other) const { return error < other.error; }
};

// One application of the rule on [a, b]; false (and the x that has no value) where the curve
// has none at a node.
bool Integrate(Translator& f, long double a, long double b, Piece& piece, long double& bad) {
    const long double centre = a + (b - a) / 2, half = (b - a) / 2;
    long double xs[15];
    xs[0] = centre;
    for (int j = 0; j < 7; ++j) {
        xs[1 + 2 * j] = centre - half * kNodes[j];
        xs[2 + 2 * j] = centre + half * kNodes[j];
    }
    long double ys[15];
    EvalStatus statuses[15];
    f.TryValues(xs, 0, ys, statuses);
    for (int i = 0; i < 15; ++i)
        if (statuses[i] != EvalStatus::Ok || !std::isfinite(ys[i])) {
            bad = xs[i];
            return false;
        }
    long double kronrod = kKronrodWeights[7] * ys[0], gauss = kGaussWeights[3] * ys[0];
    long double magnitude = kKronrodWeights[7] * std::fabs(ys[0]);
    for (int j = 0; j < 7; ++j) {
        const long double pair = ys[1 + 2 * j] + ys[2 + 2 * j];
        kronrod += kKronrodWeights[j] * pair;
        magnitude += kKronrodWeights[j] * (std::fabs(ys[1 + 2 * j]) + std::fabs(ys[2 + 2 * j]));
        if (j % 2 == 1) gauss += kGaussWeights[j / 2] * pair;
    }
    // The estimate of the error as the long-tested programs of this rule make it: the
    // difference of the two rules, scaled by how far the integrand strays from its mean.
    const long double mean = kronrod / 2;
    long double spread = kKronrodWeights[7] * std::fabs(ys[0] - mean);
    for (int j = 0; j < 7; ++j)
        spread += kKronrodWeights[j] * (std::fabs(ys[1 + 2 * j] - mean) + std::fabs(ys[2 + 2 * j] - mean));
    const long double width = std::fabs(half);
    long double error = std::fabs((kronrod - gauss) * half);
    spread *= width;
    if (spread != 0 && error != 0) error = spread * std::min(1.0L, std::pow(200 * error / spread, 1.5L));
    error = std::max(error, 50 * kEpsilon * magnitude * width);
    piece = {a, b, kronrod * half, error, magnitude * width};
    return true;
}

// The first break or gap of the domain in [lo, hi], from the point finder's sampling.
bool FindObstacle(Translator& formula, long double lo, long double hi, AreaResult& result) {
    SamplingPlan plan;
    constexpr int kSamples = 4096;  // as finely as the point finder samples a view
    plan.xs.resize(kSamples + 1);
    for (int k = 0; k < kSamples; ++k) plan.xs[k] = lo + (hi - lo) * k / kSamples;
    plan.xs[kSamples] = hi;
    plan.spacing = (hi - lo) / kSamples;
    plan.limit = 1;
    CurveFunction f(formula);
    const SampledCurve curve = SampleCurve(f, formula.Specials(), plan);
    if (!curve.breaks.empty()) {
        result.failure = AreaResult::Failure::Break;
        result.where = curve.breaks.front().x;
        return true;
    }
    const bool startsAtLo = !curve.nodes.empty() && curve.nodes.front().x == lo;
    const bool endsAtHi = !curve.nodes.empty() && curve.nodes.back().x == hi;
    if (!curve.ends.empty() || !startsAtLo || !endsAtHi) {
        result.failure = AreaResult::Failure::Undefined;
        result.where = !startsAtLo ? lo : (!curve.ends.empty() ? curve.ends.front().x : hi);
        return true;
    }
    return false;
}

}  // namespace

AreaResult SignedArea(Translator& formula, long double a, long double b) {
    AreaResult result;
    if (a == b) return result;
    const long double lo = std::min(a, b), hi = std::max(a, b);
    if (!std::isfinite(lo) || !std::isfinite(hi)) {
        result.failure = AreaResult::Failure::Undefined;
        result.where = std::isfinite(lo) ? hi : lo;
        return result;
    }
    if (FindObstacle(formula, lo, hi, result)) return result;

    std::priority_queue<Piece> pieces;
    long double bad = 0;
    Piece whole;
    if (!Integrate(formula, lo, hi, whole, bad)) {
        result.failure = AreaResult::Failure::Undefined;
        result.where = bad;
        return result;
    }
    pieces.push(whole);
    long double value = whole.value, error = whole.error, magnitude = whole.magnitude;
    // Where the signs cancel, the rounding of the values alone makes an error of a few units of
    // the area of |f|: that is as close as the area can be told.
    while (error > std::max(kRelative * std::fabs(value), kCancelled * magnitude)) {
        const Piece worst = pieces.top();
        const long double middle = worst.a + (worst.b - worst.a) / 2;
        if (pieces.size() >= kMostPieces || !(middle > worst.a && middle < worst.b)) {
            result.failure = AreaResult::Failure::NotConverged;
            result.where = middle;
            return result;
        }
        pieces.pop();
        Piece left, right;
        if (!Integrate(formula, worst.a, middle, left, bad) || !Integrate(formula, middle, worst.b, right, bad)) {
            result.failure = AreaResult::Failure::Undefined;
            result.where = bad;
            return result;
        }
        value += left.value + right.value - worst.value;
        error += left.error + right.error - worst.error;
        magnitude += left.magnitude + right.magnitude - worst.magnitude;
        pieces.push(left);
        pieces.push(right);
    }
    // The running sums drift with every replacement: the pieces summed afresh.
    value = 0;
    error = 0;
    std::vector<long double> values;
    while (!pieces.empty()) {
        values.push_back(pieces.top().value);
        error += pieces.top().error;
        pieces.pop();
    }
    std::sort(values.begin(), values.end(), [](long double p, long double q) { return std::fabs(p) < std::fabs(q); });
    for (long double v : values) value += v;
    result.value = a < b ? value : -value;
    result.error = error;
    return result;
}

std::string AreaFailureText(const AreaResult& result) {
    const std::string x = FormatC("%.18Lg", result.where);
    switch (result.failure) {
        case AreaResult::Failure::None: return "";
        case AreaResult::Failure::Break: return "разрыв внутри промежутка при x = " + x;
        case AreaResult::Failure::Undefined: return "функция не определена при x = " + x;
        case AreaResult::Failure::NotConverged: return "площадь не вычисляется: особенность около x = " + x;
    }
    return "";
}

}  // namespace kq
