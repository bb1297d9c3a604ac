// The in-process port: answers arrive through the event loop, in order, and
// the program's own AtLink talks to it like to a real phone.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>

#include "telvora/core/fake_clock.h"
#include "telvora/demophone/phonesim_port.h"
#include "telvora/link/at_link.h"
#include "telvora/link/device_names.h"

namespace phonesim {
namespace {

// Runs the event loop until `done` holds; generous, so load never fails a test.
template <typename Condition>
bool waitFor(Condition done) {
    QDeadlineTimer deadline(10000);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return done();
}

QByteArray collect(PhoneSimPort& port, const QByteArray& ending) {
    QByteArray received;
    waitFor([&] {
        received += port.readAll();
        return received.endsWith(ending);
    });
    return received;
}

TEST(PhoneSimPort, AnswersThroughTheEventLoopOnly) {
    PhoneSimPort port;
    QSignalSpy ready(&port, &telvora::SerialPort::readyRead);
    EXPECT_FALSE(port.write("AT\r"));  // not open yet
    ASSERT_EQ(port.open("demo"), telvora::OpenResult::Ok);
    ASSERT_TRUE(port.write("AT\r"));
    EXPECT_EQ(ready.count(), 0);
    EXPECT_TRUE(port.readAll().isEmpty());
    EXPECT_EQ(collect(port, "OK\r\n"), "AT\r\r\nOK\r\n");
    EXPECT_GE(ready.count(), 1);
}

TEST(PhoneSimPort, DelayedAnswersKeepTheirOrder) {
    PhoneSimPort port(demoPhoneState());
    port.phone().options().latencyMs = 30;
    port.phone().addFault(*parseFault("AT+CSQ=late:50", nullptr));
    ASSERT_EQ(port.open("x"), telvora::OpenResult::Ok);
    port.write("AT+CSQ\r");
    port.write("AT+COPS?\r");
    EXPECT_EQ(collect(port, "\"T-Mobile CZ\"\r\n\r\nOK\r\n"),
              "AT+CSQ\r\r\n+CSQ: 18,99\r\n\r\nOK\r\nAT+COPS?\r\r\n+COPS: 0,0,\"T-Mobile CZ\"\r\n"
              "\r\nOK\r\n");
}

TEST(PhoneSimPort, LineSpeedEmulationDeliversEverything) {
    PhoneSimPort port(demoPhoneState());
    port.phone().options().baud = 115200;
    ASSERT_EQ(port.open("demo"), telvora::OpenResult::Ok);
    port.write("AT+CPBR=1,250\r");
    const QByteArray answer = collect(port, "\r\nOK\r\n");
    EXPECT_TRUE(answer.startsWith("AT+CPBR=1,250\r\r\n+CPBR: 1,\"+420603123456\",145,"));
    EXPECT_EQ(answer.count("+CPBR:"), 10);
}

TEST(PhoneSimPort, OpenCloseAndFailures) {
    PhoneSimPort port;
    port.setOpenResult(telvora::OpenResult::PortInUse);
    EXPECT_EQ(port.open("demo"), telvora::OpenResult::PortInUse);
    EXPECT_FALSE(port.isOpen());
    port.setOpenResult(telvora::OpenResult::Ok);
    ASSERT_EQ(port.open("demo"), telvora::OpenResult::Ok);
    EXPECT_EQ(port.open("demo"), telvora::OpenResult::PortInUse);
    // Answers still on their way when the port closes are lost.
    port.write("AT\r");
    port.close();
    ASSERT_EQ(port.open("demo"), telvora::OpenResult::Ok);
    QCoreApplication::processEvents();
    EXPECT_TRUE(port.readAll().isEmpty());
    // The phone keeps its settings across close and open.
    port.write("ATE0\r");
    EXPECT_EQ(collect(port, "OK\r\n"), "ATE0\r\r\nOK\r\n");
    port.close();
    port.open("demo");
    port.write("AT\r");
    EXPECT_EQ(collect(port, "OK\r\n"), "\r\nOK\r\n");
    QSignalSpy failed(&port, &telvora::SerialPort::failed);
    port.breakLink();
    EXPECT_EQ(failed.count(), 1);
    EXPECT_FALSE(port.isOpen());
}

TEST(PhoneSimPort, AHangupFaultFailsThePortAfterTheCutAnswer) {
    PhoneSimPort port(demoPhoneState());
    port.phone().addFault(*parseFault("AT+CSQ=hangup:5", nullptr));
    ASSERT_EQ(port.open("demo"), telvora::OpenResult::Ok);
    QSignalSpy failed(&port, &telvora::SerialPort::failed);
    port.write("AT+CSQ\r");
    QByteArray received;
    EXPECT_TRUE(waitFor([&] {
        received += port.readAll();
        return failed.count() == 1;
    }));
    received += port.readAll();
    EXPECT_EQ(received, "AT+CSQ\r\r\n+CS");
    EXPECT_FALSE(port.isOpen());
    // The device is gone: it does not open again.
    EXPECT_EQ(port.open("demo"), telvora::OpenResult::InvalidPort);
}

TEST(PhoneSimPort, ProgramLinkSeesAConnectedDemoPhone) {
    telvora::AtLink link(makeDemoPhonePort());
    ASSERT_EQ(link.OpenPort(telvora::kDemoDevice), telvora::OpenResult::Ok);
    EXPECT_EQ(link.CheckLink(), telvora::LinkState::Connected);
    const QByteArray operatorAnswer = link.tryAcquire()->Exchange("AT+COPS?", 150);
    EXPECT_TRUE(operatorAnswer.contains("+COPS: 0,0,\"T-Mobile CZ\"")) << operatorAnswer.data();
}

TEST(PhoneSimPort, OnAFakeClockEveryDelayIsExactAndNothingWaits) {
    // The demo phone and the link on one fake clock: feature tests run a
    // long time-out against the real phone in no time.
    telvora::FakeClock clock;
    auto owned = makeDemoPhonePort();
    PhoneSimPort& port = *owned;
    port.setClock(clock);
    port.phone().options().latencyMs = 40;
    port.phone().addFault(*parseFault("AT+CMGL=silent", nullptr));
    telvora::AtLink link(std::move(owned), clock);
    ASSERT_EQ(link.OpenPort(telvora::kDemoDevice), telvora::OpenResult::Ok);

    std::optional<telvora::PortLease> lease = link.tryAcquire();
    qint64 start = clock.nowMs();
    EXPECT_EQ(lease->CheckLink(), telvora::LinkState::Connected);
    EXPECT_EQ(clock.nowMs() - start, 40);

    ASSERT_TRUE(lease->SendCommand("AT+CMGL=4"));
    start = clock.nowMs();
    QByteArray buffer;
    EXPECT_EQ(lease->CollectUntil(buffer, {"OK\r\n"}, 60000), telvora::CollectResult::Timeout);
    EXPECT_EQ(clock.nowMs() - start, 60001);
}

}  // namespace
}  // namespace phonesim
