#include "ui/Chart.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "engine/NumberText.h"

namespace corvanta {

QImage BlankChart() {
    QImage image(kChartWidth, kChartHeight, QImage::Format_RGB32);
    image.fill(kChartBackground);
    return image;
}

namespace {

// Paints rows [top, bottom) of column x.
void PaintColumn(QImage& image, int x, int top, int bottom, QRgb colour) {
    top = std::max(top, 0);
    bottom = std::min(bottom, image.height());
    for (int y = top; y < bottom; ++y)
        reinterpret_cast<QRgb*>(image.scanLine(y))[x] = colour;
}

}  // namespace

ChartMarks DrawChart(QImage& image, const std::array<std::int64_t, kHistogramBins>& counts,
                     bool marks, std::int64_t scaleCount) {
    const std::int64_t maxCount = std::max<std::int64_t>(
        scaleCount, std::max<std::int64_t>(0, *std::max_element(counts.begin(), counts.end())));
    long double total = 0;
    for (std::int64_t count : counts)
        total += count;
    // Nothing counted: no tails to mark.
    if (total == 0) marks = false;

    ChartMarks where;
    where.Shown = marks;
    long double cumulative = 0;
    bool firstCentral = true, upperSeen = false, markPending = false;
    for (int k = 0; k < kHistogramBins; ++k) {
        QRgb bar = kChartBar.rgb();
        if (marks) {
            cumulative += counts[k];
            if (0.025L * total > cumulative) {
                bar = kChartTail.rgb();
            } else if (0.975L * total > cumulative) {
                if (firstCentral) {
                    markPending = true;
                    where.LowX = 2 * k + 24;
                    firstCentral = false;
                }
            } else {
                bar = kChartTail.rgb();
                if (!upperSeen) {
                    markPending = true;
                    where.HighX = 2 * k + 24;
                    upperSeen = true;
                }
            }
        }
        // count * 150 / maxCount rounded half to even, in integers so that no
        // height depends on a floating quotient. With no counted value at all
        // (maxCount 0) every bar is empty.
        std::int64_t height = 0;
        if (maxCount > 0) {
            const std::int64_t scaled = counts[k] * kChartBarMax;
            height = scaled / maxCount;
            const std::int64_t rest = scaled % maxCount;
            if (2 * rest > maxCount || (2 * rest == maxCount && height % 2 != 0)) ++height;
        }
        const int top = kChartBarMax - static_cast<int>(height);
        const int x = 2 * k;
        PaintColumn(image, x, top + 10, kChartBaseline, bar);
        QRgb above = kChartBackground.rgb();
        if (markPending && marks) {
            above = kChartMark.rgb();
            markPending = false;
        }
        // The row just above the bar belongs to the column above, so that a
        // lower bar leaves no stale top row of a taller one.
        PaintColumn(image, x, 0, top + 10, above);
    }
    return where;
}

long double GumDensity(long double x, long double estimate, long double uncertainty,
                       double degrees) {
    const long double t = (x - estimate) / uncertainty;
    if (!std::isfinite(degrees)) {
        return std::exp(-t * t / 2) / (uncertainty * std::sqrt(2 * 3.14159265358979323846L));
    }
    const long double nu = degrees;
    const long double logNorm = std::lgamma((nu + 1) / 2) - std::lgamma(nu / 2) -
                                std::log(std::sqrt(nu * 3.14159265358979323846L));
    return std::exp(logNorm - (nu + 1) / 2 * std::log1p(t * t / nu)) / uncertainty;
}

namespace {

// The count bin position x / 2 would hold under the density: bin k stands
// at x = 2k, its centre at even x.
long double ExpectedCount(const OutputHistogram& histogram, std::int64_t count, int x,
                          long double estimate, long double uncertainty, double degrees) {
    const long double value = histogram.Low + (x / 2.0L + 0.5L) * histogram.Width;
    return count * histogram.Width * GumDensity(value, estimate, uncertainty, degrees);
}

}  // namespace

std::int64_t GumCurvePeak(const OutputHistogram& histogram, std::int64_t count,
                          long double estimate, long double uncertainty, double degrees) {
    if (!(histogram.Width > 0) || !(uncertainty > 0) || count <= 0) return 0;
    long double peak = 0;
    for (int x = 0; x < kChartWidth - 1; ++x)
        peak = std::max(peak, ExpectedCount(histogram, count, x, estimate, uncertainty, degrees));
    return static_cast<std::int64_t>(std::ceil(peak));
}

void DrawGumCurve(QImage& image, const OutputHistogram& histogram, std::int64_t count,
                  long double estimate, long double uncertainty, double degrees) {
    const std::int64_t maxCount =
        std::max(*std::max_element(histogram.Counts.begin(), histogram.Counts.end()),
                 GumCurvePeak(histogram, count, estimate, uncertainty, degrees));
    if (maxCount <= 0 || !(histogram.Width > 0) || !(uncertainty > 0) || count <= 0) return;
    QPainterPath path;
    for (int x = 0; x < kChartWidth - 1; ++x) {
        const long double expected =
            ExpectedCount(histogram, count, x, estimate, uncertainty, degrees);
        const double height = static_cast<double>(expected * kChartBarMax / maxCount);
        const QPointF point(x + 0.5, kChartBaseline - std::min(height, kChartBaseline + 0.0));
        if (x == 0) {
            path.moveTo(point);
        } else {
            path.lineTo(point);
        }
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(0, 0, kChartWidth, kChartBaseline);
    painter.setPen(QPen(kChartCurve, 2));
    painter.drawPath(path);
}

std::string MarkText(long double bound) {
    return "1.96 s = " + FormatPattern("####0.#####", bound);
}

}  // namespace corvanta
