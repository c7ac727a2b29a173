// Runs with correlated inputs: the comparison-loss example of the guide to
// the Monte Carlo method, a sum of rectangular inputs, the GUM framework's
// covariance terms and the refusals before a run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "simulation/CompiledModel.h"
#include "simulation/CoverageIntervals.h"
#include "simulation/GumFramework.h"
#include "simulation/Run.h"
#include "simulation/RunChoices.h"
#include "support/ScriptedDialogs.h"
#include "tests/simulation/ModelFixture.h"

namespace corvanta {
namespace {

using testing::MakeModel;
using testing::Texts;

std::vector<double> Values(const testing::Model& model, const CorrelationList& list, int n) {
    SilentDialogs dialogs;
    CompiledModel compiled(model.PostfixExpression, model.Parameters, Texts(), dialogs,
                           std::nullopt, list);
    std::vector<double> values;
    values.reserve(n);
    while (static_cast<int>(values.size()) < n) {
        const std::size_t made =
            compiled.EvaluateBatch(std::min<std::size_t>(CompiledModel::kBatch, n - values.size()));
        for (std::size_t t = 0; t < made; ++t)
            if (!compiled.Failed(t)) values.push_back(compiled.Value(t));
    }
    return values;
}

// dP = X1^2 + X2^2 with X2 = 0 and u(x1) = u(x2) = 0.005: the exact mean
// x1^2 + 2u^2, the exact u = sqrt(4 x1^2 u^2 + 4 u^4 (1 + r^2)), and the
// shortest 95 % interval from the distribution function of the two scaled
// noncentral chi-squares (by quadrature), with the densities at its ends.
struct ComparisonLoss {
    const char* X1;
    double R;
    double Low, High, DensityLow, DensityHigh;
    double GumUncertainty;
};

TEST(CorrelatedRun, ComparisonLossAgreesWithTheExactDistribution) {
    const ComparisonLoss cases[] = {
        {"0", 0, 0, 1.497866e-4, 1.9997e4, 1.0000e3, 0},
        {"0", 0.9, 0, 1.850596e-4, 4.5838e4, 6.2783e2, 0},
        {"0.010", 0, 0, 3.660055e-4, 2.7077e3, 5.5392e2, 1.0e-4},
        {"0.010", 0.9, 1.265156e-5, 3.974788e-4, 3.9515e2, 3.9515e2, 1.0e-4},
        {"0.050", 0, 1.593570e-3, 3.548570e-3, 1.1719e2, 1.1719e2, 5.0e-4},
        {"0.050", 0.9, 1.624419e-3, 3.554682e-3, 1.1782e2, 1.1782e2, 5.0e-4},
    };
    const int n = 1000000;
    const double u = 0.005;
    for (const ComparisonLoss& c : cases) {
        const testing::Model model =
            MakeModel("dP = X1^2 + X2^2", {{"X1", DistributionKind::Normal, c.X1, "0.005"},
                                           {"X2", DistributionKind::Normal, "0", "0.005"}});
        const CorrelationList list{{"X1", "X2", c.R}};
        UniformSeed = 9400;
        std::vector<double> values = Values(model, list, n);
        long double sum = 0, squares = 0;
        for (double v : values)
            sum += v;
        const long double mean = sum / n;
        for (double v : values)
            squares += (v - mean) * (v - mean);
        const double sd = static_cast<double>(std::sqrt(squares / (n - 1)));
        const double x1 = std::stod(c.X1);
        const double exactMean = x1 * x1 + 2 * u * u;
        const double exactU = std::sqrt(4 * x1 * x1 * u * u + 4 * std::pow(u, 4) * (1 + c.R * c.R));
        EXPECT_NEAR(static_cast<double>(mean), exactMean, 5 * exactU / std::sqrt(n)) << c.X1 << c.R;
        // The kurtosis of these sums stays below 16.
        EXPECT_NEAR(sd, exactU, 5 * exactU * std::sqrt(15.0 / (4 * n))) << c.X1 << " " << c.R;
        std::sort(values.begin(), values.end());
        const ValueInterval shortest = ShortestInterval(values.data(), n, 0.95L);
        const double spread = 6 * std::sqrt(0.05 * 0.95 / n);
        EXPECT_NEAR(shortest.Low, c.Low, spread / c.DensityLow) << c.X1 << " " << c.R;
        EXPECT_NEAR(shortest.High, c.High, spread / c.DensityHigh) << c.X1 << " " << c.R;

        // The GUM column: first order u_c = 2 x1 u whatever r; the
        // second-order figure only without the correlation.
        SilentDialogs dialogs;
        const GumResult gum =
            EvaluateGum(model.PostfixExpression, model.Parameters, 0.95L, Texts(), dialogs, list);
        ASSERT_TRUE(gum.Applicable) << gum.Reason;
        EXPECT_NEAR(static_cast<double>(gum.CombinedUncertainty), c.GumUncertainty, 1e-9);
        EXPECT_EQ(gum.SecondOrderAvailable, c.R == 0);
        EXPECT_EQ(gum.Correlations.size(), c.R == 0 ? 0u : 1u);
        if (c.R == 0) {
            EXPECT_NEAR(static_cast<double>(*gum.SecondOrderUncertainty),
                        std::sqrt(4 * x1 * x1 * u * u + 4 * std::pow(u, 4)), 1e-9);
        }
    }
}

TEST(CorrelatedRun, SumOfTwoRectangularsWithHalfCorrelation) {
    const testing::Model model =
        MakeModel("y = a + b", {{"a", DistributionKind::Rectangular, "0", "1"},
                                {"b", DistributionKind::Rectangular, "0", "1"}});
    const int n = 1000000;
    UniformSeed = 31;
    const std::vector<double> values = Values(model, {{"a", "b", 0.5}}, n);
    long double sum = 0, squares = 0;
    for (double v : values)
        sum += v;
    for (double v : values)
        squares += (v - sum / n) * (v - sum / n);
    // sigma = 1/sqrt(3) each; u = sqrt(3) sigma = 1. The sum's kurtosis is
    // below 3.
    EXPECT_NEAR(static_cast<double>(std::sqrt(squares / (n - 1))), 1, 5 * std::sqrt(2.0 / (4 * n)));

    // The GUM framework adds 2 r u(a) u(b): u_c^2 = 2/3 + 1/3.
    SilentDialogs dialogs;
    const GumResult gum = EvaluateGum(model.PostfixExpression, model.Parameters, 0.95L, Texts(),
                                      dialogs, {{"b", "a", 0.5}});
    EXPECT_NEAR(static_cast<double>(gum.CombinedUncertainty), 1, 1e-12);
    EXPECT_TRUE(gum.DegreesAvailable);
}

TEST(CorrelatedRun, RefusedBeforeTheRunWithTheMessage) {
    testing::Model model = MakeModel("y = a + b", {{"a", DistributionKind::Constante, "2"},
                                                   {"b", DistributionKind::Normal, "0", "1"}});
    testing::ScriptedDialogs dialogs;
    SimulationSession session;
    RunObserver observer;
    RunSettings settings;
    settings.Seed = 1;
    settings.Correlations = {{"a", "b", 0.5}};
    const RunOutcome outcome = RunSimulation(model.PostfixExpression, model.Parameters, settings,
                                             Texts(), dialogs, session, observer);
    EXPECT_EQ(outcome.Status, RunStatus::Aborted);
    EXPECT_EQ(dialogs.Log,
              (std::vector<testing::ScriptedDialogs::Shown>{
                  {DialogKind::Error, "\"a\" is a constant and cannot be correlated."}}));
    EXPECT_FALSE(session.SimulationRunning);
}

TEST(CorrelatedRun, DegreesOfFreedomOfCorrelatedExperimentalInputsAreNotAvailable) {
    const testing::Model model =
        MakeModel("y = a + b", {{"a", DistributionKind::Experimental, "0", "1", "Normal", "4"},
                                {"b", DistributionKind::Normal, "0", "1"}});
    SilentDialogs dialogs;
    const GumResult gum = EvaluateGum(model.PostfixExpression, model.Parameters, 0.95L, Texts(),
                                      dialogs, {{"a", "b", -0.3}});
    ASSERT_TRUE(gum.Applicable);
    EXPECT_FALSE(gum.DegreesAvailable);
    EXPECT_NEAR(static_cast<double>(gum.CoverageFactor), 1.959963984540054, 1e-12);
}

// The adaptive choice draws jointly as the run does (r = -0.9: u(y) =
// sqrt(0.2), not sqrt(2)), and is refused where the run would be.
TEST(CorrelatedRun, AdaptiveChoiceDrawsJointlyAndIsRefusedAsTheRun) {
    testing::Model model = MakeModel("y = a + b", {{"a", DistributionKind::Normal, "0", "1"},
                                                   {"b", DistributionKind::Normal, "0", "1"}});
    RunSettings settings{.ProgressView = false, .Seed = 5, .Threads = 2};
    settings.Correlations = {{"a", "b", -0.9}};
    SimulationSession session;
    RunObserver quiet;
    testing::ScriptedDialogs dialogs;
    const auto run = [&] {
        return RunWithChoices(model.PostfixExpression, model.Parameters, settings,
                              {IntervalKind::Symmetric, true, 2}, 2000000, false, Texts(), dialogs,
                              session, quiet);
    };
    const ChosenRunOutcome joint = run();
    ASSERT_TRUE(joint.Run.Status == RunStatus::Completed && joint.Adaptive);
    const double u = std::sqrt(0.2), n = static_cast<double>(joint.Adaptive->Trials);
    EXPECT_NEAR(static_cast<double>(joint.Adaptive->StandardUncertainty), u,
                5 * u / std::sqrt(2 * n));
    EXPECT_EQ(joint.Run.Computed, joint.Adaptive->Trials);
    model.Parameters[testing::IndexOf(model, "a")].Distrib = int(DistributionKind::Constante);
    EXPECT_EQ(run().Run.Status, RunStatus::Aborted);
    EXPECT_EQ(dialogs.Log,
              (std::vector<testing::ScriptedDialogs::Shown>{
                  {DialogKind::Error, "\"a\" is a constant and cannot be correlated."}}));
}

}  // namespace
}  // namespace corvanta
