#include "telvora/shell/frm_main.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "telvora/calls/call_controls.h"
#include "telvora/core/message_boxes.h"
#include "telvora/link/at_link.h"
#include "telvora/link/device_names.h"
#include "telvora/phonebook/phone_book_entry.h"
#include "telvora/phonebook/phone_book_panel.h"
#include "telvora/ringtone/ring_tone_menu.h"
#include "telvora/setup/settings.h"
#include "telvora/setup/single_instance.h"
#include "telvora/shell/frm_about.h"
#include "telvora/shell/frm_working.h"
#include "telvora/shell/news_notice.h"
#include "telvora/shell/qt_translations.h"
#include "telvora/sms/archive_window.h"
#include "telvora/sms/sms_panel.h"

namespace telvora {
namespace {

constexpr int kSignalIntervalMs = 7000;
constexpr int kTwipsPerPixel = 15;

// Message grid: time, sender, text, then three hidden columns (sender's
// number, age for sorting, index in the phone's store).
constexpr int kMessageColumns = 6;
constexpr int kMessageWidthsTwips[] = {1650, 1350, 4500};
// Phone-book grid: name, then the hidden number and memory position.
constexpr int kPhoneBookColumns = 3;
constexpr int kPhoneBookNameTwips = 2100;

enum class Property { Caption, ToolTip };

struct LanguageRow {
    QObject* control;
    Property property;
    int text;
};

void SetCaption(QObject* control, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(control)) {
        action->setText(text);
    } else if (auto* menu = qobject_cast<QMenu*>(control)) {
        menu->setTitle(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    }
}

void SetToolTip(QObject* control, const QString& text) {
    if (auto* widget = qobject_cast<QWidget*>(control)) {
        widget->setToolTip(text);
    }
}

template <typename T>
T* Named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

QAction* TopLevelAction(QMenuBar* bar, const char* name) {
    return Named(bar->addAction(QString()), name);
}

// The twip widths were made for a small system font. In a larger font the
// date and the sender's number would be cut, so those columns are never
// narrower than their usual content in the grid's font.
int MessageColumnWidth(const QTableWidget& grid, int column) {
    static const QString kWidestContent[] = {QStringLiteral("28.11.2026"),
                                             QStringLiteral("+420123456789"), QString()};
    const int twipsWidth = TwipsToPixels(kMessageWidthsTwips[column]);
    if (kWidestContent[column].isEmpty()) {
        return twipsWidth;
    }
    const QFontMetrics metrics = grid.fontMetrics();
    return std::max(twipsWidth, metrics.horizontalAdvance(kWidestContent[column]) +
                                    2 * metrics.averageCharWidth());
}

// The names senders and callers are shown by: the phone book's entries
// that have a number.
QList<sms::NameAndNumber> NamesIn(const PhoneBookPanel& phoneBook) {
    QList<sms::NameAndNumber> names;
    for (const PhoneBookEntry& entry : phoneBook.list()) {
        if (!entry.number.isEmpty()) {
            names.append({entry.name, entry.number});
        }
    }
    return names;
}

}  // namespace

int TwipsToPixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

frmMain::frmMain(ShellSetup setup, QWidget* parent)
    : QMainWindow(parent),
      m_settings(setup.settings),
      m_messages(setup.messages),
      m_link(std::make_unique<AtLink>(std::move(setup.port),
                                      setup.clock ? *setup.clock : SystemClock())),
      m_host(new CommandHost(*m_link, *setup.messages, Language::Czech, this)),
      m_instance(std::make_unique<SingleInstance>(
          setup.lockPath.isEmpty() ? SingleInstance::DefaultLockPath() : setup.lockPath)),
      m_working(new frmWorking(this)),
      m_deviceOverride(setup.deviceOverride),
      m_configRunner([](frmconf& dialog) { dialog.exec(); }) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(ProductTitle());
    buildMenus();
    buildControls();
    m_ui.TimerSignal = Named(new QTimer(this), "TimerSignal");
    m_ui.TimerSignal->setInterval(kSignalIntervalMs);
    connect(m_ui.TimerSignal, &QTimer::timeout, this, &frmMain::PollNetworkStatus);
    // While a command holds the port, a click must not start a second one;
    // a signal poll in the background gives the port up to a click.
    connect(m_link.get(), &AtLink::busyChanged, this, [this](bool busy) {
        for (QPushButton* button :
             {m_ui.cmbPhoneBook, m_ui.cmbVytocit, m_ui.cmbOdeslat, m_ui.cmbNactiSMS}) {
            button->setEnabled(!busy || !m_link->commandRunning());
        }
    });
    // Commands check the link under their own lease; the title follows.
    connect(m_link.get(), &AtLink::connectedChanged, this, &frmMain::SetConnectionTitle);
    // Every command starts on the host: the window's link check (which shows
    // the state in the title), its progress window with Cancel, its menus.
    m_host->setLinkCheck([this](PortLease& lease) { return CheckLink(&lease); });
    m_host->setProgressWindow(m_working);
    m_host->setMenuLock([this](bool locked) { locked ? LockMenus() : UnlockMenus(); });
    connect(m_working, &frmWorking::cancelRequested, m_host, &CommandHost::cancel);
    installCallsAndRingTones();
    PrepareGrids();
    resize(960, 620);

