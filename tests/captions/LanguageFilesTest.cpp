// Language source files, the installed default.lng and language.dat, and the shipped languages.
#include "captions/LanguageFiles.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedDialogs;
using Shown = ScriptedDialogs::Shown;
using Log = std::vector<Shown>;
using D = DialogKind;
using A = DialogAnswer;

const std::string kNotSupported = "Language file format not supported";
const std::string kFixed =
    "Default languaje error fixed successfully !!\r\rHowever, is strongly recommended download "
    "and install a new language source as soon as possible";
const std::string kSpanishInfo = EncodeLanguageInfo({"Espa\xF1ol", "M\xE9xico", "Ana"});
const std::size_t kCatalogue = kCaptionCount;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}
std::string CannotCreate(const fs::path& path) {
    return "Cannot create file \"" + path.string() + "\"";
}
// The language information shown in a message.
Log InfoShown(const std::string& body) {
    return {
        {D::Message, "Default interface language data:\r" + std::string(41, '-') + "\r" + body}};
}
Shown UseQuestion(const fs::path& source) {
    return {D::ConfirmOkCancel, "Want to use " + source.string() + " content as default language?"};
}

// The captions of the given keys, apart by "|".
std::string Caps(const CaptionTable& table, std::initializer_list<int> keys) {
    std::string text;
    for (int key : keys)
        text += (text.empty() ? "" : "|") + table.Cap(key);
    return text;
}

// A source file with header and the entries cap0 … cap(count - 1) as "T<k>".
std::string SourceText(int count, const std::string& end = "\r\n") {
    std::string text = "language=Espa\xF1ol" + end + "country=M\xE9xico" + end + "author=Ana" + end;
    for (int k = 0; k < count; ++k)
        text += "cap" + std::to_string(k) + "=T" + std::to_string(k) + end;
    return text;
}

std::vector<CaptionEntry> TranslatedEntries(int count) {
    std::vector<CaptionEntry> entries;
    for (int k = 0; k < count; ++k)
        entries.push_back({"cap" + std::to_string(k), "T" + std::to_string(k)});
    return entries;
}

// One default.lng record: N as little-endian int32, then a 255-byte short string.
std::string Record(int n, const std::string& text) {
    const std::string head = {char(n), char(n >> 8), char(n >> 16), char(n >> 24),
                              char(text.size())};
    return head + text + std::string(255 - text.size(), '\0');
}

class LanguageFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/corvanta-captionsXXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path Source(const std::string& text, const std::string& name = "spanish.cvl") {
        WriteBytes(folder / name, text);
        return folder / name;
    }
    // Loads source with the answers given; `dialogs` logs this load only.
    std::optional<LoadedCaptions> Load(const std::string& source, std::deque<A> answers = {}) {
        dialogs.Log.clear();
        dialogs.Answers = answers;
        return LoadCaptions(source, folder, dialogs);
    }
    Log Info() {
        ShowDefaultLanguageInfo(folder, dialogs);
        return dialogs.Log;
    }
    fs::path DefaultLng() const { return folder / "default.lng"; }
    fs::path LanguageDat() const { return folder / "language.dat"; }

    fs::path folder;
    ScriptedDialogs dialogs;
};

TEST(LanguageLines, SplitAtEveryLineEndAndKeysAndTexts) {
    const std::pair<const char*, const char*> lines[] = {
        {"a\r\nb\r\n", "a|b|"}, {"a\rb\r", "a|b|"}, {"a\nb", "a|b|"}, {"a\r\n\r\nb", "a||b|"},
        {"a\n\rb", "a||b|"},    {"\r\n\r\n", "||"}, {"\r\n", "|"},    {"", ""}};
    for (const auto& [text, expected] : lines) {
        std::string joined;
        for (const std::string& line : SplitLanguageLines(text))
            joined += line + "|";
        EXPECT_EQ(joined, expected) << text;
    }
    // Line, then the key number and the value, apart by "|"; -1 for no key.
    // clang-format off
    const std::pair<const char*, const char*> keys[] = {
        {"cap12=Texto", "12|Texto"}, {"CAP12=Texto", "12|Texto"}, {"cap012=Texto", "12|Texto"},
        {"  Cap7  =  two blanks  ", "7|  two blanks"}, {"cap1=a=b", "1|a=b"}, {"cap2=", "2|"},
        {"cap2147483647=x", "2147483647|x"}, {"cap2147483648=x", "-1|x"}, {"cap=x", "-1|x"},
        {"capx=x", "-1|x"}, {"cap1a=x", "-1|x"}, {"cap 1=x", "-1|x"}, {"cap-1=x", "-1|x"},
        {"abc5=cap", "-1|cap"}, {"cap5 no equals", "-1|"}, {"cap9=\xF1\xB5\t ", "9|\xF1\xB5"}};
    // clang-format on
    for (const auto& [line, expected] : keys)
        EXPECT_EQ(std::to_string(CaptionKeyNumber(line)) + "|" + CaptionValue(line), expected)
            << line;
}

