#include "simulation/RunChoices.h"

#include <algorithm>

#include "distributions/Sampling.h"
#include "simulation/Iteration.h"

namespace corvanta {

std::string ShortestIntervalText(const MessageTexts& texts, int coverageIndex, double low,
                                 double high) {
    return texts.Gum.Shortest + ResultForm(coverageIndex) + IntervalValueText(low) + " , " +
           IntervalValueText(high) + " ]";
}

namespace {

// Passes the run on to the window's observer, with the values kept and the
// shortest interval put in place of the symmetric one before the results
// are shown.
class ChoicesObserver : public RunObserver {
  public:
    ChoicesObserver(RunObserver& next, const RunChoices& choices, bool keepValues,
                    const RunSettings& settings, const MessageTexts& texts,
                    const SimulationSession& session, ChosenRunOutcome& outcome)
        : next_(next),
          choices_(choices),
          keep_(keepValues),
          settings_(settings),
          texts_(texts),
          session_(session),
          outcome_(outcome) {}

    void ProgressUpdated(const RunProgress& progress) override { next_.ProgressUpdated(progress); }
    void BarStepped(int width) override { next_.BarStepped(width); }
    void IterationReached(std::int64_t iteration) override { next_.IterationReached(iteration); }
    void ValuesComputed(double* values, std::int64_t count) override {
        if (keep_) outcome_.Values.assign(values, values + count);
        if (choices_.Interval == IntervalKind::Shortest && count >= 2) {
            std::sort(values, values + count);
            outcome_.Shortest = ShortestInterval(
                values, count, CoverageProbability(settings_.CoverageIndex) / 100.0L);
        }
        next_.ValuesComputed(values, count);
    }
    void ResultsReady(const RunOutcome& run) override {
        RunOutcome shown = run;
        Apply(shown);
        next_.ResultsReady(shown);
    }

    // The shortest interval's texts, for a completed run whose symmetric
    // interval was determined.
    void Apply(RunOutcome& run) const {
        if (!outcome_.Shortest || !run.Interval.Determined) return;
        const ValueInterval& s = *outcome_.Shortest;
        run.IntervalText = ShortestIntervalText(texts_, settings_.CoverageIndex, s.Low, s.High);
        run.ClassicText = ClassicText(texts_, s.Low, s.High, session_.OutputUnitSuffix);
    }

  private:
    RunObserver& next_;
    const RunChoices& choices_;
    bool keep_;
    const RunSettings& settings_;
    const MessageTexts& texts_;
    const SimulationSession& session_;
    ChosenRunOutcome& outcome_;
};

RunOutcome AbortedOutcome(const RunSettings& settings, const MessageTexts& texts) {
    RunOutcome run;
    run.Status = RunStatus::Aborted;
    run.NormalityText = NormalityUndeterminedText(texts);
    run.IntervalText = UndeterminedIntervalText(texts, settings.CoverageIndex);
    run.ClassicText = ClassicUndeterminedText(texts);
    run.SkewnessText = run.KurtosisText = run.ResultText = texts.Indetermined;
    run.Grid.fill(texts.Indetermined);
    return run;
}

}  // namespace

ChosenRunOutcome RunWithChoices(const std::string& modelText, ParameterList& parameters,
                                RunSettings settings, const RunChoices& choices,
                                std::int64_t adaptiveCeiling, bool keepValues,
                                const MessageTexts& texts, UserDialogs& dialogs,
                                SimulationSession& session, RunObserver& observer) {
    ChosenRunOutcome outcome;
    const long double probability = CoverageProbability(settings.CoverageIndex) / 100.0L;
    const int digits = std::clamp(choices.Digits, kMinimumDigits, kMaximumDigits);
    if (choices.Adaptive && !session.SimulationRunning && CheckReady(parameters)) {
        if (!settings.Seed) {
            ReseedUniform();
            settings.Seed = UniformSeed;
        }
        // The choice of trials draws as the run does, jointly and on the
        // run's threads, so it is refused where the run would be, with the
        // same message, instead of failing inside the procedure.
        if (std::optional<std::string> refusal =
                CheckCorrelations(parameters, settings.Correlations)) {
            dialogs.ShowError(*refusal);
            outcome.Run = AbortedOutcome(settings, texts);
            return outcome;
        }
        try {
            outcome.Adaptive = RunAdaptive(modelText, parameters, probability, digits,
                                           adaptiveCeiling, *settings.Seed, texts, dialogs,
                                           settings.Threads, settings.Correlations);
        } catch (const CorrelationRefused& refused) {
            dialogs.ShowError(refused.what());
            outcome.Adaptive = AdaptiveOutcome{};
        } catch (const IncompatibleParameterError&) {
            // The message is shown already.
            outcome.Adaptive = AdaptiveOutcome{};
        }
        if (outcome.Adaptive->Trials == 0) {
            outcome.Run = AbortedOutcome(settings, texts);
            session.StopRequested = true;
            return outcome;
        }
        settings.Iterations = outcome.Adaptive->Trials;
    }
    ChoicesObserver relay(observer, choices, keepValues, settings, texts, session, outcome);
    outcome.Run = RunSimulation(modelText, parameters, settings, texts, dialogs, session, relay);
    relay.Apply(outcome.Run);
    if (outcome.Run.Status != RunStatus::Completed && outcome.Run.Status != RunStatus::Interrupted)
        return outcome;
    outcome.Gum =
        EvaluateGum(modelText, parameters, probability, texts, dialogs, settings.Correlations);
    if (outcome.Gum->Applicable && outcome.Run.Interval.Determined)
        outcome.Checked =
            ValidateGum(*outcome.Gum, outcome.Run.Interval.Low, outcome.Run.Interval.High, digits);
    return outcome;
}

}  // namespace corvanta
