#pragma once

#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"
#include "distributions/Correlations.h"
#include "distributions/ModelParameter.h"

// The GUM uncertainty framework beside the Monte Carlo run: the law of
// propagation of uncertainty at the inputs' expectations, with sensitivity
// coefficients by central differences through the compiled model.
namespace corvanta {

inline constexpr double kInfiniteDegrees = std::numeric_limits<double>::infinity();

// An input quantity's expectation and standard uncertainty as its sampler
// defines the distribution; nothing for a distribution without a variance
// (Cauchy, Student's t with nu <= 2).
struct InputEstimate {
    long double Expectation = 0;
    long double Uncertainty = 0;
    double DegreesOfFreedom = kInfiniteDegrees;
};
// Throws CalcError for a record whose texts do not read as numbers.
std::optional<InputEstimate> EstimateInput(const ModelParameter& record);

// The why of a distribution without a variance, naming the quantity.
std::string NoVarianceText(const ModelParameter& record);

// The output of the model text with every input quantity j at x[j] (the
// entries of other records are ignored). Throws CalcError.
long double EvaluateAt(const std::string& modelText, const ParameterList& parameters,
                       const std::vector<long double>& x, const MessageTexts& texts,
                       UserDialogs& dialogs);

// Thrown when an input's uncertainty is too small for a difference of the
// model's 15-digit values.
class StepTooSmall : public std::runtime_error {
  public:
    explicit StepTooSmall(const std::string& name);
};

// Central-difference sensitivity coefficients at x with steps of
// stepFraction times each input's uncertainty (a small relative step for an
// input without one); 0 for records that are not inputs, NaN for an input
// without uncertainty where the model can't be evaluated. Throws CalcError
// and StepTooSmall.
std::vector<long double> SensitivityCoefficients(const std::string& modelText,
                                                 const ParameterList& parameters,
                                                 const std::vector<InputEstimate>& estimates,
                                                 long double stepFraction,
                                                 const MessageTexts& texts, UserDialogs& dialogs);
inline constexpr long double kSensitivityStep = 1.0L / 100;

struct BudgetRow {
    std::string Name;
    long double Estimate = 0;
    long double Uncertainty = 0;
    long double Sensitivity = 0;
    long double Contribution = 0;  // |c| u(x)
    long double Share = 0;         // percent of u_c^2
    double DegreesOfFreedom = kInfiniteDegrees;
};

struct GumResult {
    bool Applicable = false;
    std::string Reason;  // why not, when it is not
    long double Estimate = 0;
    long double CombinedUncertainty = 0;  // first order
    // The second-order terms of the law of propagation (uncorrelated
    // inputs), as a variance, and u_c with them.
    long double SecondOrderTerms = 0;
    std::optional<long double> SecondOrderUncertainty;
    // False with correlated inputs, for which the terms above are not known.
    bool SecondOrderAvailable = true;
    double EffectiveDegreesOfFreedom = kInfiniteDegrees;  // Welch-Satterthwaite, truncated
    // False when a correlated input has finite degrees of freedom: the
    // coverage factor is then the normal distribution's.
    bool DegreesAvailable = true;
    // The coefficients between inputs of the budget that entered u_c.
    CorrelationList Correlations;
    long double CoverageProbability = 0.95L;
    long double CoverageFactor = 0;
    long double ExpandedUncertainty = 0;
    long double Low = 0, High = 0;
    std::vector<BudgetRow> Budget;  // the input quantities, in list order
};

// probability: 0.6827 ... 0.9973.
// With correlated inputs u_c^2 gains 2 c_i c_j r_ij u_i u_j for each pair.
GumResult EvaluateGum(const std::string& modelText, const ParameterList& parameters,
                      long double probability, const MessageTexts& texts, UserDialogs& dialogs,
                      const CorrelationList& correlations = {});

// Student's t (or the normal distribution, for infinite degrees) two-sided
// coverage factor.
long double CoverageFactor(long double probability, double degreesOfFreedom);

}  // namespace corvanta
