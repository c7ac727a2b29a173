#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "engine/Equations.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

using testing::ScriptedDialogs;

// A text holding a line end is already postfix token text; anything else is
// a right side, compiled exactly as in an equation.
long double Evaluate(const std::string& expression, ScriptedDialogs& dialogs) {
    if (expression.find('\n') != std::string::npos) return EvaluatePostfix(expression, dialogs);
    EquationInfo info;
    ParseEquation("y = " + expression, info, dialogs);
    if (info.ErrorFlag) throw std::logic_error("rejected: " + expression);
    return EvaluatePostfix(info.PostfixText, dialogs);
}

TEST(EvaluatePostfix, ValuesAsNumberText) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"2^3^2", "64"}, {"0^0", "1"}, {"0^3", "0"}, {"(-2)^3", "-8"}, {"(-2)^(-2)", "0.25"},
        {"4^0.5", "2"}, {"2^0.5", "1.4142135623731"}, {"1/3*3", "0.999999999999999"},
        {"2/3", "0.666666666666667"}, {"pi", "3.14159265358979"}, {"-2^2", "-4"}, {"2,5*2", "5"},
        {"1000000*1000000*1000", "1E15"}, {"1/100000*1.5", "1.5E-5"}, {"abs(-3)", "3"},
        {"sqr(3)", "9"}, {"sqrt(16)", "4"}, {"exp(0)", "1"}, {"exp(1)", "2.71828182845905"},
        {"ln(1)", "0"}, {"log(1000)", "3"}, {"sin(0)", "0"}, {"sin(pi)", "3.23108914886517E-15"},
        {"Sin(pi/2)+COS(0)", "2"}, {"tan(0)", "0"}, {"sec(0)", "1"}, {"csc(pi/2)", "1"},
        {"cosecant(pi/2)", "1"}, {"cot(pi/4)", "1"}, {"sinh(1)", "1.1752011936438"},
        {"cosh(1)", "1.54308063481524"}, {"tanh(1)", "0.761594155955765"},
        {"coth(1)", "1.31303528549933"}, {"sech(0)", "1"}, {"csch(1)", "0.850918128239322"},
        {"tanh(800)", "1"}, {"arcsin(1)", "1.5707963267949"}, {"arcsin(-1)", "-1.5707963267949"},
        {"arccos(1)", "0"}, {"arccos(-1)", "3.14159265358979"}, {"arctan(1)", "0.785398163397448"},
        {"arccot(-1)", "-0.785398163397448"}, {"arccot(0)", "1.5707963267949"}, {"arcsec(1)", "0"},
        {"arccsc(1)", "1.5707963267949"}, {"arcsinh(1)", "0.881373587019543"}, {"arccosh(1)", "0"},
        {"arccosh(2)", "1.31695789692482"}, {"arctanh(0.5)", "0.549306144334055"},
        {"arccoth(2)", "0.549306144334055"}, {"arcsech(1)", "0"},
        {"arcsech(0.5)", "1.31695789692482"}, {"arccsch(1)", "0.881373587019543"},
        {"degtorad(180)", "3.14159265358979"}, {"radtodeg(1)", "57.2957795130823"},
        {"gradtorad(200)", "3.14159265358979"}, {"radtograd(1)", "63.6619772367581"},
        {"cycletorad(1)", "6.28318530717959"}, {"radtocycle(1)", "0.159154943091895"},
        {"degtocycle(90)", "0.25"}, {"gradtodeg(100)", "90"}, {"gradtocycle(100)", "0.25"},
        {"cycletodeg(1)", "360"}, {"mean(5)", "0"}, {"POWER(3)+1", "1"},
        {"stddev(1)+poly(1)+totalvariance(1)+variance(1)", "0"}};
    // clang-format on
    for (const auto& [expression, text] : cases) {
        ScriptedDialogs dialogs;
        EXPECT_EQ(FormatGeneral(Evaluate(expression, dialogs)), text) << expression;
        EXPECT_TRUE(dialogs.Log.empty()) << expression;
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

TEST(EvaluatePostfix, FaultsCarryTheirKindAndText) {
    auto conversion = [](const char* text) {
        return "'" + std::string(text) + "' is not a valid floating point value";
    };
    const std::string zero = "Floating point division by zero",
                      invalid = "Invalid floating point operation",
                      overflow = "Floating point overflow",
                      missing = "Missing operand in expression";
    // A text holding a line end is token text that was never compiled.
    // clang-format off
    const struct {
        FaultKind Kind;
        std::string Text;
        std::vector<const char*> Expressions;
    } cases[] = {
        {FaultKind::DivisionByZero, zero, {"ln(0)", "log(0)", "1/0", "0^(-1)", "0^(-0.5)", "cot(0)",
            "csc(0)", "coth(0)", "csch(0)", "arccsch(0)", "arccosh(-1)"}},
        {FaultKind::InvalidOperation, invalid, {"ln(-1)", "log(-0.5)", "sqrt(-1)", "arcsin(1.5)",
            "arccos(-2)", "arcsec(0.5)", "arccsc(-0.5)", "arccosh(0.5)", "arccosh(-2)",
            "arctanh(2)", "arccoth(0)", "arcsech(2)", "arcsech(-0.5)", "0/0", "(-8)^(1/3)"}},
        {FaultKind::Overflow, overflow, {"exp(1000)", "exp(710)", "10^400", "10^308*10",
            "sqr(10^200)", "sinh(711)", "cosh(-711)", "2^2147483647", "1E400\r\n1\r\n+\r\n",
            "-1E309\r\nabs\r\n"}},
        {FaultKind::Conversion, conversion("INF"), {"arcsec(0)", "arccsc(0)", "arcsech(0)",
            "arctanh(1)", "arccoth(1)", "arcsec(0)+1"}},
        {FaultKind::Conversion, conversion("-INF"), {"arctanh(-1)", "arccoth(-1)"}},
        {FaultKind::Conversion, conversion("a"), {"a+1"}},
        {FaultKind::Conversion, conversion("2.5.3"), {"2.5.3"}},
        {FaultKind::Conversion, conversion("T_1"), {"sin(T_1)"}},
        {FaultKind::Conversion, conversion("NAN"), {"NAN\r\n"}},
        {FaultKind::Conversion, conversion(""), {"2\r\n\r\n+\r\n"}},
        {FaultKind::InvalidOperation, missing, {"", "a+", "-", "(", "sin\r\n", "1\r\n*\r\n"}}};
    // clang-format on
    for (const auto& c : cases) {
        for (const char* expression : c.Expressions) {
            ScriptedDialogs dialogs;
            try {
                Evaluate(expression, dialogs);
                ADD_FAILURE() << expression << " gave a value";
            } catch (const CalcError& error) {
                EXPECT_EQ(error.Kind(), c.Kind) << expression;
                EXPECT_EQ(error.what(), c.Text) << expression;
            }
            EXPECT_TRUE(dialogs.Log.empty()) << expression;
        }
    }
}

// Exact doubles, which the 15-digit text of the evaluation would hide.
TEST(ApplyOperatorAndFunction, ExactValuesAndFaults) {
    const double inf = std::numeric_limits<double>::infinity();
    using K = FaultKind;
    // clang-format off
    const struct {
        const char* Name;  // one character: an operator
        double X, Y, Value;
        std::optional<FaultKind> Fault = std::nullopt;
    } cases[] = {
        {"^", 0, 0, 1.0}, {"^", 0, 2.5, 0.0}, {"^", 1, 2147483647, 1.0},
        {"^", 1, 2147483648.0, 1.0},
        // A whole exponent in the 32-bit range is squared out, which a negative base survives.
        {"^", -1, 2147483647, -1.0}, {"^", -1, -2147483647, -1.0},
        {"^", -1, 2147483648.0, 0, K::InvalidOperation}, {"^", 2, -1074, 0x1p-1074},
        {"^", 2, 1023, 0x1p1023}, {"^", 2, 1024, 0, K::Overflow}, {"^", 10, 15, 1e15},
        {"^", 2, -2, 0.25}, {"^", 0, -3, 0, K::DivisionByZero},
        {"+", 0.1, 0.2, 0.30000000000000004},
        {"-", 1, 3, -2.0}, {"*", -4, 0.5, -2.0}, {"/", 1, 4, 0.25},
        {"*", 1e-200, 1e-200, 0.0},  // silent underflow
        {"+", DBL_MAX, 0, DBL_MAX}, {"+", DBL_MAX, DBL_MAX, 0, K::Overflow},
        {"-", -DBL_MAX, DBL_MAX, 0, K::Overflow}, {"*", 1e200, 1e200, 0, K::Overflow},
        {"/", 1e308, 1e-10, 0, K::Overflow}, {"%", 1, 2, 0, K::InvalidOperation},
        {"arcsec", 0, 0, inf}, {"arccsc", -1e-16, 0, inf}, {"arcsech", 1e-17, 0, inf},
        {"ARCTANH", 1, 0, inf}, {"arctanh", -1, 0, -inf}, {"arccoth", 1, 0, inf},
        {"arccoth", -1, 0, -inf}, {"sinh", 1e-16, 0, 0.0}, {"tanh", -1e-17, 0, 0.0},
        {"cosh", 1e-16, 0, 1.0}, {"arccot", 1e-16, 0, 1.5707963267948966}, {"arcsech", 1, 0, 0.0},
        {"pi", 7, 0, 3.141592653589793},
        // Two-step conversions go through radians in extended precision, rounded once.
        {"degtograd", 90, 0, 100.0}, {"cycletodeg", 1, 0, 360.0}, {"degtocycle", 360, 0, 1.0},
        {"gradtocycle", 400, 0, 1.0}, {"cycletograd", 0.25, 0, 100.0},
        {"gradtodeg", 200, 0, 180.0}};
    // clang-format on
    for (const auto& c : cases) {
        try {
            const double value =
                c.Name[1] == '\0' ? ApplyOperator(c.Name[0], c.X, c.Y) : ApplyFunction(c.Name, c.X);
            EXPECT_FALSE(c.Fault) << c.Name << " " << c.X << " " << c.Y;
            EXPECT_EQ(value, c.Value) << c.Name << " " << c.X << " " << c.Y;
        } catch (const CalcError& error) {
            EXPECT_EQ(std::optional(error.Kind()), c.Fault) << c.Name << " " << c.X << " " << c.Y;
        }
    }
    EXPECT_NE(ApplyFunction("sinh", 2e-16), 0.0);  // just above the near-zero rule
}

}  // namespace
}  // namespace corvanta
