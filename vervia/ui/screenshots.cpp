// Renders the pages of the trainer's window to PNG files:
//   vervia_screenshots DIR [SCALE]  ->  DIR/vervia-conjugation.png, vervia-list.png,
//                                       vervia-more-tenses.png, vervia-practice.png,
//                                       vervia-progress.png, vervia-about.png
// With a font scale other than 1 (1.25, 1.5) the names end in -125, -150.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <cstdio>

#include "vervia/engine/irregular_verb_table.h"
#include "vervia/ui/link_opener.h"
#include "vervia/ui/main_form.h"
#include "vervia/ui/more_tenses_page.h"
#include "vervia/ui/practice_page.h"

namespace {

class NoLinkOpener : public vervia::LinkOpener {
public:
    void Open(const QString&) override {}
};

bool Save(QWidget& window, const QDir& dir, const char* name, const QString& suffix) {
    QApplication::processEvents();
    const QString path = dir.filePath(QString::fromLatin1(name) + suffix + QStringLiteral(".png"));
    const bool saved = window.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
    vervia::LoadIrregularVerbs();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gramarion"));
    QStandardPaths::setTestModeEnabled(true);  // the practice keeps no real progress
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    const double scale = argc > 2 ? QString::fromLocal8Bit(argv[2]).toDouble() : 1.0;
    const QString suffix =
        scale == 1.0 ? QString() : QStringLiteral("-%1").arg(qRound(scale * 100));

    NoLinkOpener opener;
    vervia::TMainForm form(&opener, nullptr, scale);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        return 1;
    }
    QTest::mouseClick(form.RadioButton5, Qt::LeftButton);
    QTest::keyClicks(form.ComboBox1->lineEdit(), QStringLiteral("levantarse"));
    bool ok = Save(form, dir, "vervia-conjugation", suffix);

    form.PageControl2->setCurrentIndex(1);
    const auto found = form.ListView1->findItems(QStringLiteral("reñir"), Qt::MatchExactly);
    if (!found.isEmpty()) {
        form.ListView1->setCurrentItem(found.first());
        form.ListView1->scrollToItem(found.first());
        form.ListView1Click();
    }
    ok = Save(form, dir, "vervia-list", suffix) && ok;

    form.PageControl2->setCurrentIndex(2);
    form.TabSheet3->RadioButton15->setChecked(true);
    form.ComboBox1->setEditText(QStringLiteral("levantarse"));
    ok = Save(form, dir, "vervia-more-tenses", suffix) && ok;

    // Practice: an answer with its accents left out.
    form.PageControl1->setCurrentIndex(1);
    auto* practice = form.findChild<vervia::PracticePage*>();
    // Answered right until a form with an accent comes.
    for (int i = 0; i < 30 && practice != nullptr && practice->session()->current(); ++i) {
        const QString form = QString::fromStdString(practice->session()->current()->rightForm);
        if (form.normalized(QString::NormalizationForm_D) != form) {
            break;
        }
        QTest::keyClicks(practice->answerEdit, form);
        QTest::keyClick(practice->answerEdit, Qt::Key_Return);
        QTest::keyClick(practice->answerEdit, Qt::Key_Return);
    }
    if (practice != nullptr && practice->session()->current()) {
        QString answer = QString::fromStdString(practice->session()->current()->rightForm);
        answer = answer.normalized(QString::NormalizationForm_D);
        answer.remove(QRegularExpression(QStringLiteral("[\\x{0300}-\\x{036f}]")));
        QTest::keyClicks(practice->answerEdit, answer);
        QTest::keyClick(practice->answerEdit, Qt::Key_Return);
        ok = Save(form, dir, "vervia-practice", suffix) && ok;
        practice->pages->setCurrentIndex(1);
        ok = Save(form, dir, "vervia-progress", suffix) && ok;
        practice->pages->setCurrentIndex(0);
    }

    form.PageControl1->setCurrentIndex(2);
    ok = Save(form, dir, "vervia-about", suffix) && ok;
    return ok ? 0 : 1;
}
