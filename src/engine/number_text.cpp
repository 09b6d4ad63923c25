#include "engine/number_text.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <cmath>
#include <algorithm>
#include <string>

namespace kq {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a decimal number without a sign, correctly rounded; false when it is out of range
// (value untouched).
bool ReadDecimal(std::string_view number, long double& value) {
#if defined(_WIN32)
    // MinGW's from_chars reads long double through double; strtold reads all 64 bits, in the
    // locale's notation, so the point becomes the locale's.
    std::string text(number);
    if (const std::size_t point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, std::localeconv()->decimal_point);
    errno = 0;
    const long double v = std::strtold(text.c_str(), nullptr);
    if (errno == ERANGE) return false;
    value = v;
    return true;
#else
    return std::from_chars(number.data(), number.data() + number.size(), value).ec != std::errc::result_out_of_range;
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
    std::string_view number = text.substr(0, len);
    bool negative = false;
    if (number.front() == '+' || number.front() == '-') {
        negative = number.front() == '-';
        number.remove_prefix(1);
    }
    long double value = 0.0L;
    if (!ReadDecimal(number, value)) {
        // from_chars leaves the value alone on overflow and underflow; tell them apart by
        // the exponent's sign the way strtold would answer.
        const auto e = number.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
        value = tiny ? 0.0L : HUGE_VALL;
    }
    return negative ? -value : value;
}

long double DigitsInBase(std::string_view text, long double base) {
    const std::size_t end = text.find_first_of("sohb");
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
    const std::size_t s = text.find('s');
    if (s != std::string_view::npos && s + 1 < text.size()) {
        const long double base = LeadingDecimal(text.substr(s + 1));
        const bool digitBefore = s > 0;
        if (!(base > 0) || !digitBefore) return 0.0L;
        return DigitsInBase(text, base);
    }
    switch (text.back()) {
        case 'b': return DigitsInBase(text, 2);
        case 'h': return DigitsInBase(text, 16);
        case 'o': return DigitsInBase(text, 8);
        default: return LeadingDecimal(text);
    }
}

}  // namespace kq

#include <clocale>
#include <cstdio>
#include <locale.h>

namespace kq {

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
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    const locale_t previous = uselocale(cLocale);
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
