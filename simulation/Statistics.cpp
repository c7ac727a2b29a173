#include "simulation/Statistics.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

#include "engine/NumberText.h"
#include "simulation/ResultFormat.h"

namespace corvanta {

std::int64_t OutputHistogram::Total() const {
    std::int64_t total = 0;
    for (std::int64_t count : Counts)
        total += count;
    return total;
}

BinLocator::BinLocator(const OutputHistogram& histogram)
    : low_(histogram.Low), high_(histogram.High), width_(histogram.Width) {
    if (!(width_ > 0) || !std::isfinite(width_) || !(low_ <= high_)) return;
    // The counted doubles: from the first at or above Low to the last at or
    // below High.
    first_ = static_cast<double>(low_);
    if (first_ < low_) first_ = std::nextafter(first_, HUGE_VAL);
    last_ = static_cast<double>(high_);
    if (last_ > high_) last_ = std::nextafter(last_, -HUGE_VAL);
    if (!(first_ <= last_)) return;
    lowGuess_ = static_cast<double>(low_);
    inverseWidth_ = static_cast<double>(1 / width_);
    // The bin of a double never falls as the double grows, so each bin starts
    // at the smallest counted double whose bin is at least k. It is found by
    // bisection over the doubles in their order: near 0 the doubles are so
    // dense that a walk one double at a time can take billions of steps,
    // where the bisection takes at most 64.
    start_[0] = first_;
    for (int k = 1; k <= kHistogramBins; ++k) {
        // A bin whose nominal edge lies beyond the counted doubles starts
        // beyond them too, whatever the bin of the last one.
        const double edge = std::max(static_cast<double>(low_ + k * width_), start_[k - 1]);
        if (edge > last_ || ExactBin(last_) < k) {
            start_[k] = HUGE_VAL;
            continue;
        }
        std::uint64_t lo = OrderKey(start_[k - 1]);  // the answer lies in [lo, hi]
        std::uint64_t hi = OrderKey(last_);
        while (lo < hi) {
            const std::uint64_t mid = lo + (hi - lo) / 2;
            if (ExactBin(FromOrderKey(mid)) >= k) {
                hi = mid;
            } else {
                lo = mid + 1;
            }
        }
        start_[k] = FromOrderKey(lo);
    }
}

std::uint64_t BinLocator::OrderKey(double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    constexpr std::uint64_t sign = std::uint64_t{1} << 63;
    // Negative doubles grow in the opposite order of their bits.
    return bits & sign ? ~bits : bits | sign;
}

double BinLocator::FromOrderKey(std::uint64_t key) {
    constexpr std::uint64_t sign = std::uint64_t{1} << 63;
    return std::bit_cast<double>(key & sign ? key & ~sign : ~key);
}

int BinLocator::ExactBin(double v) const {
    ++steps_;
    const long double q = (v - low_) / width_;
    return q >= kHistogramBins ? kHistogramBins : static_cast<int>(q);
}

namespace {

void FillHistogram(const double* values, std::int64_t count, OutputHistogram& histogram) {
    histogram.Counts.fill(0);
    const BinLocator locator(histogram);
    for (std::int64_t i = 0; i < count; ++i) {
        const int k = locator.Bin(values[i]);
        if (k >= 0) ++histogram.Counts[k];
    }
}

}  // namespace

ProgressUpdate UpdateRunStatistics(const double* values, std::int64_t count, double outputMin,
                                   double outputMax, long double previousKurtosis) {
    PowerSums sums;
    return UpdateRunStatistics(values, count, outputMin, outputMax, previousKurtosis, sums);
}

ProgressUpdate UpdateRunStatistics(const double* values, std::int64_t count, double outputMin,
                                   double outputMax, long double previousKurtosis,
                                   PowerSums& sums) {
    ProgressUpdate update;
    SimulationResult& r = update.Statistics;
    if (sums.Count > count) sums = PowerSums{};
    for (std::int64_t i = sums.Count; i < count; ++i)
        sums.Add(values[i]);
    r.n = count;
    r.OutputMin = outputMin;
    r.OutputMax = outputMax;
    if (count <= 0) return update;

    const long double n = count;
    const bool spread = outputMin < outputMax;
    // Central quantities do not move with the origin of the sums.
    r.Mean = sums.Origin + sums.S1 / n;
    const long double spreadSquare = (sums.S2 - sums.S1 * sums.S1 / n) / n;
    r.StandardDeviation = spread && spreadSquare > 0 ? std::sqrt(spreadSquare) : 0;

    OutputHistogram& h = update.Histogram;
    h.Low = r.Mean - 3 * r.StandardDeviation;
    h.High = r.Mean + 3 * r.StandardDeviation;
    if (outputMin > h.Low) h.Low = outputMin;
    if (outputMax < h.High) h.High = outputMax;
    h.Width = (h.High - h.Low) / kHistogramBins;
    if (spread && !(h.Width > 0)) {
        // The deviation vanished in the power sums although the values
        // differ: the whole range of the values still makes usable bins.
        h.Low = outputMin;
        h.High = outputMax;
        h.Width = (h.High - h.Low) / kHistogramBins;
    }
    if (h.Width > 0) {
        FillHistogram(values, count, h);
    } else {
        // Every value is the same: one spike in the middle of the chart.
        h.Counts.fill(0);
        h.Counts[kHistogramBins / 2] = count;
    }

    update.Marks = previousKurtosis - 3 > -1.5L;

    const long double a = 1 / n;
    const long double d = a * sums.S1;  // the mean's distance from the origin
    const long double aS2 = a * sums.S2;
    const long double aS3 = a * sums.S3;
    r.M1 = sums.Origin + d;
    r.M2 = aS2 - d * d;
    r.M3 = aS3 - 3 * d * aS2 + 2 * d * d * d;
    r.M4 = a * sums.S4 - 4 * d * aS3 + 6 * d * d * aS2 - 3 * d * d * d * d;
    if (!spread) r.M2 = r.M3 = r.M4 = 0;
    r.ShapeDetermined = spread && r.M2 > 0;
    if (r.ShapeDetermined) {
        r.Skewness = r.M3 * std::exp(-1.5L * std::log(r.M2));
        r.Kurtosis = r.M4 / (r.M2 * r.M2);
    }

    update.LowerBound = r.Mean - 1.96L * r.StandardDeviation;
    update.UpperBound = r.Mean + 1.96L * r.StandardDeviation;
    return update;
}

bool IsProgressIndex(std::int64_t i, std::int64_t n) {
    if (i == n - 1 || i == 150) return true;
    if (i > 1 && i < 30000) return i % 100 == 0;
    if (i > 30000 && i < 500000) return i % 5000 == 0;
    if (i >= 500000) return i % 100000 == 0;
    return false;
}

// --- Coverage choice ---

namespace {

struct CoverageRow {
    const char* Percent;  // as written in the texts
    double Probability;
    double LowerTail;
    double UpperTail;
    const char* Suffix;  // "" or " = s)" etc. after the Normal caption
};

const CoverageRow kCoverageRows[kCoverageChoiceCount] = {
    {"68,27", 68.27, 15.865, 84.135, " = s)"},
    {"90", 90, 5, 95, ""},
    {"95", 95, 2.5, 97.5, ""},
    {"95,45", 95.45, 2.275, 97.725, " = 2s)"},
    {"99", 99, 0.5, 99.5, ""},
    {"99,73", 99.73, 0.135, 99.865, " = 3s)"},
};

const CoverageRow& Row(int index) {
    return kCoverageRows[index >= 0 && index < kCoverageChoiceCount ? index
                                                                    : kDefaultCoverageChoice];
}

}  // namespace

std::string CoverageItemText(int index, const MessageTexts& texts) {
    const CoverageRow& row = Row(index);
    std::string text = std::string("p = ") + row.Percent + "%";
    if (*row.Suffix) text += " (" + texts.NormalChoice + ": \xB5" + row.Suffix;
    return text;
}

double CoverageProbability(int index) {
    return Row(index).Probability;
}

std::string UndeterminedForm(int index) {
    return std::string(" (p = ") + Row(index).Percent + "%)  =  ";
}
std::string ResultForm(int index) {
    return std::string(" (p = ") + Row(index).Percent + "%): [ ";
}
std::string InterruptedForm(int index) {
    return std::string(" (p = ") + Row(index).Percent + "%): ";
}

namespace {

// The ranks of the interval are ranks among all the values of the run. The
// bins hold only the values within m - 3s … m + 3s, so the values below and
// above them form two more regions at either end; without them a 95 %
// interval of a normal output would be taken of 99.7 % of the values and come
// out about 1 % too narrow, and a long-tailed output would lose its tails.
constexpr int kRegions = kHistogramBins + 2;  // below, the 150 bins, above

struct TailPosition {
    int Region = 0;
    std::int64_t Offset = 0;
};

// The region where the running count first exceeds the target, and the rank
// inside it (rounded half to even).
TailPosition FindTail(const std::array<std::int64_t, kRegions>& counts, long double target) {
    std::int64_t before = 0;
    int last = 0;
    for (int r = 0; r < kRegions; ++r) {
        if (counts[r] == 0) continue;
        last = r;
        const std::int64_t through = before + counts[r];
        if (through > target) {
            TailPosition p;
            p.Region = r;
            p.Offset = static_cast<std::int64_t>(std::nearbyint(target - before));
            // A target that rounds up to the region's full count takes its last value.
            if (p.Offset >= counts[r]) p.Offset = counts[r] - 1;
            if (p.Offset < 0) p.Offset = 0;
            return p;
        }
        before = through;
    }
    return {last, counts[last] - 1};
}

}  // namespace

CoverageInterval ComputeCoverageInterval(const double* values, std::int64_t count,
                                         const OutputHistogram& histogram, int coverageIndex) {
    CoverageInterval interval;
    if (!(histogram.Width > 0) || count <= 0) return interval;
    const BinLocator locator(histogram);
    auto regionOf = [&](double v) {
        const int k = locator.Bin(v);
        if (k >= 0) return k + 1;
        return v < histogram.Low ? 0 : kRegions - 1;
    };
    std::array<std::int64_t, kRegions> counts{};
    std::int64_t below = 0;
    for (std::int64_t i = 0; i < count; ++i)
        if (values[i] < histogram.Low) ++below;
    counts[0] = below;
    for (int k = 0; k < kHistogramBins; ++k)
        counts[k + 1] = histogram.Counts[k];
    counts[kRegions - 1] = count - below - histogram.Total();

    const CoverageRow& row = Row(coverageIndex);
    long double lowerTarget, upperTarget;
    if (coverageIndex == 1) {
        lowerTarget = static_cast<long double>(count * 5) / 100;
        upperTarget = static_cast<long double>(count * 95) / 100;
    } else {
        lowerTarget = static_cast<long double>(count) * row.LowerTail / 100;
        upperTarget = static_cast<long double>(count) * row.UpperTail / 100;
    }
    const TailPosition lower = FindTail(counts, lowerTarget);
    const TailPosition upper = FindTail(counts, upperTarget);

    const std::size_t aSize = counts[lower.Region];
    const std::size_t bSize = counts[upper.Region];
    std::vector<double> a, b;
    a.reserve(aSize);
    b.reserve(bSize);
    for (std::int64_t i = 0; i < count && (a.size() < aSize || b.size() < bSize); ++i) {
        const int r = regionOf(values[i]);
        if (r == lower.Region && a.size() < aSize) a.push_back(values[i]);
        if (r == upper.Region && b.size() < bSize) b.push_back(values[i]);
    }
    if (a.empty() || b.empty()) return interval;
    const std::size_t lowRank = std::min<std::size_t>(lower.Offset, a.size() - 1);
    const std::size_t highRank = std::min<std::size_t>(upper.Offset, b.size() - 1);
    // Only the rank matters, not the order of the others.
    std::nth_element(a.begin(), a.begin() + lowRank, a.end());
    std::nth_element(b.begin(), b.begin() + highRank, b.end());
    interval.Determined = true;
    interval.Low = a[lowRank];
    interval.High = b[highRank];
    return interval;
}

long double MostProbableValue(const OutputHistogram& histogram) {
    int fullest = 0;
    for (int k = 1; k < kHistogramBins; ++k)
        if (histogram.Counts[k] > histogram.Counts[fullest]) fullest = k;
    return histogram.Low + (2 * fullest + 1) * histogram.Width / 2;
}

// --- Texts ---

long double JarqueBera(std::int64_t n, long double skewness, long double kurtosis) {
    const long double excess = kurtosis - 3;
    return n * (skewness * skewness / 6 + excess * excess / 24);
}

std::string NormalityText(const MessageTexts& texts, long double jarqueBera) {
    return texts.NormalityTest +
           " (Jarque - Bera)  =  " + FormatPattern("####0.#####", jarqueBera) + "   (" +
           (jarqueBera <= kJarqueBeraLimit ? texts.Fits : texts.DoesNotFit) + ")";
}

std::string NormalityUndeterminedText(const MessageTexts& texts) {
    return texts.NormalityTest + " (Jarque - Bera)  =  " + texts.Indetermined;
}

std::string IntervalValueText(double x) {
    return FormatPattern(x > 10000000 || std::fabs(x) < 0.01 ? "0.00000e-0" : "####0.#####", x);
}

std::string IntervalText(const MessageTexts& texts, int coverageIndex, double low, double high) {
    return texts.ConfidenceInterval + ResultForm(coverageIndex) + IntervalValueText(low) + " , " +
           IntervalValueText(high) + " ]";
}

std::string InterruptedIntervalText(const MessageTexts& texts, int coverageIndex) {
    return texts.ConfidenceInterval + InterruptedForm(coverageIndex) +
           "Indeterminado (simul. interrumpida)";
}

std::string UndeterminedIntervalText(const MessageTexts& texts, int coverageIndex) {
    return texts.ConfidenceInterval + UndeterminedForm(coverageIndex) + texts.Indetermined;
}

std::string ClassicText(const MessageTexts& texts, double low, double high,
                        const std::string& unitSuffix) {
    const long double midpoint = (static_cast<long double>(high) + low) / 2;
    const long double halfWidth = (static_cast<long double>(high) - low) / 2;
    return texts.GumFormat + ": " +
           FormatValueWithUncertainty(static_cast<double>(midpoint),
                                      static_cast<double>(halfWidth)) +
           " " + unitSuffix;
}

std::string ClassicUndeterminedText(const MessageTexts& texts) {
    return texts.GumFormat + " = " + texts.Indetermined;
}

std::string MostProbableText(long double value) {
    return FormatPattern(value > 1000 || std::fabs(value) < 0.1 ? "0.00000e-0" : "######0.####",
                         value);
}

CoverageChangeTexts ChangeCoverage(bool stopRequested, int newIndex, const MessageTexts& texts) {
    CoverageChangeTexts change;
    if (!stopRequested) return change;
    change.Changed = true;
    change.Interval = UndeterminedIntervalText(texts, newIndex);
    change.Classic = ClassicUndeterminedText(texts);
    return change;
}

namespace {

std::string GridValue(long double x, const char* farPattern, const char* nearPattern) {
    return FormatPattern(x > 1000 || std::fabs(x) < 0.1 ? farPattern : nearPattern, x);
}

std::string ReformatLabel(const std::string& text) {
    long double x = 0;
    if (!TryParseFloat(text, x)) return text;
    return GridValue(x, "0.00000e-0", "######0.#####");
}

}  // namespace

std::array<std::string, kResultRows> ResultsGridTexts(std::int64_t iterations,
                                                      const SimulationResult& s,
                                                      const std::string& skewnessText,
                                                      const std::string& kurtosisText,
                                                      const std::string& mostProbableText) {
    const long double deviation = s.M2 > 0 ? std::sqrt(s.M2) : 0;
    const long double range = static_cast<long double>(s.OutputMax) - s.OutputMin;
    return {IntegerText(iterations),
            GridValue(s.M1, "0.0000000e-0", "######0.#####"),
            GridValue(s.M2, "0.000000e-0", "######0.#####"),
            GridValue(deviation, "0.00000e-0", "######0.#####"),
            ReformatLabel(skewnessText),
            ReformatLabel(kurtosisText),
            GridValue(s.OutputMax, "0.00000e-0", "######0.#####"),
            GridValue(s.OutputMin, "0.00000e-0", "######0.#####"),
            mostProbableText,
            GridValue(range, "0.00000e-0", "######0.#####")};
}

std::array<std::string, kResultRows> ResultsGridTitles(const CaptionTable& captions) {
    return {captions.Cap(46) + " ",
            captions.Cap(50) + " ",
            captions.Cap(84) + " ",
            captions.Cap(18) + " ",
            "Skew ",
            "Kurtosis ",
            captions.Cap(81) + " ",
            captions.Cap(82) + " ",
            captions.Cap(80) + " ",
            captions.Cap(65) + " "};
}

}  // namespace corvanta
