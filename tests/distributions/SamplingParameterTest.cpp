#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "distributions/ModelParameter.h"
#include "distributions/Sampling.h"
#include "engine/Faults.h"
#include "support/Records.h"

namespace corvanta {
namespace {

using K = DistributionKind;
using testing::Record;

std::string Describe(const ModelParameter& p) {
    return "kind " + std::to_string(p.Distrib) + " Valor=" + p.Valor + " a=" + p.a + " b=" + p.b;
}

// Every kind and algorithm branch: the record's texts reach the sampler as the table of kinds
// says, and the prepared sampler draws the same values from the same uniforms.
TEST(SampleParameter, MapsTheRecordToItsSamplerAndThePreparedSamplerMatches) {
    struct Case {
        ModelParameter record;
        std::function<long double()> direct;
    };
    std::vector<Case> cases = {
        {Record(K::Normal, "3", "2"), [] { return RandG(3, 2); }},
        {Record(K::Normal, "3", "0"), [] { return RandG(3, 0); }},
        {Record(K::Rectangular, "5", "2"), [] { return SampleRectangular(5, 2); }},
        {Record(K::Triangular, "5", "2"), [] { return SampleTriangular(3, 7, 5); }},
        {Record(K::Triangular, "5", "-2"), [] { return SampleTriangular(3, 7, 5); }},
        {Record(K::Triangular, "1E10", "1E-10"),
         [] { return SampleTriangular(1e10L - 1e-10L, 1e10L + 1e-10L, 1e10L); }},
        {Record(K::Constante, "7.25"), [] { return 7.25L; }},
        {Record(K::Gamma, "0.5"), [] { return SampleGammaSmall(0.5L); }},
        {Record(K::Gamma, "1"), [] { return SampleExponential(); }},
        {Record(K::Gamma, "4.5"), [] { return SampleGammaLarge(4.5L); }},
        {Record(K::Exponencial, ""), [] { return SampleExponential(); }},
        {Record(K::Beta, "5", "2"), [] { return SampleBeta(5, 2); }},
        {Record(K::Beta, "2", "5"), [] { return SampleBeta(2, 5); }},
        {Record(K::Beta, "0.4", "0.6"), [] { return SampleBeta(0.4L, 0.6L); }},
        {Record(K::Student, "1", ""), [] { return SampleStudent(1, 0); }},
        {Record(K::Student, "5", "2.5"), [] { return SampleStudent(5, 2.5L); }},
        {Record(K::Poisson, "3.5"), [] { return SamplePoisson(3.5L); }},
        {Record(K::Poisson, "10.0001"), [] { return SamplePoisson(10.0001L); }},
        {Record(K::Poisson, "250"), [] { return SamplePoisson(250); }},
        // n is rounded to the nearest integer, halves to even.
        {Record(K::Binomial, "10.5", "0.3"), [] { return SampleBinomial(10, 0.3L); }},
        {Record(K::Binomial, "11.5", "0.3"), [] { return SampleBinomial(12, 0.3L); }},
        {Record(K::Binomial, "200", "0.7"), [] { return SampleBinomial(200, 0.7L); }},
        {Record(K::NegBinomial, "2.5", "0.4"), [] { return SampleNegBinomial(2, 0.4L); }},
        {Record(K::NegBinomial, "3.5", "0.4"), [] { return SampleNegBinomial(4, 0.4L); }},
        {Record(K::NegBinomial, "3", "0.8"), [] { return SampleNegBinomial(3, 0.8L); }},
        {Record(K::NegBinomial, "20000", "0.6"), [] { return SampleNegBinomial(20000, 0.6L); }},
        {Record(K::NegBinomial, "20000", "0.9"), [] { return SampleNegBinomial(20000, 0.9L); }},
        {Record(K::VonMises, "0.3"), [] { return SampleVonMises(0.3L); }},
        {Record(K::VonMises, "9.99"), [] { return SampleVonMises(9.99L); }},
        {Record(K::Cauchy, ""), [] { return SampleCauchy(); }},
        {Record(K::Weibull, "2"), [] { return SampleWeibull(2); }},
        {Record(K::XiCuadrado, "1"), [] { return SampleChiSquare(1); }},
        {Record(K::XiCuadrado, "2.5"), [] { return SampleChiSquare(2); }},
        {Record(K::XiCuadrado, "3.5"), [] { return SampleChiSquare(4); }},
        {Record(K::LogNormal, "2", "0.5"), [] { return SampleLogNormal(2, 0.5L); }},
        {Record(K::LogNormal, "0.5", "0.1"), [] { return SampleLogNormal(0.5L, 0.1L); }},
        {Record(K::Experimental, "2", "0.5", "Student", "3"),
         [] { return SampleStudent(3, 0) * 0.5L + 2; }},
        {Record(K::Experimental, "2", "0.5", "Normal", "3"), [] { return RandG(2, 0.5L); }},
        // Any keyword other than "Normal" draws the t distribution.
        {Record(K::Experimental, "2", "0.5", "normal", "3"),
         [] { return SampleExperimental(2, 0.5L, 3, "Student"); }},
    };
    // Degenerate parameters: their value, after the one uniform they still consume.
    const std::pair<ModelParameter, long double> degenerate[] = {
        // clang-format off
        {Record(K::Rectangular, "5", "0"), 5}, {Record(K::Triangular, "5", "0"), 5},
        {Record(K::Poisson, "0"), 0}, {Record(K::Poisson, "-3"), 0}, {Record(K::Poisson, "-1E4000"), 0},
        {Record(K::Binomial, "10", "0"), 0}, {Record(K::Binomial, "10", "1"), 10},
        {Record(K::Binomial, "10", "1.5"), 10}, {Record(K::Binomial, "10", "-0.5"), 0},
        {Record(K::Binomial, "0", "0.3"), 0}, {Record(K::Binomial, "-5", "0.3"), 0},
        {Record(K::Binomial, "-100", "-0.5"), 0}, {Record(K::NegBinomial, "5", "0"), 0},
        {Record(K::NegBinomial, "0.4", "0.5"), 0}, {Record(K::NegBinomial, "-3", "0.9"), 0},
        {Record(K::NegBinomial, "-5", "-0.5"), 0}, {Record(K::NegBinomial, "0", "1"), 0},
        {Record(K::NegBinomial, "-2", "1.5"), 0}, {Record(K::Gamma, "0"), 0},
        {Record(K::Gamma, "-2"), 0},
        // clang-format on
    };
    for (const auto& [record, value] : degenerate)
        cases.push_back({record, [value = value] { return RandomUniform(), value; }});
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.record));
        const int count = c.record.Kind() == K::VonMises ? 300 : 2000;
        const PreparedSampler sampler(c.record);
        for (std::uint32_t seed : {1u, 3000000000u}) {
            UniformSeed = seed;
            std::vector<long double> direct;
            for (int i = 0; i < count; ++i)
                direct.push_back(c.direct());
            const std::uint32_t after = UniformSeed;
            UniformSeed = seed;
            for (int i = 0; i < count; ++i)
                ASSERT_EQ(SampleParameter(c.record), direct[i]) << "draw " << i;
            EXPECT_EQ(UniformSeed, after);
            UniformSeed = seed;
            for (int i = 0; i < count; ++i)
                ASSERT_EQ(sampler.Draw(), direct[i]) << "prepared draw " << i;
            EXPECT_EQ(UniformSeed, after);
        }
    }
}

