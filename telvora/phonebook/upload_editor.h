#pragma once
// The phone-book editor's working copy (the grid flexUpload without its
// heading row): a numbered copy of the main list that the user orders,
// clears and edits before writing it to the phone, row i to position i.
// The fill number and the original position belong to the row: moves and
// clears change only names and numbers, sorts move whole rows.

#include <QList>
#include <QString>

#include "telvora/phonebook/phone_book_entry.h"

namespace telvora {

struct EditorRow {
    int fill = 0;  // 1, 2, 3, ... given when the editor is filled; shown as "1."
    QString name;
    QString number;
    qint16 position = 0;  // the position the row's entry had when filled; 0 for a new one

    friend bool operator==(const EditorRow&, const EditorRow&) = default;
};

class UploadEditor {
public:
    // FillEditor: the list's entries in its display order.
    void Fill(const PhoneBookList& list);

    const QList<EditorRow>& rows() const { return m_rows; }
    qsizetype size() const { return m_rows.size(); }

    // Moves the entry of `row` (0-based) up (+1) or down (-1) by exchanging
    // its name and number with the neighbour's. Returns the row the entry is
    // on afterwards; `row` itself when the move is not possible.
    qsizetype MoveEntry(qsizetype row, int direction);
    // Empties the name and number of `row`; returns the row to make current
    // (the next one, or the same when it is the last).
    qsizetype ClearEntry(qsizetype row);
    void ClearAll();
    // A new entry at the end, with the next fill number and no position
    // (the upload gives it the lowest free one). Returns its row.
    qsizetype AddEntry(const QString& name, const QString& number);
    // Stores an edit of `row`: the texts without surrounding blanks.
    void SetEntry(qsizetype row, const QString& name, const QString& number);

    // Sort option 0: the fill order; option 1: the original positions.
    void SortByFill();
    void SortByPosition();

private:
    QList<EditorRow> m_rows;
};

// The fill number as the grid shows it: "1.".
QString FillText(int fill);

}  // namespace telvora
