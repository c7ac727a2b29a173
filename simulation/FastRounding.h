#pragma once

namespace corvanta {

// The value of x written with 15 significant digits, exactly as
// RoundToGeneral of engine/NumberText.h gives it (halves away from zero on
// the exact binary value, the decimal read back correctly rounded), for
// every finite x, in a few nanoseconds instead of a text round trip.
long double RoundToGeneralFast(long double x);

}  // namespace corvanta
