#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const std::string kAbastecer =
    "abastecer\n"
    "  participio   abastecido\n"
    "  gerundio     abasteciendo\n"
    "  imperativo   abastece abastezca abastezcamos abasteced abastezcan\n"
    "  preterito    abastecí abasteciste abasteció abastecimos abastecisteis abastecieron\n"
    "  presente     abastezco abasteces abastece abastecemos abastecéis abastecen\n"
    "  futuro       abasteceré abastecerás abastecerá abasteceremos abasteceréis abastecerán\n"
    "  condicional  abastecería abastecerías abastecería abasteceríamos abasteceríais "
    "abastecerían\n";

struct GeneratorRun {
    int status;
    std::string errors;
    bool wroteOutput;
};

// Runs the generator on one data file holding `data`.
class VerbTableGenerator : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("vervia-generator-" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // `mode` is empty for the table, "--further " for the further-verb list.
    GeneratorRun Generate(const std::string& data, const std::string& mode = {}) {
        const fs::path input = m_dir / "verbs.txt";
        const fs::path output = m_dir / "table.cpp";
        const fs::path errors = m_dir / "errors.txt";
        fs::remove(output);
        std::ofstream(input, std::ios::binary) << data;
        const std::string command = std::string("\"") + VERB_TABLE_GENERATOR + "\" " + mode + "\"" +
                                    output.string() + "\" \"" + input.string() + "\" 2>\"" +
                                    errors.string() + "\"";
        const int status = std::system(command.c_str());
        std::stringstream text;
        text << std::ifstream(errors).rdbuf();
        return {status, text.str(), fs::exists(output)};
    }

    fs::path m_dir;
};

TEST_F(VerbTableGenerator, RejectsAWrongBlockCount) {
    const GeneratorRun run = Generate("# one verb only\n" + kAbastecer);
    EXPECT_NE(run.status, 0);
    EXPECT_FALSE(run.wroteOutput);
    EXPECT_NE(run.errors.find("1 verb blocks, 212 are required"), std::string::npos) << run.errors;
}

TEST_F(VerbTableGenerator, ReportsFileAndLineOfBadForms) {
    std::string data = kAbastecer;
    data.replace(data.find("abastecido"), 10, "abastecidoabastecido");  // 20 characters
    GeneratorRun run = Generate(data);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.errors.find("verbs.txt:2: error: form \"abastecidoabastecido\" has 20"),
              std::string::npos)
        << run.errors;

    data = kAbastecer;
    data.replace(data.find("abasteciendo"), 12, "Abasteciendo");
    run = Generate(data);
    EXPECT_NE(run.errors.find("verbs.txt:3: error: upper case letter 'A'"), std::string::npos)
        << run.errors;

    data = kAbastecer;
    data.replace(data.find("abastezcamos"), 12, "abastezcamös");
    run = Generate(data);
    EXPECT_NE(run.errors.find("verbs.txt:4: error: character 'ö'"), std::string::npos)
        << run.errors;

    data = kAbastecer;
    const std::size_t last = data.find("abastecen\n");
    data.erase(last, 9);
    data.insert(last, 1, '-');
    run = Generate(data);
    EXPECT_NE(run.errors.find("verbs.txt:6: error: empty form in presente"), std::string::npos)
        << run.errors;
}

TEST_F(VerbTableGenerator, ChecksLabelsCountsAndInfinitives) {
    std::string data = kAbastecer;
    data.replace(data.find("futuro"), 6, "futura");
    GeneratorRun run = Generate(data);
    EXPECT_NE(run.errors.find("verbs.txt:7: error: unknown label \"futura\""), std::string::npos)
        << run.errors;

    data = kAbastecer;
    data.replace(data.find(" abastecen\n"), 10, "");
    run = Generate(data);
    EXPECT_NE(run.errors.find("verbs.txt:6: error: presente needs 6 forms, found 5"),
              std::string::npos)
        << run.errors;

    data = kAbastecer;
    data.replace(0, 9, "abastecir");
    run = Generate(data);
    EXPECT_NE(run.errors.find("verbs.txt:1: error: verb 1 must be \"abastecer\""),
              std::string::npos)
        << run.errors;
}

TEST_F(VerbTableGenerator, ChecksTheFurtherVerbList) {
    const std::string good =
        "# comment\n-ducir like conducir\nmedir  e>i\nconfiar hiatus\nraer like caer\n";
    GeneratorRun run = Generate(good, "--further ");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(run.wroteOutput);

    const std::pair<const char*, const char*> faults[] = {
        {"medir e>x\n", "verbs.txt:1: error: a line is"},
        {"medir\n", "verbs.txt:1: error: a line is"},
        {"tener e>ie\n", "\"tener\" is one of the 212 table verbs"},
        {"raer like roto\n", "\"roto\" is not a table verb"},
        {"medir e>i\nmedir e>i\n", "verbs.txt:2: error: \"medir\" is listed twice"},
        {"-ducir e>i\n", "a family (-ending) needs"},
        {"casa e>i\n", "\"casa\" does not end in ar, er or ir"},
        {"Medir e>i\n", "upper case letter 'M'"},
        // An overlong encoding of 'i' is malformed, not a letter.
        {"med\xC1\xA9r e>i\n", "malformed UTF-8"},
    };
    for (const auto& [data, message] : faults) {
        run = Generate(data, "--further ");
        EXPECT_NE(run.status, 0) << data;
        EXPECT_FALSE(run.wroteOutput) << data;
        EXPECT_NE(run.errors.find(message), std::string::npos) << data << run.errors;
    }
}

TEST_F(VerbTableGenerator, ChecksTheTenseFormList) {
    const std::string good =
        "# comment\nser imperfecto era eras era éramos erais eran\n"
        "ser subjuntivo sea seas sea seamos seáis sean\n";
    GeneratorRun run = Generate(good, "--tenses ");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(run.wroteOutput);

    const std::pair<const char*, const char*> faults[] = {
        {"ser imperfecto era eras era éramos erais\n", "verbs.txt:1: error: a line is"},
        {"ser futuro era eras era éramos erais eran\n", "verbs.txt:1: error: a line is"},
        {"hablar imperfecto a b c d e f\n", "\"hablar\" is not a table verb"},
        {"ser imperfecto era eras era Éramos erais eran\n", "upper case letter"},
        {"ser imperfecto a b c d e f\nser imperfecto a b c d e f\n",
         "verbs.txt:2: error: \"ser imperfecto\" is listed twice"},
    };
    for (const auto& [data, message] : faults) {
        run = Generate(data, "--tenses ");
        EXPECT_NE(run.status, 0) << data;
        EXPECT_FALSE(run.wroteOutput) << data;
        EXPECT_NE(run.errors.find(message), std::string::npos) << data << run.errors;
    }
}

}  // namespace
