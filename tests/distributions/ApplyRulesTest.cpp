// The distribution pages, the update of the parameter list, readings and Student's t table.
#include <gtest/gtest.h>

#include <array>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "distributions/ApplyRules.h"
#include "distributions/ModelUpdate.h"
#include "distributions/Readings.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"
#include "support/Records.h"
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

using Stored = std::array<std::string, 4>;  // Valor, a, b, Grados
struct PageCase {
    int Page;
    PageFields Fields;
    std::optional<Stored> Expected;       // nullopt when nothing is stored
    std::string Error;                    // the one error dialog expected, "" for none
    int Field = -1;                       // the field refused
    const MessageTexts* Texts = nullptr;  // English when null
};

// Fields checked in order, stored as typed, unused ones kept; texts from captions but log-normal's.
TEST(ApplyRules, EveryPageChecksInOrderAndStoresAsTyped) {
    // clang-format off
    CaptionTable table = CaptionTable::BuiltIn();
    table.Entries[22].Text = "Fehler.", table.Entries[23].Text = "Form > 0";
    table.Entries[56].Text = "ist keine ganze Zahl", table.Entries[57].Text = "ist keine reelle Zahl";
    const MessageTexts german = FormMessageTexts(table);
    const std::string e = "Error of parameters.. ", logNotPositive = "Media y Desv\xEDo deben ser reales > 0";
    const std::string form = e + "Form must be real > 0", mean = e + "Mean must be real >= 0",
        np = e + "n must be real > 0 and p must take values between 0 and 1",
        k = e + "k must be real and take values between 0 and 10",
        deviation = e + "Standard deviation must be real >= 0",
        halfWidth0 = e + "Half-width must be real >= 0", halfWidth = e + "Half-width must be real > 0",
        binomial = e + "n must be integer >= 0 and p must take values between 0 and 1",
        ratio = e + "beta must take values from 0 to 1",
        inexactness = e + "d must be real >= 0 and below the half-width",
        limits = e + "The limits must satisfy lower <= mode <= upper and lower < upper",
        integerDegrees = "Degrees of freedom must be integer > 0",
        degrees = "Degrees of freedom must be real > 0", ab = "a and b must be real numbers";
    const auto notReal = [](const char* t) { return std::string(t) + " is not a Real number"; };
    const auto notInteger = [](const char* t) { return std::string(t) + " is not an Integer"; };
    const auto none = std::nullopt;
    // Valor, a, Grados and b as stored.
    const auto S = [](std::string v, std::string a, std::string g = "9", std::string b = "oldb") {
        return std::optional<Stored>(Stored{v, a, b, g});
    };
    const PageCase cases[] = {
        // Normal: both required, both real, a deviation of 0 or more.
        {1, {"1.5", "0.2"}, S("1.5", "0.2", ""), ""}, {1, {"", "0.2"}, none, ""},
        {1, {"1.5", ""}, none, ""}, {1, {"abc", "xyz"}, none, notReal("abc"), 0},
        {1, {"1", "-2"}, none, deviation, 1}, {1, {"1", "-0"}, S("1", "-0", ""), ""},
        {1, {" 2.50 ", "1E-3"}, S(" 2.50 ", "1E-3", ""), ""},
        // Rectangular: an empty field stays silent even when the other is bad.
        {2, {"bad", ""}, none, ""}, {2, {"x", "1"}, none, notReal("x"), 0},
        {2, {"10", "0.5"}, S("10", "0.5", ""), ""}, {3, {"10", "0"}, S("10", "0", ""), ""},
        {3, {"-10", "-0.001"}, none, halfWidth0, 1},
        // Constante keeps the old second field.
        {4, {"7", ""}, S("7", "olda"), ""}, {4, {"seven", ""}, none, notReal("seven"), 0},
        {5, {"0.5", ""}, S("0.5", "olda"), ""}, {5, {"0", ""}, none, form, 0},
        // Exponencial and Cauchy store nothing but the kind.
        {6, {"", ""}, S("old", "olda"), ""}, {13, {"junk", "junk"}, S("old", "olda"), ""},
        {7, {"2", "5"}, S("2", "5"), ""}, {7, {"0", "5"}, none, ab, 0},
        {7, {"2", "-1"}, none, ab, 1},
        // Student: integer degrees, optional mean that defaults to "0".
        {8, {"5", ""}, S("5", "0"), ""}, {8, {"5", "1.5"}, S("5", "1.5"), ""},
        {8, {"2.5", "x"}, none, notInteger("2.5"), 0}, {8, {"0", ""}, none, integerDegrees, 0},
        {8, {"0", "x"}, none, notReal("x"), 1}, {8, {"", "1"}, none, ""},
        {8, {"4294967296", ""}, none, notInteger("4294967296"), 0},
        {9, {"0", ""}, S("0", "olda"), ""}, {9, {"-2", ""}, none, mean, 0},
        // Binomial: integer n of 0 or more, real p within [0, 1].
        {10, {"10", "0.3"}, S("10", "0.3"), ""}, {10, {"0", "0"}, S("0", "0"), ""},
        {10, {"10", "1"}, S("10", "1"), ""}, {10, {"10", "1.5"}, none, binomial, 1},
        {10, {"-1", "2"}, none, binomial, 0}, {10, {"10.5", "0.3"}, none, notInteger("10.5"), 0},
        {11, {"0.5", "0.3"}, S("0.5", "0.3"), ""}, {11, {"3", "1"}, none, np, 1},
        {11, {"0", "0.5"}, none, np, 0}, {12, {"9.99", ""}, S("9.99", "olda"), ""},
        {12, {"10", ""}, none, k, 0}, {12, {"0", ""}, none, k, 0},
        {14, {"1.5", ""}, S("1.5", "olda"), ""}, {15, {"3", ""}, S("3", "olda"), ""},
        {15, {"0", ""}, none, integerDegrees, 0}, {15, {"1.5", ""}, none, notInteger("1.5"), 0},
        // LogNormal: its own fixed texts.
        {16, {"10", "2"}, S("10", "2"), ""}, {16, {"0.5", "0.25"}, S("0.5", "0.25"), ""},
        {16, {"m", "2"}, none, "m no es un n\xFAmero real", 0},
        {16, {"10", "s"}, none, "s no es un n\xFAmero real", 1},
        {16, {"0", "2"}, none, logNotPositive, 0}, {16, {"10", "-1"}, none, logNotPositive, 1},
        // Pages without a rule here.
        {0, {"1", "2"}, none, ""}, {17, {"1", "2"}, none, ""}, {19, {"1", "2"}, none, ""},
        {24, {"1", "2"}, none, ""},
        {20, {"0", "0.5", "x", ""}, S("0", "0.5", ""), ""},
        {20, {"0", "0.5", "", "12.5"}, S("0", "0.5", "12.5"), ""},
        {20, {"0", "0", "", ""}, none, halfWidth, 1}, {20, {"0", "", "", "x"}, none, ""},
        {21, {"1", "2", "0.4", ""}, S("1", "2", "", "0.4"), ""},
        {21, {"1", "2", "0", "3"}, S("1", "2", "3", "0"), ""},
        {21, {"1", "2", "1", ""}, S("1", "2", "", "1"), ""}, {21, {"1", "2", "", ""}, none, ""},
        {21, {"1", "2", "1.01", ""}, none, ratio, 2},
        {21, {"1", "-2", "0.5", ""}, none, halfWidth, 1},
        {21, {"1", "2", "b", ""}, none, notReal("b"), 2},
        {22, {"0", "1", "0.3", ""}, S("0", "1", "", "0.3"), ""},
        {22, {"0", "1", "0", ""}, S("0", "1", "", "0"), ""},
        {22, {"0", "1", "1", ""}, none, inexactness, 2},
        {22, {"0", "1", "-0.1", ""}, none, inexactness, 2},
        {23, {"1", "0", "4", ""}, S("1", "0", "", "4"), ""},
        {23, {"0", "0", "4", ""}, S("0", "0", "", "4"), ""},
        {23, {"4", "0", "4", "9"}, S("4", "0", "9", "4"), ""},
        {23, {"-1", "0", "4", ""}, none, limits, 1}, {23, {"5", "0", "4", ""}, none, limits, 2},
        {23, {"2", "2", "2", ""}, none, limits, 2},
        // The degrees of freedom: real and above 0, checked after the others.
        {1, {"10", "0.1", "", "18"}, S("10", "0.1", "18"), ""},
        {2, {"10", "0.1", "", "0"}, none, degrees, 3},
        {3, {"10", "0.1", "", "many"}, none, notReal("many"), 3},
        {3, {"10", "-1", "", "many"}, none, halfWidth0, 1},
        {23, {"1", "0", "4", "-3"}, none, degrees, 3},
        // Other pages have no such field and leave Grados alone.
        {4, {"7", "", "", "junk"}, S("7", "olda"), ""},
        // Loaded captions.
        {5, {"0", ""}, none, "Fehler.. Form > 0", 0, &german},
        {1, {"a", "1"}, none, "a ist keine reelle Zahl", 0, &german},
        {10, {"1.5", "0.5"}, none, "1.5 ist keine ganze Zahl", 0, &german},
    };
    // clang-format on
    for (const PageCase& c : cases) {
        SCOPED_TRACE("page " + std::to_string(c.Page) + " '" + c.Fields.Edit1 + "' '" +
                     c.Fields.Edit2 + "' '" + c.Fields.Edit3 + "' '" + c.Fields.Degrees + "'");
        ScriptedDialogs dialogs;
        ModelParameter before;
        before.Nombre = "x", before.Unidad = "mm", before.Valor = "old", before.a = "olda",
        before.b = "oldb", before.Grados = "9";
        auto [stored, field] = ApplyDistributionPage(c.Page, c.Fields, before,
                                                     c.Texts ? *c.Texts : English(), dialogs);
        EXPECT_EQ(dialogs.Log, ErrorShown(c.Error));
        EXPECT_EQ(field, c.Field);
        ASSERT_EQ(stored.has_value(), c.Expected.has_value());
        if (!stored) continue;
        ModelParameter expected = before;
        expected.Distrib = c.Page, expected.Init = true;
        std::tie(expected.Valor, expected.a, expected.b, expected.Grados) =
            std::tuple_cat(*c.Expected);
        EXPECT_EQ(*stored, expected);
    }
}

