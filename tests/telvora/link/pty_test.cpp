// The link over a real pseudo-terminal, with this test playing the phone on
// the master side.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>

#include "telvora/link/at_link.h"
#include "telvora/link/qt_serial_port.h"

namespace telvora {
namespace {

// A pty pair; the master side answers "AT" with `answer` (or stays silent).
class FakePhone {
public:
    FakePhone() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0) {
            m_device = QString::fromLocal8Bit(ptsname(m_master));
        }
        m_notifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { answer(); });
    }
    ~FakePhone() { hangUp(); }

    const QString& device() const { return m_device; }
    void setAnswer(const QByteArray& answer) { m_answer = answer; }
    // Bytes that reach the program without being asked for.
    void send(const QByteArray& bytes) {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()), bytes.size());
    }
    void hangUp() {
        m_notifier.reset();
        if (m_master >= 0) {
            ::close(m_master);
            m_master = -1;
        }
    }

private:
    void answer() {
        char bytes[256];
        const ssize_t got = ::read(m_master, bytes, sizeof bytes);
        if (got > 0) {
            m_received.append(bytes, got);
        } else if (got == 0 || errno != EAGAIN) {
            m_notifier->setEnabled(false);  // no slave open
        }
        if (m_received.contains("AT\r") && !m_answer.isEmpty()) {
            send(m_answer);
            m_received.clear();
        }
    }

    int m_master = -1;
    QString m_device;
    QByteArray m_answer;
    QByteArray m_received;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

std::unique_ptr<AtLink> MakeLink() {
    return std::make_unique<AtLink>(std::make_unique<QtSerialPort>());
}

void RunEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A link check gives the phone only 150 ms; a stalled test machine gets three tries.
LinkState CheckLinkUpToThreeTimes(AtLink& link) {
    LinkState state = LinkState::NotConnected;
    for (int i = 0; i < 3 && state != LinkState::Connected; ++i) {
        state = link.CheckLink();
    }
    return state;
}

TEST(PtyLinkTest, ConnectsToAnAnsweringPhone) {
    FakePhone phone;
    ASSERT_FALSE(phone.device().isEmpty());
    phone.setAnswer("AT\r\r\nOK\r\n");
    auto link = MakeLink();
    ASSERT_EQ(link->OpenPort(phone.device()), OpenResult::Ok);
    // The answer must come within 150 ms; a stalled test machine gets three tries.
    LinkState state = LinkState::NotConnected;
    for (int i = 0; i < 3 && state != LinkState::Connected; ++i) {
        state = link->CheckLink();
    }
    EXPECT_EQ(state, LinkState::Connected);
}

TEST(PtyLinkTest, SilentPhoneAndStaleInputAreNotConnected) {
    FakePhone phone;
    auto link = MakeLink();
    ASSERT_EQ(link->OpenPort(phone.device()), OpenResult::Ok);
    EXPECT_EQ(link->CheckLink(), LinkState::NotConnected);
    // A late OK still in the driver, then one Qt has already buffered.
    phone.send("\r\nOK\r\n");
    EXPECT_EQ(link->CheckLink(), LinkState::NotConnected);
    phone.send("\r\nOK\r\n");
    RunEventsFor(100);
    EXPECT_EQ(link->CheckLink(), LinkState::NotConnected);
}

TEST(PtyLinkTest, MissingDeviceIsInvalidPort) {
    auto link = MakeLink();
    EXPECT_EQ(link->OpenPort("/dev/telvora-no-such-device"), OpenResult::InvalidPort);
    EXPECT_EQ(link->CheckLink(), LinkState::InvalidPort);
}

TEST(PtyLinkTest, DeviceHeldInThisProcessIsPortInUse) {
    FakePhone phone;
    auto first = MakeLink();
    ASSERT_EQ(first->OpenPort(phone.device()), OpenResult::Ok);
    auto second = MakeLink();
    EXPECT_EQ(second->OpenPort(phone.device()), OpenResult::PortInUse);
    EXPECT_EQ(second->CheckLink(), LinkState::PortInUse);
    first->ClosePort();
    EXPECT_EQ(second->OpenPort(phone.device()), OpenResult::Ok);
}

TEST(PtyLinkTest, SymlinkToAHeldDeviceIsPortInUse) {
    FakePhone phone;
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("phone"));
    const QString chain = dir.filePath(QStringLiteral("phone-again"));
    ASSERT_TRUE(QFile::link(phone.device(), link));
    ASSERT_TRUE(QFile::link(link, chain));
    auto window = MakeLink();
    ASSERT_EQ(window->OpenPort(phone.device()), OpenResult::Ok);
    // Another name for the same device does not get past the lock.
    auto cli = MakeLink();
    EXPECT_EQ(cli->OpenPort(link), OpenResult::PortInUse);
    EXPECT_EQ(cli->OpenPort(chain), OpenResult::PortInUse);
    window->ClosePort();
    ASSERT_EQ(cli->OpenPort(chain), OpenResult::Ok);
    EXPECT_EQ(cli->device(), chain);  // the link keeps the name it was given
    EXPECT_EQ(window->OpenPort(phone.device()), OpenResult::PortInUse);
}

TEST(PtyLinkTest, DeviceHeldByAnotherProcessIsPortInUse) {
    FakePhone phone;
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(), {"--hold-port", phone.device()});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    ASSERT_EQ(holder.readLine().trimmed(), "held");

    auto link = MakeLink();
    EXPECT_EQ(link->OpenPort(phone.device()), OpenResult::PortInUse);
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(10000));
    EXPECT_EQ(link->OpenPort(phone.device()), OpenResult::Ok);
}

TEST(PtyLinkTest, VanishedDeviceEndsTheWait) {
    FakePhone phone;
    auto link = MakeLink();
    ASSERT_EQ(link->OpenPort(phone.device()), OpenResult::Ok);
    ASSERT_TRUE(link->tryAcquire()->SendCommand("AT+CMGL=1"));
    QTimer::singleShot(20, [&phone] { phone.hangUp(); });
    QByteArray buffer;
    EXPECT_EQ(link->tryAcquire()->CollectUntil(buffer, {"OK\r\n"}, 20000),
              CollectResult::PortError);
    EXPECT_FALSE(link->isOpen());
}

TEST(PtyLinkTest, PhoneThatComesBackIsOpenedAgain) {
    // The device as the user chose it: a stable name for whatever pseudo-
    // terminal the phone has now, as udev gives a USB adapter.
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("phone"));
    auto phone = std::make_unique<FakePhone>();
    phone->setAnswer("AT\r\r\nOK\r\n");
    ASSERT_TRUE(QFile::link(phone->device(), device));
    auto link = MakeLink();
    ASSERT_EQ(link->OpenPort(device), OpenResult::Ok);
    EXPECT_EQ(CheckLinkUpToThreeTimes(*link), LinkState::Connected);

    // Pulled: the read error closes the port.
    phone->hangUp();
    RunEventsFor(200);
    EXPECT_FALSE(link->isOpen());
    EXPECT_FALSE(link->Connected());
    phone.reset();
    QFile::remove(device);
    EXPECT_EQ(link->CheckLink(), LinkState::InvalidPort);

    // Back: the next check opens it again.
    phone = std::make_unique<FakePhone>();
    phone->setAnswer("AT\r\r\nOK\r\n");
    ASSERT_TRUE(QFile::link(phone->device(), device));
    EXPECT_EQ(CheckLinkUpToThreeTimes(*link), LinkState::Connected);
    EXPECT_TRUE(link->isOpen());
}

}  // namespace
}  // namespace telvora
