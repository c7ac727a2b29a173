#include "ui/Startup.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>
#include <new>
#include <string_view>
#include <system_error>

#include "captions/LanguageFiles.h"
#include "captions/StreamDialogs.h"
#include "engine/Faults.h"
#include "ui/TextBridge.h"

namespace corvanta {

namespace fs = std::filesystem;

void UseWindowFont() {
    QFont font = QApplication::font();
    if (!QFontDatabase::hasFamily(font.family())) font.setFamily(QStringLiteral("DejaVu Sans"));
    font.setPointSize(8);
    QApplication::setFont(font);
}

namespace {

bool HasFile(const fs::path& folder, const char* name) {
    std::error_code error;
    return !folder.empty() && fs::is_regular_file(folder / name, error);
}

}  // namespace

fs::path FindShippedLanguages(const fs::path& executableFolder) {
    std::error_code error;
    for (const char* relative :
         {"../share/corvanta/languages", "../../languages", "../languages"}) {
        const fs::path folder = (executableFolder / relative).lexically_normal();
        if (fs::is_directory(folder, error)) return folder;
    }
    return {};
}

fs::path FindUserGuide(const fs::path& executableFolder) {
    for (const char* relative : {"../share/corvanta/guide", "../../docs", "../docs"}) {
        const fs::path folder = (executableFolder / relative).lexically_normal();
        if (HasFile(folder, "guide.md")) return folder / "guide.md";
    }
    return {};
}

fs::path FindUnitsFile(const fs::path& workingFolder, const fs::path& userFolder) {
    const char* name = "units.000";
    if (HasFile(workingFolder, name)) return workingFolder / name;
    if (HasFile(userFolder, name)) return userFolder / name;
    return {};
}

GrafEnvironment DefaultEnvironment() {
    const fs::path executable = QCoreApplication::applicationDirPath().toStdString();
    const fs::path user =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
    std::error_code error;
    GrafEnvironment environment;
    environment.LanguageFolder = ChooseLanguageFolder(executable, user);
    environment.ShippedLanguages = FindShippedLanguages(executable);
    environment.UnitsFile = FindUnitsFile(fs::current_path(error), user);
    environment.GuideFile = FindUserGuide(executable);
    return environment;
}

const char* const kCorvantaUsage =
    "usage: corvanta [MODEL.cvm]\n"
    "       corvanta --report OUT.pdf [--iterations N] [--probability P] [--seed S]\n"
    "                MODEL.cvm\n"
    "\n"
    "Opens the Corvanta window, on the model file when one is named.\n"
    "  --report OUT.pdf  no window: opens the model, runs it as Start does (with\n"
    "                    the interval kind and adaptive choice saved in it, the\n"
    "                    progress view off), writes the report as File > Export\n"
    "                    report as PDF does and exits. Needs no display: Qt's\n"
    "                    offscreen platform is used unless QT_QPA_PLATFORM names\n"
    "                    one. Messages go to stderr; exits 0 when written, 1 when\n"
    "                    the model can't be read or run or the file written, 2 on\n"
    "                    a usage error.\n"
    "  --iterations N    100000 to 2000000 (default 200000, as in the window)\n"
    "  --probability P   coverage probability in percent: 68.27, 90, 95, 95.45, 99\n"
    "                    or 99.73 (default 95)\n"
    "  --seed S          0 to 4294967295; the same seed gives the same report.\n"
    "                    Without it the source is seeded from the clock.\n"
    "  --version         print the version and exit\n"
    "  --help            print this text and exit\n";

bool AsksForReport(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--report" || IsRunArgument(arg)) return true;
    }
    return false;
}

std::optional<ReportRequest> ReadReportRequest(int argc, char** argv, std::ostream& err,
                                               std::ostream& out, int& exitCode) {
    // The refusals in UTF-8, from the bytes as the batch tool takes them.
    const auto utf8 = [](std::string_view text) { return ToQt(text).toUtf8().toStdString(); };
    ReportRequest request;
    std::optional<std::string> output, model;
    exitCode = 2;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            out << kCorvantaUsage;
            exitCode = 0;
            return std::nullopt;
        }
        if (arg == "--report" || IsRunArgument(arg)) {
            if (i + 1 == argc) {
                err << "corvanta: " << arg << " needs a value\n" << kCorvantaUsage;
                return std::nullopt;
            }
            const std::string_view value = argv[++i];
            if (arg == "--report") {
                output = std::string(value);
            } else if (const auto refusal = ReadRunArgument(arg, value, kMinimumIterations,
                                                            kMaximumIterations, request.Run)) {
                err << "corvanta: " << utf8(*refusal) << '\n';
                exitCode = 1;
                return std::nullopt;
            }
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            err << "corvanta: unknown option '" << utf8(arg) << "'\n" << kCorvantaUsage;
            return std::nullopt;
        }
        if (model) {
            err << "corvanta: only one model file can be run\n" << kCorvantaUsage;
            return std::nullopt;
        }
        model = std::string(arg);
    }
    if (!output) {
        err << "corvanta: --iterations, --probability and --seed go with --report OUT.pdf\n"
            << kCorvantaUsage;
        return std::nullopt;
    }
    if (!model) {
        err << kCorvantaUsage;
        return std::nullopt;
    }
    request.Output = *output;
    request.Model = *model;
    exitCode = 0;
    return request;
}

void ChooseOffscreenPlatform() {
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    if (chosen == nullptr || *chosen == '\0') setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

int WriteReportWithoutWindow(const ReportRequest& request, std::ostream& err) {
    StreamDialogs dialogs(err);
    try {
        // A report leaves the user's recent models and last folder as they were.
        QTemporaryDir settings;
        GrafEnvironment environment = DefaultEnvironment();
        environment.SettingsFile = settings.filePath(QStringLiteral("settings.ini")).toStdString();
        TGraf window(environment, &dialogs);
        // Shown without reaching any screen: the first showing sets up what
        // the report reads, as the table's headers.
        window.setAttribute(Qt::WA_DontShowOnScreen);
        window.show();
        window.OpenFileAtStart(request.Model);
        if (window.FileName() != request.Model) return 1;
        if (window.Postfix().empty()) {
            err << "corvanta: the model file holds no equations\n";
            return 1;
        }
        window.SetRunSeed(request.Run.Seed);
        const std::optional<std::int64_t> iterations =
            request.Run.IterationsGiven ? std::optional(request.Run.Iterations) : std::nullopt;
        if (!window.RunAsStart(iterations, request.Run.CoverageIndex)) return 1;
        return window.WriteReportPdf(request.Output) ? 0 : 1;
    } catch (const CalcError& error) {
        err << Utf8FromWindows1252(error.what()) << '\n';
    } catch (const std::bad_alloc&) {
        err << "corvanta: not enough memory for the run\n";
    } catch (const std::exception& error) {
        err << "corvanta: " << error.what() << '\n';
    }
    return 1;
}

}  // namespace corvanta
