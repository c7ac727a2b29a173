#include "cli/Commands.h"

#include <string_view>

namespace corvanta::cli {

namespace {

const char* const kUsage =
    "usage: corvanta-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  eval EXPRESSION   evaluate the right side of an equation\n"
    "  parse FILE        analyse a set of equations (FILE, or - for stdin)\n"
    "  run MODEL.cvm     run a simulation of a model file\n"
    "\n"
    "corvanta-cli COMMAND --help describes each command; corvanta-cli --version prints\n"
    "the version.\n";

}  // namespace

int Main(int argc, char** argv, std::ostream& out, std::ostream& err) {
    if (argc < 2) {
        err << kUsage;
        return 2;
    }
    std::string_view command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        out << kUsage;
        return 0;
    }
    if (command == "--version") {
        out << "corvanta-cli " << CORVANTA_VERSION << '\n';
        return 0;
    }
    if (command == "eval") return EvalCommand(argc - 2, argv + 2, out, err);
    if (command == "parse") return ParseCommand(argc - 2, argv + 2, out, err);
    if (command == "run") return RunCommand(argc - 2, argv + 2, out, err);
    err << "corvanta-cli: unknown command '" << command << "'\n" << kUsage;
    return 2;
}

}  // namespace corvanta::cli
