#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "engine/Equations.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

using testing::ScriptedDialogs;

// The right side compiled exactly as in an equation, then evaluated.
long double Evaluate(const std::string& expression, ScriptedDialogs& dialogs) {
    EquationInfo info;
    ParseEquation("y = " + expression, info, dialogs);
    if (info.ErrorFlag) throw std::logic_error("rejected: " + expression);
    return EvaluatePostfix(info.PostfixText, dialogs);
}

struct ValueCase {
    const char* Expression;
    const char* Text;  // the value as number text
};

TEST(EvaluatePostfix, ValuesAsNumberText) {
    const ValueCase cases[] = {
        {"2^3^2", "64"},
        {"0^0", "1"},
        {"0^3", "0"},
        {"(-2)^3", "-8"},
        {"(-2)^(-2)", "0.25"},
        {"4^0.5", "2"},
        {"2^0.5", "1.4142135623731"},
        {"1/3*3", "0.999999999999999"},
        {"2/3", "0.666666666666667"},
        {"pi", "3.14159265358979"},
        {"-2^2", "-4"},
        {"2,5*2", "5"},
        {"1000000*1000000*1000", "1E15"},
        {"1/100000*1.5", "1.5E-5"},
        {"abs(-3)", "3"},
        {"sqr(3)", "9"},
        {"sqrt(16)", "4"},
        {"exp(0)", "1"},
        {"exp(1)", "2.71828182845905"},
        {"ln(1)", "0"},
        {"log(1000)", "3"},
        {"sin(0)", "0"},
        {"sin(pi)", "3.23108914886517E-15"},
        {"cos(0)", "1"},
        {"tan(0)", "0"},
        {"sec(0)", "1"},
        {"csc(pi/2)", "1"},
        {"cosecant(pi/2)", "1"},
        {"cot(pi/4)", "1"},
        {"sinh(1)", "1.1752011936438"},
        {"cosh(1)", "1.54308063481524"},
        {"tanh(1)", "0.761594155955765"},
        {"coth(1)", "1.31303528549933"},
        {"sech(0)", "1"},
        {"csch(1)", "0.850918128239322"},
        {"tanh(800)", "1"},
        {"arcsin(1)", "1.5707963267949"},
        {"arccos(1)", "0"},
        {"arccos(-1)", "3.14159265358979"},
        {"arctan(1)", "0.785398163397448"},
        {"arccot(-1)", "-0.785398163397448"},
        {"arccot(0)", "1.5707963267949"},
        {"arcsec(1)", "0"},
        {"arccsc(1)", "1.5707963267949"},
        {"arcsinh(1)", "0.881373587019543"},
        {"arccosh(1)", "0"},
        {"arccosh(2)", "1.31695789692482"},
        {"arctanh(0.5)", "0.549306144334055"},
        {"arccoth(2)", "0.549306144334055"},
        {"arcsech(1)", "0"},
        {"arcsech(0.5)", "1.31695789692482"},
        {"arccsch(1)", "0.881373587019543"},
        {"degtorad(180)", "3.14159265358979"},
        {"radtodeg(1)", "57.2957795130823"},
        {"gradtorad(200)", "3.14159265358979"},
        {"radtograd(1)", "63.6619772367581"},
        {"cycletorad(1)", "6.28318530717959"},
        {"radtocycle(1)", "0.159154943091895"},
        {"degtograd(90)", "100"},
        {"degtocycle(90)", "0.25"},
        {"gradtodeg(100)", "90"},
        {"gradtocycle(100)", "0.25"},
        {"cycletodeg(1)", "360"},
        {"cycletograd(1)", "400"},
        {"mean(5)", "0"},
        {"POWER(3)+1", "1"},
        {"stddev(1)+poly(1)+totalvariance(1)+variance(1)", "0"},
    };
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        EXPECT_EQ(FormatGeneral(Evaluate(c.Expression, dialogs)), c.Text) << c.Expression;
        EXPECT_TRUE(dialogs.Log.empty()) << c.Expression;
    }
}

