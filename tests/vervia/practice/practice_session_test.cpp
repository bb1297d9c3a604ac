#include "vervia/practice/practice_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "vervia/engine/conjugator.h"
#include "vervia/engine/irregular_verb_table.h"
#include "vervia/engine/text_encoding.h"
#include "vervia/practice/verb_sets.h"

namespace vervia::practice {
namespace {

constexpr std::int64_t kDay = 24 * 60 * 60;
constexpr std::int64_t kStart = 1'800'000'000;

class PracticeSessionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { LoadIrregularVerbs(); }

    // A clock the test moves by hand.
    std::int64_t now = kStart;
    PracticeClock clock() {
        return [this] { return now; };
    }

    static std::vector<PracticeTense> Tenses(std::initializer_list<int> codes) {
        std::vector<PracticeTense> tenses;
        for (int code : codes) {
            tenses.push_back(*FindTense(DefaultPracticeTenses(), code));
        }
        return tenses;
    }

    static FormKey KeyOf(const Question& question) {
        return {question.verb, question.code, question.person};
    }

    ReviewBook book;
};

TEST_F(PracticeSessionTest, QuestionsStayInTheChosenTensesVerbsAndPersons) {
    PracticeSession session(Tenses({2, 12}), {"tener", "Hablar ", "levantarse", "nada"}, book,
                            clock(), 5);
    EXPECT_EQ(session.verbs(), (std::vector<std::string>{"tener", "hablar", "levantarse"}));
    std::set<int> codes;
    for (int i = 0; i < 200; ++i) {
        const auto question = session.next();
        ASSERT_TRUE(question);
        codes.insert(question->code);
        EXPECT_TRUE(question->verb == "tener" || question->verb == "hablar" ||
                    question->verb == "levantarse");
        EXPECT_TRUE(question->code == 2 || question->code == 12);
        EXPECT_GE(question->person, question->code == 2 ? 2 : 1);  // no yo imperative
        EXPECT_LE(question->person, 6);
        std::string expected;
        ConjugateForm(ToEngineText(question->verb), question->code, question->person, expected);
        EXPECT_EQ(question->rightForm, ToDisplayText(expected));
        session.answer(question->rightForm);
    }
    EXPECT_EQ(codes, (std::set<int>{2, 12}));
    EXPECT_EQ(session.score().right, 200);
}

TEST_F(PracticeSessionTest, FormsSpanishLacksAreNeverAsked) {
    // haber has no imperative; with only that there is nothing to ask.
    PracticeSession none(Tenses({2}), {"haber"}, book, clock(), 1);
    EXPECT_FALSE(none.next());
    PracticeSession empty(Tenses({12}), {}, book, clock(), 1);
    EXPECT_FALSE(empty.next());
    PracticeSession some(Tenses({2, 12}), {"haber"}, book, clock(), 1);
    for (int i = 0; i < 30; ++i) {
        const auto question = some.next();
        ASSERT_TRUE(question);
        EXPECT_EQ(question->code, 12);
        EXPECT_FALSE(question->rightForm.empty());
        some.answer("");
    }
}

TEST_F(PracticeSessionTest, SameSeedSameQuestionsOtherSeedOthers) {
    auto run = [&](std::uint64_t seed) {
        ReviewBook own;
        PracticeSession session(Tenses({10, 12, 14}), IrregularVerbSet(), own, clock(), seed);
        std::vector<FormKey> asked;
        for (int i = 0; i < 20; ++i) {
            const auto question = session.next();
            asked.push_back(KeyOf(*question));
            session.answer(i % 2 == 0 ? question->rightForm : "x");
        }
        return asked;
    };
    EXPECT_EQ(run(42), run(42));
    EXPECT_NE(run(42), run(43));
}

TEST_F(PracticeSessionTest, ScoreCountsRightAccentAndWrong) {
    PracticeSession session(Tenses({10}), {"hablar"}, book, clock(), 3);
    auto question = session.next();
    while (question->person != 3) {  // habló
        session.answer(question->rightForm);
        question = session.next();
    }
    EXPECT_EQ(session.answer("hablo").verdict, Verdict::kAccent);
    session.next();
    const Judgement wrong = session.answer("xyz");
    EXPECT_EQ(wrong.verdict, Verdict::kWrong);
    EXPECT_FALSE(wrong.rightForm.empty());
    EXPECT_EQ(session.score().accent, 1);
    EXPECT_EQ(session.score().wrong, 1);
    EXPECT_EQ(session.score().answered(), session.score().right + 2);
    // An answer without a question changes nothing.
    EXPECT_EQ(session.answer("habló").verdict, Verdict::kWrong);
    EXPECT_EQ(session.score().answered(), session.score().right + 2);
}

TEST_F(PracticeSessionTest, AMistakeReturnsAfterTwoOtherQuestions) {
    PracticeSession session(Tenses({12, 10, 14}), IrregularVerbSet(), book, clock(), 11);
    const Question missed = *session.next();
    session.answer("no sé");
    EXPECT_EQ(book.find(KeyOf(missed))->box, 0);
    for (int i = 0; i < 2; ++i) {
        const Question other = *session.next();
        EXPECT_NE(KeyOf(other), KeyOf(missed));
        session.answer(other.rightForm);
    }
    const Question again = *session.next();
    EXPECT_EQ(KeyOf(again), KeyOf(missed));
    // Missed again, it comes back again.
    session.answer("xx");
    for (int i = 0; i < 2; ++i) {
        const Question other = *session.next();
        EXPECT_NE(KeyOf(other), KeyOf(missed));
        session.answer(other.rightForm);
    }
    const Question third = *session.next();
    EXPECT_EQ(KeyOf(third), KeyOf(missed));
    session.answer(third.rightForm);
    EXPECT_EQ(book.find(KeyOf(missed))->box, 1);
}

TEST_F(PracticeSessionTest, AMistakeComesBackEarlyInALaterSession) {
    FormKey missed;
    {
        PracticeSession first(Tenses({12}), {"tener"}, book, clock(), 2);
        missed = KeyOf(*first.next());
        first.answer("");
    }
    now += kDay;
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        ReviewBook copy = book;
        PracticeSession later(Tenses({10, 11, 12, 14, 3, 2}), IrregularVerbSet(), copy, clock(),
                              seed);
        bool asked = false;
        for (int i = 0; i < 8 && !asked; ++i) {
            const Question question = *later.next();
            asked = KeyOf(question) == missed;
            later.answer(question.rightForm);
        }
        EXPECT_TRUE(asked) << "seed " << seed;
    }
}

