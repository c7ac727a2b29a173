#include "simulation/RunArguments.h"

#include "engine/NumberText.h"

namespace corvanta {

std::optional<std::uint64_t> ParseCount(std::string_view text, std::uint64_t limit) {
    if (text.empty() || text.size() > 20) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > limit) return std::nullopt;
    }
    return value;
}

std::optional<int> ParseProbabilityChoice(std::string_view text) {
    long double value = 0;
    if (!TryParseFloat(text, value)) return std::nullopt;
    static const char* const accepted[kCoverageChoiceCount] = {"68.27", "90", "95",
                                                               "95.45", "99", "99.73"};
    for (int i = 0; i < kCoverageChoiceCount; ++i)
        if (value == ParseFloat(accepted[i])) return i;
    return std::nullopt;
}

bool IsRunArgument(std::string_view option) {
    return option == "--iterations" || option == "--probability" || option == "--seed";
}

std::optional<std::string> ReadRunArgument(std::string_view option, std::string_view value,
                                           std::int64_t minimumIterations,
                                           std::int64_t maximumIterations,
                                           RunArguments& arguments) {
    const std::string shown = "'" + std::string(value) + "'";
    if (option == "--iterations") {
        const auto count = ParseCount(value, static_cast<std::uint64_t>(maximumIterations));
        if (!count || static_cast<std::int64_t>(*count) < minimumIterations)
            return "the number of iterations must be a whole number from " +
                   IntegerText(minimumIterations) + " to " + IntegerText(maximumIterations) +
                   ", not " + shown;
        arguments.Iterations = static_cast<std::int64_t>(*count);
        arguments.IterationsGiven = true;
    } else if (option == "--probability") {
        const auto index = ParseProbabilityChoice(value);
        if (!index)
            return "the coverage probability must be one of 68.27, 90, 95, 95.45, 99, 99.73, "
                   "not " +
                   shown;
        arguments.CoverageIndex = *index;
    } else {
        const auto number = ParseCount(value, 4294967295ULL);
        if (!number) return "the seed must be a whole number from 0 to 4294967295, not " + shown;
        arguments.Seed = static_cast<std::uint32_t>(*number);
    }
    return std::nullopt;
}

}  // namespace corvanta
