#pragma once
// The tenses a learner can ask for, by their FormKind code, with the names
// every front end shows for them. Names are UTF-8, like the labels of
// evaluation.h.

#include <span>
#include <string_view>

namespace vervia {

struct TenseInfo {
    int code;                      // the FormKind of the tense
    std::string_view czechName;    // "Přítomný", "Subjunktiv přítomný", ...
    std::string_view spanishName;  // "presente de indicativo", "presente de subjuntivo", ...
    int firstPerson;               // 1, or 2 for the imperatives (persons 2..6)
};

// Every tense, in the order a learner meets them: the conditional, the
// imperative, the indicative tenses 10..18, the subjunctive tenses 20..24 and
// the negative imperative 25.
std::span<const TenseInfo> Tenses();

// The tense with `code`, or null.
const TenseInfo* FindTense(int code);

}  // namespace vervia
