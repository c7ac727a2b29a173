#include "simulation/Statistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
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

TEST(UpdateRunStatistics, LargestValueAtTheUpperEdgeIsNotCounted) {
    std::vector<double> v;
    for (int k = 0; k <= 150; ++k)
        v.push_back(k);
    const ProgressUpdate u = UpdateRunStatistics(v.data(), v.size(), 0, 150, 0);
    EXPECT_EQ(u.Histogram.Low, 0);
    EXPECT_EQ(u.Histogram.High, 150);
    EXPECT_EQ(u.Histogram.Width, 1);
    for (int k = 0; k < kHistogramBins; ++k)
        EXPECT_EQ(u.Histogram.Counts[k], 1) << k;
    EXPECT_EQ(u.Histogram.Total(), 150);
}

TEST(UpdateRunStatistics, RangeIsCutToThreeDeviations) {
    // One far outlier: the bins span m +- 3s, and the outlier is not counted.
    std::vector<double> v(999, 0.0);
    for (int i = 0; i < 999; ++i)
        v[i] = i % 2 ? 1 : -1;
    v.push_back(1000);
    const ProgressUpdate u = UpdateRunStatistics(v.data(), v.size(), -1, 1000, 0);
    const long double m = u.Statistics.Mean, s = u.Statistics.StandardDeviation;
    EXPECT_EQ(u.Histogram.Low, -1);  // m - 3s lies below the smallest value
    EXPECT_TRUE(SameBits(u.Histogram.High, m + 3 * s));
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

TEST(BinLocator, AgreesWithTheDivisionOnEveryValue) {
    std::mt19937_64 engine(11);
    std::uniform_real_distribution<double> unit(0, 1);
    const struct {
        long double Low, High;
    } ranges[] = {{0, 150}, {-3.3L, 7.1L}, {1e-300L, 3e-300L}, {99999.97L, 100000.03L}, {-1, 1e9L}};
    for (const auto& r : ranges) {
        OutputHistogram h;
        h.Low = r.Low;
        h.High = r.High;
        h.Width = (h.High - h.Low) / kHistogramBins;
        const BinLocator locator(h);
        std::vector<double> probes;
        for (int k = 0; k <= kHistogramBins; ++k) {
            // The bin edges and their neighbours, where a rounding could tip.
            const double edge = static_cast<double>(h.Low + k * h.Width);
            probes.insert(probes.end(),
                          {edge, std::nextafter(edge, -HUGE_VAL), std::nextafter(edge, HUGE_VAL)});
        }
        for (int i = 0; i < 200000; ++i)
            probes.push_back(static_cast<double>(r.Low + (r.High - r.Low) * unit(engine)));
        probes.insert(probes.end(), {static_cast<double>(r.Low), static_cast<double>(r.High)});
        for (double v : probes) {
            int expected = -1;
            if (h.Low <= v && v <= h.High) {
                const long double k = std::trunc((v - h.Low) / h.Width);
                if (k >= 0 && k <= 149) expected = static_cast<int>(k);
            }
            ASSERT_EQ(locator.Bin(v), expected) << static_cast<double>(r.Low) << " " << v;
        }
    }
}

// The interval of the values in any order, with the bins of the run's progress update.
CoverageInterval IntervalOf(std::vector<double> v, double lo, double hi, int index,
                            std::int64_t counted) {
    std::shuffle(v.begin(), v.end(), std::mt19937(3));
    const ProgressUpdate u = UpdateRunStatistics(v.data(), v.size(), lo, hi, 0);
    EXPECT_EQ(u.Histogram.Total(), counted);
    return ComputeCoverageInterval(v.data(), v.size(), u.Histogram, index);
}

TEST(CoverageInterval, RankInsideTheBinOfEachTail) {
    std::vector<double> v(1000);
    std::iota(v.begin(), v.end(), 0.0);
    const struct {
        int Index;
        double Low, High;
    } cases[] = {{2, 25, 975}, {1, 50, 950}, {4, 5, 995}, {0, 159, 841}, {5, 1, 998}};
    for (const auto& c : cases) {
        // 999 is the upper edge and not counted, yet ranked.
        const CoverageInterval interval = IntervalOf(v, 0, 999, c.Index, 999);
        ASSERT_TRUE(interval.Determined);
        EXPECT_EQ(interval.Low, c.Low) << c.Index;
        EXPECT_EQ(interval.High, c.High) << c.Index;
    }
}

// The tails are taken of all the values, those beyond m +- 3s included.
TEST(CoverageInterval, ValuesBeyondTheBinsKeepTheirRanks) {
    std::vector<double> v;
    for (int i = 0; i < 990; ++i)
        v.push_back(i / 990.0);
    for (int i = 0; i < 10; ++i)
        v.push_back(100 + i);
    const struct {
        int Index;
        double Low, High;
    } cases[] = {{2, 25 / 990.0, 975 / 990.0}, {5, 1 / 990.0, 109}};
    for (const auto& c : cases) {
        const CoverageInterval interval = IntervalOf(v, 0, 109, c.Index, 990);
        ASSERT_TRUE(interval.Determined);
        EXPECT_EQ(interval.Low, c.Low) << c.Index;
        EXPECT_EQ(interval.High, c.High) << c.Index;
    }
}

TEST(CoverageInterval, EdgesOfTheBinSelection) {
    const struct {
        const char* Label;
        std::vector<double> Head;
        double From, Step;
        int Count;
        double Low, High;  // High NAN: not checked
    } cases[] = {
        // 24 counted values: the lower target 0.6 rounds to offset 1 in a bin of one, which
        // takes the bin's last value; the upper target 23.4 is offset 0 of bin 15.
        {"offset at the bin count", {0.5}, 10, 0.25, 23, 0.5, 15.5},
        // -0.5 truncates to bin 0 without the range test; it must not take the place of 0.9.
        {"value below the range", {-0.5, 0.9}, 20, 1, 38, 0.9, NAN},
    };
    for (const auto& c : cases) {
        std::vector<double> v = c.Head;
        for (int i = 0; i < c.Count; ++i)
            v.push_back(c.From + i * c.Step);
        OutputHistogram h;
        h.Low = 0;
        h.High = 150;
        h.Width = 1;
        for (double x : v)
            if (x >= 0) ++h.Counts[static_cast<int>(x)];
        const CoverageInterval interval = ComputeCoverageInterval(v.data(), v.size(), h, 2);
        ASSERT_TRUE(interval.Determined) << c.Label;
        EXPECT_EQ(interval.Low, c.Low) << c.Label;
        if (!std::isnan(c.High)) EXPECT_EQ(interval.High, c.High) << c.Label;
    }
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

TEST(ResultTexts, NormalityVerdict) {
    EXPECT_EQ(NormalityText(Texts(), 5.9915L), "Normality test (Jarque - Bera)  =  5.9915   (fit)");
    EXPECT_EQ(NormalityText(Texts(), 5.99151L),
              "Normality test (Jarque - Bera)  =  5.99151   (doesn't fit)");
    EXPECT_EQ(NormalityText(Texts(), 0.123456789L),
              "Normality test (Jarque - Bera)  =  0.12346   (fit)");
    EXPECT_EQ(NormalityUndeterminedText(Texts()),
              "Normality test (Jarque - Bera)  =  Indetermined");
    EXPECT_NEAR(static_cast<double>(JarqueBera(100, 0.5L, 4)), 100 * (0.25 / 6 + 1.0 / 24), 1e-13);
}

TEST(ResultTexts, IntervalAndClassicForm) {
    const MessageTexts& t = Texts();
    EXPECT_EQ(IntervalText(t, 2, 9.9802, 10.0199),
              "Confidence interval (p = 95%): [ 9.9802 , 10.0199 ]");
    EXPECT_EQ(IntervalText(t, 5, -0.005, 12345678.9),
              "Confidence interval (p = 99,73%): [ -5.00000e-3 , 1.23457e7 ]");
    EXPECT_EQ(InterruptedIntervalText(t, 3),
              "Confidence interval (p = 95,45%): Indeterminado (simul. interrumpida)");
    EXPECT_EQ(UndeterminedIntervalText(t, 0), "Confidence interval (p = 68,27%)  =  Indetermined");
    EXPECT_EQ(ClassicText(t, 9.98, 10.02, " g"), "GUM format: 10.000 \xB1 0.020  g");
    EXPECT_EQ(ClassicUndeterminedText(t), "GUM format = Indetermined");
    EXPECT_EQ(MostProbableText(1234.5L), "1.23450e3");
    EXPECT_EQ(MostProbableText(12.3456789L), "12.3457");
    EXPECT_EQ(MostProbableText(-0.05L), "-5.00000e-2");
}

TEST(ResultTexts, CoverageChoiceItemsAndForms) {
    const MessageTexts& t = Texts();
    const char* const items[] = {
        "p = 68,27% (Normal: \xB5 = s)",  "p = 90%", "p = 95%",
        "p = 95,45% (Normal: \xB5 = 2s)", "p = 99%", "p = 99,73% (Normal: \xB5 = 3s)"};
    for (int i = 0; i < kCoverageChoiceCount; ++i)
        EXPECT_EQ(CoverageItemText(i, t), items[i]);
    EXPECT_EQ(UndeterminedForm(1), " (p = 90%)  =  ");
    EXPECT_EQ(ResultForm(3), " (p = 95,45%): [ ");
    EXPECT_EQ(InterruptedForm(4), " (p = 99%): ");
}

TEST(ResultTexts, ChangeOfTheCoverageChoice) {
    EXPECT_FALSE(ChangeCoverage(false, 4, Texts()).Changed);
    const CoverageChangeTexts change = ChangeCoverage(true, 4, Texts());
    EXPECT_TRUE(change.Changed);
    EXPECT_EQ(change.Interval, "Confidence interval (p = 99%)  =  Indetermined");
    EXPECT_EQ(change.Classic, "GUM format = Indetermined");
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
    EXPECT_EQ(flat[1], "-1234.5");
    EXPECT_EQ(flat[2], "0.000000e0");
    EXPECT_EQ(flat[3], "0.00000e0");
    EXPECT_EQ(flat[4], "-0.5");
    EXPECT_EQ(flat[5], "1.00050e3");
    EXPECT_EQ(flat[9], "0.00000e0");
}

}  // namespace
}  // namespace corvanta
