// Build-time generator of the irregular-verb table and of the list of
// further irregular verbs.
//
//   verb_table_generator OUTPUT.cpp DATA.txt...
//   verb_table_generator --further OUTPUT.cpp FURTHER.txt
//   verb_table_generator --tenses OUTPUT.cpp TENSE-FORMS.txt
//
// Reads the reviewable UTF-8 data files in the given order and writes a C++
// source that defines IrregularVerbTable as the exact stored image: 212 records
// of 32 fields, each field a length byte, the Windows-1250 characters and zero
// padding to 26 bytes. The Spanish ñ of the data is stored as 0xF2 (the Czech ň
// of the code page). Every fault in the data is reported as file:line and makes
// the program exit with status 1 without writing the output, so a bad data file
// fails the build instead of producing a wrong table.

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "text_encoding.h"

namespace {

using vervia::DecodeUtf8;
using vervia::kInvalidCodePoint;

constexpr int kVerbCount = 212;
constexpr int kFieldCount = 32;
constexpr int kFieldSize = 26;
constexpr std::size_t kMaxFormLength = 16;

// The infinitives in record order, as written in the data (ñ, not the stored ň).
constexpr std::array<std::string_view, kVerbCount> kInfinitives = {
    "abastecer",   "abducir",    "aborrecer",  "abrir",       "absolver",   "acertar",
    "acostar",     "acrecentar", "actuar",     "adolecer",    "adormecer",  "adquirir",
    "agradecer",   "alentar",    "almorzar",   "amanecer",    "amoblar",    "andar",
    "anochecer",   "anontecer",  "aparecer",   "apetecer",    "apostar",    "asentar",
    "asir",        "atender",    "atraer",     "atravesar",   "aunar",      "aventar",
    "avergonzar",  "averiguar",  "bendecir",   "caber",       "caer",       "carecer",
    "cerrar",      "cocer",      "coger",      "colar",       "colgar",     "comenzar",
    "compadecer",  "conducir",   "conocer",    "consolar",    "construir",  "contar",
    "continuar",   "convalecer", "costar",     "crecer",      "cruzar",     "cubrir",
    "dar",         "decir",      "decrecer",   "deducir",     "demostrar",  "derretir",
    "desaparecer", "descender",  "descollar",  "desfallecer", "desmentir",  "destruir",
    "desvestir",   "detener",    "devolver",   "dirigir",     "discernir",  "disolver",
    "disponer",    "distingir",  "dormir",     "elegir",      "empezar",    "encender",
    "encontrar",   "enloquecer", "enmendar",   "entender",    "enviar",     "erguir",
    "errar",       "escribir",   "esforzar",   "establecer",  "estar",      "fallecer",
    "florecer",    "forzar",     "fregar",     "freir",       "gobernar",   "haber",
    "hacer",       "huir",       "humedecer",  "impedir",     "incluir",    "inducir",
    "influir",     "introducir", "invertir",   "ir",          "jugar",      "leer",
    "lucir",       "maldecir",   "manifestar", "mantener",    "mentir",     "merecer",
    "moler",       "morder",     "morir",      "mostrar",     "mover",      "mullir",
    "nacer",       "negar",      "obedecer",   "obscurecer",  "ofrecer",    "oir",
    "oler",        "oponer",     "padecer",    "pagar",       "parecer",    "pedir",
    "pensar",      "perder",     "perecer",    "permanecer",  "perseguir",  "pertenecer",
    "placer",      "poblar",     "poder",      "poner",       "poseer",     "posponer",
    "preferir",    "prevenir",   "prever",     "probar",      "producir",   "prohibir",
    "promover",    "proponer",   "querer",     "recomendar",  "reconocer",  "recordar",
    "recostar",    "reducir",    "reir",       "remendar",    "remorder",   "remover",
    "reñir",       "renovar",    "repetir",    "reponer",     "reprobar",   "reproducir",
    "requerir",    "resolver",   "retener",    "retorcer",    "reunir",     "reventar",
    "revolver",    "roer",       "rogar",      "romper",      "saber",      "sacar",
    "salir",       "satisfacer", "seducir",    "seguir",      "sembrar",    "sentir",
    "ser",         "sofreir",    "soltar",     "sonar",       "soñar",      "sonreir",
    "sugerir",     "suponer",    "suscribir",  "tañer",       "temblar",    "tender",
    "tener",       "tostar",     "traducir",   "traer",       "transferir", "valer",
    "vencer",      "venir",      "ver",        "vestir",      "volar",      "volcar",
    "volver",      "yacer",
};

// The labelled lines of a block, in order, with the number of forms each holds.
struct Label {
    std::string_view name;
    int forms;
};
constexpr std::array<Label, 7> kLabels = {{{"participio", 1},
                                           {"gerundio", 1},
                                           {"imperativo", 5},
                                           {"preterito", 6},
                                           {"presente", 6},
                                           {"futuro", 6},
                                           {"condicional", 6}}};
constexpr std::string_view kEmptyMark = "-";
constexpr std::string_view kVerbWithoutImperative = "haber";

using Record = std::vector<std::string>;  // stored (Windows-1250) fields

class Reporter {
public:
    void Error(const std::string& file, int line, const std::string& message) {
        std::cerr << file << ':' << line << ": error: " << message << '\n';
        ++m_count;
    }
    void Error(const std::string& message) {
        std::cerr << "verb_table_generator: error: " << message << '\n';
        ++m_count;
    }
    int Count() const { return m_count; }

private:
    int m_count = 0;
};

// The stored byte of one allowed data letter, given as a Unicode code point.
std::optional<unsigned char> StoredLetter(char32_t c) {
    if (c >= U'a' && c <= U'z') {
        return static_cast<unsigned char>(c);
    }
    switch (c) {
        case U'á':
        case U'é':
        case U'í':
        case U'ó':
        case U'ú':
        case U'ü':
            return static_cast<unsigned char>(c);  // same value in Windows-1250
        case U'ñ':
            return 0xF2;  // stored as the Czech ň
        default:
            return std::nullopt;
    }
}

bool IsUpperCaseLetter(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||  // Latin-1 capitals
           c == U'Ň';
}

// Converts one data word to its stored bytes, reporting every fault found.
std::optional<std::string> ToStoredForm(std::string_view word, const std::string& file, int line,
                                        Reporter& reporter) {
    std::string stored;
    std::size_t pos = 0;
    while (pos < word.size()) {
        const std::size_t start = pos;
        const char32_t c = DecodeUtf8(word, pos);
        const std::string shown(word.substr(start, pos - start));
        if (c == kInvalidCodePoint) {
            reporter.Error(file, line, "malformed UTF-8 in \"" + std::string(word) + "\"");
            return std::nullopt;
        }
        if (IsUpperCaseLetter(c)) {
            reporter.Error(file, line,
                           "upper case letter '" + shown + "' in \"" + std::string(word) +
                               "\" (all forms are lower case)");
            return std::nullopt;
        }
        const auto letter = StoredLetter(c);
        if (!letter) {
            reporter.Error(file, line,
                           "character '" + shown + "' in \"" + std::string(word) +
                               "\" is not allowed (a-z, á é í ó ú ü ñ)");
            return std::nullopt;
        }
        stored.push_back(static_cast<char>(*letter));
    }
    if (stored.size() > kMaxFormLength) {
        reporter.Error(file, line,
                       "form \"" + std::string(word) + "\" has " + std::to_string(stored.size()) +
                           " characters (at most 16)");
        return std::nullopt;
    }
    return stored;
}

std::vector<std::string_view> SplitWords(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] != ' ' && text[pos] != '\t') {
            ++pos;
        }
        if (pos > start) {
            words.push_back(text.substr(start, pos - start));
        }
    }
    return words;
}

