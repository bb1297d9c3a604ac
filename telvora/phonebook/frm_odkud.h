#pragma once
// frmodkud: asks which memory to read the phone book from, the SIM or the
// phone's own memory; Cancel reads nothing.

#include <QDialog>

#include "telvora/core/ui_texts.h"
#include "telvora/phonebook/phone_book_entry.h"

class QLabel;
class QPushButton;

namespace telvora {

class frmodkud : public QDialog {
    Q_OBJECT
public:
    explicit frmodkud(Language language, QWidget* parent = nullptr);

    // The memory chosen; None until a button was pressed, and after Cancel.
    PhoneBookSource source() const { return m_source; }

    QPushButton* cmbSimka() const { return m_sim; }
    QPushButton* cmbphone() const { return m_phone; }
    QPushButton* cmbcancel() const { return m_cancel; }

private:
    void choose(PhoneBookSource source);

    PhoneBookSource m_source = PhoneBookSource::None;
    QPushButton* m_sim;
    QPushButton* m_phone;
    QPushButton* m_cancel;
};

// "Telvora SMS 1.21.21", the title of the phone book's windows.
QString PhoneBookWindowTitle();

}  // namespace telvora
