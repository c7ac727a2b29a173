#pragma once

#include <cstdint>

// Coverage intervals from sorted output values: the probabilistically
// symmetric one and the shortest one, with q = pM (or the integer part of
// pM + 1/2) values between their ends.
namespace corvanta {

struct ValueInterval {
    double Low = 0;
    double High = 0;
};

// sorted: count >= 2 values in ascending order; 0 < probability < 1.
ValueInterval SymmetricInterval(const double* sorted, std::int64_t count, long double probability);
ValueInterval ShortestInterval(const double* sorted, std::int64_t count, long double probability);

}  // namespace corvanta