// Parameters whose plain algorithm would never finish (e.g. (1 - p)^n underflows) end quickly
// near their mean.
TEST(SampleParameter, LargeParametersFinish) {
    struct Case {
        ModelParameter record;
        long double mean, deviation;
    };
    const Case cases[] = {
        {Record(K::NegBinomial, "1E9", "0.5"), 1e9L, std::sqrt(2e9L)},
        {Record(K::NegBinomial, "30000", "0.3"), 30000 * 0.3L / 0.7L,
         std::sqrt(30000 * 0.3L) / 0.7L},
        {Record(K::NegBinomial, "1E9", "0.9"), 9e9L, std::sqrt(9e8L) / 0.1L},
        {Record(K::Poisson, "1E15"), 1e15L, std::sqrt(1e15L)},
        {Record(K::Binomial, "1E15", "0.5"), 5e14L, std::sqrt(2.5e14L)},
        {Record(K::Binomial, "1E15", "0.999"), 0.999e15L, std::sqrt(0.999e12L)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.record));
        UniformSeed = 31337;
        const PreparedSampler sampler(c.record);
        for (int i = 0; i < 100; ++i)
            ASSERT_LT(std::fabs(sampler.Draw() - c.mean), 6 * c.deviation);
    }
}

// Unconvertible texts and parameters outside the domain fail with the system's texts before any
// uniform is drawn; the prepared sampler fails the same way at every draw.
TEST(SampleParameter, RefusesWhatCannotBeDrawn) {
    using Fault = std::pair<FaultKind, std::string>;
    const Fault division{FaultKind::DivisionByZero, "Floating point division by zero"};
    const Fault invalid{FaultKind::InvalidOperation, "Invalid floating point operation"};
    const auto notReal = [](std::string t) {
        return Fault{FaultKind::Conversion, "'" + t + "' is not a valid floating point value"};
    };
    const auto notInteger = [](std::string t) {
        return Fault{FaultKind::Conversion, "'" + t + "' is not a valid integer value"};
    };
    const std::pair<ModelParameter, Fault> cases[] = {
        {Record(K::Normal, "abc", "1"), notReal("abc")},
        {Record(K::Normal, "abc", "x"), notReal("abc")},
        {Record(K::Normal, "1", "1,5"), notReal("1,5")},
        {Record(K::Constante, ""), notReal("")},
        {Record(K::Student, "2.5", ""), notInteger("2.5")},
        {Record(K::Student, "3", "m"), notReal("m")},
        {Record(K::Experimental, "1", "0.1", "Normal", ""), notInteger("")},
        {Record(K::Experimental, "1", "", "Normal", "3"), notReal("")},
        {Record(K::Binomial, "ten", "0.5"), notReal("ten")},
        {Record(K::LogNormal, "2", "s"), notReal("s")},
        // No degrees of freedom: the t option of a single reading.
        {Record(K::Student, "0", ""), division},
        {Record(K::Experimental, "1", "0.1", "Student", "0"), division},
        // clang-format off
        {Record(K::Student, "-2", ""), invalid}, {Record(K::Beta, "2", "0"), division},
        {Record(K::Beta, "-1", "2"), invalid}, {Record(K::Weibull, "0"), division},
        {Record(K::LogNormal, "0", "1"), division}, {Record(K::LogNormal, "-2", "1"), invalid},
        {Record(K::NegBinomial, "3", "1"), division}, {Record(K::NegBinomial, "3", "1.5"), invalid},
        {Record(K::VonMises, "2000"), invalid}, {Record(K::Binomial, "1E19", "0.5"), invalid},
        {Record(K::XiCuadrado, "-1E30"), invalid}, {Record(K::Noname, "1"), invalid},
        {Record(K::Intermedio, "1"), invalid}, {Record(K::Resultado, "1"), invalid},
        {Record(static_cast<K>(25), "1"), invalid},
        // clang-format on
    };
    for (const auto& [record, fault] : cases) {
        SCOPED_TRACE(Describe(record));
        const PreparedSampler sampler(record);
        EXPECT_TRUE(sampler.Failure());
        UniformSeed = 7;
        for (int i = 0; i < 3; ++i) {
            try {
                i == 0 ? SampleParameter(record) : sampler.Draw();
                ADD_FAILURE() << "no error at call " << i;
            } catch (const CalcError& e) {
                EXPECT_EQ(std::pair(e.Kind(), std::string(e.what())), fault);
            }
        }
        EXPECT_EQ(UniformSeed, 7u);
    }
    // A mean so large that the deviate leaves the 64-bit range fails at the draw.
    EXPECT_THROW(SampleParameter(Record(K::Poisson, "1E30")), CalcError);
    EXPECT_THROW(PreparedSampler(Record(K::Poisson, "1E30")).Draw(), CalcError);
}

TEST(RoundHalfEven, RoundsHalvesToEven) {
    const std::pair<long double, std::int64_t> cases[] = {// clang-format off
        {0.5L, 0}, {1.5L, 2}, {2.5L, 2}, {3.5L, 4}, {-0.5L, 0}, {-1.5L, -2}, {-2.5L, -2},
        {2.51L, 3}, {2.4999999L, 2}, {-2.51L, -3}, {7, 7}, {0, 0}, {1e18L, 1000000000000000000LL}};
    // clang-format on
    for (const auto& [x, rounded] : cases)
        EXPECT_EQ(RoundHalfEven(x), rounded) << static_cast<double>(x);
    for (long double x : {1e19L, -1e19L, 0x1p63L})
        EXPECT_THROW(RoundHalfEven(x), CalcError);
}

}  // namespace
}  // namespace corvanta
