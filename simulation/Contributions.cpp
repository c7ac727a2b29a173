#include "simulation/Contributions.h"

#include <algorithm>
#include <cmath>

#include "engine/NumberText.h"

namespace corvanta {

std::string ContributionWidthText(double width) {
    const bool far = width != 0 && (width > 1000 || std::fabs(width) < 0.1);
    return FormatPattern(far ? "0.000e-0" : "###0.000", width);
}

CentralRange CentralRangeOf(std::vector<double> draws) {
    const std::size_t k = static_cast<std::size_t>(kContributionDraws * 2.5 / 100);
    CentralRange range;
    if (draws.size() <= kContributionDraws - k) return range;
    // Only the two ranks are needed; their values do not depend on how the
    // rest is ordered.
    std::nth_element(draws.begin(), draws.begin() + k, draws.end());
    range.Low = draws[k];
    std::nth_element(draws.begin() + k, draws.begin() + (kContributionDraws - k), draws.end());
    range.High = draws[kContributionDraws - k];
    return range;
}

void ComputeContributions(ParameterList& parameters,
                          const std::function<double(std::size_t)>& getIterationPar,
                          std::vector<ContributionRow>& rows) {
    double sum = 0;
    std::vector<double> draws(kContributionDraws);
    for (std::size_t j = 0; j < parameters.size(); ++j) {
        ModelParameter& p = parameters[j];
        if (IsComputedKind(p.Distrib)) {
            p.Sensib = 0;
            continue;
        }
        for (double& draw : draws)
            draw = getIterationPar(j);
        const CentralRange range = CentralRangeOf(draws);
        p.Sensib = range.High - range.Low;
        sum += p.Sensib;
    }
    rows.resize(parameters.size());
    for (std::size_t j = 0; j < parameters.size(); ++j) {
        const double width = parameters[j].Sensib;
        const double relative = sum != 0 ? width * 100 / sum : 0;
        rows[j].Width = ContributionWidthText(width);
        rows[j].Relative = FormatGeneral(relative);
    }
}

}  // namespace corvanta
