// The GUM framework, intervals and adaptive runs on worked examples; correlated runs; Type B kinds.
#include "simulation/GumFramework.h"

#include "ModelFixture.h"
#include "distributions/Quantiles.h"
#include "simulation/CoverageIntervals.h"
#include "simulation/RunChoices.h"
#include "simulation/Validation.h"

namespace corvanta {
namespace {

using namespace testing;
constexpr double kPi = 3.14159265358979323846;

// Closed-form estimates of the laws the samplers are checked against; a constant is what is drawn.
TEST(GumFramework, InputEstimatesAreThoseOfTheSamplers) {
    const double s = 0.0577350269189626;
    // clang-format off
    const std::tuple<ModelParameter, double, double> cases[] = {
        {R(K::Normal, "10", "0.5"), 10, 0.5}, {R(K::Rectangular, "5", "1.73205080756888"), 5, 1},
        {R(K::Triangular, "0", "-2.44948974278318"), 0, 1}, {R(K::Beta, "2", "3"), 0.4, 0.2},
        {R(K::Weibull, "2"), 0.886226925452758, 0.463251375176104}, {R(K::Exponencial, ""), 1, 1},
        {R(K::Student, "5", "1"), 1, std::sqrt(5.0 / 3)}, {R(K::Gamma, "4"), 4, 2},
        {R(K::NegBinomial, "2", "0.8"), 8, std::sqrt(40.0)}, {R(K::LogNormal, "2", "0.3"), 2, 0.3},
        {R(K::XiCuadrado, "8"), 8, 4}, {R(K::Binomial, "10", "0.7"), 7, std::sqrt(2.1)},
        {R(K::Constante, "3"), 3, 0}, {R(K::Poisson, "9"), 9, 3},
        {R(K::VonMises, "2"), 0, 0.874335107273604},  // Simpson, 200000 steps
        // Beyond their ranges the samplers draw constants, n only for p above 1/2.
        {R(K::Binomial, "10", "1.5"), 10, 0}, {R(K::Binomial, "-3", "0.5"), 0, 0},
        {R(K::Poisson, "-1"), 0, 0},
        // Readings 10.1, 10.3, 10.2 (nu = 2) kept as t, as t(95 %, 2) s / 1.96 for normal, t bare.
        {R(K::Experimental, "10.2", "0.0577350269189626", "Student", "2"), 10.2, s},
        {R(K::Experimental, "10.2", "0.126741723112509", "Normal", "2"), 10.2, s},
        {R(K::Experimental, "10.2", "0.0577350269189626", "", "2"), 10.2, s}};
    // clang-format on
    for (const auto& [x, expectation, uncertainty] : cases) {
        SCOPED_TRACE(x.Distrib);
        const auto e = EstimateInput(x);
        ASSERT_TRUE(e);
        ExpectNear({Near{e->Expectation, expectation, 1e-9},
                    Near{e->Uncertainty, uncertainty, 1e-7 * (1 + uncertainty)}});
        EXPECT_EQ(e->DegreesOfFreedom, x.Kind() == K::Experimental ? 2 : kInfiniteDegrees);
        if (uncertainty > 0) continue;
        EXPECT_EQ(SampleParameter(x), expectation);
    }
}

Model Additive(K kind, const std::string& a) {
    return MakeModel(
        "Y = X1 + X2 + X3 + X4",
        {{"X1", kind, "0", a}, {"X2", kind, "0", a}, {"X3", kind, "0", a}, {"X4", kind, "0", a}});
}

// Four unit inputs: GUM +-3.92; 10^6 trials +-3.92 (normal), +-3.88 (rectangular), within 4 SE.
TEST(GumFramework, AdditiveModelOfTheSupplement) {
    const std::tuple<Model, double, double> cases[] = {
        {Additive(K::Normal, "1"), 3.92, 0},
        {Additive(K::Rectangular, "1.73205080756888"), 3.88, -0.3}};
    for (auto [model, end, excess] : cases) {
        SCOPED_TRACE(end);
        const GumResult gum = Gum(model);
        ASSERT_TRUE(gum.Applicable) << gum.Reason;
        ExpectNear({Near{gum.Estimate, 0, 1e-12}, Near{gum.CombinedUncertainty, 2, 1e-9},
                    Near{gum.SecondOrderTerms, 0, 1e-9},  // linear: no second-order terms
                    Near{gum.CoverageFactor, 1.959963984540054, 1e-12},
                    Near{gum.High, 3.92, 0.0001}});
        for (const BudgetRow& row : gum.Budget)
            ExpectNear({Near{row.Sensitivity, 1, 1e-9}, Near{row.Share, 25, 1e-6}});
        constexpr double n = 1000000;
        const Ran mc(model, n, false, 7);
        const CoverageInterval& interval = mc.Out.Interval;
        const SimulationResult& s = mc.Out.Last.Statistics;
        ASSERT_TRUE(mc.Out.Status == RunStatus::Completed && interval.Determined);
        ExpectNear({Near{interval.Low, -end, 0.02}, Near{interval.High, end, 0.02},
                    Near{s.M1, 0, 5 * 2 / std::sqrt(n)},
                    Near{std::sqrt(static_cast<double>(s.M2)), 2, 5 * 2 / std::sqrt(2.0 * n)},
                    Near{s.Kurtosis - 3, excess, 5 * std::sqrt(24.0 / n)}});
        // Rectangular: 0.04 apart, within 0.05 at two digits, beyond 0.005 at three.
        const Validation v = ValidateGum(gum, interval.Low, interval.High, 2);
        EXPECT_TRUE(v.Validated) << v.LowDifference << " " << v.HighDifference;
        EXPECT_DOUBLE_EQ(double(v.Tolerance), 0.05);
        if (excess == 0) continue;
        EXPECT_NEAR(double(v.LowDifference), 0.04, 0.02);
        EXPECT_FALSE(ValidateGum(gum, interval.Low, interval.High, 3).Validated);
    }
}

// Refused inputs; Y = X^2, X ~ N(0, 1): u = 0 at first order, sqrt 2 at second; nu_eff.
TEST(GumFramework, WorkedModels) {
    const std::string no = "The GUM uncertainty framework does not apply: ";
    const std::pair<Model, std::string> refused[] = {
        {MakeModel("y = a + b", {{"a", K::Normal, "0", "1"}, {"b", K::Cauchy, ""}}),
         no + "b has a Cauchy distribution, which has no variance."},
        {MakeModel("y = a + b", {{"a", K::Normal, "0", "1"}, {"b", K::Student, "2", "0"}}),
         no + "b has a Student t distribution with 2 degrees of freedom, which has no variance "
              "(it needs more than 2)."},
        {MakeModel("y = x", {{"x", K::Normal, "9192631770", "1E-5"}}),
         no + "the uncertainty of x is below the 15 significant digits the model is evaluated "
              "with."}};
    for (const auto& [model, reason] : refused) {
        const GumResult gum = Gum(model);
        EXPECT_EQ(std::pair(gum.Applicable, gum.Reason), std::pair(false, reason));
    }
    // A constant the model can't take a step from: an undetermined coefficient, no part in u_c.
    const GumResult root =
        Gum(MakeModel("y = a + SQRT(b)", {{"a", K::Normal, "0", "1"}, {"b", K::Constante, "0"}}));
    ASSERT_TRUE(root.Applicable && std::isnan(root.Budget[1].Sensitivity)) << root.Reason;
    EXPECT_NEAR(double(root.CombinedUncertainty), 1, 1e-9);
    Model square = MakeModel("y = x*x", {{"x", K::Normal, "0", "1"}});
    const GumResult gum = Gum(square);
    ASSERT_TRUE(gum.Applicable && gum.SecondOrderUncertainty);
    ExpectNear({Near{gum.CombinedUncertainty, 0, 1e-9},
                Near{*gum.SecondOrderUncertainty, std::sqrt(2.0), 1e-6},
                Near{gum.CoverageFactor, 1.959963984540054, 1e-12}});
    const Ran mc(square, 200000, false, 3);
    EXPECT_NEAR(mc.Out.Interval.High, 5.02, 0.1);  // chi-square(1) 97.5 % point 5.024
    EXPECT_FALSE(ValidateGum(gum, mc.Out.Interval.Low, mc.Out.Interval.High, 2).Validated);
    // Sum of (f_ij^2 / 2 + c_i f_ijj) u_i^2 u_j^2, u = 0.1: x^3 (18 + 18) 1E-4, ab^2 (16+8+2) 1E-4.
    const std::pair<Model, double> cases[] = {
        {MakeModel("y = x*x*x", {{"x", K::Normal, "1", "0.1"}}), 0.0036},
        {MakeModel("y = a*b*b", {{"a", K::Normal, "1", "0.1"}, {"b", K::Normal, "2", "0.1"}}),
         0.0026}};
    for (const auto& [model, terms] : cases) {
        const GumResult g = Gum(model);
        const double u = double(g.CombinedUncertainty);
        ExpectNear({Near{g.SecondOrderTerms, terms, 1e-9},
                    Near{g.SecondOrderUncertainty.value_or(-1), std::sqrt(u * u + terms), 1e-9}});
    }
    // Mass calibration: u 0.0539, with second order 0.0750.
    // clang-format off
    const Model m = MakeModel("y = (mRc + dmRc)*(1 + (ra - ra0)*(1/rW - 1/rR)) - mnom",
        {{"mRc", K::Normal, "100000", "0.050"}, {"dmRc", K::Normal, "1.234", "0.020"},
         {"ra", K::Rectangular, "1.2", "0.1"}, {"ra0", K::Constante, "1.2"},
         {"rW", K::Rectangular, "8000", "1000"}, {"rR", K::Rectangular, "8000", "50"},
         {"mnom", K::Constante, "100000"}});
    // clang-format on
    const GumResult mass = Gum(m);
    ExpectNear({Near{mass.CombinedUncertainty, 0.0539, 0.00005},
                Near{mass.SecondOrderUncertainty.value_or(-1), 0.0750, 0.00005}});
    // Type A of nu = 2 beside an equal normal part: (2 c^2)^2 / (c^4 / 2) = 8; nu = 0, u = 0: none.
    const GumResult welch = Gum(MakeModel(
        "y = 3*a + 7*r + z", {{"a", K::Normal, "0", "0.134715062810913"},
                              {"r", K::Experimental, "10.2", "0.0577350269189626", "Student", "2"},
                              {"z", K::Experimental, "4", "0", "Student", "0"}}));
    EXPECT_EQ(welch.EffectiveDegreesOfFreedom, 8);
    ExpectNear({Near{welch.CoverageFactor, 2.306004135204166, 1e-9},  // t(0.975; 8)
                Near{NumericalTolerance(0.0539L, 2), 0.0005, 1e-15},
                Near{NumericalTolerance(9.96L, 2), 0.5, 1e-15},
                Near{NumericalTolerance(100, 1), 50, 1e-12}});
}

// p = 0.5: M = 6, q = 3, symmetric from r = (6 - 3 + 1) / 2; M = 5, q = 3, r = 1.
TEST(CoverageIntervals, ShortestAgainstSymmetric) {
    const double six[] = {1, 2, 3, 4, 100, 101}, five[] = {1, 2, 4, 8, 16};
    const auto ends = [](ValueInterval i) { return std::make_pair(i.Low, i.High); };
    EXPECT_EQ(ends(SymmetricInterval(six, 6, 0.5L)), std::make_pair(2.0, 100.0));
    EXPECT_EQ(ends(ShortestInterval(six, 6, 0.5L)), std::make_pair(1.0, 4.0));
    EXPECT_EQ(ends(SymmetricInterval(five, 5, 0.5L)), std::make_pair(1.0, 8.0));
}

// Two digits at the first check (10 batches), three later; a run of the seed draws the same trials.
TEST(AdaptiveRun, StopsEarlierForLooserDigitsAndRepeatsWithTheSeed) {
    Model m = Additive(K::Normal, "1");
    SilentDialogs dialogs;
    EXPECT_EQ(std::tuple(AdaptiveBatchSize(0.95L), AdaptiveBatchSize(0.9973L)),
              std::tuple(10000, 37038));
    const auto run = [&](int digits, std::int64_t ceiling) {
        return RunAdaptive(m.PostfixExpression, m.Parameters, 0.95L, digits, ceiling, 5, Texts(),
                           dialogs);
    };
    const AdaptiveOutcome two = run(2, kDefaultAdaptiveCeiling),
                          three = run(3, kDefaultAdaptiveCeiling),
                          again = run(3, kDefaultAdaptiveCeiling), capped = run(4, 30000);
    EXPECT_EQ(std::tuple(two.Batches, three.CeilingReached, three.Trials),
              std::tuple(kAdaptiveMinimumBatches, false, three.Batches * 10000));
    EXPECT_LT(two.Trials, three.Trials);
    EXPECT_DOUBLE_EQ(double(three.Tolerance), 0.005);
    EXPECT_NEAR(double(three.StandardUncertainty), 2, 0.005);
    EXPECT_EQ(std::tie(again.Trials, again.Mean), std::tie(three.Trials, three.Mean));
    EXPECT_EQ(std::tuple(capped.CeilingReached, capped.Trials), std::tuple(true, 30000));
    const Ran mc(m, three.Trials, false, 5);
    EXPECT_NEAR(double(mc.Out.Last.Statistics.M1), double(three.Mean), 1e-12);
}

std::vector<double> Values(const Model& model, const CorrelationList& list, int n,
                           std::uint32_t seed) {
    UniformSeed = seed;
    SilentDialogs dialogs;
    CompiledModel compiled(model.PostfixExpression, model.Parameters, Texts(), dialogs,
                           std::nullopt, list);
    std::vector<double> values;
    while (static_cast<int>(values.size()) < n) {
        const std::size_t made =
            compiled.EvaluateBatch(std::min<std::size_t>(CompiledModel::kBatch, n - values.size()));
        for (std::size_t t = 0; t < made; ++t)
            if (!compiled.Failed(t)) values.push_back(compiled.Value(t));
    }
    return values;
}

// dP = X1^2 + X2^2, u = 0.005: exact mean, u, shortest 95 % interval and densities at its ends.
TEST(CorrelatedRun, ComparisonLossAgreesWithTheExactDistribution) {
    // clang-format off
    const struct { const char* X1; double R, Low, High, DensityLow, DensityHigh, GumU; } cases[] = {
        {"0", 0, 0, 1.497866e-4, 1.9997e4, 1.0000e3, 0},
        {"0", 0.9, 0, 1.850596e-4, 4.5838e4, 6.2783e2, 0},
        {"0.010", 0, 0, 3.660055e-4, 2.7077e3, 5.5392e2, 1.0e-4},
        {"0.010", 0.9, 1.265156e-5, 3.974788e-4, 3.9515e2, 3.9515e2, 1.0e-4},
        {"0.050", 0, 1.593570e-3, 3.548570e-3, 1.1719e2, 1.1719e2, 5.0e-4},
        {"0.050", 0.9, 1.624419e-3, 3.554682e-3, 1.1782e2, 1.1782e2, 5.0e-4}};
    // clang-format on
    const int n = 1000000;
    const double u = 0.005, spread = 6 * std::sqrt(0.05 * 0.95 / n);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.X1 << " " << c.R);
        const Model model = MakeModel("dP = X1^2 + X2^2", {{"X1", K::Normal, c.X1, "0.005"},
                                                           {"X2", K::Normal, "0", "0.005"}});
        const CorrelationList list{{"X1", "X2", c.R}};
        std::vector<double> values = Values(model, list, n, 9400);
        const Moments m = MomentsOf(values);
        const double x1 = std::stod(c.X1);
        const double exactU = std::sqrt(4 * x1 * x1 * u * u + 4 * std::pow(u, 4) * (1 + c.R * c.R));
        std::sort(values.begin(), values.end());
        const ValueInterval shortest = ShortestInterval(values.data(), n, 0.95L);
        // The GUM column: first order u_c = 2 x1 u whatever r; second order only without r.
        const GumResult gum = Gum(model, list);
        ExpectNear(
            {Near{m.Mean, x1 * x1 + 2 * u * u, 5 * exactU / std::sqrt(n)},
             Near{m.Sd(), exactU, 5 * exactU * std::sqrt(15.0 / (4 * n))},  // kurtosis < 16
             Near{shortest.Low, c.Low, spread / c.DensityLow},
             Near{shortest.High, c.High, spread / c.DensityHigh},
             Near{gum.CombinedUncertainty, c.GumU, 1e-9},
             Near{gum.SecondOrderUncertainty.value_or(-1),
                  c.R == 0 ? std::sqrt(4 * x1 * x1 * u * u + 4 * std::pow(u, 4)) : -1, 1e-9}});
        EXPECT_EQ(std::tuple(gum.Applicable, gum.SecondOrderAvailable, gum.Correlations.size()),
                  std::tuple(true, c.R == 0, c.R == 0 ? 0u : 1u));
    }
}

