#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "simulation/AdaptiveRun.h"
#include "simulation/CoverageIntervals.h"
#include "simulation/GumFramework.h"
#include "simulation/Run.h"
#include "simulation/Validation.h"

// The run as Start makes it with the choices saved with the model: the kind
// of coverage interval, a fixed or an adaptive number of trials, and the GUM
// uncertainty framework with its validation after every run.
namespace corvanta {

enum class IntervalKind { Symmetric, Shortest };

inline constexpr int kMinimumDigits = 1;
inline constexpr int kMaximumDigits = 5;
inline constexpr int kDefaultDigits = 2;

struct RunChoices {
    IntervalKind Interval = IntervalKind::Symmetric;
    bool Adaptive = false;
    // Significant digits of u(y) held meaningful: the adaptive stop rule and
    // the tolerance of the validation.
    int Digits = kDefaultDigits;
    bool operator==(const RunChoices&) const = default;
};

// An adaptive run in the window keeps every trial for the results, the
// export and the shortest interval: 80 MB at this ceiling.
inline constexpr std::int64_t kWindowAdaptiveCeiling = 10000000;

struct ChosenRunOutcome {
    RunOutcome Run;  // with the interval texts of the chosen kind
    std::optional<AdaptiveOutcome> Adaptive;
    std::optional<ValueInterval> Shortest;  // when chosen and there were values
    std::optional<GumResult> Gum;           // after a completed or interrupted run
    std::optional<Validation> Checked;      // when the GUM applies and the run has its interval
    std::vector<double> Values;             // when kept: the output values in run order
};

// "Shortest interval (p = 95%): [ 1.0846 , 1.3836 ]".
std::string ShortestIntervalText(const MessageTexts& texts, int coverageIndex, double low,
                                 double high);

// Runs the model as Start does: with an adaptive choice first the number of
// trials is chosen from the seed (the clock's when settings has none) and
// the run then draws the very same values; the shortest interval, when
// chosen, replaces the symmetric one in the interval and classic texts that
// the observer and the caller receive (the validation keeps to the
// symmetric one, as the GUM interval is symmetric itself). An adaptive
// choice that fails (the model fails on every draw) ends with Aborted.
ChosenRunOutcome RunWithChoices(const std::string& modelText, ParameterList& parameters,
                                RunSettings settings, const RunChoices& choices,
                                std::int64_t adaptiveCeiling, bool keepValues,
                                const MessageTexts& texts, UserDialogs& dialogs,
                                SimulationSession& session, RunObserver& observer);

}  // namespace corvanta
