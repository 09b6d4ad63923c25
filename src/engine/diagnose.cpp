#include "engine/diagnose.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "engine/filter.h"
#include "engine/formula_cuts.h"
#include "engine/language_tables.h"
#include "engine/number_text.h"
#include "engine/unit_compiler.h"

namespace kq {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || IsUpper(c); }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsWordChar(char c) { return IsDigit(c) || IsLetter(c) || c == '.' || c == ','; }
bool IsOperator(char c) { return c == '*' || c == '/' || c == '^'; }

// Length of the UTF-8 sequence at the start of `text`, or 0 when it is not one.
std::size_t SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead < 0x80         ? 1
                               : (lead >> 5) == 6  ? 2
                               : (lead >> 4) == 14 ? 3
                               : (lead >> 3) == 30 ? 4
                                                   : 0;
    if (length == 0 || length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[i]) >> 6) != 2) return 0;
    return length;
}

// A piece of the text in quotes, as valid UTF-8 (a byte that is not, as "�") and, when long,
// with its middle left out.
std::string Quoted(std::string_view text) {
    constexpr std::size_t kHead = 24, kTail = 12;
    std::string quoted = "«";
    for (std::size_t i = 0; i < text.size();) {
        if (i >= kHead && text.size() > kHead + kTail + 8 && i < text.size() - kTail) {
            quoted += "…";
            i = text.size() - kTail;
            while (i < text.size() && (static_cast<unsigned char>(text[i]) >> 6) == 2) ++i;
            continue;
        }
        const std::size_t length = SequenceLength(text.substr(i));
        quoted += length == 0 ? std::string("\uFFFD") : std::string(text.substr(i, length));
        i += length == 0 ? 1 : length;
    }
    return quoted + "»";
}

std::string NumberText(long double value) { return FormatC("%.18Lg", value); }

// Digits and capital letters with at most one point, every digit below `base`.
bool AreDigitsIn(std::string_view digits, int base) {
    bool point = false, digit = false;
    for (char c : digits) {
        if (c == '.') {
            if (point) return false;
            point = true;
            continue;
        }
        const int value = IsDigit(c) ? c - '0' : (IsUpper(c) ? c - 'A' + 10 : 99);
        if (value >= base) return false;
        digit = true;
    }
    return digit;
}

// A number written as the language means it: decimal ("12", ".5", "1e-5"), or digits valid in
// their base with its suffix ("FFh", "101b", "17o", "1.1b", "21s3").
bool IsCleanNumber(std::string_view word) {
    if (LeadingDecimalLength(word) == word.size()) return true;
    const std::size_t s = word.find(NumberedSuffix().letter);
    if (s != std::string_view::npos && s + 1 < word.size()) {
        const std::string_view base = word.substr(s + 1);
        if (LeadingDecimalLength(base) != base.size()) return false;
        const long double value = LeadingDecimal(base);
        return value >= 2 && value <= 36 && std::trunc(value) == value &&
               AreDigitsIn(word.substr(0, s), static_cast<int>(value));
    }
    const NumberSuffix* suffix = SuffixOfLetter(word.back());
    return suffix && suffix->base != 0 && AreDigitsIn(word.substr(0, word.size() - 1), suffix->base);
}

class Diagnosis {
public:
    explicit Diagnosis(std::string_view typed)
        : typed_(typed), compiled_(filter_.Apply(typed, origins_)), cuts_(compiled_) {}

    std::vector<Diagnostic> Run() {
        CheckBlanks();
        CheckMacros();
        CheckBrackets();
        Sum(0, compiled_.size(), 0, false);
        std::stable_sort(found_.begin(), found_.end(),
                         [](const Diagnostic& a, const Diagnostic& b) { return a.position < b.position; });
        found_.erase(std::unique(found_.begin(), found_.end(),
                                 [](const Diagnostic& a, const Diagnostic& b) {
                                     return a.position == b.position && a.message == b.message;
                                 }),
                     found_.end());
        return std::move(found_);
    }

private:
    bool Inserted(std::size_t i) const { return (origins_[i] & Filter::kInserted) != 0; }
    std::size_t Typed(std::size_t i) const { return origins_[i] & ~Filter::kInserted; }

