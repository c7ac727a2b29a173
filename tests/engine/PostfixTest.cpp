#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Equations.h"
#include "engine/Faults.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

using testing::ScriptedDialogs;

// Space-separated items as CR LF line text; "_" stands for an empty line.
std::string Lines(const std::string& spaced) {
    std::string text, item;
    for (char c : spaced + " ") {
        if (c == ' ') {
            if (!item.empty()) text += (item == "_" ? "" : item) + "\r\n";
            item.clear();
        } else {
            item += c;
        }
    }
    return text;
}

struct TokenCase {
    const char* RightSide;
    const char* Tokens;
};

TEST(SplitTokens, CutsNumbersNamesParenthesesAndOperators) {
    const TokenCase cases[] = {
        {"2*x1+sin(x1)^2", "2 * x1 + sin ( x1 ) ^ 2"},
        {"x.5+x.y-.5", "x.5 + x.y - .5"},
        {"2.5.3", "2.5.3"},
        {"a=b", "ab"},
        {"(a)=", "( a )"},
        {"_a1_", "_a1_"},
        {"--((", "- - ( ("},
        {"", ""},
        {"1e5", "1e5"},
        {"1E5-2", "1E5 - 2"},
    };
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        EXPECT_EQ(SplitTokens(c.RightSide, dialogs), Lines(c.Tokens)) << c.RightSide;
        EXPECT_TRUE(dialogs.Log.empty()) << c.RightSide;
    }
}

TEST(SplitTokens, ASecondExponentLetterOrAnotherLetterAfterANumberIsDropped) {
    const TokenCase cases[] = {{"1e5e", "1e5"}, {"2a+b", "2 + b"}, {"1E5E2", "1E52"}};
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        EXPECT_EQ(SplitTokens(c.RightSide, dialogs), Lines(c.Tokens)) << c.RightSide;
        EXPECT_EQ(dialogs.Log, (std::vector<ScriptedDialogs::Shown>{
                                   {DialogKind::Message, "Sintax error in model set"}}))
            << c.RightSide;
    }
}

TEST(ToPostfix, WorkedExamplesAndTolerance) {
    const TokenCase cases[] = {
        {"2 * x1 + sin ( x1 ) ^ 2", "2 x1 * x1 sin 2 ^ +"},
        {"( a + b ) * pi", "a b + pi *"},
        {"a - b - c", "a b - c -"},
        {"a ^ b ^ c", "a b ^ c ^"},
        {"- a ^ 2", "0 a 2 ^ -"},
        {"( - a * b )", "0 a b * -"},
        {"sqrt ( a / b ) + log ( c )", "a b / sqrt c log +"},
        {"( a + b", "a b +"},
        {"a + b )", "a b +"},
        {"a * ( b + c ) )", "a b c + *"},
        {"a + b * c ^ d - e / f", "a b c d ^ * + e f / -"},
        {"SIN ( - x )", "0 x - SIN"},
        {"PI * 2", "PI 2 *"},
        {"sin ( cos ( x ) )", "x cos sin"},
        {"( ( ( a ) ) )", "a"},
        {"", ""},
        {"a _ +", "a _ +"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToPostfix(Lines(c.RightSide)), Lines(c.Tokens)) << c.RightSide;
}

TEST(ToPostfix, ClosingParenthesisWithEmptyStackIsTheListError) {
    for (const char* tokens : {")", "a )", "( a ) )", "sin ( a ) ) + 1"}) {
        try {
            ToPostfix(Lines(tokens));
            ADD_FAILURE() << tokens;
        } catch (const CalcError& error) {
            EXPECT_EQ(error.Kind(), FaultKind::ListIndex);
            EXPECT_STREQ(error.what(), "List index out of bounds (-1)");
        }
    }
}

TEST(ToPostfix, OperatorPriorities) {
    const std::pair<const char*, int> cases[] = {{"(", 0}, {")", 0}, {"+", 1}, {"-", 1},
                                                 {"*", 2}, {"/", 2}, {"^", 3}, {"sin", 0},
                                                 {"x", 0}, {"", 0},  {"**", 0}};
    for (const auto& [token, priority] : cases)
        EXPECT_EQ(OperatorPriority(token), priority) << token;
}

TEST(ToPostfix, DeepNestingNeedsNoRecursion) {
    constexpr int kDepth = 100000;
    std::string tokens;
    for (int i = 0; i < kDepth; ++i)
        tokens += "sin\r\n(\r\n";
    tokens += "x\r\n";
    for (int i = 0; i < kDepth; ++i)
        tokens += ")\r\n";
    const std::string postfix = ToPostfix(tokens);
    EXPECT_EQ(postfix.size(), 3 + kDepth * 5u);
    EXPECT_EQ(postfix.substr(0, 8), "x\r\nsin\r\n");
}

}  // namespace
}  // namespace corvanta
