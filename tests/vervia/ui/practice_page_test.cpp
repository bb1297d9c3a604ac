// Drives the practice tab as a learner would: answers typed and judged with
// Enter, accents from the buttons and the shortcuts, the choice of tenses and
// verbs, and the progress kept in a file.

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <memory>
#include "vervia/practice/practice_tenses.h"

#include "vervia/engine/irregular_verb_table.h"
#include "vervia/ui/practice_page.h"

namespace {

constexpr std::int64_t kNow = 1'800'000'000;

QString Current(const vervia::PracticePage& page) {
    return QString::fromStdString(page.session()->current()->rightForm);
}

QString WithoutAccents(QString text) {
    text = text.normalized(QString::NormalizationForm_D);
    return text.remove(QRegularExpression(QStringLiteral("[\\x{0300}-\\x{036f}]")));
}

}  // namespace

class TestPracticePage : public QObject {
    Q_OBJECT

private:
    std::filesystem::path ProgressFile() const {
        return std::filesystem::path(m_dir->filePath(QStringLiteral("progress.txt")).toStdString());
    }

    vervia::PracticePage& Page() {
        if (!m_page) {
            m_page = std::make_unique<vervia::PracticePage>(
                ProgressFile(), [] { return kNow; }, 7);
            m_page->show();
            QApplication::setActiveWindow(m_page.get());
            if (!QTest::qWaitForWindowExposed(m_page.get())) {
                qWarning("window not exposed");
            }
        }
        return *m_page;
    }

    // Only `tense` (an index into the tense boxes) and the typed `verbs`.
    void Choose(int tense, const QString& verbs) {
        auto& page = Page();
        for (std::size_t i = 0; i < page.tenseBoxes.size(); ++i) {
            page.tenseBoxes[i]->setChecked(int(i) == tense);
        }
        page.verbSetBox->setCurrentIndex(vervia::PracticePage::kTypedVerbs);
        page.typedVerbsEdit->setText(verbs);
        QTest::keyClick(page.typedVerbsEdit, Qt::Key_Return);
    }

