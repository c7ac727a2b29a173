// The GUM framework, its validation, the shortest interval and the adaptive
// procedure, on the examples of the Monte Carlo supplement to the GUM.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ModelFixture.h"
#include "distributions/Sampling.h"
#include "simulation/AdaptiveRun.h"
#include "simulation/CoverageIntervals.h"
#include "simulation/GumFramework.h"
#include "simulation/Run.h"
#include "simulation/Validation.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

using testing::Input;
using testing::MakeModel;
using testing::Model;
using testing::Texts;
using K = DistributionKind;

struct EstimateCase {
    Input In;
    double Expectation, Uncertainty, Degrees;
};

// Every kind's expectation and uncertainty, in closed form, and what 200000
// draws of its sampler give: means within 5 standard errors, standard
// deviations within 2 % (5 standard errors for kurtosis up to 9).
TEST(GumFramework, InputEstimatesAreThoseOfTheSamplers) {
    const double inf = kInfiniteDegrees;
    const double pi = 3.14159265358979323846;
    const EstimateCase cases[] = {
        {{"x", K::Normal, "10", "0.5"}, 10, 0.5, inf},
        {{"x", K::Rectangular, "5", "1.73205080756888"}, 5, 1, inf},
        {{"x", K::Triangular, "0", "-2.44948974278318"}, 0, 1, inf},
        {{"x", K::Constante, "3"}, 3, 0, inf},
        {{"x", K::Gamma, "4"}, 4, 2, inf},
        {{"x", K::Exponencial, ""}, 1, 1, inf},
        {{"x", K::Beta, "2", "3"}, 0.4, 0.2, inf},
        {{"x", K::Student, "5", "1"}, 1, std::sqrt(5.0 / 3), inf},
        {{"x", K::Poisson, "9"}, 9, 3, inf},
        {{"x", K::Binomial, "10", "0.5"}, 5, std::sqrt(2.5), inf},
        {{"x", K::NegBinomial, "4", "0.5"}, 4, std::sqrt(8.0), inf},
        {{"x", K::VonMises, "0"}, 0, pi / std::sqrt(3.0), inf},
        {{"x", K::Weibull, "1"}, 1, 1, inf},
        {{"x", K::XiCuadrado, "8"}, 8, 4, inf},
        {{"x", K::LogNormal, "2", "0.3"}, 2, 0.3, inf},
        {{"x", K::Gamma, "0.4"}, 0.4, std::sqrt(0.4), inf},
        {{"x", K::Weibull, "2"}, 0.886226925452758, 0.463251375176104, inf},
        {{"x", K::Poisson, "37.5"}, 37.5, std::sqrt(37.5), inf},
        {{"x", K::Binomial, "10", "0.7"}, 7, std::sqrt(2.1), inf},
        {{"x", K::NegBinomial, "2", "0.8"}, 8, std::sqrt(40.0), inf},
        {{"x", K::VonMises, "2"}, 0, 0.874335107273604, inf},  // Simpson, 200000 steps
        // Beyond their ranges the samplers draw constants.
        {{"x", K::Binomial, "10", "1.5"}, 10, 0, inf},
        {{"x", K::Poisson, "-1"}, 0, 0, inf},
        // Readings 10.1, 10.3, 10.2: s / sqrt(3) = 0.0577350269, nu = 2, kept
        // as such for a t simulation and as t(95 %, 2) s / sqrt(3) / 1.96 else.
        {{"x", K::Experimental, "10.2", "0.0577350269189626", "Student", "2"},
         10.2,
         0.0577350269189626,
         2},
        {{"x", K::Experimental, "10.2", "0.126741723112509", "Normal", "2"},
         10.2,
         0.0577350269189626,
         2},
        // Without its keyword the record is simulated as t.
        {{"x", K::Experimental, "10.2", "0.0577350269189626", "", "2"},
         10.2,
         0.0577350269189626,
         2},
    };
    constexpr int n = 200000;
    for (const EstimateCase& c : cases) {
        const Model m = MakeModel("y = x", {c.In});
        const ModelParameter& x = m.Parameters[1];
        const auto e = EstimateInput(x);
        ASSERT_TRUE(e) << x.Distrib;
        EXPECT_NEAR(double(e->Expectation), c.Expectation, 1e-9) << x.Distrib;
        EXPECT_NEAR(double(e->Uncertainty), c.Uncertainty, 1e-7 * (1 + c.Uncertainty)) << x.Distrib;
        EXPECT_EQ(e->DegreesOfFreedom, c.Degrees) << x.Distrib;
        if (x.Kind() == K::Experimental) continue;  // drawn with a wider deviation on purpose
        UniformSeed = 12345;
        long double sum = 0, squares = 0;
        for (int i = 0; i < n; ++i) {
            const long double v = SampleParameter(x);
            sum += v;
            squares += v * v;
        }
        const double mean = double(sum / n);
        const double sd = std::sqrt(double(squares / n - (sum / n) * (sum / n)));
        EXPECT_NEAR(mean, c.Expectation, 5 * c.Uncertainty / std::sqrt(n) + 1e-12) << x.Distrib;
        EXPECT_NEAR(sd, c.Uncertainty, 0.02 * c.Uncertainty + 1e-12) << x.Distrib;
    }
}

