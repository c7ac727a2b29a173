#include "simulation/Run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "../support/ScriptedDialogs.h"
#include "ModelFixture.h"
#include "distributions/Sampling.h"
#include "engine/Faults.h"
#include "simulation/Iteration.h"

namespace corvanta {
namespace {

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
    // The grid as the results were handed over, with the run already over.
    std::vector<std::string> ResultsShown;
    void ResultsReady(const RunOutcome& outcome) override {
        EXPECT_FALSE(Session->SimulationRunning);
        ResultsShown.assign(outcome.Grid.begin(), outcome.Grid.end());
    }
};

// One run with its session, observer and dialogs kept for inspection.
struct Ran {
    SimulationSession Session;
    RecordingObserver Observer;
    testing::ScriptedDialogs Dialogs;
    RunOutcome Out;
    std::uint32_t SeedAfter = 0;
    Ran(Model& m, std::int64_t n, bool view, std::uint32_t seed, int stopAt = -1, int threads = 0) {
        Observer.Session = &Session;
        Observer.StopAtUpdate = stopAt;
        const RunSettings s{
            .Iterations = n, .ProgressView = view, .Seed = seed, .Threads = threads};
        Out = RunSimulation(m.PostfixExpression, m.Parameters, s, Texts(), Dialogs, Session,
                            Observer);
        SeedAfter = UniformSeed;
    }
};

Model SumOfNormals() {
    return MakeModel("y = a + b", {{"a", K::Normal, "0", "1"}, {"b", K::Normal, "0", "1"}});
}

TEST(RunSimulation, ProgressViewOnAndOff) {
    Model m = SumOfNormals();
    const Ran on(m, 100000, true, 1), off(m, 100000, false, 1);
    ASSERT_EQ(on.Out.Status, RunStatus::Completed);
    ASSERT_EQ(off.Out.Status, RunStatus::Completed);
    std::vector<std::int64_t> expected;  // the schedule itself is checked in StatisticsTest
    for (std::int64_t i = 0; i < 100000; ++i)
        if (IsProgressIndex(i, 100000)) expected.push_back(i + 1);
    EXPECT_EQ(on.Observer.Updates, expected);
    EXPECT_FALSE(on.Observer.Marks.front());  // no marks at the first update
    EXPECT_TRUE(on.Observer.Marks.back());
    EXPECT_EQ(on.Observer.Iterations.size(), 901u);  // i = 0, 111, …, 99900
    EXPECT_EQ(on.Observer.Iterations[1], 112);
    EXPECT_TRUE(on.Observer.BarWidths.empty());
    // Off: 25 bar steps and one update at the end, over every value.
    EXPECT_EQ(off.Observer.Updates, std::vector<std::int64_t>{100000});
    std::vector<int> widths;
    for (int step = 1; step <= 25; ++step)
        widths.push_back(step * 16);
    EXPECT_EQ(off.Observer.BarWidths, widths);
    EXPECT_TRUE(off.Observer.Iterations.empty());
    for (const Ran* r : {&on, &off}) {
        EXPECT_EQ(r->Observer.ResultsShown,
                  std::vector<std::string>(r->Out.Grid.begin(), r->Out.Grid.end()));
        EXPECT_TRUE(r->Session.StopRequested);
        EXPECT_FALSE(r->Session.SimulationRunning);
        EXPECT_TRUE(r->Dialogs.Log.empty());
    }
    const auto texts = [](const RunOutcome& o) {
        return std::tie(o.Grid, o.IntervalText, o.ClassicText, o.NormalityText);
    };
    EXPECT_EQ(texts(on.Out), texts(off.Out));
}

TEST(RunSimulation, StopAtAnUpdateInterruptsTheRun) {
    Model m = SumOfNormals();
    const Ran r(m, 100000, true, 9, 3);  // stops at index 200
    const RunOutcome& out = r.Out;
    ASSERT_EQ(out.Status, RunStatus::Interrupted);
    EXPECT_EQ(out.Computed, 201);
    EXPECT_EQ(out.Last.Statistics.n, 201);
    EXPECT_EQ(out.IntervalText,
              "Confidence interval (p = 95%): Indeterminado (simul. interrumpida)");
    EXPECT_EQ(out.ClassicText, "GUM format = Indetermined");
    EXPECT_EQ(out.Grid[0], "100000");
    for (int row : {4, 5, 8})
        EXPECT_EQ(out.Grid[row], "Indetermined") << row;
    EXPECT_NE(out.Grid[1], "Indetermined");
    // Jarque-Bera counts the 201 values computed, not the 100000 asked for.
    const SimulationResult& s = out.Last.Statistics;
    ASSERT_TRUE(out.JarqueBera.has_value());
    EXPECT_EQ(*out.JarqueBera, JarqueBera(201, s.Skewness, s.Kurtosis));
    EXPECT_TRUE(r.Session.StopRequested);
    EXPECT_GT(m.Parameters[1].Sensib, 0);  // contributions after an interrupted run too
    EXPECT_EQ(r.Session.Contributions.size(), 3u);
}

TEST(RunSimulation, RefusedWhileRunningOrNotReadyOrWhenTheObserverThrows) {
    Model m = SumOfNormals();
    RecordingObserver observer;
    testing::ScriptedDialogs dialogs;
    SimulationSession running;
    running.SimulationRunning = true;
    EXPECT_EQ(
        RunSimulation(m.PostfixExpression, m.Parameters, {}, Texts(), dialogs, running, observer)
            .Status,
        RunStatus::Ignored);
    EXPECT_TRUE(dialogs.Log.empty());

    class Throwing : public RunObserver {
        void ProgressUpdated(const RunProgress&) override { throw std::runtime_error("paint"); }
    } throwing;
    SimulationSession painted;
    EXPECT_THROW(
        RunSimulation(m.PostfixExpression, m.Parameters, {}, Texts(), dialogs, painted, throwing),
        std::runtime_error);
    EXPECT_FALSE(painted.SimulationRunning);

    m.Parameters[2].Init = false;
    m.Parameters[2].Distrib = 0;
    const Ran r(m, 100000, false, 1);
    EXPECT_EQ(r.Out.Status, RunStatus::NotReady);
    EXPECT_EQ(r.Out.FirstUninitialised, 2u);
    EXPECT_EQ(r.Dialogs.Texts(),
              std::vector<std::string>{"Cannot run the simulation. Incomplete initialization of "
                                       "parameters"});
    EXPECT_FALSE(r.Session.SimulationRunning);
}

TEST(RunSimulation, AllOutputsEqual) {
    Model m = MakeModel("y = a*b", {{"a", K::Constante, "2.5"}, {"b", K::Constante, "4"}});
    m.Parameters[0].Unidad = "g";
    const Ran r(m, 100000, true, 1);
    ASSERT_EQ(r.Out.Status, RunStatus::Completed);
    EXPECT_TRUE(r.Dialogs.Log.empty());
    const std::array<std::string, kResultRows> expected = {
        "100000",       "10", "0.000000e0", "0.00000e0",    "Indetermined",
        "Indetermined", "10", "10",         "Indetermined", "0.00000e0"};
    EXPECT_EQ(r.Out.Grid, expected);
    EXPECT_EQ(r.Out.ResultText, "10");
    EXPECT_EQ(r.Out.NormalityText, "Normality test (Jarque - Bera)  =  Indetermined");
    EXPECT_EQ(r.Out.IntervalText, "Confidence interval (p = 95%)  =  Indetermined");
    EXPECT_EQ(r.Out.ClassicText, "GUM format = Indetermined");
    EXPECT_FALSE(r.Session.SimulationRunning);
    EXPECT_EQ(r.Session.Contributions.size(), 3u);
    for (const ContributionRow& row : r.Session.Contributions)
        EXPECT_EQ(row.Relative, "0");
}

TEST(RunSimulation, ModelThatAlwaysFailsStopsWithTheFaultsText) {
    Model m = MakeModel("y = 1/(a - a)", {{"a", K::Normal, "1", "1"}});
    const Ran r(m, 100000, false, 1);
    EXPECT_EQ(r.Out.Status, RunStatus::Aborted);
    EXPECT_EQ(r.Out.FailedDraws, kConsecutiveFailureLimit);
    EXPECT_EQ(r.Out.Computed, 0);
    const testing::ScriptedDialogs::Shown expected{
        DialogKind::Error,
        "The simulation was stopped: the model failed on 100000 draws in a row (Floating point "
        "division by zero)."};
    EXPECT_EQ(r.Dialogs.Log, std::vector{expected});
    EXPECT_EQ(r.Out.Grid[1], "Indetermined");
    EXPECT_EQ(r.Out.IntervalText, "Confidence interval (p = 95%)  =  Indetermined");
    EXPECT_FALSE(r.Session.SimulationRunning);
    EXPECT_TRUE(r.Session.StopRequested);
}

TEST(RunSimulation, FailedDrawsAreReplaced) {
    // ln of a quantity that is negative in about 16 % of the draws.
    Model m = MakeModel("y = ln(x)", {{"x", K::Normal, "1", "1"}});
    const Ran r(m, 100000, false, 4);
    ASSERT_EQ(r.Out.Status, RunStatus::Completed);
    EXPECT_EQ(r.Out.Computed, 100000);
    EXPECT_EQ(r.Out.Last.Statistics.n, 100000);
    // Binomial count of negative draws: 100000 / 6.3 draws, +- 5 standard deviations.
    const double p = 0.158655, expectedFailures = 100000 * p / (1 - p);
    EXPECT_NEAR(r.Out.FailedDraws, expectedFailures, 5 * std::sqrt(expectedFailures));
    // The contributions do not redraw: their fault is reported and they stop.
    const testing::ScriptedDialogs::Shown expected{DialogKind::Error, kInvalidOperationText};
    EXPECT_EQ(r.Dialogs.Log, std::vector{expected});
}

TEST(RunSimulation, ValuesAndLaterDrawsAreThoseOfTheTextualIteration) {
    // The run evaluates ahead in batches; values, redrawn failures and the
    // state left for the contributions must be those of one GetIteration after the other.
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
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    const ProgressUpdate expected = UpdateRunStatistics(values.data(), n, *lo, *hi, 0);

    const Ran r(m, n, false, 17);
    ASSERT_EQ(r.Out.Status, RunStatus::Completed);
    EXPECT_EQ(r.Out.FailedDraws, failed);
    EXPECT_GT(failed, 0);
    const auto moments = [](const SimulationResult& s) { return std::tie(s.M1, s.M2, s.M4); };
    EXPECT_EQ(moments(r.Out.Last.Statistics), moments(expected.Statistics));
    EXPECT_EQ(r.Out.Last.Histogram.Counts, expected.Histogram.Counts);
    EXPECT_EQ(r.Session.OutputMax, *hi);

    // The contributions went on from the state the last used iteration left.
    ParameterList reference = m.Parameters;
    UniformSeed = stateAfter;
    std::vector<ContributionRow> rows;
    bool computed = true;
    try {
        ComputeContributions(m.PostfixExpression, reference, Texts(), dialogs, rows);
    } catch (const CalcError&) {
        computed = false;
    }
    for (std::size_t j = 0; j < reference.size(); ++j)
        EXPECT_EQ(m.Parameters[j].Sensib, reference[j].Sensib) << j;
    EXPECT_EQ(r.Out.ContributionsComputed, computed);
}

// Models that fail now and then, always, or never: the faults, redraws and
// messages fall on the same iterations on any number of threads.
TEST(RunSimulation, FaultsAreTheSameOnEveryThreadCount) {
    const Model models[] = {
        MakeModel("y = ln(x)", {{"x", K::Normal, "1", "1"}}),
        MakeModel(
            "y = a*b/k",
            {{"a", K::Normal, "3", "1"}, {"b", K::Rectangular, "2", "1"}, {"k", K::Poisson, "2"}}),
        MakeModel("y = 1/(a - a)", {{"a", K::Normal, "1", "1"}}),
        MakeModel("y = a + b", {{"a", K::Normal, "0", "1"}, {"b", K::Poisson, "1"}})};
    for (std::size_t c = 0; c < std::size(models); ++c) {
        Model one = models[c], two = models[c];
        const Ran r1(one, 20011, c == 1, 5, -1, 1), r2(two, 20011, c == 1, 5, -1, 2);
        const auto results = [](const Ran& r) {
            return std::tie(r.Out.Status, r.Out.Computed, r.Out.FailedDraws, r.Out.Grid,
                            r.Out.IntervalText, r.Out.Last.Histogram.Counts, r.Dialogs.Log,
                            r.Observer.Updates, r.SeedAfter);
        };
        EXPECT_EQ(results(r2), results(r1)) << c;
        EXPECT_EQ(r1.Out.FailedDraws > 0, c < 3) << c;
        for (std::size_t j = 0; j < one.Parameters.size(); ++j)
            EXPECT_EQ(two.Parameters[j].Sensib, one.Parameters[j].Sensib) << c << " " << j;
    }
}

TEST(RunSimulation, TokenThatNamesNoQuantityAbortsWithoutLosingAnything) {
    Model m = SumOfNormals();
    m.Parameters[1].Nombre = "A";  // the model text names a
    const ParameterList before = m.Parameters;
    const Ran r(m, 100000, false, 1);
    EXPECT_EQ(r.Out.Status, RunStatus::Aborted);
    EXPECT_EQ(r.Dialogs.Texts(), std::vector<std::string>{"Incompatible parameter: a"});
    EXPECT_EQ(m.Parameters, before);
    EXPECT_FALSE(r.Session.SimulationRunning);
}

// The additive models of JCGM 101 (9.2): four inputs of standard deviation 1.
TEST(RunSimulation, AdditiveModels) {
    const struct {
        K Kind;
        const char* Half;
        double Bound;  // 97.5 % quantile of the output
    } cases[] = {{K::Normal, "1", 3.92}, {K::Rectangular, "1.73205080756888", 3.88}};
    for (const auto& c : cases) {
        Model m = MakeModel("Y = X1 + X2 + X3 + X4", {{"X1", c.Kind, "0", c.Half},
                                                      {"X2", c.Kind, "0", c.Half},
                                                      {"X3", c.Kind, "0", c.Half},
                                                      {"X4", c.Kind, "0", c.Half}});
        const std::int64_t n = 200000;
        const Ran r(m, n, false, 2026);
        ASSERT_EQ(r.Out.Status, RunStatus::Completed);
        const SimulationResult& s = r.Out.Last.Statistics;
        // Five standard errors of mean, deviation and 2.5 % quantile for 200000 values.
        EXPECT_NEAR(static_cast<double>(s.M1), 0, 5 * 2 / std::sqrt(n));
        EXPECT_NEAR(std::sqrt(static_cast<double>(s.M2)), 2, 5 * 2 / std::sqrt(2.0 * n));
        EXPECT_NEAR(r.Out.Interval.Low, -c.Bound, 0.06);
        EXPECT_NEAR(r.Out.Interval.High, c.Bound, 0.06);
        EXPECT_NEAR(static_cast<double>(s.Kurtosis) - 3, c.Kind == K::Normal ? 0 : -0.3,
                    5 * std::sqrt(24.0 / n));
    }
}

}  // namespace
}  // namespace corvanta
