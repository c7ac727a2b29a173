#include <exception>
#include <string>
#include <string_view>

#include "cli/CliDialogs.h"
#include "cli/Commands.h"
#include "engine/Equations.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"

namespace corvanta::cli {

namespace {

const char* const kEvalUsage =
    "usage: corvanta-cli eval [--] EXPRESSION\n"
    "\n"
    "Checks and compiles EXPRESSION as the right side of the equation\n"
    "y = EXPRESSION and evaluates it. Prints the value as number text (at most\n"
    "15 significant digits) and exits 0; prints the messages on stderr and\n"
    "exits 1 when the expression is rejected or its evaluation fails.\n"
    "Quantity names have no value here: only numbers, pi and functions.\n";

}  // namespace

int EvalCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
    if (argc == 1 && (std::string_view(argv[0]) == "--help" || std::string_view(argv[0]) == "-h")) {
        out << kEvalUsage;
        return 0;
    }
    if (argc == 2 && std::string_view(argv[0]) == "--") {
        ++argv;
        --argc;
    }
    if (argc != 1) {
        err << kEvalUsage;
        return 2;
    }

    StreamDialogs dialogs(err);
    try {
        EquationInfo info;
        ParseEquation(std::string("y = ") + argv[0], info, dialogs);
        if (info.ErrorFlag) {
            if (dialogs.Shown() == 0)
                err << "corvanta-cli: " << SilentRejectionText(info.ErrorCode) << '\n';
            return 1;
        }
        const long double value = EvaluatePostfix(info.PostfixText, dialogs);
        if (dialogs.Shown() != 0) return 1;  // values left over: the result is not meaningful
        out << FormatGeneral(value) << '\n';
        return 0;
    } catch (const CalcError& error) {
        err << Utf8FromWindows1252(error.what()) << '\n';
    } catch (const std::exception& error) {
        err << "corvanta-cli: " << error.what() << '\n';
    }
    return 1;
}

}  // namespace corvanta::cli
