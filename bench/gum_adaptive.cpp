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

#include "MassModel.h"

namespace {

using namespace corvanta;

using bench::Mass;
using bench::MassModel;
using bench::Texts;

void BM_SensitivityCoefficients(benchmark::State& state) {
    const MassModel& m = Mass();
    SilentDialogs dialogs;
    std::vector<InputEstimate> estimates(m.Parameters.size());
    for (std::size_t j = 0; j < m.Parameters.size(); ++j)
        if (!IsComputedKind(m.Parameters[j].Distrib))
            estimates[j] = *EstimateInput(m.Parameters[j]);
    for (auto _ : state)
        benchmark::DoNotOptimize(SensitivityCoefficients(m.Postfix, m.Parameters, estimates,
                                                         kSensitivityStep, Texts(), dialogs));
}
BENCHMARK(BM_SensitivityCoefficients)->Unit(benchmark::kMicrosecond);

void BM_EvaluateGum(benchmark::State& state) {
    const MassModel& m = Mass();
    SilentDialogs dialogs;
    for (auto _ : state)
        benchmark::DoNotOptimize(EvaluateGum(m.Postfix, m.Parameters, 0.95L, Texts(), dialogs));
}
BENCHMARK(BM_EvaluateGum)->Unit(benchmark::kMillisecond);

void BM_AdaptiveRun(benchmark::State& state) {
    const MassModel& m = Mass();
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
