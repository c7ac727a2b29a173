#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "captions/LanguageFiles.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedDialogs;
using Shown = ScriptedDialogs::Shown;

const fs::path kLanguages = fs::path(CORVANTA_SOURCE_DIR) / "languages";

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct ShippedLanguage {
    const char* File;
    // language.dat once installed; the accented names also catch a file saved as UTF-8.
    LanguageInfo Info;
};

void PrintTo(const ShippedLanguage& language, std::ostream* out) {
    *out << language.File;
}

// "\x61" is the "a" after a Windows-1252 escape, which a plain letter would extend.
const ShippedLanguage kShipped[] = {
    {"english.cvl", {"English", "USA", "Corvanta \xA9"}},
    {"spanish.cvl", {"Espa\xF1ol", "Espa\xF1\x61", "Corvanta"}},
    {"german.cvl", {"Deutsch", "Deutschland", "Corvanta"}},
    {"french.cvl", {"Fran\xE7\x61is", "France", "Corvanta"}},
};

class ShippedLanguages : public ::testing::TestWithParam<ShippedLanguage> {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/corvanta-shippedXXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
};

TEST_P(ShippedLanguages, EveryCaptionInstallsAndLoadsAsWritten) {
    const fs::path path = kLanguages / GetParam().File;
    ASSERT_NE(ValidateLanguageFile(path), "error");

    // The entries as written, keys cap0 … cap106 in catalogue order: a text
    // cut by "//" or trimmed at its end no longer equals what is loaded.
    std::vector<CaptionEntry> written;
    int headerLines = 0;
    for (const std::string& line : SplitLanguageLines(ReadBytes(path))) {
        if (line.empty() || line.front() == '/' || headerLines++ < 3) continue;
        ASSERT_EQ(CaptionKeyNumber(line), static_cast<int>(written.size())) << line;
        written.push_back(
            {"cap" + std::to_string(written.size()), line.substr(line.find('=') + 1)});
        EXPECT_FALSE(written.back().Text.empty()) << line;
    }
    ASSERT_EQ(written.size(), static_cast<std::size_t>(kCaptionCount));

    // The window follows these with "...", ": " or " =".
    for (int n : {11, 26, 83, 96, 29, 30, 63, 68}) {
        const char last = written[n].Text.back();
        EXPECT_TRUE(last != '.' && last != ':' && last != '=') << written[n].Text;
    }
    // The start panel names the button that reads the model.
    EXPECT_NE(written[49].Text.find(written[7].Text), std::string::npos);

    ScriptedDialogs installDialogs;
    ASSERT_TRUE(InstallLanguageFile(path, folder, installDialogs));
    EXPECT_TRUE(installDialogs.Log.empty());
    EXPECT_EQ(DecodeCaptionRecords(ReadBytes(folder / kDefaultLanguageFileName)), written);
    EXPECT_EQ(DecodeLanguageInfo(ReadBytes(folder / kLanguageInfoFileName)), GetParam().Info);

    ScriptedDialogs loadDialogs;
    loadDialogs.Answers = {DialogAnswer::Ok};
    const auto loaded = LoadCaptions(path.string(), folder, loadDialogs);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->Table.Entries, written);
    EXPECT_EQ(
        loadDialogs.Log,
        (std::vector<Shown>{{DialogKind::ConfirmOkCancel,
                             "Want to use " + path.string() + " content as default language?"}}));
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedLanguages, ::testing::ValuesIn(kShipped),
                         [](const ::testing::TestParamInfo<ShippedLanguage>& info) {
                             const std::string file = info.param.File;
                             return file.substr(0, file.find('.'));
                         });

TEST(ShippedEnglishLanguage, IsTheBuiltInCatalogue) {
    std::string expected =
        "/ Corvanta language source file: English, the built-in interface texts\r\n"
        "language=English\r\ncountry=USA\r\nauthor=Corvanta \xA9\r\n";
    for (const auto& entry : CaptionTable::BuiltIn().Entries)
        expected += entry.Key + "=" + entry.Text + "\r\n";
    EXPECT_EQ(ReadBytes(kLanguages / "english.cvl"), expected)
        << "languages/english.cvl must be rewritten from the built-in texts";
}

}  // namespace
}  // namespace corvanta
