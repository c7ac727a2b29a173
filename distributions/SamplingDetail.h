#pragma once

#include <cstdint>

// Helpers shared by the sampler sources; not part of the public interface.
namespace corvanta::sampling_detail {

// Truncation toward zero to a 64-bit integer. A value outside the range (or
// not a number) raises the invalid-operation fault, as the conversion of an
// out-of-range value does in the arithmetic the run emulates.
std::int64_t TruncToInt64(long double x);

// ln 4, as the beta acceptance test uses it.
inline constexpr long double kLn4 = 1.3862943611198906L;
// The smallest positive double: a uniform above it is simply a non-zero one.
inline constexpr long double kTinyDouble = 5.0E-324L;

}  // namespace corvanta::sampling_detail
