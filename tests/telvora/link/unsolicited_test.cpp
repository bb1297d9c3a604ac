// The phone's unsolicited lines: the parsers with real lines, the filter
// that takes them out of the byte stream however it is cut, and the link
// that passes them on and keeps them out of every answer.

#include "telvora/core/unsolicited_text.h"

#include <gtest/gtest.h>
#include <QSignalSpy>

#include "telvora/core/fake_clock.h"
#include "telvora/link/at_link.h"
#include "telvora/link/unsolicited_filter.h"
#include "tests/telvora/link/scripted_port.h"

namespace telvora {
namespace {

using test::Chunk;
using test::ScriptedPort;

TEST(UnsolicitedTextTest, ClassifiesNoticesAndLeavesAnswersAlone) {
    EXPECT_EQ(ClassifyUnsolicited("+CMTI: \"SM\",5", false), UnsolicitedKind::NewMessage);
    EXPECT_EQ(ClassifyUnsolicited("RING", false), UnsolicitedKind::Ring);
    EXPECT_EQ(ClassifyUnsolicited("+CRING: VOICE", false), UnsolicitedKind::Ring);
    EXPECT_EQ(ClassifyUnsolicited("+CLIP: \"+420603123456\",145", false),
              UnsolicitedKind::CallerId);
    EXPECT_EQ(ClassifyUnsolicited("NO CARRIER", false), UnsolicitedKind::CallEnded);
    EXPECT_EQ(ClassifyUnsolicited("+CDSI: \"SM\",3", false), UnsolicitedKind::StatusReport);
    // Answers that look alike.
    EXPECT_FALSE(ClassifyUnsolicited("NO CARRIER", true));   // a dial's result
    EXPECT_FALSE(ClassifyUnsolicited("+CLIP: 1,1", false));  // answer to AT+CLIP?
    EXPECT_FALSE(ClassifyUnsolicited("RINGS", false));
    EXPECT_FALSE(ClassifyUnsolicited("+CMGL: 1,0,,23", false));
    EXPECT_FALSE(ClassifyUnsolicited("+CPBR: 1,\"RING\",129,\"RING\"", false));
    EXPECT_FALSE(ClassifyUnsolicited("OK", false));

    EXPECT_TRUE(MayBeUnsolicited("R"));
    EXPECT_TRUE(MayBeUnsolicited("+C"));
    EXPECT_TRUE(MayBeUnsolicited("+CMTI: \"S"));
    EXPECT_TRUE(MayBeUnsolicited("NO CAR"));
    EXPECT_FALSE(MayBeUnsolicited("+CP"));
    EXPECT_FALSE(MayBeUnsolicited("RINGS"));
    EXPECT_FALSE(MayBeUnsolicited("OK"));
    EXPECT_FALSE(MayBeUnsolicited("07912143"));
}

TEST(UnsolicitedTextTest, ParsesNewMessageAndCallerLines) {
    std::optional<NewMessageNotice> notice = ParseNewMessageNotice("+CMTI: \"SM\",5");
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->store, "SM");
    EXPECT_EQ(notice->index, 5);
    notice = ParseNewMessageNotice("+CMTI: \"ME\", 112");
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->store, "ME");
    EXPECT_EQ(notice->index, 112);
    EXPECT_FALSE(ParseNewMessageNotice("+CMTI: \"SM\""));
    EXPECT_FALSE(ParseNewMessageNotice("+CMTI: \"SM\",x"));
    EXPECT_FALSE(ParseNewMessageNotice("+CMGL: 1,0,,23"));

    std::optional<CallerIdNotice> caller = ParseCallerId("+CLIP: \"+420603123456\",145");
    ASSERT_TRUE(caller);
    EXPECT_EQ(caller->number, "+420603123456");
    EXPECT_EQ(caller->type, 145);
    // International without the plus, further fields, a withheld number.
    caller = ParseCallerId("+CLIP: \"420724555018\",145,\"\",,\"Petr\",0");
    ASSERT_TRUE(caller);
    EXPECT_EQ(caller->number, "+420724555018");
    caller = ParseCallerId("+CLIP: \"724555018\",129");
    ASSERT_TRUE(caller);
    EXPECT_EQ(caller->number, "724555018");
    caller = ParseCallerId("+CLIP: \"\",128,,,,1");
    ASSERT_TRUE(caller);
    EXPECT_TRUE(caller->number.isEmpty());
    caller = ParseCallerId("+CLIP: \"12\r34\",129");  // nothing but dial characters is shown
    ASSERT_TRUE(caller);
    EXPECT_TRUE(caller->number.isEmpty());
    EXPECT_FALSE(ParseCallerId("+CLIP: 1,1"));
}

