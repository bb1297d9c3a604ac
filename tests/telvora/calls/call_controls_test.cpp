// The main window's call controls: the number field, Dial and Hang up with
// the menu lock and the progress window, and the signal label, against the
// simulated phone.

#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "telvora/calls/call_controls.h"
#include "telvora/core/fake_clock.h"
#include "telvora/demophone/phonesim_port.h"
#include "tests/telvora/shell/shell_fakes.h"

namespace telvora {
namespace {

using phonesim::FaultKind;

// The progress window as a log.
class LoggedProgress : public ProgressWindow {
public:
    explicit LoggedProgress(QStringList& log) : m_log(log) {}
    void showProgress(const QString& text, bool, int, int) override { m_log << "progress " + text; }
    void closeProgress() override { m_log << "close"; }

private:
    QStringList& m_log;
};

// The controls in a window of their own; what the window was asked to do
// (menu lock, progress window) goes into `log`.
// Runs on a fake clock, so a click timed into a wait lands where it is meant
// to however loaded the machine is.
struct ControlsRig {
    ControlsRig() {
        auto owned = std::make_unique<phonesim::PhoneSimPort>(phonesim::demoPhoneState());
        port = owned.get();
        port->setClock(clock);
        link = std::make_unique<AtLink>(std::move(owned), clock);
        link->OpenPort(QStringLiteral("demo"));

        CallWindow window;
        window.txtNumber = new QLineEdit(&form);
        window.cmbVytocit = new QPushButton(QStringLiteral("Dial"), &form);
        window.cmbZavesit = new QPushButton(QStringLiteral("Hang up"), &form);
        window.lblSignal = new QLabel(QStringLiteral("before"), &form);
        host = std::make_unique<CommandHost>(*link, boxes, Language::English);
        host->setMenuLock([this](bool locked) { log << (locked ? "lock" : "unlock"); });
        host->setProgressWindow(&progress);
        host->setLinkCheck([this](PortLease& lease) {
            ++checks;
            return lease.CheckLink() == LinkState::Connected;
        });
        number = window.txtNumber;
        dial = window.cmbVytocit;
        hangUp = window.cmbZavesit;
        signal = window.lblSignal;
        controls = std::make_unique<CallControls>(std::move(window), *host);
    }
    void fault(const char* command, FaultKind kind, int arg = -1) {
        port->phone().addFault({QByteArray(command), kind, arg});
    }

    FakeClock clock;  // outlives the link and the port that use it
    QWidget form;
    phonesim::PhoneSimPort* port;
    std::unique_ptr<AtLink> link;
    test::FakeMessageBoxes boxes;
    QStringList log;
    LoggedProgress progress{log};
    std::unique_ptr<CommandHost> host;
    int checks = 0;
    QLineEdit* number;
    QPushButton* dial;
    QPushButton* hangUp;
    QLabel* signal;
    std::unique_ptr<CallControls> controls;
};

TEST(CallControls, NumberFieldTakesDigitsAndDialFollowsIt) {
    ControlsRig rig;
    EXPECT_FALSE(rig.dial->isEnabled());
    QTest::keyClicks(rig.number, QStringLiteral("+42*0#a 6 B"));
    EXPECT_EQ(rig.number->text(), QStringLiteral("4206"));
    EXPECT_TRUE(rig.dial->isEnabled());
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(rig.number, Qt::Key_Backspace);
    }
    EXPECT_EQ(rig.number->text(), QStringLiteral("4"));
    EXPECT_TRUE(rig.dial->isEnabled());
    QTest::keyClick(rig.number, Qt::Key_Backspace);
    EXPECT_FALSE(rig.dial->isEnabled());

