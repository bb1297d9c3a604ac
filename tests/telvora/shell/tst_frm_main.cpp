// The main window's start-up, configuration, language and link check,
// against a fake phone port, fake message boxes and temporary settings.

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "telvora/core/ui_texts.h"
#include "telvora/link/at_link.h"
#include "telvora/setup/device_port.h"
#include "telvora/setup/settings.h"
#include "telvora/setup/single_instance.h"
#include "telvora/shell/frm_main.h"
#include "telvora/shell/frm_working.h"
#include "tests/telvora/shell/shell_fakes.h"

using namespace telvora;
using telvora::test::FakeMessageBoxes;
using telvora::test::FakePort;
using Kind = MessageBoxes::Kind;

namespace {

const QString kConnectedCs = QStringLiteral("Telvora SMS  - Připojeno ...");
const QString kDisconnectedCs = QStringLiteral("Telvora SMS  - NEPŘIPOJENO !!!");

// One telvora with its own settings file and lock in a temporary folder.
struct Rig {
    explicit Rig(const QMap<QString, QString>& stored = {}, OpenResult open = OpenResult::Ok,
                 FakePort::Phone phone = FakePort::Phone::Answers, const QString& device = {}) {
        QSettings file(settingsPath(), QSettings::IniFormat);
        for (auto it = stored.begin(); it != stored.end(); ++it) {
            file.setValue(QStringLiteral("Conf/") + it.key(), it.value());
        }
        file.sync();
        settings = std::make_unique<SettingsStore>(
            std::make_unique<QSettings>(settingsPath(), QSettings::IniFormat));
        ShellSetup setup;
        setup.settings = settings.get();
        setup.messages = &boxes;
        auto fake = std::make_unique<FakePort>(open, phone, &log);
        port = fake.get();
        setup.port = std::move(fake);
        setup.lockPath = lockPath();
        setup.deviceOverride = device;
        makeWindow(std::move(setup));
    }

    void makeWindow(ShellSetup setup) {
        window = std::make_unique<frmMain>(std::move(setup));
        window->setConfigurationRunner([this](frmconf& dialog) {
            ++configurations;
            windowVisibleAtConfiguration = window->isVisible();
            shownPort = dialog.cmbport()->currentText();
            shownLanguage = dialog.cmblang()->currentText();
            if (answerConfiguration) {
                answerConfiguration(dialog);
            }
        });
    }

    QString settingsPath() const { return dir.filePath(QStringLiteral("Telvora.conf")); }
    QString lockPath() const { return dir.filePath(QStringLiteral("telvora.lock")); }
    StoredSettings stored() const { return settings->read(); }

    QTemporaryDir dir;
    FakePort::Log log;
    FakePort* port = nullptr;
    FakeMessageBoxes boxes;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<frmMain> window;

    std::function<void(frmconf&)> answerConfiguration;  // nothing: closed without OK
    int configurations = 0;
    bool windowVisibleAtConfiguration = false;
    QString shownPort;
    QString shownLanguage;
};

const QMap<QString, QString> kCzechCom1{{"port", "1"}, {"langver", "1"}};

// Picks a port entry by its caption, a language, and presses OK.
std::function<void(frmconf&)> Choose(const QString& port, int language) {
    return [port, language](frmconf& dialog) {
        const int index = dialog.cmbport()->findText(port);
        QVERIFY2(index >= 0, qPrintable(port));
        dialog.cmbport()->setCurrentIndex(index);
        dialog.cmblang()->setCurrentIndex(language - 1);
        dialog.butOK()->click();
    };
}

QString Caption(QObject* control) {
    if (auto* menu = qobject_cast<QMenu*>(control)) {
        return menu->title();
    }
    if (auto* action = qobject_cast<QAction*>(control)) {
        return action->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        return label->text();
    }
    return {};
}

QObject* Control(QWidget* window, const QString& name) {
    if (auto* menu = window->findChild<QMenu*>(name)) {
        return menu;
    }
    if (auto* action = window->findChild<QAction*>(name)) {
        return action;
    }
    return window->findChild<QWidget*>(name);
}

}  // namespace

