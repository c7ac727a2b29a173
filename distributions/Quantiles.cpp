#include "distributions/Quantiles.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/negative_binomial.hpp>
#include <boost/math/distributions/poisson.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>

#include "distributions/Sampling.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"

namespace corvanta {

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr long double kSqrt2 = std::numbers::sqrt2_v<long double>;
// Discrete tables end where the remaining tail is below any probability a
// normal score can reach; a table longer than this is refused.
constexpr long double kTailEnd = 1e-40L;
constexpr std::size_t kLongestTable = 2000000;
constexpr int kVonMisesPanels = 1024;

long double NormalScore(long double p, long double q) {
    return p < 0.5L ? -kSqrt2 * boost::math::erfc_inv(2 * p)
                    : kSqrt2 * boost::math::erfc_inv(2 * q);
}

long double ExponentialScore(long double p, long double q) {
    return p < 0.5L ? -std::log1p(-p) : -std::log(q);
}

// Student's t, gamma and beta quantiles in double precision: a draw keeps
// 15 significant digits, and the extended versions cost several times more.
long double StudentScore(std::int64_t nu, long double p, long double q) {
    const boost::math::students_t_distribution<double> t(static_cast<double>(nu));
    return p < 0.5L ? boost::math::quantile(t, static_cast<double>(p))
                    : boost::math::quantile(boost::math::complement(t, static_cast<double>(q)));
}

long double GammaScore(long double shape, long double p, long double q) {
    const double k = static_cast<double>(shape);
    return p < 0.5L ? boost::math::gamma_p_inv(k, static_cast<double>(p))
                    : boost::math::gamma_q_inv(k, static_cast<double>(q));
}

}  // namespace

long double NormalCdf(long double z) {
    return std::erfc(-z / kSqrt2) / 2;
}

long double NormalQuantile(long double p, long double q) {
    return NormalScore(p, q);
}

