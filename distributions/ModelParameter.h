#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvanta {

// The number stored in ModelParameter::Distrib: 0 no distribution, 1 to 17
// the entries of the distribution list, 18 an intermediate quantity and 19
// the output quantity.
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
};

inline constexpr int kDistributionKindCount = 20;

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
// …), or "" for a number outside 0 to 19.
const char* DistributionPageName(std::int32_t distrib);

}  // namespace corvanta
