// Quantile functions, the checks of correlation entries and the joint draw.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "distributions/Correlations.h"
#include "distributions/Quantiles.h"
#include "distributions/Sampling.h"
#include "support/Records.h"

namespace corvanta {
namespace {

using testing::Record;
using K = DistributionKind;

struct QuantileCase {
    ModelParameter Record;
    long double P;
    long double Expected;
};

TEST(Quantile, KnownValuesOfEveryKind) {
    const long double tStudent2 = 0.8L / std::sqrt(0.18L);  // nu = 2 at p = 0.9
    // clang-format off
    const QuantileCase cases[] = {
        {Record(K::Normal, "10", "2"), 0.975L, 13.919927969080108L},
        {Record(K::Normal, "10", "-2"), 0.025L, 6.080072030919892L},
        {Record(K::Rectangular, "5", "2"), 0.25L, 4}, {Record(K::Triangular, "5", "2"), 0.125L, 4},
        {Record(K::Triangular, "5", "2"), 0.875L, 6},
        {Record(K::Gamma, "1"), 0.5L, std::numbers::ln2_v<long double>},
        {Record(K::Gamma, "2"), 0.5L, 1.6783469900166608L},
        {Record(K::Exponencial, ""), 0.9L, std::numbers::ln10_v<long double>},
        {Record(K::Beta, "2", "1"), 0.25L, 0.5L}, {Record(K::Beta, "2", "2"), 0.5L, 0.5L},
        {Record(K::Student, "1", "0"), 0.75L, 1},
        {Record(K::Student, "2", "3"), 0.9L, 3 + tStudent2},
        {Record(K::Student, "2", ""), 0.1L, -tStudent2}, {Record(K::Poisson, "4"), 0.4L, 3},
        {Record(K::Poisson, "4"), 0.5L, 4}, {Record(K::Binomial, "20", "0.3"), 0.5L, 6},
        {Record(K::NegBinomial, "1", "0.5"), 0.74L, 1},
        {Record(K::NegBinomial, "1", "0.5"), 0.8L, 2}, {Record(K::VonMises, "2"), 0.5L, 0},
        {Record(K::Weibull, "2"), 0.5L, 0.8325546111576977L},
        {Record(K::XiCuadrado, "2"), 0.95L, 5.991464547107979L},
        {Record(K::LogNormal, "2", "1"), 0.5L, 1.7888543819998317L},
        {Record(K::LogNormal, "2", "1"), 0.1L, 0.976476245216642L},
        {Record(K::UShaped, "0", "0.5"), 0.25L, -0.3535533905932738L},
        {Record(K::Trapezoidal, "0", "1", "0.5"), 0.1L, -0.6127016653792583L},
        {Record(K::Trapezoidal, "0", "1", "0.5"), 0.3L, -0.3L},
        {Record(K::CurvilinearTrapezoid, "0", "1", "0"), 0.25L, -0.5L},
        {Record(K::CurvilinearTrapezoid, "0", "1", "0.5"), 0.4L, -0.18204784532536747L},
        {Record(K::AsymmetricTriangular, "0.5", "0", "1"), 0.125L, 0.25L},
        {Record(K::Experimental, "1", "0.5", "Normal", "9"), 0.975L, 1.979981992270027L},
        {Record(K::Experimental, "1", "0.5", "Student", "2"), 0.9L, 1 + tStudent2 / 2},
    };
    // clang-format on
    for (const QuantileCase& c : cases) {
        const Marginal m(c.Record);
        EXPECT_NEAR(static_cast<double>(Quantile(m, c.P)), static_cast<double>(c.Expected),
                    1e-14 * (1 + std::fabs(static_cast<double>(c.Expected))))
            << c.Record.Distrib << " at " << static_cast<double>(c.P);
    }
}

TEST(Quantile, VonMisesInvertsItsDistributionFunction) {
    // The mass of exp(2 cos t) from -pi to the quantile, by Simpson's rule.
    for (long double p : {1e-6L, 0.01L, 0.3L, 0.7L, 0.999L}) {
        const long double x = Quantile(Marginal(Record(K::VonMises, "2")), p);
        const auto mass = [](long double to) {
            const int n = 20000;
            const long double h = (to + std::numbers::pi_v<long double>) / n;
            long double s = 0;
            for (int i = 0; i <= n; ++i) {
                const long double t = -std::numbers::pi_v<long double> + i * h;
                s += std::exp(2 * std::cos(t)) * (i == 0 || i == n ? 1 : i % 2 ? 4 : 2);
            }
            return s * h / 3;
        };
        EXPECT_NEAR(static_cast<double>(mass(x) / mass(std::numbers::pi_v<long double>)),
                    static_cast<double>(p), 1e-13);
    }
}

ParameterList Inputs(std::vector<ModelParameter> records) {
    ParameterList list{Record(K::Resultado, "")};
    list[0].Nombre = "y";
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].Nombre = "x" + std::to_string(i + 1);
        list.push_back(records[i]);
    }
    return list;
}