    PhoneBookPanel* phoneBook = InstallPhoneBook();
    // Short messages: the editor, sending, the download, the list and its file.
    sms::SmsWindow smsWindow;
    smsWindow.window = this;
    smsWindow.txtNumber = m_ui.txtNumber;
    smsWindow.txtSMS = m_ui.txtSMS;
    smsWindow.lblzbyvachar = m_ui.lblzbyvachar;
    smsWindow.lblZbyva = m_ui.lblZbyva;
    smsWindow.lblchars = m_ui.lblchars;
    smsWindow.CheckDelsi160 = m_ui.CheckDelsi160;
    smsWindow.cmbOdeslat = m_ui.cmbOdeslat;
    smsWindow.cmbClear = m_ui.cmbClear;
    smsWindow.cmbNactiSMS = m_ui.cmbNactiSMS;
    smsWindow.Checkdelete = m_ui.Checkdelete;
    smsWindow.flexSMS = m_ui.flexSMS;
    smsWindow.txtNacteneSMS = m_ui.txtNacteneSMS;
    smsWindow.mni_ulozsms = m_ui.mni_ulozsms;
    // Senders are named from the phone book's entries that have a number.
    smsWindow.phoneBookNames = [phoneBook] { return NamesIn(*phoneBook); };
    auto* smsPanel = new sms::SmsPanel(std::move(smsWindow), *m_host, this);
    connect(this, &frmMain::languageApplied, smsPanel, &sms::SmsPanel::ApplyLanguage);
    if (m_settings) {
        smsPanel->setWithoutDiacriticsSetting(
            m_settings->read().withoutDiacritics,
            [this](bool on) { m_settings->setWithoutDiacritics(on); });
    }
    // The message archive: its window from the messages menu; every download kept in it.
    sms::ArchiveWindowHooks archiveHooks{[this] { return m_language; },
                                         [phoneBook] { return NamesIn(*phoneBook); },
                                         [this](const QString& number) {
                                             m_ui.txtNumber->setText(number);
                                             activateWindow();
                                             m_ui.txtSMS->setFocus();
                                         },
                                         {}};
    auto* archive = new sms::ArchiveMenu(m_ui.mnu_zpravy, *m_messages, archiveHooks, this);
    smsPanel->setKeeper(archive->keeper());
    smsPanel->setSentRecord(archive->sentRecord());
    connect(this, &frmMain::languageApplied, archive, &sms::ArchiveMenu::ApplyLanguage);
    InstallNews(*this, *smsPanel, archive->keeper(),
                [phoneBook] { return NamesIn(*phoneBook); });  // new messages and incoming calls
}

