#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "practice_command.h"

namespace vervia::cli {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) {
        fields.push_back(field);
    }
    return fields;
}

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

// Runs the vervia-cli program with `input` piped to its standard input.
class PracticeCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("vervia-practice-cli-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    CliRun Run(const std::string& arguments, const std::string& input) const {
        std::ofstream(folder / "in", std::ios::binary) << input;
        // A data folder of its own, so that no run touches the user's progress.
        const std::string command = "cd '" + folder.string() + "' && XDG_DATA_HOME='" +
                                    folder.string() + "/data' HOME='" + folder.string() + "' '" +
                                    VERVIA_CLI + "' practice " + arguments + " <in >out 2>err";
        const int status = std::system(command.c_str());
        auto read = [&](const char* name) {
            std::ifstream in(folder / name, std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            return text.str();
        };
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read("out"), read("err")};
    }

    fs::path folder;
};

TEST_F(PracticeCliTest, ProtocolEndToEnd) {
    // Empty answers are wrong and reveal the right forms.
    const CliRun first =
        Run("--seed 17 --count 4 --tsv --tenses 10,12 --verbs frequent", "\n\n\n\n");
    ASSERT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(first.err, "");
    const auto lines = Lines(first.out);
    ASSERT_EQ(lines.size(), 9u) << first.out;
    std::vector<std::string> questions;
    std::vector<std::string> forms;
    for (int i = 0; i < 4; ++i) {
        const auto question = Fields(lines[std::size_t(2 * i)]);
        ASSERT_EQ(question.size(), 4u) << lines[std::size_t(2 * i)];
        EXPECT_EQ(question[0], "Q");
        EXPECT_TRUE(question[2] == "10" || question[2] == "12");
        EXPECT_GE(std::stoi(question[3]), 1);
        EXPECT_LE(std::stoi(question[3]), 6);
        questions.push_back(lines[std::size_t(2 * i)]);
        const auto verdict = Fields(lines[std::size_t(2 * i + 1)]);
        ASSERT_EQ(verdict.size(), 2u);
        EXPECT_EQ(verdict[0], "WRONG");
        forms.push_back(verdict[1]);
    }
    EXPECT_EQ(lines[8], "SCORE\t0\t4");

    // The same seed asks the same first questions; their right forms are
    // right, with a blank around and in capitals too.
    const CliRun second = Run("--seed 17 --count 3 --tsv --tenses 10,12 --verbs frequent",
                              forms[0] + "\n  " + forms[1] + " \r\n" + forms[2] + "\n");
    const auto again = Lines(second.out);
    ASSERT_EQ(again.size(), 7u) << second.out;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(again[std::size_t(2 * i)], questions[std::size_t(i)]);
        EXPECT_EQ(again[std::size_t(2 * i + 1)], "RIGHT");
    }
    EXPECT_EQ(again[6], "SCORE\t3\t3");
}

TEST_F(PracticeCliTest, AccentSlipIsReportedAndNotCounted) {
    // Find a seed that asks habláis, and check the slip and the shortcut.
    bool found = false;
    for (int seed = 0; seed < 40 && !found; ++seed) {
        const std::string args =
            "--seed " + std::to_string(seed) + " --count 2 --tsv --tenses 12 --verbs hablar";
        const auto probe = Lines(Run(args, "\n").out);
        if (probe[0] != "Q\thablar\t12\t5") {
            continue;
        }
        found = true;
        const auto slip = Lines(Run(args, "HABLAIS\nhabla'is\n").out);
        ASSERT_EQ(slip.size(), 5u);
        EXPECT_EQ(slip[1], "ACCENT\thabláis");
        // The slipped form comes back only after two other questions.
        EXPECT_NE(slip[2], "Q\thablar\t12\t5");
        EXPECT_EQ(slip[4], "SCORE\t" + std::string(slip[3] == "RIGHT" ? "1" : "0") + "\t2");
    }
    EXPECT_TRUE(found);
}

TEST_F(PracticeCliTest, EndOfInputEndsWithTheScoreSoFar) {
    const CliRun run = Run("--seed 5 --count 10 --tsv --tenses 12 --verbs ser", "soy\n");
    ASSERT_EQ(run.code, 0);
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 4u) << run.out;
    EXPECT_EQ(lines[0].substr(0, 6), "Q\tser\t");
    EXPECT_EQ(lines[2].substr(0, 6), "Q\tser\t");
    EXPECT_EQ(lines[3], "SCORE\t" + std::string(lines[1] == "RIGHT" ? "1" : "0") + "\t1");

    const auto none = Lines(Run("--seed 5 --tsv", "").out);
    ASSERT_EQ(none.size(), 2u);
    EXPECT_EQ(none[1], "SCORE\t0\t0");
}

