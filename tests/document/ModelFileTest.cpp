#include "document/ModelFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ModelFixtures.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

using testing::AllKindsDocument;
using testing::Quantity;
using testing::ScriptedDialogs;
using Shown = ScriptedDialogs::Shown;

const MessageTexts& Texts() {
    static const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    return texts;
}

ModelDocument SmallDocument() {
    ModelDocument d;
    d.Title = "Mass";
    d.Description = "first description line\r\nsecond description line\r\n";
    d.ModelText = "y = a + b\r\n";
    d.Parameters = {Quantity("y", 19), Quantity("a", 1, "10", "0.1"), Quantity("b", 4, "2")};
    d.Parameters[1].Unidad = "kg";
    d.Parameters[1].Desc = "the mass";
    d.Parameters[1].Sensib = 0.5;
    d.Parameters[2].Sensib = 1E-6;
    return d;
}

std::string Record(int i, const std::string& fields) {
    std::string n = std::to_string(i);
    return "%Par" + n + "%\r\n" + fields + "%/Par" + n + "%\r\n";
}

std::string Fields(const std::string& name, const std::string& unit, const std::string& desc,
                   const std::string& distrib, const std::string& valor, const std::string& a,
                   const std::string& init, const std::string& sensib) {
    return "%ParNombre%\r\n" + name + "\r\n%/ParNombre%\r\n%ParUnidad%\r\n" + unit +
           "\r\n%/ParUnidad%\r\n%ParDesc%\r\n" + desc + "\r\n%/ParDesc%\r\n%ParDistrib%\r\n" +
           distrib + "\r\n%/ParDistrib%\r\n%ParValor%\r\n" + valor +
           "\r\n%/ParValor%\r\n%ParLecturas%\r\n\r\n%/ParLecturas%\r\n%Par_a%\r\n" + a +
           "\r\n%/Par_a%\r\n%Par_b%\r\n\r\n%/Par_b%\r\n%ParGrados%\r\n\r\n%/ParGrados%\r\n"
           "%ParInit%\r\n" +
           init + "\r\n%/ParInit%\r\n%ParSensib%\r\n" + sensib + "\r\n%/ParSensib%\r\n";
}

const std::string kSmallText =
    "%Titulo%\r\nMass\r\n%/Titulo%\r\n"
    "%Desc%\r\nfirst description line\r\nsecond description line\r\n%/Desc%\r\n"
    "%Modelo%\r\ny = a + b\r\n%/Modelo%\r\n" +
    Record(0, Fields("y", "", "", "19", "", "", "T", "0")) +
    Record(1, Fields("a", "kg", "the mass", "1", "10", "0.1", "T", "0.5")) +
    Record(2, Fields("b", "", "", "4", "2", "", "T", "1E-6"));

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::optional<OpenedModel> Open(const std::string& text, ScriptedDialogs& dialogs) {
    return ApplyModelText(text, "/models/m.cvm", Texts(), dialogs);
}

TEST(ModelFile, ComposesEveryFieldInOrderWithCrLf) {
    EXPECT_EQ(ComposeModelText(SmallDocument()), kSmallText);
}

TEST(ModelFile, ComposesEdgeValues) {
    ModelDocument d;
    EXPECT_EQ(ComposeModelText(d),
              "%Titulo%\r\n\r\n%/Titulo%\r\n%Desc%\r\n%/Desc%\r\n%Modelo%\r\n%/Modelo%\r\n");
    d.Title = "a\r\nb";  // a one-line field never spills out of its section
    d.Description = std::string("x\0y\nz", 5);
    d.ModelText = "y = a\n\ny = b";
    EXPECT_EQ(ComposeModelText(d),
              "%Titulo%\r\na  b\r\n%/Titulo%\r\n%Desc%\r\nx y\r\nz\r\n%/Desc%\r\n"
              "%Modelo%\r\ny = a\r\n\r\ny = b\r\n%/Modelo%\r\n");

    struct SensibCase {
        double Value;
        const char* Text;
    };
    for (SensibCase c : {SensibCase{0.5, "0.5"},
                         {1.0 / 3.0, "0.333333333333333"},
                         {1E-5, "1E-5"},
                         {2.5E15, "2.5E15"},
                         {0.0001, "0.0001"},
                         {-0.0, "0"},
                         {1.0 / 0.0, "0"},
                         {std::nan(""), "0"},
                         {DBL_MAX, "1.79769313486232E308"},
                         {4.9E-324, "4.94065645841247E-324"}}) {
        ModelDocument one;
        one.Parameters = {Quantity("y", 19)};
        one.Parameters[0].Sensib = c.Value;
        std::string text = ComposeModelText(one);
        EXPECT_NE(text.find("%ParSensib%\r\n" + std::string(c.Text) + "\r\n%/ParSensib%"),
                  std::string::npos)
            << c.Text;
    }
}