TEST_F(LanguageFilesTest, ValidateCleansOrRefuses) {
    const std::string header = "language=Espa\xF1ol\r\ncountry=Per\xFA\r\nauthor=Ana\r\n";
    const std::string e = "error";
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {header + "cap0=Entero\r\n", header + "cap0=Entero\r\n"},
        {"/ comment\r\n\r\n" + header + "\r\n/cap1=x\r\ncap0=Entero\r\n",
            header + "cap0=Entero\r\n"},
        {header + "cap0=see http://example.org\r\n", header + "cap0=see http:\r\n"},
        {header + "cap0=Entero   // note\r\n", header + "cap0=Entero\r\n"},
        {"LANGUAGE=Espa\xF1ol\nCountry=Per\xFA\nAUTHOR=Ana\nCAP0=x",
            "LANGUAGE=Espa\xF1ol\r\nCountry=Per\xFA\r\nAUTHOR=Ana\r\nCAP0=x\r\n"},
        {"language=x\rcountry=y\rauthor=z\rcap0=\xE1\xB1\xB5\r",
            "language=x\r\ncountry=y\r\nauthor=z\r\ncap0=\xE1\xB1\xB5\r\n"},
        {header, header},
        // The second character may be the start of "//": the line stays whole.
        {"e//language=x\r\ncountry=y\r\nauthor=z\r\n",
            "e//language=x\r\ncountry=y\r\nauthor=z\r\n"},
        {"e// language\r\ncountry=y\r\nauthor=z\r\n", e},
        {"country=y\r\nlanguage=x\r\nauthor=z\r\n", e},
        {"language =x\r\ncountry=y\r\nauthor=z\r\n", e}, {header + "   \r\n", e},
        {header + "cap0=x\r\n  // blank before a comment\r\n", e}, {header + "text=x\r\n", e},
        {header + "capX=x\r\n", e}, {header + "cap0 Entero\r\n", e},
        {"language=x\r\ncountry=y\r\n", e}, {"", e}};
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ValidateLanguageFile(Source(text)), expected) << text;
    EXPECT_EQ(ValidateLanguageFile(folder / "absent.cvl"), "error");
    EXPECT_THROW(ValidateLanguageFile(folder), FileAccessError);
}

