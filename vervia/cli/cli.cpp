#include "cli.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "conjugator.h"
#include "evaluation.h"
#include "irregular_verb_table.h"
#include "tenses.h"
#include "text_encoding.h"

namespace vervia::cli {
namespace {

constexpr std::string_view kBold = "\x1b[1m";
constexpr std::string_view kNormal = "\x1b[0m";
constexpr int kLabelWidth = 14;
constexpr int kCaptionWidth = 24;

// Pads UTF-8 text with blanks to `width` characters.
std::string PadRight(std::string_view text, int width) {
    int characters = 0;
    for (char c : text) {
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    std::string padded(text);
    padded.append(static_cast<std::size_t>(std::max(0, width - characters)), ' ');
    return padded;
}

std::optional<int> ParseTense(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    // Every tense but the imperative and the conditional, which are always shown.
    if (ec != std::errc() || end != text.data() + text.size() || value < kPreterite ||
        FindTense(value) == nullptr) {
        return std::nullopt;
    }
    return value;
}

ParseResult Failure(std::string message) {
    return {std::nullopt, std::move(message)};
}

std::string Marked(const EvaluatedForm& form, bool terminal) {
    if (form.sameAsRegular != 0) {
        return form.text;
    }
    if (terminal) {
        return std::string(kBold) + form.text + std::string(kNormal);
    }
    return "*" + form.text + "*";
}

void AppendPersonRow(std::string& out, int person, const std::string& shown) {
    out += "  " + PadRight(PersonLabel(person), kLabelWidth) + shown + "\n";
}

void EnsureLoaded() {
    static const bool loaded = [] {
        LoadIrregularVerbs();
        return true;
    }();
    (void)loaded;
}

}  // namespace

std::string Usage(std::string_view command) {
    const std::string conjugate =
        "conjugate  the forms of a Spanish infinitive, reflexive ones too (levantarse);\n"
        "           irregular forms are marked\n"
        "           --tense: 10 Minulý, 11 Předpřítomný, 12 Přítomný (default),\n"
        "                    13 Průběhový, 14 Budoucí, 15..18 and 20..25 (see tenses)\n"
        "           --tsv:   kind, person, form, same-as-regular flag per line\n";
    const std::string tenses = "tenses     every tense code with its Czech and Spanish name\n";
    const std::string table =
        "table      the 212 stored irregular verbs, 32 tab-separated fields each\n";
    const std::string irregular =
        "irregular  the 212 infinitives of the table (every other verb is conjugated\n"
        "           when typed)\n";
    if (command == "conjugate") {
        return "Usage: vervia-cli conjugate VERB [--tense N] [--tsv]\n\n" + conjugate;
    }
    if (command == "tenses") {
        return "Usage: vervia-cli tenses\n\n" + tenses;
    }
    if (command == "table") {
        return "Usage: vervia-cli table\n\n" + table;
    }
    if (command == "irregular") {
        return "Usage: vervia-cli irregular\n\n" + irregular;
    }
    return "Usage:\n"
           "  vervia-cli conjugate VERB [--tense N] [--tsv]\n"
           "  vervia-cli tenses\n"
           "  vervia-cli table\n"
           "  vervia-cli irregular\n"
           "  vervia-cli practice [--seed N] [--count K] [--tenses LIST] [--verbs LIST] [--tsv]\n"
           "  vervia-cli [COMMAND] --help\n"
           "  vervia-cli --version\n"
           "\n" +
           conjugate + tenses + table + irregular +
           "practice   asks forms and judges the answers (vervia-cli practice --help)\n";
}

std::string VersionLine() {
    return std::string("vervia-cli ") + VERVIA_VERSION + "\n";
}

ParseResult ParseArguments(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            // The command asked about is the first word that is no option.
            Options help;
            const auto topic = std::find_if(args.begin(), args.end(), [](const std::string& word) {
                return !word.starts_with("-");
            });
            if (topic != args.end()) {
                help.helpTopic = *topic;
            }
            return {help, {}};
        }
    }
    for (const std::string& arg : args) {
        if (arg == "--version" || arg == "-v") {
            Options version;
            version.command = Command::kVersion;
            return {version, {}};
        }
    }
    if (args.empty()) {
        return Failure("missing command");
    }
    Options options;
    const std::string& command = args.front();
    if (command == "table" || command == "irregular" || command == "tenses") {
        if (args.size() > 1) {
            return Failure("unexpected argument \"" + args[1] + "\"");
        }
        options.command = command == "table"       ? Command::kTable
                          : command == "irregular" ? Command::kIrregular
                                                   : Command::kTenses;
        return {options, {}};
    }
    if (command != "conjugate") {
        return Failure("unknown command \"" + command + "\"");
    }
    options.command = Command::kConjugate;
    bool haveVerb = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--tsv") {
            options.tsv = true;
        } else if (arg == "--tense" || arg.starts_with("--tense=")) {
            std::string value;
            if (arg == "--tense") {
                if (i + 1 >= args.size()) {
                    return Failure("--tense needs a value");
                }
                value = args[++i];
            } else {
                value = arg.substr(8);
            }
            const auto tense = ParseTense(value);
            if (!tense) {
                return Failure("bad tense \"" + value +
                               "\" (10 to 18 or 20 to 25; vervia-cli tenses lists them)");
            }
            options.tense = *tense;
        } else if (arg.starts_with("--")) {
            return Failure("unknown option \"" + arg + "\"");
        } else if (haveVerb) {
            return Failure("unexpected argument \"" + arg + "\"");
        } else {
            options.verb = arg;
            haveVerb = true;
        }
    }
    if (!haveVerb) {
        return Failure("missing verb");
    }
    return {options, {}};
}

