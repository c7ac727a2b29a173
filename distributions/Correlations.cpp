#include "distributions/Correlations.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "distributions/Sampling.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"

namespace corvanta {

bool IsInputQuantity(const ModelParameter& p) {
    return p.Kind() != DistributionKind::Intermedio && p.Kind() != DistributionKind::Resultado;
}

namespace {

bool IsPair(const Correlation& c, std::string_view a, std::string_view b) {
    return (c.First == a && c.Second == b) || (c.First == b && c.Second == a);
}

const ModelParameter* FindRecord(const ParameterList& parameters, std::string_view name) {
    for (const ModelParameter& p : parameters)
        if (p.Nombre == name) return &p;
    return nullptr;
}

std::string Quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

std::string Rounded(long double x) {
    return FormatGeneral(static_cast<double>(std::round(x * 10000) / 10000));
}

}  // namespace

double CorrelationOf(const CorrelationList& list, std::string_view a, std::string_view b) {
    for (const Correlation& c : list)
        if (IsPair(c, a, b)) return c.Coefficient;
    return 0;
}

void SetCorrelation(CorrelationList& list, std::string_view a, std::string_view b, double r) {
    auto found = std::find_if(list.begin(), list.end(),
                              [&](const Correlation& c) { return IsPair(c, a, b); });
    if (r == 0) {
        if (found != list.end()) list.erase(found);
    } else if (found != list.end()) {
        found->Coefficient = r;
    } else {
        list.push_back({std::string(a), std::string(b), r});
    }
}

CorrelationList SurvivingCorrelations(const CorrelationList& list,
                                      const ParameterList& parameters) {
    CorrelationList kept;
    for (const Correlation& c : list) {
        const ModelParameter* a = FindRecord(parameters, c.First);
        const ModelParameter* b = FindRecord(parameters, c.Second);
        if (a && b && IsInputQuantity(*a) && IsInputQuantity(*b)) kept.push_back(c);
    }
    return kept;
}

std::optional<std::string> CheckCorrelationEntry(const ParameterList& parameters,
                                                 const CorrelationList& earlier,
                                                 std::string_view first, std::string_view second,
                                                 std::string_view coefficient, Correlation& entry) {
    for (std::string_view name : {first, second}) {
        const ModelParameter* p = FindRecord(parameters, name);
        if (!p) return Quoted(name) + " names no quantity of the model";
        if (!IsInputQuantity(*p)) return Quoted(name) + " is not an input quantity";
    }
    if (first == second) return Quoted(first) + " is paired with itself";
    for (const Correlation& c : earlier)
        if (IsPair(c, first, second))
            return "the pair " + Quoted(first) + ", " + Quoted(second) + " is given twice";
    long double value = 0;
    if (!TryParseFloat(coefficient, value)) return InvalidFloatText(coefficient);
    if (!(std::fabs(value) <= 1))
        return "the coefficient " + std::string(coefficient) + " of " + Quoted(first) + " and " +
               Quoted(second) + " is not between -1 and 1";
    entry = {std::string(first), std::string(second), static_cast<double>(value)};
    return std::nullopt;
}

std::vector<std::string> InputNames(const ParameterList& parameters) {
    std::vector<std::string> names;
    for (const ModelParameter& p : parameters)
        if (IsInputQuantity(p)) names.push_back(p.Nombre);
    return names;
}

std::string CorrelationMatrixText(const std::vector<std::string>& names,
                                  const CorrelationList& list) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        for (std::size_t j = 0; j < names.size(); ++j) {
            if (j > 0) text += '\t';
            text +=
                i == j ? std::string("1") : FormatGeneral(CorrelationOf(list, names[i], names[j]));
        }
        text += '\n';
    }
    return text;
}

namespace {

std::string_view Trimmed(std::string_view cell) {
    while (!cell.empty() && (cell.front() == ' ' || cell.front() == '\r'))
        cell.remove_prefix(1);
    while (!cell.empty() && (cell.back() == ' ' || cell.back() == '\r'))
        cell.remove_suffix(1);
    return cell;
}

std::vector<std::vector<std::string_view>> MatrixCells(std::string_view text) {
    std::vector<std::vector<std::string_view>> rows;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        std::vector<std::string_view> cells;
        for (;;) {
            const std::size_t tab = line.find('\t');
            cells.push_back(Trimmed(line.substr(0, tab)));
            if (tab == std::string_view::npos) break;
            line.remove_prefix(tab + 1);
        }
        rows.push_back(std::move(cells));
    }
    // A spreadsheet ends its text with a line end, some with blank lines.
    while (!rows.empty() && rows.back().size() == 1 && rows.back()[0].empty())
        rows.pop_back();
    return rows;
}

}  // namespace

