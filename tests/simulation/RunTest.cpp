#include "simulation/Run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <vector>

#include "../support/ScriptedDialogs.h"
#include "ModelFixture.h"
#include "distributions/Sampling.h"
#include "engine/Faults.h"
#include "simulation/Iteration.h"

namespace corvanta {
namespace {

using testing::Input;
using testing::MakeModel;
using testing::Model;
using testing::Texts;
using K = DistributionKind;

// Records what the window would show, and asks to stop at a chosen update.
class RecordingObserver : public RunObserver {
  public:
    SimulationSession* Session = nullptr;
    int StopAtUpdate = -1;
    std::vector<std::int64_t> Updates;  // 1-based iteration numbers
    std::vector<int> BarWidths;
    std::vector<std::int64_t> Iterations;
    std::vector<bool> Marks;

    void ProgressUpdated(const RunProgress& progress) override {
        Updates.push_back(progress.Iteration);
        Marks.push_back(progress.Update->Marks);
        if (static_cast<int>(Updates.size()) == StopAtUpdate) Session->StopRequested = true;
    }
    void BarStepped(int width) override { BarWidths.push_back(width); }
    void IterationReached(std::int64_t iteration) override { Iterations.push_back(iteration); }
};

RunSettings Settings(std::int64_t iterations, bool progressView, std::uint32_t seed,
                     int coverage = kDefaultCoverageChoice) {
    RunSettings s;
    s.Iterations = iterations;
    s.ProgressView = progressView;
    s.Seed = seed;
    s.CoverageIndex = coverage;
    return s;
}

Model SumOfNormals() {
    return MakeModel("y = a + b", {{"a", K::Normal, "0", "1"}, {"b", K::Normal, "0", "1"}});
}

TEST(RunSimulation, ProgressViewUpdatesOnTheSchedule) {
    Model m = SumOfNormals();
    SimulationSession session;
    RecordingObserver observer;
    observer.Session = &session;
    testing::ScriptedDialogs dialogs;
    const RunOutcome out =
        RunSimulation(m.PostfixExpression, m.Parameters, Settings(100000, true, 1), Texts(),
                      dialogs, session, observer);
    ASSERT_EQ(out.Status, RunStatus::Completed);
    std::vector<std::int64_t> expected = {101, 151};
    for (std::int64_t i = 200; i <= 29900; i += 100)
        expected.push_back(i + 1);
    for (std::int64_t i = 35000; i <= 95000; i += 5000)
        expected.push_back(i + 1);
    expected.push_back(100000);
    EXPECT_EQ(observer.Updates, expected);
    EXPECT_FALSE(observer.Marks.front());  // no marks at the first update
    EXPECT_TRUE(observer.Marks.back());
    EXPECT_EQ(observer.Iterations.size(), 901u);  // i = 0, 111, …, 99900
    EXPECT_EQ(observer.Iterations[1], 112);
    EXPECT_TRUE(observer.BarWidths.empty());
    EXPECT_TRUE(session.StopRequested);
    EXPECT_FALSE(session.SimulationRunning);
    EXPECT_TRUE(dialogs.Log.empty());
}

TEST(RunSimulation, ProgressViewOffSteps25TimesAndUpdatesOnceAtTheEnd) {
    Model m = SumOfNormals();
    SimulationSession session;
    RecordingObserver observer;
    testing::ScriptedDialogs dialogs;
    const RunOutcome out =
        RunSimulation(m.PostfixExpression, m.Parameters, Settings(100000, false, 1), Texts(),
                      dialogs, session, observer);
    ASSERT_EQ(out.Status, RunStatus::Completed);
    EXPECT_EQ(observer.Updates, std::vector<std::int64_t>{100000});
    std::vector<int> widths;
    for (int step = 1; step <= 25; ++step)
        widths.push_back(step * 16);
    EXPECT_EQ(observer.BarWidths, widths);
    EXPECT_TRUE(observer.Iterations.empty());
    // The single update covers every value: the results equal those with the view on.
    SimulationSession other;
    RecordingObserver quiet;
    quiet.Session = &other;
    const RunOutcome viewed =
        RunSimulation(m.PostfixExpression, m.Parameters, Settings(100000, true, 1), Texts(),
                      dialogs, other, quiet);
    EXPECT_EQ(viewed.Grid, out.Grid);
    EXPECT_EQ(viewed.IntervalText, out.IntervalText);
    EXPECT_EQ(viewed.ClassicText, out.ClassicText);
    EXPECT_EQ(viewed.NormalityText, out.NormalityText);
}

TEST(RunSimulation, StopAtAnUpdateInterruptsTheRun) {
    Model m = SumOfNormals();
    SimulationSession session;
    RecordingObserver observer;
    observer.Session = &session;
    observer.StopAtUpdate = 3;  // at index 200
    testing::ScriptedDialogs dialogs;
    const RunOutcome out =
        RunSimulation(m.PostfixExpression, m.Parameters, Settings(100000, true, 9), Texts(),
                      dialogs, session, observer);
    ASSERT_EQ(out.Status, RunStatus::Interrupted);
    EXPECT_EQ(out.Computed, 201);
    EXPECT_EQ(out.Last.Statistics.n, 201);
    EXPECT_EQ(out.IntervalText,
              "Confidence interval (p = 95%): Indeterminado (simul. interrumpida)");
    EXPECT_EQ(out.ClassicText, "GUM format = Indetermined");
    EXPECT_EQ(out.Grid[0], "100000");
    EXPECT_EQ(out.Grid[4], "Indetermined");
    EXPECT_EQ(out.Grid[5], "Indetermined");
    EXPECT_EQ(out.Grid[8], "Indetermined");
    EXPECT_NE(out.Grid[1], "Indetermined");
    // Jarque-Bera counts the 201 values computed, not the 100000 asked for.
    const SimulationResult& s = out.Last.Statistics;
    ASSERT_TRUE(out.JarqueBera.has_value());
    EXPECT_EQ(*out.JarqueBera, JarqueBera(201, s.Skewness, s.Kurtosis));
    EXPECT_TRUE(session.StopRequested);
    EXPECT_GT(m.Parameters[1].Sensib, 0);  // contributions after an interrupted run too
    EXPECT_EQ(session.Contributions.size(), 3u);
}

TEST(RunSimulation, RefusedWhileRunningOrNotReady) {
    Model m = SumOfNormals();
    RecordingObserver observer;
    testing::ScriptedDialogs dialogs;
    SimulationSession running;
    running.SimulationRunning = true;
    EXPECT_EQ(RunSimulation(m.PostfixExpression, m.Parameters, Settings(100000, false, 1), Texts(),
                            dialogs, running, observer)
                  .Status,
              RunStatus::Ignored);
    EXPECT_TRUE(dialogs.Log.empty());

    m.Parameters[2].Init = false;
    m.Parameters[2].Distrib = 0;
    SimulationSession session;
    const RunOutcome out =
        RunSimulation(m.PostfixExpression, m.Parameters, Settings(100000, false, 1), Texts(),
                      dialogs, session, observer);
    EXPECT_EQ(out.Status, RunStatus::NotReady);
    EXPECT_EQ(out.FirstUninitialised, 2u);
    EXPECT_EQ(dialogs.Texts(),
              std::vector<std::string>{"Cannot run the simulation. Incomplete initialization of "
                                       "parameters"});
    EXPECT_FALSE(session.SimulationRunning);
}

TEST(RunSimulation, AnObserverThatThrowsLeavesTheRunReusable) {
    class Throwing : public RunObserver {
        void ProgressUpdated(const RunProgress&) override { throw std::runtime_error("paint"); }
    } observer;
    Model m = SumOfNormals();
    SimulationSession session;
    testing::ScriptedDialogs dialogs;
    EXPECT_THROW(RunSimulation(m.PostfixExpression, m.Parameters, Settings(100000, true, 1),
                               Texts(), dialogs, session, observer),
                 std::runtime_error);
    EXPECT_FALSE(session.SimulationRunning);
}

TEST(RunSimulation, AllOutputsEqual) {
    Model m = MakeModel("y = a*b", {{"a", K::Constante, "2.5"}, {"b", K::Constante, "4"}});
    m.Parameters[0].Unidad = "g";
    SimulationSession session;
    RecordingObserver observer;
    testing::ScriptedDialogs dialogs;
    const RunOutcome out =
        RunSimulation(m.PostfixExpression, m.Parameters, Settings(100000, true, 1), Texts(),
                      dialogs, session, observer);
    ASSERT_EQ(out.Status, RunStatus::Completed);
    EXPECT_TRUE(dialogs.Log.empty());
    const std::array<std::string, kResultRows> expected = {
        "100000",       "10", "0.000000e0", "0.00000e0",    "Indetermined",
        "Indetermined", "10", "10",         "Indetermined", "0.00000e0"};
    EXPECT_EQ(out.Grid, expected);
    EXPECT_EQ(out.ResultText, "10");
    EXPECT_EQ(out.NormalityText, "Normality test (Jarque - Bera)  =  Indetermined");
    EXPECT_EQ(out.IntervalText, "Confidence interval (p = 95%)  =  Indetermined");
    EXPECT_EQ(out.ClassicText, "GUM format = Indetermined");
    EXPECT_FALSE(session.SimulationRunning);
    EXPECT_EQ(session.Contributions.size(), 3u);
    for (const ContributionRow& row : session.Contributions)
        EXPECT_EQ(row.Relative, "0");
}

TEST(RunSimulation, ModelThatAlwaysFailsStopsWithTheFaultsText) {
    Model m = MakeModel("y = 1/(a - a)", {{"a", K::Normal, "1", "1"}});
    SimulationSession session;
    RecordingObserver observer;
    testing::ScriptedDialogs dialogs;
    const RunOutcome out =
        RunSimulation(m.PostfixExpression, m.Parameters, Settings(100000, false, 1), Texts(),
                      dialogs, session, observer);
    EXPECT_EQ(out.Status, RunStatus::Aborted);
    EXPECT_EQ(out.FailedDraws, kConsecutiveFailureLimit);
    EXPECT_EQ(out.Computed, 0);
    const testing::ScriptedDialogs::Shown expected{
        DialogKind::Error,
        "The simulation was stopped: the model failed on 100000 draws in a row (Floating point "
        "division by zero)."};
    EXPECT_EQ(dialogs.Log, std::vector{expected});
    EXPECT_EQ(out.Grid[1], "Indetermined");
    EXPECT_EQ(out.IntervalText, "Confidence interval (p = 95%)  =  Indetermined");
    EXPECT_FALSE(session.SimulationRunning);
    EXPECT_TRUE(session.StopRequested);
}

TEST(RunSimulation, FailedDrawsAreReplaced) {
    // ln of a quantity that is negative in about 16 % of the draws.
    Model m = MakeModel("y = ln(x)", {{"x", K::Normal, "1", "1"}});
    SimulationSession session;
    RecordingObserver observer;
    testing::ScriptedDialogs dialogs;
    const RunOutcome out =
        RunSimulation(m.PostfixExpression, m.Parameters, Settings(100000, false, 4), Texts(),
                      dialogs, session, observer);
    ASSERT_EQ(out.Status, RunStatus::Completed);
    EXPECT_EQ(out.Computed, 100000);
    EXPECT_EQ(out.Last.Statistics.n, 100000);
    // Binomial count of negative draws: 100000 / 6.3 draws, +- 5 standard deviations.
    const double p = 0.158655, expectedFailures = 100000 * p / (1 - p);
    EXPECT_NEAR(out.FailedDraws, expectedFailures, 5 * std::sqrt(expectedFailures));
    // The contributions do not redraw: their fault is reported and they stop.
    const testing::ScriptedDialogs::Shown expected{DialogKind::Error, kInvalidOperationText};
    EXPECT_EQ(dialogs.Log, std::vector{expected});
}

TEST(RunSimulation, ValuesAndLaterDrawsAreThoseOfTheTextualIteration) {
    // The run evaluates ahead in batches; the values, the redrawn failures and
    // the state left for the contributions must be those of one
    // GetIteration after the other.
    Model m = MakeModel(
        "y = a*b/k",
        {{"a", K::Normal, "3", "1"}, {"b", K::Rectangular, "2", "1"}, {"k", K::Poisson, "2"}});
    const std::int64_t n = 3001;
    testing::ScriptedDialogs dialogs;
    UniformSeed = 17;
    std::vector<double> values;
    std::int64_t failed = 0;
    while (static_cast<std::int64_t>(values.size()) < n) {
        try {
            values.push_back(GetIteration(m.PostfixExpression, m.Parameters, Texts(), dialogs));
        } catch (const CalcError&) {
            ++failed;  // k = 0: division by zero
        }
    }
    const std::uint32_t stateAfter = UniformSeed;
    const double lo = *std::min_element(values.begin(), values.end());
    const double hi = *std::max_element(values.begin(), values.end());
    const ProgressUpdate expected = UpdateRunStatistics(values.data(), n, lo, hi, 0);

    SimulationSession session;
    RecordingObserver observer;
    const RunOutcome out = RunSimulation(m.PostfixExpression, m.Parameters, Settings(n, false, 17),
                                         Texts(), dialogs, session, observer);
    ASSERT_EQ(out.Status, RunStatus::Completed);
    EXPECT_EQ(out.FailedDraws, failed);
    EXPECT_GT(failed, 0);
    EXPECT_EQ(out.Last.Statistics.M1, expected.Statistics.M1);
    EXPECT_EQ(out.Last.Statistics.M2, expected.Statistics.M2);
    EXPECT_EQ(out.Last.Statistics.M4, expected.Statistics.M4);
    EXPECT_EQ(out.Last.Histogram.Counts, expected.Histogram.Counts);
    EXPECT_EQ(session.OutputMax, hi);

    // The contributions went on from the state the last used iteration left.
    ParameterList reference = m.Parameters;
    UniformSeed = stateAfter;
    std::vector<ContributionRow> rows;
    std::optional<std::string> fault;
    try {
        ComputeContributions(
            reference,
            [&](std::size_t j) {
                return GetIterationPar(j, m.PostfixExpression, m.Parameters, Texts(), dialogs);
            },
            rows);
    } catch (const CalcError& e) {
        fault = e.what();
    }
    for (std::size_t j = 0; j < reference.size(); ++j)
        EXPECT_EQ(m.Parameters[j].Sensib, reference[j].Sensib) << j;
    EXPECT_EQ(out.ContributionsComputed, !fault.has_value());
}

TEST(RunSimulation, TokenThatNamesNoQuantityAbortsWithoutLosingAnything) {
    Model m = SumOfNormals();
    m.Parameters[1].Nombre = "A";  // the model text names a
    SimulationSession session;
    RecordingObserver observer;
    testing::ScriptedDialogs dialogs;
    const ParameterList before = m.Parameters;
    const RunOutcome out =
        RunSimulation(m.PostfixExpression, m.Parameters, Settings(100000, false, 1), Texts(),
                      dialogs, session, observer);
    EXPECT_EQ(out.Status, RunStatus::Aborted);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Incompatible parameter: a"});
    EXPECT_EQ(m.Parameters, before);
    EXPECT_FALSE(session.SimulationRunning);
}

// The additive models of JCGM 101 (9.2): four inputs of standard deviation 1.
TEST(RunSimulation, AdditiveModels) {
    const struct {
        K Kind;
        const char* Half;
        double Bound;  // 97.5 % quantile of the output
    } cases[] = {
                 {K::Normal, "1", 3.92},
                 {K::Rectangular, "1.73205080756888", 3.88}};
    for (const auto& c : cases) {
        Model m = MakeModel("Y = X1 + X2 + X3 + X4", {{"X1", c.Kind, "0", c.Half},
                                                      {"X2", c.Kind, "0", c.Half},
                                                      {"X3", c.Kind, "0", c.Half},
                                                      {"X4", c.Kind, "0", c.Half}});
        SimulationSession session;
        RecordingObserver observer;
        testing::ScriptedDialogs dialogs;
        const std::int64_t n = 200000;
        const RunOutcome out =
            RunSimulation(m.PostfixExpression, m.Parameters, Settings(n, false, 2026), Texts(),
                          dialogs, session, observer);
        ASSERT_EQ(out.Status, RunStatus::Completed);
        const SimulationResult& s = out.Last.Statistics;
        // Standard errors of mean, deviation and 2.5 % quantile for 200000 values,
        // with 5 of them allowed.
        EXPECT_NEAR(static_cast<double>(s.M1), 0, 5 * 2 / std::sqrt(n));
        EXPECT_NEAR(std::sqrt(static_cast<double>(s.M2)), 2, 5 * 2 / std::sqrt(2.0 * n));
        EXPECT_NEAR(out.Interval.Low, -c.Bound, 0.06);
        EXPECT_NEAR(out.Interval.High, c.Bound, 0.06);
        EXPECT_NEAR(static_cast<double>(s.Kurtosis) - 3, c.Kind == K::Normal ? 0 : -0.3,
                    5 * std::sqrt(24.0 / n));
    }
}

}  // namespace
}  // namespace corvanta
