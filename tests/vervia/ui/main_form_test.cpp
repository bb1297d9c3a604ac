// Drives the trainer's window as a user would: typing into the verb box,
// choosing tenses, clicking the list of irregular verbs and the web link.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <memory>

#include "vervia/engine/irregular_verb_table.h"
#include "vervia/ui/link_opener.h"
#include "vervia/ui/main_form.h"

namespace {

class FakeLinkOpener : public vervia::LinkOpener {
public:
    void Open(const QString& address) override { opened << address; }
    QStringList opened;
};

// The text a control shows: '&' only marks the Alt key letter.
QString Shown(QString text) {
    return text.remove(QLatin1Char('&'));
}

QStringList Texts(const QList<QLineEdit*>& fields) {
    QStringList texts;
    for (const QLineEdit* field : fields) {
        texts << field->text();
    }
    return texts;
}

QList<bool> Bold(const QList<QLineEdit*>& fields) {
    QList<bool> bold;
    for (const QLineEdit* field : fields) {
        bold << field->font().bold();
    }
    return bold;
}

QStringList Split(const char* words) {
    return QString::fromUtf8(words).split(QLatin1Char(' '));
}

}  // namespace

class TestMainForm : public QObject {
    Q_OBJECT

private:
    vervia::TMainForm& Form() { return *m_form; }
    QLineEdit* VerbEdit() { return m_form->ComboBox1->lineEdit(); }