PhoneBookPanel* frmMain::InstallPhoneBook() {
    PhoneBookWindow window;
    window.window = this;
    window.FlexPB = m_ui.FlexPB;
    window.cmbPhoneBook = m_ui.cmbPhoneBook;
    window.mnu_seznam = m_ui.mnu_seznam;
    window.mni_open = m_ui.mni_open;
    window.mni_save = m_ui.mni_save;
    window.mni_upload = m_ui.mni_upload;
    window.mni_razeni_0 = m_ui.mni_razeni_0;
    window.mni_razeni_1 = m_ui.mni_razeni_1;
    auto* phoneBook = new PhoneBookPanel(std::move(window), *m_host);
    connect(this, &frmMain::languageApplied, phoneBook, &PhoneBookPanel::ApplyLanguage);
    // The chosen entry's number goes to the number field; a click or Enter
    // goes on to the message.
    connect(phoneBook, &PhoneBookPanel::numberChosen, this,
            [this](const QString& number, bool moveOn) {
                m_ui.txtNumber->setText(number);
                if (moveOn) {
                    m_ui.txtSMS->setFocus();
                }
            });
    connect(phoneBook, &PhoneBookPanel::messageWanted, m_ui.txtSMS,
            [this] { m_ui.txtSMS->setFocus(); });
    setPhoneBookLoader([phoneBook] { phoneBook->LoadAtStartup(); });
    return phoneBook;
}

frmMain::~frmMain() {
    m_link->ClosePort();
}

void frmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    m_ui.mnu_exit = TopLevelAction(bar, "mnu_exit");
    m_ui.mnu_conf = TopLevelAction(bar, "mnu_conf");

    m_ui.mnu_seznam = Named(bar->addMenu(QString()), "mnu_seznam");
    m_ui.mnu_seznam->menuAction()->setObjectName(QStringLiteral("mnu_seznam"));
    m_ui.mni_open = Named(m_ui.mnu_seznam->addAction(QString()), "mni_open");
    m_ui.mni_save = Named(m_ui.mnu_seznam->addAction(QString()), "mni_save");
    m_ui.mni_upload = Named(m_ui.mnu_seznam->addAction(QString()), "mni_upload");
    m_ui.mnu_seznam->addSeparator();
    m_ui.mni_razeni = Named(new QActionGroup(this), "mni_razeni");
    m_ui.mni_razeni->setExclusive(true);
    m_ui.mni_razeni_0 = Named(m_ui.mni_razeni->addAction(QString()), "mni_razeni_0");
    m_ui.mni_razeni_1 = Named(m_ui.mni_razeni->addAction(QString()), "mni_razeni_1");
    for (QAction* item : {m_ui.mni_razeni_0, m_ui.mni_razeni_1}) {
        item->setCheckable(true);
        m_ui.mnu_seznam->addAction(item);
    }
    m_ui.mni_razeni_0->setChecked(true);

    m_ui.mnu_zpravy = Named(bar->addMenu(QString()), "mnu_zpravy");
    m_ui.mnu_zpravy->menuAction()->setObjectName(QStringLiteral("mnu_zpravy"));
    m_ui.mni_ulozsms = Named(m_ui.mnu_zpravy->addAction(QString()), "mni_ulozsms");
    m_ui.mnu_melodie = TopLevelAction(bar, "mnu_melodie");
    m_ui.mnu_aplikace = TopLevelAction(bar, "mnu_aplikace");

    connect(m_ui.mnu_exit, &QAction::triggered, this, &QWidget::close);
    connect(m_ui.mnu_conf, &QAction::triggered, this, [this] {
        // Moving the port under a running command would cut its answer; a
        // signal poll gives the port back first.
        if (!m_link->waitForBackgroundJob()) {
            m_messages->error(UiText(kTextCommandRunning));
            return;
        }
        ShowConfiguration();
        CheckLink();
    });
    connect(m_ui.mnu_aplikace, &QAction::triggered, this, &frmMain::ShowAbout);
}

