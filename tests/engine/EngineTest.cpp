// Equations parsed, checked and substituted; their postfix evaluated; the number texts.
#include "engine/Equations.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <functional>
#include <limits>
#include <locale>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "captions/Captions.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"
#include "support/Lines.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

using testing::Lines;
using testing::ScriptedDialogs;
using Shown = ScriptedDialogs::Shown;
using Log = std::vector<Shown>;
using K = FaultKind;

Log Messages(const std::vector<std::string>& texts) {
    Log log;
    for (const auto& text : texts)
        log.push_back({DialogKind::Message, text});
    return log;
}

// The cells of a table row, apart by "|".
std::vector<std::string> Cells(const std::string& row) {
    std::vector<std::string> cells(1);
    for (char c : row)
        c == '|' ? cells.emplace_back() : cells.back() += c;
    return cells;
}

std::string FaultText(FaultKind kind, const std::string& text) {
    return std::to_string(static_cast<int>(kind)) + " " + text;
}

// The kind and text of the fault the call throws, or "none".
std::string Fault(const std::function<void()>& call) {
    try {
        call();
    } catch (const CalcError& error) {
        return FaultText(error.Kind(), error.what());
    }
    return "none";
}

// A text holding a line end is already postfix token text; anything else is a right side.
long double Evaluate(const std::string& text, ScriptedDialogs& dialogs) {
    if (text.find_first_of("\r\n") != std::string::npos) return EvaluatePostfix(text, dialogs);
    EquationInfo info;
    ParseEquation("y = " + text, info, dialogs);
    if (info.ErrorFlag) throw std::logic_error("rejected: " + text);
    return EvaluatePostfix(info.PostfixText, dialogs);
}

TEST(ParseEquation, AcceptedEquationsFillEveryField) {
    // clang-format off
    // Equation|clean|marked|names|unique names|postfix.
    const char* const cases[] = {
        "y = 2*x1 + sin(x1)^2|y=2*x1+sin(x1)^2|[y]=2*[x1]+{sin}([x1])^2|y x1 x1|y x1|"
            "2 x1 * x1 sin 2 ^ +",
        "V = [a + b] * pi|V=(a+b)*pi|[V]=([a]+[b])*{pi}|V a b|V a b|a b + pi *",
        "A = PI*r^2|A=PI*r^2|[A]={PI}*[r]^2|A r|A r|PI r 2 ^ *",
        "y = (1+pi)*2|y=(1+pi)*2|[y]=(1+{pi})*2|y|y|1 pi + 2 *",
        "y = -a|y=-a|[y]=-[a]|y a|y a|0 a -", "y = (+a)|y=(+a)|[y]=(+[a])|y a|y a|0 a +",
        "y = a = b|y=a=b|[y]=[ab]|y ab|y ab|ab", "y = a +|y=a+|[y]=[a]+|y a|y a|a +",
        "y = (a|y=(a|[y]=([a]|y a|y a|a", "x = x + 1|x=x+1|[x]=[x]+1|x x|x|x 1 +",
        "Y = y|Y=y|[Y]=[y]|Y y|Y y|y", "y = SIN(x)|y=SIN(x)|[y]={SIN}([x])|y x|y x|x SIN",
        "y = 2,5 * a b|y=2.5*ab|[y]=2.5*[ab]|y ab|y ab|2.5 ab *",
        "a.1 = x.5 + .5 - 3.|a.1=x.5+.5-3.|[a.1]=[x.5]+.5-3.|a.1 x.5|a.1 x.5|x.5 .5 + 3. -",
        "_t = T_amb*{1}|_t=T_amb*(1)|[_t]=[T_amb]*(1)|_t T_amb|_t T_amb|T_amb 1 *",
        "y = sin(a|y=sin(a|[y]={sin}([a]|y a|y a|a sin", "y = 2.5.3|y=2.5.3|[y]=2.5.3|y|y|2.5.3",
        "y =|y=|[y]=|y|y|", "y = a-b-c|y=a-b-c|[y]=[a]-[b]-[c]|y a b c|y a b c|a b - c -",
        "y = a*b + a/y|y=a*b+a/y|[y]=[a]*[b]+[a]/[y]|y a b a y|y a b|a b * a y / +",
        "y = mean(x) + Pi|y=mean(x)+Pi|[y]={mean}([x])+{Pi}|y x|y x|x mean Pi +"};
    // clang-format on
    for (const char* row : cases) {
        const std::vector<std::string> c = Cells(row);
        ScriptedDialogs dialogs;
        EquationInfo i;
        i.ErrorCode = 7;  // left as the caller set it
        ParseEquation(c[0], i, dialogs);
        EXPECT_EQ(
            std::tie(i.ErrorFlag, i.ErrorCode, i.CleanText, i.MarkedText, i.NameList, i.UniqueNames,
                     i.PostfixText, dialogs.Log),
            std::make_tuple(false, 7, c[1], c[2], Lines(c[3]), Lines(c[4]), Lines(c[5]), Log{}))
            << row;
    }
}