TEST(ModelFile, OpensWhatItComposed) {
    ScriptedDialogs dialogs;
    std::optional<OpenedModel> opened = Open(kSmallText, dialogs);
    ASSERT_TRUE(opened);
    EXPECT_EQ(dialogs.Log, std::vector<Shown>{});
    EXPECT_EQ(opened->Document.Title, "Mass");
    EXPECT_EQ(opened->Document.Description,
              "first description line\r\nsecond description line\r\n");
    EXPECT_EQ(opened->Document.Parameters, SmallDocument().Parameters);
    EXPECT_TRUE(opened->ParametersReady);
    EXPECT_FALSE(opened->PostfixExpression.empty());
    EXPECT_EQ(ComposeModelText(opened->Document), kSmallText);
}

TEST(ModelFile, EveryKindOfQuantitySurvivesComposeApplyCompose) {
    ModelDocument document = AllKindsDocument();
    std::string first = ComposeModelText(document);
    ScriptedDialogs dialogs;
    std::optional<OpenedModel> opened = Open(first, dialogs);
    ASSERT_TRUE(opened) << (dialogs.Log.empty() ? "" : dialogs.Log.back().Text);
    EXPECT_EQ(opened->Document.Title, document.Title);
    EXPECT_EQ(opened->Document.Description, document.Description);
    EXPECT_EQ(opened->Document.Parameters, document.Parameters);
    EXPECT_FALSE(opened->ParametersReady);  // m has no distribution yet
    EXPECT_EQ(ComposeModelText(opened->Document), first);

    // The stored sample is exactly what the writer produces.
    std::ifstream sample(CORVANTA_SOURCE_DIR "/samples/roundtrip-all-kinds.cvm", std::ios::binary);
    std::string stored((std::istreambuf_iterator<char>(sample)), std::istreambuf_iterator<char>());
    EXPECT_EQ(stored, first);
}

TEST(ModelFile, OpensTheSameWhateverTheLineEnds) {
    std::string crlf = ComposeModelText(AllKindsDocument());
    ScriptedDialogs dialogs;
    std::optional<OpenedModel> reference = Open(crlf, dialogs);
    ASSERT_TRUE(reference);
    struct Variant {
        const char* Label;
        std::string Text;
    };
    const std::vector<Variant> variants = {
        {"LF for CR LF, cells still split by CR", ReplaceAll(crlf, "\r\n", "\n")},
        {"LF only", ReplaceAll(ReplaceAll(crlf, "\r\n", "\n"), "\r", "\n")},
        {"CR only", ReplaceAll(crlf, "\r\n", "\r")},
        {"no line end after the last tag", crlf.substr(0, crlf.size() - 2)},
    };
    for (const Variant& v : variants) {
        std::optional<OpenedModel> opened = Open(v.Text, dialogs);
        ASSERT_TRUE(opened) << v.Label;
        EXPECT_EQ(opened->Document, reference->Document) << v.Label;
    }
    EXPECT_EQ(dialogs.Log, std::vector<Shown>{});
}

