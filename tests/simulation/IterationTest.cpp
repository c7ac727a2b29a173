#include "simulation/Iteration.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../support/ScriptedDialogs.h"
#include "ModelFixture.h"
#include "distributions/Sampling.h"
#include "engine/Equations.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"
#include "simulation/CompiledModel.h"

namespace corvanta {
namespace {

using testing::Input;
using testing::MakeModel;
using testing::Model;
using testing::Texts;
using K = DistributionKind;

// One iteration: the bits of its value or its fault, and the uniform state after it.
struct Outcome {
    std::uint64_t Bits = 0;
    std::string Fault;
    std::uint32_t SeedAfter = 0;
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    return out << "{bits " << o.Bits << ", fault '" << o.Fault << "', seed " << o.SeedAfter << "}";
}

template <typename Step>
std::vector<Outcome> Record(std::uint32_t seed, int count, Step step) {
    std::vector<Outcome> outcomes;
    UniformSeed = seed;
    for (int i = 0; i < count; ++i) {
        Outcome o;
        try {
            const double y = step();
            std::memcpy(&o.Bits, &y, sizeof y);
        } catch (const CalcError& e) {
            o.Fault = e.what();
        }
        o.SeedAfter = UniformSeed;
        outcomes.push_back(o);
    }
    return outcomes;
}

struct Case {
    std::string Equations;
    std::vector<Input> Inputs;
};

// Models that reach every operator, function, distribution and kind of fault.
std::vector<Case> Cases() {
    // clang-format off
    std::vector<Case> cases = {
        {"y = a + b*c - d/e", {{"a", K::Normal, "10", "0.5"}, {"b", K::Rectangular, "2", "1"},
            {"c", K::Triangular, "5", "2"}, {"d", K::Constante, "3.3"},
            {"e", K::Normal, "0", "1"}}},
        {"y = x^2 + x^0.5 - 2^x^2", {{"x", K::Normal, "0.5", "1"}}},
        {"y = x*x/(x - x)", {{"x", K::Normal, "1", "1"}}},
        {"y = 1/k + k^(-2)", {{"k", K::Poisson, "1.5"}}},
        {"y = g + 1", {{"g", K::Gamma, "0.5"}}}, {"y = g*2", {{"g", K::Gamma, "1"}}},
        {"y = g - 3", {{"g", K::Gamma, "2.5"}}}, {"y = ex*ex", {{"ex", K::Exponencial, ""}}},
        {"y = be/3", {{"be", K::Beta, "2", "5"}}}, {"y = t + t", {{"t", K::Student, "5", "1"}}},
        {"y = t1 - 1", {{"t1", K::Student, "1", ""}}},
        {"y = n*0.1", {{"n", K::Binomial, "10", "0.3"}}},
        {"y = nb + 0.5", {{"nb", K::NegBinomial, "5", "0.4"}}},
        {"y = sin(vm)", {{"vm", K::VonMises, "2"}}},
        {"y = ca*1.5", {{"ca", K::Cauchy, ""}}}, {"y = w^3", {{"w", K::Weibull, "1.5"}}},
        {"y = sqrt(chi)", {{"chi", K::XiCuadrado, "3"}}},
        {"y = ln(lg)", {{"lg", K::LogNormal, "2", "0.5"}}},
        {"y = xe + xs", {{"xe", K::Experimental, "10", "0.1", "Normal", "4"},
                         {"xs", K::Experimental, "10", "0.1", "Student", "4"}}},
        {"y = pi*r^2 + PI", {{"r", K::Rectangular, "1", "0.01"}}},
        {"y = arcsec(z) + z", {{"z", K::Constante, "0"}}},
        {"y = x*x*x", {{"x", K::Constante, "1E200"}}},
        {"y = x + 1", {{"x", K::Normal, "abc", "1"}}},
        {"y = q + 1", {{"q", K::Rectangular, "0", "1E310"}}},
        {"y = 0.1234567890123456789*x + 0.00000000000000000001", {{"x", K::Normal, "1", "1E-10"}}},
        {"y = m\nm = a*b\n", {{"a", K::Normal, "3", "1"}, {"b", K::Triangular, "1", "0.5"}}}};
    // clang-format on
    // Every function of the library, on a quantity that also leaves its domain.
    const std::string functions =
        "abs exp ln log sqr sqrt sin cos tan cot sec csc cosecant sinh cosh tanh coth sech csch "
        "arcsin arccos arctan arccot arcsec arccsc arcsinh arccosh arctanh arccoth arcsech arccsch "
        "degtorad radtodeg gradtorad radtograd cycletorad radtocycle degtograd degtocycle "
        "gradtodeg gradtocycle cycletodeg cycletograd mean variance ";
    for (std::size_t at = 0, end; (end = functions.find(' ', at)) != std::string::npos;
         at = end + 1)
        cases.push_back({"y = " + functions.substr(at, end - at) + "(u*900) + u",
                         {{"u", K::Rectangular, "0", "1.2"}}});
    return cases;
}

// Single iterations, batches (draws first, then the program over all of
// them) and the fixed-value iterations all give the textual results bit for bit.
TEST(CompiledModel, GivesTheValuesDrawsAndFaultsOfTheTextualIteration) {
    testing::ScriptedDialogs dialogs;
    std::vector<std::string> faults;
    for (const Case& c : Cases()) {
        const Model m = MakeModel(c.Equations, c.Inputs);
        CompiledModel compiled(m.PostfixExpression, m.Parameters, Texts(), dialogs);
        EXPECT_FALSE(compiled.UsesText()) << c.Equations;
        for (std::uint32_t seed : {1u, 4294967295u}) {
            const auto reference = Record(seed, 200, [&] {
                return GetIteration(m.PostfixExpression, m.Parameters, Texts(), dialogs);
            });
            for (const Outcome& o : reference)
                faults.push_back(o.Fault);
            ASSERT_EQ(Record(seed, 200, [&] { return compiled.Evaluate(); }), reference)
                << c.Equations << " seed " << seed;
            std::vector<Outcome> batched;
            UniformSeed = seed;
            for (std::size_t size : {1u, 7u, 156u, 36u}) {
                ASSERT_EQ(compiled.EvaluateBatch(size), size);
                for (std::size_t t = 0; t < size; ++t) {
                    Outcome& o = batched.emplace_back();
                    try {
                        if (compiled.Failed(t)) std::rethrow_exception(compiled.Fault(t));
                        const double y = compiled.Value(t);
                        std::memcpy(&o.Bits, &y, sizeof y);
                    } catch (const CalcError& e) {
                        o.Fault = e.what();
                    }
                    o.SeedAfter = compiled.SeedAfter(t);
                }
            }
            ASSERT_EQ(batched, reference) << c.Equations << " batched, seed " << seed;
        }
        for (std::size_t j = 0; j < m.Parameters.size(); ++j) {
            CompiledModel varying(m.PostfixExpression, m.Parameters, Texts(), dialogs, j);
            const auto reference = Record(99, 100, [&] {
                return GetIterationPar(j, m.PostfixExpression, m.Parameters, Texts(), dialogs);
            });
            ASSERT_EQ(Record(99, 100, [&] { return varying.Evaluate(); }), reference)
                << c.Equations << " varying " << j;
        }
    }
    EXPECT_TRUE(dialogs.Log.empty());
    // The cases must really meet each fault, or the comparison proves less.
    for (const char* expected :
         {kInvalidOperationText, kDivisionByZeroText, kOverflowText,
          "'INF' is not a valid floating point value", "'abc' is not a valid floating point value"})
        EXPECT_NE(std::find(faults.begin(), faults.end(), expected), faults.end()) << expected;
}

TEST(CompiledModel, IrregularTextIsEvaluatedThroughText) {
    // E.g. two values left on the stack: the message and a result of 0, both ways.
    const ParameterList parameters = MakeModel("y = a", {{"a", K::Normal, "1", "1"}}).Parameters;
    for (const char* text : {"a\r\na\r\n", "a\r\n+\r\n", "", "a\r\n1\r\n+][-\r\n"}) {
        testing::ScriptedDialogs textual, fast;
        CompiledModel compiled(text, parameters, Texts(), fast);
        EXPECT_TRUE(compiled.UsesText()) << text;
        const auto reference =
            Record(8, 5, [&] { return GetIteration(text, parameters, Texts(), textual); });
        EXPECT_EQ(Record(8, 5, [&] { return compiled.Evaluate(); }), reference) << text;
        EXPECT_EQ(fast.Log, textual.Log);
    }
}

TEST(GetIteration, AQuantityIsDrawnOncePerIteration) {
    testing::ScriptedDialogs dialogs;
    const Model m = MakeModel("y = x*x", {{"x", K::Normal, "10", "1"}});
    UniformSeed = 77;
    const long double drawn = RoundToGeneral(RandG(10, 1));
    const std::uint32_t after = UniformSeed;
    const double expected = static_cast<double>(RoundToGeneral(static_cast<double>(
        static_cast<long double>(static_cast<double>(drawn)) * static_cast<double>(drawn))));
    UniformSeed = 77;
    EXPECT_EQ(GetIteration(m.PostfixExpression, m.Parameters, Texts(), dialogs), expected);
    EXPECT_EQ(UniformSeed, after);
}

TEST(GetIteration, TokenThatNamesNoQuantityStopsWithTheMessage) {
    const ParameterList parameters = MakeModel("y = x", {{"x", K::Constante, "2"}}).Parameters;
    const std::string text = "x\r\nX\r\n*\r\n";
    testing::ScriptedDialogs textual, fast;
    EXPECT_THROW(GetIteration(text, parameters, Texts(), textual), IncompatibleParameterError);
    EXPECT_THROW(CompiledModel(text, parameters, Texts(), fast), IncompatibleParameterError);
    const testing::ScriptedDialogs::Shown expected{DialogKind::Message,
                                                   "Incompatible parameter: X"};
    EXPECT_EQ(textual.Log, std::vector{expected});
    EXPECT_EQ(fast.Log, std::vector{expected});
}

TEST(GetIterationPar, FixedValuesOfEveryKind) {
    const struct {
        Input In;
        long double Fixed;
    } cases[] = {// clang-format off
        {{"q", K::Normal, "2.5", "1"}, 2.5L},   {{"q", K::Rectangular, "-3", "1"}, -3},
        {{"q", K::Triangular, "5", "2"}, 5},    {{"q", K::Constante, "7"}, 7},
        {{"q", K::Gamma, "2.5"}, 1.5L},         {{"q", K::Exponencial, ""}, 0.2L},
        {{"q", K::Beta, "2", "5"}, 0.5L},       {{"q", K::Student, "5", "1.25"}, 1.25L},
        {{"q", K::Student, "5", ""}, 0},        {{"q", K::Poisson, "3.5"}, 3.5L},
        {{"q", K::Binomial, "10", "0.3"}, 10},  {{"q", K::NegBinomial, "5", "0.4"}, 5},
        {{"q", K::VonMises, "2"}, 0},           {{"q", K::Cauchy, ""}, 0},
        {{"q", K::Weibull, "1.5"}, 1},          {{"q", K::XiCuadrado, "3"}, 3},
        {{"q", K::LogNormal, "2", "0.5"}, 2},
        {{"q", K::Experimental, "9.5", "0.1", "Normal", "4"}, 9.5L}};
    // clang-format on
    testing::ScriptedDialogs dialogs;
    for (const auto& c : cases) {
        const Model m = MakeModel("y = q + v", {c.In, {"v", K::Normal, "0", "1"}});
        const std::size_t v = testing::IndexOf(m, "v");
        EXPECT_EQ(FixedValue(m.Parameters[testing::IndexOf(m, "q")]), c.Fixed) << c.In.Valor;
        // Varying v: the other quantity sits at its fixed value in every iteration.
        UniformSeed = 5;
        const double y = GetIterationPar(v, m.PostfixExpression, m.Parameters, Texts(), dialogs);
        UniformSeed = 5;
        const double expected = static_cast<double>(
            RoundToGeneral(ApplyOperator('+', static_cast<double>(RoundToGeneral(c.Fixed)),
                                         static_cast<double>(RoundToGeneral(RandG(0, 1))))));
        EXPECT_EQ(y, expected) << c.In.Valor;
    }
    EXPECT_THROW(FixedValue(ModelParameter{}), CalcError);
}

}  // namespace
}  // namespace corvanta