TEST(EvaluatePostfix, TheResultIsTheLastTextReadInExtendedPrecision) {
    ScriptedDialogs dialogs;
    EXPECT_EQ(Evaluate("1/3", dialogs), ParseFloat("0.333333333333333"));
    EXPECT_EQ(EvaluatePostfix("1E400\r\n", dialogs), ParseFloat("1E400"));
    EXPECT_EQ(EvaluatePostfix("0.1234567890123456789\r\n", dialogs),
              ParseFloat("0.1234567890123456789"));
    EXPECT_EQ(EvaluatePostfix("2\n3\n*", dialogs), 6.0L);
    EXPECT_EQ(EvaluatePostfix("2\r3\r-\r", dialogs), -1.0L);
    EXPECT_TRUE(dialogs.Log.empty());
}

TEST(EvaluatePostfix, LeftoverValuesShowTheMessageAndGiveZero) {
    for (const char* tokens : {"1\r\n2\r\n", "x\r\ny\r\n", "1\r\n2\r\n3\r\n+\r\n"}) {
        ScriptedDialogs dialogs;
        EXPECT_EQ(EvaluatePostfix(tokens, dialogs), 0.0L);
        EXPECT_EQ(dialogs.Log, (std::vector<ScriptedDialogs::Shown>{
                                   {DialogKind::Message, "Error de expresi\xF3n Postfija"}}));
    }
}

struct FaultCase {
    const char* Expression;
    FaultKind Kind;
    const char* Text;
};

const char* const kInvalid = "Invalid floating point operation";
const char* const kZero = "Floating point division by zero";
const char* const kOverflow = "Floating point overflow";
const char* const kMissing = "Missing operand in expression";

TEST(EvaluatePostfix, FaultsCarryTheirKindAndText) {
    using K = FaultKind;
    const FaultCase cases[] = {
        {"ln(0)", K::DivisionByZero, kZero},
        {"log(0)", K::DivisionByZero, kZero},
        {"1/0", K::DivisionByZero, kZero},
        {"0^(-1)", K::DivisionByZero, kZero},
        {"0^(-0.5)", K::DivisionByZero, kZero},
        {"cot(0)", K::DivisionByZero, kZero},
        {"csc(0)", K::DivisionByZero, kZero},
        {"coth(0)", K::DivisionByZero, kZero},
        {"csch(0)", K::DivisionByZero, kZero},
        {"arccsch(0)", K::DivisionByZero, kZero},
        {"arccosh(-1)", K::DivisionByZero, kZero},
        {"ln(-1)", K::InvalidOperation, kInvalid},
        {"log(-0.5)", K::InvalidOperation, kInvalid},
        {"sqrt(-1)", K::InvalidOperation, kInvalid},
        {"arcsin(1.5)", K::InvalidOperation, kInvalid},
        {"arccos(-2)", K::InvalidOperation, kInvalid},
        {"arcsec(0.5)", K::InvalidOperation, kInvalid},
        {"arccsc(-0.5)", K::InvalidOperation, kInvalid},
        {"arccosh(0.5)", K::InvalidOperation, kInvalid},
        {"arccosh(-2)", K::InvalidOperation, kInvalid},
        {"arctanh(2)", K::InvalidOperation, kInvalid},
        {"arccoth(0)", K::InvalidOperation, kInvalid},
        {"arcsech(2)", K::InvalidOperation, kInvalid},
        {"arcsech(-0.5)", K::InvalidOperation, kInvalid},
        {"0/0", K::InvalidOperation, kInvalid},
        {"(-8)^(1/3)", K::InvalidOperation, kInvalid},
        {"exp(1000)", K::Overflow, kOverflow},
        {"exp(710)", K::Overflow, kOverflow},
        {"10^400", K::Overflow, kOverflow},
        {"10^308*10", K::Overflow, kOverflow},
        {"sqr(10^200)", K::Overflow, kOverflow},
        {"sinh(711)", K::Overflow, kOverflow},
        {"cosh(-711)", K::Overflow, kOverflow},
        {"2^2147483647", K::Overflow, kOverflow},
        {"arcsec(0)", K::Conversion, "'INF' is not a valid floating point value"},
        {"arccsc(0)", K::Conversion, "'INF' is not a valid floating point value"},
        {"arcsech(0)", K::Conversion, "'INF' is not a valid floating point value"},
        {"arctanh(1)", K::Conversion, "'INF' is not a valid floating point value"},
        {"arctanh(-1)", K::Conversion, "'-INF' is not a valid floating point value"},
        {"arccoth(1)", K::Conversion, "'INF' is not a valid floating point value"},
        {"arccoth(-1)", K::Conversion, "'-INF' is not a valid floating point value"},
        {"arcsec(0)+1", K::Conversion, "'INF' is not a valid floating point value"},
        {"a+1", K::Conversion, "'a' is not a valid floating point value"},
        {"x", K::Conversion, "'x' is not a valid floating point value"},
        {"2.5.3", K::Conversion, "'2.5.3' is not a valid floating point value"},
        {"sin(T_1)", K::Conversion, "'T_1' is not a valid floating point value"},
        {"", K::InvalidOperation, kMissing},
        {"a+", K::InvalidOperation, kMissing},
        {"-", K::InvalidOperation, kMissing},
        {"(", K::InvalidOperation, kMissing},
    };
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        try {
            Evaluate(c.Expression, dialogs);
            ADD_FAILURE() << c.Expression << " gave a value";
        } catch (const CalcError& error) {
            EXPECT_EQ(error.Kind(), c.Kind) << c.Expression;
            EXPECT_STREQ(error.what(), c.Text) << c.Expression;
        }
        EXPECT_TRUE(dialogs.Log.empty()) << c.Expression;
    }
}

