// The printed report, the GUM page, the values export, and the shipped samples: saved again they
// give their bytes back, their experimental quantities hold what Apply computes, and they run
// alike on any thread count.
#include "document/ResultsReport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "ModelFixtures.h"
#include "distributions/Readings.h"
#include "distributions/Sampling.h"
#include "document/GumSections.h"
#include "simulation/Run.h"

namespace corvanta {
namespace {

using namespace corvanta::testing;
using Strings = std::vector<std::string>;

template <class... T>
Strings Texts(const T&... texts) {
    return {std::string(texts)...};
}

// Each line as its style marks ("*" bold, "/" italic, "[step]" size) before its text.
Strings Marked(const std::vector<ReportLine>& report) {
    Strings lines;
    for (const ReportLine& line : report)
        lines.push_back(std::string(line.Bold ? "*" : "") + (line.Italic ? "/" : "") +
                        (line.SizeStep ? "[" + std::to_string(line.SizeStep) + "]" : "") +
                        line.Text);
    return lines;
}

ReportTexts EnglishTexts() {
    ReportTexts t;
    SetReportLabels(CaptionTable::BuiltIn(), t);
    t.Title = t.TitlePlaceholder = "Type the title of simulation project";
    t.Description = t.DescriptionPlaceholder = "Enter project description and notes here";
    t.SimulationChoices = {"Normal", "t (Student)"};
    t.ModeChoices = {"Direct", "Indirect SX", "Indirect SXXS", "Indirect X/S", "Indirect SXS"};
    return t;
}

TEST(ResultsReport, NamesEveryDistributionWithItsValueLabels) {
    ReportTexts t = EnglishTexts();
    const Strings expected =
        Texts("||", "Normal (Gaussian)|Mean|Standard Deviation",
              "Rectangular (Uniform)|Mean|half-width of the interval",
              "Triangular|Mean|half-width of the interval", "Constant|Value|", "Gamma|Form|",
              "Exponential||", "Beta|a|b", "Student t|Degrees of freedom|Mean (optional)",
              "Poisson|Mean (lambda)|", "Binomial|n|p", "NegBinomial|n|p", "VonMisses|k|",
              "Cauchy||", "Weibull|Form (k)|", "XiCuadrado|Degrees of freedom|",
              "LogNormal|Mean|Standard Deviation", "Experimental (Normal) - Direct||",
              "Interim Result|Value|", "Result|Value|", "U-shaped (arcsine)|Midpoint|Half-width|",
              "Trapezoidal|Midpoint|Half-width|Top to base ratio (beta)",
              "Curvilinear trapezoid|Midpoint|Half-width|Inexactness of the limits (d)",
              "Triangular (asymmetric)|Mode|Lower limit|Upper limit", "||");
    for (std::size_t kind = 0; kind < expected.size(); ++kind) {
        ReportDistribution d = DescribeDistribution(static_cast<std::int32_t>(kind), t);
        EXPECT_EQ(d.Name + "|" + d.FirstLabel + "|" + d.SecondLabel +
                      (kind >= 20 && kind <= 23 ? "|" + d.ThirdLabel : ""),
                  expected[kind]);
    }
    t.SelectedSimulation = 1;
    t.SelectedMode = 4;
    EXPECT_EQ(DescribeDistribution(17, t).Name, "Experimental (t (Student)) - Indirect SXS");
    t.SelectedMode = -1;
    EXPECT_EQ(DescribeDistribution(17, t).Name, "Experimental (t (Student))");
}

TEST(ResultsReport, ComposesTheWholeReportWithItsStyles) {
    ReportTexts t = EnglishTexts();
    t.Title = "Calibraci\xF3n de masa";
    t.Description = "line one\r\nline two";
    t.ModelText = "y = a + c\r\n";
    t.UnitCells = {"kg", "", "\xB5g"};
    t.DescriptionCells = {"output", "", "drift"};
    t.SelectedMode = 1;
    t.ResultRows = {{"Mean", "10.2"}};
    t.Label12 = "Normality test (Jarque - Bera)  =  0.5   (fit)";
    t.Label56 = "Result =";
    t.ResultadoRes = "10.2";
    t.Label60 = "Confidence interval (p = 95%): [ 9.9 , 10.5 ]";
    t.Label28 = "GUM format: 10.2 \xB1 0.3 kg";
    const ParameterList q = {Q("y|19|stale"), Q("a|7|2|3"), Q("c|17|1|0|Normal|0|SX\r\n1\r2\r\n")};
    const Strings lines = Marked(ComposeReport(t, q));
    EXPECT_EQ(
        lines,
        Texts("[1]CALIBRACI\xF3N DE MASA",
              "/[-1]Monte Carlo Simulation Powered by Corvanta \"Torvo\"", "*",
              "*TECHNICAL DESCRIPTION", "line one", "line two", "*", "*EQUATIONS GROUP",
              "y = a + c", "*", "* PARAMETER", "*", "*>> y", "* Units: kg", "* Description: output",
              "*Distribution of simulation: Result", "*Value = 10.2", "*", "*>> a",
              "* Units: ", "* Description: ", "*Distribution of simulation: Beta", "*a = 2",
              "*b = 3", "*", "*>> c", "* Units: \xB5g", "* Description: drift",
              "*Distribution of simulation: Experimental (Normal) - Indirect SX", "*SX", "*1", "*2",
              "*", "*", "*RESULTS", "*", "Mean = 10.2",
              "Normality test (Jarque - Bera)  =  0.5   (fit)", "Result = 10.2",
              "Confidence interval (p = 95%): [ 9.9 , 10.5 ]", "",
              "*GUM format: 10.2 \xB1 0.3 kg"));
    // At the placeholders: "UNNAMED PROJECT" and no description section.
    const Strings start = Marked(ComposeReport(EnglishTexts(), {}));
    EXPECT_EQ(Strings(start.begin(), start.begin() + std::min<std::size_t>(start.size(), 4)),
              Texts("[1]UNNAMED PROJECT",
                    "/[-1]Monte Carlo Simulation Powered by Corvanta "
                    "\"Torvo\"",
                    "*", "*EQUATIONS GROUP"));
    // Readings print only under a distribution name holding a real page title.
    t.TabSheet22 = "";
    EXPECT_EQ(ComposeReport(t, q).size(), lines.size() - 3);
}

// The third value and the degrees of freedom of a Type B input; then the nonzero correlations.
TEST(ResultsReport, ThirdValueDegreesOfFreedomAndCorrelations) {
    Strings lines = Marked(ComposeReport(EnglishTexts(), {Q("t|21|1|2|0.4|12"), Q("n|1|5|0.1")}));
    const auto from = std::find(lines.begin(), lines.end(), "*>> t");
    ASSERT_GE(lines.end() - from, 16);
    EXPECT_EQ(
        Strings(from + 3, from + 16),
        Texts("*Distribution of simulation: Trapezoidal", "*Midpoint = 1", "*Half-width = 2",
              "*Top to base ratio (beta) = 0.4", "*Degrees of freedom = 12", "*", "*>> n",
              "* Units: ", "* Description: ", "*Distribution of simulation: Normal (Gaussian)",
              "*Mean = 5", "*Standard Deviation = 0.1", "*"));
    const ParameterList x = {Q("x1||||||||||F")};
    lines = Marked(ComposeReport(ReportTexts{}, x, {{"x1", "x2", 0}, {"x2", "x1", -0.25}}));
    const auto heading = std::find(lines.begin(), lines.end(), "*Correlations");
    ASSERT_GE(lines.end() - heading, 3);
    EXPECT_GT(heading, std::find(lines.begin(), lines.end(), "*>> x1"));
    EXPECT_EQ(Strings(heading + 1, heading + 3), Texts("r(x2, x1) = -0.25", ""));
    lines = Marked(ComposeReport(ReportTexts{}, x, {{"x1", "x2", 0}}));
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "*Correlations"), lines.end());
}