TEST(GumFramework, NotApplicableWithoutVariance) {
    SilentDialogs dialogs;
    const std::pair<Input, std::string> cases[] = {
        {{"b", K::Cauchy, ""},
         "The GUM uncertainty framework does not apply: b has a Cauchy distribution, which has "
         "no variance."},
        {{"b", K::Student, "2", "0"},
         "The GUM uncertainty framework does not apply: b has a Student t distribution with 2 "
         "degrees of freedom, which has no variance (it needs more than 2)."},
    };
    for (const auto& [input, reason] : cases) {
        const Model m = MakeModel("y = a + b", {{"a", K::Normal, "0", "1"}, input});
        const GumResult gum =
            EvaluateGum(m.PostfixExpression, m.Parameters, 0.95L, Texts(), dialogs);
        EXPECT_FALSE(gum.Applicable);
        EXPECT_EQ(gum.Reason, reason);
    }
}

// The examples of the supplement as the sample files hold them.
Model Additive(K kind, const std::string& a) {
    std::vector<Input> inputs;
    for (const char* name : {"X1", "X2", "X3", "X4"})
        inputs.push_back({name, kind, "0", a});
    return MakeModel("Y = X1 + X2 + X3 + X4", inputs);
}

Model MassCalibration() {
    return MakeModel("y = (mRc + dmRc)*(1 + (ra - ra0)*(1/rW - 1/rR)) - mnom",
                     {{"mRc", K::Normal, "100000", "0.050"},
                      {"dmRc", K::Normal, "1.234", "0.020"},
                      {"ra", K::Rectangular, "1.2", "0.1"},
                      {"ra0", K::Constante, "1.2"},
                      {"rW", K::Rectangular, "8000", "1000"},
                      {"rR", K::Rectangular, "8000", "50"},
                      {"mnom", K::Constante, "100000"}});
}

RunOutcome Simulate(const std::string& postfix, ParameterList& parameters, std::int64_t n,
                    std::uint32_t seed) {
    SilentDialogs dialogs;
    SimulationSession session;
    RunObserver quiet;
    const RunSettings settings{.Iterations = n, .ProgressView = false, .Seed = seed};
    return RunSimulation(postfix, parameters, settings, Texts(), dialogs, session, quiet);
}

