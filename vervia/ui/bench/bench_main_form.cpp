// Speed of the trainer's window: the reaction to one change of the verb text
// (19 engine calls plus updating 20 fields and the regularity label), and the
// time from process start to the first painting of the window.

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <algorithm>
#include <vector>

#include "vervia/engine/irregular_verb_table.h"
#include "vervia/ui/link_opener.h"
#include "vervia/ui/main_form.h"

namespace {

class NoLinkOpener : public vervia::LinkOpener {
public:
    void Open(const QString&) override {}
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

}  // namespace

class BenchMainForm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        vervia::LoadIrregularVerbs();
        m_form = std::make_unique<vervia::TMainForm>(&m_opener);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    // Alternating two table verbs near the end of the table, so every field
    // changes and every lookup walks the whole table.
    void textChangeIrregular() {
        QLineEdit* edit = m_form->ComboBox1->lineEdit();
        int round = 0;
        QBENCHMARK {
            edit->setText((++round % 2) ? QStringLiteral("volver") : QStringLiteral("vencer"));
        }
    }

    void textChangeRegular() {
        QLineEdit* edit = m_form->ComboBox1->lineEdit();
        int round = 0;
        QBENCHMARK {
            edit->setText((++round % 2) ? QStringLiteral("hablar") : QStringLiteral("cantar"));
        }
    }

    // Two real key presses per round: one that empties the fields (tene) and
    // one that completes the verb again (tener).
    void twoKeystrokes() {
        QLineEdit* edit = m_form->ComboBox1->lineEdit();
        edit->setText(QStringLiteral("tener"));
        edit->setFocus();
        QBENCHMARK {
            QTest::keyClick(edit, Qt::Key_Backspace);
            QTest::keyClick(edit, Qt::Key_R);
        }
    }

    // Starts the program several times; it reports the seconds from its
    // process start to its first paint and quits.
    void startupToFirstPaint() {
        constexpr int kRuns = 7;
        std::vector<double> reported;
        std::vector<double> wall;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VERVIA_STARTUP_PROBE"), QStringLiteral("1"));
        for (int run = 0; run < kRuns; ++run) {
            QProcess program;
            program.setProcessEnvironment(environment);
            QElapsedTimer timer;
            timer.start();
            program.start(QStringLiteral(VERVIA_PROGRAM), {});
            QVERIFY(program.waitForFinished(30000));
            wall.push_back(double(timer.nsecsElapsed()) / 1e9);
            const QByteArray output = program.readAllStandardOutput();
            const auto fields = output.simplified().split(' ');
            QVERIFY(fields.size() == 2 && fields[0] == "startup_seconds");
            reported.push_back(fields[1].toDouble());
        }
        qInfo(
            "start-up to first paint: median %.3f s (process clock, %d runs), "
            "median %.3f s until the program exited (launcher wall clock)",
            Median(reported), kRuns, Median(wall));
    }

    void cleanupTestCase() { m_form.reset(); }

private:
    NoLinkOpener m_opener;
    std::unique_ptr<vervia::TMainForm> m_form;
};

QTEST_MAIN(BenchMainForm)
#include "bench_main_form.moc"
