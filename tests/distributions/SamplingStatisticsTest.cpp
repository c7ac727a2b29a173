#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "distributions/ModelParameter.h"
#include "distributions/Sampling.h"
#include "engine/NumberText.h"
#include "support/Records.h"

#ifdef CORVANTA_HAVE_BOOST
#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/gamma.hpp>
#include <boost/math/distributions/students_t.hpp>
#endif

// Every distribution, on both sides of each algorithm switch, drawn from a fixed seed against its
// exact law: Kolmogorov-Smirnov (bound 2.3 / sqrt(n)) for the continuous ones, chi-square (its
// 1 - 1e-5 quantile) for the discrete ones; about 1e-4 false alarms per case.
namespace corvanta {
namespace {

using K = DistributionKind;
using Cdf = std::function<double(double)>;
using Pmf = std::function<long double(std::int64_t)>;
constexpr double kPi = 3.14159265358979323846;

using testing::Record;

std::vector<long double> Draws(const ModelParameter& p, int count = 200000) {
    PreparedSampler sampler(p);
    UniformSeed = 987654321;
    std::vector<long double> x(static_cast<std::size_t>(count));
    for (long double& v : x)
        v = sampler.Draw();
    return x;
}

double Number(const char* text) {
    return static_cast<double>(ParseFloat(text));
}

// Whether the KS distance on about 4000 order statistics stays below its bound; a run of equal
// draws (an atom, such as the zeros for gamma deviates below 1.5E-45) is compared on both sides.
bool KsAccepts(const std::vector<long double>& draws, const Cdf& cdf) {
    std::vector<double> x(draws.begin(), draws.end());
    std::sort(x.begin(), x.end());
    const double n = static_cast<double>(x.size());
    double d = 0;
    for (std::size_t i = 0; i < x.size(); i += std::max<std::size_t>(1, x.size() / 4000)) {
        const auto [first, last] = std::equal_range(x.begin(), x.end(), x[i]);
        const double before = static_cast<double>(first - x.begin()) / n;
        const double after = static_cast<double>(last - x.begin()) / n;
        const double below = first == last - 1 ? cdf(x[i]) : cdf(std::nextafter(x[i], -1e308));
        d = std::max({d, below - before, after - cdf(x[i])});
    }
    return d < 2.3 / std::sqrt(n);
}

double NormalCdf(double x, double mean, double deviation) {
    return 0.5 * std::erfc(-(x - mean) / (deviation * std::sqrt(2.0)));
}

Cdf LogNormalCdf(double m, double s) {  // m, s: mean and deviation of the quantity itself
    const double sigma2 = std::log1p((s / m) * (s / m)), mu = std::log(m) - sigma2 / 2;
    return [=](double x) { return x <= 0 ? 0 : NormalCdf(std::log(x), mu, std::sqrt(sigma2)); };
}

double TriangularCdf(double x) {  // on [3, 7]
    const double t = std::clamp((x - 5) / 2, -1.0, 1.0);
    return t < 0 ? (1 + t) * (1 + t) / 2 : 1 - (1 - t) * (1 - t) / 2;
}

// exp(kappa cos t) on [-pi, pi] by Simpson's rule on a fine grid, linear in between.
constexpr int kCells = 1 << 14;
Cdf VonMisesCdf(double kappa) {
    const double h = 2 * kPi / kCells;
    auto f = [kappa](double t) { return std::exp(kappa * std::cos(t)); };
    std::vector<double> c(kCells + 1, 0.0);
    for (int i = 0; i < kCells; ++i) {
        const double a = -kPi + i * h;
        c[i + 1] = c[i] + h / 6 * (f(a) + 4 * f(a + h / 2) + f(a + h));
    }
    return [c, h](double x) {
        const double s = std::clamp((x + kPi) / h, 0.0, static_cast<double>(kCells));
        const int i = std::min(kCells - 1, static_cast<int>(s));
        return (c[i] + (s - i) * (c[i + 1] - c[i])) / c[kCells];
    };
}

#ifdef CORVANTA_HAVE_BOOST
namespace bm = boost::math;
template <class D>
Cdf Law(D d, double mean = 0) {
    return [=](double x) {
        const double y = x - mean;
        const auto [lo, hi] = bm::support(d);
        return y <= lo ? 0.0 : y >= hi ? 1.0 : bm::cdf(d, y);
    };
}
#endif

struct ContinuousCase {
    ModelParameter record;
    Cdf cdf;
};

std::vector<ContinuousCase> ContinuousCases() {
    const Cdf rectangular = [](double x) { return std::clamp((x - 3) / 4, 0.0, 1.0); };
    std::vector<ContinuousCase> cases = {
        {Record(K::Normal, "3", "2"), [](double x) { return NormalCdf(x, 3, 2); }},
        {Record(K::Rectangular, "5", "2"), rectangular},
        {Record(K::Rectangular, "5", "-2"), rectangular},
        {Record(K::Triangular, "5", "2"), TriangularCdf},
        {Record(K::Triangular, "5", "-2"), TriangularCdf},
        {Record(K::Exponencial, ""), [](double x) { return x <= 0 ? 0 : -std::expm1(-x); }},
        {Record(K::Cauchy, ""), [](double x) { return 0.5 + std::atan(x) / kPi; }},
        {Record(K::Weibull, "0.7"),
         [](double x) { return x <= 0 ? 0 : -std::expm1(-std::pow(x, 0.7)); }},
        {Record(K::Weibull, "2"), [](double x) { return x <= 0 ? 0 : -std::expm1(-x * x); }},
        {Record(K::LogNormal, "2", "0.5"), LogNormalCdf(2, 0.5)},
        {Record(K::LogNormal, "1", "3"), LogNormalCdf(1, 3)},
    };
    for (const char* kappa : {"0.3", "0.5", "0.51", "2", "9.99"})
        cases.push_back({Record(K::VonMises, kappa), VonMisesCdf(Number(kappa))});
#ifdef CORVANTA_HAVE_BOOST
    for (const char* k : {"0.05", "0.5", "0.95", "1", "1.05", "2.5", "30"}) {
        const bm::gamma_distribution<double> g(Number(k), 1.0);
        cases.push_back({Record(K::Gamma, k), [=](double x) {  // deviates below 1.5E-45 are 0
                             return x < 0 ? 0 : bm::cdf(g, std::max(x, 1.5e-45));
                         }});
    }
    const std::pair<const char*, const char*> betas[] = {
        {"5", "2"},     {"2", "5"},     {"0.5", "0.3"}, {"0.3", "0.5"}, {"3", "3"},
        {"1.5", "0.7"}, {"0.7", "1.5"}, {"2", "1"},     {"2", "1.2"},   {"0.2", "0.2"}};
    for (const auto& [alpha, beta] : betas)
        cases.push_back({Record(K::Beta, alpha, beta),
                         Law(bm::beta_distribution<double>(Number(alpha), Number(beta)))});
    const std::pair<const char*, const char*> students[] = {
        {"1", ""}, {"2", ""}, {"5", "10"}, {"30", "-1"}};  // an empty mean is 0
    for (const auto& [nu, mean] : students)
        cases.push_back(
            {Record(K::Student, nu, mean),
             Law(bm::students_t_distribution<double>(Number(nu)), *mean ? Number(mean) : 0)});
    for (const char* nu : {"1", "2", "3", "7"})
        cases.push_back(
            {Record(K::XiCuadrado, nu), Law(bm::chi_squared_distribution<double>(Number(nu)))});
#endif
    return cases;
}

std::string Describe(const ModelParameter& p) {
    return "kind " + std::to_string(p.Distrib) + " Valor=" + p.Valor + " a=" + p.a + " b=" + p.b;
}

TEST(SamplerStatistics, ContinuousDistributionsMatchTheirDistributionFunctions) {
    for (const ContinuousCase& c : ContinuousCases()) {
        SCOPED_TRACE(Describe(c.record));
        const std::vector<long double> x = Draws(c.record);
        EXPECT_TRUE(KsAccepts(x, c.cdf));
        if (c.record.Kind() != K::VonMises) continue;
        for (long double v : x)
            ASSERT_LE(std::fabs(v), 3.14159265358979323846L);
    }
}

Pmf PoissonPmf(long double mu) {
    return [=](std::int64_t k) { return std::exp(k * std::log(mu) - mu - std::lgamma(k + 1.0L)); };
}

Pmf BinomialPmf(long double n, long double p) {
    return [=](std::int64_t k) -> long double {
        if (k < 0 || k > n) return 0;
        return std::exp(std::lgamma(n + 1) - std::lgamma(k + 1.0L) - std::lgamma(n - k + 1) +
                        k * std::log(p) + (n - k) * std::log1p(-p));
    };
}

// Counts of events of probability p before the n-th event of probability 1 - p.
Pmf NegBinomialPmf(long double n, long double p) {
    return [=](std::int64_t k) -> long double {
        if (k < 0) return 0;
        return std::exp(std::lgamma(n + k) - std::lgamma(n) - std::lgamma(k + 1.0L) +
                        k * std::log(p) + n * std::log1p(-p));
    };
}

// Whether Pearson's statistic over bins of at least 20 expected draws stays below its 1 - 1e-5
// quantile (Wilson-Hilferty).
bool ChiSquareAccepts(const std::vector<long double>& x, const Pmf& pmf, std::int64_t lo,
                      std::int64_t hi) {
    const double n = static_cast<double>(x.size());
    std::vector<double> observed(static_cast<std::size_t>(hi - lo + 1), 0.0);
    for (long double v : x)
        observed[static_cast<std::size_t>(std::clamp(static_cast<std::int64_t>(v), lo, hi) - lo)]++;
    double statistic = 0, o = 0, e = 0, assigned = 0;
    int bins = 1;
    for (std::int64_t k = lo; k <= hi; ++k) {
        o += observed[static_cast<std::size_t>(k - lo)];
        e += static_cast<double>(pmf(k)) * n;
        if (e >= 20 && n - assigned - e >= 20) {
            statistic += (o - e) * (o - e) / e;
            assigned += e;
            o = e = 0;
            ++bins;
        }
    }
    e = n - assigned;
    statistic += (o - e) * (o - e) / e;
    const double df = bins - 1, w = 2 / (9 * df);
    return statistic < df * std::pow(1 - w + 4.265 * std::sqrt(w), 3);
}

struct DiscreteCase {
    ModelParameter record;
    Pmf pmf;
    std::int64_t lo, hi;
};

std::vector<DiscreteCase> DiscreteCases() {
    return {
        // Table inversion up to a mean of 10, PD above.
        {Record(K::Poisson, "0.5"), PoissonPmf(0.5L), 0, 40},
        {Record(K::Poisson, "3.5"), PoissonPmf(3.5L), 0, 40},
        {Record(K::Poisson, "10"), PoissonPmf(10), 0, 60},
        {Record(K::Poisson, "10.0001"), PoissonPmf(10.0001L), 0, 60},
        {Record(K::Poisson, "25"), PoissonPmf(25), 0, 100},
        {Record(K::Poisson, "1000"), PoissonPmf(1000), 800, 1200},
        // Inversion up to n p = 30, BTPE above; p > 0.5 mirrored.
        {Record(K::Binomial, "10", "0.1"), BinomialPmf(10, 0.1L), 0, 10},
        {Record(K::Binomial, "10", "0.9"), BinomialPmf(10, 0.9L), 0, 10},
        {Record(K::Binomial, "60", "0.5"), BinomialPmf(60, 0.5L), 0, 60},
        {Record(K::Binomial, "61", "0.5"), BinomialPmf(61, 0.5L), 0, 61},
        {Record(K::Binomial, "200", "0.5"), BinomialPmf(200, 0.5L), 0, 200},
        {Record(K::Binomial, "1000", "0.2"), BinomialPmf(1000, 0.2L), 0, 1000},
        {Record(K::Binomial, "300", "0.8"), BinomialPmf(300, 0.8L), 0, 300},
        {Record(K::Binomial, "5000", "0.01"), BinomialPmf(5000, 0.01L), 0, 200},
        // Geometric counts for p > 0.7, inversion otherwise, the gamma mixture beyond them.
        {Record(K::NegBinomial, "3", "0.8"), NegBinomialPmf(3, 0.8L), 0, 200},
        {Record(K::NegBinomial, "4", "0.7"), NegBinomialPmf(4, 0.7L), 0, 200},
        {Record(K::NegBinomial, "10", "0.71"), NegBinomialPmf(10, 0.71L), 0, 300},
        {Record(K::NegBinomial, "5", "0.3"), NegBinomialPmf(5, 0.3L), 0, 100},
        {Record(K::NegBinomial, "20000", "0.6"), NegBinomialPmf(20000, 0.6L), 27000, 33000},
        {Record(K::NegBinomial, "20000", "0.9"), NegBinomialPmf(20000, 0.9L), 172000, 188000},
    };
}

TEST(SamplerStatistics, DiscreteDistributionsMatchTheirProbabilities) {
    for (const DiscreteCase& c : DiscreteCases()) {
        SCOPED_TRACE(Describe(c.record));
        const std::vector<long double> x = Draws(c.record);
        for (long double v : x)
            ASSERT_EQ(v, std::trunc(v));
        EXPECT_TRUE(ChiSquareAccepts(x, c.pmf, c.lo, c.hi));
    }
}

// The bounds catch the usual parameterisation faults: the draws fail against the wrong law.
TEST(SamplerStatistics, BoundsRejectWrongParameterisations) {
    struct Wrong {
        const char* fault;
        ModelParameter record;
        Cdf cdf;
    };
    std::vector<Wrong> wrong = {
        {"variance instead of deviation", Record(K::Normal, "3", "2"),
         [](double x) { return NormalCdf(x, 3, std::sqrt(2.0)); }},
        {"scale 2 instead of rate 2", Record(K::Weibull, "2"),
         [](double x) { return x <= 0 ? 0 : -std::expm1(-(x / 2) * (x / 2)); }},
        {"lognormal deviation taken as sigma", Record(K::LogNormal, "2", "0.5"),
         [](double x) { return x <= 0 ? 0 : NormalCdf(std::log(x), std::log(2.0), 0.5); }},
        {"von Mises kappa halved", Record(K::VonMises, "2"), VonMisesCdf(1)},
    };
#ifdef CORVANTA_HAVE_BOOST
    wrong.push_back(
        {"beta not mirrored", Record(K::Beta, "2", "5"), Law(bm::beta_distribution<double>(5, 2))});
    wrong.push_back(
        {"gamma scale 2", Record(K::Gamma, "2.5"), Law(bm::gamma_distribution<double>(2.5, 2))});
#endif
    for (const Wrong& w : wrong)
        EXPECT_FALSE(KsAccepts(Draws(w.record, 50000), w.cdf)) << w.fault;
    struct WrongDiscrete {
        const char* fault;
        DiscreteCase c;
    };
    const WrongDiscrete wrongDiscrete[] = {
        {"negative binomial p and 1 - p exchanged",
         {Record(K::NegBinomial, "5", "0.3"), NegBinomialPmf(5, 0.7L), 0, 100}},
        {"binomial p not mirrored",
         {Record(K::Binomial, "300", "0.8"), BinomialPmf(300, 0.2L), 0, 300}},
        {"Poisson mean off by 2 %", {Record(K::Poisson, "1000"), PoissonPmf(1020), 800, 1200}},
    };
    for (const auto& [fault, c] : wrongDiscrete)
        EXPECT_FALSE(ChiSquareAccepts(Draws(c.record, 50000), c.pmf, c.lo, c.hi)) << fault;
}

}  // namespace
}  // namespace corvanta
