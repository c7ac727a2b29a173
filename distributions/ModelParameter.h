#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvanta {

// The number stored in ModelParameter::Distrib: 0 no distribution, 1 to 17
// and 20 to 23 the entries of the distribution list, 18 an intermediate
// quantity and 19 the output quantity. The kinds added later follow the two
// roles so that stored numbers keep their meaning.
enum class DistributionKind : std::int32_t {
    Noname = 0,
    Normal = 1,
    Rectangular = 2,
    Triangular = 3,
    Constante = 4,
    Gamma = 5,
    Exponencial = 6,
    Beta = 7,
    Student = 8,
    Poisson = 9,
    Binomial = 10,
    NegBinomial = 11,
    VonMises = 12,
    Cauchy = 13,
    Weibull = 14,
    XiCuadrado = 15,
    LogNormal = 16,
    Experimental = 17,
    Intermedio = 18,
    Resultado = 19,
    UShaped = 20,               // Valor midpoint, a half-width
    Trapezoidal = 21,           // Valor midpoint, a half-width, b top/base ratio
    CurvilinearTrapezoid = 22,  // Valor midpoint, a half-width, b inexactness of the limits
    AsymmetricTriangular = 23,  // Valor mode, a lower limit, b upper limit
};

inline constexpr int kDistributionKindCount = 24;

// The distribution list holds kinds 0 to 17 at their own positions and the
// later kinds after them, in order; computed quantities have no item (-1).
inline constexpr int kDistributionListCount = 22;
constexpr int DistributionListItem(std::int32_t distrib) {
    if (distrib >= 0 && distrib <= 17) return distrib;
    if (distrib >= 20 && distrib < 20 + kDistributionListCount - 18) return distrib - 2;
    return -1;
}
constexpr std::int32_t KindOfListItem(int item) {
    return item <= 17 ? item : item + 2;
}

// Intermediate and output quantities are computed, not drawn.
constexpr bool IsComputedKind(std::int32_t distrib) {
    return distrib == static_cast<std::int32_t>(DistributionKind::Intermedio) ||
           distrib == static_cast<std::int32_t>(DistributionKind::Resultado);
}

// The kinds whose standard uncertainty may carry its own degrees of freedom
// (a Type B evaluation), kept in Grados; empty means infinitely many.
constexpr bool TakesTypeBDegrees(std::int32_t distrib) {
    return distrib == static_cast<std::int32_t>(DistributionKind::Normal) ||
           distrib == static_cast<std::int32_t>(DistributionKind::Rectangular) ||
           distrib == static_cast<std::int32_t>(DistributionKind::Triangular) ||
           (distrib >= static_cast<std::int32_t>(DistributionKind::UShaped) &&
            distrib <= static_cast<std::int32_t>(DistributionKind::AsymmetricTriangular));
}

// One quantity of the model. Distribution parameters are kept as text and
// converted each time they are used; the field order is the order of the
// model file's keys.
struct ModelParameter {
    std::string Nombre;
    std::string Unidad;
    std::string Desc;
    std::int32_t Distrib = 0;
    std::string Valor;
    std::string Lecturas;
    std::string a;
    std::string b;
    // Experimental: readings - 1; the Type B kinds: optional degrees of freedom.
    std::string Grados;
    bool Init = false;
    double Sensib = 0;

    DistributionKind Kind() const { return static_cast<DistributionKind>(Distrib); }
    bool operator==(const ModelParameter&) const = default;
};

using ParameterList = std::vector<ModelParameter>;

// True when every entry is fully described (and for an empty list).
bool CheckReady(const ParameterList& list);

// The page name of a kind ("Normal", "Constante", "XiCuadrado", "Intermedio"
// …), or "" for a number outside 0 to 23.
const char* DistributionPageName(std::int32_t distrib);

}  // namespace corvanta