TEST(ParseEquation, RejectedEquationsShowExactlyTheirMessages) {
    const std::string dup = "ERROR: duplicated operator";
    struct {
        std::vector<std::string> Messages;
        std::vector<std::string> Equations;
        std::int32_t Code = 7;  // as the caller set it; 1000 for bytes outside the alphabet
    } cases[] = {
        {{}, {"y = a\tb", "y = a#b", "y = 2\xB5", "y = \"a\""}, 1000},
        {{}, {"y = 2a", "y = 1e5", "y = (a)b", "y = (a)b+c"}},
        {{"Wrong expression"}, {"=a+b", "2x = a", ".x = a"}},
        {{"Illegal character + in expression"}, {"a+b = c"}},
        {{"Illegal character ^ in expression"}, {"y^2 = c"}},
        {{"Illegal character ( in expression"}, {"[y] = c"}},
        {{"expression must be type: \" var = ...[expression]\""}, {"   ", "", "y + a"}},
        {{"ERROR: Forbidden operand \"*\" after a \"(\""}, {"y = (*a)"}},
        {{"ERROR: Forbidden operand \"^\" after a \"(\""}, {"y = ^a"}},
        {{dup}, {"y = a +- b"}},
        {{dup, dup}, {"y = a +- b ** c"}},
        {{dup, "ERROR: variable [b] must be followed by an operand"}, {"y = a +- b("}},
        {{"ERROR: variable [a] must be followed by an operand"}, {"y = a(2)"}},
        {{"ERROR: variable [] must be followed by an operand"}, {"y = 2(a)", "y = (a)(b)"}},
        {{"ERROR: function sin must be followed by \"(\""}, {"y = sin + 1", "y = sin"}},
        {{"ERROR: function Cos must be followed by \"(\""}, {"y = (Cos)"}},
        {{"ERROR: function \"PI\" cannot be followed by a \"(\""}, {"y = pi(2)", "y = pI(2)"}},
        {{"Cannot be a number after a \")\""}, {"y = (a)2"}},
        {{"Invalid expression"}, {"y = ()", "y = a+)", "y = )"}}};
    const std::string allowed =
        " ()*+,-./0123456789=ABCDEFGHIJKLMNOPQRSTUVWXYZ[]^_abcdefghijklmnopqrstuvwxyz{}";
    for (int byte = 0; byte < 256; ++byte)
        if (allowed.find(static_cast<char>(byte)) == std::string::npos)
            cases[0].Equations.push_back(std::string("y = a") + static_cast<char>(byte));
    for (const auto& c : cases)
        for (const std::string& equation : c.Equations) {
            ScriptedDialogs dialogs;
            EquationInfo info;
            info.ErrorCode = 7;
            ParseEquation(equation, info, dialogs);
            EXPECT_EQ(std::tie(info.ErrorFlag, info.ErrorCode, dialogs.Log),
                      std::make_tuple(true, c.Code, Messages(c.Messages)))
                << equation;
        }
}

