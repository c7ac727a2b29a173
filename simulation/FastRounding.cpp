#include "simulation/FastRounding.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "engine/NumberText.h"

namespace corvanta {

namespace {

// Powers of ten that a long double holds exactly (5^27 < 2^64).
constexpr int kExactPowers = 28;

constexpr std::array<long double, kExactPowers> MakePowers() {
    std::array<long double, kExactPowers> powers{};
    long double p = 1;
    for (int i = 0; i < kExactPowers; ++i) {
        powers[i] = p;
        p *= 10;
    }
    return powers;
}

constexpr std::array<long double, kExactPowers> kPowers = MakePowers();

// Adding and removing 2^63 leaves the nearest integer (ties to even) of a
// value below 2^62, without a change of the rounding mode.
constexpr long double kIntegerShift = 9223372036854775808.0L;

// The scaled value carries a relative error of at most 2^-64, under 2^-14 for
// a magnitude below 2^50: a fraction this close to one half might round the
// other way exactly and takes the slow road.
constexpr long double kTieMargin = 1.0L / 8192;

}  // namespace

long double RoundToGeneralFast(long double x) {
    if (x == 0 || !std::isfinite(x)) return RoundToGeneral(x);
    const long double magnitude = std::fabs(x);
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent);
    // floor((binaryExponent - 1) * log10(2)): the decimal exponent or one less.
    int decimal = ((binaryExponent - 1) * 78913) >> 18;
    int shift = 14 - decimal;  // scale to 15 digits before the point
    if (shift < -(kExactPowers - 1) || shift > kExactPowers - 1) return RoundToGeneral(x);
    long double scaled = shift >= 0 ? magnitude * kPowers[shift] : magnitude / kPowers[-shift];
    if (scaled >= 1e15L) {
        --shift;
        if (shift < -(kExactPowers - 1)) return RoundToGeneral(x);
        scaled = shift >= 0 ? magnitude * kPowers[shift] : magnitude / kPowers[-shift];
    }
    const long double whole = (scaled + kIntegerShift) - kIntegerShift;
    const long double fraction = scaled - whole;  // in [-0.5, 0.5]
    if (std::fabs(fraction) > 0.5L - kTieMargin) return RoundToGeneral(x);
    // One correctly rounded operation on exact operands gives the nearest
    // long double to the decimal value, as reading its text back does.
    const long double rounded = shift >= 0 ? whole / kPowers[shift] : whole * kPowers[-shift];
    return x < 0 ? -rounded : rounded;
}

}  // namespace corvanta
