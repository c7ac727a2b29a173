#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Equations.h"
#include "engine/Faults.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

using testing::ScriptedDialogs;
using Shown = ScriptedDialogs::Shown;

// Token or name lists written with spaces, as CR LF line text.
std::string Lines(const std::string& spaced) {
    std::string text, item;
    for (char c : spaced + " ") {
        if (c == ' ') {
            if (!item.empty()) text += item + "\r\n";
            item.clear();
        } else {
            item += c;
        }
    }
    return text;
}

Shown Message(const std::string& text) {
    return {DialogKind::Message, text};
}

struct AcceptedCase {
    const char* Equation;
    const char* Clean;
    const char* Marked;
    const char* Names;
    const char* Unique;
    const char* Postfix;
};

class AcceptedEquation : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedEquation, FillsEveryField) {
    const AcceptedCase& c = GetParam();
    ScriptedDialogs dialogs;
    EquationInfo info;
    ParseEquation(c.Equation, info, dialogs);
    EXPECT_FALSE(info.ErrorFlag);
    EXPECT_EQ(info.ErrorCode, 0);
    EXPECT_EQ(info.CleanText, c.Clean);
    EXPECT_EQ(info.MarkedText, c.Marked);
    EXPECT_EQ(info.NameList, Lines(c.Names));
    EXPECT_EQ(info.UniqueNames, Lines(c.Unique));
    EXPECT_EQ(info.PostfixText, Lines(c.Postfix));
    EXPECT_TRUE(dialogs.Log.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Equations, AcceptedEquation,
    ::testing::Values(
        AcceptedCase{"y = 2*x1 + sin(x1)^2", "y=2*x1+sin(x1)^2", "[y]=2*[x1]+{sin}([x1])^2",
                     "y x1 x1", "y x1", "2 x1 * x1 sin 2 ^ +"},
        AcceptedCase{"V = [a + b] * pi", "V=(a+b)*pi", "[V]=([a]+[b])*{pi}", "V a b", "V a b",
                     "a b + pi *"},
        AcceptedCase{"A = PI*r^2", "A=PI*r^2", "[A]={PI}*[r]^2", "A r", "A r", "PI r 2 ^ *"},
        AcceptedCase{"y = (1+pi)*2", "y=(1+pi)*2", "[y]=(1+{pi})*2", "y", "y", "1 pi + 2 *"},
        AcceptedCase{"y = -a", "y=-a", "[y]=-[a]", "y a", "y a", "0 a -"},
        AcceptedCase{"y = (+a)", "y=(+a)", "[y]=(+[a])", "y a", "y a", "0 a +"},
        AcceptedCase{"y = a = b", "y=a=b", "[y]=[ab]", "y ab", "y ab", "ab"},
        AcceptedCase{"y = a +", "y=a+", "[y]=[a]+", "y a", "y a", "a +"},
        AcceptedCase{"y = (a", "y=(a", "[y]=([a]", "y a", "y a", "a"},
        AcceptedCase{"x = x + 1", "x=x+1", "[x]=[x]+1", "x x", "x", "x 1 +"},
        AcceptedCase{"Y = y", "Y=y", "[Y]=[y]", "Y y", "Y y", "y"},
        AcceptedCase{"y = SIN(x)", "y=SIN(x)", "[y]={SIN}([x])", "y x", "y x", "x SIN"},
        AcceptedCase{"y = 2,5 * a b", "y=2.5*ab", "[y]=2.5*[ab]", "y ab", "y ab", "2.5 ab *"},
        AcceptedCase{"a.1 = x.5 + .5 - 3.", "a.1=x.5+.5-3.", "[a.1]=[x.5]+.5-3.", "a.1 x.5",
                     "a.1 x.5", "x.5 .5 + 3. -"},
        AcceptedCase{"_t = T_amb*{1}", "_t=T_amb*(1)", "[_t]=[T_amb]*(1)", "_t T_amb", "_t T_amb",
                     "T_amb 1 *"},
        AcceptedCase{"y = sin(a", "y=sin(a", "[y]={sin}([a]", "y a", "y a", "a sin"},
        AcceptedCase{"y = 2.5.3", "y=2.5.3", "[y]=2.5.3", "y", "y", "2.5.3"},
        AcceptedCase{"y =", "y=", "[y]=", "y", "y", ""},
        AcceptedCase{"y = -a^2", "y=-a^2", "[y]=-[a]^2", "y a", "y a", "0 a 2 ^ -"},
        AcceptedCase{"y = (-a*b)", "y=(-a*b)", "[y]=(-[a]*[b])", "y a b", "y a b", "0 a b * -"},
        AcceptedCase{"y = sqrt(a/b)+log(c)", "y=sqrt(a/b)+log(c)", "[y]={sqrt}([a]/[b])+{log}([c])",
                     "y a b c", "y a b c", "a b / sqrt c log +"},
        AcceptedCase{"y = a-b-c", "y=a-b-c", "[y]=[a]-[b]-[c]", "y a b c", "y a b c", "a b - c -"},
        AcceptedCase{"y = a^b^c", "y=a^b^c", "[y]=[a]^[b]^[c]", "y a b c", "y a b c", "a b ^ c ^"},
        AcceptedCase{"y = a*b + a/y", "y=a*b+a/y", "[y]=[a]*[b]+[a]/[y]", "y a b a y", "y a b",
                     "a b * a y / +"},
        AcceptedCase{"y = mean(x) + Pi", "y=mean(x)+Pi", "[y]={mean}([x])+{Pi}", "y x", "y x",
                     "x mean Pi +"}));

struct RejectedCase {
    const char* Equation;
    std::int32_t Code;
    std::vector<std::string> Messages;
};

class RejectedEquation : public ::testing::TestWithParam<RejectedCase> {};

TEST_P(RejectedEquation, ShowsExactlyItsMessages) {
    const RejectedCase& c = GetParam();
    ScriptedDialogs dialogs;
    EquationInfo info;
    ParseEquation(c.Equation, info, dialogs);
    EXPECT_TRUE(info.ErrorFlag);
    EXPECT_EQ(info.ErrorCode, c.Code);
    std::vector<Shown> expected;
    for (const auto& text : c.Messages)
        expected.push_back(Message(text));
    EXPECT_EQ(dialogs.Log, expected);
}

const char* const kMessage1 = "expression must be type: \" var = ...[expression]\"";

INSTANTIATE_TEST_SUITE_P(
    Equations, RejectedEquation,
    ::testing::Values(
        RejectedCase{"y = a\tb", 1000, {}}, RejectedCase{"y = a#b", 1000, {}},
        RejectedCase{"y = a;", 1000, {}}, RejectedCase{"y = 2\xB5", 1000, {}},
        RejectedCase{"y = a\xF1", 1000, {}}, RejectedCase{"y = \"a\"", 1000, {}},
        RejectedCase{"=a+b", 0, {"Wrong expression"}},
        RejectedCase{"2x = a", 0, {"Wrong expression"}},
        RejectedCase{".x = a", 0, {"Wrong expression"}},
        RejectedCase{"a+b = c", 0, {"Illegal character + in expression"}},
        RejectedCase{"y^2 = c", 0, {"Illegal character ^ in expression"}},
        RejectedCase{"[y] = c", 0, {"Illegal character ( in expression"}},
        RejectedCase{"   ", 0, {kMessage1}}, RejectedCase{"", 0, {kMessage1}},
        RejectedCase{"y + a", 0, {kMessage1}},
        RejectedCase{"y = (*a)", 0, {"ERROR: Forbidden operand \"*\" after a \"(\""}},
        RejectedCase{"y = ^a", 0, {"ERROR: Forbidden operand \"^\" after a \"(\""}},
        RejectedCase{"y = a +- b", 0, {"ERROR: duplicated operator"}},
        RejectedCase{
            "y = a +- b ** c", 0, {"ERROR: duplicated operator", "ERROR: duplicated operator"}},
        RejectedCase{
            "y = a +- b(",
            0,
            {"ERROR: duplicated operator", "ERROR: variable [b] must be followed by an operand"}},
        RejectedCase{"y = 2a", 0, {}}, RejectedCase{"y = 1e5", 0, {}},
        RejectedCase{"y = (a)b", 0, {}}, RejectedCase{"y = (a)b+c", 0, {}},
        RejectedCase{"y = a(2)", 0, {"ERROR: variable [a] must be followed by an operand"}},
        RejectedCase{"y = 2(a)", 0, {"ERROR: variable [] must be followed by an operand"}},
        RejectedCase{"y = (a)(b)", 0, {"ERROR: variable [] must be followed by an operand"}},
        RejectedCase{"y = sin + 1", 0, {"ERROR: function sin must be followed by \"(\""}},
        RejectedCase{"y = sin", 0, {"ERROR: function sin must be followed by \"(\""}},
        RejectedCase{"y = (Cos)", 0, {"ERROR: function Cos must be followed by \"(\""}},
        RejectedCase{"y = pi(2)", 0, {"ERROR: function \"PI\" cannot be followed by a \"(\""}},
        RejectedCase{"y = pI(2)", 0, {"ERROR: function \"PI\" cannot be followed by a \"(\""}},
        RejectedCase{"y = (a)2", 0, {"Cannot be a number after a \")\""}},
        RejectedCase{"y = ()", 0, {"Invalid expression"}},
        RejectedCase{"y = a+)", 0, {"Invalid expression"}},
        RejectedCase{"y = )", 0, {"Invalid expression"}}));

TEST(ParseEquation, SurplusClosingParenthesisFailsWithTheListError) {
    for (const char* equation : {"y = a)", "y = (a))", "y = 1)"}) {
        ScriptedDialogs dialogs;
        EquationInfo info;
        try {
            ParseEquation(equation, info, dialogs);
            ADD_FAILURE() << equation << " compiled";
        } catch (const CalcError& error) {
            EXPECT_EQ(error.Kind(), FaultKind::ListIndex) << equation;
            EXPECT_STREQ(error.what(), "List index out of bounds (-1)") << equation;
        }
    }
}

TEST(ParseEquation, ErrorCodeIsLeftAsTheCallerSetIt) {
    ScriptedDialogs dialogs;
    EquationInfo info;
    info.ErrorCode = 7;
    ParseEquation("y = 2a", info, dialogs);
    EXPECT_TRUE(info.ErrorFlag);
    EXPECT_EQ(info.ErrorCode, 7);
    ParseEquation("y = a", info, dialogs);
    EXPECT_FALSE(info.ErrorFlag);
    EXPECT_EQ(info.ErrorCode, 7);
}

TEST(ParseEquation, EveryByteOutsideTheAlphabetIsRejectedSilently) {
    const std::string allowed =
        " ()*+,-./0123456789=ABCDEFGHIJKLMNOPQRSTUVWXYZ[]^_abcdefghijklmnopqrstuvwxyz{}";
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        if (allowed.find(c) != std::string::npos) continue;
        ScriptedDialogs dialogs;
        EquationInfo info;
        ParseEquation(std::string("y = a") + c, info, dialogs);
        EXPECT_TRUE(info.ErrorFlag) << byte;
        EXPECT_EQ(info.ErrorCode, 1000) << byte;
        EXPECT_TRUE(dialogs.Log.empty()) << byte;
    }
}