TEST(NameTests, FunctionNamesNumbersMarksAndLines) {
    for (const char* text :
         {"sin", "SIN", "Sin", "pi", "PI", "cosecant", "TotalVariance", "arccsch", "cycletograd"})
        EXPECT_TRUE(IsFunctionName(text) && !IsNumber(text)) << text;
    for (const char* text : {"2", ".", "0.5", ".5", "3.", " 1.5E-5 ", "-2", "+2", "1e5"})
        EXPECT_TRUE(IsNumber(text) && !IsFunctionName(text)) << '"' << text << '"';
    for (const char* text :
         {"sinx", "abs exp", "", "x", "e", "2.5.3", "INF", "NAN", "1e", "E5", "1,5", "-"})
        EXPECT_FALSE(IsNumber(text) || IsFunctionName(text)) << '"' << text << '"';
    EXPECT_EQ(StripMarks("[y]=[a]*({sin}([b])/{pi})"), "y=a*(sin(b)/pi)");
    EXPECT_EQ(StripMarks("[]{}"), "");
    // clang-format off
    const std::pair<const char*, const char*> lines[] = {
        {"a\r\nb\nc\rd\r\n", "a\r\nb\r\nc\r\nd\r\n"}, {"a\n\nb", "a\r\n\r\nb\r\n"},
        {"\r\n", "\r\n"}, {"", ""}};
    // clang-format on
    for (const auto& [text, joined] : lines)
        EXPECT_EQ(JoinLines(SplitLines(text)), joined) << text;
}

TEST(SplitTokens, CutsNumbersNamesParenthesesAndOperators) {
    // Right side|tokens|message, for a letter past a number that already holds its exponent letter.
    // clang-format off
    const char* const cases[] = {"2*x1+sin(x1)^2|2 * x1 + sin ( x1 ) ^ 2",
        "x.5+x.y-.5|x.5 + x.y - .5", "2.5.3|2.5.3", "a=b|ab", "(a)=|( a )", "_a1_|_a1_",
        "--((|- - ( (", "|", "1e5|1e5", "1E5-2|1E5 - 2", "1e5e|1e5|Sintax error in model set",
        "2a+b|2 + b|Sintax error in model set", "1E5E2|1E52|Sintax error in model set"};
    // clang-format on
    for (const char* row : cases) {
        const std::vector<std::string> c = Cells(row);
        ScriptedDialogs dialogs;
        EXPECT_EQ(SplitTokens(c[0], dialogs), Lines(c[1])) << row;
        EXPECT_EQ(dialogs.Log, Messages({c.begin() + 2, c.end()})) << row;
    }
}

EquationSet Parse(const std::string& model, ScriptedDialogs& dialogs,
                  const MessageTexts& messages = FormMessageTexts(CaptionTable::BuiltIn())) {
    EquationSet set;
    ParseModelSet(model, set, messages, dialogs);
    return set;
}

TEST(ParseModelSet, FindsTheOutputAndSubstitutes) {
    // Model|clean|marked|postfix|names|names left of "=".
    const char* const cases[] = {
        "y = a*k\r\nk = b/c|y=a*(b/c)|[y]=[a]*([b]/[c])|a b c / *|y a k b c|y k",
        "k = b/c\r\ny = a*k|y=a*(b/c)|[y]=[a]*([b]/[c])|a b c / *|k b c y a|k y",
        "y = a*k\rk = b/c\n|y=a*(b/c)|[y]=[a]*([b]/[c])|a b c / *|y a k b c|y k",
        "y = a + b|y=a+b|[y]=[a]+[b]|a b +|y a b|y",
        "y = a + k\nk = m*2\nm = sin(x)|y=a+((sin(x))*2)|[y]=[a]+(({sin}([x]))*2)|a x sin 2 * +|"
        "y a k m x|y k m",
        // The first definition of a name wins; the second is never used.
        "y = a\na = b\na = c|y=(b)|[y]=([b])|b|y a b c|y a",
        // A name that contains another is replaced only as itself.
        "y = a1 + a\na = 3|y=a1+(3)|[y]=[a1]+(3)|a1 3 +|y a1 a|y a",
        "y = X + x\nx = 2|y=X+(2)|[y]=[X]+(2)|X 2 +|y X x|y x",
        "y = k*k\nk = -b|y=(-b)*(-b)|[y]=(-[b])*(-[b])|0 b - 0 b - *|y k b|y k",
        // A circle that the output never reaches does no harm.
        "y = a\nk = m\nm = k|y=a|[y]=[a]|a|y a k m|y k m", "y = 2*pi|y=2*pi|[y]=2*{pi}|2 pi *|y|y"};
    for (const char* row : cases) {
        const std::vector<std::string> c = Cells(row);
        ScriptedDialogs dialogs;
        const EquationSet s = Parse(c[0], dialogs);
        EXPECT_EQ(std::tie(s.ErrorFlag, s.CleanText, s.MarkedText, s.PostfixText, s.NameList,
                           s.UniqueNames, dialogs.Log),
                  std::make_tuple(false, c[1], c[2], Lines(c[3]), Lines(c[4]), Lines(c[5]), Log{}))
            << row;
    }
}