TEST(LanguageRecords, ByteForByte) {
    EXPECT_EQ(EncodeCaptionRecords({{"cap12", "Ab"}, {"cap300", "\xF3"}}),
              Record(12, "Ab") + Record(300, "\xF3"));
    EXPECT_EQ(EncodeCaptionRecords({{"cap300", "x"}}).substr(0, 6),
              std::string("\x2C\x01\x00\x00\x01x", 6));
    EXPECT_EQ(EncodeCaptionRecords({{"cap1", std::string(300, 'x')}}),
              Record(1, std::string(255, 'x')));
    const std::string bytes =
        Record(5, "cinco") + Record(-2, "") + Record(7, std::string(255, '\xFF'));
    const std::vector<CaptionEntry> decoded = {
        {"cap5", "cinco"}, {"cap-2", ""}, {"cap7", std::string(255, '\xFF')}};
    EXPECT_EQ(DecodeCaptionRecords(bytes), decoded);
    EXPECT_EQ(DecodeCaptionRecords(bytes + std::string(259, 'z')), decoded);
    EXPECT_TRUE(DecodeCaptionRecords(std::string(259, '\x05')).empty());
    // language.dat: three short strings of 20, 30 and 50 bytes; an empty field reads "Unknown".
    const std::string info = '\x07' + std::string("Espa\xF1ol") + std::string(13, '\0') + '\x06' +
                             std::string("M\xE9xico") + std::string(24, '\0') + '\x07' +
                             std::string("Unknown") + std::string(43, '\0');
    EXPECT_EQ(EncodeLanguageInfo({"Espa\xF1ol", "M\xE9xico", ""}), info);
    const std::string cut =
        EncodeLanguageInfo({std::string(25, 'L'), std::string(31, 'C'), std::string(60, 'A')});
    EXPECT_EQ(cut.size(), 103u);
    EXPECT_EQ(DecodeLanguageInfo(cut),
              (LanguageInfo{std::string(20, 'L'), std::string(30, 'C'), std::string(50, 'A')}));
    // Corrupt records: a length beyond its field and a record cut short.
    EXPECT_EQ(DecodeLanguageInfo('\xC8' + info.substr(1)).Language,
              "Espa\xF1ol" + std::string(13, '\0'));
    EXPECT_EQ(DecodeLanguageInfo(info.substr(0, 25)), (LanguageInfo{"Espa\xF1ol", "M\xE9x", ""}));
    EXPECT_EQ(DecodeLanguageInfo(""), LanguageInfo{});
}

TEST_F(LanguageFilesTest, InstallWritesBothFilesOrNothing) {
    std::string text = "language=  Espa\xF1ol  \r\ncountry=\r\nauthor=Ana // translator\r\n";
    text += "cap0=  Entero  \r\ncap1=" + std::string(300, 'y') + "\r\n";
    ASSERT_TRUE(InstallLanguageFile(Source(text), folder, dialogs));
    EXPECT_EQ(ReadBytes(DefaultLng()), Record(0, "  Entero") + Record(1, std::string(255, 'y')));
    EXPECT_EQ(ReadBytes(LanguageDat()), EncodeLanguageInfo({"Espa\xF1ol", "Unknown", "Ana"}));
    // Refusals and failed writes leave the installed files as they were.
    WriteBytes(DefaultLng(), "previous");
    fs::remove(LanguageDat());
    const fs::path missing = folder / "absent.cvl",
                   good = Source(SourceText(kCaptionCount), "good.cvl");
    EXPECT_FALSE(InstallLanguageFile(missing, folder, dialogs));
    EXPECT_FALSE(InstallLanguageFile(Source("language=x\r\ncountry=y\r\n"), folder, dialogs));
    EXPECT_FALSE(InstallLanguageFile(Source(SourceText(3) + "cap=x\r\n"), folder, dialogs));
    EXPECT_FALSE(InstallLanguageFile(good, folder / "no-such-folder", dialogs));
    fs::create_directories(folder / "language.dat.tmp");  // language.dat cannot be replaced
    EXPECT_FALSE(InstallLanguageFile(good, folder, dialogs));
    fs::remove(folder / "language.dat.tmp");
    fs::create_directories(LanguageDat());  // found before default.lng is replaced
    EXPECT_FALSE(InstallLanguageFile(good, folder, dialogs));
    EXPECT_FALSE(LoadCaptions(missing.string(), folder, dialogs));
    EXPECT_FALSE(
        LoadCaptions(Source("country=y\r\nlanguage=x\r\nauthor=z\r\n").string(), folder, dialogs));
    EXPECT_EQ(dialogs.Log,
              (Log{{D::Message, "Language file \"" + missing.string() + "\" does not exists."},
                   {D::Error, kNotSupported},
                   {D::Error, kNotSupported},
                   {D::Error, CannotCreate(folder / "no-such-folder" / "default.lng")},
                   {D::Error, CannotCreate(LanguageDat())},
                   {D::Error, CannotCreate(LanguageDat())},
                   {D::Message, "Language file \"" + missing.string() + "\" is missing."},
                   {D::Error, kNotSupported}}));
    EXPECT_EQ(ReadBytes(DefaultLng()), "previous");
    EXPECT_FALSE(fs::exists(folder / "default.lng.tmp"));
    EXPECT_FALSE(fs::exists(folder / "language.dat.tmp"));
}

