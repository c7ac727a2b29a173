#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "captions/Captions.h"
#include "distributions/ModelParameter.h"
#include "document/ResultsReport.h"
#include "simulation/AdaptiveRun.h"
#include "simulation/Contributions.h"
#include "simulation/GumFramework.h"
#include "simulation/RunChoices.h"
#include "simulation/Validation.h"

// The GUM framework's texts as the Simulation page's GUM panel shows them,
// and the sections the report adds after its first lines: contributions,
// histogram, GUM budget and validation, the run's settings, the program and
// the date.
namespace corvanta {

inline constexpr int kBudgetColumns = 7;

// A figure of the budget and the summary: `digits` significant digits, the
// text of infinite for an infinite value, the undetermined text for NaN.
std::string GumFigure(long double value, int digits, const MessageTexts& texts);

struct GumPageTexts {
    std::array<std::string, kBudgetColumns> Headers;
    std::vector<std::array<std::string, kBudgetColumns>> Rows;
    // "Correlations r(a, b) = 0.5": the coefficients that entered u_c.
    std::vector<std::string> Correlations;
    std::string Estimate;     // "Estimate y = 1.23406 mg"
    std::string Combined;     // "Combined standard uncertainty u_c = 0.07539"
    std::string SecondOrder;  // "With second-order terms u_c = 0.07541"
    std::string Degrees;      // "Effective degrees of freedom = infinite"
    std::string Factor;       // "Coverage factor k = 1.960"
    std::string Expanded;     // "Expanded uncertainty U = 0.1478"
    std::string Interval;     // "GUM interval (p = 95%): [ 1.0863 , 1.3819 ]"
    std::string Validation;   // "Validation against Monte Carlo (2 significant digits)"
    std::string Differences;  // "tolerance = 0.0005, d_low = 0.0012, d_high = 0.0018"
    std::string Verdict;      // "not validated: the GUM interval differs ..."
};

// Nothing run yet (no gum): the figures undetermined. A framework that does
// not apply: every figure "not applicable" and the reason in the verdict.
GumPageTexts FormatGumPage(const std::optional<GumResult>& gum,
                           const std::optional<Validation>& checked, int coverageIndex, int digits,
                           const std::string& unitSuffix, const MessageTexts& texts);

// Everything the report's later sections need.
struct ReportAnnex {
    bool HaveRun = false;  // a run has ended since the model was opened or changed
    // The contributions grid as shown: per record its name, width and share
    // texts (inputs only).
    std::vector<ContributionRow> Contributions;
    std::string UnitSuffix;  // " " + the output's unit
    std::string MarkTexts;   // the texts beside the chart's marks, when shown
    // The values the histogram's classes span, when it was drawn.
    std::optional<ValueInterval> HistogramRange;
    std::optional<GumResult> Gum;
    std::optional<Validation> Checked;
    std::int64_t Iterations = 0;
    std::optional<AdaptiveOutcome> Adaptive;
    RunChoices Choices;
    int CoverageIndex = 2;
    std::uint32_t Seed = 0;
    std::string Program;  // "Corvanta 1.0.0"
    std::string Date;     // "2026-12-07"
};

// The sections after the report's first lines, appended to `lines`.
void AppendReportAnnex(const ReportAnnex& annex, const ParameterList& parameters,
                       const CaptionTable& captions, const MessageTexts& texts,
                       std::vector<ReportLine>& lines);

// The output values one a line with CR LF, 15 significant digits, the point
// as decimal separator.
std::string ValuesText(const std::vector<double>& values);

}  // namespace corvanta
