#include "document/ModelFile.h"

#include "captions/PathText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "distributions/ModelUpdate.h"
#include "distributions/Readings.h"
#include "document/SectionStore.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"

namespace corvanta {

namespace {

const char* const kCrLf = "\r\n";
const char* const kCorrelationsSection = "Correlaciones";

// The run's choices, after the records.
const char* const kIntervalTag = "Intervalo";
const char* const kAdaptiveTag = "Adaptativo";
const char* const kDigitsTag = "Cifras";
const char* const kSymmetric = "Simetrico";
const char* const kShortest = "Minimo";

// A NUL would end the text for the reader and hide the rest of the file.
std::string WithoutNul(std::string_view value) {
    std::string text(value);
    for (char& c : text) {
        if (c == '\0') c = ' ';
    }
    return text;
}

// A line end inside a one-line field would push the rest of the value out of
// its section.
std::string AsOneLine(std::string_view value) {
    std::string text(value);
    for (char& c : text) {
        if (c == '\0' || c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

void AppendLineField(std::string& out, std::string_view tag, std::string_view value) {
    out += OpeningTag(tag) + kCrLf;
    out += AsOneLine(value) + kCrLf;
    out += ClosingTag(tag) + kCrLf;
}

void AppendLinesField(std::string& out, std::string_view tag, std::string_view value) {
    out += OpeningTag(tag) + kCrLf;
    std::string text = WithoutNul(value);
    std::vector<std::string_view> lines = SplitTextLines(text);
    out += JoinLines(lines, 0, lines.size());
    out += ClosingTag(tag) + kCrLf;
}

// The reason a file cannot be opened; `message` is shown as it stands.
struct OpenRefusal {
    bool IsError;  // an "Error" dialog; otherwise the plain box of a runtime fault
    std::string Message;
};

class ModelTextReader {
  public:
    ModelTextReader(std::string_view text, std::string_view fileName)
        : lines_(SplitTextLines(text)), fileName_(PathText(fileName)) {}

    // Title, description and equations, each searched after the previous one
    // so that tag lines inside a description are taken as its text.
    void ReadHead(ModelDocument& document) {
        std::size_t cursor = 0;
        document.Title = ReadLineField("Titulo", cursor, lines_.size(), "");
        document.Description = ReadLinesField("Desc", cursor, lines_.size(), "");
        document.ModelText = ReadLinesField("Modelo", cursor, lines_.size(), "");
        recordsStart_ = cursor;
    }

    // The records follow the equations, numbered from 0 without a gap; the
    // first number without its opening tag ends them.
    ParameterList ReadRecords() {
        ParameterList records;
        std::size_t cursor = recordsStart_;
        for (long long i = 0;; ++i) {
            std::string name = "Par" + IntegerText(i);
            std::size_t open = FindLine(lines_, OpeningTag(name), cursor, lines_.size());
            if (open == lines_.size()) break;
            std::size_t close = FindLine(lines_, ClosingTag(name), open + 1, lines_.size());
            std::string where = " in record \"" + OpeningTag(name) + "\"";
            if (close == lines_.size()) Refuse(MissingTag(ClosingTag(name), ""));
            records.push_back(ReadRecord(open + 1, close, where));
            cursor = close + 1;
        }
        recordsEnd_ = cursor;
        return records;
    }

    // The optional section after the records: "first;second;coefficient"
    // lines. A pair of coefficient 0 is taken as absent.
    CorrelationList ReadCorrelations(const ParameterList& records) {
        const std::string openTag = OpeningTag(kCorrelationsSection);
        const std::string closeTag = ClosingTag(kCorrelationsSection);
        std::size_t open = FindLine(lines_, openTag, recordsEnd_, lines_.size());
        if (open == lines_.size()) return {};
        std::size_t close = FindLine(lines_, closeTag, open + 1, lines_.size());
        if (close == lines_.size()) Refuse(MissingTag(closeTag, ""));
        CorrelationList read;
        for (std::size_t i = open + 1; i < close; ++i) {
            std::string_view line = lines_[i];
            if (line.empty()) continue;
            std::vector<std::string_view> fields;
            std::size_t start = 0;
            for (;;) {
                std::size_t semicolon = line.find(';', start);
                fields.push_back(line.substr(start, semicolon - start));
                if (semicolon == std::string_view::npos) break;
                start = semicolon + 1;
            }
            std::optional<std::string> why;
            Correlation entry;
            if (fields.size() != 3) {
                why = "it does not hold two names and a coefficient separated by \";\"";
            } else {
                why = CheckCorrelationEntry(records, read, fields[0], fields[1], fields[2], entry);
            }
            if (why) {
                Refuse("The file \"" + fileName_ + "\" is not a valid model file: line " +
                       IntegerText(static_cast<long long>(i) + 1) + " (\"" + std::string(line) +
                       "\") of the correlations: " + *why + ".");
            }
            read.push_back(entry);
        }
        std::erase_if(read, [](const Correlation& c) { return c.Coefficient == 0; });
        return read;
    }

    // Each choice is read when its section is there; older files have none.
    RunChoices ReadChoices() {
        RunChoices choices;
        std::size_t cursor = recordsEnd_;
        if (Has(kIntervalTag, cursor)) {
            const std::string kind = ReadLineField(kIntervalTag, cursor, lines_.size(), "");
            if (kind != kSymmetric && kind != kShortest)
                Refuse(Invalid("the interval kind \"" + kind + "\" is not " + kSymmetric + " or " +
                               kShortest));
            choices.Interval = kind == kShortest ? IntervalKind::Shortest : IntervalKind::Symmetric;
        }
        cursor = recordsEnd_;
        if (Has(kAdaptiveTag, cursor))
            choices.Adaptive = ReadLineField(kAdaptiveTag, cursor, lines_.size(), "") == "T";
        cursor = recordsEnd_;
        if (Has(kDigitsTag, cursor)) {
            const std::string digits = ReadLineField(kDigitsTag, cursor, lines_.size(), "");
            std::int32_t value = 0;
            if (!TryParseInteger(digits, value) || value < kMinimumDigits || value > kMaximumDigits)
                Refuse(Invalid("the number of significant digits \"" + digits +
                               "\" is not one of 1 to 5"));
            choices.Digits = value;
        }
        return choices;
    }

    [[noreturn]] void Refuse(std::string message) { throw OpenRefusal{true, std::move(message)}; }

    std::string Incomplete(const std::string& what) const {
        return "The file \"" + fileName_ + "\" is not a complete model file: " + what + ".";
    }
    std::string Invalid(const std::string& what) const {
        return "The file \"" + fileName_ + "\" is not a valid model file: " + what + ".";
    }
    std::string MissingTag(const std::string& tag, const std::string& where) const {
        return Incomplete("the tag \"" + tag + "\"" + where + " is missing");
    }

  private:
    ModelParameter ReadRecord(std::size_t from, std::size_t to, const std::string& where) {
        ModelParameter p;
        std::size_t cursor = from;
        p.Nombre = ReadLineField("ParNombre", cursor, to, where);
        p.Unidad = ReadLineField("ParUnidad", cursor, to, where);
        p.Desc = ReadLineField("ParDesc", cursor, to, where);
        std::string distrib = ReadLineField("ParDistrib", cursor, to, where);
        p.Valor = ReadLineField("ParValor", cursor, to, where);
        p.Lecturas = ReadingsFromSection(ReadLinesField("ParLecturas", cursor, to, where));
        p.a = ReadLineField("Par_a", cursor, to, where);
        p.b = ReadLineField("Par_b", cursor, to, where);
        p.Grados = ReadLineField("ParGrados", cursor, to, where);
        p.Init = ReadLineField("ParInit", cursor, to, where) == "T";
        std::string sensib = ReadLineField("ParSensib", cursor, to, where);

        std::int32_t kind = 0;
        if (!TryParseInteger(distrib, kind)) throw OpenRefusal{false, InvalidIntegerText(distrib)};
        if (kind < 0 || kind >= kDistributionKindCount) {
            Refuse("The file \"" + fileName_ +
                   "\" is not a valid model file: the distribution number " + IntegerText(kind) +
                   where + " is not one of 0 to 23.");
        }
        p.Distrib = kind;
        long double value = 0;
        // A value beyond the double range could not be held in the record;
        // the largest double itself is written rounded up to 15 digits.
        static const long double largest = ParseFloat("1.79769313486232E308");
        if (!TryParseFloat(sensib, value) || !(std::fabs(value) <= largest)) {
            throw OpenRefusal{false, InvalidFloatText(sensib)};
        }
        p.Sensib = std::fabs(value) > DBL_MAX ? std::copysign(DBL_MAX, static_cast<double>(value))
                                              : static_cast<double>(value);
        return p;
    }

    // The value line right after the opening tag, and the closing tag right
    // after it.
    std::string ReadLineField(std::string_view name, std::size_t& cursor, std::size_t to,
                              const std::string& where) {
        std::string openTag = OpeningTag(name);
        std::string closeTag = ClosingTag(name);
        std::size_t open = FindLine(lines_, openTag, cursor, to);
        if (open == to) Refuse(MissingTag(openTag, where));
        bool valueMissing = open + 1 >= to || (lines_[open + 1] == closeTag &&
                                               (open + 2 >= to || lines_[open + 2] != closeTag));
        if (valueMissing)
            Refuse(Incomplete("the tag \"" + openTag + "\"" + where + " has no value line"));
        if (open + 2 >= to || lines_[open + 2] != closeTag) Refuse(MissingTag(closeTag, where));
        cursor = open + 3;
        return std::string(lines_[open + 1]);
    }

    // Every line up to the closing tag, each followed by CR LF.
    std::string ReadLinesField(std::string_view name, std::size_t& cursor, std::size_t to,
                               const std::string& where) {
        std::string openTag = OpeningTag(name);
        std::string closeTag = ClosingTag(name);
        std::size_t open = FindLine(lines_, openTag, cursor, to);
        if (open == to) Refuse(MissingTag(openTag, where));
        std::size_t close = FindLine(lines_, closeTag, open + 1, to);
        if (close == to) Refuse(MissingTag(closeTag, where));
        cursor = close + 1;
        return JoinLines(lines_, open + 1, close);
    }

    // The readings as they were held. The writer adds one line end after the
    // value, taken off here so that saving and opening again changes nothing.
    // The reader also took the CR between two cells for a line end; the
    // keyword tells how many cells make a row, so the rows are put together
    // again. Files from older versions, which gained an empty line at every
    // save, lose those lines here.
    static std::string ReadingsFromSection(const std::string& section) {
        std::string held = section;
        if (held.size() >= 2) held.resize(held.size() - 2);
        std::vector<std::string_view> lines = SplitTextLines(held);
        std::size_t last = lines.size();
        while (last > 0 && lines[last - 1].empty())
            --last;
        if (last == 0) return {};
        std::optional<ReadingMode> mode = ReadingModeFromKeyword(lines[0]);
        if (!mode) return held;
        std::size_t width = ReadingColumns(*mode).size();
        std::size_t cells = last - 1;
        if (width == 0 || cells % width != 0) return held;
        for (std::size_t i = 1; i < last; ++i) {
            if (lines[i].empty()) return held;
        }
        std::string text(lines[0]);
        text += kCrLf;
        for (std::size_t row = 0; row < cells / width; ++row) {
            for (std::size_t c = 0; c < width; ++c) {
                if (c > 0) text += '\r';
                text += lines[1 + row * width + c];
            }
            text += kCrLf;
        }
        return text;
    }

    bool Has(std::string_view name, std::size_t from) const {
        return FindLine(lines_, OpeningTag(name), from, lines_.size()) != lines_.size();
    }

    std::vector<std::string_view> lines_;
    std::string fileName_;
    std::size_t recordsStart_ = 0;
    std::size_t recordsEnd_ = 0;
};

std::string SystemReason(int error) {
    return std::generic_category().message(error);
}

std::string FileError(const char* what, const std::string& path, int error) {
    return std::string(what) + " \"" + PathText(path) + "\". " + SystemReason(error);
}

int WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// Returns 0 or the errno of the step that failed; the target is untouched on
// failure.
int ReplaceFile(const std::string& path, std::string_view text) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Writing through a link replaces the file it points to, not the link.
    fs::path target = fs::path(path);
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    struct stat existing {};
    bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) return EISDIR;
        // Renaming over a read-only file would bypass its protection.
        if (::access(target.c_str(), W_OK) != 0) return errno;
    }
    static std::atomic<unsigned> counter{0};
    fs::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = target;
        temporary += ".tmp" + IntegerText(::getpid()) + "-" + IntegerText(counter++);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return errno;
    }
    if (fd < 0) return EEXIST;
    int error = WriteAll(fd, text);
    if (error == 0 && exists && ::fchmod(fd, existing.st_mode & 07777) != 0) error = errno;
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) ::unlink(temporary.c_str());
    return error;
}

}  // namespace