TEST(UnsolicitedTextTest, ChoosesTheNewMessageIndicationThePhoneOffers) {
    const QList<QList<int>> offered =
        ParseOfferedValues("\r\n+CNMI: (0-2),(0-3),(0,2),0,(0,1)\r\n\r\nOK\r\n", "+CNMI:");
    ASSERT_EQ(offered.size(), 5);
    EXPECT_EQ(offered[0], (QList<int>{0, 1, 2}));
    EXPECT_EQ(offered[2], (QList<int>{0, 2}));
    EXPECT_EQ(offered[3], (QList<int>{0}));

    EXPECT_EQ(ChooseNewMessageIndication("+CNMI: (0-3),(0-3),(0-3),(0-2),(0,1)\r\n"),
              QByteArray("AT+CNMI=2,1"));
    EXPECT_EQ(ChooseNewMessageIndication("+CNMI: (1,3),(0,1),(0),(0),(0)\r\n"),
              QByteArray("AT+CNMI=1,1"));
    EXPECT_EQ(ChooseNewMessageIndication("+CNMI: (3),(1),(0),(0),(0)\r\n"),
              QByteArray("AT+CNMI=3,1"));
    EXPECT_FALSE(ChooseNewMessageIndication("+CNMI: (0-2),(0,2),(0),(0),(0)\r\n"));  // no +CMTI
    EXPECT_FALSE(ChooseNewMessageIndication("+CNMI: (0),(0-3)\r\n"));                // buffer only
    EXPECT_FALSE(ChooseNewMessageIndication("\r\nERROR\r\n"));
}

// Feeds `stream` to a filter cut into pieces of `step` bytes.
QByteArray Filtered(const QByteArray& stream, qsizetype step, QList<QByteArray>& news,
                    UnsolicitedFilter& filter) {
    QByteArray out;
    for (qsizetype at = 0; at < stream.size(); at += step) {
        out += filter.take(QByteArrayView(stream).sliced(at, std::min(step, stream.size() - at)),
                           news);
    }
    return out;
}

TEST(UnsolicitedFilterTest, TakesNoticesOutHoweverTheStreamIsCut) {
    const QByteArray answer =
        "AT+CPBR=1,3\r\r\n+CPBR: 1,\"555\",129,\"RING\"\r\n"
        "\r\nRING\r\n\r\n+CLIP: \"+420603123456\",145\r\n"
        "+CPBR: 2,\"+420724555018\",145,\"Petr\"\r\n\r\n+CMTI: \"SM\",5\r\n"
        "+CPBR: 3,\"777\",129,\"NO CARRIER\"\r\n\r\nOK\r\n";
    const QByteArray clean =
        "AT+CPBR=1,3\r\r\n+CPBR: 1,\"555\",129,\"RING\"\r\n\r\n\r\n"
        "+CPBR: 2,\"+420724555018\",145,\"Petr\"\r\n\r\n"
        "+CPBR: 3,\"777\",129,\"NO CARRIER\"\r\n\r\nOK\r\n";
    for (qsizetype step : {1, 2, 3, 7, 64, 1000}) {
        SCOPED_TRACE(step);
        UnsolicitedFilter filter;
        QList<QByteArray> news;
        EXPECT_EQ(Filtered(answer, step, news, filter), clean);
        EXPECT_EQ(news,
                  (QList<QByteArray>{"RING", "+CLIP: \"+420603123456\",145", "+CMTI: \"SM\",5"}));
        EXPECT_TRUE(filter.held().isEmpty());
    }
}

TEST(UnsolicitedFilterTest, HoldsOnlyWhatMayStillBeANotice) {
    UnsolicitedFilter filter;
    QList<QByteArray> news;
    EXPECT_EQ(filter.take("\r\nOK\r\n\r\nRI", news), QByteArray("\r\nOK\r\n\r\n"));
    EXPECT_EQ(filter.held(), "RI");
    EXPECT_EQ(filter.take("NGING\r\n", news), QByteArray("RINGING\r\n"));  // not a notice
    EXPECT_TRUE(news.isEmpty());
    EXPECT_EQ(filter.take("> ", news), QByteArray("> "));  // a prompt passes at once
    // A line longer than any notice is passed on without waiting for its end.
    UnsolicitedFilter longLine;
    const QByteArray text = "+CMTI: " + QByteArray(300, 'x');
    EXPECT_EQ(longLine.take(text, news), text);
}

TEST(UnsolicitedFilterTest, NoCarrierIsTheAnswerOfADialUntilItsResult) {
    UnsolicitedFilter filter;
    QList<QByteArray> news;
    filter.commandSent("ATD123;");
    EXPECT_EQ(filter.take("ATD123;\r\r\nNO CARRIER\r\n", news),
              QByteArray("ATD123;\r\r\nNO CARRIER\r\n"));
    EXPECT_TRUE(news.isEmpty());
    // The dial got its result: a later NO CARRIER is news.
    EXPECT_EQ(filter.take("\r\nNO CARRIER\r\n", news), QByteArray("\r\n"));
    filter.commandSent("ATD123;");
    EXPECT_EQ(filter.take("\r\nOK\r\n\r\nNO CARRIER\r\n", news), QByteArray("\r\nOK\r\n\r\n"));
    filter.commandSent("AT+CPBR=1,5");
    filter.take("\r\nNO CARRIER\r\n", news);
    EXPECT_EQ(news, (QList<QByteArray>{"NO CARRIER", "NO CARRIER", "NO CARRIER"}));
}