// Rectangular sum at r = 0.5: u = 1; Type A: no degrees; normal, r = -0.9: u = sqrt 0.2.
TEST(CorrelatedRun, SumsOfCorrelatedInputs) {
    const Model sum =
        MakeModel("y = a + b", {{"a", K::Rectangular, "0", "1"}, {"b", K::Rectangular, "0", "1"}});
    EXPECT_NEAR(MomentsOf(Values(sum, {{"a", "b", 0.5}}, 1000000, 31)).Sd(), 1,
                5 * std::sqrt(2.0 / 4e6));
    const GumResult gum = Gum(sum, {{"b", "a", 0.5}});
    EXPECT_TRUE(gum.DegreesAvailable);
    EXPECT_NEAR(static_cast<double>(gum.CombinedUncertainty), 1, 1e-12);
    const GumResult typeA = Gum(
        MakeModel("y = a + b",
                  {{"a", K::Experimental, "0", "1", "Normal", "4"}, {"b", K::Normal, "0", "1"}}),
        {{"a", "b", -0.3}});
    ASSERT_TRUE(typeA.Applicable && !typeA.DegreesAvailable);
    EXPECT_NEAR(static_cast<double>(typeA.CoverageFactor), 1.959963984540054, 1e-12);
    Model model = MakeModel("y = a + b", {{"a", K::Normal, "0", "1"}, {"b", K::Normal, "0", "1"}});
    const RunSettings settings{
        .ProgressView = false, .Seed = 5, .Threads = 2, .Correlations = {{"a", "b", -0.9}}};
    SimulationSession session;
    RunObserver quiet;
    ScriptedDialogs dialogs;
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
    model.Parameters[IndexOf(model, "a")].Distrib = int(K::Constante);
    const std::vector<Shown> refusal{
        {DialogKind::Error, "\"a\" is a constant and cannot be correlated."}};
    EXPECT_EQ(run().Run.Status, RunStatus::Aborted);
    EXPECT_EQ(dialogs.Log, refusal);
    model.Parameters[IndexOf(model, "a")].Valor = "2";
    const Ran r(model, 200000, true, 1, -1, 0, {{"a", "b", 0.5}});
    EXPECT_EQ(std::tuple(r.Out.Status, r.Session.SimulationRunning, r.Dialogs.Log),
              std::tuple(RunStatus::Aborted, false, refusal));
}

