#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "distributions/ModelParameter.h"

// Quantile functions of the distributions the samplers draw, with the same
// parameters and the same reading of the record's texts. The joint draws of
// correlated inputs push correlated normal scores through them.
namespace corvanta {

// The distribution of one record with its texts read once. Raises the
// conversion CalcError of a text that does not read, and CalcError
// (InvalidOperation) for a kind without a quantile function here (no
// distribution, intermediate, output, Constante, Cauchy) and for parameters
// that describe no proper distribution.
class Marginal {
  public:
    explicit Marginal(const ModelParameter& p);

    DistributionKind Kind() const { return kind_; }
    // True when the quantity is an affine function of a normal score, so that
    // a normal copula gives it exactly the score's correlation.
    bool IsNormal() const { return normal_; }
    // False for Student's t with fewer than 3 degrees of freedom, and for
    // any distribution concentrated at one point.
    bool HasVariance() const { return hasVariance_; }
    bool IsDiscrete() const { return discrete_; }
    // Discrete kinds: the smallest value of the table and P(X <= k) for it
    // and every following whole value.
    std::int64_t DiscreteFirst() const { return first_; }
    const std::vector<long double>& DiscreteBelow() const { return below_; }
    const std::vector<long double>& DiscreteAbove() const { return above_; }
    // The value at normal score w: exact for the kinds that are a function
    // of one normal deviate, through Quantile for the others.
    long double AtNormalScore(long double w) const;

  private:
    friend long double Quantile(const Marginal& m, long double p, long double q);
    friend long double DiscreteQuantile(const Marginal& m, long double p, long double q);

    DistributionKind kind_ = DistributionKind::Noname;
    bool normal_ = false, hasVariance_ = true, discrete_ = false;
    // Location, scale and shapes as the kind uses them.
    long double location_ = 0, scale_ = 1, shape1_ = 0, shape2_ = 0;
    std::int64_t degrees_ = 0;
    bool logarithmic_ = false;    // LogNormal
    bool studentScores_ = false;  // Experimental drawn from Student's t
    // Discrete kinds: P(X <= k) and P(X > k) for k = first_, first_ + 1, ...
    std::int64_t first_ = 0;
    std::vector<long double> below_, above_;
    // Von Mises: cumulative masses at equally spaced angles from -pi to pi.
    std::vector<long double> cumulative_;
};

// The p-quantile of the distribution; q = 1 - p, given separately so that
// the upper tail keeps its digits. 0 < p < 1.
long double Quantile(const Marginal& m, long double p, long double q);
long double Quantile(const Marginal& m, long double p);

// The standard normal distribution function, and its p-quantile with
// q = 1 - p.
long double NormalCdf(long double z);
long double NormalQuantile(long double p, long double q);

}  // namespace corvanta
