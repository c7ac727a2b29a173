#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"

namespace corvanta {

// The interface language kept next to the executable: the numbered texts in
// force at start, and who made them.
inline constexpr const char* kDefaultLanguageFileName = "default.lng";
inline constexpr const char* kLanguageInfoFileName = "language.dat";

// One default.lng record: N (int32, little-endian), text length, 255 text bytes.
inline constexpr std::size_t kCaptionRecordSize = 260;
inline constexpr std::size_t kCaptionTextMax = 255;
// The single language.dat record: three length-prefixed fields of 20, 30 and 50 bytes.
inline constexpr std::size_t kLanguageInfoRecordSize = 103;
inline constexpr std::size_t kLanguageNameMax = 20;
inline constexpr std::size_t kCountryMax = 30;
inline constexpr std::size_t kContributorMax = 50;

// What the install command's open dialog offers and how it completes a name.
inline constexpr const char* kLanguageFileFilter = "Corvanta\xAE language Files (*.*)|*.*";
inline constexpr const char* kLanguageFileExtension = "cvl";

// The word that makes LoadCaptions read default.lng instead of a source file.
inline constexpr const char* kDefaultLanguageSource = "default";

// A file that cannot be read or written; what() is the text shown to the user,
// e.g. Cannot create file "/opt/corvanta/default.lng".
class FileAccessError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct LanguageInfo {
    std::string Language;
    std::string Country;
    std::string Contributor;
    bool operator==(const LanguageInfo&) const = default;
};

// A caption table just loaded, with the message texts formed from it.
struct LoadedCaptions {
    CaptionTable Table;
    MessageTexts Messages;
};

// Splits text at CR LF, CR or LF; a line end at the very end starts no new line.
std::vector<std::string> SplitLanguageLines(std::string_view text);

// The cleaned lines of a valid language source file (comments and empty lines
// removed), each followed by CR LF; "error" when the file is missing or is
// not a language file. Throws FileAccessError when it exists but cannot be read.
std::string ValidateLanguageFile(const std::filesystem::path& path);

// Catalogue number of an entry line: the key before the first "=", blanks
// trimmed, read in decimal from its fourth character ("CAP012" gives 12);
// -1 when the key does not start with "cap" followed by digits only.
int CaptionKeyNumber(std::string_view line);
// Text of an entry line: everything after the first "=", trailing blanks
// removed, leading blanks kept; "" when the line has no "=".
std::string CaptionValue(std::string_view line);

// default.lng and language.dat contents, byte for byte. Texts are cut to
// their field; an empty language.dat value is written as "Unknown".
std::string EncodeCaptionRecords(const std::vector<CaptionEntry>& entries);
// Every whole record, in file order, keys "cap" + N; a partial record at the end is ignored.
std::vector<CaptionEntry> DecodeCaptionRecords(std::string_view bytes);
std::string EncodeLanguageInfo(const LanguageInfo& info);
// Reads the record as stored; a length is limited to its field and to the
// bytes present. An empty field stays empty.
LanguageInfo DecodeLanguageInfo(std::string_view bytes);

// Makes a source file the default language of later starts by writing
// default.lng and language.dat into folder. Returns false, after telling the
// user why, when the file is missing, not a language file, or cannot be
// read or written; a failed write leaves both files as they were.
bool InstallLanguageFile(const std::filesystem::path& path, const std::filesystem::path& folder,
                         UserDialogs& dialogs);

// source is "default" (the texts of default.lng in folder, created from the
// built-in catalogue at first start, repaired when short) or the path of a
// source file (asked whether to install it, completed when short). Returns
// the table and message texts for the window to push; nullopt when a source
// file is missing or invalid and nothing changes. "default" always gives a
// table.
std::optional<LoadedCaptions> LoadCaptions(const std::string& source,
                                           const std::filesystem::path& folder,
                                           UserDialogs& dialogs);

// Shows the language, country and contributor of language.dat in folder, or
// those of the built-in English texts when there is no such file.
void ShowDefaultLanguageInfo(const std::filesystem::path& folder, UserDialogs& dialogs);

// The name typed into the install dialog with ".cvl" added when it has no extension.
std::string WithLanguageFileExtension(const std::string& name);

// Where the two files live: the executable's folder when default.lng is
// already there and files can be created there (a copy of the program kept
// with its language), else userFolder (created when missing). An installed
// program never writes beside its executable.
std::filesystem::path ChooseLanguageFolder(const std::filesystem::path& executableFolder,
                                           const std::filesystem::path& userFolder);

}  // namespace corvanta
