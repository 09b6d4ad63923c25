#include "engine/function_codes.h"

#include <cmath>
#include <math.h>

#include "engine/math_functions.h"
#include "engine/trig.h"

namespace kq {
namespace {

using F = FunctionCode;
using S = EvalStatus;

EvalStatus Sign(const long double&, const long double& t, long double& out) {
    out = t > 0 ? 1 : (t < 0 ? -1 : 0);
    return S::Ok;
}
EvalStatus Secant(const long double&, const long double& t, long double& out) {
    return TrigReciprocal(Cosine(t), out);
}
EvalStatus Cosecant(const long double&, const long double& t, long double& out) {
    return TrigReciprocal(Sine(t), out);
}
EvalStatus TangentOf(const long double&, const long double& t, long double& out) { return Tangent(t, out); }
EvalStatus CotangentOf(const long double&, const long double& t, long double& out) { return Cotangent(t, out); }
EvalStatus ExactTangentOf(const long double&, const long double& t, long double& out) {
    return Tangent(t, out, true);
}
EvalStatus ExactCotangentOf(const long double&, const long double& t, long double& out) {
    return Cotangent(t, out, true);
}
// rtN(t) is t^(1/N): a degree N too small to divide by fails as that division would, so that
// rt0(t) fails "/0" as rtt<0>(t) does rather than give an infinity.
EvalStatus NthRoot(const long double& n, const long double& t, long double& out) {
    if (!(std::fabs(n) >= kNegligible)) return S::DivisionByZero;
    return Root(t, n, out);
}
EvalStatus ExactNthPower(const long double& n, const long double& t, long double& out) {
    if (n == 0) {
        out = 1;
        return S::Ok;
    }
    if (t == 0 && n < 0) return S::DivisionByZero;
    out = std::pow(t, n);
    return S::Ok;
}
EvalStatus NthPower(const long double& n, const long double& t, long double& out) {
    if (n == 0) {
        out = 1;
        return S::Ok;
    }
    if (t == 0 && n < 0) return S::DivisionByZero;
    // The exponent is an argument too: one beyond double's range makes the whole power extended.
    const auto inExtended = [&n](long double v) { return std::pow(v, n); };
    if (!FitsDouble(n)) {
        out = inExtended(t);
        return S::Ok;
    }
    const double exponent = static_cast<double>(n);
    out = DoublePrecisionValue(
        t, [exponent](double d) { return std::pow(d, exponent); }, inExtended);
    return S::Ok;
}
// arcsin and arccos as angles of points whose coordinates come out of exact or correctly
// rounded steps: within 2 ulps wherever the system's atan2l is within one, which holds for
// more systems than a good asinl and acosl do (some lose millions of ulps next to 1).
EvalStatus ExactArcSine(const long double&, const long double& t, long double& out) {
    out = std::atan2(t, std::sqrt((1 - t) * (1 + t)));
    return S::Ok;
}
EvalStatus ExactArcCosine(const long double&, const long double& t, long double& out) {
    out = 2 * std::atan2(std::sqrt(1 - t), std::sqrt(1 + t));
    return S::Ok;
}
// Values in (0, π): the angle of the point (t, 1), without rounding 1/t first.
EvalStatus ExactArcCotangent(const long double&, const long double& t, long double& out) {
    out = std::atan2(1.0L, t);
    return S::Ok;
}
// Values in (0, π): the arctangent of 1/t, moved up by π for negative t.
EvalStatus ArcCotangent(const long double&, const long double& t, long double& out) {
    if (t > 0)
        out = DoublePrecisionValue(1.0L / t, ::atan, ::atanl);
    else if (t < 0)
        out = DoublePrecisionValue(1.0L / t, ::atan, ::atanl) + kPi;
    else if (t == 0)
        out = kPi / 2;
    else
        out = t;  // NaN stays NaN
    return S::Ok;
}

constexpr Domain kAny = Domain::Everywhere;
constexpr Domain kOwn = Domain::OwnRule;
constexpr Precision kExt = Precision::Extended;
constexpr Precision kDbl = Precision::Double;

// clang-format off
constexpr FunctionInfo kTable[] = {
    // code       names                          numbered trig   domain                 failure          precision
    {F::Sin,    {"sin"},                          false, true,  kAny,                  S::Ok,           kExt,
     nullptr, Sine, nullptr, "синус", "—"},
    {F::Cos,    {"cos"},                          false, true,  kAny,                  S::Ok,           kExt,
     nullptr, Cosine, nullptr, "косинус", "—"},
    {F::Tg,     {"tg", "tan"},                    false, true,  kOwn,                  S::FunctionPole, kDbl,
     nullptr, nullptr, TangentOf, "тангенс", "cos = 0", ExactTangentOf},
    {F::Ctg,    {"ctg", "cot"},                   false, true,  kOwn,                  S::FunctionPole, kDbl,
     nullptr, nullptr, CotangentOf, "котангенс", "sin = 0", ExactCotangentOf},
    {F::Sec,    {"sec"},                          false, true,  kOwn,                  S::FunctionPole, kExt,
     nullptr, nullptr, Secant, "1/cos", "cos = 0"},
    {F::Csc,    {"csc"},                          false, true,  kOwn,                  S::FunctionPole, kExt,
     nullptr, nullptr, Cosecant, "1/sin", "sin = 0"},
    {F::Arcsin, {"arcsin", "asin"},               false, false, Domain::UnitInterval,  S::InverseTrig,  kDbl,
     ::asin, ::asinl, nullptr, "арксинус", "|x| > 1", ExactArcSine},
    {F::Arccos, {"arccos", "acos"},               false, false, Domain::UnitInterval,  S::InverseTrig,  kDbl,
     ::acos, ::acosl, nullptr, "арккосинус", "|x| > 1", ExactArcCosine},
    {F::Arctg,  {"arctg", "atg", "arctan"},       false, false, kAny,                  S::Ok,           kDbl,
     ::atan, ::atanl, nullptr, "арктангенс", "—"},
    {F::Arcctg, {"arcctg", "arccot", "actg"},     false, false, kAny,                  S::Ok,           kDbl,
     nullptr, nullptr, ArcCotangent, "арккотангенс, значения в (0, π)", "—", ExactArcCotangent},
    {F::Ln,     {"ln"},                           false, false, Domain::Positive,      S::NoValue,      kDbl,
     ::log, ::logl, nullptr, "натуральный логарифм", "x ≤ 0"},
    {F::Lg,     {"lg"},                           false, false, Domain::Positive,      S::NoValue,      kDbl,
     ::log10, ::log10l, nullptr, "десятичный логарифм", "x ≤ 0"},
    {F::Exp,    {"exp"},                          false, false, kAny,                  S::Ok,           kDbl,
     ::exp, ::expl, nullptr, "e в степени x", "—"},
    {F::Sqrt,   {"sqrt"},                         false, false, Domain::NotNegative,   S::NoValue,      kDbl,
     ::sqrt, ::sqrtl, nullptr, "квадратный корень", "x < 0"},
    {F::Root,   {"rt"},                           true,  false, kOwn,                  S::EvenRoot,     kExt,
     nullptr, nullptr, NthRoot, "корень степени N: rt2(x), rt3(x)", "N = 0; четный N при x < 0"},
    {F::PowerN, {"pw"},                           true,  false, kOwn,                  S::DivisionByZero, kDbl,
     nullptr, nullptr, NthPower, "степень N: pw3(x) = x³", "—", ExactNthPower},
    {F::Abs,    {"abs"},                          false, false, kAny,                  S::Ok,           kExt,
     nullptr, ::fabsl, nullptr, "модуль", "—"},
    {F::Sgn,    {"sgn"},                          false, false, kAny,                  S::Ok,           kExt,
     nullptr, nullptr, Sign, "знак: 1, −1 или 0", "—"},
};
// clang-format on

// Each code's entry, found once when the program is compiled.
constexpr auto kIndex = [] {
    std::array<std::int16_t, 256> index{};
    index.fill(-1);
    for (std::size_t i = 0; i < std::size(kTable); ++i)
        index[static_cast<std::size_t>(kTable[i].code)] = static_cast<std::int16_t>(i);
    return index;
}();

}  // namespace

std::span<const FunctionInfo> LanguageFunctions() { return kTable; }

const FunctionInfo* InfoOf(FunctionCode code) {
    const int i = kIndex[static_cast<std::size_t>(code)];
    return i < 0 ? nullptr : &kTable[i];
}

FunctionCode FunctionByName(std::string_view name) {
    if (name.empty()) return F::None;
    for (const FunctionInfo& f : kTable) {
        if (f.numbered) continue;
        for (std::string_view n : f.names)
            if (n == name) return f.code;
    }
    return F::None;
}

}  // namespace kq
