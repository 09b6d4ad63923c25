#include "plot/range_text.h"

#include <cmath>

#include "engine/number_text.h"

namespace kq {
namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Why a range text does not read as a number ("" when it does).
std::string NotANumber(std::string_view text) {
    const std::string_view t = Trimmed(text);
    long double value = 0;
    if (ParseWholeDecimal(t, value) && std::isfinite(value)) return "";
    if (t.empty()) return "Поле пусто: граница считается равной 0";
    std::string message = "«" + std::string(t) + "» — не число: граница считается равной 0";
    if (t.find(',') != std::string_view::npos) message += " (дробную часть отделяйте точкой)";
    return message;
}

}  // namespace

long double ReadRange(std::string_view text) {
    text = Trimmed(text);
    long double value = 0;
    if (!ParseWholeDecimal(text, value) || !std::isfinite(value)) return 0;
    return value;
}

bool ReadsAs(std::string_view text, long double value) {
    long double read = 0;
    return ParseWholeDecimal(Trimmed(text), read) && read == value;
}

RangeProblems CheckRange(std::string_view fromText, std::string_view toText) {
    RangeProblems problems{NotANumber(fromText), NotANumber(toText)};
    const long double from = ReadRange(fromText), to = ReadRange(toText);
    if (problems.from.empty() && !(from < to))
        problems.from = from == to ? "«от» должно быть меньше «до»: при равных границах график не строится"
                                   : "«от» должно быть меньше «до»: сейчас график отражён зеркально";
    return problems;
}

// A zoom edge on the axis is -0 as often as 0; the editor shows 0.
std::string WriteRange(long double value) { return FormatC("%.4Lg", value == 0 ? 0.0L : value); }

}  // namespace kq
