#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "captions/Captions.h"
#include "distributions/Correlations.h"
#include "distributions/ModelParameter.h"

// The printed results report, composed as styled lines from the texts the
// main window shows; the window renders and prints them.
namespace corvanta {

struct ReportLine {
    std::string Text;
    int SizeStep = 0;  // points above (or below) the window's default font
    bool Bold = false;
    bool Italic = false;
    // A row of a table instead of a line of text: consecutive rows form one
    // table, the first of them its header.
    std::vector<std::string> Cells = {};
    // The place of the histogram picture.
    bool Picture = false;
    bool operator==(const ReportLine&) const = default;
};

// The value labels of the distribution pages, by control, as they read now.
struct ReportValueLabels {
    std::string Label18, Label19;       // Normal: mean, standard deviation
    std::string Label20, Label21;       // Rectangular: mean, half-width
    std::string Label22, Label23;       // Triangular: mean, half-width
    std::string Label24;                // Constant, intermediate and output: value
    std::string Label36;                // Gamma: form
    std::string Label44, LabelStudent;  // Student t: degrees of freedom, mean
    std::string Label46;                // Poisson: mean (lambda)
    std::string Label61;                // Weibull: form (k)
    std::string Label62;                // Chi square: degrees of freedom
    std::string Label63, Label64;       // Lognormal: mean, standard deviation
    // The pages of the newer kinds, and the optional degrees of freedom.
    std::string Midpoint, HalfWidth, Ratio, Inexactness, Mode, Lower, Upper, Degrees;
};

// Everything the report reads from the window when the command runs.
struct ReportTexts {
    std::string Title;                   // Edit1
    std::string TitlePlaceholder;        // remembered when cap85 was set
    std::string Description;             // TransMemo1
    std::string DescriptionPlaceholder;  // remembered when cap86 was set
    std::string ModelText;               // Memo1
    // Above the coefficients between the quantities.
    std::string CorrelationsHeading = "Correlations";

    // Parameter table: header cells (0,0), (1,0), (2,0), and cells (1, i+1)
    // and (2, i+1) of record i; a missing cell reads as "".
    std::string HeaderParameter, HeaderUnits, HeaderDescription;
    std::vector<std::string> UnitCells, DescriptionCells;

    std::string Label98;  // description heading
    std::string Label2;   // equations heading
    std::string Label47;  // results heading
    std::string Label97;  // "Distribution of simulation"
    ReportValueLabels ValueLabels;

    // The Experimental page: its title, its two simulation choices (Normal,
    // t) with the one selected, and its five modes with the one selected
    // (-1: none).
    std::string TabSheet22;
    std::array<std::string, 2> SimulationChoices;
    int SelectedSimulation = 0;
    std::array<std::string, 5> ModeChoices;
    int SelectedMode = 0;

    // The Simulation page: every row of the results grid (label, value), the
    // normality test, the result caption and value, the coverage interval
    // and the classic form.
    std::vector<std::pair<std::string, std::string>> ResultRows;
    std::string Label12;
    std::string Label56;
    std::string ResultadoRes;
    std::string Label60;
    std::string Label28;
};

// The distribution name a quantity's line shows, and its first, second and
// third value labels ("" for none).
struct ReportDistribution {
    std::string Name;
    std::string FirstLabel;
    std::string SecondLabel;
    std::string ThirdLabel = {};
};
ReportDistribution DescribeDistribution(std::int32_t distrib, const ReportTexts& texts);

// The report, line by line, for the records of the parameter list; the
// nonzero coefficients between them follow the quantities.
std::vector<ReportLine> ComposeReport(const ReportTexts& texts, const ParameterList& parameters,
                                      const CorrelationList& correlations = {});

// The heading and value labels as the caption table sets them, for callers
// without a window.
void SetReportLabels(const CaptionTable& captions, ReportTexts& texts);

}  // namespace corvanta