    void Answer(const QString& text) {
        auto& page = Page();
        page.answerEdit->setFocus();
        QTest::keyClicks(page.answerEdit, text);
        QTest::keyClick(page.answerEdit, Qt::Key_Return);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<vervia::PracticePage> m_page;

private slots:
    void initTestCase() { vervia::LoadIrregularVerbs(); }

    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void cleanup() {
        m_page.reset();
        m_dir.reset();
    }

    void startsWithThePresentOfTheIrregularVerbs() {
        auto& page = Page();
        QCOMPARE(page.tenseBoxes.size(), vervia::practice::DefaultPracticeTenses().size());
        QVERIFY(page.tenseBoxes[0]->isChecked());
        QCOMPARE(page.tenseBoxes[0]->text().remove(QLatin1Char('&')), QStringLiteral("Přítomný"));
        QCOMPARE(page.verbSetBox->currentIndex(), int(vervia::PracticePage::kIrregularVerbs));
        QVERIFY(!page.typedVerbsEdit->isEnabled());
        QVERIFY(
            page.questionLabel->text().contains(QStringLiteral(" – presente de indicativo – ")));
        QCOMPARE(page.scoreLabel->text(), QStringLiteral("Skóre: 0 správně z 0"));
        QVERIFY(page.messageLabel->isHidden());
        QTRY_VERIFY(page.answerEdit->hasFocus());
    }

    void enterJudgesAndThenAsksTheNextQuestion() {
        Choose(1, QStringLiteral("hablar"));  // Minulý: hablé, hablaste, habló …
        auto& page = Page();
        QVERIFY(page.questionLabel->text().startsWith(
            QStringLiteral("hablar – pretérito perfecto simple – ")));
        bool slipped = false;
        bool wrong = false;
        bool right = false;
        for (int i = 0; i < 40 && !(slipped && wrong && right); ++i) {
            const QString form = Current(page);
            if (!slipped && WithoutAccents(form) != form) {
                Answer(WithoutAccents(form).toUpper());
                QVERIFY(page.verdictLabel->text().contains(QStringLiteral("přízvuk")));
                QVERIFY(page.verdictLabel->text().contains(QStringLiteral("<u>")));
                slipped = true;
            } else if (!wrong) {
                Answer(QStringLiteral("hablo mucho"));
                QVERIFY(page.verdictLabel->text().contains(
                    QStringLiteral("Správně je: <b>%1</b>").arg(form)));
                wrong = true;
            } else {
                Answer(QStringLiteral("  ") + form + QStringLiteral(" "));
                QVERIFY(page.verdictLabel->text().contains(QStringLiteral("Správně.")));
                right = true;
            }
            QVERIFY(page.answerEdit->isReadOnly());
            QCOMPARE(page.answerButton->text(), QStringLiteral("&Další"));
            // Typing into a judged answer changes nothing; Enter goes on.
            QTest::keyClick(page.answerEdit, Qt::Key_Return);
            QVERIFY(!page.answerEdit->isReadOnly());
            QCOMPARE(page.answerEdit->text(), QString());
            QCOMPARE(page.verdictLabel->text(), QString());
        }
        QVERIFY(slipped && wrong && right);
        QCOMPARE(page.scoreLabel->text(), QStringLiteral("Skóre: 1 správně z 3 (1× jen přízvuk)"));
    }

    void accentButtonsAndShortcutsTypeAccents() {
        Choose(0, QStringLiteral("tener"));
        auto& page = Page();
        QCOMPARE(page.accentButtons.size(), std::size_t(7));
        QStringList letters;
        for (QToolButton* button : page.accentButtons) {
            letters << button->text();
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        }
        QCOMPARE(letters.join(QString()), QStringLiteral("áéíóúüñ"));
        page.answerEdit->setFocus();
        QTest::keyClicks(page.answerEdit, QStringLiteral("tenis"));
        page.answerEdit->setCursorPosition(3);
        QTest::mouseClick(page.accentButtons[1], Qt::LeftButton);  // é
        QCOMPARE(page.answerEdit->text(), QStringLiteral("tenéis"));
        QCOMPARE(page.answerEdit->cursorPosition(), 4);
        page.answerEdit->clear();
        QTest::keyClicks(page.answerEdit, QStringLiteral("hablo' an~o averigu\"e ping:u"));
        QCOMPARE(page.answerEdit->text(), QStringLiteral("habló año averigüe ping:u"));
        page.answerEdit->clear();
        QTest::keyClicks(page.answerEdit, QStringLiteral("ab"));
        page.answerEdit->setCursorPosition(1);
        QTest::keyClicks(page.answerEdit, QStringLiteral("'"));
        QCOMPARE(page.answerEdit->text(), QStringLiteral("áb"));
        QCOMPARE(page.answerEdit->cursorPosition(), 1);
    }

    void tensesAndVerbsCanBeChosen() {
        auto& page = Page();
        for (QCheckBox* box : page.tenseBoxes) {
            box->setChecked(false);
        }
        QCOMPARE(page.questionLabel->text(), QStringLiteral("Zvolte alespoň jeden čas."));
        QVERIFY(!page.answerEdit->isEnabled());
        page.tenseBoxes[5]->setChecked(true);  // the imperative
        QVERIFY(page.answerEdit->isEnabled());
        page.verbSetBox->setCurrentIndex(vervia::PracticePage::kTypedVerbs);
        QVERIFY(page.typedVerbsEdit->isEnabled());
        QVERIFY(page.typedVerbsEdit->hasFocus());
        page.typedVerbsEdit->setText(QStringLiteral("Tener, casa"));
        QTest::keyClick(page.typedVerbsEdit, Qt::Key_Return);
        QVERIFY(page.messageLabel->isVisible());
        QCOMPARE(page.messageLabel->text(), QStringLiteral("Nejsou to španělská slovesa: casa"));
        for (int i = 0; i < 10; ++i) {
            QVERIFY(page.questionLabel->text().startsWith(
                QStringLiteral("tener – imperativo afirmativo – ")));
            QVERIFY(!page.questionLabel->text().endsWith(QStringLiteral(" yo")));
            Answer(QStringLiteral("x"));
            QTest::keyClick(page.answerEdit, Qt::Key_Return);
        }
        page.typedVerbsEdit->setText(QStringLiteral("casa"));
        QTest::keyClick(page.typedVerbsEdit, Qt::Key_Return);
        QCOMPARE(page.questionLabel->text(), QStringLiteral("Zvolte slovesa k procvičení."));
        page.verbSetBox->setCurrentIndex(vervia::PracticePage::kFrequentVerbs);
        QVERIFY(page.messageLabel->isHidden());
        QVERIFY(page.answerEdit->isEnabled());
    }

    void progressIsSavedAndShownPerTense() {
        {
            std::ofstream file(ProgressFile());
            file << "vervia practice 1\n";
            for (int person = 1; person <= 3; ++person) {
                file << "tener\t12\t" << person << "\t3\t" << kNow + 100000 << "\t3\t0\n";
            }
            file << "ser\t10\t1\t0\t" << kNow << "\t0\t1\n";
        }
        auto& page = Page();
        QTableWidget* table = page.progressTable;
        QCOMPARE(table->rowCount(), int(vervia::practice::DefaultPracticeTenses().size()));
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Přítomný"));
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("3 z 1272"));
        QCOMPARE(table->item(0, 2)->text(), QStringLiteral("3"));
        QCOMPARE(table->item(1, 1)->text(), QStringLiteral("0 z 1272"));
        QCOMPARE(table->item(1, 2)->text(), QStringLiteral("1"));
        QCOMPARE(table->item(5, 1)->text(), QStringLiteral("0 z 1060"));

        Choose(0, QStringLiteral("vivir"));
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("0 z 6"));
        const QString asked = page.questionLabel->text();
        Answer(QStringLiteral("nada"));
        QCOMPARE(table->item(0, 2)->text(), QStringLiteral("1"));
        m_page.reset();

