#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <string>
#include <variant>
#include <vector>

#include "distributions/ModelParameter.h"

// The uniform source and the samplers of every distribution. All arithmetic
// is extended precision. Every sampler draws its uniforms in a fixed order,
// so a run is a pure function of the seed: the cached samplers below consume
// exactly the same uniforms and return exactly the same values as the free
// functions, which recompute their set-up on every call.
//
// Parameters outside the domain on which an algorithm is defined raise the
// floating-point fault that the arithmetic would meet (a CalcError of
// engine/Faults.h), never a hang: the simulation run treats such a draw as a
// failed iteration.
namespace corvanta {

// The only state of the samplers.
extern std::uint32_t UniformSeed;

// Seeds from the high-resolution clock (low 32 bits of its tick count).
void ReseedUniform();
// Linear congruential step (multiplier 134775813, increment 1, modulus 2^32);
// the new state times 2^-32, in [0, 1).
long double RandomUniform();
// One normal deviate.
long double RandG(long double mean, long double deviation);

long double SampleRectangular(long double mean, long double half);
long double SampleTriangular(long double min, long double max, long double mode);
long double SampleExponential();
long double SampleGammaLarge(long double k);  // k > 1
long double SampleGammaSmall(long double a);  // 0 < a < 1
long double SampleBeta(long double alpha, long double beta);
long double SampleStudent(std::int64_t nu, long double mean);
long double SampleExperimental(long double mean, long double deviation, std::int64_t nu,
                               const std::string& keyword);
long double SampleVonMises(long double kappa);
long double VonMisesIntervalMass(long double lower, long double upper, long double kappa);
long double SampleCauchy();
long double SampleWeibull(long double k);
long double SampleChiSquare(std::int64_t nu);
// m and s are the mean and standard deviation of the lognormal quantity.
long double SampleLogNormal(long double m, long double s);
std::int64_t SamplePoisson(long double mu);
std::int64_t SampleBinomial(std::int64_t n, long double p);
std::int64_t SampleNegBinomial(long double n, long double p);

// Nearest integer, halves to even; a value outside the 64-bit range raises
// the invalid-operation fault.
std::int64_t RoundHalfEven(long double x);

// ---------------------------------------------------------------------------
// Samplers with their set-up values computed once. Each free function above
// is its sampler constructed and drawn once, so the two cannot drift apart.
// A constructor raises the fault that the free function would raise before
// drawing anything.

class NormalSampler {
  public:
    NormalSampler(long double mean, long double deviation) : mean_(mean), deviation_(deviation) {}
    long double Draw() const { return RandG(mean_, deviation_); }

  private:
    long double mean_, deviation_;
};

class ConstantSampler {
  public:
    explicit ConstantSampler(long double value) : value_(value) {}
    long double Draw() const { return value_; }

  private:
    long double value_;
};

class RectangularSampler {
  public:
    RectangularSampler(long double mean, long double half) : mean_(mean), half_(half) {}
    long double Draw() const;

  private:
    long double mean_, half_;
};

class TriangularSampler {
  public:
    TriangularSampler(long double min, long double max, long double mode);
    long double Draw() const;

  private:
    long double min_, max_, mode_, width_, ratio_;
    bool degenerate_;
};

class ExponentialSampler {
  public:
    long double Draw() const { return SampleExponential(); }
};

class CauchySampler {
  public:
    long double Draw() const { return SampleCauchy(); }
};

class GammaLargeSampler {
  public:
    explicit GammaLargeSampler(long double k);
    long double Draw() const;

  private:
    long double d_, c_;
};

class GammaSmallSampler {
  public:
    explicit GammaSmallSampler(long double a);
    long double Draw() const;

  private:
    long double t_, p_, q_, inverseA_;
};

// Shape k < 1, = 1 and > 1 each use their own algorithm.
class GammaSampler {
  public:
    explicit GammaSampler(long double k);
    long double Draw() const;

  private:
    std::variant<GammaSmallSampler, ExponentialSampler, GammaLargeSampler> impl_;
};

class BetaSampler {
  public:
    BetaSampler(long double alpha, long double beta);
    long double Draw() const;

  private:
    long double s_, r_, q_, c_, g_, tailBound_;
    bool mirrored_;
};

class StudentSampler {
  public:
    StudentSampler(std::int64_t nu, long double mean);
    // The deviate before the shift by the mean.
    long double DrawStandard() const;
    long double Draw() const { return DrawStandard() + mean_; }

  private:
    std::int64_t nu_;
    long double n_, e_, c_, d_, s_, mean_;
};

class ExperimentalSampler {
  public:
    ExperimentalSampler(long double mean, long double deviation, std::int64_t nu,
                        const std::string& keyword);
    long double Draw() const;

  private:
    long double mean_, deviation_;
    bool normal_;
    std::variant<std::monostate, StudentSampler> student_;
};

class VonMisesSampler {
  public:
    explicit VonMisesSampler(long double kappa);
    long double Draw() const;

