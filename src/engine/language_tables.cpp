#include "engine/language_tables.h"

#include <algorithm>

namespace kq {
namespace {

// clang-format off
constexpr NumberSuffix kSuffixes[] = {
    // letter base  system               examples
    {'b',    2,    "двоичная",          {"101b", "0.1b"}},
    {'o',    8,    "восьмеричная",      {"17o", nullptr}},
    {'h',    16,   "шестнадцатеричная", {"FFh", nullptr}},
    {'s',    0,    "с основанием N",    {"21s3", "20s5"}},
};

constexpr MacroInfo kMacros[] = {
    // name   template             meaning                        example, what it gives
    {"pow",  "((%1)^(%2))",        "a в степени b",               "pow<2>(x)", "= x²"},
    {"rtt",  "((%1)^(1/(%2)))",    "корень степени b из a",       "rtt<3>(-8)", "= −2"},
    {"log",  "(lg(%1)/lg(%2))",    "логарифм a по основанию b",
     "log<2>(8)", "≈ 3 (частное lg(8)/lg(2), точное до 16 знаков)"},
};

constexpr LanguageName kNames[] = {
    {"x",  NameKind::VariableX,     "переменная; любое слово, начинающееся с x, — тоже x: x2 — это x"},
    {"y",  NameKind::VariableY,     "вторая переменная (поверхность z = f(x, y)); любое слово на y — тоже y"},
    {"pi", NameKind::Pi,            "число π"},
    {"e",  NameKind::EulerExponent, "число e, только как весь показатель степени: x^e; в других местах e — это 0"},
};
// clang-format on

// Every suffix letter once, in the table's order.
constexpr auto kLetters = [] {
    std::array<char, std::size(kSuffixes)> letters{};
    for (std::size_t i = 0; i < std::size(kSuffixes); ++i) letters[i] = kSuffixes[i].letter;
    return letters;
}();

}  // namespace

NumberedHead NumberedFunctionAt(std::string_view head) {
    for (const FunctionInfo& f : LanguageFunctions()) {
        if (!f.numbered) continue;
        for (std::string_view name : f.names)
            if (!name.empty() && head.size() > name.size() && head.starts_with(name)) return {&f, name.size()};
    }
    return {};
}

std::span<const NumberSuffix> NumberSuffixes() { return kSuffixes; }

const NumberSuffix* SuffixOfLetter(char c) {
    for (const NumberSuffix& s : kSuffixes)
        if (s.letter == c) return &s;
    return nullptr;
}

std::string_view SuffixLetters() { return std::string_view(kLetters.data(), kLetters.size()); }

const NumberSuffix* SuffixOfBase(int base) {
    for (const NumberSuffix& s : kSuffixes)
        if (s.base != 0 && s.base == base) return &s;
    return nullptr;
}

const NumberSuffix& NumberedSuffix() {
    return *std::find_if(std::begin(kSuffixes), std::end(kSuffixes), [](const NumberSuffix& s) { return s.base == 0; });
}

std::span<const MacroInfo> LanguageMacros() { return kMacros; }

std::span<const LanguageName> LanguageNames() { return kNames; }

const LanguageName* NameOfFactor(std::string_view factor) {
    for (const LanguageName& n : kNames) {
        switch (n.kind) {
            case NameKind::VariableX:
            case NameKind::VariableY:
                if (factor.starts_with(n.name)) return &n;
                break;
            case NameKind::Pi:
                if (factor == n.name) return &n;
                break;
            case NameKind::EulerExponent: break;
        }
    }
    return nullptr;
}

bool IsExponentName(std::string_view exponent) {
    for (const LanguageName& n : kNames)
        if (n.kind == NameKind::EulerExponent && exponent == n.name) return true;
    return false;
}

}  // namespace kq