// Calls `readLine` with every line of `path` (without a final CR) and its
// number from 1; returns the number of lines, or -1 when the file cannot be
// opened (reported).
template <typename ReadLine>
int ForEachLine(const std::string& path, Reporter& reporter, ReadLine readLine) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        reporter.Error("cannot open data file " + path);
        return -1;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        readLine(std::string_view(line), number);
    }
    return number;
}

class DataReader {
public:
    explicit DataReader(Reporter& reporter) : m_reporter(reporter) {}

    void ReadFile(const std::string& path) {
        const int lines = ForEachLine(path, m_reporter, [&](std::string_view line, int number) {
            ReadLine(line, path, number);
        });
        if (lines >= 0) {
            FinishBlock(path, lines);
        }
    }

    const std::vector<Record>& Records() const { return m_records; }

private:
    void ReadLine(std::string_view line, const std::string& file, int number) {
        const auto words = SplitWords(line);
        if (words.empty() || words.front().front() == '#') {
            return;
        }
        if (line.front() != ' ' && line.front() != '\t') {
            StartBlock(words, file, number);
        } else {
            ReadLabelledLine(words, file, number);
        }
    }

    void StartBlock(const std::vector<std::string_view>& words, const std::string& file,
                    int number) {
        FinishBlock(file, number);
        m_inBlock = true;
        m_nextLabel = 0;
        m_blockLine = number;
        m_current.clear();
        const std::size_t index = m_records.size();
        if (words.size() != 1) {
            m_reporter.Error(file, number, "an infinitive line holds exactly one word");
        }
        if (index == kInfinitives.size()) {
            m_reporter.Error(file, number,
                             "verb block " + std::to_string(index + 1) + " \"" +
                                 std::string(words.front()) + "\" is beyond the " +
                                 std::to_string(kVerbCount) + " verbs of the table");
        }
        if (index < kInfinitives.size() && words.front() != kInfinitives[index]) {
            m_reporter.Error(file, number,
                             "verb " + std::to_string(index + 1) + " must be \"" +
                                 std::string(kInfinitives[index]) + "\", found \"" +
                                 std::string(words.front()) + "\"");
        }
        m_infinitive = std::string(words.front());
        const auto stored = ToStoredForm(words.front(), file, number, m_reporter);
        m_current.push_back(stored.value_or(std::string()));
    }

