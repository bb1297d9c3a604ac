// A download the user can trust: a listing that flows for over a minute at
// 9600 baud is read whole, a store the phone refuses is reported (and the
// command line exits 1 after printing what it did read), a phone that lists
// every message for both status filters gives each message once, a refused
// delete is reported, and a cancelled download deletes nothing.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QTextStream>

#include "telvora/core/fake_clock.h"
#include "telvora/core/ui_texts.h"
#include "telvora/demophone/phonesim_port.h"
#include "telvora/link/at_link.h"
#include "telvora/sms/sms_reader.h"
#include "telvora/sms/sms_sender.h"
#include "telvora/sms/sms_texts.h"
#include "tests/telvora/calls/cli_runner.h"
#include "tests/telvora/link/scripted_port.h"
#include "tests/telvora/shell/shell_fakes.h"
#include "tests/telvora/sms/pdu_builder.h"

namespace telvora::sms {
namespace {

QString English(int n) {
    return UiText(Language::English, n);
}

QJsonObject TextMessage(int index, int status, const QString& text) {
    return {
        {"index", index},
        {"status", status},
        {"sender", "+420603123456"},
        {"time", QStringLiteral("2026-11-28T09:%1:00+01:00").arg(index % 60, 2, 10, QChar(u'0'))},
        {"text", text}};
}

phonesim::PhoneState StateWith(const QJsonArray& me, const QJsonArray& sm) {
    const QJsonObject json{
        {"stores", QJsonObject{{"ME", QJsonObject{{"capacity", 200}, {"messages", me}}},
                               {"SM", QJsonObject{{"capacity", 30}, {"messages", sm}}}}}};
    QString error;
    std::optional<phonesim::PhoneState> state = phonesim::stateFromJson(json, &error);
    EXPECT_TRUE(state) << error.toStdString();
    return state.value_or(phonesim::PhoneState::makeEmpty());
}

std::unique_ptr<phonesim::PhoneSimPort> PortWith(phonesim::PhoneState state,
                                                 const QStringList& faults = {}) {
    auto port = std::make_unique<phonesim::PhoneSimPort>(std::move(state));
    for (const QString& fault : faults) {
        port->phone().addFault(*phonesim::parseFault(fault, nullptr));
    }
    return port;
}

TEST(SmsDownloadTrust, ListingFlowingForOverAMinuteAtNineThousandSixHundredBaudIsReadWhole) {
    FakeClock clock;
    QJsonArray me;
    const QString fullLength = QString(160, u'x');
    for (int index = 1; index <= 170; ++index) {
        me.append(TextMessage(index, phonesim::kReceivedRead, fullLength));
    }
    phonesim::PhoneState state = StateWith(me, {});
    state.options.baud = 9600;
    auto port = PortWith(std::move(state));
    port->setClock(clock);
    AtLink link(std::move(port), clock);
    ASSERT_EQ(link.OpenPort("demo"), OpenResult::Ok);
    telvora::test::FakeMessageBoxes boxes;
    SmsReader reader(link, boxes, Language::English);
    const std::optional<QList<MessageRow>> rows = reader.ReadMessages(false, {});
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->size(), 170);
    EXPECT_TRUE(reader.complete());
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_GT(clock.nowMs(), 60000);  // longer than any fixed limit the listing had
}

TEST(SmsDownloadTrust, RefusedStoreIsNamedAndTheCommandLineExitsOneAfterWhatItRead) {
    const QJsonArray me{TextMessage(1, phonesim::kReceivedRead, "in the phone memory")};
    const QJsonArray sm{TextMessage(2, phonesim::kReceivedRead, "on the SIM")};
    struct Case {
        QString fault;
        int storeText;
        QString readText;
    };
    for (const Case& c : {Case{"AT+CPMS=\"SM\"=error", kTextSimStore, "in the phone memory"},
                          Case{"AT+CMGL=1=error", kTextPhoneMemoryStore, QString()}}) {
        SCOPED_TRACE(c.fault.toStdString());
        phonesim::PhoneSimPort* phone = nullptr;
        telvora::test::CliRunner cli([&] {
            auto port = PortWith(StateWith(me, sm), {c.fault});
            phone = port.get();
            return port;
        });
        const telvora::test::CliOutput run =
            cli.run({"--device", "demo", "--lang", "en", "sms", "list", "--delete"});
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(run.err.contains(
            English(kTextStoreNotRead).arg(English(c.storeText), QStringLiteral("ERROR"))))
            << run.err.toStdString();
        if (!c.readText.isEmpty()) {
            EXPECT_TRUE(run.out.contains(c.readText)) << run.out.toStdString();
        }
    }
}

TEST(SmsDownloadTrust, RefusedUnreadListingKeepsTheReadMessagesAndNamesEachStore) {
    AtLink link(PortWith(StateWith({TextMessage(1, phonesim::kReceivedRead, "a")},
                                   {TextMessage(2, phonesim::kReceivedUnread, "b")}),
                         {"AT+CMGL=0=error"}));
    ASSERT_EQ(link.OpenPort("demo"), OpenResult::Ok);
    telvora::test::FakeMessageBoxes boxes;
    SmsReader reader(link, boxes, Language::English);
    const std::optional<QList<MessageRow>> rows = reader.ReadMessages(true, {});
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->size(), 1);  // the read message of the phone memory; the SIM's is unread
    EXPECT_FALSE(reader.complete());
    EXPECT_FALSE(reader.allDone());
    ASSERT_EQ(boxes.shown.size(), 2);  // one message for each store
    EXPECT_EQ(boxes.shown[1].text,
              English(kTextStoreNotRead).arg(English(kTextSimStore), QStringLiteral("ERROR")));
}

