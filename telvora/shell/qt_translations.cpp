#include "telvora/shell/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace telvora {
namespace {

// The one translator of Qt's texts, installed while the language is Czech.
std::unique_ptr<QTranslator>& InstalledTranslator() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

}  // namespace

QString QtTranslationsFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool ApplyQtTranslations(Language language) {
    std::unique_ptr<QTranslator>& installed = InstalledTranslator();
    if (language != Language::Czech) {
        if (installed) {
            QCoreApplication::removeTranslator(installed.get());
            installed.reset();
        }
        return true;
    }
    if (installed) {
        return true;
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(QLocale::Czech), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QtTranslationsFolder())) {
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}

}  // namespace telvora
