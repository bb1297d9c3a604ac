// The main window's commands against telvora-phonesim on a pseudo-terminal
// with a fault injected: a download whose line is cut, a phone-book read
// the phone is silent to, a dial the phone refuses, a phone-book upload cut
// part way or refused at one position, ring tones refused or met with
// silence. Each failure is shown, loses nothing, and leaves the window
// usable: the port free, the menus enabled, and the next command works.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "telvora/link/at_link.h"
#include "telvora/link/command_host.h"
#include "telvora/link/qt_serial_port.h"
#include "telvora/link/timeouts.h"
#include "telvora/phonebook/frm_upload.h"
#include "telvora/phonebook/phone_book_panel.h"
#include "telvora/phonebook/phone_book_texts.h"
#include "telvora/ringtone/frm_melodie.h"
#include "telvora/setup/settings.h"
#include "telvora/shell/frm_main.h"
#include "telvora/shell/frm_working.h"
#include "tests/telvora/faults/fault_rig.h"
#include "tests/telvora/shell/shell_fakes.h"

namespace telvora {
namespace {

const QByteArray kOldTpb = "\"111\",\"Stará\",1\r\n";

// telvora-phonesim behind a fixed link path, so that a phone started again
// after a cut line is found where the window looks for it.
class Phone {
public:
    explicit Phone(QString dir) : m_dir(std::move(dir)) {}
    ~Phone() { stop(); }

    bool start(const QStringList& faults) {
        QStringList arguments{"--link", linkPath(), "--latency", "0", "--save", savedPath()};
        if (QFile::exists(savedPath())) {
            // The phone as the last one left it, without its faults (they
            // are saved with the state): only `faults` hit this one.
            QString error;
            std::optional<phonesim::PhoneState> saved =
                phonesim::loadStateFile(savedPath(), &error);
            if (!saved) {
                return false;
            }
            saved->options.faults.clear();
            if (!phonesim::saveStateFile(*saved, savedPath(), &error)) {
                return false;
            }
            arguments << "--state" << savedPath();
        }
        for (const QString& fault : faults) {
            arguments << "--fault" << fault;
        }
        m_process.start(QStringLiteral(TELVORA_PHONESIM_PATH), arguments);
        return m_process.waitForReadyRead(10000) && !m_process.readLine().trimmed().isEmpty();
    }
    phonesim::PhoneState stop() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            m_process.waitForFinished(10000);
        }
        QString error;
        return phonesim::loadStateFile(savedPath(), &error).value_or(phonesim::PhoneState{});
    }
    QString linkPath() const { return m_dir + QStringLiteral("/phone"); }

private:
    QString savedPath() const { return m_dir + QStringLiteral("/saved.json"); }
    QString m_dir;
    QProcess m_process;
};

struct WindowRig {
    WindowRig() {
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
        QSettings file(dir.filePath(QStringLiteral("Telvora.conf")), QSettings::IniFormat);
        file.setValue(QStringLiteral("Conf/langver"), QStringLiteral("2"));
        file.sync();
        settings = std::make_unique<SettingsStore>(std::make_unique<QSettings>(
            dir.filePath(QStringLiteral("Telvora.conf")), QSettings::IniFormat));
        test::WriteWholeFile(defaultTpb(), kOldTpb);
    }
    ~WindowRig() {
        window.reset();
        qunsetenv("XDG_DATA_HOME");
    }

    // The window on the phone's link path, started up.
    bool open() {
        ShellSetup setup;
        setup.settings = settings.get();
        setup.messages = &boxes;
        setup.port = std::make_unique<QtSerialPort>();
        setup.lockPath = dir.filePath(QStringLiteral("telvora.lock"));
        setup.deviceOverride = phone.linkPath();
        window = std::make_unique<frmMain>(std::move(setup));
        panel = window->findChild<PhoneBookPanel*>(QStringLiteral("phoneBookPanel"));
        if (!panel) {
            return false;
        }
        panel->setDefaultFile(defaultTpb());
        panel->setSourceChooser([] { return PhoneBookSource::Sim; });
        // A loaded machine may let the simulator miss the link check's
        // 150 ms: each command's check gets three tries, and a start-up that
        // found the phone silent gets no configuration dialog.
        if (auto* host = window->findChild<CommandHost*>()) {
            host->setLinkCheck([](PortLease& lease) {
                for (int i = 0; i < 3; ++i) {
                    if (lease.CheckLink() == LinkState::Connected) {
                        return true;
                    }
                }
                return false;
            });
        }
        window->setConfigurationRunner([](frmconf&) {});
        return window->Startup() == frmMain::StartResult::Running;
    }
    QString defaultTpb() const { return dir.filePath(QStringLiteral("default.tpb")); }
    const MainWindowControls& ui() const { return window->ui(); }