TEST(ModelFile, ReadingsKeepTheirLineEndsAcrossSaves) {
    // Section bodies as files hold them, earlier versions included, and the
    // readings they stand for.
    struct Case {
        const char* Label;
        std::string Body;
        std::string Readings;
    };
    const std::vector<Case> cases = {
        {"empty", "\r\n", ""},
        {"no line at all", "", ""},
        {"empty, grown by two earlier saves", "\r\n\r\n\r\n", ""},
        {"as written now", "SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n\r\n", testing::kSXReadings},
        {"cells on lines of their own", "SX\r\n10.0\r\n10.2\r\n10.0\r\n10.3\r\n\r\n",
         testing::kSXReadings},
        {"grown by earlier saves", "SX\r\n10.0\r\n10.2\r\n10.0\r\n10.3\r\n\r\n\r\n\r\n",
         testing::kSXReadings},
        {"four cells a row", "SXXS\r\n1\r\n2\r\n3\r\n4\r\n5\r6\r7\r8\r\n\r\n",
         "SXXS\r\n1\r2\r3\r4\r\n5\r6\r7\r8\r\n"},
        {"one cell a row", "Directa\r\n1\r\n&\r\n\r\n\r\n", "Directa\r\n1\r\n&\r\n"},
        {"cells that do not fill the rows stay as they are", "SXS\r\n1\r\n2\r\n\r\n",
         "SXS\r\n1\r\n2\r\n"},
        {"blanks between cells stay as they are", "SX\r\n1 2\r\n\r\n", "SX\r\n1 2\r\n"},
        {"an unknown first line stays as it is", "notes\r\n\r\nmore\r\n", "notes\r\n\r\nmore"},
    };
    for (const Case& c : cases) {
        std::string text = Replace(kSmallText, "%ParLecturas%\r\n\r\n%/ParLecturas%",
                                   "%ParLecturas%\r\n" + c.Body + "%/ParLecturas%");
        ScriptedDialogs dialogs;
        std::optional<OpenedModel> opened = Open(text, dialogs);
        ASSERT_TRUE(opened) << c.Label;
        EXPECT_EQ(opened->Document.Parameters[0].Lecturas, c.Readings) << c.Label;
        // From then on saving and opening changes nothing.
        std::string saved = ComposeModelText(opened->Document);
        std::optional<OpenedModel> again = Open(saved, dialogs);
        ASSERT_TRUE(again) << c.Label;
        EXPECT_EQ(ComposeModelText(again->Document), saved) << c.Label;
    }
}

TEST(ModelFile, ConvertsFieldsAsRead) {
    struct Case {
        std::string Init;
        bool Expected;
    };
    for (const Case& c : {Case{"T", true},
                          {"F", false},
                          {"t", false},
                          {"True", false},
                          {"", false},
                          {"T ", false}}) {
        std::string text =
            Replace(kSmallText, "%ParInit%\r\nT\r\n%/ParInit%\r\n%ParSensib%\r\n0.5",
                    "%ParInit%\r\n" + c.Init + "\r\n%/ParInit%\r\n%ParSensib%\r\n0.5");
        ScriptedDialogs dialogs;
        std::optional<OpenedModel> opened = Open(text, dialogs);
        ASSERT_TRUE(opened) << c.Init;
        EXPECT_EQ(opened->Document.Parameters[1].Init, c.Expected) << c.Init;
        EXPECT_EQ(opened->ParametersReady, c.Expected) << c.Init;
    }
    std::string spaced = Replace(kSmallText, "%ParDistrib%\r\n1\r\n", "%ParDistrib%\r\n  +1\r\n");
    spaced = Replace(spaced, "%ParSensib%\r\n0.5\r\n", "%ParSensib%\r\n 5e-1 \r\n");
    ScriptedDialogs dialogs;
    std::optional<OpenedModel> opened = Open(spaced, dialogs);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->Document.Parameters[1].Distrib, 1);
    EXPECT_EQ(opened->Document.Parameters[1].Sensib, 0.5);

    struct SensibCase {
        const char* Text;
        double Value;
    };
    for (SensibCase c : {SensibCase{"1.79769313486232E308", DBL_MAX},
                         {"-1.79769313486232E308", -DBL_MAX},
                         {"4.94065645841247E-324", 4.9E-324},
                         {"0.333333333333333", 0.333333333333333}}) {
        std::string text = Replace(kSmallText, "%ParSensib%\r\n0.5\r\n",
                                   "%ParSensib%\r\n" + std::string(c.Text) + "\r\n");
        std::optional<OpenedModel> read = Open(text, dialogs);
        ASSERT_TRUE(read) << c.Text;
        EXPECT_EQ(read->Document.Parameters[1].Sensib, c.Value) << c.Text;
    }
    EXPECT_EQ(dialogs.Log, std::vector<Shown>{});
}

TEST(ModelFile, TagLinesInsideTheDescriptionAreText) {
    ModelDocument d = SmallDocument();
    d.Title = "%Desc%";
    d.Description = "%Modelo%\r\n%Par0%\r\n%ParNombre%\r\nq\r\n%/Modelo%\r\n";
    d.Parameters[1].Unidad = "%Par2%";
    d.Parameters[2].Desc = "%/Par1%";
    ScriptedDialogs dialogs;
    std::optional<OpenedModel> opened = Open(ComposeModelText(d), dialogs);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->Document.Title, d.Title);
    EXPECT_EQ(opened->Document.Description, d.Description);
    EXPECT_EQ(opened->Document.Parameters, d.Parameters);
}

