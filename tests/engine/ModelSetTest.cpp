#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "captions/Captions.h"
#include "engine/Equations.h"
#include "engine/Faults.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

using testing::ScriptedDialogs;
using Shown = ScriptedDialogs::Shown;

// Space-separated items as CR LF line text.
std::string Lines(const std::string& spaced) {
    std::string text;
    for (char c : spaced)
        text += c == ' ' ? std::string("\r\n") : std::string(1, c);
    return spaced.empty() ? text : text + "\r\n";
}

EquationSet Parse(const std::string& model, ScriptedDialogs& dialogs,
                  const MessageTexts& messages = FormMessageTexts(CaptionTable::BuiltIn())) {
    EquationSet set;
    ParseModelSet(model, set, messages, dialogs);
    return set;
}

TEST(ParseModelSet, FindsTheOutputAndSubstitutes) {
    // clang-format off
    const struct {
        const char *Model, *Clean, *Marked, *Postfix, *Names, *LeftNames;
    } cases[] = {
        {"y = a*k\r\nk = b/c", "y=a*(b/c)", "[y]=[a]*([b]/[c])", "a b c / *", "y a k b c", "y k"},
        {"k = b/c\r\ny = a*k", "y=a*(b/c)", "[y]=[a]*([b]/[c])", "a b c / *", "k b c y a", "k y"},
        {"y = a*k\rk = b/c\n", "y=a*(b/c)", "[y]=[a]*([b]/[c])", "a b c / *", "y a k b c", "y k"},
        {"y = a + b", "y=a+b", "[y]=[a]+[b]", "a b +", "y a b", "y"},
        {"y = a + k\nk = m*2\nm = sin(x)", "y=a+((sin(x))*2)", "[y]=[a]+(({sin}([x]))*2)",
            "a x sin 2 * +", "y a k m x", "y k m"},
        // The first definition of a name wins; the second is never used.
        {"y = a\na = b\na = c", "y=(b)", "[y]=([b])", "b", "y a b c", "y a"},
        // A name that contains another is replaced only as itself.
        {"y = a1 + a\na = 3", "y=a1+(3)", "[y]=[a1]+(3)", "a1 3 +", "y a1 a", "y a"},
        {"y = X + x\nx = 2", "y=X+(2)", "[y]=[X]+(2)", "X 2 +", "y X x", "y x"},
        {"y = k*k\nk = -b", "y=(-b)*(-b)", "[y]=(-[b])*(-[b])", "0 b - 0 b - *", "y k b", "y k"},
        // A circle that the output never reaches does no harm.
        {"y = a\nk = m\nm = k", "y=a", "[y]=[a]", "a", "y a k m", "y k m"},
        {"y = 2*pi", "y=2*pi", "[y]=2*{pi}", "2 pi *", "y", "y"}};
    // clang-format on
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        const EquationSet set = Parse(c.Model, dialogs);
        EXPECT_FALSE(set.ErrorFlag) << c.Model;
        EXPECT_EQ(set.CleanText, c.Clean) << c.Model;
        EXPECT_EQ(set.MarkedText, c.Marked) << c.Model;
        EXPECT_EQ(set.PostfixText, Lines(c.Postfix)) << c.Model;
        EXPECT_EQ(set.NameList, Lines(c.Names)) << c.Model;
        EXPECT_EQ(set.UniqueNames, Lines(c.LeftNames)) << c.Model;
        EXPECT_TRUE(dialogs.Log.empty()) << c.Model;
    }
}

TEST(ParseModelSet, RejectsWithTheRightDialog) {
    auto error = [](const std::string& text) { return Shown{DialogKind::Error, text}; };
    auto message = [](const std::string& text) { return Shown{DialogKind::Message, text}; };
    auto circle = [&](const char* name) {
        return error("Error. The quantity " + std::string(name) +
                     " is defined in terms of itself.");
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
        std::vector<Shown> Log;
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
        EXPECT_TRUE(set.ErrorFlag) << c.Model.substr(0, 40);
        EXPECT_EQ(set.ErrorCode, c.Code) << c.Model.substr(0, 40);
        EXPECT_EQ(dialogs.Log, c.Log) << c.Model.substr(0, 40);
    }
}

TEST(ParseModelSet, MessagesComeFromTheCaptionTable) {
    MessageTexts messages = FormMessageTexts(CaptionTable::BuiltIn());
    messages.UndefinedOutput =
        "Fehler: keine Ausgangsgr\xF6\xDF"
        "e";
    ScriptedDialogs dialogs;
    Parse("x = x*2", dialogs, messages);
    EXPECT_EQ(dialogs.Log, (std::vector<Shown>{{DialogKind::Error, messages.UndefinedOutput}}));
}

TEST(ParseModelSet, SurplusParenthesisEscapesAsTheListError) {
    ScriptedDialogs dialogs;
    try {
        Parse("y = a*k\nk = b)", dialogs);
        ADD_FAILURE();
    } catch (const CalcError& error) {
        EXPECT_EQ(error.Kind(), FaultKind::ListIndex);
        EXPECT_STREQ(error.what(), "List index out of bounds (-1)");
    }
}

TEST(ParseModelSet, LongModelsAndBinaryBytes) {
    ScriptedDialogs dialogs;
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

}  // namespace
}  // namespace corvanta
