// Qt's own texts in the trainer are Czech like the rest of its window.

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "vervia/ui/qt_translations.h"

class TestQtCzech : public QObject {
    Q_OBJECT

private slots:
    void standardButtonsReadCzech() {
        if (!QFile::exists(
                QDir(vervia::QtTranslationsFolder()).filePath(QStringLiteral("qtbase_cs.qm")))) {
            QSKIP("Qt's Czech catalogue qtbase_cs.qm is not installed (qt6-translations-l10n)");
        }
        QVERIFY(vervia::LoadQtCzechTranslations(*QCoreApplication::instance()));
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')),
                 QStringLiteral("Ano"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')),
                 QStringLiteral("Ne"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text().remove(QLatin1Char('&')),
                 QStringLiteral("Zrušit"));
    }
};

QTEST_MAIN(TestQtCzech)
#include "qt_czech_test.moc"
