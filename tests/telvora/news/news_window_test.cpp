// The phone's news in the window: the glue of new messages and of incoming
// calls against the demo phone on a fake clock (the phone is asked for its
// notices once it answers, a new message reaches the list by its sender's
// name, a ringing call opens its window and Answer and Reject work by
// keyboard), and the main window itself on the demo phone.

#include <gtest/gtest.h>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "telvora/calls/frm_incoming_call.h"
#include "telvora/calls/incoming_call_window.h"
#include "telvora/setup/settings.h"
#include "telvora/shell/frm_main.h"
#include "telvora/sms/new_message_notifier.h"
#include "tests/telvora/news/news_rig.h"
#include "tests/telvora/shell/shell_fakes.h"

namespace telvora {
namespace {

using test::NewsRig;

// Lets the event loop run in real time until `done` holds, at most 5 s.
template <typename Done>
bool WaitUntil(Done done) {
    QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired()) {
        QTest::qWait(20);
    }
    return done();
}

TEST(NewsWindow, NewMessageReachesTheListByItsSendersName) {
    NewsRig rig;
    QList<sms::MessageRow> added;
    QStringList notices;
    QList<sms::ReadMessage> kept;
    QString keptPhone;
    sms::NewMessageWindow window{[] { return Language::English; },
                                 [] {
                                     return QList<sms::NameAndNumber>{{"Martina", "+420603123456"}};
                                 },
                                 [&](const sms::MessageRow& row) { added.append(row); },
                                 [&](const QString& text) { notices.append(text); },
                                 [&](const QString& phone, const QList<sms::ReadMessage>& read) {
                                     // Kept before the window shows it.
                                     EXPECT_TRUE(added.isEmpty());
                                     keptPhone = phone;
                                     kept += read;
                                     return sms::SmsReader::KeepResult{true, {}};
                                 }};
    sms::NewMessageNotifier notifier(std::move(window), *rig.link);
    // Nothing is asked of the phone before it answered a link check.
    rig.news().command("sms +420603123456 Driv");
    rig.runFor(1000);
    EXPECT_TRUE(added.isEmpty());

    ASSERT_EQ(rig.link->CheckLink(), LinkState::Connected);
    rig.runFor(1000);
    rig.news().command("sms +420603123456 Prijdu v sest.");
    rig.runFor(1000);
    ASSERT_EQ(added.size(), 1);
    EXPECT_EQ(added[0].sender, "Martina");
    EXPECT_EQ(added[0].number, "420603123456");
    EXPECT_EQ(added[0].text, "Prijdu v sest.");
    EXPECT_EQ(notices, QStringList{"New message from Martina."});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(kept[0].message.text, "Prijdu v sest.");
    // The phone is named as a download names it: by its SIM.
    EXPECT_EQ(keptPhone, "IMSI " + rig.phone().state().identity.imsi);
}

TEST(NewsWindow, NewMessageTheArchiveCannotKeepIsShownAndTheProblemTold) {
    NewsRig rig;
    QList<sms::MessageRow> added;
    QStringList notices;
    sms::NewMessageWindow window{
        [] { return Language::English; }, [] { return QList<sms::NameAndNumber>{}; },
        [&](const sms::MessageRow& row) { added.append(row); },
        [&](const QString& text) { notices.append(text); },
        [](const QString&, const QList<sms::ReadMessage>&) {
            return sms::SmsReader::KeepResult{false, "The message archive x is damaged."};
        }};
    sms::NewMessageNotifier notifier(std::move(window), *rig.link);
    ASSERT_EQ(rig.link->CheckLink(), LinkState::Connected);
    rig.runFor(1000);
    rig.news().command("sms +420603123456 Ahoj");
    rig.runFor(1000);
    ASSERT_EQ(added.size(), 1);
    EXPECT_TRUE(notices.contains("The message archive x is damaged."));
}

class CallWindowTest : public ::testing::Test {
protected:
    CallWindowTest() {
        IncomingCallHooks hooks;
        hooks.language = [this] { return m_language; };
        hooks.nameOf = [](const QString& number) {
            return number == QLatin1String("+420724555018") ? QStringLiteral("Petr") : QString();
        };
        hooks.notify = [this](const QString& text) { m_notices.append(text); };
        m_window = std::make_unique<IncomingCallWindow>(std::move(hooks), *m_rig.link, m_boxes);
        EXPECT_EQ(m_rig.link->CheckLink(), LinkState::Connected);
        m_rig.runFor(500);  // caller identification is switched on
    }