    // Types `text` key by key into the verb box, as a keyboard would.
    void Type(const QString& text) {
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, VerbEdit(), Qt::Key(c.toUpper().unicode()),
                                QString(c), Qt::NoModifier);
        }
    }

    void Retype(const QString& text) {
        VerbEdit()->selectAll();
        QTest::keyClick(VerbEdit(), Qt::Key_Delete);
        Type(text);
    }

    QStringList History() {
        QStringList items;
        for (int i = 0; i < Form().ComboBox1->count(); ++i) {
            items << Form().ComboBox1->itemText(i);
        }
        return items;
    }

    QList<QLineEdit*> TenseFields() {
        auto& f = Form();
        return {f.Edit8, f.Edit9, f.Edit10, f.Edit11, f.Edit12, f.Edit13};
    }
    QList<QLineEdit*> ImperativeFields() {
        auto& f = Form();
        return {f.Edit22, f.Edit23, f.Edit24, f.Edit25, f.Edit26};
    }
    QList<QLineEdit*> ConditionalFields() {
        auto& f = Form();
        return {f.Edit27, f.Edit28, f.Edit29, f.Edit30, f.Edit31, f.Edit32};
    }
    QList<QLineEdit*> ResultFields() {
        return TenseFields() + ImperativeFields() + ConditionalFields() +
               QList<QLineEdit*>{Form().Edit14, Form().Edit15};
    }

    void ExpectAllEmpty() {
        QCOMPARE(Form().Label6->text(), QString());
        for (const QLineEdit* field : ResultFields()) {
            QCOMPARE(field->text(), QString());
        }
    }

    QListWidgetItem* ListItem(const QString& caption) {
        const auto found = Form().ListView1->findItems(caption, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }

    QPoint ItemCentre(QListWidgetItem* item) {
        Form().ListView1->scrollToItem(item);
        return Form().ListView1->visualItemRect(item).center();
    }

    FakeLinkOpener m_links;
    std::unique_ptr<vervia::TMainForm> m_form;

private slots:
    void initTestCase() {
        vervia::LoadIrregularVerbs();
        QStandardPaths::setTestModeEnabled(true);  // the practice tab keeps no real progress
    }

    void init() {
        m_links.opened.clear();
        m_form = std::make_unique<vervia::TMainForm>(&m_links);
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanup() { m_form.reset(); }

    void startsEmptyInThePresent() {
        auto& f = Form();
        QCOMPARE(f.ComboBox1->currentText(), QString());
        QCOMPARE(f.ComboBox1->count(), 0);
        ExpectAllEmpty();
        QVERIFY(f.RadioButton4->isChecked());
        QTRY_VERIFY(f.ComboBox1->hasFocus());
        QCOMPARE(f.PageControl1->currentIndex(), 0);
        QCOMPARE(f.PageControl2->currentIndex(), 0);
        QCOMPARE(f.windowTitle(), QStringLiteral(" Gramarion"));
        QCOMPARE(f.size(), QSize(391, 409));
        QCOMPARE(f.PageControl2->tabPosition(), QTabWidget::South);
        QCOMPARE(f.PageControl2->tabBar()->tabRect(0).width(), 94);
    }

    void showsTheFixedTexts() {
        auto& f = Form();
        QCOMPARE(f.PageControl1->tabText(0), QStringLiteral("Slovesa"));
        QCOMPARE(f.PageControl1->tabText(1), QStringLiteral("Procvičování"));
        QCOMPARE(f.PageControl1->tabText(2), QStringLiteral("O aplikaci"));
        QCOMPARE(Shown(f.PageControl2->tabText(0)), QStringLiteral("Časování"));
        QCOMPARE(Shown(f.PageControl2->tabText(1)), QStringLiteral("Nepravidelná"));
        QCOMPARE(Shown(f.Label1->text()), QStringLiteral("Sloveso"));
        QCOMPARE(f.RadioGroup1->title(), QStringLiteral("  Čas  "));
        const QList<QRadioButton*> tenses = {f.RadioButton2, f.RadioButton3, f.RadioButton4,
                                             f.RadioButton5, f.RadioButton6};
        QStringList tenseTexts;
        for (const QRadioButton* button : tenses) {
            tenseTexts << Shown(button->text());
        }
        QCOMPARE(tenseTexts, Split("Minulý Předpřítomný Přítomný Průběhový Budoucí"));
        const QStringList persons = Split("Yo Tu El/Ella Nosotros Vosotros Ellos/Ellas");
        QCOMPARE(Texts({f.Edit2, f.Edit3, f.Edit4, f.Edit5, f.Edit6, f.Edit7}), persons);
        QCOMPARE(Texts({f.Edit1, f.Edit16, f.Edit17, f.Edit18, f.Edit19, f.Edit20}), persons);
        QCOMPARE(f.Edit21->text(), QStringLiteral("není definován"));
        QCOMPARE(f.Label7->text(), QStringLiteral("Nepravidelné tvary jsou označeny tučně"));
        QCOMPARE(f.Label12->text(), QStringLiteral("Gramarion"));
        QCOMPARE(f.Label13->text(), QStringLiteral("Slovesa"));
        const QStringList memo = f.Memo1->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(memo.size(), 12);
        QCOMPARE(memo.first(), QStringLiteral("Program je určen všem zájemcům o studium "));
        QCOMPARE(memo.at(8), QString());
        QCOMPARE(memo.at(9),
                 QStringLiteral("Kolektiv autorů připravuje rozšíření programu o další "));
        QCOMPARE(memo.last(), QStringLiteral("mluvnice anglického jazyka."));
    }

    void listsTheIrregularVerbsSorted() {
        QListWidget* list = Form().ListView1;
        QCOMPARE(list->count(), 212);
        QCOMPARE(list->item(0)->text(), QStringLiteral("abastecer"));
        QCOMPARE(list->item(211)->text(), QStringLiteral("yacer"));
        // ñ sorts with n, as in the table's own order.
        const int reñir = list->row(ListItem(QStringLiteral("reñir")));
        QCOMPARE(list->item(reñir - 1)->text(), QStringLiteral("remover"));
        QCOMPARE(list->item(reñir + 1)->text(), QStringLiteral("renovar"));
        const int soñar = list->row(ListItem(QStringLiteral("soñar")));
        QCOMPARE(list->item(soñar - 1)->text(), QStringLiteral("sonar"));
        QCOMPARE(list->item(soñar + 1)->text(), QStringLiteral("sonreir"));
        QVERIFY(list->findItems(QStringLiteral("ň"), Qt::MatchContains).isEmpty());
        QVERIFY(!(list->item(0)->flags() & Qt::ItemIsEditable));
        // Showing the window again does not double the list.
        Form().hide();
        Form().show();
        QCOMPARE(list->count(), 212);
    }

    void conjugatesARegularVerb() {
        auto& f = Form();
        Type(QStringLiteral("hablar"));
        QCOMPARE(f.Label6->text(), QStringLiteral("pravidelné"));
        QCOMPARE(f.Edit14->text(), QStringLiteral("hablado"));
        QCOMPARE(f.Edit15->text(), QStringLiteral("hablando"));
        QCOMPARE(Texts(TenseFields()), Split("hablo hablas habla hablamos habláis hablan"));
        QCOMPARE(Texts(ImperativeFields()), Split("habla hable hablemos hablad hablen"));
        QCOMPARE(Texts(ConditionalFields()),
                 Split("hablaría hablarías hablaría hablaríamos hablaríais hablarían"));
        QCOMPARE(Bold(ResultFields()), QList<bool>(19, false));
        QCOMPARE(f.Edit21->text(), QStringLiteral("není definován"));
        QCOMPARE(History(), QStringList{QStringLiteral("hablar")});

        Retype(QStringLiteral("hablar"));
        Retype(QStringLiteral("HABLAR"));
        QCOMPARE(History(), QStringList{QStringLiteral("hablar")});
        QCOMPARE(f.ComboBox1->currentText(), QStringLiteral("HABLAR"));
        QCOMPARE(f.Edit8->text(), QStringLiteral("hablo"));
    }

    void marksIrregularFormsBold() {
        auto& f = Form();
        Type(QStringLiteral("ser"));
        QCOMPARE(f.Label6->text(), QStringLiteral("nepravidelné"));
        QCOMPARE(Texts(TenseFields()), Split("soy eres es somos sois son"));
        QCOMPARE(Bold(TenseFields()), QList<bool>(6, true));
        // Stored conditional forms equal to the regular ones stay normal.
        QCOMPARE(Texts(ConditionalFields()), Split("sería serías sería seríamos seríais serían"));
        QCOMPARE(Bold(ConditionalFields()), QList<bool>(6, false));

        // A regular verb afterwards turns every field back to normal.
        Retype(QStringLiteral("comer"));
        QCOMPARE(Bold(ResultFields()), QList<bool>(19, false));
    }

    void emptyStoredImperativeIsShownEmptyAndBold() {
        auto& f = Form();
        Type(QStringLiteral("haber"));
        QCOMPARE(Texts(ImperativeFields()), QStringList(5, QString()));
        QCOMPARE(Bold(ImperativeFields()), QList<bool>(5, true));
        QCOMPARE(f.Edit21->text(), QStringLiteral("není definován"));
        QCOMPARE(f.Edit14->text(), QStringLiteral("habido"));
    }

    void invalidTextEmptiesEverything() {
        auto& f = Form();
        Type(QStringLiteral("hablar"));
        QTest::keyClick(VerbEdit(), Qt::Key_Backspace);
        QCOMPARE(f.ComboBox1->currentText(), QStringLiteral("habla"));
        ExpectAllEmpty();
        QCOMPARE(f.Edit21->text(), QStringLiteral("není definován"));
        QCOMPARE(f.Edit2->text(), QStringLiteral("Yo"));
    }

    void changingTheTenseReevaluates() {
        auto& f = Form();
        Type(QStringLiteral("hablar"));
        const QStringList others = Texts(ImperativeFields() + ConditionalFields());
        QTest::mouseClick(f.RadioButton2, Qt::LeftButton);
        QCOMPARE(f.TenseCode(), 10);
        QCOMPARE(Texts(TenseFields()), Split("hablé hablaste habló hablamos hablasteis hablaron"));
        QTest::mouseClick(f.RadioButton3, Qt::LeftButton);
        QCOMPARE(f.Edit8->text(), QStringLiteral("he hablado"));
        QCOMPARE(f.Edit13->text(), QStringLiteral("han hablado"));
        QTest::mouseClick(f.RadioButton5, Qt::LeftButton);
        QCOMPARE(f.Edit10->text(), QStringLiteral("está hablando"));
        QTest::mouseClick(f.RadioButton6, Qt::LeftButton);
        QCOMPARE(f.TenseCode(), 14);
        QCOMPARE(Texts(TenseFields()),
                 Split("hablaré hablarás hablará hablaremos hablaréis hablarán"));
        QCOMPARE(Texts(ImperativeFields() + ConditionalFields()), others);
        QCOMPARE(f.Edit14->text(), QStringLiteral("hablado"));

        // Irregular in one tense, regular in another: the weight follows.
        Retype(QStringLiteral("ir"));
        QCOMPARE(f.Edit8->text(), QStringLiteral("iré"));
        QVERIFY(!f.Edit8->font().bold());
        QTest::mouseClick(f.RadioButton4, Qt::LeftButton);
        QCOMPARE(f.Edit8->text(), QStringLiteral("voy"));
        QVERIFY(f.Edit8->font().bold());
    }

    void listClickFillsTheFormsButStaysOnTheList() {
        auto& f = Form();
        f.PageControl2->setCurrentIndex(1);
        QListWidgetItem* tener = ListItem(QStringLiteral("tener"));
        QVERIFY(tener);
        QTest::mouseClick(f.ListView1->viewport(), Qt::LeftButton, {}, ItemCentre(tener));
        QCOMPARE(f.ComboBox1->currentText(), QStringLiteral("tener"));
        QCOMPARE(f.Edit8->text(), QStringLiteral("tengo"));
        QCOMPARE(f.Label6->text(), QStringLiteral("nepravidelné"));
        QCOMPARE(f.PageControl2->currentIndex(), 1);
        QCOMPARE(History(), QStringList{QStringLiteral("tener")});
    }

    void listDoubleClickSwitchesToTheForms() {
        auto& f = Form();
        f.PageControl2->setCurrentIndex(1);
        QListWidgetItem* ser = ListItem(QStringLiteral("ser"));
        QVERIFY(ser);
        const QPoint centre = ItemCentre(ser);
        QTest::mouseClick(f.ListView1->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(f.ListView1->viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(f.ComboBox1->currentText(), QStringLiteral("ser"));
        QCOMPARE(f.Edit8->text(), QStringLiteral("soy"));
        QCOMPARE(f.PageControl2->currentIndex(), 0);
    }

    void listEnterFillsTheFormsOnly() {
        auto& f = Form();
        f.PageControl2->setCurrentIndex(1);
        f.ListView1->setFocus();
        f.ListView1->setCurrentItem(ListItem(QStringLiteral("ir")));
        QTest::keyClick(f.ListView1, Qt::Key_A);  // other keys do not pick
        QCOMPARE(f.ComboBox1->currentText(), QString());
        f.ListView1->setCurrentItem(ListItem(QStringLiteral("ir")));
        QTest::keyClick(f.ListView1, Qt::Key_Return);
        QCOMPARE(f.ComboBox1->currentText(), QStringLiteral("ir"));
        QCOMPARE(f.Edit8->text(), QStringLiteral("voy"));
        QCOMPARE(f.PageControl2->currentIndex(), 1);
    }

    void historyKeepsEveryValidIntermediateText() {
        auto& f = Form();
        Type(QStringLiteral("irar"));
        QCOMPARE(History(), Split("ir irar"));
        // Adding to the history leaves the typed text and the cursor alone.
        QCOMPARE(f.ComboBox1->currentText(), QStringLiteral("irar"));
        QCOMPARE(VerbEdit()->cursorPosition(), 4);

        Retype(QStringLiteral("vivir"));
        Retype(QStringLiteral("comer"));
        Retype(QStringLiteral("Abrir"));
        QCOMPARE(History(), Split("Abrir comer ir irar vivir"));
    }

    void firstHistoryEntryKeepsTheCursorInsideTheWord() {
        Type(QStringLiteral("hablr"));
        QTest::keyClick(VerbEdit(), Qt::Key_Left);
        Type(QStringLiteral("a"));
        QCOMPARE(Form().ComboBox1->currentText(), QStringLiteral("hablar"));
        QCOMPARE(VerbEdit()->cursorPosition(), 5);
        Type(QStringLiteral("x"));
        QCOMPARE(Form().ComboBox1->currentText(), QStringLiteral("hablaxr"));
    }

    void typingIsNotCompletedFromTheHistory() {
        auto& f = Form();
        Type(QStringLiteral("hablar"));
        Retype(QStringLiteral("ha"));
        QCOMPARE(f.ComboBox1->currentText(), QStringLiteral("ha"));
        ExpectAllEmpty();
    }

    void spanishEnyeAndCzechEnyeFindTheSameVerb() {
        auto& f = Form();
        for (const QString& typed : {QStringLiteral("reñir"), QStringLiteral("reňir")}) {
            Retype(typed);
            QCOMPARE(f.ComboBox1->currentText(), typed);
            QCOMPARE(f.Label6->text(), QStringLiteral("nepravidelné"));
            QCOMPARE(f.Edit14->text(), QStringLiteral("reñido"));
            QCOMPARE(f.Edit15->text(), QStringLiteral("riñendo"));
            QCOMPARE(f.Edit8->text(), QStringLiteral("riño"));
            QVERIFY(f.Edit8->font().bold());
            for (const QLineEdit* field : ResultFields()) {
                QVERIFY2(!field->text().contains(QStringLiteral("ň")), qPrintable(field->text()));
            }
        }
    }

    void gainingFocusEvaluatesTheVerbBox() {
        auto& f = Form();
        {
            const QSignalBlocker blocker(f.ComboBox1);
            f.ComboBox1->setEditText(QStringLiteral("vivir"));
        }
        QCOMPARE(f.Edit8->text(), QString());
        f.Edit8->setFocus();
        f.ComboBox1->setFocus();
        QTRY_COMPARE(f.Edit8->text(), QStringLiteral("vivo"));
    }

    void keyboardReachesTheTenses() {
        auto& f = Form();
        QTRY_VERIFY(f.ComboBox1->hasFocus());
        Type(QStringLiteral("vivir"));
        // A mnemonic clicks its button after a short visible press.
        QTest::keyClick(&f, Qt::Key_M, Qt::AltModifier);
        QTRY_VERIFY(f.RadioButton2->isChecked());
        QCOMPARE(f.Edit8->text(), QStringLiteral("viví"));
        QTest::keyClick(&f, Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(f.Edit8->text(), QStringLiteral("viviré"));
        // Tab goes from the verb box to the tenses, then on to the first result.
        f.ComboBox1->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(qobject_cast<QRadioButton*>(QApplication::focusWidget()));
        QWidget* next = f.RadioButton6->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus) {
            next = next->nextInFocusChain();
        }
        QCOMPARE(next, static_cast<QWidget*>(f.Edit8));
    }

    void reflexiveAndTypedVerbs() {
        auto& f = Form();
        Type(QStringLiteral("  Levantarse "));
        QCOMPARE(f.Label6->text(), QStringLiteral("pravidelné"));
        QCOMPARE(Texts(TenseFields()),
                 QString::fromUtf8("me levanto|te levantas|se levanta|nos levantamos|"
                                   "os levantáis|se levantan")
                     .split(QLatin1Char('|')));
        QCOMPARE(Texts(ImperativeFields()),
                 Split("levántate levántese levantémonos levantaos levántense"));
        QCOMPARE(f.Edit15->text(), QStringLiteral("levantándose"));
        // The history holds the word without the blanks around it.
        QVERIFY(History().contains(QStringLiteral("Levantarse")));

        Retype(QStringLiteral("reñir"));
        Retype(QStringLiteral("REÑIR"));
        QCOMPARE(f.Label6->text(), QStringLiteral("nepravidelné"));
        QCOMPARE(f.Edit8->text(), QStringLiteral("riño"));
        QVERIFY(History().contains(QStringLiteral("reñir")));
        QVERIFY(!History().contains(QStringLiteral("REÑIR")));

        Retype(QStringLiteral("buscar"));
        QTest::mouseClick(f.RadioButton2, Qt::LeftButton);
        QCOMPARE(f.Edit8->text(), QStringLiteral("busqué"));
        QCOMPARE(Bold(ResultFields()), QList<bool>(19, false));
        QCOMPARE(f.Label6->text(), QStringLiteral("pravidelné"));
    }

    // Every field, caption and tab shows its whole text at the default font
    // and at 1.25 and 1.5 times it; nothing overlaps.
    void fieldsAreUncutAtThreeFontScales() {
        for (const double scale : {1.0, 1.25, 1.5}) {
            vervia::TMainForm form(&m_links, nullptr, scale);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QTest::mouseClick(form.RadioButton5, Qt::LeftButton);
            form.ComboBox1->setEditText(QStringLiteral("levantarse"));
            QCOMPARE(form.Edit11->text(), QStringLiteral("nos estamos levantando"));
            if (scale == 1.0) {
                QCOMPARE(form.size(), QSize(391, 409));
            }
            QWidget* page = form.PageControl2->widget(0);
            const QRect pageRect(page->mapTo(&form, QPoint(0, 0)), page->size());
            QList<QRect> taken;
            const auto fields = page->findChildren<QLineEdit*>();
            QCOMPARE(fields.size(), 32);
            for (QLineEdit* field : fields) {
                const QRect rect(field->mapTo(&form, QPoint(0, 0)), field->size());
                const QString what = QStringLiteral("%1 at %2").arg(field->text()).arg(scale);
                QVERIFY2(pageRect.contains(rect), qPrintable(what));
                QVERIFY2(field->height() >= QFontMetrics(field->font()).height() + 2,
                         qPrintable(what));
                QVERIFY2(QFontMetrics(field->font()).horizontalAdvance(field->text()) <=
                             field->width() - 4,
                         qPrintable(what));
                taken << rect;
            }
            for (QLabel* label : page->findChildren<QLabel*>()) {
                const QRect rect(label->mapTo(&form, QPoint(0, 0)), label->size());
                const QString what = QStringLiteral("%1 at %2").arg(label->text()).arg(scale);
                QVERIFY2(pageRect.contains(rect), qPrintable(what));
                QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                         qPrintable(what));
                QVERIFY2(label->fontMetrics().height() <= label->height(), qPrintable(what));
                taken << rect;
            }
            for (int i = 0; i < taken.size(); ++i) {
                for (int j = i + 1; j < taken.size(); ++j) {
                    QVERIFY2(!taken[i].intersects(taken[j]),
                             qPrintable(QStringLiteral("overlap at %1").arg(scale)));
                }
            }
            QTabBar* tabs = form.PageControl2->tabBar();
            for (int tab = 0; tab < tabs->count(); ++tab) {
                const int text = tabs->fontMetrics().horizontalAdvance(Shown(tabs->tabText(tab)));
                QVERIFY2(text + 8 <= tabs->tabRect(tab).width(), qPrintable(tabs->tabText(tab)));
                QVERIFY(tabs->rect().contains(tabs->tabRect(tab)));
            }
        }
    }

    void aboutLinkOpensTheWebAddress() {
        auto& f = Form();
        f.PageControl1->setCurrentIndex(2);
        QCOMPARE(f.AboutLabel->text(), QStringLiteral("https://vervia.example.org/"));
        QTest::mouseClick(f.AboutLabel, Qt::LeftButton);
        QTest::mouseClick(f.Image4, Qt::LeftButton);
        QTest::mouseClick(f.Label12, Qt::LeftButton);
        QCOMPARE(m_links.opened, QStringList(2, QStringLiteral("https://vervia.example.org/")));
        QCOMPARE(f.AboutLabel->cursor().shape(), Qt::PointingHandCursor);
    }
};

QTEST_MAIN(TestMainForm)
#include "main_form_test.moc"
