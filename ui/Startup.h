#pragma once

#include <filesystem>

#include "ui/Graf.h"

// What the program needs from its surroundings at start: the font, and the
// folders of its language and units files.
namespace corvanta {

// The window's 8-point font: the system's own family, or DejaVu Sans where
// the system names none that is installed.
void UseWindowFont();

// The language source files shipped with the program: share/corvanta/
// languages of an installation, or languages/ of the source tree beside a
// build; empty when neither is there.
std::filesystem::path FindShippedLanguages(const std::filesystem::path& executableFolder);

// units.000 of the working folder, else of the user's data folder.
std::filesystem::path FindUnitsFile(const std::filesystem::path& workingFolder,
                                    const std::filesystem::path& userFolder);

// The folders of this process: the executable's, the user's data folder
// (created when missing) and the working folder.
GrafEnvironment DefaultEnvironment();

}  // namespace corvanta
