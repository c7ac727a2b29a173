#include "distributions/ModelParameter.h"

#include <algorithm>

namespace corvanta {

bool CheckReady(const ParameterList& list) {
    return std::all_of(list.begin(), list.end(), [](const ModelParameter& p) { return p.Init; });
}

const char* DistributionPageName(std::int32_t distrib) {
    static const char* const names[20] = {"Noname",    "Normal",       "Rectangular", "Triangular",
                                          "Constante", "Gamma",        "Exponencial", "Beta",
                                          "Student",   "Poisson",      "Binomial",    "NegBinomial",
                                          "VonMises",  "Cauchy",       "Weibull",     "XiCuadrado",
                                          "LogNormal", "Experimental", "Intermedio",  "Resultado"};
    static const char* const later[kDistributionKindCount - 20] = {
        "UShaped", "Trapezoidal", "CurvilinearTrapezoid", "AsymmetricTriangular"};
    if (distrib >= 0 && distrib < 20) return names[distrib];
    return distrib >= 20 && distrib < kDistributionKindCount ? later[distrib - 20] : "";
}

}  // namespace corvanta
