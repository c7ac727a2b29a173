#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "distributions/ModelParameter.h"
#include "distributions/Quantiles.h"

// Correlation between input quantities: the coefficients the model holds,
// their checks, and the joint draw of the correlated inputs.
namespace corvanta {

// The correlation coefficient of two input quantities, named as in the
// quantity list. A pair that is absent has coefficient 0.
struct Correlation {
    std::string First, Second;
    double Coefficient = 0;
    bool operator==(const Correlation&) const = default;
};
using CorrelationList = std::vector<Correlation>;

// True for a record that is drawn: neither intermediate nor output.
bool IsInputQuantity(const ModelParameter& p);

// The coefficient of the pair in either order; 0 when it is absent.
double CorrelationOf(const CorrelationList& list, std::string_view a, std::string_view b);
// Sets the pair's coefficient (in either order), removing it for 0.
void SetCorrelation(CorrelationList& list, std::string_view a, std::string_view b, double r);

// What "Update parameters" keeps: the pairs whose two names are still input
// quantities, in their order.
CorrelationList SurvivingCorrelations(const CorrelationList& list, const ParameterList& parameters);

// Checks one entry of the list (a line of the file, a cell of the window)
// against the quantities and the entries before it. On success fills
// `entry` and returns nothing; otherwise returns why, a text such as
// "\"x9\" names no quantity of the model".
std::optional<std::string> CheckCorrelationEntry(const ParameterList& parameters,
                                                 const CorrelationList& earlier,
                                                 std::string_view first, std::string_view second,
                                                 std::string_view coefficient, Correlation& entry);

// The input quantities' names, in the order of the list: the rows and
// columns of the correlation matrix.
std::vector<std::string> InputNames(const ParameterList& parameters);

// The matrix of coefficients of `names` as a spreadsheet takes it: one row a
// line ended by "\n", cells joined by tabs, 1 on the diagonal and each
// pair's coefficient above and below it.
std::string CorrelationMatrixText(const std::vector<std::string>& names,
                                  const CorrelationList& list);

// A matrix read back: the coefficients of the upper triangle, or why not.
struct MatrixReading {
    CorrelationList List;
    std::optional<std::string> Fault;
};

// Reads a square matrix of coefficients for `names` (rows by line ends, cells
// by tabs, blanks around a cell ignored). An empty cell below the diagonal
// takes the one above it and the other way round; an empty diagonal cell is
// 1. Refused, with the reason: a text that is not n rows of at most n cells,
// a cell that is not a number, a diagonal cell other than 1, a pair whose two
// cells differ, and every fault of CheckCorrelationEntry.
MatrixReading ReadCorrelationMatrix(std::string_view text, const std::vector<std::string>& names,
                                    const ParameterList& parameters);

// A list of coefficients that can't be drawn, with the message naming the
// quantities.
class CorrelationRefused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The correlated inputs drawn together: correlated standard normals through
// the Cholesky factor of the copula's correlation matrix, each pushed through
// its own distribution's quantile function.
class JointSampler {
  public:
    // `members` index the records in the order their values are wanted. The
    // copula's coefficient of each pair is chosen so that the drawn values
    // have the pair's coefficient as their correlation. Throws
    // CorrelationRefused for a Constante member, a member without a
    // variance, a coefficient the two distributions can't reach and a matrix
    // that is not positive semi-definite; CalcError for texts that do not
    // read.
    JointSampler(const ParameterList& parameters, const std::vector<std::size_t>& members,
                 const CorrelationList& list);

    std::size_t Size() const { return marginals_.size(); }
    // Draws one value for each member into out[0 .. Size() - 1]: Size()
    // normal deviates from the uniform source, in member order.
    void Draw(long double* out) const;
    // The copula's coefficient of members i and j.
    long double CopulaCoefficient(std::size_t i, std::size_t j) const {
        return copula_[i * marginals_.size() + j];
    }

  private:
    std::vector<Marginal> marginals_;
    std::vector<long double> copula_;    // n x n, row by row
    std::vector<long double> cholesky_;  // lower triangle of n x n, row by row
};

// The inputs with a nonzero coefficient, in list order.
std::vector<std::size_t> CorrelatedInputs(const ParameterList& parameters,
                                          const CorrelationList& list);

// The checks of the joint draw over every correlated input: nothing when the
// list can be drawn, otherwise the message.
std::optional<std::string> CheckCorrelations(const ParameterList& parameters,
                                             const CorrelationList& list);

// The copula coefficient that gives two marginals the correlation r, or
// nothing when they can't reach it; `low` and `high` receive the range they
// can reach.
std::optional<long double> CopulaCoefficientFor(const Marginal& a, const Marginal& b, long double r,
                                                long double& low, long double& high);

}  // namespace corvanta
