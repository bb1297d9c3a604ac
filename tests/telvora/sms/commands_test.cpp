// Sending and downloading end to end: telvora-cli and the command classes
// against telvora-phonesim on a pseudo-terminal, and the in-process phone
// where the test must change the phone between two parts.

#include <gtest/gtest.h>

#include <QJsonArray>

#include "telvora/core/at_text.h"
#include "telvora/core/fake_clock.h"
#include "telvora/core/ui_texts.h"
#include "telvora/demophone/phonesim_port.h"
#include "telvora/link/at_link.h"
#include "telvora/link/qt_serial_port.h"
#include "telvora/sms/sms_reader.h"
#include "telvora/sms/sms_sender.h"
#include "telvora/sms/sms_texts.h"
#include "tests/telvora/shell/shell_fakes.h"
#include "tests/telvora/sms/pdu_builder.h"
#include "tests/telvora/sms/phonesim_rig.h"

namespace telvora::sms {
namespace {

using test::PhonesimRig;

QString English(int n) {
    return UiText(Language::English, n);
}

QJsonObject Message(int index, int status, const QString& sender, const QString& time,
                    const QString& text) {
    return {
        {"index", index}, {"status", status}, {"sender", sender}, {"time", time}, {"text", text}};
}

QJsonObject PduMessage(int index, int status, const QByteArray& pdu) {
    return {{"index", index}, {"status", status}, {"pdu", QString::fromLatin1(pdu)}};
}

QJsonObject Stores(const QJsonArray& me, const QJsonArray& sm) {
    return {{"stores", QJsonObject{{"ME", QJsonObject{{"capacity", 200}, {"messages", me}}},
                                   {"SM", QJsonObject{{"capacity", 30}, {"messages", sm}}}}},
            {"rejectedNumbers", QJsonArray{"420999000111"}}};
}

QStringList SentPdus(const QJsonObject& state) {
    QStringList pdus;
    for (const auto& sent : state.value("sent").toArray()) {
        pdus << sent.toObject().value("pdu").toString();
    }
    return pdus;
}

QStringList SentTexts(const QJsonObject& state) {
    QStringList texts;
    for (const auto& sent : state.value("sent").toArray()) {
        texts << sent.toObject().value("text").toString();
    }
    return texts;
}

QList<int> StoredIndexes(const QJsonObject& state, const char* store) {
    QList<int> indexes;
    const QJsonArray messages =
        state.value("stores").toObject().value(store).toObject().value("messages").toArray();
    for (const auto& message : messages) {
        indexes << message.toObject().value("index").toInt();
    }
    return indexes;
}

// A link check that gives a phone on a loaded machine three chances.
bool PatientLinkCheck(PortLease& lease) {
    for (int i = 0; i < 3; ++i) {
        if (lease.CheckLink() == LinkState::Connected) {
            return true;
        }
    }
    return false;
}

TEST(SmsSendEndToEnd, PdusTheSimulatorReceives) {
    PhonesimRig phone(Stores({}, {}));
    ASSERT_FALSE(phone.device().isEmpty());
    auto run = phone.cli({"sms", "send", "123456789012", "hi"});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, English(kTextMessageSent) + '\n');
    EXPECT_EQ(phone.cli({"sms", "send", "12345", "a"}).code, 0);
    EXPECT_EQ(phone.cli({"sms", "send", "+420 603-123 456", "@$_[€ é?"}).code, 0);
    EXPECT_EQ(phone.cli({"sms", "send", "777", "-"}, "ahoj z\nvstupu\n").code, 0);
    EXPECT_EQ(phone.cli({"sms", "send", "777", "Řekl `ano`"}).code, 0);

