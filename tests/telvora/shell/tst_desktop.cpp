// telvora as an installed desktop program: the command line's help, version
// and refusals before any port is opened, where files are kept, Qt's own
// texts and the configuration window in the program's language, and a second
// start that brings the running window to the front.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>
#include <future>
#include <thread>

#include "telvora/cli/cli.h"
#include "telvora/core/data_folder.h"
#include "telvora/core/ui_texts.h"
#include "telvora/phonebook/phone_book_store.h"
#include "telvora/setup/device_port.h"
#include "telvora/setup/instance_channel.h"
#include "telvora/setup/settings.h"
#include "telvora/shell/frm_conf.h"
#include "telvora/shell/qt_translations.h"
#include "tests/telvora/shell/shell_fakes.h"

using namespace telvora;
using telvora::test::FakePort;

namespace {

struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

class CliRig {
public:
    CliRig()
        : m_settings(std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("Telvora.conf")),
                                                 QSettings::IniFormat)) {}

    // Runs telvora-cli on a fake port that answers; what it opened is in `log`.
    CliRun run(const QStringList& args) {
        return run(args, [this] {
            return std::make_unique<FakePort>(OpenResult::Ok, FakePort::Phone::Answers, &log);
        });
    }
    CliRun run(const QStringList& args, std::function<std::unique_ptr<SerialPort>()> makePort) {
        CliRun result;
        QTextStream out(&result.out);
        QTextStream err(&result.err);
        CliEnvironment environment{&m_settings, std::move(makePort), &out, &err};
        result.code = RunCli(args, environment);
        out.flush();
        err.flush();
        return result;
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    FakePort::Log log;

private:
    QTemporaryDir m_dir;
    SettingsStore m_settings;
};

QString WithoutAccelerator(QString text) {
    return text.remove(QLatin1Char('&'));
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT
private slots:
    void everyCommandAnswersHelpWithItsOwnUsage();
    void versionInTheUsualForm();
    void missingInputFilesAreUsageErrorsBeforeThePortOpens();
    void whatIsNoSerialPortIsCalledSo();
    void onlyTheBuildTreeKeepsFilesBesideTheProgram();
    void configurationWindowSpeaksTheProgramsLanguage();
    void configurationWindowFitsALargerFont();
    void qtStandardButtonsFollowTheLanguage();
    void channelRaisesTheRunningProgram();
    void secondStartBringsTheRunningWindowToTheFront();
};

void DesktopTest::everyCommandAnswersHelpWithItsOwnUsage() {
    CliRig rig;
    const struct {
        QStringList args;
        QString usage;
    } cases[] = {
        {{"dial", "--help"}, "dial NUMBER"},
        {{"--help", "dial"}, "dial NUMBER"},
        {{"hangup", "-h"}, "hangup"},
        {{"sms", "--help"}, "sms send|list|archive"},
        {{"sms", "send", "--help"}, "sms send|list|archive"},
        {{"pb", "--help"}, "pb read|write"},
        {{"ringtone", "--help"}, "ringtone get|set"},
    };
    for (const auto& c : cases) {
        const CliRun run = rig.run(c.args);
        QCOMPARE(run.code, kExitOk);
        QVERIFY2(run.out.startsWith(QStringLiteral("usage: telvora-cli ")), qPrintable(run.out));
        QVERIFY2(run.out.section(QLatin1Char('\n'), 0, 0).endsWith(c.usage), qPrintable(run.out));
        QVERIFY(run.err.isEmpty());
    }
    // The details of a command say its options.
    QVERIFY(rig.run({"sms", "--help"}).out.contains(QStringLiteral("--phonebook FILE")));
    QVERIFY(rig.run({"pb", "--help"}).out.contains(QStringLiteral("pb write sm|me FILE")));
    // The general help names every command and how to ask about one.
    const CliRun general = rig.run({"--help"});
    QCOMPARE(general.code, kExitOk);
    for (const char* command : {"check", "status", "dial", "hangup", "ringtone", "pb", "sms"}) {
        QVERIFY2(general.out.contains(QStringLiteral("\n  ") + QLatin1String(command)), command);
    }
    QVERIFY(general.out.contains(QStringLiteral("COMMAND --help")));
    // Wrong arguments show that command's usage on standard error.
    const CliRun wrong = rig.run({"dial"});
    QCOMPARE(wrong.code, kExitUsage);
    QVERIFY(wrong.err.contains(QStringLiteral("dial NUMBER")));
    QVERIFY(!wrong.err.contains(QStringLiteral("ringtone")));
    QVERIFY(rig.log.opened.isEmpty());
}