TEST(ModelFile, ModelWithoutQuantities) {
    ModelDocument d;
    d.Title = "";
    std::string text = ComposeModelText(d);
    ASSERT_GE(text.size(), 11u);
    EXPECT_EQ(text.substr(text.size() - 11), "%/Modelo%\r\n");
    ScriptedDialogs dialogs;
    std::optional<OpenedModel> opened = Open(text, dialogs);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->Document, ModelDocument{});
    EXPECT_TRUE(opened->ParametersReady);
    EXPECT_EQ(opened->PostfixExpression, "");
}

TEST(ModelFile, RefusesIncompleteOrMismatchedFilesNamingThem) {
    const std::string incomplete = "The file \"/models/m.cvm\" is not a complete model file: ";
    const std::string mismatch = "The file \"/models/m.cvm\" does not match its model: ";
    const std::string par1 = "%Par1%\r\n%ParNombre%\r\na\r\n";
    struct Case {
        const char* Label;
        std::string Text;
        Shown Expected;
    };
    const std::vector<Case> cases = {
        {"title closing tag",
         Replace(kSmallText, "%/Titulo%\r\n", ""),
         {DialogKind::Error, incomplete + "the tag \"%/Titulo%\" is missing."}},
        {"title without value",
         Replace(kSmallText, "Mass\r\n", ""),
         {DialogKind::Error, incomplete + "the tag \"%Titulo%\" has no value line."}},
        {"no title at all",
         Replace(kSmallText, "%Titulo%\r\nMass\r\n%/Titulo%\r\n", ""),
         {DialogKind::Error, incomplete + "the tag \"%Titulo%\" is missing."}},
        {"description tag",
         Replace(kSmallText, "%Desc%\r\n", ""),
         {DialogKind::Error, incomplete + "the tag \"%Desc%\" is missing."}},
        {"equations closing tag",
         Replace(kSmallText, "%/Modelo%\r\n", ""),
         {DialogKind::Error, incomplete + "the tag \"%/Modelo%\" is missing."}},
        {"name without value",
         Replace(kSmallText, "%ParNombre%\r\ny\r\n", "%ParNombre%\r\n"),
         {DialogKind::Error,
          incomplete + "the tag \"%ParNombre%\" in record \"%Par0%\" has no value line."}},
        {"value line is the next tag",
         Replace(kSmallText, "%Par_b%\r\n\r\n", "%Par_b%\r\n"),
         {DialogKind::Error,
          incomplete + "the tag \"%Par_b%\" in record \"%Par0%\" has no value line."}},
        {"field missing",
         Replace(kSmallText, "%ParGrados%\r\n\r\n%/ParGrados%\r\n", ""),
         {DialogKind::Error,
          incomplete + "the tag \"%ParGrados%\" in record \"%Par0%\" is missing."}},
        {"field closing tag",
         Replace(kSmallText, "%/ParUnidad%\r\n", ""),
         {DialogKind::Error,
          incomplete + "the tag \"%/ParUnidad%\" in record \"%Par0%\" is missing."}},
        {"readings closing tag",
         Replace(kSmallText, "%/ParLecturas%\r\n", ""),
         {DialogKind::Error,
          incomplete + "the tag \"%/ParLecturas%\" in record \"%Par0%\" is missing."}},
        {"record closing tag",
         Replace(kSmallText, "%/Par1%\r\n", ""),
         {DialogKind::Error, incomplete + "the tag \"%/Par1%\" is missing."}},
        {"distribution not an integer",
         Replace(kSmallText, "%ParDistrib%\r\n4\r\n", "%ParDistrib%\r\n4.0\r\n"),
         {DialogKind::Message, "'4.0' is not a valid integer value"}},
        {"distribution out of range",
         Replace(kSmallText, "%ParDistrib%\r\n4\r\n", "%ParDistrib%\r\n20\r\n"),
         {DialogKind::Error,
          "The file \"/models/m.cvm\" is not a valid model file: the distribution number 20 in "
          "record \"%Par2%\" is not one of 0 to 19."}},
        {"contribution with a comma",
         Replace(kSmallText, "%ParSensib%\r\n0.5\r\n", "%ParSensib%\r\n0,5\r\n"),
         {DialogKind::Message, "'0,5' is not a valid floating point value"}},
        {"contribution beyond double",
         Replace(kSmallText, "%ParSensib%\r\n0.5\r\n", "%ParSensib%\r\n1E400\r\n"),
         {DialogKind::Message, "'1E400' is not a valid floating point value"}},
        {"record renamed",
         Replace(kSmallText, par1, "%Par1%\r\n%ParNombre%\r\nq\r\n"),
         {DialogKind::Error, mismatch + "record \"%Par1%\" is for \"q\", but quantity 2 of its "
                                        "equations is \"a\"."}},
        {"records in another order",
         Replace(Replace(kSmallText, par1, "%Par1%\r\n%ParNombre%\r\nb\r\n"),
                 "%Par2%\r\n%ParNombre%\r\nb\r\n", "%Par2%\r\n%ParNombre%\r\na\r\n"),
         {DialogKind::Error, mismatch + "record \"%Par1%\" is for \"b\", but quantity 2 of its "
                                        "equations is \"a\"."}},
        {"one record too many",
         kSmallText + Record(3, Fields("c", "", "", "1", "1", "1", "T", "0")),
         {DialogKind::Error,
          mismatch + "it holds 4 quantity records, but its equations have 3 quantities."}},
        {"records gone",
         kSmallText.substr(0, kSmallText.find("%Par0%")),
         {DialogKind::Error,
          mismatch + "it holds 0 quantity records, but its equations have 3 quantities."}},
        {"a gap in the numbering",
         ReplaceAll(kSmallText, "Par1%", "Par7%"),
         {DialogKind::Error,
          mismatch + "it holds 1 quantity records, but its equations have 3 quantities."}},
        {"records without equations",
         Replace(kSmallText, "y = a + b\r\n", " \r\n\r\n"),
         {DialogKind::Error,
          mismatch + "it holds 3 quantity records, but its equations have 0 quantities."}},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        EXPECT_FALSE(Open(c.Text, dialogs)) << c.Label;
        EXPECT_EQ(dialogs.Log, std::vector<Shown>{c.Expected}) << c.Label;
    }
}

