#include "simulation/ResultFormat.h"

#include <algorithm>
#include <cmath>

#include "engine/NumberText.h"

namespace corvanta {

namespace {

std::string Repeat(char c, int count) {
    return std::string(count > 0 ? count : 0, c);
}

long double PowerOfTen(int exponent) {
    long double power = 1;
    for (int i = 0; i < std::abs(exponent); ++i)
        power *= 10;
    return exponent < 0 ? 1 / power : power;
}

// Round(x / 10^d) * 10^d with halves to even, the quotient taken in
// extended precision so that halfway cases follow the binary value.
long double RoundToDigit(double x, int digit) {
    const long double factor = PowerOfTen(digit);
    return std::nearbyint(static_cast<long double>(x) / factor) * factor;
}

}  // namespace

int MagnitudeOrder(double x) {
    if (x == 0 || !std::isfinite(x)) return 0;
    const long double logarithm = std::log10(std::fabs(static_cast<long double>(x)));
    const int whole = static_cast<int>(std::trunc(logarithm));
    return std::fabs(x) >= 1 ? whole + 1 : whole - 1;
}

std::string FormatValueWithUncertainty(double value, double uncertainty) {
    const int ev = MagnitudeOrder(value);
    const int eu = MagnitudeOrder(uncertainty);

    std::string pu;
    if (eu > 2 || eu < -3) {
        pu = "0.0E-00";
    } else if (eu == 2) {
        pu = "##";
    } else if (eu == 1) {
        pu = "0.0";
    } else {
        pu = "#0." + Repeat('0', std::abs(eu) + 1);
    }

    std::string pv;
    if (ev - eu <= 6 && (eu >= 3 || eu < -3)) {
        pv = "0." + Repeat('0', std::abs(ev - eu) + 1) + "E-00";
    } else if (eu >= 2) {
        pv = Repeat('#', ev);
    } else {
        if (ev >= 2) pv = Repeat('#', ev - 1);
        pv += eu == 1 ? "0.0" : "0." + Repeat('0', std::abs(eu) + 1);
    }

    const int digit = eu != 1 ? eu - 1 : -1;
    return FormatPattern(pv, RoundToDigit(value, digit)) + " \xB1 " +
           FormatPattern(pu, RoundToDigit(uncertainty, digit));
}

std::string FormatRunningValue(long double value) {
    if (!std::isfinite(value)) return FormatGeneral(value);
    const long double magnitude = std::fabs(value);
    if (magnitude >= 1e11L) {
        // Twelve or more integer digits do not fit 11 significant digits.
        return FormatPattern("0.0000000000E+0", value);
    }
    int integerDigits = 1;
    for (long double bound = 10; magnitude >= bound && integerDigits < 11; bound *= 10)
        ++integerDigits;
    const int decimals = std::min(5, 11 - integerDigits);
    std::string text = FormatPattern("0." + Repeat('0', decimals), value);
    if (decimals == 0) text += '.';
    return text + Repeat('0', 5 - decimals);
}

}  // namespace corvanta
