// The "Další časy" page of the trainer's window, driven as a user would:
// the verb typed into the verb box, a tense chosen by mouse or Alt key.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "vervia/engine/irregular_verb_table.h"
#include "vervia/ui/link_opener.h"
#include "vervia/ui/main_form.h"
#include "vervia/ui/more_tenses_page.h"

namespace {

class NoLinkOpener : public vervia::LinkOpener {
public:
    void Open(const QString&) override {}
};

QList<QLineEdit*> Fields(const vervia::MoreTensesPage& page) {
    return {page.Edit39, page.Edit40, page.Edit41, page.Edit42, page.Edit43, page.Edit44};
}

QString Joined(const vervia::MoreTensesPage& page) {
    QStringList texts;
    for (const QLineEdit* field : Fields(page)) {
        texts << field->text();
    }
    return texts.join(QLatin1Char('|'));
}

QList<bool> Bold(const vervia::MoreTensesPage& page) {
    QList<bool> bold;
    for (const QLineEdit* field : Fields(page)) {
        bold << field->font().bold();
    }
    return bold;
}

}  // namespace

class TestMoreTensesPage : public QObject {
    Q_OBJECT

private:
    NoLinkOpener m_links;
    std::unique_ptr<vervia::TMainForm> m_form;

    vervia::MoreTensesPage& Page() { return *m_form->TabSheet3; }

private slots:
    void initTestCase() { vervia::LoadIrregularVerbs(); }

