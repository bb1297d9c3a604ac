// telvora-cli against a phone with one fault injected into the command each
// feature depends on, every feature against every fault. The phone and the
// link run on one fake clock: a wait that lasts until its bound ends at the
// exact millisecond it is due, so the time each run took is measured
// against the bound the commands document, and the whole matrix runs in
// seconds. The same faults against the simulator program on a
// pseudo-terminal are in pty_fault_matrix_test.cpp.

#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QTemporaryDir>

#include "telvora/cli/cli.h"
#include "telvora/core/fake_clock.h"
#include "telvora/demophone/phonesim_port.h"
#include "telvora/link/timeouts.h"
#include "tests/telvora/calls/cli_runner.h"
#include "tests/telvora/faults/fault_rig.h"

namespace telvora {
namespace {

using namespace timeouts;

// A fault and whether the command can still do its work under it.
struct FaultCase {
    const char* kind;  // as in --fault COMMAND=KIND[:ARG]
    bool commandWorks;
};

const FaultCase kFaults[] = {
    {"silent", false},  {"error", false},    {"cms:500", false}, {"cme:100", false},
    {"garbage", false}, {"noise:64", false}, {"drop", false},    {"hangup", false},
    {"news", true},     {"late:500", true},
};

// One command of the command line, the AT command its work depends on, and
// the longest it may take when that command fails: the bounds of the waits
// the fault can hit, as timeouts.h states them.
struct CommandCase {
    const char* name;
    QStringList args;  // %csv, %tpb, %book are replaced by the test's files
    QByteArray target;
    int boundMs;
};

// Two listings (unread, then read) in each of the two stores may each wait
// for the silence bound; deletes are short commands.
const CommandCase kCommands[] = {
    {"list",
     {"sms", "list", "--csv", "%csv", "--phonebook", "%book"},
     "AT+CMGL",
     kLinkCheckMs + 4 * kSilenceMs},
    {"list-delete",
     {"sms", "list", "--delete", "--csv", "%csv", "--phonebook", "%book"},
     "AT+CMGL",
     kLinkCheckMs + 4 * kSilenceMs},
    {"delete",
     {"sms", "list", "--delete", "--csv", "%csv", "--phonebook", "%book"},
     "AT+CMGD",
     kLinkCheckMs + 8 * kShortCommandMs},
    {"pb-read", {"pb", "read", "sm", "--out", "%tpb"}, "AT+CPBR=1", kLinkCheckMs + kSilenceMs},
    {"pb-upload", {"pb", "write", "sm", "%book"}, "AT+CPBW=", kLinkCheckMs + 3 * kShortCommandMs},
    {"send-parts",
     {"sms", "send", "777", QString(200, u'x'), "--long"},
     "AT+CMGS",
     kLinkCheckMs + 2 * kSmsSendMs},
    {"dial", {"dial", "+420603123456"}, "ATD", kLinkCheckMs + kDialMs},
    {"ringtone-get", {"ringtone", "get"}, "AT*ESOM?", kLinkCheckMs + kRingToneMs},
    {"ringtone-set", {"ringtone", "set", "2", "cdefg"}, "AT*ESOM=", kLinkCheckMs + kRingToneMs},
};

// A margin for the steps the fault does not hit (they answer at once on
// the fake clock) and the link's own pauses.
constexpr int kMarginMs = 2000;

const QByteArray kBook =
    "\"+420603123456\",\"Martina\",1\r\n\"+420724555018\",\"Petr\",2\r\n"
    "\"602111222\",\"Domů\",3\r\n";
const QByteArray kOldTpb = "\"111\",\"Stará\",1\r\n";
const QByteArray kOldCsv = "\"2026-01-01 08:00\",\"111\",\"stará zpráva\"\r\n";

class CliFaultMatrix : public ::testing::Test {
protected:
    CliFaultMatrix() : port(phonesim::demoPhoneState()) {
        qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
        port.setClock(clock);
        port.phone().options().latencyMs = 0;
        test::WriteWholeFile(dir.filePath("book.tpb"), kBook);
        test::WriteWholeFile(dir.filePath("default.tpb"), kOldTpb);
        test::WriteWholeFile(dir.filePath("out.csv"), kOldCsv);
    }
    ~CliFaultMatrix() override { qunsetenv("XDG_DATA_HOME"); }

