#include "practice_command.h"

#include <charconv>
#include <memory>
#include <random>

#include "cli.h"
#include "vervia/engine/irregular_verb_table.h"
#include "vervia/practice/practice_session.h"
#include "vervia/practice/progress_location.h"
#include "vervia/practice/progress_store.h"
#include "vervia/practice/verb_sets.h"

namespace vervia::cli {
namespace {

using namespace vervia::practice;

constexpr std::string_view kBold = "\x1b[1m";
constexpr std::string_view kNormal = "\x1b[0m";
constexpr int kMaxCount = 100000;

template <typename T>
std::optional<T> ParseNumber(std::string_view text) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string> SplitCommas(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        if (comma > start) {
            parts.emplace_back(text.substr(start, comma - start));
        }
        start = comma + 1;
    }
    return parts;
}

std::string TenseCodes() {
    std::string codes;
    for (const PracticeTense& tense : DefaultPracticeTenses()) {
        codes += (codes.empty() ? "" : ", ") + std::to_string(tense.code);
    }
    return codes;
}

PracticeParse Failure(std::string message) {
    return {std::nullopt, std::move(message), false};
}

struct Exercise {
    std::vector<PracticeTense> tenses;
    std::vector<std::string> verbs;
    std::string verbsName;  // Czech, for the terminal's heading
};

std::optional<Exercise> BuildExercise(const PracticeOptions& options, std::string& error) {
    Exercise exercise;
    for (const PracticeTense& tense : DefaultPracticeTenses()) {
        if (options.tenses.empty() || std::find(options.tenses.begin(), options.tenses.end(),
                                                tense.code) != options.tenses.end()) {
            exercise.tenses.push_back(tense);
        }
    }
    if (options.verbs == "irregular") {
        exercise.verbs = IrregularVerbSet();
        exercise.verbsName = "212 nepravidelných sloves";
    } else if (options.verbs == "frequent") {
        exercise.verbs = FrequentVerbSet();
        exercise.verbsName = "100 nejčastějších sloves";
    } else {
        const TypedVerbs typed = ParseVerbList(options.verbs);
        if (!typed.rejected.empty() || typed.verbs.empty()) {
            error = "not Spanish infinitives in --verbs:";
            for (const std::string& word : typed.rejected) {
                error += " \"" + word + "\"";
            }
            if (typed.rejected.empty()) {
                error += " the list is empty";
            }
            return std::nullopt;
        }
        exercise.verbs = typed.verbs;
        exercise.verbsName = "vlastní seznam";
    }
    return exercise;
}

std::string Emphasized(const std::string& text, bool terminal) {
    return terminal ? std::string(kBold) + text + std::string(kNormal) : text;
}

bool ReadAnswer(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) {
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

}  // namespace

std::string PracticeUsage() {
    return "Usage:\n"
           "  vervia-cli practice [--seed N] [--count K] [--tenses LIST] [--verbs LIST]\n"
           "                      [--tsv] [--progress FILE]\n"
           "\n"
           "Asks K forms (default 20) and judges each answer typed: right, right except\n"
           "for the accents, or wrong with the right form. Accents may be typed as\n"
           "a' e' i' o' u' (á é í ó ú), u\" or u: (ü) and n~ (ñ).\n"
           "  --tenses  codes separated by commas (" +
           TenseCodes() +
           "); default all\n"
           "  --verbs   irregular (the 212 table verbs, default), frequent (the 100 most\n"
           "            frequent verbs) or infinitives separated by commas\n"
           "  --seed    the same seed gives the same questions; without it every run differs\n"
           "  --tsv     a protocol for scripts: Q<TAB>infinitive<TAB>code<TAB>person per\n"
           "            question, one answer line read, then RIGHT, ACCENT<TAB>form or\n"
           "            WRONG<TAB>form; SCORE<TAB>right<TAB>total at the end\n"
           "  --progress FILE  the learner's progress file; by default the user's own,\n"
           "            except with --seed, which uses no stored progress\n";
}

PracticeParse ParsePracticeArguments(const std::vector<std::string>& args) {
    PracticeOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            return {std::nullopt, {}, true};
        }
        if (arg == "--tsv") {
            options.tsv = true;
            continue;
        }
        std::string name = arg;
        std::string value;
        const std::size_t equals = arg.find('=');
        const bool inlineValue = arg.starts_with("--") && equals != std::string::npos;
        if (inlineValue) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        if (name != "--seed" && name != "--count" && name != "--tenses" && name != "--verbs" &&
            name != "--progress") {
            return Failure((arg.starts_with("-") ? "unknown option \"" : "unexpected argument \"") +
                           arg + "\"");
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                return Failure(name + " needs a value");
            }
            value = args[++i];
        }
        if (name == "--seed") {
            options.seed = ParseNumber<std::uint64_t>(value);
            if (!options.seed) {
                return Failure("bad seed \"" + value + "\" (a whole number from 0)");
            }
        } else if (name == "--count") {
            const auto count = ParseNumber<int>(value);
            if (!count || *count < 1 || *count > kMaxCount) {
                return Failure("bad count \"" + value + "\" (1 to " + std::to_string(kMaxCount) +
                               ")");
            }
            options.count = *count;
        } else if (name == "--tenses") {
            options.tenses.clear();
            for (const std::string& part : SplitCommas(value)) {
                const auto code = ParseNumber<int>(part);
                if (!code || FindTense(DefaultPracticeTenses(), *code) == nullptr) {
                    return Failure("bad tense \"" + part + "\" (" + TenseCodes() + ")");
                }
                options.tenses.push_back(*code);
            }
            if (options.tenses.empty()) {
                return Failure("--tenses needs at least one code (" + TenseCodes() + ")");
            }
        } else if (name == "--verbs") {
            options.verbs = value;
        } else {
            options.progressFile = value;
        }
    }
    return {options, {}, false};
}