    // Runs the event loop until no command holds the port.
    bool waitUntilIdle(int ms) {
        QDeadlineTimer deadline(ms);
        while (window->link().Busy() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return !window->link().Busy();
    }
    // Clicks a command's button with no message shown yet and runs the
    // event loop until the command has given the port back.
    bool runCommand(QAbstractButton* button, int ms) {
        boxes.shown.clear();
        button->click();
        return waitUntilIdle(ms);
    }
    // Usable: nothing holds the port, the menus and buttons are enabled.
    void expectUsable() const {
        EXPECT_FALSE(window->link().Busy());
        EXPECT_TRUE(ui().mnu_conf->isEnabled());
        EXPECT_TRUE(ui().mnu_seznam->menuAction()->isEnabled());
        EXPECT_TRUE(ui().mnu_zpravy->menuAction()->isEnabled());
        EXPECT_TRUE(ui().cmbNactiSMS->isEnabled());
        EXPECT_TRUE(ui().cmbPhoneBook->isEnabled());
    }
    bool errorShown() const {
        for (const auto& shown : boxes.shown) {
            if (shown.kind == MessageBoxes::Kind::Error) {
                return true;
            }
        }
        return false;
    }

    QTemporaryDir dir;
    Phone phone{dir.path()};
    std::unique_ptr<SettingsStore> settings;
    test::FakeMessageBoxes boxes;
    std::unique_ptr<frmMain> window;
    PhoneBookPanel* panel = nullptr;
};

TEST(WindowFaults, DownloadWithDeletesWhoseLineIsCut) {
    WindowRig rig;
    const QStringList before = test::TextsOnPhone(phonesim::demoPhoneState());
    ASSERT_TRUE(rig.phone.start({"AT+CMGD=hangup"}));
    ASSERT_TRUE(rig.open());
    rig.ui().Checkdelete->setChecked(true);
    rig.ui().cmbNactiSMS->click();
    ASSERT_TRUE(rig.waitUntilIdle(timeouts::kShortCommandMs + 5000));
    EXPECT_TRUE(rig.errorShown());
    rig.expectUsable();
    const phonesim::PhoneState after = rig.phone.stop();
    const QStringList lost = test::LostMessages(before, test::TextsOnPhone(after),
                                                test::ArchivedTexts(rig.dir.filePath("data")));
    EXPECT_TRUE(lost.isEmpty()) << lost.join(", ").toStdString();

    // The phone back on its line: the same window reads the phone book.
    ASSERT_TRUE(rig.phone.start({}));
    ASSERT_TRUE(rig.runCommand(rig.ui().cmbPhoneBook, timeouts::kSilenceMs + 5000));
    EXPECT_FALSE(rig.errorShown());
    EXPECT_EQ(rig.panel->list().size(), after.phoneBooks.value("SM").entries.size());
    rig.expectUsable();
}

TEST(WindowFaults, PhoneBookReadThePhoneIsSilentTo) {
    WindowRig rig;
    ASSERT_TRUE(rig.phone.start({"AT+CPBR=1=silent"}));
    ASSERT_TRUE(rig.open());
    const PhoneBookList shown = rig.panel->list();
    QElapsedTimer timer;
    timer.start();
    rig.ui().cmbPhoneBook->click();
    ASSERT_TRUE(rig.waitUntilIdle(timeouts::kSilenceMs + 5000));
    EXPECT_LE(timer.elapsed(), timeouts::kSilenceMs + 4000);
    EXPECT_TRUE(rig.errorShown());
    EXPECT_EQ(rig.panel->list(), shown);  // the list and the default file as they were
    EXPECT_EQ(test::ReadWholeFile(rig.defaultTpb()), kOldTpb);
    rig.expectUsable();

    // The next command works: the messages are downloaded.
    ASSERT_TRUE(rig.runCommand(rig.ui().cmbNactiSMS, timeouts::kSilenceMs + 5000));
    EXPECT_FALSE(rig.errorShown());
    EXPECT_GT(rig.ui().flexSMS->rowCount(), 0);
    rig.expectUsable();
}

TEST(WindowFaults, DialThePhoneRefuses) {
    WindowRig rig;
    ASSERT_TRUE(rig.phone.start({"ATD=error"}));
    ASSERT_TRUE(rig.open());
    rig.ui().txtNumber->setText(QStringLiteral("603123456"));
    rig.ui().cmbVytocit->click();
    ASSERT_TRUE(rig.waitUntilIdle(timeouts::kDialMs + 5000));
    EXPECT_TRUE(rig.errorShown());
    EXPECT_FALSE(rig.window->working().isVisible());
    rig.expectUsable();

    ASSERT_TRUE(rig.runCommand(rig.ui().cmbPhoneBook, timeouts::kSilenceMs + 5000));
    EXPECT_FALSE(rig.errorShown());
    EXPECT_FALSE(rig.panel->list().isEmpty());
    EXPECT_TRUE(test::PhoneBookFileIntact(kOldTpb, test::ReadWholeFile(rig.defaultTpb()),
                                          rig.phone.stop().phoneBooks.value("SM").entries.size()));
}

TEST(WindowFaults, NewsInTheMiddleOfADownload) {
    WindowRig rig;
    ASSERT_TRUE(rig.phone.start({}));
    ASSERT_TRUE(rig.open());
    rig.ui().cmbNactiSMS->click();
    ASSERT_TRUE(rig.waitUntilIdle(timeouts::kSilenceMs + 5000));
    const int rows = rig.ui().flexSMS->rowCount();
    ASSERT_GT(rows, 0);

    // The same phone again, with news between the lines of each listing.
    rig.phone.stop();
    ASSERT_TRUE(rig.phone.start({"AT+CMGL=news:2"}));
    rig.ui().cmbNactiSMS->click();
    ASSERT_TRUE(rig.waitUntilIdle(timeouts::kSilenceMs + 5000));
    // The news is taken out of the listing: every message once, none made up.
    EXPECT_EQ(rig.ui().flexSMS->rowCount(), rows);
    EXPECT_FALSE(rig.errorShown()) << rig.boxes.shown.value(0).text.toStdString();
    // What the news asks for (reading message 2, the ringing call) runs once
    // the download has given the port back; the window stays usable.
    QDeadlineTimer settle(2000);
    while (!settle.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    ASSERT_TRUE(rig.waitUntilIdle(timeouts::kSilenceMs + 5000));
    rig.expectUsable();
    ASSERT_TRUE(rig.runCommand(rig.ui().cmbPhoneBook, timeouts::kSilenceMs + 5000));
    EXPECT_FALSE(rig.errorShown());
    EXPECT_FALSE(rig.panel->list().isEmpty());
}

// Six entries at positions 1 to 6, none as the demo SIM holds them: an
// upload writes all six, then erases the SIM's positions 7, 8, 10 and 12.
const QByteArray kSixTpb =
    "\"601000001\",\"Adam\",1\r\n\"601000002\",\"Bára\",2\r\n\"601000003\",\"Cyril\",3\r\n"
    "\"601000004\",\"Dana\",4\r\n\"601000005\",\"Emil\",5\r\n\"601000006\",\"Filip\",6\r\n";

// The names the SIM holds at positions 1 to 8.
QStringList SimNames(const phonesim::PhoneState& state) {
    QStringList names;
    const auto& entries = state.phoneBooks.value("SM").entries;
    for (int position = 1; position <= 8; ++position) {
        names << entries.value(position).name;
    }
    return names;
}

// Opens the upload editor through the phone-book menu, as the user does.
frmUpload* OpenUploadEditor(WindowRig& rig) {
    rig.ui().FlexPB->setCurrentCell(0, 0);
    emit rig.ui().mnu_seznam->aboutToShow();
    rig.ui().mni_upload->trigger();
    return rig.panel->editor();
}

// The upload's messages that name a count of entries written.
QStringList CountsShown(const WindowRig& rig) {
    const QString written = rig.window->UiText(kTextEntriesWritten).section('%', 0, 0);
    QStringList counts;
    for (const auto& shown : rig.boxes.shown) {
        if (shown.text.contains(written)) {
            counts << shown.text;
        }
    }
    return counts;
}

TEST(WindowFaults, PhoneBookUploadWhoseLineIsCutAfterThreeEntries) {
    WindowRig rig;
    ASSERT_TRUE(test::WriteWholeFile(rig.defaultTpb(), kSixTpb));
    const QStringList simBefore = SimNames(phonesim::demoPhoneState());
    ASSERT_TRUE(rig.phone.start({"AT+CPBW=4,=hangup"}));
    ASSERT_TRUE(rig.open());
    const PhoneBookList shown = rig.panel->list();
    ASSERT_EQ(shown.size(), 6);
    frmUpload* editor = OpenUploadEditor(rig);
    ASSERT_NE(editor, nullptr);
    editor->button("cmbToSim")->click();
    ASSERT_TRUE(rig.waitUntilIdle(timeouts::kShortCommandMs + 5000));

    // Shown as a failure that counts only the three entries the phone
    // confirmed; the fourth was cut in its answer.
    EXPECT_TRUE(rig.errorShown());
    const QStringList counts = CountsShown(rig);
    ASSERT_EQ(counts.size(), 1);
    EXPECT_TRUE(counts[0].endsWith(rig.window->UiText(kTextEntriesWritten).arg(3)))
        << counts[0].toStdString();
    EXPECT_EQ(rig.panel->list(), shown);
    EXPECT_EQ(test::ReadWholeFile(rig.defaultTpb()), kSixTpb);
    EXPECT_FALSE(rig.window->working().isVisible());
    rig.expectUsable();
    const QStringList simCut = SimNames(rig.phone.stop());
    EXPECT_EQ(simCut.mid(0, 3), QStringList({"Adam", "Bára", "Cyril"}));
    EXPECT_EQ(simCut.mid(4), simBefore.mid(4));  // nothing after the cut

    // The phone back on its line: the same editor's upload goes through.
    ASSERT_TRUE(rig.phone.start({}));
    ASSERT_TRUE(rig.runCommand(editor->button("cmbToSim"), timeouts::kShortCommandMs + 5000));
    EXPECT_FALSE(rig.errorShown()) << rig.boxes.shown.value(1).text.toStdString();
    rig.expectUsable();
    const phonesim::PhoneState after = rig.phone.stop();
    EXPECT_EQ(SimNames(after),
              QStringList({"Adam", "Bára", "Cyril", "Dana", "Emil", "Filip", "", ""}));
    EXPECT_EQ(after.phoneBooks.value("SM").entries.size(), 6);
    EXPECT_EQ(test::ReadWholeFile(rig.defaultTpb()), kSixTpb);
}

TEST(WindowFaults, PhoneBookUploadWithOnePositionRefused) {
    WindowRig rig;
    ASSERT_TRUE(test::WriteWholeFile(rig.defaultTpb(), kSixTpb));
    const QStringList simBefore = SimNames(phonesim::demoPhoneState());
    ASSERT_TRUE(rig.phone.start({"AT+CPBW=2,=cme:20"}));
    ASSERT_TRUE(rig.open());
    const PhoneBookList shown = rig.panel->list();
    frmUpload* editor = OpenUploadEditor(rig);
    ASSERT_NE(editor, nullptr);
    editor->button("cmbToSim")->click();
    ASSERT_TRUE(rig.waitUntilIdle(timeouts::kShortCommandMs + 5000));

    // The refused position is named as an error; no count claims it.
    ASSERT_TRUE(rig.errorShown());
    const QString failed = rig.window->UiText(kTextFailedPositions).arg(2);
    bool named = false;
    for (const auto& box : rig.boxes.shown) {
        named = named || (box.kind == MessageBoxes::Kind::Error && box.text == failed);
    }
    EXPECT_TRUE(named);
    for (const QString& count : CountsShown(rig)) {
        EXPECT_TRUE(count.endsWith(rig.window->UiText(kTextEntriesWritten).arg(5)))
            << count.toStdString();
    }
    EXPECT_EQ(rig.panel->list(), shown);
    EXPECT_EQ(test::ReadWholeFile(rig.defaultTpb()), kSixTpb);
    rig.expectUsable();

    // The other positions were written; the next command reads them back.
    rig.ui().cmbPhoneBook->click();
    ASSERT_TRUE(rig.waitUntilIdle(timeouts::kSilenceMs + 5000));
    rig.expectUsable();
    const QStringList sim = SimNames(rig.phone.stop());
    EXPECT_EQ(sim, QStringList({"Adam", simBefore[1], "Cyril", "Dana", "Emil", "Filip", "", ""}));
    EXPECT_EQ(rig.panel->list().size(), 6);
}

// Opens the ring-tone window from its menu and runs `step` on it every
// 20 ms until it returns true; then closes it (it stays open while it asks
// the phone). Returns once the window is closed.
void RunRingToneWindow(WindowRig& rig, const std::function<bool(frmMelodie&)>& step) {
    bool inStep = false;
    bool done = false;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        auto* window = qobject_cast<frmMelodie*>(QApplication::activeModalWidget());
        if (!window || inStep) {
            return;
        }
        inStep = true;
        done = done || step(*window);
        inStep = false;
        if (done) {
            window->reject();
        }
    });
    ticker.start(20);
    rig.ui().mnu_melodie->trigger();
}

