#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"
#include "distributions/ModelParameter.h"
#include "distributions/ModelUpdate.h"

namespace corvanta::testing {

inline const MessageTexts& Texts() {
    static const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    return texts;
}

// The distribution of one input quantity, as the Apply command stores it.
struct Input {
    std::string Name;
    DistributionKind Kind;
    std::string Valor;
    std::string A = "";
    std::string B = "";
    std::string Grados = "";
};

struct Model {
    std::string PostfixExpression;
    ParameterList Parameters;
};

// Compiles the equations as "Update parameters" does and assigns the inputs.
inline Model MakeModel(const std::string& equations, const std::vector<Input>& inputs) {
    SilentDialogs dialogs;
    ModelUpdate update = UpdateParameters(equations, {}, Texts(), dialogs);
    if (!update.Accepted) throw std::logic_error("model rejected: " + equations);
    Model model{update.PostfixExpression, update.Parameters};
    for (const Input& in : inputs) {
        bool found = false;
        for (ModelParameter& p : model.Parameters) {
            if (p.Nombre != in.Name) continue;
            p.Distrib = static_cast<std::int32_t>(in.Kind);
            p.Valor = in.Valor;
            p.a = in.A;
            p.b = in.B;
            p.Grados = in.Grados;
            p.Init = true;
            found = true;
        }
        if (!found) throw std::logic_error("no quantity " + in.Name + " in " + equations);
    }
    return model;
}

inline std::size_t IndexOf(const Model& model, const std::string& name) {
    for (std::size_t j = 0; j < model.Parameters.size(); ++j)
        if (model.Parameters[j].Nombre == name) return j;
    throw std::logic_error("no quantity " + name);
}

}  // namespace corvanta::testing
