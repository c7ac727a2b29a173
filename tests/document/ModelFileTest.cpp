#include "document/ModelFile.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ModelFixtures.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

using namespace corvanta::testing;
using Shown = ScriptedDialogs::Shown;

// Quantity record n, its fields in the order the file holds them.
std::string Record(int n, const std::string& name, const std::string& distrib,
                   const std::string& valor, const std::string& a, const std::string& sensib) {
    const char* const tags[] = {"ParNombre", "ParUnidad",   "ParDesc",  "ParDistrib",
                                "ParValor",  "ParLecturas", "Par_a",    "Par_b",
                                "ParGrados", "ParInit",     "ParSensib"};
    const std::string values[] = {name, "", "", distrib, valor, "", a, "", "", "T", sensib};
    std::string text = "%Par" + std::to_string(n) + "%\r\n";
    for (int i = 0; i < 11; ++i)
        text += std::string("%") + tags[i] + "%\r\n" + values[i] + "\r\n%/" + tags[i] + "%\r\n";
    return text + "%/Par" + std::to_string(n) + "%\r\n";
}

const std::string kSmallText =
    "%Titulo%\r\nMass\r\n%/Titulo%\r\n%Desc%\r\nfirst line\r\nsecond line\r\n%/Desc%\r\n"
    "%Modelo%\r\ny = a + b\r\n%/Modelo%\r\n" +
    Record(0, "y", "19", "", "", "0") + Record(1, "a", "1", "10", "0.1", "0.5") +
    Record(2, "b", "4", "2", "", "1E-6");

ModelDocument SmallDocument() {
    ModelDocument d;
    d.Title = "Mass";
    d.Description = "first line\r\nsecond line\r\n";
    d.ModelText = "y = a + b\r\n";
    d.Parameters = {Quantity("y", 19), Quantity("a", 1, "10", "0.1"), Quantity("b", 4, "2")};
    d.Parameters[1].Sensib = 0.5;
    d.Parameters[2].Sensib = 1E-6;
    return d;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    std::size_t at = text.find(from);
    if (at == std::string::npos) ADD_FAILURE() << "not in the text: " << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::optional<OpenedModel> Open(const std::string& text, ScriptedDialogs& dialogs) {
    return ApplyModelText(text, "/models/m.cvm", FormMessageTexts(CaptionTable::BuiltIn()),
                          dialogs);
}

TEST(ModelFile, ComposesEveryFieldInOrder) {
    EXPECT_EQ(ComposeModelText(SmallDocument()), kSmallText);
    EXPECT_EQ(ComposeModelText(ModelDocument{}),
              "%Titulo%\r\n\r\n%/Titulo%\r\n%Desc%\r\n%/Desc%\r\n%Modelo%\r\n%/Modelo%\r\n");

    ModelDocument odd;
    odd.Title = "a\r\nb";  // a one-line field never spills out of its section
    odd.Description = std::string("x\0y\nz", 5);
    odd.ModelText = "y = a\n\ny = b";
    EXPECT_EQ(ComposeModelText(odd),
              "%Titulo%\r\na  b\r\n%/Titulo%\r\n%Desc%\r\nx y\r\nz\r\n%/Desc%\r\n"
              "%Modelo%\r\ny = a\r\n\r\ny = b\r\n%/Modelo%\r\n");

    const std::pair<double, const char*> sensib[] = {{0.5, "0.5"},
                                                     {1.0 / 3.0, "0.333333333333333"},
                                                     {1E-5, "1E-5"},
                                                     {2.5E15, "2.5E15"},
                                                     {0.0001, "0.0001"},
                                                     {-0.0, "0"},
                                                     {INFINITY, "0"},
                                                     {NAN, "0"},
                                                     {DBL_MAX, "1.79769313486232E308"},
                                                     {4.9E-324, "4.94065645841247E-324"}};
    for (const auto& [value, text] : sensib) {
        ModelDocument one;
        one.Parameters = {Quantity("y", 19)};
        one.Parameters[0].Sensib = value;
        EXPECT_NE(ComposeModelText(one).find(std::string("%ParSensib%\r\n") + text + "\r\n"),
                  std::string::npos)
            << text;
    }
}

TEST(ModelFile, DocumentsSurviveComposeApplyComposeWhateverTheLineEnds) {
    ModelDocument tagsAsText = SmallDocument();
    tagsAsText.Title = "%Desc%";
    tagsAsText.Description = "%Modelo%\r\n%Par0%\r\n%ParNombre%\r\n%/Modelo%\r\n";
    tagsAsText.Parameters[1].Unidad = "%Par2%";
    tagsAsText.Parameters[2].Desc = "%/Par1%";
    const std::vector<std::pair<const char*, ModelDocument>> documents = {
        {"small", SmallDocument()},
        {"every kind", AllKindsDocument()},
        {"no quantities", ModelDocument{}},
        {"tag lines as text", tagsAsText}};
    for (const auto& [label, document] : documents) {
        const std::string crlf = ComposeModelText(document);
        const std::vector<std::string> variants = {
            crlf, ReplaceAll(crlf, "\r\n", "\n"),  // cells still split by a lone CR
            ReplaceAll(ReplaceAll(crlf, "\r\n", "\n"), "\r", "\n"), ReplaceAll(crlf, "\r\n", "\r"),
            crlf.substr(0, crlf.size() - 2)};
        for (std::size_t v = 0; v < variants.size(); ++v) {
            ScriptedDialogs dialogs;
            std::optional<OpenedModel> opened = Open(variants[v], dialogs);
            ASSERT_TRUE(opened) << label << " variant " << v << ": "
                                << ::testing::PrintToString(dialogs.Texts());
            EXPECT_EQ(opened->Document.Title, document.Title) << label << v;
            EXPECT_EQ(opened->Document.Description, document.Description) << label << v;
            EXPECT_EQ(opened->Document.Parameters, document.Parameters) << label << v;
            EXPECT_EQ(opened->ParametersReady, CheckReady(document.Parameters)) << label << v;
            EXPECT_EQ(opened->PostfixExpression.empty(), document.ModelText.empty()) << label << v;
            EXPECT_EQ(ComposeModelText(opened->Document), crlf) << label << v;
        }
    }
    // The stored sample is exactly what the writer produces.
    std::ifstream sample(CORVANTA_SOURCE_DIR "/samples/roundtrip-all-kinds.cvm", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(sample), {}),
              ComposeModelText(AllKindsDocument()));
}

