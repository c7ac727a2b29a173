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

#ifdef CORVANTA_HAVE_BOOST
#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/gamma.hpp>
#include <boost/math/distributions/students_t.hpp>
#endif

// Every distribution, on both sides of each switch between algorithms, drawn
// through its quantity record from a fixed seed and compared with the exact
// distribution: Kolmogorov-Smirnov for the continuous ones, chi-square for
// the discrete ones. The bounds follow from the sample size at a false-alarm
// rate of about 1e-4 per case (KS: 2.3 / sqrt(n); chi-square: the 1 - 1e-5
// quantile), so that the same seed gives the same verdict on every machine.
namespace corvanta {
namespace {

constexpr int kDraws = 200000;
constexpr std::uint32_t kSeed = 987654321;
constexpr double kPi = 3.14159265358979323846;

ModelParameter Record(DistributionKind kind, std::string valor, std::string a = "",
                      std::string b = "", std::string grados = "") {
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

std::vector<long double> Draws(const ModelParameter& p, int count = kDraws) {
    PreparedSampler sampler(p);
    UniformSeed = kSeed;
    std::vector<long double> x(static_cast<std::size_t>(count));
    for (long double& v : x)
        v = sampler.Draw();
    return x;
}

using Cdf = std::function<double(double)>;

double Number(const char* text) {
    return static_cast<double>(ParseFloat(text));
}

// The KS distance on about 4000 order statistics of the sorted sample: never
// more than the full statistic, so the full statistic's bound still holds.
// A run of equal draws (an atom, such as the zeros that stand for gamma
// deviates below 1.5E-45) is compared with the distribution function just
// below and at its value.
double KsDistance(const std::vector<long double>& draws, const Cdf& cdf) {
    std::vector<double> x(draws.begin(), draws.end());
    std::sort(x.begin(), x.end());
    const double n = static_cast<double>(x.size());
    const std::size_t stride = std::max<std::size_t>(1, x.size() / 4000);
    double d = 0;
    for (std::size_t i = 0; i < x.size(); i += stride) {
        const auto [first, last] = std::equal_range(x.begin(), x.end(), x[i]);
        const double before = static_cast<double>(first - x.begin()) / n;
        const double after = static_cast<double>(last - x.begin()) / n;
        const double below = first == last - 1 ? cdf(x[i]) : cdf(std::nextafter(x[i], -1e308));
        d = std::max({d, below - before, after - cdf(x[i])});
    }
    return d;
}

double KsBound(std::size_t n) {
    return 2.3 / std::sqrt(static_cast<double>(n));
}

double NormalCdf(double x, double mean, double deviation) {
    return 0.5 * std::erfc(-(x - mean) / (deviation * std::sqrt(2.0)));
}

double TriangularCdf(double x, double lo, double hi) {
    const double mid = (lo + hi) / 2, half = (hi - lo) / 2;
    if (x <= lo) return 0;
    if (x >= hi) return 1;
    if (x <= mid) return (x - lo) * (x - lo) / (2 * half * half);
    return 1 - (hi - x) * (hi - x) / (2 * half * half);
}

// exp(kappa cos t) normalised on [-pi, pi], integrated by Simpson's rule on a
// fine grid; independent of the sampler's Gauss-Legendre masses.
Cdf VonMisesCdf(double kappa) {
    const int cells = 4096;
    const double h = 2 * kPi / cells;
    auto f = [kappa](double t) { return std::exp(kappa * std::cos(t)); };
    auto simpson = [f](double a, double b) {
        return (b - a) / 6 * (f(a) + 4 * f((a + b) / 2) + f(b));
    };
    std::vector<double> cumulative(cells + 1, 0.0);
    for (int i = 0; i < cells; ++i) {
        const double a = -kPi + i * h;
        cumulative[i + 1] = cumulative[i] + simpson(a, a + h) / 2 + simpson(a, a + h / 2) +
                            simpson(a + h / 2, a + h) - simpson(a, a + h) / 2;
    }
    const double total = cumulative[cells];
    return [=](double x) {
        if (x <= -kPi) return 0.0;
        if (x >= kPi) return 1.0;
        const int i = std::min(cells - 1, static_cast<int>((x + kPi) / h));
        const double a = -kPi + i * h;
        return (cumulative[i] + simpson(a, x)) / total;
    };
}

struct ContinuousCase {
    const char* name;
    ModelParameter record;
    Cdf cdf;
};

std::vector<ContinuousCase> ContinuousCases() {
    using K = DistributionKind;
    std::vector<ContinuousCase> cases = {
        {"Normal(3, 2)", Record(K::Normal, "3", "2"), [](double x) { return NormalCdf(x, 3, 2); }},
        {"Rectangular(5, 2)", Record(K::Rectangular, "5", "2"),
         [](double x) { return std::clamp((x - 3) / 4, 0.0, 1.0); }},
        {"Rectangular(5, -2)", Record(K::Rectangular, "5", "-2"),
         [](double x) { return std::clamp((x - 3) / 4, 0.0, 1.0); }},
        {"Triangular(5, 2)", Record(K::Triangular, "5", "2"),
         [](double x) { return TriangularCdf(x, 3, 7); }},
        {"Triangular(5, -2)", Record(K::Triangular, "5", "-2"),
         [](double x) { return TriangularCdf(x, 3, 7); }},
        {"Exponential", Record(K::Exponencial, ""),
         [](double x) { return x <= 0 ? 0 : -std::expm1(-x); }},
        {"Cauchy", Record(K::Cauchy, ""), [](double x) { return 0.5 + std::atan(x) / kPi; }},
        {"Weibull(0.7)", Record(K::Weibull, "0.7"),
         [](double x) { return x <= 0 ? 0 : -std::expm1(-std::pow(x, 0.7)); }},
        {"Weibull(2)", Record(K::Weibull, "2"),
         [](double x) { return x <= 0 ? 0 : -std::expm1(-x * x); }},
        {"Experimental Normal(2, 0.5)", Record(K::Experimental, "2", "0.5", "Normal", "4"),
         [](double x) { return NormalCdf(x, 2, 0.5); }},
    };
    // LogNormal: the page's values are the mean and deviation of the quantity.
    for (const auto& [m, s] : {std::pair{2.0, 0.5}, std::pair{1.0, 3.0}}) {
        const double sigma2 = std::log1p((s / m) * (s / m));
        const double mu = std::log(m) - sigma2 / 2;
        cases.push_back(
            {"LogNormal", Record(K::LogNormal, m == 2 ? "2" : "1", s == 3 ? "3" : "0.5"),
             [=](double x) { return x <= 0 ? 0 : NormalCdf(std::log(x), mu, std::sqrt(sigma2)); }});
    }
    for (const char* kappa : {"0.3", "0.5", "0.51", "2", "9.99"}) {
        cases.push_back({"VonMises", Record(K::VonMises, kappa), VonMisesCdf(Number(kappa))});
    }
#ifdef CORVANTA_HAVE_BOOST
    namespace bm = boost::math;
    for (const char* k : {"0.05", "0.5", "0.95", "1", "1.05", "2.5", "30"}) {
        const bm::gamma_distribution<double> g(Number(k), 1.0);
        cases.push_back(
            // Deviates below 1.5E-45 are drawn as 0.
            {"Gamma", Record(K::Gamma, k),
             [=](double x) { return x < 0 ? 0 : bm::cdf(g, std::max(x, 1.5e-45)); }});
    }
    const std::pair<const char*, const char*> betas[] = {
        {"5", "2"},     {"2", "5"},     {"0.5", "0.3"}, {"0.3", "0.5"}, {"3", "3"},
        {"1.5", "0.7"}, {"0.7", "1.5"}, {"2", "1"},     {"2", "1.2"},   {"0.2", "0.2"}};
    for (const auto& [alpha, beta] : betas) {
        const bm::beta_distribution<double> b(Number(alpha), Number(beta));
        cases.push_back({"Beta", Record(K::Beta, alpha, beta), [=](double x) {
                             return std::clamp(x, 0.0, 1.0) == x ? bm::cdf(b, x) : (x < 0 ? 0 : 1);
                         }});
    }
    struct StudentCase {
        const char* nu;
        const char* meanText;  // empty: mean 0
        double mean;
    };
    for (const StudentCase& c : {StudentCase{"1", "", 0}, StudentCase{"2", "", 0},
                                 StudentCase{"5", "10", 10}, StudentCase{"30", "-1", -1}}) {
        const bm::students_t_distribution<double> t(Number(c.nu));
        const double mean = c.mean;
        cases.push_back({"Student", Record(K::Student, c.nu, c.meanText),
                         [=](double x) { return bm::cdf(t, x - mean); }});
    }
    {
        const bm::students_t_distribution<double> t(3);
        cases.push_back({"Experimental Student(3)",
                         Record(K::Experimental, "2", "0.5", "Student", "3"),
                         [=](double x) { return bm::cdf(t, (x - 2) / 0.5); }});
    }
    // Degrees of freedom are rounded half to even: 2.5 is 2 and 3.5 is 4.
    const std::pair<const char*, double> chis[] = {{"1", 1}, {"2", 2},   {"3", 3},
                                                   {"7", 7}, {"2.5", 2}, {"3.5", 4}};
    for (const auto& [text, nu] : chis) {
        const bm::chi_squared_distribution<double> c(nu);
        cases.push_back({"ChiSquare", Record(K::XiCuadrado, text),
                         [=](double x) { return x <= 0 ? 0 : bm::cdf(c, x); }});
    }
#endif
    return cases;
}

TEST(SamplerStatistics, ContinuousDistributionsMatchTheirDistributionFunctions) {
    for (const ContinuousCase& c : ContinuousCases()) {
        SCOPED_TRACE(std::string(c.name) + " Valor=" + c.record.Valor + " a=" + c.record.a);
        const std::vector<long double> x = Draws(c.record);
        EXPECT_LT(KsDistance(x, c.cdf), KsBound(x.size()));
    }
}

TEST(SamplerStatistics, VonMisesAnglesStayWithinPlusMinusPi) {
    for (const char* kappa : {"0.3", "9.99"}) {
        for (long double x : Draws(Record(DistributionKind::VonMises, kappa), 20000)) {
            ASSERT_LE(std::fabs(x), 3.14159265358979323846L);
        }
    }
}

// ---------------------------------------------------------------------------
// Discrete distributions.

using Pmf = std::function<long double(std::int64_t)>;

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

struct ChiSquare {
    double statistic;
    double bound;
};

// Pearson's statistic over bins merged to at least 20 expected draws each, the
// outer bins taking everything beyond them; the bound is the 1 - 1e-5 quantile
// (Wilson-Hilferty).
ChiSquare ChiSquareAgainst(const std::vector<long double>& x, const Pmf& pmf, std::int64_t lo,
                           std::int64_t hi) {
    const double n = static_cast<double>(x.size());
    std::vector<double> observed(static_cast<std::size_t>(hi - lo + 1), 0.0);
    for (long double v : x) {
        const auto k = std::clamp(static_cast<std::int64_t>(v), lo, hi);
        observed[static_cast<std::size_t>(k - lo)] += 1;
    }
    std::vector<double> binObserved, binExpected;
    double o = 0, e = 0, below = 0;
    for (std::int64_t k = lo; k <= hi; ++k) {
        o += observed[static_cast<std::size_t>(k - lo)];
        const double pk = static_cast<double>(pmf(k)) * n;
        e += pk;
        below += pk;
        if (e >= 20 && n - below >= 20) {
            binObserved.push_back(o);
            binExpected.push_back(e);
            o = e = 0;
        }
    }
    binObserved.push_back(o);
    binExpected.push_back(n - (below - e));
    double statistic = 0;
    for (std::size_t i = 0; i < binObserved.size(); ++i) {
        const double d = binObserved[i] - binExpected[i];
        statistic += d * d / binExpected[i];
    }
    const double df = static_cast<double>(binObserved.size() - 1);
    const double z = 4.265;  // upper 1e-5 point of the standard normal
    const double w = 2 / (9 * df);
    return {statistic, df * std::pow(1 - w + z * std::sqrt(w), 3)};
}

struct DiscreteCase {
    ModelParameter record;
    Pmf pmf;
    std::int64_t lo, hi;
};

std::vector<DiscreteCase> DiscreteCases() {
    using K = DistributionKind;
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
        {Record(K::Binomial, "10.5", "0.3"), BinomialPmf(10, 0.3L), 0, 10},
        {Record(K::Binomial, "60", "0.5"), BinomialPmf(60, 0.5L), 0, 60},
        {Record(K::Binomial, "61", "0.5"), BinomialPmf(61, 0.5L), 0, 61},
        {Record(K::Binomial, "200", "0.5"), BinomialPmf(200, 0.5L), 0, 200},
        {Record(K::Binomial, "1000", "0.2"), BinomialPmf(1000, 0.2L), 0, 1000},
        {Record(K::Binomial, "300", "0.8"), BinomialPmf(300, 0.8L), 0, 300},
        {Record(K::Binomial, "5000", "0.01"), BinomialPmf(5000, 0.01L), 0, 200},
        // Geometric counts for p > 0.7, inversion otherwise, and the gamma
        // mixture for the cases those cannot finish.
        {Record(K::NegBinomial, "3", "0.8"), NegBinomialPmf(3, 0.8L), 0, 200},
        {Record(K::NegBinomial, "4", "0.7"), NegBinomialPmf(4, 0.7L), 0, 200},
        {Record(K::NegBinomial, "10", "0.71"), NegBinomialPmf(10, 0.71L), 0, 300},
        {Record(K::NegBinomial, "5", "0.3"), NegBinomialPmf(5, 0.3L), 0, 100},
        {Record(K::NegBinomial, "2.5", "0.5"), NegBinomialPmf(2, 0.5L), 0, 100},
        {Record(K::NegBinomial, "20000", "0.6"), NegBinomialPmf(20000, 0.6L), 27000, 33000},
        {Record(K::NegBinomial, "20000", "0.9"), NegBinomialPmf(20000, 0.9L), 172000, 188000},
    };
}

TEST(SamplerStatistics, DiscreteDistributionsMatchTheirProbabilities) {
    for (const DiscreteCase& c : DiscreteCases()) {
        SCOPED_TRACE("kind " + std::to_string(c.record.Distrib) + " Valor=" + c.record.Valor +
                     " a=" + c.record.a);
        const std::vector<long double> x = Draws(c.record);
        for (long double v : x)
            ASSERT_EQ(v, std::trunc(v));
        const ChiSquare chi = ChiSquareAgainst(x, c.pmf, c.lo, c.hi);
        EXPECT_LT(chi.statistic, chi.bound);
    }
}

// ---------------------------------------------------------------------------
// The bounds above are tight enough to catch the usual parameterisation
// faults: the same draws compared with the wrongly parameterised law fail.

TEST(SamplerStatistics, BoundsRejectWrongParameterisations) {
    using K = DistributionKind;
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
    namespace bm = boost::math;
    const bm::beta_distribution<double> notMirrored(5, 2);
    wrong.push_back({"beta not mirrored", Record(K::Beta, "2", "5"),
                     [=](double x) { return bm::cdf(notMirrored, std::clamp(x, 0.0, 1.0)); }});
    const bm::gamma_distribution<double> scaled(2.5, 2);
    wrong.push_back({"gamma scale 2", Record(K::Gamma, "2.5"),
                     [=](double x) { return x <= 0 ? 0 : bm::cdf(scaled, x); }});
#endif
    for (const Wrong& w : wrong) {
        SCOPED_TRACE(w.fault);
        const std::vector<long double> x = Draws(w.record, 50000);
        EXPECT_GT(KsDistance(x, w.cdf), KsBound(x.size()));
    }

    struct WrongDiscrete {
        const char* fault;
        ModelParameter record;
        Pmf pmf;
        std::int64_t lo, hi;
    };
    const WrongDiscrete wrongDiscrete[] = {
        {"negative binomial p and 1 - p exchanged", Record(K::NegBinomial, "5", "0.3"),
         NegBinomialPmf(5, 0.7L), 0, 100},
        {"binomial p not mirrored", Record(K::Binomial, "300", "0.8"), BinomialPmf(300, 0.2L), 0,
         300},
        {"Poisson mean off by 2 %", Record(K::Poisson, "1000"), PoissonPmf(1020), 800, 1200},
    };
    for (const WrongDiscrete& w : wrongDiscrete) {
        SCOPED_TRACE(w.fault);
        const ChiSquare chi = ChiSquareAgainst(Draws(w.record, 50000), w.pmf, w.lo, w.hi);
        EXPECT_GT(chi.statistic, chi.bound);
    }
}

}  // namespace
}  // namespace corvanta
