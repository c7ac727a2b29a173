#include "captions/LanguageFiles.h"

#include "captions/PathText.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

namespace corvanta {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFormatNotSupported = "Language file format not supported";
constexpr const char* kMissingTermsDefault =
    "Missing terms error. Default language file out of date. \rCorvanta will complete "
    "application interface with default (english) terms. \r\rTo correct this error please "
    "download an updated Corvanta language file for your language";
constexpr const char* kFixedSuccessfully =
    "Default languaje error fixed successfully !!\r\rHowever, is strongly recommended download "
    "and install a new language source as soon as possible";
constexpr const char* kUnknown = "Unknown";

// Blanks as the trimming of header values and texts understands them: space
// and every control character.
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view Trim(std::string_view text) {
    text = TrimRight(text);
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

// Only ASCII letters matter for finding the keywords; other bytes stay as they are.
std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

bool Contains(std::string_view text, std::string_view word) {
    return text.find(word) != std::string_view::npos;
}

std::string HeaderValue(std::string_view line) {
    auto equals = line.find('=');
    if (equals == std::string_view::npos) return {};
    return std::string(Trim(line.substr(equals + 1)));
}

std::string CannotOpen(const fs::path& path) {
    return "Cannot open file \"" + PathText(path.string()) + "\"";
}

std::string CannotCreate(const fs::path& path) {
    return "Cannot create file \"" + PathText(path.string()) + "\"";
}

bool FileExists(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

std::string ReadWholeFile(const fs::path& path) {
    std::error_code error;
    // A folder opens as a stream on some systems and then reads as empty.
    if (fs::is_directory(path, error)) throw FileAccessError(CannotOpen(path));
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileAccessError(CannotOpen(path));
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw FileAccessError(CannotOpen(path));
    return bytes;
}

// Writes every file to a temporary neighbour first and renames only when all
// of them were written whole, so that a full disk or a missing permission
// never leaves a cut or mixed set of files behind.
void ReplaceFiles(const std::vector<std::pair<fs::path, std::string>>& files) {
    std::vector<fs::path> temporaries;
    auto discard = [&temporaries] {
        std::error_code ignored;
        for (const auto& temporary : temporaries)
            fs::remove(temporary, ignored);
    };
    for (const auto& [target, bytes] : files) {
        fs::path temporary = target;
        temporary += ".tmp";
        temporaries.push_back(temporary);
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (out) out.close();
        if (!out) {
            discard();
            throw FileAccessError(CannotCreate(target));
        }
    }
    // A folder in a file's place would stop its rename after others had
    // already been replaced.
    for (const auto& [target, bytes] : files) {
        std::error_code error;
        if (fs::is_directory(target, error)) {
            discard();
            throw FileAccessError(CannotCreate(target));
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::error_code error;
        fs::rename(temporaries[i], files[i].first, error);
        if (error) {
            discard();
            throw FileAccessError(CannotCreate(files[i].first));
        }
    }
}

// The cleaned lines of a source text, or nullopt when it is not a language file.
std::optional<std::vector<std::string>> CleanLanguageLines(std::string_view content) {
    std::vector<std::string> cleaned;
    for (std::string& line : SplitLanguageLines(content)) {
        if (line.empty() || line.front() == '/') continue;
        // "//" from the third character on starts a comment; at the second it is text.
        auto comment = line.find("//");
        if (comment != std::string::npos && comment >= 2)
            line = std::string(TrimRight(std::string_view(line).substr(0, comment)));
        cleaned.push_back(std::move(line));
    }
    if (cleaned.size() < 3) return std::nullopt;
    if (!Contains(LowerAscii(cleaned[0]), "language=") ||
        !Contains(LowerAscii(cleaned[1]), "country=") ||
        !Contains(LowerAscii(cleaned[2]), "author="))
        return std::nullopt;
    for (std::size_t i = 3; i < cleaned.size(); ++i) {
        const std::string& entry = cleaned[i];
        if (!Contains(LowerAscii(entry), "cap") || entry.find('=') == std::string::npos ||
            CaptionKeyNumber(entry) < 0)
            return std::nullopt;
    }
    return cleaned;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

std::string CaptionKey(int number) {
    return "cap" + std::to_string(number);
}

// A table shorter than the catalogue takes the built-in entries from its own
// length onward, so that it holds every position again.
void AppendFromPosition(CaptionTable& table) {
    const auto& builtIn = DefaultCaptions();
    for (std::size_t i = table.Entries.size(); i < builtIn.size(); ++i)
        table.Entries.push_back(builtIn[i]);
}

// A table with a gap or a duplicate in place of a key gets the built-in text
// for every key it still lacks, so that every lookup finds an entry.
void CompleteByKey(CaptionTable& table) {
    std::vector<bool> present(DefaultCaptions().size(), false);
    for (const auto& entry : table.Entries) {
        int number = CaptionKeyNumber(entry.Key + "=");
        if (number >= 0 && static_cast<std::size_t>(number) < present.size() &&
            entry.Key == CaptionKey(number))
            present[static_cast<std::size_t>(number)] = true;
    }
    for (std::size_t i = 0; i < present.size(); ++i)
        if (!present[i]) table.Entries.push_back(DefaultCaptions()[i]);
}

LoadedCaptions Loaded(CaptionTable table) {
    CompleteByKey(table);
    MessageTexts messages = FormMessageTexts(table);
    return LoadedCaptions{std::move(table), std::move(messages)};
}

// Rewrites default.lng in English; tells the user when that fails.
bool ResetDefaultLanguage(const fs::path& folder, UserDialogs& dialogs) {
    try {
        ReplaceFiles(
            {{folder / kDefaultLanguageFileName, EncodeCaptionRecords(DefaultCaptions())}});
        return true;
    } catch (const FileAccessError& error) {
        dialogs.ShowError(error.what());
        return false;
    }
}

LoadedCaptions LoadDefaultLanguage(const fs::path& folder, UserDialogs& dialogs) {
    const fs::path file = folder / kDefaultLanguageFileName;
    if (!FileExists(file)) {
        try {
            ReplaceFiles({{file, EncodeCaptionRecords(DefaultCaptions())}});
        } catch (const FileAccessError&) {
            // A read-only installation: the built-in texts are what the file
            // would hold, so the user loses nothing and the next start tries again.
        }
        return Loaded(CaptionTable::BuiltIn());
    }
    CaptionTable table;
    try {
        table.Entries = DecodeCaptionRecords(ReadWholeFile(file));
    } catch (const FileAccessError& error) {
        dialogs.ShowError(error.what());
        return Loaded(CaptionTable::BuiltIn());
    }
    if (table.Entries.size() < DefaultCaptions().size()) {
        dialogs.ShowError(kMissingTermsDefault);
        AppendFromPosition(table);
        if (ResetDefaultLanguage(folder, dialogs)) dialogs.ShowInformation(kFixedSuccessfully);
    }
    return Loaded(std::move(table));
}

std::optional<LoadedCaptions> LoadSourceLanguage(const std::string& source, const fs::path& folder,
                                                 UserDialogs& dialogs) {
    const fs::path path(source);
    if (!FileExists(path)) {
        dialogs.ShowMessage("Language file \"" + PathText(source) + "\" is missing.");
        return std::nullopt;
    }
    std::string content;
    try {
        content = ReadWholeFile(path);
    } catch (const FileAccessError& error) {
        dialogs.ShowError(error.what());
        return std::nullopt;
    }
    auto cleaned = CleanLanguageLines(content);
    if (!cleaned) {
        dialogs.ShowError(kFormatNotSupported);
        return std::nullopt;
    }
    // A failed install has told the user; the file still serves this run.
    if (dialogs.ConfirmOkCancel("Want to use " + PathText(source) +
                                " content as default language?") == DialogAnswer::Ok)
        InstallLanguageFile(path, folder, dialogs);

    CaptionTable table;
    int lastNumber = -1;
    for (std::size_t i = 3; i < cleaned->size(); ++i) {
        const std::string& line = (*cleaned)[i];
        lastNumber = CaptionKeyNumber(line);
        table.Entries.push_back({CaptionKey(lastNumber), CaptionValue(line)});
    }
    if (table.Entries.size() < DefaultCaptions().size()) {
        const bool update =
            dialogs.ConfirmOkCancel(
                "Missing terms error. Source language file " + PathText(source) +
                " is not update to this version. Corvanta will complete "
                "application interface with default (english) terms. \r\r"
                "Want to update source language file with new english terms to be edited?") ==
            DialogAnswer::Ok;
        AppendFromPosition(table);
        ResetDefaultLanguage(folder, dialogs);
        if (update) {
            std::vector<std::string> lines = SplitLanguageLines(content);
            const auto& builtIn = DefaultCaptions();
            for (std::size_t n = 0; n < builtIn.size(); ++n)
                if (static_cast<int>(n) > lastNumber)
                    lines.push_back(builtIn[n].Key + "=" + builtIn[n].Text);
            try {
                ReplaceFiles({{path, JoinLines(lines)}});
                dialogs.ShowInformation(kFixedSuccessfully);
            } catch (const FileAccessError& error) {
                dialogs.ShowError(error.what());
            }
        }
    }
    return Loaded(std::move(table));
}

void PutLittleEndian32(std::string& out, std::int32_t value) {
    auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((bits >> shift) & 0xFFu));
}

std::int32_t GetLittleEndian32(std::string_view bytes) {
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i)
        bits = (bits << 8) | static_cast<unsigned char>(bytes[i]);
    return static_cast<std::int32_t>(bits);
}

void PutShortText(std::string& out, std::string_view text, std::size_t field) {
    text = text.substr(0, field);
    out.push_back(static_cast<char>(text.size()));
    out.append(text);
    out.append(field - text.size(), '\0');
}

// A length beyond its field or beyond the bytes present is limited to them,
// so that a damaged record never reads into its neighbour.
std::string GetShortText(std::string_view record, std::size_t offset, std::size_t field) {
    if (offset >= record.size()) return {};
    std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(record[offset]), field);
    return std::string(record.substr(offset + 1, length));
}

}  // namespace

std::vector<std::string> SplitLanguageLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::string ValidateLanguageFile(const fs::path& path) {
    if (!FileExists(path)) return "error";
    auto cleaned = CleanLanguageLines(ReadWholeFile(path));
    return cleaned ? JoinLines(*cleaned) : "error";
}

int CaptionKeyNumber(std::string_view line) {
    std::string_view key = Trim(line.substr(0, line.find('=')));
    if (key.size() < 4 || LowerAscii(key.substr(0, 3)) != "cap") return -1;
    std::int64_t number = 0;
    for (char c : key.substr(3)) {
        if (c < '0' || c > '9') return -1;
        number = number * 10 + (c - '0');
        if (number > INT32_MAX) return -1;
    }
    return static_cast<int>(number);
}

std::string CaptionValue(std::string_view line) {
    auto equals = line.find('=');
    if (equals == std::string_view::npos) return {};
    return std::string(TrimRight(line.substr(equals + 1)));
}

std::string EncodeCaptionRecords(const std::vector<CaptionEntry>& entries) {
    std::string bytes;
    bytes.reserve(entries.size() * kCaptionRecordSize);
    for (const auto& entry : entries) {
        PutLittleEndian32(bytes, CaptionKeyNumber(entry.Key + "="));
        PutShortText(bytes, entry.Text, kCaptionTextMax);
    }
    return bytes;
}

std::vector<CaptionEntry> DecodeCaptionRecords(std::string_view bytes) {
    std::vector<CaptionEntry> entries;
    for (std::size_t offset = 0; offset + kCaptionRecordSize <= bytes.size();
         offset += kCaptionRecordSize) {
        std::string_view record = bytes.substr(offset, kCaptionRecordSize);
        entries.push_back({CaptionKey(GetLittleEndian32(record)), GetShortText(record, 4, 255)});
    }
    return entries;
}

std::string EncodeLanguageInfo(const LanguageInfo& info) {
    auto orUnknown = [](const std::string& value) {
        return value.empty() ? std::string(kUnknown) : value;
    };
    std::string bytes;
    PutShortText(bytes, orUnknown(info.Language), kLanguageNameMax);
    PutShortText(bytes, orUnknown(info.Country), kCountryMax);
    PutShortText(bytes, orUnknown(info.Contributor), kContributorMax);
    return bytes;
}

LanguageInfo DecodeLanguageInfo(std::string_view bytes) {
    std::string_view record = bytes.substr(0, kLanguageInfoRecordSize);
    return LanguageInfo{GetShortText(record, 0, kLanguageNameMax),
                        GetShortText(record, 1 + kLanguageNameMax, kCountryMax),
                        GetShortText(record, 2 + kLanguageNameMax + kCountryMax, kContributorMax)};
}

bool InstallLanguageFile(const fs::path& path, const fs::path& folder, UserDialogs& dialogs) {
    if (!FileExists(path)) {
        dialogs.ShowMessage("Language file \"" + PathText(path.string()) + "\" does not exists.");
        return false;
    }
    try {
        auto cleaned = CleanLanguageLines(ReadWholeFile(path));
        if (!cleaned) {
            dialogs.ShowError(kFormatNotSupported);
            return false;
        }
        std::vector<CaptionEntry> entries;
        for (std::size_t i = 3; i < cleaned->size(); ++i) {
            const std::string& line = (*cleaned)[i];
            entries.push_back({CaptionKey(CaptionKeyNumber(line)), CaptionValue(line)});
        }
        LanguageInfo info{HeaderValue((*cleaned)[0]), HeaderValue((*cleaned)[1]),
                          HeaderValue((*cleaned)[2])};
        ReplaceFiles({{folder / kDefaultLanguageFileName, EncodeCaptionRecords(entries)},
                      {folder / kLanguageInfoFileName, EncodeLanguageInfo(info)}});
        return true;
    } catch (const FileAccessError& error) {
        dialogs.ShowError(error.what());
        return false;
    }
}

std::optional<LoadedCaptions> LoadCaptions(const std::string& source, const fs::path& folder,
                                           UserDialogs& dialogs) {
    if (source == kDefaultLanguageSource) return LoadDefaultLanguage(folder, dialogs);
    return LoadSourceLanguage(source, folder, dialogs);
}

void ShowDefaultLanguageInfo(const fs::path& folder, UserDialogs& dialogs) {
    LanguageInfo info{"English", "USA", "Corvanta \xA9"};
    const fs::path file = folder / kLanguageInfoFileName;
    if (FileExists(file)) {
        try {
            info = DecodeLanguageInfo(ReadWholeFile(file));
        } catch (const FileAccessError& error) {
            dialogs.ShowError(error.what());
            return;
        }
        for (std::string* field : {&info.Language, &info.Country, &info.Contributor})
            if (field->empty()) *field = kUnknown;
    }
    dialogs.ShowMessage("Default interface language data:\r" + std::string(41, '-') +
                        "\rLanguage: " + info.Language + "\rCountry: " + info.Country +
                        "\rContributor: " + info.Contributor);
}

std::string WithLanguageFileExtension(const std::string& name) {
    if (fs::path(name).has_extension()) return name;
    return name + "." + kLanguageFileExtension;
}

fs::path ChooseLanguageFolder(const fs::path& executableFolder, const fs::path& userFolder) {
    const fs::path probe = executableFolder / ".corvanta-write-test";
    std::error_code missing;
    if (fs::is_regular_file(executableFolder / kDefaultLanguageFileName, missing)) {
        std::ofstream out(probe, std::ios::binary | std::ios::trunc);
        if (out) {
            out.close();
            std::error_code ignored;
            fs::remove(probe, ignored);
            return executableFolder;
        }
    }
    std::error_code ignored;
    fs::create_directories(userFolder, ignored);
    return userFolder;
}

}  // namespace corvanta