ModelParameter Record(const char* name, int distrib, const char* valor, const char* a) {
    ModelParameter p;
    p.Nombre = name, p.Distrib = distrib, p.Valor = valor, p.a = a, p.Init = distrib != 0;
    return p;
}

// y is the output, a is unassigned, b is Normal.
ParameterList SampleList() {
    return {Record("y", 19, "", ""), Record("a", 0, "", ""), Record("b", 1, "1", "0.1")};
}

TEST(ApplyRules, ApplyOnTheListStoresMovesOnAndRecomputesReadiness) {
    using Outcome = std::tuple<bool, bool, int, std::size_t, bool, int>;  // Stored, Ready,
    // NextIndex, dialogs shown, Refused, RefusedField
    const ExperimentalEntry directa{ReadingMode::Directa, "Directa\r\n1\r\n3\r\n", true};
    const std::tuple<const char*, int, ApplyRequest, Outcome> cases[] = {
        // clang-format off
        {"stored", 1, {4, {"3", "x"}, {}}, {true, true, 2, 0, false, -1}},
        {"last row wraps", 2, {4, {"3", "x"}, {}}, {true, false, 0, 0, false, -1}},
        {"experimental", 1, {17, {"9", "9"}, directa}, {true, true, 2, 0, false, -1}},
        {"refused", 1, {1, {"x", "1"}, {}}, {false, false, 1, 1, true, 0}},
        {"refused second field", 2, {1, {"1", "-1"}, {}}, {false, false, 2, 1, true, 1}},
        {"empty field", 1, {1, {"", "1"}, {}}, {false, false, 2, 0, false, -1}},
        {"experimental refused", 1, {17, {"9", "9"}, {}}, {false, false, 1, 1, true, -1}},
        {"page 0", 1, {0, {"1", "1"}, {}}, {false, false, 2, 0, false, -1}},
        {"computed quantity", 0, {1, {"1", "1"}, {}}, {false, false, 1, 0, false, -1}},
        {"no selection", -1, {1, {"1", "1"}, {}}, {false, false, 0, 0, false, -1}},
        {"past the end", 3, {1, {"1", "1"}, {}}, {false, false, 0, 0, false, -1}},
        {"empty list", 0, {1, {"1", "1"}, {}}, {false, true, -1, 0, false, -1}},
        // clang-format on
    };
    for (const auto& [name, index, request, outcome] : cases) {
        SCOPED_TRACE(name);
        const bool emptyList = std::string(name) == "empty list";
        ParameterList list = emptyList ? ParameterList{} : SampleList(), expected = list;
        ScriptedDialogs dialogs;
        const ApplyOutcome out = ApplyDistribution(list, index, request, English(), dialogs);
        EXPECT_EQ(std::tuple(out.Stored, out.ParametersReady, out.NextIndex, dialogs.Log.size(),
                             out.Refused, out.RefusedField),
                  outcome);
        if (out.Stored && request.Page == 4) {
            // Constante keeps the old deviation text of a Normal quantity.
            ModelParameter& e = expected[index];
            e.Distrib = 4, e.Valor = "3", e.Init = true;
        }
        if (out.Stored && request.Page == 17) {
            ModelParameter& a = expected[1] = Record("a", 17, "2", "1");
            a.Lecturas = directa.Table, a.b = "Student", a.Grados = "1";
        }
        EXPECT_EQ(list, expected);
    }
}

