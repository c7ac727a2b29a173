#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "simulation/RunArguments.h"
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

// The user guide: share/corvanta/guide of an installation, or docs/ of the
// source tree beside a build; empty when neither holds guide.md.
std::filesystem::path FindUserGuide(const std::filesystem::path& executableFolder);

// units.000 of the working folder, else of the user's data folder.
std::filesystem::path FindUnitsFile(const std::filesystem::path& workingFolder,
                                    const std::filesystem::path& userFolder);

// The folders of this process: the executable's, the user's data folder
// (created when missing) and the working folder.
GrafEnvironment DefaultEnvironment();

// What `corvanta --help` prints.
extern const char* const kCorvantaUsage;

// corvanta --report OUT.pdf [--iterations N] [--probability P] [--seed S]
// MODEL.cvm: the report of one run, written without a window.
struct ReportRequest {
    std::string Output;  // the PDF, in the file system's encoding
    std::string Model;
    RunArguments Run;
};

// Whether the command line is the report mode's: it names --report or an
// option that only goes with it.
bool AsksForReport(int argc, char** argv);

// The report mode's command line; nothing after telling err why, with the
// exit code set (2 a usage error, 1 a value refused, 0 after --help).
std::optional<ReportRequest> ReadReportRequest(int argc, char** argv, std::ostream& err,
                                               std::ostream& out, int& exitCode);

// The report needs no display: Qt's offscreen platform unless the caller
// chose one. Before the application object is made.
void ChooseOffscreenPlatform();

// Opens the model, runs it as Start does (with the choices saved in it) and
// writes the report as Export report as PDF does; every message goes to err.
// Returns the exit code: 0 written, 1 when the model can't be read or run or
// the file can't be written. Needs the application object.
int WriteReportWithoutWindow(const ReportRequest& request, std::ostream& err);

}  // namespace corvanta
