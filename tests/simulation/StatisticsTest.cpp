// The statistics of a run, its result texts and the fast rounding of the iterations.
#include "simulation/Statistics.h"

#include <bit>
#include <cfloat>
#include <limits>
#include <numeric>
#include <random>

#include "ModelFixture.h"
#include "engine/NumberText.h"
#include "simulation/FastRounding.h"
#include "simulation/ResultFormat.h"

namespace corvanta {
namespace {

using namespace testing;

// The boundaries of each stretch of the schedule in a run of 2000000.
TEST(ProgressSchedule, BoundariesOfEachStretch) {
    const std::pair<std::int64_t, bool> cases[] = {
        {0, false},      {1, false},      {100, true},     {150, true},
        {151, false},    {29900, true},   {30000, false},  {30100, false},
        {35000, true},   {495000, true},  {499900, false}, {500000, true},
        {505000, false}, {1900000, true}, {1999999, true}, {1999900, false}};
    for (const auto& [i, update] : cases)
        EXPECT_EQ(IsProgressIndex(i, 2000000), update) << i;
}

TEST(UpdateRunStatistics, MomentsMarksEqualValuesAndLargeValuesWithASmallSpread) {
    const std::vector<double> v = {1, 2, 3, 4, 10};
    const ProgressUpdate u = UpdateRunStatistics(v.data(), 5, 1, 10, 0);
    const SimulationResult& s = u.Statistics;
    EXPECT_TRUE(s.n == 5 && s.ShapeDetermined);
    const double r = std::sqrt(10.0);
    ExpectNear({Near{s.M1, 4, 1e-15}, Near{s.M2, 10, 1e-14}, Near{s.M3, 36, 1e-13},
                Near{s.M4, 278.8, 1e-12}, Near{s.Skewness, 36 / std::pow(10.0, 1.5), 1e-14},
                Near{s.Kurtosis, 2.788, 1e-14}, Near{s.StandardDeviation, r, 1e-14},
                Near{u.LowerBound, 4 - 1.96 * r, 1e-14}, Near{u.UpperBound, 4 + 1.96 * r, 1e-14}});
    // The marks follow the previous kurtosis.
    const std::pair<long double, bool> marks[] = {
        {0, false}, {1.5L, false}, {1.51L, true}, {3, true}, {1.8L, true}};
    for (const auto& [previous, shown] : marks)
        EXPECT_EQ(UpdateRunStatistics(v.data(), 3, 1, 3, previous).Marks, shown) << previous;
    // All values equal give a mean, no shape and one full bin in the middle.
    const std::vector<double> w(1000, 0.1);
    const ProgressUpdate e = UpdateRunStatistics(w.data(), w.size(), 0.1, 0.1, 0);
    EXPECT_NEAR(static_cast<double>(e.Statistics.M1), 0.1, 1e-17);
    EXPECT_EQ(std::tie(e.Statistics.M2, e.Statistics.StandardDeviation, e.Histogram.Width,
                       e.Statistics.ShapeDetermined, e.Histogram.Counts[75]),
              std::make_tuple(0.0L, 0.0L, 0.0L, false, 1000L));
    EXPECT_FALSE(ComputeCoverageInterval(w.data(), w.size(), e.Histogram, 2).Determined);
    // A large value with a small spread: the moments keep their digits (raw power sums would not).
    for (const double centre : {100.0, 1e7, -1e9}) {
        SCOPED_TRACE(centre);
        std::vector<double> v;
        for (int i = 0; i < 1000; ++i)
            v.push_back(centre + ((i % 2 == 0) ? 1e-5 : -1e-5) * (1 + (i % 10) / 10.0));
        const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
        const Moments m = MomentsOf(v);
        const SimulationResult s = UpdateRunStatistics(v.data(), v.size(), *lo, *hi, 0).Statistics;
        ExpectNear({Near{s.M1, double(m.Mean), 1e-12 * std::fabs(centre)},
                    Near{s.M2 / m.M2, 1, 1e-6},
                    Near{s.Skewness, double(m.M3 / std::pow(m.M2, 1.5L)), 1e-4},
                    Near{s.Kurtosis, double(m.M4 / (m.M2 * m.M2)), 1e-4}});
    }
}

// Denormal, tiny and huge ranges: the bin of the definition, edges found in bounded steps.
TEST(BinLocator, AgreesWithTheDivisionOnEveryValue) {
    std::mt19937_64 engine(11);
    std::uniform_real_distribution<double> unit(0, 1);
    const long double dn = std::numeric_limits<double>::denorm_min();
    // clang-format off
    const std::pair<long double, long double> ranges[] = {{0, 150}, {-3.3L, 7.1L},
        {1e-300L, 3e-300L}, {99999.97L, 100000.03L}, {-1, 1e9L}, {-0.5L, 0.5L}, {-1e-300L, 1e-300L},
        {-1000 * dn, 1000 * dn}, {-dn, 2 * dn}, {0, 300 * dn}, {1 - 1e-15L, 1 + 1e-15L},
        {-1e308L, 1e308L}, {-0.7853981633974483L, 0.7853981633974483L}};
    // clang-format on
    for (const auto& [low, high] : ranges) {
        SCOPED_TRACE(static_cast<double>(low));
        const OutputHistogram h{.Low = low, .High = high, .Width = (high - low) / kHistogramBins};
        const BinLocator locator(h);
        EXPECT_LE(locator.SearchSteps(), 65 * kHistogramBins);
        std::vector<double> probes = {double(low), double(high), 0.0, -0.0};
        for (int k = 0; k <= kHistogramBins; ++k) {
            // The bin edges and their neighbours, where a rounding could tip.
            double up = static_cast<double>(h.Low + k * h.Width), down = up;
            probes.push_back(up);
            for (int i = 0; i < 3; ++i)
                probes.insert(probes.end(), {up = std::nextafter(up, HUGE_VAL),
                                             down = std::nextafter(down, -HUGE_VAL)});
        }
        for (int i = 0; i < 20000; ++i)
            probes.push_back(static_cast<double>(low + (high - low) * unit(engine)));
        for (double v : probes) {
            const long double k = std::trunc((v - h.Low) / h.Width);
            const bool counted = h.Low <= v && v <= h.High && k >= 0 && k <= 149;
            ASSERT_EQ(locator.Bin(v), counted ? static_cast<int>(k) : -1) << v;
        }
    }
}

// The tails are ranked among all the values, those at the upper edge and beyond m +- 3s included.
TEST(CoverageInterval, RanksBeyondTheBinsEdgesOfTheBinSelectionAndTheMostProbableValue) {
    // 0 … 999; 990 values in [0, 1) and 10 far above; 980 in [0, 1) and 10 far on each side.
    std::vector<double> evenly(1000), above, both;
    std::iota(evenly.begin(), evenly.end(), 0.0);
    for (int i = 0; i < 990; ++i)
        above.push_back(i / 990.0), both.push_back(i / 980.0);
    both.resize(980);
    for (int i = 0; i < 10; ++i)
        above.push_back(100 + i), both.push_back(100 + i), both.push_back(-100 - i);
    // clang-format off
    const struct { std::vector<double>* Values; double Min, Max; std::int64_t Counted; int Index;
                   double Low, High; } cases[] = {
        {&evenly, 0, 999, 999, 2, 25, 975}, {&evenly, 0, 999, 999, 1, 50, 950},
        {&evenly, 0, 999, 999, 4, 5, 995}, {&evenly, 0, 999, 999, 0, 159, 841},
        {&evenly, 0, 999, 999, 5, 1, 998}, {&above, 0, 109, 990, 2, 25 / 990.0, 975 / 990.0},
        {&above, 0, 109, 990, 5, 1 / 990.0, 109},
        {&both, -109, 109, 980, 2, 15 / 980.0, 965 / 980.0},
        {&both, -109, 109, 980, 5, -108, 109}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Min << " " << c.Index);
        std::vector<double> v = *c.Values;
        std::shuffle(v.begin(), v.end(), std::mt19937(3));
        const ProgressUpdate u = UpdateRunStatistics(v.data(), v.size(), c.Min, c.Max, 0);
        EXPECT_EQ(u.Histogram.Total(), c.Counted);
        const long double top = u.Statistics.Mean + 3 * u.Statistics.StandardDeviation;
        // Above: m - 3s is below the least value, m + 3s far below the greatest.
        EXPECT_TRUE(c.Values != &above ||
                    (u.Histogram.Low == 0 && SameBits(u.Histogram.High, top)));
        const CoverageInterval interval =
            ComputeCoverageInterval(v.data(), v.size(), u.Histogram, c.Index);
        ASSERT_TRUE(interval.Determined);
        EXPECT_EQ(std::make_pair(interval.Low, interval.High), std::make_pair(c.Low, c.High));
    }
    // The most probable value is the centre of the first fullest bin.
    OutputHistogram h{.Low = 10, .High = 25, .Width = 0.1L};
    h.Counts[3] = h.Counts[90] = 7;
    h.Counts[4] = 6;
    EXPECT_NEAR(static_cast<double>(MostProbableValue(h)), 10.35, 1e-15);
}

TEST(ResultTexts, VerdictIntervalsClassicFormCoverageChoiceResultsAndRunningValues) {
    const MessageTexts& t = Texts();
    const CoverageChangeTexts change = ChangeCoverage(true, 4, t);
    EXPECT_TRUE(change.Changed && !ChangeCoverage(false, 4, t).Changed);
    const auto fvu = [](double value, double u) { return FormatValueWithUncertainty(value, u); };
    const auto rv = [](long double x) { return FormatRunningValue(x); };
    const auto ci = [&t](int index) { return CoverageItemText(index, t); };
    // clang-format off
    const std::pair<std::string, const char*> cases[] = {
        {NormalityText(t, 5.9915L), "Normality test (Jarque - Bera)  =  5.9915   (fit)"},
        {NormalityText(t, 5.99151L), "Normality test (Jarque - Bera)  =  5.99151   (doesn't fit)"},
        {NormalityText(t, 0.123456789L), "Normality test (Jarque - Bera)  =  0.12346   (fit)"},
        {IntervalText(t, 2, 9.9802, 10.0199),
         "Confidence interval (p = 95%): [ 9.9802 , 10.0199 ]"},
        {IntervalText(t, 5, -0.005, 12345678.9),
         "Confidence interval (p = 99,73%): [ -5.00000e-3 , 1.23457e7 ]"},
        {ClassicText(t, 9.98, 10.02, " g"), "GUM format: 10.000 \xB1 0.020  g"},
        {MostProbableText(1234.5L), "1.23450e3"}, {MostProbableText(12.3456789L), "12.3457"},
        {MostProbableText(-0.05L), "-5.00000e-2"},
        {ci(0), "p = 68,27% (Normal: \xB5 = s)"}, {ci(1), "p = 90%"}, {ci(2), "p = 95%"},
        {ci(3), "p = 95,45% (Normal: \xB5 = 2s)"}, {ci(4), "p = 99%"},
        {ci(5), "p = 99,73% (Normal: \xB5 = 3s)"},
        {change.Interval, "Confidence interval (p = 99%)  =  Indetermined"},
        {change.Classic, "GUM format = Indetermined"},
        // Worked results; "#" writes nothing for 0; up to six orders apart both take exponents.
        {fvu(10.0012, 0.0034), "10.0012 \xB1 0.0034"},
        {fvu(100.2347, 0.0347), "100.235 \xB1 0.035"},
        {fvu(5.03, 0.5), "5.03 \xB1 0.50"}, {fvu(25.37, 3.47), "25.4 \xB1 3.5"},
        {fvu(1234.5, 12), "1230 \xB1 10"}, {fvu(123456, 3470), "1.230E05 \xB1 3.0E03"},
        {fvu(0.0012347, 0.0000347), "1.235E-03 \xB1 3.5E-05"}, {fvu(0.02, 0.5), "0.02 \xB1 0.50"},
        {fvu(12345678.9, 0.5), "12345678.90 \xB1 0.50"}, {fvu(0, 0), "0.0 \xB1 0.0"},
        {fvu(-5.03, 0.5), "-5.03 \xB1 0.50"}, {fvu(5, 99.9), " \xB1 100"},
        {fvu(1234.5, 100), "1.20E03 \xB1 1.0E02"}, {fvu(1234.5, 99.9), "1230 \xB1 100"},
        {fvu(0.5, 12), "0 \xB1 10"}, {fvu(12345678901, 1000), "12345679000 \xB1 1.0E03"},
        {fvu(98765432.1, 0.000012), "98765432.100000 \xB1 1.2E-05"},
        {fvu(123456789, 1000), "1.234570E08 \xB1 1.0E03"},
        {fvu(9.87654, 0.000012), "9.8765400E00 \xB1 1.2E-05"},
        // Running values: five decimals within eleven digits.
        {rv(0), "0.00000"}, {rv(9.980158), "9.98016"}, {rv(-0.0123449), "-0.01234"},
        {rv(0.000004), "0.00000"}, {rv(123456.123456), "123456.12346"},
        {rv(123456789.123456), "123456789.12000"}, {rv(12345678901.7), "12345678902.00000"},
        {rv(99999.999999), "100000.00000"}, {rv(123456789012.0), "1.2345678901E+11"}};
    // clang-format on
    for (const auto& [got, want] : cases)
        EXPECT_EQ(got, want);
    // The boundaries the worked results above do not reach.
    for (const auto& [x, order] : {std::pair(1.0, 1), std::pair(0.1, -1), std::pair(1e-300, -301)})
        EXPECT_EQ(MagnitudeOrder(x), order) << x;
    EXPECT_NEAR(static_cast<double>(JarqueBera(100, 0.5L, 4)), 100 * (0.25 / 6 + 1.0 / 24), 1e-13);
    using Grid = std::array<std::string, kResultRows>;
    SimulationResult s;
    s.M1 = 1234.5L, s.M2 = 0.0123456789L, s.OutputMax = 1500.25, s.OutputMin = -1234.5;
    EXPECT_EQ(ResultsGridTexts(200000, s, "0.01234", "Indetermined", "12.3457"),
              (Grid{"200000", "1.2345000e3", "1.234568e-2", "0.11111", "1.23400e-2", "Indetermined",
                    "1.50025e3", "-1234.5", "12.3457", "2.73475e3"}));
    s.M1 = -1234.5L, s.M2 = 0, s.OutputMax = s.OutputMin = 3;
    EXPECT_EQ(ResultsGridTexts(100000, s, "-0.5", "1000.5", "x"),
              (Grid{"100000", "-1234.5", "0.000000e0", "0.00000e0", "-0.5", "1.00050e3", "3", "3",
                    "x", "0.00000e0"}));
}

// The value and its negation; values that a double holds also go through the double entry.
::testing::AssertionResult AgreesWithText(long double value) {
    for (const long double x : {value, -value}) {
        const long double reference = RoundToGeneral(x), fast = RoundToGeneralFast(x);
        const double d = static_cast<double>(x);
        if (!SameBits(fast, reference) ||
            (d == x && std::isfinite(d) && !SameBits(RoundToGeneralFast(d), reference)))
            return ::testing::AssertionFailure()
                   << FormatGeneral(x, 21) << " gives " << FormatGeneral(fast, 21);
    }
    return ::testing::AssertionSuccess();
}

TEST(RoundToGeneralFast, EdgesPowersHalvesAndRandomValues) {
    // clang-format off
    const long double edges[] = {  // powers of ten and their neighbours follow
        0.0L, 0.1L, 1.0L / 3, 2.0L / 3, 0.5L, 1e15L - 1, 1e15L + 1, 999999999999999.5L,
        999999999999999.4L, 99999999999999.95L, 0.00009999999999999995L, 0.000099999999999999995L,
        1.00000000000000005L, 1.0000000000000005L, 0.12345678901234550L, 1234567890123455.0L,
        2.5e-15L, 1.7976931348623157e308L, 4.9406564584124654e-324L, 2.2250738585072014e-308L,
        LDBL_MIN, LDBL_MAX, LDBL_TRUE_MIN, 123456789012345678.0L, 0.30000000000000004L};
    // clang-format on
    for (long double x : edges)
        EXPECT_TRUE(AgreesWithText(x));
    for (int e = -330; e <= 330; ++e) {
        const long double power = std::pow(10.0L, e);
        for (long double x : {power, std::nextafter(power, 0.0L), std::nextafter(power, HUGE_VALL),
                              static_cast<long double>(static_cast<double>(power))})
            EXPECT_TRUE(AgreesWithText(x)) << e;
    }
    // 16-digit integers ending in 5 are exact halves at the 15th digit: away from zero.
    for (long long m = 1000000000000005; m < 1000000000000005 + 2000; m += 10)
        for (int e = -20; e <= 20; ++e) {
            const long double x = static_cast<long double>(m) * std::pow(10.0L, e);
            for (long double y : {x, std::nextafter(x, 0.0L), std::nextafter(x, HUGE_VALL)})
                EXPECT_TRUE(AgreesWithText(y));
        }
    EXPECT_EQ(FormatGeneral(RoundToGeneralFast(1000000000000005.0L)), "1.00000000000001E15");
    std::mt19937_64 engine(20261206);
    std::uniform_int_distribution<std::uint64_t> bits;
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> exponent(-40, 45);
    for (int i = 0; i < 30000; ++i) {
        // Any double; the magnitudes a model meets; short decimals, near ties after operations.
        const double any = std::bit_cast<double>(bits(engine));
        const long double scaled = unit(engine) * std::pow(10.0L, exponent(engine));
        const long double shortDecimal =
            static_cast<long double>(static_cast<long long>(unit(engine) * 1e6)) / 1000;
        for (long double x : std::initializer_list<long double>{
                 std::isfinite(any) ? any : 0.0, double(shortDecimal) / 7, scaled,
                 static_cast<long double>(double(scaled)), shortDecimal * 3})
            ASSERT_TRUE(AgreesWithText(x));
    }
}

}  // namespace
}  // namespace corvanta
