#include "simulation/Validation.h"

#include <cmath>

namespace corvanta {

// u written as c x 10^l with c an integer of `digits` digits: the tolerance
// is half of 10^l.
long double NumericalTolerance(long double uncertainty, int digits) {
    const long double u = std::fabs(uncertainty);
    if (!(u > 0) || !std::isfinite(u)) return 0;
    long double exponent = std::floor(std::log10(u)) - (digits - 1);
    // log10 of an exact power of ten may land just below it.
    if (std::round(u / std::pow(10.0L, exponent)) >= std::pow(10.0L, digits)) exponent += 1;
    return std::pow(10.0L, exponent) / 2;
}

Validation ValidateGum(const GumResult& gum, long double monteCarloLow, long double monteCarloHigh,
                       int digits) {
    Validation v;
    v.Digits = digits;
    v.Tolerance = NumericalTolerance(gum.CombinedUncertainty, digits);
    v.LowDifference = std::fabs(gum.Estimate - gum.ExpandedUncertainty - monteCarloLow);
    v.HighDifference = std::fabs(gum.Estimate + gum.ExpandedUncertainty - monteCarloHigh);
    v.Validated =
        gum.Applicable && v.LowDifference <= v.Tolerance && v.HighDifference <= v.Tolerance;
    return v;
}

}  // namespace corvanta