using Shown = ScriptedDialogs::Shown;

ModelUpdate Update(const std::string& model, const ParameterList& previous,
                   ScriptedDialogs& dialogs) {
    return UpdateParameters(model, previous, English(), dialogs);
}

// Names and role codes of a list, as "y:19+ a:0 k:18+" ("+" marks Init).
std::string Roles(const ParameterList& list) {
    std::string text;
    for (const auto& p : list)
        text += (text.empty() ? "" : " ") + p.Nombre + ":" + std::to_string(p.Distrib) +
                (p.Init ? "+" : "");
    return text;
}

ModelParameter Assigned(const std::string& name) {
    ModelParameter p = testing::Record(DistributionKind::Normal, "1.5", "0.1");
    p.Nombre = name, p.Unidad = "V", p.Desc = "supply \xB1 5 %", p.Sensib = 0.25;
    return p;
}

TEST(UpdateParameters, BuildsFreshRecordsInNameOrder) {
    // clang-format off
    const std::array<const char*, 4> cases[] = {  // model, roles, postfix, text kept (null: model)
        {"y = a*k\r\nk = b/c", "y:19+ a:0 k:18+ b:0 c:0", "a\r\nb\r\nc\r\n/\r\n*\r\n"},
        {"k = b/c\r\ny = a*k", "k:18+ b:0 c:0 y:19+ a:0", "a\r\nb\r\nc\r\n/\r\n*\r\n"},
        {"y = X + x", "y:19+ X:0 x:0", "X\r\nx\r\n+\r\n"},
        {"y = a + a1 + xy + x", "y:19+ a:0 a1:0 xy:0 x:0", "a\r\na1\r\n+\r\nxy\r\n+\r\nx\r\n+\r\n"},
        {"y = a*a + a", "y:19+ a:0", "a\r\na\r\n*\r\na\r\n+\r\n"},
        {"y = 2*pi", "y:19+", "2\r\npi\r\n*\r\n"},
        // Defined but never reaching the output: still computed, not sampled.
        {"y = a\na = b\na = c", "y:19+ a:18+ b:0 c:18+", "b\r\n", "y = a\r\na = b\r\na = c"},
        // Blank lines are removed from the model text.
        {"\r\n  \r\ny = a*k\r\n\r\nk = b/c\r\n", "y:19+ a:0 k:18+ b:0 c:0", "a\r\nb\r\nc\r\n/\r\n*\r\n", "y = a*k\r\nk = b/c"},
        {"y = a*k\rk = b/c\n", "y:19+ a:0 k:18+ b:0 c:0", "a\r\nb\r\nc\r\n/\r\n*\r\n", "y = a*k\r\nk = b/c"}};
    // clang-format on
    for (const auto& [model, roles, postfix, text] : cases) {
        SCOPED_TRACE(model);
        ScriptedDialogs dialogs;
        ModelUpdate update = Update(model, {}, dialogs);
        EXPECT_TRUE(update.Accepted);
        EXPECT_EQ(update.ModelText, text ? text : model);
        EXPECT_EQ(Roles(update.Parameters), roles);
        EXPECT_EQ(update.PostfixExpression, postfix);
        EXPECT_EQ(update.ParametersReady, std::string(roles).find(":0") == std::string::npos);
        EXPECT_TRUE(dialogs.Log.empty());
        for (const auto& p : update.Parameters) {
            ModelParameter fresh;
            fresh.Nombre = p.Nombre, fresh.Distrib = p.Distrib, fresh.Init = p.Init;
            EXPECT_EQ(p, fresh);
        }
    }
}

