#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Equations.h"
#include "support/Lines.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

using testing::ScriptedDialogs;

using testing::Lines;

TEST(ParseEquation, AcceptedEquationsFillEveryField) {
    // clang-format off
    const struct {
        const char *Equation, *Clean, *Marked, *Names, *Unique, *Postfix;
    } cases[] = {
        {"y = 2*x1 + sin(x1)^2", "y=2*x1+sin(x1)^2", "[y]=2*[x1]+{sin}([x1])^2", "y x1 x1", "y x1",
            "2 x1 * x1 sin 2 ^ +"},
        {"V = [a + b] * pi", "V=(a+b)*pi", "[V]=([a]+[b])*{pi}", "V a b", "V a b", "a b + pi *"},
        {"A = PI*r^2", "A=PI*r^2", "[A]={PI}*[r]^2", "A r", "A r", "PI r 2 ^ *"},
        {"y = (1+pi)*2", "y=(1+pi)*2", "[y]=(1+{pi})*2", "y", "y", "1 pi + 2 *"},
        {"y = -a", "y=-a", "[y]=-[a]", "y a", "y a", "0 a -"},
        {"y = (+a)", "y=(+a)", "[y]=(+[a])", "y a", "y a", "0 a +"},
        {"y = a = b", "y=a=b", "[y]=[ab]", "y ab", "y ab", "ab"},
        {"y = a +", "y=a+", "[y]=[a]+", "y a", "y a", "a +"},
        {"y = (a", "y=(a", "[y]=([a]", "y a", "y a", "a"},
        {"x = x + 1", "x=x+1", "[x]=[x]+1", "x x", "x", "x 1 +"},
        {"Y = y", "Y=y", "[Y]=[y]", "Y y", "Y y", "y"},
        {"y = SIN(x)", "y=SIN(x)", "[y]={SIN}([x])", "y x", "y x", "x SIN"},
        {"y = 2,5 * a b", "y=2.5*ab", "[y]=2.5*[ab]", "y ab", "y ab", "2.5 ab *"},
        {"a.1 = x.5 + .5 - 3.", "a.1=x.5+.5-3.", "[a.1]=[x.5]+.5-3.", "a.1 x.5", "a.1 x.5",
            "x.5 .5 + 3. -"},
        {"_t = T_amb*{1}", "_t=T_amb*(1)", "[_t]=[T_amb]*(1)", "_t T_amb", "_t T_amb", "T_amb 1 *"},
        {"y = sin(a", "y=sin(a", "[y]={sin}([a]", "y a", "y a", "a sin"},
        {"y = 2.5.3", "y=2.5.3", "[y]=2.5.3", "y", "y", "2.5.3"},
        {"y =", "y=", "[y]=", "y", "y", ""},
        {"y = a-b-c", "y=a-b-c", "[y]=[a]-[b]-[c]", "y a b c", "y a b c", "a b - c -"},
        {"y = a*b + a/y", "y=a*b+a/y", "[y]=[a]*[b]+[a]/[y]", "y a b a y", "y a b",
            "a b * a y / +"},
        {"y = mean(x) + Pi", "y=mean(x)+Pi", "[y]={mean}([x])+{Pi}", "y x", "y x", "x mean Pi +"}};
    // clang-format on
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        EquationInfo info;
        ParseEquation(c.Equation, info, dialogs);
        EXPECT_FALSE(info.ErrorFlag) << c.Equation;
        EXPECT_EQ(info.ErrorCode, 0) << c.Equation;
        EXPECT_EQ(info.CleanText, c.Clean) << c.Equation;
        EXPECT_EQ(info.MarkedText, c.Marked) << c.Equation;
        EXPECT_EQ(info.NameList, Lines(c.Names)) << c.Equation;
        EXPECT_EQ(info.UniqueNames, Lines(c.Unique)) << c.Equation;
        EXPECT_EQ(info.PostfixText, Lines(c.Postfix)) << c.Equation;
        EXPECT_TRUE(dialogs.Log.empty()) << c.Equation;
    }
}