Marginal::Marginal(const ModelParameter& p) : kind_(p.Kind()) {
    try {
        switch (kind_) {
            case DistributionKind::Normal:
                location_ = ParseFloat(p.Valor);
                scale_ = std::fabs(ParseFloat(p.a));
                normal_ = true;
                hasVariance_ = scale_ > 0;
                break;
            case DistributionKind::Rectangular:
            case DistributionKind::Triangular:
                location_ = ParseFloat(p.Valor);
                scale_ = std::fabs(ParseFloat(p.a));
                hasVariance_ = scale_ > 0;
                break;
            case DistributionKind::Gamma:
                shape1_ = ParseFloat(p.Valor);
                if (!(shape1_ > 0)) ThrowInvalidOperation();
                break;
            case DistributionKind::Exponencial:
                break;
            case DistributionKind::Beta:
                shape1_ = ParseFloat(p.Valor);
                shape2_ = ParseFloat(p.a);
                if (!(shape1_ > 0 && shape2_ > 0)) ThrowInvalidOperation();
                break;
            case DistributionKind::Student:
                degrees_ = ParseInteger(p.Valor);
                location_ = p.a.empty() ? 0 : ParseFloat(p.a);
                if (degrees_ < 1) ThrowInvalidOperation();
                hasVariance_ = degrees_ > 2;
                break;
            case DistributionKind::VonMises:
                shape1_ = ParseFloat(p.Valor);
                if (!(shape1_ > 0 && shape1_ < 10)) ThrowInvalidOperation();
                cumulative_.assign(kVonMisesPanels + 1, 0);
                for (int i = 0; i < kVonMisesPanels; ++i) {
                    const long double lower = -kPi + 2 * kPi * i / kVonMisesPanels;
                    const long double upper = -kPi + 2 * kPi * (i + 1) / kVonMisesPanels;
                    cumulative_[i + 1] =
                        cumulative_[i] + VonMisesIntervalMass(lower, upper, shape1_);
                }
                scale_ = cumulative_.back();  // the normalising mass
                for (long double& c : cumulative_)
                    c /= scale_;
                break;
            case DistributionKind::Weibull:
                shape1_ = ParseFloat(p.Valor);
                if (!(shape1_ > 0)) ThrowInvalidOperation();
                break;
            case DistributionKind::XiCuadrado:
                degrees_ = RoundHalfEven(ParseFloat(p.Valor));
                if (degrees_ < 1) ThrowInvalidOperation();
                break;
            case DistributionKind::LogNormal: {
                const long double m = ParseFloat(p.Valor);
                const LogNormalSampler sampler(m, ParseFloat(p.a));
                location_ = sampler.Mu();
                scale_ = sampler.Sigma();
                logarithmic_ = true;
                hasVariance_ = scale_ > 0;
                break;
            }
            case DistributionKind::UShaped:
            case DistributionKind::Trapezoidal:
            case DistributionKind::CurvilinearTrapezoid:
                location_ = ParseFloat(p.Valor);
                scale_ = std::fabs(ParseFloat(p.a));
                if (kind_ != DistributionKind::UShaped) shape1_ = ParseFloat(p.b);
                if (kind_ == DistributionKind::Trapezoidal && !(shape1_ >= 0 && shape1_ <= 1))
                    ThrowInvalidOperation();
                if (kind_ == DistributionKind::CurvilinearTrapezoid &&
                    !(shape1_ >= 0 && (shape1_ < scale_ || shape1_ == 0)))
                    ThrowInvalidOperation();
                hasVariance_ = scale_ > 0;
                break;
            case DistributionKind::AsymmetricTriangular:
                location_ = ParseFloat(p.Valor);
                shape1_ = ParseFloat(p.a);
                shape2_ = ParseFloat(p.b);
                if (!(shape1_ <= location_ && location_ <= shape2_)) ThrowInvalidOperation();
                hasVariance_ = shape2_ > shape1_;
                break;
            case DistributionKind::Experimental:
                location_ = ParseFloat(p.Valor);
                scale_ = std::fabs(ParseFloat(p.a));
                degrees_ = ParseInteger(p.Grados);
                studentScores_ = p.b != "Normal";
                normal_ = !studentScores_;
                if (studentScores_ && degrees_ < 1) ThrowInvalidOperation();
                hasVariance_ = scale_ > 0 && (!studentScores_ || degrees_ > 2);
                break;
            case DistributionKind::Poisson:
            case DistributionKind::Binomial:
            case DistributionKind::NegBinomial: {
                discrete_ = true;
                long double mean = 0, deviation = 0;
                std::int64_t last = INT64_MAX;
                // The distribution functions as the samplers draw them: a
                // single outcome 0 for a mean, count or probability of 0 or
                // below.
                std::function<std::pair<long double, long double>(std::int64_t)> tails;
                if (kind_ == DistributionKind::Poisson) {
                    const long double mu = ParseFloat(p.Valor);
                    if (mu <= 0) {
                        hasVariance_ = false;
                        break;
                    }
                    const boost::math::poisson_distribution<long double> d(mu);
                    mean = mu;
                    deviation = std::sqrt(mu);
                    tails = [d](std::int64_t k) {
                        const long double x = static_cast<long double>(k);
                        return std::pair{boost::math::cdf(d, x),
                                         boost::math::cdf(boost::math::complement(d, x))};
                    };
                } else if (kind_ == DistributionKind::Binomial) {
                    const std::int64_t n = RoundHalfEven(ParseFloat(p.Valor));
                    const long double success = ParseFloat(p.a);
                    if (success < 0 || success > 1) ThrowInvalidOperation();
                    if (n <= 0 || success == 0 || success == 1) {
                        hasVariance_ = false;
                        break;
                    }
                    const boost::math::binomial_distribution<long double> d(
                        static_cast<long double>(n), success);
                    mean = n * success;
                    deviation = std::sqrt(mean * (1 - success));
                    last = n;
                    tails = [d](std::int64_t k) {
                        const long double x = static_cast<long double>(k);
                        return std::pair{boost::math::cdf(d, x),
                                         boost::math::cdf(boost::math::complement(d, x))};
                    };
                } else {
                    const long double n =
                        static_cast<long double>(RoundHalfEven(ParseFloat(p.Valor)));
                    const long double success = ParseFloat(p.a);
                    if (!(success < 1)) ThrowInvalidOperation();
                    if (n <= 0 || success <= 0) {
                        hasVariance_ = false;
                        break;
                    }
                    // Counts of the events of probability p before the n-th
                    // of the others.
                    const boost::math::negative_binomial_distribution<long double> d(n,
                                                                                     1 - success);
                    mean = n * success / (1 - success);
                    deviation = std::sqrt(mean / (1 - success));
                    tails = [d](std::int64_t k) {
                        const long double x = static_cast<long double>(k);
                        return std::pair{boost::math::cdf(d, x),
                                         boost::math::cdf(boost::math::complement(d, x))};
                    };
                }
                first_ = std::max<std::int64_t>(
                    0, static_cast<std::int64_t>(mean - 15 * deviation - 30));
                for (std::int64_t k = first_;; ++k) {
                    const auto [below, above] = tails(k);
                    below_.push_back(below);
                    above_.push_back(above);
                    if (above < kTailEnd || k >= last) break;
                    if (below_.size() > kLongestTable) ThrowInvalidOperation();
                }
                break;
            }
            default:
                // Constante, Cauchy and the quantities that are not drawn.
                ThrowInvalidOperation();
        }
    } catch (const CalcError&) {
        throw;
    } catch (const std::exception&) {
        // Parameters the distribution functions refuse.
        ThrowInvalidOperation();
    }
}

