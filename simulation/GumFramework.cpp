#include "simulation/GumFramework.h"

#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <limits>

#include "distributions/Readings.h"
#include "distributions/Sampling.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"
#include "simulation/CompiledModel.h"

namespace corvanta {

namespace {

bool IsInput(const ModelParameter& p) {
    return !IsComputedKind(p.Distrib);
}

// E[theta^2] of the von Mises density exp(k cos theta) / (2 pi I0(k)) on
// (-pi, pi], by Simpson's rule; the density is taken relative to its peak so
// that a large k does not overflow.
long double VonMisesVariance(long double kappa) {
    constexpr int kIntervals = 4000;
    const long double pi = 3.141592653589793238462643383279502884L;
    const long double h = 2 * pi / kIntervals;
    long double mass = 0, moment = 0;
    for (int i = 0; i <= kIntervals; ++i) {
        const long double theta = -pi + i * h;
        const long double weight = (i == 0 || i == kIntervals) ? 1 : (i % 2 == 1 ? 4 : 2);
        const long double density = std::exp(kappa * (std::cos(theta) - 1));
        mass += weight * density;
        moment += weight * density * theta * theta;
    }
    return moment / mass;
}

long double Positive(long double x) {
    return std::fabs(x);
}

// How reliable a Type B uncertainty is: the degrees of freedom typed with
// it, infinitely many when none were.
InputEstimate WithTypeBDegrees(const ModelParameter& p, InputEstimate e) {
    if (p.Grados.empty()) return e;
    const long double degrees = ParseFloat(p.Grados);
    if (!(degrees > 0)) ThrowInvalidOperation();
    e.DegreesOfFreedom = static_cast<double>(degrees);
    return e;
}

}  // namespace

std::string NoVarianceText(const ModelParameter& record) {
    if (record.Kind() == DistributionKind::Cauchy)
        return "The GUM uncertainty framework does not apply: " + record.Nombre +
               " has a Cauchy distribution, which has no variance.";
    return "The GUM uncertainty framework does not apply: " + record.Nombre +
           " has a Student t distribution with " + record.Valor +
           " degrees of freedom, which has no variance (it needs more than 2).";
}

std::optional<InputEstimate> EstimateInput(const ModelParameter& p) {
    InputEstimate e;
    const auto set = [&](long double mean, long double variance) {
        e.Expectation = mean;
        e.Uncertainty = std::sqrt(std::fmax(variance, 0.0L));
        return e;
    };
    switch (p.Kind()) {
        case DistributionKind::Normal:
            return WithTypeBDegrees(p, set(ParseFloat(p.Valor), ParseFloat(p.a) * ParseFloat(p.a)));
        case DistributionKind::Rectangular: {
            const long double half = Positive(ParseFloat(p.a));
            return WithTypeBDegrees(p, set(ParseFloat(p.Valor), half * half / 3));
        }
        case DistributionKind::Triangular: {
            const long double half = Positive(ParseFloat(p.a));
            return WithTypeBDegrees(p, set(ParseFloat(p.Valor), half * half / 6));
        }
        case DistributionKind::Constante:
            return set(ParseFloat(p.Valor), 0);
        case DistributionKind::Gamma: {
            const long double k = ParseFloat(p.Valor);
            return set(k, k);
        }
        case DistributionKind::Exponencial:
            return set(1, 1);
        case DistributionKind::Beta: {
            const long double a = ParseFloat(p.Valor), b = ParseFloat(p.a);
            return set(a / (a + b), a * b / ((a + b) * (a + b) * (a + b + 1)));
        }
        case DistributionKind::Student: {
            // The distribution itself, fully known: its variance nu / (nu - 2)
            // is the uncertainty, with no degrees of freedom of its own.
            const std::int64_t nu = ParseInteger(p.Valor);
            if (nu <= 2) return std::nullopt;
            return set(p.a.empty() ? 0 : ParseFloat(p.a), static_cast<long double>(nu) / (nu - 2));
        }
        case DistributionKind::Poisson: {
            // The sampler draws 0 for a mean of 0 or less.
            const long double mu = std::fmax(ParseFloat(p.Valor), 0.0L);
            return set(mu, mu);
        }
        case DistributionKind::Binomial: {
            const long double n = static_cast<long double>(RoundHalfEven(ParseFloat(p.Valor)));
            const long double q = ParseFloat(p.a);
            // Outside 0 < p < 1 (or for n <= 0) the sampler draws a single
            // outcome: n for p beyond 1/2, 0 otherwise.
            if (n <= 0 || std::fmin(q, 1 - q) <= 0) return set(q > 0.5L ? n : 0, 0);
            return set(n * q, n * q * (1 - q));
        }
        case DistributionKind::NegBinomial: {
            // Poisson counts of a gamma(n) mean scaled by p / (1 - p).
            const long double n = static_cast<long double>(RoundHalfEven(ParseFloat(p.Valor)));
            const long double q = ParseFloat(p.a);
            // 0 for n <= 0 or p <= 0; no distribution for p >= 1.
            if (n <= 0 || q <= 0) return set(0, 0);
            if (q >= 1) ThrowInvalidOperation();
            return set(n * q / (1 - q), n * q / ((1 - q) * (1 - q)));
        }
        case DistributionKind::VonMises:
            return set(0, VonMisesVariance(ParseFloat(p.Valor)));
        case DistributionKind::Cauchy:
            return std::nullopt;
        case DistributionKind::Weibull: {
            const long double k = ParseFloat(p.Valor);
            const long double g1 = std::tgamma(1 + 1 / k), g2 = std::tgamma(1 + 2 / k);
            return set(g1, g2 - g1 * g1);
        }
        case DistributionKind::XiCuadrado: {
            const long double nu = static_cast<long double>(RoundHalfEven(ParseFloat(p.Valor)));
            return set(nu, 2 * nu);
        }
        case DistributionKind::LogNormal: {
            const long double s = ParseFloat(p.a);
            return set(ParseFloat(p.Valor), s * s);
        }
        case DistributionKind::UShaped: {
            const long double half = Positive(ParseFloat(p.a));
            return WithTypeBDegrees(p, set(ParseFloat(p.Valor), half * half / 2));
        }
        case DistributionKind::Trapezoidal: {
            const long double half = Positive(ParseFloat(p.a)), beta = ParseFloat(p.b);
            return WithTypeBDegrees(p,
                                    set(ParseFloat(p.Valor), half * half * (1 + beta * beta) / 6));
        }
        case DistributionKind::CurvilinearTrapezoid: {
            const long double half = Positive(ParseFloat(p.a)), d = ParseFloat(p.b);
            return WithTypeBDegrees(p, set(ParseFloat(p.Valor), half * half / 3 + d * d / 9));
        }
        case DistributionKind::AsymmetricTriangular: {
            const long double mode = ParseFloat(p.Valor), lower = ParseFloat(p.a),
                              upper = ParseFloat(p.b);
            return WithTypeBDegrees(
                p, set((lower + mode + upper) / 3, (lower * lower + mode * mode + upper * upper -
                                                    lower * mode - lower * upper - mode * upper) /
                                                       18));
        }
        case DistributionKind::Experimental: {
            // Type A: the mean of the readings, u = s / sqrt(N), nu = N - 1.
            // The record keeps the normal deviation of the same 95 % half-width
            // as t for a normal simulation, and s / sqrt(N) for a t one.
            const std::int64_t nu = ParseInteger(p.Grados);
            long double u = ParseFloat(p.a);
            if (p.b == "Normal") u = u * 1.96L / StudentCritical(0.05, static_cast<int>(nu));
            set(ParseFloat(p.Valor), u * u);
            e.DegreesOfFreedom = static_cast<double>(nu);
            return e;
        }
        default:
            ThrowInvalidOperation();
    }
}

long double EvaluateAt(const std::string& modelText, const ParameterList& parameters,
                       const std::vector<long double>& x, const MessageTexts& texts,
                       UserDialogs& dialogs) {
    ParameterList fixed = parameters;
    for (std::size_t j = 0; j < fixed.size(); ++j) {
        if (!IsInput(fixed[j])) continue;
        fixed[j].Distrib = static_cast<std::int32_t>(DistributionKind::Constante);
        fixed[j].Valor = FormatGeneral(x[j]);
    }
    CompiledModel model(modelText, fixed, texts, dialogs);
    return model.Evaluate();
}

StepTooSmall::StepTooSmall(const std::string& name)
    : std::runtime_error("the uncertainty of " + name +
                         " is below the 15 significant digits the model is evaluated with") {}

namespace {

// Steps for derivatives in input j: a fraction of its uncertainty, or a
// small part of its value when it has none.
long double Step(const InputEstimate& e, long double fraction) {
    if (e.Uncertainty > 0) return e.Uncertainty * fraction;
    return 1e-6L * std::fmax(1.0L, std::fabs(e.Expectation));
}

}  // namespace

std::vector<long double> SensitivityCoefficients(const std::string& modelText,
                                                 const ParameterList& parameters,
                                                 const std::vector<InputEstimate>& estimates,
                                                 long double stepFraction,
                                                 const MessageTexts& texts, UserDialogs& dialogs) {
    std::vector<long double> x(parameters.size(), 0);
    for (std::size_t j = 0; j < parameters.size(); ++j)
        x[j] = estimates[j].Expectation;
    std::vector<long double> c(parameters.size(), 0);
    for (std::size_t j = 0; j < parameters.size(); ++j) {
        if (!IsInput(parameters[j])) continue;
        const long double h = Step(estimates[j], stepFraction);
        std::vector<long double> up = x, down = x;
        up[j] += h;
        down[j] -= h;
        // The steps actually taken, once the values are written as number text.
        const long double taken =
            ParseFloat(FormatGeneral(up[j])) - ParseFloat(FormatGeneral(down[j]));
        try {
            if (!(taken > 0)) throw StepTooSmall(parameters[j].Nombre);
            c[j] = (EvaluateAt(modelText, parameters, up, texts, dialogs) -
                    EvaluateAt(modelText, parameters, down, texts, dialogs)) /
                   taken;
        } catch (const CalcError&) {
            // A quantity without uncertainty adds nothing, whatever its
            // coefficient: one the model can't give near its value is left
            // undetermined.
            if (estimates[j].Uncertainty > 0) throw;
            c[j] = std::numeric_limits<long double>::quiet_NaN();
        }
    }
    return c;
}

long double CoverageFactor(long double probability, double degreesOfFreedom) {
    const double tail = static_cast<double>((1 - probability) / 2);
    if (!std::isfinite(degreesOfFreedom))
        return boost::math::quantile(boost::math::complement(boost::math::normal(), tail));
    return boost::math::quantile(
        boost::math::complement(boost::math::students_t(degreesOfFreedom), tail));
}

namespace {

// The second-order terms of the law of propagation for uncorrelated inputs:
// the sum over i, j of (f_ij^2 / 2 + f_i f_ijj) u_i^2 u_j^2, with the
// derivatives by central differences of steps a tenth of each uncertainty.
long double SecondOrderTerms(const std::string& modelText, const ParameterList& parameters,
                             const std::vector<InputEstimate>& estimates,
                             const std::vector<long double>& c, const MessageTexts& texts,
                             UserDialogs& dialogs) {
    std::vector<std::size_t> varied;
    for (std::size_t j = 0; j < parameters.size(); ++j)
        if (IsInput(parameters[j]) && estimates[j].Uncertainty > 0) varied.push_back(j);
    std::vector<long double> x(parameters.size(), 0);
    for (std::size_t j = 0; j < parameters.size(); ++j)
        x[j] = estimates[j].Expectation;
    const auto f = [&](std::size_t i, long double di, std::size_t j, long double dj) {
        std::vector<long double> at = x;
        at[i] += di;
        at[j] += dj;
        return EvaluateAt(modelText, parameters, at, texts, dialogs);
    };
    const long double centre = EvaluateAt(modelText, parameters, x, texts, dialogs);
    // d2f/dxj2 at x + di e_i.
    const auto second = [&](std::size_t i, long double di, std::size_t j, long double hj) {
        if (i == j) {
            return (f(j, di + hj, j, 0) - 2 * f(j, di, j, 0) + f(j, di - hj, j, 0)) / (hj * hj);
        }
        return (f(i, di, j, hj) - 2 * f(i, di, j, 0) + f(i, di, j, -hj)) / (hj * hj);
    };
    long double terms = 0;
    for (std::size_t i : varied) {
        const long double hi = Step(estimates[i], 0.1L);
        for (std::size_t j : varied) {
            const long double hj = Step(estimates[j], 0.1L);
            long double fij, fijj;
            if (i == j) {
                fij = (f(i, hi, i, 0) - 2 * centre + f(i, -hi, i, 0)) / (hi * hi);
                fijj = (f(i, 2 * hi, i, 0) - 2 * f(i, hi, i, 0) + 2 * f(i, -hi, i, 0) -
                        f(i, -2 * hi, i, 0)) /
                       (2 * hi * hi * hi);
            } else {
                fij = (f(i, hi, j, hj) - f(i, hi, j, -hj) - f(i, -hi, j, hj) + f(i, -hi, j, -hj)) /
                      (4 * hi * hj);
                fijj = (second(i, hi, j, hj) - second(i, -hi, j, hj)) / (2 * hi);
            }
            const long double ui2 = estimates[i].Uncertainty * estimates[i].Uncertainty;
            const long double uj2 = estimates[j].Uncertainty * estimates[j].Uncertainty;
            terms += (fij * fij / 2 + c[i] * fijj) * ui2 * uj2;
        }
    }
    return terms;
}

}  // namespace

GumResult EvaluateGum(const std::string& modelText, const ParameterList& parameters,
                      long double probability, const MessageTexts& texts, UserDialogs& dialogs,
                      const CorrelationList& correlations) {
    GumResult gum;
    gum.CoverageProbability = probability;
    const std::string notApplicable = "The GUM uncertainty framework does not apply: ";
    try {
        std::vector<InputEstimate> estimates(parameters.size());
        for (std::size_t j = 0; j < parameters.size(); ++j) {
            if (!IsInput(parameters[j])) continue;
            const auto estimate = EstimateInput(parameters[j]);
            if (!estimate) {
                gum.Reason = NoVarianceText(parameters[j]);
                return gum;
            }
            estimates[j] = *estimate;
        }
        std::vector<long double> x(parameters.size(), 0);
        for (std::size_t j = 0; j < parameters.size(); ++j)
            x[j] = estimates[j].Expectation;
        gum.Estimate = EvaluateAt(modelText, parameters, x, texts, dialogs);
        const std::vector<long double> c = SensitivityCoefficients(
            modelText, parameters, estimates, kSensitivityStep, texts, dialogs);
        long double variance = 0, welch = 0;
        for (std::size_t j = 0; j < parameters.size(); ++j) {
            if (!IsInput(parameters[j])) continue;
            BudgetRow row;
            row.Name = parameters[j].Nombre;
            row.Estimate = estimates[j].Expectation;
            row.Uncertainty = estimates[j].Uncertainty;
            row.Sensitivity = c[j];
            row.Contribution = row.Uncertainty > 0 ? std::fabs(c[j]) * row.Uncertainty : 0;
            row.DegreesOfFreedom = estimates[j].DegreesOfFreedom;
            variance += row.Contribution * row.Contribution;
            if (std::isfinite(row.DegreesOfFreedom) && row.Contribution > 0)
                welch += std::pow(row.Contribution, 4) / row.DegreesOfFreedom;
            gum.Budget.push_back(row);
        }
        // The covariance terms; an input with finite degrees of freedom in a
        // pair leaves Welch-Satterthwaite without a footing.
        std::vector<std::size_t> inputs;
        for (std::size_t j = 0; j < parameters.size(); ++j)
            if (IsInput(parameters[j])) inputs.push_back(j);
        for (std::size_t a = 0; a < inputs.size(); ++a) {
            for (std::size_t b = a + 1; b < inputs.size(); ++b) {
                const std::size_t i = inputs[a], k = inputs[b];
                const double r =
                    CorrelationOf(correlations, parameters[i].Nombre, parameters[k].Nombre);
                if (r == 0) continue;
                gum.Correlations.push_back({parameters[i].Nombre, parameters[k].Nombre, r});
                variance +=
                    2 * c[i] * c[k] * r * estimates[i].Uncertainty * estimates[k].Uncertainty;
                if (std::isfinite(estimates[i].DegreesOfFreedom) ||
                    std::isfinite(estimates[k].DegreesOfFreedom))
                    gum.DegreesAvailable = false;
            }
        }
        // A positive semi-definite matrix leaves no negative variance but
        // for rounding.
        if (variance < 0) variance = 0;
        if (!std::isfinite(variance)) {
            gum.Reason = notApplicable + "the combined standard uncertainty is not finite.";
            return gum;
        }
        gum.CombinedUncertainty = std::sqrt(variance);
        for (BudgetRow& row : gum.Budget)
            row.Share = variance > 0 ? 100 * row.Contribution * row.Contribution / variance : 0;
        gum.SecondOrderAvailable = gum.Correlations.empty();
        if (gum.SecondOrderAvailable) {
            gum.SecondOrderTerms =
                SecondOrderTerms(modelText, parameters, estimates, c, texts, dialogs);
            if (variance + gum.SecondOrderTerms >= 0)
                gum.SecondOrderUncertainty = std::sqrt(variance + gum.SecondOrderTerms);
        }
        // Truncated to the whole number below, but not below one that the
        // differences of the model's values miss by a rounding.
        if (!gum.DegreesAvailable)
            gum.EffectiveDegreesOfFreedom = kInfiniteDegrees;
        else if (welch > 0)
            gum.EffectiveDegreesOfFreedom = std::fmax(
                1.0, std::floor(static_cast<double>(variance * variance / welch) * (1 + 1e-9)));
    } catch (const StepTooSmall& small) {
        gum.Reason = notApplicable + small.what() + ".";
        return gum;
    } catch (const CalcError& fault) {
        gum.Reason = notApplicable +
                     "the model can't be evaluated at or near the expectations of its inputs (" +
                     fault.what() + ").";
        return gum;
    }
    gum.CoverageFactor = CoverageFactor(probability, gum.EffectiveDegreesOfFreedom);
    gum.ExpandedUncertainty = gum.CoverageFactor * gum.CombinedUncertainty;
    gum.Low = gum.Estimate - gum.ExpandedUncertainty;
    gum.High = gum.Estimate + gum.ExpandedUncertainty;
    gum.Applicable = true;
    return gum;
}

}  // namespace corvanta
