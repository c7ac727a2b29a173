#pragma once

#include "simulation/GumFramework.h"

// The GUM uncertainty framework checked against a Monte Carlo run: whether
// its coverage interval agrees with the run's to the numerical tolerance.
namespace corvanta {

// The numerical tolerance of a standard uncertainty given to `digits`
// significant digits: half a unit of its last digit.
long double NumericalTolerance(long double uncertainty, int digits);

// The GUM interval against the Monte Carlo one.
struct Validation {
    int Digits = 2;
    long double Tolerance = 0;
    long double LowDifference = 0;   // |y - U - y_low|
    long double HighDifference = 0;  // |y + U - y_high|
    bool Validated = false;
};
Validation ValidateGum(const GumResult& gum, long double monteCarloLow, long double monteCarloHigh,
                       int digits);

}  // namespace corvanta