    void init() {
        m_form = std::make_unique<vervia::TMainForm>(&m_links);
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanup() { m_form.reset(); }

    void showsTheChosenTenseOfTheTypedVerb() {
        auto& page = Page();
        QCOMPARE(m_form->PageControl2->count(), 3);
        QCOMPARE(m_form->PageControl2->tabText(2), QStringLiteral("&Další časy"));
        QVERIFY(page.RadioButton11->isChecked());
        QCOMPARE(page.TenseCode(), 20);
        QCOMPARE(page.Label14->text(), QStringLiteral("Subjunktiv přítomný"));
        QCOMPARE(Joined(page), QStringLiteral("|||||"));

        m_form->ComboBox1->setEditText(QStringLiteral("tener"));
        QCOMPARE(Joined(page), QStringLiteral("tenga|tengas|tenga|tengamos|tengáis|tengan"));
        QCOMPARE(Bold(page), QList<bool>(6, true));
        // The conjugation page keeps its own tense.
        QCOMPARE(m_form->Edit8->text(), QStringLiteral("tengo"));
        QCOMPARE(m_form->TenseCode(), 12);

        QTest::mouseClick(page.RadioButton7, Qt::LeftButton);
        QCOMPARE(page.TenseCode(), 15);
        QVERIFY(!page.RadioButton11->isChecked());
        QCOMPARE(Joined(page), QStringLiteral("tenía|tenías|tenía|teníamos|teníais|tenían"));
        QCOMPARE(Bold(page), QList<bool>(6, false));
        QCOMPARE(page.Label15->text(), QStringLiteral("( pretérito imperfecto )"));

        QTest::mouseClick(page.RadioButton16, Qt::LeftButton);
        QCOMPARE(Joined(page), QStringLiteral("není definován|no tengas|no tenga|no tengamos|"
                                              "no tengáis|no tengan"));
        QCOMPARE(Bold(page), (QList<bool>{false, true, true, true, true, true}));

        m_form->ComboBox1->setEditText(QStringLiteral("levantarse"));
        QCOMPARE(page.Edit40->text(), QStringLiteral("no te levantes"));
        QTest::mouseClick(page.RadioButton15, Qt::LeftButton);
        QCOMPARE(page.Edit41->text(), QStringLiteral("se hubiera levantado"));

        // No verb: the fields empty, and a tense change keeps them empty.
        m_form->ComboBox1->setEditText(QStringLiteral("levantars"));
        QCOMPARE(Joined(page), QStringLiteral("|||||"));
        QTest::mouseClick(page.RadioButton12, Qt::LeftButton);
        QCOMPARE(Joined(page), QStringLiteral("|||||"));
        QCOMPARE(page.Label14->text(), QStringLiteral("Subjunktiv minulý (-ra)"));
    }

    void altKeysChooseThePageAndItsTenses() {
        auto& f = *m_form;
        QTRY_VERIFY(f.ComboBox1->hasFocus());
        f.ComboBox1->setEditText(QStringLiteral("vivir"));
        QTest::keyClick(&f, Qt::Key_D, Qt::AltModifier);
        QTRY_COMPARE(f.PageControl2->currentIndex(), 2);
        QTest::keyClick(&f, Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(Page().RadioButton13->isChecked());
        QCOMPARE(Page().Edit39->text(), QStringLiteral("viviese"));
        QTest::keyClick(&f, Qt::Key_Z, Qt::AltModifier);
        QTRY_VERIFY(Page().RadioButton16->isChecked());
        QTest::keyClick(&f, Qt::Key_I, Qt::AltModifier);
        QTRY_COMPARE(Page().Edit39->text(), QStringLiteral("vivía"));
        QTest::keyClick(&f, Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(Page().Edit39->text(), QStringLiteral("habré vivido"));
        // Back on the conjugation page the same letter is its own tense's.
        QTest::keyClick(&f, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(f.PageControl2->currentIndex(), 0);
        QTest::keyClick(&f, Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(f.RadioButton3->isChecked());
        QCOMPARE(f.Edit8->text(), QStringLiteral("he vivido"));
        QVERIFY(Page().RadioButton9->isChecked());
    }

    void fieldsAreUncutAtThreeFontScales() {
        for (const double scale : {1.0, 1.25, 1.5}) {
            vervia::TMainForm form(&m_links, nullptr, scale);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            form.PageControl2->setCurrentIndex(2);
            form.ComboBox1->setEditText(QStringLiteral("levantarse"));
            if (scale == 1.0) {
                QCOMPARE(form.size(), QSize(391, 409));
            }
            vervia::MoreTensesPage& page = *form.TabSheet3;
            const QRect pageRect(page.mapTo(&form, QPoint(0, 0)), page.size());
            for (QRadioButton* button : page.findChildren<QRadioButton*>()) {
                QTest::mouseClick(button, Qt::LeftButton);
                QList<QRect> taken;
                for (QLineEdit* field : page.findChildren<QLineEdit*>()) {
                    const QRect rect(field->mapTo(&form, QPoint(0, 0)), field->size());
                    const QString what = QStringLiteral("%1 at %2").arg(field->text()).arg(scale);
                    QVERIFY2(pageRect.contains(rect), qPrintable(what));
                    QVERIFY2(QFontMetrics(field->font()).horizontalAdvance(field->text()) <=
                                 field->width() - 4,
                             qPrintable(what));
                    taken << rect;
                }
                for (QLabel* label : page.findChildren<QLabel*>()) {
                    const QRect rect(label->mapTo(&form, QPoint(0, 0)), label->size());
                    const QString what = QStringLiteral("%1 at %2").arg(label->text()).arg(scale);
                    QVERIFY2(pageRect.contains(rect), qPrintable(what));
                    QVERIFY2(
                        label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                        qPrintable(what));
                    taken << rect;
                }
                for (QWidget* choice : page.findChildren<QRadioButton*>()) {
                    const QRect rect(choice->mapTo(&form, QPoint(0, 0)), choice->size());
                    QVERIFY(pageRect.contains(rect));
                    QVERIFY2(choice->sizeHint().width() <= choice->width(),
                             qPrintable(static_cast<QRadioButton*>(choice)->text()));
                }
                for (int i = 0; i < taken.size(); ++i) {
                    for (int j = i + 1; j < taken.size(); ++j) {
                        QVERIFY2(!taken[i].intersects(taken[j]),
                                 qPrintable(QStringLiteral("overlap at %1").arg(scale)));
                    }
                }
            }
        }
    }
};

QTEST_MAIN(TestMoreTensesPage)
#include "more_tenses_page_test.moc"
