#include "calc/integer_digits.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/number_text.h"

namespace kq {
namespace {

// Prefixes of at most a few more digits than 64 bits need: 128 bits hold them in any base.
using Wide = unsigned __int128;

unsigned DigitValue(char c) { return c <= '9' ? static_cast<unsigned>(c - '0') : static_cast<unsigned>(c - 'A' + 10); }

std::string WideDigits(Wide value, unsigned base) {
    if (value == 0) return "0";
    std::string digits;
    for (; value > 0; value /= base) digits.push_back(DigitChar(static_cast<unsigned>(value % base)));
    std::reverse(digits.begin(), digits.end());
    return digits;
}

// The shortest prefix search for one number of significant digits: the prefixes near `start`,
// each followed by `zeros` zeros, read back by the engine. The reading grows with the prefix,
// so a walk outward in doubling steps brackets the value and halving narrows the bracket.
class PrefixSearch {
public:
    PrefixSearch(long double target, unsigned base, const std::string& suffix)
        : target_(target), base_(base), suffix_(suffix) {}

    // True when a prefix reads back exactly; `Exact()` is then that digit string.
    bool Find(Wide start, std::size_t zeros) {
        zeros_ = zeros;
        long double d = Difference(start);
        if (d == 0) return true;
        Wide below = start, above = start;
        bool bracketed = false;
        for (Wide step = 1; step != 0 && !bracketed; step *= 2) {
            if (d < 0) {
                below = above;
                above = below + step;
                if (above < below) return false;  // no bracket within 128 bits
                d = Difference(above);
                bracketed = d > 0;
            } else {
                if (below == 0) return false;  // even zero reads above the value
                above = below;
                below = above > step ? above - step : 0;
                d = Difference(below);
                bracketed = d < 0;
            }
            if (d == 0) return true;
        }
        if (!bracketed) return false;
        while (above - below > 1) {
            const Wide middle = below + (above - below) / 2;
            d = Difference(middle);
            if (d == 0) return true;
            (d < 0 ? below : above) = middle;
        }
        return false;
    }

    // The digits of the last exact reading, and of the nearest reading of all.
    const std::string& Exact() const { return exact_; }
    const std::string& Nearest() const { return nearest_; }

private:
    // The engine's reading of the prefix and its zeros, minus the target; the nearest reading
    // so far is kept (the first of equals, so the shortest).
    long double Difference(Wide prefix) {
        text_ = WideDigits(prefix, base_);
        text_.append(zeros_, '0');
        const std::size_t digits = text_.size();
        text_ += suffix_;
        const long double d = ReadNumberOperand(text_) - target_;
        if (d == 0) exact_ = text_.substr(0, digits);
        if (std::fabs(d) < nearestError_) {
            nearestError_ = std::fabs(d);
            nearest_ = text_.substr(0, digits);
        }
        return d;
    }

    long double target_;
    unsigned base_;
    const std::string& suffix_;
    std::size_t zeros_ = 0;
    std::string text_;
    std::string exact_;
    std::string nearest_;
    long double nearestError_ = INFINITY;
};

}  // namespace

char DigitChar(unsigned digit) {
    return digit < 10 ? static_cast<char>('0' + digit) : static_cast<char>('A' + digit - 10);
}

std::string ExactIntegerDigits(long double integer, unsigned base) {
    if (!(integer >= 1)) return "0";
    int exponent = 0;
    const long double mantissa = std::frexp(integer, &exponent);  // integer = mantissa * 2^exponent
    // As a big number: 64 bits of mantissa shifted left by exponent - 64.
    auto bits = static_cast<std::uint64_t>(std::ldexp(mantissa, 64));
    int shift = exponent - 64;
    if (shift < 0) {
        bits >>= -shift;
        shift = 0;
    }
    std::vector<std::uint32_t> limbs;  // little-endian
    limbs.push_back(static_cast<std::uint32_t>(bits));
    limbs.push_back(static_cast<std::uint32_t>(bits >> 32));
    for (; shift >= 32; shift -= 32) limbs.insert(limbs.begin(), 0);
    if (shift > 0) {
        std::uint32_t carry = 0;
        for (auto& limb : limbs) {
            const std::uint64_t v = (static_cast<std::uint64_t>(limb) << shift) | carry;
            limb = static_cast<std::uint32_t>(v);
            carry = static_cast<std::uint32_t>(v >> 32);
        }
        if (carry) limbs.push_back(carry);
    }
    while (!limbs.empty() && limbs.back() == 0) limbs.pop_back();
    // One long division per chunk of digits: by the largest power of the base that fits 32 bits.
    std::uint64_t chunk = base;
    unsigned perChunk = 1;
    while (chunk * base <= 0xFFFFFFFFu) chunk *= base, ++perChunk;
    std::string digits;
    while (!limbs.empty()) {
        std::uint64_t remainder = 0;
        for (auto it = limbs.rbegin(); it != limbs.rend(); ++it) {
            const std::uint64_t v = (remainder << 32) | *it;
            *it = static_cast<std::uint32_t>(v / chunk);
            remainder = v % chunk;
        }
        while (!limbs.empty() && limbs.back() == 0) limbs.pop_back();
        // Every chunk is full except the leading one, which drops its leading zeros.
        for (unsigned i = 0; i < perChunk && (!limbs.empty() || remainder > 0); ++i, remainder /= base)
            digits.push_back(DigitChar(static_cast<unsigned>(remainder % base)));
    }
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::string ShortestIntegerDigits(long double integer, unsigned base, const std::string& suffix) {
    const std::string exact = ExactIntegerDigits(integer, base);
    // A reading that rounds correctly needs no more significant digits than 64 bits fill, plus
    // one; two more give a reading that rounds at every digit its best chance.
    const auto enough = static_cast<std::size_t>(std::ceil(64 / std::log2(static_cast<double>(base)))) + 3;
    const std::size_t most = std::min(exact.size(), enough);
    PrefixSearch search(integer, base, suffix);
    auto prefix = [&](std::size_t k) {
        Wide p = 0;
        for (std::size_t i = 0; i < k; ++i) p = p * base + DigitValue(exact[i]);
        return p;
    };
    // A reading that rounds correctly reads every longer prefix back once a shorter one does:
    // halving finds the fewest digits in a few readings, which matters for long numbers.
    std::size_t fewest = 0, low = 1, high = most;
    std::string shortest;
    while (low <= high) {
        const std::size_t k = low + (high - low) / 2;
        if (search.Find(prefix(k), exact.size() - k)) {
            fewest = k;
            shortest = search.Exact();
            high = k - 1;
        } else {
            low = k + 1;
        }
    }
    return fewest > 0 ? shortest : search.Nearest();
}

}  // namespace kq
