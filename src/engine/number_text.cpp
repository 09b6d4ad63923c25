#include "engine/number_text.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <string>

#include "engine/language_tables.h"

namespace kq {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

#if !defined(_WIN32)
// The C locale, made once: a point is the decimal separator whatever the process's locale.
locale_t CNumericLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}
#endif

// The C library's conversion of a decimal in the C notation, correctly rounded over the whole
// range, subnormals and overflow included, whatever the length.
long double ReadDecimal(const std::string& number) {
#if defined(_WIN32)
    // Windows has no locale a thread can switch to for one call: the point becomes the
    // locale's own before the conversion reads it.
    std::string text = number;
    if (const std::size_t point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, std::localeconv()->decimal_point);
    return std::strtold(text.c_str(), nullptr);
#else
    return strtold_l(number.c_str(), nullptr, CNumericLocale());
#endif
}

}  // namespace

std::size_t LeadingDecimalLength(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < n && IsDigit(text[i])) ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < n && IsDigit(text[j])) {
            while (j < n && IsDigit(text[j])) ++j;
            i = j;
        }
    }
    return i;
}

long double LeadingDecimal(std::string_view text) {
    const std::size_t len = LeadingDecimalLength(text);
    if (len == 0) return 0.0L;
    // That the conversion sets errno for an overflow or a subnormal is no failure here.
    const std::string number(text.substr(0, len));
    const int savedErrno = errno;
    const long double value = ReadDecimal(number);
    errno = savedErrno;
    return value;
}

long double DigitsInBase(std::string_view text, long double base) {
    const std::size_t end = text.find_first_of(SuffixLetters());
    const std::string_view body = text.substr(0, end);
    const bool negative = !text.empty() && text.front() == '-';
    std::string digits;
    digits.reserve(body.size());
    for (char c : body)
        if (c != '-') digits.push_back(c);
    const std::size_t point = digits.find_first_of(".,");
    const std::string_view whole = std::string_view(digits).substr(0, point);
    const std::string_view fraction =
        point == std::string::npos ? std::string_view() : std::string_view(digits).substr(point + 1);
    auto digitValue = [](char c) -> long double {
        const int code = static_cast<unsigned char>(c);
        return code < 'A' ? code - '0' : code - 55;
    };
    long double value = 0.0L;
    for (char c : whole) value = value * base + digitValue(c);
    long double part = 0.0L;
    for (auto it = fraction.rbegin(); it != fraction.rend(); ++it) part = (part + digitValue(*it)) / base;
    value += part;
    return negative ? -value : value;
}

long double ReadNumberOperand(std::string_view text) {
    if (text.empty()) return 0.0L;
    // A base written after its letter, anywhere with something after it; else a fixed base's
    // letter at the end.
    const std::size_t s = text.find(NumberedSuffix().letter);
    if (s != std::string_view::npos && s + 1 < text.size()) {
        const long double base = LeadingDecimal(text.substr(s + 1));
        const bool digitBefore = s > 0;
        if (!(base > 0) || !digitBefore) return 0.0L;
        return DigitsInBase(text, base);
    }
    const NumberSuffix* suffix = SuffixOfLetter(text.back());
    return suffix && suffix->base != 0 ? DigitsInBase(text, suffix->base) : LeadingDecimal(text);
}

#if defined(_WIN32)
// Windows has no C locale a thread can switch to for one call; the one character the locale
// changes in these formats, the decimal point, is put back instead.
std::string FormatC(const char* format, long double value) {
    char buffer[128];
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    if (n < 0) return std::string();
    std::string text(buffer, std::min<std::size_t>(n, sizeof buffer - 1));
    const std::string point = std::localeconv()->decimal_point;
    if (point != "." && !point.empty())
        if (const std::size_t at = text.find(point); at != std::string::npos) text.replace(at, point.size(), ".");
    return text;
}
#else
std::string FormatC(const char* format, long double value) {
    const locale_t previous = uselocale(CNumericLocale());
    char buffer[128];
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    uselocale(previous);
    return n < 0 ? std::string() : std::string(buffer, std::min<std::size_t>(n, sizeof buffer - 1));
}
#endif

bool ParseWholeDecimal(std::string_view text, long double& value) {
    const std::size_t length = LeadingDecimalLength(text);
    if (length == 0 || length != text.size()) return false;
    value = LeadingDecimal(text);
    return true;
}

}  // namespace kq
