#include "document/ResultsReport.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "ModelFixtures.h"

namespace corvanta {

std::ostream& operator<<(std::ostream& out, const ReportLine& line) {
    return out << "{\"" << line.Text << "\", " << line.SizeStep << (line.Bold ? ", bold" : "")
               << (line.Italic ? ", italic" : "") << "}";
}

namespace {

using testing::Quantity;

ReportTexts EnglishTexts() {
    ReportTexts t;
    SetReportLabels(CaptionTable::BuiltIn(), t);
    t.TitlePlaceholder = "Type the title of simulation project";
    t.DescriptionPlaceholder = "Enter project description and notes here";
    t.Title = t.TitlePlaceholder;
    t.Description = t.DescriptionPlaceholder;
    t.SimulationChoices = {"Normal", "t (Student)"};
    t.ModeChoices = {"Direct", "Indirect SX", "Indirect SXXS", "Indirect X/S", "Indirect SXS"};
    return t;
}

TEST(ResultsReport, NamesEveryDistributionWithItsValueLabels) {
    ReportTexts t = EnglishTexts();
    struct Case {
        int Distrib;
        ReportDistribution Expected;
    };
    const std::vector<Case> cases = {
        {0, {"", "", ""}},
        {1, {"Normal (Gaussian)", "Mean", "Standard Deviation"}},
        {2, {"Rectangular (Uniform)", "Mean", "half-width of the interval"}},
        {3, {"Triangular", "Mean", "half-width of the interval"}},
        {4, {"Constant", "Value", ""}},
        {5, {"Gamma", "Form", ""}},
        {6, {"Exponential", "", ""}},
        {7, {"Beta", "a", "b"}},
        {8, {"Student t", "Degrees of freedom", "Mean (optional)"}},
        {9, {"Poisson", "Mean (lambda)", ""}},
        {10, {"Binomial", "n", "p"}},
        {11, {"NegBinomial", "n", "p"}},
        {12, {"VonMisses", "k", ""}},
        {13, {"Cauchy", "", ""}},
        {14, {"Weibull", "Form (k)", ""}},
        {15, {"XiCuadrado", "Degrees of freedom", ""}},
        {16, {"LogNormal", "Mean", "Standard Deviation"}},
        {17, {"Experimental (Normal) - Direct", "", ""}},
        {18, {"Interim Result", "Value", ""}},
        {19, {"Result", "Value", ""}},
        {20, {"", "", ""}},
        {-1, {"", "", ""}},
    };
    for (const Case& c : cases) {
        ReportDistribution d = DescribeDistribution(c.Distrib, t);
        EXPECT_EQ(d.Name, c.Expected.Name) << c.Distrib;
        EXPECT_EQ(d.FirstLabel, c.Expected.FirstLabel) << c.Distrib;
        EXPECT_EQ(d.SecondLabel, c.Expected.SecondLabel) << c.Distrib;
    }
    struct Choice {
        int Simulation, Mode;
        const char* Name;
    };
    for (Choice c : {Choice{1, 4, "Experimental (t (Student)) - Indirect SXS"},
                     {0, 2, "Experimental (Normal) - Indirect SXXS"},
                     {1, -1, "Experimental (t (Student))"}}) {
        t.SelectedSimulation = c.Simulation;
        t.SelectedMode = c.Mode;
        EXPECT_EQ(DescribeDistribution(17, t).Name, c.Name);
    }
}

TEST(ResultsReport, ComposesTheWholeReportWithItsStyles) {
    ReportTexts t = EnglishTexts();
    t.Title =
        "Masa de pr\xE1"
        "ctica";
    t.Description = "line one\r\nline two";
    t.ModelText = "y = a + b + c\r\n";
    t.UnitCells = {"kg", "", "", "\xB5g"};
    t.DescriptionCells = {"output", "", "", "drift"};
    t.SelectedSimulation = 1;
    t.SelectedMode = 1;
    t.ResultRows = {{"Iterations", "100000"}, {"Mean", "10.2"}};
    t.Label12 = "Normality test (Jarque - Bera)  =  0.5   (fit)";
    t.Label56 = "Result =";
    t.ResultadoRes = "10.2";
    t.Label60 = "Confidence interval (p = 95%): [ 9.9 , 10.5 ]";
    t.Label28 = "GUM format: 10.2 \xB1 0.3 kg";
    ParameterList q = {
        Quantity("y", 19, "stale"), Quantity("a", 7, "2", "3"), Quantity("b", 13, "1", "1"),
        testing::Experimental("c", testing::kSXReadings, "0.25", "0.05", "Student", "1")};

    struct L {
        const char* Text;
        int Size;
        bool Bold, Italic;
    };
    const std::vector<L> expected = {
        {"MASA DE PR\xE1"
         "CTICA",
         1, false, false},
        {"Monte Carlo Simulation Powered by Corvanta \"Torvo\"", -1, false, true},
        {"", 0, true, false},
        {"TECHNICAL DESCRIPTION", 0, true, false},
        {"line one", 0, false, false},
        {"line two", 0, false, false},
        {"", 0, true, false},
        {"EQUATIONS GROUP", 0, true, false},
        {"y = a + b + c", 0, false, false},
        {"", 0, true, false},
        {" PARAMETER", 0, true, false},
        {"", 0, true, false},
        {">> y", 0, true, false},
        {" Units: kg", 0, true, false},
        {" Description: output", 0, true, false},
        {"Distribution of simulation: Result", 0, true, false},
        {"Value = 10.2", 0, true, false},
        {"", 0, true, false},
        {">> a", 0, true, false},
        {" Units: ", 0, true, false},
        {" Description: ", 0, true, false},
        {"Distribution of simulation: Beta", 0, true, false},
        {"a = 2", 0, true, false},
        {"b = 3", 0, true, false},
        {"", 0, true, false},
        {">> b", 0, true, false},
        {" Units: ", 0, true, false},
        {" Description: ", 0, true, false},
        {"Distribution of simulation: Cauchy", 0, true, false},
        {"", 0, true, false},
        {">> c", 0, true, false},
        {" Units: \xB5g", 0, true, false},
        {" Description: drift", 0, true, false},
        {"Distribution of simulation: Experimental (t (Student)) - Indirect SX", 0, true, false},
        {"SX", 0, true, false},
        {"10.0", 0, true, false},
        {"10.2", 0, true, false},
        {"10.0", 0, true, false},
        {"10.3", 0, true, false},
        {"", 0, true, false},
        {"", 0, true, false},
        {"RESULTS", 0, true, false},
        {"", 0, true, false},
        {"Iterations = 100000", 0, false, false},
        {"Mean = 10.2", 0, false, false},
        {"Normality test (Jarque - Bera)  =  0.5   (fit)", 0, false, false},
        {"Result = 10.2", 0, false, false},
        {"Confidence interval (p = 95%): [ 9.9 , 10.5 ]", 0, false, false},
        {"", 0, false, false},
        {"GUM format: 10.2 \xB1 0.3 kg", 0, true, false},
    };
    std::vector<ReportLine> want;
    for (const L& l : expected)
        want.push_back({l.Text, l.Size, l.Bold, l.Italic});
    EXPECT_EQ(ComposeReport(t, q), want);
}

TEST(ResultsReport, PlaceholdersAndStartTexts) {
    ReportTexts t = EnglishTexts();
    t.ModelText = "";
    std::vector<ReportLine> lines = ComposeReport(t, {});
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], (ReportLine{"UNNAMED PROJECT", 1, false, false}));
    // No description section at all: the equations heading comes next.
    EXPECT_EQ(lines[2], (ReportLine{"", 0, true, false}));
    EXPECT_EQ(lines[3], (ReportLine{"EQUATIONS GROUP", 0, true, false}));

    // Readings print only for a quantity whose distribution name holds the
    // Experimental page's title.
    ParameterList withReadings = {Quantity("x", 1, "1", "2")};
    withReadings[0].Lecturas = "Directa\r\n1\r\n";
    std::vector<ReportLine> normal = ComposeReport(t, withReadings);
    for (const ReportLine& line : normal)
        EXPECT_NE(line.Text, "Directa");
    t.TabSheet22 = "";
    std::vector<ReportLine> untitled = ComposeReport(t, withReadings);
    EXPECT_EQ(untitled.size(), normal.size());
}

}  // namespace
}  // namespace corvanta