    const QJsonObject state = phone.finalState();
    const QStringList pdus = SentPdus(state);
    ASSERT_EQ(pdus.size(), 5);
    EXPECT_EQ(pdus[0],
              "0011000C91214365870921"
              "0000AD"
              "02E834");
    EXPECT_EQ(pdus[1].mid(6, 10), "05912143F5");
    EXPECT_EQ(pdus[2].mid(6, 16), "0C91246030214365");
    // The simulator decodes the GSM alphabet and UCS2 on its own; line
    // breaks stay, a character outside the alphabet makes the message UCS2.
    EXPECT_EQ(SentTexts(state).mid(2), (QStringList{QStringLiteral("@$_[€ é?"), "ahoj z\nvstupu",
                                                    QStringLiteral("Řekl `ano`")}));
    // Coding 08, then 20 octets of UTF-16 for the 10 characters.
    EXPECT_EQ(pdus[4].mid(pdus[4].size() - 20 * 2 - 8, 8), "0008AD14");
}

TEST(SmsSendEndToEnd, RefusedInputSendsNothing) {
    PhonesimRig phone(Stores({}, {}));
    auto badNumber = phone.cli({"sms", "send", "12a34", "hi"});
    EXPECT_EQ(badNumber.code, 2);
    EXPECT_EQ(badNumber.err, English(kTextBadRecipient) + '\n');
    auto tooLong = phone.cli({"sms", "send", "123", QString(161, u'x')});
    EXPECT_EQ(tooLong.code, 2);
    EXPECT_EQ(tooLong.err, English(kTextNeedsLong).arg(2) + '\n');
    EXPECT_TRUE(tooLong.err.contains("--long"));
    auto tooMany = phone.cli({"sms", "send", "123", QString(1531, u'x'), "--long"});
    EXPECT_EQ(tooMany.code, 2);
    EXPECT_EQ(tooMany.err, English(kTextTooLongForParts) + '\n');
    EXPECT_EQ(phone.cli({"sms", "send", "123", QString(71, u'ř')}).code, 2);
    // "€" takes two septets: 159 letters and one euro sign are 161.
    EXPECT_EQ(phone.cli({"sms", "send", "123", QString(159, u'x') + u'€'}).code, 2);
    EXPECT_EQ(phone.cli({"sms", "send", "123", QString(160, u'x')}).code, 0);
    EXPECT_EQ(phone.cli({"sms", "send", "123", QString(161, u'y'), "--long"}).code, 0);
    const QStringList texts = SentTexts(phone.finalState());
    // The parts as the simulator reads them, headers aside: no "1/2" in the text.
    EXPECT_EQ(texts, (QStringList{QString(160, u'x'), QString(153, u'y'), QString(8, u'y')}));
}

TEST(SmsSendEndToEnd, ALongCzechTextReadsBackAsOneMessage) {
    PhonesimRig phone(Stores({}, {}));
    const QString czech = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy. ").repeated(4) +
                          QStringLiteral("Konec 😀\n[ok]");
    auto sent = phone.cli({"sms", "send", "+420603123456", czech, "--long"});
    EXPECT_EQ(sent.code, 0) << sent.err.toStdString();
    const QString plain = QString(200, u'a') + QStringLiteral(" {€}");
    EXPECT_EQ(phone.cli({"sms", "send", "777", plain, "--long"}).code, 0);
    auto list = phone.cli({"sms", "list", "--tsv"});
    EXPECT_EQ(list.code, 0) << list.err.toStdString();
    const QStringList rows = list.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 2) << list.out.toStdString();
    QStringList texts;
    for (const QString& row : rows) {
        texts << row.section(u'\t', 4).replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    }
    texts.sort();
    EXPECT_EQ(texts, (QStringList{czech, plain}));
    EXPECT_EQ(SentPdus(phone.finalState()).size(), 3 + 2);
}

TEST(SmsSendEndToEnd, WithoutDiacriticsNamesWhatBecameAQuestionMark) {
    PhonesimRig phone(Stores({}, {}));
    auto sent = phone.cli({"sms", "send", "777", QStringLiteral("Čau, ﬁx 😀 ž"), "--ascii"});
    EXPECT_EQ(sent.code, 0) << sent.err.toStdString();
    EXPECT_EQ(sent.err, English(kTextReplacedByQuestion).arg(QStringLiteral("„ﬁ“ „😀“")) + '\n');
    EXPECT_EQ(SentTexts(phone.finalState()), QStringList{QStringLiteral("Cau, ?x ? z")});
}