TEST_F(LanguageFilesTest, DefaultCreatedSilentlyCompletedOrRepairedAndAGapCompletedByKey) {
    // The first start writes English; the second reads it; an unwritable folder still gets it.
    for (const fs::path& where : {folder, folder, folder / "none"})
        EXPECT_EQ(LoadCaptions("default", where, dialogs)->Table.Entries, DefaultCaptions());
    EXPECT_EQ(ReadBytes(DefaultLng()), EncodeCaptionRecords(DefaultCaptions()));
    EXPECT_FALSE(fs::exists(LanguageDat()));
    EXPECT_EQ(Info(), InfoShown("Language: English\rCountry: USA\rContributor: Corvanta \xA9"));
    const std::string missingTerms =
        "Missing terms error. Default language file out of date. \rCorvanta will complete "
        "application interface with default (english) terms. \r\rTo correct this error please "
        "download an updated Corvanta language file for your language";
    const std::string short100 = EncodeCaptionRecords(TranslatedEntries(100));
    // clang-format off
    const std::pair<std::string, int> cases[] = {{short100, 100},
        {EncodeCaptionRecords(TranslatedEntries(107)), 107},  // before the Apply checks' captions
        {short100 + std::string(200, 'x'), 100}, {"", 0}, {std::string(259, '\0'), 0}};
    // clang-format on
    for (const auto& [bytes, translated] : cases) {
        WriteBytes(DefaultLng(), bytes);
        auto loaded = Load("default");
        ASSERT_TRUE(loaded);
        EXPECT_EQ(dialogs.Log, (Log{{D::Error, missingTerms}, {D::Information, kFixed}}));
        ASSERT_EQ(loaded->Table.Entries.size(), kCatalogue);
        for (int k = 0; k < kCaptionCount; ++k)
            EXPECT_EQ(loaded->Table.Cap(k),
                      k < translated ? "T" + std::to_string(k) : DefaultCaptions()[k].Text);
        EXPECT_EQ(ReadBytes(DefaultLng()), EncodeCaptionRecords(DefaultCaptions()));
    }
    // A repair that cannot be written is not reported as fixed.
    WriteBytes(DefaultLng(), short100);
    fs::create_directories(folder / "default.lng.tmp");
    auto loaded = Load("default");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(dialogs.Log, (Log{{D::Error, missingTerms}, {D::Error, CannotCreate(DefaultLng())}}));
    EXPECT_EQ(loaded->Table.Cap(99), "T99");
    EXPECT_EQ(ReadBytes(DefaultLng()), short100);
    fs::remove(folder / "default.lng.tmp");
    // A gap and a duplicate: completed by key, silently, and the file left as it is.
    std::vector<CaptionEntry> entries = TranslatedEntries(kCaptionCount);
    entries[0] = {"cap1", "first twice"};
    entries[6] = {"cap5", "duplicate"};
    entries[50] = {"cap500", "beyond"};
    WriteBytes(DefaultLng(), EncodeCaptionRecords(entries));
    loaded = Load("default");
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(dialogs.Log.empty());
    EXPECT_EQ(Caps(loaded->Table, {0, 1, 5, 6, 50, 51}),
              "Integer|first twice|T5|Real number|Mean|T51");
    EXPECT_EQ(loaded->Table.Entries.size(), kCatalogue + 3);
    EXPECT_EQ(ReadBytes(DefaultLng()), EncodeCaptionRecords(entries));
}

TEST_F(LanguageFilesTest, CompleteSourceUsedWithOrWithoutInstall) {
    // A long first entry stays whole when loaded directly; a later duplicate is never seen.
    const std::string longText(300, 'w');
    for (const char* end : {"\r", "\n", "\r\n"}) {  // installed at the last
        std::string text = SourceText(kCaptionCount, end);
        text.replace(text.find("cap0=T0"), 7, "cap0=" + longText);
        const fs::path source = Source(text + "cap3=zz" + end);
        auto loaded = Load(source.string(), {end[1] ? A::Ok : A::Cancel});
        ASSERT_TRUE(loaded);
        EXPECT_EQ(dialogs.Log, Log{UseQuestion(source)});
        EXPECT_EQ(Caps(loaded->Table, {0, 3, 106}), longText + "|T3|T106");
        EXPECT_EQ(loaded->Messages.ErrorNP, "T22. T25");
        EXPECT_EQ(fs::exists(DefaultLng()), end[1] != 0);
    }
    std::vector<CaptionEntry> installed = TranslatedEntries(kCaptionCount);
    installed[0].Text = longText;
    installed.push_back({"cap3", "zz"});
    EXPECT_EQ(ReadBytes(DefaultLng()), EncodeCaptionRecords(installed));
    EXPECT_EQ(ReadBytes(LanguageDat()), kSpanishInfo);
    EXPECT_EQ(Load("default")->Table.Cap(0), std::string(255, 'w'));
    EXPECT_EQ(Info(), InfoShown("Language: Espa\xF1ol\rCountry: M\xE9xico\rContributor: Ana"));
}

