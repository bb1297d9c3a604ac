#pragma once
// frmeditname: edits the name and number of one entry of the phone-book
// editor. OK (Enter) keeps the texts without surrounding blanks, Cancel
// (Esc) keeps the entry as it was. The name box takes printable characters,
// the number box digits only, typed or pasted.

#include <QDialog>

#include "telvora/core/ui_texts.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace telvora {

class frmeditname : public QDialog {
    Q_OBJECT
public:
    frmeditname(Language language, const QString& name, const QString& number,
                QWidget* parent = nullptr);

    QString name() const;    // without surrounding blanks
    QString number() const;  // without surrounding blanks

    QLineEdit* txtname() const { return m_name; }
    QLineEdit* txtphone() const { return m_phone; }
    QPushButton* cmbOK() const { return m_ok; }
    QPushButton* cmbCancel() const { return m_cancel; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_name;
    QLineEdit* m_phone;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

}  // namespace telvora