TEST(SmsSendEndToEnd, NetworkRefusalIsReportedAtOnce) {
    PhonesimRig phone(Stores({}, {}));
    auto refused = phone.cli({"sms", "send", "+420999000111", "hello"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err, English(41) + '\n');  // no text 77: no 12-second wait
    EXPECT_TRUE(SentPdus(phone.finalState()).isEmpty());
}

TEST(SmsSendInProcess, FailingSecondPartStopsTheRest) {
    auto port = std::make_unique<phonesim::PhoneSimPort>();
    phonesim::PhoneSimPort& phone = *port;
    AtLink link(std::move(port));
    ASSERT_EQ(link.OpenPort("demo"), OpenResult::Ok);
    telvora::test::FakeMessageBoxes boxes;
    SmsSender sender(link, boxes, Language::Czech);
    QStringList progress;
    sender.setProgress([&](const QString& text) {
        progress << text;
        if (text.endsWith("2/3")) {
            phone.phone().addFault(*phonesim::parseFault("AT+CMGS=error", nullptr));
        }
    });
    const QString text = QString(153, u'a') + QString(153, u'b') + QString(10, u'c');
    EXPECT_EQ(sender.Send("420603123456", text, true), SendOutcome::Failed);
    EXPECT_EQ(progress, (QStringList{"Odesílám 1/3", "Odesílám 2/3"}));
    EXPECT_EQ(sender.partsSent(), 1);
    ASSERT_EQ(phone.phone().state().sent.size(), 1);
    EXPECT_EQ(phone.phone().state().sent[0].text, QString(153, u'a'));
    ASSERT_EQ(boxes.shown.size(), 1);
    // Which parts went out: the first of three; the second was refused.
    EXPECT_EQ(boxes.shown[0].text, UiText(Language::Czech, kTextPartsSent).arg(1).arg(3).arg(2));
    EXPECT_EQ(boxes.shown[0].kind, MessageBoxes::Kind::Error);
}

TEST(SmsSendInProcess, HeldPortAndSilentPhone) {
    auto port = std::make_unique<phonesim::PhoneSimPort>();
    phonesim::PhoneSimPort& phone = *port;
    AtLink link(std::move(port));
    ASSERT_EQ(link.OpenPort("demo"), OpenResult::Ok);
    telvora::test::FakeMessageBoxes boxes;
    SmsSender sender(link, boxes, Language::English);
    {
        std::optional<PortLease> held = link.tryAcquire();
        EXPECT_EQ(sender.Send("123", "hi", false), SendOutcome::PortBusy);
    }
    phone.phone().addFault(*phonesim::parseFault("AT=silent", nullptr));
    EXPECT_EQ(sender.Send("123", "hi", false), SendOutcome::NotConnected);
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[0].text, English(kTextCommandRunning));
    EXPECT_EQ(boxes.shown[1].text, English(38));
    EXPECT_TRUE(phone.phone().state().sent.isEmpty());
}