// Every figure of the page with its digits, or why it is missing.
TEST(GumPage, FiguresWithTheirDigitsUndeterminedNotApplicableAndNotAvailable) {
    const MessageTexts& texts = BuiltInTexts();
    const GumPageTexts before = FormatGumPage(std::nullopt, std::nullopt, 2, 2, "", texts);
    EXPECT_EQ(
        Texts(before.Combined, before.Verdict),
        Texts("Combined standard uncertainty u_c = " + texts.Indetermined, texts.Indetermined));
    GumResult gum;
    gum.Reason = "x has no variance";
    const GumPageTexts refused = FormatGumPage(gum, std::nullopt, 2, 2, "", texts);
    EXPECT_EQ(Texts(refused.Combined, refused.Verdict),
              Texts("Combined standard uncertainty u_c = not applicable",
                    "not applicable: x has no variance"));
    gum.Applicable = true;
    gum.Estimate = 100.01234567L;
    gum.CombinedUncertainty = 0.053851648L;
    gum.SecondOrderUncertainty = 0.0749666L;
    gum.CoverageFactor = 1.959964L;
    gum.ExpandedUncertainty = 0.10554727L;
    gum.Low = 99.906798L;
    gum.High = 100.1178923L;
    gum.Budget = {{"mRc", 100000.0123L, 0.05L, 1, 0.05L, 86.24L, kInfiniteDegrees},
                  {"d", 1.2345678L, 0.02L, -1, 0.02L, 13.76L, 12}};
    const GumPageTexts page =
        FormatGumPage(gum, Validation{2, 0.0005L, 0.00012L, 0.00071L, false}, 2, 2, " mg", texts);
    Strings shown = {page.Estimate, page.Combined, page.SecondOrder, page.Degrees, page.Factor,
                     page.Expanded, page.Interval, page.Differences, page.Verdict};
    for (const auto& row : page.Rows)
        shown.insert(shown.end(), row.begin(), row.end());
    // clang-format off
    EXPECT_EQ(shown, Texts("Estimate y = 100.0123 mg", "Combined standard uncertainty u_c = 0.05385",
        "With second-order terms u_c = 0.07497", "Effective degrees of freedom = infinite",
        "Coverage factor k = 1.96", "Expanded uncertainty U = 0.1055",
        "GUM interval (p = 95%): [ 99.9068 , 100.1179 ]",
        "tolerance = 0.0005, d_low = 0.00012, d_high = 0.00071",
        "not validated: the GUM interval differs from the Monte Carlo interval by more than the tolerance",
        "mRc", "100000", "0.05", "1", "0.05", "86.2", "infinite", "d", "1.23457", "0.02", "-1", "0.02", "13.8", "12"));
    // clang-format on
    gum.EffectiveDegreesOfFreedom = 12;
    const std::string second = "With second-order terms u_c = ",
                      degrees = "Effective degrees of freedom = ",
                      correlated = "not available: correlated inputs";
    const std::string validated =
        "validated: the GUM interval agrees with the Monte Carlo interval within the tolerance";
    for (const bool available : {true, false}) {
        gum.SecondOrderAvailable = gum.DegreesAvailable = available;
        const GumPageTexts p =
            FormatGumPage(gum, Validation{2, 0, 0, 0, available}, 2, 2, "", texts);
        EXPECT_EQ(Texts(p.SecondOrder, p.Degrees, p.Verdict.substr(0, available ? 999 : 13)),
                  Texts(second + (available ? "0.07497" : correlated),
                        degrees + (available ? "12" : correlated),
                        available ? validated : "not validated"));
    }
    gum.DegreesAvailable = true;
    EXPECT_EQ(FormatGumPage(gum, std::nullopt, 2, 2, "", texts).Degrees, degrees + "12");
    // The values export: one a line, with the point.
    EXPECT_EQ(ValuesText({0.1, 1.5e-5, -2, 123456.789}), "0.1\r\n1.5E-5\r\n-2\r\n123456.789\r\n");
    EXPECT_EQ(ValuesText({}), "");
}