TEST(ModelFile, RefusesEquationsThatUpdateParametersRejects) {
    std::string text = Replace(kSmallText, "y = a + b\r\n", "y = a\r\nz = b\r\n");
    ScriptedDialogs dialogs;
    EXPECT_FALSE(Open(text, dialogs));
    ASSERT_FALSE(dialogs.Log.empty());
    EXPECT_EQ(dialogs.Log.back(), (Shown{DialogKind::Error,
                                         "The file \"/models/m.cvm\" cannot be opened: its "
                                         "equations do not form a valid model."}));
}

// A fresh folder for the file tests, removed afterwards.
class ModelFileOnDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/corvanta-docXXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    std::string Contents(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path folder_;
};

TEST_F(ModelFileOnDisk, WritesWholeFilesAndLeavesNothingElse) {
    ScriptedDialogs dialogs;
    std::string path = Path("m.cvm");
    ASSERT_TRUE(WriteModelFile(path, "old content that is longer", dialogs));
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteModelFile(path, kSmallText, dialogs));
    EXPECT_EQ(Contents(path), kSmallText);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(Names(), std::vector<std::string>{"m.cvm"});
    std::optional<std::string> read = ReadModelFile(path, dialogs);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, kSmallText);
    EXPECT_EQ(dialogs.Log, std::vector<Shown>{});
}

TEST_F(ModelFileOnDisk, ReportsTheRuntimeFileErrors) {
    std::string missingFolder = Path("no/such/m.cvm");
    std::filesystem::create_directory(Path("sub.cvm"));
    struct Case {
        std::string Path;
        bool Write;
        std::string Text;
    };
    const std::vector<Case> cases = {
        {missingFolder, /*Write=*/true,
         "Cannot create file \"" + missingFolder + "\". No such file or directory"},
        {Path("sub.cvm"), true, "Cannot create file \"" + Path("sub.cvm") + "\". Is a directory"},
        {"", true, "Cannot create file \"\". No such file or directory"},
        {missingFolder, false,
         "Cannot open file \"" + missingFolder + "\". No such file or directory"},
        {Path("sub.cvm"), false, "Cannot open file \"" + Path("sub.cvm") + "\". Is a directory"},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        if (c.Write) {
            EXPECT_FALSE(WriteModelFile(c.Path, "x", dialogs)) << c.Path;
        } else {
            EXPECT_FALSE(ReadModelFile(c.Path, dialogs)) << c.Path;
        }
        const Shown shown{DialogKind::Message, c.Text};
        EXPECT_EQ(dialogs.Log, std::vector<Shown>{shown}) << c.Path;
    }
    EXPECT_EQ(Names(), std::vector<std::string>{"sub.cvm"});
}