    void ReadLabelledLine(const std::vector<std::string_view>& words, const std::string& file,
                          int number) {
        if (!m_inBlock) {
            m_reporter.Error(file, number, "indented line before the first infinitive");
            return;
        }
        const std::string_view name = words.front();
        if (m_nextLabel >= kLabels.size() || name != kLabels[m_nextLabel].name) {
            const bool known = std::any_of(kLabels.begin(), kLabels.end(),
                                           [&](const Label& l) { return l.name == name; });
            std::string expected = "the next infinitive";
            if (m_nextLabel < kLabels.size()) {
                expected.assign(1, '"').append(kLabels[m_nextLabel].name).append(1, '"');
            }
            m_reporter.Error(file, number,
                             std::string(known ? "label \"" : "unknown label \"") +
                                 std::string(name) + "\" where " + expected + " is expected");
            return;
        }
        const Label& label = kLabels[m_nextLabel++];
        const int count = static_cast<int>(words.size()) - 1;
        if (count != label.forms) {
            m_reporter.Error(file, number,
                             std::string(label.name) + " needs " + std::to_string(label.forms) +
                                 " forms, found " + std::to_string(count));
            m_current.resize(m_current.size() + label.forms);
            return;
        }
        for (std::size_t i = 1; i < words.size(); ++i) {
            m_current.push_back(ReadForm(words[i], label, file, number));
        }
    }

    std::string ReadForm(std::string_view word, const Label& label, const std::string& file,
                         int number) {
        if (word == kEmptyMark) {
            if (!(label.name == "imperativo" && m_infinitive == kVerbWithoutImperative)) {
                m_reporter.Error(file, number,
                                 "empty form in " + std::string(label.name) + " of \"" +
                                     m_infinitive + "\" (only haber's imperative is empty)");
            }
            return std::string();
        }
        return ToStoredForm(word, file, number, m_reporter).value_or(std::string());
    }

    void FinishBlock(const std::string& file, int number) {
        if (!m_inBlock) {
            return;
        }
        m_inBlock = false;
        if (m_nextLabel != kLabels.size()) {
            m_reporter.Error(file, number,
                             "block \"" + m_infinitive + "\" (line " + std::to_string(m_blockLine) +
                                 ") lacks the line \"" + std::string(kLabels[m_nextLabel].name) +
                                 "\"");
        }
        m_current.resize(kFieldCount);
        m_records.push_back(m_current);
    }

    Reporter& m_reporter;
    std::vector<Record> m_records;
    Record m_current;
    std::string m_infinitive;
    bool m_inBlock = false;
    std::size_t m_nextLabel = 0;
    int m_blockLine = 0;
};