TEST(UpdateParameters, SurvivingNamesKeepTheirWholeRecordAndTakeTheirNewRoles) {
    ParameterList previous = {testing::Record(DistributionKind::Resultado, ""), Assigned("a"),
                              Assigned("z")};
    previous[0].Nombre = "y", previous[0].Unidad = "m";
    ScriptedDialogs dialogs;
    ModelUpdate update = Update("y = a + w", previous, dialogs);
    ASSERT_TRUE(update.Accepted);
    EXPECT_EQ(Roles(update.Parameters), "y:19+ a:1+ w:0");
    EXPECT_EQ(update.Parameters[0], previous[0]);
    EXPECT_EQ(update.Parameters[1], previous[1]);
    EXPECT_FALSE(update.ParametersReady);  // w still needs a distribution
    update = Update("y = a", update.Parameters, dialogs);
    EXPECT_EQ(Roles(update.Parameters), "y:19+ a:1+");
    EXPECT_TRUE(update.ParametersReady);
    // A list whose first row shows no name is not restored.
    EXPECT_EQ(Roles(Update("y = a", {ModelParameter{}, Assigned("a")}, dialogs).Parameters),
              "y:19+ a:0");
    previous = Update("y = a*k\nk = b/c", {}, dialogs).Parameters;
    previous[1] = Assigned("a");
    previous[2].Unidad = "kg";
    // k turns input (its unit kept), a intermediate, y an input of the new output z.
    update = Update("z = y + k\ny = 2*a\na = c", previous, dialogs);
    ASSERT_TRUE(update.Accepted);
    EXPECT_EQ(Roles(update.Parameters), "z:19+ y:18+ k:0 a:18+ c:0");
    EXPECT_EQ(update.Parameters[2].Unidad, "kg");
    EXPECT_EQ(update.Parameters[3].Valor, "1.5");
    EXPECT_FALSE(update.ParametersReady);
    update = Update("w = y", previous, dialogs);
    EXPECT_EQ(Roles(update.Parameters), "w:19+ y:0");
    EXPECT_FALSE(update.ParametersReady);
    EXPECT_TRUE(dialogs.Log.empty());
}

