#include "vervia/practice/practice_tenses.h"

#include <algorithm>
#include <array>

namespace vervia::practice {
namespace {

// The one list of practised tenses. The progressive (estar + gerund) is left
// out: it asks only for the forms of estar.
constexpr std::array kDefaultTenses{
    PracticeTense{12, "Přítomný", "presente", 1},
    PracticeTense{10, "Minulý", "pretérito indefinido", 1},
    PracticeTense{11, "Předpřítomný", "pretérito perfecto", 1},
    PracticeTense{14, "Budoucí", "futuro", 1},
    PracticeTense{3, "Podmiňovací způsob", "condicional", 1},
    PracticeTense{2, "Rozkazovací způsob", "imperativo", 2},
};

}  // namespace

std::span<const PracticeTense> DefaultPracticeTenses() {
    return kDefaultTenses;
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
