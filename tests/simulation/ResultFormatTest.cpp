#include "simulation/ResultFormat.h"

#include <gtest/gtest.h>

namespace corvanta {
namespace {

struct Worked {
    double Value;
    double Uncertainty;
    const char* Text;
};

TEST(FormatValueWithUncertainty, WorkedResultsAndEdges) {
    const Worked cases[] = {
        {10.0012, 0.0034, "10.0012 \xB1 0.0034"},
        {100.2347, 0.0347, "100.235 \xB1 0.035"},
        {5.03, 0.5, "5.03 \xB1 0.50"},
        {25.37, 3.47, "25.4 \xB1 3.5"},
        {1234.5, 12, "1230 \xB1 10"},
        {123456, 3470, "1.230E05 \xB1 3.0E03"},
        {0.0012347, 0.0000347, "1.235E-03 \xB1 3.5E-05"},
        {12345678.9, 0.5, "12345678.90 \xB1 0.50"},
        {0.02, 0.5, "0.02 \xB1 0.50"},
        {0, 0, "0.0 \xB1 0.0"},
        {-5.03, 0.5, "-5.03 \xB1 0.50"},
        // 100 has magnitude 3: exponent form; 99.9 has 2: written to tens.
        {1234.5, 100, "1.20E03 \xB1 1.0E02"},
        {1234.5, 99.9, "1230 \xB1 100"},
        // A pattern of "#" only writes nothing for a value that rounds to 0.
        {5, 99.9, " \xB1 100"},
        // Magnitude 2 with a value below 1: the empty pattern, general format.
        {0.5, 12, "0 \xB1 10"},
        // The value far above its uncertainty keeps all its integer digits.
        {12345678901, 1000, "12345679000 \xB1 1.0E03"},
        {98765432.1, 0.000012, "98765432.100000 \xB1 1.2E-05"},
        // Up to six orders apart both take the exponent form.
        {123456789, 1000, "1.234570E08 \xB1 1.0E03"},
        {9.87654, 0.000012, "9.8765400E00 \xB1 1.2E-05"},
    };
    for (const Worked& c : cases) {
        EXPECT_EQ(FormatValueWithUncertainty(c.Value, c.Uncertainty), c.Text)
            << c.Value << " " << c.Uncertainty;
    }
}

TEST(MagnitudeOrder, DigitsBeforeThePointOrLeadingZeros) {
    const struct {
        double X;
        int Order;
    } cases[] = {{0, 0},    {5.3, 1},        {12.3, 2},      {100, 3},   {99.9, 2},
                 {1, 1},    {-12.3, 2},      {0.5, -1},      {0.05, -2}, {0.0034, -3},
                 {0.1, -1}, {0.0000347, -5}, {1e-300, -301}, {123456, 6}};
    for (const auto& c : cases)
        EXPECT_EQ(MagnitudeOrder(c.X), c.Order) << c.X;
}

TEST(FormatRunningValue, FiveDecimalsWithinElevenDigits) {
    const struct {
        long double X;
        const char* Text;
    } cases[] = {
        {0, "0.00000"},
        {9.980158, "9.98016"},
        {-0.0123449, "-0.01234"},
        {0.000004, "0.00000"},
        {123456.123456, "123456.12346"},
        {123456789.123456, "123456789.12000"},
        {12345678901.7, "12345678902.00000"},
        {99999.999999, "100000.00000"},
        {123456789012.0, "1.2345678901E+11"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatRunningValue(c.X), c.Text);
}

}  // namespace
}  // namespace corvanta
