#include "simulation/AdaptiveRun.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <vector>

#include "distributions/Sampling.h"
#include "simulation/BatchPipeline.h"
#include "simulation/CompiledModel.h"
#include "simulation/CoverageIntervals.h"
#include "simulation/Run.h"
#include "simulation/Validation.h"

namespace corvanta {

std::int64_t AdaptiveBatchSize(long double probability) {
    const auto j = static_cast<std::int64_t>(std::ceil(100 / (1 - probability) - 1e-9L));
    return std::max<std::int64_t>(j, 10000);
}

namespace {

// Twice the standard deviation of the average of h batch results.
long double TwiceSpread(const std::vector<long double>& results) {
    const auto h = static_cast<long double>(results.size());
    long double mean = 0;
    for (long double z : results)
        mean += z;
    mean /= h;
    long double sum = 0;
    for (long double z : results)
        sum += (z - mean) * (z - mean);
    return 2 * std::sqrt(sum / (h * (h - 1)));
}

}  // namespace

AdaptiveOutcome RunAdaptive(const std::string& modelText, const ParameterList& parameters,
                            long double probability, int digits, std::int64_t ceiling,
                            std::uint32_t seed, const MessageTexts& texts, UserDialogs& dialogs,
                            int threads, const CorrelationList& correlations) {
    AdaptiveOutcome outcome;
    const std::int64_t m = AdaptiveBatchSize(probability);
    outcome.BatchSize = m;
    UniformSeed = seed;
    CompiledModel model(modelText, parameters, texts, dialogs, std::nullopt, correlations);
    BatchPipeline pipeline(model, threads > 0 ? threads : DefaultThreadCount());
    // The trials follow one another across the batches of the procedure.
    const CompiledModel::Batch* drawn = nullptr;
    std::size_t cursor = 0;

    std::vector<double> batch(static_cast<std::size_t>(m));
    // y, u(y), y_low and y_high of every batch.
    std::array<std::vector<long double>, 4> results;
    // All trials so far, for u(y): Welford's running mean and sum of squares.
    long double count = 0, mean = 0, squares = 0;
    std::int64_t failures = 0;
    for (;;) {
        if ((outcome.Batches + 1) * m > ceiling) {
            outcome.CeilingReached = true;
            break;
        }
        std::size_t filled = 0;
        while (filled < batch.size()) {
            if (drawn == nullptr || cursor == drawn->Count) {
                // The values of this batch, and those of the next one drawn ahead.
                drawn = &pipeline.Next(static_cast<std::int64_t>(batch.size() - filled) + m);
                cursor = 0;
            }
            const std::size_t t = cursor++;
            if (drawn->Failed(t)) {
                if (++failures >= kConsecutiveFailureLimit) {
                    try {
                        std::rethrow_exception(drawn->Faults[t]);
                    } catch (const std::exception& fault) {
                        dialogs.ShowError(ConsecutiveFailuresText(fault.what()));
                    }
                    return AdaptiveOutcome{.BatchSize = m};
                }
                continue;
            }
            failures = 0;
            batch[filled++] = drawn->Values[t];
        }
        long double sum = 0;
        for (double v : batch) {
            sum += v;
            count += 1;
            const long double delta = v - mean;
            mean += delta / count;
            squares += delta * (v - mean);
        }
        const long double batchMean = sum / static_cast<long double>(m);
        long double batchSquares = 0;
        for (double v : batch)
            batchSquares += (v - batchMean) * (v - batchMean);
        std::sort(batch.begin(), batch.end());
        const ValueInterval interval = SymmetricInterval(batch.data(), m, probability);
        results[0].push_back(batchMean);
        results[1].push_back(std::sqrt(batchSquares / static_cast<long double>(m - 1)));
        results[2].push_back(interval.Low);
        results[3].push_back(interval.High);
        ++outcome.Batches;
        if (outcome.Batches < kAdaptiveMinimumBatches) continue;

        outcome.Tolerance = NumericalTolerance(std::sqrt(squares / (count - 1)), digits);
        outcome.SpreadMean = TwiceSpread(results[0]);
        outcome.SpreadUncertainty = TwiceSpread(results[1]);
        outcome.SpreadLow = TwiceSpread(results[2]);
        outcome.SpreadHigh = TwiceSpread(results[3]);
        if (outcome.SpreadMean <= outcome.Tolerance &&
            outcome.SpreadUncertainty <= outcome.Tolerance &&
            outcome.SpreadLow <= outcome.Tolerance && outcome.SpreadHigh <= outcome.Tolerance)
            break;
    }
    outcome.Trials = outcome.Batches * m;
    outcome.Mean = mean;
    outcome.StandardUncertainty = count > 1 ? std::sqrt(squares / (count - 1)) : 0;
    return outcome;
}

}  // namespace corvanta
