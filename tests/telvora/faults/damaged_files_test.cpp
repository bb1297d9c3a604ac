// telvora's window starting up against damaged files: settings that are
// binary rubbish or a folder, a default phone book that is rubbish, one huge
// line or a folder, a message archive that is rubbish, a folder or cannot be
// read. Each gives a clear message (or a sensible default), leaves the file
// as it was, and the window works.

#include <gtest/gtest.h>

#include <unistd.h>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>

#include "telvora/demophone/phonesim_port.h"
#include "telvora/phonebook/phone_book_panel.h"
#include "telvora/setup/settings.h"
#include "telvora/shell/frm_main.h"
#include "tests/telvora/faults/fault_rig.h"
#include "tests/telvora/shell/shell_fakes.h"

namespace telvora {
namespace {

// Rubbish with line ends, NUL bytes and bytes that are not UTF-8.
QByteArray Rubbish(int size) {
    QByteArray bytes;
    quint32 seed = 12345;
    for (int i = 0; i < size; ++i) {
        seed = seed * 1664525u + 1013904223u;
        bytes.append(char(seed >> 24));
    }
    return bytes;
}

struct DamagedRig {
    DamagedRig() {
        qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
        QDir().mkpath(archiveFolder());
    }
    ~DamagedRig() {
        window.reset();
        qunsetenv("XDG_DATA_HOME");
    }
    // The archive where telvora looks for it in this test's data folder.
    QString archiveFolder() const {
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    }
    QString archivePath() const { return archiveFolder() + "/messages.sqlite"; }
    QString settingsPath() const { return dir.filePath("Telvora.conf"); }
    QString defaultTpb() const { return dir.filePath("default.tpb"); }

