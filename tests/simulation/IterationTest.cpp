#include "simulation/Iteration.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
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

// What one iteration gave: the bits of its value or its fault, and the state
// of the uniform source after it.
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
    const char* Equations;
    std::vector<Input> Inputs;
};

// Models that reach every operator, every function, every distribution and
// every kind of fault.
std::vector<Case> Cases() {
    std::vector<Case> cases = {
        {"y = a + b*c - d/e",
         {{"a", K::Normal, "10", "0.5"},
          {"b", K::Rectangular, "2", "1"},
          {"c", K::Triangular, "5", "2"},
          {"d", K::Constante, "3.3"},
          {"e", K::Normal, "0", "1"}}},
        {"y = x^2 + x^0.5 - 2^x^2", {{"x", K::Normal, "0.5", "1"}}},
        {"y = x*x/(x - x)", {{"x", K::Normal, "1", "1"}}},
        {"y = 1/k + k^(-2)", {{"k", K::Poisson, "1.5"}}},
        {"y = g + 1", {{"g", K::Gamma, "0.5"}}},
        {"y = g*2", {{"g", K::Gamma, "1"}}},
        {"y = g - 3", {{"g", K::Gamma, "2.5"}}},
        {"y = ex*ex", {{"ex", K::Exponencial, ""}}},
        {"y = be/3", {{"be", K::Beta, "2", "5"}}},
        {"y = t + t", {{"t", K::Student, "5", "1"}}},
        {"y = t1 - 1", {{"t1", K::Student, "1", ""}}},
        {"y = n*0.1", {{"n", K::Binomial, "10", "0.3"}}},
        {"y = nb + 0.5", {{"nb", K::NegBinomial, "5", "0.4"}}},
        {"y = sin(vm)", {{"vm", K::VonMises, "2"}}},
        {"y = ca*1.5", {{"ca", K::Cauchy, ""}}},
        {"y = w^3", {{"w", K::Weibull, "1.5"}}},
        {"y = sqrt(chi)", {{"chi", K::XiCuadrado, "3"}}},
        {"y = ln(lg)", {{"lg", K::LogNormal, "2", "0.5"}}},
        {"y = xe + xs",
         {{"xe", K::Experimental, "10", "0.1", "Normal", "4"},
          {"xs", K::Experimental, "10", "0.1", "Student", "4"}}},
        {"y = pi*r^2 + PI", {{"r", K::Rectangular, "1", "0.01"}}},
        {"y = arcsec(z) + z", {{"z", K::Constante, "0"}}},
        {"y = x*x*x", {{"x", K::Constante, "1E200"}}},
        {"y = x + 1", {{"x", K::Normal, "abc", "1"}}},
        {"y = q + 1", {{"q", K::Rectangular, "0", "1E310"}}},
        {"y = 0.1234567890123456789*x + 0.00000000000000000001", {{"x", K::Normal, "1", "1E-10"}}},
        {"y = m\nm = a*b\n", {{"a", K::Normal, "3", "1"}, {"b", K::Triangular, "1", "0.5"}}},
    };
    // Every function of the library on a quantity that also leaves its domain.
    const char* const functions[] = {
        "abs",         "exp",       "ln",         "log",       "sqr",         "sqrt",
        "sin",         "cos",       "tan",        "cot",       "sec",         "csc",
        "cosecant",    "sinh",      "cosh",       "tanh",      "coth",        "sech",
        "csch",        "arcsin",    "arccos",     "arctan",    "arccot",      "arcsec",
        "arccsc",      "arcsinh",   "arccosh",    "arctanh",   "arccoth",     "arcsech",
        "arccsch",     "degtorad",  "radtodeg",   "gradtorad", "radtograd",   "cycletorad",
        "radtocycle",  "degtograd", "degtocycle", "gradtodeg", "gradtocycle", "cycletodeg",
        "cycletograd", "mean",      "variance"};
    static std::vector<std::string> texts;
    texts.clear();
    texts.reserve(std::size(functions));
    for (const char* f : functions)
        texts.push_back(std::string("y = ") + f + "(u*900) + u");
    for (const std::string& text : texts)
        cases.push_back({text.c_str(), {{"u", K::Rectangular, "0", "1.2"}}});
    return cases;
}

TEST(CompiledModel, GivesTheValuesDrawsAndFaultsOfTheTextualIteration) {
    testing::ScriptedDialogs dialogs;
    int compared = 0;
    for (const Case& c : Cases()) {
        const Model m = MakeModel(c.Equations, c.Inputs);
        CompiledModel compiled(m.PostfixExpression, m.Parameters, Texts(), dialogs);
        EXPECT_FALSE(compiled.UsesText()) << c.Equations;
        for (std::uint32_t seed : {1u, 4294967295u}) {
            const auto reference = Record(seed, 150, [&] {
                return GetIteration(m.PostfixExpression, m.Parameters, Texts(), dialogs);
            });
            const auto fast = Record(seed, 150, [&] { return compiled.Evaluate(); });
            ASSERT_EQ(fast, reference) << c.Equations << " seed " << seed;
            ++compared;
        }
        for (std::size_t j = 0; j < m.Parameters.size(); ++j) {
            CompiledModel varying(m.PostfixExpression, m.Parameters, Texts(), dialogs, j);
            const auto reference = Record(99, 100, [&] {
                return GetIterationPar(j, m.PostfixExpression, m.Parameters, Texts(), dialogs);
            });
            const auto fast = Record(99, 100, [&] { return varying.Evaluate(); });
            ASSERT_EQ(fast, reference) << c.Equations << " varying " << j;
        }
    }
    EXPECT_TRUE(dialogs.Log.empty());
    EXPECT_GT(compared, 140);
}