// Both stores, both listing kinds, a message in three parts, an
// alphanumeric sender, UCS2, a three-digit index and a PDU that is not a
// received message.
QJsonObject DownloadState() {
    auto part = [](int sequence, const char* text) {
        test::DeliverFields fields;
        fields.senderField = test::NumberField("420602334455");
        fields.header = QByteArray::fromHex("00034203") + char(sequence);  // reference 0x42
        fields.stamp = "62216081025000";                                   // 6.12.2026 18:20:05
        fields.septets = test::AsciiSeptets(text);
        return test::BuildDeliver(fields);
    };
    test::DeliverFields ucs2;
    ucs2.senderField = test::NumberField("420731246810");
    ucs2.dataCoding = 0x08;
    ucs2.stamp = "62217070540000";  // 7.12.2026 07:45:00
    ucs2.octets = test::Ucs2Octets(QStringLiteral("Zítra v půl sedmé, \"Lucie\""));
    const QJsonArray me{
        Message(1, 1, "+420603123456", "2026-11-28T09:15:00+01:00", "Ahoj, prijdes?"),
        PduMessage(4, 0, part(2, "second ")),
        PduMessage(5, 1, part(1, "first ")),
        PduMessage(6, 0, part(3, "third@")),
        PduMessage(9, 0,
                   "0011000C91214365870921"
                   "0000AD"
                   "02E834"),
        Message(123, 0, "MojeBanka", "2026-12-06T12:03:41+01:00", "Zustatek 100 Kc"),
    };
    const QJsonArray sm{
        PduMessage(2, 0, test::BuildDeliver(ucs2)),
        Message(3, 1, "+447700900123", "2026-12-03T08:05:12+00:00", "Parcel\ntomorrow"),
    };
    return Stores(me, sm);
}

const QDateTime kNow(QDate(2026, 12, 7), QTime(12, 0));

struct Download {
    std::optional<QList<MessageRow>> rows;
    QList<telvora::test::FakeMessageBoxes::Shown> shown;
};

Download ReadFrom(const QString& device, bool deleteAfter) {
    AtLink link(std::make_unique<QtSerialPort>());
    EXPECT_EQ(link.OpenPort(device), OpenResult::Ok);
    telvora::test::FakeMessageBoxes boxes;
    SmsReader reader(link, boxes, Language::English);
    reader.setLinkCheck(PatientLinkCheck);
    reader.setClock([] { return kNow; });
    Download download;
    download.rows = reader.ReadMessages(deleteAfter,
                                        {{"Martina", "+420603123456"}, {"Lucie", "+420731246810"}});
    download.shown = boxes.shown;
    EXPECT_TRUE(reader.complete());
    return download;
}

TEST(SmsDownloadEndToEnd, EveryKindListedNewestFirstWithNames) {
    for (const char* echo : {"on", "off"}) {
        SCOPED_TRACE(echo);
        PhonesimRig phone(DownloadState(), {"--echo", echo});
        const Download first = ReadFrom(phone.device(), false);
        ASSERT_TRUE(first.rows);
        EXPECT_TRUE(first.shown.isEmpty());
        const QList<MessageRow>& rows = *first.rows;
        ASSERT_EQ(rows.size(), 5);  // the stored SMS-SUBMIT is not a received message
        EXPECT_EQ(rows[0].sender, "Lucie");
        EXPECT_EQ(rows[0].text, QStringLiteral("Zítra v půl sedmé, \"Lucie\""));
        EXPECT_EQ(rows[0].number, "420731246810");
        EXPECT_EQ(rows[0].indexText(), "2");
        EXPECT_EQ(rows[1].text, "first second third@");
        EXPECT_EQ(rows[1].indexText(), "5,4,6");
        EXPECT_EQ(rows[1].time, "6.12.2026 18:20:05");
        EXPECT_EQ(rows[2].sender, "MojeBanka");
        EXPECT_FALSE(rows[2].canReply());
        EXPECT_EQ(rows[2].indexText(), "123");
        EXPECT_EQ(rows[3].text, "Parcel\ntomorrow");
        EXPECT_EQ(rows[4].sender, "Martina");
        EXPECT_EQ(rows[4].number, "420603123456");
        // Without deleting, a second download gives the same list.
        const Download second = ReadFrom(phone.device(), false);
        ASSERT_TRUE(second.rows);
        ASSERT_EQ(second.rows->size(), rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            EXPECT_EQ((*second.rows)[i].text, rows[i].text);
        }
    }
}

TEST(SmsDownloadEndToEnd, DeletesExactlyWhatWasListed) {
    PhonesimRig phone(DownloadState());
    const Download download = ReadFrom(phone.device(), true);
    ASSERT_TRUE(download.rows);
    EXPECT_EQ(download.rows->size(), 5);
    const QJsonObject state = phone.finalState();
    EXPECT_EQ(StoredIndexes(state, "ME"), QList<int>{9});  // not a received message: kept
    EXPECT_TRUE(StoredIndexes(state, "SM").isEmpty());
}

