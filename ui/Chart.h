#pragma once

#include <QColor>
#include <QImage>
#include <array>
#include <cstdint>
#include <string>

#include "simulation/Statistics.h"

namespace corvanta {

inline constexpr int kChartWidth = 300;
inline constexpr int kChartHeight = 186;
inline constexpr int kChartBaseline = 160;
inline constexpr int kChartBarMax = 150;

inline const QColor kChartBackground(0, 0, 128);
inline const QColor kChartBar(114, 170, 216);
inline const QColor kChartTail(255, 255, 0);
inline const QColor kChartMark(128, 128, 128);
inline const QColor kChartCurve(255, 96, 64);

// A chart surface cleared to the background, as a run starts it.
QImage BlankChart();

// Where the two mark lines stand, as x of the picture plus 24 (0 when a mark
// was not met); the window places the mark labels 36 pixels left of them.
struct ChartMarks {
    bool Shown = false;  // false also when nothing was counted
    int LowX = 0;
    int HighX = 0;
};

// Paints the 150 counts as one-pixel bars at x = 2k over the picture of the
// previous update, without clearing it: every column above a bar is painted
// again (background, or the grey of a mark line), so lower bars leave no
// trace of taller ones. With marks, the bars of the lowest and highest
// 2.5 % of the counted values are yellow, and a grey line stands above the
// first central bin and above the first bin of the upper tail.
// The tallest bar stands for the larger of the highest count and
// scaleCount.
ChartMarks DrawChart(QImage& image, const std::array<std::int64_t, kHistogramBins>& counts,
                     bool marks, std::int64_t scaleCount = 0);

// The density of the GUM framework's result at x: normal with the estimate
// and u_c, or Student's t scaled by u_c at finite effective degrees.
long double GumDensity(long double x, long double estimate, long double uncertainty,
                       double degrees);

// The highest count a bin on the chart would hold under the GUM density for
// `count` values, rounded up; 0 when the histogram or the uncertainty is
// empty.
std::int64_t GumCurvePeak(const OutputHistogram& histogram, std::int64_t count,
                          long double estimate, long double uncertainty, double degrees);

// Draws over the chart the count each bin would hold under the GUM density
// for `count` values, to the scale of the tallest bar or of the curve's own
// peak when that is higher, as a line two pixels wide; nothing when the
// histogram or the uncertainty is empty.
void DrawGumCurve(QImage& image, const OutputHistogram& histogram, std::int64_t count,
                  long double estimate, long double uncertainty, double degrees);

// "1.96 s = 9.9802": the text beside a mark line.
std::string MarkText(long double bound);

}  // namespace corvanta
