#include <cmath>

#include "distributions/Sampling.h"
#include "distributions/SamplingDetail.h"
#include "engine/Faults.h"

namespace corvanta {

using sampling_detail::kLn4;
using sampling_detail::kTinyDouble;

namespace {

constexpr long double kPi = 3.14159265358979323846264338327950288L;

}  // namespace

// Inversion (L. Devroye (1986), Non-Uniform Random Variate Generation,
// Springer), rounded to double like a stored value.
long double RectangularSampler::Draw() const {
    const long double u = RandomUniform();
    return static_cast<double>(half_ * u * 2 + mean_ - half_);
}

long double SampleRectangular(long double mean, long double half) {
    return RectangularSampler(mean, half).Draw();
}

TriangularSampler::TriangularSampler(long double min, long double max, long double mode)
    : min_(min), max_(max), mode_(mode), width_(max - min), ratio_(0), degenerate_(width_ == 0) {
    // A zero-width triangle has no ratio; it is the point of its mode.
    if (!degenerate_) ratio_ = (mode_ - min_) / width_;
}

// Inversion of the triangular distribution function (Devroye 1986), rounded
// to double like a stored value.
long double TriangularSampler::Draw() const {
    const long double u = RandomUniform();
    if (degenerate_) return static_cast<double>(mode_);
    if (ratio_ >= u) return static_cast<double>(min_ + std::sqrt(width_ * u * (mode_ - min_)));
    return static_cast<double>(max_ - std::sqrt((1 - u) * width_ * (max_ - mode_)));
}

long double SampleTriangular(long double min, long double max, long double mode) {
    return TriangularSampler(min, max, mode).Draw();
}

// The sine of a uniform phase (JCGM 101:2008, Evaluation of measurement
// data - Propagation of distributions using a Monte Carlo method, 6.4.6.4).
long double ArcsineSampler::Draw() const {
    const long double u = RandomUniform();
    return mid_ + half_ * std::sin(2 * kPi * u);
}

TrapezoidalSampler::TrapezoidalSampler(long double mid, long double half, long double beta)
    : lower_(mid - half), first_(half * (1 + beta)), second_(half * (1 - beta)) {
    // Beyond these bounds the sum below is no trapezoid.
    if (!(beta >= 0 && beta <= 1)) ThrowInvalidOperation();
}

// The sum of two independent rectangular variables (JCGM 101:2008, 6.4.4.4).
long double TrapezoidalSampler::Draw() const {
    const long double r1 = RandomUniform();
    const long double r2 = RandomUniform();
    return lower_ + first_ * r1 + second_ * r2;
}

CurvilinearTrapezoidSampler::CurvilinearTrapezoidSampler(long double mid, long double half,
                                                         long double d)
    : mid_(mid), shortest_(half - d), spread_(2 * d) {
    // A half-width that could reach zero or below is no rectangle.
    if (!(d >= 0 && (d < half || d == 0))) ThrowInvalidOperation();
}

// A rectangular variable whose half-width is drawn first (JCGM 101:2008,
// 6.4.3.4).
long double CurvilinearTrapezoidSampler::Draw() const {
    const long double r1 = RandomUniform();
    const long double r2 = RandomUniform();
    const long double half = shortest_ + spread_ * r1;
    return mid_ + half * (2 * r2 - 1);
}

// Inversion (Devroye 1986); a zero uniform would give an infinite value and
// is redrawn.
long double SampleExponential() {
    long double u;
    do {
        u = RandomUniform();
    } while (!(u > kTinyDouble));
    return -std::log(u);
}

// G. Marsaglia and W. W. Tsang (2000), "A simple method for generating gamma
// variables", ACM Transactions on Mathematical Software 26(3), 363-372.
// Departure: the cube is formed as an integer power so that a negative base
// stays negative and is rejected.
GammaLargeSampler::GammaLargeSampler(long double k) : d_(k - 1.0L / 3), c_(1 / std::sqrt(9 * d_)) {}

long double GammaLargeSampler::Draw() const {
    for (;;) {
        long double x, v;
        do {
            x = RandG(0, 1);
            const long double base = 1 + c_ * x;
            v = base * (base * base);
        } while (v <= 0);
        const long double u = RandomUniform();
        const long double x2 = x * x;
        if (u < 1 - 0.0331L * (x2 * x2)) return d_ * v;
        if (std::log(u) < x2 / 2 + d_ * (1 - v + std::log(v))) return d_ * v;
    }
}

long double SampleGammaLarge(long double k) {
    return GammaLargeSampler(k).Draw();
}

// Two-piece rejection from the envelope x^(a-1) below the breakpoint and an
// exponential tail above it: J. H. Ahrens and U. Dieter (1974), "Computer
// methods for sampling from gamma, beta, Poisson and binomial distributions",
// Computing 12, 223-246 (algorithm GS). Departures: the breakpoint is t = 1 - a
// instead of 1, the acceptance test e^-x is squeezed between 1 - x and
// 1 / (1 + x), and a candidate that would underflow below 1.5E-45 is returned
// as 0.
GammaSmallSampler::GammaSmallSampler(long double a)
    : t_(1 - a),
      p_(t_ / (t_ + a * std::exp(-t_))),
      q_(p_ * std::pow(1.5E-45L / t_, a)),
      inverseA_(1 / a) {}

long double GammaSmallSampler::Draw() const {
    for (;;) {
        const long double u = RandomUniform();
        long double x, y;
        if (u > p_) {
            y = t_ - std::log((1 - u) / (1 - p_));
            x = t_ * std::log(y / t_);
        } else {
            if (u <= q_) return 0;
            y = t_ * std::pow(u / p_, inverseA_);
            x = y;
        }
        const long double v = RandomUniform();
        if (x < 1 - v) return y;
        if (v <= 0) return y;
        if (v * (x + 1) >= 1) continue;
        if (x < -std::log(v)) return y;
    }
}

long double SampleGammaSmall(long double a) {
    return GammaSmallSampler(a).Draw();
}

namespace {

std::variant<GammaSmallSampler, ExponentialSampler, GammaLargeSampler> ChooseGamma(long double k) {
    if (k < 1) return GammaSmallSampler(k);
    if (k == 1) return ExponentialSampler();
    return GammaLargeSampler(k);
}

}  // namespace

GammaSampler::GammaSampler(long double k) : impl_(ChooseGamma(k)) {}

long double GammaSampler::Draw() const {
    return std::visit([](const auto& s) { return s.Draw(); }, impl_);
}

// R. C. H. Cheng (1978), "Generating beta variates with nonintegral shape
// parameters", Communications of the ACM 21(4), 317-322 (algorithm BA).
// Departures: the larger shape is generated and the result mirrored; the
// logarithmic test is preceded by the squeezes ln z <= z - 1 and
// ln z > -ln(1 - T); where the candidate would overflow (U1 >= c, possible
// only for a smaller shape <= 1) the limit 1 is returned after the same test.
BetaSampler::BetaSampler(long double alpha, long double beta) {
    // Shapes outside (0, inf) have no distribution; the set-up would divide by
    // zero or take roots of negative numbers.
    if (alpha == 0 || beta == 0) ThrowDivisionByZero();
    if (!(alpha > 0 && beta > 0)) ThrowInvalidOperation();
    mirrored_ = alpha < beta;
    const long double a = mirrored_ ? beta : alpha;
    const long double b = mirrored_ ? alpha : beta;
    s_ = a + b;
    r_ = a / b;
    if (b > 1) {
        q_ = std::sqrt((2 * a * b - s_) / (s_ - 2));
        c_ = 1;
    } else {
        q_ = b;
        c_ = 1 / (1 + std::pow(a / (1.7E+308L * b), b));
    }
    g_ = a + q_;
    tailBound_ = std::pow(1 + 1 / r_, s_);
}

long double BetaSampler::Draw() const {
    for (;;) {
        const long double u1 = RandomUniform();
        const long double u2 = RandomUniform();
        const long double z = u1 * u1 * u2;
        if (u1 < kTinyDouble || z <= 0) continue;
        long double x;
        if (u1 < c_) {
            const long double v = std::log(u1 / (1 - u1)) / q_;
            const long double w = r_ * std::exp(v);
            const long double t = s_ * std::log((1 + r_) / (1 + w)) + g_ * v - kLn4;
            if (t >= z - 1) {
                x = w / (1 + w);
            } else if (z - z * t > 1) {
                continue;
            } else if (t >= std::log(z)) {
                x = w / (1 + w);
            } else {
                continue;
            }
        } else {
            if (4 * z > tailBound_) continue;
            x = 1;
        }
        return mirrored_ ? 1 - x : x;
    }
}

long double SampleBeta(long double alpha, long double beta) {
    return BetaSampler(alpha, beta).Draw();
}

// Ratio of uniforms: A. J. Kinderman and J. F. Monahan (1980), "New methods for
// generating Student's t and gamma variables", Computing 25, 369-377
// (algorithm TROU). Departures: a zero U is redrawn, and the quick rejection
// u (x^2 + 3) > 16 / c is made only for nu >= 3, the degrees of freedom for
// which it lies outside the acceptance region; for nu = 1 and 2 it would cut
// into the region near x = 0 and distort the distribution.
StudentSampler::StudentSampler(std::int64_t nu, long double mean) : nu_(nu), mean_(mean) {
    // No degrees of freedom: 1/N divides by zero. Fewer than none: the region
    // needs roots of negative numbers.
    if (nu == 0) ThrowDivisionByZero();
    if (nu < 0) ThrowInvalidOperation();
    n_ = static_cast<long double>(nu);
    e_ = -(n_ + 1) / 4;
    c_ = 4 / std::pow(1 + 1 / n_, e_);
    d_ = 16 / c_;
    s_ = nu > 1 ? std::sqrt(2 * n_ / (n_ - 1)) * std::pow((n_ + 1) / (n_ - 1), e_) : 1;
}

long double StudentSampler::DrawStandard() const {
    for (;;) {
        long double u;
        do {
            u = RandomUniform();
        } while (u <= 0);
        const long double v = RandomUniform();
        const long double x = (2 * v - 1) * s_ / u;
        const long double x2 = x * x;
        if (x2 <= 5 - c_ * u) return x;
        if (nu_ >= 3 && d_ < (x2 + 3) * u) continue;
        if (u > std::pow(1 + x2 / n_, e_)) continue;
        return x;
    }
}

long double SampleStudent(std::int64_t nu, long double mean) {
    return StudentSampler(nu, mean).Draw();
}

ExperimentalSampler::ExperimentalSampler(long double mean, long double deviation, std::int64_t nu,
                                         const std::string& keyword)
    : mean_(mean), deviation_(deviation), normal_(keyword == "Normal") {
    if (!normal_) student_ = StudentSampler(nu, 0);
}

long double ExperimentalSampler::Draw() const {
    if (normal_) return RandG(mean_, deviation_);
    return std::get<StudentSampler>(student_).DrawStandard() * deviation_ + mean_;
}

long double SampleExperimental(long double mean, long double deviation, std::int64_t nu,
                               const std::string& keyword) {
    return ExperimentalSampler(mean, deviation, nu, keyword).Draw();
}

long double VonMisesIntervalMass(long double lower, long double upper, long double kappa) {
    static constexpr long double kNodes[3] = {0.2386191860831970L, 0.6612093864662650L,
                                              0.9324695142031520L};
    static constexpr long double kWeights[3] = {0.4679139345726910L, 0.3607615730481390L,
                                                0.1713244923791700L};
    const long double m = (upper + lower) / 2;
    const long double h = (upper - lower) / 2;
    long double sum = 0;
    for (int i = 0; i < 3; ++i) {
        sum += kWeights[i] * (std::exp(kappa * std::cos(m + kNodes[i] * h)) +
                              std::exp(kappa * std::cos(m - kNodes[i] * h)));
    }
    return sum * h;
}

namespace {

// Tables grow with kappa (2 kappa + 1 intervals); beyond this the set-up would
// take unbounded memory and time per draw.
constexpr long double kMaxVonMisesKappa = 2000;

}  // namespace

// G. E. Forsythe (1972), "von Neumann's comparison method for random sampling
// from the normal and other distributions", Mathematics of Computation
// 26(120), 817-826. Departure: applied to the von Mises density on intervals
// of [0, pi] on which kappa (1 - cos theta) rises by at most 1, chosen by
// their Gauss-Legendre masses; the interval's uniform is recovered from the
// uniform that chose it, and the sign from the uniform that ended the test.
VonMisesSampler::VonMisesSampler(long double kappa) : kappa_(kappa) {
    if (!(kappa < kMaxVonMisesKappa)) ThrowInvalidOperation();
    if (kappa > 0.5L) {
        const auto n = sampling_detail::TruncToInt64(std::floor(2 * kappa + 1));
        bounds_.resize(static_cast<std::size_t>(n) + 1);
        bounds_[0] = 0;
        for (std::int64_t j = 1; j < n; ++j) {
            bounds_[static_cast<std::size_t>(j)] =
                std::acos(1 - static_cast<long double>(j) / kappa);
        }
        bounds_[static_cast<std::size_t>(n)] = kPi;
        masses_.resize(static_cast<std::size_t>(n));
        long double sum = 0;
        for (std::size_t j = 0; j < masses_.size(); ++j) {
            masses_[j] = VonMisesIntervalMass(bounds_[j], bounds_[j + 1], kappa);
            sum += masses_[j];
        }
        for (long double& mass : masses_)
            mass /= sum;
    } else {
        bounds_ = {0, kPi};
        masses_ = {1};
    }
}

long double VonMisesSampler::Draw() const {
    long double remainder = RandomUniform();
    std::size_t j = 0;
    for (; j < masses_.size(); ++j) {
        remainder -= masses_[j];
        if (remainder < 0) break;
    }
    if (j == masses_.size()) j = masses_.size() - 1;
    long double w = -remainder / masses_[j];
    const long double lower = bounds_[j];
    const long double width = bounds_[j + 1] - lower;
    const long double offset = static_cast<long double>(j);
    for (;;) {
        const long double theta = lower + w * width;
        const long double g = kappa_ * (1 - std::cos(theta)) - offset;
        long double t = g;
        long double v;
        std::int64_t m = 1;
        for (;;) {
            v = RandomUniform();
            if (v > t) break;
            ++m;
            t = v;
        }
        if (m % 2 == 1) return (v - t) / (1 - t) - 0.5L < 0 ? -theta : theta;
        w = RandomUniform();
    }
}

long double SampleVonMises(long double kappa) {
    return VonMisesSampler(kappa).Draw();
}

// Ratio of two uniforms in the unit disc: A. J. Kinderman and J. F. Monahan
// (1977), "Computer generation of random variables using the ratio of uniform
// deviates", ACM Transactions on Mathematical Software 3(3), 257-260.
long double SampleCauchy() {
    for (;;) {
        const long double x = (RandomUniform() - 0.5L) * 2;
        const long double y = (RandomUniform() - 0.5L) * 2;
        if (std::fabs(y) > kTinyDouble && x * x + y * y < 1) return x / y;
    }
}

// Inversion (Devroye 1986): the 1/k-th power of a standard exponential
// deviate.
WeibullSampler::WeibullSampler(long double k) {
    if (k == 0) ThrowDivisionByZero();
    inverseK_ = 1 / k;
}

long double WeibullSampler::Draw() const {
    return std::pow(SampleExponential(), inverseK_);
}

long double SampleWeibull(long double k) {
    return WeibullSampler(k).Draw();
}

namespace {

GammaSampler HalfGamma(std::int64_t nu) {
    // Chi-square with nu degrees of freedom is twice a gamma of shape nu/2.
    return GammaSampler(static_cast<long double>(nu) / 2);
}

}  // namespace

// Twice a gamma deviate of shape nu/2 (Devroye 1986).
ChiSquareSampler::ChiSquareSampler(std::int64_t nu) : gamma_(HalfGamma(nu)) {}

long double SampleChiSquare(std::int64_t nu) {
    return ChiSquareSampler(nu).Draw();
}

// exp of a normal deviate (Devroye 1986) whose parameters give the lognormal
// quantity mean m and standard deviation s: sigma^2 = ln(1 + (s/m)^2),
// mu = ln m - sigma^2/2.
LogNormalSampler::LogNormalSampler(long double m, long double s) {
    if (m == 0) ThrowDivisionByZero();
    if (m < 0) ThrowInvalidOperation();
    const long double ratio = s / m;
    const long double sigma2 = std::log1p(ratio * ratio);
    if (!std::isfinite(sigma2)) ThrowOverflow();
    sigma_ = std::sqrt(sigma2);
    mu_ = std::log(m) - sigma2 / 2;
}

long double LogNormalSampler::Draw() const {
    return std::exp(RandG(mu_, sigma_));
}

long double SampleLogNormal(long double m, long double s) {
    return LogNormalSampler(m, s).Draw();
}

}  // namespace corvanta