        // A new session finds the mistake in the file and asks it again.
        auto& again = Page();
        QCOMPARE(again.progressTable->item(0, 2)->text(), QStringLiteral("3"));  // vivir is regular
        Choose(0, QStringLiteral("vivir"));
        QCOMPARE(again.progressTable->item(0, 2)->text(), QStringLiteral("1"));
        bool askedAgain = false;
        for (int i = 0; i < 6 && !askedAgain; ++i) {
            askedAgain = again.questionLabel->text() == asked;
            Answer(Current(again));
            QTest::keyClick(again.answerEdit, Qt::Key_Return);
        }
        QVERIFY(askedAgain);
    }

    void damagedProgressIsReportedAndKept() {
        {
            std::ofstream file(ProgressFile());
            file << "not progress\n";
        }
        auto& page = Page();
        QVERIFY(page.messageLabel->isVisible());
        QVERIFY(page.messageLabel->text().contains(QStringLiteral("poškozený")));
        QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("progress.txt.damaged"))));
        Answer(QStringLiteral("x"));  // saving again starts a new file
        QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("progress.txt"))));
        QFile kept(m_dir->filePath(QStringLiteral("progress.txt.damaged")));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("not progress\n"));
    }

    void folderWhereTheProgressFileShouldBeIsReportedAndKept() {
        QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("progress.txt"))));
        auto& page = Page();
        QVERIFY(page.messageLabel->isVisible());
        QVERIFY(page.messageLabel->text().contains(QStringLiteral("složka")));
        Answer(QStringLiteral("x"));  // practice goes on; nothing is written in its place
        QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("progress.txt"))).isDir());
        QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("progress.txt.damaged"))));
    }

    void acceleratorsAreDistinctAndWork() {
        auto& page = Page();
        QString letters;
        auto take = [&](const QString& text) {
            const qsizetype amp = text.indexOf(QLatin1Char('&'));
            if (amp >= 0 && amp + 1 < text.size()) {
                const QChar letter = text[amp + 1].toLower();
                QVERIFY2(!letters.contains(letter), qPrintable(text));
                letters += letter;
            }
        };
        for (QCheckBox* box : page.tenseBoxes) {
            take(box->text());
        }
        for (QLabel* label : page.findChildren<QLabel*>()) {
            take(label->text());
            if (label->text().contains(QLatin1Char('&'))) {
                QVERIFY(label->buddy() != nullptr);
            }
        }
        take(page.answerButton->text());
        take(QStringLiteral("&Další"));
        for (int i = 0; i < page.pages->count(); ++i) {
            take(page.pages->tabText(i));
        }
        // The tenses of the conjugation page keep an accelerator; the further
        // ones take what letters are left.
        for (std::size_t i = 0; i < 6; ++i) {
            QVERIFY2(page.tenseBoxes[i]->text().contains(QLatin1Char('&')),
                     qPrintable(page.tenseBoxes[i]->text()));
        }

        QTest::keyClick(&page, Qt::Key_O, Qt::AltModifier);
        QTRY_VERIFY(page.answerEdit->hasFocus());
        QTest::keyClick(&page, Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(page.verbSetBox->hasFocus());
        QTest::keyClick(&page, Qt::Key_M, Qt::AltModifier);  // Minulý
        QTRY_VERIFY(page.tenseBoxes[1]->isChecked());
        QTest::keyClick(&page, Qt::Key_K, Qt::AltModifier);
        QTRY_COMPARE(page.pages->currentIndex(), 1);
    }
};

QTEST_MAIN(TestPracticePage)
#include "practice_page_test.moc"
