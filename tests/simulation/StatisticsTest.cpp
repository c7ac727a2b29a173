#include "simulation/Statistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

namespace corvanta {
namespace {

const MessageTexts& Texts() {
    static const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    return texts;
}

bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, 10) == 0;
}

TEST(ProgressSchedule, IndexesOfARunOfAHundredThousandAndBoundaries) {
    std::vector<std::int64_t> expected = {100, 150};
    for (std::int64_t i = 200; i <= 29900; i += 100)
        expected.push_back(i);
    for (std::int64_t i = 35000; i <= 95000; i += 5000)
        expected.push_back(i);
    expected.push_back(99999);
    std::vector<std::int64_t> found;
    for (std::int64_t i = 0; i < 100000; ++i)
        if (IsProgressIndex(i, 100000)) found.push_back(i);
    EXPECT_EQ(found, expected);
    // The boundaries of each stretch in a run of 2000000.
    const struct {
        std::int64_t I;
        bool Update;
    } cases[] = {{0, false},      {1, false},      {100, true},     {150, true},
                 {151, false},    {29900, true},   {30000, false},  {30100, false},
                 {35000, true},   {495000, true},  {499900, false}, {500000, true},
                 {505000, false}, {1900000, true}, {1999999, true}, {1999900, false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsProgressIndex(c.I, 2000000), c.Update) << c.I;
}

TEST(UpdateRunStatistics, MomentsFromPowerSums) {
    const std::vector<double> v = {1, 2, 3, 4, 10};
    const ProgressUpdate u = UpdateRunStatistics(v.data(), 5, 1, 10, 0);
    const SimulationResult& s = u.Statistics;
    EXPECT_EQ(s.n, 5);
    EXPECT_NEAR(static_cast<double>(s.M1), 4, 1e-15);
    EXPECT_NEAR(static_cast<double>(s.M2), 10, 1e-14);
    EXPECT_NEAR(static_cast<double>(s.M3), 36, 1e-13);
    EXPECT_NEAR(static_cast<double>(s.M4), 278.8, 1e-12);
    EXPECT_NEAR(static_cast<double>(s.Skewness), 36 / std::pow(10.0, 1.5), 1e-14);
    EXPECT_NEAR(static_cast<double>(s.Kurtosis), 2.788, 1e-14);
    EXPECT_NEAR(static_cast<double>(s.StandardDeviation), std::sqrt(10.0), 1e-14);
    EXPECT_TRUE(s.ShapeDetermined);
    EXPECT_NEAR(static_cast<double>(u.LowerBound), 4 - 1.96 * std::sqrt(10.0), 1e-14);
    EXPECT_NEAR(static_cast<double>(u.UpperBound), 4 + 1.96 * std::sqrt(10.0), 1e-14);
}

// A large value with a small spread, as calibration results are: the moments
// keep their digits (raw power sums would give a negative variance here).
TEST(UpdateRunStatistics, LargeValuesWithASmallSpread) {
    for (const double centre : {100.0, 1e7, -1e9}) {
        std::vector<double> v;
        for (int i = 0; i < 1000; ++i)
            v.push_back(centre + ((i % 2 == 0) ? 1e-5 : -1e-5) * (1 + (i % 10) / 10.0));
        const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
        long double mean = 0, m2 = 0, m3 = 0, m4 = 0;  // two passes, as a reference
        for (double x : v)
            mean += x;
        mean /= v.size();
        for (double x : v) {
            const long double e = x - mean;
            m2 += e * e / v.size(), m3 += e * e * e / v.size(), m4 += e * e * e * e / v.size();
        }
        const SimulationResult s = UpdateRunStatistics(v.data(), v.size(), *lo, *hi, 0).Statistics;
        EXPECT_NEAR(static_cast<double>(s.M1), static_cast<double>(mean),
                    1e-12 * std::fabs(centre));
        EXPECT_NEAR(static_cast<double>(s.M2 / m2), 1, 1e-6) << centre;
        EXPECT_NEAR(static_cast<double>(s.Skewness), static_cast<double>(m3 / std::pow(m2, 1.5L)),
                    1e-4);
        EXPECT_NEAR(static_cast<double>(s.Kurtosis), static_cast<double>(m4 / (m2 * m2)), 1e-4);
    }
}

TEST(UpdateRunStatistics, BinsSpanTheValuesWithinThreeDeviations) {
    // 0 … 150: 150 bins of one value each; 150 is the upper edge and is not counted.
    std::vector<double> v(151);
    std::iota(v.begin(), v.end(), 0.0);
    ProgressUpdate u = UpdateRunStatistics(v.data(), v.size(), 0, 150, 0);
    EXPECT_EQ(u.Histogram.Low, 0);
    EXPECT_EQ(u.Histogram.High, 150);
    EXPECT_EQ(u.Histogram.Width, 1);
    EXPECT_EQ(std::count(u.Histogram.Counts.begin(), u.Histogram.Counts.end(), 1), 150);
    // One far outlier: the bins end at m + 3s, and the outlier is not counted.
    v.assign(999, -1);
    for (int i = 1; i < 999; i += 2)
        v[i] = 1;
    v.push_back(1000);
    u = UpdateRunStatistics(v.data(), v.size(), -1, 1000, 0);
    EXPECT_EQ(u.Histogram.Low, -1);  // m - 3s lies below the smallest value
    EXPECT_TRUE(SameBits(u.Histogram.High, u.Statistics.Mean + 3 * u.Statistics.StandardDeviation));
    EXPECT_EQ(u.Histogram.Total(), 999);
}

TEST(UpdateRunStatistics, MarksFollowThePreviousKurtosis) {
    const std::vector<double> v = {1, 2, 3};
    const struct {
        long double Previous;
        bool Marks;
    } cases[] = {{0, false}, {1.5L, false}, {1.51L, true}, {3, true}, {1.8L, true}};
    for (const auto& c : cases)
        EXPECT_EQ(UpdateRunStatistics(v.data(), 3, 1, 3, c.Previous).Marks, c.Marks);
}

TEST(UpdateRunStatistics, AllValuesEqualGiveAMeanAndNoShape) {
    const std::vector<double> v(1000, 0.1);
    const ProgressUpdate u = UpdateRunStatistics(v.data(), v.size(), 0.1, 0.1, 0);
    EXPECT_NEAR(static_cast<double>(u.Statistics.M1), 0.1, 1e-17);
    EXPECT_EQ(u.Statistics.M2, 0);
    EXPECT_EQ(u.Statistics.StandardDeviation, 0);
    EXPECT_FALSE(u.Statistics.ShapeDetermined);
    EXPECT_EQ(u.Histogram.Width, 0);
    EXPECT_EQ(u.Histogram.Counts[75], 1000);
    EXPECT_FALSE(ComputeCoverageInterval(v.data(), v.size(), u.Histogram, 2).Determined);
}

TEST(UpdateRunStatistics, CarriedSumsGiveTheBitsOfARescan) {
    std::mt19937_64 engine(7);
    std::lognormal_distribution<double> draw(0, 1.5);
    std::vector<double> v(20000);
    for (double& x : v)
        x = draw(engine);
    PowerSums sums;
    double lo = v[0], hi = v[0];
    std::int64_t done = 0;
    for (std::int64_t upTo : {151, 300, 5000, 12345, 20000}) {
        for (; done < upTo; ++done)
            lo = std::min(lo, v[done]), hi = std::max(hi, v[done]);
        const ProgressUpdate carried = UpdateRunStatistics(v.data(), upTo, lo, hi, 3, sums);
        const ProgressUpdate fresh = UpdateRunStatistics(v.data(), upTo, lo, hi, 3);
        EXPECT_TRUE(SameBits(carried.Statistics.M2, fresh.Statistics.M2));
        EXPECT_TRUE(SameBits(carried.Statistics.Kurtosis, fresh.Statistics.Kurtosis));
        EXPECT_TRUE(SameBits(carried.Statistics.Skewness, fresh.Statistics.Skewness));
        EXPECT_EQ(carried.Histogram.Counts, fresh.Histogram.Counts);
    }
}

// Ranges about 0 (where the doubles are densest), denormal bounds, tiny and
// huge widths: every value lands in the bin of the definition, and the edges
// are found in a bounded number of steps however dense the doubles are.
TEST(BinLocator, AgreesWithTheDivisionOnEveryValue) {
    std::mt19937_64 engine(11);
    std::uniform_real_distribution<double> unit(0, 1);
    const long double denormal = std::numeric_limits<double>::denorm_min();
    const struct {
        long double Low, High;
    } ranges[] = {{0, 150},
                  {-3.3L, 7.1L},
                  {1e-300L, 3e-300L},
                  {99999.97L, 100000.03L},
                  {-1, 1e9L},
                  {-0.5L, 0.5L},
                  {-0.7853981633974483L, 0.7853981633974483L},
                  {-1e-300L, 1e-300L},
                  {-1000 * denormal, 1000 * denormal},
                  {-denormal, 2 * denormal},
                  {0, 300 * denormal},
                  {1 - 1e-15L, 1 + 1e-15L},
                  {-1e308L, 1e308L}};
    for (const auto& r : ranges) {
        OutputHistogram h;
        h.Low = r.Low;
        h.High = r.High;
        h.Width = (h.High - h.Low) / kHistogramBins;
        const BinLocator locator(h);
        EXPECT_LE(locator.SearchSteps(), 65 * kHistogramBins) << static_cast<double>(r.Low);
        std::vector<double> probes;
        for (int k = 0; k <= kHistogramBins; ++k) {
            // The bin edges and their neighbours, where a rounding could tip.
            const double edge = static_cast<double>(h.Low + k * h.Width);
            double up = edge, down = edge;
            probes.push_back(edge);
            for (int i = 0; i < 3; ++i) {
                up = std::nextafter(up, HUGE_VAL);
                down = std::nextafter(down, -HUGE_VAL);
                probes.insert(probes.end(), {up, down});
            }
        }
        for (int i = 0; i < 20000; ++i)
            probes.push_back(static_cast<double>(r.Low + (r.High - r.Low) * unit(engine)));
        probes.insert(probes.end(),
                      {static_cast<double>(r.Low), static_cast<double>(r.High), 0.0, -0.0});
        for (double v : probes) {
            int expected = -1;
            if (h.Low <= v && v <= h.High) {
                const long double k = std::trunc((v - h.Low) / h.Width);
                if (k >= 0 && k <= 149) expected = static_cast<int>(k);
            }
            ASSERT_EQ(locator.Bin(v), expected) << static_cast<double>(r.Low) << " " << v;
        }
    }
    // One value, or no width at all: nothing is counted and nothing is searched.
    for (long double width : {0.0L, -1.0L, static_cast<long double>(HUGE_VAL)}) {
        OutputHistogram h;
        h.Low = h.High = 0.25L;
        h.Width = width;
        const BinLocator locator(h);
        EXPECT_EQ(locator.Bin(0.25), -1);
        EXPECT_EQ(locator.SearchSteps(), 0);
    }
}

// The tails are ranked among all the values: those at the upper edge and
// those beyond m +- 3s, which the bins do not count, included.
TEST(CoverageInterval, ValuesBeyondTheBinsKeepTheirRanks) {
    // 0 … 999; 990 values in [0, 1) and 10 far above; 980 in [0, 1) and 10 far on each side.
    std::vector<double> evenly(1000), above, both;
    std::iota(evenly.begin(), evenly.end(), 0.0);
    for (int i = 0; i < 990; ++i)
        above.push_back(i / 990.0), both.push_back(i / 980.0);
    both.resize(980);
    for (int i = 0; i < 10; ++i)
        above.push_back(100 + i), both.push_back(100 + i), both.push_back(-100 - i);
    const struct {
        std::vector<double>* Values;
        double Min, Max;
        std::int64_t Counted;
        int Index;
        double Low, High;
    } cases[] = {{&evenly, 0, 999, 999, 2, 25, 975},
                 {&evenly, 0, 999, 999, 1, 50, 950},
                 {&evenly, 0, 999, 999, 4, 5, 995},
                 {&evenly, 0, 999, 999, 0, 159, 841},
                 {&evenly, 0, 999, 999, 5, 1, 998},
                 {&above, 0, 109, 990, 2, 25 / 990.0, 975 / 990.0},
                 {&above, 0, 109, 990, 5, 1 / 990.0, 109},
                 {&both, -109, 109, 980, 2, 15 / 980.0, 965 / 980.0},
                 {&both, -109, 109, 980, 5, -108, 109}};
    for (const auto& c : cases) {
        std::vector<double> v = *c.Values;
        std::shuffle(v.begin(), v.end(), std::mt19937(3));
        const ProgressUpdate u = UpdateRunStatistics(v.data(), v.size(), c.Min, c.Max, 0);
        EXPECT_EQ(u.Histogram.Total(), c.Counted);
        const CoverageInterval interval =
            ComputeCoverageInterval(v.data(), v.size(), u.Histogram, c.Index);
        ASSERT_TRUE(interval.Determined);
        EXPECT_EQ(interval.Low, c.Low) << c.Min << " " << c.Index;
        EXPECT_EQ(interval.High, c.High) << c.Min << " " << c.Index;
    }
}

// The 2 (95 %) interval with bins of width 1 over 0 … 150, counting the values from 0 up.
CoverageInterval UnitBinInterval(std::vector<double> v, double from, double step, int count) {
    for (int i = 0; i < count; ++i)
        v.push_back(from + i * step);
    OutputHistogram h;
    h.Low = 0;
    h.High = 150;
    h.Width = 1;
    for (double x : v)
        if (x >= 0) ++h.Counts[static_cast<int>(x)];
    return ComputeCoverageInterval(v.data(), v.size(), h, 2);
}

TEST(CoverageInterval, EdgesOfTheBinSelection) {
    // 24 counted values: the lower target 0.6 rounds to offset 1 in a bin of one, which takes
    // the bin's last value; the upper target 23.4 is offset 0 of bin 15.
    const CoverageInterval atCount = UnitBinInterval({0.5}, 10, 0.25, 23);
    ASSERT_TRUE(atCount.Determined);
    EXPECT_EQ(atCount.Low, 0.5);
    EXPECT_EQ(atCount.High, 15.5);
    // -0.5 truncates to bin 0 without the range test; it must not take the place of 0.9.
    EXPECT_EQ(UnitBinInterval({-0.5, 0.9}, 20, 1, 38).Low, 0.9);
}

TEST(CoverageInterval, MostProbableValueIsTheCentreOfTheFirstFullestBin) {
    OutputHistogram h;
    h.Low = 10;
    h.High = 25;
    h.Width = 0.1L;
    h.Counts[3] = 7;
    h.Counts[90] = 7;
    h.Counts[4] = 6;
    EXPECT_NEAR(static_cast<double>(MostProbableValue(h)), 10.35, 1e-15);
}

TEST(ResultTexts, VerdictIntervalClassicFormAndCoverageChoice) {
    const MessageTexts& t = Texts();
    const CoverageChangeTexts change = ChangeCoverage(true, 4, t);
    EXPECT_TRUE(change.Changed);
    EXPECT_FALSE(ChangeCoverage(false, 4, t).Changed);
    const struct {
        std::string Got;
        const char* Want;
    } cases[] = {
        {NormalityText(t, 5.9915L), "Normality test (Jarque - Bera)  =  5.9915   (fit)"},
        {NormalityText(t, 5.99151L), "Normality test (Jarque - Bera)  =  5.99151   (doesn't fit)"},
        {NormalityText(t, 0.123456789L), "Normality test (Jarque - Bera)  =  0.12346   (fit)"},
        {NormalityUndeterminedText(t), "Normality test (Jarque - Bera)  =  Indetermined"},
        {IntervalText(t, 2, 9.9802, 10.0199),
         "Confidence interval (p = 95%): [ 9.9802 , 10.0199 ]"},
        {IntervalText(t, 5, -0.005, 12345678.9),
         "Confidence interval (p = 99,73%): [ -5.00000e-3 , 1.23457e7 ]"},
        {InterruptedIntervalText(t, 3),
         "Confidence interval (p = 95,45%): Indeterminado (simul. interrumpida)"},
        {UndeterminedIntervalText(t, 0), "Confidence interval (p = 68,27%)  =  Indetermined"},
        {ClassicText(t, 9.98, 10.02, " g"), "GUM format: 10.000 \xB1 0.020  g"},
        {ClassicUndeterminedText(t), "GUM format = Indetermined"},
        {MostProbableText(1234.5L), "1.23450e3"},
        {MostProbableText(12.3456789L), "12.3457"},
        {MostProbableText(-0.05L), "-5.00000e-2"},
        {CoverageItemText(0, t), "p = 68,27% (Normal: \xB5 = s)"},
        {CoverageItemText(1, t), "p = 90%"},
        {CoverageItemText(2, t), "p = 95%"},
        {CoverageItemText(3, t), "p = 95,45% (Normal: \xB5 = 2s)"},
        {CoverageItemText(4, t), "p = 99%"},
        {CoverageItemText(5, t), "p = 99,73% (Normal: \xB5 = 3s)"},
        {UndeterminedForm(1), " (p = 90%)  =  "},
        {ResultForm(3), " (p = 95,45%): [ "},
        {InterruptedForm(4), " (p = 99%): "},
        {change.Interval, "Confidence interval (p = 99%)  =  Indetermined"},
        {change.Classic, "GUM format = Indetermined"}};
    for (const auto& c : cases)
        EXPECT_EQ(c.Got, c.Want);
    EXPECT_NEAR(static_cast<double>(JarqueBera(100, 0.5L, 4)), 100 * (0.25 / 6 + 1.0 / 24), 1e-13);
}

TEST(ResultTexts, ResultsGridFormats) {
    SimulationResult s;
    s.M1 = 1234.5L;
    s.M2 = 0.0123456789L;
    s.OutputMax = 1500.25;
    s.OutputMin = -1234.5;
    const auto grid = ResultsGridTexts(200000, s, "0.01234", "Indetermined", "12.3457");
    const char* const expected[] = {"200000",     "1.2345000e3",  "1.234568e-2", "0.11111",
                                    "1.23400e-2", "Indetermined", "1.50025e3",   "-1234.5",
                                    "12.3457",    "2.73475e3"};
    for (int r = 0; r < kResultRows; ++r)
        EXPECT_EQ(grid[r], expected[r]) << r;
    s.M1 = -1234.5L;
    s.M2 = 0;
    s.OutputMax = s.OutputMin = 3;
    const auto flat = ResultsGridTexts(100000, s, "-0.5", "1000.5", "x");
    const char* const flatExpected[] = {"100000", "-1234.5",   "0.000000e0", "0.00000e0",
                                        "-0.5",   "1.00050e3", "3",          "3",
                                        "x",      "0.00000e0"};
    for (int r = 0; r < kResultRows; ++r)
        EXPECT_EQ(flat[r], flatExpected[r]) << r;
}

}  // namespace
}  // namespace corvanta