TEST(SmsDownloadEndToEnd, MoreThanFortyNineMessages) {
    QJsonArray me;
    for (int i = 1; i <= 60; ++i) {
        me.append(Message(
            i, i % 2, "+420603123456",
            QDateTime(QDate(2026, 12, 1), QTime(8, 0)).addSecs(60 * i).toString(Qt::ISODate),
            QStringLiteral("message %1").arg(i)));
    }
    PhonesimRig phone(Stores(me, {}));
    const Download download = ReadFrom(phone.device(), false);
    ASSERT_TRUE(download.rows);
    ASSERT_EQ(download.rows->size(), 60);
    EXPECT_EQ(download.rows->first().text, "message 60");
    EXPECT_EQ(download.rows->last().text, "message 1");
}

TEST(SmsDownloadEndToEnd, CliListingsAndTheCsvFileBytes) {
    PhonesimRig phone(
        Stores({Message(1, 1, "+420603123456", "2026-11-28T09:15:00+01:00", "Rekl \"ano\"\na\\b"),
                Message(2, 0, "MojeBanka", "2026-12-06T12:03:41+01:00", "Kc")},
               {}));
    const QString csv = phone.dir() + "/messages";
    auto list = phone.cli({"sms", "list", "--tsv", "--csv", csv});
    EXPECT_EQ(list.code, 0) << list.err.toStdString();
    EXPECT_EQ(list.out,
              "6.12.2026 12:03:41\tMojeBanka\t\t2\tKc\n"
              "28.11.2026 09:15:00\t420603123456\t420603123456\t1\tRekl \"ano\"\\na\\\\b\n");
    EXPECT_EQ(phone.cli({"sms", "list", "--csv", csv}).code, 0);
    QFile file(csv + ".csv");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray lines =
        "\"6.12.2026 12:03:41\",\"MojeBanka\",\"Kc\"\r\n"
        "\"28.11.2026 09:15:00\",\"420603123456\",\"Rekl \"\"ano\"\"\na\\b\"\r\n";
    // A new file starts with the byte-order mark; the second listing appends.
    EXPECT_EQ(file.readAll(), "\xEF\xBB\xBF" + lines + lines);
    auto unwritable = phone.cli({"sms", "list", "--csv", phone.dir() + "/no/such/folder/x"});
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_TRUE(unwritable.err.startsWith(
        English(kTextCsvNotWritten).arg(phone.dir() + "/no/such/folder/x.csv")));
}

TEST(SmsDownloadEndToEnd, CliShowsSendersByTheirPhoneBookNames) {
    PhonesimRig phone(Stores({Message(1, 1, "420603123456", "2026-11-28T09:15:00+01:00", "Ahoj"),
                              Message(2, 1, "+420777888999", "2026-11-29T09:15:00+01:00", "Cau")},
                             {}));
    const QString book = phone.dir() + "/names.tpb";
    QFile file(book);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\"+420603123456\",\"Martina\",1\r\n");
    file.close();
    auto list = phone.cli({"sms", "list", "--tsv", "--phonebook", book});
    EXPECT_EQ(list.code, 0) << list.err.toStdString();
    EXPECT_EQ(list.out.toStdString(),
              "29.11.2026 09:15:00\t420777888999\t420777888999\t2\tCau\n"
              "28.11.2026 09:15:00\tMartina\t420603123456\t1\tAhoj\n");
    // A named file that cannot be read stops before anything is listed.
    EXPECT_EQ(phone.cli({"sms", "list", "--phonebook", phone.dir() + "/none.tpb"}).code, 2);
}

