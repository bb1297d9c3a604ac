// The telvora-phonesim program end to end: a client opens its pseudo-terminal
// like a serial device (9600 8N1 through termios) and talks to the phone.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

int openSerial(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY);
    if (fd < 0) {
        return -1;
    }
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    settings.c_cflag &= ~(PARENB | CSTOPB | CSIZE);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    tcsetattr(fd, TCSANOW, &settings);
    return fd;
}

// Reads until `ending` arrives or ten seconds pass.
QByteArray readUntil(int fd, const QByteArray& ending) {
    QByteArray received;
    for (int i = 0; i < 100 && !received.endsWith(ending); ++i) {
        pollfd item{fd, POLLIN, 0};
        if (::poll(&item, 1, 100) > 0) {
            char buffer[256];
            const ssize_t count = ::read(fd, buffer, sizeof buffer);
            if (count > 0) {
                received.append(buffer, count);
            }
        }
    }
    return received;
}

TEST(PhonesimProgram, ServesAtOnThePseudoTerminalAndSavesOnExit) {
    QTemporaryDir dir;
    const QString link = dir.filePath("phone");
    const QString saved = dir.filePath("saved.json");
    QProcess program;
    program.start(PHONESIM_PROGRAM, {"--latency", "0", "--link", link, "--save", saved});
    ASSERT_TRUE(program.waitForStarted(10000));
    ASSERT_TRUE(program.waitForReadyRead(10000));
    const QByteArray device = program.readLine().trimmed();
    ASSERT_TRUE(device.startsWith("/dev/pts/")) << device.data();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), QString::fromLatin1(device));

    int fd = openSerial(device);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "AT\r", 3), 3);
    EXPECT_EQ(readUntil(fd, "OK\r\n"), "AT\r\r\nOK\r\n");
    ASSERT_GT(::write(fd, "AT*ESOM=1,\"cdc\"\r", 16), 0);
    EXPECT_EQ(readUntil(fd, "OK\r\n"), "AT*ESOM=1,\"cdc\"\r\r\nOK\r\n");
    ::close(fd);

    // A second client after the first closed the device.
    fd = openSerial(link.toLocal8Bit());
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "ATE0\r\n", 6), 6);
    EXPECT_EQ(readUntil(fd, "OK\r\n"), "ATE0\r\r\nOK\r\n");
    ::close(fd);

    program.terminate();
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(link) || QFileInfo(link).isSymLink());
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\"cdc\""));
}

TEST(PhonesimProgram, AHangupFaultHangsUpTheTerminal) {
    QTemporaryDir dir;
    const QString saved = dir.filePath("saved.json");
    QProcess program;
    program.start(PHONESIM_PROGRAM,
                  {"--latency", "0", "--save", saved, "--fault", "AT*ESOM=hangup:4"});
    ASSERT_TRUE(program.waitForReadyRead(10000));
    const QByteArray device = program.readLine().trimmed();
    const int fd = openSerial(device);
    ASSERT_GE(fd, 0);
    ASSERT_GT(::write(fd, "ATE0\r", 5), 0);
    EXPECT_EQ(readUntil(fd, "OK\r\n"), "ATE0\r\r\nOK\r\n");
    ASSERT_GT(::write(fd, "AT*ESOM=2,\"gg\"\r", 15), 0);
    // The cut answer, then the terminal hangs up: a read fails or ends.
    QByteArray received;
    ssize_t count = 1;
    for (int i = 0; i < 100 && count > 0; ++i) {
        pollfd item{fd, POLLIN, 0};
        if (::poll(&item, 1, 100) > 0) {
            char buffer[64];
            count = ::read(fd, buffer, sizeof buffer);
            if (count > 0) {
                received.append(buffer, count);
            }
        }
    }
    // What had arrived before the hangup is the start of the answer.
    EXPECT_TRUE(QByteArray("\r\nOK").startsWith(received)) << received.toStdString();
    EXPECT_LE(count, 0);
    ::close(fd);
    // The command ran before the line went; the state is saved as usual.
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\"gg\""));
}

TEST(PhonesimProgram, RefusesBadOptions) {
    QProcess program;
    program.start(PHONESIM_PROGRAM, {"--fault", "AT=explode"});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_NE(program.exitCode(), 0);
    EXPECT_TRUE(program.readAllStandardError().contains("unknown kind"));
}

}  // namespace
