#pragma once
// The main window's controls as the phone's functions see them: plain
// pointers to the widgets frmMain owns, nothing of the window itself. A
// feature's glue class takes MainControls& to connect its commands to them;
// this header is all of the shell it may include.

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

// The main window's controls, named as the program names them.
struct MainControls {
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

}  // namespace telvora