TEST(ParseEquation, HugeInputsNeedNoRecursion) {
    constexpr int kDepth = 100000;
    ScriptedDialogs dialogs;
    EquationInfo info;
    ParseEquation("y = " + std::string(kDepth, '(') + "a" + std::string(kDepth, ')'), info,
                  dialogs);
    EXPECT_FALSE(info.ErrorFlag);
    EXPECT_EQ(info.PostfixText, "a\r\n");

    std::string sum = "y = a0";
    for (int i = 1; sum.size() < 100000; ++i)
        sum += "+a" + std::to_string(i % 100);
    ParseEquation(sum, info, dialogs);
    EXPECT_FALSE(info.ErrorFlag);
    EXPECT_EQ(SplitLines(info.UniqueNames).size(), 101u);  // y and a0 to a99
    EXPECT_TRUE(dialogs.Log.empty());
}

struct NameCase {
    const char* Text;
    bool Function;
    bool Number;
};

TEST(NameTests, FunctionNamesAndNumbers) {
    const NameCase cases[] = {
        {"sin", true, false},
        {"SIN", true, false},
        {"Sin", true, false},
        {"pi", true, false},
        {"PI", true, false},
        {"cosecant", true, false},
        {"totalvariance", true, false},
        {"TotalVariance", true, false},
        {"arccsch", true, false},
        {"cycletograd", true, false},
        {"sinx", false, false},
        {"abs exp", false, false},
        {"", false, false},
        {"x", false, false},
        {"e", false, false},
        {"2", false, true},
        {".", false, true},
        {"0.5", false, true},
        {".5", false, true},
        {"3.", false, true},
        {" 1.5E-5 ", false, true},
        {"-2", false, true},
        {"+2", false, true},
        {"1e5", false, true},
        {"2.5.3", false, false},
        {"INF", false, false},
        {"NAN", false, false},
        {"1e", false, false},
        {"E5", false, false},
        {"1,5", false, false},
        {"-", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsFunctionName(c.Text), c.Function) << '"' << c.Text << '"';
        EXPECT_EQ(IsNumber(c.Text), c.Number) << '"' << c.Text << '"';
    }
}

TEST(NameTests, StripMarksRemovesTheFourMarks) {
    EXPECT_EQ(StripMarks("[y]=[a]*({sin}([b])/{pi})"), "y=a*(sin(b)/pi)");
    EXPECT_EQ(StripMarks("[]{}"), "");
}

TEST(NameTests, SplitAndJoinLines) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd\r\n"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\r\n"), (std::vector<std::string>{""}));
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

}  // namespace
}  // namespace corvanta
