// The ring-tone window and its menu item, against the simulated phone.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "telvora/demophone/phonesim_port.h"
#include "telvora/ringtone/frm_melodie.h"
#include "telvora/ringtone/ring_tone_menu.h"
#include "tests/telvora/calls/scripted_phone.h"
#include "tests/telvora/shell/shell_fakes.h"

namespace telvora {
namespace {

using phonesim::FaultKind;
using Kind = MessageBoxes::Kind;

struct WindowRig {
    explicit WindowRig(Language language = Language::English) : tones(boxes, language) {
        auto owned = std::make_unique<phonesim::PhoneSimPort>(phonesim::demoPhoneState());
        port = owned.get();
        link = std::make_unique<AtLink>(std::move(owned));
        link->OpenPort(QStringLiteral("demo"));
        lease = link->tryAcquire();
        window = std::make_unique<frmMelodie>(*lease, tones, language);
    }
    void fault(const char* command, FaultKind kind) {
        port->phone().addFault({QByteArray(command), kind, -1});
    }
    std::array<QString, 4>& melodies() { return port->phone().state().melodies; }
    bool anyUploadEnabled() const {
        for (int n = 1; n <= 4; ++n) {
            if (window->cmbMelodie(n)->isEnabled()) {
                return true;
            }
        }
        return false;
    }

    phonesim::PhoneSimPort* port;
    std::unique_ptr<AtLink> link;
    std::optional<PortLease> lease;
    test::FakeMessageBoxes boxes;
    RingTones tones;
    std::unique_ptr<frmMelodie> window;
};

TEST(frmMelodie, TextsOfTheWindow) {
    WindowRig rig(Language::Czech);
    EXPECT_EQ(rig.window->windowTitle(), QStringLiteral("Telvora SMS 1.21.21"));
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(rig.window->lblMelodie(n)->text(), "Melodie " + QString::number(n));
        EXPECT_EQ(rig.window->cmbMelodie(n)->text(), QStringLiteral("Nahrát do tlf."));
    }
    EXPECT_EQ(rig.window->lblinfo()->text(),
              QStringLiteral("Lze vkládat pouze tyto znaky p,#,b,B,+,c,d,e,f,g,a,h,C,D,E,F,G,A,H\n"
                             "Max. délka melodie je 120 znaků."));
    EXPECT_LT(rig.window->cmbexit()->x(), -1000);  // out of sight
}

TEST(frmMelodie, ReadsTheFourMelodiesAndHoldsAtMost120Characters) {
    WindowRig rig;
    rig.melodies() = {"cdefgpg", "", "e#de#d", "B+b"};
    rig.window->ReadMelodies();
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(rig.window->txtMelodie(n)->text(), rig.melodies()[n - 1]) << n;
    }
    QLineEdit* field = rig.window->txtMelodie(2);
    QTest::keyClicks(field, QString(121, QLatin1Char('c')));
    EXPECT_EQ(field->text().size(), 120);
}

TEST(frmMelodie, UploadShowsThePhonesMelodyAfterwards) {
    WindowRig rig;
    rig.window->ReadMelodies();
    rig.window->txtMelodie(2)->setText(QStringLiteral("  cdefgahC "));
    rig.window->cmbMelodie(2)->click();
    EXPECT_EQ(rig.melodies()[1], QStringLiteral("cdefgahC"));
    EXPECT_EQ(rig.window->txtMelodie(2)->text(), QStringLiteral("cdefgahC"));  // read back
    ASSERT_EQ(rig.boxes.shown.size(), 1);
    EXPECT_EQ(rig.boxes.shown[0].kind, Kind::Info);
    EXPECT_EQ(rig.boxes.shown[0].text,
              QStringLiteral("New ring tone number 2 was uploaded to the phone."));
    EXPECT_FALSE(QApplication::overrideCursor());  // the hourglass is gone
    EXPECT_TRUE(rig.link->Busy());                 // the window keeps the port
}

TEST(frmMelodie, RefusedMelodyGetsTheFocusAndIsNotSent) {
    WindowRig rig;
    rig.window->show();
    rig.window->activateWindow();
    rig.window->ReadMelodies();
    const std::array<QString, 4> before = rig.melodies();
    rig.window->txtMelodie(3)->setText(QStringLiteral("x##d"));
    rig.window->cmbMelodie(3)->click();
    EXPECT_EQ(rig.melodies(), before);
    ASSERT_EQ(rig.boxes.shown.size(), 1);
    EXPECT_EQ(rig.boxes.shown[0].text, QStringLiteral("Invalid chars in ring tone number 3."));
    EXPECT_TRUE(rig.window->txtMelodie(3)->hasFocus());
    EXPECT_EQ(rig.window->txtMelodie(3)->text(), QStringLiteral("x##d"));  // kept for mending
}

