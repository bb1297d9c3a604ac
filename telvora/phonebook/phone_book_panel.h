#pragma once
// PhoneBookPanel: the phone book in the main window. It fills the grid
// FlexPB (column 0 name, 1 number, 2 memory position; only the names show),
// says which number the user chose (numberChosen), reads the phone book from
// the phone, runs the phone-book menu (open, save, upload, sort) and loads
// the default file at start-up. Other parts of the window get the names
// through list(), never from the grid.

#include <QObject>
#include <QPointer>
#include <functional>

#include "telvora/link/command_host.h"
#include "telvora/phonebook/phone_book_command.h"
#include "telvora/phonebook/phone_book_entry.h"

class QAction;
class QMenu;
class QPushButton;
class QTableWidget;
class QWidget;

namespace telvora {

class frmUpload;

// The main window's part in the phone book.
struct PhoneBookWindow {
    QWidget* window = nullptr;            // the main window, owner of the dialogs
    QTableWidget* FlexPB = nullptr;       // the phone book
    QPushButton* cmbPhoneBook = nullptr;  // read the phone book from the phone
    QMenu* mnu_seznam = nullptr;          // the phone-book menu
    QAction* mni_open = nullptr;
    QAction* mni_save = nullptr;
    QAction* mni_upload = nullptr;
    QAction* mni_razeni_0 = nullptr;  // sort by name
    QAction* mni_razeni_1 = nullptr;  // sort by memory position
};

class PhoneBookPanel : public QObject {
    Q_OBJECT
public:
    PhoneBookPanel(PhoneBookWindow controls, CommandHost& host);
    ~PhoneBookPanel() override;

    // Start-up: 300 empty rows, then the default file when it exists.
    void LoadAtStartup();
    // cmbPhoneBook: asks for the memory, reads it, refills the list.
    void ReadFromPhone();
    // Replaces the list with the file's entries sorted by name; false (with
    // a message, the list unchanged) when it cannot be opened.
    bool LoadPhoneBookFile(const QString& path);
    void SortPhoneBookList(int kind);
    void OpenFile();
    void SaveFile();
    void ShowEditor();
    void ApplyLanguage(Language language);

    // The list in display order.
    PhoneBookList list() const;
    void setList(const PhoneBookList& list);

    QString defaultFile() const { return m_defaultFile; }
    void setDefaultFile(const QString& path) { m_defaultFile = path; }

    // How the memory is chosen (frmodkud by default) and how a file is
    // chosen (the platform's dialogs by default); tests answer them.
    using SourceChooser = std::function<PhoneBookSource()>;
    using FileChooser =
        std::function<QString(bool save, const QString& title, const QString& folder)>;
    void setSourceChooser(SourceChooser chooser) { m_chooseSource = std::move(chooser); }
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    frmUpload* editor() const;

signals:
    // The user chose an entry: its number, as the number field takes it.
    // `moveOn`: a click, which goes on to the message at once.
    void numberChosen(const QString& number, bool moveOn);
    // Enter in the list: the user goes on to the message.
    void messageWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectControls();
    // Column 0 at its 2100 twips, wider for a font larger than the system's.
    void fitNameColumn();
    void handOverNumber();
    void enableMenuItems();
    void showLoadNotices(int skippedLines);

    QString text(int n) const { return m_host.text(n); }

    PhoneBookWindow m_ui;
    CommandHost& m_host;
    QWidget* m_window;
    QString m_defaultFile;
    SourceChooser m_chooseSource;
    FileChooser m_chooseFile;
    QPointer<frmUpload> m_editor;
    bool m_filling = false;  // loading and sorting are not the user's choice
};

}  // namespace telvora
