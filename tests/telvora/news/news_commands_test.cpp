// The phone's news against the demo phone at 9600 baud on a fake clock: a
// ring or a new-message notice in the middle of a long answer leaves the
// answer whole and still reaches its subscriber; announced messages are
// read under the port's lease, after the command that held it; incoming
// calls are announced once, answered, rejected, or found given up.

#include <gtest/gtest.h>
#include <QSignalSpy>

#include "telvora/calls/incoming_call.h"
#include "telvora/phonebook/read_phone_book.h"
#include "telvora/sms/new_messages.h"
#include "telvora/sms/sms_reader.h"
#include "tests/telvora/news/news_rig.h"

namespace telvora {
namespace {

using test::NewsRig;

// Collects what NewMessages hands on.
struct Arrivals {
    explicit Arrivals(sms::NewMessages& messages) {
        QObject::connect(&messages, &sms::NewMessages::arrived,
                         [this](const sms::ReadMessage& read) { this->read.append(read); });
        QObject::connect(&messages, &sms::NewMessages::unreadable,
                         [this](const QByteArray& store, int index) {
                             unreadable.append(store + ',' + QByteArray::number(index));
                         });
    }
    QList<sms::ReadMessage> read;
    QList<QByteArray> unreadable;
};

std::optional<QByteArray> EnableMessages(NewsRig& rig) {
    std::optional<PortLease> lease = rig.link->tryAcquire();
    return sms::NewMessages::Enable(*lease);
}

bool EnableCallerId(NewsRig& rig) {
    std::optional<PortLease> lease = rig.link->tryAcquire();
    return IncomingCall::EnableCallerId(*lease);
}

TEST(NewsInAnswers, RingDuringAPhoneBookReadLeavesTheReadWhole) {
    NewsRig rig;
    IncomingCall call(*rig.link);
    QSignalSpy ringing(&call, &IncomingCall::ringing);
    rig.port->interject("AT+CPBR=1,", 2, "\r\nRING\r\n\r\n+CLIP: \"+420724555018\",145\r\n");
    PhoneBookCommandSetup setup(*rig.link, rig.boxes, Language::English);
    setup.confirm = false;
    const ReadPhoneBookResult result = ReadPhoneBook(setup).run(PhoneBookSource::Sim, {});
    ASSERT_TRUE(rig.port->interjected());
    EXPECT_EQ(result.status, ReadPhoneBookResult::Status::Read);
    ASSERT_EQ(result.entries.size(), 3);
    EXPECT_EQ(result.brokenRecords, 0);
    EXPECT_EQ(result.entries[1].name, "Petr");
    EXPECT_EQ(result.entries[1].number, "724555018");
    EXPECT_TRUE(rig.boxes.shown.isEmpty());
    rig.runFor(10);
    ASSERT_EQ(ringing.count(), 1);
    EXPECT_EQ(ringing[0][0].toString(), "+420724555018");
}

TEST(NewsInAnswers, NoticeDuringAListingIsReadAfterIt) {
    NewsRig rig;
    // A third message is stored while notices are off; its notice comes in
    // the middle of the download's listing.
    ASSERT_TRUE(rig.news().command("sms +420777888999 Treti zprava").isEmpty());
    sms::NewMessages messages(*rig.link);
    Arrivals arrivals(messages);
    rig.port->interject("AT+CMGL=1", 3, "\r\n+CMTI: \"SM\",3\r\n");
    sms::SmsReader reader(*rig.link, rig.boxes, Language::English);
    const std::optional<QList<sms::MessageRow>> rows = reader.ReadMessages(false, {});
    ASSERT_TRUE(rig.port->interjected());
    ASSERT_TRUE(rows);
    EXPECT_TRUE(reader.complete());
    ASSERT_EQ(rows->size(), 3);
    EXPECT_TRUE(arrivals.read.isEmpty());  // not while the download held the port
    rig.runFor(500);
    ASSERT_EQ(arrivals.read.size(), 1);
    EXPECT_EQ(arrivals.read[0].store, "SM");
    EXPECT_EQ(arrivals.read[0].index, 3);
    EXPECT_EQ(arrivals.read[0].message.text, "Treti zprava");
    EXPECT_EQ(arrivals.read[0].message.sender, "420777888999");
    EXPECT_FALSE(rig.link->Busy());
}

TEST(NewMessagesTest, EnabledPhoneAnnouncesAndTheMessageIsRead) {
    NewsRig rig;
    sms::NewMessages messages(*rig.link);
    Arrivals arrivals(messages);
    EXPECT_EQ(EnableMessages(rig), QByteArray("AT+CNMI=2,1"));
    ASSERT_TRUE(rig.news().command("sms +420603123456 Ahoj, jak se máš?").isEmpty());
    rig.runFor(500);
    ASSERT_EQ(arrivals.read.size(), 1);
    EXPECT_EQ(arrivals.read[0].index, 3);
    EXPECT_EQ(arrivals.read[0].message.text, QString::fromUtf8("Ahoj, jak se máš?"));
    EXPECT_EQ(arrivals.read[0].message.time, "8.12.2026 21:30:00");
    // Reading it marked it read on the phone, as AT+CMGR does.
    EXPECT_EQ(rig.phone().state().stores["SM"].messages.value(3).status, phonesim::kReceivedRead);
}

TEST(NewMessagesTest, NoticesWaitForTheHeldPortAndAreReadInOrder) {
    NewsRig rig;
    sms::NewMessages messages(*rig.link);
    Arrivals arrivals(messages);
    ASSERT_TRUE(EnableMessages(rig));
    std::optional<PortLease> held = rig.link->tryAcquire();
    rig.news().command("sms 111 Prvni");
    rig.news().command("sms 222 Druha");
    rig.runFor(500);
    EXPECT_EQ(messages.queued(), 2);
    EXPECT_TRUE(arrivals.read.isEmpty());
    held.reset();
    rig.runFor(1000);
    ASSERT_EQ(arrivals.read.size(), 2);
    EXPECT_EQ(arrivals.read[0].message.text, "Prvni");
    EXPECT_EQ(arrivals.read[1].message.text, "Druha");
    EXPECT_EQ(messages.queued(), 0);
}

TEST(NewMessagesTest, AnEmptyPositionIsReportedUnreadable) {
    NewsRig rig;
    sms::NewMessages messages(*rig.link);
    Arrivals arrivals(messages);
    rig.port->arrive("\r\n+CMTI: \"SM\",17\r\n");
    rig.runFor(500);
    EXPECT_TRUE(arrivals.read.isEmpty());
    EXPECT_EQ(arrivals.unreadable, (QList<QByteArray>{"SM,17"}));
}

TEST(NewMessagesTest, EnableFallsBackWhenTheTestCommandIsRefused) {
    NewsRig rig;
    QString error;
    rig.phone().addFault(*phonesim::parseFault("AT+CNMI=?=error", &error));
    EXPECT_EQ(EnableMessages(rig), QByteArray("AT+CNMI=2,1"));
}

TEST(IncomingCallTest, AnnouncedOnceWithTheCallerThenAnswered) {
    NewsRig rig;
    IncomingCall call(*rig.link);
    QSignalSpy ringing(&call, &IncomingCall::ringing);
    QSignalSpy ended(&call, &IncomingCall::ended);
    QSignalSpy answered(&call, &IncomingCall::answered);
    ASSERT_TRUE(EnableCallerId(rig));
    rig.news().command("ring +420724555018 0");
    rig.runFor(10000);  // four rings
    ASSERT_EQ(ringing.count(), 1);
    EXPECT_EQ(ringing[0][0].toString(), "+420724555018");
    EXPECT_EQ(call.state(), IncomingCall::State::Ringing);
    EXPECT_EQ(call.Answer(), IncomingCall::Result::Done);
    EXPECT_EQ(answered.count(), 1);
    EXPECT_TRUE(rig.phone().state().call.active);
    EXPECT_FALSE(rig.phone().ringing());
    rig.runFor(20000);
    EXPECT_EQ(ended.count(), 0);
    EXPECT_EQ(ringing.count(), 1);

    // Hung up with ATH, which the phone does not announce: the next call
    // rings all the same.
    {
        std::optional<PortLease> lease = rig.link->tryAcquire();
        lease->Exchange("ATH", 150);
    }
    rig.news().command("ring 603123456 0");
    rig.runFor(100);
    ASSERT_EQ(ringing.count(), 2);
    EXPECT_EQ(ringing[1][0].toString(), "603123456");
}

TEST(IncomingCallTest, WithoutCallerIdTheCallIsAnnouncedAfterAWait) {
    NewsRig rig;
    IncomingCall call(*rig.link);
    QSignalSpy ringing(&call, &IncomingCall::ringing);
    rig.news().command("ring +420724555018 0");
    rig.runFor(IncomingCall::kCallerWaitMs - 100);
    EXPECT_EQ(ringing.count(), 0);
    rig.runFor(200);
    ASSERT_EQ(ringing.count(), 1);
    EXPECT_EQ(ringing[0][0].toString(), "");
}

TEST(IncomingCallTest, ACallerWhoStopsRingingHasGivenUpAfterTheSilence) {
    NewsRig rig;
    IncomingCall call(*rig.link);
    QSignalSpy ended(&call, &IncomingCall::ended);
    ASSERT_TRUE(EnableCallerId(rig));
    rig.news().command("ring 603123456 0");
    rig.runFor(4000);  // rings at 0 and 3 s
    rig.news().command("giveup quiet");
    const qint64 lastRing = 3000;
    rig.runFor(lastRing + IncomingCall::kRingSilenceMs - 4000 - 100);
    EXPECT_EQ(ended.count(), 0);
    rig.runFor(200);
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended[0][0].toString(), "603123456");
    EXPECT_EQ(call.state(), IncomingCall::State::Idle);
    EXPECT_EQ(call.Answer(), IncomingCall::Result::Gone);
}

TEST(IncomingCallTest, NoCarrierEndsTheRingingAtOnce) {
    NewsRig rig;
    IncomingCall call(*rig.link);
    QSignalSpy ended(&call, &IncomingCall::ended);
    ASSERT_TRUE(EnableCallerId(rig));
    rig.news().command("ring +420603123456 5");  // gives up after 5 s
    rig.runFor(6500);
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended[0][0].toString(), "+420603123456");
}

