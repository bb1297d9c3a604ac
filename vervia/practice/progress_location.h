#pragma once
// Where the trainer keeps a learner's practice progress: the file
// "practice-progress.txt" in the user's application data folder of
// "Gramarion", shared by the window and vervia-cli.

#include <filesystem>

namespace vervia::practice {

inline constexpr char kApplicationName[] = "Gramarion";

// The progress file of the current user (the folder may not exist yet).
std::filesystem::path DefaultProgressFile();

}  // namespace vervia::practice
