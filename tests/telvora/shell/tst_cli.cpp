// telvora-cli: options, exit codes and messages; and the window program's
// answers on the terminal.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include "telvora/cli/cli.h"
#include "telvora/core/ui_texts.h"
#include "telvora/setup/device_port.h"
#include "telvora/setup/settings.h"
#include "tests/telvora/shell/shell_fakes.h"

using namespace telvora;
using telvora::test::FakePort;

namespace {

struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

struct CliRig {
    explicit CliRig(const QMap<QString, QString>& stored = {}) {
        QSettings file(path(), QSettings::IniFormat);
        for (auto it = stored.begin(); it != stored.end(); ++it) {
            file.setValue(QStringLiteral("Conf/") + it.key(), it.value());
        }
        file.sync();
        settings = std::make_unique<SettingsStore>(
            std::make_unique<QSettings>(path(), QSettings::IniFormat));
    }

    QString path() const { return dir.filePath(QStringLiteral("Telvora.conf")); }

    CliRun run(const QStringList& args, std::function<std::unique_ptr<SerialPort>()> makePort) {
        CliRun result;
        QTextStream out(&result.out);
        QTextStream err(&result.err);
        CliEnvironment environment{settings.get(), std::move(makePort), &out, &err};
        result.code = RunCli(args, environment);
        out.flush();
        err.flush();
        return result;
    }

    CliRun runFake(const QStringList& args, OpenResult open, FakePort::Phone phone) {
        return run(args, [&] { return std::make_unique<FakePort>(open, phone, &log); });
    }

    QTemporaryDir dir;
    FakePort::Log log;
    std::unique_ptr<SettingsStore> settings;
};

}  // namespace

class CliTest : public QObject {
    Q_OBJECT
private slots:
    void checkReportsTheLinkByExitCode();
    void portErrorsGoToStandardErrorInTheChosenLanguage();
    void deviceComesFromOptionsOrSettings();
    void wrongUsageExitsWithTwo();
    void demoPhoneAnswersTheProgram();
    void windowProgramAnswersHelpAndVersionWithoutADisplay();
};

void CliTest::checkReportsTheLinkByExitCode() {
    CliRig rig;
    CliRun connected =
        rig.runFake({"--device", "/dev/x", "check"}, OpenResult::Ok, FakePort::Phone::Answers);
    QCOMPARE(connected.code, kExitOk);
    QCOMPARE(connected.out, QStringLiteral("Připojeno ...\n"));
    QVERIFY(connected.err.isEmpty());

    CliRun silent = rig.runFake({"--lang", "en", "--device", "/dev/x", "check"}, OpenResult::Ok,
                                FakePort::Phone::Silent);
    QCOMPARE(silent.code, kExitFailed);
    QCOMPARE(silent.out, QStringLiteral("DISCONNECT !!!\n"));
    QVERIFY(!rig.log.open);  // closed again
}

void CliTest::portErrorsGoToStandardErrorInTheChosenLanguage() {
    CliRig rig({{"langver", "2"}});
    const QList<QPair<OpenResult, int>> cases{
        {OpenResult::InvalidPort, 37}, {OpenResult::PortInUse, 79}, {OpenResult::OtherError, 78}};
    for (const auto& [open, text] : cases) {
        CliRun run = rig.runFake({"--device", "/dev/x", "check"}, open, FakePort::Phone::Answers);
        QCOMPARE(run.code, kExitUsage);
        QCOMPARE(run.err, UiText(Language::English, text) + '\n');
        QVERIFY(run.out.isEmpty());
    }
    CliRun czech = rig.runFake({"--lang", "cs", "--device", "/dev/x", "check"},
                               OpenResult::PortInUse, FakePort::Phone::Answers);
    QCOMPARE(czech.err, UiText(Language::Czech, 79) + '\n');
}

