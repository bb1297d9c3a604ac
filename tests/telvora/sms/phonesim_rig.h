#pragma once
// telvora-phonesim on a pseudo-terminal for the end-to-end tests: started
// with a state file written by the test, stopped (saving its state) when the
// test asks for what the phone holds afterwards.

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace telvora::sms::test {

class PhonesimRig {
public:
    explicit PhonesimRig(const QJsonObject& state, const QStringList& extra = {}) {
        QFile file(m_dir.filePath("state.json"));
        file.open(QIODevice::WriteOnly);
        file.write(QJsonDocument(state).toJson());
        file.close();
        m_process.start(QStringLiteral(TELVORA_PHONESIM_PATH),
                        QStringList{"--state", file.fileName(), "--save", savedPath()} + extra);
        if (m_process.waitForReadyRead(10000)) {
            m_device = QString::fromLocal8Bit(m_process.readLine().trimmed());
        }
        if (m_device.isEmpty()) {
            m_process.waitForFinished(5000);
            qWarning("telvora-phonesim did not start: %s", m_process.readAllStandardError().data());
        }
    }
    ~PhonesimRig() { stop(); }

    const QString& device() const { return m_device; }
    QString dir() const { return m_dir.path(); }
    // The data folder telvora-cli runs with.
    QString dataDir() const { return m_dir.filePath("data"); }

    // Stops the phone and gives the state it saved.
    QJsonObject finalState() {
        stop();
        QFile file(savedPath());
        file.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    // Runs telvora-cli on this phone; standard input gets `input`.
    struct CliResult {
        int code = -1;
        QString out;
        QString err;
    };
    // A listing names senders from the phone book given, else from an empty
    // one: the default phone book beside the program may hold anything.
    CliResult cli(QStringList args, const QByteArray& input = {}) {
        if (args.value(1) == QLatin1String("list") && !args.contains("--phonebook")) {
            const QString empty = m_dir.filePath("empty.tpb");
            QFile(empty).open(QIODevice::WriteOnly);
            args << "--phonebook" << empty;
        }
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
        environment.insert("XDG_DATA_HOME", dataDir());  // the message archive
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TELVORA_CLI_PATH),
                      QStringList{"--device", m_device, "--lang", "en"} + args);
        process.write(input);
        process.closeWriteChannel();
        CliResult result;
        if (process.waitForFinished(60000)) {
            result.code = process.exitCode();
        }
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

private:
    QString savedPath() const { return m_dir.filePath("saved.json"); }
    void stop() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            m_process.waitForFinished(10000);
        }
    }

    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_device;
};

}  // namespace telvora::sms::test
