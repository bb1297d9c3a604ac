#pragma once
// frmMain: telvora's main window and the program's shell. It owns the link
// to the phone, runs the start-up, puts the interface texts on its controls,
// shows the configuration, progress and about windows, locks the menus while
// a long command runs and shows the connection state in its title.
//
// The phone's functions (messages, phone book, calls, ring tones) are
// command classes that start on the window's CommandHost and know no
// widgets; each feature's glue class gets the few controls it needs in a
// window struct of its own (SmsWindow, PhoneBookWindow, CallWindow), connects
// them to its commands and fills the grids from their results. The shell
// joins the features where one needs another: the phone book's chosen
// number goes to the number field, its names to the message list
// (docs/ARCHITECTURE.md).

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

#include "telvora/core/ui_texts.h"
#include "telvora/link/at_link.h"
#include "telvora/link/command_host.h"
#include "telvora/link/serial_port.h"
#include "telvora/shell/frm_conf.h"

class QAction;
class QActionGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace telvora {

class PhoneBookPanel;

// The main window's controls, named as the program names them. Only the
// shell sees them all; each feature gets its own few.
struct MainWindowControls {
    // Top-level menus. mnu_exit, mnu_conf, mnu_melodie and mnu_aplikace are
    // commands on the menu bar; mnu_seznam and mnu_zpravy open menus.
    QAction* mnu_exit = nullptr;         // exit
    QAction* mnu_conf = nullptr;         // configuration
    QMenu* mnu_seznam = nullptr;         // phone book ("seznam": list)
    QAction* mni_open = nullptr;         // open a phone-book file
    QAction* mni_save = nullptr;         // save the phone book as
    QAction* mni_upload = nullptr;       // upload the phone book to the phone
    QActionGroup* mni_razeni = nullptr;  // sorting ("řazení")
    QAction* mni_razeni_0 = nullptr;     // sort by name, checked at start
    QAction* mni_razeni_1 = nullptr;     // sort by memory position
    QMenu* mnu_zpravy = nullptr;         // messages ("zprávy")
    QAction* mni_ulozsms = nullptr;      // save the messages ("ulož SMS")
    QAction* mnu_melodie = nullptr;      // ring tones ("melodie")
    QAction* mnu_aplikace = nullptr;     // about the application

    QPushButton* cmbExit = nullptr;
    QPushButton* cmbPhoneBook = nullptr;      // read the phone book from the phone
    QPushButton* cmbVytocit = nullptr;        // dial ("vytočit")
    QPushButton* cmbZavesit = nullptr;        // hang up ("zavěsit")
    QPushButton* cmbOdeslat = nullptr;        // send the message ("odeslat")
    QPushButton* cmbClear = nullptr;          // clear the message editor
    QPushButton* cmbNactiSMS = nullptr;       // download the messages ("načti SMS")
    QCheckBox* Checkdelete = nullptr;         // delete messages on the phone after download
    QCheckBox* CheckDelsi160 = nullptr;       // allow messages longer than 160 ("delší")
    QLabel* lbltlfseznam = nullptr;           // "phone book" heading ("tlf. seznam")
    QLabel* lbltlfcislo = nullptr;            // "phone number" label ("tlf. číslo")
    QLabel* lbltextzpravy = nullptr;          // "message text" label ("text zprávy")
    QLabel* lblzbyvachar = nullptr;           // "remaining" before the counter ("zbývá")
    QLabel* lblZbyva = nullptr;               // the counter of the message editor
    QLabel* lblchars = nullptr;               // "chars." after the counter
    QLabel* lblSignal = nullptr;              // operator and signal bar
    QLineEdit* txtNumber = nullptr;           // the recipient's or caller's number
    QPlainTextEdit* txtSMS = nullptr;         // the message editor
    QPlainTextEdit* txtNacteneSMS = nullptr;  // the chosen received message ("načtené")
    QTableWidget* flexSMS = nullptr;          // received messages
    QTableWidget* FlexPB = nullptr;           // phone book
    QTimer* TimerSignal = nullptr;            // polls operator and signal every 7 s
};

class MessageBoxes;
class SettingsStore;
class SingleInstance;
class frmWorking;

// What the shell is built from; tests pass fakes and temporary files.
struct ShellSetup {
    SettingsStore* settings = nullptr;  // not owned
    MessageBoxes* messages = nullptr;   // not owned
    std::unique_ptr<SerialPort> port;   // the port the link will own
    Clock* clock = nullptr;             // the link's clock; null: the system's
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

    // The title while running: "Telvora SMS  - " and text 34 or 35 (text 88
    // while the demo phone answers).
    void SetConnectionTitle(bool connected);

    const MainWindowControls& ui() const { return m_ui; }
    AtLink& link() { return *m_link; }
    // Where every command starts; a new feature's glue class takes it.
    CommandHost& commands() { return *m_host; }
    MessageBoxes& messages() { return *m_messages; }
    frmWorking& working() { return *m_working; }
    // The device the link uses now ("demo", a path, or empty).
    QString currentDevice() const;

    // Hooks the phone's functions install. The phone-book loader runs during
    // start-up before the link check; the network poll runs on each tick of
    // TimerSignal (and once at the end of start-up) unless Busy is set.
    void setPhoneBookLoader(std::function<void()> loader) { m_phoneBookLoader = std::move(loader); }
    // Called by Startup once this is the one telvora of the user, before any
    // question or notice of the start-up.
    void setOnlyInstanceAction(std::function<void()> action) {
        m_onlyInstanceAction = std::move(action);
    }
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
    PhoneBookPanel* InstallPhoneBook();
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

    MainWindowControls m_ui;
    SettingsStore* m_settings;
    MessageBoxes* m_messages;
    std::unique_ptr<AtLink> m_link;
    CommandHost* m_host;
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
    std::function<void()> m_onlyInstanceAction;
    std::function<void()> m_networkPoll;
    std::function<void(frmconf&)> m_configRunner;
};

// Twips of the grids' column widths as pixels at 96 dpi (15 twips a pixel).
int TwipsToPixels(int twips);

}  // namespace telvora
