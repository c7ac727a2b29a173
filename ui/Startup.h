#pragma once

#include <filesystem>

#include "ui/Graf.h"

// What the program needs from its surroundings at start: the font, and the
// folders of its language and units files.
namespace corvanta {

// The window's 8-point font: the system's own family, or DejaVu Sans where
// the system names none that is installed.
void UseWindowFont();

// Where default.lng and language.dat live: next to the executable when they
// are there and the folder can be written, else in the user's data folder
// when they are there, else wherever they can be created first.
std::filesystem::path FindLanguageFolder(const std::filesystem::path& executableFolder,
                                         const std::filesystem::path& userFolder);

// units.000 of the working folder, else of the user's data folder.
std::filesystem::path FindUnitsFile(const std::filesystem::path& workingFolder,
                                    const std::filesystem::path& userFolder);

// The folders of this process: the executable's, the user's data folder
// (created when missing) and the working folder.
GrafEnvironment DefaultEnvironment();

}  // namespace corvanta