std::string ComposeModelText(const ModelDocument& document) {
    std::string out;
    AppendLineField(out, "Titulo", document.Title);
    AppendLinesField(out, "Desc", document.Description);
    AppendLinesField(out, "Modelo", document.ModelText);
    for (std::size_t i = 0; i < document.Parameters.size(); ++i) {
        const ModelParameter& p = document.Parameters[i];
        std::string name = "Par" + IntegerText(static_cast<long long>(i));
        out += OpeningTag(name) + kCrLf;
        AppendLineField(out, "ParNombre", p.Nombre);
        AppendLineField(out, "ParUnidad", p.Unidad);
        AppendLineField(out, "ParDesc", p.Desc);
        AppendLineField(out, "ParDistrib", IntegerText(p.Distrib));
        AppendLineField(out, "ParValor", p.Valor);
        out += OpeningTag("ParLecturas") + kCrLf;
        out += WithoutNul(p.Lecturas) + kCrLf;
        out += ClosingTag("ParLecturas") + kCrLf;
        AppendLineField(out, "Par_a", p.a);
        AppendLineField(out, "Par_b", p.b);
        AppendLineField(out, "ParGrados", p.Grados);
        AppendLineField(out, "ParInit", p.Init ? "T" : "F");
        AppendLineField(out, "ParSensib", std::isfinite(p.Sensib) ? FormatGeneral(p.Sensib) : "0");
        out += ClosingTag(name) + kCrLf;
    }
    bool correlated = false;
    for (const Correlation& c : document.Correlations)
        correlated = correlated || c.Coefficient != 0;
    if (correlated) {
        out += OpeningTag(kCorrelationsSection) + kCrLf;
        for (const Correlation& c : document.Correlations) {
            if (c.Coefficient == 0) continue;
            out += AsOneLine(c.First) + ";" + AsOneLine(c.Second) + ";" +
                   FormatGeneral(c.Coefficient) + kCrLf;
        }
        out += ClosingTag(kCorrelationsSection) + kCrLf;
    }
    const RunChoices& choices = document.Choices;
    if (choices != RunChoices{}) {
        AppendLineField(out, kIntervalTag,
                        choices.Interval == IntervalKind::Shortest ? kShortest : kSymmetric);
        AppendLineField(out, kAdaptiveTag, choices.Adaptive ? "T" : "F");
        AppendLineField(out, kDigitsTag, IntegerText(choices.Digits));
    }
    return out;
}

