// The window's ordering rules and the start-up clock, without any widget.

#include <QTest>

#include "vervia/engine/irregular_verb_table.h"
#include "vervia/ui/startup_clock.h"
#include "vervia/ui/verb_lists.h"

class TestWindowRules : public QObject {
    Q_OBJECT

private slots:
    void historyIgnoresLetterCaseAndKeepsOrder() {
        const QCollator collator = vervia::VerbCollator();
        const QStringList history = {QStringLiteral("abrir"), QStringLiteral("Comer"),
                                     QStringLiteral("reñir"), QStringLiteral("vivir")};
        QCOMPARE(vervia::HistoryInsertPosition(history, QStringLiteral("COMER"), collator), -1);
        QCOMPARE(vervia::HistoryInsertPosition(history, QStringLiteral("REÑIR"), collator), -1);
        QCOMPARE(vervia::HistoryInsertPosition({}, QStringLiteral("ir"), collator), 0);
        QCOMPARE(vervia::HistoryInsertPosition(history, QStringLiteral("Abastecer"), collator), 0);
        QCOMPARE(vervia::HistoryInsertPosition(history, QStringLiteral("cantar"), collator), 1);
        QCOMPARE(vervia::HistoryInsertPosition(history, QStringLiteral("hablar"), collator), 2);
        QCOMPARE(vervia::HistoryInsertPosition(history, QStringLiteral("yacer"), collator), 4);
        // Accented letters sort with their base letter, not after z.
        QCOMPARE(vervia::HistoryInsertPosition(history, QStringLiteral("ámar"), collator), 1);
    }

    void irregularListIsShownInSpanishSpelling() {
        vervia::LoadIrregularVerbs();
        const QStringList list = vervia::IrregularInfinitivesForDisplay(vervia::VerbCollator());
        QCOMPARE(list.size(), 212);
        QVERIFY(list.contains(QStringLiteral("reñir")));
        QVERIFY(list.contains(QStringLiteral("tañer")));
        QCOMPARE(list.indexOf(QStringLiteral("soñar")), list.indexOf(QStringLiteral("sonar")) + 1);
    }

    void startTimeIsReadAfterTheCommandName() {
        // The command name may hold blanks and parentheses.
        const std::string line =
            "4242 (my (odd) prog) S 1 4242 4242 0 -1 4194560 120 0 0 0 3 1 0 0 20 0 1 0 "
            "987654 12345678 900 18446744073709551615 1 1 0 0 0 0 0 0 0 0 0 0 17 1 0 0";
        QCOMPARE(vervia::StartTicksFromStat(line), std::optional<long long>(987654));
        QCOMPARE(vervia::StartTicksFromStat("12 (x) S 1 2 3"), std::optional<long long>());
        QCOMPARE(vervia::StartTicksFromStat("no parenthesis"), std::optional<long long>());
        QCOMPARE(vervia::StartTicksFromStat("1 (a) S 1 1 1 0 -1 0 0 0 0 0 0 0 0 0 20 0 1 0 12x4 5"),
                 std::optional<long long>());
        const auto own = vervia::SecondsSinceProcessStart();
        QVERIFY(own.has_value());
        QVERIFY(*own >= 0.0);
    }
};

QTEST_APPLESS_MAIN(TestWindowRules)
#include "window_rules_test.moc"
