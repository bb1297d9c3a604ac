// The main window's commands against telvora-phonesim on a pseudo-terminal
// with a fault injected: a download whose line is cut, a phone-book read
// the phone is silent to, a dial the phone refuses. Each failure is shown,
// loses nothing, and leaves the window usable: the port free, the menus
// enabled, and the next command works.

#include <gtest/gtest.h>

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

#include "telvora/link/at_link.h"
#include "telvora/link/command_host.h"
#include "telvora/link/qt_serial_port.h"
#include "telvora/link/timeouts.h"
#include "telvora/phonebook/phone_book_panel.h"
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
            arguments << "--state" << savedPath();  // the phone as the last one left it
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
    rig.boxes.shown.clear();
    rig.ui().cmbPhoneBook->click();
    ASSERT_TRUE(rig.waitUntilIdle(timeouts::kSilenceMs + 5000));
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
    rig.boxes.shown.clear();
    rig.ui().cmbNactiSMS->click();
    ASSERT_TRUE(rig.waitUntilIdle(timeouts::kSilenceMs + 5000));
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

    rig.boxes.shown.clear();
    rig.ui().cmbPhoneBook->click();
    ASSERT_TRUE(rig.waitUntilIdle(timeouts::kSilenceMs + 5000));
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
    rig.boxes.shown.clear();
    rig.ui().cmbPhoneBook->click();
    ASSERT_TRUE(rig.waitUntilIdle(timeouts::kSilenceMs + 5000));
    EXPECT_FALSE(rig.errorShown());
    EXPECT_FALSE(rig.panel->list().isEmpty());
}

}  // namespace
}  // namespace telvora
