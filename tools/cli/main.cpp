#include "cli/CliCommands.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return pipfield::cli::run(args, pipfield::cli::defaultSavePath(), std::cout, std::cerr);
}