void DesktopTest::versionInTheUsualForm() {
    CliRig rig;
    for (const QStringList& args : {QStringList{"--version"}, QStringList{"-v"}}) {
        const CliRun run = rig.run(args);
        QCOMPARE(run.code, kExitOk);
        QCOMPARE(run.out, QStringLiteral("telvora-cli 1.21.21\n"));
    }
    QVERIFY(rig.log.opened.isEmpty());
}

void DesktopTest::missingInputFilesAreUsageErrorsBeforeThePortOpens() {
    CliRig rig;
    const QString missing = rig.path(QStringLiteral("missing.tpb"));
    QDir().mkpath(rig.path(QStringLiteral("folder.tpb")));
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"--device", "/dev/x", "pb", "write", "sm", missing}, missing + ": no such file"},
        {{"--device", "/dev/x", "pb", "write", "me", rig.path("folder.tpb")},
         rig.path("folder.tpb") + ": not a file"},
        {{"--device", "/dev/x", "sms", "list", "--phonebook", missing}, missing + ": no such file"},
    };
    for (const auto& c : cases) {
        const CliRun run = rig.run(c.args);
        QCOMPARE(run.code, kExitUsage);
        QCOMPARE(run.err, QStringLiteral("telvora-cli: ") + c.message + QLatin1Char('\n'));
    }
    QVERIFY(rig.log.opened.isEmpty());

    // An output file need not exist.
    const CliRun read =
        rig.run({"--device", "/dev/x", "pb", "read", "sm", "--out", rig.path("new.tpb")});
    QVERIFY(read.err.isEmpty() || !read.err.contains(QStringLiteral("no such file")));
    QCOMPARE(rig.log.opened, QStringList{QStringLiteral("/dev/x")});
}

void DesktopTest::whatIsNoSerialPortIsCalledSo() {
    CliRig rig;
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString inUse = UiText(Language::English, 79);
    for (const QString& device : {QStringLiteral("/dev/null"), dir.path(), plain.fileName()}) {
        const CliRun run = rig.run({"--lang", "en", "--device", device, "check"}, &MakeDevicePort);
        QCOMPARE(run.code, kExitUsage);
        QVERIFY2(run.err.contains(QStringLiteral("not a serial port")), qPrintable(run.err));
        QVERIFY2(run.err.startsWith(QStringLiteral("telvora-cli: ") + device + QLatin1Char(':')),
                 qPrintable(run.err));
        QVERIFY(!run.err.contains(inUse));
    }
}

void DesktopTest::onlyTheBuildTreeKeepsFilesBesideTheProgram() {
    QTemporaryDir dir;
    const QString build = dir.filePath(QStringLiteral("build/bin"));
    const QString installed = dir.filePath(QStringLiteral("usr/bin"));
    QVERIFY(QDir().mkpath(build) && QDir().mkpath(installed));
    QVERIFY(QFile::link(build, dir.filePath(QStringLiteral("linked"))));

    QVERIFY(IsBuildTreeFolder(build, build));
    QVERIFY(IsBuildTreeFolder(dir.filePath(QStringLiteral("linked")), build));
    QVERIFY(IsBuildTreeFolder(build + QStringLiteral("/"), build));
    QVERIFY(!IsBuildTreeFolder(installed, build));
    QVERIFY(!IsBuildTreeFolder(QString(), build));
    QVERIFY(!IsBuildTreeFolder(build, QString()));
    QVERIFY(!IsBuildTreeFolder(dir.filePath(QStringLiteral("gone")),
                               dir.filePath(QStringLiteral("gone"))));

    // This test runs from the build tree, so its files go beside it; an
    // installed copy would use the data folder even where its own is
    // writable.
    QVERIFY(RunsFromBuildTree());
    QCOMPARE(QFileInfo(DefaultPhoneBookFile()).absolutePath(),
             QCoreApplication::applicationDirPath());
    QCOMPARE(ProgramDataFolder(), QCoreApplication::applicationDirPath());
    const QString data = dir.filePath(QStringLiteral("data"));
    QCOMPARE(ChooseDefaultPhoneBookFile(QString(), data),
             QDir(data).filePath(QStringLiteral("default.tpb")));
}

void DesktopTest::configurationWindowSpeaksTheProgramsLanguage() {
    frmconf dialog({});
    const auto label = [&dialog](const char* name) {
        return dialog.findChild<QLabel*>(QLatin1String(name));
    };
    QVERIFY(label("lblport") && label("lbllang"));
    QCOMPARE(label("lblport")->buddy(), dialog.cmbport());
    QCOMPARE(label("lbllang")->buddy(), dialog.cmblang());

    dialog.ApplyLanguage(Language::Czech);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Konfigurace"));
    QCOMPARE(label("lblport")->text(), QStringLiteral("&Port:"));
    QCOMPARE(label("lbllang")->text(), QStringLiteral("&Jazyk:"));
    dialog.ApplyLanguage(Language::English);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Configuration"));
    QCOMPARE(label("lblport")->text(), QStringLiteral("COM &port:"));
    QCOMPARE(label("lbllang")->text(), QStringLiteral("&Language:"));

    // The accelerators of the window differ from each other and from OK's.
    for (Language language : {Language::Czech, Language::English}) {
        dialog.ApplyLanguage(language);
        QSet<QChar> keys;
        for (const QString& text :
             {label("lblport")->text(), label("lbllang")->text(), dialog.butOK()->text()}) {
            const qsizetype at = text.indexOf(QLatin1Char('&'));
            QVERIFY(at >= 0 && at + 1 < text.size());
            keys.insert(text[at + 1].toLower());
        }
        QCOMPARE(keys.size(), 3);
    }
}