void frmMain::buildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central);

    // Phone book on the left.
    m_ui.lbltlfseznam = Named(new QLabel(central), "lbltlfseznam");
    m_ui.lbltlfseznam->setAlignment(Qt::AlignCenter);
    m_ui.FlexPB = Named(new QTableWidget(central), "FlexPB");
    m_ui.cmbPhoneBook = Named(new QPushButton(central), "cmbPhoneBook");
    auto* phoneBook = new QVBoxLayout;
    phoneBook->addWidget(m_ui.lbltlfseznam);
    phoneBook->addWidget(m_ui.FlexPB, 1);
    phoneBook->addWidget(m_ui.cmbPhoneBook);

    // Number and message editor in the middle.
    m_ui.lbltlfcislo = Named(new QLabel(central), "lbltlfcislo");
    m_ui.txtNumber = Named(new QLineEdit(central), "txtNumber");
    m_ui.lbltlfcislo->setBuddy(m_ui.txtNumber);
    m_ui.cmbVytocit = Named(new QPushButton(central), "cmbVytocit");
    m_ui.cmbZavesit = Named(new QPushButton(central), "cmbZavesit");
    auto* callButtons = new QHBoxLayout;
    callButtons->addWidget(m_ui.cmbVytocit);
    callButtons->addWidget(m_ui.cmbZavesit);

    m_ui.lbltextzpravy = Named(new QLabel(central), "lbltextzpravy");
    m_ui.txtSMS = Named(new QPlainTextEdit(central), "txtSMS");
    m_ui.lbltextzpravy->setBuddy(m_ui.txtSMS);
    m_ui.lblzbyvachar = Named(new QLabel(central), "lblzbyvachar");
    m_ui.lblZbyva = Named(new QLabel(QStringLiteral("160"), central), "lblZbyva");
    m_ui.lblchars = Named(new QLabel(central), "lblchars");
    auto* counter = new QHBoxLayout;
    counter->addWidget(m_ui.lblzbyvachar);
    counter->addWidget(m_ui.lblZbyva);
    counter->addWidget(m_ui.lblchars);
    counter->addStretch();
    m_ui.CheckDelsi160 = Named(new QCheckBox(central), "CheckDelsi160");
    m_ui.cmbOdeslat = Named(new QPushButton(central), "cmbOdeslat");
    m_ui.cmbClear = Named(new QPushButton(central), "cmbClear");
    auto* sendButtons = new QHBoxLayout;
    sendButtons->addWidget(m_ui.cmbOdeslat);
    sendButtons->addWidget(m_ui.cmbClear);

    auto* editor = new QVBoxLayout;
    editor->addWidget(m_ui.lbltlfcislo);
    editor->addWidget(m_ui.txtNumber);
    editor->addLayout(callButtons);
    editor->addSpacing(6);
    editor->addWidget(m_ui.lbltextzpravy);
    editor->addWidget(m_ui.txtSMS, 1);
    editor->addLayout(counter);
    editor->addWidget(m_ui.CheckDelsi160);
    editor->addLayout(sendButtons);

    // Received messages on the right.
    m_ui.flexSMS = Named(new QTableWidget(central), "flexSMS");
    m_ui.txtNacteneSMS = Named(new QPlainTextEdit(central), "txtNacteneSMS");
    m_ui.txtNacteneSMS->setReadOnly(true);
    m_ui.txtNacteneSMS->setMaximumHeight(110);
    m_ui.Checkdelete = Named(new QCheckBox(central), "Checkdelete");
    m_ui.cmbNactiSMS = Named(new QPushButton(central), "cmbNactiSMS");
    auto* download = new QHBoxLayout;
    download->addWidget(m_ui.Checkdelete);
    download->addStretch();
    download->addWidget(m_ui.cmbNactiSMS);
    auto* received = new QVBoxLayout;
    received->addWidget(m_ui.flexSMS, 1);
    received->addWidget(m_ui.txtNacteneSMS);
    received->addLayout(download);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(14);
    columns->addLayout(phoneBook);
    columns->addLayout(editor, 1);
    columns->addLayout(received);

    m_ui.cmbExit = Named(new QPushButton(QStringLiteral("E&xit"), central), "cmbExit");
    connect(m_ui.cmbExit, &QPushButton::clicked, this, &QWidget::close);
    // Operator and signal bar, two lines, at the bottom left.
    m_ui.lblSignal = Named(new QLabel(central), "lblSignal");
    m_ui.lblSignal->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_ui.lblSignal->setMinimumHeight(2 * m_ui.lblSignal->fontMetrics().lineSpacing());
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_ui.lblSignal);
    bottom->addStretch();
    bottom->addWidget(m_ui.cmbExit);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);
}

