// The model file: its sections, every field written and read back, and every refusal.
#include "document/ModelFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "ModelFixtures.h"
#include "document/SectionStore.h"

namespace corvanta {
namespace {

using namespace corvanta::testing;
using Shown = ScriptedDialogs::Shown;

const std::string kSmallText =
    "%Titulo%\r\nMass\r\n%/Titulo%\r\n%Desc%\r\nfirst line\r\nsecond line\r\n%/Desc%\r\n"
    "%Modelo%\r\ny = a + b\r\n%/Modelo%\r\n" +
    RecordText(0, "y", "19", "", "", "0") + RecordText(1, "a", "1", "10", "0.1", "0.5") +
    RecordText(2, "b", "4", "2", "", "1E-6");

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
    // clang-format off
    const std::pair<double, const char*> sensib[] = {{0.5, "0.5"}, {1.0 / 3.0, "0.333333333333333"},
        {1E-5, "1E-5"}, {2.5E15, "2.5E15"}, {0.0001, "0.0001"}, {-0.0, "0"}, {INFINITY, "0"},
        {NAN, "0"}, {DBL_MAX, "1.79769313486232E308"}, {4.9E-324, "4.94065645841247E-324"}};
    // clang-format on
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
    for (const ModelDocument& document :
         {SmallDocument(), AllKindsDocument(), ModelDocument{}, tagsAsText}) {
        const std::string crlf = ComposeModelText(document), lf = ReplaceAll(crlf, "\r\n", "\n");
        // LF alone still splits the cells by a lone CR.
        for (const std::string& text :
             {crlf, lf, ReplaceAll(lf, "\r", "\n"), ReplaceAll(crlf, "\r\n", "\r"),
              crlf.substr(0, crlf.size() - 2)}) {
            SCOPED_TRACE(document.Title + " / " + text.substr(0, 60));
            ScriptedDialogs dialogs;
            std::optional<OpenedModel> opened = Open(text, dialogs);
            ASSERT_TRUE(opened) << ::testing::PrintToString(dialogs.Texts());
            const ModelDocument& got = opened->Document;
            EXPECT_EQ(std::tie(got.Title, got.Description, got.Parameters),
                      std::tie(document.Title, document.Description, document.Parameters));
            EXPECT_EQ(opened->ParametersReady, CheckReady(document.Parameters));
            EXPECT_EQ(opened->PostfixExpression.empty(), document.ModelText.empty());
            EXPECT_EQ(ComposeModelText(got), crlf);
        }
    }
    // The stored sample is exactly what the writer produces.
    EXPECT_EQ(FileBytes(CORVANTA_SOURCE_DIR "/samples/roundtrip-all-kinds.cvm"),
              ComposeModelText(AllKindsDocument()));
}

TEST(ModelFile, ReadingsKeepTheirLineEndsAcrossSaves) {
    // Section bodies as files hold them, from earlier versions too, and the readings they stand
    // for.
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {{"\r\n", ""}, {"", ""},
        {"\r\n\r\n\r\n", ""},  // grown by two earlier saves
        {"SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n\r\n", kSXReadings},
        {"SX\r\n10.0\r\n10.2\r\n10.0\r\n10.3\r\n\r\n", kSXReadings},
        {"SX\r\n10.0\r\n10.2\r\n10.0\r\n10.3\r\n\r\n\r\n\r\n", kSXReadings},
        {"SXXS\r\n1\r\n2\r\n3\r\n4\r\n5\r6\r7\r8\r\n\r\n", "SXXS\r\n1\r2\r3\r4\r\n5\r6\r7\r8\r\n"},
        {"Directa\r\n1\r\n&\r\n\r\n\r\n", "Directa\r\n1\r\n&\r\n"},
        {"SXS\r\n1\r\n2\r\n\r\n", "SXS\r\n1\r\n2\r\n"},  // cells short of a row: as they are
        {"SX\r\n1 2\r\n\r\n", "SX\r\n1 2\r\n"}, {"notes\r\n\r\nmore\r\n", "notes\r\n\r\nmore"}};
    // clang-format on
    for (const auto& [body, readings] : cases) {
        ScriptedDialogs dialogs;
        std::optional<OpenedModel> opened =
            Open(Replace(kSmallText, "%ParLecturas%\r\n\r\n%/ParLecturas%",
                         "%ParLecturas%\r\n" + body + "%/ParLecturas%"),
                 dialogs);
        ASSERT_TRUE(opened) << body;
        EXPECT_EQ(opened->Document.Parameters[0].Lecturas, readings) << body;
        std::string saved = ComposeModelText(opened->Document);
        std::optional<OpenedModel> again = Open(saved, dialogs);
        ASSERT_TRUE(again) << body;
        EXPECT_EQ(ComposeModelText(again->Document), saved) << body;
    }
}

TEST(ModelFile, ConvertsTheFieldsItReads) {
    // The field of record Par1, its line, and Init, Distrib and Sensib read from it.
    // clang-format off
    const std::tuple<std::string, std::string, bool, std::int32_t, double> cases[] = {
        {"ParInit", "T", true, 1, 0.5}, {"ParInit", "F", false, 1, 0.5},
        {"ParInit", "t", false, 1, 0.5}, {"ParInit", "True", false, 1, 0.5},
        {"ParInit", "T ", false, 1, 0.5}, {"ParDistrib", "  +17", true, 17, 0.5},
        {"ParSensib", " 5e-1 ", true, 1, 0.5},
        {"ParSensib", "1.79769313486232E308", true, 1, DBL_MAX},
        {"ParSensib", "-1.79769313486232E308", true, 1, -DBL_MAX},
        {"ParSensib", "4.94065645841247E-324", true, 1, 4.9E-324}};
    // clang-format on
    for (const auto& [field, line, init, distrib, sensib] : cases) {
        const std::string tag = "%" + field + "%\r\n";
        std::string text = kSmallText;
        const std::size_t at = text.find(tag, text.find("%Par1%")) + tag.size();
        text.replace(at, text.find("\r\n", at) - at, line);
        ScriptedDialogs dialogs;
        std::optional<OpenedModel> opened = Open(text, dialogs);
        ASSERT_TRUE(opened) << line;
        const ModelParameter& p = opened->Document.Parameters[1];
        EXPECT_EQ(std::tie(p.Init, opened->ParametersReady, p.Distrib, p.Sensib),
                  std::tie(init, init, distrib, sensib))
            << line;
    }
}

TEST(ModelFile, RefusesIncompleteOrMismatchedFilesNamingThemAndOpensNothing) {
    const std::string file = "The file \"/models/m.cvm\" ";
    const std::string missing = file + "is not a complete model file: the tag ";
    const std::string mismatch = file + "does not match its model: ";
    const DialogKind error = DialogKind::Error, message = DialogKind::Message;
    const struct {
        std::string From, To;
        DialogKind Kind;
        std::string Text;
    } cases[] = {
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
        {"%/Par2%\r\n", "%/Par2%\r\n" + RecordText(3, "c", "1", "1", "1", "0"), error,
         mismatch + "it holds 4 quantity records, but its equations have 3 quantities."},
        {"%Par1%", "%Par7%", error,  // a gap in the numbering ends the records
         mismatch + "it holds 1 quantity records, but its equations have 3 quantities."},
        {"y = a + b\r\n", " \r\n\r\n", error,
         mismatch + "it holds 3 quantity records, but its equations have 0 quantities."}};
    for (const auto& c : cases) {
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

const std::string kPairHead = ModelHead(
    "y = x1 + x2", RecordText(0, "y", "19") + RecordText(1, "x1", "1") + RecordText(2, "x2", "2"));

TEST(CorrelationsSection, WrittenOnlyWithACoefficientReadBackAndRefusedNamingTheLine) {
    const std::string section = "%Correlaciones%\r\nx1;x2;0.9\r\n%/Correlaciones%\r\n";
    ScriptedDialogs dialogs;
    auto opened = Open(kPairHead + section, dialogs, "m.cvm");
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->Document.Correlations, (CorrelationList{{"x1", "x2", 0.9}}));
    EXPECT_EQ(ComposeModelText(opened->Document), kPairHead + section);
    opened->Document.Correlations = {{"x1", "x2", 0}};
    EXPECT_EQ(ComposeModelText(opened->Document), kPairHead);
    auto plain = Open(kPairHead, dialogs, "m.cvm");
    ASSERT_TRUE(plain);
    EXPECT_TRUE(plain->Document.Correlations.empty());
    EXPECT_TRUE(dialogs.Log.empty());
    // The first line inside the section, and the one after it.
    const long long first = std::count(kPairHead.begin(), kPairHead.end(), '\n') + 2;
    const std::string invalid = "The file \"m.cvm\" is not a valid model file: line ";
    const std::string twoNames = "it does not hold two names and a coefficient separated by \";\"";
    const std::pair<const char*, std::string> cases[] = {
        {"x1;x9;0.5", "\"x9\" names no quantity of the model"},
        {"y;x1;0.5", "\"y\" is not an input quantity"},
        {"x2;x2;0.5", "\"x2\" is paired with itself"},
        {"x1;x2;1.5", "the coefficient 1.5 of \"x1\" and \"x2\" is not between -1 and 1"},
        {"x1;x2;zero", "'zero' is not a valid floating point value"},
        {"x1;x2", twoNames},
        {"x1;x2;0.5;1", twoNames},
        {"x1;x2;0.5\r\nx2;x1;0.5", "the pair \"x2\", \"x1\" is given twice"}};
    for (const auto& [lines, why] : cases) {
        ScriptedDialogs refused;
        const std::string text =
            kPairHead + "%Correlaciones%\r\n" + lines + "\r\n%/Correlaciones%\r\n";
        EXPECT_FALSE(Open(text, refused, "m.cvm"));
        const std::string line = std::string(lines).substr(std::string(lines).rfind('\n') + 1);
        EXPECT_EQ(refused.Texts(), std::vector<std::string>{
                                       invalid + std::to_string(first + (line != lines)) + " (\"" +
                                       line + "\") of the correlations: " + why + "."});
    }
    EXPECT_FALSE(Open(kPairHead + "%Correlaciones%\r\nx1;x2;0.5\r\n", dialogs, "m.cvm"));
    EXPECT_EQ(dialogs.Texts().back(),
              "The file \"m.cvm\" is not a complete model file: the tag "
              "\"%/Correlaciones%\" is missing.");
}

std::string Choice(const char* tag, const char* value) {
    return std::string("%") + tag + "%\r\n" + value + "\r\n%/" + tag + "%\r\n";
}

TEST(RunChoicesSection, ReadWrittenAndRefused) {
    const std::string head = ModelHead("y = x", RecordText(0, "y", "19") + RecordText(1, "x", "1"));
    const std::string invalid = "The file \"m.cvm\" is not a valid model file: ",
                      digits = invalid + "the number of significant digits \"";
    const struct {
        std::string Tail;
        RunChoices Expected;
        std::string Refusal;  // "" when the file opens
    } cases[] = {
        {"", {}, ""},
        {Choice("Intervalo", "Minimo"), {IntervalKind::Shortest, false, 2}, ""},
        {Choice("Adaptativo", "T") + Choice("Cifras", "5"), {IntervalKind::Symmetric, true, 5}, ""},
        {Choice("Intervalo", "Shortest"),
         {},
         invalid + "the interval kind \"Shortest\" is not Simetrico or Minimo."},
        {Choice("Cifras", "0"), {}, digits + "0\" is not one of 1 to 5."},
        {Choice("Cifras", "6"), {}, digits + "6\" is not one of 1 to 5."},
        {Choice("Cifras", "2.5"), {}, digits + "2.5\" is not one of 1 to 5."},
    };
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        const auto opened = Open(head + c.Tail, dialogs, "m.cvm");
        if (!c.Refusal.empty()) {
            EXPECT_FALSE(opened) << c.Tail;
            EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.Refusal});
            continue;
        }
        ASSERT_TRUE(opened) << c.Tail;
        EXPECT_EQ(opened->Document.Choices, c.Expected) << c.Tail;
        // Written back whole, all three, and nothing for the defaults.
        const std::string written = ComposeModelText(opened->Document);
        const auto again = Open(written, dialogs, "m.cvm");
        ASSERT_TRUE(again);
        EXPECT_EQ(again->Document.Choices, c.Expected);
        EXPECT_EQ(written.find("%Intervalo%") != std::string::npos, c.Expected != RunChoices{});
        EXPECT_TRUE(dialogs.Log.empty());
    }
}