TEST_F(LanguageFilesTest, ShortSourceUpdatedOnlyWhenAcceptedAndWritable) {
    const std::string original =
        "// Spanish terms\r\nlanguage=Espa\xF1ol\ncountry=M\xE9xico\r"
        "author=Ana\r\n\r\ncap0=Entero // integer\r\ncap1=ya existe";  // no last line end
    const fs::path source = Source(original);
    const Shown missingTerms = {
        D::ConfirmOkCancel,
        "Missing terms error. Source language file " + source.string() +
            " is not update to this version. Corvanta will complete application interface with "
            "default (english) terms. \r\rWant to update source language file with new english "
            "terms to be edited?"};
    const std::string english = EncodeCaptionRecords(DefaultCaptions()),
                      texts = "Entero|ya existe|Do you want to overwrite with updated model?";
    // Declined, and a failed update, which is not reported as fixed: the source stays as it was.
    auto loaded = Load(source.string(), {A::Cancel, A::Cancel});
    ASSERT_TRUE(loaded);
    EXPECT_EQ(dialogs.Log, (Log{UseQuestion(source), missingTerms}));
    EXPECT_EQ(Caps(loaded->Table, {0, 1, 2}), texts);
    EXPECT_EQ(ReadBytes(DefaultLng()), english);
    EXPECT_FALSE(fs::exists(LanguageDat()));
    fs::create_directories(folder / "spanish.cvl.tmp");
    ASSERT_TRUE(Load(source.string(), {A::Cancel, A::Ok}));
    EXPECT_EQ(dialogs.Log,
              (Log{UseQuestion(source), missingTerms, {D::Error, CannotCreate(source)}}));
    EXPECT_EQ(ReadBytes(source), original);
    fs::remove(folder / "spanish.cvl.tmp");
    fs::remove(DefaultLng());
    loaded = Load(source.string(), {A::Ok, A::Ok});
    ASSERT_TRUE(loaded);
    EXPECT_EQ(dialogs.Log, (Log{UseQuestion(source), missingTerms, {D::Information, kFixed}}));
    EXPECT_EQ(Caps(loaded->Table, {0, 1, 2}), texts);
    EXPECT_EQ(loaded->Table.Entries.size(), kCatalogue);
    std::string expected =
        "// Spanish terms\r\nlanguage=Espa\xF1ol\r\ncountry=M\xE9xico\r\n"
        "author=Ana\r\n\r\ncap0=Entero // integer\r\ncap1=ya existe\r\n";
    for (int k = 2; k < kCaptionCount; ++k)
        expected += "cap" + std::to_string(k) + "=" + DefaultCaptions()[k].Text + "\r\n";
    EXPECT_EQ(ReadBytes(source), expected);
    // The default language falls back to English even after the install.
    EXPECT_EQ(ReadBytes(DefaultLng()), english);
    EXPECT_EQ(ReadBytes(LanguageDat()), kSpanishInfo);
    // The updated file is now complete: one question only.
    ASSERT_TRUE(Load(source.string(), {A::Cancel}));
    EXPECT_EQ(dialogs.Log.size(), 1u);
}