TEST(UpdateParameters, ARejectionChangesNothing) {
    const Shown undefined{DialogKind::Error, "Error. Undefined output parameter."};
    // clang-format off
    const std::tuple<const char*, const char*, std::vector<Shown>> cases[] = {  // model, text kept
        {"", "", {}}, {"\r\n\r\n", "", {undefined}}, {"x = x + 1", "x = x + 1", {undefined}},
        {"y = a\r\n\r\nz = b", "y = a\r\nz = b", {{DialogKind::Error, "Error. Too many output parameter."}}},
        {"y = a)", "y = a)", {{DialogKind::Message, "List index out of bounds (-1)"}}},
        {"y = 2a", "y = 2a", {}}, {"y = a\nb = a\xB5", "y = a\r\nb = a\xB5", {}},
        {"y = a\na = a*2", "y = a\r\na = a*2", {{DialogKind::Error, "Error. The quantity a is defined in terms of itself."}}}};
    // clang-format on
    const ParameterList previous = {Assigned("y"), Assigned("q")};
    for (const auto& [model, text, log] : cases) {
        SCOPED_TRACE(model);
        ScriptedDialogs dialogs;
        ModelUpdate update = Update(model, previous, dialogs);
        EXPECT_FALSE(update.Accepted);
        EXPECT_EQ(update.ModelText, text);
        EXPECT_EQ(update.Parameters, previous);
        EXPECT_TRUE(update.PostfixExpression.empty());
        EXPECT_EQ(update.ParametersReady, CheckReady(previous));
        EXPECT_EQ(dialogs.Log, log);
    }
}

using Cells = std::vector<std::vector<std::string>>;
using M = ReadingMode;

TEST(Readings, ModesHaveTheirKeywordsAndColumns) {
    using enum ReadingColumn;
    // clang-format off
    const std::tuple<ReadingMode, std::string, std::vector<ReadingColumn>, std::string> cases[] = {
        {M::Directa, "Directa", {Quantity}, ""},
        {M::IndirectaSX, "SX", {Standard, Quantity}, "Value = X - S"},
        {M::IndirectaSXXS, "SXXS", {Standard, Quantity, Quantity, Standard}, "Value = ( ( Xa + Xb ) / 2 ) - ( ( Sa + Sb ) / 2 )"},
        {M::IndirectaXS, "X/S", {Standard, Quantity}, "Value = X / S"},
        {M::IndirectaSXS, "SXS", {Standard, Quantity, Standard}, "Value = valor = X - ( ( Sa + Sb ) / 2 )"},
    };
    // clang-format on
    for (const auto& [mode, keyword, columns, hint] : cases) {
        EXPECT_EQ(ReadingModeKeyword(mode), keyword);
        EXPECT_EQ(ReadingModeFromKeyword(keyword), mode);
        EXPECT_EQ(ReadingColumns(mode), columns);
        EXPECT_EQ(ReadingModeHint(mode, "Value"), hint);
    }
    for (const char* keyword : {"sx", "SX ", ""})
        EXPECT_EQ(ReadingModeFromKeyword(keyword), std::nullopt) << keyword;
}

// Parse then compose keeps every mode byte for byte, and canonicalises line ends and blanks.
TEST(Readings, ParseThenComposeGivesTheCanonicalText) {
    const char* const sx = "SX\r\n10.0\r10.2\r\n10.0\r&\r\n";
    // clang-format off
    const std::pair<std::string, const char*> cases[] = {
        {"Directa\r\n10.1\r\n10.3\r\n10.2\r\n", nullptr}, {"Directa\r\n&\r\n-1E-5\r\n", nullptr},
        {"SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n", nullptr}, {"SX\r\n&\r10.2\r\n10.0\r&\r\n", nullptr},
        {"SXXS\r\n1\r5\r7\r3\r\n1.5\r5.5\r&\r3.5\r\n", nullptr},
        {"X/S\r\n2\r4\r\n2\r4\r\n2\r4\r\n", nullptr},
        {"SXS\r\n1.0\r5.0\r3.0\r\n&\r&\r&\r\n", nullptr}, {"", nullptr}, {"Directa\r\n", nullptr},
        {"SX\n10.0\r10.2\n10.0\r&\n", sx}, {"SX\r\n10.0\r10.2\r\n10.0\r&", sx},
        {"SX\r\n10.0\r10.2\r\n10.0\r&\r\n\r\n\r\n", sx}, {"SX\r\n10.0 10.2\r\n 10.0  &\r\n", sx},
        {"SX\r\n10.0\r10.2 \r\n10.0\r\r\n", sx}, {"Directa\r\n1 2\r\n", "Directa\r\n1\r2\r\n"},
    };
    // clang-format on
    for (const auto& [text, canonical] : cases)
        EXPECT_EQ(ComposeReadings(ParseReadings(text)), canonical ? canonical : text) << text;
    EXPECT_EQ(ParseReadings(sx), (ReadingsTable{"SX", {{"10.0", "10.2"}, {"10.0", ""}}}));
    EXPECT_EQ(ComposeReadings(M::IndirectaSXS, {{"1", "", "3"}}), "SXS\r\n1\r&\r3\r\n");
    EXPECT_EQ(ComposeReadings(M::Directa, {}), "Directa\r\n");
}

