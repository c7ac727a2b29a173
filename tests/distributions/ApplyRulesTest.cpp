#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "distributions/ApplyRules.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

using testing::ScriptedDialogs;

const MessageTexts& English() {
    static const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    return texts;
}

std::vector<ScriptedDialogs::Shown> ErrorShown(const std::string& text) {
    if (text.empty()) return {};
    return {{DialogKind::Error, text}};
}

ModelParameter Unassigned() {
    ModelParameter p;
    p.Nombre = "x";
    p.Unidad = "mm";
    p.Valor = "old";
    p.a = "olda";
    return p;
}

struct PageCase {
    int Page;
    std::string Edit1, Edit2;
    // Stored Valor and a; nullopt when nothing is stored.
    std::optional<std::pair<std::string, std::string>> Stored;
    std::string Error;  // the one error dialog expected, "" for none
    int Field = -1;     // the field refused: 0 = Edit1, 1 = Edit2
};

const std::string kErrorForm = "Error of parameters.. Form must be real > 0";
const std::string kErrorNP =
    "Error of parameters.. n must be real > 0 and p must take values between 0 and 1";
const std::string kErrorK = "Error of parameters.. k must be real and take values between 0 and 10";
const std::string kDegrees = "Degrees of freedom must be integer > 0";
const std::string kLogNotPositive = "Media y Desv\xEDo deben ser reales > 0";
const std::string kDeviation = "Error of parameters.. Standard deviation must be real >= 0";
const std::string kHalfWidth = "Error of parameters.. Half-width must be real >= 0";
const std::string kMean = "Error of parameters.. Mean must be real >= 0";
const std::string kBinomial =
    "Error of parameters.. n must be integer >= 0 and p must take values between 0 and 1";

using Values = std::pair<std::string, std::string>;

