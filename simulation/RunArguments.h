#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "simulation/Run.h"
#include "simulation/Statistics.h"

// The options of a run named on a command line, read alike by the batch
// tool and by the window's report mode: the same values accepted, the same
// refusals in the same words.
namespace corvanta {

// A decimal number of digits only, within 0 ... limit.
std::optional<std::uint64_t> ParseCount(std::string_view text, std::uint64_t limit);

// The index of the coverage choice a text names ("95", "95.0" and "9.5e1"
// alike).
std::optional<int> ParseProbabilityChoice(std::string_view text);

struct RunArguments {
    std::int64_t Iterations = kDefaultIterations;
    bool IterationsGiven = false;
    int CoverageIndex = kDefaultCoverageChoice;
    std::optional<std::uint32_t> Seed;  // none: the clock's
};

// --iterations, --probability and --seed.
bool IsRunArgument(std::string_view option);

// Takes the value of one of those options into arguments; the refusal (in
// English, without the program's name) when the value is not accepted. The
// iteration count must lie within minimumIterations ... maximumIterations.
std::optional<std::string> ReadRunArgument(std::string_view option, std::string_view value,
                                           std::int64_t minimumIterations,
                                           std::int64_t maximumIterations, RunArguments& arguments);

}  // namespace corvanta