// Texts are written with CR LF; each case also runs with LF and CR alone.
TEST(SectionStore, ReadsEveryCaseAlikeWithEachLineEndAndSplitsLines) {
    const struct {
        const char* Name;
        std::string Text, Section, Line;  // the text, then ExtractSection and ExtractSectionLine
    } cases[] = {
        {"Desc", "%Desc%\r\n%/Desc%\r\n", "", "%/Desc%"},  // opened and closed at once
        {"Desc", "%Desc%\r\na\r\n\r\nb\r\n%/Desc%\r\n", "a\r\n\r\nb\r\n", "a"},
        {"Desc", "%Desc%\r\na", "a\r\n", "a"},  // no closing tag runs to the end
        {"Titulo", "%Titulo%\r\nx\r\n%/Titulo%\r\n", "x\r\n", "x"},
        {"Titulo", "%Titulo%\r\n\r\n%/Titulo%\r\n", "\r\n", ""},
        {"Titulo", "%titulo%\r\nx\r\n%/titulo%\r\n", "", ""},   // lower case opens nothing
        {"Titulo", " %Titulo%\r\nx\r\n%/Titulo%\r\n", "", ""},  // nor a leading blank
        {"Desc", "%Desc%\r\na\r\n%/Desc% \r\nb\r\n", "a\r\n%/Desc% \r\nb\r\n", "a"},
        {"Desc", "%Desc%\r\none\r\n%/Desc%\r\n%Desc%\r\ntwo\r\n%/Desc%\r\n", "one\r\n", "one"},
        {"Desc", "%/Desc%\r\n%Desc%\r\na\r\n%/Desc%\r\n", "a\r\n", "a"},
        {"Par1",
         "%Par10%\r\nten\r\n%/Par10%\r\n%Par1%\r\none\r\n%Par10%\r\n%/Par10%\r\n%/Par1%\r\n",
         "one\r\n%Par10%\r\n%/Par10%\r\n", "one"},
        {"Par0", "%Par0%\r\n%ParNombre%\r\nx\r\n%/ParNombre%\r\n%/Par0%\r\n",
         "%ParNombre%\r\nx\r\n%/ParNombre%\r\n", "%ParNombre%"},
        {"Titulo", "a\r\n%Titulo%\r\n", "", ""},
        {"Titulo", "a\r\nb\r\n", "", ""},
        {"Titulo", "", "", ""},
        {"Desc", "%Desc%\r\n\xB5m \xB1 0.1\r\n%/Desc%\r\n", "\xB5m \xB1 0.1\r\n", "\xB5m \xB1 0.1"},
        {"Desc", std::string("%Desc%\r\na\0b\r\n%/Desc%\r\n", 23), "a\r\n", "a"}};  // NUL ends it
    for (const auto& c : cases)
        for (const char* end : {"\r\n", "\n", "\r"}) {
            const std::string text = ReplaceAll(c.Text, "\r\n", end);
            SCOPED_TRACE(::testing::PrintToString(text));
            EXPECT_EQ(ExtractSection(c.Name, text), c.Section);
            EXPECT_EQ(ExtractSectionLine(c.Name, text), c.Line);
        }
    // Text, then its lines each closed by "|".
    // clang-format off
    const std::pair<std::string, const char*> lines[] = {{"", ""}, {"\r\n", "|"}, {"a", "a|"},
        {"a\r\n", "a|"}, {"a\r\n\r\n", "a||"}, {"a\rb\nc\r\nd", "a|b|c|d|"}, {"a\n\rb", "a||b|"},
        {"a\r\r\nb", "a||b|"}, {std::string("a\nb\0c\nd", 7), "a|b|"}};  // NUL ends the text
    // clang-format on
    for (const auto& [text, expected] : lines) {
        std::string got;
        for (std::string_view line : SplitTextLines(text))
            got += std::string(line) + "|";
        EXPECT_EQ(got, expected) << "text of " << text.size() << " bytes";
    }
    EXPECT_EQ(NormalizeLineEnds("a\rb\nc\r\n\n"), "a\r\nb\r\nc\r\n\r\n");
}

}  // namespace
}  // namespace corvanta