std::optional<OpenedModel> ApplyModelText(std::string_view text, std::string_view fileName,
                                          const MessageTexts& messages, UserDialogs& dialogs) {
    try {
        ModelTextReader reader(text, fileName);
        OpenedModel opened;
        reader.ReadHead(opened.Document);
        ParameterList records = reader.ReadRecords();
        opened.Document.Choices = reader.ReadChoices();

        ParameterList quantities;
        if (!RemoveEmptyLines(opened.Document.ModelText).empty()) {
            ModelUpdate update =
                UpdateParameters(opened.Document.ModelText, ParameterList{}, messages, dialogs);
            if (!update.Accepted) {
                reader.Refuse("The file \"" + PathText(fileName) +
                              "\" cannot be opened: its equations do not form a valid model.");
            }
            opened.Document.ModelText = std::move(update.ModelText);
            opened.PostfixExpression = std::move(update.PostfixExpression);
            quantities = std::move(update.Parameters);
        } else {
            opened.Document.ModelText.clear();
        }

        if (records.size() != quantities.size()) {
            reader.Refuse("The file \"" + PathText(fileName) +
                          "\" does not match its model: it "
                          "holds " +
                          IntegerText(static_cast<long long>(records.size())) +
                          " quantity records, but its equations have " +
                          IntegerText(static_cast<long long>(quantities.size())) + " quantities.");
        }
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (records[i].Nombre != quantities[i].Nombre) {
                reader.Refuse("The file \"" + PathText(fileName) +
                              "\" does not match its model: record \"%Par" +
                              IntegerText(static_cast<long long>(i)) + "%\" is for \"" +
                              records[i].Nombre + "\", but quantity " +
                              IntegerText(static_cast<long long>(i) + 1) +
                              " of its equations is \"" + quantities[i].Nombre + "\".");
            }
        }
        opened.Document.Correlations = reader.ReadCorrelations(records);
        opened.Document.Parameters = std::move(records);
        opened.ParametersReady = CheckReady(opened.Document.Parameters);
        return opened;
    } catch (const OpenRefusal& refusal) {
        if (refusal.IsError) {
            dialogs.ShowError(refusal.Message);
        } else {
            dialogs.ShowMessage(refusal.Message);
        }
        return std::nullopt;
    }
}

