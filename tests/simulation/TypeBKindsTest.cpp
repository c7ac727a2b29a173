// The U-shaped, trapezoidal, curvilinear trapezoid and asymmetric triangular
// kinds: 10^6 draws from a fixed seed against the exact distribution, the
// quantile function against the exact distribution function, and the GUM
// framework's expectation and standard uncertainty against the exact moments.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "distributions/Quantiles.h"
#include "distributions/Sampling.h"
#include "engine/Faults.h"
#include "simulation/GumFramework.h"
#include "support/Records.h"

namespace corvanta {
namespace {

using K = DistributionKind;
using testing::Record;
constexpr double kPi = 3.14159265358979323846;

// Trapezoid on [-1, 3], top 0.4 of the base: sides of width 1.2, height 1/2.8.
double TrapezoidCdf(double x) {
    const auto lowerHalf = [](double y) {  // y: distance above -1, up to the midpoint
        return y <= 1.2 ? y * y / (2 * 1.2 * 2.8) : 1.2 / 5.6 + (y - 1.2) / 2.8;
    };
    if (x <= -1) return 0;
    if (x >= 3) return 1;
    return x <= 1 ? lowerHalf(x + 1) : 1 - lowerHalf(3 - x);
}

// Half-width 1 about 0, limits inexact by d = 0.3: flat within 0.7, then
// ln(1.3 / y) / 1.2 at a distance y.
double CurvilinearCdf(double x) {
    const double y = std::min(std::fabs(x), 1.3);
    const double mass = y <= 0.7 ? y * std::log(1.3 / 0.7) / 1.2
                                 : (y * std::log(1.3 / y) + y - 0.7) / 1.2;  // from 0 to y
    return x < 0 ? 0.5 - mass : 0.5 + mass;
}

// Mode 1 within [0, 4].
double AsymmetricTriangularCdf(double x) {
    if (x <= 0) return 0;
    if (x >= 4) return 1;
    return x <= 1 ? x * x / 4 : 1 - (4 - x) * (4 - x) / 12;
}

struct KindCase {
    ModelParameter Record;
    double Mean, Variance;
    std::function<double(double)> Cdf;
};

TEST(TypeBKinds, DrawsQuantilesAndMomentsMatchTheExactDistributions) {
    const KindCase cases[] = {
        {Record(K::UShaped, "2", "0.5"), 2, 0.125,
         [](double x) { return 0.5 + std::asin(std::clamp((x - 2) / 0.5, -1.0, 1.0)) / kPi; }},
        {Record(K::Trapezoidal, "1", "2", "0.4"), 1, 4 * 1.16 / 6, TrapezoidCdf},
        {Record(K::CurvilinearTrapezoid, "0", "1", "0.3"), 0, 1.0 / 3 + 0.09 / 9, CurvilinearCdf},
        {Record(K::AsymmetricTriangular, "1", "0", "4"), 5.0 / 3, 13.0 / 18,
         AsymmetricTriangularCdf},
    };
    constexpr int n = 1000000;
    const double probabilities[] = {1e-4, 0.001, 0.02, 0.1, 0.3, 0.5, 0.7, 0.9, 0.98, 0.999};
    for (const KindCase& c : cases) {
        SCOPED_TRACE(DistributionPageName(c.Record.Distrib));
        PreparedSampler sampler(c.Record);
        UniformSeed = 20262026;
        std::vector<double> x(n);
        double sum = 0;
        for (double& v : x) {
            v = static_cast<double>(sampler.Draw());
            sum += v;
        }
        const double mean = sum / n;
        double m2 = 0, m4 = 0;
        for (double v : x) {
            const double d2 = (v - mean) * (v - mean);
            m2 += d2;
            m4 += d2 * d2;
        }
        m2 /= n;
        m4 /= n;
        // Five standard errors of the sample mean and variance.
        EXPECT_NEAR(mean, c.Mean, 5 * std::sqrt(c.Variance / n));
        EXPECT_NEAR(m2, c.Variance, 5 * std::sqrt((m4 - m2 * m2) / n));

        std::sort(x.begin(), x.end());
        const Marginal marginal(c.Record);
        for (double p : probabilities) {
            const double q = static_cast<double>(Quantile(marginal, p));
            EXPECT_NEAR(c.Cdf(q), p, 1e-12 + 1e-8 * p) << "p = " << p;
            const double below =
                static_cast<double>(std::upper_bound(x.begin(), x.end(), q) - x.begin()) / n;
            EXPECT_NEAR(below, p, 5 * std::sqrt(p * (1 - p) / n) + 1.0 / n) << "p = " << p;
        }

        const auto estimate = EstimateInput(c.Record);
        ASSERT_TRUE(estimate);
        EXPECT_NEAR(static_cast<double>(estimate->Expectation), c.Mean, 1e-15);
        EXPECT_NEAR(static_cast<double>(estimate->Uncertainty), std::sqrt(c.Variance), 1e-15);
        EXPECT_EQ(estimate->DegreesOfFreedom, kInfiniteDegrees);
    }
}

TEST(TypeBKinds, DegreesOfFreedomAreTheTypedOnesAndLeaveTheDrawsAlone) {
    for (K kind : {K::Normal, K::Rectangular, K::Triangular, K::UShaped, K::Trapezoidal,
                   K::CurvilinearTrapezoid, K::AsymmetricTriangular}) {
        ModelParameter typed = Record(kind, "1", "0.5", "0.25", "12.5");
        if (kind == K::AsymmetricTriangular) typed.b = "2";
        ModelParameter exact = typed;
        exact.Grados = "";
        SCOPED_TRACE(DistributionPageName(typed.Distrib));
        EXPECT_EQ(EstimateInput(typed)->DegreesOfFreedom, 12.5);
        EXPECT_EQ(EstimateInput(exact)->DegreesOfFreedom, kInfiniteDegrees);
        UniformSeed = 5;
        const long double first = SampleParameter(typed);
        UniformSeed = 5;
        EXPECT_EQ(first, SampleParameter(exact));
    }
}

TEST(TypeBKinds, ImproperParametersAreFaultsNotDraws) {
    for (const ModelParameter& p :
         {Record(K::Trapezoidal, "0", "1", "1.5"), Record(K::Trapezoidal, "0", "1", "-0.1"),
          Record(K::CurvilinearTrapezoid, "0", "1", "1"),
          Record(K::CurvilinearTrapezoid, "0", "1", "-0.5"),
          Record(K::AsymmetricTriangular, "5", "0", "4"),
          Record(K::AsymmetricTriangular, "-1", "0", "4")}) {
        SCOPED_TRACE(p.Valor + " " + p.a + " " + p.b);
        EXPECT_THROW(SampleParameter(p), CalcError);
        EXPECT_THROW(Marginal{p}, CalcError);
    }
    // The degenerate cases are the point of their midpoint or mode.
    EXPECT_EQ(SampleParameter(Record(K::CurvilinearTrapezoid, "3", "0", "0")), 3);
    EXPECT_EQ(SampleParameter(Record(K::AsymmetricTriangular, "2", "2", "2")), 2);
}

}  // namespace
}  // namespace corvanta
