// The main window while a command runs, on a fake clock and the simulated
// phone at 9600 baud: Cancel in the progress window ends a download and
// says how far it got; Exit, closing the window and a second command act
// only once the running command has ended; a close waits for a call to be
// hung up.

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "telvora/core/fake_clock.h"
#include "telvora/core/ui_texts.h"
#include "telvora/demophone/phonesim_port.h"
#include "telvora/setup/settings.h"
#include "telvora/shell/frm_main.h"
#include "telvora/shell/frm_working.h"
#include "telvora/sms/sms_texts.h"
#include "tests/telvora/shell/shell_fakes.h"

using namespace telvora;
using telvora::test::FakeMessageBoxes;

namespace {

// A phone memory full of long messages: listing it takes about 30 s at 9600 baud.
phonesim::PhoneState FullPhone() {
    QJsonArray messages;
    for (int index = 1; index <= 80; ++index) {
        messages.append(QJsonObject{{"index", index},
                                    {"status", phonesim::kReceivedRead},
                                    {"sender", "+420603123456"},
                                    {"time", "2026-11-28T09:15:00+01:00"},
                                    {"text", QString(160, u'x')}});
    }
    const QJsonObject json{
        {"stores", QJsonObject{{"ME", QJsonObject{{"capacity", 200}, {"messages", messages}}},
                               {"SM", QJsonObject{{"capacity", 30}, {"messages", QJsonArray()}}}}}};
    QString error;
    return phonesim::stateFromJson(json, &error).value_or(phonesim::PhoneState::makeEmpty());
}

struct Rig {
    Rig() {
        QSettings file(dir.filePath(QStringLiteral("Telvora.conf")), QSettings::IniFormat);
        file.setValue(QStringLiteral("Conf/port"), QStringLiteral("1"));
        file.setValue(QStringLiteral("Conf/langver"), QStringLiteral("2"));
        file.sync();
        settings = std::make_unique<SettingsStore>(std::make_unique<QSettings>(
            dir.filePath(QStringLiteral("Telvora.conf")), QSettings::IniFormat));
        phonesim::PhoneState state = FullPhone();
        state.options.baud = 9600;
        auto owned = std::make_unique<phonesim::PhoneSimPort>(std::move(state));
        owned->setClock(clock);
        port = owned.get();
        ShellSetup setup;
        setup.settings = settings.get();
        setup.messages = &boxes;
        setup.port = std::move(owned);
        setup.clock = &clock;
        setup.lockPath = dir.filePath(QStringLiteral("telvora.lock"));
        setup.deviceOverride = QStringLiteral("demo");
        window = std::make_unique<frmMain>(std::move(setup));
        window->show();
    }
    const MainWindowControls& ui() const { return window->ui(); }
    // Runs `action` `ms` into the next command, on the fake clock.
    void after(qint64 ms, std::function<void()> action) {
        clock.callAfter(ms, window.get(), std::move(action));
    }
    // Lets posted events (a deferred close) run.
    static void settle() {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
        }
    }

    FakeClock clock;
    QTemporaryDir dir;
    FakeMessageBoxes boxes;
    std::unique_ptr<SettingsStore> settings;
    phonesim::PhoneSimPort* port = nullptr;
    std::unique_ptr<frmMain> window;
};

}  // namespace

class RunningCommandTest : public QObject {
    Q_OBJECT
private slots:
    void exitTwoHundredMillisecondsIntoADownload();
    void cancelEndsTheDownloadAndSaysHowFarItGot();
    void secondCommandDuringADownloadIsRefused();
    void closingDuringACallHangsUpFirst();
};

