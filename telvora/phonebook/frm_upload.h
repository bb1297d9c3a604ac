#pragma once
// frmUpload: the phone-book editor. It shows a numbered copy of the main
// window's list in flexUpload; the user orders, clears and edits entries and
// writes them to the SIM or the phone memory, row i to position i. Closing
// it drops the edits; the main list and the files never change here.

#include <QWidget>
#include <functional>

#include "telvora/link/command_host.h"
#include "telvora/phonebook/upload_editor.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace telvora {

class frmeditname;

class frmUpload : public QWidget {
    Q_OBJECT
public:
    explicit frmUpload(CommandHost& host, QWidget* parent = nullptr);

    // Copies `list` into the grid, numbered in its order.
    void FillEditor(const PhoneBookList& list);
    // +1 moves the current entry up, -1 down.
    void MoveEntry(int direction);
    void DeleteEntry();
    void DeleteAll();
    // 0: fill order, 1: the entries' original memory positions.
    void SortBy(int option);
    // The edit dialog for the current row.
    void EditEntry();
    // The edit dialog for a new entry, added at the end when confirmed.
    void AddEntry();
    // Writes the grid to the SIM or the phone memory.
    void UploadTo(PhoneBookSource memory);
    void ApplyLanguage(Language language);

    // How frmeditname is shown; the default runs it modally. Tests answer it.
    void setEditRunner(std::function<void(frmeditname&)> runner) {
        m_editRunner = std::move(runner);
    }

    const UploadEditor& editor() const { return m_editor; }
    QTableWidget* flexUpload() const { return m_grid; }
    QPushButton* button(const char* name) const;
    QRadioButton* OptSerazeni(int index) const { return m_options[index]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void showRows();
    void fitColumns();
    void setCurrentRow(qsizetype row, int column);

    CommandHost& m_host;
    UploadEditor m_editor;
    QTableWidget* m_grid;
    QLabel* m_sortLabel;
    QRadioButton* m_options[2];
    std::function<void(frmeditname&)> m_editRunner;
};

}  // namespace telvora
