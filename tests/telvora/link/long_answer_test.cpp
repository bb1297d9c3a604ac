// Long answers and cancelled commands on a scripted port and a fake clock:
// a wait follows the phone (it ends when the phone falls silent, however
// long the answer flows), the cap is a last resort, and a cancelled command
// ends at once without the port being pulled from under it.

#include <gtest/gtest.h>
#include <QSignalSpy>

#include "telvora/core/fake_clock.h"
#include "telvora/link/at_link.h"
#include "telvora/link/timeouts.h"
#include "tests/telvora/link/scripted_port.h"

namespace telvora {
namespace {

using test::Chunk;
using test::ScriptedPort;

class LongAnswerTest : public ::testing::Test {
protected:
    LongAnswerTest() {
        auto port = std::make_unique<ScriptedPort>(m_clock);
        m_port = port.get();
        m_link = std::make_unique<AtLink>(std::move(port), m_clock);
        EXPECT_EQ(m_link->OpenPort("/dev/fake"), OpenResult::Ok);
    }

    // `count` chunks of `bytes`, one every `everyMs`, then (optionally) the final OK.
    static QList<Chunk> Trickle(int count, int everyMs, const QByteArray& bytes, bool ok) {
        QList<Chunk> chunks;
        for (int i = 1; i <= count; ++i) {
            chunks.append({i * everyMs, bytes});
        }
        if (ok) {
            chunks.append({count * everyMs + 1, "\r\nOK\r\n"});
        }
        return chunks;
    }

