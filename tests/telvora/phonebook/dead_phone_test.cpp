// A phone that dies in the middle of a long phone-book read is reported
// within the silence bound, not after the read's total limit; an upload the
// user cancels stops after the entry in flight and says how many entries
// were written.

#include <gtest/gtest.h>

#include "phonebook_fakes.h"
#include "telvora/core/fake_clock.h"
#include "telvora/link/at_link.h"
#include "telvora/link/timeouts.h"
#include "telvora/phonebook/phone_book_texts.h"
#include "telvora/phonebook/read_phone_book.h"
#include "telvora/phonebook/upload_phone_book.h"

namespace telvora {
namespace {

using phonesim::Fault;
using phonesim::FaultKind;
using test::RecordingBoxes;
using test::RecordingSimPort;

class DeadPhoneTest : public ::testing::Test {
protected:
    void SetUp() override {
        phonesim::PhoneState state = phonesim::PhoneState::makeEmpty();
        state.options.latencyMs = 0;
        state.options.baud = 9600;
        phonesim::PhoneBook& sim = state.phoneBooks["SM"];
        sim.size = 250;
        for (int position = 1; position <= 250; ++position) {
            sim.entries[position] = {QStringLiteral("+420603%1").arg(position, 6, 10, QChar(u'0')),
                                     145, QStringLiteral("Contact %1").arg(position)};
        }
        auto port = std::make_unique<RecordingSimPort>(std::move(state));
        port->setClock(m_clock);
        m_port = port.get();
        m_link = std::make_unique<AtLink>(std::move(port), m_clock);
        ASSERT_EQ(m_link->OpenPort("demo"), OpenResult::Ok);
    }

    PhoneBookCommandSetup setup() {
        PhoneBookCommandSetup setup(*m_link, boxes, Language::English);
        setup.confirm = false;
        return setup;
    }

    FakeClock m_clock;
    RecordingBoxes boxes;
    RecordingSimPort* m_port = nullptr;
    std::unique_ptr<AtLink> m_link;
};

TEST_F(DeadPhoneTest, PhoneThatDiesAfterFiveOfTwoHundredFiftyRecordsIsReportedWithinTheBound) {
    // About five records ("+CPBR: 1,"+420603000001",145,"Contact 1"" and
    // line ends) come, then nothing more.
    m_port->phone().addFault(Fault{"AT+CPBR=1,", FaultKind::Drop, 5 * 42});
    qint64 readSentMs = -1;
    QObject::connect(m_port, &SerialPort::readyRead, m_port, [&] {
        if (readSentMs < 0 && !m_port->commands("AT+CPBR=1,").isEmpty()) {
            readSentMs = m_clock.nowMs();
        }
    });
    const ReadPhoneBookResult result = ReadPhoneBook(setup()).run(PhoneBookSource::Sim, {});
    EXPECT_EQ(result.status, ReadPhoneBookResult::Status::Failed);
    ASSERT_GE(readSentMs, 0);
    // The bytes take about 0.2 s at 9600 baud; then 10 s of silence end it
    // (a fixed limit for 250 records was 95 s).
    const qint64 reportedAfter = m_clock.nowMs() - readSentMs;
    EXPECT_GE(reportedAfter, timeouts::kSilenceMs);
    EXPECT_LE(reportedAfter, timeouts::kSilenceMs + 1000);
    ASSERT_EQ(boxes.errors.size(), 1);
    EXPECT_TRUE(boxes.errors[0].startsWith(UiText(Language::English, kTextPhoneTimedOut)));
}

TEST_F(DeadPhoneTest, WholeSlowReadIsNotCut) {
    const ReadPhoneBookResult result = ReadPhoneBook(setup()).run(PhoneBookSource::Sim, {});
    ASSERT_EQ(result.status, ReadPhoneBookResult::Status::Read);
    EXPECT_EQ(result.entries.size(), 250);
}

TEST_F(DeadPhoneTest, CancelledUploadStopsAndSaysHowFarItGot) {
    m_port->phone().options().latencyMs = 100;  // each entry takes a while to write
    QList<UploadEntry> entries;
    for (int i = 1; i <= 20; ++i) {
        entries.append({QStringLiteral("Name %1").arg(i), QStringLiteral("55501%1").arg(i)});
    }
    UploadPhoneBook upload(setup());
    int started = 0;
    QObject::connect(&upload, &UploadPhoneBook::progress, &upload, [&](const QString&) {
        if (++started == 4) {  // "Uploading 4/20": three entries written, the fourth in flight
            m_link->cancel();
        }
    });
    const UploadPhoneBookResult result = upload.run(PhoneBookSource::Sim, entries);
    EXPECT_EQ(result.status, UploadPhoneBookResult::Status::Cancelled);
    EXPECT_EQ(result.written, 3);
    // Nothing after the entry in flight (the first "AT+CPBW=" asks for the limits).
    EXPECT_EQ(m_port->commands("AT+CPBW=").size(), 1 + 4);
    ASSERT_FALSE(boxes.infos.isEmpty());
    EXPECT_TRUE(boxes.infos.last().endsWith(UiText(Language::English, kTextEntriesWritten).arg(3)));
    EXPECT_FALSE(m_link->Busy());
}

TEST_F(DeadPhoneTest, CancelledUploadCountsNoErasedPositionAsAnEntry) {
    // Three entries, then the other 247 positions erased; cancelled while
    // the second erasure is in flight: the erased position is no entry.
    QList<UploadEntry> three;
    for (int i = 1; i <= 3; ++i) {
        three.append({QStringLiteral("Other %1").arg(i), QStringLiteral("55502%1").arg(i)});
    }
    UploadPhoneBook upload(setup());
    int started = 0;
    QObject::connect(&upload, &UploadPhoneBook::progress, &upload, [&](const QString&) {
        if (++started == 5) {
            m_link->cancel();
        }
    });
    const UploadPhoneBookResult cancelled = upload.run(PhoneBookSource::Sim, three);
    EXPECT_EQ(cancelled.status, UploadPhoneBookResult::Status::Cancelled);
    EXPECT_EQ(cancelled.written, 4);
    EXPECT_EQ(cancelled.erased, 1);
    ASSERT_FALSE(boxes.infos.isEmpty());
    EXPECT_TRUE(boxes.infos.last().endsWith(UiText(Language::English, kTextEntriesWritten).arg(3)))
        << boxes.infos.last().toStdString();
    EXPECT_FALSE(m_link->Busy());
}

}  // namespace
}  // namespace telvora