TEST(SmsDownloadEndToEnd, SilentPhoneReadsNothing) {
    PhonesimRig phone(DownloadState(), {"--fault", "AT=silent"});
    auto list = phone.cli({"sms", "list"});
    EXPECT_EQ(list.code, 1);
    EXPECT_EQ(list.err, English(38) + '\n');
}

TEST(SmsDownloadInProcess, DemoPhoneShowsEveryKind) {
    AtLink link(phonesim::makeDemoPhonePort());
    ASSERT_EQ(link.OpenPort("demo"), OpenResult::Ok);
    telvora::test::FakeMessageBoxes boxes;
    SmsReader reader(link, boxes, Language::Czech);
    const std::optional<QList<MessageRow>> rows = reader.ReadMessages(false, {});
    ASSERT_TRUE(rows);
    auto find = [&](auto condition) {
        return std::find_if(rows->begin(), rows->end(), condition) != rows->end();
    };
    EXPECT_TRUE(find([](const MessageRow& row) { return row.text.contains(u'ě'); }));
    EXPECT_TRUE(find([](const MessageRow& row) { return row.indexes.size() == 3; }));
    EXPECT_TRUE(find([](const MessageRow& row) { return !row.canReply(); }));
}

// The simulated phone answering within write(), so that a fake clock never
// runs ahead of an answer; only a phone that stays silent lets time pass.
class PromptPhonePort : public SerialPort {
public:
    explicit PromptPhonePort(phonesim::PhoneState state) : phone(std::move(state)) {}
    OpenResult open(const QString&) override {
        m_open = true;
        return OpenResult::Ok;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray& data) override {
        m_pending += phone.receiveText(data);
        return m_open;
    }
    QByteArray readAll() override { return std::exchange(m_pending, {}); }

    phonesim::SimulatedPhone phone;

private:
    bool m_open = false;
    QByteArray m_pending;
};

TEST(SmsDownloadInProcess, PhoneFallingSilentKeepsWhatWasRead) {
    FakeClock clock;  // the 60-second wait for the listing passes at once
    auto port = std::make_unique<PromptPhonePort>(phonesim::demoPhoneState());
    port->phone.addFault(*phonesim::parseFault("AT+CMGL=0=silent", nullptr));
    PromptPhonePort& phone = *port;
    AtLink link(std::move(port), clock);
    ASSERT_EQ(link.OpenPort("demo"), OpenResult::Ok);
    telvora::test::FakeMessageBoxes boxes;
    SmsReader reader(link, boxes, Language::English);
    const std::optional<QList<MessageRow>> rows = reader.ReadMessages(true, {});
    ASSERT_TRUE(rows);
    // The read messages of the phone memory came before the silence: 1 and part 1 of 3.
    ASSERT_EQ(rows->size(), 2);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, English(kTextPhoneTimedOut));
    EXPECT_FALSE(reader.complete());
    // The listing did not finish, so nothing was deleted.
    EXPECT_EQ(phone.phone.state().stores["ME"].messages.size(), 7);
    EXPECT_FALSE(link.Busy());
}

TEST(SmsSendInProcess, UnansweredMessageTimesOutWithTexts77And41) {
    FakeClock clock;  // the 12-second wait passes at once
    auto port = std::make_unique<PromptPhonePort>(phonesim::PhoneState::makeEmpty());
    port->phone.addFault(*phonesim::parseFault("AT+CMGS=silent", nullptr));
    AtLink link(std::move(port), clock);
    ASSERT_EQ(link.OpenPort("demo"), OpenResult::Ok);
    telvora::test::FakeMessageBoxes boxes;
    SmsSender sender(link, boxes, Language::Czech);
    sender.setLinkCheck([](PortLease&) { return true; });
    const qint64 start = clock.nowMs();
    EXPECT_EQ(sender.Send("123", "hi", false), SendOutcome::Failed);
    EXPECT_EQ(clock.nowMs() - start, 12001);
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[0].text, UiText(Language::Czech, 77));
    EXPECT_EQ(boxes.shown[1].text, UiText(Language::Czech, 41));
}

}  // namespace
}  // namespace telvora::sms
