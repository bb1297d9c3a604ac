// Dialing, hanging up and polling the network, against the in-process
// simulated phone (real answers, injected faults) and a scripted port where
// what was written matters.

#include <gtest/gtest.h>
#include <QTimer>

#include "telvora/calls/network_poll.h"
#include "telvora/calls/phone_call.h"
#include "telvora/core/fake_clock.h"
#include "telvora/demophone/phonesim_port.h"
#include "tests/telvora/calls/scripted_phone.h"
#include "tests/telvora/shell/shell_fakes.h"

namespace telvora {
namespace {

using phonesim::FaultKind;
using test::FakeMessageBoxes;

// A link to a simulated phone; `port` stays reachable for faults and state.
struct SimulatedPhoneRig {
    SimulatedPhoneRig() {
        auto owned = std::make_unique<phonesim::PhoneSimPort>(phonesim::demoPhoneState());
        port = owned.get();
        link = std::make_unique<AtLink>(std::move(owned));
        link->OpenPort(QStringLiteral("demo"));
    }
    void fault(const char* command, FaultKind kind, int arg = -1) {
        port->phone().addFault({QByteArray(command), kind, arg});
    }
    QStringList texts() const {
        QStringList shown;
        for (const auto& box : boxes.shown) {
            shown << box.text;
        }
        return shown;
    }
    const phonesim::CallState& call() const { return port->phone().state().call; }

