#pragma once
// telvora-cli: speaks to the phone from scripts, over the same link as the
// window. Subcommands live in one table; each gets the opened link and the
// texts in the chosen language.
//
//   telvora-cli [--device PATH | --port N] [--lang cs|en] COMMAND [ARGS...]
//
// Exit codes: 0 success, 1 the phone did not do it (e.g. not connected),
// 2 wrong usage or a port that cannot be used.

#include <QStringList>
#include <functional>
#include <memory>

#include "telvora/link/serial_port.h"

class QTextStream;

namespace telvora {

class Clock;
class SettingsStore;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct CliEnvironment {
    SettingsStore* settings = nullptr;  // where device, port and language come from by default
    std::function<std::unique_ptr<SerialPort>()> makePort;  // the port the link will own
    QTextStream* out = nullptr;
    QTextStream* err = nullptr;
    Clock* clock = nullptr;  // the link's deadlines; nullptr: the system clock
};

// Runs the command line `args` (without the program name).
int RunCli(const QStringList& args, const CliEnvironment& environment);

}  // namespace telvora