    frmIncomingCall& dialog() { return m_window->dialog(); }

    // The key with Alt, as the user presses an accelerator.
    void pressAlt(Qt::Key key) {
        dialog().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog()));
        QTest::keyClick(&dialog(), key, Qt::AltModifier);
        // A mnemonic clicks its button after a short visible press.
        WaitUntil([this] { return !dialog().isVisible(); });
    }

    NewsRig m_rig;
    test::FakeMessageBoxes m_boxes;
    Language m_language = Language::English;
    QStringList m_notices;
    std::unique_ptr<IncomingCallWindow> m_window;
};

TEST_F(CallWindowTest, RingingCallShowsTheCallerAndIsAnsweredByKeyboard) {
    m_rig.news().command("ring +420724555018 0");
    m_rig.runFor(100);
    ASSERT_TRUE(dialog().isVisible());
    EXPECT_EQ(dialog().windowTitle(), "Incoming call");
    EXPECT_EQ(dialog().lblCaller->text(), "Petr (+420724555018) is calling");
    EXPECT_EQ(dialog().cmbPrijmout->text(), "&Answer");
    EXPECT_EQ(m_notices, QStringList{"Petr (+420724555018) is calling"});
    pressAlt(Qt::Key_A);
    EXPECT_TRUE(m_rig.phone().state().call.active);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(m_notices.last(), "Call answered: Petr (+420724555018)");
    EXPECT_TRUE(m_boxes.shown.isEmpty());
}

TEST_F(CallWindowTest, RejectInCzechAndAMissedCall) {
    m_language = Language::Czech;
    m_window->ApplyLanguage();
    m_rig.news().command("ring 603111222 0");
    m_rig.runFor(100);
    ASSERT_TRUE(dialog().isVisible());
    EXPECT_EQ(dialog().lblCaller->text(), QString::fromUtf8("Volá 603111222"));
    EXPECT_EQ(dialog().cmbOdmitnout->text(), "&Odmítnout");
    pressAlt(Qt::Key_O);
    EXPECT_FALSE(m_rig.phone().ringing());
    EXPECT_FALSE(m_rig.phone().state().call.active);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(m_notices.last(), QString::fromUtf8("Hovor odmítnut."));

    m_rig.runFor(5000);
    m_rig.news().command("ring - 0");  // withheld, then the caller gives up
    m_rig.runFor(100);
    EXPECT_EQ(dialog().lblCaller->text(), QString::fromUtf8("Volá neznámé číslo"));
    m_rig.news().command("giveup");
    m_rig.runFor(100);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(m_notices.last(), QString::fromUtf8("Zmeškaný hovor: neznámé číslo"));
}

TEST_F(CallWindowTest, HangUpElsewhereIsNoMissedCall) {
    m_rig.news().command("ring +420724555018 0");
    m_rig.runFor(100);
    {
        std::optional<PortLease> lease = m_rig.link->tryAcquire();
        lease->Exchange("ATH", 150);
    }
    m_window->HungUpHere();
    EXPECT_FALSE(dialog().isVisible());
    m_rig.runFor(30000);
    EXPECT_EQ(m_notices, QStringList{"Petr (+420724555018) is calling"});
}

