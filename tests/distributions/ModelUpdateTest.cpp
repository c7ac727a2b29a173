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

const MessageTexts& Messages() {
    static const MessageTexts messages = FormMessageTexts(CaptionTable::BuiltIn());
    return messages;
}

// Names and role codes of a list, as "y:19 a:0 k:18".
std::string Roles(const ParameterList& list) {
    std::string text;
    for (const auto& p : list) {
        if (!text.empty()) text += ' ';
        text += p.Nombre + ":" + std::to_string(p.Distrib) + (p.Init ? "+" : "");
    }
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

struct RoleCase {
    const char* Model;
    const char* Roles;  // "+" marks Init
    const char* Postfix;
};

TEST(UpdateParameters, BuildsFreshRecordsInNameOrder) {
    const RoleCase cases[] = {
        {"y = a + b", "y:19+ a:0 b:0", "a\r\nb\r\n+\r\n"},
        {"y = a*k\r\nk = b/c", "y:19+ a:0 k:18+ b:0 c:0", "a\r\nb\r\nc\r\n/\r\n*\r\n"},
        {"k = b/c\r\ny = a*k", "k:18+ b:0 c:0 y:19+ a:0", "a\r\nb\r\nc\r\n/\r\n*\r\n"},
        {"y = X + x", "y:19+ X:0 x:0", "X\r\nx\r\n+\r\n"},
        {"y = a + a1 + xy + x", "y:19+ a:0 a1:0 xy:0 x:0", "a\r\na1\r\n+\r\nxy\r\n+\r\nx\r\n+\r\n"},
        {"y = a*a + a", "y:19+ a:0", "a\r\na\r\n*\r\na\r\n+\r\n"},
        {"y = 2*pi", "y:19+", "2\r\npi\r\n*\r\n"},
        // Defined but never reaching the output: still computed, not sampled.
        {"y = a\na = b\na = c", "y:19+ a:18+ b:0 c:18+", "b\r\n"},
    };
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        ModelUpdate update = UpdateParameters(c.Model, {}, Messages(), dialogs);
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
}

TEST(UpdateParameters, SurvivingNamesKeepTheirWholeRecord) {
    ModelParameter z = Assigned("z");
    ParameterList previous = {ModelParameter{}, Assigned("a"), z};
    previous[0].Nombre = "y";
    previous[0].Distrib = 19;
    previous[0].Init = true;
    previous[0].Unidad = "m";

    ScriptedDialogs dialogs;
    ModelUpdate update = UpdateParameters("y = a + w", previous, Messages(), dialogs);
    ASSERT_TRUE(update.Accepted);
    EXPECT_EQ(Roles(update.Parameters), "y:19+ a:1+ w:0");
    EXPECT_EQ(update.Parameters[0], previous[0]);
    EXPECT_EQ(update.Parameters[1], previous[1]);
    EXPECT_FALSE(update.ParametersReady);  // w still needs a distribution

    update = UpdateParameters("y = a", update.Parameters, Messages(), dialogs);
    EXPECT_EQ(Roles(update.Parameters), "y:19+ a:1+");
    EXPECT_TRUE(update.ParametersReady);
    EXPECT_TRUE(dialogs.Log.empty());
}

TEST(UpdateParameters, RolesFollowTheNewModel) {
    ScriptedDialogs dialogs;
    ModelUpdate first = UpdateParameters("y = a*k\nk = b/c", {}, Messages(), dialogs);
    ParameterList previous = first.Parameters;
    previous[1] = Assigned("a");
    previous[2].Unidad = "kg";

    // k was intermediate and becomes an input: it must be assigned again, but
    // its unit stays. a was an input and becomes intermediate. y becomes an
    // input of the new output z.
    ModelUpdate update =
        UpdateParameters("z = y + k\ny = 2*a\na = c", previous, Messages(), dialogs);
    ASSERT_TRUE(update.Accepted);
    EXPECT_EQ(Roles(update.Parameters), "z:19+ y:18+ k:0 a:18+ c:0");
    EXPECT_EQ(update.Parameters[2].Unidad, "kg");
    EXPECT_EQ(update.Parameters[3].Valor, "1.5");
    EXPECT_FALSE(update.ParametersReady);

    update = UpdateParameters("w = y", previous, Messages(), dialogs);
    EXPECT_EQ(Roles(update.Parameters), "w:19+ y:0");
    EXPECT_FALSE(update.ParametersReady);
    EXPECT_TRUE(dialogs.Log.empty());
}

TEST(UpdateParameters, AListWhoseFirstRowShowsNoNameIsNotRestored) {
    ParameterList previous = {ModelParameter{}, Assigned("a")};
    ScriptedDialogs dialogs;
    ModelUpdate update = UpdateParameters("y = a", previous, Messages(), dialogs);
    EXPECT_EQ(Roles(update.Parameters), "y:19+ a:0");
}

TEST(UpdateParameters, EmptyLinesAreRemoved) {
    const std::pair<const char*, const char*> cases[] = {
        {"\r\n  \r\ny = a*k\r\n\r\nk = b/c\r\n", "y = a*k\r\nk = b/c"},
        {"y = a*k\rk = b/c\n", "y = a*k\r\nk = b/c"},
        {"y = a*k\n\t\nk = b/c", "y = a*k\r\nk = b/c"},
    };
    for (const auto& [model, text] : cases) {
        ScriptedDialogs dialogs;
        ModelUpdate update = UpdateParameters(model, {}, Messages(), dialogs);
        EXPECT_TRUE(update.Accepted) << model;
        EXPECT_EQ(update.ModelText, text) << model;
        EXPECT_EQ(Roles(update.Parameters), "y:19+ a:0 k:18+ b:0 c:0") << model;
    }
}

struct RejectCase {
    const char* Model;
    const char* Text;  // ModelText after the update
    std::vector<Shown> Log;
};

TEST(UpdateParameters, ARejectionChangesNothing) {
    const RejectCase cases[] = {
        {"", "", {}},
        {"\r\n\r\n", "", {{DialogKind::Error, "Error. Undefined output parameter."}}},
        {"x = x + 1", "x = x + 1", {{DialogKind::Error, "Error. Undefined output parameter."}}},
        {"y = a\r\n\r\nz = b",
         "y = a\r\nz = b",
         {{DialogKind::Error, "Error. Too many output parameter."}}},
        {"y = a)", "y = a)", {{DialogKind::Message, "List index out of bounds (-1)"}}},
        {"y = 2a", "y = 2a", {}},
        {"y = a\nb = a\xB5", "y = a\r\nb = a\xB5", {}},
        {"y = a\na = a*2",
         "y = a\r\na = a*2",
         {{DialogKind::Error, "Error. The quantity a is defined in terms of itself."}}},
    };
    ParameterList previous = {Assigned("y"), Assigned("q")};
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        ModelUpdate update = UpdateParameters(c.Model, previous, Messages(), dialogs);
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
