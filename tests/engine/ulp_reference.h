// Reading the reference tables that mpmath writes at build time (every number as the hex of
// its 80 bits, a true value as the sum of two long doubles) and measuring a result's distance
// from the true value in units in the last place.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kq::test {

// "3fff8000000000000000" is 1: sign and exponent first, then the 64-bit significand.
inline long double FromHex80(const std::string& hex) {
    unsigned char bytes[16] = {};
    for (int i = 0; i < 10; ++i) bytes[9 - i] = static_cast<unsigned char>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
    long double v = 0;
    std::memcpy(&v, bytes, 10);
    return v;
}

// The 80 bits of v as FromHex80 reads them, for messages that name a value exactly.
inline std::string ToHex80(long double v) {
    unsigned char bytes[16] = {};
    std::memcpy(bytes, &v, 10);
    char text[21];
    for (int i = 0; i < 10; ++i) std::snprintf(text + 2 * i, 3, "%02x", bytes[9 - i]);
    return text;
}

// The true value high + low (high the long double nearest to it).
struct TrueValue {
    long double high = 0, low = 0;
};

// |got - true value| in ulps of the true value (the ulp of its binade: below a power of two
// that is half the power's own). NaN and infinities count as infinitely far, unless `got`
// is the same infinity.
inline double UlpsFrom(long double got, const TrueValue& v) {
    if (std::isinf(v.high) || std::isinf(got)) return got == v.high ? 0 : INFINITY;
    if (std::isnan(got)) return INFINITY;
    if (v.high == 0) return got == 0 ? 0 : INFINITY;
    const int e = std::ilogb(v.high);
    long double ulp = std::ldexp(1.0L, e - 63);
    if (std::fabs(v.high) == std::ldexp(1.0L, e) && v.low != 0 && std::signbit(v.low) != std::signbit(v.high))
        ulp /= 2;
    // Both subtractions are exact or nearly so: got and high are a few ulps apart.
    return static_cast<double>(std::fabs(((got - v.high) - v.low) / ulp));
}

// The lines of a table, split at blanks; an unreadable file gives none.
inline std::vector<std::vector<std::string>> ReadTable(const std::string& path) {
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::vector<std::string> row;
        std::string field;
        while (fields >> field) row.push_back(field);
        if (!row.empty()) rows.push_back(row);
    }
    return rows;
}

}  // namespace kq::test