TEST_F(CallWindowTest, AnswerWhileAnotherCommandHoldsThePortSaysSo) {
    m_rig.news().command("ring +420724555018 0");
    m_rig.runFor(100);
    std::optional<PortLease> held = m_rig.link->tryAcquire();
    dialog().cmbPrijmout->click();
    ASSERT_EQ(m_boxes.shown.size(), 1);
    EXPECT_EQ(m_boxes.shown[0].text, UiText(Language::English, kTextCommandRunning));
    EXPECT_TRUE(dialog().isVisible());  // still ringing: the user may try again
    EXPECT_TRUE(dialog().cmbPrijmout->isEnabled());
    held.reset();
    dialog().cmbPrijmout->click();
    EXPECT_TRUE(m_rig.phone().state().call.active);
}

TEST(NewsWindow, CallWindowLooksRightWithALargerFont) {
    // TELVORA_SCREENSHOTS names a folder to keep the picture in.
    const QFont original = QApplication::font();
    QFont large = original;
    large.setPointSizeF(original.pointSizeF() * 1.5);
    QApplication::setFont(large);
    {
        frmIncomingCall dialog;
        dialog.showCaller(Language::Czech, QString::fromUtf8("Martina Dvořáková (+420603123456)"));
        dialog.show();
        dialog.adjustSize();
        QApplication::processEvents();
        EXPECT_GE(dialog.lblCaller->width(), dialog.lblCaller->sizeHint().width());
        for (QPushButton* button : {dialog.cmbPrijmout, dialog.cmbOdmitnout}) {
            EXPECT_GE(button->width(), button->sizeHint().width());
        }
        const QString folder = qEnvironmentVariable("TELVORA_SCREENSHOTS");
        if (!folder.isEmpty()) {
            dialog.grab().save(QDir(folder).filePath("telvora-incoming-call-cs-150.png"));
        }
    }
    QApplication::setFont(original);
}

// The main window on the demo phone, in real time.
TEST(NewsMainWindow, ANewMessageAppearsOnTopOfTheListAndOnTheStatusLine) {
    QTemporaryDir dir;
    QSettings file(dir.filePath("Telvora.conf"), QSettings::IniFormat);
    file.setValue("Conf/port", "1");
    file.setValue("Conf/langver", "2");
    file.sync();
    auto settings = std::make_unique<SettingsStore>(
        std::make_unique<QSettings>(dir.filePath("Telvora.conf"), QSettings::IniFormat));
    test::FakeMessageBoxes boxes;
    auto owned = std::make_unique<phonesim::PhoneSimPort>(phonesim::demoPhoneState());
    phonesim::PhoneSimPort* port = owned.get();
    ShellSetup setup;
    setup.settings = settings.get();
    setup.messages = &boxes;
    setup.port = std::move(owned);
    setup.lockPath = dir.filePath("telvora.lock");
    setup.deviceOverride = "demo";
    frmMain window(std::move(setup));
    ASSERT_EQ(window.Startup(), frmMain::StartResult::Running);
    QTableWidget& list = *window.ui().flexSMS;
    window.ui().cmbNactiSMS->click();
    const int listed = list.rowCount();
    QTest::qWait(300);  // notices are switched on once the port is free
    ASSERT_TRUE(port->news().command("sms +420777000111 Vecer to plati").isEmpty());
    ASSERT_TRUE(WaitUntil([&] { return list.rowCount() == listed + 1; }));
    EXPECT_EQ(list.item(0, 2)->text(), "Vecer to plati");
    EXPECT_EQ(list.item(0, 1)->text(), "420777000111");
    EXPECT_TRUE(list.horizontalHeaderItem(2)->text().contains(QString::number(listed + 1)));
    EXPECT_EQ(window.statusBar()->currentMessage(), "New message from 420777000111.");

    // A ringing call opens its window; the main window's Hang up ends it too.
    port->news().command("ring +420724555018 0");
    auto* call = window.findChild<frmIncomingCall*>();
    ASSERT_TRUE(call);
    ASSERT_TRUE(WaitUntil([&] { return call->isVisible(); }));
    EXPECT_EQ(call->lblCaller->text(), "+420724555018 is calling");
    window.ui().cmbZavesit->click();
    EXPECT_FALSE(call->isVisible());
    EXPECT_FALSE(port->phone().ringing());
    EXPECT_TRUE(boxes.shown.isEmpty());
}

}  // namespace
}  // namespace telvora