    // The phone book and a reply set the field directly.
    rig.number->setText(QStringLiteral("420603123456"));
    EXPECT_TRUE(rig.dial->isEnabled());
}

TEST(CallControls, ClickSelectsTheWholeNumber) {
    ControlsRig rig;
    rig.form.show();
    rig.number->setText(QStringLiteral("603123456"));
    rig.number->deselect();
    QTest::mouseClick(rig.number, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::qWait(20);
    EXPECT_EQ(rig.number->selectedText(), QStringLiteral("603123456"));
}

TEST(CallControls, DialAnsweredOkHoldsUntilHangUp) {
    ControlsRig rig;
    rig.number->setText(QStringLiteral(" 603123456"));
    rig.dial->click();
    // The demo phone says that the call is only simulated.
    EXPECT_EQ(rig.log, (QStringList{"lock", "progress Dialing ...\n" +
                                                UiText(Language::English, kTextOnlySimulated)}));
    EXPECT_EQ(rig.number->text(), QStringLiteral("603123456"));  // shown trimmed
    EXPECT_TRUE(rig.link->Busy());
    EXPECT_FALSE(rig.dial->isEnabled());  // no second command while the call holds the port
    EXPECT_TRUE(rig.hangUp->isEnabled());

    // A tick during the call sends nothing and leaves the label.
    const int checks = rig.checks;
    rig.controls->PollNetworkStatus();
    EXPECT_EQ(rig.checks, checks);
    EXPECT_EQ(rig.signal->text(), QStringLiteral("before"));

    rig.log.clear();
    rig.hangUp->click();
    EXPECT_EQ(rig.log, (QStringList{"close", "unlock"}));
    EXPECT_FALSE(rig.link->Busy());
    EXPECT_TRUE(rig.dial->isEnabled());
    EXPECT_TRUE(rig.boxes.shown.isEmpty());
}

TEST(CallControls, FailedDialUnlocksTheMenusAtOnce) {
    ControlsRig rig;
    rig.fault("ATD", FaultKind::Error);
    rig.number->setText(QStringLiteral("603123456"));
    rig.dial->click();
    EXPECT_EQ(rig.log, (QStringList{"lock", "unlock"}));
    ASSERT_EQ(rig.boxes.shown.size(), 1);
    EXPECT_EQ(rig.boxes.shown[0].text, UiText(Language::English, 45));
    EXPECT_FALSE(rig.link->Busy());
}

TEST(CallControls, HangUpWithoutAPhoneStillFreesTheWindow) {
    ControlsRig rig;
    rig.number->setText(QStringLiteral("603123456"));
    rig.dial->click();
    rig.fault("AT", FaultKind::Silent);
    rig.log.clear();
    rig.hangUp->click();
    EXPECT_EQ(rig.log, (QStringList{"close", "unlock"}));
    ASSERT_EQ(rig.boxes.shown.size(), 1);
    EXPECT_EQ(rig.boxes.shown[0].text, UiText(Language::English, 38));
    EXPECT_FALSE(rig.link->Busy());
}

TEST(CallControls, HangUpDuringTheDialWait) {
    ControlsRig rig;
    rig.fault("ATD", FaultKind::Silent);
    rig.number->setText(QStringLiteral("603123456"));
    rig.clock.callAfter(1000, rig.hangUp, [&rig] { rig.hangUp->click(); });
    rig.dial->click();
    EXPECT_EQ(rig.log, (QStringList{"lock", "close", "unlock"}));
    EXPECT_TRUE(rig.boxes.shown.isEmpty());
    EXPECT_FALSE(rig.link->Busy());
}

// The poll answers from the event loop: runs it until the port is free.
void FinishPoll(ControlsRig& rig) {
    for (int i = 0; i < 10000 && rig.link->Busy(); ++i) {
        QCoreApplication::processEvents();
    }
}

TEST(CallControls, PollFillsTheLabelAndKeepsItWithoutAPhone) {
    ControlsRig rig;
    rig.port->phone().state().signal = 31;
    const QString full = QStringLiteral("T-Mobile CZ\n| ") + QString(31, QLatin1Char('|')) + " |";
    rig.controls->PollNetworkStatus();
    // The tick returned at once: the port is held in the background, the
    // window's buttons stay usable, the label waits for the answers.
    EXPECT_TRUE(rig.link->Busy());
    EXPECT_FALSE(rig.link->commandRunning());
    EXPECT_EQ(rig.signal->text(), QStringLiteral("before"));
    rig.number->setText(QStringLiteral("603123456"));
    EXPECT_TRUE(rig.dial->isEnabled());
    FinishPoll(rig);
    EXPECT_EQ(rig.signal->text(), full);

    rig.fault("AT", FaultKind::Silent);
    rig.controls->PollNetworkStatus();
    FinishPoll(rig);
    EXPECT_FALSE(rig.link->Busy());
    EXPECT_EQ(rig.signal->text(), full);
    EXPECT_TRUE(rig.boxes.shown.isEmpty());
}

TEST(CallControls, CommandDuringAPollGetsThePortAfterTheStepInFlight) {
    ControlsRig rig;
    rig.controls->PollNetworkStatus();
    rig.number->setText(QStringLiteral("603123456"));
    rig.dial->click();                       // while the poll waits for its "AT"
    EXPECT_TRUE(rig.boxes.shown.isEmpty());  // no "another command holds the port"
    EXPECT_EQ(rig.log, (QStringList{"lock", "progress Dialing ...\n" +
                                                UiText(Language::English, kTextOnlySimulated)}));
    EXPECT_TRUE(rig.link->commandRunning());
    EXPECT_EQ(rig.signal->text(), QStringLiteral("before"));  // the poll gave up its result
    rig.hangUp->click();
    EXPECT_FALSE(rig.link->Busy());
    EXPECT_TRUE(rig.boxes.shown.isEmpty());
}

TEST(CallControls, PortClosedDuringAPollEndsItAndCloses) {
    ControlsRig rig;
    rig.controls->PollNetworkStatus();
    rig.link->ClosePort();  // the window closes while the poll waits for "AT"
    FinishPoll(rig);
    EXPECT_FALSE(rig.link->Busy());
    EXPECT_FALSE(rig.link->isOpen());
    EXPECT_EQ(rig.signal->text(), QStringLiteral("before"));
    EXPECT_TRUE(rig.boxes.shown.isEmpty());
}

}  // namespace
}  // namespace telvora
