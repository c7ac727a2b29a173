#include "engine/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <locale>

#include "engine/Faults.h"

namespace corvanta {
namespace {

TEST(FormatGeneral, SignificantDigitsAndNotation) {
    const long double inf = std::numeric_limits<long double>::infinity();
    // clang-format off
    const struct {
        long double Value;
        const char* Text;
        int Digits = 0;  // 0: the default of 15
    } cases[] = {
        {0.0L, "0"}, {-0.0L, "0"}, {1.0L / 3.0L, "0.333333333333333"},
        {2.0L / 3.0L, "0.666666666666667"}, {0.333333333333333L * 3.0L, "0.999999999999999"},
        {3.14159265358979323846L, "3.14159265358979"}, {1.5e-5L, "1.5E-5"}, {-1.5e-5L, "-1.5E-5"},
        {1e20L, "1E20"}, {1e15L, "1E15"}, {999999999999999.0L, "999999999999999"},
        {9999999999999999.0L, "1E16"},
        // An exact half goes away from zero.
        {123456789012345.5L, "123456789012346"}, {-123456789012345.5L, "-123456789012346"},
        {0.0001L, "0.0001"}, {0.00015L, "0.00015"},
        // Rounding lifts it into fixed notation.
        {0.00009999999999999999L, "0.0001"}, {0.00009999L, "9.999E-5"}, {-2.5L, "-2.5"},
        {100.0L, "100"}, {1234567.0L, "1234567"}, {0.1L, "0.1"},
        {static_cast<long double>(0.1), "0.1"}, {1e-300L, "1E-300"}, {1e4000L, "1E4000"},
        {inf, "INF"}, {-inf, "-INF"}, {std::numeric_limits<long double>::quiet_NaN(), "NAN"},
        {1.0L / 3.0L, "0.3333333", 7}, {12345678.0L, "1.234568E7", 7}, {0.5L, "0.5", 1}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(c.Digits ? FormatGeneral(c.Value, c.Digits) : FormatGeneral(c.Value), c.Text)
            << c.Text;
    }
    EXPECT_EQ(RoundToGeneral(1.0L / 3.0L), ParseFloat("0.333333333333333"));
    EXPECT_EQ(RoundToGeneral(2.0L), 2.0L);
}

TEST(FormatPattern, FixedAndExponentPatterns) {
    // clang-format off
    const struct {
        const char* Pattern;
        long double Value;
        const char* Text;
    } cases[] = {
        {"####0.#####", 9.98016L, "9.98016"}, {"####0.#####", 10.0199L, "10.0199"},
        {"####0.#####", 0.5L, "0.5"}, {"####0.#####", 2.0L, "2"}, {"####0.#####", 0.0L, "0"},
        {"####0.#####", 1234567.123456L, "1234567.12346"}, {"####0.#####", -0.000001L, "0"},
        {"######0.####", 10.00006L, "10.0001"}, {"######0.#####", -1500.25L, "-1500.25"},
        {"0.00000e-0", 12345678.0L, "1.23457e7"}, {"0.00000e-0", 0.001234L, "1.23400e-3"},
        {"0.00000e-0", -0.001234L, "-1.23400e-3"}, {"0.00000e-0", 0.0L, "0.00000e0"},
        {"0.00000e-0", 9.999996e10L, "1.00000e11"}, {"0.0000000e-0", 1.0e-12L, "1.0000000e-12"},
        {"0.0E-00", 3470.0L, "3.5E03"}, {"0.0E-00", 3.47e-5L, "3.5E-05"},
        {"0.000E-00", 123000.0L, "1.230E05"}, {"0.0E+00", 3470.0L, "3.5E+03"},
        {"00.0E+00", 3470.0L, "34.7E+02"}, {"00.0E+00", 0.00347L, "34.7E-04"}, {"##", 0.0L, ""},
        {"##", 100.0L, "100"}, {"##", 4.0L, "4"}, {"#0.00", -0.001L, "0.00"},
        {"#0.0000", 0.0034L, "0.0034"},
        {"0.0", 0.25L, "0.3"},  // exact half: away from zero
        {"0.0", -0.25L, "-0.3"},
        {"0.0", 0.35L, "0.3"},  // 0.35 is stored slightly below the half
        {"0.0", 0.0L, "0.0"}, {"#######0.00", 12345678.9L, "12345678.90"}, {"", 0.25L, "0.25"}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(FormatPattern(c.Pattern, c.Value), c.Text) << c.Pattern << " " << c.Text;
}

TEST(ParseFloat, AcceptsTheNumberSyntaxOnly) {
    // clang-format off
    const std::pair<const char*, long double> valid[] = {
        {"1.5", 1.5L}, {" 2 ", 2.0L}, {"+3", 3.0L}, {"-.5", -0.5L}, {".", 0.0L}, {"5.", 5.0L},
        {"1e5", 1e5L}, {"1E-5", 1e-5L}, {"1e+5", 1e5L}, {"-0", 0.0L}, {"0.1", 0.1L},
        {"1e-99999", 0.0L}, {"1e4000", 1e4000L}};
    // clang-format on
    for (const auto& [text, expected] : valid) {
        long double value = -123;
        EXPECT_TRUE(TryParseFloat(text, value)) << "'" << text << "'";
        EXPECT_EQ(value, expected) << "'" << text << "'";
    }
    for (const char* text : {"1e", "e5", "", " ", "1,5", "INF", "NAN", "0x10", "1.2.3", "--1",
                             "1e99999", "1 2", "\t1", "1e5.5", "abc", "-", "+"}) {
        long double value;
        EXPECT_FALSE(TryParseFloat(text, value)) << "'" << text << "'";
    }
    for (long double v : {1.0L / 3.0L, 1.5e-5L, 1e20L, -2.75L, 3.14159265358979L, 1e-4000L})
        EXPECT_EQ(FormatGeneral(ParseFloat(FormatGeneral(v))), FormatGeneral(v));
}

TEST(ParseInteger, AcceptsThe32BitRange) {
    // clang-format off
    const std::pair<const char*, std::int32_t> valid[] = {
        {"12", 12}, {" 12", 12}, {"+12", 12}, {"-2147483648", -2147483647 - 1},
        {"2147483647", 2147483647}};
    // clang-format on
    for (const auto& [text, expected] : valid) {
        std::int32_t value = -7;
        EXPECT_TRUE(TryParseInteger(text, value)) << "'" << text << "'";
        EXPECT_EQ(value, expected) << "'" << text << "'";
    }
    for (const char* text :
         {"2147483648", "-2147483649", "12 ", "1.0", "", "-", "1e3", "99999999999999999999"}) {
        std::int32_t value;
        EXPECT_FALSE(TryParseInteger(text, value)) << "'" << text << "'";
    }
}

TEST(NumberText, ParseFailuresCarryTheSystemText) {
    try {
        ParseFloat("abc");
        ADD_FAILURE() << "no exception";
    } catch (const CalcError& e) {
        EXPECT_EQ(e.Kind(), FaultKind::Conversion);
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
    try {
        ParseInteger("1.5");
        ADD_FAILURE() << "no exception";
    } catch (const CalcError& e) {
        EXPECT_STREQ(e.what(), "'1.5' is not a valid integer value");
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
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "C.UTF-8"})
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