class LinkNewsTest : public ::testing::Test {
protected:
    LinkNewsTest() {
        auto port = std::make_unique<ScriptedPort>(m_clock);
        m_port = port.get();
        m_link = std::make_unique<AtLink>(std::move(port), m_clock);
        EXPECT_EQ(m_link->OpenPort("/dev/fake"), OpenResult::Ok);
    }

    void runFor(qint64 ms) {
        QEventLoop loop;
        m_clock.callAfter(ms, &loop, [&loop] { loop.quit(); });
        loop.exec();
    }

    QList<QByteArray> received(const QSignalSpy& spy) {
        QList<QByteArray> lines;
        for (const QList<QVariant>& call : spy) {
            lines.append(call.at(0).toByteArray());
        }
        return lines;
    }

    FakeClock m_clock;
    ScriptedPort* m_port = nullptr;
    std::unique_ptr<AtLink> m_link;
};

TEST_F(LinkNewsTest, NoticesWhileIdleReachSubscribersAndNotTheNextAnswer) {
    QSignalSpy spy(m_link.get(), &AtLink::unsolicited);
    m_port->arrive("\r\nRING\r\n\r\n+CLIP: \"+420603123456\",145\r\n");
    m_port->arrive("\r\n+CMTI: \"SM\",");
    runFor(1);
    EXPECT_EQ(received(spy), (QList<QByteArray>{"RING", "+CLIP: \"+420603123456\",145"}));
    m_port->arrive("5\r\n");
    runFor(1);
    EXPECT_EQ(spy.count(), 3);
    EXPECT_EQ(received(spy).last(), "+CMTI: \"SM\",5");

    // A notice that came just before a command is passed on, not dropped
    // with the stale input.
    std::optional<PortLease> lease = m_link->tryAcquire();
    m_port->arrive("\r\nRING\r\n", /*notify=*/false);
    m_port->queueAnswer("AT+CSQ\r\r\n+CSQ: 15,99\r\n\r\nOK\r\n", 5);
    EXPECT_EQ(lease->Exchange("AT+CSQ", 150), QByteArray("AT+CSQ\r\r\n+CSQ: 15,99\r\n\r\nOK\r\n"));
    runFor(1);
    EXPECT_EQ(spy.count(), 4);
}

TEST_F(LinkNewsTest, NoticesDuringACommandStayOutOfItsAnswer) {
    QSignalSpy spy(m_link.get(), &AtLink::unsolicited);
    std::optional<PortLease> lease = m_link->tryAcquire();
    m_port->queueAnswer({Chunk{5, "AT+CMGL=4\r\r\n+CMGL: 1,0,,5\r\n0791\r\n\r\nRI"},
                         Chunk{10, "NG\r\n\r\n+CLIP: \"603\",129\r\n+CMGL: 2,1,,5\r\n0792\r\n"},
                         Chunk{15, "\r\n+CMTI: \"SM\",3\r\n\r\nOK\r\n"}});
    QByteArray answer;
    lease->SendCommand("AT+CMGL=4");
    EXPECT_EQ(lease->CollectUntil(answer, {"OK\r\n"}, 1000), CollectResult::Marker);
    EXPECT_EQ(answer, QByteArray("AT+CMGL=4\r\r\n+CMGL: 1,0,,5\r\n0791\r\n\r\n\r\n"
                                 "+CMGL: 2,1,,5\r\n0792\r\n\r\n\r\nOK\r\n"));
    runFor(1);
    EXPECT_EQ(received(spy), (QList<QByteArray>{"RING", "+CLIP: \"603\",129", "+CMTI: \"SM\",3"}));
}

TEST_F(LinkNewsTest, AClipAnswerOrADialResultIsNoNews) {
    QSignalSpy spy(m_link.get(), &AtLink::unsolicited);
    std::optional<PortLease> lease = m_link->tryAcquire();
    m_port->queueAnswer("AT+CLIP?\r\r\n+CLIP: 1,1\r\n\r\nOK\r\n", 5);
    EXPECT_TRUE(lease->Exchange("AT+CLIP?", 150).contains("+CLIP: 1,1"));
    m_port->queueAnswer("ATD555;\r\r\nNO CARRIER\r\n", 5);
    QByteArray answer;
    lease->SendCommand("ATD555;");
    EXPECT_EQ(lease->CollectUntil(answer, {"OK", "NO CARRIER"}, 1000), CollectResult::Marker);
    EXPECT_TRUE(answer.contains("NO CARRIER"));
    runFor(1);
    EXPECT_EQ(spy.count(), 0);
}

}  // namespace
}  // namespace telvora