std::optional<std::string> ReadModelFile(const std::string& path, UserDialogs& dialogs) {
    // A pipe or a device chosen by mistake must not block the window, and an
    // endless one must not fill the memory: model files are small.
    constexpr std::size_t kLargestModelFile = std::size_t{16} << 20;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    int error = fd < 0 ? errno : 0;
    std::string text;
    if (fd >= 0) {
        char buffer[65536];
        for (;;) {
            ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) error = errno;
            if (got <= 0) break;
            text.append(buffer, static_cast<std::size_t>(got));
            if (text.size() > kLargestModelFile) {
                error = EFBIG;
                break;
            }
        }
        ::close(fd);
    }
    if (error != 0) {
        dialogs.ShowMessage(FileError("Cannot open file", path, error));
        return std::nullopt;
    }
    return text;
}

bool WriteModelFile(const std::string& path, std::string_view text, UserDialogs& dialogs) {
    int error = path.empty() ? ENOENT : ReplaceFile(path, text);
    if (error != 0) {
        dialogs.ShowMessage(FileError("Cannot create file", path, error));
        return false;
    }
    return true;
}

std::string WithModelExtension(const std::string& path) {
    std::filesystem::path file(path);
    if (path.empty() || file.filename().empty() || file.has_extension()) return path;
    return path + ".cvm";
}

