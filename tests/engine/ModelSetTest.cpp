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

const MessageTexts& Messages() {
    static const MessageTexts messages = FormMessageTexts(CaptionTable::BuiltIn());
    return messages;
}

struct SetCase {
    const char* Model;
    const char* Clean;
    const char* Marked;
    const char* Postfix;
    const char* Names;
    const char* LeftNames;
};

TEST(ParseModelSet, FindsTheOutputAndSubstitutes) {
    const SetCase cases[] = {
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
        {"y = 2*pi", "y=2*pi", "[y]=2*{pi}", "2 pi *", "y", "y"},
    };
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        EquationSet set;
        ParseModelSet(c.Model, set, Messages(), dialogs);
        EXPECT_FALSE(set.ErrorFlag) << c.Model;
        EXPECT_EQ(set.CleanText, c.Clean) << c.Model;
        EXPECT_EQ(set.MarkedText, c.Marked) << c.Model;
        EXPECT_EQ(set.PostfixText, Lines(c.Postfix)) << c.Model;
        EXPECT_EQ(set.NameList, Lines(c.Names)) << c.Model;
        EXPECT_EQ(set.UniqueNames, Lines(c.LeftNames)) << c.Model;
        EXPECT_TRUE(dialogs.Log.empty()) << c.Model;
    }
}

struct RejectedSetCase {
    const char* Model;
    std::vector<Shown> Log;
    std::int32_t Code;
};

TEST(ParseModelSet, RejectsWithTheRightDialog) {
    const std::string undefined = "Error. Undefined output parameter.";
    const std::string tooMany = "Error. Too many output parameter.";
    const RejectedSetCase cases[] = {
        {"x = x + 1", {{DialogKind::Error, undefined}}, 0},
        {"", {{DialogKind::Error, undefined}}, 0},
        {"y = a\nz = b", {{DialogKind::Error, tooMany}}, 0},
        {"y = a\ny = b", {{DialogKind::Error, tooMany}}, 0},
        {"y = a\na = b\nb = a",
         {{DialogKind::Error, "Error. The quantity a is defined in terms of itself."}},
         0},
        {"y = a\na = a + 1",
         {{DialogKind::Error, "Error. The quantity a is defined in terms of itself."}},
         0},
        {"y = a + b\nb = c*2\nc = sqrt(b)",
         {{DialogKind::Error, "Error. The quantity b is defined in terms of itself."}},
         0},
        {"y = a\nz = 2b", {}, 0},
        {"y = a\nz = b#", {}, 1000},
        {"y = a\n= b", {{DialogKind::Message, "Wrong expression"}}, 0},
        {"y = a\n\nz = b",
         {{DialogKind::Message, "expression must be type: \" var = ...[expression]\""}},
         0},
        {"y = a +- b\nb = 2", {{DialogKind::Message, "ERROR: duplicated operator"}}, 0},
    };
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        EquationSet set;
        ParseModelSet(c.Model, set, Messages(), dialogs);
        EXPECT_TRUE(set.ErrorFlag) << c.Model;
        EXPECT_EQ(set.ErrorCode, c.Code) << c.Model;
        EXPECT_EQ(dialogs.Log, c.Log) << c.Model;
    }
}

TEST(ParseModelSet, MessagesComeFromTheCaptionTable) {
    MessageTexts messages = Messages();
    messages.UndefinedOutput =
        "Fehler: keine Ausgangsgr\xF6\xDF"
        "e";
    ScriptedDialogs dialogs;
    EquationSet set;
    ParseModelSet("x = x*2", set, messages, dialogs);
    EXPECT_EQ(dialogs.Log, (std::vector<Shown>{{DialogKind::Error, messages.UndefinedOutput}}));
}

TEST(ParseModelSet, SurplusParenthesisEscapesAsTheListError) {
    ScriptedDialogs dialogs;
    EquationSet set;
    try {
        ParseModelSet("y = a*k\nk = b)", set, Messages(), dialogs);
        ADD_FAILURE();
    } catch (const CalcError& error) {
        EXPECT_EQ(error.Kind(), FaultKind::ListIndex);
        EXPECT_STREQ(error.what(), "List index out of bounds (-1)");
    }
}

TEST(ParseModelSet, GrowthIsBounded) {
    // Every level doubles the text: 30 levels would be gigabytes.
    std::string model = "y = a0*a0";
    for (int i = 0; i < 30; ++i)
        model += "\na" + std::to_string(i) + " = a" + std::to_string(i + 1) + "*a" +
                 std::to_string(i + 1);
    ScriptedDialogs dialogs;
    EquationSet set;
    ParseModelSet(model, set, Messages(), dialogs);
    EXPECT_TRUE(set.ErrorFlag);
    EXPECT_EQ(dialogs.Log,
              (std::vector<Shown>{{DialogKind::Error,
                                   "Error. The output equation grows beyond 1000000 characters "
                                   "when the intermediate quantities are substituted into it."}}));
}

TEST(ParseModelSet, ALongOutputEquationWithoutIntermediatesIsAccepted) {
    std::string model = "y = 1";
    while (model.size() <= kMaxSubstitutedLength)
        model += "+x";
    ScriptedDialogs dialogs;
    EquationSet set;
    ParseModelSet(model, set, Messages(), dialogs);
    EXPECT_FALSE(set.ErrorFlag);
    EXPECT_GT(set.MarkedText.size(), kMaxSubstitutedLength);
    EXPECT_TRUE(dialogs.Log.empty());
}

TEST(ParseModelSet, LongChainsNeedNoRecursion) {
    constexpr int kLength = 5000;
    std::string model = "y = q0";
    for (int i = 0; i < kLength; ++i)
        model += "\nq" + std::to_string(i) + " = q" + std::to_string(i + 1) + "+1";
    ScriptedDialogs dialogs;
    EquationSet set;
    ParseModelSet(model, set, Messages(), dialogs);
    ASSERT_FALSE(set.ErrorFlag);
    EXPECT_EQ(set.CleanText.substr(0, 8), "y=((((((");
    EXPECT_EQ(set.PostfixText.substr(0, 13), "q5000\r\n1\r\n+\r\n");
    EXPECT_EQ(SplitLines(set.NameList).size(), kLength + 2u);
    EXPECT_EQ(SplitLines(set.UniqueNames).size(), kLength + 1u);
}

TEST(ParseModelSet, BinaryBytesAreRejectedWithoutACrash) {
    std::string model;
    for (int i = 0; i < 4096; ++i)
        model += static_cast<char>((i * 37 + 11) % 256);
    ScriptedDialogs dialogs;
    EquationSet set;
    ParseModelSet(model, set, Messages(), dialogs);
    EXPECT_TRUE(set.ErrorFlag);
}

}  // namespace
}  // namespace corvanta
