#include "document/ResultsReport.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "ModelFixtures.h"

namespace corvanta {

void PrintTo(const ReportLine& line, std::ostream* out) {
    *out << "{\"" << line.Text << "\", " << line.SizeStep << (line.Bold ? ", bold" : "")
         << (line.Italic ? ", italic" : "") << "}";
}

namespace {

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
    const std::string mean = "Mean", sd = "Standard Deviation", half = "half-width of the interval",
                      dof = "Degrees of freedom", value = "Value";
    const std::vector<ReportDistribution> expected = {{"", "", ""},
                                                      {"Normal (Gaussian)", mean, sd},
                                                      {"Rectangular (Uniform)", mean, half},
                                                      {"Triangular", mean, half},
                                                      {"Constant", value, ""},
                                                      {"Gamma", "Form", ""},
                                                      {"Exponential", "", ""},
                                                      {"Beta", "a", "b"},
                                                      {"Student t", dof, "Mean (optional)"},
                                                      {"Poisson", "Mean (lambda)", ""},
                                                      {"Binomial", "n", "p"},
                                                      {"NegBinomial", "n", "p"},
                                                      {"VonMisses", "k", ""},
                                                      {"Cauchy", "", ""},
                                                      {"Weibull", "Form (k)", ""},
                                                      {"XiCuadrado", dof, ""},
                                                      {"LogNormal", mean, sd},
                                                      {"Experimental (Normal) - Direct", "", ""},
                                                      {"Interim Result", value, ""},
                                                      {"Result", value, ""},
                                                      {"", "", ""}};
    for (std::size_t kind = 0; kind < expected.size(); ++kind) {
        ReportDistribution d = DescribeDistribution(static_cast<std::int32_t>(kind), t);
        EXPECT_EQ(d.Name + "|" + d.FirstLabel + "|" + d.SecondLabel,
                  expected[kind].Name + "|" + expected[kind].FirstLabel + "|" +
                      expected[kind].SecondLabel);
    }
    t.SelectedSimulation = 1;
    t.SelectedMode = 4;
    EXPECT_EQ(DescribeDistribution(17, t).Name, "Experimental (t (Student)) - Indirect SXS");
    t.SelectedMode = -1;
    EXPECT_EQ(DescribeDistribution(17, t).Name, "Experimental (t (Student))");
}

TEST(ResultsReport, ComposesTheWholeReportWithItsStyles) {
    ReportTexts t = EnglishTexts();
    t.Title =
        "Masa de pr\xE1"
        "ctica";
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
    ParameterList q = {testing::Quantity("y", 19, "stale"), testing::Quantity("a", 7, "2", "3"),
                       testing::Experimental("c", "SX\r\n1\r2\r\n", "1", "0", "Normal", "0")};
    const int bold = 1, italic = 2;
    const std::vector<std::tuple<std::string, int, int>> expected = {
        {"MASA DE PR\xE1"
         "CTICA",
         1, 0},
        {"Monte Carlo Simulation Powered by Corvanta \"Torvo\"", -1, italic},
        {"", 0, bold},
        {"TECHNICAL DESCRIPTION", 0, bold},
        {"line one", 0, 0},
        {"line two", 0, 0},
        {"", 0, bold},
        {"EQUATIONS GROUP", 0, bold},
        {"y = a + c", 0, 0},
        {"", 0, bold},
        {" PARAMETER", 0, bold},
        {"", 0, bold},
        {">> y", 0, bold},
        {" Units: kg", 0, bold},
        {" Description: output", 0, bold},
        {"Distribution of simulation: Result", 0, bold},
        {"Value = 10.2", 0, bold},
        {"", 0, bold},
        {">> a", 0, bold},
        {" Units: ", 0, bold},
        {" Description: ", 0, bold},
        {"Distribution of simulation: Beta", 0, bold},
        {"a = 2", 0, bold},
        {"b = 3", 0, bold},
        {"", 0, bold},
        {">> c", 0, bold},
        {" Units: \xB5g", 0, bold},
        {" Description: drift", 0, bold},
        {"Distribution of simulation: Experimental (Normal) - Indirect SX", 0, bold},
        {"SX", 0, bold},
        {"1", 0, bold},
        {"2", 0, bold},
        {"", 0, bold},
        {"", 0, bold},
        {"RESULTS", 0, bold},
        {"", 0, bold},
        {"Mean = 10.2", 0, 0},
        {"Normality test (Jarque - Bera)  =  0.5   (fit)", 0, 0},
        {"Result = 10.2", 0, 0},
        {"Confidence interval (p = 95%): [ 9.9 , 10.5 ]", 0, 0},
        {"", 0, 0},
        {"GUM format: 10.2 \xB1 0.3 kg", 0, bold}};
    std::vector<ReportLine> want;
    for (const auto& [text, size, style] : expected)
        want.push_back({text, size, (style & bold) != 0, (style & italic) != 0});
    EXPECT_EQ(ComposeReport(t, q), want);

    // At the placeholders: "UNNAMED PROJECT" and no description section.
    std::vector<ReportLine> start = ComposeReport(EnglishTexts(), {});
    ASSERT_GE(start.size(), 4u);
    EXPECT_EQ(start[0], (ReportLine{"UNNAMED PROJECT", 1, false, false}));
    EXPECT_EQ(start[3], (ReportLine{"EQUATIONS GROUP", 0, true, false}));

    // Readings print only under a distribution name holding a real page title.
    t.TabSheet22 = "";
    EXPECT_EQ(ComposeReport(t, q).size(), want.size() - 3);
}

}  // namespace
}  // namespace corvanta
