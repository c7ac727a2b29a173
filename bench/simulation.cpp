// A run of the JCGM 101 mass-calibration model, 2000000 iterations, on one
// and on two threads: the compiled run against a hand-written loop over the
// same samplers without any rounding, and against the evaluation through
// text. Beside it, an output whose histogram lies about 0.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"
#include "distributions/ModelUpdate.h"
#include "distributions/Sampling.h"
#include "simulation/Iteration.h"
#include "simulation/Run.h"

#include "MassModel.h"

namespace {

using namespace corvanta;

constexpr std::int64_t kIterations = 2000000;

using bench::Mass;
using bench::Texts;

const ModelParameter& Find(const char* name) {
    for (const ModelParameter& p : Mass().Parameters)
        if (p.Nombre == name) return p;
    throw std::logic_error(name);
}

// Arguments: progress view (0 or 1), threads (0: one a processor).
void CompiledRun(benchmark::State& state) {
    const bool progressView = state.range(0) != 0;
    SilentDialogs dialogs;
    for (auto _ : state) {
        ParameterList parameters = Mass().Parameters;
        RunSettings settings;
        settings.Iterations = kIterations;
        settings.ProgressView = progressView;
        settings.Seed = 1;
        settings.Threads = static_cast<int>(state.range(1));
        SimulationSession session;
        RunObserver observer;
        RunOutcome outcome = RunSimulation(Mass().Postfix, parameters, settings, Texts(), dialogs,
                                           session, observer);
        benchmark::DoNotOptimize(outcome);
    }
    state.counters["ns_per_iteration"] =
        benchmark::Counter(static_cast<double>(kIterations) * state.iterations(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(CompiledRun)
    ->ArgNames({"view", "threads"})
    ->Args({0, 1})
    ->Args({0, 2})
    ->Args({1, 1})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// An output symmetric about 0 with sharp bounds, y = 0.5 sin(w) with w
// rectangular over a half period, and the same output shifted by 0.001:
// the doubles about 0 are so dense that the histogram's bin edges must be
// found by search, not by stepping. Arguments: shifted (0 or 1), seed.
void SymmetricAboutZero(benchmark::State& state) {
    SilentDialogs dialogs;
    const bool shifted = state.range(0) != 0;
    ModelUpdate update = UpdateParameters(shifted ? "y = 0.5*sin(w) + 0.001" : "y = 0.5*sin(w)", {},
                                          Texts(), dialogs);
    for (ModelParameter& p : update.Parameters) {
        if (p.Nombre != "w") continue;
        p.Distrib = static_cast<std::int32_t>(DistributionKind::Rectangular);
        p.Valor = "0";
        p.a = "1.5707963267948966";
        p.Init = true;
    }
    for (auto _ : state) {
        ParameterList parameters = update.Parameters;
        RunSettings settings;
        settings.Iterations = kIterations;
        settings.ProgressView = true;
        settings.Seed = static_cast<std::uint32_t>(state.range(1));
        SimulationSession session;
        RunObserver observer;
        RunOutcome outcome = RunSimulation(update.PostfixExpression, parameters, settings, Texts(),
                                           dialogs, session, observer);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(SymmetricAboutZero)
    ->ArgNames({"shifted", "seed"})
    ->Args({0, 5})
    ->Args({0, 7})
    ->Args({1, 5})
    ->Args({1, 7})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// The same draws in the same order, the model written out in extended
// precision, nothing rounded, values kept as the run keeps them.
void NativeLoop(benchmark::State& state) {
    const PreparedSampler mRc(Find("mRc")), dmRc(Find("dmRc")), ra(Find("ra")), rW(Find("rW")),
        rR(Find("rR"));
    const long double ra0 = 1.2L, mnom = 100000;
    std::vector<double> values(kIterations);
    for (auto _ : state) {
        UniformSeed = 1;
        for (std::int64_t i = 0; i < kIterations; ++i) {
            const long double m = mRc.Draw(), dm = dmRc.Draw(), a = ra.Draw(), w = rW.Draw(),
                              r = rR.Draw();
            values[i] = static_cast<double>((m + dm) * (1 + (a - ra0) * (1 / w - 1 / r)) - mnom);
        }
        benchmark::DoNotOptimize(values.data());
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_iteration"] =
        benchmark::Counter(static_cast<double>(kIterations) * state.iterations(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(NativeLoop)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The literal evaluation through text, one call of GetIteration per iteration.
void TextualReference(benchmark::State& state) {
    SilentDialogs dialogs;
    std::vector<double> values(kIterations);
    for (auto _ : state) {
        UniformSeed = 1;
        for (std::int64_t i = 0; i < kIterations; ++i)
            values[i] = GetIteration(Mass().Postfix, Mass().Parameters, Texts(), dialogs);
        benchmark::DoNotOptimize(values.data());
    }
    state.counters["ns_per_iteration"] =
        benchmark::Counter(static_cast<double>(kIterations) * state.iterations(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(TextualReference)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace
