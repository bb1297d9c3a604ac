#include "vervia/ui/startup_clock.h"

#include <time.h>
#include <unistd.h>

#include <charconv>
#include <fstream>
#include <iterator>
#include <string>

namespace vervia {

std::optional<long long> StartTicksFromStat(std::string_view statLine) {
    // The command name in parentheses may hold blanks and parentheses, so
    // fields are counted after its closing parenthesis: there the state is
    // field 3 and the start time field 22.
    const auto close = statLine.rfind(')');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view rest = statLine.substr(close + 1);
    constexpr int kStartTimeField = 22;
    for (int field = 3; field <= kStartTimeField; ++field) {
        const auto begin = rest.find_first_not_of(' ');
        if (begin == std::string_view::npos) {
            return std::nullopt;
        }
        rest.remove_prefix(begin);
        const auto end = std::min(rest.find(' '), rest.size());
        if (field == kStartTimeField) {
            long long ticks = 0;
            const auto [ptr, ec] = std::from_chars(rest.data(), rest.data() + end, ticks);
            if (ec != std::errc() || ptr != rest.data() + end) {
                return std::nullopt;
            }
            return ticks;
        }
        rest.remove_prefix(end);
    }
    return std::nullopt;
}

std::optional<double> SecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    const std::string line{std::istreambuf_iterator<char>(stat), std::istreambuf_iterator<char>()};
    const auto ticks = StartTicksFromStat(line);
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    timespec now{};
    if (!ticks || ticksPerSecond <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0) {
        return std::nullopt;
    }
    const double nowSeconds = double(now.tv_sec) + double(now.tv_nsec) / 1e9;
    return nowSeconds - double(*ticks) / double(ticksPerSecond);
}

}  // namespace vervia
