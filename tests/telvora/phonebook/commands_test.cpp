// The read and upload commands against the simulated phone in process (and
// a scripted port for answers the simulator never gives).

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include "phonebook_fakes.h"
#include "telvora/link/at_link.h"
#include "telvora/phonebook/phone_book_store.h"
#include "telvora/phonebook/phone_book_texts.h"
#include "telvora/phonebook/read_phone_book.h"
#include "telvora/phonebook/upload_phone_book.h"
#include "tests/telvora/link/scripted_port.h"

namespace telvora {
namespace {

using phonesim::Fault;
using phonesim::FaultKind;
using test::RecordingBoxes;
using test::RecordingSimPort;
using ReadStatus = ReadPhoneBookResult::Status;
using UploadStatus = UploadPhoneBookResult::Status;

QString Text(int n) {
    return UiText(Language::English, n);
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PhoneBookCommandTest : public ::testing::Test {
protected:
    void SetUp() override { open(phonesim::demoPhoneState()); }

    void open(phonesim::PhoneState state) {
        state.options.latencyMs = 0;
        auto port = std::make_unique<RecordingSimPort>(std::move(state));
        m_port = port.get();
        m_link = std::make_unique<AtLink>(std::move(port));
        ASSERT_EQ(m_link->OpenPort("demo"), OpenResult::Ok);
    }

    PhoneBookCommandSetup setup() {
        PhoneBookCommandSetup setup(*m_link, boxes, Language::English);
        setup.timeouts = {250, 500, 500, 1000000};  // a failing phone must not slow the tests
        return setup;
    }

    ReadPhoneBookResult read(PhoneBookSource source, const QString& file = {}) {
        return ReadPhoneBook(setup()).run(source, file);
    }

    UploadPhoneBookResult upload(PhoneBookSource memory, const QList<UploadEntry>& entries,
                                 QStringList* progress = nullptr) {
        UploadPhoneBook command(setup());
        if (progress) {
            QObject::connect(&command, &UploadPhoneBook::progress,
                             [progress](const QString& text) { *progress << text; });
        }
        return command.run(memory, entries);
    }

    phonesim::PhoneState& phone() { return m_port->phone().state(); }
    void fault(const char* command, FaultKind kind, int arg = -1) {
        m_port->phone().addFault(Fault{command, kind, arg});
    }

    RecordingBoxes boxes;
    RecordingSimPort* m_port = nullptr;
    std::unique_ptr<AtLink> m_link;
    QTemporaryDir folder;
};

// ---- files on disk ----

TEST(PhoneBookStore, DefaultFileLivesWhereItCanBeWritten) {
    QTemporaryDir program;
    QTemporaryDir data;
    EXPECT_EQ(ChooseDefaultPhoneBookFile(program.path(), data.path()),
              program.filePath("default.tpb"));
    // A program folder that cannot be used (here: one that is not there).
    EXPECT_EQ(ChooseDefaultPhoneBookFile(program.filePath("gone"), data.path()),
              data.filePath("default.tpb"));
    // The data folder is made when the first phone book is saved there.
    const QString nested = data.filePath("Telvora/default.tpb");
    EXPECT_TRUE(SavePhoneBookFile(nested, {{1, "A", "1"}}));
    EXPECT_EQ(LoadPhoneBookFile(nested).content.entries.size(), 1);
}

TEST(PhoneBookStore, FailuresChangeNothing) {
    QTemporaryDir folder;
    const QString file = folder.filePath("list.tpb");
    ASSERT_TRUE(SavePhoneBookFile(file, {{1, "Old", "1"}}));
    QString error;
    // A file cannot stand in for a folder.
    EXPECT_FALSE(SavePhoneBookFile(file + "/inner.tpb", {{2, "New", "2"}}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(LoadPhoneBookFile(file).content.entries, (PhoneBookList{{1, "Old", "1"}}));
    const PhoneBookFileLoad missing = LoadPhoneBookFile(folder.filePath("missing.tpb"));
    EXPECT_FALSE(missing.opened);
    EXPECT_FALSE(missing.error.isEmpty());
}

// ---- reading ----

TEST_F(PhoneBookCommandTest, ReadsBothMemoriesWithCzechNamesIntoTheFile) {
    const QString file = folder.filePath("default.tpb");
    const ReadPhoneBookResult sim = read(PhoneBookSource::Sim, file);
    ASSERT_EQ(sim.status, ReadStatus::Read) << boxes.errors.join('|').toStdString();
    EXPECT_EQ(sim.entries.size(), 10);
    EXPECT_EQ(sim.entries[0],
              (PhoneBookEntry{1, QString::fromUtf8("Martina Dvořáková"), "+420603123456"}));
    EXPECT_EQ(sim.entries.last().position, 12);
    EXPECT_TRUE(sim.fileWritten);
    EXPECT_EQ(LoadPhoneBookFile(file).content.entries, sim.entries);
    EXPECT_EQ(boxes.questions, QStringList{Text(49)});
    // Names travelled as UCS2; the phone has its own set back afterwards.
    EXPECT_EQ(m_port->commands("AT+CSCS=\""),
              (QList<QByteArray>{"AT+CSCS=\"UCS2\"", "AT+CSCS=\"GSM\""}));
    EXPECT_EQ(phone().characterSet, "GSM");

    const ReadPhoneBookResult memory = read(PhoneBookSource::PhoneMemory);
    ASSERT_EQ(memory.status, ReadStatus::Read);
    EXPECT_EQ(memory.entries.last().name, QString::fromUtf8("Zdeňka Šťastná"));
    EXPECT_EQ(m_port->commands("AT+CPBS="),
              (QList<QByteArray>{"AT+CPBS=\"SM\"", "AT+CPBS=\"ME\""}));
    EXPECT_EQ(m_port->commands("AT+CPBR=1,"),
              (QList<QByteArray>{"AT+CPBR=1,250", "AT+CPBR=1,100"}));
    EXPECT_TRUE(boxes.errors.isEmpty());
}

TEST_F(PhoneBookCommandTest, EmptyMemoryLeavesTheFileAsItWas) {
    const QString file = folder.filePath("default.tpb");
    ASSERT_TRUE(SavePhoneBookFile(file, {{1, "Old", "1"}}));
    const QByteArray before = FileBytes(file);
    phone().phoneBooks["SM"].entries.clear();
    EXPECT_EQ(read(PhoneBookSource::Sim, file).status, ReadStatus::Empty);
    EXPECT_EQ(boxes.infos, QStringList{Text(50)});
    EXPECT_EQ(FileBytes(file), before);
}

TEST_F(PhoneBookCommandTest, ReadThatFailsHalfWayKeepsTheFile) {
    const QString file = folder.filePath("default.tpb");
    ASSERT_TRUE(SavePhoneBookFile(file, {{1, "Old", "1"}}));
    const QByteArray before = FileBytes(file);

    fault("AT+CPBR=1,", FaultKind::Drop, 120);  // records stop coming, no final result
    EXPECT_EQ(read(PhoneBookSource::Sim, file).status, ReadStatus::Failed);
    ASSERT_EQ(boxes.errors.size(), 1);
    EXPECT_TRUE(boxes.errors[0].startsWith(Text(kTextPhoneTimedOut)));
    EXPECT_TRUE(boxes.errors[0].endsWith(Text(137)));
    EXPECT_EQ(FileBytes(file), before);
    EXPECT_EQ(phone().characterSet, "GSM");  // restored even so

    m_port->phone().clearFaults();
    fault("AT+CPBR=1,", FaultKind::Error);
    EXPECT_EQ(read(PhoneBookSource::Sim, file).status, ReadStatus::Failed);
    EXPECT_TRUE(boxes.errors.last().startsWith(Text(kTextPhoneError)));
    EXPECT_EQ(FileBytes(file), before);
}

TEST_F(PhoneBookCommandTest, StopsWithAClearMessageBeforeReading) {
    fault("AT+CPBS=\"ME\"", FaultKind::Error);  // a memory this phone lacks
    EXPECT_EQ(read(PhoneBookSource::PhoneMemory).status, ReadStatus::Failed);
    EXPECT_EQ(boxes.errors, QStringList{Text(136)});
    EXPECT_TRUE(m_port->commands("AT+CPBR").isEmpty());

    boxes.answers = {false};  // Cancel on the notice
    EXPECT_EQ(read(PhoneBookSource::Sim).status, ReadStatus::Cancelled);
    EXPECT_EQ(m_port->written.last(), "AT\r");

    std::optional<PortLease> held = m_link->tryAcquire();
    const qsizetype writes = m_port->written.size();
    EXPECT_EQ(read(PhoneBookSource::Sim).status, ReadStatus::PortBusy);
    EXPECT_EQ(boxes.errors.last(), Text(kTextCommandRunning));
    EXPECT_EQ(m_port->written.size(), writes);
    held.reset();

    fault("AT", FaultKind::Silent);  // switched off
    EXPECT_EQ(read(PhoneBookSource::Sim).status, ReadStatus::NotConnected);
    EXPECT_EQ(boxes.errors.last(), Text(38));
    EXPECT_FALSE(m_link->Busy());
}

TEST_F(PhoneBookCommandTest, PhoneLeftInHexGivesNamesNotDigits) {
    // Without UCS2 the phone is moved to a plain set and its bytes are
    // Windows-1250; then put back into HEX.
    phonesim::PhoneState state = phonesim::demoPhoneState();
    state.characterSets = {"GSM", "HEX"};
    state.characterSet = "HEX";
    open(state);
    ReadPhoneBookResult result = read(PhoneBookSource::Sim);
    ASSERT_EQ(result.status, ReadStatus::Read);
    EXPECT_EQ(result.entries[0].name, QString::fromUtf8("Martina Dvořáková"));
    EXPECT_EQ(phone().characterSet, "HEX");

    // A phone that offers nothing else: its hexadecimal digits are decoded.
    state.characterSets = {"HEX"};
    open(state);
    result = read(PhoneBookSource::PhoneMemory);
    ASSERT_EQ(result.status, ReadStatus::Read);
    EXPECT_EQ(result.entries.last().name, QString::fromUtf8("Zdeňka Šťastná"));
}

TEST(PhoneBookScriptedTest, NotFoundAnswerMeansAnEmptyMemory) {
    auto port = std::make_unique<test::ScriptedPort>();
    test::ScriptedPort* script = port.get();
    AtLink link(std::move(port));
    ASSERT_EQ(link.OpenPort("scripted"), OpenResult::Ok);
    script->queueAnswer("\r\nOK\r\n");                             // AT
    script->queueAnswer("\r\nOK\r\n");                             // AT+CPBS
    script->queueAnswer("\r\nERROR\r\n");                          // AT+CSCS=? unknown
    script->queueAnswer("\r\n+CPBR: (1-50),20,14\r\n\r\nOK\r\n");  // AT+CPBR=?
    script->queueAnswer("\r\n+CME ERROR: 22\r\n");                 // AT+CPBR=1,50
    RecordingBoxes boxes;
    PhoneBookCommandSetup setup(link, boxes, Language::Czech);
    EXPECT_EQ(ReadPhoneBook(setup).run(PhoneBookSource::Sim, {}).status, ReadStatus::Empty);
    EXPECT_EQ(script->written().last(), "AT+CPBR=1,50\r");
    EXPECT_EQ(boxes.infos, QStringList{UiText(Language::Czech, 50)});
}

// ---- upload ----

TEST_F(PhoneBookCommandTest, OnlyChangesAreWrittenAndUnusedPositionsErased) {
    auto& book = phone().phoneBooks["SM"].entries;
    book.clear();
    book.insert(1, {"5550123", 129, "Jan"});
    book.insert(3, {"5550456", 129, "Eva"});
    book.insert(7, {"155", 129, "Hasiči"});
    QStringList progress;
    const UploadPhoneBookResult result =
        upload(PhoneBookSource::Sim,
               {{"Jan", "5550123", 1},
                {QString::fromUtf8("Řehoř Čapek"), "+12025550123", 0},
                {"", "", 3}},  // cleared in the editor
               &progress);
    ASSERT_EQ(result.status, UploadStatus::Done) << boxes.errors.join('|').toStdString();
    EXPECT_EQ(result.written, 3);
    EXPECT_EQ(result.erased, 2);
    EXPECT_EQ(progress, (QStringList{"Uploading 1/3", "Uploading 2/3", "Uploading 3/3"}));
    EXPECT_EQ(m_port->commands("AT+CPBW="),
              (QList<QByteArray>{"AT+CPBW=?",
                                 "AT+CPBW=2,\"+12025550123\",145,\"01580065006800"
                                 "6F01590020010C00610070006500"
                                 "6B\"",
                                 "AT+CPBW=3", "AT+CPBW=7"}));
    EXPECT_EQ(book.keys(), (QList<int>{1, 2}));
    EXPECT_EQ(book.value(2).name, QString::fromUtf8("Řehoř Čapek"));
    EXPECT_EQ(book.value(2).number, "+12025550123");
    EXPECT_EQ(book.value(2).type, 145);
    EXPECT_EQ(phone().characterSet, "GSM");
    EXPECT_EQ(boxes.questions, QStringList{Text(73) + '\n' + Text(74)});
}

TEST_F(PhoneBookCommandTest, WhatWasReadIsWrittenBackWithoutAChange) {
    const ReadPhoneBookResult read = this->read(PhoneBookSource::Sim);
    ASSERT_EQ(read.status, ReadStatus::Read);
    const auto before = phone().phoneBooks["SM"].entries;
    QList<UploadEntry> entries;
    for (const PhoneBookEntry& entry : read.entries) {
        entries.prepend({entry.name, entry.number, entry.position});  // any order
    }
    const UploadPhoneBookResult result = upload(PhoneBookSource::Sim, entries);
    EXPECT_EQ(result.status, UploadStatus::Done);
    EXPECT_EQ(result.written, 0);
    EXPECT_EQ(m_port->commands("AT+CPBW="), QList<QByteArray>{"AT+CPBW=?"});
    EXPECT_EQ(phone().phoneBooks["SM"].entries.keys(), before.keys());
}

TEST_F(PhoneBookCommandTest, NamesOverTheLimitAreCutOnlyWhenTheUserAgrees) {
    phone().phoneBooks["SM"].entries.clear();
    phone().phoneBooks["SM"].nameLength = 18;
    const QString longName = QString::fromUtf8("Žaneta Šťastná-Bartošová");  // 24 letters
    boxes.answers = {true, false};                                           // go on; do not cut
    EXPECT_EQ(upload(PhoneBookSource::Sim, {{longName, "1234567"}}).status, UploadStatus::TooLong);
    EXPECT_EQ(m_port->commands("AT+CPBW="), QList<QByteArray>{"AT+CPBW=?"});
    ASSERT_EQ(boxes.questions.size(), 2);
    EXPECT_EQ(boxes.questions[1], Text(kTextNamesTooLong).arg(18).arg(longName));

    boxes.answers = {true, true};  // go on; cut
    ASSERT_EQ(upload(PhoneBookSource::Sim, {{longName, "1234567"}}).written, 1);
    EXPECT_EQ(phone().phoneBooks["SM"].entries.value(1).name, longName.left(18));
}

TEST_F(PhoneBookCommandTest, NumbersOverTheLimitAreNeverCut) {
    phone().phoneBooks["SM"].numberLength = 5;
    const auto before = phone().phoneBooks["SM"].entries;
    EXPECT_EQ(upload(PhoneBookSource::Sim, {{"Jan", "1234567"}}).status, UploadStatus::TooLong);
    EXPECT_EQ(boxes.errors, QStringList{Text(kTextNumbersTooLong).arg(5).arg("1234567")});
    EXPECT_EQ(phone().phoneBooks["SM"].entries.keys(), before.keys());
}

TEST_F(PhoneBookCommandTest, RefusedPositionIsReportedAndTheRestWritten) {
    phone().phoneBooks["ME"].entries.clear();
    fault("AT+CPBW=2,", FaultKind::Error);
    const UploadPhoneBookResult result =
        upload(PhoneBookSource::PhoneMemory, {{"A", "1"}, {"B", "2"}, {"C", "3"}});
    EXPECT_EQ(result.status, UploadStatus::Done);
    EXPECT_EQ(result.written, 2);
    EXPECT_EQ(result.failedPositions, QList<int>{2});
    EXPECT_EQ(boxes.errors, QStringList{Text(135).arg("2")});
    EXPECT_EQ(phone().phoneBooks["ME"].entries.value(3).name, "C");
}

TEST_F(PhoneBookCommandTest, SilentPhoneEndsTheUpload) {
    phone().phoneBooks["SM"].entries.clear();
    fault("AT+CPBW=2,", FaultKind::Silent);
    const UploadPhoneBookResult result =
        upload(PhoneBookSource::Sim, {{"A", "1"}, {"B", "2"}, {"C", "3"}});
    EXPECT_EQ(result.status, UploadStatus::Failed);
    EXPECT_EQ(result.written, 1);
    EXPECT_TRUE(m_port->commands("AT+CPBW=3,").isEmpty());
    // The memory holds part of the list now: the failure says how much.
    EXPECT_EQ(boxes.errors,
              QStringList{Text(kTextPhoneTimedOut) + '\n' + Text(kTextEntriesWritten).arg(1)});
}

TEST_F(PhoneBookCommandTest, EntriesBeyondTheMemoryAreNotWritten) {
    phone().phoneBooks["SM"].size = 2;
    const UploadPhoneBookResult result =
        upload(PhoneBookSource::Sim, {{"A", "1"}, {"B", "2"}, {"C", "3"}});
    EXPECT_EQ(result.written, 2);
    EXPECT_EQ(result.beyondMemory, 1);
    EXPECT_EQ(boxes.infos, QStringList{Text(138).arg(2)});
    EXPECT_TRUE(m_port->commands("AT+CPBW=3").isEmpty());

    boxes.answers = {false};  // No on the question
    EXPECT_EQ(upload(PhoneBookSource::Sim, {{"A", "1"}}).status, UploadStatus::Cancelled);
    EXPECT_EQ(m_port->written.last(), "AT\r");
}

TEST(PhoneBookScriptedTest, UnreadableLimitsStopTheUploadBeforeWriting) {
    auto port = std::make_unique<test::ScriptedPort>();
    test::ScriptedPort* script = port.get();
    AtLink link(std::move(port));
    ASSERT_EQ(link.OpenPort("scripted"), OpenResult::Ok);
    script->queueAnswer("\r\nOK\r\n");                              // AT
    script->queueAnswer("\r\nOK\r\n");                              // AT+CPBS
    script->queueAnswer("\r\nERROR\r\n");                           // AT+CSCS=?
    script->queueAnswer("\r\n+CPBR: (1-250),20,18\r\n\r\nOK\r\n");  // AT+CPBR=?
    script->queueAnswer("\r\n+CPBW: (1-250)\r\n\r\nOK\r\n");        // AT+CPBW=? without lengths
    RecordingBoxes boxes;
    PhoneBookCommandSetup setup(link, boxes, Language::English);
    const UploadPhoneBookResult result =
        UploadPhoneBook(setup).run(PhoneBookSource::Sim, {{"A", "1"}});
    EXPECT_EQ(result.status, UploadStatus::Failed);
    EXPECT_EQ(boxes.errors, QStringList{UiText(Language::English, 134)});
    EXPECT_EQ(script->written().last(), "AT+CPBW=?\r");
}

}  // namespace
}  // namespace telvora