void frmMain::PrepareGrids() {
    QTableWidget* messages = m_ui.flexSMS;
    messages->clear();
    messages->setColumnCount(kMessageColumns);
    messages->setRowCount(0);
    messages->setHorizontalHeaderLabels({UiText(31), UiText(29), UiText(30)});
    messages->verticalHeader()->hide();
    messages->horizontalHeader()->setStretchLastSection(false);
    messages->setEditTriggers(QAbstractItemView::NoEditTriggers);
    messages->setSelectionBehavior(QAbstractItemView::SelectRows);
    messages->setSelectionMode(QAbstractItemView::SingleSelection);
    int messagesWidth =
        2 * messages->frameWidth() + messages->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < 3; ++column) {
        const int width = MessageColumnWidth(*messages, column);
        messages->setColumnWidth(column, width);
        messagesWidth += width;
    }
    for (int column = 3; column < kMessageColumns; ++column) {
        messages->setColumnHidden(column, true);
    }
    // The message panel is as wide as the visible columns, so no empty
    // header strip shows beside them.
    messages->setFixedWidth(messagesWidth);
    m_ui.txtNacteneSMS->setFixedWidth(messagesWidth);

    QTableWidget* phoneBook = m_ui.FlexPB;
    phoneBook->setColumnCount(kPhoneBookColumns);
    phoneBook->horizontalHeader()->hide();
    phoneBook->verticalHeader()->hide();
    phoneBook->setEditTriggers(QAbstractItemView::NoEditTriggers);
    phoneBook->setSelectionBehavior(QAbstractItemView::SelectRows);
    phoneBook->setSelectionMode(QAbstractItemView::SingleSelection);
    phoneBook->setColumnWidth(0, TwipsToPixels(kPhoneBookNameTwips));
    phoneBook->setColumnHidden(1, true);
    phoneBook->setColumnHidden(2, true);
    phoneBook->setFixedWidth(TwipsToPixels(kPhoneBookNameTwips) + 2 * phoneBook->frameWidth() +
                             phoneBook->verticalScrollBar()->sizeHint().width());

    m_ui.txtNumber->clear();
    m_ui.txtSMS->clear();
    m_ui.txtNacteneSMS->clear();
}

