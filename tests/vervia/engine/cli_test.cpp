#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli.h"

namespace vervia::cli {
namespace {

struct RunResult {
    int code;
    std::string out;
    std::string err;
};

RunResult RunCli(const std::vector<std::string>& args, bool terminal = false) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = Run(args, out, err, terminal);
    return {code, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(VerviaCli, TsvOfARegularVerb) {
    const RunResult run = RunCli({"conjugate", "hablar", "--tsv"});
    ASSERT_EQ(run.code, 0);
    const std::string expected =
        "0\t0\thablado\t1\n1\t0\thablando\t1\n"
        "2\t2\thabla\t1\n2\t3\thable\t1\n2\t4\thablemos\t1\n2\t5\thablad\t1\n2\t6\thablen\t1\n"
        "3\t1\thablaría\t1\n3\t2\thablarías\t1\n3\t3\thablaría\t1\n"
        "3\t4\thablaríamos\t1\n3\t5\thablaríais\t1\n3\t6\thablarían\t1\n"
        "10\t1\thablé\t1\n10\t2\thablaste\t1\n10\t3\thabló\t1\n"
        "10\t4\thablamos\t1\n10\t5\thablasteis\t1\n10\t6\thablaron\t1\n"
        "11\t1\the hablado\t1\n11\t2\thas hablado\t1\n11\t3\tha hablado\t1\n"
        "11\t4\themos hablado\t1\n11\t5\thabéis hablado\t1\n11\t6\than hablado\t1\n"
        "12\t1\thablo\t1\n12\t2\thablas\t1\n12\t3\thabla\t1\n"
        "12\t4\thablamos\t1\n12\t5\thabláis\t1\n12\t6\thablan\t1\n"
        "13\t1\testoy hablando\t1\n13\t2\testás hablando\t1\n13\t3\testá hablando\t1\n"
        "13\t4\testamos hablando\t1\n13\t5\testáis hablando\t1\n13\t6\testán hablando\t1\n"
        "14\t1\thablaré\t1\n14\t2\thablarás\t1\n14\t3\thablará\t1\n"
        "14\t4\thablaremos\t1\n14\t5\thablaréis\t1\n14\t6\thablarán\t1\n";
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err, "");
}

TEST(VerviaCli, TsvOfSer) {
    const auto lines = Lines(RunCli({"conjugate", "ser", "--tsv"}).out);
    ASSERT_EQ(lines.size(), 43u);
    EXPECT_EQ(lines[0], "0\t0\tsido\t1");
    EXPECT_EQ(lines[1], "1\t0\tsiendo\t1");
    EXPECT_EQ(lines[2], "2\t2\tsé\t0");
    EXPECT_EQ(lines[5], "2\t5\tsed\t1");
    EXPECT_EQ(lines[7], "3\t1\tsería\t1");
    EXPECT_EQ(lines[13], "10\t1\tfui\t0");
    EXPECT_EQ(lines[19], "11\t1\the sido\t1");
    EXPECT_EQ(lines[25], "12\t1\tsoy\t0");
    EXPECT_EQ(lines[29], "12\t5\tsois\t0");
    EXPECT_EQ(lines[31], "13\t1\testoy siendo\t1");
    EXPECT_EQ(lines[42], "14\t6\tserán\t1");
}

TEST(VerviaCli, ExitCodes) {
    EXPECT_EQ(RunCli({}).code, kExitUsage);
    EXPECT_EQ(RunCli({"conjugar", "ser"}).code, kExitUsage);
    EXPECT_EQ(RunCli({"conjugate"}).code, kExitUsage);
    EXPECT_EQ(RunCli({"conjugate", "ser", "--tense"}).code, kExitUsage);
    EXPECT_EQ(RunCli({"conjugate", "ser", "--tense", "9"}).code, kExitUsage);
    EXPECT_EQ(RunCli({"conjugate", "ser", "--tense", "12x"}).code, kExitUsage);
    EXPECT_EQ(RunCli({"conjugate", "ser", "comer"}).code, kExitUsage);
    EXPECT_EQ(RunCli({"conjugate", "ser", "--bold"}).code, kExitUsage);
    EXPECT_EQ(RunCli({"table", "extra"}).code, kExitUsage);
    const RunResult usage = RunCli({"conjugate"});
    EXPECT_EQ(usage.out, "");
    EXPECT_NE(usage.err.find("Usage:"), std::string::npos);

    const RunResult help = RunCli({"--help"});
    EXPECT_EQ(help.code, kExitOk);
    EXPECT_NE(help.out.find("Usage:"), std::string::npos);
    EXPECT_EQ(RunCli({"conjugate", "ser", "--help"}).code, kExitOk);

    const RunResult notVerb = RunCli({"conjugate", "casa"});
    EXPECT_EQ(notVerb.code, kExitNotInfinitive);
    EXPECT_EQ(notVerb.out, "");
    EXPECT_NE(notVerb.err.find("\"casa\" is not a Spanish infinitive"), std::string::npos);
    EXPECT_EQ(RunCli({"conjugate", "ser", "--tense=14"}).code, kExitOk);
}

TEST(VerviaCli, HelpPerCommandAndVersion) {
    for (const std::string command : {"conjugate", "table", "irregular"}) {
        const RunResult help = RunCli({command, "--help"});
        EXPECT_EQ(help.code, kExitOk);
        EXPECT_EQ(help.out.rfind("Usage: vervia-cli " + command, 0), 0u) << help.out;
        EXPECT_EQ(RunCli({"-h", command}).out, help.out);
    }
    // Only conjugate's usage, not the others'.
    EXPECT_EQ(RunCli({"conjugate", "--help"}).out.find("\nirregular "), std::string::npos);
    // The general usage for no command or one that does not exist.
    EXPECT_NE(RunCli({"--help"}).out.find("vervia-cli [COMMAND] --help"), std::string::npos);
    EXPECT_EQ(RunCli({"--help"}).out, RunCli({"conjugar", "--help"}).out);
    // A usage error shows the usage of the command it was made in.
    const RunResult wrong = RunCli({"table", "extra"});
    EXPECT_EQ(wrong.err.find("conjugate VERB"), std::string::npos) << wrong.err;
    EXPECT_NE(wrong.err.find("Usage: vervia-cli table"), std::string::npos) << wrong.err;

    for (const std::string option : {"--version", "-v"}) {
        const RunResult version = RunCli({option});
        EXPECT_EQ(version.code, kExitOk);
        EXPECT_EQ(version.out, std::string("vervia-cli ") + VERVIA_VERSION + "\n");
    }
    EXPECT_EQ(RunCli({"conjugate", "ser", "--version"}).code, kExitOk);
}

TEST(VerviaCli, SpanishAndCzechNFindTheSameRecord) {
    const RunResult spanish = RunCli({"conjugate", "reñir", "--tsv"});
    const RunResult czech = RunCli({"conjugate", "reňir", "--tsv"});
    ASSERT_EQ(spanish.code, 0);
    EXPECT_EQ(spanish.out, czech.out);
    EXPECT_NE(spanish.out.find("12\t1\triño\t0"), std::string::npos);
    // Every letter folds to lower case, Ñ and accented capitals included.
    EXPECT_NE(RunCli({"conjugate", "TAÑER"}).out.find("TAÑER: nepravidelné"), std::string::npos);
    EXPECT_EQ(RunCli({"conjugate", "TAÑER", "--tsv"}).out,
              RunCli({"conjugate", "tañer", "--tsv"}).out);
    EXPECT_EQ(RunCli({"conjugate", " OÍR ", "--tsv"}).out,
              RunCli({"conjugate", "oir", "--tsv"}).out);
}

TEST(VerviaCli, MarksIrregularForms) {
    const std::string plain = RunCli({"conjugate", "reñir"}).out;
    EXPECT_NE(plain.find("reñir: nepravidelné"), std::string::npos);
    EXPECT_NE(plain.find("  Yo            *riño*\n"), std::string::npos);
    EXPECT_NE(plain.find("  Nosotros      reñimos\n"), std::string::npos);
    EXPECT_NE(plain.find("Oznamovací způsob: Přítomný"), std::string::npos);
    EXPECT_NE(plain.find("  Yo            není definován\n"), std::string::npos);
    EXPECT_EQ(plain.find('\x1b'), std::string::npos);

    const std::string bold = RunCli({"conjugate", "reñir"}, true).out;
    EXPECT_NE(bold.find("\x1b[1mriño\x1b[0m"), std::string::npos);
    EXPECT_EQ(bold.find("*riño*"), std::string::npos);

    const std::string regular = RunCli({"conjugate", "hablar", "--tense", "10"}).out;
    EXPECT_NE(regular.find("hablar: pravidelné"), std::string::npos);
    EXPECT_NE(regular.find("Oznamovací způsob: Minulý"), std::string::npos);
    EXPECT_EQ(regular.find('*'), std::string::npos);
}

TEST(VerviaCli, TableViewsShowTheStoredBytes) {
    const auto records = Lines(RunCli({"table"}).out);
    ASSERT_EQ(records.size(), 212u);
    for (const std::string& record : records) {
        EXPECT_EQ(std::count(record.begin(), record.end(), '\t'), 31) << record;
    }
    EXPECT_EQ(records[162].rfind("reňir\treňido\triňendo\t", 0), 0u);
    EXPECT_EQ(records[95].rfind("haber\thabido\thabiendo\t\t\t\t\t\thube\t", 0), 0u);

    const auto infinitives = Lines(RunCli({"irregular"}).out);
    ASSERT_EQ(infinitives.size(), 212u);
    EXPECT_EQ(infinitives.front(), "abastecer");
    EXPECT_EQ(infinitives[162], "reňir");
    EXPECT_EQ(infinitives.back(), "yacer");
}

TEST(VerviaCli, TsvOfANewTenseFollowsTheUsualLines) {
    const auto usual = Lines(RunCli({"conjugate", "tener", "--tsv"}).out);
    const auto subjunctive = Lines(RunCli({"conjugate", "tener", "--tense", "20", "--tsv"}).out);
    ASSERT_EQ(subjunctive.size(), 49u);
    EXPECT_EQ(std::vector<std::string>(subjunctive.begin(), subjunctive.begin() + 43), usual);
    EXPECT_EQ(subjunctive[43], "20\t1\ttenga\t0");
    EXPECT_EQ(subjunctive[46], "20\t4\ttengamos\t0");
    EXPECT_EQ(subjunctive[48], "20\t6\ttengan\t0");

    const auto negative = Lines(RunCli({"conjugate", "levantarse", "--tense=25", "--tsv"}).out);
    ASSERT_EQ(negative.size(), 48u);
    EXPECT_EQ(negative[43], "25\t2\tno te levantes\t1");
    EXPECT_EQ(negative[47], "25\t6\tno se levanten\t1");

    const auto pluperfect = Lines(RunCli({"conjugate", "hacer", "--tense", "24", "--tsv"}).out);
    ASSERT_EQ(pluperfect.size(), 49u);
    EXPECT_EQ(pluperfect[46], "24\t4\thubiéramos hecho\t0");
    // An indicative tense adds nothing to the 43 lines.
    EXPECT_EQ(Lines(RunCli({"conjugate", "tener", "--tense", "14", "--tsv"}).out), usual);
}

TEST(VerviaCli, NewTensesInTheTextViewAndTheTenseList) {
    const std::string text = RunCli({"conjugate", "ir", "--tense", "25"}).out;
    EXPECT_NE(text.find("Záporný rozkaz (imperativo negativo)\n"), std::string::npos);
    EXPECT_NE(text.find("  Yo            není definován\n  Tu            *no vayas*\n"),
              std::string::npos);
    const std::string imperfect = RunCli({"conjugate", "ser", "--tense", "15"}).out;
    EXPECT_NE(imperfect.find("Imperfektum (pretérito imperfecto)\n  Yo            *era*\n"),
              std::string::npos);

    const auto tenses = Lines(RunCli({"tenses"}).out);
    ASSERT_EQ(tenses.size(), 17u);
    EXPECT_NE(
        std::find(tenses.begin(), tenses.end(), "20\tSubjunktiv přítomný\tpresente de subjuntivo"),
        tenses.end());
    EXPECT_NE(std::find(tenses.begin(), tenses.end(), "12\tPřítomný\tpresente de indicativo"),
              tenses.end());
    EXPECT_EQ(RunCli({"tenses", "extra"}).code, kExitUsage);

    for (const char* bad : {"19", "26", "9", "2", "3", "0", "20x"}) {
        const RunResult run = RunCli({"conjugate", "tener", "--tense", bad});
        EXPECT_EQ(run.code, kExitUsage) << bad;
        EXPECT_NE(run.err.find("bad tense"), std::string::npos) << bad;
    }
}

}  // namespace
}  // namespace vervia::cli
