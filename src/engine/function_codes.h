// The functions of the formula language and their numbers in the compiled form.
#pragma once

#include <cstdint>
#include <string_view>

namespace kq {

enum class FunctionCode : std::uint8_t {
    Ln = 0,
    LogBase = 1,  // reserved: no name produces it
    Lg = 2,
    Sgn = 3,
    Sin = 4,
    Cos = 5,
    Sec = 6,
    Csc = 7,
    Tg = 8,
    Ctg = 9,
    Abs = 10,
    Root = 11,
    PowerN = 12,
    None = 13,
    Arcsin = 14,
    Arccos = 15,
    Arctg = 16,
    Arcctg = 17,
    Sqrt = 18,
    Exp = 19,
};

// The function named exactly `name`, or None.
FunctionCode FunctionByName(std::string_view name);

// sin, cos, sec, csc, tg, ctg: they take degrees in degrees mode and have periodic poles.
inline bool IsDirectTrig(FunctionCode code) {
    return code >= FunctionCode::Sin && code <= FunctionCode::Ctg;
}

}  // namespace kq