const std::vector<PageCase> kPageCases = {
    // Normal: both required, both real, a deviation of 0 or more.
    {1, "1.5", "0.2", Values{"1.5", "0.2"}, ""},
    {1, "", "0.2", std::nullopt, ""},
    {1, "1.5", "", std::nullopt, ""},
    {1, "abc", "xyz", std::nullopt, "abc is not a Real number", 0},
    {1, "1,5", "0.1", std::nullopt, "1,5 is not a Real number", 0},
    {1, "1", "-2", std::nullopt, kDeviation, 1},
    {1, "1", "-1e-300", std::nullopt, kDeviation, 1},
    {1, "1", "-0", Values{"1", "-0"}, ""},
    {1, " 2.50 ", "1E-3", Values{" 2.50 ", "1E-3"}, ""},
    // Rectangular: an empty field stays silent even when the other is bad.
    {2, "bad", "", std::nullopt, ""},
    {2, "x", "1", std::nullopt, "x is not a Real number", 0},
    {2, "10", "0.5", Values{"10", "0.5"}, ""},
    {3, "10", "0", Values{"10", "0"}, ""},
    {3, "-10", "-0.001", std::nullopt, kHalfWidth, 1},
    // Constante keeps the old second field.
    {4, "7", "", Values{"7", "olda"}, ""},
    {4, "seven", "", std::nullopt, "seven is not a Real number", 0},
    {5, "0.5", "", Values{"0.5", "olda"}, ""},
    {5, "0", "", std::nullopt, kErrorForm, 0},
    {5, "g", "", std::nullopt, "g is not a Real number", 0},
    // Exponencial and Cauchy store nothing but the kind.
    {6, "", "", Values{"old", "olda"}, ""},
    {13, "junk", "junk", Values{"old", "olda"}, ""},
    {7, "2", "5", Values{"2", "5"}, ""},
    {7, "0", "5", std::nullopt, "a and b must be real numbers", 0},
    {7, "2", "-1", std::nullopt, "a and b must be real numbers", 1},
    {7, "q", "5", std::nullopt, "q is not a Real number", 0},
    // Student: integer degrees, optional mean that defaults to "0".
    {8, "5", "", Values{"5", "0"}, ""},
    {8, "5", "1.5", Values{"5", "1.5"}, ""},
    {8, "2.5", "", std::nullopt, "2.5 is not an Integer", 0},
    {8, "2.5", "x", std::nullopt, "2.5 is not an Integer", 0},
    {8, "0", "", std::nullopt, kDegrees, 0},
    {8, "0", "x", std::nullopt, "x is not a Real number", 1},
    {8, "4294967296", "", std::nullopt, "4294967296 is not an Integer", 0},
    {8, "", "1", std::nullopt, ""},
    // Poisson: a mean of 0 or more.
    {9, "0", "", Values{"0", "olda"}, ""},
    {9, "-2", "", std::nullopt, kMean, 0},
    {9, "p", "", std::nullopt, "p is not a Real number", 0},
    // Binomial: integer n of 0 or more, real p within [0, 1].
    {10, "10", "0.3", Values{"10", "0.3"}, ""},
    {10, "0", "0", Values{"0", "0"}, ""},
    {10, "10", "1", Values{"10", "1"}, ""},
    {10, "10", "1.5", std::nullopt, kBinomial, 1},
    {10, "-1", "2", std::nullopt, kBinomial, 0},
    {10, "10.5", "0.3", std::nullopt, "10.5 is not an Integer", 0},
    {10, "10", "p", std::nullopt, "p is not a Real number", 1},
    {11, "0.5", "0.3", Values{"0.5", "0.3"}, ""},
    {11, "3", "1", std::nullopt, kErrorNP, 1},
    {11, "0", "0.5", std::nullopt, kErrorNP, 0},
    {11, "n", "0.5", std::nullopt, "n is not a Real number", 0},
    {12, "9.99", "", Values{"9.99", "olda"}, ""},
    {12, "10", "", std::nullopt, kErrorK, 0},
    {12, "0", "", std::nullopt, kErrorK, 0},
    {14, "1.5", "", Values{"1.5", "olda"}, ""},
    {14, "0", "", std::nullopt, kErrorForm, 0},
    {15, "3", "", Values{"3", "olda"}, ""},
    {15, "0", "", std::nullopt, kDegrees, 0},
    {15, "1.5", "", std::nullopt, "1.5 is not an Integer", 0},
    // LogNormal: its own fixed texts.
    {16, "10", "2", Values{"10", "2"}, ""},
    {16, "m", "2", std::nullopt, "m no es un n\xFAmero real", 0},
    {16, "10", "s", std::nullopt, "s no es un n\xFAmero real", 1},
    {16, "0", "2", std::nullopt, kLogNotPositive, 0},
    {16, "10", "-1", std::nullopt, kLogNotPositive, 1},
    // Pages without a rule here.
    {0, "1", "2", std::nullopt, ""},
    {17, "1", "2", std::nullopt, ""},
    {19, "1", "2", std::nullopt, ""},
    {24, "1", "2", std::nullopt, ""},
};

TEST(ApplyRules, EveryPageChecksInOrderAndStoresAsTyped) {
    for (const auto& c : kPageCases) {
        SCOPED_TRACE("page " + std::to_string(c.Page) + " '" + c.Edit1 + "' '" + c.Edit2 + "'");
        ScriptedDialogs dialogs;
        const ModelParameter before = Unassigned();
        auto [stored, field] =
            ApplyDistributionPage(c.Page, {c.Edit1, c.Edit2}, before, English(), dialogs);
        EXPECT_EQ(dialogs.Log, ErrorShown(c.Error));
        EXPECT_EQ(field, c.Field);
        ASSERT_EQ(stored.has_value(), c.Stored.has_value());
        if (!stored) continue;
        ModelParameter expected = before;
        expected.Distrib = c.Page;
        expected.Init = true;
        expected.Valor = c.Stored->first;
        expected.a = c.Stored->second;
        EXPECT_EQ(*stored, expected);
    }
}