TEST(frmMelodie, ErrorToTheQueryDisablesTheUploads) {
    WindowRig rig;
    rig.fault("AT*ESOM?", FaultKind::Error);
    rig.window->ReadMelodies();
    EXPECT_FALSE(rig.anyUploadEnabled());
    ASSERT_EQ(rig.boxes.shown.size(), 1);
    EXPECT_EQ(rig.boxes.shown[0].text, UiText(Language::English, 61));
    rig.window->cmbMelodie_Click(1);  // as a click would, were the button enabled
    EXPECT_EQ(rig.boxes.shown.size(), 1);
}

TEST(frmMelodie, SilentQueryTimesOutAndDisablesTheUploads) {
    test::ScriptedPhone phone;
    phone.answerLinkCheck();  // then nothing to "AT*ESOM?"
    auto lease = phone.link->tryAcquire();
    test::FakeMessageBoxes boxes;
    RingTones tones(boxes, Language::English);
    frmMelodie window(*lease, tones, Language::English);
    window.ReadMelodies();
    for (int n = 1; n <= 4; ++n) {
        EXPECT_FALSE(window.cmbMelodie(n)->isEnabled()) << n;
    }
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, UiText(Language::English, kTextPhoneTimedOut));
}

TEST(frmMelodie, FewerThanFourMelodiesEmptyTheOtherFields) {
    test::ScriptedPhone phone;
    auto lease = phone.link->tryAcquire();
    test::FakeMessageBoxes boxes;
    RingTones tones(boxes, Language::English);
    frmMelodie window(*lease, tones, Language::English);
    for (int n = 1; n <= 4; ++n) {
        window.txtMelodie(n)->setText(QStringLiteral("old"));
    }
    phone.answerLinkCheck();
    phone.port->queueAnswer("\r\n*ESOM: 1,\"cde\"\r\n*ESOM: 2,\"gab\"\r\n\r\nOK\r\n", 5);
    window.ReadMelodies();
    EXPECT_EQ(window.txtMelodie(1)->text(), QStringLiteral("cde"));
    EXPECT_EQ(window.txtMelodie(2)->text(), QStringLiteral("gab"));
    EXPECT_TRUE(window.txtMelodie(3)->text().isEmpty());
    EXPECT_TRUE(window.txtMelodie(4)->text().isEmpty());
    EXPECT_TRUE(window.cmbMelodie(4)->isEnabled());
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST(frmMelodie, UploadThePhoneRefusesStillReadsBack) {
    WindowRig rig;
    rig.window->ReadMelodies();
    rig.fault("AT*ESOM=", FaultKind::Error);
    rig.window->txtMelodie(1)->setText(QStringLiteral("ccc"));
    rig.window->cmbMelodie(1)->click();
    ASSERT_EQ(rig.boxes.shown.size(), 1);
    EXPECT_EQ(rig.boxes.shown[0].text, UiText(Language::English, 61));
    EXPECT_EQ(rig.window->txtMelodie(1)->text(), rig.melodies()[0]);
    EXPECT_TRUE(rig.anyUploadEnabled());
}

TEST(RingToneMenu, WindowHoldsThePortWhileOpen) {
    auto owned = std::make_unique<phonesim::PhoneSimPort>(phonesim::demoPhoneState());
    AtLink link(std::move(owned));
    link.OpenPort(QStringLiteral("demo"));
    test::FakeMessageBoxes boxes;
    QAction menu(QStringLiteral("&Ring tone"));
    CommandHost host(link, boxes, Language::English);
    RingToneMenu item(&menu, nullptr, host);

    // Looks at the window once it is up and has read the phone, then closes it
    // (it stays open while it asks the phone).
    bool busyWhileOpen = false;
    QString firstMelody;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* window = qobject_cast<frmMelodie*>(QApplication::activeModalWidget());
        if (window != nullptr && !window->txtMelodie(1)->text().isEmpty()) {
            busyWhileOpen = link.Busy();
            firstMelody = window->txtMelodie(1)->text();
            window->cmbexit()->click();
        }
    });
    closer.start(50);
    menu.trigger();
    EXPECT_TRUE(busyWhileOpen);
    EXPECT_EQ(firstMelody, QStringLiteral("cdefgpgpaaaagpaaaagpffffeepeepggggc"));
    EXPECT_FALSE(link.Busy());
    EXPECT_TRUE(boxes.shown.isEmpty());

    auto other = link.tryAcquire();  // a command in progress
    menu.trigger();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, UiText(Language::English, kTextCommandRunning));
}

TEST(RingToneMenu, CancelFromTheHostClosesTheWindowAndFreesThePort) {
    AtLink link(std::make_unique<phonesim::PhoneSimPort>(phonesim::demoPhoneState()));
    link.OpenPort(QStringLiteral("demo"));
    test::FakeMessageBoxes boxes;
    CommandHost host(link, boxes, Language::English);
    QAction menu(QStringLiteral("&Ring tone"));
    RingToneMenu item(&menu, nullptr, host);
    // Exit while the window is open: the port must come free so it can close.
    bool ran = false;
    QTimer::singleShot(300, [&] { host.afterCommand([&] { ran = true; }, true); });
    menu.trigger();
    EXPECT_FALSE(link.Busy());
    for (int i = 0; i < 100 && !ran; ++i) {
        QTest::qWait(10);
    }
    EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace telvora