// The additive model Y = X1 + X2 + X3 + X4 with unit standard uncertainties:
// GUM u = 2, interval +-3.92 either way; Monte Carlo +-3.92 for normal and
// +-3.88 for rectangular inputs (10^6 trials: the ends within 0.02, four
// standard errors).
TEST(GumFramework, AdditiveModelOfTheSupplement) {
    const std::pair<Model, double> cases[] = {{Additive(K::Normal, "1"), 3.92},
                                              {Additive(K::Rectangular, "1.73205080756888"), 3.88}};
    for (const auto& [model, end] : cases) {
        const std::string& postfix = model.PostfixExpression;
        ParameterList parameters = model.Parameters;
        const std::string file = end == 3.92 ? "normal" : "rectangular";
        SilentDialogs dialogs;
        const GumResult gum = EvaluateGum(postfix, parameters, 0.95L, Texts(), dialogs);
        ASSERT_TRUE(gum.Applicable) << gum.Reason;
        EXPECT_NEAR(double(gum.Estimate), 0, 1e-12);
        EXPECT_NEAR(double(gum.CombinedUncertainty), 2, 1e-9);
        EXPECT_NEAR(double(gum.SecondOrderTerms), 0, 1e-9);  // linear: no second-order terms
        EXPECT_NEAR(double(gum.CoverageFactor), 1.959963984540054, 1e-12);
        EXPECT_NEAR(double(gum.High), 3.92, 0.0001);
        for (const BudgetRow& row : gum.Budget) {
            EXPECT_NEAR(double(row.Sensitivity), 1, 1e-9) << row.Name;
            EXPECT_NEAR(double(row.Share), 25, 1e-6) << row.Name;
        }
        const RunOutcome mc = Simulate(postfix, parameters, 1000000, 7);
        ASSERT_TRUE(mc.Interval.Determined);
        EXPECT_NEAR(mc.Interval.Low, -end, 0.02) << file;
        EXPECT_NEAR(mc.Interval.High, end, 0.02) << file;
        const Validation v = ValidateGum(gum, mc.Interval.Low, mc.Interval.High, 2);
        EXPECT_DOUBLE_EQ(double(v.Tolerance), 0.05);
        if (end == 3.92) {
            EXPECT_TRUE(v.Validated) << v.LowDifference << " " << v.HighDifference;
        } else {
            // 0.04 apart: within 0.05 at two digits, beyond 0.005 at three.
            EXPECT_NEAR(double(v.LowDifference), 0.04, 0.02);
            EXPECT_FALSE(ValidateGum(gum, mc.Interval.Low, mc.Interval.High, 3).Validated);
        }
    }
}

// Y = X^2 with X ~ N(0, 1): the first-order sensitivity vanishes at the
// expectation, so the first-order framework gives u = 0 where Y is chi-square
// with one degree of freedom (u = sqrt 2, which the second-order terms find).
TEST(GumFramework, VanishingSensitivityIsNotValidated) {
    const Model m = MakeModel("y = x*x", {{"x", K::Normal, "0", "1"}});
    SilentDialogs dialogs;
    const GumResult gum = EvaluateGum(m.PostfixExpression, m.Parameters, 0.95L, Texts(), dialogs);
    ASSERT_TRUE(gum.Applicable);
    EXPECT_NEAR(double(gum.CombinedUncertainty), 0, 1e-9);
    ASSERT_TRUE(gum.SecondOrderUncertainty);
    EXPECT_NEAR(double(*gum.SecondOrderUncertainty), std::sqrt(2.0), 1e-6);
    ParameterList parameters = m.Parameters;
    const RunOutcome mc = Simulate(m.PostfixExpression, parameters, 200000, 3);
    EXPECT_NEAR(mc.Interval.High, 5.02, 0.1);  // chi-square(1) 97.5 % point 5.024
    EXPECT_FALSE(ValidateGum(gum, mc.Interval.Low, mc.Interval.High, 2).Validated);
}

// The mass calibration: sensitivities stable to 6 digits when the step is
// halved; the first-order u = 0.0539 and, with second-order terms, 0.0750.
TEST(GumFramework, SensitivitiesAndSecondOrderTermsOfTheMassCalibration) {
    const Model m = MassCalibration();
    const std::string& postfix = m.PostfixExpression;
    const ParameterList& parameters = m.Parameters;
    SilentDialogs dialogs;
    std::vector<InputEstimate> estimates(parameters.size());
    for (std::size_t j = 0; j < parameters.size(); ++j)
        if (parameters[j].Kind() < K::Intermedio) estimates[j] = *EstimateInput(parameters[j]);
    const auto c =
        SensitivityCoefficients(postfix, parameters, estimates, kSensitivityStep, Texts(), dialogs);
    const auto half = SensitivityCoefficients(postfix, parameters, estimates, kSensitivityStep / 2,
                                              Texts(), dialogs);
    for (std::size_t j = 0; j < c.size(); ++j)
        EXPECT_NEAR(double(c[j]), double(half[j]), 1e-6 * std::fabs(double(c[j])) + 1e-12) << j;
    const GumResult gum = EvaluateGum(postfix, parameters, 0.95L, Texts(), dialogs);
    EXPECT_NEAR(double(gum.CombinedUncertainty), 0.0539, 0.00005);
    EXPECT_NEAR(double(*gum.SecondOrderUncertainty), 0.0750, 0.00005);
}

