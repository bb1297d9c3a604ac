// News the simulated phone receives: a message stored and announced as
// AT+CNMI asks, a call that rings (with its caller while AT+CLIP=1) until it
// is answered, rejected or given up, and the control lines that make both
// happen.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>

#include "telvora/core/fake_clock.h"
#include "telvora/demophone/news_control.h"
#include "telvora/demophone/simulated_phone.h"

namespace phonesim {
namespace {

QByteArray Joined(const QList<Output>& outputs) {
    QByteArray text;
    for (const Output& output : outputs) {
        text += output.data;
    }
    return text;
}

DeliverMessage Hello() {
    DeliverMessage message;
    message.serviceCentre = "+420603052000";
    message.sender = "+420603123456";
    message.time = QDateTime::fromString("2026-12-08T21:30:00+01:00", Qt::ISODate);
    message.text = "hello";
    return message;
}

class PhoneNewsTest : public ::testing::Test {
protected:
    QByteArray send(const QByteArray& bytes) { return phone.receiveText(bytes); }
    SimulatedPhone phone{PhoneState::makeEmpty()};
};

TEST_F(PhoneNewsTest, MessageIsAnnouncedOnlyWhenAsked) {
    send("ATE0\r");
    EXPECT_EQ(send("AT+CNMI=?\r"), "\r\n+CNMI: (0,1,2,3),(0,1),(0,2),(0,2),(0,1)\r\n\r\nOK\r\n");
    QString error;
    std::optional<QList<Output>> out = phone.deliverMessage(Hello(), &error);
    ASSERT_TRUE(out) << error.toStdString();
    EXPECT_TRUE(out->isEmpty());  // stored, not announced
    EXPECT_EQ(send("AT+CNMI=2,1\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CNMI?\r"), "\r\n+CNMI: 2,1,0,0,0\r\n\r\nOK\r\n");
    out = phone.deliverMessage(Hello(), &error);
    ASSERT_TRUE(out);
    EXPECT_EQ(Joined(*out), "\r\n+CMTI: \"SM\",2\r\n");
    EXPECT_EQ(phone.state().stores["SM"].messages.size(), 2);
    EXPECT_TRUE(send("AT+CMGR=2\r").startsWith("\r\n+CMGR: 0,,"));
    EXPECT_EQ(send("AT+CNMI=2,2\r"), "\r\n+CMS ERROR: 303\r\n");  // not offered
    EXPECT_EQ(send("AT+CNMI=2,1,1\r"), "\r\n+CMS ERROR: 303\r\n");
    EXPECT_EQ(send("AT+CNMI=,1\r"), "\r\n+CMS ERROR: 303\r\n");
    // Status reports may be asked for, and cell broadcasts; neither ever comes.
    EXPECT_EQ(send("AT+CNMI=3,1,2,2,0\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CNMI?\r"), "\r\n+CNMI: 3,1,0,2,0\r\n\r\nOK\r\n");
    // A full store takes no more.
    phone.state().stores["SM"].capacity = 2;
    EXPECT_FALSE(phone.deliverMessage(Hello(), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(PhoneNewsTest, RingingCallIsAnsweredRejectedOrGivenUp) {
    send("ATE0\r");
    EXPECT_EQ(Joined(phone.startIncomingCall("+420724555018")), "\r\nRING\r\n");
    EXPECT_EQ(send("AT+CLIP=1\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("AT+CLIP?\r"), "\r\n+CLIP: 1,1\r\n\r\nOK\r\n");
    EXPECT_EQ(Joined(phone.ring()), "\r\nRING\r\n\r\n+CLIP: \"+420724555018\",145\r\n");
    EXPECT_EQ(send("ATA\r"), "\r\nOK\r\n");
    EXPECT_FALSE(phone.ringing());
    EXPECT_TRUE(phone.state().call.active);
    EXPECT_TRUE(phone.ring().isEmpty());
    EXPECT_EQ(send("AT+CHUP\r"), "\r\nOK\r\n");
    EXPECT_FALSE(phone.state().call.active);
    EXPECT_EQ(send("ATA\r"), "\r\nNO CARRIER\r\n");  // nothing rings

    phone.startIncomingCall("603123456");
    EXPECT_EQ(send("ATH\r"), "\r\nOK\r\n");  // rejects too
    EXPECT_FALSE(phone.ringing());
    phone.startIncomingCall("603123456");
    EXPECT_EQ(Joined(phone.callerGivesUp(true)), "\r\nNO CARRIER\r\n");
    phone.startIncomingCall("603123456");
    EXPECT_TRUE(phone.callerGivesUp(false).isEmpty());
    EXPECT_FALSE(phone.ringing());
}

TEST(NewsControlTest, RingsRepeatUntilTheCallerGivesUp) {
    telvora::FakeClock clock;
    SimulatedPhone phone{PhoneState::makeEmpty()};
    NewsControl news(phone);
    news.setClock(clock);
    QList<std::pair<qint64, QByteArray>> sent;
    QObject::connect(&news, &NewsControl::output, [&](const QList<Output>& outputs) {
        sent.append({clock.nowMs(), Joined(outputs)});
    });
    EXPECT_EQ(news.command("ring +420724555018 7"), "");
    clock.advance(20000);
    // Rings at 0, 3 and 6 s; at 9 s the 7 seconds are over.
    ASSERT_EQ(sent.size(), 4);
    EXPECT_EQ(sent[0], std::make_pair(qint64(0), QByteArray("\r\nRING\r\n")));
    EXPECT_EQ(sent[2].first, 6000);
    EXPECT_EQ(sent[3], std::make_pair(qint64(9000), QByteArray("\r\nNO CARRIER\r\n")));

    // Answered: the rings stop.
    sent.clear();
    news.command("ring 603123456 0");
    phone.receive("ATA\r");
    clock.advance(20000);
    EXPECT_EQ(sent.size(), 1);
}

TEST(NewsControlTest, ControlLinesAndTheirMistakes) {
    SimulatedPhone phone{PhoneState::makeEmpty()};
    NewsControl news(phone);
    EXPECT_EQ(news.command("sms +420603123456 Dobrý den, jak se máte?"), "");
    EXPECT_EQ(phone.state().stores["SM"].messages.size(), 1);
    EXPECT_NE(news.command("sms +420603123456"), "");  // no text
    EXPECT_NE(news.command("sms Jan ahoj"), "");       // not a number
    EXPECT_NE(news.command("ring"), "");
    EXPECT_NE(news.command("ring 603 soon"), "");
    EXPECT_NE(news.command("giveup"), "");  // nothing rings
    EXPECT_NE(news.command("call 603"), "");
    EXPECT_EQ(news.command("ring - 0"), "");  // withheld number
    EXPECT_TRUE(phone.ringing());
    EXPECT_EQ(phone.ringingNumber(), "");
    EXPECT_EQ(news.command("GIVEUP quiet"), "");
    EXPECT_FALSE(phone.ringing());
}

TEST(NewsControlTest, ControlFileRunsAppendedLines) {
    QTemporaryDir dir;
    const QString path = dir.filePath("control");
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("sms 111 skipped: written before the watch\n");
    }
    SimulatedPhone phone{PhoneState::makeEmpty()};
    NewsControl news(phone);
    ControlFile control(news);
    QStringList refused;
    QObject::connect(&control, &ControlFile::refused,
                     [&](const QString& line, const QString&) { refused.append(line); });
    QString error;
    ASSERT_TRUE(control.watch(path, &error)) << error.toStdString();
    {
        QFile file(path);
        file.open(QIODevice::Append);
        file.write("sms 222 new\nbogus\nring 333");  // the last line is not complete yet
    }
    QDeadlineTimer deadline(5000);
    while (refused.isEmpty() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_EQ(refused, QStringList{"bogus"});
    EXPECT_EQ(phone.state().stores["SM"].messages.size(), 1);
    EXPECT_FALSE(phone.ringing());
}

}  // namespace
}  // namespace phonesim
