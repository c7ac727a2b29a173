#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "captions/Captions.h"

namespace corvanta {

inline constexpr int kHistogramBins = 150;

// The histogram of a progress update. Bin k covers Low + k*Width <= v <
// Low + (k+1)*Width; a value equal to High counts only when High lies below
// the largest value.
struct OutputHistogram {
    long double Low = 0;
    long double High = 0;
    long double Width = 0;
    std::array<std::int64_t, kHistogramBins> Counts{};

    std::int64_t Total() const;
};

// Places values in the bins of a histogram exactly as Trunc((v - Low) /
// Width) in extended precision does, with the range test Low <= v <= High,
// but with compares against a table of the smallest double of each bin
// instead of a subtraction and a division per value.
class BinLocator {
  public:
    explicit BinLocator(const OutputHistogram& histogram);
    // The bin of v, or -1 when v is not counted.
    int Bin(double v) const {
        if (!(first_ <= v && v <= last_)) return -1;
        const double guess = (v - lowGuess_) * inverseWidth_;
        int k = guess >= kHistogramBins ? kHistogramBins : guess > 0 ? static_cast<int>(guess) : 0;
        while (k < kHistogramBins && v >= start_[k + 1])
            ++k;
        while (k > 0 && v < start_[k])
            --k;
        return k < kHistogramBins ? k : -1;
    }

    // How many values the constructor placed by the definition itself to
    // find the bin edges: at most 65 a bin, however dense the doubles.
    int SearchSteps() const { return steps_; }

  private:
    // The bin of v by the definition itself.
    int ExactBin(double v) const;
    // The doubles in their order as unsigned integers (-0 just below +0).
    static std::uint64_t OrderKey(double v);
    static double FromOrderKey(std::uint64_t key);

    mutable int steps_ = 0;

    long double low_ = 0, high_ = 0, width_ = 0;
    double first_ = 1, last_ = 0;  // the counted doubles; none while first_ > last_
    double lowGuess_ = 0, inverseWidth_ = 0;
    // start_[k]: the smallest double of bin k (or beyond); start_[150] is
    // where the uncounted values beyond the last bin begin.
    std::array<double, kHistogramBins + 1> start_{};
};

// The power sums of the values so far, kept between the progress updates of
// a run: adding in index order gives the same sums as a rescan. The sums are
// of the distances from the first value, not of the values themselves: an
// output such as 100 +- 1E-5 would otherwise lose every digit of its
// variance, skewness and kurtosis to cancellation between huge raw sums.
struct PowerSums {
    std::int64_t Count = 0;
    long double Origin = 0;  // the first value added
    long double S1 = 0;
    long double S2 = 0;
    long double S3 = 0;
    long double S4 = 0;