TEST(IncomingCallTest, RejectUsesChupAndFallsBackToAth) {
    for (const bool chupRefused : {false, true}) {
        SCOPED_TRACE(chupRefused);
        NewsRig rig;
        IncomingCall call(*rig.link);
        QSignalSpy ringing(&call, &IncomingCall::ringing);
        QSignalSpy ended(&call, &IncomingCall::ended);
        QString error;
        if (chupRefused) {
            rig.phone().addFault(*phonesim::parseFault("AT+CHUP=error", &error));
        }
        ASSERT_TRUE(EnableCallerId(rig));
        rig.news().command("ring +420603123456 0");
        rig.runFor(100);
        EXPECT_EQ(call.Reject(), IncomingCall::Result::Done);
        EXPECT_FALSE(rig.phone().ringing());
        EXPECT_FALSE(rig.phone().state().call.active);
        rig.runFor(20000);
        EXPECT_EQ(ringing.count(), 1);
        EXPECT_EQ(ended.count(), 0);  // rejected, not given up
    }
}

TEST(IncomingCallTest, AnswerWaitsForNoHeldPort) {
    NewsRig rig;
    IncomingCall call(*rig.link);
    ASSERT_TRUE(EnableCallerId(rig));
    rig.news().command("ring +420603123456 0");
    rig.runFor(100);
    std::optional<PortLease> held = rig.link->tryAcquire();
    EXPECT_EQ(call.Answer(), IncomingCall::Result::PortBusy);
    EXPECT_TRUE(rig.phone().ringing());
    held.reset();
    EXPECT_EQ(call.Answer(), IncomingCall::Result::Done);
}

}  // namespace
}  // namespace telvora