TEST_F(PracticeCliTest, RunsWithoutSeedDifferAndKeepProgress) {
    const std::string progress = (folder / "progress.txt").string();
    const std::string args = "--count 6 --tsv --progress '" + progress + "'";
    const CliRun first = Run(args, std::string(6, '\n'));
    ASSERT_EQ(first.code, 0) << first.err;
    // A fresh start without a seed asks other questions. (The same progress
    // file would bring the first run's mistakes back in the same order.)
    const std::string other = (folder / "other.txt").string();
    EXPECT_NE(first.out,
              Run("--count 6 --tsv --progress '" + other + "'", std::string(6, '\n')).out);
    const CliRun second = Run(args, std::string(6, '\n'));
    std::ifstream in(progress);
    std::string header;
    std::getline(in, header);
    EXPECT_EQ(header, "vervia practice 1");
    int cards = 0;
    for (std::string line; std::getline(in, line);) {
        ++cards;
    }
    // Each form once: the first run's mistakes came back within it and in
    // the second run.
    EXPECT_GE(cards, 3);
    bool cameBack = false;
    for (const std::string& line : Lines(first.out)) {
        cameBack = cameBack || (line[0] == 'Q' && second.out.find(line) != std::string::npos);
    }
    EXPECT_TRUE(cameBack);
    // Without --progress and --seed the user's own data folder is used.
    ASSERT_EQ(Run("--count 1 --tsv", "x\n").code, 0);
    EXPECT_TRUE(fs::exists(folder / "data" / "Gramarion" / "practice-progress.txt"));
}

TEST_F(PracticeCliTest, DamagedProgressIsReportedAndKept) {
    const fs::path progress = folder / "progress.txt";
    std::ofstream(progress) << "not a progress file\n";
    const CliRun run = Run("--seed 1 --count 1 --tsv --progress progress.txt", "x\n");
    ASSERT_EQ(run.code, 0);
    EXPECT_NE(run.err.find("poškozený"), std::string::npos) << run.err;
    std::ifstream kept(folder / "progress.txt.damaged");
    std::string line;
    std::getline(kept, line);
    EXPECT_EQ(line, "not a progress file");
}

TEST(PracticeCliArguments, BadArgumentsAreUsageErrors) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--count", "0"},
                                               {"--count", "x"},
                                               {"--count"},
                                               {"--seed", "-1"},
                                               {"--tenses", "12,13"},
                                               {"--tenses", ","},
                                               {"--verbs", "tener,casa"},
                                               {"--verbs", ""},
                                               {"--bogus"},
                                               {"extra"}}) {
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunPractice(args, in, out, err, false), 2) << args[0];
        EXPECT_NE(err.str(), "") << args[0];
        EXPECT_EQ(out.str(), "") << args[0];
    }
    const auto parsed = ParsePracticeArguments(
        {"--seed=9", "--count", "3", "--tenses", "2,12", "--verbs=frequent", "--tsv"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->seed, 9u);
    EXPECT_EQ(parsed.options->count, 3);
    EXPECT_EQ(parsed.options->tenses, (std::vector<int>{2, 12}));
    EXPECT_EQ(parsed.options->verbs, "frequent");
    EXPECT_TRUE(parsed.options->tsv);
}

TEST(PracticeCliTerminal, CzechExercise) {
    std::istringstream in("tengo\n");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunPractice({"--seed", "2", "--count", "2", "--tenses", "12", "--verbs", "tener",
                           "--progress", "/dev/null/progress"},
                          in, out, err, false),
              0);
    const auto lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 4u) << out.str();
    EXPECT_NE(lines[0].find("a' e' i' o' u'"), std::string::npos);
    EXPECT_NE(lines[1].find("1/2  tener – presente de indicativo – "), std::string::npos)
        << lines[1];
    EXPECT_TRUE(lines[1].ends_with("správně") ||
                lines[1].find("špatně, správně je: ") != std::string::npos);
    EXPECT_EQ(lines[3],
              lines[1].ends_with("  správně") ? "Skóre: 1 správně z 1" : "Skóre: 0 správně z 1");
    EXPECT_NE(err.str().find("nelze uložit"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace vervia::cli
