// Writing and reading model files, and the Save, Save as and Open commands.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ModelFixtures.h"

namespace corvanta {
namespace {

using testing::ScriptedDialogs;
using Shown = ScriptedDialogs::Shown;
using Log = std::vector<Shown>;
const MessageTexts& kTexts = testing::BuiltInTexts();

// A fresh folder for each test, and the window's two file dialogs answering from a script.
class ModelFileCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/corvanta-docXXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    std::string Contents(const std::string& name) const { return testing::FileBytes(Path(name)); }
    ModelFileDialogs FileDialogs() {
        auto next = [this](const char* which, std::vector<std::optional<std::string>>& answers) {
            calls_.push_back(which);
            if (answers.empty()) throw std::logic_error(std::string("unscripted ") + which);
            std::optional<std::string> answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        };
        return {[this, next] { return next("save", saveAnswers_); },
                [this, next] { return next("open", openAnswers_); }};
    }

    std::filesystem::path folder_;
    std::vector<std::optional<std::string>> saveAnswers_, openAnswers_;
    std::vector<std::string> calls_;
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
    std::filesystem::permissions(Path("m.cvm"), std::filesystem::perms(0640));
    ASSERT_TRUE(WriteModelFile(Path("m.cvm"), "y", dialogs));
    struct stat created {
    }, replaced{};
    ASSERT_EQ(::stat(Path("new.cvm").c_str(), &created), 0);
    ASSERT_EQ(::stat(Path("m.cvm").c_str(), &replaced), 0);
    EXPECT_EQ(created.st_mode & 07777, 0666u & ~mask);
    EXPECT_EQ(replaced.st_mode & 07777, 0640u);
    std::filesystem::remove(Path("new.cvm"));
    EXPECT_EQ(dialogs.Log, Log{});
    std::filesystem::create_directory(Path("sub.cvm"));