TEST_F(LanguageFilesTest, LanguageInfoFolderAndExtension) {
    const std::pair<std::string, const char*> cases[] = {
        {std::string(103, '\0'), "Language: Unknown\rCountry: Unknown\rContributor: Unknown"},
        {std::string("\x02") + "es", "Language: es\rCountry: Unknown\rContributor: Unknown"},
        {EncodeLanguageInfo({"a", "b", "c"}), "Language: a\rCountry: b\rContributor: c"}};
    for (const auto& [bytes, body] : cases) {
        WriteBytes(LanguageDat(), bytes);
        dialogs.Log.clear();
        EXPECT_EQ(Info(), InfoShown(body));
    }
    fs::remove(LanguageDat());
    fs::create_directories(LanguageDat());
    dialogs.Log.clear();
    EXPECT_EQ(Info(), (Log{{D::Error, "Cannot open file \"" + LanguageDat().string() + "\""}}));
    fs::remove(LanguageDat());
    EXPECT_EQ(WithLanguageFileExtension("/x/spanish"), "/x/spanish.cvl");
    EXPECT_EQ(WithLanguageFileExtension("/x/spanish.txt"), "/x/spanish.txt");
    EXPECT_EQ(WithLanguageFileExtension("/x.d/spanish"), "/x.d/spanish.cvl");
    // Beside the executable only where its language already is.
    EXPECT_EQ(ChooseLanguageFolder(folder, folder / "user"), folder / "user");
    EXPECT_TRUE(fs::is_directory(folder / "user"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    std::ofstream(folder / "default.lng").put('x');
    EXPECT_EQ(ChooseLanguageFolder(folder, folder / "user"), folder);
    EXPECT_EQ(ChooseLanguageFolder(folder / "absent", folder / "user"), folder / "user");
}

// The shipped languages and their language.dat; accented names catch a UTF-8 file ("\x61": an "a").
using ShippedLanguage = std::pair<const char*, LanguageInfo>;  // the file and its language.dat
const ShippedLanguage kShipped[] = {{"english.cvl", {"English", "USA", "Corvanta \xA9"}},
                                    {"spanish.cvl", {"Espa\xF1ol", "Espa\xF1\x61", "Corvanta"}},
                                    {"german.cvl", {"Deutsch", "Deutschland", "Corvanta"}},
                                    {"french.cvl", {"Fran\xE7\x61is", "France", "Corvanta"}}};

class ShippedLanguages : public LanguageFilesTest,
                         public ::testing::WithParamInterface<ShippedLanguage> {};

TEST_P(ShippedLanguages, EveryCaptionInstallsAndLoadsAsWritten) {
    const fs::path path = fs::path(CORVANTA_SOURCE_DIR) / "languages" / GetParam().first;
    // The entries as written, cap0 … cap106 in order: a text cut by "//" or trimmed differs.
    std::vector<CaptionEntry> written;
    int headerLines = 0;
    for (const std::string& line : SplitLanguageLines(ReadBytes(path))) {
        if (line.empty() || line.front() == '/' || headerLines++ < 3) continue;
        ASSERT_EQ(CaptionKeyNumber(line), static_cast<int>(written.size())) << line;
        written.push_back(
            {"cap" + std::to_string(written.size()), line.substr(line.find('=') + 1)});
        EXPECT_FALSE(written.back().Text.empty()) << line;
    }
    ASSERT_EQ(written.size(), kCatalogue);
    // English is the built-in catalogue, as the program writes it.
    EXPECT_EQ(written, GetParam().second.Language == "English" ? DefaultCaptions() : written);
    // The window follows these with "...", ": " or " =".
    for (int n : {11, 26, 83, 96, 29, 30, 63, 68})
        EXPECT_EQ(std::string(".:=").find(written[n].Text.back()), std::string::npos) << n;
    // The start panel names the button that reads the model.
    EXPECT_NE(written[49].Text.find(written[7].Text), std::string::npos);
    ASSERT_TRUE(InstallLanguageFile(path, folder, dialogs));
    EXPECT_TRUE(dialogs.Log.empty());
    EXPECT_EQ(DecodeCaptionRecords(ReadBytes(DefaultLng())), written);
    EXPECT_EQ(DecodeLanguageInfo(ReadBytes(LanguageDat())), GetParam().second);
    const auto loaded = Load(path.string(), {A::Ok});
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->Table.Entries, written);
    EXPECT_EQ(dialogs.Log, Log{UseQuestion(path)});
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedLanguages, ::testing::ValuesIn(kShipped),
                         [](const auto& info) {
                             return fs::path(info.param.first).stem().string();
                         });

}  // namespace
}  // namespace corvanta
