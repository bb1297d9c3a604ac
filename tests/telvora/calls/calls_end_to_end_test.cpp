// Dial, hang-up and the network poll against the simulated phone: in this
// process on a fake clock, and as the simulator program on a
// pseudo-terminal, through the serial port as with a real phone.

#include <gtest/gtest.h>

#include "telvora/core/fake_clock.h"
#include "telvora/demophone/phonesim_port.h"

#include "telvora/calls/network_poll.h"
#include "telvora/calls/phone_call.h"
#include "tests/telvora/calls/simulator_process.h"
#include "tests/telvora/shell/shell_fakes.h"

namespace telvora {
namespace {

// The active call as the phone lists it ("AT+CLCC").
QByteArray ListedCall(AtLink& link) {
    auto lease = link.tryAcquire();
    return lease ? lease->Exchange("AT+CLCC", 5000) : QByteArray("<port held>");
}

TEST(CallsEndToEnd, DialHangUpAndPoll) {
    // The simulated phone in this process, with its answers 5 ms late on a
    // fake clock: the link check's 150 ms hold however loaded the machine is.
    FakeClock clock;
    phonesim::PhoneState state = phonesim::demoPhoneState();
    state.options.latencyMs = 5;
    auto port = std::make_unique<phonesim::PhoneSimPort>(std::move(state));
    port->setClock(clock);
    AtLink link(std::move(port), clock);
    ASSERT_EQ(link.OpenPort(QStringLiteral("/dev/ttyS0")), OpenResult::Ok);
    ASSERT_EQ(link.CheckLink(), LinkState::Connected);
    test::FakeMessageBoxes boxes;
    PhoneCall call(link, boxes, Language::English);

    ASSERT_EQ(call.Dial(QStringLiteral("603123456")), PhoneCall::DialResult::CallUp);
    EXPECT_EQ(call.HangUp(), PhoneCall::HangUpResult::HungUp);
    EXPECT_FALSE(ListedCall(link).contains("+CLCC:"));
    EXPECT_TRUE(boxes.shown.isEmpty());

    const std::optional<NetworkStatus> status = PollNetworkStatus(link, {});
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(SignalCaption(*status), QStringLiteral("T-Mobile CZ\n| ") +
                                          QString(18, QLatin1Char('|')) +
                                          QString(13, QLatin1Char('\'')) + QStringLiteral(" |"));
}

TEST(CallsEndToEnd, RefusedDialIsReported) {
    test::SimulatorProcess simulator({"--fault", "ATD=error"});
    auto link = simulator.openLink();
    ASSERT_TRUE(test::ConnectWithinThreeChecks(*link));
    test::FakeMessageBoxes boxes;
    PhoneCall call(*link, boxes, Language::Czech);
    EXPECT_EQ(call.Dial(QStringLiteral("603123456")), PhoneCall::DialResult::Failed);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, UiText(Language::Czech, 45));
    EXPECT_FALSE(link->Busy());
}

}  // namespace
}  // namespace telvora
