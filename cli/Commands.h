#pragma once

#include <ostream>

namespace corvanta::cli {

// Dispatches to the subcommands; returns the exit code.
int Main(int argc, char** argv, std::ostream& out, std::ostream& err);

// The subcommands; args excludes the program and command names. Each returns
// 0 on success, 1 on a rejected input and 2 on a usage error.
int EvalCommand(int argc, char** argv, std::ostream& out, std::ostream& err);
int ParseCommand(int argc, char** argv, std::ostream& out, std::ostream& err);
int RunCommand(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace corvanta::cli