TEST_F(ModelFileOnDisk, LeavesAReadOnlyFileAlone) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write any file";
    std::string path = Path("locked.cvm");
    ScriptedDialogs dialogs;
    ASSERT_TRUE(WriteModelFile(path, "kept", dialogs));
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(WriteModelFile(path, "lost", dialogs));
    EXPECT_EQ(Contents(path), "kept");
    const Shown refused{DialogKind::Message,
                        "Cannot create file \"" + path + "\". Permission denied"};
    EXPECT_EQ(dialogs.Log, std::vector<Shown>{refused});
}

// The window's two file dialogs, answering from a script and logging each
// call.
struct FakeFileDialogs {
    std::vector<std::optional<std::string>> SaveAnswers, OpenAnswers;
    std::vector<std::string> Calls;

    ModelFileDialogs Dialogs() {
        return {[this] { return Next("save", SaveAnswers); },
                [this] { return Next("open", OpenAnswers); }};
    }
    std::optional<std::string> Next(const char* which,
                                    std::vector<std::optional<std::string>>& answers) {
        Calls.push_back(which);
        if (answers.empty()) throw std::logic_error(std::string("unscripted ") + which + " dialog");
        std::optional<std::string> answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
};

TEST_F(ModelFileOnDisk, SaveAsksForANameOnceThenWritesSilently) {
    FakeFileDialogs files;
    files.SaveAnswers = {Path("first")};
    ScriptedDialogs dialogs;
    ModelDocument d = SmallDocument();
    SaveOutcome first = SaveModel(d, "", Texts(), dialogs, files.Dialogs());
    EXPECT_TRUE(first.Written);
    EXPECT_EQ(first.FileName, Path("first.cvm"));
    EXPECT_EQ(first.WindowCaption, " Corvanta - " + Path("first.cvm"));
    EXPECT_EQ(Contents(Path("first.cvm")), kSmallText);

    d.Title = "Changed";
    SaveOutcome second = SaveModel(d, first.FileName, Texts(), dialogs, files.Dialogs());
    EXPECT_TRUE(second.Written);
    EXPECT_EQ(second.FileName, first.FileName);
    EXPECT_EQ(second.WindowCaption, std::nullopt);
    EXPECT_EQ(Contents(Path("first.cvm")), ComposeModelText(d));
    EXPECT_EQ(files.Calls, std::vector<std::string>{"save"});
    EXPECT_EQ(dialogs.Log, std::vector<Shown>{});
}

TEST_F(ModelFileOnDisk, SaveAsOntoAnExistingFileAsksFirst) {
    std::string path = Path("m.cvm");
    ScriptedDialogs setup;
    ASSERT_TRUE(WriteModelFile(path, "earlier", setup));
    const Shown question{
        DialogKind::ConfirmOkCancel,
        "The file " + path + " already exists. Do you want to overwrite with updated model?"};
    struct Case {
        DialogAnswer Answer;
        bool Written;
    };
    for (Case c : {Case{DialogAnswer::Cancel, false}, Case{DialogAnswer::Ok, true}}) {
        FakeFileDialogs files;
        files.SaveAnswers = {path};
        ScriptedDialogs dialogs;
        dialogs.Answers = {c.Answer};
        SaveOutcome outcome = SaveModelAs(SmallDocument(), Texts(), dialogs, files.Dialogs());
        EXPECT_EQ(outcome.Written, c.Written);
        EXPECT_EQ(outcome.WindowCaption.has_value(), c.Written);
        EXPECT_EQ(Contents(path), c.Written ? kSmallText : "earlier");
        EXPECT_EQ(dialogs.Log, std::vector<Shown>{question});
    }
    FakeFileDialogs cancelled;
    cancelled.SaveAnswers = {std::nullopt};
    ScriptedDialogs dialogs;
    EXPECT_FALSE(SaveModelAs(SmallDocument(), Texts(), dialogs, cancelled.Dialogs()).Written);
    EXPECT_EQ(dialogs.Log, std::vector<Shown>{});
}

TEST_F(ModelFileOnDisk, OpenAsksToSaveOnlyWithEquations) {
    ScriptedDialogs setup;
    ASSERT_TRUE(WriteModelFile(Path("m.cvm"), kSmallText, setup));
    const Shown saveQuestion{DialogKind::ConfirmYesNoCancel, "Save model?"};
    struct Case {
        const char* Label;
        std::string Equations;
        std::vector<DialogAnswer> Answers;
        std::vector<std::optional<std::string>> SaveAnswers;
        std::vector<std::string> Calls;
        bool Opened;
    };
    const std::vector<Case> cases = {
        {"empty equations: no question", "", {}, {}, {"open"}, true},
        {"No: straight to the file", "y = q", {DialogAnswer::No}, {}, {"open"}, true},
        {"Cancel: nothing", "y = q", {DialogAnswer::Cancel}, {}, {}, false},
        {"Yes without a file name, save dialog cancelled",
         "y = q",
         {DialogAnswer::Yes},
         {std::nullopt},
         {"save", "open"},
         true},
        {"Yes, saved under a new name",
         "y = q",
         {DialogAnswer::Yes},
         {Path("saved")},
         {"save", "open"},
         true},
    };
    for (const Case& c : cases) {
        FakeFileDialogs files;
        files.SaveAnswers = c.SaveAnswers;
        files.OpenAnswers = {Path("m")};
        ScriptedDialogs dialogs;
        dialogs.Answers.assign(c.Answers.begin(), c.Answers.end());
        ModelDocument current;
        current.ModelText = c.Equations;
        OpenOutcome outcome = OpenModel(current, "", Texts(), dialogs, files.Dialogs());
        EXPECT_EQ(files.Calls, c.Calls) << c.Label;
        EXPECT_EQ(outcome.Opened.has_value(), c.Opened) << c.Label;
        if (outcome.Opened) {
            EXPECT_EQ(outcome.Opened->Document.Title, "Mass") << c.Label;
        }
        std::vector<Shown> asked;
        if (!c.Answers.empty()) asked.push_back(saveQuestion);
        EXPECT_EQ(dialogs.Log, asked) << c.Label;
    }
    EXPECT_EQ(Contents(Path("saved.cvm")),
              "%Titulo%\r\n\r\n%/Titulo%\r\n%Desc%\r\n%/Desc%\r\n"
              "%Modelo%\r\ny = q\r\n%/Modelo%\r\n");
}

TEST_F(ModelFileOnDisk, OpenOfAMissingOrBrokenFileOpensNothing) {
    ScriptedDialogs setup;
    ASSERT_TRUE(WriteModelFile(Path("broken.cvm"), "%Titulo%\r\nx\r\n", setup));
    struct Case {
        std::string Chosen;
        Shown Expected;
    };
    const std::vector<Case> cases = {
        {Path("absent.cvm"),
         {DialogKind::Message,
          "Cannot open file \"" + Path("absent.cvm") + "\". No such file or directory"}},
        {Path("broken.cvm"),
         {DialogKind::Error, "The file \"" + Path("broken.cvm") +
                                 "\" is not a complete model file: the tag \"%/Titulo%\" is "
                                 "missing."}},
    };
    for (const Case& c : cases) {
        FakeFileDialogs files;
        files.OpenAnswers = {c.Chosen};
        ScriptedDialogs dialogs;
        OpenOutcome outcome = OpenModel(ModelDocument{}, "", Texts(), dialogs, files.Dialogs());
        EXPECT_FALSE(outcome.Opened);
        EXPECT_EQ(dialogs.Log, std::vector<Shown>{c.Expected});
    }
}

TEST(ModelFile, AppendsTheExtensionOnlyWhenMissing) {
    struct Case {
        const char* Path;
        const char* Expected;
    };
    for (Case c : {Case{"/m/model", "/m/model.cvm"},
                   {"/m/model.cvm", "/m/model.cvm"},
                   {"/m/model.txt", "/m/model.txt"},
                   {"/m.d/model", "/m.d/model.cvm"},
                   {"model", "model.cvm"},
                   {"", ""}}) {
        EXPECT_EQ(WithModelExtension(c.Path), c.Expected);
    }
}

}  // namespace
}  // namespace corvanta