void CliTest::deviceComesFromOptionsOrSettings() {
    CliRig rig({{"port", "2"}, {"langver", "1"}});
    rig.runFake({"check"}, OpenResult::Ok, FakePort::Phone::Answers);
    rig.runFake({"--port", "4", "check"}, OpenResult::Ok, FakePort::Phone::Answers);
    rig.runFake({"--device", "/dev/ttyUSB3", "check"}, OpenResult::Ok, FakePort::Phone::Answers);
    QCOMPARE(rig.log.opened, (QStringList{"/dev/ttyS1", "/dev/ttyS3", "/dev/ttyUSB3"}));

    CliRig device({{"port", "2"}, {"device", "/dev/ttyACM0"}});
    device.runFake({"check"}, OpenResult::Ok, FakePort::Phone::Answers);
    QCOMPARE(device.log.opened, QStringList{"/dev/ttyACM0"});

    // Nothing configured and nothing given: no such port.
    CliRig empty;
    CliRun run = empty.runFake({"check"}, OpenResult::Ok, FakePort::Phone::Answers);
    QCOMPARE(run.code, kExitUsage);
    QCOMPARE(run.err, UiText(Language::Czech, 37) + '\n');
    QVERIFY(empty.log.opened.isEmpty());

    // A folder where the settings file should be is named, and left alone.
    CliRig folder;
    QFile::remove(folder.path());
    QVERIFY(QDir().mkpath(folder.path() + "/kept"));
    folder.settings = std::make_unique<SettingsStore>(
        std::make_unique<QSettings>(folder.path(), QSettings::IniFormat));
    run = folder.runFake({"check"}, OpenResult::Ok, FakePort::Phone::Answers);
    QCOMPARE(run.code, kExitUsage);
    QVERIFY2(run.err.startsWith("telvora-cli: " + folder.path() + ": the settings cannot be read"),
             qPrintable(run.err));
    QVERIFY(run.err.endsWith(UiText(Language::Czech, 37) + '\n'));
    QVERIFY(QFileInfo(folder.path() + "/kept").isDir());

    // Settings that read fine say nothing more.
    QVERIFY(
        !rig.runFake({"check"}, OpenResult::Ok, FakePort::Phone::Answers).err.contains("settings"));
}

void CliTest::wrongUsageExitsWithTwo() {
    CliRig rig;
    const QList<QStringList> wrong{{},
                                   {"frobnicate"},
                                   {"--port", "5", "check"},
                                   {"--port", "x", "check"},
                                   {"--lang", "de", "check"},
                                   {"--device"},
                                   {"--device", "a", "--port", "1", "check"},
                                   {"--bogus", "check"},
                                   {"--device", "/dev/x", "check", "extra"}};
    for (const QStringList& args : wrong) {
        CliRun run = rig.runFake(args, OpenResult::Ok, FakePort::Phone::Answers);
        QVERIFY2(run.code == kExitUsage, qPrintable(args.join(' ')));
        QVERIFY2(!run.err.isEmpty(), qPrintable(args.join(' ')));
    }
    CliRun help = rig.runFake({"--help"}, OpenResult::Ok, FakePort::Phone::Answers);
    QCOMPARE(help.code, kExitOk);
    QVERIFY(help.out.contains(QLatin1String("check")));
    QVERIFY(rig.log.opened.isEmpty());
}

void CliTest::demoPhoneAnswersTheProgram() {
    // The real program, as a script would run it, with settings of its own.
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    QProcess cli;
    cli.setProcessEnvironment(environment);
    cli.start(QStringLiteral(TELVORA_CLI_PROGRAM), {"--device", "demo", "--lang", "en", "check"});
    QVERIFY(cli.waitForFinished(20000));
    QCOMPARE(cli.exitCode(), kExitOk);
    QCOMPARE(QString::fromUtf8(cli.readAllStandardOutput()), QStringLiteral("Connect ...\n"));

    cli.start(QStringLiteral(TELVORA_CLI_PROGRAM),
              {"--device", home.filePath(QStringLiteral("no-such-tty")), "check"});
    QVERIFY(cli.waitForFinished(20000));
    QCOMPARE(cli.exitCode(), kExitUsage);
    // Text 37, then the port's own words.
    const QStringList lines = QString::fromUtf8(cli.readAllStandardError()).split('\n');
    QCOMPARE(lines.value(0), UiText(Language::Czech, 37));
    QVERIFY2(lines.value(1).startsWith(home.filePath(QStringLiteral("no-such-tty")) + ": "),
             qPrintable(lines.value(1)));
}

void CliTest::windowProgramAnswersHelpAndVersionWithoutADisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(name));
    }
    QProcess telvora;
    telvora.setProcessEnvironment(environment);
    telvora.start(QStringLiteral(TELVORA_PROGRAM), {"--version"});
    QVERIFY(telvora.waitForFinished(20000));
    QCOMPARE(telvora.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(telvora.readAllStandardOutput()).trimmed(),
             QStringLiteral("telvora 1.21.21"));
    telvora.start(QStringLiteral(TELVORA_PROGRAM), {"--help"});
    QVERIFY(telvora.waitForFinished(20000));
    QCOMPARE(telvora.exitCode(), 0);
    QVERIFY(telvora.readAllStandardOutput().contains("--device"));
    telvora.start(QStringLiteral(TELVORA_PROGRAM), {"--no-such-option"});
    QVERIFY(telvora.waitForFinished(20000));
    QCOMPARE(telvora.exitCode(), 1);
    QVERIFY(telvora.readAllStandardError().contains("no-such-option"));
}

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
