#pragma once

#include <ostream>

namespace corvanta::cli {

// Dispatches to the subcommands; returns the exit code.
int Main(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace corvanta::cli