class FrmMainTest : public QObject {
    Q_OBJECT
private slots:
    void firstRunConfiguresBeforeTheWindowShows();
    void storedSettingsChooseLanguageAndPreselectConfiguration();
    void languageChangeRelabelsEveryControl();
    void secondInstanceEndsWithoutTouchingThePort();
    void missingStoredPortEndsAndAsksAgainNextTime();
    void missingDeviceGivenForOneRunKeepsStoredSettings();
    void silentPhoneAsksToConfigure();
    void portInUseIsReportedAndTheWindowRuns();
    void configurationToMissingPortForgetsIt();
    void deviceChoiceKeepsThePortSetting();
    void demoPhoneStartsConnected();
    void menusLockAndPollSkipsWhileBusy();
    void linkCheckHoldsThePortAgainstATimerTick();
    void commandsFindingThePortHeldWriteNothing();
    void phoneThatComesBackIsConnectedAgain();
    void configurationShowsTheDeviceInUse();
    void unwritableSettingsAreReported();
    void gridsHaveTheirColumns();
    void progressWindowShowsTheCountWhenKnown();
};

void FrmMainTest::firstRunConfiguresBeforeTheWindowShows() {
    Rig rig;
    rig.answerConfiguration = Choose(QStringLiteral("Com 2"), 2);
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);

    QCOMPARE(rig.configurations, 1);
    QVERIFY(!rig.windowVisibleAtConfiguration);
    QCOMPARE(rig.shownPort, QStringLiteral("Com 1"));  // nothing stored: first entries
    QCOMPARE(rig.shownLanguage, QStringLiteral("Czech"));
    QCOMPARE(rig.stored().port, QStringLiteral("2"));
    QCOMPARE(rig.stored().language, 2);
    QCOMPARE(rig.log.opened, QStringList{QStringLiteral("/dev/ttyS1")});
    QCOMPARE(rig.window->ui().mnu_conf->text(), QStringLiteral("&Configuration"));
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Telvora SMS  - Connect ..."));
    QVERIFY(rig.boxes.shown.isEmpty());
    QVERIFY(rig.window->ui().TimerSignal->isActive());
    QCOMPARE(rig.window->ui().TimerSignal->interval(), 7000);

    // Closed without OK on the first run: no port, so text 37 and the end.
    Rig closed;
    QCOMPARE(closed.window->Startup(), frmMain::StartResult::Ended);
    QCOMPARE(closed.configurations, 1);
    QVERIFY(closed.log.opened.isEmpty());
    QCOMPARE(closed.boxes.shown.size(), 1);
    QCOMPARE(closed.boxes.shown[0].text, UiText(Language::Czech, 37));
}

void FrmMainTest::storedSettingsChooseLanguageAndPreselectConfiguration() {
    Rig rig({{"port", "3"}, {"langver", "2"}});
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    QCOMPARE(rig.configurations, 0);
    QCOMPARE(rig.log.opened, QStringList{QStringLiteral("/dev/ttyS2")});
    QCOMPARE(rig.window->ui().cmbNactiSMS->text(), QStringLiteral("Download &SMS"));

    // Closed without OK: nothing changes and the signal timer runs again.
    rig.window->ui().mnu_conf->trigger();
    QCOMPARE(rig.configurations, 1);
    QCOMPARE(rig.shownPort, QStringLiteral("Com 3"));
    QCOMPARE(rig.shownLanguage, QStringLiteral("English"));
    QCOMPARE(rig.stored().port, QStringLiteral("3"));
    QVERIFY(rig.window->ui().TimerSignal->isActive());
}

