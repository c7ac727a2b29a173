#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "distributions/ModelParameter.h"

namespace corvanta {

inline constexpr int kContributionDraws = 1000;

// One row of the contributions grid: the width as text and the relative
// contribution in percent as text.
struct ContributionRow {
    std::string Width;
    std::string Relative;
    bool operator==(const ContributionRow&) const = default;
};

// The width text: "0.000e-0" for a width above 1000 or below 0.1 (0 itself
// excepted), "###0.000" otherwise.
std::string ContributionWidthText(double width);

// The values of ranks 25 and 975 of 1000 draws (ascending, 0-based).
struct CentralRange {
    double Low = 0;
    double High = 0;
};
CentralRange CentralRangeOf(std::vector<double> draws);

// For every input quantity, the width of the central 95 % of 1000 outputs
// with only that quantity varying (getIterationPar(j) draws once with
// quantity j varying); the width goes into Sensib (0 for intermediate and
// output quantities). Then every row gets its width text and its share of
// the sum of the widths in percent ("0" when every width is 0). A fault of
// getIterationPar propagates: the widths found so far are stored and rows
// keep their previous texts.
void ComputeContributions(ParameterList& parameters,
                          const std::function<double(std::size_t)>& getIterationPar,
                          std::vector<ContributionRow>& rows);

}  // namespace corvanta
