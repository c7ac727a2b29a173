#include "engine/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <locale>

#include "engine/Faults.h"

namespace corvanta {
namespace {

struct GeneralCase {
    long double value;
    const char* text;
};

TEST(FormatGeneral, WritesFifteenSignificantDigits) {
    const long double inf = std::numeric_limits<long double>::infinity();
    const GeneralCase cases[] = {
        {0.0L, "0"},
        {-0.0L, "0"},
        {1.0L / 3.0L, "0.333333333333333"},
        {2.0L / 3.0L, "0.666666666666667"},
        {0.333333333333333L * 3.0L, "0.999999999999999"},
        {3.14159265358979323846L, "3.14159265358979"},
        {1.5e-5L, "1.5E-5"},
        {-1.5e-5L, "-1.5E-5"},
        {1e20L, "1E20"},
        {1e15L, "1E15"},
        {999999999999999.0L, "999999999999999"},
        {9999999999999999.0L, "1E16"},
        {123456789012345.5L, "123456789012346"},  // an exact half goes away from zero
        {-123456789012345.5L, "-123456789012346"},
        {0.0001L, "0.0001"},
        {0.00015L, "0.00015"},
        {0.00009999999999999999L, "0.0001"},       // rounding lifts it into fixed notation
        {0.00009999L, "9.999E-5"},
        {-2.5L, "-2.5"},
        {100.0L, "100"},
        {1234567.0L, "1234567"},
        {0.1L, "0.1"},
        {static_cast<long double>(0.1), "0.1"},
        {1e-300L, "1E-300"},
        {1e4000L, "1E4000"},
        {inf, "INF"},
        {-inf, "-INF"},
        {std::numeric_limits<long double>::quiet_NaN(), "NAN"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatGeneral(c.value), c.text) << c.text;
}

TEST(FormatGeneral, OtherPrecisions) {
    EXPECT_EQ(FormatGeneral(1.0L / 3.0L, 7), "0.3333333");
    EXPECT_EQ(FormatGeneral(12345678.0L, 7), "1.234568E7");
    EXPECT_EQ(FormatGeneral(0.5L, 1), "0.5");
}

TEST(FormatGeneral, RoundToGeneralMatchesTheText) {
    EXPECT_EQ(RoundToGeneral(1.0L / 3.0L), ParseFloat("0.333333333333333"));
    EXPECT_EQ(RoundToGeneral(2.0L), 2.0L);
}

struct PatternCase {
    const char* pattern;
    long double value;
    const char* text;
};

TEST(FormatPattern, FixedAndExponentPatterns) {
    const PatternCase cases[] = {
        {"####0.#####", 9.98016L, "9.98016"},
        {"####0.#####", 10.0199L, "10.0199"},
        {"####0.#####", 0.5L, "0.5"},
        {"####0.#####", 2.0L, "2"},
        {"####0.#####", 0.0L, "0"},
        {"####0.#####", 1234567.123456L, "1234567.12346"},
        {"####0.#####", -0.000001L, "0"},
        {"######0.####", 10.00006L, "10.0001"},
        {"######0.#####", -1500.25L, "-1500.25"},
        {"0.00000e-0", 12345678.0L, "1.23457e7"},
        {"0.00000e-0", 0.001234L, "1.23400e-3"},
        {"0.00000e-0", -0.001234L, "-1.23400e-3"},
        {"0.00000e-0", 0.0L, "0.00000e0"},
        {"0.00000e-0", 9.999996e10L, "1.00000e11"},
        {"0.0000000e-0", 1.0e-12L, "1.0000000e-12"},
        {"0.0E-00", 3470.0L, "3.5E03"},
        {"0.0E-00", 3.47e-5L, "3.5E-05"},
        {"0.000E-00", 123000.0L, "1.230E05"},
        {"0.0E+00", 3470.0L, "3.5E+03"},
        {"##", 0.0L, ""},
        {"##", 100.0L, "100"},
        {"##", 4.0L, "4"},
        {"#0.00", -0.001L, "0.00"},
        {"#0.0000", 0.0034L, "0.0034"},
        {"0.0", 0.25L, "0.3"},    // exact half: away from zero
        {"0.0", -0.25L, "-0.3"},
        {"0.0", 0.35L, "0.3"},    // 0.35 is stored slightly below the half
        {"0.0", 0.0L, "0.0"},
        {"#######0.00", 12345678.9L, "12345678.90"},
        {"", 0.25L, "0.25"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatPattern(c.pattern, c.value), c.text) << c.pattern << " " << c.text;
}

struct ParseCase {
    const char* text;
    bool valid;
    long double value;
};

TEST(ParseFloat, AcceptsTheNumberSyntaxOnly) {
    const ParseCase cases[] = {
        {"1.5", true, 1.5L},     {" 2 ", true, 2.0L},     {"+3", true, 3.0L},
        {"-.5", true, -0.5L},    {".", true, 0.0L},       {"5.", true, 5.0L},
        {"1e5", true, 1e5L},     {"1E-5", true, 1e-5L},   {"1e+5", true, 1e5L},
        {"-0", true, 0.0L},      {"0.1", true, 0.1L},     {"1e-99999", true, 0.0L},
        {"1e4000", true, 1e4000L},
        {"1e", false, 0},        {"e5", false, 0},        {"", false, 0},
        {" ", false, 0},         {"1,5", false, 0},       {"INF", false, 0},
        {"NAN", false, 0},       {"0x10", false, 0},      {"1.2.3", false, 0},
        {"--1", false, 0},       {"1e99999", false, 0},   {"1 2", false, 0},
        {"\t1", false, 0},       {"1e5.5", false, 0},     {"abc", false, 0},
        {"-", false, 0},         {"+", false, 0},
    };
    for (const auto& c : cases) {
        long double value = -123;
        EXPECT_EQ(TryParseFloat(c.text, value), c.valid) << "'" << c.text << "'";
        if (c.valid) {
            EXPECT_EQ(value, c.value) << "'" << c.text << "'";
        }
    }
}

TEST(ParseFloat, ReadsBackEveryNumberText) {
    for (long double v : {1.0L / 3.0L, 1.5e-5L, 1e20L, -2.75L, 3.14159265358979L, 1e-4000L}) {
        std::string text = FormatGeneral(v);
        EXPECT_EQ(FormatGeneral(ParseFloat(text)), text);
    }
}

TEST(ParseFloat, FailureCarriesTheSystemText) {
    try {
        ParseFloat("abc");
        FAIL() << "no exception";
    } catch (const CalcError& e) {
        EXPECT_EQ(e.Kind(), FaultKind::Conversion);
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
    try {
        ParseInteger("1.5");
        FAIL() << "no exception";
    } catch (const CalcError& e) {
        EXPECT_STREQ(e.what(), "'1.5' is not a valid integer value");
    }
}

TEST(ParseInteger, AcceptsThe32BitRange) {
    struct Case {
        const char* text;
        bool valid;
        std::int32_t value;
    } cases[] = {
        {"12", true, 12},          {" 12", true, 12},   {"+12", true, 12},
        {"-2147483648", true, -2147483647 - 1},         {"2147483647", true, 2147483647},
        {"2147483648", false, 0},  {"-2147483649", false, 0}, {"12 ", false, 0},
        {"1.0", false, 0},         {"", false, 0},      {"-", false, 0},
        {"1e3", false, 0},         {"99999999999999999999", false, 0},
    };
    for (const auto& c : cases) {
        std::int32_t value = -7;
        EXPECT_EQ(TryParseInteger(c.text, value), c.valid) << "'" << c.text << "'";
        if (c.valid) {
            EXPECT_EQ(value, c.value);
        }
    }
}

// A decimal comma in the user's regional settings changes nothing.
class CommaPunct : public std::numpunct<char> {
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(NumberText, IgnoresTheGlobalLocale) {
    std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "C.UTF-8"};
    for (const char* name : names)
        if (std::setlocale(LC_ALL, name)) break;
    EXPECT_EQ(FormatGeneral(1234.5L), "1234.5");
    EXPECT_EQ(FormatPattern("####0.#####", 1234.5L), "1234.5");
    EXPECT_EQ(FormatPattern("0.00000e-0", 1234.5L), "1.23450e3");
    EXPECT_EQ(ParseFloat("1234.5"), 1234.5L);
    long double value = 0;
    EXPECT_FALSE(TryParseFloat("1234,5", value));
    EXPECT_EQ(IntegerText(-1234567), "-1234567");
    std::setlocale(LC_ALL, "C");
    std::locale::global(previous);
}

}  // namespace
}  // namespace corvanta
