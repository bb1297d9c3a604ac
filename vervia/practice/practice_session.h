#pragma once
// One practice session: chooses the next form to ask over the chosen tenses
// and verbs, judges the answers, keeps the score and records every answer in
// the learner's ReviewBook.
//
// A form answered wrongly (or with an accent slip) comes back after two other
// questions, and in later sessions it is due at once. Otherwise about two
// questions in three go to due forms from earlier sessions when there are
// any, the rest to forms not yet asked; a form whose box interval has not run
// out is asked only when nothing else is left, the one due soonest first. The same seed, book and
// clock give the same questions. LoadIrregularVerbs must have run.

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "vervia/practice/answer_judge.h"
#include "vervia/practice/practice_tenses.h"
#include "vervia/practice/review_book.h"

namespace vervia::practice {

// Seconds since the epoch; tests give a fake one.
using PracticeClock = std::function<std::int64_t()>;

// The system's clock.
std::int64_t SystemSeconds();

struct Question {
    std::string verb;  // normalized infinitive, UTF-8
    int code = 0;
    int person = 0;
    std::string rightForm;  // UTF-8, as the conjugator builds it
};

struct Judgement {
    Verdict verdict = Verdict::kWrong;
    std::string rightForm;
};

struct Score {
    int right = 0;
    int accent = 0;
    int wrong = 0;
    int answered() const { return right + accent + wrong; }
};

// Questions a wrong answer waits before it is asked again.
inline constexpr int kReturnAfter = 3;

class PracticeSession {
public:
    // `verbs` are infinitives (they are normalized, and words that are no
    // infinitive are dropped); `book` must outlive the session.
    PracticeSession(std::vector<PracticeTense> tenses, const std::vector<std::string>& verbs,
                    ReviewBook& book, PracticeClock clock, std::uint64_t seed);

    // Chooses and returns the next question, or nothing when the chosen
    // tenses and verbs hold no form.
    std::optional<Question> next();

    // Judges `typed` against the current question and records it; the
    // session then waits for next(). Without a current question the answer
    // is ignored and judged wrong.
    Judgement answer(std::string_view typed);

    const std::optional<Question>& current() const { return m_current; }
    const Score& score() const { return m_score; }
    const std::vector<PracticeTense>& tenses() const { return m_tenses; }
    const std::vector<std::string>& verbs() const { return m_verbs; }

private:
    struct Return {
        FormKey key;
        int askAt;
    };

    bool inPool(const FormKey& key) const;
    std::optional<Question> ask(const FormKey& key);
    std::optional<Question> takeReturn();
    std::optional<Question> takeDue(std::int64_t now);
    std::optional<Question> takeFresh(std::int64_t now, bool anyState);
    std::optional<Question> takeSoonest();
    bool waiting(const FormKey& key) const;
    std::uint64_t below(std::uint64_t count);

    std::vector<PracticeTense> m_tenses;
    std::vector<std::string> m_verbs;
    ReviewBook& m_book;
    PracticeClock m_clock;
    std::mt19937_64 m_random;
    std::optional<Question> m_current;
    std::optional<FormKey> m_previous;
    std::vector<Return> m_returns;
    int m_asked = 0;
    Score m_score;
};

// "tener – presente de indicativo – nosotros".
std::string QuestionText(const Question& question, const PracticeTense& tense);

struct TenseProgress {
    int code = 0;
    int mastered = 0;   // forms in box kMasteredBox or higher
    int practised = 0;  // forms asked at least once
    int total = 0;      // forms of the verbs in this tense
};

// Per tense of `tenses`, how far the learner is with the forms of `verbs`.
std::vector<TenseProgress> ProgressByTense(const ReviewBook& book,
                                           const std::vector<PracticeTense>& tenses,
                                           const std::vector<std::string>& verbs);

}  // namespace vervia::practice
