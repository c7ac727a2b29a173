#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Equations.h"
#include "engine/Faults.h"
#include "support/Lines.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

using testing::ScriptedDialogs;

using testing::Lines;

TEST(SplitTokens, CutsNumbersNamesParenthesesAndOperators) {
    // clang-format off
    const struct {
        const char *RightSide, *Tokens;
        bool SyntaxError;  // a letter after a number that already holds its exponent letter
    } cases[] = {
        {"2*x1+sin(x1)^2", "2 * x1 + sin ( x1 ) ^ 2", false},
        {"x.5+x.y-.5", "x.5 + x.y - .5", false}, {"2.5.3", "2.5.3", false}, {"a=b", "ab", false},
        {"(a)=", "( a )", false}, {"_a1_", "_a1_", false}, {"--((", "- - ( (", false},
        {"", "", false}, {"1e5", "1e5", false}, {"1E5-2", "1E5 - 2", false}, {"1e5e", "1e5", true},
        {"2a+b", "2 + b", true}, {"1E5E2", "1E52", true}};
    // clang-format on
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        EXPECT_EQ(SplitTokens(c.RightSide, dialogs), Lines(c.Tokens)) << c.RightSide;
        std::vector<ScriptedDialogs::Shown> expected;
        if (c.SyntaxError) expected.push_back({DialogKind::Message, "Sintax error in model set"});
        EXPECT_EQ(dialogs.Log, expected) << c.RightSide;
    }
}

TEST(ToPostfix, WorkedExamplesAndTolerance) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"2 * x1 + sin ( x1 ) ^ 2", "2 x1 * x1 sin 2 ^ +"}, {"( a + b ) * pi", "a b + pi *"},
        {"a - b - c", "a b - c -"}, {"a ^ b ^ c", "a b ^ c ^"}, {"- a ^ 2", "0 a 2 ^ -"},
        {"( - a * b )", "0 a b * -"}, {"sqrt ( a / b ) + log ( c )", "a b / sqrt c log +"},
        {"( a + b", "a b +"}, {"a + b )", "a b +"}, {"a * ( b + c ) )", "a b c + *"},
        {"a + b * c ^ d - e / f", "a b c d ^ * + e f / -"}, {"SIN ( - x )", "0 x - SIN"},
        {"PI * 2", "PI 2 *"}, {"sin ( cos ( x ) )", "x cos sin"}, {"( ( ( a ) ) )", "a"}, {"", ""},
        {"a  +", "a  +"}};
    // clang-format on
    for (const auto& [tokens, postfix] : cases)
        EXPECT_EQ(ToPostfix(Lines(tokens)), Lines(postfix)) << tokens;
}

TEST(ToPostfix, ClosingParenthesisWithEmptyStackIsTheListError) {
    for (const char* tokens : {")", "a )", "( a ) )", "sin ( a ) ) + 1"}) {
        try {
            ToPostfix(Lines(tokens));
            ADD_FAILURE() << tokens;
        } catch (const CalcError& error) {
            EXPECT_EQ(error.Kind(), FaultKind::ListIndex) << tokens;
            EXPECT_STREQ(error.what(), "List index out of bounds (-1)") << tokens;
        }
    }
}

}  // namespace
}  // namespace corvanta
