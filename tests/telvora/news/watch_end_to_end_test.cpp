// telvora-cli watch end to end: the program against telvora-phonesim on a
// pseudo-terminal. The simulator receives a message and a call on its
// standard input; the watch prints one line for each, names the sender and
// the caller from the phone book, and SIGINT ends it with exit code 0.

#include <gtest/gtest.h>
#include <signal.h>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace telvora {
namespace {

class Watch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_simulator.start(QStringLiteral(TELVORA_PHONESIM_PATH), {"--latency", "5"});
        ASSERT_TRUE(m_simulator.waitForReadyRead(10000));
        m_device = QString::fromLocal8Bit(m_simulator.readLine().trimmed());
        QFile book(m_dir.filePath("names.tpb"));
        ASSERT_TRUE(book.open(QIODevice::WriteOnly));
        book.write("\"+420603123456\",\"Martina\",1\r\n\"420724555018\",\"Petr\",2\r\n");
    }
    void TearDown() override {
        if (m_watch.state() != QProcess::NotRunning) {
            m_watch.kill();
            m_watch.waitForFinished(5000);
        }
        m_simulator.terminate();
        m_simulator.waitForFinished(5000);
    }

    void startWatch() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", m_dir.path());
        environment.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
        m_watch.setProcessEnvironment(environment);
        m_watch.start(QStringLiteral(TELVORA_CLI_PROGRAM),
                      {"--device", m_device, "--lang", "en", "watch", "--tsv", "--phonebook",
                       m_dir.filePath("names.tpb")});
        ASSERT_TRUE(waitFor(m_watch, QProcess::StandardError, "Waiting for messages"))
            << m_err.toStdString();
    }

    // Waits up to 10 s until the process's output holds `text`.
    bool waitFor(QProcess& process, QProcess::ProcessChannel channel, const QString& text) {
        QString& seen = channel == QProcess::StandardOutput ? m_out : m_err;
        QDeadlineTimer deadline(10000);
        while (!seen.contains(text) && !deadline.hasExpired()) {
            process.waitForReadyRead(100);
            m_out += QString::fromUtf8(process.readAllStandardOutput());
            m_err += QString::fromUtf8(process.readAllStandardError());
        }
        return seen.contains(text);
    }

    void control(const QByteArray& line) {
        m_simulator.write(line + '\n');
        m_simulator.waitForBytesWritten(5000);
    }

    QTemporaryDir m_dir;
    QProcess m_simulator;
    QProcess m_watch;
    QString m_device;
    QString m_out;
    QString m_err;
};

TEST_F(Watch, PrintsAMessageARingAndItsEndThenStopsOnSigint) {
    startWatch();
    control("sms +420603123456 Ahoj\tsvete \\ konec");
    ASSERT_TRUE(waitFor(m_watch, QProcess::StandardOutput, "konec\n")) << m_out.toStdString();
    control("ring +420724555018 0");
    ASSERT_TRUE(waitFor(m_watch, QProcess::StandardOutput, "Petr\n")) << m_out.toStdString();
    control("giveup");
    ASSERT_TRUE(waitFor(m_watch, QProcess::StandardOutput, "ended")) << m_out.toStdString();
    waitFor(m_watch, QProcess::StandardOutput, "ended\t+420724555018\n");

    const QStringList lines = m_out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << m_out.toStdString();
    const QRegularExpression message(
        R"(^sms\tSM\t\d+\t\d{1,2}\.\d{1,2}\.\d{4} \d{2}:\d{2}:\d{2}\tMartina\tAhoj\\tsvete \\\\ konec$)");
    EXPECT_TRUE(message.match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_EQ(lines[1], "ring\t+420724555018\tPetr");
    EXPECT_EQ(lines[2], "ended\t+420724555018");

    ::kill(static_cast<pid_t>(m_watch.processId()), SIGINT);
    ASSERT_TRUE(m_watch.waitForFinished(2000));
    EXPECT_EQ(m_watch.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_watch.exitCode(), 0);
}

TEST_F(Watch, AnUnknownCallerHasAnEmptyNameAndSigtermEndsIt) {
    startWatch();
    control("ring 777111222 0");
    ASSERT_TRUE(waitFor(m_watch, QProcess::StandardOutput, "ring\t777111222\t\n"))
        << m_out.toStdString();
    ::kill(static_cast<pid_t>(m_watch.processId()), SIGTERM);
    ASSERT_TRUE(m_watch.waitForFinished(2000));
    EXPECT_EQ(m_watch.exitCode(), 0);
}

}  // namespace
}  // namespace telvora
