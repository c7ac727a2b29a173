#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "distributions/ApplyRules.h"
#include "distributions/ModelUpdate.h"
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

ModelParameter Unassigned() {
    ModelParameter p;
    p.Nombre = "x", p.Unidad = "mm", p.Valor = "old", p.a = "olda", p.b = "oldb", p.Grados = "9";
    return p;
}

using Stored = std::array<std::string, 4>;  // Valor, a, b, Grados
struct PageCase {
    int Page;
    PageFields Fields;
    std::optional<Stored> Expected;  // nullopt when nothing is stored
    std::string Error;               // the one error dialog expected, "" for none
    int Field = -1;                  // the field refused
};

const std::string kLogNotPositive = "Media y Desv\xEDo deben ser reales > 0";

// Every page checks its fields in order and stores them as typed; fields it does not use keep
// their text, and the pages with optional degrees of freedom store Grados as typed.
TEST(ApplyRules, EveryPageChecksInOrderAndStoresAsTyped) {
    const std::string e = "Error of parameters.. ", form = e + "Form must be real > 0",
                      np = e + "n must be real > 0 and p must take values between 0 and 1",
                      k = e + "k must be real and take values between 0 and 10",
                      deviation = e + "Standard deviation must be real >= 0",
                      halfWidth0 = e + "Half-width must be real >= 0",
                      mean = e + "Mean must be real >= 0",
                      binomial =
                          e + "n must be integer >= 0 and p must take values between 0 and 1",
                      halfWidth = e + "Half-width must be real > 0",
                      ratio = e + "beta must take values from 0 to 1",
                      inexactness = e + "d must be real >= 0 and below the half-width",
                      limits =
                          e + "The limits must satisfy lower <= mode <= upper and lower < upper",
                      integerDegrees = "Degrees of freedom must be integer > 0",
                      degrees = "Degrees of freedom must be real > 0",
                      ab = "a and b must be real numbers";
    const auto notReal = [](const char* t) { return std::string(t) + " is not a Real number"; };
    const auto notInteger = [](const char* t) { return std::string(t) + " is not an Integer"; };
    const auto none = std::nullopt;
    // Valor, a, Grados and b as stored.
    const auto S = [](std::string v, std::string a, std::string g = "9", std::string b = "oldb") {
        return std::optional<Stored>(Stored{v, a, b, g});
    };
    // clang-format off
    const PageCase cases[] = {
        // Normal: both required, both real, a deviation of 0 or more.
        {1, {"1.5", "0.2"}, S("1.5", "0.2", ""), ""}, {1, {"", "0.2"}, none, ""},
        {1, {"1.5", ""}, none, ""}, {1, {"abc", "xyz"}, none, notReal("abc"), 0},
        {1, {"1,5", "0.1"}, none, notReal("1,5"), 0}, {1, {"1", "-2"}, none, deviation, 1},
        {1, {"1", "-1e-300"}, none, deviation, 1}, {1, {"1", "-0"}, S("1", "-0", ""), ""},
        {1, {" 2.50 ", "1E-3"}, S(" 2.50 ", "1E-3", ""), ""},
        // Rectangular: an empty field stays silent even when the other is bad.
        {2, {"bad", ""}, none, ""}, {2, {"x", "1"}, none, notReal("x"), 0},
        {2, {"10", "0.5"}, S("10", "0.5", ""), ""}, {3, {"10", "0"}, S("10", "0", ""), ""},
        {3, {"-10", "-0.001"}, none, halfWidth0, 1},
        // Constante keeps the old second field.
        {4, {"7", ""}, S("7", "olda"), ""}, {4, {"seven", ""}, none, notReal("seven"), 0},
        {5, {"0.5", ""}, S("0.5", "olda"), ""}, {5, {"0", ""}, none, form, 0},
        {5, {"g", ""}, none, notReal("g"), 0},
        // Exponencial and Cauchy store nothing but the kind.
        {6, {"", ""}, S("old", "olda"), ""}, {13, {"junk", "junk"}, S("old", "olda"), ""},
        {7, {"2", "5"}, S("2", "5"), ""}, {7, {"0", "5"}, none, ab, 0},
        {7, {"2", "-1"}, none, ab, 1}, {7, {"q", "5"}, none, notReal("q"), 0},
        // Student: integer degrees, optional mean that defaults to "0".
        {8, {"5", ""}, S("5", "0"), ""}, {8, {"5", "1.5"}, S("5", "1.5"), ""},
        {8, {"2.5", ""}, none, notInteger("2.5"), 0}, {8, {"2.5", "x"}, none, notInteger("2.5"), 0},
        {8, {"0", ""}, none, integerDegrees, 0}, {8, {"0", "x"}, none, notReal("x"), 1},
        {8, {"4294967296", ""}, none, notInteger("4294967296"), 0}, {8, {"", "1"}, none, ""},
        {9, {"0", ""}, S("0", "olda"), ""}, {9, {"-2", ""}, none, mean, 0},
        {9, {"p", ""}, none, notReal("p"), 0},
        // Binomial: integer n of 0 or more, real p within [0, 1].
        {10, {"10", "0.3"}, S("10", "0.3"), ""}, {10, {"0", "0"}, S("0", "0"), ""},
        {10, {"10", "1"}, S("10", "1"), ""}, {10, {"10", "1.5"}, none, binomial, 1},
        {10, {"-1", "2"}, none, binomial, 0}, {10, {"10.5", "0.3"}, none, notInteger("10.5"), 0},
        {10, {"10", "p"}, none, notReal("p"), 1}, {11, {"0.5", "0.3"}, S("0.5", "0.3"), ""},
        {11, {"3", "1"}, none, np, 1}, {11, {"0", "0.5"}, none, np, 0},
        {11, {"n", "0.5"}, none, notReal("n"), 0}, {12, {"9.99", ""}, S("9.99", "olda"), ""},
        {12, {"10", ""}, none, k, 0}, {12, {"0", ""}, none, k, 0},
        {14, {"1.5", ""}, S("1.5", "olda"), ""}, {14, {"0", ""}, none, form, 0},
        {15, {"3", ""}, S("3", "olda"), ""}, {15, {"0", ""}, none, integerDegrees, 0},
        {15, {"1.5", ""}, none, notInteger("1.5"), 0},
        // LogNormal: its own fixed texts.
        {16, {"10", "2"}, S("10", "2"), ""}, {16, {"0.5", "0.25"}, S("0.5", "0.25"), ""}, {16, {"m", "2"}, none, "m no es un n\xFAmero real", 0},
        {16, {"10", "s"}, none, "s no es un n\xFAmero real", 1},
        {16, {"0", "2"}, none, kLogNotPositive, 0}, {16, {"10", "-1"}, none, kLogNotPositive, 1},
        // Pages without a rule here.
        {0, {"1", "2"}, none, ""}, {17, {"1", "2"}, none, ""}, {19, {"1", "2"}, none, ""},
        {24, {"1", "2"}, none, ""},
        // The later kinds.
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
        {23, {"m", "0", "4", ""}, none, notReal("m"), 0},
        // The degrees of freedom: real and above 0, checked after the others.
        {1, {"10", "0.1", "", "18"}, S("10", "0.1", "18"), ""},
        {2, {"10", "0.1", "", "0"}, none, degrees, 3},
        {3, {"10", "0.1", "", "many"}, none, notReal("many"), 3},
        {3, {"10", "-1", "", "many"}, none, halfWidth0, 1},
        {23, {"1", "0", "4", "-3"}, none, degrees, 3},
        // Other pages have no such field and leave Grados alone.
        {4, {"7", "", "", "junk"}, S("7", "olda"), ""},
    };
    // clang-format on
    for (const PageCase& c : cases) {
        SCOPED_TRACE("page " + std::to_string(c.Page) + " '" + c.Fields.Edit1 + "' '" +
                     c.Fields.Edit2 + "' '" + c.Fields.Edit3 + "' '" + c.Fields.Degrees + "'");
        ScriptedDialogs dialogs;
        const ModelParameter before = Unassigned();
        auto [stored, field] = ApplyDistributionPage(c.Page, c.Fields, before, English(), dialogs);
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

TEST(ApplyRules, MessagesFollowTheLoadedCaptionsExceptTheLogNormalTexts) {
    CaptionTable table = CaptionTable::BuiltIn();
    table.Entries[22].Text = "Fehler.";
    table.Entries[23].Text = "Form > 0";
    table.Entries[56].Text = "ist keine ganze Zahl";
    table.Entries[57].Text = "ist keine reelle Zahl";
    const MessageTexts texts = FormMessageTexts(table);
    const PageCase cases[] = {
        {5, {"0", ""}, std::nullopt, "Fehler.. Form > 0"},
        {1, {"a", "1"}, std::nullopt, "a ist keine reelle Zahl"},
        {10, {"1.5", "0.5"}, std::nullopt, "1.5 ist keine ganze Zahl"},
        {16, {"a", "1"}, std::nullopt, "a no es un n\xFAmero real"},
        {16, {"-1", "1"}, std::nullopt, kLogNotPositive},
    };
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        EXPECT_FALSE(ApplyDistributionPage(c.Page, c.Fields, Unassigned(), texts, dialogs).Stored);
        EXPECT_EQ(dialogs.Log, ErrorShown(c.Error));
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
            ModelParameter& e = expected[c.Index];
            e.Distrib = 4, e.Valor = "3", e.Init = true;
        }
        if (c.Stored && c.Request.Page == 17) {
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
    const struct {
        const char *Model, *Roles, *Postfix;
    } cases[] = {
        {"y = a + b", "y:19+ a:0 b:0", "a\r\nb\r\n+\r\n"},
        {"y = a*k\r\nk = b/c", "y:19+ a:0 k:18+ b:0 c:0", "a\r\nb\r\nc\r\n/\r\n*\r\n"},
        {"k = b/c\r\ny = a*k", "k:18+ b:0 c:0 y:19+ a:0", "a\r\nb\r\nc\r\n/\r\n*\r\n"},
        {"y = X + x", "y:19+ X:0 x:0", "X\r\nx\r\n+\r\n"},
        {"y = a + a1 + xy + x", "y:19+ a:0 a1:0 xy:0 x:0", "a\r\na1\r\n+\r\nxy\r\n+\r\nx\r\n+\r\n"},
        {"y = a*a + a", "y:19+ a:0", "a\r\na\r\n*\r\na\r\n+\r\n"},
        {"y = 2*pi", "y:19+", "2\r\npi\r\n*\r\n"},
        // Defined but never reaching the output: still computed, not sampled.
        {"y = a\na = b\na = c", "y:19+ a:18+ b:0 c:18+", "b\r\n"}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Model);
        ScriptedDialogs dialogs;
        ModelUpdate update = Update(c.Model, {}, dialogs);
        EXPECT_TRUE(update.Accepted);
        EXPECT_EQ(Roles(update.Parameters), c.Roles);
        EXPECT_EQ(update.PostfixExpression, c.Postfix);
        EXPECT_EQ(update.ParametersReady, std::string(c.Roles).find(":0") == std::string::npos);
        EXPECT_TRUE(dialogs.Log.empty());
        for (const auto& p : update.Parameters) {
            ModelParameter fresh;
            fresh.Nombre = p.Nombre, fresh.Distrib = p.Distrib, fresh.Init = p.Init;
            EXPECT_EQ(p, fresh);
        }
    }
    // Blank lines are removed from the model text.
    for (const char* model :
         {"\r\n  \r\ny = a*k\r\n\r\nk = b/c\r\n", "y = a*k\rk = b/c\n", "y = a*k\n\t\nk = b/c"}) {
        ScriptedDialogs dialogs;
        const ModelUpdate update = Update(model, {}, dialogs);
        EXPECT_EQ(update.ModelText, "y = a*k\r\nk = b/c") << model;
        EXPECT_EQ(Roles(update.Parameters), "y:19+ a:0 k:18+ b:0 c:0") << model;
    }
}

TEST(UpdateParameters, SurvivingNamesKeepTheirWholeRecord) {
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
    EXPECT_TRUE(dialogs.Log.empty());
}

TEST(UpdateParameters, RolesFollowTheNewModel) {
    ScriptedDialogs dialogs;
    ParameterList previous = Update("y = a*k\nk = b/c", {}, dialogs).Parameters;
    previous[1] = Assigned("a");
    previous[2].Unidad = "kg";
    // k turns from intermediate into an input: assigned again, but its unit stays. a becomes
    // intermediate; y becomes an input of the new output z.
    ModelUpdate update = Update("z = y + k\ny = 2*a\na = c", previous, dialogs);
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
    const struct {
        const char *Model, *Text;  // the model text after the update
        std::vector<Shown> Log;
    } cases[] = {
        {"", "", {}}, {"\r\n\r\n", "", {undefined}}, {"x = x + 1", "x = x + 1", {undefined}},
        {"y = a\r\n\r\nz = b", "y = a\r\nz = b", {{DialogKind::Error,
            "Error. Too many output parameter."}}},
        {"y = a)", "y = a)", {{DialogKind::Message, "List index out of bounds (-1)"}}},
        {"y = 2a", "y = 2a", {}}, {"y = a\nb = a\xB5", "y = a\r\nb = a\xB5", {}},
        {"y = a\na = a*2", "y = a\r\na = a*2", {{DialogKind::Error,
            "Error. The quantity a is defined in terms of itself."}}}};
    // clang-format on
    const ParameterList previous = {Assigned("y"), Assigned("q")};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Model);
        ScriptedDialogs dialogs;
        ModelUpdate update = Update(c.Model, previous, dialogs);
        EXPECT_FALSE(update.Accepted);
        EXPECT_EQ(update.ModelText, c.Text);
        EXPECT_EQ(update.Parameters, previous);
        EXPECT_TRUE(update.PostfixExpression.empty());
        EXPECT_EQ(update.ParametersReady, CheckReady(previous));
        EXPECT_EQ(dialogs.Log, c.Log);
    }
}

}  // namespace
}  // namespace corvanta
