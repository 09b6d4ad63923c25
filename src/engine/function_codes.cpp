#include "engine/function_codes.h"

#include <array>
#include <utility>

namespace kq {

FunctionCode FunctionByName(std::string_view name) {
    using F = FunctionCode;
    static constexpr std::array<std::pair<std::string_view, F>, 26> names = {{
        {"ln", F::Ln},         {"lg", F::Lg},         {"sgn", F::Sgn},      {"sin", F::Sin},
        {"cos", F::Cos},       {"sec", F::Sec},       {"csc", F::Csc},      {"tg", F::Tg},
        {"tan", F::Tg},        {"ctg", F::Ctg},       {"cot", F::Ctg},      {"abs", F::Abs},
        {"arcsin", F::Arcsin}, {"asin", F::Arcsin},   {"arccos", F::Arccos}, {"acos", F::Arccos},
        {"atg", F::Arctg},     {"arctg", F::Arctg},   {"arctan", F::Arctg}, {"arcctg", F::Arcctg},
        {"arccot", F::Arcctg}, {"actg", F::Arcctg},   {"sqrt", F::Sqrt},    {"exp", F::Exp},
        {"", F::None},         {"", F::None},
    }};
    if (name.empty()) return F::None;
    for (const auto& [n, code] : names)
        if (n == name) return code;
    return F::None;
}

}  // namespace kq
