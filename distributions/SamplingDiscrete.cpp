#include <cfloat>
#include <cmath>

#include "distributions/Sampling.h"
#include "distributions/SamplingDetail.h"
#include "engine/Faults.h"

namespace corvanta {

using sampling_detail::TruncToInt64;

namespace {

constexpr int kPoissonTableSize = 35;
constexpr long double kFactorials[10] = {1, 1, 2, 6, 24, 120, 720, 5040, 40320, 362880};

}  // namespace

// J. H. Ahrens and U. Dieter (1982), "Computer generation of Poisson deviates
// from modified normal distributions", ACM Transactions on Mathematical
// Software 8(2), 163-179 (algorithm PD, with its table lookup for small means
// and its published constants). Departures: the table branch is taken for
// means up to 10 inclusive, and the table is filled once per mean instead of
// on demand (same entries, same results).
PoissonSampler::PoissonSampler(long double mu) : mu_(mu), table_(mu <= 10) {
    if (table_) {
        if (mu_ <= 0) return;  // every draw is 0; e^-mu could overflow
        long double term = std::exp(-mu_);
        cumulative_[0] = term;
        for (int k = 1; k <= kPoissonTableSize; ++k) {
            term = term * mu_ / k;
            cumulative_[k] = cumulative_[k - 1] + term;
        }
        return;
    }
    s_ = std::sqrt(mu_);
    d_ = 6 * mu_ * mu_;
    l_ = TruncToInt64(mu_ - 1.1484L);
    omega_ = 0.3989423L / s_;
    const long double b1 = 0.04166667L / mu_;
    const long double b2 = 0.3L * b1 * b1;
    c3_ = 0.1428571L * b1 * b2;
    c2_ = b2 - 15 * c3_;
    c1_ = b1 - 6 * b2 + 45 * c3_;
    c0_ = 1 - b1 + 3 * b2 - 15 * c3_;
    c_ = 0.1069L / mu_;
}

std::int64_t PoissonSampler::Draw() const {
    return table_ ? DrawTable() : DrawPD();
}

std::int64_t PoissonSampler::DrawTable() const {
    for (;;) {
        const long double u = RandomUniform();
        if (mu_ <= 0 || u <= cumulative_[0]) return 0;
        for (int k = 1; k <= kPoissonTableSize; ++k) {
            if (u <= cumulative_[k]) return k;
        }
    }
}

PoissonSampler::Terms PoissonSampler::Evaluate(std::int64_t k, long double fk,
                                               long double difmuk) const {
    static constexpr long double a0 = -0.5L, a1 = 0.3333333L, a2 = -0.2500068L, a3 = 0.2000118L,
                                 a4 = -0.1661269L, a5 = 0.1421878L, a6 = -0.1384794L,
                                 a7 = 0.1250060L;
    Terms t;
    if (k < 10) {
        t.px = -mu_;
        t.py = std::pow(mu_, static_cast<long double>(k)) / kFactorials[k];
    } else {
        long double del = 0.08333333L / fk;
        del = del - 4.8L * del * del * del;
        const long double v = difmuk / fk;
        if (std::fabs(v) <= 0.25L) {
            t.px = fk * v * v *
                       (((((((a7 * v + a6) * v + a5) * v + a4) * v + a3) * v + a2) * v + a1) * v +
                        a0) -
                   del;
        } else {
            t.px = fk * std::log(1 + v) - difmuk - del;
        }
        t.py = 0.3989423L / std::sqrt(fk);
    }
    const long double x = (0.5L - difmuk) / s_;
    const long double xx = x * x;
    t.fx = -0.5L * xx;
    t.fy = omega_ * (((c3_ * xx + c2_) * xx + c1_) * xx + c0_);
    return t;
}

std::int64_t PoissonSampler::DrawPD() const {
    // Normal step: most draws end here.
    const long double g = mu_ + s_ * RandG(0, 1);
    if (g >= 0) {
        const std::int64_t k = TruncToInt64(g);
        if (k >= l_) return k;
        const long double fk = static_cast<long double>(k);
        const long double difmuk = mu_ - fk;
        const long double u = RandomUniform();
        if (d_ * u >= difmuk * difmuk * difmuk) return k;
        // Quotient acceptance.
        const Terms t = Evaluate(k, fk, difmuk);
        if (t.fy - u * t.fy <= t.py * std::exp(t.px - t.fx)) return k;
    }
    // Exponential step: double exponential hat, until accepted.
    for (;;) {
        const long double e = SampleExponential();
        long double u = 2 * RandomUniform() - 1;
        const long double t = u >= 0 ? 1.8L + e : 1.8L - e;
        if (t <= -0.6744L) continue;
        const std::int64_t k = TruncToInt64(mu_ + s_ * t);
        const long double fk = static_cast<long double>(k);
        const long double difmuk = mu_ - fk;
        const Terms f = Evaluate(k, fk, difmuk);
        if (c_ * std::fabs(u) > f.py * std::exp(f.px + e) - f.fy * std::exp(f.fx + e)) continue;
        return k;
    }
}

std::int64_t SamplePoisson(long double mu) {
    return PoissonSampler(mu).Draw();
}

// Inversion for small n p, and otherwise V. Kachitvichyanukul and B. W.
// Schmeiser (1988), "Binomial random variate generation", Communications of
// the ACM 31(2), 216-222 (algorithm BTPE, with its published constants).
// Departures: tails are rejected by comparing the untruncated candidate with
// the bounds, so that a zero uniform cannot overflow the conversion; n <= 0
// or p outside [0, 1] draw one uniform and give 0 (n when mirrored).
BinomialSampler::BinomialSampler(std::int64_t n, long double p0)
    : n_(n), mirrored_(p0 > 0.5L), inversion_(true), r_(0), g_(0), qn_(1) {
    p_ = std::min(p0, 1 - p0);
    q_ = 1 - p_;
    const long double fn = static_cast<long double>(n);
    const long double xnp = fn * p_;
    if (n <= 0 || p_ <= 0) return;  // a single outcome, 0
    r_ = p_ / q_;
    g_ = r_ * (fn + 1);
    if (xnp <= 30) {
        qn_ = std::pow(q_, fn);
        return;
    }
    inversion_ = false;
    const long double ffm = xnp + p_;
    m_ = TruncToInt64(ffm);
    fm_ = static_cast<long double>(m_);
    xnpq_ = xnp * q_;
    p1_ = std::trunc(2.195L * std::sqrt(xnpq_) - 4.6L * q_) + 0.5L;
    xm_ = fm_ + 0.5L;
    xl_ = xm_ - p1_;
    xr_ = xm_ + p1_;
    c_ = 0.134L + 20.5L / (15.3L + fm_);
    long double al = (ffm - xl_) / (ffm - xl_ * p_);
    xll_ = al * (1 + 0.5L * al);
    al = (xr_ - ffm) / (xr_ * q_);
    xlr_ = al * (1 + 0.5L * al);
    p2_ = p1_ * (1 + 2 * c_);
    p3_ = p2_ + c_ / xll_;
    p4_ = p3_ + c_ / xlr_;
}

std::int64_t BinomialSampler::Draw() const {
    const std::int64_t ix = inversion_ ? DrawInversion() : DrawBTPE();
    return mirrored_ ? n_ - ix : ix;
}

std::int64_t BinomialSampler::DrawInversion() const {
    for (;;) {
        std::int64_t ix = 0;
        long double f = qn_;
        long double u = RandomUniform();
        bool restart = false;
        while (u >= f) {
            if (ix > 110) {
                restart = true;
                break;
            }
            u -= f;
            ++ix;
            f *= g_ / static_cast<long double>(ix) - r_;
        }
        if (!restart) return ix;
    }
}

namespace {

long double StirlingTail(long double y) {
    const long double y2 = y * y;
    return (13860 - (462 - (132 - (99 - 140 / y2) / y2) / y2) / y2) / y / 166320;
}

}  // namespace

std::int64_t BinomialSampler::DrawBTPE() const {
    const long double fn = static_cast<long double>(n_);
    for (;;) {
        const long double u = RandomUniform() * p4_;
        long double v = RandomUniform();
        std::int64_t ix;
        if (u <= p1_) return TruncToInt64(xm_ - p1_ * v + u);  // triangle
        if (u <= p2_) {                                        // parallelogram
            const long double x = xl_ + (u - p1_) / c_;
            v = v * c_ + 1 - std::fabs(xm_ - x) / p1_;
            if (v > 1 || v <= 0) continue;
            ix = TruncToInt64(x);
        } else if (u <= p3_) {  // left exponential tail
            const long double y = xl_ + std::log(v) / xll_;
            if (y <= -1) continue;
            ix = TruncToInt64(y);
            v = v * (u - p2_) * xll_;
        } else {  // right exponential tail
            const long double y = xr_ - std::log(v) / xlr_;
            if (y >= fn + 1) continue;
            ix = TruncToInt64(y);
            v = v * (u - p3_) * xlr_;
        }
        const std::int64_t k = ix > m_ ? ix - m_ : m_ - ix;
        const long double fk = static_cast<long double>(k);
        if (k <= 20 || fk >= xnpq_ / 2 - 1) {
            // Explicit evaluation of f(ix) / f(m) by the recurrence.
            long double f = 1;
            if (m_ < ix) {
                for (std::int64_t i = m_ + 1; i <= ix; ++i)
                    f *= g_ / static_cast<long double>(i) - r_;
            } else if (m_ > ix) {
                for (std::int64_t i = ix + 1; i <= m_; ++i)
                    f /= g_ / static_cast<long double>(i) - r_;
            }
            if (v <= f) return ix;
            continue;
        }
        // Squeeze on ln f(ix) / f(m).
        const long double amaxp =
            (fk / xnpq_) * ((fk * (fk / 3 + 0.625L) + 0.1666666666666L) / xnpq_ + 0.5L);
        const long double ynorm = -fk * fk / (2 * xnpq_);
        const long double alv = std::log(v);
        if (alv < ynorm - amaxp) return ix;
        if (alv > ynorm + amaxp) continue;
        // Final comparison with Stirling's formula.
        const long double fix = static_cast<long double>(ix);
        const long double x1 = fix + 1;
        const long double f1 = fm_ + 1;
        const long double z = fn + 1 - fm_;
        const long double w = fn - fix + 1;
        const long double bound = xm_ * std::log(f1 / x1) + (fn - fm_ + 0.5L) * std::log(z / w) +
                                  (fix - fm_) * std::log(w * p_ / (x1 * q_)) + StirlingTail(f1) +
                                  StirlingTail(z) + StirlingTail(x1) + StirlingTail(w);
        if (alv > bound) continue;
        return ix;
    }
}

std::int64_t SampleBinomial(std::int64_t n, long double p) {
    return BinomialSampler(n, p).Draw();
}

namespace {

// Beyond this many geometric counts, or when the first inversion term is no
// longer a normal number, the draw becomes a Poisson deviate with a gamma
// distributed mean, whose cost does not grow with n.
constexpr std::int64_t kMaxGeometricCounts = 10000;

}  // namespace

// Sum of geometric counts for p > 0.7 and sequential inversion otherwise
// (L. Devroye (1986), Non-Uniform Random Variate Generation, Springer).
// Departure: when the inversion's first term (1 - p)^n would underflow, or
// more than 10000 geometric counts would be summed, the deviate is drawn as
// Poisson(G p / (1 - p)) with G a gamma deviate of shape n (Devroye 1986),
// which is the same distribution at a bounded cost.
NegBinomialSampler::NegBinomialSampler(long double n, long double p)
    : p_(p), q_(1 - p), method_(Method::Direct) {
    if (n <= 0 || p <= 0) {
        // A single outcome: no geometric counts, and the first term of the
        // inversion is at least 1.
        remainder_ = 0;
        firstTerm_ = 1;
        return;
    }
    if (p == 1) ThrowDivisionByZero();  // ln p = 0 divides the geometric counts
    // Beyond 1 the geometric counts would turn negative.
    if (p > 1) ThrowInvalidOperation();
    long double r = n;
    if (p > 0.7L) {
        const long double k = std::trunc(r);
        if (k > kMaxGeometricCounts) {
            method_ = Method::Mixture;
        } else {
            geometricCount_ = static_cast<std::int64_t>(k);
            logP_ = std::log(p);
            r -= k;
        }
    }
    if (method_ == Method::Direct) {
        remainder_ = r;
        firstTerm_ = std::pow(q_, r);
        if (!(firstTerm_ >= LDBL_MIN)) method_ = Method::Mixture;
    }
    if (method_ == Method::Mixture) gamma_ = GammaLargeSampler(n);
}

std::int64_t NegBinomialSampler::Draw() const {
    if (method_ == Method::Mixture) {
        const long double mean = std::get<GammaLargeSampler>(gamma_).Draw() * (p_ / q_);
        return PoissonSampler(mean).Draw();
    }
    long double sum = 0;
    for (std::int64_t i = 0; i < geometricCount_; ++i) {
        long double u;
        do {
            u = RandomUniform();
        } while (!(u > 0));
        sum += std::trunc(std::log(u) / logP_);
    }
    long double term = firstTerm_;
    long double c = remainder_;
    std::int64_t j = 0;
    long double u = RandomUniform();
    // A term that has underflowed to 0 can no longer move u below it.
    while (u >= term && term > 0) {
        u -= term;
        ++j;
        term = term * p_ * c / static_cast<long double>(j);
        c += 1;
    }
    return TruncToInt64(sum + static_cast<long double>(j) + 0.5L);
}

std::int64_t SampleNegBinomial(long double n, long double p) {
    return NegBinomialSampler(n, p).Draw();
}

}  // namespace corvanta
