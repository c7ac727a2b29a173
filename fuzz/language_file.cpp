// Feeds arbitrary bytes to the language-file readers as a source file, as
// default.lng or as language.dat, in a private temporary folder, and checks
// that every load still yields a complete caption table and well-formed files.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "captions/LanguageFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace corvanta;

// Answers the questions from two bits of the input, so that both branches of
// every question are reached.
class FuzzDialogs : public UserDialogs {
  public:
    explicit FuzzDialogs(unsigned bits) : bits_(bits) {}
    void ShowMessage(const std::string&) override {}
    void ShowError(const std::string&) override {}
    void ShowInformation(const std::string&) override {}
    DialogAnswer ConfirmOkCancel(const std::string&) override {
        DialogAnswer answer = (bits_ & 1u) ? DialogAnswer::Ok : DialogAnswer::Cancel;
        bits_ >>= 1;
        return answer;
    }
    DialogAnswer ConfirmYesNoCancel(const std::string&) override { return DialogAnswer::Cancel; }

  private:
    unsigned bits_;
};

const fs::path& Folder() {
    static const fs::path folder = [] {
        fs::path path =
            fs::temp_directory_path() / ("corvanta-fuzz-language-" + std::to_string(getpid()));
        fs::create_directories(path);
        return path;
    }();
    // Registered once the folder exists, so it runs before the path is destroyed.
    static const bool cleanup = std::atexit([] {
                                    std::error_code ignored;
                                    fs::remove_all(Folder(), ignored);
                                }) == 0;
    (void)cleanup;
    return folder;
}

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckComplete(const std::optional<LoadedCaptions>& loaded) {
    if (!loaded) return;
    for (const auto& builtIn : DefaultCaptions()) {
        bool found = false;
        for (const auto& entry : loaded->Table.Entries)
            found = found || entry.Key == builtIn.Key;
        Check(found);
    }
    Check(loaded->Table.Entries.size() >= DefaultCaptions().size());
}

void CheckFiles(const fs::path& folder) {
    std::error_code error;
    if (fs::exists(folder / kDefaultLanguageFileName, error))
        Check(fs::file_size(folder / kDefaultLanguageFileName) % kCaptionRecordSize == 0);
    Check(!fs::exists(folder / "default.lng.tmp", error));
    Check(!fs::exists(folder / "language.dat.tmp", error));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned control = data[0];
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const fs::path& folder = Folder();
    std::error_code ignored;
    fs::remove(folder / kDefaultLanguageFileName, ignored);
    fs::remove(folder / kLanguageInfoFileName, ignored);
    FuzzDialogs dialogs(control >> 2);

    switch (control & 3u) {
        case 0:
        case 3: {
            const fs::path source = folder / "source.cvl";
            Write(source, bytes);
            const std::string cleaned = ValidateLanguageFile(source);
            Check(cleaned == "error" || (cleaned.size() >= 2 && cleaned.ends_with("\r\n")));
            InstallLanguageFile(source, folder, dialogs);
            CheckFiles(folder);
            if (fs::exists(folder / kLanguageInfoFileName))
                Check(fs::file_size(folder / kLanguageInfoFileName) == kLanguageInfoRecordSize);
            const auto loaded = LoadCaptions(source.string(), folder, dialogs);
            Check(loaded.has_value() == (cleaned != "error"));
            CheckComplete(loaded);
            CheckFiles(folder);
            // A repaired source file must itself be a valid language file.
            if (loaded) Check(ValidateLanguageFile(source) != "error");
            break;
        }
        case 1:
            Write(folder / kDefaultLanguageFileName, bytes);
            CheckComplete(LoadCaptions(kDefaultLanguageSource, folder, dialogs));
            CheckFiles(folder);
            break;
        case 2:
            Write(folder / kLanguageInfoFileName, bytes);
            ShowDefaultLanguageInfo(folder, dialogs);
            break;
    }
    CheckComplete(LoadCaptions(kDefaultLanguageSource, folder, dialogs));
    return 0;
}