// The answers of a phone on a scripted port, one per command.
class ScriptedDownload : public ::testing::Test {
protected:
    ScriptedDownload() {
        auto port = std::make_unique<telvora::test::ScriptedPort>(m_clock);
        m_port = port.get();
        m_link = std::make_unique<AtLink>(std::move(port), m_clock);
        EXPECT_EQ(m_link->OpenPort("/dev/fake"), OpenResult::Ok);
        m_port->queueAnswer("\r\nOK\r\n", 5);  // AT
        m_port->queueAnswer("\r\nOK\r\n", 5);  // AT+CMGF=0
    }

    static QByteArray Listed(const QList<int>& indexes) {
        QByteArray listing;
        for (int index : indexes) {
            test::DeliverFields fields;
            fields.senderField = test::NumberField("420602334455");
            fields.stamp = "62216081025000";
            fields.septets = test::AsciiSeptets("hello");
            const QByteArray pdu = test::BuildDeliver(fields);
            listing += "+CMGL: " + QByteArray::number(index) + ",1,,20\r\n" + pdu + "\r\n";
        }
        return "\r\n" + listing + "\r\nOK\r\n";
    }

    QList<QByteArray> deletes() const {
        QList<QByteArray> written;
        for (const QByteArray& command : m_port->written()) {
            if (command.startsWith("AT+CMGD=")) {
                written.append(command);
            }
        }
        return written;
    }

    FakeClock m_clock;
    telvora::test::ScriptedPort* m_port = nullptr;
    std::unique_ptr<AtLink> m_link;
    telvora::test::FakeMessageBoxes m_boxes;
};

TEST_F(ScriptedDownload, PhoneIgnoringTheStatusFilterGivesEachMessageOnce) {
    m_port->queueAnswer("\r\n+CPMS: 3,200,3,30\r\nOK\r\n", 5);
    m_port->queueAnswer(Listed({1, 2, 3}), 5);  // AT+CMGL=1
    m_port->queueAnswer(Listed({1, 2, 3}), 5);  // AT+CMGL=0, the same three again
    m_port->queueAnswer("\r\n+CPMS: 0,30,0,200\r\nOK\r\n", 5);
    SmsReader reader(*m_link, m_boxes, Language::English);
    const std::optional<QList<MessageRow>> rows = reader.ReadMessages(false, {});
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->size(), 3);
    EXPECT_TRUE(reader.allDone());
}

TEST_F(ScriptedDownload, AgesCountFromTheLinksClock) {
    const auto queueListing = [this] {
        m_port->queueAnswer("\r\n+CPMS: 1,200,1,30\r\nOK\r\n", 5);
        m_port->queueAnswer(Listed({1}), 5);
        m_port->queueAnswer("\r\nOK\r\n", 5);
        m_port->queueAnswer("\r\n+CPMS: 0,30,0,200\r\nOK\r\n", 5);
    };
    queueListing();
    SmsReader reader(*m_link, m_boxes, Language::English);
    const std::optional<QList<MessageRow>> first = reader.ReadMessages(false, {});
    ASSERT_TRUE(first && first->size() == 1);
    // An hour later on the link's clock, whatever the wall clock says.
    m_clock.advance(3600 * 1000);
    m_port->queueAnswer("\r\nOK\r\n", 5);  // AT
    m_port->queueAnswer("\r\nOK\r\n", 5);  // AT+CMGF=0
    queueListing();
    const std::optional<QList<MessageRow>> second = reader.ReadMessages(false, {});
    ASSERT_TRUE(second && second->size() == 1);
    EXPECT_EQ(second->first().ageSeconds - first->first().ageSeconds, 3600);
}