void FrmMainTest::languageChangeRelabelsEveryControl() {
    struct Row {
        const char* control;
        bool toolTip;
        int text;
    };
    const Row rows[] = {
        {"mnu_exit", false, 1},      {"mnu_conf", false, 2},     {"mnu_seznam", false, 3},
        {"mni_open", false, 4},      {"mni_save", false, 5},     {"mni_upload", false, 6},
        {"mni_razeni_0", false, 7},  {"mni_razeni_1", false, 8}, {"mnu_zpravy", false, 9},
        {"mni_ulozsms", false, 10},  {"mnu_melodie", false, 11}, {"mnu_aplikace", false, 12},
        {"lbltlfseznam", false, 22}, {"lbltlfcislo", false, 14}, {"lbltextzpravy", false, 18},
        {"lblzbyvachar", false, 23}, {"cmbExit", false, 1},      {"cmbPhoneBook", false, 13},
        {"cmbVytocit", false, 15},   {"cmbZavesit", false, 16},  {"cmbZavesit", true, 17},
        {"cmbOdeslat", false, 20},   {"cmbClear", false, 19},    {"cmbNactiSMS", false, 26},
        {"Checkdelete", false, 27},  {"Checkdelete", true, 32},  {"CheckDelsi160", false, 21},
        {"flexSMS", true, 33},
    };
    Rig rig(kCzechCom1);
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    for (Language language : {Language::Czech, Language::English}) {
        if (language == Language::English) {
            rig.answerConfiguration = Choose(QStringLiteral("Com 1"), 2);
            rig.window->ui().mnu_conf->trigger();
        }
        for (const Row& row : rows) {
            QObject* control = Control(rig.window.get(), QString::fromLatin1(row.control));
            QVERIFY2(control != nullptr, row.control);
            QString expected = UiText(language, row.text);
            if (row.text == 22) {
                expected = QStringLiteral("- ") + expected + QStringLiteral(" -");
            }
            const QString shown =
                row.toolTip ? qobject_cast<QWidget*>(control)->toolTip() : Caption(control);
            QVERIFY2(shown == expected,
                     qPrintable(
                         QStringLiteral("%1: %2 instead of %3").arg(row.control, shown, expected)));
        }
        QCOMPARE(rig.window->ui().cmbExit->text(), QStringLiteral("E&xit"));
        QCOMPARE(Caption(Control(rig.window.get(), QStringLiteral("CheckBezDiakritiky"))),
                 UiText(language, 116));
    }
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Telvora SMS  - Connect ..."));
}

void FrmMainTest::secondInstanceEndsWithoutTouchingThePort() {
    Rig rig(kCzechCom1);
    SingleInstance first(rig.lockPath());
    QVERIFY(first.tryAcquire());
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Ended);
    QVERIFY(rig.log.opened.isEmpty());
    QCOMPARE(rig.configurations, 0);
    // The user learns why no second window comes up.
    QCOMPARE(rig.boxes.shown.size(), 1);
    QCOMPARE(rig.boxes.shown[0].kind, Kind::Info);
    QCOMPARE(rig.boxes.shown[0].text, UiText(Language::Czech, kTextAlreadyRunning));
}

void FrmMainTest::missingStoredPortEndsAndAsksAgainNextTime() {
    {
        Rig rig({{"port", "3"}, {"langver", "2"}}, OpenResult::InvalidPort);
        QCOMPARE(rig.window->Startup(), frmMain::StartResult::Ended);
        QCOMPARE(rig.boxes.shown.size(), 1);
        QCOMPARE(rig.boxes.shown[0].kind, Kind::Error);
        QCOMPARE(rig.boxes.shown[0].text, UiText(Language::English, 37));
        QCOMPARE(rig.stored().port, QString());
        QCOMPARE(rig.stored().language, 2);
        QVERIFY(NeedsConfiguration(rig.stored()));
    }
}

void FrmMainTest::missingDeviceGivenForOneRunKeepsStoredSettings() {
    Rig rig({{"port", "2"}, {"langver", "1"}}, OpenResult::InvalidPort, FakePort::Phone::Answers,
            QStringLiteral("/dev/ttyUSB7"));
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Ended);
    QCOMPARE(rig.log.opened, QStringList{QStringLiteral("/dev/ttyUSB7")});
    QCOMPARE(rig.boxes.shown.size(), 1);
    QCOMPARE(rig.boxes.shown[0].text, UiText(Language::Czech, 37));
    QCOMPARE(rig.stored().port, QStringLiteral("2"));
}

