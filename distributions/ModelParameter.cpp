#include "distributions/ModelParameter.h"

#include <algorithm>

namespace corvanta {

bool CheckReady(const ParameterList& list) {
    return std::all_of(list.begin(), list.end(), [](const ModelParameter& p) { return p.Init; });
}

const char* DistributionPageName(std::int32_t distrib) {
    static const char* const names[kDistributionKindCount] = {
        "Noname",     "Normal",      "Rectangular",  "Triangular", "Constante",
        "Gamma",      "Exponencial", "Beta",         "Student",    "Poisson",
        "Binomial",   "NegBinomial", "VonMises",     "Cauchy",     "Weibull",
        "XiCuadrado", "LogNormal",   "Experimental", "Intermedio", "Resultado"};
    return distrib >= 0 && distrib < kDistributionKindCount ? names[distrib] : "";
}

}  // namespace corvanta
