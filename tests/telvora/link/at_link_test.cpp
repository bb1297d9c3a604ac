// The link's exchange rules against a scripted port, on a fake clock: every
// time below is exact, and long limits pass without waiting.

#include "telvora/link/at_link.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QSignalSpy>

#include "telvora/core/fake_clock.h"
#include "telvora/link/timeouts.h"
#include "tests/telvora/link/scripted_port.h"

namespace telvora {
namespace {

using test::Chunk;
using test::ScriptedPort;

class AtLinkTest : public ::testing::Test {
protected:
    AtLinkTest() {
        auto port = std::make_unique<ScriptedPort>(m_clock);
        m_port = port.get();
        m_link = std::make_unique<AtLink>(std::move(port), m_clock);
    }

    // The port is opened and closed only while no lease holds it.
    void openPort() {
        m_lease.reset();
        ASSERT_EQ(m_link->OpenPort("/dev/fake"), OpenResult::Ok);
    }

    // Runs the event loop for `ms` of the fake clock.
    void runFor(qint64 ms) {
        QEventLoop loop;
        m_clock.callAfter(ms, &loop, [&loop] { loop.quit(); });
        loop.exec();
    }

    // The test's own hold on the port, taken at first use.
    PortLease& port() {
        if (!m_lease) {
            m_lease = m_link->tryAcquire();
        }
        return *m_lease;
    }

    // Milliseconds the fake clock moved during `run`.
    template <typename Run>
    qint64 took(Run run) {
        const qint64 start = m_clock.nowMs();
        run();
        return m_clock.nowMs() - start;
    }