TEST(ParseModelSet, RejectsWithTheRightDialog) {
    auto error = [](const std::string& text) { return Shown{DialogKind::Error, text}; };
    auto message = [](const std::string& text) { return Shown{DialogKind::Message, text}; };
    auto circle = [&](const std::string& name) {
        return error("Error. The quantity " + name + " is defined in terms of itself.");
    };
    const Shown undefined = error("Error. Undefined output parameter."),
                tooMany = error("Error. Too many output parameter.");
    // Every level doubles the text: 30 levels would be gigabytes.
    std::string doubling = "y = a0*a0";
    for (int i = 0; i < 30; ++i)
        doubling += "\na" + std::to_string(i) + " = a" + std::to_string(i + 1) + "*a" +
                    std::to_string(i + 1);
    // clang-format off
    const struct {
        std::string Model;
        Log Shown;
        std::int32_t Code;
    } cases[] = {
        {"x = x + 1", {undefined}, 0}, {"", {undefined}, 0}, {"y = a\nz = b", {tooMany}, 0},
        {"y = a\ny = b", {tooMany}, 0}, {"y = a\na = b\nb = a", {circle("a")}, 0},
        {"y = a\na = a + 1", {circle("a")}, 0},
        {"y = a + b\nb = c*2\nc = sqrt(b)", {circle("b")}, 0}, {"y = a\nz = 2b", {}, 0},
        {"y = a\nz = b#", {}, 1000}, {"y = a\n= b", {message("Wrong expression")}, 0},
        {"y = a\n\nz = b", {message("expression must be type: \" var = ...[expression]\"")}, 0},
        {"y = a +- b\nb = 2", {message("ERROR: duplicated operator")}, 0},
        {doubling, {error("Error. The output equation grows beyond 1000000 characters when the "
                          "intermediate quantities are substituted into it.")}, 0}};
    // clang-format on
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        const EquationSet set = Parse(c.Model, dialogs);
        EXPECT_EQ(std::tie(set.ErrorFlag, set.ErrorCode, dialogs.Log),
                  std::make_tuple(true, c.Code, c.Shown))
            << c.Model.substr(0, 40);
    }
    // Messages come from the caption table in force.
    MessageTexts messages = FormMessageTexts(CaptionTable::BuiltIn());
    messages.UndefinedOutput = "Fehler: keine Ausgangsgr\xF6\xDF\x65";
    ScriptedDialogs dialogs;
    Parse("x = x*2", dialogs, messages);
    EXPECT_EQ(dialogs.Log, (Log{{DialogKind::Error, messages.UndefinedOutput}}));
    // A surplus parenthesis escapes as the list error.
    EXPECT_EQ(Fault([&] { Parse("y = a*k\nk = b)", dialogs); }),
              FaultText(K::ListIndex, "List index out of bounds (-1)"));
}

TEST(ParseModelSet, HugeInputsNeedNoRecursionAndBinaryBytesAreRefused) {
    constexpr int kDepth = 100000;
    ScriptedDialogs dialogs;
    EquationInfo info;
    std::string nested = "y = ";
    for (int i = 0; i < kDepth; ++i)
        nested += "sin(";
    ParseEquation(nested + "a" + std::string(kDepth, ')'), info, dialogs);
    EXPECT_FALSE(info.ErrorFlag);
    EXPECT_EQ(info.PostfixText.size(), 3 + kDepth * 5u);
    EXPECT_EQ(info.PostfixText.substr(0, 8), "a\r\nsin\r\n");
    std::string sum = "y = a0";
    for (int i = 1; sum.size() < 100000; ++i)
        sum += "+a" + std::to_string(i % 100);
    ParseEquation(sum, info, dialogs);
    EXPECT_FALSE(info.ErrorFlag);
    EXPECT_EQ(SplitLines(info.UniqueNames).size(), 101u);  // y and a0 to a99
    // The length bound applies to substitution only.
    std::string model = "y = 1";
    while (model.size() <= kMaxSubstitutedLength)
        model += "+x";
    EquationSet set = Parse(model, dialogs);
    EXPECT_FALSE(set.ErrorFlag);
    EXPECT_GT(set.MarkedText.size(), kMaxSubstitutedLength);
    constexpr int kLength = 5000;  // a chain this long needs no recursion
    model = "y = q0";
    for (int i = 0; i < kLength; ++i)
        model += "\nq" + std::to_string(i) + " = q" + std::to_string(i + 1) + "+1";
    set = Parse(model, dialogs);
    ASSERT_FALSE(set.ErrorFlag);
    EXPECT_EQ(set.CleanText.substr(0, 8), "y=((((((");
    EXPECT_EQ(set.PostfixText.substr(0, 13), "q5000\r\n1\r\n+\r\n");
    EXPECT_EQ(SplitLines(set.NameList).size(), kLength + 2u);
    EXPECT_EQ(SplitLines(set.UniqueNames).size(), kLength + 1u);
    EXPECT_TRUE(dialogs.Log.empty());
    model.clear();
    for (int i = 0; i < 4096; ++i)
        model += static_cast<char>((i * 37 + 11) % 256);
    EXPECT_TRUE(Parse(model, dialogs).ErrorFlag);
}

