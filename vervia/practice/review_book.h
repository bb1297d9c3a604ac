#pragma once
// The learner's record of every form practised, kept between sessions: a
// Leitner scheme with one card per form (verb, tense code, person).
//
// A card's box counts the right answers in a row: a wrong answer (or an
// accent slip) puts the card into box 0, due again at once; each right answer
// moves it one box up, to box kTopBox at most, and sets it aside for the
// box's interval, which grows from a day (box 1) to five weeks (box 5). A form
// in box kMasteredBox or higher counts as mastered.

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <tuple>

namespace vervia::practice {

// One practised form. The verb is normalized (see NormalizeVerb).
struct FormKey {
    std::string verb;
    int code = 0;
    int person = 0;
    auto operator<=>(const FormKey&) const = default;
};

struct Card {
    int box = 0;
    std::int64_t dueAt = 0;  // seconds since the epoch
    int timesRight = 0;
    int timesWrong = 0;
    bool operator==(const Card&) const = default;
};

inline constexpr int kTopBox = 5;
inline constexpr int kMasteredBox = 3;

// The seconds a card of `box` waits after a right answer (0 for box 0).
std::int64_t BoxInterval(int box);

class ReviewBook {
public:
    // The card of `key`, or null when the form was never asked.
    const Card* find(const FormKey& key) const;

    // Records an answer given at `now` (seconds since the epoch).
    void record(const FormKey& key, bool right, std::int64_t now);

    // True when the card waits no longer: a mistake, or its interval is over.
    static bool isDue(const Card& card, std::int64_t now) {
        return card.box == 0 || card.dueAt <= now;
    }

    const std::map<FormKey, Card>& cards() const { return m_cards; }
    void put(const FormKey& key, const Card& card) { m_cards[key] = card; }
    bool operator==(const ReviewBook&) const = default;

private:
    std::map<FormKey, Card> m_cards;
};

// The book as text: a header line, then one tab-separated line per card
// (verb, code, person, box, due time, times right, times wrong), UTF-8.
void WriteReviewBook(std::ostream& out, const ReviewBook& book);

struct ReadResult {
    bool ok = true;
    int badLine = 0;  // the first line that could not be read (1 is the header)
};

// Reads a book written by WriteReviewBook into `book` (which is left empty
// when the text cannot be read).
ReadResult ReadReviewBook(std::istream& in, ReviewBook& book);

}  // namespace vervia::practice
