// What an upload writes, and the orders of the phone-book list.

#include <gtest/gtest.h>

#include <algorithm>

#include "telvora/phonebook/czech_collation.h"
#include "telvora/phonebook/upload_plan.h"

namespace telvora {
namespace {

PhoneBookEntry At(int position, const char* name, const char* number) {
    return PhoneBookEntry{static_cast<qint16>(position), QString::fromUtf8(name),
                          QString::fromUtf8(number)};
}

const WriteLimits kLimits{20, 18};

QList<QByteArray> Lines(const UploadPlan& plan) {
    QList<QByteArray> lines;
    for (const PhoneBookChange& change : plan.changes) {
        lines.append(ChangeCommand(change, PhoneTextMode::Bytes));
    }
    return lines;
}

const PhoneBookList kPhone{At(1, "Jan", "+420603111222"), At(3, "Eva", "5550123"),
                           At(7, "Záchranka", "155")};

TEST(PlanUpload, WhatWasJustReadWritesNothing) {
    const UploadPlan plan = PlanUpload(kPhone, kPhone, 250, kLimits, false);
    EXPECT_TRUE(plan.changes.isEmpty());
    EXPECT_EQ(plan.result, kPhone);
    EXPECT_FALSE(plan.blocked(false));
}

TEST(PlanUpload, TheEditorsOrderDoesNotRenumber) {
    PhoneBookList editor = kPhone;
    std::reverse(editor.begin(), editor.end());
    EXPECT_TRUE(PlanUpload(kPhone, editor, 250, kLimits, false).changes.isEmpty());
}

TEST(PlanUpload, ADeletedEntryIsErasedWithThePlainForm) {
    PhoneBookList editor = kPhone;
    editor.removeAt(1);  // Eva
    EXPECT_EQ(Lines(PlanUpload(kPhone, editor, 250, kLimits, false)),
              QList<QByteArray>{"AT+CPBW=3"});
    // A row the editor cleared is a deleted entry too.
    editor = kPhone;
    editor[2].name.clear();
    editor[2].number.clear();
    EXPECT_EQ(Lines(PlanUpload(kPhone, editor, 250, kLimits, false)),
              QList<QByteArray>{"AT+CPBW=7"});
}

TEST(PlanUpload, ANewEntryTakesTheLowestFreePosition) {
    PhoneBookList editor = kPhone;
    editor.append(At(0, "Petr", "777123456"));
    editor.append(At(-3, "Ota", "+421905000111"));  // a file line without a usable position
    const UploadPlan plan = PlanUpload(kPhone, editor, 250, kLimits, false);
    EXPECT_EQ(Lines(plan), (QList<QByteArray>{"AT+CPBW=2,\"777123456\",129,\"Petr\"",
                                              "AT+CPBW=4,\"+421905000111\",145,\"Ota\""}));
    EXPECT_EQ(plan.result.size(), 5);
}

TEST(PlanUpload, ChangedEntriesAreRewrittenWithTheirTypeOfNumber) {
    PhoneBookList editor = kPhone;
    editor[0].name = QStringLiteral("Jan Novák");
    editor[1].number = QStringLiteral("+4205550123");
    EXPECT_EQ(Lines(PlanUpload(kPhone, editor, 250, kLimits, false)),
              (QList<QByteArray>{"AT+CPBW=1,\"+420603111222\",145,\"Jan Nov\xE1k\"",
                                 "AT+CPBW=3,\"+4205550123\",145,\"Eva\""}));
}

TEST(PlanUpload, ASecondClaimOnAPositionAndPositionsBeyondTheMemoryMove) {
    const PhoneBookList editor{At(2, "A", "1"), At(2, "B", "2"), At(9, "C", "3")};
    const UploadPlan plan = PlanUpload({}, editor, 3, kLimits, false);
    EXPECT_EQ(plan.result, (PhoneBookList{At(1, "B", "2"), At(2, "A", "1"), At(3, "C", "3")}));
    const UploadPlan full =
        PlanUpload({}, editor + PhoneBookList{At(0, "D", "4")}, 3, kLimits, false);
    EXPECT_EQ(full.beyondMemory, 1);
    EXPECT_EQ(full.result.size(), 3);
}

TEST(PlanUpload, AnUploadOfAnotherBookLeavesOnlyIt) {
    const PhoneBookList other{At(1, "Ivo", "1"), At(2, "Ema", "2")};
    EXPECT_EQ(Lines(PlanUpload(kPhone, other, 250, kLimits, false)),
              (QList<QByteArray>{"AT+CPBW=1,\"1\",129,\"Ivo\"", "AT+CPBW=2,\"2\",129,\"Ema\"",
                                 "AT+CPBW=3", "AT+CPBW=7"}));
}

TEST(PlanUpload, NamesOverTheLimitAreNamedAndCutOnlyWhenAsked) {
    const PhoneBookList editor{At(1, "Jan Novák z Prahy 4", "1"), At(2, "Krátké", "2"),
                               At(3, "Anna", "123456789012345678901")};
    const UploadPlan plan = PlanUpload({}, editor, 250, kLimits, false);
    EXPECT_EQ(plan.longNames, QStringList{QStringLiteral("Jan Novák z Prahy 4")});
    EXPECT_EQ(plan.longNumbers, QStringList{QStringLiteral("123456789012345678901")});
    EXPECT_TRUE(plan.blocked(true));  // a number is never cut
    EXPECT_EQ(plan.result[0].name, QStringLiteral("Jan Novák z Prahy 4"));

    const UploadPlan cut = PlanUpload({}, editor.mid(0, 2), 250, kLimits, true);
    EXPECT_FALSE(cut.blocked(true));
    EXPECT_TRUE(cut.blocked(false));
    EXPECT_EQ(cut.result[0].name, QStringLiteral("Jan Novák z Prahy"));
    EXPECT_EQ(cut.longNames.size(), 1);
    // Exactly at the limit is no problem.
    EXPECT_TRUE(PlanUpload({}, {At(1, "123456789012345678", "1")}, 250, kLimits, false)
                    .longNames.isEmpty());
}

TEST(CzechCollation, TheCzechAlphabet) {
    QStringList names{QStringLiteral("Chrudim"),  QStringLiteral("Čech"),   QStringLiteral("Cyril"),
                      QStringLiteral("Hana"),     QStringLiteral("Ivan"),   QStringLiteral("Řehoř"),
                      QStringLiteral("Robert"),   QStringLiteral("Šimon"),  QStringLiteral("Sára"),
                      QStringLiteral("Žofie"),    QStringLiteral("Zdeněk"), QStringLiteral("Ábel"),
                      QStringLiteral("Adam"),     QStringLiteral("Jan"),    QStringLiteral("Jana"),
                      QStringLiteral("jan Novák")};
    std::stable_sort(names.begin(), names.end(), CzechLess);
    EXPECT_EQ(names, (QStringList{
                         QStringLiteral("Ábel"), QStringLiteral("Adam"), QStringLiteral("Cyril"),
                         QStringLiteral("Čech"), QStringLiteral("Hana"), QStringLiteral("Chrudim"),
                         QStringLiteral("Ivan"), QStringLiteral("Jan"), QStringLiteral("jan Novák"),
                         QStringLiteral("Jana"), QStringLiteral("Robert"), QStringLiteral("Řehoř"),
                         QStringLiteral("Sára"), QStringLiteral("Šimon"), QStringLiteral("Zdeněk"),
                         QStringLiteral("Žofie")}));
}

TEST(CzechCollation, MarksOtherThanCaronDecideOnlyBetweenEqualNames) {
    EXPECT_TRUE(CzechLess(QStringLiteral("Dana"), QStringLiteral("Ďana")));
    EXPECT_TRUE(
        CzechLess(QStringLiteral("Ďana"), QStringLiteral("Danb")));  // Ď is no letter of its own
    EXPECT_TRUE(CzechLess(QStringLiteral("Ďábel"), QStringLiteral("Daniel")));
    EXPECT_TRUE(CzechLess(QStringLiteral("Mate"), QStringLiteral("Máte")));
    EXPECT_FALSE(CzechLess(QStringLiteral("Máte"), QStringLiteral("Mate")));
    EXPECT_FALSE(CzechLess(QStringLiteral("JAN"), QStringLiteral("jan")));
    EXPECT_FALSE(CzechLess(QStringLiteral("jan"), QStringLiteral("JAN")));
    EXPECT_TRUE(CzechLess(QStringLiteral("Hz"), QStringLiteral("CH")));  // Ch after H
    EXPECT_TRUE(CzechLess(QStringLiteral("Czech"), QStringLiteral("Čáp")));
}

TEST(SortPhoneBookByName, UsesTheCzechOrderAndPositionsSortAsNumbers) {
    PhoneBookList list{At(10, "Chata", "1"), At(9, "Čeněk", "2"), At(100, "Hugo", "3"),
                       At(2, "Cecílie", "4")};
    SortPhoneBook(list, PhoneBookSortKind::ByName);
    EXPECT_EQ(list[0].name, QStringLiteral("Cecílie"));
    EXPECT_EQ(list[1].name, QStringLiteral("Čeněk"));
    EXPECT_EQ(list[2].name, QStringLiteral("Hugo"));
    EXPECT_EQ(list[3].name, QStringLiteral("Chata"));
    SortPhoneBook(list, PhoneBookSortKind::ByPosition);
    EXPECT_EQ(list[0].position, 2);
    EXPECT_EQ(list[1].position, 9);
    EXPECT_EQ(list[2].position, 10);
    EXPECT_EQ(list[3].position, 100);
}

}  // namespace
}  // namespace telvora