TEST(Readings, DialogPrefillsOnlyATableOfTheSelectedModeWithTwoRowsOrMore) {
    const std::string sx = "SX\r\n1\r2\r\n3\r&\r\n5\r6\r\n";
    // clang-format off
    const std::tuple<const char*, std::string, ReadingMode, int, Cells> cases[] = {
        {"same mode", sx, M::IndirectaSX, 3, {{"1", "2"}, {"3", ""}, {"5", "6"}}},
        {"more rows", sx, M::IndirectaSX, 4, {{"1", "2"}, {"3", ""}, {"5", "6"}, {"", ""}}},
        {"fewer rows", sx, M::IndirectaSX, 1, {{"1", "2"}}},
        {"other mode", sx, M::IndirectaXS, 2, {{"", ""}, {"", ""}}},
        {"directa reads sx", sx, M::Directa, 1, {{""}}},
        {"one row", "SX\r\n1\r2\r\n", M::IndirectaSX, 1, {{"", ""}}},
        {"short row", "SXS\r\n1\r2\r\n4\r5\r6\r\n", M::IndirectaSXS, 2,
         {{"1", "2", ""}, {"4", "5", "6"}}},
        {"empty", "", M::Directa, 2, {{""}, {""}}}, {"no rows", "", M::Directa, 0, {}},
    };
    // clang-format on
    for (const auto& [name, text, mode, rows, expected] : cases)
        EXPECT_EQ(PrefillReadings(text, mode, rows), expected) << name;
}

TEST(Readings, ExperimentalApplyStoresWhatTheSamplerReads) {
    // Valor is exact, a to 1e-13 relative.
    using Case = std::tuple<const char*, ReadingMode, std::string, bool, std::string, double,
                            std::string>;  // name, mode, table, Student, Valor, a, Grados
    const double u = 0.1 / std::sqrt(3.0);
    // The 95 % critical value for two degrees of freedom, in single precision.
    const double t2 = 4.302652835845947;
    // clang-format off
    const Case cases[] = {
        {"directa normal", M::Directa, "Directa\r\n10.1\r\n10.3\r\n10.2\r\n", false, "10.2", t2 * u / 1.96, "2"},
        {"directa student", M::Directa, "Directa\r\n10.1\r\n10.3\r\n10.2\r\n", true, "10.2", u, "2"},
        {"two readings", M::Directa, "Directa\r\n1\r\n2\r\n", true, "1.5", 0.5, "1"},
        {"x/s", M::IndirectaXS, "X/S\r\n2\r4\r\n2\r4\r\n2\r4\r\n", true, "2", 0, "2"},
        {"sxs", M::IndirectaSXS, "SXS\r\n1.0\r5.0\r3.0\r\n1\r7\r3\r\n", true, "4", 1, "1"},
        {"sxxs", M::IndirectaSXXS, "SXXS\r\n1\r5\r7\r3\r\n0\r0\r0\r0\r\n", true, "2", 2, "1"},
        {"sx", M::IndirectaSX, "SX\r\n10\r10.5\r\n10\r11.5\r\n", true, "1", 0.5, "1"},
    };
    // clang-format on
    ModelParameter before;
    before.Nombre = "L", before.Desc = "length", before.Distrib = 1, before.Valor = "9";
    before.a = "1", before.Sensib = 0.5;
    for (const auto& [name, mode, table, student, valor, a, grados] : cases) {
        SCOPED_TRACE(name);
        ScriptedDialogs dialogs;
        auto stored = ApplyExperimental({mode, table, student}, before, English(), dialogs);
        EXPECT_TRUE(dialogs.Log.empty());
        ASSERT_TRUE(stored);
        long double parsed = 0;
        ASSERT_TRUE(TryParseFloat(stored->a, parsed)) << stored->a;
        EXPECT_NEAR(static_cast<double>(parsed), a, 1e-13 * std::fabs(a));
        ModelParameter expected = before;  // everything else is kept
        expected.Distrib = 17, expected.Init = true, expected.Valor = valor, expected.a = stored->a;
        expected.b = student ? "Student" : "Normal", expected.Grados = grados,
        expected.Lecturas = table;
        EXPECT_EQ(*stored, expected);
    }
}

