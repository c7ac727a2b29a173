// Time per draw of every sampler: the cached samplers that the simulation run
// uses, and the free functions that rebuild their set-up on every call.
#include <benchmark/benchmark.h>

#include <string>

#include "distributions/ModelParameter.h"
#include "distributions/Sampling.h"

namespace corvanta {
namespace {

ModelParameter Record(DistributionKind kind, const char* valor, const char* a = "",
                      const char* b = "", const char* grados = "") {
    ModelParameter p;
    p.Distrib = static_cast<std::int32_t>(kind);
    p.Valor = valor;
    p.a = a;
    p.b = b;
    p.Grados = grados;
    return p;
}

void Prepared(benchmark::State& state, ModelParameter record) {
    const PreparedSampler sampler(record);
    UniformSeed = 12345;
    for (auto _ : state)
        benchmark::DoNotOptimize(sampler.Draw());
}

void FromRecord(benchmark::State& state, ModelParameter record) {
    UniformSeed = 12345;
    for (auto _ : state)
        benchmark::DoNotOptimize(SampleParameter(record));
}

void Uniform(benchmark::State& state) {
    UniformSeed = 12345;
    for (auto _ : state)
        benchmark::DoNotOptimize(RandomUniform());
}
BENCHMARK(Uniform);

using K = DistributionKind;
#define SAMPLER_BENCH(label, ...)                            \
    BENCHMARK_CAPTURE(Prepared, label, Record(__VA_ARGS__)); \
    BENCHMARK_CAPTURE(FromRecord, label, Record(__VA_ARGS__))

SAMPLER_BENCH(Normal, K::Normal, "3", "2");
SAMPLER_BENCH(Rectangular, K::Rectangular, "5", "2");
SAMPLER_BENCH(Triangular, K::Triangular, "5", "2");
SAMPLER_BENCH(Constante, K::Constante, "5");
SAMPLER_BENCH(Gamma_0_5, K::Gamma, "0.5");
SAMPLER_BENCH(Gamma_1, K::Gamma, "1");
SAMPLER_BENCH(Gamma_2_5, K::Gamma, "2.5");
SAMPLER_BENCH(Exponencial, K::Exponencial, "");
SAMPLER_BENCH(Beta_5_2, K::Beta, "5", "2");
SAMPLER_BENCH(Beta_0_5_0_3, K::Beta, "0.5", "0.3");
SAMPLER_BENCH(Student_1, K::Student, "1", "");
SAMPLER_BENCH(Student_5, K::Student, "5", "");
SAMPLER_BENCH(Poisson_3_5, K::Poisson, "3.5");
SAMPLER_BENCH(Poisson_10, K::Poisson, "10");
SAMPLER_BENCH(Poisson_10_0001, K::Poisson, "10.0001");
SAMPLER_BENCH(Poisson_1000, K::Poisson, "1000");
SAMPLER_BENCH(Binomial_10_0_1, K::Binomial, "10", "0.1");
SAMPLER_BENCH(Binomial_60_0_5, K::Binomial, "60", "0.5");
SAMPLER_BENCH(Binomial_200_0_5, K::Binomial, "200", "0.5");
SAMPLER_BENCH(Binomial_1E6_0_3, K::Binomial, "1000000", "0.3");
SAMPLER_BENCH(NegBinomial_3_0_8, K::NegBinomial, "3", "0.8");
SAMPLER_BENCH(NegBinomial_5_0_3, K::NegBinomial, "5", "0.3");
SAMPLER_BENCH(NegBinomial_20000_0_6, K::NegBinomial, "20000", "0.6");
SAMPLER_BENCH(VonMises_0_3, K::VonMises, "0.3");
SAMPLER_BENCH(VonMises_9_99, K::VonMises, "9.99");
SAMPLER_BENCH(Cauchy, K::Cauchy, "");
SAMPLER_BENCH(Weibull, K::Weibull, "1.5");
SAMPLER_BENCH(XiCuadrado_1, K::XiCuadrado, "1");
SAMPLER_BENCH(XiCuadrado_7, K::XiCuadrado, "7");
SAMPLER_BENCH(LogNormal, K::LogNormal, "2", "0.5");
SAMPLER_BENCH(Experimental_Normal, K::Experimental, "2", "0.5", "Normal", "4");
SAMPLER_BENCH(Experimental_Student, K::Experimental, "2", "0.5", "Student", "4");

}  // namespace
}  // namespace corvanta