TEST_F(ScriptedDownload, CmsErrorOfAListingAndARefusedDeleteAreReported) {
    m_port->queueAnswer("\r\n+CPMS: 2,200,2,30\r\nOK\r\n", 5);
    // The read messages are listed, the unread listing fails part-way.
    m_port->queueAnswer(Listed({4, 7}), 5);
    m_port->queueAnswer("\r\n+CMS ERROR: 321\r\n", 5);
    m_port->queueAnswer("\r\nOK\r\n", 5);               // AT+CMGD=4
    m_port->queueAnswer("\r\n+CMS ERROR: 321\r\n", 5);  // AT+CMGD=7 refused
    m_port->queueAnswer("\r\n+CPMS: 0,30,0,200\r\nOK\r\n", 5);
    SmsReader reader(*m_link, m_boxes, Language::English);
    const std::optional<QList<MessageRow>> rows = reader.ReadMessages(true, {});
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->size(), 2);
    EXPECT_FALSE(reader.complete());
    EXPECT_EQ(reader.failedDeletes(), 1);
    // Only what was listed is deleted.
    EXPECT_EQ(deletes(), (QList<QByteArray>{"AT+CMGD=4\r", "AT+CMGD=7\r"}));
    ASSERT_EQ(m_boxes.shown.size(), 2);
    EXPECT_EQ(m_boxes.shown[0].text,
              English(kTextStoreNotRead)
                  .arg(English(kTextPhoneMemoryStore), QStringLiteral("+CMS ERROR: 321")));
    EXPECT_EQ(m_boxes.shown[1].text, English(kTextNotAllDeleted));
}

TEST_F(ScriptedDownload, CancelledDownloadDeletesNothingAndSaysHowFarItGot) {
    m_port->queueAnswer("\r\n+CPMS: 30,200,0,30\r\nOK\r\n", 5);
    QByteArray listing = Listed({1, 2, 3});
    listing.chop(8);  // the phone is still sending when the user cancels
    m_port->queueAnswer({{5, listing}, {4000, "\r\nOK\r\n"}});
    m_clock.callAfter(200, m_port, [this] { m_link->cancel(); });
    SmsReader reader(*m_link, m_boxes, Language::English);
    const qint64 start = m_clock.nowMs();
    const std::optional<QList<MessageRow>> rows = reader.ReadMessages(true, {});
    EXPECT_EQ(m_clock.nowMs() - start, 200);
    ASSERT_TRUE(rows);
    // The two messages that arrived whole are shown; the one cut off is not.
    EXPECT_EQ(rows->size(), 2);
    EXPECT_TRUE(reader.cancelled());
    EXPECT_FALSE(reader.complete());
    EXPECT_TRUE(deletes().isEmpty());
    ASSERT_EQ(m_boxes.shown.size(), 1);
    EXPECT_EQ(m_boxes.shown[0].text, English(kTextDownloadCancelled).arg(2));
    EXPECT_FALSE(m_link->Busy());
}

TEST_F(ScriptedDownload, SendCancelledWhileThePhoneHasThePartSaysCancelledNotUnsent) {
    m_port->queueAnswer("\r\nOK\r\n", 5);                 // AT before the part
    m_port->queueAnswer("\r\n> ", 5);                     // AT+CMGS=n prompts
    m_port->queueAnswer("\r\n+CMGS: 7\r\nOK\r\n", 8000);  // the network takes its time
    m_clock.callAfter(1000, m_port, [this] { m_link->cancel(); });
    SmsSender sender(*m_link, m_boxes, Language::English);
    const qint64 start = m_clock.nowMs();
    EXPECT_EQ(sender.Send("603123456", "hi", false), SendOutcome::Failed);
    EXPECT_EQ(m_clock.nowMs() - start, 1000);
    ASSERT_EQ(m_boxes.shown.size(), 1);
    EXPECT_EQ(m_boxes.shown[0].text, English(kTextCommandCancelled));
    EXPECT_FALSE(m_link->Busy());
}

}  // namespace
}  // namespace telvora::sms
