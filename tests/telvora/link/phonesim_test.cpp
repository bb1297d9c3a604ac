// The link end to end against the simulator program on a pseudo-terminal.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QProcess>

#include "telvora/core/at_text.h"
#include "telvora/link/at_link.h"
#include "telvora/link/qt_serial_port.h"
#include "telvora/link/timeouts.h"

namespace telvora {
namespace {

// Exchange ends on the final result; this only bounds a broken run.
constexpr int kGenerousMs = 5000;

// Runs telvora-phonesim with `arguments` for the life of the object.
class Simulator {
public:
    explicit Simulator(const QStringList& arguments) {
        m_process.start(QStringLiteral(TELVORA_PHONESIM_PATH), arguments);
        if (m_process.waitForReadyRead(10000)) {
            m_device = QString::fromLocal8Bit(m_process.readLine().trimmed());
        }
    }
    ~Simulator() {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    const QString& device() const { return m_device; }

private:
    QProcess m_process;
    QString m_device;
};

// CheckLink gives the phone only 150 ms; on a heavily loaded machine the
// simulator process may miss one pause, so an answering phone gets three.
LinkState CheckLinkUpToThreeTimes(AtLink& link) {
    LinkState state = LinkState::NotConnected;
    for (int i = 0; i < 3 && state != LinkState::Connected; ++i) {
        state = link.CheckLink();
    }
    return state;
}

class PhonesimLinkTest : public ::testing::Test {
protected:
    // A link open on a fresh simulator started with `arguments`.
    std::unique_ptr<AtLink> openOn(const Simulator& simulator) {
        auto link = std::make_unique<AtLink>(std::make_unique<QtSerialPort>());
        EXPECT_FALSE(simulator.device().isEmpty());
        EXPECT_EQ(link->OpenPort(simulator.device()), OpenResult::Ok);
        return link;
    }
};

TEST_F(PhonesimLinkTest, ConnectsWithEchoOnAndOff) {
    for (const char* echo : {"on", "off"}) {
        SCOPED_TRACE(echo);
        Simulator simulator({"--echo", echo, "--latency", "5"});
        auto link = openOn(simulator);
        EXPECT_EQ(CheckLinkUpToThreeTimes(*link), LinkState::Connected);
        EXPECT_TRUE(link->Connected());
        const QByteArray signal = link->tryAcquire()->Exchange("AT+CSQ", kGenerousMs);
        EXPECT_EQ(SkipFields(signal, ":", 1).trimmed().split(',').value(0).toInt(), 18)
            << signal.constData();
    }
}

TEST_F(PhonesimLinkTest, SilentPhoneIsNotConnected) {
    Simulator simulator({"--fault", "AT=silent"});
    auto link = openOn(simulator);
    EXPECT_EQ(link->CheckLink(), LinkState::NotConnected);
    EXPECT_FALSE(link->Connected());
}

TEST_F(PhonesimLinkTest, ErrorAnswerEndsTheWaitAtOnce) {
    Simulator simulator({});
    auto link = openOn(simulator);
    ASSERT_TRUE(link->tryAcquire()->SendCommand("AT+XNOSUCHCOMMAND"));
    QByteArray buffer;
    EXPECT_EQ(link->tryAcquire()->CollectUntil(buffer, {"OK\r\n"}, timeouts::kShortCommandMs),
              CollectResult::PhoneError);
    EXPECT_TRUE(buffer.contains("ERROR\r\n")) << buffer.constData();
}

TEST_F(PhonesimLinkTest, LateAnswerIsNotTakenForTheNextCommand) {
    Simulator simulator({"--fault", "AT+COPS=late:400"});
    auto link = openOn(simulator);
    const QByteArray early = link->tryAcquire()->Exchange("AT+COPS?", timeouts::kStatusMs);
    EXPECT_FALSE(early.contains("+COPS:")) << early.constData();
    link->tryAcquire()->Pause(600);
    const QByteArray signal = link->tryAcquire()->Exchange("AT+CSQ", kGenerousMs);
    EXPECT_TRUE(signal.contains("+CSQ:")) << signal.constData();
    EXPECT_FALSE(signal.contains("+COPS:")) << signal.constData();
}

TEST_F(PhonesimLinkTest, DeviceHeldByTheProgramIsPortInUseForAnother) {
    Simulator simulator({});
    auto first = openOn(simulator);
    QProcess second;
    second.start(QCoreApplication::applicationFilePath(), {"--hold-port", simulator.device()});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.readLine().trimmed(), "failed");
    EXPECT_EQ(CheckLinkUpToThreeTimes(*first), LinkState::Connected);
}

}  // namespace
}  // namespace telvora
