#pragma once
// Qt's own texts (the standard buttons of message boxes, file dialogs,
// context menus of text boxes) in the program's language: Qt's Czech
// catalogue is loaded for Czech and removed again for English.

#include <QString>

#include "telvora/core/ui_texts.h"

namespace telvora {

// Installs or removes Qt's translation for `language` on the running
// application. False when Czech was asked for and Qt's catalogue is not
// installed (Debian's qt6-translations-l10n); Qt's texts stay English then.
bool ApplyQtTranslations(Language language);

// The folder Qt's catalogues are looked for in.
QString QtTranslationsFolder();

}  // namespace telvora
