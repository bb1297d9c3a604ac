// One command at a time: a command that holds the port through a long,
// multi-part exchange (a listing, a phone-book read, an upload) while the
// signal timer ticks and link checks fire on the same event loop. Every part
// of its answer must reach the command, nothing else may be written to the
// line, and a command whose answer was cut short must not end as a success.
//
// A feature's own command can be run the same way: hold an
// InterferingTicks while it runs against a ScriptedPort on a FakeClock.

#include <gtest/gtest.h>

#include "telvora/core/fake_clock.h"
#include "telvora/link/at_link.h"
#include "telvora/link/timeouts.h"
#include "tests/telvora/link/interfering_ticks.h"
#include "tests/telvora/link/scripted_port.h"

namespace telvora {
namespace {

using test::Chunk;
using test::InterferingTicks;
using test::ScriptedPort;

// One command line and how the phone answers it.
struct Step {
    QByteArray command;
    QList<Chunk> answer;
    int exchangeMs = 0;  // > 0: taken by Exchange with this pause, else by CollectUntil
    int limitMs = timeouts::kShortCommandMs;
};

struct Scenario {
    const char* name;
    QList<Step> steps;
    QList<QByteArray> parts;  // what must arrive, each exactly once
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

// A stand-in for the phone's long commands: runs `steps` under one lease and
// succeeds only when every collected step ended on its final "OK".
bool RunHeld(PortLease& lease, const QList<Step>& steps, QByteArray& answers) {
    for (const Step& step : steps) {
        if (step.exchangeMs > 0) {
            answers += lease.Exchange(step.command, step.exchangeMs);
            continue;
        }
        if (!lease.SendCommand(step.command)) {
            return false;
        }
        QByteArray buffer;
        const CollectResult result = lease.CollectUntil(buffer, {"OK\r\n"}, step.limitMs);
        answers += buffer;
        if (result != CollectResult::Marker) {
            return false;
        }
    }
    return true;
}

QByteArray Pdu(int n) {
    return "0791246080000000040C9124609" + QByteArray::number(n) + "000000000000000000004D4";
}

const Scenario kTwoMessageListing{
    "listing",
    {{"AT+CPMS=\"ME\"", {{8, "\r\n+CPMS: 2,100,2,100,2,100\r\n\r\nOK\r\n"}}},
     {"AT+CMGL=4",
      {{12, "AT+CMGL=4\r\r\n+CMGL: 1,1,,23\r\n" + Pdu(1) + "\r\n"},
       {180, "+CMGL: 2,1,,23\r\n" + Pdu(2) + "\r\n"},
       {240, "\r\nOK\r\n"}},
      0,
      timeouts::kMessageListMs}},
    {"+CMGL: 1,", Pdu(1), "+CMGL: 2,", Pdu(2)},
};

const Scenario kPhoneBookRead{
    "phone-book read",
    {{"AT+CPBS=\"SM\"", {{5, "\r\nOK\r\n"}}, timeouts::kPhoneBookSelectMs},
     {"AT+CPBR=?", {{20, "\r\n+CPBR: (1-250),20,18\r\n\r\nOK\r\n"}}},
     {"AT+CPBR=1,250",
      {{30, "\r\n+CPBR: 1,\"555111\",129,\"Jan\"\r\n"},
       {90, "+CPBR: 2,\"555222\",129,\"Eva\"\r\n"},
       {150, "+CPBR: 7,\"+420555333\",145,\"Petr\"\r\n"},
       {210, "\r\nOK\r\n"}},
      0,
      timeouts::kPhoneBookReadMs}},
    {"\"Jan\"", "\"Eva\"", "\"Petr\"", "(1-250)"},
};

const Scenario kPhoneBookUpload{
    "upload",
    {{"AT+CPBS=\"ME\"", {{5, "\r\nOK\r\n"}}, timeouts::kPhoneBookSelectMs},
     {"AT+CPBW=?", {{25, "\r\n+CPBW: (1-100),40,(129,145),18\r\n\r\nOK\r\n"}}},
     {"AT+CPBW=1,\"555111\",129,\"Jan\"", {{60, "\r\nOK\r\n"}}},
     {"AT+CPBW=2,\"555222\",129,\"Eva\"", {{60, "\r\nOK\r\n"}}},
     {"AT+CPBW=3", {{60, "\r\nOK\r\n"}}}},
    {"(1-100)"},
};

class OneCommandTest : public ::testing::TestWithParam<Scenario> {
protected:
    OneCommandTest() {
        auto port = std::make_unique<ScriptedPort>(m_clock);
        m_port = port.get();
        m_link = std::make_unique<AtLink>(std::move(port), m_clock);
        EXPECT_EQ(m_link->OpenPort("/dev/fake"), OpenResult::Ok);
    }