TEST(Readings, ExperimentalApplyRefusesWhatCannotBeDrawn) {
    const DialogKind info = DialogKind::Information, error = DialogKind::Error;
    // clang-format off
    const std::string emptyCell = "The readings table is incomplete: row ", entered = "The readings were entered in the mode ",
        incomplete = " has an empty cell. The distribution has not been assigned; complete the table and apply it again.",
        again = " Enter the readings again.", select = " Select that mode, or enter the readings again.";
    const std::tuple<ReadingMode, std::string, DialogKind, std::string> cases[] = {
        {M::Directa, "", info, English().ValuesNotEntered},
        {M::Directa, "Directa\r\n", info, English().ValuesNotEntered},
        {M::Directa, "SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n", error, entered + "Indirect SX, not in the mode selected (Direct)." + select},
        {M::IndirectaXS, "SX\r\n1\r2\r\n1\r3\r\n", error, entered + "Indirect SX, not in the mode selected (Indirect X/S)." + select},
        {M::Directa, "Direct\r\n1\r\n2\r\n", error, "The readings table is not valid: its first line names no mode of entry." + again},
        {M::IndirectaSX, "SX\r\n1\r2\r\n&\r3\r\n", info, emptyCell + "2" + incomplete},
        {M::Directa, "Directa\r\n&\r\n2\r\n", info, emptyCell + "1" + incomplete},
        {M::IndirectaSX, "SX\r\n1\r2\r\n1\r2\r3\r\n", error, "Row 2 of the readings table holds 3 values where the mode Indirect SX needs 2." + again},
        {M::Directa, "Directa\r\n1 2\r\n3\r\n", error, "Row 1 of the readings table holds 2 values where the mode Direct needs 1." + again},
        {M::IndirectaSXS, "SXS\r\n1\r2\r3\r\n1\rabc\r3\r\n", error, "abc is not a Real number"},
        {M::Directa, "Directa\r\n10.1\r\n", error, "A single reading gives no estimate of the " "spread: enter at least two readings. The distribution has not been assigned."},
        {M::IndirectaXS, "X/S\r\n2\r4\r\n0\r4\r\n", error, "Floating point division by zero"},
        {M::Directa, "Directa\r\n1E400\r\n1\r\n", error, "Floating point overflow"},
        {M::Directa, "Directa\r\n-1.7E308\r\n1.7E308\r\n", error, "Floating point overflow"},
    };
    // clang-format on
    for (const bool student : {false, true}) {
        for (const auto& [mode, table, kind, text] : cases) {
            ScriptedDialogs dialogs;
            EXPECT_FALSE(ApplyExperimental({mode, table, student}, {}, English(), dialogs))
                << table;
            EXPECT_EQ(dialogs.Log, (std::vector<ScriptedDialogs::Shown>{{kind, text}})) << table;
        }
    }
}

TEST(Readings, CorrelationOfPairedDirectReadings) {
    auto experimental = [](const char* table) {
        ModelParameter p;
        p.Distrib = 17, p.Lecturas = table, p.Init = true;
        return p;
    };
    const ModelParameter q = experimental("Directa\r\n1\r\n2\r\n3\r\n4\r\n");
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"Directa\r\n2\r\n4\r\n6\r\n8\r\n", 1.0},
        {"Directa\r\n8\r\n6\r\n4\r\n2\r\n", -1.0},
        // Sums of products about the means: 1 for the pair, 5 and 2 for each.
        {"Directa\r\n1\r\n0\r\n2\r\n1\r\n", 1 / std::sqrt(10.0)},
        {"Directa\r\n5\r\n5\r\n5\r\n5\r\n", std::nullopt},         // no spread
        {"Directa\r\n1\r\n2\r\n3\r\n", std::nullopt},              // three readings to four
        {"SX\r\n1\r0\r\n2\r0\r\n3\r0\r\n4\r0\r\n", std::nullopt},  // not read directly
        {"Directa\r\n1\r\nx\r\n3\r\n4\r\n", std::nullopt},
    };
    for (const auto& [other, expected] : cases) {
        const std::optional<double> r = ReadingsCorrelation(q, experimental(other));
        ASSERT_EQ(r.has_value(), expected.has_value()) << other;
        EXPECT_NEAR(r.value_or(0), expected.value_or(0), 1e-15) << other;
    }
    ModelParameter normal = q;
    normal.Distrib = static_cast<std::int32_t>(DistributionKind::Normal);
    EXPECT_EQ(ReadingsCorrelation(q, normal), std::nullopt);
    EXPECT_EQ(
        ReadingsCorrelation(experimental("Directa\r\n1\r\n"), experimental("Directa\r\n2\r\n")),
        std::nullopt);
}

