#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/Equations.h"
#include "engine/Faults.h"
#include "engine/LineViews.h"
#include "engine/NumberText.h"

namespace corvanta {

namespace {

// Correctly rounded to extended precision, not derived from a rounded pi.
constexpr long double kPi = 3.14159265358979323846264338327950288L;
constexpr long double kHalfPi = 1.57079632679489661923132169163975144L;
constexpr long double kTwoPi = 6.28318530717958647692528676655900577L;
constexpr long double kPiOver180 = 0.0174532925199432957692369076848861271L;
constexpr long double k180OverPi = 57.2957795130823208767981548141051703L;
constexpr long double kPiOver200 = 0.0157079632679489661923132169163975144L;
constexpr long double k200OverPi = 63.6619772367581343075535053490057448L;

constexpr long double kNearZero = 1e-16L;

bool NearZero(long double x) {
    return std::fabs(x) <= kNearZero;
}
bool NearOne(long double x) {
    return std::fabs(x - 1) <= kNearZero;
}
bool NearMinusOne(long double x) {
    return std::fabs(x + 1) <= kNearZero;
}

long double Divide(long double a, long double b) {
    if (b == 0) {
        if (a == 0 || std::isnan(a)) ThrowInvalidOperation();
        ThrowDivisionByZero();
    }
    return a / b;
}

long double Reciprocal(long double x) {
    return Divide(1, x);
}

long double Ln(long double x) {
    if (x == 0) ThrowDivisionByZero();
    if (!(x > 0)) ThrowInvalidOperation();
    return std::log(x);
}

long double Log10(long double x) {
    if (x == 0) ThrowDivisionByZero();
    if (!(x > 0)) ThrowInvalidOperation();
    return std::log10(x);
}

long double Sqrt(long double x) {
    if (x < 0 || std::isnan(x)) ThrowInvalidOperation();
    return std::sqrt(x);
}

long double Exp(long double x) {
    long double r = std::exp(x);
    if (std::isinf(r)) ThrowOverflow();
    return r;
}

long double Sinh(long double x) {
    return NearZero(x) ? 0 : (Exp(x) - Exp(-x)) / 2;
}
long double Cosh(long double x) {
    return NearZero(x) ? 1 : (Exp(x) + Exp(-x)) / 2;
}
long double Tanh(long double x) {
    return NearZero(x) ? 0 : Sinh(x) / Cosh(x);
}
long double ArcSin(long double x) {
    return std::atan2(x, Sqrt(1 - x * x));
}
long double ArcCos(long double x) {
    return std::atan2(Sqrt(1 - x * x), x);
}
long double ArcTan(long double x) {
    return std::atan2(x, 1.0L);
}

long double DegToRad(long double x) {
    return x * kPiOver180;
}
long double RadToDeg(long double x) {
    return x * k180OverPi;
}
long double GradToRad(long double x) {
    return x * kPiOver200;
}
long double RadToGrad(long double x) {
    return x * k200OverPi;
}
long double CycleToRad(long double x) {
    return x * kTwoPi;
}
long double RadToCycle(long double x) {
    return x / kTwoPi;
}

// base^n by repeated squaring in extended precision; an extended overflow or
// a zero to be inverted is a fault, as it would be on the hardware.
long double WholePower(long double base, long long n) {
    unsigned long long m = n < 0 ? static_cast<unsigned long long>(-n) : n;
    long double result = 1, square = base;
    while (m != 0) {
        if (m & 1) result *= square;
        m >>= 1;
        if (m != 0) square *= square;
    }
    if (std::isinf(result)) ThrowOverflow();
    if (n < 0) result = Reciprocal(result);
    return result;
}

long double Power(long double base, long double exponent) {
    if (exponent == 0) return 1;
    if (base == 0 && exponent > 0) return 0;
    if (exponent == std::trunc(exponent) && std::fabs(exponent) <= 2147483647.0L)
        return WholePower(base, static_cast<long long>(exponent));
    return Exp(exponent * Ln(base));
}

// The double that an extended result is stored as.
double StoreResult(long double r) {
    if (std::isnan(r)) ThrowInvalidOperation();
    double d = static_cast<double>(r);
    if (std::isinf(d)) ThrowOverflow();
    return d;
}

enum class Function {
    Abs,
    Exp,
    Ln,
    Log,
    Pi,
    Sqr,
    Sqrt,
    Sin,
    Cos,
    Tan,
    Cot,
    Sec,
    Csc,
    Sinh,
    Cosh,
    Tanh,
    Coth,
    Sech,
    Csch,
    ArcSin,
    ArcCos,
    ArcTan,
    ArcCot,
    ArcSec,
    ArcCsc,
    ArcSinh,
    ArcCosh,
    ArcTanh,
    ArcCoth,
    ArcSech,
    ArcCsch,
    DegToRad,
    RadToDeg,
    GradToRad,
    RadToGrad,
    CycleToRad,
    RadToCycle,
    DegToGrad,
    DegToCycle,
    GradToDeg,
    GradToCycle,
    CycleToDeg,
    CycleToGrad,
    Reserved,
};

Function LookUpFunction(std::string_view name) {
    static const std::unordered_map<std::string_view, Function> functions = {
        {"abs", Function::Abs},
        {"exp", Function::Exp},
        {"ln", Function::Ln},
        {"log", Function::Log},
        {"pi", Function::Pi},
        {"sqr", Function::Sqr},
        {"sqrt", Function::Sqrt},
        {"sin", Function::Sin},
        {"cos", Function::Cos},
        {"tan", Function::Tan},
        {"cot", Function::Cot},
        {"sec", Function::Sec},
        {"csc", Function::Csc},
        {"cosecant", Function::Csc},
        {"sinh", Function::Sinh},
        {"cosh", Function::Cosh},
        {"tanh", Function::Tanh},
        {"coth", Function::Coth},
        {"sech", Function::Sech},
        {"csch", Function::Csch},
        {"arcsin", Function::ArcSin},
        {"arccos", Function::ArcCos},
        {"arctan", Function::ArcTan},
        {"arccot", Function::ArcCot},
        {"arcsec", Function::ArcSec},
        {"arccsc", Function::ArcCsc},
        {"arcsinh", Function::ArcSinh},
        {"arccosh", Function::ArcCosh},
        {"arctanh", Function::ArcTanh},
        {"arccoth", Function::ArcCoth},
        {"arcsech", Function::ArcSech},
        {"arccsch", Function::ArcCsch},
        {"degtorad", Function::DegToRad},
        {"radtodeg", Function::RadToDeg},
        {"gradtorad", Function::GradToRad},
        {"radtograd", Function::RadToGrad},
        {"cycletorad", Function::CycleToRad},
        {"radtocycle", Function::RadToCycle},
        {"degtograd", Function::DegToGrad},
        {"degtocycle", Function::DegToCycle},
        {"gradtodeg", Function::GradToDeg},
        {"gradtocycle", Function::GradToCycle},
        {"cycletodeg", Function::CycleToDeg},
        {"cycletograd", Function::CycleToGrad},
    };
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    auto found = functions.find(lower);
    return found == functions.end() ? Function::Reserved : found->second;
}

// The value of f at x; an infinity that the function defines at a point is
// returned through exactInfinity instead of being taken for an overflow.
long double Compute(Function f, long double x, bool& exactInfinity) {
    auto infinity = [&](bool negative) {
        exactInfinity = true;
        return negative ? -HUGE_VALL : HUGE_VALL;
    };
    switch (f) {
        case Function::Abs:
            return std::fabs(x);
        case Function::Exp:
            return Exp(x);
        case Function::Ln:
            return Ln(x);
        case Function::Log:
            return Log10(x);
        case Function::Pi:
            return kPi;
        case Function::Sqr:
            return x * x;
        case Function::Sqrt:
            return Sqrt(x);
        case Function::Sin:
            return std::sin(x);
        case Function::Cos:
            return std::cos(x);
        case Function::Tan:
            return std::tan(x);
        case Function::Cot:
            return Reciprocal(std::tan(x));
        case Function::Sec:
            return Reciprocal(std::cos(x));
        case Function::Csc:
            return Reciprocal(std::sin(x));
        case Function::Sinh:
            return Sinh(x);
        case Function::Cosh:
            return Cosh(x);
        case Function::Tanh:
            return Tanh(x);
        case Function::Coth:
            return Reciprocal(Tanh(x));
        case Function::Sech:
            return Reciprocal(Cosh(x));
        case Function::Csch:
            return Reciprocal(Sinh(x));
        case Function::ArcSin:
            return ArcSin(x);
        case Function::ArcCos:
            return ArcCos(x);
        case Function::ArcTan:
            return ArcTan(x);
        case Function::ArcCot:
            return NearZero(x) ? kHalfPi : ArcTan(Reciprocal(x));
        case Function::ArcSec:
            return NearZero(x) ? infinity(false) : ArcCos(Reciprocal(x));
        case Function::ArcCsc:
            return NearZero(x) ? infinity(false) : ArcSin(Reciprocal(x));
        case Function::ArcSinh:
            return Ln(x + Sqrt(x * x + 1));
        case Function::ArcCosh:
            return Ln(x + Sqrt(Divide(x - 1, x + 1)) * (x + 1));
        case Function::ArcTanh:
            if (NearOne(x)) return infinity(false);
            if (NearMinusOne(x)) return infinity(true);
            return Ln(Divide(1 + x, 1 - x)) / 2;
        case Function::ArcCoth:
            if (NearOne(x)) return infinity(false);
            if (NearMinusOne(x)) return infinity(true);
            return Ln(Divide(x + 1, x - 1)) / 2;
        case Function::ArcSech:
            if (NearZero(x)) return infinity(false);
            if (NearOne(x)) return 0;
            return Ln(Divide(1 + Sqrt(1 - x * x), x));
        case Function::ArcCsch: {
            long double inverse = Reciprocal(x);
            return Ln(inverse + Sqrt(1 + Reciprocal(x * x)));
        }
        case Function::DegToRad:
            return DegToRad(x);
        case Function::RadToDeg:
            return RadToDeg(x);
        case Function::GradToRad:
            return GradToRad(x);
        case Function::RadToGrad:
            return RadToGrad(x);
        case Function::CycleToRad:
            return CycleToRad(x);
        case Function::RadToCycle:
            return RadToCycle(x);
        case Function::DegToGrad:
            return RadToGrad(DegToRad(x));
        case Function::DegToCycle:
            return RadToCycle(DegToRad(x));
        case Function::GradToDeg:
            return RadToDeg(GradToRad(x));
        case Function::GradToCycle:
            return RadToCycle(GradToRad(x));
        case Function::CycleToDeg:
            return RadToDeg(CycleToRad(x));
        case Function::CycleToGrad:
            return RadToGrad(CycleToRad(x));
        case Function::Reserved:
            return 0;
    }
    return 0;
}

const std::string& Top(const std::vector<std::string>& stack) {
    if (stack.empty()) throw CalcError(FaultKind::InvalidOperation, kMissingOperandText);
    return stack.back();
}

// A stack text read back as the double an operand is held in.
double PopOperand(std::vector<std::string>& stack) {
    long double value = ParseFloat(Top(stack));
    stack.pop_back();
    double operand = static_cast<double>(value);
    if (std::isinf(operand)) ThrowOverflow();
    return operand;
}

}  // namespace

double ApplyOperator(char op, double a, double b) {
    const long double x = a, y = b;
    switch (op) {
        case '+':
            return StoreResult(x + y);
        case '-':
            return StoreResult(x - y);
        case '*':
            return StoreResult(x * y);
        case '/':
            return StoreResult(Divide(x, y));
        case '^':
            return StoreResult(Power(x, y));
        default:
            ThrowInvalidOperation();
    }
}

double ApplyFunction(std::string_view name, double x) {
    bool exactInfinity = false;
    long double r = Compute(LookUpFunction(name), x, exactInfinity);
    if (exactInfinity) return static_cast<double>(r);
    return StoreResult(r);
}

long double EvaluatePostfix(std::string_view tokenText, UserDialogs& dialogs) {
    std::vector<std::string> stack;
    for (const std::string_view token : SplitLineViews(tokenText)) {
        const bool isOperator =
            token.size() == 1 && (token[0] == '+' || token[0] == '-' || token[0] == '*' ||
                                  token[0] == '/' || token[0] == '^');
        if (isOperator) {
            if (stack.size() < 2) throw CalcError(FaultKind::InvalidOperation, kMissingOperandText);
            const double b = PopOperand(stack);
            const double a = PopOperand(stack);
            stack.push_back(FormatGeneral(ApplyOperator(token[0], a, b)));
        } else if (IsFunctionName(token)) {
            if (token.size() == 2 && (token[0] == 'p' || token[0] == 'P') &&
                (token[1] == 'i' || token[1] == 'I')) {
                stack.push_back(kPiText);
            } else {
                const double x = PopOperand(stack);
                stack.push_back(FormatGeneral(ApplyFunction(token, x)));
            }
        } else {
            stack.emplace_back(token);
        }
    }
    if (stack.empty()) throw CalcError(FaultKind::InvalidOperation, kMissingOperandText);
    if (stack.size() > 1) {
        dialogs.ShowMessage(kPostfixErrorText);
        return 0;
    }
    return ParseFloat(stack.front());
}

}  // namespace corvanta