const ModelParameter kNormal = Record(K::Normal, "0", "1");

TEST(CorrelationEntry, RefusesEveryKindOfBadEntry) {
    const ParameterList list = Inputs({kNormal, kNormal, kNormal});
    const CorrelationList earlier{{"x2", "x1", 0.5}};
    struct Case {
        const char *First, *Second, *Coefficient, *Why;
    } cases[] = {
        {"x1", "x9", "0.5", "\"x9\" names no quantity of the model"},
        {"y", "x1", "0.5", "\"y\" is not an input quantity"},
        {"x1", "x1", "0.5", "\"x1\" is paired with itself"},
        {"x1", "x2", "0.1", "the pair \"x1\", \"x2\" is given twice"},
        {"x1", "", "0.5", "\"\" names no quantity of the model"},
        {"x2", "x3", "0,5", "'0,5' is not a valid floating point value"},
        {"x2", "x3", "-1.0001",
         "the coefficient -1.0001 of \"x2\" and \"x3\" is not between -1 and 1"},
    };
    Correlation entry;
    for (const Case& c : cases)
        EXPECT_EQ(CheckCorrelationEntry(list, earlier, c.First, c.Second, c.Coefficient, entry),
                  std::optional<std::string>(c.Why));
    EXPECT_EQ(CheckCorrelationEntry(list, {}, "x2", "x1", "-1", entry), std::nullopt);
    EXPECT_EQ(entry, (Correlation{"x2", "x1", -1}));
}

TEST(CorrelationMatrix, ReadsWhatASpreadsheetPastesAndRefusesTheRest) {
    const ParameterList list = Inputs({kNormal, kNormal, kNormal});
    const std::vector<std::string> names = InputNames(list);
    ASSERT_EQ(names, (std::vector<std::string>{"x1", "x2", "x3"}));
    const CorrelationList pairs{{"x1", "x3", -0.25}, {"x2", "x3", 0.5}};
    EXPECT_EQ(CorrelationMatrixText(names, pairs), "1\t0\t-0.25\n0\t1\t0.5\n-0.25\t0.5\t1\n");
    const char* const size =
        "the matrix needs 3 rows of 3 coefficients, one for each input quantity";
    struct Case {
        const char* Text;
        CorrelationList List;
        const char* Fault;  // nullptr: read
    } cases[] = {
        {"1\t0\t-0.25\n0\t1\t0.5\n-0.25\t0.5\t1\n", pairs, nullptr},
        // CR LF, blanks, blank lines at the end, halves and the diagonal left empty.
        {" 1 \t\t-0.25\r\n\t\t0.5\r\n\t\t\r\n\r\n", pairs, nullptr},
        {"\t\t\n\t\t\n-0.25\t0.5\t\n", pairs, nullptr},
        {"1\t0\n0\t1\n", {}, size},
        {"1\t0\t0\t0\n0\t1\t0\n0\t0\t1\n", {}, size},
        {"1\t0\t0\n0\t1\t0\n0\t0\t1\n0\t0\t0\n", {}, size},
        {"1\tr\t0\n\t1\t0\n\t\t1\n", {}, "'r' is not a valid floating point value"},
        {"1\t0\t0\nx\t1\t0\n\t\t1\n", {}, "'x' is not a valid floating point value"},
        {"2\t0\t0\n\t1\t0\n\t\t1\n", {}, "the coefficient of \"x1\" with itself is 2, not 1"},
        {"1\t0\t0\n\t1\t0\n\t0,5\t1\n", {}, "'0,5' is not a valid floating point value"},
        {"1\t0\t0\n\t0.9\t0\n\t\t1\n", {}, "the coefficient of \"x2\" with itself is 0.9, not 1"},
        {"1\t0.5\t0\n0.4\t1\t0\n\t\t1\n",
         {},
         "the coefficient of \"x1\" and \"x2\" is 0.5 above the diagonal and 0.4 below it"},
        {"1\t1.5\t0\n\t1\t0\n\t\t1\n",
         {},
         "the coefficient 1.5 of \"x1\" and \"x2\" is not between -1 and 1"},
    };
    for (const Case& c : cases) {
        const MatrixReading reading = ReadCorrelationMatrix(c.Text, names, list);
        EXPECT_EQ(reading.Fault, c.Fault ? std::optional<std::string>(c.Fault) : std::nullopt)
            << c.Text;
        if (!c.Fault) {
            EXPECT_EQ(reading.List, c.List) << c.Text;
        }
    }
}