std::string TableSource(const std::vector<Record>& records) {
    std::ostringstream out;
    out << "// Generated by verb_table_generator from the irregular-verb data files.\n"
           "// Do not edit: change the data files instead.\n\n"
           "#include \"irregular_verb_table.h\"\n\n"
           "namespace vervia {\n\n"
           "const std::array<unsigned char, std::size_t(kVerbCount) * kRecordSize> "
           "IrregularVerbTable = {\n";
    char buffer[8];
    for (std::size_t v = 0; v < records.size(); ++v) {
        out << "    // " << v + 1 << " " << kInfinitives[v] << "\n";
        for (const std::string& field : records[v]) {
            std::array<unsigned char, kFieldSize> bytes{};
            bytes[0] = static_cast<unsigned char>(field.size());
            std::copy(field.begin(), field.end(), bytes.begin() + 1);
            out << "   ";
            for (unsigned char b : bytes) {
                std::snprintf(buffer, sizeof buffer, " 0x%02X,", b);
                out << buffer;
            }
            out << "\n";
        }
    }
    out << "};\n\n}  // namespace vervia\n";
    return out.str();
}

// ---------------------------------------------------------------- further verbs

// The model names of the further-verb file, in the order of VerbModel.
constexpr std::array<std::string_view, 8> kModels = {"regular", "e>ie", "o>ue",   "e>i",
                                                     "i>ie",    "u>ue", "hiatus", "like"};
constexpr std::string_view kModelEnumerators[] = {"kRegular", "kEToIe", "kOToUe",  "kEToI",
                                                  "kIToIe",   "kUToUe", "kHiatus", "kLike"};

struct FurtherEntry {
    std::string infinitive;  // stored bytes; a family's shared ending
    std::size_t model;
    std::string like;  // stored bytes
};

bool EndsInInfinitiveEnding(std::string_view word) {
    return word.size() >= 2 && word.back() == 'r' &&
           (word[word.size() - 2] == 'a' || word[word.size() - 2] == 'e' ||
            word[word.size() - 2] == 'i');
}

// Reads "INFINITIVE MODEL [TABLE-VERB]" lines; a first word "-ENDING" names a
// family of verbs that share that ending.
class FurtherReader {
public:
    explicit FurtherReader(Reporter& reporter) : m_reporter(reporter) {}

    void ReadFile(const std::string& path) {
        ForEachLine(path, m_reporter, [&](std::string_view line, int number) {
            const auto words = SplitWords(line);
            if (!words.empty() && words.front().front() != '#') {
                ReadEntry(words, path, number);
            }
        });
    }

    std::vector<FurtherEntry>& Verbs() { return m_verbs; }
    std::vector<FurtherEntry>& Families() { return m_families; }

private:
    void ReadEntry(const std::vector<std::string_view>& words, const std::string& file,
                   int number) {
        const bool family = words[0].front() == '-';
        const std::string_view name = family ? words[0].substr(1) : words[0];
        const auto model = std::find(kModels.begin(), kModels.end(),
                                     words.size() > 1 ? words[1] : std::string_view());
        const bool like = model != kModels.end() && *model == "like";
        if (model == kModels.end() || words.size() != (like ? 3u : 2u)) {
            m_reporter.Error(file, number,
                             "a line is \"VERB MODEL\" or \"VERB like TABLE-VERB\" with MODEL one "
                             "of regular, e>ie, o>ue, e>i, i>ie, u>ue, hiatus");
            return;
        }
        if (family && !like) {
            m_reporter.Error(file, number, "a family (-ending) needs \"like TABLE-VERB\"");
            return;
        }
        const auto stored = ToStoredForm(name, file, number, m_reporter);
        if (!stored) {
            return;
        }
        if (!EndsInInfinitiveEnding(*stored)) {
            m_reporter.Error(file, number,
                             "\"" + std::string(name) + "\" does not end in ar, er or ir");
            return;
        }
        if (!family &&
            std::find(kInfinitives.begin(), kInfinitives.end(), name) != kInfinitives.end()) {
            m_reporter.Error(file, number,
                             "\"" + std::string(name) + "\" is one of the 212 table verbs");
            return;
        }
        FurtherEntry entry{*stored, std::size_t(model - kModels.begin()), {}};
        if (like) {
            if (std::find(kInfinitives.begin(), kInfinitives.end(), words[2]) ==
                kInfinitives.end()) {
                m_reporter.Error(file, number,
                                 "\"" + std::string(words[2]) + "\" is not a table verb");
                return;
            }
            entry.like = ToStoredForm(words[2], file, number, m_reporter).value_or("");
        }
        auto& list = family ? m_families : m_verbs;
        const bool repeated = std::any_of(list.begin(), list.end(), [&](const FurtherEntry& e) {
            return e.infinitive == entry.infinitive;
        });
        if (repeated) {
            m_reporter.Error(file, number, "\"" + std::string(name) + "\" is listed twice");
            return;
        }
        list.push_back(std::move(entry));
    }

