// The fault matrix end to end: telvora-cli as its own process, talking
// through QSerialPort to telvora-phonesim on a pseudo-terminal, the phone's
// state saved by the simulator when it stops. Real time runs here, so the
// faults that end a command at once (error answers, a cut line, news in
// the answer) run for every feature, and those that last until a bound
// (silence, garbage, noise, a cut answer) once each; the fake-clock matrix
// in cli_fault_matrix_test.cpp runs every pair.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include "telvora/link/timeouts.h"
#include "tests/telvora/faults/fault_rig.h"

namespace telvora {
namespace {

using namespace timeouts;

// A real machine shared with other builds: what the program's own bound
// does not cover (starting the processes, a busy scheduler).
constexpr int kMarginMs = 4000;

const QByteArray kBook =
    "\"+420603123456\",\"Martina\",1\r\n\"+420724555018\",\"Petr\",2\r\n"
    "\"602111222\",\"Domů\",3\r\n";
const QByteArray kOldTpb = "\"111\",\"Stará\",1\r\n";
const QByteArray kOldCsv = "\"2026-01-01 08:00\",\"111\",\"stará zpráva\"\r\n";

struct Command {
    const char* name;
    QStringList args;
    QByteArray target;  // the AT command the fault hits
    int boundMs;
};

const Command kCommands[] = {
    {"listdelete",
     {"sms", "list", "--delete", "--csv", "%csv", "--phonebook", "%book"},
     "AT+CMGL",
     kLinkCheckMs + 4 * kSilenceMs},
    {"delete",
     {"sms", "list", "--delete", "--csv", "%csv", "--phonebook", "%book"},
     "AT+CMGD",
     kLinkCheckMs + kShortCommandMs},
    {"pbread", {"pb", "read", "sm", "--out", "%tpb"}, "AT+CPBR=1", kLinkCheckMs + kSilenceMs},
    {"pbupload", {"pb", "write", "sm", "%book"}, "AT+CPBW=", kLinkCheckMs + kShortCommandMs},
    {"sendparts",
     {"sms", "send", "777", QString(200, u'x'), "--long"},
     "AT+CMGS",
     kLinkCheckMs + kSmsSendMs},
    {"dial", {"dial", "+420603123456"}, "ATD", kLinkCheckMs + kDialMs},
    {"ringtoneget", {"ringtone", "get"}, "AT*ESOM?", kLinkCheckMs + kRingToneMs},
    {"ringtoneset", {"ringtone", "set", "2", "cdefg"}, "AT*ESOM=", kLinkCheckMs + kRingToneMs},
};

const Command& CommandNamed(const char* name) {
    for (const Command& command : kCommands) {
        if (qstrcmp(command.name, name) == 0) {
            return command;
        }
    }
    return kCommands[0];
}

class PtyFaultMatrix : public ::testing::Test {
protected:
    PtyFaultMatrix() {
        test::WriteWholeFile(dir.filePath("book.tpb"), kBook);
        test::WriteWholeFile(dir.filePath("default.tpb"), kOldTpb);
        test::WriteWholeFile(dir.filePath("out.csv"), kOldCsv);
    }
    ~PtyFaultMatrix() override { stopPhone(); }

    // Starts the demo phone (or the phone of `state`) with `options`.
    bool startPhone(const QStringList& options, const QJsonObject& state = {}) {
        QStringList arguments{"--save",       dir.filePath("saved.json"),
                              "--transcript", dir.filePath("transcript.txt"),
                              "--latency",    "0"};
        if (!state.isEmpty()) {
            test::WriteWholeFile(dir.filePath("state.json"), QJsonDocument(state).toJson());
            arguments << "--state" << dir.filePath("state.json");
        }
        phone.start(QStringLiteral(TELVORA_PHONESIM_PATH), arguments + options);
        if (phone.waitForReadyRead(10000)) {
            device = QString::fromLocal8Bit(phone.readLine().trimmed());
        }
        return !device.isEmpty();
    }
    // Stops the phone; the state it saved.
    phonesim::PhoneState stopPhone() {
        if (phone.state() != QProcess::NotRunning) {
            phone.terminate();
            phone.waitForFinished(10000);
        }
        QString error;
        return phonesim::loadStateFile(dir.filePath("saved.json"), &error)
            .value_or(phonesim::PhoneState{});
    }