    FakeClock m_clock;
    ScriptedPort* m_port = nullptr;
    std::unique_ptr<AtLink> m_link;
};

const AnswerBounds kListing{timeouts::kSilenceMs, 300000};

TEST_F(LongAnswerTest, AnswerThatKeepsFlowingIsNeverCutBeforeItsCap) {
    // 90 s of output, a piece every 2 s: far beyond a fixed 60-second limit.
    std::optional<PortLease> lease = m_link->tryAcquire();
    m_port->queueAnswer(Trickle(45, 2000, "+CMGL: 1,1,,159\r\n07914\r\n", true));
    ASSERT_TRUE(lease->SendCommand("AT+CMGL=1"));
    QByteArray buffer;
    EXPECT_EQ(lease->CollectUntil(buffer, {"OK\r\n"}, kListing), CollectResult::Marker);
    EXPECT_EQ(m_clock.nowMs(), 90001);
    EXPECT_EQ(buffer.count("+CMGL:"), 45);
}

TEST_F(LongAnswerTest, PhoneFallingSilentEndsTheWaitAfterTheSilenceBound) {
    std::optional<PortLease> lease = m_link->tryAcquire();
    // Five records, then nothing: the phone died in the middle of its answer.
    m_port->queueAnswer(Trickle(5, 40, "+CPBR: 1,\"555\",129,\"Jan\"\r\n", false));
    ASSERT_TRUE(lease->SendCommand("AT+CPBR=1,250"));
    QByteArray buffer;
    EXPECT_EQ(lease->CollectUntil(buffer, {"OK\r\n"}, kListing), CollectResult::Timeout);
    EXPECT_EQ(m_clock.nowMs(), 200 + timeouts::kSilenceMs);  // 10 s after the last byte
    EXPECT_EQ(buffer.count("+CPBR:"), 5);

    // Silence from the start counts from the command.
    const qint64 start = m_clock.nowMs();
    ASSERT_TRUE(lease->SendCommand("AT+CPBR=1,250"));
    buffer.clear();
    EXPECT_EQ(lease->CollectUntil(buffer, {"OK\r\n"}, kListing), CollectResult::Timeout);
    EXPECT_EQ(m_clock.nowMs() - start, timeouts::kSilenceMs);
}

TEST_F(LongAnswerTest, CapEndsAPhoneThatNeverStops) {
    std::optional<PortLease> lease = m_link->tryAcquire();
    m_port->queueAnswer(Trickle(100, 1000, "noise", false));
    ASSERT_TRUE(lease->SendCommand("AT+CMGL=4"));
    QByteArray buffer;
    EXPECT_EQ(lease->CollectUntil(buffer, {"OK\r\n"}, AnswerBounds{timeouts::kSilenceMs, 30000}),
              CollectResult::Timeout);
    EXPECT_EQ(m_clock.nowMs(), 30000);
}

TEST(LongAnswerCap, FollowsTheExpectedLengthAtNineThousandSixHundredBaud) {
    // 170 listed messages of 400 characters take 70.8 s at 960 characters a second.
    const int cap =
        timeouts::LongAnswerCapMs(170LL * timeouts::kListedMessageChars, timeouts::kMessageListMs);
    EXPECT_GE(cap, 170 * timeouts::kListedMessageChars * 1000 / 960);
    EXPECT_EQ(timeouts::LongAnswerCapMs(1, timeouts::kMessageListMs), timeouts::kMessageListMs);
    EXPECT_EQ(timeouts::LongAnswerCapMs(1LL << 40, 0), 0x7fffffff);
}

TEST_F(LongAnswerTest, CancelEndsTheWaitAndEveryLaterWaitOfTheCommand) {
    std::optional<PortLease> lease = m_link->tryAcquire();
    QSignalSpy cancelSpy(m_link.get(), &AtLink::cancelRequested);
    m_port->queueAnswer(Trickle(50, 1000, "+CMGL: 1\r\n", true));
    ASSERT_TRUE(lease->SendCommand("AT+CMGL=1"));
    m_clock.callAfter(200, m_port, [this] { m_link->cancel(); });
    QByteArray buffer;
    EXPECT_EQ(lease->CollectUntil(buffer, {"OK\r\n"}, kListing), CollectResult::Cancelled);
    EXPECT_EQ(m_clock.nowMs(), 200);
    EXPECT_TRUE(lease->cancelled());
    m_link->cancel();  // asked twice, said once
    EXPECT_EQ(cancelSpy.count(), 1);

    // The command may still put the phone back, but waits no more.
    EXPECT_TRUE(lease->SendCommand("AT+CSCS=\"GSM\""));
    EXPECT_EQ(lease->CollectUntil(buffer, {"OK\r\n"}, 5000), CollectResult::Cancelled);
    lease->Pause(3000);
    EXPECT_TRUE(lease->Exchange("AT", 150).isEmpty());
    EXPECT_EQ(m_clock.nowMs(), 200);

    // The next command starts afresh; cancelling while nothing runs does nothing.
    lease.reset();
    m_link->cancel();
    std::optional<PortLease> next = m_link->tryAcquire();
    EXPECT_FALSE(next->cancelled());
    m_port->queueAnswer("\r\nOK\r\n", 5);
    EXPECT_EQ(next->CheckLink(), LinkState::Connected);
}

TEST_F(LongAnswerTest, PortIsNeitherClosedNorMovedUnderARunningCommand) {
    std::optional<PortLease> lease = m_link->tryAcquire();
    m_port->queueAnswer(Trickle(50, 1000, "+CPBR: 1\r\n", true));
    ASSERT_TRUE(lease->SendCommand("AT+CPBR=1,250"));
    // Exit 200 ms into the read: the command is cancelled, the port stays
    // open until the command gave it back.
    m_clock.callAfter(200, m_port, [this] { m_link->ClosePort(); });
    QByteArray buffer;
    EXPECT_EQ(lease->CollectUntil(buffer, {"OK\r\n"}, kListing), CollectResult::Cancelled);
    EXPECT_EQ(m_clock.nowMs(), 200);
    EXPECT_TRUE(m_link->isOpen());
    EXPECT_EQ(m_link->OpenPort("/dev/other"), OpenResult::PortInUse);
    EXPECT_EQ(m_port->device(), "/dev/fake");
    lease.reset();
    EXPECT_FALSE(m_link->isOpen());
    EXPECT_TRUE(m_link->device().isEmpty());
    // A check finds it closed on purpose and does not open it again.
    EXPECT_EQ(m_link->CheckLink(), LinkState::NotConnected);
    EXPECT_FALSE(m_link->isOpen());
}

TEST(PortLeaseMove, LeaseMovedIntoGivesBackWhatItHeld) {
    FakeClock clock;
    AtLink first(std::make_unique<ScriptedPort>(clock), clock);
    AtLink second(std::make_unique<ScriptedPort>(clock), clock);
    std::optional<PortLease> held = first.tryAcquire();
    std::optional<PortLease> other = second.tryAcquire();
    *held = std::move(*other);
    EXPECT_FALSE(first.Busy());
    EXPECT_TRUE(second.Busy());
    EXPECT_TRUE(held->holds());
    EXPECT_FALSE(other->holds());
    other.reset();
    EXPECT_TRUE(second.Busy());
    held.reset();
    EXPECT_FALSE(second.Busy());
}

}  // namespace
}  // namespace telvora
