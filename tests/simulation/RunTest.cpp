// The iterations, textual and compiled, the run with its observer, and the contributions.
#include "simulation/Run.h"

#include <bit>
#include <optional>
#include <sstream>
#include <tuple>

#include "ModelFixture.h"
#include "engine/Equations.h"
#include "engine/NumberText.h"
#include "simulation/BatchPipeline.h"
#include "simulation/Contributions.h"
#include "simulation/Iteration.h"
#include "simulation/RunArguments.h"

namespace corvanta {
namespace {

using namespace testing;

// One iteration: the bits of its value or its fault, and the uniform state after it.
struct Outcome {
    std::uint64_t Bits = 0;
    std::string Fault = "";
    std::uint32_t SeedAfter = 0;
    bool operator==(const Outcome&) const = default;
};

template <typename Step>
Outcome Capture(Step step, std::uint32_t seedAfter = 0) {
    Outcome o{.SeedAfter = seedAfter};
    try {
        o.Bits = std::bit_cast<std::uint64_t>(static_cast<double>(step()));
    } catch (const CalcError& e) {
        o.Fault = e.what();
    }
    return o;
}

template <typename Step>
std::vector<Outcome> Outcomes(std::uint32_t seed, int count, Step step) {
    std::vector<Outcome> outcomes(count);
    UniformSeed = seed;
    for (Outcome& o : outcomes)
        o = Capture(step), o.SeedAfter = UniformSeed;
    return outcomes;
}

Model SumOfNormals() {
    return MakeModel("y = a + b", {{"a", K::Normal, "0", "1"}, {"b", K::Normal, "0", "1"}});
}
Model Ratio() {
    return MakeModel(
        "y = a*b/k",
        {{"a", K::Normal, "3", "1"}, {"b", K::Rectangular, "2", "1"}, {"k", K::Poisson, "2"}});
}

// Single, batched and fixed-value iterations over every operator, function, kind and fault.
TEST(CompiledModel, GivesTheValuesDrawsAndFaultsOfTheTextualIteration) {
    // clang-format off
    std::vector<std::pair<std::string, std::vector<Input>>> cases = {
        {"y = a + b*c - d/e", {{"a", K::Normal, "10", "0.5"}, {"b", K::Rectangular, "2", "1"},
          {"c", K::Triangular, "5", "2"}, {"d", K::Constante, "3.3"}, {"e", K::Normal, "0", "1"}}},
        {"y = x^2 + x^0.5 - 2^x^2", {{"x", K::Normal, "0.5", "1"}}},
        {"y = x*x/(x - x)", {{"x", K::Normal, "1", "1"}}},
        {"y = 1/k + k^(-2)", {{"k", K::Poisson, "1.5"}}}, {"y = g + 1", {{"g", K::Gamma, "0.5"}}},
        {"y = g*2", {{"g", K::Gamma, "1"}}}, {"y = g - 3", {{"g", K::Gamma, "2.5"}}},
        {"y = ex*ex", {{"ex", K::Exponencial, ""}}}, {"y = be/3", {{"be", K::Beta, "2", "5"}}},
        {"y = t + t", {{"t", K::Student, "5", "1"}}}, {"y = t1 - 1", {{"t1", K::Student, "1", ""}}},
        {"y = n*0.1", {{"n", K::Binomial, "10", "0.3"}}},
        {"y = nb + 0.5", {{"nb", K::NegBinomial, "5", "0.4"}}},
        {"y = sin(vm)", {{"vm", K::VonMises, "2"}}}, {"y = ca*1.5", {{"ca", K::Cauchy, ""}}},
        {"y = w^3", {{"w", K::Weibull, "1.5"}}}, {"y = sqrt(chi)", {{"chi", K::XiCuadrado, "3"}}},
        {"y = ln(lg)", {{"lg", K::LogNormal, "2", "0.5"}}},
        {"y = xe + xs", {{"xe", K::Experimental, "10", "0.1", "Normal", "4"},
            {"xs", K::Experimental, "10", "0.1", "Student", "4"}}},
        {"y = pi*r^2 + PI", {{"r", K::Rectangular, "1", "0.01"}}},
        {"y = arcsec(z) + z", {{"z", K::Constante, "0"}}},
        {"y = x*x*x", {{"x", K::Constante, "1E200"}}},
        {"y = x + 1", {{"x", K::Normal, "abc", "1"}}},
        {"y = q + 1", {{"q", K::Rectangular, "0", "1E310"}}},
        {"y = 0.1234567890123456789*x + 0.00000000000000000001", {{"x", K::Normal, "1", "1E-10"}}},
        {"y = m\nm = a*b\n", {{"a", K::Normal, "3", "1"}, {"b", K::Triangular, "1", "0.5"}}}};
    // clang-format on
    // Every function of the library, on a quantity that also leaves its domain.
    std::istringstream names(
        "abs exp ln log sqr sqrt sin cos tan cot sec csc cosecant sinh cosh tanh coth sech csch "
        "arcsin arccos arctan arccot arcsec arccsc arcsinh arccosh arctanh arccoth arcsech arccsch "
        "degtorad radtodeg gradtorad radtograd cycletorad radtocycle degtograd degtocycle "
        "gradtodeg gradtocycle cycletodeg cycletograd mean variance ");
    for (std::string f; names >> f;)
        cases.push_back({"y = " + f + "(u*900) + u", {{"u", K::Rectangular, "0", "1.2"}}});
    ScriptedDialogs dialogs;
    std::vector<std::string> faults;
    for (const auto& [equations, inputs] : cases) {
        SCOPED_TRACE(equations);
        const auto [text, parameters] = MakeModel(equations, inputs);
        const auto textual = [&] { return GetIteration(text, parameters, Texts(), dialogs); };
        CompiledModel compiled(text, parameters, Texts(), dialogs);
        EXPECT_FALSE(compiled.UsesText());
        for (std::uint32_t seed : {1u, 4294967295u}) {
            const auto reference = Outcomes(seed, 200, textual);
            for (const Outcome& o : reference)
                faults.push_back(o.Fault);
            ASSERT_EQ(Outcomes(seed, 200, [&] { return compiled.Evaluate(); }), reference) << seed;
            std::vector<Outcome> batched;
            UniformSeed = seed;
            for (std::size_t size : {1u, 7u, 156u, 36u}) {
                ASSERT_EQ(compiled.EvaluateBatch(size), size);
                for (std::size_t t = 0; t < size; ++t)
                    batched.push_back(Capture(
                        [&] {
                            if (compiled.Failed(t)) std::rethrow_exception(compiled.Fault(t));
                            return compiled.Value(t);
                        },
                        compiled.SeedAfter(t)));
            }
            ASSERT_EQ(batched, reference) << "batched, seed " << seed;
        }
        for (std::size_t j = 0; j < parameters.size(); ++j) {
            CompiledModel varying(text, parameters, Texts(), dialogs, j);
            const auto par = [&] { return GetIterationPar(j, text, parameters, Texts(), dialogs); };
            ASSERT_EQ(Outcomes(99, 100, [&] { return varying.Evaluate(); }), Outcomes(99, 100, par))
                << "varying " << j;
            EXPECT_EQ(FindQuantity(parameters, parameters[j].Nombre, Texts(), dialogs), j);
        }
    }
    EXPECT_TRUE(dialogs.Log.empty());
    // The cases must really meet each fault, or the comparison proves less.
    for (const char* expected :
         {kInvalidOperationText, kDivisionByZeroText, kOverflowText,
          "'INF' is not a valid floating point value", "'abc' is not a valid floating point value"})
        EXPECT_NE(std::find(faults.begin(), faults.end(), expected), faults.end()) << expected;
    // Irregular text, e.g. two values left on the stack: the message and a result of 0, both ways.
    const ParameterList single = MakeModel("y = a", {{"a", K::Normal, "1", "1"}}).Parameters;
    for (const char* text : {"a\r\na\r\n", "a\r\n+\r\n", "", "a\r\n1\r\n+][-\r\n"}) {
        ScriptedDialogs textual, fast;
        CompiledModel compiled(text, single, Texts(), fast);
        EXPECT_TRUE(compiled.UsesText()) << text;
        const auto reference =
            Outcomes(8, 5, [&] { return GetIteration(text, single, Texts(), textual); });
        EXPECT_EQ(Outcomes(8, 5, [&] { return compiled.Evaluate(); }), reference) << text;
        EXPECT_EQ(fast.Log, textual.Log);
    }
}

// Always the next batch but no further than needed; a model through text on the calling thread.
TEST(BatchPipeline, DrawsNoFurtherThanNeededAndTextOnTheCallingThreadOnly) {
    Model m = Ratio();
    ScriptedDialogs dialogs;
    CompiledModel compiled(m.PostfixExpression, m.Parameters, Texts(), dialogs),
        textual("a\r\na\r\n", m.Parameters, Texts(), dialogs);
    BatchPipeline pipeline(compiled, 2);
    UniformSeed = 3;
    const CompiledModel::Batch& batch = pipeline.Next(5);
    EXPECT_EQ(std::make_pair(batch.Count, UniformSeed), std::make_pair(5ul, batch.SeedAfter[4]));
    EXPECT_EQ(std::make_pair(pipeline.Threads(), BatchPipeline(textual, 2).Threads()),
              std::make_pair(2, 1));
}

TEST(FixedValue, OfEveryKind) {
    // clang-format off
    const std::pair<ModelParameter, long double> cases[] = {
        {R(K::Normal, "2.5", "1"), 2.5L}, {R(K::Rectangular, "-3", "1"), -3},
        {R(K::Gamma, "2.5"), 1.5L}, {R(K::Triangular, "5", "2"), 5}, {R(K::Constante, "7"), 7},
        {R(K::Exponencial, ""), 0.2L}, {R(K::Beta, "2", "5"), 0.5L}, {R(K::Student, "5", ""), 0},
        {R(K::Student, "5", "1.25"), 1.25L}, {R(K::Poisson, "3.5"), 3.5L},
        {R(K::Binomial, "10", "0.3"), 10}, {R(K::NegBinomial, "5", "0.4"), 5},
        {R(K::VonMises, "2"), 0}, {R(K::Cauchy, ""), 0}, {R(K::Weibull, "1.5"), 1},
        {R(K::XiCuadrado, "3"), 3}, {R(K::LogNormal, "2", "0.5"), 2},
        {R(K::Experimental, "9.5", "0.1", "Normal", "4"), 9.5L}};
    // clang-format on
    for (const auto& [record, fixed] : cases)
        EXPECT_EQ(FixedValue(record), fixed) << record.Distrib << " " << record.Valor;
    EXPECT_THROW(FixedValue(ModelParameter{}), CalcError);
}

// Digits only, at most twenty of them (leading zeros too), within the limit.
TEST(ParseCount, DigitsWithinTheLimit) {
    const std::pair<const char*, std::optional<std::uint64_t>> cases[] = {
        {"0", 0},   {"", {}},   {"4294967295", 4294967295u}, {"4294967296", {}},
        {"+1", {}}, {"1 ", {}}, {"00000000000000000001", 1}, {"000000000000000000001", {}}};
    for (const auto& [text, count] : cases)
        EXPECT_EQ(ParseCount(text, 4294967295u), count) << text;
}

TEST(RunSimulation, ProgressViewOnAndOffAndAStopAtAnUpdate) {
    Model m = SumOfNormals(), stopped = m;
    const Ran on(m, 100000, true, 1), off(m, 100000, false, 1);
    ASSERT_EQ(std::tie(on.Out.Status, off.Out.Status),
              std::make_tuple(RunStatus::Completed, RunStatus::Completed));
    std::vector<std::int64_t> expected;  // the schedule itself is checked in StatisticsTest
    for (std::int64_t i = 0; i < 100000; ++i)
        if (IsProgressIndex(i, 100000)) expected.push_back(i + 1);
    // No marks at the first update; the iteration shown at i = 0, 111, …, 99900.
    EXPECT_EQ(std::tie(on.Observer.Updates, on.Observer.Iterations[1]),
              std::make_tuple(expected, 112L));
    EXPECT_EQ(std::make_tuple(on.Observer.Marks.front(), on.Observer.Marks.back(),
                              on.Observer.Iterations.size()),
              std::make_tuple(false, true, 901ul));
    // Off: 25 bar steps and one update at the end, over every value.
    std::vector<int> widths(25);
    std::generate(widths.begin(), widths.end(), [w = 0]() mutable { return w += 16; });
    EXPECT_EQ(std::tie(off.Observer.BarWidths, off.Observer.Updates),
              std::make_tuple(widths, std::vector<std::int64_t>{100000}));
    EXPECT_TRUE(on.Observer.BarWidths.empty() && off.Observer.Iterations.empty());
    for (const Ran* r : {&on, &off}) {
        EXPECT_EQ(r->Observer.ResultsShown,
                  std::vector<std::string>(r->Out.Grid.begin(), r->Out.Grid.end()));
        EXPECT_TRUE(r->Session.StopRequested && !r->Session.SimulationRunning &&
                    r->Dialogs.Log.empty());
    }
    const auto texts = [](const RunOutcome& o) {
        return std::tie(o.Grid, o.IntervalText, o.ClassicText, o.NormalityText);
    };
    EXPECT_EQ(texts(on.Out), texts(off.Out));
    // Stopped at the third update (index 200): Jarque-Bera of 201 values, contributions still.
    const Ran r(stopped, 100000, true, 9, 3);
    const RunOutcome& out = r.Out;
    ASSERT_EQ(out.Status, RunStatus::Interrupted);
    EXPECT_EQ(std::tie(out.Computed, out.Last.Statistics.n), std::make_tuple(201, 201));
    EXPECT_EQ(std::tie(out.IntervalText, out.ClassicText, out.Grid[0], out.Grid[4], out.Grid[5],
                       out.Grid[8]),
              std::make_tuple("Confidence interval (p = 95%): Indeterminado (simul. interrumpida)",
                              "GUM format = Indetermined", "100000", "Indetermined", "Indetermined",
                              "Indetermined"));
    EXPECT_NE(out.Grid[1], "Indetermined");
    EXPECT_EQ(out.JarqueBera,
              JarqueBera(201, out.Last.Statistics.Skewness, out.Last.Statistics.Kurtosis));
    EXPECT_TRUE(r.Session.StopRequested && stopped.Parameters[1].Sensib > 0 &&
                r.Session.Contributions.size() == 3);
}

TEST(RunSimulation, RefusedWhileRunningOrNotReadyOrWhenTheObserverThrowsOrATokenIsUnknown) {
    Model m = SumOfNormals();
    ScriptedDialogs dialogs;
    SimulationSession running, painted;
    running.SimulationRunning = true;
    const auto run = [&](SimulationSession& session, RunObserver& to) {
        return RunSimulation(m.PostfixExpression, m.Parameters, {}, Texts(), dialogs, session, to);
    };
    class Throwing : public RunObserver {
        void ProgressUpdated(const RunProgress&) override { throw std::runtime_error("paint"); }
    } throwing;
    EXPECT_EQ(run(running, throwing).Status, RunStatus::Ignored);
    EXPECT_TRUE(dialogs.Log.empty());
    EXPECT_THROW(run(painted, throwing), std::runtime_error);
    EXPECT_FALSE(painted.SimulationRunning);
    // A token that names no quantity aborts without losing anything.
    Model renamed = m;
    renamed.Parameters[1].Nombre = "A";  // the model text names a
    const ParameterList before = renamed.Parameters;
    const Ran unknown(renamed, 100000, false, 1);
    EXPECT_EQ(std::tie(unknown.Out.Status, renamed.Parameters),
              std::make_tuple(RunStatus::Aborted, before));
    EXPECT_EQ(unknown.Dialogs.Texts(), std::vector<std::string>{"Incompatible parameter: a"});
    m.Parameters[2].Init = false;
    m.Parameters[2].Distrib = 0;
    const Ran r(m, 100000, false, 1);
    EXPECT_EQ(std::tie(r.Out.Status, r.Out.FirstUninitialised),
              std::make_tuple(RunStatus::NotReady, 2u));
    EXPECT_EQ(r.Dialogs.Texts(), std::vector<std::string>{"Cannot run the simulation. Incomplete "
                                                          "initialization of parameters"});
    EXPECT_FALSE(r.Session.SimulationRunning || unknown.Session.SimulationRunning);
}

// Constant inputs: texts undetermined, no unit, widths 0; adaptive: tolerance, spreads 0 at once.
TEST(RunSimulation, AllOutputsEqual) {
    Model m = MakeModel("y = a*b", {{"a", K::Constante, "2.5"}, {"b", K::Constante, "4"}});
    m.Parameters[0].Unidad = "g";
    const Ran r(m, 100000, true, 1);
    ASSERT_EQ(r.Out.Status, RunStatus::Completed);
    EXPECT_TRUE(r.Dialogs.Log.empty());
    EXPECT_EQ(r.Out.Grid, (std::array<std::string, kResultRows>{
                              "100000", "10", "0.000000e0", "0.00000e0", "Indetermined",
                              "Indetermined", "10", "10", "Indetermined", "0.00000e0"}));
    EXPECT_EQ(
        std::tie(r.Out.ResultText, r.Out.NormalityText, r.Out.IntervalText, r.Out.ClassicText),
        std::make_tuple("10", "Normality test (Jarque - Bera)  =  Indetermined",
                        "Confidence interval (p = 95%)  =  Indetermined",
                        "GUM format = Indetermined"));
    EXPECT_EQ(r.Session.Contributions, std::vector<ContributionRow>(3, {"0.000", "0"}));
    ScriptedDialogs dialogs;
    const AdaptiveOutcome a =
        RunAdaptive(m.PostfixExpression, m.Parameters, 0.95L, 2, 110000, 1, Texts(), dialogs);
    EXPECT_EQ(std::tie(a.Batches, a.CeilingReached, a.Tolerance),
              std::make_tuple(kAdaptiveMinimumBatches, false, 0.0L));
}

// Models failing now and then, always or never: the same faults and messages on any threads.
TEST(RunSimulation, FailedDrawsAreTheSameOnEveryThreadCount) {
    const Model models[] = {
        MakeModel("y = ln(x)", {{"x", K::Normal, "1", "1"}}), Ratio(),
        MakeModel("y = 1/(a - a)", {{"a", K::Normal, "1", "1"}}),
        MakeModel("y = a + b", {{"a", K::Normal, "0", "1"}, {"b", K::Poisson, "1"}})};
    constexpr std::int64_t n = 20011;
    for (std::size_t c = 0; c < std::size(models); ++c) {
        SCOPED_TRACE(c);
        Model one = models[c], two = models[c];
        const Ran r1(one, n, c == 1, 5, -1, 1), r2(two, n, c == 1, 5, -1, 2);
        const auto results = [](const Ran& r) {
            return std::tie(r.Out.Status, r.Out.Computed, r.Out.FailedDraws, r.Out.Grid,
                            r.Out.IntervalText, r.Out.Last.Histogram.Counts, r.Dialogs.Log,
                            r.Observer.Updates, r.SeedAfter);
        };
        EXPECT_EQ(results(r2), results(r1));
        EXPECT_EQ(two.Parameters, one.Parameters);  // the contributions
        EXPECT_EQ(r1.Out.FailedDraws > 0, c < 3);
        EXPECT_TRUE(r1.Session.StopRequested && !r1.Session.SimulationRunning);
        if (c == 0) {
            // x < 0 in 15.87 %: n p / (1 - p) failures within 5 sqrt; contributions do not redraw.
            EXPECT_EQ(std::tie(r1.Out.Status, r1.Out.Computed, r1.Out.Last.Statistics.n),
                      std::make_tuple(RunStatus::Completed, n, n));
            const double p = 0.158655, expectedFailures = n * p / (1 - p);
            EXPECT_NEAR(r1.Out.FailedDraws, expectedFailures, 5 * std::sqrt(expectedFailures));
            EXPECT_EQ(r1.Dialogs.Log,
                      (std::vector<Shown>{{DialogKind::Error, kInvalidOperationText}}));
        } else if (c == 1) {  // the text's values and redraws, the state left for the contributions
            ParameterList reference = models[c].Parameters;
            ScriptedDialogs dialogs;
            UniformSeed = 5;
            std::vector<double> values;
            std::int64_t failed = 0;  // k = 0: division by zero
            while (static_cast<std::int64_t>(values.size()) < n) {
                const Outcome o = Capture([&] {
                    return GetIteration(one.PostfixExpression, reference, Texts(), dialogs);
                });
                if (o.Fault.empty()) values.push_back(std::bit_cast<double>(o.Bits));
                failed += !o.Fault.empty();
            }
            std::vector<ContributionRow> rows;
            const Outcome contributions = Capture([&] {
                ComputeContributions(one.PostfixExpression, reference, Texts(), dialogs, rows);
                return 0.0;
            });
            const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
            const ProgressUpdate expected = UpdateRunStatistics(values.data(), n, *lo, *hi, 0);
            const auto moments = [](const SimulationResult& s) {
                return std::tie(s.M1, s.M2, s.M4);
            };
            EXPECT_EQ(moments(r1.Out.Last.Statistics), moments(expected.Statistics));
            EXPECT_EQ(std::tie(r1.Out.Status, r1.Out.FailedDraws, r1.Out.Last.Histogram.Counts,
                               r1.Session.OutputMax, one.Parameters),
                      std::make_tuple(RunStatus::Completed, failed, expected.Histogram.Counts, *hi,
                                      reference));
            EXPECT_TRUE(failed > 0 && r1.Out.ContributionsComputed == contributions.Fault.empty());
        } else if (c == 2) {
            EXPECT_EQ(
                std::tie(r1.Out.Status, r1.Out.FailedDraws, r1.Out.Computed, r1.Out.Grid[1],
                         r1.Out.IntervalText),
                std::make_tuple(RunStatus::Aborted, kConsecutiveFailureLimit, 0, "Indetermined",
                                "Confidence interval (p = 95%)  =  Indetermined"));
            EXPECT_EQ(r1.Dialogs.Log,
                      (std::vector<Shown>{{DialogKind::Error,
                                           "The simulation was stopped: the model failed on 100000 "
                                           "draws in a row (Floating point division by zero)."}}));
        }
    }
}

TEST(ComputeContributions, WidthsSharesAndFaultsOfTheInputsOnlyAndOfARealModel) {
    const std::pair<double, const char*> texts[] = {
        {0.05, "5.000e-2"}, {2000, "2.000e3"},  {12.3456, "12.346"}, {0, "0.000"},
        {0.1, "0.100"},     {1000, "1000.000"}, {1000.5, "1.001e3"}, {0.09999, "9.999e-2"}};
    for (const auto& [width, text] : texts)
        EXPECT_EQ(ContributionWidthText(width), text) << width;
    // y, a, m, b: the output, an input, an intermediate and an input, widths not yet computed.
    const auto quantities = [] {
        ParameterList list = {Record(K::Resultado, ""), Record(K::Normal, ""),
                              Record(K::Intermedio, ""), Record(K::Rectangular, "")};
        for (std::size_t i = 0; i < 4; ++i)
            list[i].Nombre = std::string(1, "yamb"[i]), list[i].Sensib = 99;
        return list;
    };
    // Input a spreads its draws over 0 … 999, input b over 0 … 2997: ranks 25 and 975.
    ParameterList list = quantities();
    std::vector<ContributionRow> rows;
    int calls = 0;
    std::vector<int> counter(4, 0);
    const auto spread = [&](std::size_t j) {
        return ++calls, (j == 1 ? 1.0 : 3.0) * ((counter[j]++ * 7919) % 1000);
    };
    ComputeContributions(list, spread, rows);
    EXPECT_EQ(
        std::make_tuple(calls, list[0].Sensib, list[1].Sensib, list[2].Sensib, list[3].Sensib),
        std::make_tuple(2000, 0.0, 950.0, 0.0, 2850.0));
    EXPECT_EQ(rows, (std::vector<ContributionRow>{
                        {"0.000", "0"}, {"950.000", "25"}, {"0.000", "0"}, {"2.850e3", "75"}}));
    // A fault stops at its quantity and keeps the rows.
    list = quantities();
    rows.assign(4, ContributionRow{"old", "old"});
    const auto failing = [](std::size_t j) {
        return j == 3 ? ThrowDivisionByZero(), 0.0 : 1.0 * j;
    };
    EXPECT_THROW(ComputeContributions(list, failing, rows), CalcError);
    EXPECT_EQ(std::make_tuple(list[0].Sensib, list[1].Sensib, list[3].Sensib),
              std::make_tuple(0.0, 0.0, 99.0));  // b not reached
    EXPECT_EQ(rows, std::vector<ContributionRow>(4, ContributionRow{"old", "old"}));
    // Rectangular of half-width 1, normal of deviation 1, constant: 95 % widths 1.9, 3.92 and 0.
    Model m = MakeModel(
        "y = a + b + c",
        {{"a", K::Rectangular, "0", "1"}, {"b", K::Normal, "0", "1"}, {"c", K::Constante, "4"}});
    ScriptedDialogs dialogs;
    UniformSeed = 2026;
    ComputeContributions(m.PostfixExpression, m.Parameters, Texts(), dialogs, rows);
    const std::size_t a = IndexOf(m, "a"), b = IndexOf(m, "b"), c = IndexOf(m, "c");
    EXPECT_EQ(std::tie(m.Parameters[c].Sensib, rows[c]),
              std::make_tuple(0.0, ContributionRow{"0.000", "0"}));
    // Five standard errors of a width from 1000 draws: the quantiles' error over the density.
    const double error = std::sqrt(2 * 0.025 * 0.975 / 1000);
    ExpectNear({Near{m.Parameters[a].Sensib, 1.9, 5 * error / 0.5},
                Near{m.Parameters[b].Sensib, 3.92, 5 * error / 0.05845}});
    EXPECT_TRUE(dialogs.Log.empty());
}

}  // namespace
}  // namespace corvanta
