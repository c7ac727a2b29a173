#include "simulation/CoverageIntervals.h"

#include <algorithm>
#include <cmath>

namespace corvanta {

namespace {

// The number of places from the lower end to the upper end.
std::int64_t Span(std::int64_t count, long double probability) {
    const long double pm = probability * count;
    const long double whole = std::floor(pm);
    const auto q = static_cast<std::int64_t>(pm == whole ? whole : std::floor(pm + 0.5L));
    return std::clamp<std::int64_t>(q, 1, count - 1);
}

}  // namespace

ValueInterval SymmetricInterval(const double* sorted, std::int64_t count, long double probability) {
    const std::int64_t q = Span(count, probability);
    // 1-based r = (M - q) / 2, or (M - q + 1) / 2 when that is not whole.
    const std::int64_t r = (count - q) % 2 == 0 ? (count - q) / 2 : (count - q + 1) / 2;
    const std::int64_t low = std::max<std::int64_t>(r, 1) - 1;
    return {sorted[low], sorted[std::min(low + q, count - 1)]};
}

ValueInterval ShortestInterval(const double* sorted, std::int64_t count, long double probability) {
    const std::int64_t q = Span(count, probability);
    std::int64_t best = 0;
    for (std::int64_t r = 1; r + q < count; ++r)
        if (sorted[r + q] - sorted[r] < sorted[best + q] - sorted[best]) best = r;
    return {sorted[best], sorted[best + q]};
}

}  // namespace corvanta