void DesktopTest::configurationWindowFitsALargerFont() {
    // At 1.5 times the default font every label and the button show their
    // whole text; TELVORA_SCREENSHOTS names a folder to keep the pictures in.
    const QFont original = QApplication::font();
    QFont large = original;
    large.setPointSizeF(original.pointSizeF() * 1.5);
    QApplication::setFont(large);
    for (Language language : {Language::Czech, Language::English}) {
        frmconf dialog({QStringLiteral("/dev/ttyUSB0")});
        dialog.select({0, QStringLiteral("/dev/ttyUSB0")}, static_cast<int>(language));
        dialog.ApplyLanguage(language);
        dialog.show();
        dialog.adjustSize();
        QApplication::processEvents();
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        }
        QVERIFY(dialog.butOK()->width() >= dialog.butOK()->sizeHint().width());
        QVERIFY(dialog.cmbport()->width() >= dialog.cmbport()->sizeHint().width());
        const QString folder = qEnvironmentVariable("TELVORA_SCREENSHOTS");
        if (!folder.isEmpty()) {
            dialog.grab().save(QDir(folder).filePath(
                language == Language::Czech ? QStringLiteral("telvora-conf-cs-150.png")
                                            : QStringLiteral("telvora-conf-en-150.png")));
        }
    }
    QApplication::setFont(original);
}

void DesktopTest::qtStandardButtonsFollowTheLanguage() {
    if (!QFile::exists(QDir(QtTranslationsFolder()).filePath(QStringLiteral("qtbase_cs.qm")))) {
        QSKIP("Qt's Czech catalogue qtbase_cs.qm is not installed (qt6-translations-l10n)");
    }
    const auto buttons = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        return QStringList{WithoutAccelerator(box.button(QMessageBox::Yes)->text()),
                           WithoutAccelerator(box.button(QMessageBox::No)->text())};
    };
    QVERIFY(ApplyQtTranslations(Language::Czech));
    QCOMPARE(buttons(), (QStringList{QStringLiteral("Ano"), QStringLiteral("Ne")}));
    QVERIFY(ApplyQtTranslations(Language::Czech));  // twice is once
    QCOMPARE(buttons(), (QStringList{QStringLiteral("Ano"), QStringLiteral("Ne")}));
    // A language change at run time takes Qt's texts along.
    QVERIFY(ApplyQtTranslations(Language::English));
    QCOMPARE(buttons(), (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));
}

void DesktopTest::channelRaisesTheRunningProgram() {
    QTemporaryDir dir;
    const QString path = InstanceChannel::PathForLock(dir.filePath(QStringLiteral("telvora.lock")));
    QCOMPARE(path, dir.filePath(QStringLiteral("telvora.socket")));

    // Nobody listens: the answer is no, within the bound.
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!InstanceChannel::AskToRaise(path, 1000));
    QVERIFY(timer.elapsed() < 1000);

    // A socket file left behind by a program that ended is taken over.
    QFile stale(path);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();
    InstanceChannel channel;
    QVERIFY(channel.listen(path));
    QSignalSpy raised(&channel, &InstanceChannel::raiseRequested);
    // The later start blocks in its own thread while this one answers.
    std::future<bool> asked =
        std::async(std::launch::async, [path] { return InstanceChannel::AskToRaise(path, 5000); });
    QTRY_VERIFY_WITH_TIMEOUT(asked.wait_for(std::chrono::seconds(0)) == std::future_status::ready,
                             6000);
    QVERIFY(asked.get());
    QCOMPARE(raised.count(), 1);
}

void DesktopTest::secondStartBringsTheRunningWindowToTheFront() {
    QTemporaryDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(QStringLiteral(TELVORA_PROGRAM), {"--device", "demo"});
    QVERIFY(first.waitForStarted());
    const QString socket = dir.filePath(QStringLiteral("telvora.socket"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 20000);

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(TELVORA_PROGRAM), {"--device", "demo"});
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);  // the first keeps running

    first.terminate();
    if (!first.waitForFinished(5000)) {
        first.kill();
        first.waitForFinished(5000);
    }
}

QTEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
