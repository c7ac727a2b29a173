#pragma once

#include <string>

namespace corvanta {

// Value " ± " uncertainty with the decimals of both fitted to the magnitude
// of the uncertainty: two significant digits for an uncertainty below 10, one
// from 10 upwards, and the value rounded at the same decimal position.
//   FormatValueWithUncertainty(100.2347, 0.0347) == "100.235 \xB1 0.035"
std::string FormatValueWithUncertainty(double value, double uncertainty);

// The order of magnitude used above: 0 for 0, the number of digits before
// the point for |x| >= 1 (e(12.3) == 2), and minus one more than the number
// of leading zeros after the point below 1 (e(0.05) == -2).
int MagnitudeOrder(double x);

// Fixed text with 5 decimals of a value first cut to 11 significant digits,
// in exponent form when the integer part would need more than 11 digits:
// the running mean and variance and the skewness and kurtosis labels.
std::string FormatRunningValue(long double value);

}  // namespace corvanta
