// The phone-book commands and telvora-cli end to end against the simulator
// program on a pseudo-terminal, through the same serial port code as a real
// phone.

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>

#include "phonebook_fakes.h"
#include "telvora/link/at_link.h"
#include "telvora/link/qt_serial_port.h"
#include "telvora/phonebook/phone_book_store.h"
#include "telvora/phonebook/phone_book_texts.h"
#include "telvora/phonebook/read_phone_book.h"

namespace telvora {
namespace {

// Runs telvora-phonesim with `arguments` for the life of the object.
class Simulator {
public:
    explicit Simulator(QStringList arguments) {
        m_process.start(QStringLiteral(TELVORA_PHONESIM_PATH), arguments << "--latency"
                                                                         << "2");
        if (m_process.waitForReadyRead(10000)) {
            m_device = QString::fromLocal8Bit(m_process.readLine().trimmed());
        }
    }
    ~Simulator() { stop(); }
    void stop() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            m_process.waitForFinished(5000);
        }
    }
    const QString& device() const { return m_device; }

private:
    QProcess m_process;
    QString m_device;
};

struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

CliRun RunCli(const QString& device, const QStringList& args) {
    QProcess cli;
    cli.start(QStringLiteral(TELVORA_CLI_PROGRAM),
              QStringList{"--device", device, "--lang", "en"} + args);
    CliRun run;
    if (cli.waitForFinished(60000)) {
        run.code = cli.exitCode();
        run.out = QString::fromUtf8(cli.readAllStandardOutput());
        run.err = QString::fromUtf8(cli.readAllStandardError());
    }
    return run;
}

