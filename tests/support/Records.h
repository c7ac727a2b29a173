#pragma once

#include <cstdint>
#include <string>

#include "distributions/ModelParameter.h"

namespace corvanta::testing {

// An initialised record named X of the given kind and parameter texts.
inline ModelParameter Record(DistributionKind kind, std::string valor, std::string a = "",
                             std::string b = "", std::string grados = "") {
    ModelParameter p;
    p.Nombre = "X";
    p.Distrib = static_cast<std::int32_t>(kind);
    p.Valor = std::move(valor);
    p.a = std::move(a);
    p.b = std::move(b);
    p.Grados = std::move(grados);
    p.Init = true;
    return p;
}

}  // namespace corvanta::testing