TEST(WindowFaults, RingTonesThePhoneRefusesToReadAndToWrite) {
    WindowRig rig;
    ASSERT_TRUE(rig.phone.start({"AT*ESOM?=error"}));
    ASSERT_TRUE(rig.open());
    QElapsedTimer timer;
    timer.start();
    bool uploadsOff = false;
    RunRingToneWindow(rig, [&](frmMelodie& window) {
        if (!rig.errorShown()) {
            return timer.elapsed() > 5000;
        }
        uploadsOff = !window.cmbMelodie(1)->isEnabled() && !window.cmbMelodie(4)->isEnabled();
        return true;
    });
    EXPECT_TRUE(rig.errorShown());
    EXPECT_TRUE(uploadsOff);  // melodies not read are not written over
    EXPECT_LT(timer.elapsed(), 5000);
    rig.expectUsable();

    // The melodies are read; writing one is refused: said, and the field
    // shows again what the phone holds.
    rig.phone.stop();
    ASSERT_TRUE(rig.phone.start({"AT*ESOM==cme:100"}));
    rig.boxes.shown.clear();
    const QString second = phonesim::demoPhoneState().melodies[1];
    QString shownAfter;
    int step = 0;
    timer.restart();
    RunRingToneWindow(rig, [&](frmMelodie& window) {
        if (timer.elapsed() > 5000) {
            return true;
        }
        if (step == 0 && window.txtMelodie(2)->text() == second &&
            window.cmbMelodie(2)->isEnabled()) {
            step = 1;
            window.txtMelodie(2)->setText(QStringLiteral("cdefgah"));
            window.cmbMelodie(2)->click();
            shownAfter = window.txtMelodie(2)->text();
            return true;
        }
        return false;
    });
    EXPECT_TRUE(rig.errorShown());
    EXPECT_EQ(shownAfter, second);
    for (const auto& box : rig.boxes.shown) {
        EXPECT_EQ(box.kind, MessageBoxes::Kind::Error) << box.text.toStdString();
    }
    EXPECT_LT(timer.elapsed(), 5000);
    rig.expectUsable();
    EXPECT_EQ(rig.phone.stop().melodies, phonesim::demoPhoneState().melodies);

    // The next command works.
    ASSERT_TRUE(rig.phone.start({}));
    ASSERT_TRUE(rig.runCommand(rig.ui().cmbPhoneBook, timeouts::kSilenceMs + 5000));
    EXPECT_FALSE(rig.errorShown());
    EXPECT_FALSE(rig.panel->list().isEmpty());
    rig.expectUsable();
}