    struct Run {
        test::CliOutput output;
        qint64 elapsedMs = 0;
    };

    Run run(const QStringList& args) {
        QStringList full{"--lang", "en", "--device", "sim"};
        for (QString arg : args) {
            arg.replace("%csv", dir.filePath("out.csv"));
            arg.replace("%tpb", dir.filePath("default.tpb"));
            arg.replace("%book", dir.filePath("book.tpb"));
            full << arg;
        }
        QTextStream out;
        QTextStream err;
        QString outText;
        QString errText;
        out.setString(&outText);
        err.setString(&errText);
        SettingsStore settings(
            std::make_unique<QSettings>(dir.filePath("Telvora.conf"), QSettings::IniFormat));
        CliEnvironment environment{&settings, [this] { return std::make_unique<Forward>(port); },
                                   &out, &err, &clock};
        Run result;
        const qint64 start = clock.nowMs();
        result.output.code = RunCli(full, environment);
        result.elapsedMs = clock.nowMs() - start;
        out.flush();
        err.flush();
        result.output.out = outText;
        result.output.err = errText;
        return result;
    }

    // The link owns a port that hands every byte to the phone that outlives it.
    class Forward : public SerialPort {
    public:
        explicit Forward(phonesim::PhoneSimPort& target) : m_target(target) {
            connect(&target, &SerialPort::readyRead, this, &SerialPort::readyRead);
            connect(&target, &SerialPort::failed, this, &SerialPort::failed);
        }
        OpenResult open(const QString& device) override { return m_target.open(device); }
        void close() override { m_target.close(); }
        bool isOpen() const override { return m_target.isOpen(); }
        bool write(const QByteArray& data) override { return m_target.write(data); }
        QByteArray readAll() override { return m_target.readAll(); }
        void discardInput() override { m_target.discardInput(); }
        QString errorText() const override { return m_target.errorText(); }

    private:
        phonesim::PhoneSimPort& m_target;
    };

    void reset(phonesim::PhoneState state);
    void expectNothingLostOrHalfWritten(const QStringList& messagesBefore);