    Reporter& m_reporter;
    std::vector<FurtherEntry> m_verbs;
    std::vector<FurtherEntry> m_families;
};

// ---------------------------------------------------------------- tense forms

// The labels of the tense-form file and the FormKind codes they stand for.
struct TenseLabel {
    std::string_view name;
    int code;
};
constexpr std::array<TenseLabel, 4> kTenseLabels = {
    {{"imperfecto", 15}, {"subjuntivo", 20}, {"subjuntivo-ra", 21}, {"subjuntivo-se", 22}}};

struct TenseEntry {
    std::string infinitive;  // stored bytes
    int code;
    std::vector<std::string> forms;  // six, stored bytes
};

// Reads "TABLE-VERB LABEL FORM FORM FORM FORM FORM FORM" lines: the forms of a
// table verb in a tense that the rules over its stored forms do not give.
class TenseFormReader {
public:
    explicit TenseFormReader(Reporter& reporter) : m_reporter(reporter) {}

    void ReadFile(const std::string& path) {
        ForEachLine(path, m_reporter, [&](std::string_view line, int number) {
            const auto words = SplitWords(line);
            if (!words.empty() && words.front().front() != '#') {
                ReadEntry(words, path, number);
            }
        });
    }

    std::vector<TenseEntry>& Entries() { return m_entries; }

private:
    void ReadEntry(const std::vector<std::string_view>& words, const std::string& file,
                   int number) {
        const auto label = std::find_if(
            kTenseLabels.begin(), kTenseLabels.end(),
            [&](const TenseLabel& l) { return words.size() > 1 && l.name == words[1]; });
        if (label == kTenseLabels.end() || words.size() != 8) {
            m_reporter.Error(file, number,
                             "a line is \"TABLE-VERB TENSE\" and six forms, TENSE one of "
                             "imperfecto, subjuntivo, subjuntivo-ra, subjuntivo-se");
            return;
        }
        if (std::find(kInfinitives.begin(), kInfinitives.end(), words[0]) == kInfinitives.end()) {
            m_reporter.Error(file, number, "\"" + std::string(words[0]) + "\" is not a table verb");
            return;
        }
        TenseEntry entry{
            ToStoredForm(words[0], file, number, m_reporter).value_or(""), label->code, {}};
        for (std::size_t i = 2; i < words.size(); ++i) {
            const auto form = ToStoredForm(words[i], file, number, m_reporter);
            if (!form) {
                return;
            }
            entry.forms.push_back(*form);
        }
        const bool repeated =
            std::any_of(m_entries.begin(), m_entries.end(), [&](const TenseEntry& e) {
                return e.infinitive == entry.infinitive && e.code == entry.code;
            });
        if (repeated) {
            m_reporter.Error(
                file, number,
                "\"" + std::string(words[0]) + " " + std::string(words[1]) + "\" is listed twice");
            return;
        }
        m_entries.push_back(std::move(entry));
    }

    Reporter& m_reporter;
    std::vector<TenseEntry> m_entries;
};

// A C++ string literal of stored bytes, each byte above 0x7F as an octal escape.
std::string Literal(std::string_view bytes) {
    std::string out = "\"";
    char buffer[8];
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else {
            std::snprintf(buffer, sizeof buffer, "\\%03o", b);
            out += buffer;
        }
    }
    return out + "\"";
}

std::string TenseFormSource(std::vector<TenseEntry> entries) {
    std::sort(entries.begin(), entries.end(), [](const TenseEntry& a, const TenseEntry& b) {
        return std::tie(a.infinitive, a.code) < std::tie(b.infinitive, b.code);
    });
    std::ostringstream out;
    out << "// Generated by verb_table_generator from the tense-form data.\n"
           "// Do not edit: change the data file instead.\n\n"
           "#include \"tense_exceptions.h\"\n\n"
           "namespace vervia {\nnamespace {\n\n"
           "constexpr TenseException kEntries[] = {\n";
    for (const TenseEntry& e : entries) {
        out << "    {" << Literal(e.infinitive) << ", " << e.code << ", {";
        for (std::size_t i = 0; i < e.forms.size(); ++i) {
            out << (i > 0 ? ", " : "") << Literal(e.forms[i]);
        }
        out << "}},\n";
    }
    if (entries.empty()) {
        out << "    {\"\", 0, {}},\n";
    }
    out << "};\n\n}  // namespace\n\n"
           "std::span<const TenseException> TenseExceptions() {\n    return {kEntries, "
        << entries.size() << "};\n}\n\n}  // namespace vervia\n";
    return out.str();
}