TEST(EvaluatePostfix, ValuesAsNumberTextAndFaultsWithTheirKindAndText) {
    // clang-format off
    // Expression|value text.
    const char* const cases[] = {
        "2^3^2|64", "0^0|1", "0^3|0", "(-2)^3|-8", "(-2)^(-2)|0.25", "4^0.5|2",
        "2^0.5|1.4142135623731", "1/3*3|0.999999999999999", "2/3|0.666666666666667",
        "pi|3.14159265358979", "-2^2|-4", "2,5*2|5", "1000000*1000000*1000|1E15",
        "1/100000*1.5|1.5E-5", "abs(-3)|3", "sqr(3)|9", "sqrt(16)|4", "exp(0)|1",
        "exp(1)|2.71828182845905", "ln(1)|0", "log(1000)|3", "sin(0)|0",
        "sin(pi)|3.23108914886517E-15", "Sin(pi/2)+COS(0)|2", "tan(0)|0", "sec(0)|1", "csc(pi/2)|1",
        "cosecant(pi/2)|1", "cot(pi/4)|1", "sinh(1)|1.1752011936438", "cosh(1)|1.54308063481524",
        "tanh(1)|0.761594155955765", "coth(1)|1.31303528549933", "sech(0)|1",
        "csch(1)|0.850918128239322", "tanh(800)|1", "arcsin(1)|1.5707963267949",
        "arcsin(-1)|-1.5707963267949", "arccos(1)|0", "arccos(-1)|3.14159265358979",
        "arctan(1)|0.785398163397448", "arccot(-1)|-0.785398163397448", "arccot(0)|1.5707963267949",
        "arcsec(1)|0", "arccsc(1)|1.5707963267949", "arcsinh(1)|0.881373587019543", "arccosh(1)|0",
        "arccosh(2)|1.31695789692482", "arctanh(0.5)|0.549306144334055",
        "arccoth(2)|0.549306144334055", "arcsech(1)|0", "arcsech(0.5)|1.31695789692482",
        "arccsch(1)|0.881373587019543", "degtorad(180)|3.14159265358979",
        "radtodeg(1)|57.2957795130823", "gradtorad(200)|3.14159265358979",
        "radtograd(1)|63.6619772367581", "cycletorad(1)|6.28318530717959",
        "radtocycle(1)|0.159154943091895", "degtocycle(90)|0.25", "gradtodeg(100)|90",
        "gradtocycle(100)|0.25", "cycletodeg(1)|360", "mean(5)|0", "POWER(3)+1|1",
        "stddev(1)+poly(1)+totalvariance(1)+variance(1)|0", "2\n3\n*|6", "2\r3\r-\r|-1"};
    // clang-format on
    for (const char* row : cases) {
        const std::vector<std::string> c = Cells(row);
        ScriptedDialogs dialogs;
        EXPECT_EQ(FormatGeneral(Evaluate(c[0], dialogs)), c[1]) << row;
        EXPECT_TRUE(dialogs.Log.empty()) << row;
    }
    // The result is the last text read, in extended precision.
    ScriptedDialogs dialogs;
    EXPECT_EQ(Evaluate("1/3", dialogs), ParseFloat("0.333333333333333"));
    for (const std::string text : {"1E400", "0.1234567890123456789"})
        EXPECT_EQ(EvaluatePostfix(text + "\r\n", dialogs), ParseFloat(text)) << text;
    EXPECT_TRUE(dialogs.Log.empty());
    // Leftover values show the message and give zero.
    for (const char* tokens : {"1\r\n2\r\n", "x\r\ny\r\n", "1\r\n2\r\n3\r\n+\r\n"}) {
        ScriptedDialogs leftover;
        EXPECT_EQ(EvaluatePostfix(tokens, leftover), 0.0L);
        EXPECT_EQ(leftover.Log, Messages({"Error de expresi\xF3n Postfija"}));
    }
    auto conversion = [](const char* text) {
        return FaultText(K::Conversion,
                         "'" + std::string(text) + "' is not a valid floating point value");
    };
    // clang-format off
    const struct {
        std::string Fault;
        std::vector<const char*> Expressions;
    } faults[] = {
        {FaultText(K::DivisionByZero, "Floating point division by zero"), {"ln(0)", "log(0)",
            "1/0", "0^(-1)", "0^(-0.5)", "cot(0)", "csc(0)", "coth(0)", "csch(0)", "arccsch(0)",
            "arccosh(-1)"}},
        {FaultText(K::InvalidOperation, "Invalid floating point operation"), {"ln(-1)",
            "log(-0.5)", "sqrt(-1)", "arcsin(1.5)", "arccos(-2)", "arcsec(0.5)", "arccsc(-0.5)",
            "arccosh(0.5)", "arccosh(-2)", "arctanh(2)", "arccoth(0)", "arcsech(2)",
            "arcsech(-0.5)", "0/0", "(-8)^(1/3)"}},
        {FaultText(K::Overflow, "Floating point overflow"), {"exp(1000)", "exp(710)", "10^400",
            "10^308*10", "sqr(10^200)", "sinh(711)", "cosh(-711)", "2^2147483647",
            "1E400\r\n1\r\n+\r\n", "-1E309\r\nabs\r\n"}},
        {conversion("INF"), {"arcsec(0)", "arccsc(0)", "arcsech(0)", "arctanh(1)", "arccoth(1)",
            "arcsec(0)+1"}},
        {conversion("-INF"), {"arctanh(-1)", "arccoth(-1)"}}, {conversion("a"), {"a+1"}},
        {conversion("2.5.3"), {"2.5.3"}}, {conversion("T_1"), {"sin(T_1)"}},
        {conversion("NAN"), {"NAN\r\n"}}, {conversion(""), {"2\r\n\r\n+\r\n"}},
        {FaultText(K::InvalidOperation, "Missing operand in expression"), {"", "a+", "-", "(",
            "sin\r\n", "1\r\n*\r\n"}}};
    // clang-format on
    for (const auto& c : faults)
        for (const char* expression : c.Expressions) {
            ScriptedDialogs dialogs;
            EXPECT_EQ(Fault([&] { Evaluate(expression, dialogs); }), c.Fault) << expression;
            EXPECT_TRUE(dialogs.Log.empty()) << expression;
        }
}

