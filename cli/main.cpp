// corvanta-cli: the batch front end over the core. Results go to stdout,
// messages to stderr; exit 0 on success, 1 on a rejected input, 2 on a
// usage error.
#include <iostream>

#include "cli/Commands.h"

int main(int argc, char** argv) {
    return corvanta::cli::Main(argc, argv, std::cout, std::cerr);
}