TEST(ModelFile, ReadingsKeepTheirLineEndsAcrossSaves) {
    // Section bodies as files hold them, from earlier versions too, and the
    // readings they stand for.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\r\n", ""},
        {"", ""},
        {"\r\n\r\n\r\n", ""},  // grown by two earlier saves
        {"SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n\r\n", kSXReadings},
        {"SX\r\n10.0\r\n10.2\r\n10.0\r\n10.3\r\n\r\n", kSXReadings},
        {"SX\r\n10.0\r\n10.2\r\n10.0\r\n10.3\r\n\r\n\r\n\r\n", kSXReadings},
        {"SXXS\r\n1\r\n2\r\n3\r\n4\r\n5\r6\r7\r8\r\n\r\n", "SXXS\r\n1\r2\r3\r4\r\n5\r6\r7\r8\r\n"},
        {"Directa\r\n1\r\n&\r\n\r\n\r\n", "Directa\r\n1\r\n&\r\n"},
        {"SXS\r\n1\r\n2\r\n\r\n", "SXS\r\n1\r\n2\r\n"},  // cells short of a row: as they are
        {"SX\r\n1 2\r\n\r\n", "SX\r\n1 2\r\n"},
        {"notes\r\n\r\nmore\r\n", "notes\r\n\r\nmore"}};
    for (const auto& [body, readings] : cases) {
        std::string text = Replace(kSmallText, "%ParLecturas%\r\n\r\n%/ParLecturas%",
                                   "%ParLecturas%\r\n" + body + "%/ParLecturas%");
        ScriptedDialogs dialogs;
        std::optional<OpenedModel> opened = Open(text, dialogs);
        ASSERT_TRUE(opened) << body;
        EXPECT_EQ(opened->Document.Parameters[0].Lecturas, readings) << body;
        std::string saved = ComposeModelText(opened->Document);
        std::optional<OpenedModel> again = Open(saved, dialogs);
        ASSERT_TRUE(again) << body;
        EXPECT_EQ(ComposeModelText(again->Document), saved) << body;
    }
}

