#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "distributions/ModelParameter.h"
#include "distributions/Sampling.h"
#include "engine/Faults.h"

namespace corvanta {
namespace {

using K = DistributionKind;

ModelParameter Record(K kind, std::string valor, std::string a = "", std::string b = "",
                      std::string grados = "") {
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

// One record per kind and per algorithm branch.
std::vector<ModelParameter> EveryBranch() {
    return {
        Record(K::Normal, "3", "2"),
        Record(K::Rectangular, "5", "2"),
        Record(K::Triangular, "5", "2"),
        Record(K::Triangular, "1E10", "1E-10"),
        Record(K::Constante, "7.25"),
        Record(K::Gamma, "0.3"),
        Record(K::Gamma, "1"),
        Record(K::Gamma, "4.5"),
        Record(K::Exponencial, ""),
        Record(K::Beta, "5", "2"),
        Record(K::Beta, "2", "5"),
        Record(K::Beta, "0.4", "0.6"),
        Record(K::Student, "1", ""),
        Record(K::Student, "2", "3"),
        Record(K::Student, "12", "-4"),
        Record(K::Poisson, "3.5"),
        Record(K::Poisson, "10.0001"),
        Record(K::Poisson, "250"),
        Record(K::Binomial, "10", "0.1"),
        Record(K::Binomial, "200", "0.7"),
        Record(K::NegBinomial, "3", "0.8"),
        Record(K::NegBinomial, "5", "0.3"),
        Record(K::NegBinomial, "20000", "0.6"),
        Record(K::NegBinomial, "20000", "0.9"),
        Record(K::VonMises, "0.3"),
        Record(K::VonMises, "9.99"),
        Record(K::Cauchy, ""),
        Record(K::Weibull, "1.7"),
        Record(K::XiCuadrado, "1"),
        Record(K::XiCuadrado, "2"),
        Record(K::XiCuadrado, "9"),
        Record(K::LogNormal, "2", "0.5"),
        Record(K::Experimental, "2", "0.5", "Normal", "4"),
        Record(K::Experimental, "2", "0.5", "Student", "4"),
    };
}

std::string Describe(const ModelParameter& p) {
    return "kind " + std::to_string(p.Distrib) + " Valor=" + p.Valor + " a=" + p.a + " b=" + p.b;
}

TEST(PreparedSampler, DrawsExactlyWhatSampleParameterDraws) {
    for (const ModelParameter& p : EveryBranch()) {
        SCOPED_TRACE(Describe(p));
        const int count = p.Kind() == K::VonMises ? 300 : 3000;
        UniformSeed = 4242;
        std::vector<long double> expected;
        for (int i = 0; i < count; ++i)
            expected.push_back(SampleParameter(p));
        const std::uint32_t seedAfter = UniformSeed;

        const PreparedSampler sampler(p);
        UniformSeed = 4242;
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(sampler.Draw(), expected[i]) << "draw " << i;
        EXPECT_EQ(UniformSeed, seedAfter);
    }
}

// The record's texts reach the samplers as the table of kinds says.
TEST(SampleParameter, MapsTheRecordToItsSampler) {
    struct Case {
        ModelParameter record;
        std::function<long double()> direct;
    };
    const Case cases[] = {
        {Record(K::Normal, "3", "2"), [] { return RandG(3, 2); }},
        {Record(K::Normal, "3", "0"), [] { return RandG(3, 0); }},
        {Record(K::Rectangular, "5", "2"), [] { return SampleRectangular(5, 2); }},
        {Record(K::Triangular, "5", "2"), [] { return SampleTriangular(3, 7, 5); }},
        {Record(K::Triangular, "5", "-2"), [] { return SampleTriangular(3, 7, 5); }},
        {Record(K::Gamma, "0.5"), [] { return SampleGammaSmall(0.5L); }},
        {Record(K::Gamma, "1"), [] { return SampleExponential(); }},
        {Record(K::Gamma, "1.5"), [] { return SampleGammaLarge(1.5L); }},
        {Record(K::Beta, "2", "5"), [] { return SampleBeta(2, 5); }},
        {Record(K::Student, "5", ""), [] { return SampleStudent(5, 0); }},
        {Record(K::Student, "5", "2.5"), [] { return SampleStudent(5, 2.5L); }},
        {Record(K::Poisson, "4"), [] { return static_cast<long double>(SamplePoisson(4)); }},
        // n is rounded to the nearest integer, halves to even.
        {Record(K::Binomial, "10.5", "0.3"),
         [] { return static_cast<long double>(SampleBinomial(10, 0.3L)); }},
        {Record(K::Binomial, "11.5", "0.3"),
         [] { return static_cast<long double>(SampleBinomial(12, 0.3L)); }},
        {Record(K::NegBinomial, "2.5", "0.4"),
         [] { return static_cast<long double>(SampleNegBinomial(2, 0.4L)); }},
        {Record(K::NegBinomial, "3.5", "0.4"),
         [] { return static_cast<long double>(SampleNegBinomial(4, 0.4L)); }},
        {Record(K::VonMises, "2"), [] { return SampleVonMises(2); }},
        {Record(K::Cauchy, ""), [] { return SampleCauchy(); }},
        {Record(K::Weibull, "2"), [] { return SampleWeibull(2); }},
        {Record(K::XiCuadrado, "2.5"), [] { return SampleChiSquare(2); }},
        {Record(K::XiCuadrado, "3.5"), [] { return SampleChiSquare(4); }},
        {Record(K::LogNormal, "2", "0.5"), [] { return SampleLogNormal(2, 0.5L); }},
        {Record(K::Experimental, "2", "0.5", "Student", "3"),
         [] { return SampleStudent(3, 0) * 0.5L + 2; }},
        {Record(K::Experimental, "2", "0.5", "Normal", "3"), [] { return RandG(2, 0.5L); }},
        // Any keyword other than "Normal" draws the t distribution.
        {Record(K::Experimental, "2", "0.5", "normal", "3"),
         [] { return SampleExperimental(2, 0.5L, 3, "Student"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.record));
        for (std::uint32_t seed : {1u, 77u, 3000000000u}) {
            UniformSeed = seed;
            const long double direct = c.direct();
            const std::uint32_t after = UniformSeed;
            UniformSeed = seed;
            EXPECT_EQ(SampleParameter(c.record), direct);
            EXPECT_EQ(UniformSeed, after);
        }
    }
}

TEST(SampleParameter, DegenerateParametersGiveTheirValue) {
    struct Case {
        ModelParameter record;
        long double value;
        int uniformsPerDraw;  // -1: at least one
    };
    const Case cases[] = {
        {Record(K::Constante, "7.25"), 7.25L, 0},
        {Record(K::Rectangular, "5", "0"), 5, 1},
        {Record(K::Triangular, "5", "0"), 5, 1},
        {Record(K::Normal, "5", "0"), 5, -1},
        {Record(K::Poisson, "0"), 0, 1},
        {Record(K::Poisson, "-3"), 0, 1},
        {Record(K::Poisson, "-1E4000"), 0, 1},
        {Record(K::Binomial, "10", "0"), 0, 1},
        {Record(K::Binomial, "10", "1"), 10, 1},
        {Record(K::Binomial, "10", "1.5"), 10, 1},
        {Record(K::Binomial, "10", "-0.5"), 0, 1},
        {Record(K::Binomial, "0", "0.3"), 0, 1},
        {Record(K::Binomial, "-5", "0.3"), 0, 1},
        {Record(K::Binomial, "-100", "-0.5"), 0, 1},
        {Record(K::NegBinomial, "5", "0"), 0, 1},
        {Record(K::NegBinomial, "0.4", "0.5"), 0, 1},
        {Record(K::NegBinomial, "-3", "0.9"), 0, 1},
        {Record(K::NegBinomial, "-5", "-0.5"), 0, 1},
        {Record(K::NegBinomial, "0", "1"), 0, 1},
        {Record(K::NegBinomial, "-2", "1.5"), 0, 1},
        {Record(K::Gamma, "0"), 0, 1},
        {Record(K::Gamma, "-2"), 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.record));
        UniformSeed = 99;
        for (int i = 0; i < 200; ++i) {
            ASSERT_EQ(SampleParameter(c.record), c.value);
        }
        std::uint32_t expected = 99;
        for (int i = 0; i < 200 * c.uniformsPerDraw; ++i)
            expected = expected * 134775813u + 1u;
        if (c.uniformsPerDraw >= 0) {
            EXPECT_EQ(UniformSeed, expected);
        }
    }
}

// p = 0.8, n = 3: three geometric counts, then the inversion of the empty
// remainder, which draws one more uniform and adds nothing.
TEST(SampleNegBinomial, HighProbabilityIsASumOfGeometricCounts) {
    for (std::uint32_t seed : {5u, 123456u, 4000000000u}) {
        UniformSeed = seed;
        long double sum = 0;
        for (int i = 0; i < 3; ++i)
            sum += std::floor(std::log(RandomUniform()) / std::log(0.8L));
        RandomUniform();
        const std::uint32_t after = UniformSeed;
        UniformSeed = seed;
        EXPECT_EQ(SampleNegBinomial(3, 0.8L), static_cast<std::int64_t>(sum));
        EXPECT_EQ(UniformSeed, after);
    }
}

TEST(SampleBeta, SmallerFirstShapeIsTheMirrorOfTheSwappedShapes) {
    for (std::uint32_t seed : {5u, 123456u}) {
        UniformSeed = seed;
        const long double x = SampleBeta(5, 2);
        UniformSeed = seed;
        EXPECT_EQ(SampleBeta(2, 5), 1 - x);
    }
}

// Parameter sets whose plain algorithm would never finish, or would spend
// unbounded time per draw, end quickly near their mean.
TEST(SampleParameter, LargeParametersFinish) {
    struct Case {
        ModelParameter record;
        long double mean, deviation;
    };
    const Case cases[] = {
        // (1 - p)^n underflows: the plain inversion would loop for ever.
        {Record(K::NegBinomial, "1E9", "0.5"), 1e9L, std::sqrt(2e9L)},
        {Record(K::NegBinomial, "30000", "0.3"), 30000 * 0.3L / 0.7L,
         std::sqrt(30000 * 0.3L) / 0.7L},
        // A billion geometric counts per draw.
        {Record(K::NegBinomial, "1E9", "0.9"), 9e9L, std::sqrt(9e8L) / 0.1L},
        {Record(K::Poisson, "1E15"), 1e15L, std::sqrt(1e15L)},
        {Record(K::Binomial, "1E15", "0.5"), 5e14L, std::sqrt(2.5e14L)},
        {Record(K::Binomial, "1E15", "0.999"), 0.999e15L, std::sqrt(0.999e12L)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.record));
        UniformSeed = 31337;
        const PreparedSampler sampler(c.record);
        for (int i = 0; i < 100; ++i) {
            const long double x = sampler.Draw();
            ASSERT_LT(std::fabs(x - c.mean), 6 * c.deviation) << x;
        }
    }
}

// Texts that do not convert, and parameters outside the domain of the
// algorithm, fail with the system's texts before any uniform is drawn; the
// prepared sampler fails the same way at every draw.
TEST(SampleParameter, RefusesWhatCannotBeDrawn) {
    struct Case {
        ModelParameter record;
        FaultKind kind;
        const char* message;
    };
    const Case cases[] = {
        {Record(K::Normal, "abc", "1"), FaultKind::Conversion,
         "'abc' is not a valid floating point value"},
        {Record(K::Normal, "abc", "x"), FaultKind::Conversion,
         "'abc' is not a valid floating point value"},
        {Record(K::Normal, "1", "1,5"), FaultKind::Conversion,
         "'1,5' is not a valid floating point value"},
        {Record(K::Constante, ""), FaultKind::Conversion, "'' is not a valid floating point value"},
        {Record(K::Student, "2.5", ""), FaultKind::Conversion,
         "'2.5' is not a valid integer value"},
        {Record(K::Student, "3", "m"), FaultKind::Conversion,
         "'m' is not a valid floating point value"},
        {Record(K::Experimental, "1", "0.1", "Normal", ""), FaultKind::Conversion,
         "'' is not a valid integer value"},
        {Record(K::Experimental, "1", "", "Normal", "3"), FaultKind::Conversion,
         "'' is not a valid floating point value"},
        {Record(K::Binomial, "ten", "0.5"), FaultKind::Conversion,
         "'ten' is not a valid floating point value"},
        {Record(K::LogNormal, "2", "s"), FaultKind::Conversion,
         "'s' is not a valid floating point value"},
        // No degrees of freedom: the t option of a single reading.
        {Record(K::Student, "0", ""), FaultKind::DivisionByZero, "Floating point division by zero"},
        {Record(K::Experimental, "1", "0.1", "Student", "0"), FaultKind::DivisionByZero,
         "Floating point division by zero"},
        {Record(K::Student, "-2", ""), FaultKind::InvalidOperation,
         "Invalid floating point operation"},
        {Record(K::Beta, "2", "0"), FaultKind::DivisionByZero, "Floating point division by zero"},
        {Record(K::Beta, "-1", "2"), FaultKind::InvalidOperation,
         "Invalid floating point operation"},
        {Record(K::Weibull, "0"), FaultKind::DivisionByZero, "Floating point division by zero"},
        {Record(K::LogNormal, "0", "1"), FaultKind::DivisionByZero,
         "Floating point division by zero"},
        {Record(K::LogNormal, "-2", "1"), FaultKind::InvalidOperation,
         "Invalid floating point operation"},
        {Record(K::NegBinomial, "3", "1"), FaultKind::DivisionByZero,
         "Floating point division by zero"},
        {Record(K::NegBinomial, "3", "1.5"), FaultKind::InvalidOperation,
         "Invalid floating point operation"},
        {Record(K::VonMises, "2000"), FaultKind::InvalidOperation,
         "Invalid floating point operation"},
        {Record(K::Binomial, "1E19", "0.5"), FaultKind::InvalidOperation,
         "Invalid floating point operation"},
        {Record(K::XiCuadrado, "-1E30"), FaultKind::InvalidOperation,
         "Invalid floating point operation"},
        {Record(K::Noname, "1"), FaultKind::InvalidOperation, "Invalid floating point operation"},
        {Record(K::Intermedio, "1"), FaultKind::InvalidOperation,
         "Invalid floating point operation"},
        {Record(K::Resultado, "1"), FaultKind::InvalidOperation,
         "Invalid floating point operation"},
        {Record(static_cast<K>(25), "1"), FaultKind::InvalidOperation,
         "Invalid floating point operation"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.record));
        UniformSeed = 7;
        try {
            SampleParameter(c.record);
            ADD_FAILURE() << "no error";
        } catch (const CalcError& e) {
            EXPECT_EQ(e.Kind(), c.kind);
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(UniformSeed, 7u);

        const PreparedSampler sampler(c.record);
        EXPECT_TRUE(sampler.Failure());
        for (int i = 0; i < 2; ++i) {
            try {
                sampler.Draw();
                ADD_FAILURE() << "no error";
            } catch (const CalcError& e) {
                EXPECT_EQ(e.Kind(), c.kind);
                EXPECT_STREQ(e.what(), c.message);
            }
        }
        EXPECT_EQ(UniformSeed, 7u);
    }
}

// A mean so large that the deviate leaves the 64-bit range fails at the draw.
TEST(SamplePoisson, MeanBeyondTheIntegerRangeFails) {
    UniformSeed = 11;
    EXPECT_THROW(SampleParameter(Record(K::Poisson, "1E30")), CalcError);
    EXPECT_THROW(PreparedSampler(Record(K::Poisson, "1E30")).Draw(), CalcError);
}

TEST(RoundHalfEven, RoundsHalvesToEven) {
    struct Case {
        long double x;
        std::int64_t rounded;
    };
    const Case cases[] = {{0.5L, 0},
                          {1.5L, 2},
                          {2.5L, 2},
                          {3.5L, 4},
                          {-0.5L, 0},
                          {-1.5L, -2},
                          {-2.5L, -2},
                          {2.4999999L, 2},
                          {2.51L, 3},
                          {-2.51L, -3},
                          {7, 7},
                          {0, 0},
                          {1e18L, 1000000000000000000LL}};
    for (const Case& c : cases)
        EXPECT_EQ(RoundHalfEven(c.x), c.rounded) << static_cast<double>(c.x);
    for (long double x : {1e19L, -1e19L, 0x1p63L})
        EXPECT_THROW(RoundHalfEven(x), CalcError);
}

}  // namespace
}  // namespace corvanta
