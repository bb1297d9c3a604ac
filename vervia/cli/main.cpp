#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "practice_command.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args.front() == "practice") {
        return vervia::cli::RunPractice({args.begin() + 1, args.end()}, std::cin, std::cout,
                                        std::cerr, isatty(STDOUT_FILENO) == 1);
    }
    return vervia::cli::Run(args, std::cout, std::cerr, isatty(STDOUT_FILENO) == 1);
}
