// Reading and uploading melodies against the in-process simulated phone, and
// end to end against the simulator program.

#include <gtest/gtest.h>

#include "telvora/demophone/phonesim_port.h"
#include "telvora/ringtone/ring_tones.h"
#include "tests/telvora/calls/scripted_phone.h"
#include "tests/telvora/calls/simulator_process.h"
#include "tests/telvora/shell/shell_fakes.h"

namespace telvora {
namespace {

using phonesim::FaultKind;
using Kind = MessageBoxes::Kind;

struct RingToneRig {
    RingToneRig() {
        auto owned = std::make_unique<phonesim::PhoneSimPort>(phonesim::demoPhoneState());
        port = owned.get();
        link = std::make_unique<AtLink>(std::move(owned));
        link->OpenPort(QStringLiteral("demo"));
        lease = link->tryAcquire();
    }
    void fault(const char* command, FaultKind kind) {
        port->phone().addFault({QByteArray(command), kind, -1});
    }
    std::array<QString, 4>& melodies() { return port->phone().state().melodies; }

    phonesim::PhoneSimPort* port;
    std::unique_ptr<AtLink> link;
    std::optional<PortLease> lease;
    test::FakeMessageBoxes boxes;
};

QString English(int n) {
    return UiText(Language::English, n);
}

TEST(RingTones, ReadsTheFourMelodies) {
    RingToneRig rig;
    rig.melodies() = {"cdefgpg", "", "e#de#d", "B+b"};
    RingTones tones(rig.boxes, Language::English);
    const MelodiesRead read = tones.ReadMelodies(*rig.lease);
    EXPECT_EQ(read.result, RingToneResult::Ok);
    EXPECT_EQ(read.list.found, 4);
    EXPECT_EQ(read.list.melodies, rig.melodies());
    EXPECT_TRUE(rig.boxes.shown.isEmpty());
}

TEST(RingTones, FailuresAreReportedAndNothingIsRead) {
    const struct {
        const char* fault;
        FaultKind kind;
        RingToneResult result;
        int text;
    } cases[] = {
        {"AT*ESOM", FaultKind::Error, RingToneResult::PhoneError, 61},
        {"AT", FaultKind::Silent, RingToneResult::NotConnected, 38},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        RingToneRig rig;
        rig.fault(c.fault, c.kind);
        RingTones tones(rig.boxes, Language::English);
        EXPECT_EQ(tones.ReadMelodies(*rig.lease).result, c.result);
        ASSERT_EQ(rig.boxes.shown.size(), 1);
        EXPECT_EQ(rig.boxes.shown[0].text, English(c.text));
        EXPECT_EQ(rig.boxes.shown[0].kind, Kind::Error);
    }
}

TEST(RingTones, UnfinishedAnswersEndAfterTenSeconds) {
    // Nothing at all, and an answer cut off before its final result.
    for (const QByteArray& answer : {QByteArray(), QByteArray("\r\n*ESOM: 1,\"cde\"\r\n")}) {
        test::ScriptedPhone phone;
        phone.answerLinkCheck();
        phone.port->queueAnswer(answer, 5);
        auto lease = phone.link->tryAcquire();
        test::FakeMessageBoxes boxes;
        RingTones tones(boxes, Language::English);
        const qint64 start = phone.clock.nowMs();
        EXPECT_EQ(tones.ReadMelodies(*lease).result, RingToneResult::TimedOut);
        EXPECT_EQ(phone.clock.nowMs() - start, 5 + 10001);
        ASSERT_EQ(boxes.shown.size(), 1);
        EXPECT_EQ(boxes.shown[0].text, English(kTextPhoneTimedOut));
    }
}

TEST(RingTones, UploadSendsTheTrimmedMelody) {
    RingToneRig rig;
    RingTones tones(rig.boxes, Language::English);
    EXPECT_EQ(tones.Upload(*rig.lease, 1, QStringLiteral("  d#e#f \t")), RingToneResult::Ok);
    EXPECT_EQ(rig.melodies()[0], QStringLiteral("d#e#f"));
    ASSERT_EQ(rig.boxes.shown.size(), 1);
    EXPECT_EQ(rig.boxes.shown[0].kind, Kind::Info);
    EXPECT_EQ(rig.boxes.shown[0].text,
              QStringLiteral("New ring tone number 1 was uploaded to the phone."));

    // An empty melody is sent too, and empties the place.
    EXPECT_EQ(tones.Upload(*rig.lease, 4, QStringLiteral("   ")), RingToneResult::Ok);
    EXPECT_EQ(rig.melodies()[3], QString());
}

TEST(RingTones, RefusedMelodyIsNotSent) {
    RingToneRig rig;
    const std::array<QString, 4> before = rig.melodies();
    RingTones tones(rig.boxes, Language::Czech);
    EXPECT_EQ(tones.Upload(*rig.lease, 2, QStringLiteral("d##e")), RingToneResult::Refused);
    EXPECT_EQ(tones.Upload(*rig.lease, 3, QStringLiteral("x##d")), RingToneResult::Refused);
    EXPECT_EQ(tones.Upload(*rig.lease, 1, QString(121, QLatin1Char('c'))), RingToneResult::Refused);
    EXPECT_EQ(rig.melodies(), before);
    ASSERT_EQ(rig.boxes.shown.size(), 3);
    EXPECT_EQ(rig.boxes.shown[0].text,
              QStringLiteral("Nelze použít dva znaky(#,+) za sebou v textu melodie číslo 2."));
    EXPECT_EQ(rig.boxes.shown[1].text, QStringLiteral("Nepovolené znaky v textu melodie číslo 3."));
    EXPECT_EQ(rig.boxes.shown[2].text, UiText(Language::Czech, 60));
}

TEST(RingTones, UploadThePhoneRefusesShowsTextSixtyOne) {
    RingToneRig rig;
    rig.fault("AT*ESOM=", FaultKind::Error);
    RingTones tones(rig.boxes, Language::English);
    EXPECT_EQ(tones.Upload(*rig.lease, 2, QStringLiteral("cdef")), RingToneResult::PhoneError);
    ASSERT_EQ(rig.boxes.shown.size(), 1);
    EXPECT_EQ(rig.boxes.shown[0].text, English(61));
}

TEST(RingTonesEndToEnd, UploadThenReadBack) {
    test::SimulatorProcess simulator({"--latency", "5"});
    auto link = simulator.openLink();
    ASSERT_TRUE(test::ConnectWithinThreeChecks(*link));
    auto lease = link->tryAcquire();
    test::FakeMessageBoxes boxes;
    RingTones tones(boxes, Language::English);

    EXPECT_EQ(tones.Upload(*lease, 2, QStringLiteral(" cdefgahC ")), RingToneResult::Ok);
    const MelodiesRead read = tones.ReadMelodies(*lease);
    ASSERT_EQ(read.result, RingToneResult::Ok);
    EXPECT_EQ(read.list.found, 4);
    EXPECT_EQ(read.list.melodies[1], QStringLiteral("cdefgahC"));
    EXPECT_EQ(read.list.melodies[3], QStringLiteral("ccggaagpffeeddc"));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].kind, Kind::Info);
}

TEST(RingTonesEndToEnd, PhoneWithoutUserMelodies) {
    test::SimulatorProcess simulator({"--fault", "AT*ESOM=error"});
    auto link = simulator.openLink();
    ASSERT_TRUE(test::ConnectWithinThreeChecks(*link));
    auto lease = link->tryAcquire();
    test::FakeMessageBoxes boxes;
    RingTones tones(boxes, Language::Czech);
    EXPECT_EQ(tones.ReadMelodies(*lease).result, RingToneResult::PhoneError);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, UiText(Language::Czech, 61));
}

}  // namespace
}  // namespace telvora