void WriteEntries(std::ostringstream& out, const char* name,
                  const std::vector<FurtherEntry>& entries) {
    out << "constexpr FurtherVerb " << name << "[] = {\n";
    for (const FurtherEntry& e : entries) {
        out << "    {" << Literal(e.infinitive) << ", VerbModel::" << kModelEnumerators[e.model]
            << ", " << Literal(e.like) << "},\n";
    }
    if (entries.empty()) {
        out << "    {\"\", VerbModel::kRegular, \"\"},\n";
    }
    out << "};\n\n";
}

std::string FurtherSource(std::vector<FurtherEntry> verbs, std::vector<FurtherEntry> families) {
    std::sort(verbs.begin(), verbs.end(), [](const FurtherEntry& a, const FurtherEntry& b) {
        return a.infinitive < b.infinitive;
    });
    std::stable_sort(families.begin(), families.end(),
                     [](const FurtherEntry& a, const FurtherEntry& b) {
                         return a.infinitive.size() > b.infinitive.size();
                     });
    std::ostringstream out;
    out << "// Generated by verb_table_generator from the further irregular-verb data.\n"
           "// Do not edit: change the data file instead.\n\n"
           "#include \"further_verbs.h\"\n\n"
           "namespace vervia {\nnamespace {\n\n";
    WriteEntries(out, "kVerbs", verbs);
    WriteEntries(out, "kFamilies", families);
    out << "}  // namespace\n\n"
           "std::span<const FurtherVerb> FurtherVerbs() {\n    return {kVerbs, "
        << verbs.size()
        << "};\n}\n\n"
           "std::span<const FurtherVerb> FurtherFamilies() {\n    return {kFamilies, "
        << families.size() << "};\n}\n\n}  // namespace vervia\n";
    return out.str();
}

bool WriteOutput(const char* path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) {
        out.close();
        std::remove(path);
        std::cerr << "verb_table_generator: cannot write " << path << '\n';
        return false;
    }
    return true;
}

int GenerateFurther(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: verb_table_generator --further OUTPUT.cpp FURTHER.txt\n";
        return 2;
    }
    Reporter reporter;
    FurtherReader reader(reporter);
    reader.ReadFile(argv[3]);
    if (reporter.Count() > 0) {
        std::cerr << "verb_table_generator: " << reporter.Count()
                  << " error(s) in the further-verb data; list not written\n";
        return 1;
    }
    return WriteOutput(argv[2], FurtherSource(reader.Verbs(), reader.Families())) ? 0 : 1;
}

int GenerateTenseForms(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: verb_table_generator --tenses OUTPUT.cpp TENSE-FORMS.txt\n";
        return 2;
    }
    Reporter reporter;
    TenseFormReader reader(reporter);
    reader.ReadFile(argv[3]);
    if (reporter.Count() > 0) {
        std::cerr << "verb_table_generator: " << reporter.Count()
                  << " error(s) in the tense-form data; list not written\n";
        return 1;
    }
    return WriteOutput(argv[2], TenseFormSource(reader.Entries())) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == "--further") {
        return GenerateFurther(argc, argv);
    }
    if (argc > 1 && std::string_view(argv[1]) == "--tenses") {
        return GenerateTenseForms(argc, argv);
    }
    if (argc < 3) {
        std::cerr << "usage: verb_table_generator OUTPUT.cpp DATA.txt...\n";
        return 2;
    }
    Reporter reporter;
    DataReader reader(reporter);
    for (int i = 2; i < argc; ++i) {
        reader.ReadFile(argv[i]);
    }
    const auto& records = reader.Records();
    if (records.size() != kVerbCount) {
        reporter.Error("the data holds " + std::to_string(records.size()) + " verb blocks, " +
                       std::to_string(kVerbCount) + " are required");
    }
    if (reporter.Count() > 0) {
        std::cerr << "verb_table_generator: " << reporter.Count()
                  << " error(s) in the irregular-verb data; table not written\n";
        return 1;
    }
    return WriteOutput(argv[1], TableSource(records)) ? 0 : 1;
}
