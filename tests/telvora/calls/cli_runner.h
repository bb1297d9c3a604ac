#pragma once
// Runs telvora-cli's command line in this process, with settings of its own
// and the port a test gives, and keeps what it printed.

#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>
#include <memory>

#include "telvora/cli/cli.h"
#include "telvora/core/ui_texts.h"
#include "telvora/setup/settings.h"

namespace telvora::test {

struct CliOutput {
    int code = -1;
    QString out;
    QString err;
};

class CliRunner {
public:
    using PortFactory = std::function<std::unique_ptr<SerialPort>()>;

    explicit CliRunner(PortFactory makePort) : m_makePort(std::move(makePort)) {
        m_settings = std::make_unique<SettingsStore>(std::make_unique<QSettings>(
            m_dir.filePath(QStringLiteral("Telvora.conf")), QSettings::IniFormat));
    }

    CliOutput run(const QStringList& args) {
        CliOutput result;
        QTextStream out(&result.out);
        QTextStream err(&result.err);
        CliEnvironment environment{m_settings.get(), m_makePort, &out, &err};
        result.code = RunCli(args, environment);
        out.flush();
        err.flush();
        return result;
    }

private:
    QTemporaryDir m_dir;
    PortFactory m_makePort;
    std::unique_ptr<SettingsStore> m_settings;
};

}  // namespace telvora::test
