#pragma once
// The trainer speaks Czech, Qt's own texts included: the standard buttons of
// message boxes, the context menus of text boxes, file dialogs.

class QCoreApplication;
class QString;

namespace vervia {

// Installs Qt's Czech catalogue (qtbase_cs.qm of Debian's
// qt6-translations-l10n) on `app` for its whole life. False when the
// catalogue is not installed; Qt's texts stay English then.
bool LoadQtCzechTranslations(QCoreApplication& app);

// The folder Qt's catalogues are looked for in.
QString QtTranslationsFolder();

}  // namespace vervia
