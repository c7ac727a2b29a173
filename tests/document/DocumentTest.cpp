// The model file (sections, refusals, file commands), the report, the GUM page, the samples.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "distributions/ModelParameter.h"
#include "distributions/Readings.h"
#include "document/GumSections.h"
#include "document/ModelFile.h"
#include "document/ResultsReport.h"
#include "document/SectionStore.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {

namespace {

using namespace corvanta::testing;
using Shown = ScriptedDialogs::Shown;
using Log = std::vector<Shown>;
using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

template <class... T>
Strings Texts(const T&... texts) {
    return {std::string(texts)...};
}

// A record from "Nombre|Distrib|Valor|a|b|Grados|Lecturas|Unidad|Desc|Sensib|Init".
ModelParameter Q(const std::string& row) {
    std::vector<std::string> c;
    std::istringstream cells(row);
    for (std::string cell; std::getline(cells, cell, '|');)
        c.push_back(cell);
    c.resize(11);
    return {c[0], c[7], c[8],         std::atoi(c[1].c_str()),           c[2], c[6], c[3],
            c[4], c[5], c[10] != "F", std::strtod(c[9].c_str(), nullptr)};
}

// A document titled "t" of the equations and the records of the rows.
ModelDocument Doc(const std::string& equations, const Strings& rows) {
    ModelDocument d;
    d.Title = "t";
    d.ModelText = equations;
    for (const std::string& row : rows)
        d.Parameters.push_back(Q(row));
    return d;
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

const MessageTexts& BuiltInTexts() {
    static const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    return texts;
}

std::optional<OpenedModel> Open(const std::string& text, ScriptedDialogs& dialogs,
                                const std::string& path = "/models/m.cvm") {
    return ApplyModelText(text, path, BuiltInTexts(), dialogs);
}

const char* const kAllKinds = CORVANTA_SOURCE_DIR "/samples/roundtrip-all-kinds";
const char* const kSXReadings = "SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n";

// Every kind of quantity, Experimental ones in all five modes, Windows-1252 text throughout.
ModelDocument AllKindsDocument() {
    // clang-format off
    ModelDocument d = Doc(
        "y = k + n1 + n2 + n3 + n4 + n5 + n6 + n7 + n8 + n9 + n10 + n11 + n12 + n13 + "
        "n14 + n15 + n16 + r1 + r2 + r3 + r4 + r5\r\nk = 2*m\r\n", {"y|19", "k|18",
             "n1|1|10|0.1||||\xB5m|Length \xB1 tolerance|0.5",
             "n2|2|5|0.5||||\xB0" "C|Temperatura del ba\xF1o|0.333333333333333",
             "n3|3|-1.5|0.25||||||1E-6", "n4|4|9.80665|0.1||||||2.5E15", "n5|5|2|||||||-0.125",
             "n6|6", "n7|7|2|3", "n8|8|4|0", "n9|9|3.5", "n10|10|10|0.3", "n11|11|5|0.4",
             "n12|12|2", "n13|13", "n14|14|1.5", "n15|15|3", "n16|16|1|0.2",
             "r1|17|10.2|0.126741723112509|Normal|2|Directa\r\n10.1\r\n10.3\r\n10.2\r\n|||"
             "0.0123456789012345",
             std::string("r2|17|0.25|0.0500000000000007|Student|1|") + kSXReadings,
             "r3|17|4.075|0.16206893385673|Normal|1|"
             "SXXS\r\n1.0\r5.1\r5.3\r1.2\r\n1.1\r5.0\r5.2\r1.0\r\n",
             "r4|17|1.98492063492063|0.0425991647629195|Student|2|"
             "X/S\r\n2\r4\r\n2\r4.1\r\n2.1\r4\r\n",
             "r5|17|3.05|0.0500000000000001|Student|1|SXS\r\n1.0\r5.0\r3.0\r\n1.1\r5.2\r3.1\r\n",
             "m|0|||||||||F"});
    // clang-format on
    d.Title = "Calibraci\xF3n de una masa de 1 \xB5g";
    d.Description = "First line\r\nSecond line \xB1 0.1 \xB5m\r\n\r\nAfter an empty line\r\n";
    return d;
}

// Three records under a two-line description.
const std::string kSmallText = [] {
    ModelDocument d = Doc("y = a + b", {"y|19", "a|1|10|0.1||||||0.5", "b|4|2|||||||1E-6"});
    d.Title = "Mass";
    d.Description = "first line\r\nsecond line\r\n";
    return ComposeModelText(d);
}();

// The text with its first `from` (or, with `all`, every one) replaced by `to`.
std::string Replace(std::string text, const std::string& from, const std::string& to,
                    bool all = false) {
    std::size_t at = text.find(from);
    if (at == std::string::npos && !all) ADD_FAILURE() << "not in the text: " << from;
    for (; at != std::string::npos; at = all ? text.find(from, at + to.size()) : std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// The document of a text that opens without a dialog.
ModelDocument Read(const std::string& text) {
    ScriptedDialogs dialogs;
    const std::optional<OpenedModel> opened = Open(text, dialogs, "m.cvm");
    EXPECT_TRUE(opened && dialogs.Log.empty()) << ::testing::PrintToString(dialogs.Texts());
    return opened ? opened->Document : ModelDocument();
}

TEST(ModelFile, ComposesOneLineFieldsAndSensitivities) {
    ModelDocument odd;
    odd.Title = "a\r\nb";  // a one-line field never spills out of its section
    odd.Description = std::string("x\0y\nz", 5);
    odd.ModelText = "y = a\n\ny = b";
    EXPECT_EQ(ComposeModelText(odd),
              "%Titulo%\r\na  b\r\n%/Titulo%\r\n%Desc%\r\nx y\r\nz\r\n%/Desc%\r\n"
              "%Modelo%\r\ny = a\r\n\r\ny = b\r\n%/Modelo%\r\n");
    // clang-format off
    const std::pair<double, const char*> sensib[] = {{-0.0, "0"}, {INFINITY, "0"}, {NAN, "0"},
        {DBL_MAX, "1.79769313486232E308"}, {4.9E-324, "4.94065645841247E-324"}};
    // clang-format on
    const std::string zero = ComposeModelText(Doc("", {"y|19"})), field = "%ParSensib%\r\n";
    for (const auto& [value, text] : sensib) {
        ModelDocument one = Doc("", {"y|19"});
        one.Parameters[0].Sensib = value;
        EXPECT_EQ(ComposeModelText(one), Replace(zero, field + "0\r\n", field + text + "\r\n"));
    }
}

TEST(ModelFile, DocumentsSurviveComposeApplyComposeWhateverTheLineEnds) {
    ModelDocument tags = AllKindsDocument();  // tags as field text
    tags.Title = "%Desc%";
    tags.Description = "%Modelo%\r\n%Par0%\r\n%ParNombre%\r\n%/Modelo%\r\n";
    tags.Parameters[1].Unidad = "%Par2%";
    tags.Parameters[2].Desc = "%/Par1%";
    ModelDocument closing;
    closing.Title = "%/Titulo%";  // a title that reads as its own closing tag
    for (const ModelDocument& document : {AllKindsDocument(), ModelDocument(), closing, tags}) {
        const std::string crlf = ComposeModelText(document), lf = Replace(crlf, "\r\n", "\n", true);
        // LF alone still splits the cells by a lone CR.
        for (const std::string& text :
             {crlf, lf, Replace(lf, "\r", "\n", true), Replace(crlf, "\r\n", "\r", true),
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
    EXPECT_EQ(FileBytes(kAllKinds + std::string(".cvm")), ComposeModelText(AllKindsDocument()));
}

TEST(ModelFile, ReadingsKeepTheirLineEndsAcrossSaves) {
    // Section bodies as files hold them, from earlier versions too, and the readings they mean.
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
        const ModelDocument d =
            Read(Replace(kSmallText, "%ParLecturas%\r\n\r\n%/", "%ParLecturas%\r\n" + body + "%/"));
        EXPECT_EQ(d.Parameters.at(0).Lecturas, readings) << body;
        EXPECT_EQ(ComposeModelText(Read(ComposeModelText(d))), ComposeModelText(d)) << body;
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
        std::string text = kSmallText;
        const std::string tag = "%" + field + "%\r\n";
        const std::size_t at = text.find(tag, text.find("%Par1%")) + tag.size();
        ScriptedDialogs dialogs;
        const auto opened = Open(text.replace(at, text.find("\r\n", at) - at, line), dialogs);
        ASSERT_TRUE(opened) << line;
        const ModelParameter& p = opened->Document.Parameters[1];
        EXPECT_EQ(std::tie(p.Init, opened->ParametersReady, p.Distrib, p.Sensib),
                  std::tie(init, init, distrib, sensib))
            << line;
    }
}

// A section of one body line, as the file holds it.
std::string Section(const char* tag, const std::string& body) {
    return std::string("%") + tag + "%\r\n" + body + "\r\n%/" + tag + "%\r\n";
}

TEST(ModelFile, RefusesIncompleteOrMismatchedFilesNamingThemAndOpensNothing) {
    const std::string file = "The file \"/models/m.cvm\" ", in0 = "\" in record \"%Par0%\" ",
                      missing = file + "is not a complete model file: the tag \"",
                      invalid = file + "is not a valid model file: ",
                      mismatch = file + "does not match its model: ",
                      records = mismatch + "it holds ",
                      have = " quantity records, but its equations have ",
                      twoNames = "it does not hold two names and a coefficient separated by \";\"",
                      digits = invalid + "the number of significant digits \"";
    const std::string four = ComposeModelText(Doc("y", {"y|19", "a", "b", "c|1|1|1"}));
    const auto R = [](const std::string& from, const std::string& to) {
        return Replace(kSmallText, from, to);
    };
    const DialogKind E = DialogKind::Error, M = DialogKind::Message;
    using Case = std::tuple<std::string, DialogKind, std::string>;
    // A fault on the correlations' first line, or (after a line break) on the one after it.
    const long long first = std::count(kSmallText.begin(), kSmallText.end(), '\n') + 2;
    const auto pairs = [&](const std::string& lines, const std::string& why) {
        const std::string line = lines.substr(lines.rfind('\n') + 1);
        return Case{kSmallText + Section("Correlaciones", lines), E,
                    invalid + "line " + std::to_string(first + (line != lines)) + " (\"" + line +
                        "\") of the correlations: " + why + "."};
    };
    // clang-format off
    const Case cases[] = {
        {R("%/Titulo%\r\n", ""), E, missing + "%/Titulo%\" is missing."},
        {R("Mass\r\n", ""), E, missing + "%Titulo%\" has no value line."},
        {R("%Desc%\r\n", ""), E, missing + "%Desc%\" is missing."},
        {R("%/Modelo%\r\n", ""), E, missing + "%/Modelo%\" is missing."},
        {R("%ParNombre%\r\ny\r\n", "%ParNombre%\r\n"), E, missing + "%ParNombre%" + in0 + "has no value line."},
        {R("%ParGrados%\r\n\r\n%/ParGrados%\r\n", ""), E, missing + "%ParGrados%" + in0 + "is missing."},
        {R("%/ParUnidad%\r\n", ""), E, missing + "%/ParUnidad%" + in0 + "is missing."},
        {R("%/ParLecturas%\r\n", ""), E, missing + "%/ParLecturas%" + in0 + "is missing."},
        {R("%/Par1%\r\n", ""), E, missing + "%/Par1%\" is missing."},
        {kSmallText + "%Correlaciones%\r\na;b;0.5\r\n", E, missing + "%/Correlaciones%\" is missing."},
        {R("\n4\r", "\n4.0\r"), M, "'4.0' is not a valid integer value"},
        {R("\n4\r", "\n24\r"), E, invalid + "the distribution number 24 in record \"%Par2%\" is not one of 0 to 23."},
        {R("\n0.5\r", "\n0,5\r"), M, "'0,5' is not a valid floating point value"},
        {R("\n0.5\r", "\n1.8E308\r"), M, "'1.8E308' is not a valid floating point value"},
        {R("\na\r", "\nq\r"), E, mismatch + "record \"%Par1%\" is for \"q\", but quantity 2 of its equations is \"a\"."},
        {R("%/Par2%\r\n", "%/Par2%\r\n" + four.substr(four.find("%Par3%"))), E, records + "4" + have + "3 quantities."},
        {R("%Par1%", "%Par7%"), E, records + "1" + have + "3 quantities."},  // a gap ends the records
        {R("y = a + b\r\n", " \r\n\r\n"), E, records + "3" + have + "0 quantities."},
        pairs("a;q;0.5", "\"q\" names no quantity of the model"),
        pairs("y;a;0.5", "\"y\" is not an input quantity"),
        pairs("b;b;0.5", "\"b\" is paired with itself"), pairs("a;b", twoNames),
        pairs("a;b;1.5", "the coefficient 1.5 of \"a\" and \"b\" is not between -1 and 1"),
        pairs("a;b;zero", "'zero' is not a valid floating point value"),
        pairs("a;b;0.5;1", twoNames),
        pairs("a;b;0.5\r\nb;a;0.5", "the pair \"b\", \"a\" is given twice"),
        {kSmallText + Section("Intervalo", "Shortest"), E, invalid + "the interval kind \"Shortest\" is not Simetrico or Minimo."},
        {kSmallText + Section("Cifras", "0"), E, digits + "0\" is not one of 1 to 5."},
        {kSmallText + Section("Cifras", "6"), E, digits + "6\" is not one of 1 to 5."},
        {kSmallText + Section("Cifras", "2.5"), E, digits + "2.5\" is not one of 1 to 5."}};
    // clang-format on
    for (const auto& [text, kind, shown] : cases) {
        ScriptedDialogs dialogs;
        EXPECT_FALSE(Open(text, dialogs)) << shown;
        EXPECT_EQ(dialogs.Log, (Log{{kind, shown}}));
    }
    // Equations that "Update parameters" rejects: its own message, then ours.
    ScriptedDialogs dialogs;
    EXPECT_FALSE(Open(R("y = a + b\r\n", "y = a\r\nz = b\r\n"), dialogs));
    EXPECT_EQ(dialogs.Texts(), (Strings{"Error. Too many output parameter.",
                                        file + "cannot be opened: its equations do not form a "
                                               "valid model."}));
}

// Correlations and run choices follow the records, written back with nothing for a zero
// coefficient or the default choices, all three choices otherwise.
TEST(ModelFile, CorrelationsAndRunChoicesReadAndWrittenBack) {
    const IntervalKind S = IntervalKind::Symmetric;
    const std::tuple<std::string, RunChoices, CorrelationList> read[] = {
        {"", {}, {}},
        {Section("Correlaciones", "a;b;0.9"), {}, {{"a", "b", 0.9}}},
        {Section("Intervalo", "Minimo"), {IntervalKind::Shortest, false, 2}, {}},
        {Section("Adaptativo", "T") + Section("Cifras", "5"), {S, true, 5}, {}},
        {Section("Cifras", "1"), {S, false, 1}, {}}};
    for (const auto& [tail, choices, correlations] : read) {
        const ModelDocument d = Read(kSmallText + tail);
        const std::string written = ComposeModelText(d);
        const ModelDocument again = Read(written);
        EXPECT_EQ(std::tie(d.Choices, d.Correlations, again.Choices, again.Correlations),
                  std::tie(choices, correlations, choices, correlations))
            << tail;
        EXPECT_EQ(written.find("%Intervalo%") != std::string::npos, choices != RunChoices{});
        EXPECT_TRUE(choices != RunChoices{} || written == kSmallText + tail) << written;
    }
    ModelDocument zero = Read(kSmallText);
    zero.Correlations = {{"a", "b", 0}};
    EXPECT_EQ(ComposeModelText(zero), kSmallText);
}

// Texts are written with CR LF; each case also runs with LF and CR alone.
TEST(SectionStore, ReadsEveryCaseAlikeWithEachLineEndAndSplitsLines) {
    // The section name, the text, then what ExtractSection and ExtractSectionLine give.
    // clang-format off
    const std::tuple<const char*, std::string, std::string, std::string> cases[] = {
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
        {"Par1", "%Par10%\r\nten\r\n%/Par10%\r\n%Par1%\r\none\r\n%Par10%\r\n%/Par10%\r\n%/Par1%\r\n", "one\r\n%Par10%\r\n%/Par10%\r\n", "one"},
        {"Par0", "%Par0%\r\n%ParNombre%\r\nx\r\n%/ParNombre%\r\n%/Par0%\r\n", "%ParNombre%\r\nx\r\n%/ParNombre%\r\n", "%ParNombre%"},
        {"Titulo", "a\r\n%Titulo%\r\n", "", ""}, {"Titulo", "a\r\nb\r\n", "", ""}, {"Titulo", "", "", ""},
        {"Desc", "%Desc%\r\n\xB5m \xB1 0.1\r\n%/Desc%\r\n", "\xB5m \xB1 0.1\r\n", "\xB5m \xB1 0.1"},
        {"Desc", std::string("%Desc%\r\na\0b\r\n%/Desc%\r\n", 23), "a\r\n", "a"}};  // NUL ends it
    // clang-format on
    for (const auto& [name, text, section, line] : cases)
        for (const char* end : {"\r\n", "\n", "\r"}) {
            const std::string ended = Replace(text, "\r\n", end, true);
            EXPECT_EQ(std::make_pair(ExtractSection(name, ended), ExtractSectionLine(name, ended)),
                      std::make_pair(section, line))
                << ::testing::PrintToString(ended);
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

class ModelFileCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/corvanta-docXXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    fs::path folder_;
};

TEST_F(ModelFileCommands, WritesWholeFilesAndReportsTheRuntimeErrors) {
    ScriptedDialogs dialogs;
    ASSERT_TRUE(WriteModelFile(Path("m.cvm"), "an earlier and longer content", dialogs));
    ASSERT_TRUE(WriteModelFile(Path("m.cvm"), "%Titulo%\r\n\xB5\r\n", dialogs));
    EXPECT_EQ(ReadModelFile(Path("m.cvm"), dialogs), "%Titulo%\r\n\xB5\r\n");
    // A new file gets the usual permissions less the umask; a replaced one keeps its own.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    ASSERT_TRUE(WriteModelFile(Path("new.cvm"), "x", dialogs));
    fs::permissions(Path("m.cvm"), fs::perms(0640));
    ASSERT_TRUE(WriteModelFile(Path("m.cvm"), "y", dialogs));
    const auto mode = [this](const char* name) { return fs::status(Path(name)).permissions(); };
    EXPECT_EQ(std::make_pair(mode("new.cvm"), mode("m.cvm")),
              std::make_pair(fs::perms(0666u & ~mask), fs::perms(0640)));
    EXPECT_EQ(dialogs.Log, Log{});
    fs::create_directory(Path("sub.cvm"));
    const std::string no = Path("no/m.cvm"), sub = Path("sub.cvm"),
                      none = "\". No such file or directory";
    const std::tuple<std::string, bool, std::string> cases[] = {
        {no, true, "Cannot create file \"" + no + none},
        {sub, true, "Cannot create file \"" + sub + "\". Is a directory"},
        {"", true, "Cannot create file \"" + none},
        {no, false, "Cannot open file \"" + no + none},
        {sub, false, "Cannot open file \"" + sub + "\". Is a directory"},
        {"/dev/zero", false, "Cannot open file \"/dev/zero\". File too large"}};
    for (const auto& [path, write, text] : cases) {
        ScriptedDialogs shown;
        EXPECT_FALSE(write ? WriteModelFile(path, "x", shown)
                           : ReadModelFile(path, shown).has_value());
        EXPECT_EQ(shown.Log, (Log{{DialogKind::Message, text}}));
    }
    // No temporary file is left behind, whether the write worked or not.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 3);
}

// Open asks only with changes, naming the model, and goes on only once it is saved (Discard,
// Cancel and a save through the dialog are the window tests' changesQuestion).
TEST_F(ModelFileCommands, OpenAsksToSaveChangesOnlyWhenModifiedAndGoesOnOnlyOnceSaved) {
    const auto asks = [](const std::string& name) {
        return Shown{DialogKind::ConfirmSaveDiscardCancel, "Save changes to " + name + "?"};
    };
    const Shown cannot{DialogKind::Message, "Cannot create file \"" + Path("no/such.cvm") +
                                                "\". No such file or directory"};
    ModelDocument current;
    current.ModelText = "y = q";
    Strings calls;  // the save dialog is cancelled, the open dialog chooses the sample
    const ModelFileDialogs files{
        [&] { return calls.push_back("save"), std::optional<std::string>(); },
        [&] { return calls.push_back("open"), std::optional<std::string>(kAllKinds); }};
    // Modified, file name, calls, shown, opened; Save is the answer.
    const std::tuple<bool, std::string, Strings, Log, bool> cases[] = {
        {false, "", {"open"}, {}, true},
        {true, "", {"save"}, {asks("Untitled")}, false},
        {true, Path("no/such.cvm"), {}, {asks("such.cvm"), cannot}, false},
        {true, Path("model.cvm"), {"open"}, {asks("model.cvm")}, true}};
    for (const auto& [modified, fileName, called, shown, opened] : cases) {
        calls.clear();
        ScriptedDialogs dialogs;
        dialogs.Answers = {DialogAnswer::Save};
        const OpenOutcome outcome =
            OpenModel(current, fileName, modified, BuiltInTexts(), dialogs, files);
        SCOPED_TRACE(fileName);
        EXPECT_EQ(std::make_pair(calls, dialogs.Log), std::make_pair(called, shown));
        ASSERT_EQ(outcome.Opened.has_value(), opened);
        if (!opened) continue;
        EXPECT_EQ(outcome.Path, kAllKinds + std::string(".cvm"));
        EXPECT_EQ(outcome.Opened->Document.Parameters, AllKindsDocument().Parameters);
    }
    EXPECT_EQ(FileBytes(Path("model.cvm")), ComposeModelText(current));
    // A path gets the extension only when it has none.
    const std::pair<std::string, std::string> names[] = {
        {"/m/model", "/m/model.cvm"},     {"/m/model.cvm", "/m/model.cvm"},
        {"/m/model.txt", "/m/model.txt"}, {"/m.d/model", "/m.d/model.cvm"},
        {"model", "model.cvm"},           {"", ""}};
    for (const auto& [path, expected] : names)
        EXPECT_EQ(WithModelExtension(path), expected);
}

// Each line as its style marks ("*" bold, "/" italic, "[step]" size) before its text.
Strings Marked(const std::vector<ReportLine>& report) {
    Strings lines;
    for (const ReportLine& line : report)
        lines.push_back(std::string(line.Bold ? "*" : "") + (line.Italic ? "/" : "") +
                        (line.SizeStep ? "[" + std::to_string(line.SizeStep) + "]" : "") +
                        line.Text);
    return lines;
}

ReportTexts EnglishTexts() {
    ReportTexts t;
    SetReportLabels(CaptionTable::BuiltIn(), t);
    t.Title = t.TitlePlaceholder = "Type the title of simulation project";
    t.Description = t.DescriptionPlaceholder = "Enter project description and notes here";
    t.SimulationChoices = {"Normal", "t (Student)"};
    t.ModeChoices = {"Direct", "Indirect SX", "Indirect SXXS", "Indirect X/S", "Indirect SXS"};
    return t;
}

TEST(ResultsReport, NamesEveryDistributionWithItsValueLabels) {
    ReportTexts t = EnglishTexts();
    const Strings expected =
        Texts("||", "Normal (Gaussian)|Mean|Standard Deviation",
              "Rectangular (Uniform)|Mean|half-width of the interval",
              "Triangular|Mean|half-width of the interval", "Constant|Value|", "Gamma|Form|",
              "Exponential||", "Beta|a|b", "Student t|Degrees of freedom|Mean (optional)",
              "Poisson|Mean (lambda)|", "Binomial|n|p", "NegBinomial|n|p", "VonMisses|k|",
              "Cauchy||", "Weibull|Form (k)|", "XiCuadrado|Degrees of freedom|",
              "LogNormal|Mean|Standard Deviation", "Experimental (Normal) - Direct||",
              "Interim Result|Value|", "Result|Value|", "U-shaped (arcsine)|Midpoint|Half-width|",
              "Trapezoidal|Midpoint|Half-width|Top to base ratio (beta)",
              "Curvilinear trapezoid|Midpoint|Half-width|Inexactness of the limits (d)",
              "Triangular (asymmetric)|Mode|Lower limit|Upper limit", "||");
    for (std::size_t kind = 0; kind < expected.size(); ++kind) {
        ReportDistribution d = DescribeDistribution(static_cast<std::int32_t>(kind), t);
        EXPECT_EQ(d.Name + "|" + d.FirstLabel + "|" + d.SecondLabel +
                      (kind >= 20 && kind <= 23 ? "|" + d.ThirdLabel : ""),
                  expected[kind]);
    }
    t.SelectedSimulation = 1;
    t.SelectedMode = 4;
    EXPECT_EQ(DescribeDistribution(17, t).Name, "Experimental (t (Student)) - Indirect SXS");
    t.SelectedMode = -1;
    EXPECT_EQ(DescribeDistribution(17, t).Name, "Experimental (t (Student))");
}

TEST(ResultsReport, ComposesTheWholeReportWithItsStyles) {
    ReportTexts t = EnglishTexts();
    t.Title = "Calibraci\xF3n de masa";
    t.Description = "line one\r\nline two";
    t.ModelText = "y = a + c\r\n";
    t.UnitCells = {"kg", "", "", "\xB5g"};
    t.DescriptionCells = {"output", "", "", "drift"};
    t.SelectedMode = 1;
    t.ResultRows = {{"Mean", "10.2"}};
    t.Label12 = "Normality test (Jarque - Bera)  =  0.5   (fit)";
    t.Label56 = "Result =";
    t.ResultadoRes = "10.2";
    t.Label60 = "Confidence interval (p = 95%): [ 9.9 , 10.5 ]";
    t.Label28 = "GUM format: 10.2 \xB1 0.3 kg";
    // A Type B input's degrees of freedom print only when given; only nonzero coefficients print.
    const ParameterList q = {Q("y|19|stale"), Q("a|1|5|0.1"), Q("t|21|1|2|0.4|12"),
                             Q("c|17|1|0|Normal|0|SX\r\n1\r2\r\n")};
    const Strings lines = Marked(ComposeReport(t, q, {{"a", "c", 0}, {"c", "a", -0.25}}));
    EXPECT_EQ(
        lines,
        Texts("[1]CALIBRACI\xF3N DE MASA",
              "/[-1]Monte Carlo Simulation Powered by Corvanta \"Torvo\"", "*",
              "*TECHNICAL DESCRIPTION", "line one", "line two", "*", "*EQUATIONS GROUP",
              "y = a + c", "*", "* PARAMETER", "*", "*>> y", "* Units: kg", "* Description: output",
              "*Distribution of simulation: Result", "*Value = 10.2", "*", "*>> a",
              "* Units: ", "* Description: ", "*Distribution of simulation: Normal (Gaussian)",
              "*Mean = 5", "*Standard Deviation = 0.1", "*", "*>> t",
              "* Units: ", "* Description: ", "*Distribution of simulation: Trapezoidal",
              "*Midpoint = 1", "*Half-width = 2", "*Top to base ratio (beta) = 0.4",
              "*Degrees of freedom = 12", "*", "*>> c", "* Units: \xB5g", "* Description: drift",
              "*Distribution of simulation: Experimental (Normal) - Indirect SX", "*SX", "*1", "*2",
              "*", "*Correlations", "r(c, a) = -0.25", "", "*", "*RESULTS", "*", "Mean = 10.2",
              "Normality test (Jarque - Bera)  =  0.5   (fit)", "Result = 10.2",
              "Confidence interval (p = 95%): [ 9.9 , 10.5 ]", "",
              "*GUM format: 10.2 \xB1 0.3 kg"));
    // At the placeholders: "UNNAMED PROJECT" and no description section.
    Strings start = Marked(ComposeReport(EnglishTexts(), {}));
    start.resize(4);
    EXPECT_EQ(start, Texts("[1]UNNAMED PROJECT", lines[1], "*", "*EQUATIONS GROUP"));
    // Readings print only under a distribution name holding a real page title.
    t.TabSheet22 = "";
    EXPECT_EQ(ComposeReport(t, q, {{"a", "c", 0}}).size(), lines.size() - 6);
}

// Every figure of the page with its digits, or why it is missing.
TEST(GumPage, FiguresWithTheirDigitsUndeterminedNotApplicableAndNotAvailable) {
    const MessageTexts& texts = BuiltInTexts();
    const GumPageTexts before = FormatGumPage(std::nullopt, std::nullopt, 2, 2, "", texts);
    EXPECT_EQ(
        Texts(before.Combined, before.Verdict),
        Texts("Combined standard uncertainty u_c = " + texts.Indetermined, texts.Indetermined));
    GumResult gum;
    gum.Reason = "x has no variance";
    const GumPageTexts refused = FormatGumPage(gum, std::nullopt, 2, 2, "", texts);
    EXPECT_EQ(Texts(refused.Combined, refused.Verdict),
              Texts("Combined standard uncertainty u_c = not applicable",
                    "not applicable: x has no variance"));
    gum.Applicable = true;
    gum.Estimate = 100.01234567L;
    gum.CombinedUncertainty = 0.053851648L;
    gum.SecondOrderUncertainty = 0.0749666L;
    gum.CoverageFactor = 1.959964L;
    gum.ExpandedUncertainty = 0.10554727L;
    gum.Low = 99.906798L;
    gum.High = 100.1178923L;
    gum.Budget = {{"mRc", 100000.0123L, 0.05L, 1, 0.05L, 86.24L, kInfiniteDegrees},
                  {"d", 1.2345678L, 0.02L, -1, 0.02L, 13.76L, 12}};
    const GumPageTexts page =
        FormatGumPage(gum, Validation{2, 0.0005L, 0.00012L, 0.00071L, false}, 2, 2, " mg", texts);
    Strings shown = {page.Estimate, page.Combined, page.SecondOrder, page.Degrees, page.Factor,
                     page.Expanded, page.Interval, page.Differences, page.Verdict};
    for (const auto& row : page.Rows)
        shown.insert(shown.end(), row.begin(), row.end());
    // clang-format off
    EXPECT_EQ(shown, Texts("Estimate y = 100.0123 mg", "Combined standard uncertainty u_c = 0.05385",
        "With second-order terms u_c = 0.07497", "Effective degrees of freedom = infinite",
        "Coverage factor k = 1.96", "Expanded uncertainty U = 0.1055",
        "GUM interval (p = 95%): [ 99.9068 , 100.1179 ]",
        "tolerance = 0.0005, d_low = 0.00012, d_high = 0.00071",
        "not validated: the GUM interval differs from the Monte Carlo interval by more than the tolerance",
        "mRc", "100000", "0.05", "1", "0.05", "86.2", "infinite", "d", "1.23457", "0.02", "-1", "0.02", "13.8", "12"));
    // clang-format on
    // With correlated inputs what is not known says so, each on its own; an agreement says so.
    gum.EffectiveDegreesOfFreedom = 12;
    gum.SecondOrderAvailable = false;
    const GumPageTexts p = FormatGumPage(gum, Validation{2, 0, 0, 0, true}, 2, 2, "", texts);
    const std::string correlated = "not available: correlated inputs";
    EXPECT_EQ(
        Texts(p.SecondOrder, p.Degrees, p.Verdict),
        Texts("With second-order terms u_c = " + correlated, "Effective degrees of freedom = 12",
              "validated: the GUM interval agrees with the Monte Carlo interval within the "
              "tolerance"));
    gum.DegreesAvailable = false;
    EXPECT_EQ(FormatGumPage(gum, std::nullopt, 2, 2, "", texts).Degrees,
              "Effective degrees of freedom = " + correlated);
    // The values export: one a line, with the point.
    EXPECT_EQ(ValuesText({0.1, 1.5e-5, -2, 123456.789}), "0.1\r\n1.5E-5\r\n-2\r\n123456.789\r\n");
    EXPECT_EQ(ValuesText({}), "");
}

// Each sample saved again gives its bytes back; its experimental records hold what Apply gives.
TEST(ShippedSamples, AreWhatTheProgramWrites) {
    for (const auto& file : fs::directory_iterator(CORVANTA_SOURCE_DIR "/samples")) {
        if (file.path().extension() != ".cvm") continue;
        const std::string path = file.path().string();
        SCOPED_TRACE(path);
        ScriptedDialogs dialogs;
        const auto text = ReadModelFile(path, dialogs);
        const auto opened = Open(text.value_or(""), dialogs, path);
        ASSERT_TRUE(opened);
        EXPECT_EQ(ComposeModelText(opened->Document), *text);
        for (const ModelParameter& record : opened->Document.Parameters) {
            if (record.Kind() != DistributionKind::Experimental) continue;
            const auto mode = ReadingModeFromKeyword(ParseReadings(record.Lecturas).Keyword);
            const ExperimentalEntry entry{
                .Mode = mode.value(), .Table = record.Lecturas, .Student = record.b == "Student"};
            const auto applied = ApplyExperimental(entry, record, BuiltInTexts(), dialogs);
            ASSERT_TRUE(applied) << record.Nombre;
            EXPECT_EQ(std::tie(applied->Valor, applied->a, applied->b, applied->Grados),
                      std::tie(record.Valor, record.a, record.b, record.Grados))
                << record.Nombre;
        }
        EXPECT_TRUE(dialogs.Log.empty());
    }
}

}  // namespace
}  // namespace corvanta
