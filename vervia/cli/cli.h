#pragma once
// vervia-cli: conjugates a Spanish verb on the command line and prints the
// irregular-verb table. Argument parsing and output formatting are plain
// functions so that they can be tested without running the program.
//
// Arguments and output are UTF-8. A verb typed with ñ or with ň finds the same
// table record; conjugated forms show the stored ň as ñ, while the table views
// (`table`, `irregular`) show the stored bytes as they are.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vervia::cli {

enum class Command { kHelp, kVersion, kConjugate, kTable, kIrregular, kTenses };

struct Options {
    Command command = Command::kHelp;
    std::string verb;  // UTF-8, as typed
    int tense = 12;    // FormKind of the tense shown (10..18, 20..25)
    bool tsv = false;
    std::string helpTopic;  // with kHelp: the command whose usage is asked for
};

// Exit codes of the program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNotInfinitive = 1;
inline constexpr int kExitUsage = 2;

struct ParseResult {
    std::optional<Options> options;
    std::string error;  // set when options is empty
};

// Parses the arguments after the program name.
ParseResult ParseArguments(const std::vector<std::string>& args);

// The usage of every command, or of `command` alone when it names one.
std::string Usage(std::string_view command = {});

// "vervia-cli 1.2.3".
std::string VersionLine();

// The forms the trainer window shows, with Czech headings and person labels.
// Irregular forms are bold (ANSI) for a terminal, else written as *form*.
std::string FormatConjugation(std::string_view verb, int tense, bool terminal);

// One line per form: kind, person, form, same-as-regular flag (43 lines);
// for a tense outside 10..14 its lines (persons 1..6, 2..6 for the negative
// imperative) follow.
std::string FormatTsv(std::string_view verb, int tense = 12);

// Every tense code with its Czech and Spanish name, tab-separated.
std::string FormatTenses();

// The 212 stored records, 32 tab-separated fields each.
std::string FormatTable();

// The 212 infinitives in record order.
std::string FormatIrregular();

// Runs the program; returns its exit code.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool terminal);

}  // namespace vervia::cli