void FrmMainTest::silentPhoneAsksToConfigure() {
    {
        Rig rig(kCzechCom1, OpenResult::Ok, FakePort::Phone::Silent);
        rig.boxes.answers = {false};
        QCOMPARE(rig.window->Startup(), frmMain::StartResult::Ended);
        QCOMPARE(rig.boxes.shown.size(), 1);
        QVERIFY(rig.boxes.shown[0].question);
        QCOMPARE(rig.boxes.shown[0].kind, Kind::Error);
        QCOMPARE(rig.boxes.shown[0].text, UiText(Language::Czech, 36));
        QCOMPARE(rig.log.closes, 1);
        QCOMPARE(rig.configurations, 0);
    }
    {
        // Yes: the configuration window; the port is moved to the new choice.
        Rig rig(kCzechCom1, OpenResult::Ok, FakePort::Phone::Silent);
        rig.boxes.answers = {true};
        rig.answerConfiguration = Choose(QStringLiteral("Com 4"), 1);
        QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
        QCOMPARE(rig.configurations, 1);
        QCOMPARE(rig.log.opened, (QStringList{"/dev/ttyS0", "/dev/ttyS3"}));
        QCOMPARE(rig.window->windowTitle(), kDisconnectedCs);
        QVERIFY(!rig.window->link().Connected());
    }
}

void FrmMainTest::portInUseIsReportedAndTheWindowRuns() {
    Rig rig(kCzechCom1, OpenResult::PortInUse);
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    QCOMPARE(rig.boxes.shown.size(), 1);
    QCOMPARE(rig.boxes.shown[0].kind, Kind::Error);
    QCOMPARE(rig.boxes.shown[0].text, UiText(Language::Czech, 79));
    QCOMPARE(rig.window->windowTitle(), kDisconnectedCs);
    QCOMPARE(rig.stored().port, QStringLiteral("1"));
}

void FrmMainTest::configurationToMissingPortForgetsIt() {
    Rig rig(kCzechCom1);
    rig.log.missing << QStringLiteral("/dev/ttyS3");
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    QCOMPARE(rig.window->windowTitle(), kConnectedCs);

    rig.log.error = QStringLiteral("No such file or directory");
    rig.answerConfiguration = Choose(QStringLiteral("Com 4"), 2);
    rig.window->ui().mnu_conf->trigger();
    // One message for one failure, with the port's own words: the link check
    // after the window does not add text 78 to text 37.
    QCOMPARE(rig.boxes.shown.size(), 1);
    QCOMPARE(rig.boxes.shown[0].text,
             UiText(Language::English, 37) + "\n\n/dev/ttyS3: No such file or directory");
    QCOMPARE(rig.stored().port, QString());
    QCOMPARE(rig.stored().language, 2);
    QCOMPARE(rig.window->ui().cmbVytocit->text(), QStringLiteral("Dial"));
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Telvora SMS  - DISCONNECT !!!"));
    QVERIFY(!rig.window->CheckLink());  // later checks: the same failure, not said again
    QCOMPARE(rig.boxes.shown.size(), 1);

    // Only choosing another port helps, and it does without a restart.
    rig.answerConfiguration = Choose(QStringLiteral("Com 2"), 2);
    rig.window->ui().mnu_conf->trigger();
    QCOMPARE(rig.log.opened.last(), QStringLiteral("/dev/ttyS1"));
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Telvora SMS  - Connect ..."));
    QCOMPARE(rig.boxes.shown.size(), 1);
}

void FrmMainTest::deviceChoiceKeepsThePortSetting() {
    Rig rig({{"port", "3"}, {"langver", "1"}});
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    rig.answerConfiguration = Choose(QStringLiteral("Demo phone"), 1);
    rig.window->ui().mnu_conf->trigger();
    QCOMPARE(rig.stored().device, QStringLiteral("demo"));
    QCOMPARE(rig.stored().port, QStringLiteral("3"));
    QCOMPARE(rig.log.opened.last(), QStringLiteral("demo"));

    // The stored device is preselected, and a Com port replaces it again.
    rig.answerConfiguration = Choose(QStringLiteral("Com 2"), 1);
    rig.window->ui().mnu_conf->trigger();
    QCOMPARE(rig.shownPort, QStringLiteral("Demo phone"));
    QCOMPARE(rig.stored().device, QString());
    QCOMPARE(rig.stored().port, QStringLiteral("2"));
    QCOMPARE(rig.log.opened.last(), QStringLiteral("/dev/ttyS1"));
}

