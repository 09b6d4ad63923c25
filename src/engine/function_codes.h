// The functions of the formula language in one table: what the parser, both evaluators, the
// native code generator and the help know about each of them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/eval_status.h"

namespace kq {

enum class FunctionCode : std::uint8_t {
    None,  // not a function
    Ln,
    Lg,
    Sgn,
    Sin,
    Cos,
    Sec,
    Csc,
    Tg,
    Ctg,
    Abs,
    Root,
    PowerN,
    Arcsin,
    Arccos,
    Arctg,
    Arcctg,
    Sqrt,
    Exp,
};

// Where a function has a value; outside it the evaluation fails with the entry's status. NaN
// passes every check, and NaN comes out.
enum class Domain : std::uint8_t {
    Everywhere,
    Positive,      // t > 0
    NotNegative,   // t >= 0
    UnitInterval,  // -1 <= t <= 1
    OwnRule,       // the evaluation checks for itself: poles, even roots, zero to a negative power
};

enum class Precision : std::uint8_t {
    Extended,  // long double throughout
    Double,    // double where the argument and the result are normal doubles, long double elsewhere
};

struct FunctionInfo {
    FunctionCode code;
    std::array<std::string_view, 3> names;  // the name, then its aliases; "" after the last
    bool numbered;                          // written with a number after the name: rt2(x), pw3(x)
    bool directTrig;                        // reads degrees in degrees mode; has periodic poles
    Domain domain;
    EvalStatus failure;  // the status outside the domain
    Precision precision;
    // The library functions that compute the value, when it is nothing more (the native code
    // calls them directly); null for the functions with an evaluation of their own.
    double (*inDouble)(double);
    long double (*inExtended)(long double);
    // The value inside the domain, t in radians; `n` is the number after rt or pw. Null when
    // the library functions above are all there is.
    EvalStatus (*evaluate)(const long double& n, const long double& t, long double& out);
    const char* meaning;         // for the help, UTF-8
    const char* undefinedWhere;  // for the help, UTF-8; "—" when defined everywhere
    // With exact functions, the long double value of a function of double precision that has
    // an evaluation of its own; for the others inExtended serves (null here).
    EvalStatus (*evaluateExact)(const long double& n, const long double& t, long double& out) = nullptr;
};

// Every function of the language, in the order the help lists them.
std::span<const FunctionInfo> LanguageFunctions();

// The table's entry for `code`; null for None.
const FunctionInfo* InfoOf(FunctionCode code);

// The function named exactly `name` (a name or an alias, not a numbered one), or None.
FunctionCode FunctionByName(std::string_view name);

// sin, cos, sec, csc, tg, ctg: they take degrees in degrees mode and have periodic poles.
inline bool IsDirectTrig(FunctionCode code) {
    const FunctionInfo* f = InfoOf(code);
    return f && f->directTrig;
}

}  // namespace kq