    phonesim::PhoneSimPort* port;
    std::unique_ptr<AtLink> link;
    FakeMessageBoxes boxes;
};

QString Text(int n) {
    return UiText(Language::English, n);
}

TEST(PhoneCall, PastedTextThatIsNoNumberNeverReachesTheLine) {
    SimulatedPhoneRig rig;
    PhoneCall call(*rig.link, rig.boxes, Language::English);
    for (const char* pasted : {"603\rATH", "603 123", "call me", "", "+"}) {
        EXPECT_EQ(call.Dial(QString::fromLatin1(pasted)), PhoneCall::DialResult::BadNumber)
            << pasted;
    }
    EXPECT_FALSE(rig.call().active);
    EXPECT_FALSE(rig.link->Busy());
    EXPECT_EQ(rig.texts(), QStringList(5, Text(170)));
    EXPECT_EQ(call.Dial(QStringLiteral("+420603123456")), PhoneCall::DialResult::CallUp);
}

TEST(PhoneCall, DialAnsweredOkKeepsThePortUntilHangUp) {
    SimulatedPhoneRig rig;
    PhoneCall call(*rig.link, rig.boxes, Language::English);
    int dialing = 0;
    QObject::connect(&call, &PhoneCall::dialing, [&] { ++dialing; });

    EXPECT_EQ(call.Dial(QStringLiteral("603123456")), PhoneCall::DialResult::CallUp);
    EXPECT_EQ(dialing, 1);
    EXPECT_TRUE(call.callUp());
    EXPECT_TRUE(rig.link->Busy());  // the call holds the port: polls skip
    EXPECT_FALSE(rig.link->tryAcquire().has_value());
    EXPECT_TRUE(rig.call().active);
    EXPECT_EQ(rig.call().number, QStringLiteral("603123456"));
    EXPECT_TRUE(rig.boxes.shown.isEmpty());

    EXPECT_EQ(call.HangUp(), PhoneCall::HangUpResult::HungUp);
    EXPECT_FALSE(call.callUp());
    EXPECT_FALSE(rig.link->Busy());
    // "ATH" is sent without waiting for its answer; the phone acts on it.
    auto lease = rig.link->tryAcquire();
    EXPECT_FALSE(lease->Exchange("AT+CLCC", 1000).contains("+CLCC:"));
    EXPECT_FALSE(rig.call().active);
}

TEST(PhoneCall, DialThatFailsShowsTextFortyFiveAndFreesThePort) {
    struct Case {
        const char* name;
        std::function<void(SimulatedPhoneRig&)> arrange;
    };
    const Case cases[] = {
        {"error", [](SimulatedPhoneRig& r) { r.fault("ATD", FaultKind::Error); }},
        {"busy number",
         [](SimulatedPhoneRig& r) { r.port->phone().state().busyNumbers << "800123456"; }},
        {"call already up",
         [](SimulatedPhoneRig& r) {
             r.port->phone().state().call = {true, "1"};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedPhoneRig rig;
        c.arrange(rig);
        PhoneCall call(*rig.link, rig.boxes, Language::English);
        EXPECT_EQ(call.Dial(QStringLiteral("800123456")), PhoneCall::DialResult::Failed);
        EXPECT_EQ(rig.texts(), QStringList{Text(45)});
        EXPECT_EQ(rig.boxes.shown.value(0).kind, MessageBoxes::Kind::Error);
        EXPECT_FALSE(call.callUp());
        EXPECT_FALSE(rig.link->Busy());
    }
}

TEST(PhoneCall, SilentPhoneEndsTheDialAfterAMinute) {
    test::ScriptedPhone phone;
    phone.answerLinkCheck();
    FakeMessageBoxes boxes;
    PhoneCall call(*phone.link, boxes, Language::English);
    const qint64 start = phone.clock.nowMs();
    EXPECT_EQ(call.Dial(QStringLiteral("603123456")), PhoneCall::DialResult::Failed);
    EXPECT_EQ(phone.port->written().value(1), "ATD603123456;\r");
    // The link check's answer after 5 ms, then more than 60 s for the dial.
    EXPECT_EQ(phone.clock.nowMs() - start, 5 + 60001);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, Text(45));
    EXPECT_FALSE(phone.link->Busy());
}

TEST(PhoneCall, NotConnectedShowsTextThirtyEightAndGivesUpTheCall) {
    SimulatedPhoneRig rig;
    PhoneCall call(*rig.link, rig.boxes, Language::Czech);
    ASSERT_EQ(call.Dial(QStringLiteral("1")), PhoneCall::DialResult::CallUp);

    rig.fault("AT", FaultKind::Silent);  // the phone went away during the call
    EXPECT_EQ(call.HangUp(), PhoneCall::HangUpResult::NotConnected);
    EXPECT_EQ(rig.texts(), QStringList{UiText(Language::Czech, 38)});
    EXPECT_FALSE(call.callUp());
    EXPECT_FALSE(rig.link->Busy());

    EXPECT_EQ(call.Dial(QStringLiteral("1")), PhoneCall::DialResult::NotConnected);
    EXPECT_FALSE(rig.link->Busy());
}

TEST(PhoneCall, HangUpEndsACallTheProgramDidNotPlace) {
    SimulatedPhoneRig rig;
    rig.port->phone().state().call = {true, "777000111"};  // dialed on the phone
    PhoneCall call(*rig.link, rig.boxes, Language::English);
    EXPECT_EQ(call.HangUp(), PhoneCall::HangUpResult::HungUp);
    rig.link->tryAcquire()->Exchange("AT", 1000);  // lets the phone take "ATH"
    EXPECT_FALSE(rig.call().active);
    EXPECT_TRUE(rig.boxes.shown.isEmpty());
}

TEST(PhoneCall, HangUpWhileTheDialWaitsEndsTheDial) {
    // On a fake clock the hang-up comes exactly 1 s into the dial's wait,
    // long after its link check, however loaded the machine is.
    FakeClock clock;
    auto owned = std::make_unique<phonesim::PhoneSimPort>(phonesim::demoPhoneState());
    phonesim::PhoneSimPort* port = owned.get();
    port->setClock(clock);
    AtLink link(std::move(owned), clock);
    link.OpenPort(QStringLiteral("demo"));
    port->phone().addFault({"ATD", FaultKind::Silent, -1});  // answers only when connected
    FakeMessageBoxes boxes;
    PhoneCall call(link, boxes, Language::English);
    std::optional<PhoneCall::HangUpResult> hangUp;
    clock.callAfter(1000, nullptr, [&] { hangUp = call.HangUp(); });
    EXPECT_EQ(call.Dial(QStringLiteral("603123456")), PhoneCall::DialResult::HungUp);
    EXPECT_EQ(hangUp, PhoneCall::HangUpResult::HungUp);
    EXPECT_FALSE(call.callUp());
    EXPECT_FALSE(link.Busy());
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST(PhoneCall, CommandsWhileAnotherHoldsThePortWriteNothing) {
    test::ScriptedPort* port = nullptr;
    auto owned = std::make_unique<test::ScriptedPort>();
    port = owned.get();
    AtLink link(std::move(owned));
    link.OpenPort(QStringLiteral("x"));
    FakeMessageBoxes boxes;
    PhoneCall call(link, boxes, Language::English);

    auto other = link.tryAcquire();  // a listing in progress
    EXPECT_EQ(call.Dial(QStringLiteral("1")), PhoneCall::DialResult::PortBusy);
    EXPECT_EQ(call.HangUp(), PhoneCall::HangUpResult::PortBusy);
    EXPECT_FALSE(PollNetworkStatus(link, {}).has_value());  // a timer tick
    EXPECT_TRUE(port->written().isEmpty());
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[0].text, Text(kTextCommandRunning));
    EXPECT_TRUE(other->holds());
}

TEST(NetworkPoll, OperatorAndSignalFromThePhone) {
    SimulatedPhoneRig rig;
    rig.port->phone().state().signal = 15;
    const std::optional<NetworkStatus> status = PollNetworkStatus(*rig.link, {});
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(status->operatorName, QStringLiteral("T-Mobile CZ"));
    EXPECT_EQ(status->signal, 15);
    EXPECT_FALSE(rig.link->Busy());
    EXPECT_TRUE(rig.link->Connected());
}

TEST(NetworkPoll, LateAnswersCountAsNoOperatorAndZero) {
    SimulatedPhoneRig rig;
    rig.fault("AT+COPS", FaultKind::Late, 400);
    rig.fault("AT+CSQ", FaultKind::Late, 400);
    const std::optional<NetworkStatus> status = PollNetworkStatus(*rig.link, {});
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(SignalCaption(*status),
              QStringLiteral("\u2014\n| ") + QString(31, QLatin1Char('\'')) + QStringLiteral(" |"));
}

TEST(NetworkPoll, SilentPhoneGivesNothingAndTheCheckIsTheWindows) {
    SimulatedPhoneRig rig;
    rig.fault("AT", FaultKind::Silent);
    int checks = 0;
    const LinkCheck counting = [&](PortLease& lease) {
        ++checks;
        return lease.CheckLink() == LinkState::Connected;
    };
    EXPECT_FALSE(PollNetworkStatus(*rig.link, counting).has_value());
    EXPECT_EQ(checks, 1);
    EXPECT_FALSE(rig.link->Connected());
}

}  // namespace
}  // namespace telvora
