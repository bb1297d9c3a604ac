// telvora-cli ringtone get and set, against the simulator program.

#include <gtest/gtest.h>

#include "tests/telvora/calls/cli_runner.h"
#include "tests/telvora/calls/simulator_process.h"

namespace telvora {
namespace {

// A run, repeated when a loaded machine let the simulator miss the link
// check's 150 ms (the phone then counts as not connected).
test::CliOutput RunAnswered(test::CliRunner& runner, const QStringList& args) {
    test::CliOutput output;
    for (int i = 0; i < 3; ++i) {
        output = runner.run(args);
        if (output.err != UiText(Language::Czech, 38) + '\n') {
            break;
        }
    }
    return output;
}

TEST(RingToneCli, SetThenGet) {
    test::SimulatorProcess simulator({"--latency", "5"});
    ASSERT_FALSE(simulator.device().isEmpty());
    test::CliRunner runner([] { return std::make_unique<QtSerialPort>(); });
    const QStringList device{"--device", simulator.device(), "ringtone"};

    const test::CliOutput set = RunAnswered(runner, device + QStringList{"set", "3", " d#e#f "});
    EXPECT_EQ(set.code, kExitOk);
    EXPECT_EQ(set.out, QStringLiteral("Nová melodie číslo 3 byla nahrána do telefonu.\n"));

    const test::CliOutput get = RunAnswered(runner, device + QStringList{"get"});
    EXPECT_EQ(get.code, kExitOk);
    const QStringList lines = get.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[2], QStringLiteral("Melodie 3: d#e#f"));
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Melodie 1: cdefgpg")));
}

TEST(RingToneCli, RefusedAsTheWindowRefuses) {
    test::SimulatorProcess simulator({"--latency", "5"});
    test::CliRunner runner([] { return std::make_unique<QtSerialPort>(); });
    const QStringList device{"--lang", "en", "--device", simulator.device(), "ringtone"};
    const struct {
        QStringList args;
        int code;
        QString err;
    } cases[] = {
        {{"set", "2", "d##e"},
         kExitUsage,
         "You can't use 2 chars(#,+) subsequently in ring tone number 2.\n"},
        {{"set", "1", "x##d"}, kExitUsage, "Invalid chars in ring tone number 1.\n"},
        {{"set", "4", QString(121, QLatin1Char('c'))},
         kExitUsage,
         "Max. lenght of ring tone is 120 chars.\n"},
        {{"set", "5", "c"}, kExitUsage, "The ring tone number must be 1 to 4.\n"},
        {{"set", "x", "c"}, kExitUsage, "The ring tone number must be 1 to 4.\n"},
    };
    for (const auto& c : cases) {
        const test::CliOutput output = RunAnswered(runner, device + c.args);
        EXPECT_EQ(output.code, c.code) << c.args.join(' ').toStdString();
        EXPECT_EQ(output.err, c.err) << c.args.join(' ').toStdString();
    }
    for (const QStringList& wrong :
         {QStringList{"put"}, QStringList{"get", "1"}, QStringList{"set", "1"}}) {
        EXPECT_EQ(runner.run(device + wrong).code, kExitUsage) << wrong.join(' ').toStdString();
    }
}

}  // namespace
}  // namespace telvora
