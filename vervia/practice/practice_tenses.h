#pragma once
// The tenses the trainer asks for, as data: each names the form code that
// ConjugateForm takes, its Czech and Spanish name and the first person it has.
// The trainer knows no tense beyond this list, so a new tense of the engine is
// practised as soon as it is listed here.

#include <span>
#include <string_view>

namespace vervia::practice {

struct PracticeTense {
    int code;                      // the FormKind given to ConjugateForm
    std::string_view czechName;    // UTF-8, for the tense choice
    std::string_view spanishName;  // UTF-8, for the question
    int firstPerson;               // 1, or 2 for the imperatives (no yo form)
};

// The tenses offered for practice, in the order a learner meets them: every
// tense of the engine but the progressive.
std::span<const PracticeTense> DefaultPracticeTenses();

// The tense of `code` in `tenses`, or null.
const PracticeTense* FindTense(std::span<const PracticeTense> tenses, int code);

// The subject of a question: "yo", "tú", "él/ella", "nosotros", "vosotros",
// "ellos/ellas"; for an imperative persons 3 and 6 are "usted" and "ustedes",
// whom those forms address.
std::string_view PersonPronoun(int person, bool imperative);

}  // namespace vervia::practice