    frmMain::StartResult start() {
        settings = std::make_unique<SettingsStore>(
            std::make_unique<QSettings>(settingsPath(), QSettings::IniFormat));
        auto owned = std::make_unique<phonesim::PhoneSimPort>(phonesim::demoPhoneState());
        owned->phone().options().latencyMs = 0;
        port = owned.get();
        ShellSetup setup;
        setup.settings = settings.get();
        setup.messages = &boxes;
        setup.port = std::move(owned);
        setup.lockPath = dir.filePath("telvora.lock");
        setup.deviceOverride = QStringLiteral("demo");
        window = std::make_unique<frmMain>(std::move(setup));
        panel = window->findChild<PhoneBookPanel*>(QStringLiteral("phoneBookPanel"));
        panel->setDefaultFile(defaultTpb());
        panel->setSourceChooser([] { return PhoneBookSource::Sim; });
        window->setConfigurationRunner([](frmconf&) {});
        return window->Startup();
    }
    QStringList shownTexts() const {
        QStringList texts;
        for (const auto& shown : boxes.shown) {
            texts << shown.text;
        }
        return texts;
    }
    bool shownMentions(const QString& text) const { return shownTexts().join('\n').contains(text); }
    // The window works: a phone-book read fills the list.
    void expectReadWorks() {
        window->ui().cmbPhoneBook->click();
        EXPECT_EQ(panel->list().size(), port->phone().state().phoneBooks["SM"].entries.size());
        EXPECT_FALSE(window->link().Busy());
    }

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings;
    test::FakeMessageBoxes boxes;
    phonesim::PhoneSimPort* port = nullptr;
    std::unique_ptr<frmMain> window;
    PhoneBookPanel* panel = nullptr;
};

TEST(DamagedFiles, SettingsOfRubbishStartWithDefaultsAndStayAsTheyWere) {
    DamagedRig rig;
    const QByteArray rubbish = Rubbish(4096);
    ASSERT_TRUE(test::WriteWholeFile(rig.settingsPath(), rubbish));
    ASSERT_EQ(rig.start(), frmMain::StartResult::Running);
    EXPECT_EQ(test::ReadWholeFile(rig.settingsPath()), rubbish);
    rig.expectReadWorks();
}

TEST(DamagedFiles, FolderWhereTheSettingsFileShouldBe) {
    DamagedRig rig;
    ASSERT_TRUE(QDir().mkpath(rig.settingsPath()));
    ASSERT_TRUE(test::WriteWholeFile(rig.settingsPath() + "/kept.txt", "kept"));
    ASSERT_EQ(rig.start(), frmMain::StartResult::Running);
    // A setting cannot be stored there, and says so; the folder stays.
    EXPECT_FALSE(rig.settings->setLanguage(2));
    EXPECT_EQ(test::ReadWholeFile(rig.settingsPath() + "/kept.txt"), "kept");
    rig.expectReadWorks();
}

TEST(DamagedFiles, DefaultPhoneBookOfRubbishIsReportedAndKept) {
    DamagedRig rig;
    const QByteArray rubbish = Rubbish(3000);
    ASSERT_TRUE(test::WriteWholeFile(rig.defaultTpb(), rubbish));
    ASSERT_EQ(rig.start(), frmMain::StartResult::Running);
    EXPECT_TRUE(rig.panel->list().isEmpty());
    EXPECT_FALSE(rig.boxes.shown.isEmpty());  // the lines skipped are counted
    EXPECT_EQ(test::ReadWholeFile(rig.defaultTpb()), rubbish);
}

TEST(DamagedFiles, DefaultPhoneBookWithOneHugeLine) {
    DamagedRig rig;
    const QByteArray huge =
        "\"1\",\"" + QByteArray(20 * 1024 * 1024, 'a') + "\",1\r\n\"602111222\",\"Domů\",2\r\n";
    ASSERT_TRUE(test::WriteWholeFile(rig.defaultTpb(), huge));
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(rig.start(), frmMain::StartResult::Running);
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_EQ(rig.panel->list().size(), 2);
    EXPECT_EQ(test::ReadWholeFile(rig.defaultTpb()), huge);
}

TEST(DamagedFiles, FolderWhereTheDefaultPhoneBookShouldBe) {
    DamagedRig rig;
    ASSERT_TRUE(QDir().mkpath(rig.defaultTpb()));
    ASSERT_TRUE(test::WriteWholeFile(rig.defaultTpb() + "/kept.txt", "kept"));
    ASSERT_EQ(rig.start(), frmMain::StartResult::Running);
    EXPECT_TRUE(rig.shownMentions(rig.defaultTpb())) << rig.shownTexts().join('\n').toStdString();
    // A read from the phone fills the list but cannot replace the folder.
    rig.boxes.shown.clear();
    rig.expectReadWorks();
    EXPECT_TRUE(rig.shownMentions(rig.defaultTpb())) << rig.shownTexts().join('\n').toStdString();
    EXPECT_EQ(test::ReadWholeFile(rig.defaultTpb() + "/kept.txt"), "kept");
}

// A download with deletes against an archive that cannot take the messages:
// the messages are shown, the archive's problem named, and none deleted.
void ExpectDownloadKeepsEverything(DamagedRig& rig) {
    const qsizetype stored = test::TextsOnPhone(rig.port->phone().state()).size();
    rig.boxes.shown.clear();
    rig.window->ui().Checkdelete->setChecked(true);
    rig.window->ui().cmbNactiSMS->click();
    EXPECT_GT(rig.window->ui().flexSMS->rowCount(), 0);
    EXPECT_EQ(test::TextsOnPhone(rig.port->phone().state()).size(), stored);
    EXPECT_TRUE(rig.shownMentions(rig.archivePath())) << rig.shownTexts().join('\n').toStdString();
    EXPECT_FALSE(rig.window->link().Busy());
}

TEST(DamagedFiles, ArchiveOfRubbish) {
    DamagedRig rig;
    const QByteArray rubbish = Rubbish(8192);
    ASSERT_TRUE(test::WriteWholeFile(rig.archivePath(), rubbish));
    ASSERT_EQ(rig.start(), frmMain::StartResult::Running);
    ExpectDownloadKeepsEverything(rig);
    EXPECT_EQ(test::ReadWholeFile(rig.archivePath()), rubbish);
}

TEST(DamagedFiles, FolderWhereTheArchiveShouldBe) {
    DamagedRig rig;
    ASSERT_TRUE(QDir().mkpath(rig.archivePath()));
    ASSERT_TRUE(test::WriteWholeFile(rig.archivePath() + "/kept.txt", "kept"));
    ASSERT_EQ(rig.start(), frmMain::StartResult::Running);
    ExpectDownloadKeepsEverything(rig);
    EXPECT_EQ(test::ReadWholeFile(rig.archivePath() + "/kept.txt"), "kept");
}

TEST(DamagedFiles, ArchiveThatCannotBeRead) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "running as root: file permissions do not apply";
    }
    DamagedRig rig;
    ASSERT_TRUE(test::WriteWholeFile(rig.archivePath(), Rubbish(100)));
    QFile::setPermissions(rig.archivePath(), QFileDevice::Permissions());
    ASSERT_EQ(rig.start(), frmMain::StartResult::Running);
    ExpectDownloadKeepsEverything(rig);
    QFile::setPermissions(rig.archivePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

}  // namespace
}  // namespace telvora
