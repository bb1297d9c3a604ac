#pragma once
// Every message box of telvora goes through MessageBoxes, so that commands
// and windows never call QMessageBox themselves and tests can answer the boxes.
// Failures have the title "Error" and the stop icon, notices the title
// "Info" and the information icon.

#include <QString>

namespace telvora {

class MessageBoxes {
public:
    enum class Kind { Error, Info };

    virtual ~MessageBoxes() = default;

    // A box with an OK button.
    virtual void show(Kind kind, const QString& text) = 0;
    // True for Yes.
    virtual bool askYesNo(Kind kind, const QString& text) = 0;
    // True for OK.
    virtual bool askOkCancel(Kind kind, const QString& text) = 0;

    void error(const QString& text) { show(Kind::Error, text); }
    void info(const QString& text) { show(Kind::Info, text); }
};

}  // namespace telvora
