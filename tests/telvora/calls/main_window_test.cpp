// The calls and ring tones in the main window: start-up shows the operator
// and signal, Dial and Hang up drive the menus and the progress window, and
// the ring-tone menu opens its window.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include "telvora/demophone/phonesim_port.h"
#include "telvora/ringtone/frm_melodie.h"
#include "telvora/setup/settings.h"
#include "telvora/shell/frm_main.h"
#include "telvora/shell/frm_working.h"
#include "tests/telvora/shell/shell_fakes.h"

namespace telvora {
namespace {

// frmMain on the simulated phone, English, with settings of its own.
struct MainWindowRig {
    MainWindowRig() {
        QSettings file(dir.filePath(QStringLiteral("Telvora.conf")), QSettings::IniFormat);
        file.setValue(QStringLiteral("Conf/port"), QStringLiteral("1"));
        file.setValue(QStringLiteral("Conf/langver"), QStringLiteral("2"));
        file.sync();
        settings = std::make_unique<SettingsStore>(std::make_unique<QSettings>(
            dir.filePath(QStringLiteral("Telvora.conf")), QSettings::IniFormat));
        auto owned = std::make_unique<phonesim::PhoneSimPort>(phonesim::demoPhoneState());
        port = owned.get();
        ShellSetup setup;
        setup.settings = settings.get();
        setup.messages = &boxes;
        setup.port = std::move(owned);
        setup.lockPath = dir.filePath(QStringLiteral("telvora.lock"));
        setup.deviceOverride = QStringLiteral("demo");
        window = std::make_unique<frmMain>(std::move(setup));
    }
    bool menusLocked() const { return !window->ui().mnu_conf->isEnabled(); }

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings;
    test::FakeMessageBoxes boxes;
    phonesim::PhoneSimPort* port;
    std::unique_ptr<frmMain> window;
};

// The signal poll answers from the event loop: runs it until the port is free.
void FinishPoll(MainWindowRig& rig) {
    QElapsedTimer waited;
    waited.start();
    while (rig.window->link().Busy() && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
}

TEST(MainWindow, StartUpShowsOperatorAndSignalAndTheTimerRuns) {
    MainWindowRig rig;
    rig.port->phone().state().signal = 15;
    ASSERT_EQ(rig.window->Startup(), frmMain::StartResult::Running);
    const MainWindowControls& ui = rig.window->ui();
    FinishPoll(rig);
    EXPECT_EQ(ui.lblSignal->text(), QStringLiteral("T-Mobile CZ\n| ") +
                                        QString(15, QLatin1Char('|')) +
                                        QString(16, QLatin1Char('\'')) + QStringLiteral(" |"));
    EXPECT_TRUE(ui.TimerSignal->isActive());
    EXPECT_EQ(ui.TimerSignal->interval(), 7000);
    EXPECT_FALSE(ui.cmbVytocit->isEnabled());
    EXPECT_TRUE(ui.txtNumber->text().isEmpty());

    rig.port->phone().state().signal = 99;
    QMetaObject::invokeMethod(ui.TimerSignal, "timeout", Qt::DirectConnection);
    FinishPoll(rig);
    EXPECT_TRUE(ui.lblSignal->text().endsWith(QStringLiteral("| No signal |")));
}

TEST(MainWindow, CallLocksTheMenusAndShowsProgressUntilHangUp) {
    MainWindowRig rig;
    ASSERT_EQ(rig.window->Startup(), frmMain::StartResult::Running);
    const MainWindowControls& ui = rig.window->ui();
    ui.txtNumber->setText(QStringLiteral("603123456"));
    ui.cmbVytocit->click();
    EXPECT_TRUE(rig.menusLocked());
    EXPECT_TRUE(rig.window->working().isVisible());
    // The demo phone says that the call is only simulated.
    EXPECT_EQ(rig.window->working().Label1()->text(),
              QStringLiteral("Dialing ...\n") + UiText(Language::English, kTextOnlySimulated));
    EXPECT_TRUE(rig.port->phone().state().call.active);

    ui.cmbZavesit->click();
    EXPECT_FALSE(rig.menusLocked());
    EXPECT_FALSE(rig.window->working().isVisible());
    EXPECT_FALSE(rig.window->link().Busy());
    EXPECT_TRUE(rig.boxes.shown.isEmpty());
}

TEST(MainWindow, RingToneMenuOpensTheWindow) {
    MainWindowRig rig;
    ASSERT_EQ(rig.window->Startup(), frmMain::StartResult::Running);
    // Closes the window once it is up and done asking the phone (it stays
    // open while it asks).
    QString title;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* window = qobject_cast<frmMelodie*>(QApplication::activeModalWidget())) {
            title = window->windowTitle();
            window->reject();
        }
    });
    closer.start(50);
    rig.window->ui().mnu_melodie->trigger();
    EXPECT_EQ(title, QStringLiteral("Telvora SMS 1.21.21"));
    EXPECT_FALSE(rig.window->link().Busy());
}

}  // namespace
}  // namespace telvora