// The pages of the later kinds, and the optional degrees of freedom of the
// Type B pages: stored as typed in Grados, emptied when the field is empty.
TEST(ApplyRules, LaterKindsAndTypeBDegreesOfFreedom) {
    const std::string halfWidth = "Error of parameters.. Half-width must be real > 0";
    const std::string ratio = "Error of parameters.. beta must take values from 0 to 1";
    const std::string inexactness =
        "Error of parameters.. d must be real >= 0 and below the half-width";
    const std::string limits =
        "Error of parameters.. The limits must satisfy lower <= mode <= "
        "upper and lower < upper";
    const std::string degrees = "Degrees of freedom must be real > 0";
    using Stored = std::array<std::string, 4>;  // Valor, a, b, Grados
    struct Case {
        int Page;
        PageFields Fields;
        std::optional<Stored> Expected;
        std::string Error;
        int Field = -1;
    } cases[] = {
        {20, {"0", "0.5", "x", ""}, Stored{"0", "0.5", "oldb", ""}, ""},
        {20, {"0", "0.5", "", "12.5"}, Stored{"0", "0.5", "oldb", "12.5"}, ""},
        {20, {"0", "0", "", ""}, std::nullopt, halfWidth, 1},
        {20, {"0", "", "", "x"}, std::nullopt, ""},
        {21, {"1", "2", "0.4", ""}, Stored{"1", "2", "0.4", ""}, ""},
        {21, {"1", "2", "0", "3"}, Stored{"1", "2", "0", "3"}, ""},
        {21, {"1", "2", "1", ""}, Stored{"1", "2", "1", ""}, ""},
        {21, {"1", "2", "", ""}, std::nullopt, ""},
        {21, {"1", "2", "1.01", ""}, std::nullopt, ratio, 2},
        {21, {"1", "-2", "0.5", ""}, std::nullopt, halfWidth, 1},
        {21, {"1", "2", "b", ""}, std::nullopt, "b is not a Real number", 2},
        {22, {"0", "1", "0.3", ""}, Stored{"0", "1", "0.3", ""}, ""},
        {22, {"0", "1", "0", ""}, Stored{"0", "1", "0", ""}, ""},
        {22, {"0", "1", "1", ""}, std::nullopt, inexactness, 2},
        {22, {"0", "1", "-0.1", ""}, std::nullopt, inexactness, 2},
        {23, {"1", "0", "4", ""}, Stored{"1", "0", "4", ""}, ""},
        {23, {"0", "0", "4", ""}, Stored{"0", "0", "4", ""}, ""},
        {23, {"4", "0", "4", "9"}, Stored{"4", "0", "4", "9"}, ""},
        {23, {"-1", "0", "4", ""}, std::nullopt, limits, 1},
        {23, {"5", "0", "4", ""}, std::nullopt, limits, 2},
        {23, {"2", "2", "2", ""}, std::nullopt, limits, 2},
        {23, {"m", "0", "4", ""}, std::nullopt, "m is not a Real number", 0},
        // The degrees of freedom: real and above 0, checked after the others.
        {1, {"10", "0.1", "", "18"}, Stored{"10", "0.1", "oldb", "18"}, ""},
        {1, {"10", "0.1", "", ""}, Stored{"10", "0.1", "oldb", ""}, ""},
        {2, {"10", "0.1", "", "0"}, std::nullopt, degrees, 3},
        {3, {"10", "0.1", "", "many"}, std::nullopt, "many is not a Real number", 3},
        {3, {"10", "-1", "", "many"}, std::nullopt, kHalfWidth, 1},
        {23, {"1", "0", "4", "-3"}, std::nullopt, degrees, 3},
        // Other pages have no such field and leave Grados alone.
        {4, {"7", "", "", "junk"}, Stored{"7", "olda", "oldb", "9"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("page " + std::to_string(c.Page) + " '" + c.Fields.Edit1 + "' '" +
                     c.Fields.Edit2 + "' '" + c.Fields.Edit3 + "' '" + c.Fields.Degrees + "'");
        ScriptedDialogs dialogs;
        ModelParameter before = Unassigned();
        before.b = "oldb";
        before.Grados = "9";
        auto [stored, field] = ApplyDistributionPage(c.Page, c.Fields, before, English(), dialogs);
        EXPECT_EQ(dialogs.Log, ErrorShown(c.Error));
        EXPECT_EQ(field, c.Field);
        ASSERT_EQ(stored.has_value(), c.Expected.has_value());
        if (!stored) continue;
        EXPECT_EQ(stored->Distrib, c.Page);
        EXPECT_TRUE(stored->Init);
        EXPECT_EQ((Stored{stored->Valor, stored->a, stored->b, stored->Grados}), *c.Expected);
    }
}

TEST(ApplyRules, MessagesFollowTheLoadedCaptionsExceptTheLogNormalTexts) {
    CaptionTable table = CaptionTable::BuiltIn();
    table.Entries[22].Text = "Fehler.";
    table.Entries[23].Text = "Form > 0";
    table.Entries[56].Text = "ist keine ganze Zahl";
    table.Entries[57].Text = "ist keine reelle Zahl";
    const MessageTexts texts = FormMessageTexts(table);
    const std::vector<PageCase> cases = {
        {5, "0", "", std::nullopt, "Fehler.. Form > 0"},
        {1, "a", "1", std::nullopt, "a ist keine reelle Zahl"},
        {10, "1.5", "0.5", std::nullopt, "1.5 ist keine ganze Zahl"},
        {16, "a", "1", std::nullopt, "a no es un n\xFAmero real"},
        {16, "-1", "1", std::nullopt, kLogNotPositive},
    };
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        EXPECT_FALSE(
            ApplyDistributionPage(c.Page, {c.Edit1, c.Edit2}, Unassigned(), texts, dialogs).Stored);
        EXPECT_EQ(dialogs.Log, ErrorShown(c.Error));
    }
}

ModelParameter Record(const char* name, int distrib, const char* valor, const char* a) {
    ModelParameter p;
    p.Nombre = name;
    p.Distrib = distrib;
    p.Valor = valor;
    p.a = a;
    p.Init = distrib != 0;
    return p;
}

// y is the output, a is unassigned, b is Normal.
ParameterList SampleList() {
    return {Record("y", 19, "", ""), Record("a", 0, "", ""), Record("b", 1, "1", "0.1")};
}

TEST(ApplyRules, ApplyOnTheListStoresMovesOnAndRecomputesReadiness) {
    struct Case {
        const char* Name;
        int Index;
        ApplyRequest Request;
        std::size_t Dialogs;
        bool Stored, Ready;
        int NextIndex;
        bool Refused = false;
        int RefusedField = -1;
        bool EmptyList = false;
    };
    const ExperimentalEntry directa{ReadingMode::Directa, "Directa\r\n1\r\n3\r\n", true};
    const std::vector<Case> cases = {
        {"stored", 1, {4, {"3", "x"}, {}}, 0, true, true, 2},
        {"last row wraps", 2, {4, {"3", "x"}, {}}, 0, true, false, 0},
        {"experimental", 1, {17, {"9", "9"}, directa}, 0, true, true, 2},
        {"refused", 1, {1, {"x", "1"}, {}}, 1, false, false, 1, true, 0},
        {"refused second field", 2, {1, {"1", "-1"}, {}}, 1, false, false, 2, true, 1},
        {"empty field", 1, {1, {"", "1"}, {}}, 0, false, false, 2},
        {"experimental refused", 1, {17, {"9", "9"}, {}}, 1, false, false, 1, true},
        {"page 0", 1, {0, {"1", "1"}, {}}, 0, false, false, 2},
        {"computed quantity", 0, {1, {"1", "1"}, {}}, 0, false, false, 1},
        {"no selection", -1, {1, {"1", "1"}, {}}, 0, false, false, 0},
        {"past the end", 3, {1, {"1", "1"}, {}}, 0, false, false, 0},
        {"empty list", 0, {1, {"1", "1"}, {}}, 0, false, true, -1, false, -1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        ParameterList list = c.EmptyList ? ParameterList{} : SampleList();
        ScriptedDialogs dialogs;
        const ApplyOutcome out = ApplyDistribution(list, c.Index, c.Request, English(), dialogs);
        EXPECT_EQ(std::tuple(out.Stored, out.ParametersReady, out.NextIndex, dialogs.Log.size(),
                             out.Refused, out.RefusedField),
                  std::tuple(c.Stored, c.Ready, c.NextIndex, c.Dialogs, c.Refused, c.RefusedField));
        ParameterList expected = c.EmptyList ? ParameterList{} : SampleList();
        if (c.Stored && c.Request.Page == 4) {
            // Constante keeps the old deviation text of a Normal quantity.
            expected[c.Index].Distrib = 4;
            expected[c.Index].Valor = "3";
            expected[c.Index].Init = true;
        }
        if (c.Stored && c.Request.Page == 17) {
            expected[1] = Record("a", 17, "2", "1");
            expected[1].Lecturas = directa.Table;
            expected[1].b = "Student";
            expected[1].Grados = "1";
        }
        EXPECT_EQ(list, expected);
    }
}

}  // namespace
}  // namespace corvanta
