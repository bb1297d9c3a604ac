#pragma once
// Time since the process was started, read from the kernel's record of the
// process start. Used to measure how long the program takes to show its window.

#include <optional>
#include <string_view>

namespace vervia {

// The start time field (clock ticks after boot) of a /proc/<pid>/stat line.
std::optional<long long> StartTicksFromStat(std::string_view statLine);

// Seconds from the start of this process until now, if the system tells.
std::optional<double> SecondsSinceProcessStart();

}  // namespace vervia
