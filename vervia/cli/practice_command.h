#pragma once
// vervia-cli practice: the trainer's practice mode in a terminal, or with
// --tsv a line protocol for scripts:
//
//   Q<TAB>infinitive<TAB>code<TAB>person   one question
//   (one answer line read from standard input)
//   RIGHT | ACCENT<TAB>form | WRONG<TAB>form
//   SCORE<TAB>right<TAB>total               after the last question, or when
//                                           the input ends
//
// An accent slip does not count as right. Text is UTF-8. The learner's
// progress is read from and saved to the user's progress file; with --seed
// the run is reproducible and uses no stored progress unless --progress names
// a file.

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vervia::cli {

struct PracticeOptions {
    std::optional<std::uint64_t> seed;
    int count = 20;
    std::vector<int> tenses;  // codes; empty: every practised tense
    std::string verbs = "irregular";
    bool tsv = false;
    std::optional<std::string> progressFile;
};

struct PracticeParse {
    std::optional<PracticeOptions> options;
    std::string error;
    bool help = false;
};

// Parses the arguments after "practice".
PracticeParse ParsePracticeArguments(const std::vector<std::string>& args);

std::string PracticeUsage();

// Runs "practice" with the arguments after it; returns the exit code.
int RunPractice(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err, bool terminal);

}  // namespace vervia::cli
