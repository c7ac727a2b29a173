#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The one place where numbers and text meet. The point is always the decimal
// separator, whatever the locale of the process: nothing here uses printf,
// strtod or streams for values.
namespace corvanta {

// Number text: general format with at most 15 significant digits, trailing
// zeros removed, fixed notation for magnitudes from 0.0001 up to below 1E15
// and scientific notation outside ("1.5E-5", "1E20"). Rounding is to the
// nearest, halves away from zero, on the exact binary value. Non-finite
// values give "INF", "-INF" and "NAN"; zero of either sign gives "0".
std::string FormatGeneral(long double value);

// General format with the given number of significant digits (1 to 18).
std::string FormatGeneral(long double value, int significantDigits);

// The value that FormatGeneral(value) denotes, as a long double (the same as
// parsing the text back), for finite values.
long double RoundToGeneral(long double value);

// Pattern format. "0" is a digit always written, "#" a digit written only
// when significant, "." the decimal point, "E-0"/"e-0" an exponent whose
// zeros give the least number of digits and whose sign is written only when
// negative ("E+0": always). Digits beyond the pattern are rounded half away
// from zero. A value that rounds to zero is written without a sign. An empty
// pattern writes the value in general format.
//   FormatPattern("####0.#####", 9.98016) == "9.98016"
//   FormatPattern("0.00000e-0", 12345678) == "1.23457e7"
//   FormatPattern("0.0E-00", 3470) == "3.5E03"
std::string FormatPattern(std::string_view pattern, long double value);

// Text to number. Accepts optional blanks, an optional sign, digits with at
// most one point, an optional exponent "E"/"e" with optional sign and at
// least one digit, and optional blanks; at least one digit or the point must
// be present (a lone point is 0). No hexadecimal, INF or NAN.
bool TryParseFloat(std::string_view text, long double& value);
// As TryParseFloat; on failure throws CalcError(Conversion) with
// "'text' is not a valid floating point value".
long double ParseFloat(std::string_view text);

// Optional leading blanks, an optional sign and decimal digits, within the
// 32-bit signed range.
bool TryParseInteger(std::string_view text, std::int32_t& value);
// As TryParseInteger; on failure throws CalcError(Conversion) with
// "'text' is not a valid integer value".
std::int32_t ParseInteger(std::string_view text);

// Decimal text of an integer ("-12").
std::string IntegerText(long long value);

}  // namespace corvanta