void RunningCommandTest::exitTwoHundredMillisecondsIntoADownload() {
    Rig rig;
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    rig.ui().Checkdelete->setChecked(true);
    const qint64 start = rig.clock.nowMs();
    qint64 exitAt = -1;
    rig.after(200, [&] {
        exitAt = rig.clock.nowMs();
        rig.ui().cmbExit->click();
        // The port stays with the download until it has ended.
        QVERIFY(rig.window->link().isOpen());
        QVERIFY(rig.window->isVisible());
    });
    rig.ui().cmbNactiSMS->click();
    QCOMPARE(exitAt - start, 200);
    // The download ended at once (on the phone's time): nothing deleted; then
    // the window closed, and the port with it.
    QCOMPARE(rig.clock.nowMs() - exitAt, 0);
    Rig::settle();
    QVERIFY(!rig.window->isVisible());
    QVERIFY(!rig.window->link().isOpen());
    QVERIFY(!rig.window->link().Busy());
    QCOMPARE(rig.port->phone().state().stores["ME"].messages.size(), 80);
    // Closing says nothing about the cancelled download.
    QVERIFY(rig.boxes.shown.isEmpty());
}

void RunningCommandTest::cancelEndsTheDownloadAndSaysHowFarItGot() {
    Rig rig;
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    rig.ui().Checkdelete->setChecked(true);
    bool cancelShown = false;
    rig.after(5000, [&] {
        frmWorking& working = rig.window->working();
        cancelShown = working.isVisible() && working.cmbCancel()->isVisible() &&
                      working.cmbCancel()->text() == QStringLiteral("&Cancel");
        QTest::keyClick(&working, Qt::Key_Escape);
    });
    const qint64 start = rig.clock.nowMs();
    rig.ui().cmbNactiSMS->click();
    QVERIFY(cancelShown);
    QCOMPARE(rig.clock.nowMs() - start, 5000);
    QVERIFY(!rig.window->working().isVisible());
    QVERIFY(rig.ui().mnu_conf->isEnabled());
    // What arrived whole in 5 s is listed and counted; nothing was deleted.
    const int shown = rig.ui().flexSMS->rowCount();
    QVERIFY(shown > 0 && shown < 80);
    QCOMPARE(rig.boxes.shown.size(), 1);
    QCOMPARE(rig.boxes.shown[0].text,
             UiText(Language::English, sms::kTextDownloadCancelled).arg(shown));
    QCOMPARE(rig.port->phone().state().stores["ME"].messages.size(), 80);
    QVERIFY(rig.ui().flexSMS->horizontalHeaderItem(2)->text().contains(
        UiText(Language::English, sms::kTextIncomplete)));
    QVERIFY(rig.window->isVisible());
    QVERIFY(rig.window->link().isOpen());
}

void RunningCommandTest::secondCommandDuringADownloadIsRefused() {
    Rig rig;
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    bool buttonsOff = false;
    rig.after(200, [&] {
        buttonsOff = !rig.ui().cmbPhoneBook->isEnabled() && !rig.ui().cmbNactiSMS->isEnabled() &&
                     !rig.ui().mnu_conf->isEnabled();
        // A configuration asked for anyway must not move the port under the download.
        rig.ui().mnu_conf->trigger();
    });
    rig.ui().cmbNactiSMS->click();
    QVERIFY(buttonsOff);
    QCOMPARE(rig.ui().flexSMS->rowCount(), 80);
    QVERIFY(rig.boxes.shown.isEmpty());
    QVERIFY(rig.window->link().isOpen());
}

void RunningCommandTest::closingDuringACallHangsUpFirst() {
    Rig rig;
    QCOMPARE(rig.window->Startup(), frmMain::StartResult::Running);
    rig.ui().txtNumber->setText(QStringLiteral("603123456"));
    rig.ui().cmbVytocit->click();
    QVERIFY(rig.port->phone().state().call.active);
    QVERIFY(rig.window->link().Busy());
    rig.window->close();
    Rig::settle();
    QVERIFY(!rig.port->phone().state().call.active);
    QVERIFY(!rig.window->isVisible());
    QVERIFY(!rig.window->link().isOpen());
}

QTEST_MAIN(RunningCommandTest)
#include "tst_running_command.moc"