// Second-order terms sum (f_ij^2 / 2 + c_i f_ijj) u_i^2 u_j^2 over every pair,
// f_ijj the third derivative once in x_i and twice in x_j, here with u = 0.1:
// x^3 at 1 gives (18 + 18) 1E-4; a b^2 at (1, 2) gives (8 + 8) 1E-4 for (a, b),
// 8E-4 for (b, a) and 2E-4 for (b, b).
TEST(GumFramework, SecondOrderTermsWithThirdDerivatives) {
    const struct {
        Model M;
        double Terms;
    } cases[] = {
        {MakeModel("y = x*x*x", {{"x", K::Normal, "1", "0.1"}}), 0.0036},
        {MakeModel("y = a*b*b", {{"a", K::Normal, "1", "0.1"}, {"b", K::Normal, "2", "0.1"}}),
         0.0026}};
    for (const auto& c : cases) {
        SilentDialogs dialogs;
        const GumResult gum =
            EvaluateGum(c.M.PostfixExpression, c.M.Parameters, 0.95L, Texts(), dialogs);
        ASSERT_TRUE(gum.Applicable) << gum.Reason;
        EXPECT_NEAR(double(gum.SecondOrderTerms), c.Terms, 1e-9) << c.Terms;
        const double u = double(gum.CombinedUncertainty);
        EXPECT_NEAR(double(*gum.SecondOrderUncertainty), std::sqrt(u * u + c.Terms), 1e-9);
    }
}

// Welch-Satterthwaite with a Type A input of 2 degrees of freedom beside a
// normal one of equal contribution (3 u_a = 7 u_r): nu_eff = (2 c^2)^2 /
// (c^4 / 2) = 8, whole even through the differences' roundings.
TEST(GumFramework, EffectiveDegreesOfFreedomAndCoverageFactor) {
    const Model m = MakeModel(
        "y = 3*a + 7*r", {{"a", K::Normal, "0", "0.134715062810913"},
                          {"r", K::Experimental, "10.2", "0.0577350269189626", "Student", "2"}});
    SilentDialogs dialogs;
    const GumResult gum = EvaluateGum(m.PostfixExpression, m.Parameters, 0.95L, Texts(), dialogs);
    EXPECT_EQ(gum.EffectiveDegreesOfFreedom, 8);
    EXPECT_NEAR(double(gum.CoverageFactor), 2.306004135204166, 1e-9);  // t(0.975; 8)
    EXPECT_NEAR(double(CoverageFactor(0.95L, 2)), 4.302652729749464, 1e-9);
    EXPECT_NEAR(double(NumericalTolerance(0.0539L, 2)), 0.0005, 1e-15);
    EXPECT_NEAR(double(NumericalTolerance(9.96L, 2)), 0.5, 1e-15);
    EXPECT_NEAR(double(NumericalTolerance(100, 1)), 50, 1e-12);
}

// An uncertainty below the model's 15 digits can't be propagated; a constant
// the model can't take a step from has an undetermined coefficient and no
// part in u_c.
TEST(GumFramework, StepsTheModelCannotResolve) {
    SilentDialogs dialogs;
    const Model precise = MakeModel("y = x", {{"x", K::Normal, "9192631770", "1E-5"}});
    const GumResult tiny =
        EvaluateGum(precise.PostfixExpression, precise.Parameters, 0.95L, Texts(), dialogs);
    EXPECT_FALSE(tiny.Applicable);
    EXPECT_EQ(tiny.Reason,
              "The GUM uncertainty framework does not apply: the uncertainty of x is below the "
              "15 significant digits the model is evaluated with.");
    const Model root =
        MakeModel("y = a + SQRT(b)", {{"a", K::Normal, "0", "1"}, {"b", K::Constante, "0"}});
    const GumResult gum =
        EvaluateGum(root.PostfixExpression, root.Parameters, 0.95L, Texts(), dialogs);
    ASSERT_TRUE(gum.Applicable) << gum.Reason;
    EXPECT_NEAR(double(gum.CombinedUncertainty), 1, 1e-9);
    EXPECT_TRUE(std::isnan(gum.Budget[1].Sensitivity));
}