// The separator is the first present of tab, semicolon and blank; trailing blank lines are no rows.
TEST(Readings, PastedTextSplitsAsASpreadsheetCopiesItAndFillsFromTheCell) {
    const std::vector<std::pair<std::string, Cells>> cases = {
        {"", {}},
        {"1\t2\r\n3\t4\r\n", {{"1", "2"}, {"3", "4"}}},
        {"1\t\t3\n 4 \t5", {{"1", "", "3"}, {"4", "5"}}},
        {"1;2 3;\r4", {{"1", "2 3", ""}, {"4"}}},
        {"  1   2 \n\n3\r\n \r\n\n", {{"1", "2"}, {}, {"3"}}},
        {"1,5 2,5", {{"1,5", "2,5"}}},
    };
    for (const auto& [text, cells] : cases)
        EXPECT_EQ(SplitPastedCells(text), cells) << text;
    // A paste lands from the chosen cell, adds rows as needed or is refused whole.
    const std::string refused = "Nothing was pasted: ",
                      fits = refused +
                             "the readings have more columns than the table from this "
                             "cell, or more than 999 rows";
    using Line = std::vector<std::string>;
    // Row, column, text, the rows of the table afterwards (0 when refused), its first and last.
    const std::tuple<int, int, const char*, std::size_t, Line, Line, std::string> pastes[] = {
        {0, 0, "1\t2\n3\t4", 2, {"1", "2"}, {"3", "4"}, ""},
        {1, 1, "5", 2, {"", ""}, {"", "5"}, ""},
        {2, 0, "6", 3, {"", ""}, {"6", ""}, ""},
        {998, 0, "7\t8", 999, {"", ""}, {"7", "8"}, ""},
        {999, 0, "7", 0, {}, {}, fits},
        {997, 0, "7\n8\n9", 0, {}, {}, fits},
        {0, 1, "1\t2", 0, {}, {}, fits},
        {-1, 0, "1", 0, {}, {}, fits},
        {0, 0, "x\t2", 0, {}, {}, refused + "row 1, column 1: x is not a Real number"},
        {1, 0, "1\t2\n3\tabc", 0, {}, {}, refused + "row 3, column 2: abc is not a Real number"},
    };
    for (const auto& [row, column, text, rows, first, last, error] : pastes) {
        ScriptedDialogs dialogs;
        const auto pasted =
            PasteReadings({{"", ""}, {"", "9"}}, 2, row, column, text, English(), dialogs);
        EXPECT_EQ(dialogs.Log, ErrorShown(error)) << text;
        ASSERT_EQ(pasted ? pasted->size() : 0, rows) << text;
        if (!pasted) continue;
        EXPECT_EQ(std::pair(pasted->front(), pasted->back()), std::pair(first, last)) << text;
    }
}

const double kPercent[6] = {68.27, 90, 95, 95.45, 99, 99.73};
const double kOutside[6] = {0.3173, 0.1, 0.05, 0.0455, 0.01, 0.0027};

// Every row is the quantile in single precision; a coverage may be given as the probability
// outside.
TEST(StudentCritical, RowsAreTheQuantileInterpolatedBetweenAndRefuseTheRest) {
    // nu = 1 ... 50, 100, 1000, 10000
    for (int nu = 1; nu <= 10000; nu = nu < 50 ? nu + 1 : nu * 10 / (nu == 50 ? 5 : 1)) {
        const boost::math::students_t_distribution<long double> t(nu);
        for (int c = 0; c < 6; ++c) {
            const long double upper = (1.0L + static_cast<long double>(kPercent[c]) / 100) / 2;
            EXPECT_EQ(StudentCritical(kPercent[c], nu),
                      static_cast<float>(boost::math::quantile(t, upper)))
                << "nu " << nu << " coverage " << kPercent[c];
            EXPECT_EQ(StudentCritical(kOutside[c], nu), StudentCritical(kPercent[c], nu));
        }
    }
    // Linear between rows, held beyond the last.
    const auto at = [](int nu) { return StudentCritical(95, nu); };
    // The quoted example: 2.00856 + 25 (1.98397 - 2.00856) / 50.
    EXPECT_NEAR(static_cast<double>(at(75)), 1.99626535, 1e-8);
    const int cases[][3] = {{51, 50, 100}, {99, 50, 100}, {200, 100, 1000}, {9999, 1000, 10000}};
    for (const auto& [nu, low, high] : cases) {
        const long double expected = at(low) + (nu - low) * (at(high) - at(low)) / (high - low);
        EXPECT_NEAR(static_cast<double>(at(nu)), static_cast<double>(expected), 1e-15) << nu;
    }
    EXPECT_EQ(at(10000), at(2147483647));
    // Coverages are told apart to 1e-5 percent; an unknown one and fewer than one degree fail.
    EXPECT_EQ(StudentCritical(95.000009, 10), StudentCritical(95, 10));
    EXPECT_EQ(StudentCritical(0.050009, 10), StudentCritical(95, 10));
    for (double p : {95.0001, 0.0501, 0.95, 50.0, 0.0, -95.0, 100.0})
        EXPECT_THROW(StudentCritical(p, 10), CalcError) << p;
    for (int nu : {0, -1, -2147483647 - 1})
        EXPECT_THROW(StudentCritical(95, nu), CalcError) << nu;
}

}  // namespace
}  // namespace corvanta