std::string FormatConjugation(std::string_view verb, int tense, bool terminal) {
    EnsureLoaded();
    const Evaluation evaluation = EvaluateShown(verb, tense);
    if (!evaluation.valid) {
        return {};
    }
    // The forms come in the window's order: participle, gerund, the tense,
    // the imperative (persons 2..6), the conditional.
    const auto& forms = evaluation.forms;
    std::string out;
    out += std::string(verb) + ": " + std::string(RegularityText(evaluation.regularity)) + "\n\n";
    out += PadRight("Příčestí (participio)", kCaptionWidth) + Marked(forms[0], terminal) + "\n";
    out += PadRight("Přechodník (gerundio)", kCaptionWidth) + Marked(forms[1], terminal) + "\n\n";

    const TenseInfo* info = FindTense(tense);
    if (!TenseName(tense).empty()) {
        out += "Oznamovací způsob: " + std::string(TenseName(tense)) + "\n";
    } else if (info != nullptr) {
        out += std::string(info->czechName) + " (" + std::string(info->spanishName) + ")\n";
    }
    for (int person = 1; person <= 6; ++person) {
        const bool none = info != nullptr && person < info->firstPerson;
        AppendPersonRow(out, person,
                        none ? std::string(kNoImperative) : Marked(forms[1 + person], terminal));
    }
    out += "\nRozkazovací způsob\n";
    AppendPersonRow(out, 1, std::string(kNoImperative));
    for (int person = 2; person <= 6; ++person) {
        AppendPersonRow(out, person, Marked(forms[6 + person], terminal));
    }
    out += "\nPodmiňovací způsob\n";
    for (int person = 1; person <= 6; ++person) {
        AppendPersonRow(out, person, Marked(forms[12 + person], terminal));
    }
    if (!terminal) {
        return out;
    }
    return out + "\n" + std::string(kBold) + "tučně" + std::string(kNormal) +
           ": nepravidelné tvary\n";
}

std::string FormatTsv(std::string_view verb, int tense) {
    EnsureLoaded();
    std::vector<FormSlot> slots;
    for (const FormSlot& slot : AllSlots()) {
        slots.push_back(slot);
    }
    const TenseInfo* info = FindTense(tense);
    if (TenseName(tense).empty() && info != nullptr && tense >= kPreterite) {
        for (int person = info->firstPerson; person <= 6; ++person) {
            slots.push_back({tense, person});
        }
    }
    Evaluation evaluation;
    Evaluate(verb, slots.data(), slots.size(), evaluation);
    std::string out;
    for (const EvaluatedForm& form : evaluation.forms) {
        out += std::to_string(form.slot.kind) + "\t" + std::to_string(form.slot.person) + "\t" +
               form.text + "\t" + std::to_string(form.sameAsRegular) + "\n";
    }
    return out;
}

std::string FormatTenses() {
    std::string out;
    for (const TenseInfo& tense : Tenses()) {
        out += std::to_string(tense.code) + "\t" + std::string(tense.czechName) + "\t" +
               std::string(tense.spanishName) + "\n";
    }
    return out;
}

std::string FormatTable() {
    std::string out;
    for (int record = 0; record < kVerbCount; ++record) {
        for (int field = 0; field < kFieldCount; ++field) {
            out += DecodeWindows1250(StoredField(record, field));
            out += field + 1 < kFieldCount ? '\t' : '\n';
        }
    }
    return out;
}

std::string FormatIrregular() {
    std::string out;
    for (int record = 0; record < kVerbCount; ++record) {
        out += DecodeWindows1250(StoredField(record, kFieldInfinitive)) + "\n";
    }
    return out;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool terminal) {
    const ParseResult parsed = ParseArguments(args);
    if (!parsed.options) {
        err << "vervia-cli: " << parsed.error << "\n\n"
            << Usage(args.empty() ? std::string_view() : std::string_view(args.front()));
        return kExitUsage;
    }
    const Options& options = *parsed.options;
    switch (options.command) {
        case Command::kHelp:
            out << Usage(options.helpTopic);
            return kExitOk;
        case Command::kVersion:
            out << VersionLine();
            return kExitOk;
        case Command::kTable:
            out << FormatTable();
            return kExitOk;
        case Command::kIrregular:
            out << FormatIrregular();
            return kExitOk;
        case Command::kTenses:
            out << FormatTenses();
            return kExitOk;
        case Command::kConjugate:
            break;
    }
    if (IsInfinitive(ToEngineText(options.verb)) == 0) {
        err << "vervia-cli: \"" << options.verb
            << "\" is not a Spanish infinitive (a word of letters ending in -ar, -er or -ir, "
               "or in -arse, -erse or -irse for a reflexive verb)\n";
        return kExitNotInfinitive;
    }
    out << (options.tsv ? FormatTsv(options.verb, options.tense)
                        : FormatConjugation(options.verb, options.tense, terminal));
    return kExitOk;
}

}  // namespace vervia::cli