TEST(EvaluatePostfix, TokenTextThatWasNeverCompiled) {
    using K = FaultKind;
    const FaultCase cases[] = {
        {"NAN\r\n", K::Conversion, "'NAN' is not a valid floating point value"},
        {"2\r\n\r\n+\r\n", K::Conversion, "'' is not a valid floating point value"},
        {"1E400\r\n1\r\n+\r\n", K::Overflow, kOverflow},
        {"-1E309\r\nabs\r\n", K::Overflow, kOverflow},
        {"sin\r\n", K::InvalidOperation, kMissing},
        {"1\r\n*\r\n", K::InvalidOperation, kMissing},
        {"", K::InvalidOperation, kMissing},
    };
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        try {
            EvaluatePostfix(c.Expression, dialogs);
            ADD_FAILURE() << c.Expression << " gave a value";
        } catch (const CalcError& error) {
            EXPECT_EQ(error.Kind(), c.Kind) << c.Expression;
            EXPECT_STREQ(error.what(), c.Text) << c.Expression;
        }
    }
}

TEST(ApplyOperator, PowerRules) {
    EXPECT_EQ(ApplyOperator('^', 0, 0), 1.0);
    EXPECT_EQ(ApplyOperator('^', 0, 2.5), 0.0);
    EXPECT_EQ(ApplyOperator('^', 1, 2147483647), 1.0);
    // A whole exponent within the 32-bit range takes the repeated squaring,
    // which a negative base survives; beyond it the logarithm does not.
    EXPECT_EQ(ApplyOperator('^', -1, 2147483647), -1.0);
    EXPECT_EQ(ApplyOperator('^', -1, -2147483647), -1.0);
    EXPECT_THROW(ApplyOperator('^', -1, 2147483648.0), CalcError);
    EXPECT_EQ(ApplyOperator('^', 1, 2147483648.0), 1.0);
    EXPECT_EQ(ApplyOperator('^', 2, -1074), std::ldexp(1.0, -1074));
    EXPECT_EQ(ApplyOperator('^', 2, 1023), std::ldexp(1.0, 1023));
    EXPECT_EQ(ApplyOperator('^', 10, 15), 1e15);
    EXPECT_EQ(ApplyOperator('^', 2, -2), 0.25);
    EXPECT_THROW(ApplyOperator('^', 2, 1024), CalcError);
    try {
        ApplyOperator('^', 0, -3);
        ADD_FAILURE();
    } catch (const CalcError& error) {
        EXPECT_EQ(error.Kind(), FaultKind::DivisionByZero);
    }
}