// Exact doubles, which the 15-digit text of the evaluation would hide.
TEST(ApplyOperatorAndFunction, ExactValuesAndFaults) {
    // Operator or function|x|y|value or the fault's kind.
    const char* const cases[] = {
        "^|0|0|1.0", "^|0|2.5|0.0", "^|1|2147483647|1.0", "^|1|2147483648.0|1.0",
        // A whole exponent in the 32-bit range is squared out, which a negative base survives.
        "^|-1|2147483647|-1.0", "^|-1|-2147483647|-1.0", "^|-1|2147483648.0|invalid",
        "^|2|-1074|0x1p-1074", "^|2|1023|0x1p1023", "^|2|1024|overflow", "^|10|15|1e15",
        "^|2|-2|0.25", "^|0|-3|zero", "+|0.1|0.2|0.30000000000000004", "-|1|3|-2.0",
        "*|-4|0.5|-2.0", "/|1|4|0.25", "*|1e-200|1e-200|0.0",  // silent underflow
        "+|1.7976931348623157e308|0|1.7976931348623157e308",
        "+|1.7976931348623157e308|1.7976931348623157e308|overflow",
        "-|-1.7976931348623157e308|1.7976931348623157e308|overflow", "*|1e200|1e200|overflow",
        "/|1e308|1e-10|overflow", "%|1|2|invalid", "arcsec|0||inf", "arccsc|-1e-16||inf",
        "arcsech|1e-17||inf", "ARCTANH|1||inf", "arctanh|-1||-inf", "arccoth|1||inf",
        "arccoth|-1||-inf", "sinh|1e-16||0.0", "tanh|-1e-17||0.0", "cosh|1e-16||1.0",
        "arccot|1e-16||1.5707963267948966", "arcsech|1||0.0", "pi|7||3.141592653589793",
        // Two-step conversions go through radians in extended precision, rounded once.
        "degtograd|90||100.0", "cycletodeg|1||360.0", "degtocycle|360||1.0", "gradtocycle|400||1.0",
        "cycletograd|0.25||100.0", "gradtodeg|200||180.0"};
    const std::map<std::string, FaultKind> faults = {
        {"invalid", K::InvalidOperation}, {"overflow", K::Overflow}, {"zero", K::DivisionByZero}};
    for (const char* row : cases) {
        const std::vector<std::string> c = Cells(row);
        const double x = std::strtod(c[1].c_str(), nullptr), y = std::strtod(c[2].c_str(), nullptr);
        try {
            const double value =
                c[0].size() == 1 ? ApplyOperator(c[0][0], x, y) : ApplyFunction(c[0], x);
            EXPECT_EQ(value, std::strtod(c[3].c_str(), nullptr)) << row;
            EXPECT_FALSE(faults.count(c[3])) << row;
        } catch (const CalcError& error) {
            EXPECT_TRUE(faults.count(c[3]) && faults.at(c[3]) == error.Kind()) << row;
        }
    }
    EXPECT_NE(ApplyFunction("sinh", 2e-16), 0.0);  // just above the near-zero rule
}