TEST(CorrelationList, SetLookUpAndSurviveAnUpdate) {
    CorrelationList list;
    SetCorrelation(list, "a", "b", 0.5);
    SetCorrelation(list, "b", "a", 0.25);
    SetCorrelation(list, "a", "c", -0.5);
    EXPECT_EQ(list, (CorrelationList{{"a", "b", 0.25}, {"a", "c", -0.5}}));
    EXPECT_EQ(CorrelationOf(list, "c", "a"), -0.5);
    EXPECT_EQ(CorrelationOf(list, "b", "c"), 0);
    SetCorrelation(list, "b", "a", 0);
    EXPECT_EQ(list, (CorrelationList{{"a", "c", -0.5}}));
    // c is now computed, d is gone: only pairs of two inputs stay.
    ParameterList updated = Inputs({kNormal, kNormal});
    updated[1].Nombre = "a", updated[2].Nombre = "b", updated[0].Nombre = "c";
    EXPECT_TRUE(SurvivingCorrelations({{"a", "c", 0.5}, {"a", "d", 0.1}}, updated).empty());
    EXPECT_EQ(SurvivingCorrelations({{"b", "a", 0.5}}, updated),
              (CorrelationList{{"b", "a", 0.5}}));
}

TEST(JointSampler, RefusesWhatCannotBeDrawnNamingTheQuantities) {
    const std::string noVariance = " cannot be correlated: its distribution has no variance.",
                      unreachable = " cannot be reached by their distributions ";
    struct Case {
        std::vector<ModelParameter> Records;
        CorrelationList List;
        std::string Message;
    } cases[] = {
        // clang-format off

        {{Record(K::Constante, "3"), kNormal}, {{"x1", "x2", 0.5}},
         "\"x1\" is a constant and cannot be correlated."},
        {{kNormal, Record(K::Cauchy, "")}, {{"x1", "x2", 0.5}}, "\"x2\"" + noVariance},
        {{kNormal, Record(K::Student, "2", "0")}, {{"x2", "x1", 0.5}}, "\"x2\"" + noVariance},
        {{kNormal, Record(K::Binomial, "0", "0.5")}, {{"x1", "x2", 0.5}}, "\"x2\"" + noVariance},
        {{Record(K::Normal, "0", "0"), kNormal}, {{"x2", "x1", 0.5}}, "\"x1\"" + noVariance},
        {{Record(K::Exponencial, ""), Record(K::Exponencial, "")}, {{"x1", "x2", -0.8}},
         "The coefficient -0.8 of \"x1\" and \"x2\"" + unreachable + "(from -0.6449 to 1)."},
        {{kNormal, Record(K::Rectangular, "0", "1")}, {{"x1", "x2", 1}},
         "The coefficient 1 of \"x1\" and \"x2\"" + unreachable + "(from -0.9772 to 0.9772)."},
        // Discrete pairs: the series' error bound is relative to the variances.
        {{Record(K::Poisson, "4"), Record(K::Poisson, "9")}, {{"x1", "x2", -1}},
         "The coefficient -1 of \"x1\" and \"x2\"" + unreachable + "(from -0.9637 to 0.9838)."},
        {{kNormal, Record(K::NegBinomial, "3", "1")}, {{"x1", "x2", 0.5}},
         "\"x2\" cannot be correlated: Invalid floating point operation."},
        {{kNormal, kNormal, kNormal}, {{"x1", "x2", 0.9}, {"x1", "x3", 0.9}, {"x2", "x3", -0.9}},
         "The coefficients of \"x1\", \"x2\" and \"x3\" do not form a positive semi-definite "
         "matrix."},
        // clang-format on
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckCorrelations(Inputs(c.Records), c.List),
                  std::optional<std::string>(c.Message));
    // Perfect correlation of equal marginals is a semi-definite matrix.
    EXPECT_EQ(CheckCorrelations(
                  Inputs({Record(K::Rectangular, "0", "1"), Record(K::Rectangular, "0", "1")}),
                  {{"x1", "x2", 1}}),
              std::nullopt);
    // One trial has a variance: a Bernoulli input can be correlated.
    EXPECT_EQ(
        CheckCorrelations(Inputs({kNormal, Record(K::Binomial, "1", "0.5")}), {{"x1", "x2", 0.5}}),
        std::nullopt);
}

