#include "document/ResultsReport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ModelFixtures.h"

namespace corvanta {

namespace {

template <class... T>
std::vector<std::string> Texts(const T&... texts) {
    return {std::string(texts)...};
}

// Each line as its style marks ("*" bold, "/" italic, "[step]" size) before its text.
std::vector<std::string> Marked(const std::vector<ReportLine>& report) {
    std::vector<std::string> lines;
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
    const std::vector<std::string> expected =
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
    ParameterList q = {testing::Quantity("y", 19, "stale"), testing::Quantity("a", 7, "2", "3"),
                       testing::Experimental("c", "SX\r\n1\r2\r\n", "1", "0", "Normal", "0")};
    const std::vector<std::string> lines = Marked(ComposeReport(t, q));
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
    const std::vector<std::string> start = Marked(ComposeReport(EnglishTexts(), {}));
    ASSERT_GE(start.size(), 4u);
    EXPECT_EQ(start[0], "[1]UNNAMED PROJECT");
    EXPECT_EQ(start[3], "*EQUATIONS GROUP");

    // Readings print only under a distribution name holding a real page title.
    t.TabSheet22 = "";
    EXPECT_EQ(ComposeReport(t, q).size(), lines.size() - 3);
}

// The third value and the degrees of freedom when a Type B input has them.
TEST(ResultsReport, ThirdValueAndDegreesOfFreedom) {
    ModelParameter trapezoid = testing::Quantity("t", 21, "1", "2");
    trapezoid.b = "0.4";
    trapezoid.Grados = "12";
    ModelParameter normal = testing::Quantity("n", 1, "5", "0.1");
    std::vector<std::string> lines = Marked(ComposeReport(EnglishTexts(), {trapezoid, normal}));
    const auto from = std::find(lines.begin(), lines.end(), "*>> t");
    ASSERT_GE(lines.end() - from, 14);
    EXPECT_EQ(std::vector<std::string>(from + 3, from + 14),
              Texts("*Distribution of simulation: Trapezoidal", "*Midpoint = 1", "*Half-width = 2",
                    "*Top to base ratio (beta) = 0.4", "*Degrees of freedom = 12", "*", "*>> n",
                    "* Units: ", "* Description: ",
                    "*Distribution of simulation: Normal (Gaussian)", "*Mean = 5"));
    EXPECT_EQ(from[14], "*Standard Deviation = 0.1");
    EXPECT_EQ(from[15], "*");
}

}  // namespace
}  // namespace corvanta