frmMain::StartResult frmMain::Startup() {
    setWindowTitle(ProductTitle());
    readSettings();
    if (!m_instance->tryAcquire()) {
        // Another telvora of this user runs and keeps the port.
        m_messages->info(UiText(kTextAlreadyRunning));
        return StartResult::Ended;
    }
    if (m_onlyInstanceAction) {
        m_onlyInstanceAction();
    }
    if (m_deviceOverride.isEmpty() &&
        NeedsConfiguration({m_portSetting, m_languageSetting, m_deviceSetting})) {
        ShowConfiguration();
    }
    ApplyLanguage(m_language);

    // No port chosen (the first-run configuration was closed without OK)
    // counts as a port that does not exist.
    const QString device = currentDevice();
    const OpenResult opened = device.isEmpty() ? OpenResult::InvalidPort : m_link->OpenPort(device);
    if (opened == OpenResult::InvalidPort || opened == OpenResult::NotSerialPort) {
        m_messages->error(withOpenError(UiText(37)));
        reportIfNotSaved(forgetPort());
        m_link->ClosePort();
        return StartResult::Ended;
    }
    setWindowTitle(QStringLiteral("Telvora SMS "));
    m_link->markDisconnected();
    PrepareGrids();
    if (m_phoneBookLoader) {
        m_phoneBookLoader();
    }
    if (opened == OpenResult::Ok) {
        CheckLink();
        if (!m_link->Connected()) {
            if (!m_messages->askYesNo(MessageBoxes::Kind::Error, UiText(36))) {
                m_link->ClosePort();
                return StartResult::Ended;
            }
            ShowConfiguration();
            CheckLink();
        }
    } else {
        // Held by another program: CheckLink reports it (text 79) and shows
        // the disconnected title; later checks try the port again.
        CheckLink();
    }
    if (m_host->simulated() && m_portSetting.isEmpty() && m_deviceSetting.isEmpty()) {
        // No phone chosen yet: the user must know that nothing here is real.
        m_messages->info(UiText(kTextDemoPhoneNotice));
    }
    PollNetworkStatus();
    m_ui.TimerSignal->start();
    return StartResult::Running;
}

void frmMain::readSettings() {
    const StoredSettings stored = m_settings->read();
    m_portSetting = stored.port;
    m_deviceSetting = stored.device;
    m_languageSetting = stored.language;
    m_language = LanguageFromNumber(m_languageSetting);
}

bool frmMain::forgetPort() {
    // A device given on the command line is not the stored one: keep the
    // user's settings then.
    if (!m_deviceOverride.isEmpty()) {
        return true;
    }
    m_portSetting.clear();
    m_deviceSetting.clear();
    const bool portSaved = m_settings->setPort(QString());
    return m_settings->setDevice(QString()) && portSaved;
}

void frmMain::reportIfNotSaved(bool saved) {
    if (!saved) {
        m_messages->error(UiText(kTextSettingsNotSaved).arg(m_settings->fileName()));
    }
}

QString frmMain::withOpenError(const QString& text) const {
    const QString detail = m_link->lastOpenError();
    if (detail.isEmpty()) {
        return text;
    }
    return text + QStringLiteral("\n\n") + m_link->device() + QStringLiteral(": ") + detail;
}

QString frmMain::currentDevice() const {
    if (!m_deviceOverride.isEmpty()) {
        return m_deviceOverride;
    }
    return DeviceFor({m_portSetting, m_languageSetting, m_deviceSetting});
}

QString frmMain::UiText(int n) const {
    return telvora::UiText(m_language, n);
}