// The GUM's example H.1 with its arcsine input and the degrees of freedom of its Type B inputs:
// u_c = 32 nm, 34 nm with the second-order terms, nu_eff = 16 and U99 = 2.92 x 32 nm = 92 nm.
TEST(GumPage, EndGaugeGivesTheGumFigures) {
    ScriptedDialogs dialogs;
    const std::string file = CORVANTA_SOURCE_DIR "/samples/gum-h1-end-gauge.cvm";
    auto opened = Open(ReadModelFile(file, dialogs).value_or(""), dialogs, file);
    ASSERT_TRUE(opened);
    const RunSettings settings{
        .Iterations = 200000, .ProgressView = false, .CoverageIndex = 4, .Seed = 12345};
    SimulationSession session;
    RunObserver quiet;
    const ChosenRunOutcome outcome =
        RunWithChoices(opened->PostfixExpression, opened->Document.Parameters, settings, {},
                       kWindowAdaptiveCeiling, true, BuiltInTexts(), dialogs, session, quiet);
    ASSERT_EQ(outcome.Run.Status, RunStatus::Completed);
    const GumPageTexts page = FormatGumPage(outcome.Gum, outcome.Checked, 4, 2, "", BuiltInTexts());
    EXPECT_EQ(Texts(page.Combined, page.SecondOrder, page.Degrees, page.Factor, page.Expanded),
              Texts("Combined standard uncertainty u_c = 31.66",
                    "With second-order terms u_c = 33.81", "Effective degrees of freedom = 16",
                    "Coverage factor k = 2.921", "Expanded uncertainty U = 92.48"));
    // The Monte Carlo standard deviation is the second-order figure (the model is bilinear in
    // independent inputs): within five standard errors of a deviation of 200000 values.
    const SimulationResult& run = outcome.Run.Last.Statistics;
    const double sd = static_cast<double>(run.StandardDeviation);
    EXPECT_NEAR(sd, 33.807, 5 * sd * std::sqrt((static_cast<double>(run.Kurtosis) - 1) / 800000));
}