// The sample correlation of n joint draws and its standard error from the sample's own fourth
// moments (the delta method for Pearson's coefficient).
std::pair<double, double> Correlate(const JointSampler& sampler, int n) {
    std::vector<std::array<long double, 2>> d(n);
    long double mx = 0, my = 0;
    for (auto& pair : d) {
        sampler.Draw(pair.data());
        mx += pair[0], my += pair[1];
    }
    long double sxx = 0, syy = 0, sxy = 0, s22 = 0, s40 = 0, s04 = 0, s31 = 0, s13 = 0;
    for (auto [x, y] : d) {
        x -= mx / n, y -= my / n;
        sxx += x * x, syy += y * y, sxy += x * y, s22 += x * x * y * y;
        s40 += x * x * x * x, s04 += y * y * y * y, s31 += x * x * x * y, s13 += x * y * y * y;
    }
    const long double r = sxy / std::sqrt(sxx * syy), vx = sxx / n, vy = syy / n;
    const long double m22 = s22 / (vx * vy), m40 = s40 / (vx * vx), m04 = s04 / (vy * vy),
                      m31 = s31 / (vx * std::sqrt(vx * vy)), m13 = s13 / (vy * std::sqrt(vx * vy));
    const long double v = (m22 + r * r / 4 * (m40 + m04 + 2 * m22) - r * (m31 + m13)) / n;
    return {static_cast<double>(r), static_cast<double>(std::sqrt(v / n))};
}

TEST(JointSampler, DrawsEveryKindWithTheCoefficientAsItsCorrelation) {
    // clang-format off
    const ModelParameter kinds[] = {
        Record(K::Normal, "1", "2"), Record(K::Rectangular, "0", "1"), Record(K::Triangular, "0", "1"),
        Record(K::Gamma, "3"), Record(K::Exponencial, ""), Record(K::Beta, "2", "3"),
        Record(K::Student, "10", "0"), Record(K::Poisson, "4"), Record(K::Binomial, "20", "0.3"),
        Record(K::NegBinomial, "5", "0.4"), Record(K::VonMises, "2"), Record(K::Weibull, "2"),
        Record(K::XiCuadrado, "5"), Record(K::LogNormal, "1", "0.3"),
        Record(K::Experimental, "1", "0.5", "Student", "9")};
    // clang-format on
    UniformSeed = 20071;
    for (const ModelParameter& kind : kinds) {
        // Kinds whose quantile is an iterative inversion get fewer draws (the tolerance follows).
        const bool iterative = kind.Kind() == K::Beta || kind.Kind() == K::Student ||
                               kind.Kind() == K::VonMises || kind.Kind() == K::Experimental ||
                               kind.Kind() == K::Gamma || kind.Kind() == K::XiCuadrado;
        const int n = iterative ? 100000 : 1000000;
        for (double r : {0.5, -0.8}) {
            // Beside a normal input, and beside one of its own kind where they reach r.
            for (bool sameKind : {false, true}) {
                if (sameKind &&
                    (r < 0 || (kind.Kind() != K::Rectangular && kind.Kind() != K::Exponencial &&
                               kind.Kind() != K::Poisson)))
                    continue;
                const ParameterList list = Inputs({kind, sameKind ? kind : kNormal});
                const JointSampler sampler(list, {1, 2}, {{"x1", "x2", r}});
                const auto [sampled, standardError] = Correlate(sampler, n);
                EXPECT_NEAR(sampled, r, 5 * standardError)
                    << kind.Distrib << (sameKind ? " with itself" : " with a normal");
            }
        }
    }
}

TEST(JointSampler, TwoNormalsTakeTheCoefficientItself) {
    const ParameterList list = Inputs({kNormal, Record(K::Experimental, "0", "3", "Normal", "4")});
    EXPECT_EQ(JointSampler(list, {1, 2}, {{"x1", "x2", 0.37}}).CopulaCoefficient(0, 1),
              static_cast<long double>(0.37));
    const ParameterList mixed = Inputs({kNormal, Record(K::Rectangular, "0", "1")});
    // Corr(Z, F(Z)) = sqrt(3/pi) for perfect dependence, so rho = r / sqrt(3/pi).
    EXPECT_NEAR(static_cast<double>(
                    JointSampler(mixed, {1, 2}, {{"x1", "x2", 0.5}}).CopulaCoefficient(1, 0)),
                0.5 / std::sqrt(3 / std::numbers::pi), 1e-9);
}

}  // namespace
}  // namespace corvanta
