#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "engine/NumberText.h"

namespace corvanta {

// The value of x written with 15 significant digits, exactly as
// RoundToGeneral of engine/NumberText.h gives it (halves away from zero on
// the exact binary value, the decimal read back correctly rounded), for
// every finite x, in a few nanoseconds instead of a text round trip. The
// common case is inline so that a loop over many values keeps the processor
// busy; near-ties and extreme magnitudes take the text round trip.
long double RoundToGeneralFast(long double x);
long double RoundToGeneralFast(double x);

namespace rounding_detail {

static_assert(std::numeric_limits<long double>::digits == 64, "the x87 extended format is assumed");

// Powers of ten that a long double holds exactly (5^27 < 2^64).
inline constexpr int kExactPowers = 28;

constexpr std::array<long double, kExactPowers> MakePowers() {
    std::array<long double, kExactPowers> powers{};
    long double p = 1;
    for (int i = 0; i < kExactPowers; ++i) {
        powers[i] = p;
        p *= 10;
    }
    return powers;
}

inline constexpr std::array<long double, kExactPowers> kPowers = MakePowers();

// Adding and removing 2^63 leaves the nearest integer (ties to even) of a
// value below 2^62, without a change of the rounding mode.
inline constexpr long double kIntegerShift = 9223372036854775808.0L;

// The scaled value carries a relative error of at most 2^-64, under 2^-14 for
// a magnitude below 2^50: a fraction this close to one half might round the
// other way exactly and takes the slow road.
inline constexpr long double kTieMargin = 1.0L / 8192;

// x != 0 finite, |x| >= 2^binaryExponent.
inline long double Round(long double x, int binaryExponent) {
    const long double magnitude = std::fabs(x);
    // floor(binaryExponent * log10(2)): the decimal exponent or one less.
    const int decimal = (binaryExponent * 78913) >> 18;
    int shift = 14 - decimal;  // scale to 15 digits before the point
    if (shift < -(kExactPowers - 2) || shift > kExactPowers - 1) return RoundToGeneral(x);
    long double scaled = shift >= 0 ? magnitude * kPowers[shift] : magnitude / kPowers[-shift];
    if (scaled >= 1e15L) {
        --shift;
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

}  // namespace rounding_detail

inline long double RoundToGeneralFast(double x) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    if (biased == 0) return x == 0 ? 0.0L : RoundToGeneral(x);  // zero of either sign gives 0
    if (biased == 0x7FF) return RoundToGeneral(x);
    return rounding_detail::Round(x, biased - 1023);
}

// The same for a value already stored in memory, whose exponent is read
// from its bytes without another store.
inline long double RoundStoredToGeneralFast(const long double& stored) {
    const long double x = stored;
    if (x == 0) return 0.0L;
    // The biased exponent of the x87 format sits in bytes 8 and 9.
    std::uint16_t biased = 0;
    std::memcpy(&biased, reinterpret_cast<const unsigned char*>(&stored) + 8, sizeof biased);
    biased &= 0x7FFF;
    if (biased == 0 || biased == 0x7FFF) return RoundToGeneral(x);
    return rounding_detail::Round(x, static_cast<int>(biased) - 16383);
}

inline long double RoundToGeneralFast(long double x) {
    return RoundStoredToGeneralFast(x);
}

}  // namespace corvanta