TEST(NumberText, SignificantDigitsNotationAndPatterns) {
    const long double inf = std::numeric_limits<long double>::infinity();
    // clang-format off
    const struct {
        long double Value;
        const char* Text;
        int Digits = 0;  // 0: the default of 15
    } cases[] = {
        {0.0L, "0"}, {-0.0L, "0"}, {1.0L / 3.0L, "0.333333333333333"},
        {2.0L / 3.0L, "0.666666666666667"}, {0.333333333333333L * 3.0L, "0.999999999999999"},
        {3.14159265358979323846L, "3.14159265358979"}, {1.5e-5L, "1.5E-5"}, {-1.5e-5L, "-1.5E-5"},
        {1e20L, "1E20"}, {1e15L, "1E15"}, {999999999999999.0L, "999999999999999"},
        {9999999999999999.0L, "1E16"},
        // An exact half goes away from zero.
        {123456789012345.5L, "123456789012346"}, {-123456789012345.5L, "-123456789012346"},
        {0.0001L, "0.0001"}, {0.00015L, "0.00015"},
        // Rounding lifts it into fixed notation.
        {0.00009999999999999999L, "0.0001"}, {0.00009999L, "9.999E-5"}, {-2.5L, "-2.5"},
        {100.0L, "100"}, {1234567.0L, "1234567"}, {0.1L, "0.1"},
        {static_cast<long double>(0.1), "0.1"}, {1e-300L, "1E-300"}, {1e4000L, "1E4000"},
        {inf, "INF"}, {-inf, "-INF"}, {std::numeric_limits<long double>::quiet_NaN(), "NAN"},
        {1.0L / 3.0L, "0.3333333", 7}, {12345678.0L, "1.234568E7", 7}, {0.5L, "0.5", 1}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(c.Digits ? FormatGeneral(c.Value, c.Digits) : FormatGeneral(c.Value), c.Text);
    EXPECT_EQ(RoundToGeneral(1.0L / 3.0L), ParseFloat("0.333333333333333"));
    EXPECT_EQ(RoundToGeneral(2.0L), 2.0L);
    // clang-format off
    // Pattern|value|text.
    const char* const patterns[] = {
        "####0.#####|9.98016|9.98016", "####0.#####|10.0199|10.0199", "####0.#####|0.5|0.5",
        "####0.#####|2.0|2", "####0.#####|0.0|0", "####0.#####|1234567.123456|1234567.12346",
        "####0.#####|-0.000001|0", "######0.####|10.00006|10.0001",
        "######0.#####|-1500.25|-1500.25", "0.00000e-0|12345678.0|1.23457e7",
        "0.00000e-0|0.001234|1.23400e-3", "0.00000e-0|-0.001234|-1.23400e-3",
        "0.00000e-0|0.0|0.00000e0", "0.00000e-0|9.999996e10|1.00000e11",
        "0.0000000e-0|1.0e-12|1.0000000e-12", "0.0E-00|3470.0|3.5E03", "0.0E-00|3.47e-5|3.5E-05",
        "0.000E-00|123000.0|1.230E05", "0.0E+00|3470.0|3.5E+03", "00.0E+00|3470.0|34.7E+02",
        "00.0E+00|0.00347|34.7E-04", "##|0.0|", "##|100.0|100", "##|4.0|4", "#0.00|-0.001|0.00",
        "#0.0000|0.0034|0.0034", "0.0|0.25|0.3", "0.0|-0.25|-0.3",  // exact half: away from zero
        "0.0|0.35|0.3",  // 0.35 is stored slightly below the half
        "0.0|0.0|0.0", "#######0.00|12345678.9|12345678.90", "|0.25|0.25"};
    // clang-format on
    for (const char* row : patterns) {
        const std::vector<std::string> c = Cells(row);
        EXPECT_EQ(FormatPattern(c[0], std::strtold(c[1].c_str(), nullptr)), c[2]) << row;
    }
}

TEST(ParseNumbers, AcceptTheNumberSyntaxAndThe32BitRangeOnly) {
    // clang-format off
    const std::pair<const char*, long double> floats[] = {
        {"1.5", 1.5L}, {" 2 ", 2.0L}, {"+3", 3.0L}, {"-.5", -0.5L}, {".", 0.0L}, {"5.", 5.0L},
        {"1e5", 1e5L}, {"1E-5", 1e-5L}, {"1e+5", 1e5L}, {"-0", 0.0L}, {"0.1", 0.1L},
        {"1e-99999", 0.0L}, {"1e4000", 1e4000L}};
    const std::pair<const char*, std::int32_t> integers[] = {{"12", 12}, {" 12", 12}, {"+12", 12},
        {"-2147483648", -2147483647 - 1}, {"2147483647", 2147483647}};
    // clang-format on
    long double value = -123;
    for (const auto& [text, expected] : floats)
        EXPECT_TRUE(TryParseFloat(text, value = -123) && value == expected) << "'" << text << "'";
    for (const char* text : {"1e", "e5", "", " ", "1,5", "INF", "NAN", "0x10", "1.2.3", "--1",
                             "1e99999", "1 2", "\t1", "1e5.5", "abc", "-", "+"})
        EXPECT_FALSE(TryParseFloat(text, value)) << "'" << text << "'";
    for (long double v : {1.0L / 3.0L, 1.5e-5L, 1e20L, -2.75L, 3.14159265358979L, 1e-4000L})
        EXPECT_EQ(FormatGeneral(ParseFloat(FormatGeneral(v))), FormatGeneral(v));
    std::int32_t integer = -7;
    for (const auto& [text, expected] : integers)
        EXPECT_TRUE(TryParseInteger(text, integer = -7) && integer == expected)
            << "'" << text << "'";
    for (const char* text :
         {"2147483648", "-2147483649", "12 ", "1.0", "", "-", "1e3", "99999999999999999999"})
        EXPECT_FALSE(TryParseInteger(text, integer)) << "'" << text << "'";
    // A failure carries the system text (a number's: the evaluation's conversion faults).
    EXPECT_EQ(Fault([] { ParseInteger("1.5"); }).substr(2), "'1.5' is not a valid integer value");
}

// A decimal comma in the user's regional settings changes nothing.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(NumberText, IgnoresTheGlobalLocale) {
    std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "C.UTF-8"})
        if (std::setlocale(LC_ALL, name)) break;
    EXPECT_EQ(FormatGeneral(1234.5L), "1234.5");
    EXPECT_EQ(FormatPattern("####0.#####", 1234.5L), "1234.5");
    EXPECT_EQ(FormatPattern("0.00000e-0", 1234.5L), "1.23450e3");
    EXPECT_EQ(ParseFloat("1234.5"), 1234.5L);
    long double value = 0;
    EXPECT_FALSE(TryParseFloat("1234,5", value));
    EXPECT_EQ(IntegerText(-1234567), "-1234567");
    std::setlocale(LC_ALL, "C");
    std::locale::global(previous);
}

}  // namespace
}  // namespace corvanta