    FakeClock m_clock;
    ScriptedPort* m_port = nullptr;
    std::unique_ptr<AtLink> m_link;
    std::optional<PortLease> m_lease;
};

TEST_F(AtLinkTest, CheckLinkAcceptsOkWithAndWithoutEcho) {
    openPort();
    QSignalSpy connectedSpy(m_link.get(), &AtLink::connectedChanged);
    m_port->queueAnswer("AT\r\r\nOK\r\n", 5);
    EXPECT_EQ(took([&] { EXPECT_EQ(port().CheckLink(), LinkState::Connected); }), 5);
    EXPECT_TRUE(m_link->Connected());
    m_port->queueAnswer("\r\nOK\r\n", 150);  // the last millisecond of the pause still counts
    EXPECT_EQ(port().CheckLink(), LinkState::Connected);
    EXPECT_EQ(connectedSpy.count(), 1);
    EXPECT_EQ(m_port->written(), (QList<QByteArray>{"AT\r", "AT\r"}));
}

TEST_F(AtLinkTest, CheckLinkFailsOnLowerCaseSilenceOrLateness) {
    openPort();
    m_port->queueAnswer("\r\nOK\r\n");
    ASSERT_EQ(port().CheckLink(), LinkState::Connected);
    m_port->queueAnswer("\r\nok\r\n", 5);
    EXPECT_EQ(took([&] { EXPECT_EQ(port().CheckLink(), LinkState::NotConnected); }), 150);
    EXPECT_FALSE(m_link->Connected());
    EXPECT_EQ(port().CheckLink(), LinkState::NotConnected);  // no answer at all
    m_port->queueAnswer("\r\nOK\r\n", 151);
    EXPECT_EQ(port().CheckLink(), LinkState::NotConnected);
}

TEST_F(AtLinkTest, CheckLinkOnClosedPortReportsTheOpenFailure) {
    EXPECT_EQ(port().CheckLink(), LinkState::NotConnected);  // never opened
    m_port->setOpenResult(OpenResult::InvalidPort);
    m_lease.reset();
    EXPECT_EQ(m_link->OpenPort("/dev/ttyS9"), OpenResult::InvalidPort);
    EXPECT_EQ(port().CheckLink(), LinkState::InvalidPort);
    m_port->setOpenResult(OpenResult::PortInUse);
    m_lease.reset();
    EXPECT_EQ(m_link->OpenPort("/dev/ttyS0"), OpenResult::PortInUse);
    EXPECT_EQ(port().CheckLink(), LinkState::PortInUse);
    EXPECT_FALSE(m_link->Connected());
    EXPECT_TRUE(m_port->written().isEmpty());
}

TEST_F(AtLinkTest, CheckLinkOpensAgainAPortThatWentAway) {
    openPort();
    m_port->queueAnswer("\r\nOK\r\n", 5);
    ASSERT_EQ(port().CheckLink(), LinkState::Connected);
    m_port->fail();  // cable pulled
    EXPECT_FALSE(m_link->Connected());
    EXPECT_FALSE(m_link->isOpen());

    m_port->setOpenResult(OpenResult::InvalidPort);  // still away
    EXPECT_EQ(port().CheckLink(), LinkState::InvalidPort);
    m_port->setOpenResult(OpenResult::Ok);  // back
    m_port->queueAnswer("\r\nOK\r\n", 5);
    EXPECT_EQ(port().CheckLink(), LinkState::Connected);
    EXPECT_EQ(m_port->device(), "/dev/fake");

    // A port closed on purpose stays closed.
    m_lease.reset();
    m_link->ClosePort();
    EXPECT_EQ(port().CheckLink(), LinkState::NotConnected);
    EXPECT_FALSE(m_link->isOpen());
}

TEST_F(AtLinkTest, OpenPortMovesTheLinkWhateverTheOldPortsState) {
    m_port->setOpenResult(OpenResult::InvalidPort);
    EXPECT_EQ(m_link->OpenPort("/dev/ttyS3"), OpenResult::InvalidPort);
    EXPECT_FALSE(m_link->isOpen());
    m_port->setOpenResult(OpenResult::Ok);
    EXPECT_EQ(m_link->OpenPort("/dev/ttyS1"), OpenResult::Ok);
    EXPECT_EQ(m_link->device(), "/dev/ttyS1");
    EXPECT_EQ(m_link->OpenPort("/dev/ttyS2"), OpenResult::Ok);
    EXPECT_EQ(m_port->device(), "/dev/ttyS2");
    m_link->ClosePort();
    EXPECT_FALSE(m_link->isOpen());
    EXPECT_TRUE(m_link->device().isEmpty());
}

TEST_F(AtLinkTest, LateAnswerIsNotTakenForTheNextCommand) {
    openPort();
    // The phone answers the check only after its pause has passed.
    m_port->queueAnswer("\r\nOK\r\n", 400);
    EXPECT_EQ(port().CheckLink(), LinkState::NotConnected);
    runFor(600);
    ASSERT_EQ(m_link->unreadBytes(), 6);
    // The phone is silent now: the stale OK must not make it connected.
    EXPECT_EQ(port().CheckLink(), LinkState::NotConnected);

    m_port->queueAnswer("\r\n+COPS: 0,0,\"Old\"\r\n\r\nOK\r\n", 400);
    EXPECT_EQ(port().Exchange("AT+COPS?", 150), "");
    runFor(600);
    m_port->queueAnswer("\r\n+CSQ: 15,99\r\n\r\nOK\r\n", 5);
    EXPECT_EQ(port().Exchange("AT+CSQ", 150), "\r\n+CSQ: 15,99\r\n\r\nOK\r\n");
}

TEST_F(AtLinkTest, ExchangeEndsOnceAFinalResultArrives) {
    openPort();
    for (const QByteArray& answer :
         {QByteArray("\r\nOK\r\n"), QByteArray("\r\n+CME ERROR: 10\r\n")}) {
        m_port->queueAnswer({Chunk{5, "AT+CPBS=\"SM\"\r"}, Chunk{20, answer}});
        EXPECT_EQ(took([&] {
                      EXPECT_EQ(port().Exchange("AT+CPBS=\"SM\"", 5000),
                                "AT+CPBS=\"SM\"\r" + answer);
                  }),
                  20);
    }
}

TEST_F(AtLinkTest, ExchangeReturnsWhatArrivedWithinItsPause) {
    openPort();
    m_port->queueAnswer({Chunk{5, "\r\n+CSQ: 1"}, Chunk{151, "5,99\r\n\r\nOK\r\n"}});
    EXPECT_EQ(took([&] { EXPECT_EQ(port().Exchange("AT+CSQ", 150), "\r\n+CSQ: 1"); }), 150);
}

TEST_F(AtLinkTest, SendCommandAppendsCarriageReturnAndDropsWaitingInput) {
    EXPECT_FALSE(port().SendCommand("AT"));  // port not open
    openPort();
    m_port->arrive("\r\nRING\r\n", false);
    m_port->arrive("\r\n+CLIP: \"555\"\r\n");  // read while no command waits
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
    EXPECT_EQ(took([&] {
                  EXPECT_EQ(port().CollectUntil(buffer, {"OK\r\n"}, timeouts::kPhoneBookReadMs),
                            CollectResult::Marker);
              }),
              60);
    EXPECT_TRUE(buffer.startsWith("AT+CPBR=1,2\r\r\n+CPBR: 1,"));
    EXPECT_TRUE(buffer.endsWith("\"Eva\"\r\n\r\nOK\r\n"));
}

TEST_F(AtLinkTest, CollectUntilTakesInputThatArrivedBeforeItStarted) {
    openPort();
    m_port->queueAnswer("\r\nOK\r\n", 5);
    ASSERT_TRUE(port().SendCommand("AT+CMGD=7"));
    port().Pause(100);  // the answer arrives here, unread
    QByteArray buffer;
    EXPECT_EQ(took([&] {
                  EXPECT_EQ(port().CollectUntil(buffer, {"OK\r\n"}, timeouts::kShortCommandMs),
                            CollectResult::Marker);
              }),
              0);
    EXPECT_EQ(buffer, "\r\nOK\r\n");
}

TEST_F(AtLinkTest, CollectUntilTimesOutOnlyWhenMoreThanTheLimitHasPassed) {
    openPort();
    for (int limit : {50, timeouts::kSmsSendMs, timeouts::kMessageListMs}) {
        ASSERT_TRUE(port().SendCommand("AT+CMGL=1"));
        QByteArray buffer;
        EXPECT_EQ(took([&] {
                      EXPECT_EQ(port().CollectUntil(buffer, {"OK\r\n"}, limit),
                                CollectResult::Timeout);
                  }),
                  limit + 1);
        EXPECT_TRUE(buffer.isEmpty());
    }
    // No positive limit: the default bound.
    ASSERT_TRUE(port().SendCommand("AT+CMGL=4"));
    QByteArray buffer;
    EXPECT_EQ(took([&] { port().CollectUntil(buffer, {"OK\r\n"}, 0); }),
              timeouts::kDefaultCollectMs + 1);
    // The answer that arrives in the limit's last millisecond is in time.
    m_port->queueAnswer("\r\nOK\r\n", timeouts::kSmsSendMs);
    ASSERT_TRUE(port().SendData(QByteArray("0011") + '\x1a'));
    EXPECT_EQ(port().CollectUntil(buffer, {"OK\r\n"}, timeouts::kSmsSendMs), CollectResult::Marker);
}

TEST_F(AtLinkTest, CollectUntilTestsTheTimeBeforeTheMarkers) {
    openPort();
    ASSERT_TRUE(port().SendCommand("AT+CMGS=16"));
    m_clock.advance(11);  // the limit passes while the answer waits unread
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
        EXPECT_EQ(port().CollectUntil(buffer, {"OK\r\n"}, timeouts::kRingToneMs),
                  CollectResult::PhoneError);
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
    port().Pause(150);
    ASSERT_TRUE(port().SendData(QByteArray("0011000C91") + '\x1a'));
    EXPECT_EQ(m_port->written().last(), QByteArray("0011000C91") + '\x1a');
    EXPECT_EQ(m_port->discards(), 1);  // only the command discards
    QByteArray buffer;
    EXPECT_EQ(port().CollectUntil(buffer, {"OK\r\n", "ERROR: 500\r\n"}, timeouts::kSmsSendMs),
              CollectResult::Marker);
    EXPECT_EQ(buffer, "AT+CMGS=16\r\r\n> \r\nERROR: 500\r\n");
}

TEST_F(AtLinkTest, CollectUntilEndsWhenThePortFails) {
    EXPECT_EQ(
        [&] {
            QByteArray buffer;
            return port().CollectUntil(buffer, {"OK\r\n"}, 5000);
        }(),
        CollectResult::PortError);
    openPort();
    ASSERT_TRUE(port().SendCommand("AT+CPBR=?"));
    m_clock.callAfter(20, m_port, [this] { m_port->fail(); });
    QByteArray buffer;
    EXPECT_EQ(took([&] {
                  EXPECT_EQ(port().CollectUntil(buffer, {"OK\r\n"}, timeouts::kShortCommandMs),
                            CollectResult::PortError);
              }),
              20);
}

TEST_F(AtLinkTest, WaitCutShortByTheProgramsEndIsNoSuccess) {
    // The window is closed in the middle of a listing: the application
    // leaves every event loop, the wait's included.
    openPort();
    std::optional<CollectResult> result;
    m_clock.callAfter(0, nullptr, [&] {
        ASSERT_TRUE(port().SendCommand("AT+CMGL=4"));
        QByteArray buffer;
        result = port().CollectUntil(buffer, {"OK\r\n"}, timeouts::kMessageListMs);
    });
    m_clock.callAfter(30, nullptr, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    EXPECT_EQ(result, CollectResult::PortError);
}

TEST_F(AtLinkTest, InputIsBoundedWhateverTheDeviceSends) {
    openPort();
    // A device streaming while no command waits: only the newest bytes stay.
    const QByteArray block(4096, 'x');
    for (int i = 0; i < 100; ++i) {
        m_port->arrive(block);
    }
    m_port->arrive("tail");
    EXPECT_EQ(m_link->unreadBytes(), AtLink::kMaxUnreadBytes);
    EXPECT_TRUE(port().ReadInput().endsWith("xxtail"));
    EXPECT_EQ(m_link->unreadBytes(), 0);

    // The same during a wait: the answer keeps its newest part and the wait
    // still ends on the marker.
    ASSERT_TRUE(port().SendCommand("AT+CMGL=4"));
    const QByteArray big(64 * 1024, 'x');
    for (int i = 1; i <= 20; ++i) {
        m_clock.callAfter(i, m_port, [this, big] { m_port->arrive(big); });
    }
    m_clock.callAfter(21, m_port, [this] { m_port->arrive("\r\nOK\r\n"); });
    QByteArray buffer;
    EXPECT_EQ(port().CollectUntil(buffer, {"OK\r\n"}, timeouts::kMessageListMs),
              CollectResult::Marker);
    EXPECT_EQ(buffer.size(), AtLink::kMaxAnswerBytes);
    EXPECT_TRUE(buffer.endsWith("x\r\nOK\r\n"));
}

TEST_F(AtLinkTest, OnlyOneLeaseHoldsThePort) {
    QSignalSpy busySpy(m_link.get(), &AtLink::busyChanged);
    {
        std::optional<PortLease> lease = m_link->tryAcquire();
        ASSERT_TRUE(lease);
        EXPECT_TRUE(m_link->Busy());
        EXPECT_FALSE(m_link->tryAcquire());
        EXPECT_EQ(m_link->CheckLink(), LinkState::PortBusy);
        // Moving the lease keeps the port held; only the last owner frees it.
        std::optional<PortLease> moved = std::move(lease);
        lease.reset();
        EXPECT_TRUE(m_link->Busy());
        EXPECT_EQ(&moved->clock(), &m_clock);
    }
    EXPECT_FALSE(m_link->Busy());
    EXPECT_EQ(busySpy.count(), 2);

    std::optional<PortLease> call = m_link->tryAcquire();
    ASSERT_TRUE(call);
    call->release();
    EXPECT_FALSE(m_link->Busy());
    openPort();
    EXPECT_FALSE(call->SendCommand("ATH"));  // a released lease writes nothing
    EXPECT_TRUE(m_port->written().isEmpty());
    EXPECT_TRUE(m_link->tryAcquire());
}

TEST_F(AtLinkTest, ExchangeLaterAnswersFromTheEventLoopWithoutBlocking) {
    openPort();
    std::optional<PortLease> job = m_link->tryAcquireInBackground();
    ASSERT_TRUE(job);
    EXPECT_TRUE(m_link->Busy());
    EXPECT_FALSE(m_link->commandRunning());
    m_port->queueAnswer({Chunk{3, "AT+CSQ\r\r\n+CSQ: 17,99\r\n"}, Chunk{5, "OK\r\n"}});
    QList<QByteArray> answers;
    QObject context;
    job->ExchangeLater("AT+CSQ", 150, &context, [&](const QByteArray& a) { answers << a; });
    EXPECT_TRUE(answers.isEmpty());  // never from inside the call
    EXPECT_EQ(took([&] { runFor(100); }), 100);
    ASSERT_EQ(answers.size(), 1);
    EXPECT_EQ(answers[0], "AT+CSQ\r\r\n+CSQ: 17,99\r\nOK\r\n");

    // A silent phone: the answer is what arrived when the pause is over.
    const qint64 sent = m_clock.nowMs();
    qint64 answeredAt = -1;
    job->ExchangeLater("AT+COPS?", 150, &context, [&](const QByteArray& a) {
        answers << a;
        answeredAt = m_clock.nowMs();
    });
    runFor(400);
    ASSERT_EQ(answers.size(), 2);
    EXPECT_TRUE(answers[1].isEmpty());
    EXPECT_EQ(answeredAt - sent, 150);
    // Idle input is kept again once the wait is over.
    m_port->arrive("late\r\n");
    EXPECT_GT(m_link->unreadBytes(), 0);
}

TEST_F(AtLinkTest, CommandTakesThePortFromABackgroundJobAfterItsStep) {
    openPort();
    QObject context;
    std::optional<PortLease> job = m_link->tryAcquireInBackground();
    ASSERT_TRUE(job);
    EXPECT_FALSE(m_link->tryAcquireInBackground());  // one holder at a time
    m_port->queueAnswer("AT\r\r\nOK\r\n", 20);
    bool gaveBack = false;
    job->ExchangeLater("AT", 150, &context, [&](const QByteArray&) {
        if (job->yieldRequested()) {
            gaveBack = true;
            job.reset();
        }
    });
    std::optional<PortLease> command;
    EXPECT_EQ(took([&] { command = m_link->tryAcquire(); }), 20);  // the step in flight ends
    EXPECT_TRUE(gaveBack);
    ASSERT_TRUE(command);
    EXPECT_TRUE(m_link->commandRunning());
    EXPECT_FALSE(m_link->tryAcquireInBackground());
    command.reset();

    // A job that does not give the port back keeps it; the command is
    // refused after a bounded wait.
    std::optional<PortLease> stuck = m_link->tryAcquireInBackground();
    ASSERT_TRUE(stuck);
    EXPECT_EQ(took([&] { EXPECT_FALSE(m_link->tryAcquire()); }), timeouts::kBackgroundYieldMs);
}

}  // namespace
}  // namespace telvora