TEST_F(PracticeSessionTest, LeitnerBoxesOnAFakeClock) {
    const FormKey key{"tener", 12, 1};
    book.record(key, true, now);
    EXPECT_EQ(*book.find(key), (Card{1, now + kDay, 1, 0}));
    EXPECT_FALSE(ReviewBook::isDue(*book.find(key), now + kDay - 1));
    EXPECT_TRUE(ReviewBook::isDue(*book.find(key), now + kDay));
    now += kDay;
    book.record(key, true, now);
    EXPECT_EQ(*book.find(key), (Card{2, now + 3 * kDay, 2, 0}));
    for (int i = 0; i < 5; ++i) {
        book.record(key, true, now);
    }
    EXPECT_EQ(book.find(key)->box, kTopBox);  // no box above the top one
    EXPECT_EQ(book.find(key)->dueAt, now + 35 * kDay);
    book.record(key, false, now);
    EXPECT_EQ(*book.find(key), (Card{0, now, 7, 1}));
    EXPECT_TRUE(ReviewBook::isDue(*book.find(key), now - 100));
    // The intervals grow with the box.
    for (int box = 1; box <= kTopBox; ++box) {
        EXPECT_GT(BoxInterval(box), BoxInterval(box - 1));
    }
}

TEST_F(PracticeSessionTest, AFormRightSeveralTimesRestsUntilItsIntervalEnds) {
    const FormKey known{"tener", 12, 1};
    for (int i = 0; i < kMasteredBox; ++i) {
        book.record(known, true, now);
    }
    {
        PracticeSession session(Tenses({12}), {"tener", "hablar", "comer", "vivir", "ser"}, book,
                                clock(), 9);
        for (int i = 0; i < 50; ++i) {
            const Question question = *session.next();
            ASSERT_NE(KeyOf(question), known) << "question " << i;
            session.answer(question.rightForm);
            now += 60;
        }
    }
    // Its week is over: now it is due and comes among the first questions.
    now = kStart + BoxInterval(kMasteredBox);
    for (auto& [key, card] : book.cards()) {
        if (key != known) {
            book.put(key, Card{card.box, now + kDay, card.timesRight, card.timesWrong});
        }
    }
    PracticeSession later(Tenses({12}), {"tener", "hablar", "comer", "vivir", "ser"}, book, clock(),
                          10);
    bool asked = false;
    for (int i = 0; i < 8 && !asked; ++i) {
        asked = KeyOf(*later.next()) == known;
        later.answer("tengo");
    }
    EXPECT_TRUE(asked);
}

