// Build-time generator of the irregular-verb table.
//
//   verb_table_generator OUTPUT.cpp DATA.txt...
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
#include <vector>

namespace {

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

// Decodes the next UTF-8 character; returns nothing for a malformed sequence.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        return lead;
    }
    int extra = 0;
    char32_t value = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        value = lead & 0x07;
    } else {
        return std::nullopt;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= text.size() || (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        value = (value << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    }
    return value;
}

// Converts one data word to its stored bytes, reporting every fault found.
std::optional<std::string> ToStoredForm(std::string_view word, const std::string& file, int line,
                                        Reporter& reporter) {
    std::string stored;
    std::size_t pos = 0;
    while (pos < word.size()) {
        const std::size_t start = pos;
        const auto c = NextCodePoint(word, pos);
        const std::string shown(word.substr(start, pos - start));
        if (!c) {
            reporter.Error(file, line, "malformed UTF-8 in \"" + std::string(word) + "\"");
            return std::nullopt;
        }
        if (IsUpperCaseLetter(*c)) {
            reporter.Error(file, line,
                           "upper case letter '" + shown + "' in \"" + std::string(word) +
                               "\" (all forms are lower case)");
            return std::nullopt;
        }
        const auto letter = StoredLetter(*c);
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

class DataReader {
public:
    explicit DataReader(Reporter& reporter) : m_reporter(reporter) {}

    void ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            m_reporter.Error("cannot open data file " + path);
            return;
        }
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            ReadLine(line, path, number);
        }
        FinishBlock(path, number);
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

}  // namespace

int main(int argc, char** argv) {
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
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << TableSource(records);
    if (!out.flush()) {
        out.close();
        std::remove(argv[1]);
        std::cerr << "verb_table_generator: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
