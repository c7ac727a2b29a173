#include "simulation/Contributions.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../support/ScriptedDialogs.h"
#include "ModelFixture.h"
#include "distributions/Sampling.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"
#include "simulation/Iteration.h"
#include "simulation/Run.h"

namespace corvanta {
namespace {

using testing::MakeModel;
using testing::Model;
using testing::Texts;
using K = DistributionKind;

TEST(ContributionWidthText, FormatsByMagnitude) {
    const struct {
        double Width;
        const char* Text;
    } cases[] = {{0.05, "5.000e-2"},  {2000, "2.000e3"},    {12.3456, "12.346"},
                 {0, "0.000"},        {0.1, "0.100"},       {1000, "1000.000"},
                 {1000.5, "1.001e3"}, {0.09999, "9.999e-2"}};
    for (const auto& c : cases)
        EXPECT_EQ(ContributionWidthText(c.Width), c.Text) << c.Width;
}

ParameterList ThreeQuantities() {
    ParameterList list(4);
    const char* names[] = {"y", "a", "m", "b"};
    const K kinds[] = {K::Resultado, K::Normal, K::Intermedio, K::Rectangular};
    for (int i = 0; i < 4; ++i) {
        list[i].Nombre = names[i];
        list[i].Distrib = static_cast<int>(kinds[i]);
        list[i].Init = true;
        list[i].Sensib = 99;
    }
    return list;
}

TEST(ComputeContributions, WidthsAndSharesOfTheInputsOnly) {
    ParameterList list = ThreeQuantities();
    std::vector<ContributionRow> rows;
    int calls = 0;
    // Input a spreads its draws over 0 … 999, input b over 0 … 2997: ranks 25 and 975.
    std::vector<int> counter(4, 0);
    ComputeContributions(
        list,
        [&](std::size_t j) {
            ++calls;
            const int t = counter[j]++;
            return (j == 1 ? 1.0 : 3.0) * ((t * 7919) % 1000);
        },
        rows);
    EXPECT_EQ(calls, 2000);
    EXPECT_EQ(list[0].Sensib, 0);
    EXPECT_EQ(list[2].Sensib, 0);
    EXPECT_EQ(list[1].Sensib, 950);
    EXPECT_EQ(list[3].Sensib, 2850);
    const std::vector<ContributionRow> expected = {
        {"0.000", "0"}, {"950.000", "25"}, {"0.000", "0"}, {"2.850e3", "75"}};
    EXPECT_EQ(rows, expected);
}

TEST(ComputeContributions, AllWidthsZeroGiveZeroShares) {
    ParameterList list = ThreeQuantities();
    std::vector<ContributionRow> rows;
    ComputeContributions(
        list, [](std::size_t) { return 4.0; }, rows);
    for (const ContributionRow& row : rows)
        EXPECT_EQ(row, (ContributionRow{"0.000", "0"}));
}

TEST(ComputeContributions, AFaultStopsAtItsQuantityAndKeepsTheRows) {
    ParameterList list = ThreeQuantities();
    std::vector<ContributionRow> rows(4, ContributionRow{"old", "old"});
    EXPECT_THROW(ComputeContributions(
                     list,
                     [](std::size_t j) -> double {
                         if (j == 3) ThrowDivisionByZero();
                         return 1.0 * j;
                     },
                     rows),
                 CalcError);
    EXPECT_EQ(list[0].Sensib, 0);
    EXPECT_EQ(list[1].Sensib, 0);
    EXPECT_EQ(list[3].Sensib, 99);  // not reached
    EXPECT_EQ(rows, std::vector<ContributionRow>(4, ContributionRow{"old", "old"}));
}

TEST(ComputeContributions, RectangularNormalAndConstantInputs) {
    // y = a + b + c, a rectangular of half-width 1, b normal of deviation 1, c constant: the
    // central 95 % widths are 1.9, 3.92 and 0, a third, two thirds and nothing of their sum.
    Model m = MakeModel(
        "y = a + b + c",
        {{"a", K::Rectangular, "0", "1"}, {"b", K::Normal, "0", "1"}, {"c", K::Constante, "4"}});
    testing::ScriptedDialogs dialogs;
    std::vector<ContributionRow> rows;
    UniformSeed = 2026;
    ComputeContributions(m.PostfixExpression, m.Parameters, Texts(), dialogs, rows);
    const std::size_t a = testing::IndexOf(m, "a"), b = testing::IndexOf(m, "b");
    EXPECT_EQ(m.Parameters[testing::IndexOf(m, "c")].Sensib, 0);
    EXPECT_EQ(rows[testing::IndexOf(m, "c")], (ContributionRow{"0.000", "0"}));
    // Five standard errors of a width from 1000 draws (the quantile's error
    // over the density, for both ends).
    const double rectangularError = std::sqrt(2 * 0.025 * 0.975 / 1000) / 0.5;
    const double normalError = std::sqrt(2 * 0.025 * 0.975 / 1000) / 0.05845;
    EXPECT_NEAR(m.Parameters[a].Sensib, 1.9, 5 * rectangularError);
    EXPECT_NEAR(m.Parameters[b].Sensib, 3.92, 5 * normalError);
    long double aShare = 0, bShare = 0;
    ASSERT_TRUE(TryParseFloat(rows[a].Relative, aShare));
    ASSERT_TRUE(TryParseFloat(rows[b].Relative, bShare));
    EXPECT_NEAR(static_cast<double>(aShare + bShare), 100, 1e-12);
    EXPECT_NEAR(static_cast<double>(aShare), 100 * 1.9 / 5.82, 5);
    EXPECT_TRUE(dialogs.Log.empty());

    // The compiled evaluation gives the widths of the textual one, bit for bit.
    ParameterList textual = m.Parameters;
    std::vector<ContributionRow> textualRows;
    UniformSeed = 2026;
    ComputeContributions(
        textual,
        [&](std::size_t j) {
            return GetIterationPar(j, m.PostfixExpression, m.Parameters, Texts(), dialogs);
        },
        textualRows);
    EXPECT_EQ(textual, m.Parameters);
    EXPECT_EQ(textualRows, rows);
}

}  // namespace
}  // namespace corvanta