class ShippedSample : public ::testing::TestWithParam<std::string> {
  protected:
    const std::string path = std::string(CORVANTA_SOURCE_DIR "/samples/") + GetParam();
};

TEST_P(ShippedSample, IsWhatTheProgramWrites) {
    ScriptedDialogs dialogs;
    const auto text = ReadModelFile(path, dialogs);
    const auto opened = Open(text.value_or(""), dialogs, path);
    ASSERT_TRUE(opened);
    EXPECT_EQ(ComposeModelText(opened->Document), *text);
    int experimental = 0;
    for (const ModelParameter& record : opened->Document.Parameters) {
        if (record.Kind() != DistributionKind::Experimental) continue;
        ++experimental;
        const auto mode = ReadingModeFromKeyword(ParseReadings(record.Lecturas).Keyword);
        ASSERT_TRUE(mode) << record.Nombre;
        const ExperimentalEntry entry{
            .Mode = *mode, .Table = record.Lecturas, .Student = record.b == "Student"};
        const auto applied = ApplyExperimental(entry, record, BuiltInTexts(), dialogs);
        ASSERT_TRUE(applied) << record.Nombre;
        EXPECT_EQ(std::tie(applied->Valor, applied->a, applied->b, applied->Grados),
                  std::tie(record.Valor, record.a, record.b, record.Grados))
            << record.Nombre;
    }
    EXPECT_TRUE(dialogs.Log.empty());
    EXPECT_TRUE(GetParam() != "roundtrip-all-kinds.cvm" || experimental == 5);
}

// Every value, result and contribution of a run, and the state it leaves.
struct RunRecord {
    std::vector<double> Values, Widths;
    RunOutcome Outcome;
    std::uint32_t SeedAfter = 0;
};

RunRecord RunOnThreads(const std::string& path, int threads, int stopAt) {
    struct Keeper : RunObserver {
        RunRecord& Record;
        SimulationSession& Session;
        int StopAt, Updates = 0;
        Keeper(RunRecord& r, SimulationSession& s, int stop)
            : Record(r), Session(s), StopAt(stop) {}
        void ProgressUpdated(const RunProgress&) override {
            if (++Updates == StopAt) Session.StopRequested = true;
        }
        void ValuesComputed(double* values, std::int64_t count) override {
            Record.Values.assign(values, values + count);
        }
    };
    ScriptedDialogs dialogs;
    auto opened = Open(ReadModelFile(path, dialogs).value_or(""), dialogs, path);
    // A sample may leave a quantity to the user: it is held at 1 here.
    for (ModelParameter& p : opened->Document.Parameters)
        if (!p.Init) p = Q(p.Nombre + "|4|1");
    RunRecord record;
    SimulationSession session;
    Keeper keeper(record, session, stopAt);
    const RunSettings settings{.Iterations = 30011, .Seed = 7, .Threads = threads};
    record.Outcome = RunSimulation(opened->PostfixExpression, opened->Document.Parameters, settings,
                                   BuiltInTexts(), dialogs, session, keeper);
    record.SeedAfter = UniformSeed;
    for (const ModelParameter& p : opened->Document.Parameters)
        record.Widths.push_back(p.Sensib);
    return record;
}

// However many threads compute it and wherever it is stopped, a run gives the same values.
TEST_P(ShippedSample, RunsTheSameOnEveryThreadCount) {
    const auto results = [](const RunRecord& r) {
        const RunOutcome& o = r.Outcome;
        return std::tie(r.Values, r.Widths, r.SeedAfter, o.Status, o.Computed, o.FailedDraws,
                        o.Last.Histogram.Counts, o.Grid, o.IntervalText, o.ClassicText,
                        o.NormalityText, o.MeanText, o.VarianceText);
    };
    for (int stopAt : {-1, 40}) {
        const RunRecord one = RunOnThreads(path, 1, stopAt);
        ASSERT_EQ(one.Outcome.Status, stopAt < 0 ? RunStatus::Completed : RunStatus::Interrupted);
        for (int threads : {2, 3})
            EXPECT_EQ(results(RunOnThreads(path, threads, stopAt)), results(one))
                << threads << " threads, stop " << stopAt;
    }
}

Strings Samples() {
    Strings names;
    for (const auto& entry : std::filesystem::directory_iterator(CORVANTA_SOURCE_DIR "/samples"))
        if (entry.path().extension() == ".cvm") names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Samples, ShippedSample, ::testing::ValuesIn(Samples()),
                         [](const auto& info) {
                             std::string name = info.param.substr(0, info.param.size() - 4);
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace corvanta
