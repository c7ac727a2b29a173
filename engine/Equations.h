#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"

// The expression engine: checking of one equation, its compilation into
// postfix text, the evaluation of postfix text with the operators and the
// function library, and the analysis of a whole model (output, intermediate
// and input quantities). Lists handed between these routines are texts of
// lines, each line ended by CR LF.
namespace corvanta {

// The result of checking one equation, or of a whole model set.
//
// For one equation: NameList is the left-hand name followed by every quantity
// name of the right side in order (repetitions kept); UniqueNames the same
// without repetitions; CleanText the equation after cleaning; MarkedText
// "[left]=" followed by the right side with quantity names as [name] and
// function names and pi as {name}; PostfixText the compiled right side.
//
// For a model set: NameList holds every quantity of the model once, in order
// of first appearance; UniqueNames the left-hand names once, in equation
// order; CleanText, MarkedText and PostfixText describe the output equation
// after every intermediate quantity has been substituted into it.
//
// When ErrorFlag is set only ErrorFlag and ErrorCode are meaningful.
struct EquationInfo {
    std::string NameList;
    std::string UniqueNames;
    std::string CleanText;
    std::string MarkedText;
    std::string PostfixText;
    bool ErrorFlag = false;
    // kIllegalCharacterCode when the equation holds a character outside the
    // equation alphabet; otherwise left as the caller set it.
    std::int32_t ErrorCode = 0;
};

using EquationSet = EquationInfo;

inline constexpr std::int32_t kIllegalCharacterCode = 1000;

// Texts of the engine's own messages and evaluation failures.
inline constexpr const char* kPostfixErrorText = "Error de expresi\xF3n Postfija";
inline constexpr const char* kSyntaxErrorText = "Sintax error in model set";
// The evaluation failure for an operator or function that finds too few
// values on the stack, and for an expression that leaves none (empty right
// side, trailing operator). Raised as CalcError(FaultKind::InvalidOperation).
inline constexpr const char* kMissingOperandText = "Missing operand in expression";
// The number text of pi pushed for the constant.
inline constexpr const char* kPiText = "3.14159265358979";

// Upper bound, in characters of the marked text, on the output equation once
// intermediate quantities have been substituted into it (an output equation
// without intermediate quantities is never refused). Chains whose every level
// doubles the text would otherwise exhaust memory.
inline constexpr std::size_t kMaxSubstitutedLength = 1000000;

// "Error. The quantity NAME is defined in terms of itself."
std::string CircularDefinitionText(std::string_view name);
// "Error. The output equation grows beyond 1000000 characters when the
// intermediate quantities are substituted into it."
std::string SubstitutionTooLongText();

// Checks one equation "name = expression", fills info and shows the first
// error in a plain message box. May throw CalcError(FaultKind::ListIndex)
// from ToPostfix (a closing parenthesis with nothing open or pending).
void ParseEquation(std::string_view text, EquationInfo& info, UserDialogs& dialogs);

// One of the 50 names of the function list (case-insensitive); "pi" included.
bool IsFunctionName(std::string_view name);

// True when the whole text converts to a floating-point number (a lone point
// included).
bool IsNumber(std::string_view text);

// Cuts a cleaned right side into tokens (numbers, names, parentheses,
// operators), one per line. A letter after a number can only arrive here
// unchecked: "e"/"E" then extends the number as an exponent letter, any other
// letter (or a second exponent letter) shows kSyntaxErrorText and is dropped.
std::string SplitTokens(std::string_view rightSide, UserDialogs& dialogs);

// Reorders token text into postfix text with an operator stack; a sign is
// compiled as "0" followed by the two-operand operator. Throws
// CalcError(FaultKind::ListIndex, "List index out of bounds (-1)") when a ")"
// arrives with the operator stack empty.
std::string ToPostfix(std::string_view tokenText);

// 0 for parentheses (and any other token), 1 for + -, 2 for * /, 3 for ^.
int OperatorPriority(std::string_view token);

// Evaluates postfix token text. Every intermediate value is held as number
// text with 15 significant digits and read back as a double when it is used;
// the result is the last text read back in extended precision. Two or more
// values left at the end show kPostfixErrorText (plain message) and give 0.
// Failures are thrown as CalcError:
//   a token or stack text that is not a number (also INF, -INF, NAN)
//       FaultKind::Conversion, "'text' is not a valid floating point value";
//   a stack text beyond the double range    FaultKind::Overflow;
//   too few values for an operator or function, or none at the end
//       FaultKind::InvalidOperation, kMissingOperandText;
//   faults of ApplyOperator and ApplyFunction, as documented there.
long double EvaluatePostfix(std::string_view tokenText, UserDialogs& dialogs);

// a op b for op one of + - * / ^, computed in extended precision and rounded
// to double. Faults (CalcError):
//   x/0 with x != 0, 0 raised to a negative exponent     DivisionByZero;
//   0/0, a negative base with a fractional exponent     InvalidOperation;
//   a result beyond the double range (also an extended
//   overflow inside the whole-number power)             Overflow.
// Power: exponent 0 gives 1; base 0 with a positive exponent gives 0; a
// whole exponent of magnitude up to 2147483647 is done by repeated squaring
// (1 divided by the power when negative); any other exponent gives
// exp(exponent * ln(base)). An operator character outside the five throws
// InvalidOperation.
double ApplyOperator(char op, double a, double b);

// The named function (case-insensitive) at x, computed in extended precision
// and rounded to double. Faults (CalcError):
//   logarithm of 0, reciprocal of 0 (cot 0, csc 0, coth 0,
//   csch 0, arccsch 0, 1/(x+1) at -1 in arccosh)          DivisionByZero;
//   logarithm or square root of a negative number,
//   arcsin/arccos outside [-1, 1] and the inverse
//   functions built on them                             InvalidOperation;
//   a result beyond the double range                    Overflow.
// arcsec(0), arccsc(0), arcsech(0), arctanh(+-1) and arccoth(+-1) return an
// infinity without a fault, exactly; an evaluation then writes it as
// INF/-INF, which fails when read back. "pi" gives pi; mean, poly, power,
// stddev, totalvariance, variance and any unknown name give 0.
double ApplyFunction(std::string_view name, double x);

// Analyses a whole model (one equation per line; CR LF, LF or CR) into set:
// finds the output, substitutes every intermediate quantity into the output
// equation and compiles it. Messages are shown through dialogs; a set without
// an output, with several outputs, with a quantity defined in terms of itself
// or growing beyond kMaxSubstitutedLength is rejected with an error dialog.
// May throw CalcError(FaultKind::ListIndex) from ToPostfix.
void ParseModelSet(std::string_view modelText, EquationInfo& set, const MessageTexts& messages,
                   UserDialogs& dialogs);

// The text without any "[", "]", "{" or "}".
std::string StripMarks(std::string_view text);

// Lines of a text; CR LF, LF and CR all end a line, and a final line end
// does not start another line.
std::vector<std::string> SplitLines(std::string_view text);
// Each line followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace corvanta