MatrixReading ReadCorrelationMatrix(std::string_view text, const std::vector<std::string>& names,
                                    const ParameterList& parameters) {
    MatrixReading reading;
    const std::size_t n = names.size();
    std::vector<std::vector<std::string_view>> rows = MatrixCells(text);
    bool square = rows.size() == n;
    for (auto& row : rows) {
        square = square && row.size() <= n;
        row.resize(n);
    }
    if (!square) {
        reading.Fault = "the matrix needs " + IntegerText(static_cast<long long>(n)) + " rows of " +
                        IntegerText(static_cast<long long>(n)) +
                        " coefficients, one for each input quantity";
        return reading;
    }
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            long double value = 0;
            const std::string_view cell = rows[i][j];
            if (cell.empty()) continue;
            if (!TryParseFloat(cell, value)) {
                reading.Fault = InvalidFloatText(cell);
                return reading;
            }
            if (i == j && value != 1) {
                reading.Fault = "the coefficient of " + Quoted(names[i]) + " with itself is " +
                                std::string(cell) + ", not 1";
                return reading;
            }
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            std::string_view above = rows[i][j], below = rows[j][i];
            long double a = 0, b = 0;
            if (above.empty()) above = below;
            if (below.empty()) below = above;
            if (above.empty()) continue;
            TryParseFloat(above, a);
            TryParseFloat(below, b);
            if (a != b) {
                reading.Fault = "the coefficient of " + Quoted(names[i]) + " and " +
                                Quoted(names[j]) + " is " + std::string(above) +
                                " above the diagonal and " + std::string(below) + " below it";
                return reading;
            }
            if (a == 0) continue;
            Correlation entry;
            if (auto why = CheckCorrelationEntry(parameters, reading.List, names[i], names[j],
                                                 above, entry)) {
                reading.Fault = *why;
                return reading;
            }
            reading.List.push_back(entry);
        }
    }
    return reading;
}

// ---------------------------------------------------------------------------
// The copula's coefficients: the normal-to-anything method of M. C. Cario
// and B. L. Nelson (1997), "Modeling and generating random vectors with
// arbitrary marginal distributions and correlation matrix", Technical
// Report, Northwestern University. The correlation of g1(Z1) and g2(Z2),
// with g = quantile of the normal distribution function and Z1, Z2 standard
// normals of coefficient rho, is found from Mehler's expansion: with b_k the
// coefficients of g in the normalised Hermite polynomials,
//     Cov = sum over k >= 1 of b1_k b2_k rho^k,
// a power series that is increasing in rho and is solved by bisection. The
// coefficients are sums over a fine grid of normal scores for continuous
// distributions, and exact sums over the jumps of the distribution function
// for discrete ones.

