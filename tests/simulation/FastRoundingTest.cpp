#include "simulation/FastRounding.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>

#include "engine/NumberText.h"

namespace corvanta {
namespace {

bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, 10) == 0;
}

// Values that a double holds also go through the double entry.
::testing::AssertionResult AgreesWithText(long double x) {
    const long double reference = RoundToGeneral(x);
    const double asDouble = static_cast<double>(x);
    const bool isDouble = static_cast<long double>(asDouble) == x && std::isfinite(asDouble);
    if (SameBits(RoundToGeneralFast(x), reference) &&
        (!isDouble || SameBits(RoundToGeneralFast(asDouble), reference)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << FormatGeneral(x, 21) << " gives " << FormatGeneral(RoundToGeneralFast(x), 21)
           << " instead of " << FormatGeneral(reference, 21);
}

TEST(RoundToGeneralFast, EdgeValues) {
    // clang-format off
    const long double edges[] = {
        0.0L, -0.0L, 1, -1, 0.1L, 1.0L / 3, 2.0L / 3, 0.5L, 1e15L, 1e15L - 1, 1e15L + 1,
        999999999999999.5L, 999999999999999.4L, 99999999999999.95L, 0.0001L,
        0.00009999999999999995L, 0.000099999999999999995L, 1.00000000000000005L,
        1.0000000000000005L, 0.12345678901234550L, 1234567890123455.0L, 2.5e-15L, 1e-13L, 1e27L,
        1e41L, 1e42L, 1e300L, 1e-300L, 1.7976931348623157e308L, 4.9406564584124654e-324L,
        2.2250738585072014e-308L, LDBL_MIN, LDBL_MAX, LDBL_TRUE_MIN, 123456789012345678.0L,
        0.30000000000000004L};
    // clang-format on
    for (long double x : edges) {
        EXPECT_TRUE(AgreesWithText(x));
        EXPECT_TRUE(AgreesWithText(-x));
    }
    for (int e = -330; e <= 330; ++e) {
        const long double power = std::pow(10.0L, e);
        for (long double x : {power, std::nextafter(power, 0.0L), std::nextafter(power, HUGE_VALL),
                              static_cast<long double>(static_cast<double>(power))})
            EXPECT_TRUE(AgreesWithText(x)) << e;
    }
}

TEST(RoundToGeneralFast, ExactHalvesRoundAwayFromZero) {
    // 16-digit integers ending in 5 are exact halves at the 15th digit.
    for (long long m = 1000000000000005; m < 1000000000000005 + 2000; m += 10) {
        for (int e = -20; e <= 20; ++e) {
            const long double x = static_cast<long double>(m) * std::pow(10.0L, e);
            EXPECT_TRUE(AgreesWithText(x));
            EXPECT_TRUE(AgreesWithText(std::nextafter(x, 0.0L)));
            EXPECT_TRUE(AgreesWithText(std::nextafter(x, HUGE_VALL)));
        }
    }
    EXPECT_EQ(FormatGeneral(RoundToGeneralFast(1000000000000005.0L)), "1.00000000000001E15");
}

TEST(RoundToGeneralFast, RandomDoublesAndExtendedValues) {
    std::mt19937_64 engine(20261206);
    std::uniform_int_distribution<std::uint64_t> bits;
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> exponent(-40, 45);
    for (int i = 0; i < 30000; ++i) {
        // Any double at all, most of them far outside the fast range.
        double any;
        const std::uint64_t pattern = bits(engine);
        std::memcpy(&any, &pattern, sizeof any);
        if (std::isfinite(any)) {
            ASSERT_TRUE(AgreesWithText(any));
        }
        // Values of the magnitudes a model meets, as doubles and as extended values.
        const long double scaled = unit(engine) * std::pow(10.0L, exponent(engine));
        ASSERT_TRUE(AgreesWithText(scaled));
        ASSERT_TRUE(AgreesWithText(static_cast<double>(scaled)));
        // Short decimals, which sit near ties after a few operations.
        const long double shortDecimal =
            static_cast<long double>(static_cast<long long>(unit(engine) * 1e6)) / 1000;
        ASSERT_TRUE(AgreesWithText(shortDecimal * 3));
        ASSERT_TRUE(AgreesWithText(static_cast<double>(shortDecimal) / 7));
    }
}

}  // namespace
}  // namespace corvanta