std::string OverwriteQuestion(const MessageTexts& messages, std::string_view path) {
    return messages.TheFile + " " + PathText(path) + " " + messages.AlreadyExistsOverwrite;
}

std::string SavedWindowCaption(std::string_view path) {
    return " Corvanta - " + PathText(path);
}

SaveOutcome SaveModel(const ModelDocument& document, const std::string& currentFileName,
                      const MessageTexts& messages, UserDialogs& dialogs,
                      const ModelFileDialogs& fileDialogs) {
    if (currentFileName.empty()) return SaveModelAs(document, messages, dialogs, fileDialogs);
    SaveOutcome outcome;
    if (WriteModelFile(currentFileName, ComposeModelText(document), dialogs)) {
        outcome.Written = true;
        outcome.FileName = currentFileName;
    }
    return outcome;
}

SaveOutcome SaveModelAs(const ModelDocument& document, const MessageTexts& messages,
                        UserDialogs& dialogs, const ModelFileDialogs& fileDialogs) {
    SaveOutcome outcome;
    std::string text = ComposeModelText(document);
    std::optional<std::string> chosen;
    if (fileDialogs.ChooseSavePath) chosen = fileDialogs.ChooseSavePath();
    if (!chosen || chosen->empty()) return outcome;
    std::string path = WithModelExtension(*chosen);
    std::error_code ec;
    if (std::filesystem::exists(path, ec) &&
        dialogs.ConfirmOkCancel(OverwriteQuestion(messages, path)) != DialogAnswer::Ok) {
        return outcome;
    }
    if (!WriteModelFile(path, text, dialogs)) return outcome;
    outcome.Written = true;
    outcome.FileName = path;
    outcome.WindowCaption = SavedWindowCaption(path);
    return outcome;
}

std::string SaveChangesQuestion(const MessageTexts& messages, const std::string& fileName) {
    const std::string name = fileName.empty()
                                 ? messages.Window.Untitled
                                 : PathText(std::filesystem::path(fileName).filename().string());
    return messages.Window.SaveChanges + " " + name + "?";
}

KeepChangesOutcome AskToKeepChanges(const ModelDocument& current,
                                    const std::string& currentFileName,
                                    const MessageTexts& messages, UserDialogs& dialogs,
                                    const ModelFileDialogs& fileDialogs) {
    KeepChangesOutcome outcome;
    switch (dialogs.ConfirmSaveDiscardCancel(SaveChangesQuestion(messages, currentFileName))) {
        case DialogAnswer::Save:
            outcome.Save = SaveModel(current, currentFileName, messages, dialogs, fileDialogs);
            outcome.Proceed = outcome.Save.Written;
            break;
        case DialogAnswer::Discard:
            outcome.Proceed = true;
            break;
        default:
            break;
    }
    return outcome;
}

std::optional<OpenedModel> OpenModelFile(const std::string& path, const MessageTexts& messages,
                                         UserDialogs& dialogs) {
    std::optional<std::string> text = ReadModelFile(path, dialogs);
    if (!text) return std::nullopt;
    return ApplyModelText(*text, path, messages, dialogs);
}

OpenOutcome OpenModel(const ModelDocument& current, const std::string& currentFileName,
                      bool modified, const MessageTexts& messages, UserDialogs& dialogs,
                      const ModelFileDialogs& fileDialogs) {
    OpenOutcome outcome;
    if (modified) {
        KeepChangesOutcome kept =
            AskToKeepChanges(current, currentFileName, messages, dialogs, fileDialogs);
        outcome.Save = kept.Save;
        if (!kept.Proceed) return outcome;
    }
    std::optional<std::string> chosen;
    if (fileDialogs.ChooseOpenPath) chosen = fileDialogs.ChooseOpenPath();
    if (!chosen || chosen->empty()) return outcome;
    outcome.Path = WithModelExtension(*chosen);
    outcome.Opened = OpenModelFile(outcome.Path, messages, dialogs);
    return outcome;
}

}  // namespace corvanta