TEST_F(PracticeSessionTest, WhenEveryFormRestsTheSessionStillAsks) {
    for (int person = 1; person <= 6; ++person) {
        book.record({"ser", 12, person}, true, now);
    }
    PracticeSession session(Tenses({12}), {"ser"}, book, clock(), 4);
    for (int i = 0; i < 10; ++i) {
        const auto question = session.next();
        ASSERT_TRUE(question);
        session.answer(question->rightForm);
    }
}

TEST_F(PracticeSessionTest, QuestionTextAndProgressPerTense) {
    const Question question{"tener", 12, 4, "tenemos"};
    EXPECT_EQ(QuestionText(question, *FindTense(DefaultPracticeTenses(), 12)),
              "tener – presente de indicativo – nosotros");
    const Question imperative{"tener", 2, 3, "tenga"};
    EXPECT_EQ(QuestionText(imperative, *FindTense(DefaultPracticeTenses(), 2)),
              "tener – imperativo afirmativo – usted");

    for (int i = 0; i < kMasteredBox; ++i) {
        book.record({"tener", 12, 1}, true, now);
        book.record({"tener", 2, 2}, true, now);
    }
    book.record({"tener", 12, 2}, true, now);
    book.record({"tener", 12, 3}, false, now);
    book.record({"hablar", 12, 1}, true, now);  // not a chosen verb
    book.record({"tener", 14, 1}, true, now);   // not a chosen tense
    const auto progress = ProgressByTense(book, Tenses({12, 2}), {"tener", "ser"});
    ASSERT_EQ(progress.size(), 2u);
    EXPECT_EQ(progress[0].code, 12);
    EXPECT_EQ(progress[0].mastered, 1);
    EXPECT_EQ(progress[0].practised, 3);
    EXPECT_EQ(progress[0].total, 12);
    EXPECT_EQ(progress[1].code, 2);
    EXPECT_EQ(progress[1].mastered, 1);
    EXPECT_EQ(progress[1].total, 10);  // persons 2 to 6
}

TEST_F(PracticeSessionTest, VerbSets) {
    const auto irregular = IrregularVerbSet();
    ASSERT_EQ(irregular.size(), 212u);
    const auto frequent = FrequentVerbSet();
    ASSERT_EQ(frequent.size(), 100u);
    EXPECT_EQ(frequent.front(), "ser");
    for (const auto* set : {&irregular, &frequent}) {
        for (const std::string& verb : *set) {
            EXPECT_EQ(IsInfinitive(ToEngineText(verb)), 1) << verb;
            EXPECT_EQ(NormalizeVerb(verb), verb);
        }
        EXPECT_EQ(std::set<std::string>(set->begin(), set->end()).size(), set->size());
    }
    EXPECT_NE(std::find(irregular.begin(), irregular.end(), "tañer"), irregular.end());

    const TypedVerbs typed = ParseVerbList(" Tener, hablar;;levantarse\tTENER  casa, 42 taňer");
    EXPECT_EQ(typed.verbs, (std::vector<std::string>{"tener", "hablar", "levantarse", "tañer"}));
    EXPECT_EQ(typed.rejected, (std::vector<std::string>{"casa", "42"}));
    EXPECT_TRUE(ParseVerbList(" ,; ").verbs.empty());
}

}  // namespace
}  // namespace vervia::practice
