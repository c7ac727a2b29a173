#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"
#include "distributions/Correlations.h"
#include "distributions/ModelParameter.h"
#include "simulation/Contributions.h"
#include "simulation/Statistics.h"

namespace corvanta {

inline constexpr std::int64_t kMinimumIterations = 100000;
inline constexpr std::int64_t kMaximumIterations = 2000000;
inline constexpr std::int64_t kDefaultIterations = 200000;
// A model that fails this many draws in a row is taken to fail on every draw.
inline constexpr std::int64_t kConsecutiveFailureLimit = 100000;
inline constexpr int kBarSteps = 25;
inline constexpr int kBarStepWidth = 16;

// The iteration count as the spin box holds it once it is brought into its
// range: 100000 to 2000000, and the minimum for a text that is no number.
std::int64_t LimitIterationCount(std::string_view text);

// The state that the window keeps between runs.
struct SimulationSession {
    bool SimulationRunning = false;
    // Cleared when a run starts, set again when it ends; set by the stop
    // label and by closing the window. The run reads it after each progress
    // update, which is where the window lets its controls act.
    bool StopRequested = false;
    double OutputMax = 0;
    std::string OutputUnitSuffix;  // " " + unit of the output quantity
    std::vector<ContributionRow> Contributions;
};

struct RunSettings {
    std::int64_t Iterations = kDefaultIterations;
    bool ProgressView = true;
    int CoverageIndex = kDefaultCoverageChoice;
    // The seed of the uniform source; empty: seeded from the clock.
    std::optional<std::uint32_t> Seed;
    // Threads computing the iterations; 0: one a processor. The results are
    // the same for every count.
    int Threads = 0;
    // The model's coefficients between input quantities.
    CorrelationList Correlations = {};
};

// What the window shows at a progress update.
struct RunProgress {
    std::int64_t Iteration = 0;  // 1-based
    const ProgressUpdate* Update = nullptr;
    std::string MeanText;      // LabelM1
    std::string VarianceText;  // LabelM2
};

struct RunOutcome;

// Receives the progress of a run: the window's labels, chart and event
// processing hang on it. Every call happens on the thread of the run.
class RunObserver {
  public:
    virtual ~RunObserver() = default;
    // At each scheduled update (progress view on, or the last iteration).
    virtual void ProgressUpdated(const RunProgress&) {}
    // The width in pixels of the bar shown when the progress view is off.
    virtual void BarStepped(int) {}
    // The 1-based number of the current iteration, at every 111th index with
    // the progress view on.
    virtual void IterationReached(std::int64_t) {}
    // Once the results are composed and the run is no longer running, before
    // the contributions are computed (whose fault is then reported over the
    // results already shown). Not called when nothing ran.
    virtual void ResultsReady(const RunOutcome&) {}
    // The values of a completed or interrupted run, which it releases next:
    // the observer may reorder them.
    virtual void ValuesComputed(double*, std::int64_t) {}
};

enum class RunStatus {
    Ignored,   // a run was already in progress
    NotReady,  // a quantity is not initialised: nothing ran
    Completed,
    Interrupted,  // stopped at a progress update
    Aborted,      // the model can't be evaluated: results stay undetermined
};

struct RunOutcome {
    RunStatus Status = RunStatus::Ignored;
    std::size_t FirstUninitialised = 0;  // NotReady: the row to select is this + 1
    std::int64_t Iterations = 0;         // the count asked for
    std::int64_t Computed = 0;           // values stored
    std::int64_t FailedDraws = 0;        // iterations drawn again
    std::uint32_t Seed = 0;              // the seed the run started from
    bool HaveStatistics = false;
    ProgressUpdate Last;  // the last progress update
    std::optional<long double> JarqueBera;
    CoverageInterval Interval;
    std::optional<long double> MostProbable;
    // False when nothing ran or a fault stopped the contributions.
    bool ContributionsComputed = false;
    std::string ContributionsError;  // the fault's text

    std::string MeanText, VarianceText;         // LabelM1, LabelM2
    std::string SkewnessText, KurtosisText;     // LabelSkew, LabelKurtosis
    std::string NormalityText;                  // Label12
    std::string IntervalText;                   // Label15 and Label60
    std::string ClassicText;                    // Label28
    std::array<std::string, kResultRows> Grid;  // column 1 of the results grid
    std::string ResultText;                     // Resultado_res
};

// One Monte Carlo run of the model text (the postfix text of the output
// equation) over the quantities, then the contributions. Draws that fail are
// drawn again at the same index; after kConsecutiveFailureLimit failures in a
// row the run stops with a message naming the fault. Widths go into Sensib
// and the session's contribution rows.
RunOutcome RunSimulation(const std::string& modelText, ParameterList& parameters,
                         const RunSettings& settings, const MessageTexts& texts,
                         UserDialogs& dialogs, SimulationSession& session, RunObserver& observer);

// The message of a run stopped by failing draws.
std::string ConsecutiveFailuresText(const std::string& faultText);

// The contributions of every input quantity, with the compiled model.
void ComputeContributions(const std::string& modelText, ParameterList& parameters,
                          const MessageTexts& texts, UserDialogs& dialogs,
                          std::vector<ContributionRow>& rows);

}  // namespace corvanta