// Real time: the read waits for its whole bound.
TEST(WindowFaults, RingTonesThePhoneIsSilentTo) {
    WindowRig rig;
    ASSERT_TRUE(rig.phone.start({"AT*ESOM?=silent"}));
    ASSERT_TRUE(rig.open());
    QElapsedTimer timer;
    timer.start();
    bool uploadsOff = false;
    RunRingToneWindow(rig, [&](frmMelodie& window) {
        if (!rig.errorShown()) {
            return timer.elapsed() > timeouts::kRingToneMs + 5000;
        }
        uploadsOff = !window.cmbMelodie(1)->isEnabled() && !window.cmbMelodie(4)->isEnabled();
        return true;
    });
    EXPECT_TRUE(rig.errorShown());
    EXPECT_TRUE(uploadsOff);
    EXPECT_GE(timer.elapsed(), timeouts::kRingToneMs);
    EXPECT_LE(timer.elapsed(), timeouts::kRingToneMs + 4000);
    rig.expectUsable();

    ASSERT_TRUE(rig.runCommand(rig.ui().cmbNactiSMS, timeouts::kSilenceMs + 5000));
    EXPECT_FALSE(rig.errorShown());
    EXPECT_GT(rig.ui().flexSMS->rowCount(), 0);
    rig.expectUsable();
}

}  // namespace
}  // namespace telvora