TEST(ModelFile, ConvertsTheFieldsItReads) {
    struct Case {
        std::string Field, Line;
        bool Init;
        std::int32_t Distrib;
        double Sensib;
    };
    const std::vector<Case> cases = {{"ParInit", "T", true, 1, 0.5},
                                     {"ParInit", "F", false, 1, 0.5},
                                     {"ParInit", "t", false, 1, 0.5},
                                     {"ParInit", "True", false, 1, 0.5},
                                     {"ParInit", "T ", false, 1, 0.5},
                                     {"ParDistrib", "  +17", true, 17, 0.5},
                                     {"ParSensib", " 5e-1 ", true, 1, 0.5},
                                     {"ParSensib", "1.79769313486232E308", true, 1, DBL_MAX},
                                     {"ParSensib", "-1.79769313486232E308", true, 1, -DBL_MAX},
                                     {"ParSensib", "4.94065645841247E-324", true, 1, 4.9E-324}};
    for (const Case& c : cases) {
        const std::string tag = "%" + c.Field + "%\r\n";  // in record Par1
        std::string text = kSmallText;
        const std::size_t at = text.find(tag, text.find("%Par1%")) + tag.size();
        text.replace(at, text.find("\r\n", at) - at, c.Line);
        ScriptedDialogs dialogs;
        std::optional<OpenedModel> opened = Open(text, dialogs);
        ASSERT_TRUE(opened) << c.Line;
        const ModelParameter& p = opened->Document.Parameters[1];
        EXPECT_EQ(p.Init, c.Init) << c.Line;
        EXPECT_EQ(opened->ParametersReady, c.Init) << c.Line;
        EXPECT_EQ(p.Distrib, c.Distrib) << c.Line;
        EXPECT_EQ(p.Sensib, c.Sensib) << c.Line;
    }
}

TEST(ModelFile, RefusesIncompleteOrMismatchedFilesNamingThemAndOpensNothing) {
    const std::string file = "The file \"/models/m.cvm\" ";
    const std::string missing = file + "is not a complete model file: the tag ";
    const std::string mismatch = file + "does not match its model: ";
    const std::string extra = Record(3, "c", "1", "1", "1", "0");
    const DialogKind error = DialogKind::Error, message = DialogKind::Message;
    struct Case {
        std::string From, To;
        DialogKind Kind;
        std::string Text;
    };
    const std::vector<Case> cases = {
        {"%/Titulo%\r\n", "", error, missing + "\"%/Titulo%\" is missing."},
        {"Mass\r\n", "", error, missing + "\"%Titulo%\" has no value line."},
        {"%Desc%\r\n", "", error, missing + "\"%Desc%\" is missing."},
        {"%/Modelo%\r\n", "", error, missing + "\"%/Modelo%\" is missing."},
        {"%ParNombre%\r\ny\r\n", "%ParNombre%\r\n", error,
         missing + "\"%ParNombre%\" in record \"%Par0%\" has no value line."},
        {"%ParGrados%\r\n\r\n%/ParGrados%\r\n", "", error,
         missing + "\"%ParGrados%\" in record \"%Par0%\" is missing."},
        {"%/ParUnidad%\r\n", "", error,
         missing + "\"%/ParUnidad%\" in record \"%Par0%\" is missing."},
        {"%/ParLecturas%\r\n", "", error,
         missing + "\"%/ParLecturas%\" in record \"%Par0%\" is missing."},
        {"%/Par1%\r\n", "", error, missing + "\"%/Par1%\" is missing."},
        {"\n4\r", "\n4.0\r", message, "'4.0' is not a valid integer value"},
        {"\n4\r", "\n24\r", error,
         file + "is not a valid model file: the distribution number 24 in record \"%Par2%\" is "
                "not one of 0 to 23."},
        {"\n0.5\r", "\n0,5\r", message, "'0,5' is not a valid floating point value"},
        {"\n0.5\r", "\n1.8E308\r", message, "'1.8E308' is not a valid floating point value"},
        {"\na\r", "\nq\r", error,
         mismatch + "record \"%Par1%\" is for \"q\", but quantity 2 of its equations is \"a\"."},
        {"%/Par2%\r\n", "%/Par2%\r\n" + extra, error,
         mismatch + "it holds 4 quantity records, but its equations have 3 quantities."},
        {"%Par1%", "%Par7%", error,  // a gap in the numbering ends the records
         mismatch + "it holds 1 quantity records, but its equations have 3 quantities."},
        {"y = a + b\r\n", " \r\n\r\n", error,
         mismatch + "it holds 3 quantity records, but its equations have 0 quantities."}};
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        EXPECT_FALSE(Open(Replace(kSmallText, c.From, c.To), dialogs)) << c.Text;
        EXPECT_EQ(dialogs.Log, (std::vector<Shown>{{c.Kind, c.Text}}));
    }

    // Equations that "Update parameters" rejects: its own message, then ours.
    ScriptedDialogs dialogs;
    EXPECT_FALSE(Open(Replace(kSmallText, "y = a + b\r\n", "y = a\r\nz = b\r\n"), dialogs));
    EXPECT_EQ(dialogs.Texts(),
              (std::vector<std::string>{"Error. Too many output parameter.",
                                        "The file \"/models/m.cvm\" cannot be opened: its "
                                        "equations do not form a valid model."}));
}

}  // namespace
}  // namespace corvanta