void frmMain::ApplyLanguage(Language language) {
    m_language = language;
    ApplyQtTranslations(language);
    m_host->setLanguage(language);
    m_working->setCancelCaption(UiText(kTextCancelButton));
    const LanguageRow rows[] = {
        {m_ui.mnu_exit, Property::Caption, 1},       {m_ui.mnu_conf, Property::Caption, 2},
        {m_ui.mnu_seznam, Property::Caption, 3},     {m_ui.mni_open, Property::Caption, 4},
        {m_ui.mni_save, Property::Caption, 5},       {m_ui.mni_upload, Property::Caption, 6},
        {m_ui.mni_razeni_0, Property::Caption, 7},   {m_ui.mni_razeni_1, Property::Caption, 8},
        {m_ui.mnu_zpravy, Property::Caption, 9},     {m_ui.mni_ulozsms, Property::Caption, 10},
        {m_ui.mnu_melodie, Property::Caption, 11},   {m_ui.mnu_aplikace, Property::Caption, 12},
        {m_ui.lbltlfseznam, Property::Caption, 22},  {m_ui.lbltlfcislo, Property::Caption, 14},
        {m_ui.lbltextzpravy, Property::Caption, 18}, {m_ui.lblzbyvachar, Property::Caption, 23},
        {m_ui.lblchars, Property::Caption, 24},      {m_ui.cmbPhoneBook, Property::Caption, 13},
        {m_ui.cmbVytocit, Property::Caption, 15},    {m_ui.cmbZavesit, Property::Caption, 16},
        {m_ui.cmbZavesit, Property::ToolTip, 17},    {m_ui.cmbOdeslat, Property::Caption, 20},
        {m_ui.cmbClear, Property::Caption, 19},      {m_ui.cmbNactiSMS, Property::Caption, 26},
        {m_ui.Checkdelete, Property::Caption, 27},   {m_ui.Checkdelete, Property::ToolTip, 32},
        {m_ui.CheckDelsi160, Property::Caption, 21}, {m_ui.flexSMS, Property::ToolTip, 33},
    };
    for (const LanguageRow& row : rows) {
        QString text = UiText(row.text);
        if (row.control == m_ui.lbltlfseznam) {
            text = QStringLiteral("- ") + text + QStringLiteral(" -");
        }
        if (row.property == Property::Caption) {
            SetCaption(row.control, text);
        } else {
            SetToolTip(row.control, text);
        }
    }
    emit languageApplied(language);
}

void frmMain::LockMenus() {
    for (QAction* menu : {m_ui.mnu_exit, m_ui.mnu_conf, m_ui.mnu_seznam->menuAction(),
                          m_ui.mnu_melodie, m_ui.mnu_aplikace, m_ui.mnu_zpravy->menuAction()}) {
        menu->setEnabled(false);
    }
}

void frmMain::UnlockMenus() {
    for (QAction* menu : {m_ui.mnu_exit, m_ui.mnu_conf, m_ui.mnu_seznam->menuAction(),
                          m_ui.mnu_melodie, m_ui.mnu_aplikace, m_ui.mnu_zpravy->menuAction()}) {
        menu->setEnabled(true);
    }
}

void frmMain::ShowConfiguration() {
    // No poll may touch the port while its device changes.
    const bool timerWasRunning = m_ui.TimerSignal->isActive();
    m_ui.TimerSignal->stop();

    // The device and language in use are preselected, so that OK with only
    // the language changed keeps the device.
    frmconf dialog(frmconf::SystemDevices(), this);
    PortChoice current;
    const QString device = currentDevice();
    if (const int portNumber = PortNumberForDevice(device); portNumber > 0) {
        current.portNumber = portNumber;
    } else {
        current.device = device;
    }
    dialog.select(current, static_cast<int>(m_language));
    dialog.ApplyLanguage(m_language);

    m_configRunner(dialog);
    if (dialog.result() == QDialog::Accepted) {
        acceptConfiguration(dialog);
    }
    // Closed without OK, the settings stay as they were; either way the
    // signal display must not stay off for good.
    if (timerWasRunning) {
        m_ui.TimerSignal->start();
    }
}