long double DiscreteQuantile(const Marginal& m, long double p, long double q) {
    if (m.below_.empty()) return 0;
    std::size_t index;
    if (p <= 0.5L) {
        index = static_cast<std::size_t>(std::lower_bound(m.below_.begin(), m.below_.end(), p) -
                                         m.below_.begin());
    } else {
        index = static_cast<std::size_t>(
            std::partition_point(m.above_.begin(), m.above_.end(),
                                 [q](long double above) { return above > q; }) -
            m.above_.begin());
    }
    index = std::min(index, m.below_.size() - 1);
    return static_cast<long double>(m.first_ + static_cast<std::int64_t>(index));
}

namespace {

// The von Mises angle below which the mass p lies, p <= 1/2: the panel from
// the table, then Newton's method on the mass within it, kept inside the
// panel by bisection.
long double VonMisesScore(const std::vector<long double>& cumulative, long double kappa,
                          long double mass, long double p) {
    const auto upper = std::upper_bound(cumulative.begin(), cumulative.end(), p);
    std::size_t i = static_cast<std::size_t>(upper - cumulative.begin());
    i = std::clamp<std::size_t>(i, 1, kVonMisesPanels) - 1;
    long double lo = -kPi + 2 * kPi * static_cast<long double>(i) / kVonMisesPanels;
    long double hi = -kPi + 2 * kPi * static_cast<long double>(i + 1) / kVonMisesPanels;
    const long double start = lo;
    const long double inside = p - cumulative[i];
    const long double span = cumulative[i + 1] - cumulative[i];
    long double theta = span > 0 ? lo + (hi - lo) * (inside / span) : lo;
    for (int round = 0; round < 12; ++round) {
        const long double f = VonMisesIntervalMass(start, theta, kappa) / mass - inside;
        if (f > 0) {
            hi = theta;
        } else {
            lo = theta;
        }
        const long double density = std::exp(kappa * std::cos(theta)) / mass;
        const long double step = f / density;
        if (std::fabs(step) <= 1e-17L) return theta - step;
        long double next = theta - step;
        if (!(next > lo && next < hi)) next = (lo + hi) / 2;
        theta = next;
    }
    return theta;
}

// The distance from the lower end of a trapezoid of half-width `half` and
// top-to-base ratio beta below which the mass p <= 1/2 lies: a parabola
// along the sloping side, a straight line along the top.
long double TrapezoidScore(long double half, long double beta, long double p) {
    const long double sideMass = (1 - beta) / (2 * (1 + beta));
    if (p <= sideMass) return half * std::sqrt(2 * (1 - beta) * (1 + beta) * p);
    return half * (1 - beta) + (p - sideMass) * half * (1 + beta);
}

// The distance below the midpoint of a curvilinear trapezoid (half-width h,
// inexactness d) beyond which the mass p <= 1/2 lies. The density is flat
// within h - d of the midpoint and ln((h + d) / y) / (4d) at a distance y
// beyond; over the sloping part the mass beyond y = (h + d)(1 - t) is
// (h + d) (t + (1 - t) ln(1 - t)) / (4d), solved for t by Newton's method
// kept within its bracket by bisection.
long double CurvilinearScore(long double half, long double d, long double p) {
    if (d == 0) return half * (1 - 2 * p);
    const long double outer = half + d, inner = half - d;
    const long double flat = std::log(outer / inner) / (4 * d);
    const long double slopeMass = 0.5L - inner * flat;
    if (p >= slopeMass) return (0.5L - p) / flat;
    const long double target = 4 * d * p / outer;
    long double lo = 0, hi = 2 * d / outer;
    long double t = std::fmin(std::sqrt(2 * target), hi);
    for (int round = 0; round < 100; ++round) {
        const long double f = t + (1 - t) * std::log1p(-t) - target;
        if (f > 0) {
            hi = t;
        } else {
            lo = t;
        }
        const long double slope = -std::log1p(-t);
        long double next = slope > 0 ? t - f / slope : (lo + hi) / 2;
        if (!(next > lo && next < hi)) next = (lo + hi) / 2;
        if (std::fabs(next - t) <= 1e-18L * t) return outer * (1 - next);
        t = next;
    }
    return outer * (1 - t);
}

}  // namespace

