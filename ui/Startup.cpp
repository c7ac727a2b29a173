#include "ui/Startup.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QStandardPaths>
#include <system_error>

#include "captions/LanguageFiles.h"

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
    return environment;
}

}  // namespace corvanta
