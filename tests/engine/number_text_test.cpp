// Reading numbers from text in the C notation, whatever the locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "decimal_reference.h"
#include "engine/number_text.h"
#include "eval_helpers.h"

namespace kq {
namespace {

TEST(NumberText, LeadingDecimal) {
    const std::vector<std::pair<const char*, long double>> cases = {
        {"12", 12},  {"3.5x", 3.5L}, {".5", 0.5L}, {"1e5", 1e5L},   {"1e", 1},   {"1e+", 1},  {"-2", -2},
        {"+2", 2},   {"abc", 0},     {"", 0},      {".", 0},        {"-", 0},    {"1.", 1},   {"2.5E+3", 2500},
        {"inf", 0},  {"nan", 0},     {"0x10", 0},  {"1e-5000", 0},  {"007", 7},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(LeadingDecimal(text), value) << text;
    EXPECT_TRUE(std::isinf(LeadingDecimal("1e5000")));
}

// The reference's raw fields as a long double.
long double FromFields(const test::DecimalReference& r) {
    long double v = 0;
    unsigned char bytes[sizeof v] = {};
    std::memcpy(bytes, &r.significand, 8);
    std::memcpy(bytes + 8, &r.biasedExponent, 2);
    std::memcpy(&v, bytes, sizeof v);
    return v;
}

std::string Shown(const std::string& text) {
    return text.size() <= 60 ? text : text.substr(0, 30) + "…(" + std::to_string(text.size()) + " chars)";
}

TEST(NumberText, DecimalsAreRoundedCorrectlyOverTheWholeRange) {
    for (const test::DecimalReference& r : test::kDecimalReference) {
        const long double expected = FromFields(r);
        const std::string text = r.text;
        EXPECT_TRUE(test::SameBits(LeadingDecimal(text), expected))
            << Shown(text) << ": " << FormatC("%.21Lg", LeadingDecimal(text)) << " instead of "
            << FormatC("%.21Lg", expected);
        EXPECT_TRUE(test::SameBits(LeadingDecimal("-" + text), -expected)) << "-" << Shown(text);
        EXPECT_TRUE(test::SameBits(LeadingDecimal(text + "x"), expected)) << Shown(text) << "x";
    }
}

// A literal in a formula has those values on every evaluation path.
TEST(NumberText, FormulaLiteralsKeepTheirRoundedValues) {
    for (const test::DecimalReference& r : test::kDecimalReference) {
        const long double expected = FromFields(r);
        const test::Outcome o = test::Evaluate(r.text);
        ASSERT_EQ(o.status, EvalStatus::Ok) << Shown(r.text);
        EXPECT_TRUE(test::SameBits(o.value, expected + 0.0L)) << Shown(r.text);
    }
}

TEST(NumberText, Based) {
    EXPECT_EQ(DigitsInBase("FF", 16), 255);
    EXPECT_EQ(DigitsInBase("-11b", 2), -3);
    EXPECT_EQ(DigitsInBase("1-1b", 2), 3);  // an inner "-" is skipped
    EXPECT_EQ(DigitsInBase("0.01b", 2), 0.25L);
    EXPECT_EQ(ReadNumberOperand("21s3"), 7);
    EXPECT_EQ(ReadNumberOperand("21s-3"), 0);
    EXPECT_EQ(ReadNumberOperand("10s2.5"), 2.5L);
}

void CheckCNotation() {
    EXPECT_EQ(FormatC("%.18Lg", 0.5L), "0.5");
    EXPECT_EQ(FormatC("%.4Lg", 1234567.0L), "1.235e+06");
    long double v = 0;
    EXPECT_TRUE(ParseWholeDecimal("2.25", v));
    EXPECT_EQ(v, 2.25L);
    EXPECT_FALSE(ParseWholeDecimal("2,25", v));
    EXPECT_FALSE(ParseWholeDecimal("", v));
    EXPECT_EQ(LeadingDecimal("1.5e3"), 1500);
}

// Switches LC_NUMERIC to a Russian locale (decimal comma) and back.
class RussianNumbers {
public:
    RussianNumbers() {
        const char* old = std::setlocale(LC_NUMERIC, nullptr);
        saved_ = old ? old : "C";
        active_ = Switch();
    }
    ~RussianNumbers() { std::setlocale(LC_NUMERIC, saved_.c_str()); }
    bool Active() const { return active_; }

private:
    static bool Switch() {
        if (std::setlocale(LC_NUMERIC, "ru_RU.UTF-8")) return IsComma();
#if defined(_WIN32)
        // Windows names its locales its own way.
        if (std::setlocale(LC_NUMERIC, "Russian_Russia.1251")) return IsComma();
#endif
#ifdef KQ_TEST_LOCALES
        // The one the build made, where the system has none installed.
        const char* oldPath = std::getenv("LOCPATH");
        const std::string saved = oldPath ? oldPath : "";
        setenv("LOCPATH", KQ_TEST_LOCALES, 1);
        const bool found = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr;
        if (oldPath) setenv("LOCPATH", saved.c_str(), 1);
        else unsetenv("LOCPATH");
        if (found) return IsComma();
#endif
        return false;
    }
    static bool IsComma() { return std::string(std::localeconv()->decimal_point) == ","; }

    std::string saved_;
    bool active_ = false;
};

TEST(NumberText, FormattingInTheCLocale) { CheckCNotation(); }

TEST(NumberText, FormattingIgnoresARussianLocale) {
    RussianNumbers russian;
    if (!russian.Active()) GTEST_SKIP() << "no Russian locale (ru_RU.UTF-8) on this machine, nor one built for the tests";
    CheckCNotation();
}

}  // namespace
}  // namespace kq