    const std::string missing = Path("no/m.cvm"), folder = Path("sub.cvm");
    const std::tuple<std::string, bool, std::string> cases[] = {
        {missing, true, "Cannot create file \"" + missing + "\". No such file or directory"},
        {folder, true, "Cannot create file \"" + folder + "\". Is a directory"},
        {"", true, "Cannot create file \"\". No such file or directory"},
        {missing, false, "Cannot open file \"" + missing + "\". No such file or directory"},
        {folder, false, "Cannot open file \"" + folder + "\". Is a directory"},
        {"/dev/zero", false, "Cannot open file \"/dev/zero\". File too large"}};
    for (const auto& [path, write, text] : cases) {
        ScriptedDialogs shown;
        EXPECT_FALSE(write ? WriteModelFile(path, "x", shown)
                           : ReadModelFile(path, shown).has_value());
        EXPECT_EQ(shown.Log, (Log{{DialogKind::Message, text}}));
    }
    // No temporary file is left behind, whether the write worked or not.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 2);
}

TEST_F(ModelFileCommands, SaveAsksForANameOnceAndAsksBeforeReplacingAFile) {
    saveAnswers_ = {Path("first")};
    ScriptedDialogs dialogs;
    ModelDocument d;
    d.Title = "one";
    SaveOutcome first = SaveModel(d, "", kTexts, dialogs, FileDialogs());
    EXPECT_TRUE(first.Written);
    EXPECT_EQ(first.FileName, Path("first.cvm"));
    EXPECT_EQ(first.WindowCaption, " Corvanta - " + Path("first.cvm"));
    d.Title = "two";
    SaveOutcome second = SaveModel(d, first.FileName, kTexts, dialogs, FileDialogs());
    EXPECT_TRUE(second.Written);
    EXPECT_EQ(second.FileName, first.FileName);
    EXPECT_EQ(second.WindowCaption, std::nullopt);
    EXPECT_EQ(Contents("first.cvm"), ComposeModelText(d));
    EXPECT_EQ(calls_, std::vector<std::string>{"save"});
    EXPECT_EQ(dialogs.Log, Log{});

    // "Save as" onto an existing file: Cancel keeps it, Ok replaces it.
    const Shown question{DialogKind::ConfirmOkCancel,
                         "The file " + Path("first.cvm") +
                             " already exists. Do you want to overwrite with updated model?"};
    for (DialogAnswer answer : {DialogAnswer::Cancel, DialogAnswer::Ok}) {
        saveAnswers_ = {Path("first.cvm")};
        ScriptedDialogs asked;
        asked.Answers = {answer};
        SaveOutcome outcome = SaveModelAs(ModelDocument{}, kTexts, asked, FileDialogs());
        bool written = answer == DialogAnswer::Ok;
        EXPECT_EQ(outcome.Written, written);
        EXPECT_EQ(outcome.WindowCaption.has_value(), written);
        EXPECT_EQ(Contents("first.cvm"), ComposeModelText(written ? ModelDocument{} : d));
        EXPECT_EQ(asked.Log, Log{question});
    }
}

// Open asks only with changes: Save goes on once written, Discard at once, Cancel ends it.
TEST_F(ModelFileCommands, OpenAsksToSaveChangesOnlyWhenModifiedAndGoesOnOnlyOnceSaved) {
    ScriptedDialogs setup;
    ASSERT_TRUE(
        WriteModelFile(Path("m.cvm"), ComposeModelText(testing::AllKindsDocument()), setup));
    ASSERT_TRUE(WriteModelFile(Path("broken.cvm"), "%Titulo%\r\nx\r\n", setup));
    auto question = [](const std::string& name) {
        return Shown{DialogKind::ConfirmSaveDiscardCancel, "Save changes to " + name + "?"};
    };
    const Shown untitled = question("Untitled"), named = question("model.cvm"),
                such = question("such.cvm");
    const Shown cannot{DialogKind::Message, "Cannot create file \"" + Path("no/such.cvm") +
                                                "\". No such file or directory"};
    const std::vector<std::string> open = {"open"}, save = {"save"}, saveOpen = {"save", "open"};
    const std::optional<std::string> none;
    const Shown absent{DialogKind::Message, "Cannot open file \"" + Path("absent.cvm") +
                                                "\". No such file or directory"};
    const Shown broken{DialogKind::Error, "The file \"" + Path("broken.cvm") +
                                              "\" is not a complete model file: the tag "
                                              "\"%/Titulo%\" is missing."};
    using A = DialogAnswer;
    const struct {
        bool Modified;
        std::string FileName;
        std::vector<DialogAnswer> Answers;
        std::vector<std::optional<std::string>> Save;
        std::string Chosen;
        std::vector<std::string> Calls;
        Log Shown;
        bool Opened;
    } cases[] = {{false, "", {}, {}, "m", open, {}, true},
                 {true, "", {A::Discard}, {}, "m", open, {untitled}, true},
                 {true, "", {A::Cancel}, {}, "m", {}, {untitled}, false},
                 {true, "", {A::Save}, {none}, "m", save, {untitled}, false},
                 {true, "", {A::Save}, {Path("saved")}, "m", saveOpen, {untitled}, true},
                 {true, Path("no/such.cvm"), {A::Save}, {}, "m", {}, {such, cannot}, false},
                 {true, Path("model.cvm"), {A::Save}, {}, "m", open, {named}, true},
                 {false, "", {}, {}, "absent", open, {absent}, false},
                 {false, "", {}, {}, "broken.cvm", open, {broken}, false}};
    for (const auto& c : cases) {
        calls_.clear();
        saveAnswers_ = c.Save;
        openAnswers_ = {Path(c.Chosen)};
        ScriptedDialogs dialogs;
        dialogs.Answers.assign(c.Answers.begin(), c.Answers.end());
        ModelDocument current;
        current.ModelText = "y = q";
        OpenOutcome outcome =
            OpenModel(current, c.FileName, c.Modified, kTexts, dialogs, FileDialogs());
        const std::string label = c.Chosen + " " + c.FileName;
        EXPECT_EQ(calls_, c.Calls) << label;
        EXPECT_EQ(dialogs.Log, c.Shown) << label;
        ASSERT_EQ(outcome.Opened.has_value(), c.Opened) << label;
        if (c.Opened) {
            EXPECT_EQ(outcome.Path, WithModelExtension(Path(c.Chosen)));
            EXPECT_EQ(outcome.Opened->Document.Parameters, testing::AllKindsDocument().Parameters);
        }
    }
    EXPECT_EQ(
        Contents("saved.cvm"),
        "%Titulo%\r\n\r\n%/Titulo%\r\n%Desc%\r\n%/Desc%\r\n%Modelo%\r\ny = q\r\n%/Modelo%\r\n");
    EXPECT_EQ(Contents("model.cvm"), Contents("saved.cvm"));
}

TEST(ModelFileName, GetsTheExtensionOnlyWhenItHasNone) {
    const std::pair<std::string, std::string> cases[] = {
        {"/m/model", "/m/model.cvm"},     {"/m/model.cvm", "/m/model.cvm"},
        {"/m/model.txt", "/m/model.txt"}, {"/m.d/model", "/m.d/model.cvm"},
        {"model", "model.cvm"},           {"", ""}};
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(WithModelExtension(path), expected);
}

}  // namespace
}  // namespace corvanta