    // What was typed for compiled_[begin, end): the typed span from its first character to the
    // next one's (a macro's own characters come from its name; what it dropped lies inside).
    std::string_view TypedText(std::size_t begin, std::size_t end) const {
        if (begin >= end) return {};
        std::size_t from = Typed(begin), to = from;
        bool plain = true;
        for (std::size_t i = begin; i < end; ++i) {
            plain = plain && !Inserted(i) && Typed(i) >= to;
            to = std::max(to, Typed(i) + 1);
        }
        if (!plain && end == compiled_.size()) to = typed_.size();
        if (!plain && end < compiled_.size() && !Inserted(end) && Typed(end) > from) to = Typed(end);
        while (to > from + 1 && IsBlank(typed_[to - 1])) --to;
        return typed_.substr(from, to - from);
    }

    void Report(std::size_t typedPosition, std::string message) {
        found_.push_back({typedPosition, std::move(message)});
    }

    // A doubt about compiled_[at]; none about what a bar or a macro put there (a doubt about
    // the bar or the macro itself is told where it is typed).
    void ReportAt(std::size_t at, std::string message) {
        if (at >= compiled_.size() || Inserted(at)) return;
        Report(Typed(at), std::move(message));
    }

    // "2 1" is 21: blanks join what they stand between.
    void CheckBlanks() {
        for (std::size_t i = 0; i < typed_.size(); ++i) {
            if (!IsBlank(typed_[i]) || i == 0 || !IsWordChar(typed_[i - 1])) continue;
            std::size_t after = i;
            while (after < typed_.size() && IsBlank(typed_[after])) ++after;
            if (after == typed_.size() || !IsWordChar(typed_[after])) continue;
            std::size_t left = i, right = after;
            while (left > 0 && IsWordChar(typed_[left - 1])) --left;
            while (right < typed_.size() && IsWordChar(typed_[right])) ++right;
            const std::string_view before = typed_.substr(left, i - left), next = typed_.substr(after, right - after);
            Report(i, "пробел не разделяет " + Quoted(before) + " и " + Quoted(next) + ": читается " +
                          Quoted(std::string(before) + std::string(next)));
            i = after - 1;
        }
    }

