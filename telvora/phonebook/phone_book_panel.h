#pragma once
// PhoneBookPanel: the phone book in the main window. It fills the grid
// FlexPB (column 0 name, 1 number, 2 memory position; only the names show),
// hands a chosen number to txtNumber, reads the phone book from the phone,
// runs the phone-book menu (open, save, upload, sort) and loads the default
// file at start-up.

#include <QObject>
#include <QPointer>
#include <functional>

#include "telvora/phonebook/phone_book_entry.h"
#include "telvora/phonebook/phone_book_shell.h"

namespace telvora {

struct MainControls;
class frmUpload;

class PhoneBookPanel : public QObject {
    Q_OBJECT
public:
    // `window`: the main window, owner of the dialogs.
    PhoneBookPanel(const MainControls& controls, PhoneBookShell shell, QWidget* window);
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectControls();
    // Column 0 at its 2100 twips, wider for a font larger than the system's.
    void fitNameColumn();
    void handOverNumber();
    void enableMenuItems();
    void showLoadNotices(int skippedLines);

    const MainControls& m_ui;
    PhoneBookShell m_shell;
    QWidget* m_window;
    QString m_defaultFile;
    SourceChooser m_chooseSource;
    FileChooser m_chooseFile;
    QPointer<frmUpload> m_editor;
    bool m_filling = false;  // loading and sorting are not the user's choice
};

}  // namespace telvora
