#include "simulation/Run.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "distributions/Sampling.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"
#include "simulation/BatchPipeline.h"
#include "simulation/CompiledModel.h"
#include "simulation/Iteration.h"
#include "simulation/ResultFormat.h"

namespace corvanta {

std::int64_t LimitIterationCount(std::string_view text) {
    std::int32_t count = 0;
    if (!TryParseInteger(text, count)) return kMinimumIterations;
    return std::clamp<std::int64_t>(count, kMinimumIterations, kMaximumIterations);
}

std::string ConsecutiveFailuresText(const std::string& faultText) {
    return "The simulation was stopped: the model failed on " +
           IntegerText(kConsecutiveFailureLimit) + " draws in a row (" + faultText + ").";
}

void ComputeContributions(const std::string& modelText, ParameterList& parameters,
                          const MessageTexts& texts, UserDialogs& dialogs,
                          std::vector<ContributionRow>& rows) {
    // One compiled model per varied quantity, made when it is first needed so
    // that a fault stops the work at the same quantity as through text.
    std::size_t current = SIZE_MAX;
    std::optional<CompiledModel> model;
    ComputeContributions(
        parameters,
        [&](std::size_t j) {
            if (j != current) {
                model.reset();
                model.emplace(modelText, parameters, texts, dialogs, j);
                current = j;
            }
            return model->Evaluate();
        },
        rows);
}

namespace {

void ClearResults(RunOutcome& outcome, const MessageTexts& texts) {
    outcome.SkewnessText = texts.Indetermined;
    outcome.KurtosisText = texts.Indetermined;
    outcome.Grid.fill(texts.Indetermined);
    outcome.ResultText = texts.Indetermined;
}

}  // namespace

RunOutcome RunSimulation(const std::string& modelText, ParameterList& parameters,
                         const RunSettings& settings, const MessageTexts& texts,
                         UserDialogs& dialogs, SimulationSession& session, RunObserver& observer) {
    RunOutcome outcome;
    if (session.SimulationRunning) return outcome;
    const std::int64_t n = std::max<std::int64_t>(settings.Iterations, 1);
    outcome.Iterations = n;

    if (!CheckReady(parameters)) {
        dialogs.ShowMessage(texts.IncompleteInit);
        while (parameters[outcome.FirstUninitialised].Init)
            ++outcome.FirstUninitialised;
        outcome.Status = RunStatus::NotReady;
        return outcome;
    }
    if (std::optional<std::string> refusal = CheckCorrelations(parameters, settings.Correlations)) {
        dialogs.ShowError(*refusal);
        outcome.Status = RunStatus::Aborted;
        return outcome;
    }

    session.StopRequested = false;
    // Every element is written before it is read: no need to clear them first.
    std::unique_ptr<double[]> values(new double[n]);
    const bool progressView = settings.ProgressView;
    const std::int64_t barStep = std::max<std::int64_t>(n / kBarSteps, 1);

    if (settings.Seed) {
        UniformSeed = *settings.Seed;
    } else {
        ReseedUniform();
    }
    outcome.Seed = UniformSeed;
    outcome.NormalityText = NormalityUndeterminedText(texts);
    ClearResults(outcome, texts);
    outcome.IntervalText = UndeterminedIntervalText(texts, settings.CoverageIndex);
    outcome.ClassicText = ClassicUndeterminedText(texts);

    std::optional<CompiledModel> model;
    try {
        model.emplace(modelText, parameters, texts, dialogs, std::nullopt, settings.Correlations);
    } catch (const CorrelationRefused& refused) {
        dialogs.ShowError(refused.what());
        session.StopRequested = true;
        outcome.Status = RunStatus::Aborted;
        return outcome;
    } catch (const IncompatibleParameterError&) {
        // The message is shown; the model can't run, but nothing is lost.
        session.StopRequested = true;
        outcome.Status = RunStatus::Aborted;
        return outcome;
    }

    session.SimulationRunning = true;
    // Whatever leaves the run early (an observer that throws), the window must
    // be able to start another one.
    struct RunningFlag {
        bool& Flag;
        ~RunningFlag() { Flag = false; }
    } runningFlag{session.SimulationRunning};
    double outputMin = 0;
    long double previousKurtosis = 0;
    PowerSums sums;
    std::int64_t consecutiveFailures = 0;
    bool interrupted = false, aborted = false;
    std::int64_t i = 0;
    // The batches are drawn ahead of the values used, and computed on the
    // run's threads; the source is left where the last iteration used left
    // it, as if each had been drawn alone.
    BatchPipeline pipeline(*model, settings.Threads > 0 ? settings.Threads : DefaultThreadCount());
    const CompiledModel::Batch* batch = nullptr;
    std::size_t cursor = 0;
    std::uint32_t seedAfterUsed = UniformSeed;
    while (i < n) {
        const bool last = i == n - 1;
        if (batch == nullptr || cursor == batch->Count) {
            batch = &pipeline.Next(n - i);
            cursor = 0;
        }
        const std::size_t t = cursor++;
        seedAfterUsed = batch->SeedAfter[t];
        if (batch->Failed(t)) {
            ++outcome.FailedDraws;
            if (++consecutiveFailures >= kConsecutiveFailureLimit) {
                try {
                    std::rethrow_exception(batch->Faults[t]);
                } catch (const std::exception& fault) {
                    dialogs.ShowError(ConsecutiveFailuresText(fault.what()));
                }
                aborted = true;
                break;
            }
            continue;
        }
        consecutiveFailures = 0;
        const double y = batch->Values[t];
        values[i] = y;
        if (i == 0) {
            session.OutputMax = y;
            outputMin = y;
        }
        if (y > session.OutputMax) session.OutputMax = y;
        if (y < outputMin) outputMin = y;
        outcome.Computed = i + 1;

        if (progressView || last) {
            if (i % 111 == 0) observer.IterationReached(i + 1);
            if (IsProgressIndex(i, n)) {
                outcome.Last = UpdateRunStatistics(values.get(), i + 1, outputMin,
                                                   session.OutputMax, previousKurtosis, sums);
                outcome.HaveStatistics = true;
                const SimulationResult& s = outcome.Last.Statistics;
                previousKurtosis = s.ShapeDetermined ? s.Kurtosis : 0;
                outcome.MeanText = FormatRunningValue(s.M1);
                outcome.VarianceText = FormatRunningValue(s.M2);
                if (last && s.ShapeDetermined) {
                    outcome.SkewnessText = FormatRunningValue(s.Skewness);
                    outcome.KurtosisText = FormatRunningValue(s.Kurtosis - 3);
                }
                RunProgress progress;
                progress.Iteration = i + 1;
                progress.Update = &outcome.Last;
                progress.MeanText = outcome.MeanText;
                progress.VarianceText = outcome.VarianceText;
                observer.ProgressUpdated(progress);
                if (session.StopRequested) {
                    interrupted = !last;
                    if (interrupted) break;
                }
            }
        } else if (i % barStep == 0) {
            observer.BarStepped(static_cast<int>((i / barStep + 1) * kBarStepWidth));
        }
        ++i;
    }
    UniformSeed = seedAfterUsed;
    session.SimulationRunning = false;

    if (aborted) {
        outcome.Status = RunStatus::Aborted;
        session.StopRequested = true;
        return outcome;
    }

    const SimulationResult& s = outcome.Last.Statistics;
    if (s.ShapeDetermined) {
        // The values actually computed: an interrupted run has fewer than asked.
        outcome.JarqueBera = JarqueBera(s.n, s.Skewness, s.Kurtosis);
        outcome.NormalityText = NormalityText(texts, *outcome.JarqueBera);
    }

    std::string mostProbableText = texts.Indetermined;
    if (!interrupted) {
        for (const ModelParameter& p : parameters) {
            if (p.Kind() == DistributionKind::Resultado) {
                session.OutputUnitSuffix = " " + p.Unidad;
                break;
            }
        }
        outcome.Interval = ComputeCoverageInterval(values.get(), outcome.Computed,
                                                   outcome.Last.Histogram, settings.CoverageIndex);
        if (outcome.Interval.Determined && s.OutputMin < s.OutputMax) {
            outcome.IntervalText = IntervalText(texts, settings.CoverageIndex, outcome.Interval.Low,
                                                outcome.Interval.High);
            outcome.ClassicText = ClassicText(texts, outcome.Interval.Low, outcome.Interval.High,
                                              session.OutputUnitSuffix);
            outcome.MostProbable = MostProbableValue(outcome.Last.Histogram);
            mostProbableText = MostProbableText(*outcome.MostProbable);
        } else {
            outcome.Interval = CoverageInterval{};
        }
        outcome.Status = RunStatus::Completed;
    } else {
        outcome.IntervalText = InterruptedIntervalText(texts, settings.CoverageIndex);
        outcome.Status = RunStatus::Interrupted;
    }
    session.StopRequested = true;

    outcome.Grid =
        ResultsGridTexts(n, s, outcome.SkewnessText, outcome.KurtosisText, mostProbableText);
    outcome.ResultText = outcome.Grid[1];

    observer.ValuesComputed(values.get(), outcome.Computed);
    values.reset();
    observer.ResultsReady(outcome);
    try {
        ComputeContributions(modelText, parameters, texts, dialogs, session.Contributions);
        outcome.ContributionsComputed = true;
    } catch (const CalcError& fault) {
        outcome.ContributionsError = fault.what();
        dialogs.ShowError(fault.what());
    }
    return outcome;
}

}  // namespace corvanta
