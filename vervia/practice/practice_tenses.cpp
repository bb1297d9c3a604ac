#include "vervia/practice/practice_tenses.h"

#include <algorithm>
#include <array>
#include <vector>

#include "vervia/engine/tenses.h"

namespace vervia::practice {
namespace {

// The practised tenses: the indicative tenses of the conjugation page with
// the conditional and the imperative first, then the further tenses. The
// progressive (estar + gerund) is left out: it asks only for the forms of
// estar.
constexpr std::array kPracticeOrder{12, 10, 11, 14, 3, 2, 15, 16, 17, 18, 20, 21, 22, 23, 24, 25};

std::vector<PracticeTense> BuildDefaultTenses() {
    std::vector<PracticeTense> tenses;
    for (const int code : kPracticeOrder) {
        if (const TenseInfo* info = vervia::FindTense(code)) {
            tenses.push_back({info->code, info->czechName, info->spanishName, info->firstPerson});
        }
    }
    return tenses;
}

}  // namespace

std::span<const PracticeTense> DefaultPracticeTenses() {
    static const std::vector<PracticeTense> tenses = BuildDefaultTenses();
    return tenses;
}

const PracticeTense* FindTense(std::span<const PracticeTense> tenses, int code) {
    const auto found =
        std::find_if(tenses.begin(), tenses.end(),
                     [code](const PracticeTense& tense) { return tense.code == code; });
    return found == tenses.end() ? nullptr : &*found;
}

std::string_view PersonPronoun(int person, bool imperative) {
    if (imperative && person == 3) {
        return "usted";
    }
    if (imperative && person == 6) {
        return "ustedes";
    }
    static constexpr std::array<std::string_view, 6> kPronouns{
        "yo", "tú", "él/ella", "nosotros", "vosotros", "ellos/ellas"};
    return person >= 1 && person <= 6 ? kPronouns[std::size_t(person - 1)] : std::string_view{};
}

}  // namespace vervia::practice