  private:
    long double kappa_;
    std::vector<long double> bounds_;  // n + 1 boundaries from 0 to pi
    std::vector<long double> masses_;  // n normalised masses
};

class WeibullSampler {
  public:
    explicit WeibullSampler(long double k);
    long double Draw() const;

  private:
    long double inverseK_;
};

class ChiSquareSampler {
  public:
    explicit ChiSquareSampler(std::int64_t nu);
    long double Draw() const { return 2 * gamma_.Draw(); }

  private:
    GammaSampler gamma_;
};

class LogNormalSampler {
  public:
    LogNormalSampler(long double m, long double s);
    long double Draw() const;
    long double Mu() const { return mu_; }
    long double Sigma() const { return sigma_; }

  private:
    long double mu_, sigma_;
};

// U-shaped (arcsine) distribution on [mid - half, mid + half].
class ArcsineSampler {
  public:
    ArcsineSampler(long double mid, long double half) : mid_(mid), half_(half) {}
    long double Draw() const;

  private:
    long double mid_, half_;
};

// Trapezoid on [mid - half, mid + half] whose top is beta times its base,
// 0 <= beta <= 1.
class TrapezoidalSampler {
  public:
    TrapezoidalSampler(long double mid, long double half, long double beta);
    long double Draw() const;

  private:
    long double lower_, first_, second_;
};

// Rectangular distribution about mid whose half-width is itself uniform on
// [half - d, half + d], 0 <= d < half.
class CurvilinearTrapezoidSampler {
  public:
    CurvilinearTrapezoidSampler(long double mid, long double half, long double d);
    long double Draw() const;

  private:
    long double mid_, shortest_, spread_;
};

class PoissonSampler {
  public:
    explicit PoissonSampler(long double mu);
    std::int64_t Draw() const;

  private:
    std::int64_t DrawTable() const;
    std::int64_t DrawPD() const;
    struct Terms {
        long double px, py, fx, fy;
    };
    Terms Evaluate(std::int64_t k, long double fk, long double difmuk) const;

    long double mu_;
    bool table_;
    // Table inversion.
    std::array<long double, 36> cumulative_{};
    // Normal and exponential steps with their correction constants.
    long double s_ = 0, d_ = 0, omega_ = 0, c0_ = 0, c1_ = 0, c2_ = 0, c3_ = 0, c_ = 0;
    std::int64_t l_ = 0;
};

class BinomialSampler {
  public:
    BinomialSampler(std::int64_t n, long double p);
    std::int64_t Draw() const;

  private:
    std::int64_t DrawInversion() const;
    std::int64_t DrawBTPE() const;

    std::int64_t n_;
    bool mirrored_, inversion_;
    long double p_, q_, r_, g_, qn_;
    std::int64_t m_ = 0;
    long double fm_ = 0, xnpq_ = 0, p1_ = 0, xm_ = 0, xl_ = 0, xr_ = 0, c_ = 0, xll_ = 0, xlr_ = 0,
                p2_ = 0, p3_ = 0, p4_ = 0;
};

class NegBinomialSampler {
  public:
    NegBinomialSampler(long double n, long double p);
    std::int64_t Draw() const;

  private:
    long double p_, q_;
    enum class Method { Direct, Mixture } method_;
    std::int64_t geometricCount_ = 0;  // direct method: geometric counts drawn first
    long double logP_ = 0, remainder_ = 0, firstTerm_ = 0;
    std::variant<std::monostate, GammaLargeSampler> gamma_;  // mixture method
};

// ---------------------------------------------------------------------------

// The draw of one quantity from its record, parsing its parameter texts at
// every call. A text that does not convert raises the conversion CalcError
// of engine/NumberText.h. Kinds that are not sampled (0 no distribution,
// 18 intermediate, 19 output, and any number outside 0 to 23) raise
// CalcError(InvalidOperation), so that a run treats them like any other
// failed draw.
long double SampleParameter(const ModelParameter& p);

// The same draw with the texts parsed and the set-up values computed once:
// Draw() consumes exactly the same uniforms and returns exactly the same
// values as SampleParameter on the same record. A record that SampleParameter
// refuses before drawing makes every Draw() raise the same error.
class PreparedSampler {
  public:
    explicit PreparedSampler(const ModelParameter& p);
    long double Draw() const;
    // The error that every Draw raises, or null.
    std::exception_ptr Failure() const { return failure_; }

    // The sampler of each kind; Refused stands for a record that cannot be drawn.
    struct Refused {
        long double Draw() const { return 0; }
    };
    using Variant =
        std::variant<Refused, NormalSampler, ConstantSampler, RectangularSampler, TriangularSampler,
                     ExponentialSampler, CauchySampler, GammaSampler, BetaSampler, StudentSampler,
                     ExperimentalSampler, VonMisesSampler, WeibullSampler, ChiSquareSampler,
                     LogNormalSampler, PoissonSampler, BinomialSampler, NegBinomialSampler,
                     ArcsineSampler, TrapezoidalSampler, CurvilinearTrapezoidSampler>;

  private:
    Variant impl_;
    std::exception_ptr failure_;
};

}  // namespace corvanta