// A state file with the demo phone's SIM emptied.
QString EmptySimState(const QTemporaryDir& folder) {
    const QString path = folder.filePath("empty-sim.json");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(R"({"phoneBooks": {"SM": {"size": 250, "entries": []}}})");
    return path;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PhonesimPhoneBookTest : public ::testing::Test {
protected:
    ReadPhoneBookResult read(const Simulator& simulator, PhoneBookSource source,
                             const QString& file, int readMs = 20000) {
        AtLink link(std::make_unique<QtSerialPort>());
        EXPECT_EQ(link.OpenPort(simulator.device()), OpenResult::Ok);
        PhoneBookCommandSetup setup(link, boxes, Language::English);
        setup.timeouts.readBaseMs = readMs;
        setup.timeouts.lineCharsPerSecond = 1000000;
        // The link check allows a loaded machine three tries.
        setup.checkLink = [](PortLease& lease) {
            for (int i = 0; i < 3; ++i) {
                if (lease.CheckLink() == LinkState::Connected) {
                    return true;
                }
            }
            return false;
        };
        return ReadPhoneBook(setup).run(source, file);
    }

    test::RecordingBoxes boxes;
    QTemporaryDir folder;
};

TEST_F(PhonesimPhoneBookTest, ReadsBothMemories) {
    Simulator simulator({});
    const QString file = folder.filePath("default.tpb");
    const ReadPhoneBookResult sim = read(simulator, PhoneBookSource::Sim, file);
    ASSERT_EQ(sim.status, ReadPhoneBookResult::Status::Read)
        << boxes.errors.join('|').toStdString();
    EXPECT_EQ(sim.entries.size(), 10);
    EXPECT_EQ(LoadPhoneBookFile(file).content.entries, sim.entries);

    const ReadPhoneBookResult memory = read(simulator, PhoneBookSource::PhoneMemory, file);
    ASSERT_EQ(memory.status, ReadPhoneBookResult::Status::Read);
    EXPECT_EQ(memory.entries.value(4).name, QString::fromUtf8("Babička Růžena"));
    EXPECT_EQ(LoadPhoneBookFile(file).content.entries, memory.entries);
}

TEST_F(PhonesimPhoneBookTest, EmptyOrFailingReadLeavesTheFile) {
    const QString file = folder.filePath("default.tpb");
    ASSERT_TRUE(SavePhoneBookFile(file, {{3, "Kept", "123"}}));
    const QByteArray before = FileBytes(file);
    {
        Simulator simulator({"--state", EmptySimState(folder)});
        EXPECT_EQ(read(simulator, PhoneBookSource::Sim, file).status,
                  ReadPhoneBookResult::Status::Empty);
        EXPECT_EQ(boxes.infos, QStringList{UiText(Language::English, 50)});
    }
    {
        Simulator simulator({"--fault", "AT+CPBR=1,=drop:200"});
        EXPECT_EQ(read(simulator, PhoneBookSource::Sim, file, 800).status,
                  ReadPhoneBookResult::Status::Failed);
        EXPECT_EQ(boxes.errors.size(), 1);
    }
    EXPECT_EQ(FileBytes(file), before);
}

TEST_F(PhonesimPhoneBookTest, CommandLineReadsAndWritesPhoneBooks) {
    const QString state = folder.filePath("after.json");
    Simulator simulator({"--save", state, "--fault", "AT+CPBW=4,=error"});

    const CliRun list = RunCli(simulator.device(), {"pb", "read", "sm"});
    ASSERT_EQ(list.code, 0) << list.err.toStdString();
    EXPECT_EQ(list.out.count('\n'), 10);
    EXPECT_TRUE(list.out.startsWith(QString::fromUtf8("1\tMartina Dvořáková\t+420603123456\n")));

    // Read, then write back: the phone stays exactly as it was.
    const QString sm = folder.filePath("sm.tpb");
    ASSERT_EQ(RunCli(simulator.device(), {"pb", "read", "sm", "--out", sm}).code, 0);
    const CliRun same = RunCli(simulator.device(), {"pb", "write", "sm", sm});
    EXPECT_EQ(same.code, 0) << same.err.toStdString();
    EXPECT_EQ(same.out.trimmed(), UiText(Language::English, 139).arg(0));
    EXPECT_EQ(RunCli(simulator.device(), {"pb", "read", "sm"}).out, list.out);

    // A line taken out of the file takes exactly that entry off the phone.
    PhoneBookList entries = LoadPhoneBookFile(sm).content.entries;
    const auto tomas = std::find_if(entries.begin(), entries.end(),
                                    [](const PhoneBookEntry& e) { return e.position == 4; });
    ASSERT_NE(tomas, entries.end());
    entries.erase(tomas);
    ASSERT_TRUE(SavePhoneBookFile(sm, entries));
    const CliRun removed = RunCli(simulator.device(), {"pb", "write", "sm", sm});
    EXPECT_EQ(removed.code, 0) << removed.err.toStdString();
    QStringList expected = list.out.split('\n', Qt::SkipEmptyParts);
    expected.removeAt(3);
    EXPECT_EQ(RunCli(simulator.device(), {"pb", "read", "sm"}).out.split('\n', Qt::SkipEmptyParts),
              expected);

    // Another book to the phone memory: kept positions, a new entry in the
    // lowest free one, the rest erased; position 4 is refused.
    const QString upload = folder.filePath("upload.tpb");
    ASSERT_TRUE(SavePhoneBookFile(
        upload,
        {{9, QString::fromUtf8("Čestmír"), "111"}, {4, "Refused", "222"}, {0, "C", "+333"}}));
    const CliRun write = RunCli(simulator.device(), {"pb", "write", "me", upload});
    EXPECT_EQ(write.code, 1);
    EXPECT_EQ(write.err.trimmed(), UiText(Language::English, 135).arg("4"));
    EXPECT_EQ(write.out.trimmed(),
              UiText(Language::English, 139).arg(2) + '\n' + UiText(Language::English, 163).arg(5));
    const QString saved = folder.filePath("me.tpb");
    ASSERT_EQ(RunCli(simulator.device(), {"pb", "read", "me", "--out", saved}).code, 0);
    EXPECT_EQ(LoadPhoneBookFile(saved).content.entries,
              (PhoneBookList{{1, "C", "+333"}, {9, QString::fromUtf8("Čestmír"), "111"}}));

    EXPECT_EQ(RunCli(simulator.device(), {"pb", "read", "xx"}).code, 2);
    simulator.stop();
    const QJsonObject after = QJsonDocument::fromJson(FileBytes(state)).object();
    EXPECT_EQ(after.value("characterSet").toString(), "GSM");
}

TEST_F(PhonesimPhoneBookTest, CommandLineRefusesLongNamesUnlessToldToCut) {
    Simulator simulator({});
    const QString file = folder.filePath("long.tpb");
    const QString name = QString::fromUtf8("Žaneta Šťastná-Bartošová");
    ASSERT_TRUE(SavePhoneBookFile(file, {{1, name, "123"}}));
    const CliRun refused = RunCli(simulator.device(), {"pb", "write", "sm", file});
    EXPECT_EQ(refused.code, 2);
    EXPECT_EQ(refused.err.trimmed(), UiText(Language::English, 161).arg(18).arg(name));
    EXPECT_TRUE(RunCli(simulator.device(), {"pb", "read", "sm"})
                    .out.startsWith(QString::fromUtf8("1\tMartina Dvořáková")));
    const CliRun cut = RunCli(simulator.device(), {"pb", "write", "sm", file, "--cut"});
    EXPECT_EQ(cut.code, 0) << cut.err.toStdString();
    EXPECT_EQ(RunCli(simulator.device(), {"pb", "read", "sm"}).out,
              "1\t" + name.left(18) + "\t123\n");
}

// A file of which no line reads as an entry (damaged, or no phone book at
// all) must not erase the phone's book; an empty file is an empty book.
TEST_F(PhonesimPhoneBookTest, CommandLineRefusesAFileWithNoReadableEntry) {
    Simulator simulator({});
    const QString file = folder.filePath("damaged.tpb");
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    static const char kRubbish[] = "\x01\xff\r\nnot,a\n\0\0\0garbage";
    damaged.write(kRubbish, sizeof kRubbish - 1);
    damaged.close();
    const QString before = RunCli(simulator.device(), {"pb", "read", "sm"}).out;
    ASSERT_FALSE(before.isEmpty());
    const CliRun refused = RunCli(simulator.device(), {"pb", "write", "sm", file});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err.trimmed(), UiText(Language::English, kTextNoReadableEntry).arg(file));
    EXPECT_EQ(RunCli(simulator.device(), {"pb", "read", "sm"}).out, before);
}

}  // namespace
}  // namespace telvora
