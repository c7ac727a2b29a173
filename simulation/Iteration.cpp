#include "simulation/Iteration.h"

#include <cmath>
#include <string>
#include <vector>

#include "distributions/Sampling.h"
#include "engine/Equations.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"

namespace corvanta {

std::size_t FindQuantity(const ParameterList& parameters, std::string_view token,
                         const MessageTexts& texts, UserDialogs& dialogs) {
    for (std::size_t i = 0; i < parameters.size(); ++i)
        if (parameters[i].Nombre == token) return i;
    const std::string message = texts.IncompatibleParameter + ": " + std::string(token);
    dialogs.ShowMessage(message);
    throw IncompatibleParameterError(message);
}

bool IsFixedToken(std::string_view token) {
    const std::string bracketed = "[" + std::string(token) + "]";
    return std::string_view("[+][-][*][/][^]").find(bracketed) != std::string_view::npos ||
           IsNumber(token) || IsFunctionName(token);
}

long double FixedValue(const ModelParameter& p) {
    switch (p.Kind()) {
        case DistributionKind::Normal:
        case DistributionKind::Rectangular:
        case DistributionKind::Triangular:
        case DistributionKind::Constante:
        case DistributionKind::Poisson:
        case DistributionKind::Binomial:
        case DistributionKind::NegBinomial:
        case DistributionKind::XiCuadrado:
        case DistributionKind::LogNormal:
        case DistributionKind::Experimental:
        case DistributionKind::UShaped:
        case DistributionKind::Trapezoidal:
        case DistributionKind::CurvilinearTrapezoid:
        case DistributionKind::AsymmetricTriangular:
            return ParseFloat(p.Valor);
        case DistributionKind::Gamma:
            return ParseFloat(p.Valor) - 1;
        case DistributionKind::Exponencial:
            return 0.2L;
        case DistributionKind::Beta:
            return 0.5L;
        case DistributionKind::Student:
            return p.a.empty() ? 0 : ParseFloat(p.a);
        case DistributionKind::VonMises:
        case DistributionKind::Cauchy:
            return 0;
        case DistributionKind::Weibull:
            return 1;
        default:
            ThrowInvalidOperation();
    }
}

namespace {

// `varied` is the index of the one quantity drawn, or npos for all of them.
double IterateThroughText(std::size_t varied, std::string_view modelText,
                          const ParameterList& parameters, const MessageTexts& texts,
                          UserDialogs& dialogs) {
    std::vector<std::string> tokens = SplitLines(modelText);
    // A line already holding a drawn value is never looked up again: the
    // text of an infinite draw ("INF") must fail as a value, not as a name.
    std::vector<bool> substituted(tokens.size(), false);
    for (std::size_t t = 0; t < tokens.size(); ++t) {
        if (substituted[t]) continue;
        const std::string token = tokens[t];
        if (IsFixedToken(token)) continue;
        const std::size_t found = FindQuantity(parameters, token, texts, dialogs);
        const bool drawn = varied == std::string::npos || varied == found;
        const long double x =
            drawn ? SampleParameter(parameters[found]) : FixedValue(parameters[found]);
        const std::string text = FormatGeneral(x);
        for (std::size_t u = t; u < tokens.size(); ++u) {
            if (!substituted[u] && tokens[u] == token) {
                tokens[u] = text;
                substituted[u] = true;
            }
        }
    }
    const double result = static_cast<double>(EvaluatePostfix(JoinLines(tokens), dialogs));
    // The result is stored as a double: a value beyond its range is an overflow.
    if (std::isinf(result)) ThrowOverflow();
    return result;
}

}  // namespace

double GetIteration(std::string_view modelText, const ParameterList& parameters,
                    const MessageTexts& texts, UserDialogs& dialogs) {
    return IterateThroughText(std::string::npos, modelText, parameters, texts, dialogs);
}

double GetIterationPar(std::size_t index, std::string_view modelText,
                       const ParameterList& parameters, const MessageTexts& texts,
                       UserDialogs& dialogs) {
    return IterateThroughText(index, modelText, parameters, texts, dialogs);
}

}  // namespace corvanta