TEST(CompiledModel, BatchesGiveWhatSingleIterationsGive) {
    // The run evaluates whole batches: draws one after the other, then the
    // program over all of them. Every iteration must come out as alone.
    testing::ScriptedDialogs dialogs;
    for (const Case& c : Cases()) {
        const Model m = MakeModel(c.Equations, c.Inputs);
        const auto reference = Record(31, 300, [&] {
            return GetIteration(m.PostfixExpression, m.Parameters, Texts(), dialogs);
        });
        CompiledModel compiled(m.PostfixExpression, m.Parameters, Texts(), dialogs);
        std::vector<Outcome> batched;
        UniformSeed = 31;
        for (std::size_t size : {1u, 7u, 256u, 36u}) {
            const std::size_t made = compiled.EvaluateBatch(size);
            ASSERT_EQ(made, size);
            for (std::size_t t = 0; t < made; ++t) {
                Outcome o;
                if (compiled.Failed(t)) {
                    try {
                        std::rethrow_exception(compiled.Fault(t));
                    } catch (const CalcError& e) {
                        o.Fault = e.what();
                    }
                } else {
                    const double y = compiled.Value(t);
                    std::memcpy(&o.Bits, &y, sizeof y);
                }
                o.SeedAfter = compiled.SeedAfter(t);
                batched.push_back(o);
            }
        }
        ASSERT_EQ(batched, reference) << c.Equations;
    }
}

TEST(CompiledModel, CoversEveryKindOfFault) {
    // The cases above must really meet each fault, or the comparison proves less.
    testing::ScriptedDialogs dialogs;
    std::vector<std::string> faults;
    for (const Case& c : Cases()) {
        const Model m = MakeModel(c.Equations, c.Inputs);
        for (const Outcome& o : Record(5, 200, [&] {
                 return GetIteration(m.PostfixExpression, m.Parameters, Texts(), dialogs);
             }))
            faults.push_back(o.Fault);
    }
    for (const char* expected :
         {kInvalidOperationText, kDivisionByZeroText, kOverflowText,
          "'INF' is not a valid floating point value", "'abc' is not a valid floating point value"})
        EXPECT_NE(std::find(faults.begin(), faults.end(), expected), faults.end()) << expected;
}

TEST(CompiledModel, IrregularTextIsEvaluatedThroughText) {
    // Two values left on the stack: the message and a result of 0, both ways.
    ParameterList parameters(1);
    parameters[0].Nombre = "a";
    parameters[0].Distrib = static_cast<int>(K::Normal);
    parameters[0].Valor = "1";
    parameters[0].a = "1";
    parameters[0].Init = true;
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
    const long double x = RandG(10, 1);
    const std::uint32_t after = UniformSeed;
    const long double drawn = RoundToGeneral(x);
    const double expected = static_cast<double>(RoundToGeneral(static_cast<double>(
        static_cast<long double>(static_cast<double>(drawn)) * static_cast<double>(drawn))));
    UniformSeed = 77;
    EXPECT_EQ(GetIteration(m.PostfixExpression, m.Parameters, Texts(), dialogs), expected);
    EXPECT_EQ(UniformSeed, after);
}

TEST(GetIteration, TokenThatNamesNoQuantityStopsWithTheMessage) {
    ParameterList parameters(1);
    parameters[0].Nombre = "x";
    parameters[0].Distrib = static_cast<int>(K::Constante);
    parameters[0].Valor = "2";
    parameters[0].Init = true;
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
    } cases[] = {
        {{"q", K::Normal, "2.5", "1"}, 2.5L},
        {{"q", K::Rectangular, "-3", "1"}, -3},
        {{"q", K::Triangular, "5", "2"}, 5},
        {{"q", K::Constante, "7"}, 7},
        {{"q", K::Gamma, "2.5"}, 1.5L},
        {{"q", K::Exponencial, ""}, 0.2L},
        {{"q", K::Beta, "2", "5"}, 0.5L},
        {{"q", K::Student, "5", "1.25"}, 1.25L},
        {{"q", K::Student, "5", ""}, 0},
        {{"q", K::Poisson, "3.5"}, 3.5L},
        {{"q", K::Binomial, "10", "0.3"}, 10},
        {{"q", K::NegBinomial, "5", "0.4"}, 5},
        {{"q", K::VonMises, "2"}, 0},
        {{"q", K::Cauchy, ""}, 0},
        {{"q", K::Weibull, "1.5"}, 1},
        {{"q", K::XiCuadrado, "3"}, 3},
        {{"q", K::LogNormal, "2", "0.5"}, 2},
        {{"q", K::Experimental, "9.5", "0.1", "Normal", "4"}, 9.5L},
    };
    testing::ScriptedDialogs dialogs;
    for (const auto& c : cases) {
        const Model m = MakeModel("y = q + v", {c.In, {"v", K::Normal, "0", "1"}});
        std::size_t v = 0, q = 0;
        while (m.Parameters[v].Nombre != "v")
            ++v;
        while (m.Parameters[q].Nombre != "q")
            ++q;
        EXPECT_EQ(FixedValue(m.Parameters[q]), c.Fixed) << c.In.Valor;
        // Varying v: the other quantity sits at its fixed value in every iteration.
        UniformSeed = 5;
        const double y = GetIterationPar(v, m.PostfixExpression, m.Parameters, Texts(), dialogs);
        UniformSeed = 5;
        const double expected = static_cast<double>(
            RoundToGeneral(ApplyOperator('+', static_cast<double>(RoundToGeneral(c.Fixed)),
                                         static_cast<double>(RoundToGeneral(RandG(0, 1))))));
        EXPECT_EQ(y, expected) << c.In.Valor;
    }
    ModelParameter none;
    EXPECT_THROW(FixedValue(none), CalcError);
}

}  // namespace
}  // namespace corvanta
