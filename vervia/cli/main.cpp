#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "practice_command.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const bool version = std::any_of(args.begin(), args.end(), [](const std::string& arg) {
        return arg == "--version" || arg == "-v";
    });
    if (!args.empty() && args.front() == "practice" && !version) {
        return vervia::cli::RunPractice({args.begin() + 1, args.end()}, std::cin, std::cout,
                                        std::cerr, isatty(STDOUT_FILENO) == 1);
    }
    return vervia::cli::Run(args, std::cout, std::cerr, isatty(STDOUT_FILENO) == 1);
}
