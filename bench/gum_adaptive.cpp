// The GUM framework's sensitivity coefficients and whole evaluation (first
// and second order) of the JCGM 101 mass-calibration model, and an adaptive
// choice of the number of trials at two significant digits.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"
#include "distributions/ModelUpdate.h"
#include "simulation/AdaptiveRun.h"
#include "simulation/GumFramework.h"

namespace {

using namespace corvanta;

const MessageTexts& Texts() {
    static const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    return texts;
}

struct Model {
    std::string Postfix;
    ParameterList Parameters;
};

const Model& Mass() {
    static const Model model = [] {
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
        return Model{update.PostfixExpression, update.Parameters};
    }();
    return model;
}

void BM_SensitivityCoefficients(benchmark::State& state) {
    const Model& m = Mass();
    SilentDialogs dialogs;
    std::vector<InputEstimate> estimates(m.Parameters.size());
    for (std::size_t j = 0; j < m.Parameters.size(); ++j)
        if (m.Parameters[j].Kind() < DistributionKind::Intermedio)
            estimates[j] = *EstimateInput(m.Parameters[j]);
    for (auto _ : state)
        benchmark::DoNotOptimize(SensitivityCoefficients(m.Postfix, m.Parameters, estimates,
                                                         kSensitivityStep, Texts(), dialogs));
}
BENCHMARK(BM_SensitivityCoefficients)->Unit(benchmark::kMicrosecond);

void BM_EvaluateGum(benchmark::State& state) {
    const Model& m = Mass();
    SilentDialogs dialogs;
    for (auto _ : state)
        benchmark::DoNotOptimize(EvaluateGum(m.Postfix, m.Parameters, 0.95L, Texts(), dialogs));
}
BENCHMARK(BM_EvaluateGum)->Unit(benchmark::kMillisecond);

void BM_AdaptiveRun(benchmark::State& state) {
    const Model& m = Mass();
    SilentDialogs dialogs;
    std::int64_t trials = 0;
    for (auto _ : state) {
        const AdaptiveOutcome outcome = RunAdaptive(m.Postfix, m.Parameters, 0.95L, 2,
                                                    kDefaultAdaptiveCeiling, 7, Texts(), dialogs);
        trials = outcome.Trials;
    }
    state.counters["trials"] = static_cast<double>(trials);
}
BENCHMARK(BM_AdaptiveRun)->Unit(benchmark::kMillisecond);

}  // namespace
