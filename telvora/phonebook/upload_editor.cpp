#include "telvora/phonebook/upload_editor.h"

#include <algorithm>
#include <utility>

namespace telvora {

void UploadEditor::Fill(const PhoneBookList& list) {
    m_rows.clear();
    m_rows.reserve(list.size());
    int fill = 1;
    for (const PhoneBookEntry& entry : list) {
        m_rows.append(EditorRow{fill++, entry.name, entry.number, entry.position});
    }
}

qsizetype UploadEditor::MoveEntry(qsizetype row, int direction) {
    const qsizetype other = row - direction;
    if (row < 0 || row >= m_rows.size() || other < 0 || other >= m_rows.size() ||
        (direction != 1 && direction != -1)) {
        return row;
    }
    std::swap(m_rows[row].name, m_rows[other].name);
    std::swap(m_rows[row].number, m_rows[other].number);
    return other;
}

qsizetype UploadEditor::ClearEntry(qsizetype row) {
    if (row < 0 || row >= m_rows.size()) {
        return row;
    }
    m_rows[row].name.clear();
    m_rows[row].number.clear();
    return row + 1 < m_rows.size() ? row + 1 : row;
}

void UploadEditor::ClearAll() {
    for (EditorRow& row : m_rows) {
        row.name.clear();
        row.number.clear();
    }
}

qsizetype UploadEditor::AddEntry(const QString& name, const QString& number) {
    int fill = 0;
    for (const EditorRow& row : m_rows) {
        fill = std::max(fill, row.fill);
    }
    m_rows.append(EditorRow{fill + 1, name.trimmed(), number.trimmed(), 0});
    return m_rows.size() - 1;
}

void UploadEditor::SetEntry(qsizetype row, const QString& name, const QString& number) {
    if (row < 0 || row >= m_rows.size()) {
        return;
    }
    m_rows[row].name = name.trimmed();
    m_rows[row].number = number.trimmed();
}

void UploadEditor::SortByFill() {
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [](const EditorRow& a, const EditorRow& b) { return a.fill < b.fill; });
}

void UploadEditor::SortByPosition() {
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const EditorRow& a, const EditorRow& b) {
        return a.position < b.position;
    });
}

QString FillText(int fill) {
    return QString::number(fill) + QLatin1Char('.');
}

}  // namespace telvora
