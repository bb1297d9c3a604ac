#include "telvora/link/at_link.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QThread>

#include "tests/telvora/link/scripted_port.h"

namespace telvora {
namespace {

using test::Chunk;
using test::ScriptedPort;

// Generous bounds: a wait that should end early must end well before these.
constexpr int kLongWaitMs = 5000;
constexpr qint64 kEarlyMs = 2500;

class AtLinkTest : public ::testing::Test {
protected:
    AtLinkTest() {
        auto port = std::make_unique<ScriptedPort>();
        m_port = port.get();
        m_link = std::make_unique<AtLink>(std::move(port));
    }

    void openPort() { ASSERT_EQ(m_link->OpenPort("/dev/fake"), OpenResult::Ok); }

    // Lets queued events and timers run for `ms`.
    static void runEventsFor(int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }

    // The test's own hold on the port, taken at first use.
    PortLease& port() {
        if (!m_lease) {
            m_lease = m_link->tryAcquire();
        }
        return *m_lease;
    }

    ScriptedPort* m_port = nullptr;
    std::unique_ptr<AtLink> m_link;
    std::optional<PortLease> m_lease;
};

TEST_F(AtLinkTest, CheckLinkAcceptsOkWithAndWithoutEcho) {
    openPort();
    QSignalSpy connectedSpy(m_link.get(), &AtLink::connectedChanged);
    m_port->queueAnswer("AT\r\r\nOK\r\n", 5);
    EXPECT_EQ(port().CheckLink(), LinkState::Connected);
    EXPECT_TRUE(m_link->Connected());
    m_port->queueAnswer("\r\nOK\r\n", 5);
    EXPECT_EQ(port().CheckLink(), LinkState::Connected);
    EXPECT_EQ(connectedSpy.count(), 1);
    EXPECT_EQ(m_port->written(), (QList<QByteArray>{"AT\r", "AT\r"}));
}

TEST_F(AtLinkTest, CheckLinkFailsOnLowerCaseOrSilence) {
    openPort();
    m_port->queueAnswer("\r\nOK\r\n");
    ASSERT_EQ(port().CheckLink(), LinkState::Connected);
    m_port->queueAnswer("\r\nok\r\n", 5);
    EXPECT_EQ(port().CheckLink(), LinkState::NotConnected);
    EXPECT_FALSE(m_link->Connected());
    EXPECT_EQ(port().CheckLink(), LinkState::NotConnected);  // no answer at all
}

TEST_F(AtLinkTest, CheckLinkOnClosedPortReportsTheOpenFailure) {
    EXPECT_EQ(port().CheckLink(), LinkState::NotConnected);  // never opened
    m_port->setOpenResult(OpenResult::InvalidPort);
    EXPECT_EQ(m_link->OpenPort("/dev/ttyS9"), OpenResult::InvalidPort);
    EXPECT_EQ(port().CheckLink(), LinkState::InvalidPort);
    m_port->setOpenResult(OpenResult::PortInUse);
    EXPECT_EQ(m_link->OpenPort("/dev/ttyS0"), OpenResult::PortInUse);
    EXPECT_EQ(port().CheckLink(), LinkState::PortInUse);
    EXPECT_FALSE(m_link->Connected());
    EXPECT_TRUE(m_port->written().isEmpty());
}

TEST_F(AtLinkTest, ReopenMovesOnlyAnOpenPort) {
    EXPECT_NE(m_link->ReopenPort("/dev/ttyS1"), OpenResult::Ok);
    EXPECT_FALSE(m_link->isOpen());
    openPort();
    EXPECT_EQ(m_link->ReopenPort("/dev/ttyS1"), OpenResult::Ok);
    EXPECT_TRUE(m_link->isOpen());
    m_link->ClosePort();
    EXPECT_FALSE(m_link->isOpen());
}

TEST_F(AtLinkTest, LateAnswerIsNotTakenForTheNextCommand) {
    openPort();
    // The phone answers the check only after its pause has passed.
    m_port->queueAnswer("\r\nOK\r\n", 400);
    EXPECT_EQ(port().CheckLink(), LinkState::NotConnected);
    runEventsFor(600);
    ASSERT_EQ(m_port->pending(), "\r\nOK\r\n");
    // The phone is silent now: the stale OK must not make it connected.
    EXPECT_EQ(port().CheckLink(), LinkState::NotConnected);

    m_port->queueAnswer("\r\n+COPS: 0,0,\"Old\"\r\n\r\nOK\r\n", 400);
    EXPECT_EQ(port().Exchange("AT+COPS?", 150), "");
    runEventsFor(600);
    m_port->queueAnswer("\r\n+CSQ: 15,99\r\n\r\nOK\r\n", 5);
    EXPECT_EQ(port().Exchange("AT+CSQ", 150), "\r\n+CSQ: 15,99\r\n\r\nOK\r\n");
}

TEST_F(AtLinkTest, ExchangeEndsOnceAFinalResultArrives) {
    openPort();
    for (const QByteArray& answer :
         {QByteArray("\r\nOK\r\n"), QByteArray("\r\n+CME ERROR: 10\r\n")}) {
        m_port->queueAnswer({Chunk{5, "AT+CPBS=\"SM\"\r"}, Chunk{20, answer}});
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(port().Exchange("AT+CPBS=\"SM\"", kLongWaitMs), "AT+CPBS=\"SM\"\r" + answer);
        EXPECT_LT(clock.elapsed(), kEarlyMs);
    }
}

TEST_F(AtLinkTest, ExchangeReturnsWhatArrivedWithinItsPause) {
    openPort();
    m_port->queueAnswer({Chunk{5, "\r\n+CSQ: 1"}, Chunk{1000, "5,99\r\n\r\nOK\r\n"}});
    EXPECT_EQ(port().Exchange("AT+CSQ", 150), "\r\n+CSQ: 1");
}

TEST_F(AtLinkTest, SendCommandAppendsCarriageReturnAndDropsWaitingInput) {
    EXPECT_FALSE(port().SendCommand("AT"));  // port not open
    openPort();
    m_port->arrive("\r\nRING\r\n", false);
    EXPECT_TRUE(port().SendCommand("ATH"));
    EXPECT_EQ(m_port->written(), QList<QByteArray>{"ATH\r"});
    EXPECT_EQ(m_port->discards(), 1);
    EXPECT_EQ(port().ReadInput(), "");
    m_port->arrive("\r\nOK\r\n", false);
    EXPECT_EQ(port().ReadInput(), "\r\nOK\r\n");
    EXPECT_EQ(port().ReadInput(), "");
}

TEST_F(AtLinkTest, CollectUntilGathersChunksUpToTheMarker) {
    openPort();
    m_port->queueAnswer({Chunk{5, "AT+CPBR=1,2\r\r\n+CPBR: 1,\"555\",129,\"Jan\"\r\n"},
                         Chunk{30, "+CPBR: 2,\"666\",129,\"Eva\"\r\n\r\nO"}, Chunk{60, "K\r\n"}});
    ASSERT_TRUE(port().SendCommand("AT+CPBR=1,2"));
    QByteArray buffer;
    EXPECT_EQ(port().CollectUntil(buffer, {"OK\r\n"}, kLongWaitMs), CollectResult::Marker);
    EXPECT_TRUE(buffer.startsWith("AT+CPBR=1,2\r\r\n+CPBR: 1,"));
    EXPECT_TRUE(buffer.endsWith("\"Eva\"\r\n\r\nOK\r\n"));
}

TEST_F(AtLinkTest, CollectUntilTakesInputThatArrivedBeforeItStarted) {
    openPort();
    m_port->queueAnswer("\r\nOK\r\n", 5);
    ASSERT_TRUE(port().SendCommand("AT+CMGD=7"));
    port().Pause(100);  // the answer arrives here, unread
    QByteArray buffer;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(port().CollectUntil(buffer, {"OK\r\n"}, kLongWaitMs), CollectResult::Marker);
    EXPECT_LT(clock.elapsed(), kEarlyMs);
    EXPECT_EQ(buffer, "\r\nOK\r\n");
}

TEST_F(AtLinkTest, CollectUntilTimesOutOnSilence) {
    openPort();
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(port().SendCommand("AT+CMGL=1"));
    QByteArray buffer;
    EXPECT_EQ(port().CollectUntil(buffer, {"OK\r\n"}, 50), CollectResult::Timeout);
    EXPECT_GT(clock.elapsed(), 50);  // more than the limit has passed
    EXPECT_TRUE(buffer.isEmpty());
}

TEST_F(AtLinkTest, CollectUntilTestsTheTimeBeforeTheMarkers) {
    openPort();
    ASSERT_TRUE(port().SendCommand("AT+CMGS=16"));
    QThread::msleep(30);  // the limit passes while the answer waits unread
    m_port->arrive("\r\nOK\r\n", false);
    QByteArray buffer;
    EXPECT_EQ(port().CollectUntil(buffer, {"OK\r\n"}, 10), CollectResult::Timeout);
    EXPECT_EQ(buffer, "\r\nOK\r\n");  // appended all the same
}

TEST_F(AtLinkTest, CollectUntilStopsOnPhoneErrorsOnlyWhenAsked) {
    openPort();
    for (const QByteArray& error :
         {QByteArray("\r\nERROR\r\n"), QByteArray("\r\n+CMS ERROR: 304\r\n"),
          QByteArray("\r\n+CME ERROR: 21\r\n")}) {
        SCOPED_TRACE(error.constData());
        m_port->queueAnswer(error, 5);
        ASSERT_TRUE(port().SendCommand("AT*ESOM?"));
        QByteArray buffer;
        EXPECT_EQ(port().CollectUntil(buffer, {"OK\r\n"}, kLongWaitMs), CollectResult::PhoneError);
        EXPECT_EQ(buffer, error);

        m_port->queueAnswer(error, 5);
        ASSERT_TRUE(port().SendCommand("AT*ESOM?"));
        buffer.clear();
        EXPECT_EQ(port().CollectUntil(buffer, {"OK\r\n"}, 100, false), CollectResult::Timeout);
        EXPECT_EQ(buffer, error);
    }
}

TEST_F(AtLinkTest, PromptedDataKeepsTheCommandsAnswerAndPrefersTheCallersMarker) {
    openPort();
    m_port->queueAnswer("AT+CMGS=16\r\r\n> ", 5);
    m_port->queueAnswer("\r\nERROR: 500\r\n", 5);
    ASSERT_TRUE(port().SendCommand("AT+CMGS=16"));
    port().Pause(100);
    ASSERT_TRUE(port().SendData(QByteArray("0011000C91") + '\x1a'));
    EXPECT_EQ(m_port->written().last(), QByteArray("0011000C91") + '\x1a');
    EXPECT_EQ(m_port->discards(), 1);  // only the command discards
    QByteArray buffer;
    EXPECT_EQ(port().CollectUntil(buffer, {"OK\r\n", "ERROR: 500\r\n"}, kLongWaitMs),
              CollectResult::Marker);
    EXPECT_EQ(buffer, "AT+CMGS=16\r\r\n> \r\nERROR: 500\r\n");
}

TEST_F(AtLinkTest, CollectUntilEndsWhenThePortFails) {
    EXPECT_EQ(
        [&] {
            QByteArray buffer;
            return port().CollectUntil(buffer, {"OK\r\n"}, kLongWaitMs);
        }(),
        CollectResult::PortError);
    openPort();
    ASSERT_TRUE(port().SendCommand("AT+CPBR=?"));
    QTimer::singleShot(20, m_port, &ScriptedPort::fail);
    QByteArray buffer;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(port().CollectUntil(buffer, {"OK\r\n"}, kLongWaitMs), CollectResult::PortError);
    EXPECT_LT(clock.elapsed(), kEarlyMs);
}

TEST_F(AtLinkTest, OnlyOneLeaseHoldsThePort) {
    QSignalSpy busySpy(m_link.get(), &AtLink::busyChanged);
    {
        std::optional<PortLease> lease = m_link->tryAcquire();
        ASSERT_TRUE(lease);
        EXPECT_TRUE(m_link->Busy());
        EXPECT_FALSE(m_link->tryAcquire());
        // Moving the lease keeps the port held; only the last owner frees it.
        std::optional<PortLease> moved = std::move(lease);
        lease.reset();
        EXPECT_TRUE(m_link->Busy());
    }
    EXPECT_FALSE(m_link->Busy());
    EXPECT_EQ(busySpy.count(), 2);

    std::optional<PortLease> call = m_link->tryAcquire();
    ASSERT_TRUE(call);
    call->release();
    EXPECT_FALSE(m_link->Busy());
    EXPECT_TRUE(m_link->tryAcquire());
}

}  // namespace
}  // namespace telvora
