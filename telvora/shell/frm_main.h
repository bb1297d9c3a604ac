#pragma once
// frmMain: telvora's main window and the program's shell. It owns the link
// to the phone, runs the start-up, puts the interface texts on its controls,
// shows the configuration, progress and about windows, locks the menus while
// a long command runs and shows the connection state in its title.
//
// The phone's functions (messages, phone book, calls, ring tones) are
// command classes over link() that know no widgets; each feature's glue
// class connects the controls of MainControls to its commands and fills the
// grids from their results (docs/ARCHITECTURE.md).

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

#include "telvora/core/ui_texts.h"
#include "telvora/link/at_link.h"
#include "telvora/link/serial_port.h"
#include "telvora/shell/frm_conf.h"
#include "telvora/shell/main_controls.h"

namespace telvora {

class MessageBoxes;
class SettingsStore;
class SingleInstance;
class frmWorking;

// What the shell is built from; tests pass fakes and temporary files.
struct ShellSetup {
    SettingsStore* settings = nullptr;  // not owned
    MessageBoxes* messages = nullptr;   // not owned
    std::unique_ptr<SerialPort> port;   // the port the link will own
    QString lockPath;                   // the single-instance lock; empty: the default
    QString deviceOverride;             // --device: used for this run instead of the settings
};

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    enum class StartResult { Running, Ended };

    explicit frmMain(ShellSetup setup, QWidget* parent = nullptr);
    ~frmMain() override;

    // The start-up sequence. Ended: the program must end (another instance
    // runs, the user declined to configure a silent phone, or the port does
    // not exist); the window is not shown then.
    StartResult Startup();

    // Text number n in the current language.
    QString UiText(int n) const;
    Language language() const { return m_language; }
    void ApplyLanguage(Language language);
    void LockMenus();
    void UnlockMenus();
    // Shows frmconf modally and applies what the user chose.
    void ShowConfiguration();
    // The link check every command runs first: reports a port that does not
    // exist or is in use, and shows the result in the title. True when the
    // phone answered. A command passes the lease it holds.
    bool CheckLink(PortLease* held = nullptr);
    void ShowAbout();

    // The title while running: "Telvora SMS  - " and text 34 or 35.
    void SetConnectionTitle(bool connected);

    const MainControls& ui() const { return m_ui; }
    AtLink& link() { return *m_link; }
    MessageBoxes& messages() { return *m_messages; }
    frmWorking& working() { return *m_working; }
    // The device the link uses now ("demo", a path, or empty).
    QString currentDevice() const;

    // Hooks the phone's functions install. The phone-book loader runs during
    // start-up before the link check; the network poll runs on each tick of
    // TimerSignal (and once at the end of start-up) unless Busy is set.
    void setPhoneBookLoader(std::function<void()> loader) { m_phoneBookLoader = std::move(loader); }
    void setNetworkPoll(std::function<void()> poll) { m_networkPoll = std::move(poll); }
    // How frmconf is shown; the default runs it modally. Tests answer it.
    void setConfigurationRunner(std::function<void(frmconf&)> runner) {
        m_configRunner = std::move(runner);
    }

    // The TimerSignal handler: skips while a command holds the port.
    void PollNetworkStatus();

signals:
    // After ApplyLanguage, so that other windows can relabel themselves.
    void languageApplied(Language language);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildControls();
    void PrepareGrids();
    // The phone-book panel: FlexPB, cmbPhoneBook, the mnu_seznam items.
    void InstallPhoneBook();
    void acceptConfiguration(const frmconf& dialog);
    void readSettings();
    // Empties the stored port; false when the settings could not be written.
    bool forgetPort();
    void reportIfNotSaved(bool saved);
    // `text`, followed by the device and the port's own words for why it
    // could not be opened.
    QString withOpenError(const QString& text) const;
    void reportOpenFailure(LinkState state);
    // The number field, Dial, Hang up, the signal label and the ring-tone menu.
    void installCallsAndRingTones();

    MainControls m_ui;
    SettingsStore* m_settings;
    MessageBoxes* m_messages;
    std::unique_ptr<AtLink> m_link;
    std::unique_ptr<SingleInstance> m_instance;
    frmWorking* m_working;
    QString m_deviceOverride;

    QString m_portSetting;  // "port" as read
    QString m_deviceSetting;
    int m_languageSetting = 0;
    Language m_language = Language::Czech;
    bool m_showingLinkError = false;
    // The open failure last shown, so that it is not shown again and again.
    struct ReportedFailure {
        QString device;
        LinkState state;
        bool operator==(const ReportedFailure&) const = default;
    };
    std::optional<ReportedFailure> m_reportedFailure;

    std::function<void()> m_phoneBookLoader;
    std::function<void()> m_networkPoll;
    std::function<void(frmconf&)> m_configRunner;
};

// Twips of the grids' column widths as pixels at 96 dpi (15 twips a pixel).
int TwipsToPixels(int twips);

}  // namespace telvora