TEST(ApplyOperator, ArithmeticAndRange) {
    const long double tenth = 0.1, fifth = 0.2;
    EXPECT_EQ(ApplyOperator('+', 0.1, 0.2), static_cast<double>(tenth + fifth));
    EXPECT_EQ(ApplyOperator('-', 1, 3), -2.0);
    EXPECT_EQ(ApplyOperator('*', -4, 0.5), -2.0);
    EXPECT_EQ(ApplyOperator('/', 1, 4), 0.25);
    EXPECT_EQ(ApplyOperator('*', 1e-200, 1e-200), 0.0);  // underflow passes silently
    EXPECT_EQ(ApplyOperator('+', DBL_MAX, 0), DBL_MAX);
    for (auto [op, a, b] : {std::tuple{'+', DBL_MAX, DBL_MAX}, std::tuple{'-', -DBL_MAX, DBL_MAX},
                            std::tuple{'*', 1e200, 1e200}, std::tuple{'/', 1e308, 1e-10}}) {
        try {
            ApplyOperator(op, a, b);
            ADD_FAILURE() << op;
        } catch (const CalcError& error) {
            EXPECT_EQ(error.Kind(), FaultKind::Overflow) << op;
        }
    }
    EXPECT_THROW(ApplyOperator('%', 1, 2), CalcError);
}

TEST(ApplyFunction, ExactInfinitiesAndNearZeroRules) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ApplyFunction("arcsec", 0), inf);
    EXPECT_EQ(ApplyFunction("arccsc", -1e-16), inf);
    EXPECT_EQ(ApplyFunction("arcsech", 1e-17), inf);
    EXPECT_EQ(ApplyFunction("ARCTANH", 1), inf);
    EXPECT_EQ(ApplyFunction("arctanh", -1), -inf);
    EXPECT_EQ(ApplyFunction("arccoth", 1), inf);
    EXPECT_EQ(ApplyFunction("arccoth", -1), -inf);
    EXPECT_EQ(ApplyFunction("sinh", 1e-16), 0.0);
    EXPECT_EQ(ApplyFunction("tanh", -1e-17), 0.0);
    EXPECT_EQ(ApplyFunction("cosh", 1e-16), 1.0);
    EXPECT_NE(ApplyFunction("sinh", 2e-16), 0.0);
    EXPECT_EQ(ApplyFunction("arccot", 1e-16), static_cast<double>(1.5707963267948966192L));
    EXPECT_EQ(ApplyFunction("arcsech", 1), 0.0);
    EXPECT_EQ(ApplyFunction("pi", 7), 3.141592653589793);
    EXPECT_EQ(ApplyFunction("Sin", 0.5), ApplyFunction("sin", 0.5));
    EXPECT_EQ(ApplyFunction("cosecant", 0.5), ApplyFunction("csc", 0.5));
    EXPECT_EQ(ApplyFunction("variance", 3), 0.0);
    EXPECT_EQ(ApplyFunction("arcsin", -1), -ApplyFunction("arcsin", 1));
}

TEST(ApplyFunction, TwoStepConversionsGoThroughRadians) {
    // Each step in extended precision, the result rounded once.
    EXPECT_EQ(ApplyFunction("degtograd", 90), 100.0);
    EXPECT_EQ(ApplyFunction("cycletodeg", 1), 360.0);
    EXPECT_EQ(ApplyFunction("degtocycle", 360), 1.0);
    EXPECT_EQ(ApplyFunction("gradtocycle", 400), 1.0);
    EXPECT_EQ(ApplyFunction("cycletograd", 0.25), 100.0);
    EXPECT_EQ(ApplyFunction("gradtodeg", 200), 180.0);
}

}  // namespace
}  // namespace corvanta