    // Each macro where it is typed: its arguments must close, the bracketed one must follow the
    // angled one at once, and neither may be empty.
    void CheckMacros() {
        std::string plain;  // the typed text without blanks
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < typed_.size(); ++i) {
            if (IsBlank(typed_[i])) continue;
            plain.push_back(typed_[i]);
            at.push_back(i);
        }
        if (plain.find('<') == std::string::npos) return;
        const std::vector<std::size_t> angles = Closings(plain, '<', '>'), rounds = Closings(plain, '(', ')');
        auto closing = [&](const std::vector<std::size_t>& table, std::size_t from) {
            return from < table.size() ? table[from] : std::string::npos;
        };
        for (const MacroTemplate& macro : filter_.Macros()) {
            const std::string name = macro.opening.substr(0, macro.opening.size() - 1);
            for (std::size_t p = plain.find(macro.opening); p != std::string::npos;
                 p = plain.find(macro.opening, p + 1)) {
                const std::size_t angle = p + macro.opening.size() - 1;
                const std::size_t close = closing(angles, angle + 1);
                if (close == std::string::npos) {
                    Report(at[angle], "угловая скобка макроса " + Quoted(name) + " не закрыта");
                    continue;
                }
                if (close == angle + 1) Report(at[angle], "пустой аргумент в угловых скобках макроса " + Quoted(name));
                if (close + 1 >= plain.size() || plain[close + 1] != '(') {
                    const std::string dropped =
                        close + 1 < plain.size() ? ": " + Quoted(plain.substr(close + 1, 1)) + " пропускается" : "";
                    Report(at[close], "после угловых скобок макроса " + Quoted(name) + " нужна скобка «(»" + dropped);
                    continue;
                }
                const std::size_t end = closing(rounds, close + 2);
                if (end == std::string::npos)
                    Report(at[close + 1], "скобка макроса " + Quoted(name) + " не закрыта");
                else if (end == close + 2)
                    Report(at[close + 1], "пустой аргумент в скобках макроса " + Quoted(name));
            }
        }
    }

    // For each position of `text`, where the level open there closes (the first `close` that
    // would take it below), or npos: a macro's argument runs from its bracket to there.
    static std::vector<std::size_t> Closings(const std::string& text, char open, char close) {
        std::vector<std::size_t> table(text.size(), std::string::npos);
        auto next = [&](std::size_t q) { return q < text.size() ? table[q] : std::string::npos; };
        for (std::size_t p = text.size(); p-- > 0;) {
            if (text[p] == close)
                table[p] = p;
            else if (text[p] == open)
                table[p] = next(p + 1) == std::string::npos ? std::string::npos : next(next(p + 1) + 1);
            else
                table[p] = next(p + 1);
        }
        return table;
    }

    void CheckBrackets() {
        std::vector<std::size_t> open;
        for (std::size_t i = 0; i < compiled_.size(); ++i) {
            const char c = compiled_[i];
            if (c == '|') {
                Report(Typed(i), "непарная черта модуля «|»");
            } else if (c == '(') {
                open.push_back(i);
            } else if (c == ')') {
                if (!open.empty()) {
                    open.pop_back();
                } else {
                    stray_.push_back(i);
                    if (!Inserted(i)) Report(Typed(i), "лишняя скобка «)»");
                }
            }
        }
        for (std::size_t i : open) {
            if (!Inserted(i))
                Report(Typed(i), "скобка «(» не закрыта");
            else if (typed_[Typed(i)] == '|')
                Report(Typed(i), "черта модуля «|» не закрыта");
        }
    }

    bool HasStrayClosing(std::size_t begin, std::size_t end) const {
        const auto it = std::lower_bound(stray_.begin(), stray_.end(), begin);
        return it != stray_.end() && *it < end;
    }

    void Sum(std::size_t begin, std::size_t end, int depth, bool exponent) {
        if (depth > UnitCompiler::kMaxDepth) return;
        if (begin < end && FormulaCuts::IsSign(compiled_[begin])) Signs(begin, end, true);
        cuts_.ForEachTerm(begin, end, exponent, [&](std::size_t, std::size_t termBegin, std::size_t termEnd, bool) {
            Term(termBegin, termEnd, depth, exponent);
            // A run of signs starts at a cut that follows a term.
            if (termEnd < end && (termEnd == begin || !FormulaCuts::IsSign(compiled_[termEnd - 1])))
                Signs(termEnd, end, false);
        });
    }

    // The run of signs at `from`, where the sum is cut: each sign after the first cuts again or
    // opens an empty term, so the run is not read as the product of its signs.
    void Signs(std::size_t from, std::size_t end, bool opensSum) {
        std::size_t last = from;
        while (last + 1 < end && FormulaCuts::IsSign(compiled_[last + 1])) ++last;
        if (last + 1 == end) {
            ReportAt(last, "после " + Quoted(compiled_.substr(last, 1)) + " ничего нет");
            return;
        }
        const std::size_t count = last - from + 1;
        if (count < 2) return;
        auto minus = [&](std::size_t k) { return compiled_[from + k - 1] == '-'; };  // the k-th sign, from 1
        // Cuts fall on the odd signs after a term, on the even ones where a sum opens.
        const bool lastCuts = (count % 2 == 1) != opensSum;
        const bool read = lastCuts ? minus(count) : (minus(count) || minus(count - 1));
        std::size_t minuses = 0;
        for (std::size_t k = 1; k <= count; ++k) minuses += minus(k);
        if (read != (minuses % 2 == 1))
            ReportAt(from,
                     "знаки " + Quoted(compiled_.substr(from, count)) + " читаются как " + (read ? "«-»" : "«+»"));
    }

    void Term(std::size_t begin, std::size_t end, int depth, bool inExponent) {
        cuts_.ForEachFactor(begin, end, inExponent, [&](const FactorPiece& piece) {
            Factor(piece, depth);
            if (piece.exponentBegin > piece.end) {
                if (piece.exponentEnd == piece.exponentBegin)
                    ReportAt(piece.end, "после «^» ничего нет");
                else if (!IsExponentName(std::string_view(compiled_).substr(piece.exponentBegin,
                                                                            piece.exponentEnd - piece.exponentBegin)))
                    Sum(piece.exponentBegin, piece.exponentEnd, depth + 1, true);
            }
            const std::size_t next = piece.exponentEnd;  // the "*" or "/" after the factor, if any
            if (next < end && next + 1 == end)
                ReportAt(next, "после " + Quoted(compiled_.substr(next, 1)) + " ничего нет");
        });
    }

    void Factor(const FactorPiece& piece, int depth) {
        const FactorShape shape = cuts_.Shape(piece);
        if (shape.begin == shape.end) {
            ReportAt(shape.begin - 1, "после " + Quoted(compiled_.substr(shape.begin - 1, 1)) + " ничего нет");
            return;
        }
        const std::string_view factor = std::string_view(compiled_).substr(shape.begin, shape.end - shape.begin);
        const std::string_view head = std::string_view(compiled_).substr(shape.begin, shape.headEnd - shape.begin);
        if (shape.code != FunctionCode::None) {
            Call(shape, head, depth);
        } else if (shape.open != FactorShape::kNone) {
            Inner(shape, depth);
        } else if (IsOperator(factor.front())) {
            ReportAt(shape.begin, "лишний знак " + Quoted(factor.substr(0, 1)) + ": " +
                                      Quoted(TypedText(shape.begin, shape.end)) + " читается как " +
                                      NumberText(ReadNumberOperand(factor)));
        } else if (HasStrayClosing(shape.begin, shape.end)) {
            // A stray ")" is told by itself.
        } else if (const LanguageName* name = NameOfFactor(factor)) {
            if (factor.size() > name->name.size())
                ReportAt(shape.begin,
                         Quoted(TypedText(shape.begin, shape.end)) + " читается как " + std::string(name->name));
        } else if (factor.front() != '|' && !IsCleanNumber(factor)) {
            const long double value = ReadNumberOperand(factor);
            if (!IsDigit(factor.front()) && factor.front() != '.' && value == 0)
                ReportAt(shape.begin,
                         "неизвестное слово " + Quoted(TypedText(shape.begin, shape.headEnd)) + " считается нулём");
            else
                ReportAt(shape.begin, Quoted(TypedText(shape.begin, shape.end)) + " читается как " + NumberText(value));
        }
    }

    void Call(const FactorShape& shape, std::string_view head, int depth) {
        const std::string name(head);
        if (const NumberedHead numbered = NumberedFunctionAt(head);
            numbered.function && LeadingDecimalLength(head.substr(numbered.nameLength)) != head.size() - numbered.nameLength)
            ReportAt(shape.begin, Quoted(TypedText(shape.begin, shape.headEnd)) + " читается как " +
                                      Quoted(std::string(head.substr(0, numbered.nameLength)) + NumberText(shape.n)));
        if (shape.open == FactorShape::kNone) {
            ReportAt(shape.begin, "функция " + Quoted(name) + " без аргумента пропускается");
        } else if (shape.close - shape.open > 2) {
            Inner(shape, depth);
        } else if (const std::size_t close = cuts_.Closing(shape.open);
                   close != FactorShape::kNone && close < shape.end) {
            ReportAt(shape.begin,
                     "у " + Quoted(TypedText(shape.begin, shape.close)) + " пустой аргумент: множитель пропускается");
        } else {
            ReportAt(shape.begin, "функция " + Quoted(name) + " пропускается: скобка не закрыта");
        }
    }

    // The bracketed part of a factor: what follows its ")" inside the factor is dropped, and so
    // is its last character when it never closes.
    void Inner(const FactorShape& shape, int depth) {
        const std::size_t close = cuts_.Closing(shape.open);
        if (close != FactorShape::kNone && close < shape.end) {
            if (close + 1 < shape.end && !HasStrayClosing(close + 1, close + 2))
                ReportAt(close + 1, Quoted(TypedText(close + 1, shape.end)) + " после скобки пропускается");
            Sum(shape.open + 1, close, depth + 1, false);
            return;
        }
        const char dropped = compiled_[shape.close - 1];
        if (shape.close - shape.open >= 2 && dropped != '|' && dropped != '(') {
            const bool bar = Inserted(shape.open) && typed_[Typed(shape.open)] == '|';
            ReportAt(shape.close - 1, Quoted(TypedText(shape.close - 1, shape.close)) + " в конце пропускается: " +
                                          (bar ? "черта модуля не закрыта" : "скобка не закрыта"));
        }
        Sum(shape.open + 1, shape.close, depth + 1, false);
    }

    std::string_view typed_;
    Filter filter_;
    std::vector<std::uint32_t> origins_;
    std::string compiled_;
    FormulaCuts cuts_;
    std::vector<Diagnostic> found_;
    std::vector<std::size_t> stray_;  // the ")" of compiled_ that close nothing, in order
};

}  // namespace

std::vector<Diagnostic> Diagnose(std::string_view text) {
    if (text.size() >= Filter::kInserted) return {{0, "текст слишком длинный, чтобы его проверить"}};
    return Diagnosis(text).Run();
}

std::size_t CharacterNumber(std::string_view text, const Diagnostic& d) {
    const auto end = text.begin() + static_cast<std::ptrdiff_t>(std::min(d.position, text.size()));
    const auto before =
        std::count_if(text.begin(), end, [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
    return static_cast<std::size_t>(before) + 1;
}

}  // namespace kq