namespace {

constexpr int kHermiteTerms = 100;
constexpr long double kGridEnd = 9;
constexpr int kGridSteps = 2304;  // 1/128 apart

long double NormalDensity(long double z) {
    return std::exp(-z * z / 2) / std::sqrt(2 * std::numbers::pi_v<long double>);
}

// h_0(z) .. h_{n-1}(z), the Hermite polynomials normalised to unit variance
// under the standard normal.
void Hermite(long double z, int n, long double* h) {
    h[0] = 1;
    if (n > 1) h[1] = z;
    for (int k = 1; k + 1 < n; ++k)
        h[k + 1] = (z * h[k] - std::sqrt(static_cast<long double>(k)) * h[k - 1]) /
                   std::sqrt(static_cast<long double>(k + 1));
}

struct HermiteProfile {
    long double Variance = 0;
    long double Tail = 0;            // the variance the series' terms leave out
    std::vector<long double> Terms;  // b_1 .. b_K
    bool Normal = false;
};

HermiteProfile ProfileOf(const Marginal& m) {
    HermiteProfile profile;
    profile.Normal = m.IsNormal();
    profile.Terms.assign(kHermiteTerms, 0);
    long double h[kHermiteTerms + 1];
    if (m.IsDiscrete()) {
        // Integration by parts over the steps of height 1 at the scores z of
        // P(X <= k): b_k = (1/sqrt k) times the sum of phi(z) h_{k-1}(z).
        const std::vector<long double>& below = m.DiscreteBelow();
        const std::vector<long double>& above = m.DiscreteAbove();
        long double first = 0, second = 0;  // moments of X less its smallest value
        for (std::size_t j = 0; j < below.size(); ++j) {
            first += above[j];
            second += (2 * static_cast<long double>(j) + 1) * above[j];
            if (!(below[j] > 0 && above[j] > 0)) continue;
            const long double z = NormalQuantile(below[j], above[j]);
            const long double density = NormalDensity(z);
            Hermite(z, kHermiteTerms, h);
            for (int k = 1; k <= kHermiteTerms; ++k)
                profile.Terms[k - 1] += density * h[k - 1] / std::sqrt(static_cast<long double>(k));
        }
        profile.Variance = second - first * first;
    } else {
        const long double step = 2 * kGridEnd / kGridSteps;
        std::vector<long double> values(kGridSteps + 1), weights(kGridSteps + 1);
        long double mass = 0, mean = 0;
        for (int i = 0; i <= kGridSteps; ++i) {
            const long double z = -kGridEnd + step * i;
            values[i] = m.AtNormalScore(z);
            weights[i] = NormalDensity(z) * ((i == 0 || i == kGridSteps) ? 0.5L : 1);
            mass += weights[i];
            mean += weights[i] * values[i];
        }
        mean /= mass;
        for (int i = 0; i <= kGridSteps; ++i) {
            const long double z = -kGridEnd + step * i;
            const long double d = values[i] - mean;
            profile.Variance += weights[i] * d * d;
            Hermite(z, kHermiteTerms + 1, h);
            for (int k = 1; k <= kHermiteTerms; ++k)
                profile.Terms[k - 1] += weights[i] * d * h[k];
        }
        profile.Variance /= mass;
        for (long double& b : profile.Terms)
            b /= mass;
    }
    long double captured = 0;
    for (long double b : profile.Terms)
        captured += b * b;
    profile.Tail = std::max<long double>(0, profile.Variance - captured);
    return profile;
}

// The correlation of the two marginals at copula coefficient rho.
long double SeriesCorrelation(const HermiteProfile& a, const HermiteProfile& b, long double rho) {
    long double sum = 0, power = 1;
    for (int k = 0; k < kHermiteTerms; ++k) {
        power *= rho;
        sum += a.Terms[k] * b.Terms[k] * power;
    }
    return sum / std::sqrt(a.Variance * b.Variance);
}

std::optional<long double> SolveCopula(const HermiteProfile& a, const HermiteProfile& b,
                                       long double r, long double& low, long double& high) {
    if (a.Normal && b.Normal) {
        low = -1;
        high = 1;
        return r;
    }
    low = SeriesCorrelation(a, b, -1);
    high = SeriesCorrelation(a, b, 1);
    if (r == 0) return 0.0L;
    // The terms left out of the series bound its error at rho = +-1.
    const long double slack = std::sqrt(a.Tail * b.Tail / (a.Variance * b.Variance)) + 1e-9L;
    if (r > high + slack || r < low - slack) return std::nullopt;
    if (r >= high) return 1.0L;
    if (r <= low) return -1.0L;
    long double lo = -1, hi = 1;
    for (int step = 0; step < 100; ++step) {
        const long double mid = (lo + hi) / 2;
        if (SeriesCorrelation(a, b, mid) < r) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return (lo + hi) / 2;
}

// The lower Cholesky factor of a positive semi-definite matrix (a zero
// pivot gives a zero column), or nothing, with the order of the first row
// that fails in `failed`.
std::optional<std::vector<long double>> Cholesky(const std::vector<long double>& a, std::size_t n,
                                                 std::size_t& failed) {
    constexpr long double kTolerance = 1e-12L;
    std::vector<long double> l(n * n, 0);
    for (std::size_t j = 0; j < n; ++j) {
        long double d = a[j * n + j];
        for (std::size_t k = 0; k < j; ++k)
            d -= l[j * n + k] * l[j * n + k];
        const bool zero = d <= kTolerance * static_cast<long double>(n);
        if (d < -kTolerance * static_cast<long double>(n)) {
            failed = j;
            return std::nullopt;
        }
        const long double pivot = zero ? 0 : std::sqrt(d);
        l[j * n + j] = pivot;
        for (std::size_t i = j + 1; i < n; ++i) {
            long double s = a[i * n + j];
            for (std::size_t k = 0; k < j; ++k)
                s -= l[i * n + k] * l[j * n + k];
            if (zero) {
                // Beside a zero pivot the rest of the column must vanish.
                if (std::fabs(s) > 1e-9L) {
                    failed = i;
                    return std::nullopt;
                }
            } else {
                l[i * n + j] = s / pivot;
            }
        }
    }
    return l;
}

}  // namespace

std::optional<long double> CopulaCoefficientFor(const Marginal& a, const Marginal& b, long double r,
                                                long double& low, long double& high) {
    return SolveCopula(ProfileOf(a), ProfileOf(b), r, low, high);
}

JointSampler::JointSampler(const ParameterList& parameters, const std::vector<std::size_t>& members,
                           const CorrelationList& list) {
    const std::size_t n = members.size();
    std::vector<HermiteProfile> profiles;
    marginals_.reserve(n);
    for (std::size_t index : members) {
        const ModelParameter& p = parameters[index];
        if (p.Kind() == DistributionKind::Constante)
            throw CorrelationRefused(Quoted(p.Nombre) + " is a constant and cannot be correlated.");
        if (p.Kind() == DistributionKind::Cauchy)
            throw CorrelationRefused(Quoted(p.Nombre) +
                                     " cannot be correlated: its distribution has no variance.");
        try {
            marginals_.emplace_back(p);
        } catch (const CalcError& error) {
            throw CorrelationRefused(Quoted(p.Nombre) + " cannot be correlated: " + error.what() +
                                     ".");
        }
        if (!marginals_.back().HasVariance())
            throw CorrelationRefused(Quoted(p.Nombre) +
                                     " cannot be correlated: its distribution has no variance.");
        profiles.push_back(ProfileOf(marginals_.back()));
    }
    std::vector<long double> given(n * n, 0);
    copula_.assign(n * n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        given[i * n + i] = copula_[i * n + i] = 1;
        for (std::size_t j = 0; j < i; ++j) {
            const std::string& a = parameters[members[j]].Nombre;
            const std::string& b = parameters[members[i]].Nombre;
            const long double r = CorrelationOf(list, a, b);
            given[i * n + j] = given[j * n + i] = r;
            long double low = 0, high = 0;
            const std::optional<long double> rho =
                SolveCopula(profiles[j], profiles[i], r, low, high);
            if (!rho)
                throw CorrelationRefused("The coefficient " +
                                         FormatGeneral(static_cast<double>(r)) + " of " +
                                         Quoted(a) + " and " + Quoted(b) +
                                         " cannot be reached by their distributions (from " +
                                         Rounded(low) + " to " + Rounded(high) + ").");
            copula_[i * n + j] = copula_[j * n + i] = *rho;
        }
    }
    const auto refuseMatrix = [&](std::size_t failed) {
        std::string names;
        for (std::size_t i = 0; i <= failed; ++i) {
            if (i > 0) names += i == failed ? " and " : ", ";
            names += Quoted(parameters[members[i]].Nombre);
        }
        throw CorrelationRefused("The coefficients of " + names +
                                 " do not form a positive semi-definite matrix.");
    };
    std::size_t failed = 0;
    if (!Cholesky(given, n, failed)) refuseMatrix(failed);
    std::optional<std::vector<long double>> factor = Cholesky(copula_, n, failed);
    if (!factor) refuseMatrix(failed);
    cholesky_ = std::move(*factor);
}

void JointSampler::Draw(long double* out) const {
    const std::size_t n = marginals_.size();
    long double scores[64];
    std::vector<long double> more;
    long double* z = scores;
    if (n > 64) {
        more.resize(n);
        z = more.data();
    }
    for (std::size_t i = 0; i < n; ++i)
        z[i] = RandG(0, 1);
    for (std::size_t i = n; i-- > 0;) {
        long double w = 0;
        for (std::size_t k = 0; k <= i; ++k)
            w += cholesky_[i * n + k] * z[k];
        out[i] = marginals_[i].AtNormalScore(w);
    }
}

std::vector<std::size_t> CorrelatedInputs(const ParameterList& parameters,
                                          const CorrelationList& list) {
    std::vector<std::size_t> members;
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        if (!IsInputQuantity(parameters[i])) continue;
        for (const Correlation& c : list) {
            if (c.Coefficient != 0 &&
                (c.First == parameters[i].Nombre || c.Second == parameters[i].Nombre)) {
                members.push_back(i);
                break;
            }
        }
    }
    return members;
}

std::optional<std::string> CheckCorrelations(const ParameterList& parameters,
                                             const CorrelationList& list) {
    try {
        JointSampler sampler(parameters, CorrelatedInputs(parameters, list), list);
    } catch (const CorrelationRefused& refused) {
        return refused.what();
    }
    return std::nullopt;
}

}  // namespace corvanta
