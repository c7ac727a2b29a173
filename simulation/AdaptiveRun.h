#pragma once

#include <cstdint>
#include <string>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"
#include "distributions/Correlations.h"
#include "distributions/ModelParameter.h"

// The adaptive Monte Carlo procedure: batches of M trials until the
// average, standard uncertainty and interval ends of the batches are stable
// to the numerical tolerance of the standard uncertainty. It keeps one
// batch of values at a time; the caller then runs the chosen number of
// trials from the same seed, which draws the very same values.
namespace corvanta {

inline constexpr std::int64_t kDefaultAdaptiveCeiling = 50000000;
// The stop rule is first checked after this many batches: the spread of a
// handful of batch results is itself so uncertain that two batches lying
// close together by chance would stop the run long before its results are
// stable.
inline constexpr std::int64_t kAdaptiveMinimumBatches = 10;

struct AdaptiveOutcome {
    std::int64_t BatchSize = 0;  // M = max(ceil(100 / (1 - p)), 10^4)
    std::int64_t Batches = 0;    // h
    std::int64_t Trials = 0;     // h M
    bool CeilingReached = false;
    long double Tolerance = 0;  // of u(y) over all trials, at `digits`
    long double Mean = 0;
    long double StandardUncertainty = 0;
    // Twice the standard deviations of the batch averages of y, u(y) and the
    // interval ends, which the procedure brings within the tolerance.
    long double SpreadMean = 0, SpreadUncertainty = 0, SpreadLow = 0, SpreadHigh = 0;
};

std::int64_t AdaptiveBatchSize(long double probability);

// Runs from `seed`. A model that fails on kConsecutiveFailureLimit draws in
// a row stops with the message of the run and CeilingReached false, Trials 0.
AdaptiveOutcome RunAdaptive(const std::string& modelText, const ParameterList& parameters,
                            long double probability, int digits, std::int64_t ceiling,
                            std::uint32_t seed, const MessageTexts& texts, UserDialogs& dialogs,
                            int threads = 0, const CorrelationList& correlations = {});

}  // namespace corvanta