int RunPractice(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err, bool terminal) {
    const PracticeParse parsed = ParsePracticeArguments(args);
    if (parsed.help) {
        out << PracticeUsage();
        return kExitOk;
    }
    if (!parsed.options) {
        err << "vervia-cli practice: " << parsed.error << "\n\n" << PracticeUsage();
        return kExitUsage;
    }
    const PracticeOptions& options = *parsed.options;
    static const bool loaded = [] {
        LoadIrregularVerbs();
        return true;
    }();
    (void)loaded;
    std::string error;
    const auto exercise = BuildExercise(options, error);
    if (!exercise) {
        err << "vervia-cli practice: " << error << "\n";
        return kExitUsage;
    }

    // The learner's stored progress, unless the run is to be reproducible.
    ReviewBook book;
    std::unique_ptr<ProgressStore> store;
    if (options.progressFile || !options.seed) {
        store = std::make_unique<ProgressStore>(options.progressFile
                                                    ? std::filesystem::path(*options.progressFile)
                                                    : DefaultProgressFile());
        const std::string problem = store->load(book);
        if (!problem.empty()) {
            err << "vervia-cli practice: " << problem << "\n";
        }
    }
    const std::uint64_t seed = options.seed ? *options.seed
                                            : (std::uint64_t(std::random_device{}()) << 32) ^
                                                  std::uint64_t(SystemSeconds());
    PracticeSession session(exercise->tenses, exercise->verbs, book, SystemSeconds, seed);
    bool saveReported = false;

    if (!options.tsv) {
        out << "Procvičování (" << exercise->verbsName << ", počet otázek " << options.count << ")"
            << ". Přízvuky lze psát jako a' e' i' o' u' (á é í ó ú), u\" (ü), n~ (ñ).\n";
    }
    for (int number = 1; number <= options.count; ++number) {
        const auto question = session.next();
        if (!question) {
            if (!options.tsv) {
                out << "Zvolené časy a slovesa nemají žádný tvar k procvičení.\n";
            }
            break;
        }
        const PracticeTense& tense = *FindTense(session.tenses(), question->code);
        if (options.tsv) {
            out << "Q\t" << question->verb << '\t' << question->code << '\t' << question->person
                << '\n';
        } else {
            out << number << "/" << options.count << "  " << QuestionText(*question, tense) << ": ";
        }
        out.flush();
        std::string answer;
        if (!ReadAnswer(in, answer)) {
            if (!options.tsv) {
                out << "\n";
            }
            break;
        }
        const Judgement judgement = session.answer(answer);
        if (options.tsv) {
            switch (judgement.verdict) {
                case Verdict::kRight:
                    out << "RIGHT\n";
                    break;
                case Verdict::kAccent:
                    out << "ACCENT\t" << judgement.rightForm << '\n';
                    break;
                case Verdict::kWrong:
                    out << "WRONG\t" << judgement.rightForm << '\n';
                    break;
            }
        } else {
            switch (judgement.verdict) {
                case Verdict::kRight:
                    out << "  správně\n";
                    break;
                case Verdict::kAccent:
                    out << "  správně až na přízvuk: " << Emphasized(judgement.rightForm, terminal)
                        << '\n';
                    break;
                case Verdict::kWrong:
                    out << "  špatně, správně je: " << Emphasized(judgement.rightForm, terminal)
                        << '\n';
                    break;
            }
        }
        out.flush();
        if (store && store->canSave()) {
            const std::string problem = store->save(book);
            if (!problem.empty() && !saveReported) {
                err << "vervia-cli practice: " << problem << "\n";
                saveReported = true;
            }
        }
    }
    const Score& score = session.score();
    if (options.tsv) {
        out << "SCORE\t" << score.right << '\t' << score.answered() << '\n';
    } else {
        out << "Skóre: " << score.right << " správně z " << score.answered();
        if (score.accent > 0) {
            out << " (" << score.accent << "× jen přízvuk)";
        }
        out << "\n";
    }
    out.flush();
    return kExitOk;
}

}  // namespace vervia::cli