void frmMain::acceptConfiguration(const frmconf& dialog) {
    const PortChoice port = dialog.selectedPort();
    if (port.portNumber > 0) {
        m_portSetting = QString::number(port.portNumber);
        m_deviceSetting.clear();
    } else {
        m_deviceSetting = port.device;
        if (m_portSetting.isEmpty()) {
            m_portSetting = QStringLiteral("1");
        }
    }
    const bool portSaved = m_settings->setPort(m_portSetting);
    const bool deviceSaved = m_settings->setDevice(m_deviceSetting);
    m_languageSetting = dialog.selectedLanguage();
    bool saved = m_settings->setLanguage(m_languageSetting) && portSaved && deviceSaved;
    m_language = LanguageFromNumber(m_languageSetting);
    m_deviceOverride.clear();  // the user's choice replaces a one-run device

    // The chosen device is opened whatever state the old one is in (a phone
    // that went away comes back this way); an open port on an unchanged
    // choice is kept as it is. On the first run start-up opens it next.
    const QString device = currentDevice();
    const bool startupOpensIt = m_link->device().isEmpty();
    const bool unchanged = device == m_link->device() && m_link->isOpen();
    if (!startupOpensIt && !unchanged && m_link->OpenPort(device) == OpenResult::InvalidPort) {
        m_messages->error(withOpenError(UiText(37)));
        // Said once: the link check after the window does not say it again.
        m_reportedFailure = ReportedFailure{device, LinkState::InvalidPort};
        saved = forgetPort() && saved;
    }
    reportIfNotSaved(saved);
    ApplyLanguage(m_language);
}

bool frmMain::CheckLink(PortLease* held) {
    // A command that holds the port runs the check under its own lease;
    // otherwise the check takes the port itself, so that a timer tick during
    // its wait cannot start a second exchange. While another command holds
    // the port nothing is written and the check fails.
    const LinkState state = held ? held->CheckLink() : m_link->CheckLink();
    if (state == LinkState::PortBusy) {
        m_messages->error(UiText(kTextCommandRunning));
        return false;
    }
    if (state == LinkState::InvalidPort || state == LinkState::PortInUse) {
        reportOpenFailure(state);
    } else {
        m_reportedFailure.reset();
    }
    SetConnectionTitle(m_link->Connected());
    return m_link->Connected();
}

void frmMain::reportOpenFailure(LinkState state) {
    // One message per failure: checks that find the same device failing the
    // same way again stay quiet until it opens or another device is chosen.
    const ReportedFailure failure{m_link->device(), state};
    if (m_reportedFailure == failure || m_showingLinkError) {
        return;  // and a timer tick during the modal box must not stack a second one
    }
    m_reportedFailure = failure;
    m_showingLinkError = true;
    m_messages->error(withOpenError(UiText(state == LinkState::InvalidPort ? 78 : 79)));
    m_showingLinkError = false;
}

void frmMain::SetConnectionTitle(bool connected) {
    // The demo phone must not pass for a real one.
    const int state = !connected ? 35 : m_host->simulated() ? kTextConnectedDemo : 34;
    setWindowTitle(QStringLiteral("Telvora SMS  - ") + UiText(state));
}

void frmMain::ShowAbout() {
    frmAbout about(this);
    about.exec();
}

void frmMain::PollNetworkStatus() {
    if (m_link->Busy()) {
        return;
    }
    if (!m_link->isOpen()) {
        // The phone went away or its port could not be opened: try it again
        // quietly, so the title turns back to connected when it returns.
        if (m_link->device().isEmpty() || m_link->CheckLink() != LinkState::Connected) {
            return;
        }
    }
    if (m_networkPoll) {
        m_networkPoll();
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (m_host->running()) {
        // Exit or closing the window during a command: the command is
        // cancelled first and says nothing more; the window closes (and the
        // port with it) once the command has ended.
        event->ignore();
        m_ui.TimerSignal->stop();
        m_host->afterCommand([this] { close(); }, /*quietly=*/true);
        return;
    }
    m_ui.TimerSignal->stop();
    m_working->close();
    m_link->ClosePort();
    event->accept();
}

void frmMain::installCallsAndRingTones() {
    CallWindow calls;
    calls.txtNumber = m_ui.txtNumber;
    calls.cmbVytocit = m_ui.cmbVytocit;
    calls.cmbZavesit = m_ui.cmbZavesit;
    calls.lblSignal = m_ui.lblSignal;
    auto* controls = new CallControls(std::move(calls), *m_host, this);
    setNetworkPoll([controls] { controls->PollNetworkStatus(); });
    new RingToneMenu(m_ui.mnu_melodie, this, *m_host, this);
}

}  // namespace telvora
