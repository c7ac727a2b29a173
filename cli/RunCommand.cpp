#include "cli/Commands.h"

namespace corvanta::cli {

int RunCommand(int, char**, std::ostream&, std::ostream& err) {
    err << "corvanta-cli: this command is not available yet\n";
    return 2;
}

}  // namespace corvanta::cli
