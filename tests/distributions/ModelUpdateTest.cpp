#include "distributions/ModelUpdate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "captions/Captions.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

using testing::ScriptedDialogs;
using Shown = ScriptedDialogs::Shown;

ModelUpdate Update(const std::string& model, const ParameterList& previous,
                   ScriptedDialogs& dialogs) {
    static const MessageTexts messages = FormMessageTexts(CaptionTable::BuiltIn());
    return UpdateParameters(model, previous, messages, dialogs);
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
    ModelParameter p;
    p.Nombre = name;
    p.Unidad = "V";
    p.Desc = "supply \xB1 5 %";
    p.Distrib = static_cast<std::int32_t>(DistributionKind::Normal);
    p.Valor = "1.5";
    p.a = "0.1";
    p.Init = true;
    p.Sensib = 0.25;
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
        ScriptedDialogs dialogs;
        ModelUpdate update = Update(c.Model, {}, dialogs);
        EXPECT_TRUE(update.Accepted) << c.Model;
        EXPECT_EQ(Roles(update.Parameters), c.Roles) << c.Model;
        EXPECT_EQ(update.PostfixExpression, c.Postfix) << c.Model;
        EXPECT_EQ(update.ParametersReady, std::string(c.Roles).find(":0") == std::string::npos)
            << c.Model;
        EXPECT_TRUE(dialogs.Log.empty()) << c.Model;
        for (const auto& p : update.Parameters) {
            EXPECT_TRUE(p.Unidad.empty() && p.Desc.empty() && p.Valor.empty() && p.a.empty() &&
                        p.b.empty() && p.Grados.empty() && p.Lecturas.empty() && p.Sensib == 0)
                << c.Model << " " << p.Nombre;
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
    ParameterList previous = {ModelParameter{}, Assigned("a"), Assigned("z")};
    previous[0].Nombre = "y";
    previous[0].Distrib = 19;
    previous[0].Init = true;
    previous[0].Unidad = "m";
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
        ScriptedDialogs dialogs;
        ModelUpdate update = Update(c.Model, previous, dialogs);
        EXPECT_FALSE(update.Accepted) << c.Model;
        EXPECT_EQ(update.ModelText, c.Text) << c.Model;
        EXPECT_EQ(update.Parameters, previous) << c.Model;
        EXPECT_TRUE(update.PostfixExpression.empty()) << c.Model;
        EXPECT_EQ(update.ParametersReady, CheckReady(previous)) << c.Model;
        EXPECT_EQ(dialogs.Log, c.Log) << c.Model;
    }
}

}  // namespace
}  // namespace corvanta
