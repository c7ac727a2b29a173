#pragma once

// The JCGM 101 mass-calibration model, compiled as "Update parameters" does
// and with its inputs assigned, for the benchmarks.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"
#include "distributions/ModelUpdate.h"

namespace corvanta::bench {

inline const MessageTexts& Texts() {
    static const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    return texts;
}

struct MassModel {
    std::string Postfix;
    ParameterList Parameters;
};

inline const MassModel& Mass() {
    static const MassModel model = [] {
        SilentDialogs dialogs;
        ModelUpdate update = UpdateParameters(
            "y = (mRc + dmRc)*(1 + (ra - ra0)*(1/rW - 1/rR)) - mnom", {}, Texts(), dialogs);
        if (!update.Accepted) throw std::logic_error("mass model rejected");
        struct Input {
            const char* Name;
            DistributionKind Kind;
            const char* Valor;
            const char* A;
        };
        const Input inputs[] = {{"mRc", DistributionKind::Normal, "100000", "0.050"},
                                {"dmRc", DistributionKind::Normal, "1.234", "0.020"},
                                {"ra", DistributionKind::Rectangular, "1.2", "0.1"},
                                {"rW", DistributionKind::Rectangular, "8000", "1000"},
                                {"rR", DistributionKind::Rectangular, "8000", "50"},
                                {"ra0", DistributionKind::Constante, "1.2", ""},
                                {"mnom", DistributionKind::Constante, "100000", ""}};
        for (ModelParameter& p : update.Parameters) {
            for (const Input& in : inputs) {
                if (p.Nombre != in.Name) continue;
                p.Distrib = static_cast<std::int32_t>(in.Kind);
                p.Valor = in.Valor;
                p.a = in.A;
                p.Init = true;
            }
        }
        return MassModel{update.PostfixExpression, update.Parameters};
    }();
    return model;
}

}  // namespace corvanta::bench