long double Quantile(const Marginal& m, long double p, long double q) {
    try {
        switch (m.kind_) {
            case DistributionKind::Normal:
                return m.location_ + m.scale_ * NormalScore(p, q);
            case DistributionKind::Rectangular:
                return m.location_ - m.scale_ + 2 * m.scale_ * p;
            case DistributionKind::Triangular:
                return p <= 0.5L ? m.location_ - m.scale_ + m.scale_ * std::sqrt(2 * p)
                                 : m.location_ + m.scale_ - m.scale_ * std::sqrt(2 * q);
            case DistributionKind::Gamma:
                return GammaScore(m.shape1_, p, q);
            case DistributionKind::Exponencial:
                return ExponentialScore(p, q);
            case DistributionKind::Beta:
                return p < 0.5L ? boost::math::ibeta_inv(static_cast<double>(m.shape1_),
                                                         static_cast<double>(m.shape2_),
                                                         static_cast<double>(p))
                                : boost::math::ibetac_inv(static_cast<double>(m.shape1_),
                                                          static_cast<double>(m.shape2_),
                                                          static_cast<double>(q));
            case DistributionKind::Student:
                return m.location_ + StudentScore(m.degrees_, p, q);
            case DistributionKind::VonMises:
                return p <= 0.5L ? VonMisesScore(m.cumulative_, m.shape1_, m.scale_, p)
                                 : -VonMisesScore(m.cumulative_, m.shape1_, m.scale_, q);
            case DistributionKind::Weibull:
                return std::pow(ExponentialScore(p, q), 1 / m.shape1_);
            case DistributionKind::XiCuadrado:
                return 2 * GammaScore(static_cast<long double>(m.degrees_) / 2, p, q);
            case DistributionKind::LogNormal:
                return std::exp(m.location_ + m.scale_ * NormalScore(p, q));
            case DistributionKind::Experimental:
                return m.location_ + m.scale_ * (m.studentScores_ ? StudentScore(m.degrees_, p, q)
                                                                  : NormalScore(p, q));
            case DistributionKind::Poisson:
            case DistributionKind::Binomial:
            case DistributionKind::NegBinomial:
                return DiscreteQuantile(m, p, q);
            case DistributionKind::UShaped: {
                // 1 - cos(pi p), written so that the tails keep their digits.
                const long double s = std::sin(kPi * (p <= 0.5L ? p : q) / 2);
                return p <= 0.5L ? m.location_ - m.scale_ + 2 * m.scale_ * s * s
                                 : m.location_ + m.scale_ - 2 * m.scale_ * s * s;
            }
            case DistributionKind::Trapezoidal:
                return p <= 0.5L ? m.location_ - m.scale_ + TrapezoidScore(m.scale_, m.shape1_, p)
                                 : m.location_ + m.scale_ - TrapezoidScore(m.scale_, m.shape1_, q);
            case DistributionKind::CurvilinearTrapezoid:
                return p <= 0.5L ? m.location_ - CurvilinearScore(m.scale_, m.shape1_, p)
                                 : m.location_ + CurvilinearScore(m.scale_, m.shape1_, q);
            case DistributionKind::AsymmetricTriangular: {
                const long double lower = m.shape1_, upper = m.shape2_, mode = m.location_;
                const long double width = upper - lower;
                if (width == 0) return mode;
                if (p <= (mode - lower) / width)
                    return lower + std::sqrt(p * width * (mode - lower));
                return upper - std::sqrt(q * width * (upper - mode));
            }
            default:
                ThrowInvalidOperation();
        }
    } catch (const CalcError&) {
        throw;
    } catch (const std::exception&) {
        // A probability so close to 0 or 1 that the quantile is beyond range.
        ThrowOverflow();
    }
}

long double Marginal::AtNormalScore(long double w) const {
    if (normal_) return location_ + scale_ * w;
    if (logarithmic_) return std::exp(location_ + scale_ * w);
    return Quantile(*this, NormalCdf(w), NormalCdf(-w));
}

long double Quantile(const Marginal& m, long double p) {
    return Quantile(m, p, 1 - p);
}

}  // namespace corvanta
