// One command at a time, with the real commands: a two-message listing, a
// phone-book read and an upload run against the demo phone at 9600 baud
// while the signal timer ticks and link checks fire every 5 ms. Every
// message and entry must arrive, nothing else may reach the line, and the
// commands report success only for what was done.

#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonObject>

#include "telvora/core/fake_clock.h"
#include "telvora/core/message_boxes.h"
#include "telvora/demophone/phonesim_port.h"
#include "telvora/link/at_link.h"
#include "telvora/link/device_names.h"
#include "telvora/phonebook/read_phone_book.h"
#include "telvora/phonebook/upload_phone_book.h"
#include "telvora/sms/sms_reader.h"
#include "tests/telvora/link/interfering_ticks.h"

namespace telvora {
namespace {

using test::InterferingTicks;

class RecordedBoxes : public MessageBoxes {
public:
    void show(Kind, const QString& text) override { shown << text; }
    bool askYesNo(Kind, const QString& text) override { return ask(text); }
    bool askOkCancel(Kind, const QString& text) override { return ask(text); }
    QStringList shown;

private:
    bool ask(const QString& text) {
        shown << text;
        return true;
    }
};

QJsonObject Message(int index, const char* sender, const char* text) {
    return {{"index", index},
            {"status", 0},
            {"sender", sender},
            {"time", "2026-12-01T17:42:30+01:00"},
            {"text", text}};
}

QJsonObject Entry(int index, const char* number, const char* name) {
    return {{"index", index}, {"number", number}, {"name", name}};
}

// Two messages in the phone, none on the SIM; three SIM phone-book entries.
QJsonObject PhoneWithTwoMessagesAndThreeEntries() {
    const QJsonObject me{{"messages", QJsonArray{Message(1, "+420603123456", "Prvni zprava"),
                                                 Message(2, "+420724555018", "Druha zprava")}}};
    const QJsonObject sim{
        {"entries", QJsonArray{Entry(1, "+420603123456", "Martina"), Entry(2, "724555018", "Petr"),
                               Entry(5, "+420777888999", "Jana")}}};
    return {{"stores", QJsonObject{{"ME", me}, {"SM", QJsonObject{}}}},
            {"phoneBooks", QJsonObject{{"SM", sim}, {"ME", QJsonObject{}}}}};
}

class OneCommandAtATime : public ::testing::Test {
protected:
    OneCommandAtATime() {
        QString error;
        std::optional<phonesim::PhoneState> state =
            phonesim::stateFromJson(PhoneWithTwoMessagesAndThreeEntries(), &error);
        EXPECT_TRUE(state) << error.toStdString();
        auto port =
            std::make_unique<phonesim::PhoneSimPort>(state.value_or(phonesim::PhoneState{}));
        m_port = port.get();
        m_port->setClock(m_clock);
        m_port->phone().options().latencyMs = 20;
        m_port->phone().options().baud = 9600;  // answers take as long as on the line
        m_link = std::make_unique<AtLink>(std::move(port), m_clock);
        EXPECT_EQ(m_link->OpenPort(kDemoDevice), OpenResult::Ok);
    }

    PhoneBookCommandSetup phoneBookSetup() {
        PhoneBookCommandSetup setup(*m_link, m_boxes, Language::English);
        setup.confirm = false;
        return setup;
    }

    // Every tick and check fired during the command found the port held.
    void expectNothingGotThrough(const InterferingTicks& ticks) {
        EXPECT_GT(ticks.ticks, 10);
        EXPECT_EQ(ticks.polls, 0);
        EXPECT_EQ(ticks.busyChecks, ticks.checks);
        EXPECT_FALSE(m_link->Busy());
        EXPECT_TRUE(m_boxes.shown.isEmpty()) << m_boxes.shown.join(" | ").toStdString();
    }

    FakeClock m_clock;
    phonesim::PhoneSimPort* m_port = nullptr;
    std::unique_ptr<AtLink> m_link;
    RecordedBoxes m_boxes;
};

TEST_F(OneCommandAtATime, TwoMessageListing) {
    sms::SmsReader reader(*m_link, m_boxes, Language::English);
    InterferingTicks ticks(*m_link, m_clock);
    const std::optional<QList<sms::MessageRow>> rows = reader.ReadMessages(false, {});
    ASSERT_TRUE(rows);
    EXPECT_TRUE(reader.complete());
    ASSERT_EQ(rows->size(), 2);
    QStringList texts{rows->at(0).text, rows->at(1).text};
    texts.sort();
    EXPECT_EQ(texts, (QStringList{"Druha zprava", "Prvni zprava"}));
    expectNothingGotThrough(ticks);
}

TEST_F(OneCommandAtATime, PhoneBookRead) {
    ReadPhoneBook read(phoneBookSetup());
    InterferingTicks ticks(*m_link, m_clock);
    const ReadPhoneBookResult result = read.run(PhoneBookSource::Sim, {});
    EXPECT_EQ(result.status, ReadPhoneBookResult::Status::Read);
    ASSERT_EQ(result.entries.size(), 3);
    EXPECT_EQ(result.brokenRecords, 0);
    expectNothingGotThrough(ticks);
}

TEST_F(OneCommandAtATime, PhoneBookUpload) {
    UploadPhoneBook upload(phoneBookSetup());
    InterferingTicks ticks(*m_link, m_clock);
    const UploadPhoneBookResult result =
        upload.run(PhoneBookSource::PhoneMemory,
                   {{"Martina", "+420603123456"}, {"Petr", "724555018"}, {"Jana", "777888999"}});
    EXPECT_EQ(result.status, UploadPhoneBookResult::Status::Done);
    EXPECT_EQ(result.written, 3);
    EXPECT_TRUE(result.failedPositions.isEmpty());
    const auto& written = m_port->phone().state().phoneBooks["ME"].entries;
    ASSERT_EQ(written.size(), 3);
    EXPECT_EQ(written.value(2).name, "Petr");
    expectNothingGotThrough(ticks);
}

TEST_F(OneCommandAtATime, AListingCutShortIsNoSuccess) {
    // The phone goes away in the middle of the listing.
    sms::SmsReader reader(*m_link, m_boxes, Language::English);
    InterferingTicks ticks(*m_link, m_clock);
    m_clock.callAfter(120, m_port, [this] { m_port->breakLink(); });
    const std::optional<QList<sms::MessageRow>> rows = reader.ReadMessages(false, {});
    EXPECT_FALSE(rows && reader.complete());
    EXPECT_EQ(ticks.polls, 0);
    EXPECT_FALSE(m_boxes.shown.isEmpty());  // the user is told
}

}  // namespace
}  // namespace telvora
