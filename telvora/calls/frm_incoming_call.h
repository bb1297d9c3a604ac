#pragma once
// frmIncomingCall: the window of a ringing call: who calls (phone-book name
// and number when known), Answer and Reject. It does not block the main
// window; Esc only hides it (the phone keeps ringing).

#include <QDialog>

#include "telvora/core/ui_texts.h"

class QLabel;
class QPushButton;

namespace telvora {

class frmIncomingCall : public QDialog {
    Q_OBJECT
public:
    explicit frmIncomingCall(QWidget* parent = nullptr);

    // Texts in `language`; `caller` is what is shown of the caller.
    void showCaller(Language language, const QString& caller);
    void ApplyLanguage(Language language);
    // While the phone is asked, the buttons wait.
    void setBusy(bool busy);

    QLabel* lblCaller = nullptr;
    QPushButton* cmbPrijmout = nullptr;   // Answer
    QPushButton* cmbOdmitnout = nullptr;  // Reject

private:
    QString m_caller;
};

}  // namespace telvora