    struct Run {
        int code = -1;
        QString out;
        QString err;
        qint64 elapsedMs = 0;
    };

    // Runs telvora-cli; again (up to three times) when a loaded machine let
    // the link check's 150 ms pass before the command reached the phone.
    Run run(const QStringList& args, const QByteArray& target) {
        Run result;
        for (int attempt = 0; attempt < 3; ++attempt) {
            const qsizetype seen = test::ReadWholeFile(dir.filePath("transcript.txt")).size();
            result = runOnce(args);
            const QByteArray sent = test::ReadWholeFile(dir.filePath("transcript.txt")).mid(seen);
            if (sent.contains("> " + target)) {
                break;
            }
        }
        return result;
    }

    Run runOnce(QStringList args) {
        for (QString& arg : args) {
            arg.replace("%csv", dir.filePath("out.csv"));
            arg.replace("%tpb", dir.filePath("default.tpb"));
            arg.replace("%book", dir.filePath("book.tpb"));
        }
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        environment.insert("XDG_DATA_HOME", dir.filePath("data"));
        cli.setProcessEnvironment(environment);
        QElapsedTimer timer;
        timer.start();
        cli.start(QStringLiteral(TELVORA_CLI_PATH),
                  QStringList{"--device", device, "--lang", "en"} + args);
        cli.closeWriteChannel();
        Run result;
        if (cli.waitForFinished(kDialMs + 30000) && cli.exitStatus() == QProcess::NormalExit) {
            result.code = cli.exitCode();  // a crash leaves -1
        }
        result.elapsedMs = timer.elapsed();
        result.out = QString::fromUtf8(cli.readAllStandardOutput());
        result.err = QString::fromUtf8(cli.readAllStandardError());
        return result;
    }

    // The pair's whole check: the fault on the command's AT command, the run,
    // the exit code, the time, and the files and messages afterwards.
    void check(const Command& command, const QString& fault, bool works) {
        SCOPED_TRACE(std::string(command.name) + " / " + fault.toStdString());
        const QStringList before = test::TextsOnPhone(phonesim::demoPhoneState());
        ASSERT_TRUE(startPhone({"--fault", QString::fromLatin1(command.target) + '=' + fault}));
        const Run result = run(command.args, command.target);
        const phonesim::PhoneState after = stopPhone();
        if (works) {
            EXPECT_EQ(result.code, 0) << result.err.toStdString();
        } else {
            EXPECT_EQ(result.code, 1) << result.out.toStdString() << result.err.toStdString();
            EXPECT_FALSE(result.err.isEmpty());
        }
        EXPECT_LE(result.elapsedMs, command.boundMs + kMarginMs);
        const QStringList lost = test::LostMessages(before, test::TextsOnPhone(after),
                                                    test::ArchivedTexts(dir.filePath("data")));
        EXPECT_TRUE(lost.isEmpty()) << lost.join(", ").toStdString();
        EXPECT_TRUE(test::CsvKeptAndWhole(kOldCsv, test::ReadWholeFile(dir.filePath("out.csv"))));
        EXPECT_TRUE(test::PhoneBookFileIntact(kOldTpb,
                                              test::ReadWholeFile(dir.filePath("default.tpb")),
                                              after.phoneBooks.value("SM").entries.size()));
        EXPECT_EQ(test::ReadWholeFile(dir.filePath("book.tpb")), kBook);
        RecordProperty("elapsedMs", std::to_string(result.elapsedMs));
    }

