#pragma once
// What the phone book's windows need of the main window: the link, the
// message boxes, the language, its link check (which also shows the state
// in its title), the menu lock and the progress window.

#include <QString>
#include <functional>

#include "telvora/core/message_boxes.h"
#include "telvora/core/ui_texts.h"
#include "telvora/link/at_link.h"
#include "telvora/phonebook/phone_book_command.h"

namespace telvora {

struct PhoneBookShell {
    AtLink* link = nullptr;
    MessageBoxes* messages = nullptr;
    std::function<Language()> language;
    std::function<bool(PortLease&)> checkLink;
    std::function<void()> lockMenus;
    std::function<void()> unlockMenus;
    std::function<void(const QString&)> showProgress;
    std::function<void()> closeProgress;

    QString text(int n) const { return UiText(language(), n); }
    PhoneBookCommandSetup commandSetup() const {
        PhoneBookCommandSetup setup(*link, *messages, language());
        setup.checkLink = checkLink;
        return setup;
    }
};

}  // namespace telvora