    QTemporaryDir dir;
    FakeClock clock;
    phonesim::PhoneSimPort port;
};

// The phone and the files as they were before each run.
void CliFaultMatrix::reset(phonesim::PhoneState state) {
    port.close();
    port.phone() = phonesim::SimulatedPhone(std::move(state));
    port.phone().options().latencyMs = 0;
    test::WriteWholeFile(dir.filePath("default.tpb"), kOldTpb);
    test::WriteWholeFile(dir.filePath("out.csv"), kOldCsv);
    QDir(dir.filePath("data")).removeRecursively();
}

void CliFaultMatrix::expectNothingLostOrHalfWritten(const QStringList& messagesBefore) {
    const QStringList lost =
        test::LostMessages(messagesBefore, test::TextsOnPhone(port.phone().state()),
                           test::ArchivedTexts(dir.filePath("data")));
    EXPECT_TRUE(lost.isEmpty()) << lost.join(", ").toStdString();
    EXPECT_TRUE(test::CsvKeptAndWhole(kOldCsv, test::ReadWholeFile(dir.filePath("out.csv"))));
    const qsizetype onSim = port.phone().state().phoneBooks["SM"].entries.size();
    EXPECT_TRUE(test::PhoneBookFileIntact(kOldTpb, test::ReadWholeFile(dir.filePath("default.tpb")),
                                          onSim));
    EXPECT_EQ(test::ReadWholeFile(dir.filePath("book.tpb")), kBook);
}

class EveryFault : public CliFaultMatrix, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(EveryFault, FailsWithinItsBoundAndLosesNothing) {
    const CommandCase& command = GetParam();
    reset(phonesim::demoPhoneState());
    const QString faultless = run(command.args).output.out;
    for (const FaultCase& fault : kFaults) {
        SCOPED_TRACE(std::string(command.name) + " / " + fault.kind);
        reset(phonesim::demoPhoneState());
        const QStringList before = test::TextsOnPhone(port.phone().state());
        const auto melodies = port.phone().state().melodies;
        port.phone().addFault(
            *phonesim::parseFault(QString::fromLatin1(command.target) + '=' + fault.kind, nullptr));
        const Run result = run(command.args);

        // Never success when the work could not be done, and never a
        // failure from a phone that did it; a failure says why.
        if (fault.commandWorks) {
            EXPECT_EQ(result.output.code, kExitOk) << result.output.err.toStdString();
            // News between the answer's lines is never taken for data.
            EXPECT_EQ(result.output.out, faultless);
        } else {
            EXPECT_EQ(result.output.code, kExitFailed) << result.output.out.toStdString();
            EXPECT_FALSE(result.output.err.isEmpty());
        }
        EXPECT_LE(result.elapsedMs, command.boundMs + kMarginMs);
        expectNothingLostOrHalfWritten(before);
        const bool ran = fault.commandWorks || QByteArray(fault.kind) == "drop" ||
                         QByteArray(fault.kind) == "hangup";
        if (QByteArray(command.name) == "ringtone-set" && !ran) {
            EXPECT_EQ(port.phone().state().melodies, melodies);
        }
        RecordProperty(std::string(fault.kind), std::to_string(result.elapsedMs));
    }
}

INSTANTIATE_TEST_SUITE_P(Cli, EveryFault, ::testing::ValuesIn(kCommands), [](const auto& info) {
    QString name = QString::fromLatin1(info.param.name);
    return name.remove('-').toStdString();
});

// A slow line: the bytes leave at 960 characters a second. Small data, so
// that the real time stays short; every command still works within its bound.
TEST_F(CliFaultMatrix, NineThousandSixHundredBaudLine) {
    for (const CommandCase& command : kCommands) {
        SCOPED_TRACE(command.name);
        reset(phonesim::demoPhoneState());
        auto& entries = port.phone().state().phoneBooks["SM"].entries;
        while (entries.size() > 4) {  // keep the read short
            entries.erase(std::prev(entries.end()));
        }
        port.phone().options().baud = 9600;
        const QStringList before = test::TextsOnPhone(port.phone().state());
        const Run result = run(command.args);
        EXPECT_EQ(result.output.code, kExitOk) << result.output.err.toStdString();
        EXPECT_LE(result.elapsedMs, command.boundMs + kMarginMs);
        expectNothingLostOrHalfWritten(before);
        RecordProperty(command.name, std::to_string(result.elapsedMs));
    }
}

// A SIM phone book of 10,000 entries: read whole into the default file, one
// name changed in the file, the file written back.
TEST_F(CliFaultMatrix, TenThousandEntryPhoneBookReadAndUpload) {
    phonesim::PhoneState state = test::DemoPhoneWithFullSim(10000);
    reset(state);
    const Run read = run({"pb", "read", "sm", "--out", "%tpb"});
    EXPECT_EQ(read.output.code, kExitOk) << read.output.err.toStdString();
    const PhoneBookFileParse file =
        ParsePhoneBookFile(test::ReadWholeFile(dir.filePath("default.tpb")));
    ASSERT_EQ(file.entries.size(), 10000);
    EXPECT_LE(read.elapsedMs, kLinkCheckMs + kSilenceMs);
    RecordProperty("read", std::to_string(read.elapsedMs));

    PhoneBookList changed = file.entries;
    changed[4321].name = QStringLiteral("Změněné");
    test::WriteWholeFile(dir.filePath("changed.tpb"), PhoneBookFileContent(changed));
    const Run upload = run({"pb", "write", "sm", dir.filePath("changed.tpb")});
    EXPECT_EQ(upload.output.code, kExitOk) << upload.output.err.toStdString();
    const auto& entries = port.phone().state().phoneBooks["SM"].entries;
    EXPECT_EQ(entries.size(), 10000);
    EXPECT_EQ(entries.value(changed[4321].position).name, QStringLiteral("Změněné"));
    RecordProperty("upload", std::to_string(upload.elapsedMs));

    // The same read with the line cut half-way: the default file keeps the
    // 10,000 entries it held.
    port.phone().addFault(*phonesim::parseFault("AT+CPBR=1=hangup", nullptr));
    const QByteArray whole = test::ReadWholeFile(dir.filePath("default.tpb"));
    const Run cut = run({"pb", "read", "sm", "--out", "%tpb"});
    EXPECT_EQ(cut.output.code, kExitFailed);
    EXPECT_EQ(test::ReadWholeFile(dir.filePath("default.tpb")), whole);
}

}  // namespace
}  // namespace telvora