    QTemporaryDir dir;
    QProcess phone;
    QString device;
};

// The faults that end a command at once, for every command.
struct QuickFault {
    const char* kind;
    bool works;
};
const QuickFault kQuickFaults[] = {
    {"error", false}, {"cms:500", false}, {"cme:100", false}, {"hangup", false}, {"news", true},
};

class QuickFaults : public PtyFaultMatrix, public ::testing::WithParamInterface<Command> {};

TEST_P(QuickFaults, FailureIsReportedAndNothingIsLost) {
    for (const QuickFault& fault : kQuickFaults) {
        // Each fault against a fresh phone and fresh files.
        test::WriteWholeFile(dir.filePath("default.tpb"), kOldTpb);
        test::WriteWholeFile(dir.filePath("out.csv"), kOldCsv);
        QDir(dir.filePath("data")).removeRecursively();
        device.clear();
        check(GetParam(), QString::fromLatin1(fault.kind), fault.works);
    }
}

INSTANTIATE_TEST_SUITE_P(Pty, QuickFaults, ::testing::ValuesIn(kCommands),
                         [](const auto& info) { return std::string(info.param.name); });

// The faults that hold a command until its bound, once each.
TEST_F(PtyFaultMatrix, SilentRingToneRead) {
    check(CommandNamed("ringtoneget"), "silent", false);
}
TEST_F(PtyFaultMatrix, GarbageInsteadOfThePhoneBook) {
    check(CommandNamed("pbread"), "garbage:200", false);
}
TEST_F(PtyFaultMatrix, BinaryNoiseInsteadOfTheListing) {
    check(CommandNamed("listdelete"), "noise:200", false);
}
TEST_F(PtyFaultMatrix, DeleteAnswerCutShort) {
    check(CommandNamed("delete"), "drop", false);
}

// A 9600 baud line with small data: every command works within its bound.
TEST_F(PtyFaultMatrix, NineThousandSixHundredBaud) {
    ASSERT_TRUE(startPhone({"--baud", "9600"}));
    for (const char* name : {"ringtoneget", "ringtoneset", "dial", "pbupload"}) {
        const Command& command = CommandNamed(name);
        SCOPED_TRACE(name);
        const Run result = run(command.args, command.target);
        EXPECT_EQ(result.code, 0) << result.err.toStdString();
        EXPECT_LE(result.elapsedMs, command.boundMs + kMarginMs);
        RecordProperty(name, std::to_string(result.elapsedMs));
    }
    const Run hangup = run({"hangup"}, "ATH");
    EXPECT_EQ(hangup.code, 0);
}

// 10,000 entries through the pseudo-terminal: read whole into the default
// file, then the file with one name changed written back.
TEST_F(PtyFaultMatrix, TenThousandEntryPhoneBook) {
    phonesim::PhoneState state = test::DemoPhoneWithFullSim(10000);
    ASSERT_TRUE(startPhone({}, phonesim::stateToJson(state)));
    const Run read = run({"pb", "read", "sm", "--out", "%tpb"}, "AT+CPBR=1");
    EXPECT_EQ(read.code, 0) << read.err.toStdString();
    const PhoneBookFileParse file =
        ParsePhoneBookFile(test::ReadWholeFile(dir.filePath("default.tpb")));
    ASSERT_EQ(file.entries.size(), 10000);
    EXPECT_LE(read.elapsedMs, kLinkCheckMs + kSilenceMs + kMarginMs);
    RecordProperty("readMs", std::to_string(read.elapsedMs));

    PhoneBookList changed = file.entries;
    changed[9876].name = QStringLiteral("Změněné");
    test::WriteWholeFile(dir.filePath("changed.tpb"), PhoneBookFileContent(changed));
    const Run upload = run({"pb", "write", "sm", dir.filePath("changed.tpb")}, "AT+CPBW=");
    EXPECT_EQ(upload.code, 0) << upload.err.toStdString();
    RecordProperty("uploadMs", std::to_string(upload.elapsedMs));
    const phonesim::PhoneState after = stopPhone();
    EXPECT_EQ(after.phoneBooks.value("SM").entries.size(), 10000);
    EXPECT_EQ(after.phoneBooks.value("SM").entries.value(changed[9876].position).name,
              QStringLiteral("Změněné"));
}

}  // namespace
}  // namespace telvora
