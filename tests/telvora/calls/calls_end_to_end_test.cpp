// Dial, hang-up and the network poll against the simulator program on a
// pseudo-terminal, through the serial port as with a real phone.

#include <gtest/gtest.h>

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
    test::SimulatorProcess simulator({"--latency", "5"});
    auto link = simulator.openLink();
    ASSERT_TRUE(test::ConnectWithinThreeChecks(*link));
    test::FakeMessageBoxes boxes;
    PhoneCall call(*link, boxes, Language::English);

    ASSERT_EQ(call.Dial(QStringLiteral("603123456")), PhoneCall::DialResult::CallUp);
    EXPECT_EQ(call.HangUp(), PhoneCall::HangUpResult::HungUp);
    EXPECT_FALSE(ListedCall(*link).contains("+CLCC:"));
    EXPECT_TRUE(boxes.shown.isEmpty());

    std::optional<NetworkStatus> status;
    for (int i = 0; i < 3 && !status; ++i) {
        status = PollNetworkStatus(*link, {});
    }
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