// Normal values: the shortest interval is the symmetric one within
// statistical tolerance; exponential values: it starts at the lowest values
// and is shorter (-ln 0.05 = 2.996 against ln 39 = 3.664).
TEST(CoverageIntervals, ShortestAgainstSymmetric) {
    constexpr int n = 200000;
    std::vector<double> normal(n), exponential(n);
    UniformSeed = 99;
    for (int i = 0; i < n; ++i) {
        normal[i] = static_cast<double>(RandG(0, 1));
        exponential[i] = static_cast<double>(SampleExponential());
    }
    std::sort(normal.begin(), normal.end());
    std::sort(exponential.begin(), exponential.end());
    const ValueInterval ns = SymmetricInterval(normal.data(), n, 0.95L);
    const ValueInterval nt = ShortestInterval(normal.data(), n, 0.95L);
    // Quantile standard error at 2.5 %: sqrt(0.025 * 0.975 / n) / phi(1.96) = 0.006.
    EXPECT_NEAR(ns.Low, -1.96, 0.03);
    EXPECT_NEAR(nt.Low, ns.Low, 0.03);
    EXPECT_NEAR(nt.High, ns.High, 0.03);
    const ValueInterval es = SymmetricInterval(exponential.data(), n, 0.95L);
    const ValueInterval et = ShortestInterval(exponential.data(), n, 0.95L);
    EXPECT_NEAR(es.High - es.Low, 3.664, 0.05);
    EXPECT_NEAR(et.High - et.Low, 2.996, 0.05);
    EXPECT_LT(et.Low, 0.001);
    // The definitions on small sets. M = 6, p = 0.5: q = 3 places, the
    // symmetric interval from r = (6 - 3 + 1) / 2 = 2; M = 5: q = 3 (2.5 +
    // 0.5 cut), r = (5 - 3) / 2 = 1.
    const double six[] = {1, 2, 3, 4, 100, 101};
    EXPECT_EQ(SymmetricInterval(six, 6, 0.5L).Low, 2);
    EXPECT_EQ(SymmetricInterval(six, 6, 0.5L).High, 100);
    EXPECT_EQ(ShortestInterval(six, 6, 0.5L).Low, 1);
    EXPECT_EQ(ShortestInterval(six, 6, 0.5L).High, 4);
    const double five[] = {1, 2, 4, 8, 16};
    EXPECT_EQ(SymmetricInterval(five, 5, 0.5L).Low, 1);
    EXPECT_EQ(SymmetricInterval(five, 5, 0.5L).High, 8);
}

TEST(AdaptiveRun, StopsEarlierForLooserDigitsAndRepeatsWithTheSeed) {
    const Model m = Additive(K::Normal, "1");
    const std::string& postfix = m.PostfixExpression;
    const ParameterList& parameters = m.Parameters;
    SilentDialogs dialogs;
    EXPECT_EQ(AdaptiveBatchSize(0.95L), 10000);
    EXPECT_EQ(AdaptiveBatchSize(0.9973L), 37038);
    const auto run = [&](int digits, std::int64_t ceiling) {
        return RunAdaptive(postfix, parameters, 0.95L, digits, ceiling, 5, Texts(), dialogs);
    };
    // Two digits are reached at the first check, after 10 batches; three
    // take more.
    const AdaptiveOutcome two = run(2, kDefaultAdaptiveCeiling);
    const AdaptiveOutcome three = run(3, kDefaultAdaptiveCeiling);
    EXPECT_EQ(two.Batches, kAdaptiveMinimumBatches);
    EXPECT_FALSE(three.CeilingReached);
    EXPECT_LT(two.Trials, three.Trials);
    EXPECT_EQ(three.Trials, three.Batches * 10000);
    EXPECT_DOUBLE_EQ(double(three.Tolerance), 0.005);
    EXPECT_NEAR(double(three.StandardUncertainty), 2, 0.005);
    const AdaptiveOutcome again = run(3, kDefaultAdaptiveCeiling);
    EXPECT_EQ(again.Trials, three.Trials);
    EXPECT_EQ(again.Mean, three.Mean);
    const AdaptiveOutcome capped = run(4, 30000);
    EXPECT_TRUE(capped.CeilingReached);
    EXPECT_EQ(capped.Trials, 30000);
    // The run from the same seed draws the trials the choice was made on.
    ParameterList copy = parameters;
    const RunOutcome mc = Simulate(postfix, copy, three.Trials, 5);
    EXPECT_NEAR(double(mc.Last.Statistics.M1), double(three.Mean), 1e-12);
}

}  // namespace
}  // namespace corvanta