    void queue(const QList<Step>& steps) {
        for (const Step& step : steps) {
            m_port->queueAnswer(step.answer);
        }
    }

    static QList<QByteArray> Lines(const QList<Step>& steps) {
        QList<QByteArray> lines;
        for (const Step& step : steps) {
            lines << step.command + '\r';
        }
        return lines;
    }

    FakeClock m_clock;
    ScriptedPort* m_port = nullptr;
    std::unique_ptr<AtLink> m_link;
};

TEST_P(OneCommandTest, TicksAndChecksDuringACommandNeitherWriteNorTakeItsAnswer) {
    const Scenario& scenario = GetParam();
    queue(scenario.steps);
    std::optional<PortLease> lease = m_link->tryAcquire();
    ASSERT_TRUE(lease);

    QByteArray answers;
    InterferingTicks ticks(*m_link, m_clock);
    EXPECT_TRUE(RunHeld(*lease, scenario.steps, answers));

    EXPECT_GT(ticks.ticks, 5);  // they really fired in the middle of it
    EXPECT_EQ(ticks.polls, 0);
    EXPECT_EQ(ticks.busyChecks, ticks.checks);
    EXPECT_EQ(m_port->written(), Lines(scenario.steps));
    for (const QByteArray& part : scenario.parts) {
        EXPECT_EQ(answers.count(part), 1) << part.constData();
    }
    lease.reset();
    EXPECT_FALSE(m_link->Busy());
}

TEST_P(OneCommandTest, AnAnswerCutShortIsNoSuccess) {
    // The phone goes away instead of sending the last step's final "OK".
    QList<Step> steps = GetParam().steps;
    Chunk& final = steps.last().answer.last();
    final = Chunk{final.delayMs, {}, true};
    queue(steps);
    std::optional<PortLease> lease = m_link->tryAcquire();

    InterferingTicks ticks(*m_link, m_clock);
    QByteArray answers;
    EXPECT_FALSE(RunHeld(*lease, steps, answers));
    EXPECT_EQ(ticks.polls, 0);
    EXPECT_EQ(m_port->written(), Lines(steps));
}

INSTANTIATE_TEST_SUITE_P(LongCommands, OneCommandTest,
                         ::testing::Values(kTwoMessageListing, kPhoneBookRead, kPhoneBookUpload),
                         [](const ::testing::TestParamInfo<Scenario>& info) {
                             QByteArray name = info.param.name;
                             name.replace(' ', '_').replace('-', '_');
                             return std::string(name.constData());
                         });

// The fault this guards against: a check that did not honour the lease took
// the listing's "OK" as its own and left the listing one message short.
TEST(OneCommandAtATime, ACheckDuringAListingWritesNothing) {
    FakeClock clock;
    auto owned = std::make_unique<ScriptedPort>(clock);
    ScriptedPort& port = *owned;
    AtLink link(std::move(owned), clock);
    ASSERT_EQ(link.OpenPort("/dev/fake"), OpenResult::Ok);
    port.queueAnswer({{10, "\r\n+CMGL: 1,1,,23\r\n" + Pdu(1) + "\r\n"},
                      {300, "+CMGL: 2,1,,23\r\n" + Pdu(2) + "\r\n\r\nOK\r\n"}});
    std::optional<PortLease> listing = link.tryAcquire();
    ASSERT_TRUE(listing->SendCommand("AT+CMGL=4"));
    std::optional<LinkState> check;
    clock.callAfter(100, nullptr, [&] { check = link.CheckLink(); });
    QByteArray buffer;
    EXPECT_EQ(listing->CollectUntil(buffer, {"OK\r\n"}, timeouts::kMessageListMs),
              CollectResult::Marker);
    EXPECT_EQ(check, LinkState::PortBusy);
    EXPECT_EQ(buffer.count("+CMGL:"), 2);
    EXPECT_EQ(port.written(), QList<QByteArray>{"AT+CMGL=4\r"});
}

}  // namespace
}  // namespace telvora
