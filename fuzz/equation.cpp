// Feeds arbitrary bytes to the model analysis as a set of equations, then
// evaluates the compiled output equation as it stands and with every quantity
// replaced by a number, and checks what an accepted set promises. The same
// bytes also go to the evaluation as token text and, read as two doubles, to
// every operator and function.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_set>

#include "captions/Captions.h"
#include "engine/Equations.h"
#include "engine/Faults.h"

namespace {

using namespace corvanta;

void Check(bool condition) {
    if (!condition) std::abort();
}

void Evaluate(const std::string& tokens) {
    SilentDialogs dialogs;
    try {
        EvaluatePostfix(tokens, dialogs);
    } catch (const CalcError& error) {
        Check(error.Kind() != FaultKind::ListIndex);
    }
}

// The operators and functions of two doubles taken from the input: a value
// comes back finite, or as one of the infinities a function defines at a
// point, or a fault is thrown; never a NaN.
void CheckArithmetic(double a, double b) {
    static const char* const names[] = {
        "abs",       "exp",       "ln",          "log",         "pi",         "sqr",
        "sqrt",      "arccos",    "arccosh",     "arccot",      "arccoth",    "arccsc",
        "arccsch",   "arcsec",    "arcsech",     "arcsin",      "arcsinh",    "arctan",
        "arctanh",   "cosecant",  "cos",         "cosh",        "cot",        "coth",
        "csc",       "csch",      "cycletodeg",  "cycletograd", "cycletorad", "degtocycle",
        "degtograd", "degtorad",  "gradtocycle", "gradtodeg",   "gradtorad",  "radtocycle",
        "radtodeg",  "radtograd", "sec",         "sech",        "sin",        "sinh",
        "tan",       "tanh",      "mean"};
    for (const char* name : names) {
        try {
            double r = ApplyFunction(name, a);
            Check(!std::isnan(r));
            if (std::isinf(r)) {
                const std::string_view n = name;
                Check(n == "arcsec" || n == "arccsc" || n == "arcsech" || n == "arctanh" ||
                      n == "arccoth");
            }
        } catch (const CalcError&) {
        }
    }
    for (char op : {'+', '-', '*', '/', '^'}) {
        try {
            double r = ApplyOperator(op, a, b);
            Check(std::isfinite(r));
        } catch (const CalcError&) {
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const MessageTexts messages = FormMessageTexts(CaptionTable::BuiltIn());
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (size >= 2 * sizeof(double)) {
        double a, b;
        std::memcpy(&a, data, sizeof a);
        std::memcpy(&b, data + sizeof a, sizeof b);
        if (std::isfinite(a) && std::isfinite(b)) CheckArithmetic(a, b);
    }
    Evaluate(std::string(text));  // the bytes as token text, never compiled
    SilentDialogs dialogs;
    EquationSet set;
    try {
        ParseModelSet(text, set, messages, dialogs);
    } catch (const CalcError& error) {
        Check(error.Kind() == FaultKind::ListIndex);
        return 0;
    }
    if (set.ErrorFlag) return 0;

    Check(set.MarkedText.size() <= kMaxSubstitutedLength);
    const auto names = SplitLines(set.NameList);
    Check(std::unordered_set<std::string>(names.begin(), names.end()).size() == names.size());

    std::string substituted;
    const char* values[] = {"0.5", "-2", "0", "1E300", "3"};
    std::size_t next = 0;
    for (const auto& token : SplitLines(set.PostfixText)) {
        Check(token != "(" && token != ")" && !token.empty());
        const bool isName = (token[0] >= 'A' && token[0] <= 'Z') ||
                            (token[0] >= 'a' && token[0] <= 'z') || token[0] == '_';
        substituted += (isName && !IsFunctionName(token)) ? values[next++ % 5] : token;
        substituted += "\r\n";
    }
    Evaluate(set.PostfixText);
    Evaluate(substituted);
    return 0;
}
