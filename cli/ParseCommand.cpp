#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "captions/Captions.h"
#include "cli/CliDialogs.h"
#include "cli/Commands.h"
#include "distributions/ModelUpdate.h"
#include "engine/Equations.h"
#include "engine/Faults.h"

namespace corvanta::cli {

namespace {

const char* const kParseUsage =
    "usage: corvanta-cli parse FILE\n"
    "\n"
    "Reads a set of equations, one per line, from FILE (- for standard input;\n"
    "Windows-1252 text), finds the output, intermediate and input quantities,\n"
    "substitutes the intermediate quantities into the output equation and\n"
    "compiles it. Blank lines are skipped. Prints:\n"
    "  output: NAME\n"
    "  intermediate: NAMES\n"
    "  inputs: NAMES\n"
    "  equation: the substituted output equation\n"
    "  postfix: its compiled tokens\n"
    "Exits 1 with the messages on stderr when the set is rejected or the file\n"
    "cannot be read.\n";

bool ReadAll(std::istream& in, std::string& text) {
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return !in.bad();
}

void PrintList(std::ostream& out, std::string_view key, const std::vector<std::string>& names) {
    out << key << ':';
    for (const auto& name : names)
        out << ' ' << Utf8FromWindows1252(name);
    out << '\n';
}

// Names the first line that is rejected without a message of its own.
void ExplainSilentRejection(std::string_view modelText, std::ostream& err) {
    SilentDialogs silent;
    const std::vector<std::string> lines = SplitLines(modelText);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find_first_not_of(" \t") == std::string::npos) continue;
        EquationInfo info;
        try {
            ParseEquation(lines[i], info, silent);
        } catch (const CalcError&) {
            continue;
        }
        if (info.ErrorFlag) {
            err << "corvanta-cli: line " << i + 1 << ": " << SilentRejectionText(info.ErrorCode)
                << '\n';
            return;
        }
    }
    err << "corvanta-cli: the set of equations was rejected\n";
}

}  // namespace

int ParseCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
    if (argc == 1 && (std::string_view(argv[0]) == "--help" || std::string_view(argv[0]) == "-h")) {
        out << kParseUsage;
        return 0;
    }
    if (argc != 1) {
        err << kParseUsage;
        return 2;
    }

    const std::string path = argv[0];
    std::string text;
    if (path == "-") {
        if (!ReadAll(std::cin, text)) {
            err << "corvanta-cli: cannot read the standard input\n";
            return 1;
        }
    } else {
        std::error_code ignored;
        std::ifstream in(path, std::ios::binary);
        if (std::filesystem::is_directory(path, ignored) || !in || !ReadAll(in, text)) {
            err << "corvanta-cli: cannot read the file '" << path << "'\n";
            return 1;
        }
    }

    StreamDialogs dialogs(err);
    try {
        const std::string modelText = RemoveEmptyLines(text);
        EquationSet set;
        ParseModelSet(modelText, set, FormMessageTexts(CaptionTable::BuiltIn()), dialogs);
        if (set.ErrorFlag) {
            if (dialogs.Shown() == 0) ExplainSilentRejection(text, err);
            return 1;
        }

        EquationInfo outputEquation;
        ParseEquation(set.CleanText, outputEquation, dialogs);
        const std::vector<std::string> outputNames = SplitLines(outputEquation.UniqueNames);
        const std::unordered_set<std::string> used(outputNames.begin(), outputNames.end());
        std::vector<std::string> intermediate, inputs;
        for (const auto& name : SplitLines(set.NameList)) {
            if (name == outputNames.front()) continue;
            (used.count(name) ? inputs : intermediate).push_back(name);
        }

        out << "output: " << Utf8FromWindows1252(outputNames.front()) << '\n';
        PrintList(out, "intermediate", intermediate);
        PrintList(out, "inputs", inputs);
        out << "equation: " << Utf8FromWindows1252(set.CleanText) << '\n';
        PrintList(out, "postfix", SplitLines(set.PostfixText));
        return 0;
    } catch (const CalcError& error) {
        err << Utf8FromWindows1252(error.what()) << '\n';
    } catch (const std::exception& error) {
        err << "corvanta-cli: " << error.what() << '\n';
    }
    return 1;
}

}  // namespace corvanta::cli