// Trapezoid on [-1, 3], top 0.4 of the base: sides 1.2 wide, height 1/2.8; mass within y of an end.
double TrapezoidRise(double y) {
    return y <= 1.2 ? y * y / (2 * 1.2 * 2.8) : 1.2 / 5.6 + (y - 1.2) / 2.8;
}

// Half-width 1 about 0, limits inexact by 0.3: flat within 0.7, then ln(1.3 / y) / 1.2.
double CurvilinearMass(double x) {  // from 0 to |x|
    const double y = std::min(std::fabs(x), 1.3);
    return y <= 0.7 ? y * std::log(1.3 / 0.7) / 1.2 : (y * std::log(1.3 / y) + y - 0.7) / 1.2;
}

// Draws (5 SE), quantiles, estimates against the exact laws; typed degrees; improper parameters.
TEST(TypeBKinds, DrawsQuantilesEstimatesAndFaults) {
    // clang-format off
    const struct { ModelParameter Record; double Mean, Variance; double (*F)(double); } cases[] = {
        {R(K::UShaped, "2", "0.5"), 2, 0.125,
         [](double x) { return 0.5 + std::asin(std::clamp((x - 2) / 0.5, -1.0, 1.0)) / kPi; }},
        {R(K::Trapezoidal, "1", "2", "0.4"), 1, 4 * 1.16 / 6, [](double x) {
             return x <= -1 ? 0 : x >= 3 ? 1 : x <= 1 ? TrapezoidRise(x + 1)
                                                      : 1 - TrapezoidRise(3 - x); }},
        {R(K::CurvilinearTrapezoid, "0", "1", "0.3"), 0, 1.0 / 3 + 0.09 / 9,
         [](double x) { return 0.5 + std::copysign(CurvilinearMass(x), x); }},
        {R(K::AsymmetricTriangular, "1", "0", "4"), 5.0 / 3, 13.0 / 18, [](double x) {  // mode 1
             return x <= 0 ? 0 : x >= 4 ? 1 : x <= 1 ? x * x / 4 : 1 - (4 - x) * (4 - x) / 12; }}};
    const ModelParameter improper[] = {R(K::Trapezoidal, "0", "1", "1.5"),
        R(K::Trapezoidal, "0", "1", "-0.1"), R(K::CurvilinearTrapezoid, "0", "1", "1"),
        R(K::CurvilinearTrapezoid, "0", "1", "-0.5"), R(K::AsymmetricTriangular, "5", "0", "4"),
        R(K::AsymmetricTriangular, "-1", "0", "4")};
    // clang-format on
    constexpr int n = 1000000;
    for (const auto& c : cases) {
        SCOPED_TRACE(DistributionPageName(c.Record.Distrib));
        PreparedSampler sampler(c.Record);
        UniformSeed = 20262026;
        std::vector<double> x(n);
        std::generate(x.begin(), x.end(), [&] { return static_cast<double>(sampler.Draw()); });
        const Moments m = MomentsOf(x);
        const auto estimate = EstimateInput(c.Record);
        ASSERT_TRUE(estimate);
        ExpectNear({Near{m.Mean, c.Mean, 5 * std::sqrt(c.Variance / n)},
                    Near{m.M2, c.Variance, 5 * std::sqrt(double(m.M4 - m.M2 * m.M2) / n)},
                    Near{estimate->Expectation, c.Mean, 1e-15},
                    Near{estimate->Uncertainty, std::sqrt(c.Variance), 1e-15}});
        std::sort(x.begin(), x.end());
        const Marginal marginal(c.Record);
        for (double p : {1e-4, 0.001, 0.02, 0.1, 0.3, 0.5, 0.7, 0.9, 0.98, 0.999}) {
            const double q = static_cast<double>(Quantile(marginal, p));
            const double below =
                static_cast<double>(std::upper_bound(x.begin(), x.end(), q) - x.begin()) / n;
            ExpectNear({Near{c.F(q), p, 1e-12 + 1e-8 * p},
                        Near{below, p, 5 * std::sqrt(p * (1 - p) / n) + 1.0 / n}});
        }
    }
    const auto drawAtFive = [](const ModelParameter& p) {
        UniformSeed = 5;
        return SampleParameter(p);
    };
    for (K kind : {K::Normal, K::Rectangular, K::Triangular, K::UShaped, K::Trapezoidal,
                   K::CurvilinearTrapezoid, K::AsymmetricTriangular}) {
        const std::string b = kind == K::AsymmetricTriangular ? "2" : "0.25";
        const ModelParameter typed = R(kind, "1", "0.5", b, "12.5"), exact = R(kind, "1", "0.5", b);
        SCOPED_TRACE(DistributionPageName(typed.Distrib));
        EXPECT_EQ(std::pair(EstimateInput(typed)->DegreesOfFreedom,
                            EstimateInput(exact)->DegreesOfFreedom),
                  std::pair(12.5, kInfiniteDegrees));
        EXPECT_EQ(drawAtFive(typed), drawAtFive(exact));
    }
    for (const ModelParameter& p : improper) {
        SCOPED_TRACE(p.Valor + " " + p.a + " " + p.b);
        EXPECT_THROW(SampleParameter(p), CalcError);
        EXPECT_THROW(Marginal{p}, CalcError);
    }
    EXPECT_EQ(SampleParameter(R(K::CurvilinearTrapezoid, "3", "0", "0")), 3);  // the midpoint
    EXPECT_EQ(SampleParameter(R(K::AsymmetricTriangular, "2", "2", "2")), 2);  // the mode
}

}  // namespace
}  // namespace corvanta