void FrmMainTest::demoPhoneStartsConnected() {
    Rig rig;  // no settings at all: --device demo skips the first-run configuration
    ShellSetup setup;
    setup.settings = rig.settings.get();
    setup.messages = &rig.boxes;
    setup.port = MakeDevicePort();
    setup.lockPath = rig.lockPath();
    setup.deviceOverride = QStringLiteral("demo");
    rig.makeWindow(std::move(setup));
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    QCOMPARE(rig.configurations, 0);
    // One line says that this is the demo phone and where a real one is chosen.
    QCOMPARE(rig.boxes.shown.size(), 1);
    QCOMPARE(rig.boxes.shown[0].text, UiText(Language::Czech, kTextDemoPhoneNotice));
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Telvora SMS  - Připojeno – demo telefon"));
    QVERIFY(rig.window->link().Connected());
}

void FrmMainTest::menusLockAndPollSkipsWhileBusy() {
    Rig rig(kCzechCom1);
    int polls = 0;
    rig.window->setNetworkPoll([&polls] { ++polls; });
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    QCOMPARE(polls, 1);  // once at the end of start-up

    const MainWindowControls& ui = rig.window->ui();
    const QList<QAction*> menus{ui.mnu_exit,    ui.mnu_conf,     ui.mnu_seznam->menuAction(),
                                ui.mnu_melodie, ui.mnu_aplikace, ui.mnu_zpravy->menuAction()};
    rig.window->LockMenus();
    for (QAction* menu : menus) {
        QVERIFY2(!menu->isEnabled(), qPrintable(menu->objectName()));
    }
    rig.window->UnlockMenus();
    for (QAction* menu : menus) {
        QVERIFY2(menu->isEnabled(), qPrintable(menu->objectName()));
    }

    std::optional<PortLease> command = rig.window->link().tryAcquire();
    QVERIFY(command);
    QMetaObject::invokeMethod(ui.TimerSignal, "timeout", Qt::DirectConnection);
    QCOMPARE(polls, 1);
    command.reset();
    QMetaObject::invokeMethod(ui.TimerSignal, "timeout", Qt::DirectConnection);
    QCOMPARE(polls, 2);
}

void FrmMainTest::linkCheckHoldsThePortAgainstATimerTick() {
    Rig rig(kCzechCom1, OpenResult::Ok, FakePort::Phone::AnswersLater);
    int polls = 0;
    rig.window->setNetworkPoll([&polls] { ++polls; });
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    polls = 0;

    // A tick that comes due while the check waits for "OK" must find the
    // port taken, not start a second exchange on the line.
    const MainWindowControls& ui = rig.window->ui();
    QTimer::singleShot(0, ui.TimerSignal, [&ui] {
        QMetaObject::invokeMethod(ui.TimerSignal, "timeout", Qt::DirectConnection);
    });
    QVERIFY(rig.window->CheckLink());
    QCOMPARE(polls, 0);
    QVERIFY(!rig.window->link().Busy());
}

