// What a device name stands for: relative paths from the current folder, and
// folders, plain files and devices that are no terminal refused as such, by
// the check alone and by a real port opened on them.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "telvora/link/device_check.h"
#include "telvora/link/qt_serial_port.h"

namespace telvora {
namespace {

// Runs the test in `folder` and goes back to where it was.
class CurrentFolder {
public:
    explicit CurrentFolder(const QString& folder) : m_previous(QDir::currentPath()) {
        QDir::setCurrent(folder);
    }
    ~CurrentFolder() { QDir::setCurrent(m_previous); }

private:
    QString m_previous;
};

TEST(DeviceCheck, RelativePathsAreTakenFromTheCurrentFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CurrentFolder inside(dir.path());
    const QString here = QDir::current().absolutePath();
    EXPECT_EQ(DevicePath(QStringLiteral("ttyUSB0")), here + QStringLiteral("/ttyUSB0"));
    EXPECT_EQ(DevicePath(QStringLiteral("./phone")), here + QStringLiteral("/phone"));
    EXPECT_EQ(DevicePath(QStringLiteral("sub/../phone")), here + QStringLiteral("/phone"));
    EXPECT_EQ(DevicePath(QStringLiteral("/dev/ttyS0")), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(DevicePath(QString()), QString());
}

TEST(DeviceCheck, KindsAndReasons) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("plain"));
    QFile plain(file);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();

    EXPECT_EQ(KindOfDevice(dir.path()), DeviceKind::Folder);
    EXPECT_EQ(KindOfDevice(file), DeviceKind::PlainFile);
    EXPECT_EQ(KindOfDevice(dir.filePath(QStringLiteral("gone"))), DeviceKind::Missing);
    EXPECT_EQ(KindOfDevice(QStringLiteral("/dev/null")), DeviceKind::Other);

    EXPECT_FALSE(IsTerminalDevice(QStringLiteral("/dev/null")));
    EXPECT_EQ(NotSerialPortReason(DeviceKind::Folder, true),
              QStringLiteral("a folder, not a serial port"));
    EXPECT_EQ(NotSerialPortReason(DeviceKind::PlainFile, true),
              QStringLiteral("a plain file, not a serial port"));
    EXPECT_EQ(NotSerialPortReason(DeviceKind::Other, false), QStringLiteral("not a serial port"));
    EXPECT_TRUE(NotSerialPortReason(DeviceKind::Other, true).isEmpty());
    EXPECT_TRUE(NotSerialPortReason(DeviceKind::Missing, false).isEmpty());
}

TEST(DeviceCheck, PortRefusesWhatIsNoSerialPortAndSaysSo) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("plain"));
    QFile plain(file);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();

    const struct {
        QString device;
        OpenResult result;
        QString error;
    } cases[] = {
        {QStringLiteral("/dev/null"), OpenResult::NotSerialPort,
         QStringLiteral("not a serial port")},
        {dir.path(), OpenResult::NotSerialPort, QStringLiteral("a folder, not a serial port")},
        {file, OpenResult::NotSerialPort, QStringLiteral("a plain file, not a serial port")},
        {dir.filePath(QStringLiteral("gone")), OpenResult::InvalidPort,
         QStringLiteral("No such device")},
    };
    for (const auto& c : cases) {
        QtSerialPort port;
        EXPECT_EQ(port.open(c.device), c.result) << c.device.toStdString();
        EXPECT_EQ(port.errorText(), c.error) << c.device.toStdString();
        EXPECT_FALSE(port.isOpen());
    }
}

TEST(DeviceCheck, RelativePathToAPseudoTerminalOpens) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const QString slave = QString::fromLocal8Bit(ptsname(master));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QFile::link(slave, dir.filePath(QStringLiteral("phone"))));
    CurrentFolder inside(dir.path());

    // Not /dev/phone: the link in the current folder.
    QtSerialPort port;
    EXPECT_EQ(port.open(QStringLiteral("phone")), OpenResult::Ok) << port.errorText().toStdString();
    EXPECT_TRUE(port.isOpen());
    port.close();
    ::close(master);
}

}  // namespace
}  // namespace telvora