    void Add(double value) {
        if (Count == 0) Origin = value;
        const long double v = value - Origin;
        const long double square = v * v;
        S1 += v;
        S2 += square;
        S3 += square * v;
        S4 += square * square;
        ++Count;
    }
};

// The moments of a progress update (population form, extended precision).
struct SimulationResult {
    std::int64_t n = 0;
    long double Mean = 0;               // m, for the histogram range and the marks
    long double StandardDeviation = 0;  // s
    long double M1 = 0;
    long double M2 = 0;
    long double M3 = 0;
    long double M4 = 0;
    // False when the values do not spread (all equal, or a variance lost to
    // cancellation): skewness and kurtosis are then undetermined.
    bool ShapeDetermined = false;
    long double Skewness = 0;
    long double Kurtosis = 0;  // not excess
    double OutputMin = 0;
    double OutputMax = 0;
};

struct ProgressUpdate {
    SimulationResult Statistics;
    OutputHistogram Histogram;
    bool Marks = false;          // show the central 95 % marks on the chart
    long double LowerBound = 0;  // m - 1.96 s
    long double UpperBound = 0;  // m + 1.96 s
};

// The progress update over values[0 .. count-1]. previousKurtosis is the
// kurtosis of the previous update of the run (0 before the first, and 0 after
// an update whose shape was undetermined).
ProgressUpdate UpdateRunStatistics(const double* values, std::int64_t count, double outputMin,
                                   double outputMax, long double previousKurtosis);
// The same, with the power sums carried over from the previous update of the
// run: only the values beyond sums.Count are added.
ProgressUpdate UpdateRunStatistics(const double* values, std::int64_t count, double outputMin,
                                   double outputMax, long double previousKurtosis, PowerSums& sums);

// True when the run makes a progress update at the 0-based index i of a run of
// n iterations.
bool IsProgressIndex(std::int64_t i, std::int64_t n);

// --- Coverage choice ---

inline constexpr int kCoverageChoiceCount = 6;
inline constexpr int kDefaultCoverageChoice = 2;

// The item text of the coverage list ("p = 95%", "p = 68,27% (Normal: \xB5 = s)").
std::string CoverageItemText(int index, const MessageTexts& texts);
// The probability as a number (68.27, 90, 95, 95.45, 99, 99.73).
double CoverageProbability(int index);
// " (p = 95%)  =  ", " (p = 95%): [ " and " (p = 95%): ".
std::string UndeterminedForm(int index);
std::string ResultForm(int index);
std::string InterruptedForm(int index);

struct CoverageInterval {
    bool Determined = false;
    double Low = 0;
    double High = 0;
};

// The interval of the chosen coverage from the bins of the last update: the
// values whose ranks among all the values are the two tail targets, found
// inside the bin where each target falls (or among the values below or above
// the bins when it falls there).
CoverageInterval ComputeCoverageInterval(const double* values, std::int64_t count,
                                         const OutputHistogram& histogram, int coverageIndex);

// The centre of the fullest bin (the first of equals).
long double MostProbableValue(const OutputHistogram& histogram);

// --- Texts of the results ---

// N * (skewness^2 / 6 + (kurtosis - 3)^2 / 24).
long double JarqueBera(std::int64_t n, long double skewness, long double kurtosis);
inline constexpr long double kJarqueBeraLimit = 5.9915L;
// "Normality test (Jarque - Bera)  =  0.41   (fit)".
std::string NormalityText(const MessageTexts& texts, long double jarqueBera);
// "Normality test (Jarque - Bera)  =  Indetermined".
std::string NormalityUndeterminedText(const MessageTexts& texts);
// The text of an interval end: "0.00000e-0" far from 1, "####0.#####" otherwise.
std::string IntervalValueText(double x);
// "Confidence interval (p = 95%): [ 9.9802 , 10.0199 ]".
std::string IntervalText(const MessageTexts& texts, int coverageIndex, double low, double high);
// "Confidence interval (p = 95%): Indeterminado (simul. interrumpida)".
std::string InterruptedIntervalText(const MessageTexts& texts, int coverageIndex);
// "Confidence interval (p = 95%)  =  Indetermined".
std::string UndeterminedIntervalText(const MessageTexts& texts, int coverageIndex);
// "GUM format: 10.000 \xB1 0.020  g" (unitSuffix is " " + the output's unit).
std::string ClassicText(const MessageTexts& texts, double low, double high,
                        const std::string& unitSuffix);
// "GUM format = Indetermined".
std::string ClassicUndeterminedText(const MessageTexts& texts);
std::string MostProbableText(long double value);

// What a change of the coverage choice writes: nothing while no run has ended
// (stopRequested false), otherwise the undetermined interval and classic form.
struct CoverageChangeTexts {
    bool Changed = false;
    std::string Interval;  // Label15 and Label60
    std::string Classic;   // Label28
};
CoverageChangeTexts ChangeCoverage(bool stopRequested, int newIndex, const MessageTexts& texts);

inline constexpr int kResultRows = 10;

// Column 1 of the results grid. skewnessText and kurtosisText are the texts of
// the skewness and kurtosis labels, reformatted when they hold a number and
// copied otherwise; mostProbableText is the text of row 8.
std::array<std::string, kResultRows> ResultsGridTexts(std::int64_t iterations,
                                                      const SimulationResult& statistics,
                                                      const std::string& skewnessText,
                                                      const std::string& kurtosisText,
                                                      const std::string& mostProbableText);

// Row titles of the results grid, each followed by one blank.
std::array<std::string, kResultRows> ResultsGridTitles(const CaptionTable& captions);

}  // namespace corvanta