void FrmMainTest::commandsFindingThePortHeldWriteNothing() {
    Rig rig(kCzechCom1);
    int polls = 0;
    rig.window->setNetworkPoll([&polls] { ++polls; });
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    const MainWindowControls& ui = rig.window->ui();
    ui.txtSMS->setPlainText(QStringLiteral("Ahoj"));     // the send button also needs a text
    ui.txtNumber->setText(QStringLiteral("603123456"));  // Dial needs a number as well
    const QList<QPushButton*> commands{ui.cmbPhoneBook, ui.cmbVytocit, ui.cmbOdeslat,
                                       ui.cmbNactiSMS};
    const int writes = rig.log.writes;
    const int configurations = rig.configurations;
    polls = 0;

    std::optional<PortLease> running = rig.window->link().tryAcquire();
    QVERIFY(running);
    for (QPushButton* button : commands) {
        QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
    }
    QVERIFY(ui.cmbZavesit->isEnabled());  // hang-up ends a call that holds the port
    QVERIFY(!rig.window->CheckLink());
    rig.window->ui().mnu_conf->trigger();
    QMetaObject::invokeMethod(ui.TimerSignal, "timeout", Qt::DirectConnection);
    QCOMPARE(rig.log.writes, writes);
    QCOMPARE(polls, 0);
    QCOMPARE(rig.configurations, configurations);
    QCOMPARE(rig.boxes.shown.size(), 2);
    for (const FakeMessageBoxes::Shown& box : rig.boxes.shown) {
        QCOMPARE(box.kind, Kind::Error);
        QCOMPARE(box.text, UiText(Language::Czech, kTextCommandRunning));
    }
    QCOMPARE(rig.window->windowTitle(), kConnectedCs);  // the state is unknown, not lost

    // The running command's own check goes through its lease.
    QVERIFY(rig.window->CheckLink(&*running));
    QCOMPARE(rig.log.writes, writes + 1);
    running.reset();
    for (QPushButton* button : commands) {
        QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
    }
}

void FrmMainTest::phoneThatComesBackIsConnectedAgain() {
    Rig rig(kCzechCom1);
    int polls = 0;
    rig.window->setNetworkPoll([&polls] { ++polls; });
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    QCOMPARE(rig.window->windowTitle(), kConnectedCs);
    polls = 0;
    const auto tick = [&rig] {
        QMetaObject::invokeMethod(rig.window->ui().TimerSignal, "timeout", Qt::DirectConnection);
    };

    // The adapter is pulled: the port closes and the title says so at once.
    rig.log.missing << QStringLiteral("/dev/ttyS0");
    rig.port->fail();
    QCOMPARE(rig.window->windowTitle(), kDisconnectedCs);
    tick();  // tries again, quietly, and finds it still away
    QCOMPARE(rig.window->windowTitle(), kDisconnectedCs);
    QCOMPARE(polls, 0);

    // Plugged in again: the next tick opens it and the poll runs again.
    rig.log.missing.clear();
    tick();
    QCOMPARE(rig.window->windowTitle(), kConnectedCs);
    QCOMPARE(polls, 1);
    QVERIFY(rig.boxes.shown.isEmpty());
    QCOMPARE(rig.log.opened, (QStringList{"/dev/ttyS0", "/dev/ttyS0", "/dev/ttyS0"}));

    // Configuration OK opens the chosen device whatever state the old one is in.
    rig.port->fail();
    rig.answerConfiguration = Choose(QStringLiteral("Com 1"), 1);
    rig.window->ui().mnu_conf->trigger();
    QCOMPARE(rig.window->windowTitle(), kConnectedCs);
}

void FrmMainTest::configurationShowsTheDeviceInUse() {
    // A fresh machine runs the demo phone: nothing stored, the device given.
    Rig rig({}, OpenResult::Ok, FakePort::Phone::Answers, QStringLiteral("demo"));
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    QCOMPARE(rig.configurations, 0);

    // Only the language is changed: the demo phone stays, open as it was.
    rig.answerConfiguration = Choose(QStringLiteral("Demo phone"), 2);
    rig.window->ui().mnu_conf->trigger();
    QCOMPARE(rig.shownPort, QStringLiteral("Demo phone"));
    QCOMPARE(rig.shownLanguage, QStringLiteral("Czech"));
    QCOMPARE(rig.log.opened, QStringList{QStringLiteral("demo")});
    QCOMPARE(rig.log.closes, 0);
    QCOMPARE(rig.stored().device, QStringLiteral("demo"));
    QCOMPARE(rig.stored().language, 2);
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Telvora SMS  - Connected – demo phone"));

    rig.answerConfiguration = {};
    rig.window->ui().mnu_conf->trigger();
    QCOMPARE(rig.shownPort, QStringLiteral("Demo phone"));
    QCOMPARE(rig.shownLanguage, QStringLiteral("English"));
}

