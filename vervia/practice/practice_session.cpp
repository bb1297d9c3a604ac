#include "vervia/practice/practice_session.h"

#include <algorithm>
#include <chrono>
#include <set>

#include "vervia/engine/conjugator.h"
#include "vervia/engine/text_encoding.h"
#include "vervia/practice/verb_sets.h"

namespace vervia::practice {
namespace {

constexpr int kFreshAttempts = 200;

int PersonCount(const PracticeTense& tense) {
    return 7 - tense.firstPerson;
}

}  // namespace

std::int64_t SystemSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

PracticeSession::PracticeSession(std::vector<PracticeTense> tenses,
                                 const std::vector<std::string>& verbs, ReviewBook& book,
                                 PracticeClock clock, std::uint64_t seed)
    : m_tenses(std::move(tenses)), m_book(book), m_clock(std::move(clock)), m_random(seed) {
    for (const std::string& typed : verbs) {
        if (IsInfinitive(ToEngineText(typed)) == 0) {
            continue;
        }
        std::string verb = NormalizeVerb(typed);
        if (std::find(m_verbs.begin(), m_verbs.end(), verb) == m_verbs.end()) {
            m_verbs.push_back(std::move(verb));
        }
    }
}

std::uint64_t PracticeSession::below(std::uint64_t count) {
    // mt19937_64 gives the same sequence everywhere; the modulo keeps it so.
    return m_random() % count;
}

bool PracticeSession::inPool(const FormKey& key) const {
    const PracticeTense* tense = FindTense(m_tenses, key.code);
    return tense != nullptr && key.person >= tense->firstPerson && key.person <= 6 &&
           std::find(m_verbs.begin(), m_verbs.end(), key.verb) != m_verbs.end();
}

bool PracticeSession::waiting(const FormKey& key) const {
    return (m_previous && *m_previous == key) ||
           std::any_of(m_returns.begin(), m_returns.end(),
                       [&](const Return& held) { return held.key == key; });
}

std::optional<Question> PracticeSession::ask(const FormKey& key) {
    std::string output;
    ConjugateForm(ToEngineText(key.verb), key.code, key.person, output);
    if (output.empty()) {
        return std::nullopt;  // a form Spanish does not have (the imperative of haber)
    }
    m_current = Question{key.verb, key.code, key.person, ToDisplayText(output)};
    m_previous = key;
    ++m_asked;
    return m_current;
}

std::optional<Question> PracticeSession::takeReturn() {
    const auto due =
        std::min_element(m_returns.begin(), m_returns.end(),
                         [](const Return& a, const Return& b) { return a.askAt < b.askAt; });
    if (due == m_returns.end() || due->askAt > m_asked) {
        return std::nullopt;
    }
    const FormKey key = due->key;
    m_returns.erase(due);
    if (!inPool(key)) {
        return std::nullopt;
    }
    return ask(key);
}

std::optional<Question> PracticeSession::takeDue(std::int64_t now) {
    std::vector<const FormKey*> due;
    for (const auto& [key, card] : m_book.cards()) {
        if (ReviewBook::isDue(card, now) && inPool(key) && !waiting(key)) {
            due.push_back(&key);
        }
    }
    // Mistakes first, then the longest overdue; the order of the map breaks ties.
    std::stable_sort(due.begin(), due.end(), [&](const FormKey* a, const FormKey* b) {
        const Card& cardA = *m_book.find(*a);
        const Card& cardB = *m_book.find(*b);
        return std::pair(cardA.box != 0, cardA.dueAt) < std::pair(cardB.box != 0, cardB.dueAt);
    });
    // A little variety among the first few, so that a long backlog does not
    // come back in the same order every session.
    while (!due.empty()) {
        const std::size_t pick = below(std::min<std::size_t>(due.size(), 3));
        const FormKey key = *due[pick];
        if (auto question = ask(key)) {
            return question;
        }
        due.erase(due.begin() + std::ptrdiff_t(pick));
    }
    return std::nullopt;
}

std::optional<Question> PracticeSession::takeSoonest() {
    std::vector<std::pair<std::int64_t, const FormKey*>> resting;
    for (const auto& [key, card] : m_book.cards()) {
        if (inPool(key) && !waiting(key)) {
            resting.emplace_back(card.dueAt, &key);
        }
    }
    std::stable_sort(resting.begin(), resting.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [dueAt, key] : resting) {
        if (auto question = ask(*key)) {
            return question;
        }
    }
    return std::nullopt;
}

std::optional<Question> PracticeSession::takeFresh(std::int64_t now, bool anyState) {
    for (int attempt = 0; attempt < kFreshAttempts; ++attempt) {
        const PracticeTense& tense = m_tenses[below(m_tenses.size())];
        FormKey key{m_verbs[below(m_verbs.size())], tense.code,
                    tense.firstPerson + int(below(std::uint64_t(PersonCount(tense))))};
        if (waiting(key)) {
            continue;
        }
        const Card* card = m_book.find(key);
        if (!anyState && card != nullptr && !ReviewBook::isDue(*card, now)) {
            continue;  // answered right lately: it rests
        }
        if (auto question = ask(key)) {
            return question;
        }
    }
    return std::nullopt;
}

std::optional<Question> PracticeSession::next() {
    m_current.reset();
    if (m_tenses.empty() || m_verbs.empty()) {
        return std::nullopt;
    }
    const std::int64_t now = m_clock();
    if (auto question = takeReturn()) {
        return question;
    }
    if (below(3) != 0) {
        if (auto question = takeDue(now)) {
            return question;
        }
    }
    if (auto question = takeFresh(now, false)) {
        return question;
    }
    if (auto question = takeDue(now)) {
        return question;
    }
    // Every form rests or waits: the one due soonest, else any.
    if (auto question = takeSoonest()) {
        return question;
    }
    if (auto question = takeFresh(now, true)) {
        return question;
    }
    m_previous.reset();
    m_returns.clear();
    return takeFresh(now, true);
}

Judgement PracticeSession::answer(std::string_view typed) {
    if (!m_current) {
        return {};
    }
    const Question question = std::move(*m_current);
    m_current.reset();
    const Verdict verdict = JudgeAnswer(typed, question.rightForm);
    switch (verdict) {
        case Verdict::kRight:
            ++m_score.right;
            break;
        case Verdict::kAccent:
            ++m_score.accent;
            break;
        case Verdict::kWrong:
            ++m_score.wrong;
            break;
    }
    const FormKey key{question.verb, question.code, question.person};
    const bool right = verdict == Verdict::kRight;
    m_book.record(key, right, m_clock());
    if (!right) {
        m_returns.push_back({key, m_asked - 1 + kReturnAfter});
    }
    return {verdict, question.rightForm};
}

std::string QuestionText(const Question& question, const PracticeTense& tense) {
    return question.verb + " – " + std::string(tense.spanishName) + " – " +
           std::string(PersonPronoun(question.person, tense.firstPerson == 2));
}

std::vector<TenseProgress> ProgressByTense(const ReviewBook& book,
                                           const std::vector<PracticeTense>& tenses,
                                           const std::vector<std::string>& verbs) {
    std::set<std::string> chosen;
    for (const std::string& verb : verbs) {
        chosen.insert(NormalizeVerb(verb));
    }
    std::vector<TenseProgress> progress;
    for (const PracticeTense& tense : tenses) {
        TenseProgress row{tense.code, 0, 0, int(chosen.size()) * PersonCount(tense)};
        for (const auto& [key, card] : book.cards()) {
            if (key.code != tense.code || key.person < tense.firstPerson ||
                !chosen.contains(key.verb)) {
                continue;
            }
            ++row.practised;
            row.mastered += card.box >= kMasteredBox ? 1 : 0;
        }
        progress.push_back(row);
    }
    return progress;
}

}  // namespace vervia::practice