TEST(ParseEquation, RejectedEquationsShowExactlyTheirMessages) {
    const std::string dup = "ERROR: duplicated operator";
    // clang-format off
    const struct {
        std::int32_t Code;
        std::vector<std::string> Messages;
        std::vector<const char*> Equations;
    } cases[] = {
        {1000, {}, {"y = a\tb", "y = a#b", "y = a;", "y = 2\xB5", "y = a\xF1", "y = \"a\""}},
        {0, {}, {"y = 2a", "y = 1e5", "y = (a)b", "y = (a)b+c"}},
        {0, {"Wrong expression"}, {"=a+b", "2x = a", ".x = a"}},
        {0, {"Illegal character + in expression"}, {"a+b = c"}},
        {0, {"Illegal character ^ in expression"}, {"y^2 = c"}},
        {0, {"Illegal character ( in expression"}, {"[y] = c"}},
        {0, {"expression must be type: \" var = ...[expression]\""}, {"   ", "", "y + a"}},
        {0, {"ERROR: Forbidden operand \"*\" after a \"(\""}, {"y = (*a)"}},
        {0, {"ERROR: Forbidden operand \"^\" after a \"(\""}, {"y = ^a"}},
        {0, {dup}, {"y = a +- b"}},
        {0, {dup, dup}, {"y = a +- b ** c"}},
        {0, {dup, "ERROR: variable [b] must be followed by an operand"}, {"y = a +- b("}},
        {0, {"ERROR: variable [a] must be followed by an operand"}, {"y = a(2)"}},
        {0, {"ERROR: variable [] must be followed by an operand"}, {"y = 2(a)", "y = (a)(b)"}},
        {0, {"ERROR: function sin must be followed by \"(\""}, {"y = sin + 1", "y = sin"}},
        {0, {"ERROR: function Cos must be followed by \"(\""}, {"y = (Cos)"}},
        {0, {"ERROR: function \"PI\" cannot be followed by a \"(\""}, {"y = pi(2)", "y = pI(2)"}},
        {0, {"Cannot be a number after a \")\""}, {"y = (a)2"}},
        {0, {"Invalid expression"}, {"y = ()", "y = a+)", "y = )"}}};
    // clang-format on
    for (const auto& c : cases) {
        std::vector<ScriptedDialogs::Shown> expected;
        for (const auto& text : c.Messages)
            expected.push_back({DialogKind::Message, text});
        for (const char* equation : c.Equations) {
            ScriptedDialogs dialogs;
            EquationInfo info;
            ParseEquation(equation, info, dialogs);
            EXPECT_TRUE(info.ErrorFlag) << equation;
            EXPECT_EQ(info.ErrorCode, c.Code) << equation;
            EXPECT_EQ(dialogs.Log, expected) << equation;
        }
    }
}

TEST(ParseEquation, ErrorCodeIsLeftAsTheCallerSetIt) {
    ScriptedDialogs dialogs;
    EquationInfo info;
    info.ErrorCode = 7;
    ParseEquation("y = 2a", info, dialogs);
    EXPECT_TRUE(info.ErrorFlag && info.ErrorCode == 7);
    ParseEquation("y = a", info, dialogs);
    EXPECT_TRUE(!info.ErrorFlag && info.ErrorCode == 7);
}

TEST(ParseEquation, EveryByteOutsideTheAlphabetIsRejectedSilently) {
    const std::string allowed =
        " ()*+,-./0123456789=ABCDEFGHIJKLMNOPQRSTUVWXYZ[]^_abcdefghijklmnopqrstuvwxyz{}";
    for (int byte = 0; byte < 256; ++byte) {
        if (allowed.find(static_cast<char>(byte)) != std::string::npos) continue;
        ScriptedDialogs dialogs;
        EquationInfo info;
        ParseEquation(std::string("y = a") + static_cast<char>(byte), info, dialogs);
        EXPECT_TRUE(info.ErrorFlag && info.ErrorCode == 1000 && dialogs.Log.empty()) << byte;
    }
}

TEST(ParseEquation, HugeInputsNeedNoRecursion) {
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
    EXPECT_TRUE(dialogs.Log.empty());
}

TEST(NameTests, FunctionNamesAndNumbers) {
    for (const char* text :
         {"sin", "SIN", "Sin", "pi", "PI", "cosecant", "TotalVariance", "arccsch", "cycletograd"}) {
        EXPECT_TRUE(IsFunctionName(text) && !IsNumber(text)) << text;
    }
    for (const char* text : {"2", ".", "0.5", ".5", "3.", " 1.5E-5 ", "-2", "+2", "1e5"})
        EXPECT_TRUE(IsNumber(text) && !IsFunctionName(text)) << '"' << text << '"';
    for (const char* text :
         {"sinx", "abs exp", "", "x", "e", "2.5.3", "INF", "NAN", "1e", "E5", "1,5", "-"}) {
        EXPECT_FALSE(IsNumber(text) || IsFunctionName(text)) << '"' << text << '"';
    }
}

TEST(NameTests, StripMarksSplitAndJoin) {
    EXPECT_EQ(StripMarks("[y]=[a]*({sin}([b])/{pi})"), "y=a*(sin(b)/pi)");
    EXPECT_EQ(StripMarks("[]{}"), "");
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd\r\n"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\r\n"), (std::vector<std::string>{""}));
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

}  // namespace
}  // namespace corvanta