void FrmMainTest::unwritableSettingsAreReported() {
    Rig rig;
    // A folder where the settings file should be: nothing can be written.
    QVERIFY(QDir(rig.dir.path()).mkpath(QStringLiteral("Telvora.conf")));
    rig.answerConfiguration = Choose(QStringLiteral("Com 2"), 2);
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    QCOMPARE(rig.boxes.shown.size(), 1);
    QCOMPARE(rig.boxes.shown[0].kind, Kind::Error);
    QCOMPARE(rig.boxes.shown[0].text,
             UiText(Language::English, kTextSettingsNotSaved).arg(rig.settingsPath()));
    // The choice holds for this run.
    QCOMPARE(rig.log.opened, QStringList{QStringLiteral("/dev/ttyS1")});
    QCOMPARE(rig.window->ui().mnu_conf->text(), QStringLiteral("&Configuration"));
}

void FrmMainTest::gridsHaveTheirColumns() {
    Rig rig({{"port", "1"}, {"langver", "2"}});
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    const QTableWidget* messages = rig.window->ui().flexSMS;
    QCOMPARE(messages->columnCount(), 6);
    QVERIFY(messages->columnWidth(0) >= 110);  // 1650 twips, or the date in a larger font
    QVERIFY(messages->columnWidth(1) >= 90);   // 1350 twips, or a number in a larger font
    QCOMPARE(messages->columnWidth(2), 300);   // 4500 twips
    const QFontMetrics metrics = messages->fontMetrics();
    QVERIFY(messages->columnWidth(0) > metrics.horizontalAdvance(QStringLiteral("28.11.2026")));
    QVERIFY(messages->columnWidth(1) > metrics.horizontalAdvance(QStringLiteral("+420603123456")));
    for (int column = 3; column < 6; ++column) {
        QVERIFY(messages->isColumnHidden(column));
    }
    QCOMPARE(messages->horizontalHeaderItem(0)->text(), QStringLiteral("Time"));
    QCOMPARE(messages->horizontalHeaderItem(1)->text(), QStringLiteral("Phone"));
    QCOMPARE(messages->horizontalHeaderItem(2)->text(), QStringLiteral("Mesg"));

    const QTableWidget* phoneBook = rig.window->ui().FlexPB;
    QCOMPARE(phoneBook->columnCount(), 3);
    QCOMPARE(phoneBook->columnWidth(0), 140);  // 2100 twips
    QVERIFY(phoneBook->isColumnHidden(1));
    QVERIFY(phoneBook->isColumnHidden(2));
    QVERIFY(rig.window->ui().mni_razeni_0->isChecked());
}

void FrmMainTest::progressWindowShowsTheCountWhenKnown() {
    // At 1.5 times the default font; TELVORA_SCREENSHOTS names a folder to
    // keep the picture in.
    const QFont original = QApplication::font();
    QFont large = original;
    large.setPointSizeF(original.pointSizeF() * 1.5);
    QApplication::setFont(large);
    {
        frmWorking working;
        working.setCancelCaption(QStringLiteral("&Storno"));
        working.showProgress(QStringLiteral("Nahrávám 250/250"), true, 250, 250);
        working.adjustSize();
        QApplication::processEvents();
        QVERIFY(working.ProgressBar1()->isVisible());
        QCOMPARE(working.ProgressBar1()->maximum(), 250);
        QCOMPARE(working.ProgressBar1()->value(), 250);
        QVERIFY(working.Label1()->width() >= working.Label1()->sizeHint().width());
        QVERIFY(working.cmbCancel()->width() >= working.cmbCancel()->sizeHint().width());
        const QString folder = qEnvironmentVariable("TELVORA_SCREENSHOTS");
        if (!folder.isEmpty()) {
            working.grab().save(QDir(folder).filePath(QStringLiteral("telvora-working-150.png")));
        }
        // A step beyond the end never shows more than a full bar.
        working.showProgress(QStringLiteral("Nahrávám"), true, 9, 4);
        QCOMPARE(working.ProgressBar1()->value(), 4);
        // The next command that does not know its count shows no bar.
        working.showText(QStringLiteral("Načítám ..."));
        QVERIFY(working.ProgressBar1()->isHidden());
        QVERIFY(working.cmbCancel()->isHidden());
    }
    QApplication::setFont(original);
}

QTEST_MAIN(FrmMainTest)
#include "tst_frm_main.moc"
