#pragma once
// The sets of verbs the trainer asks about: the irregular-verb table, the most
// frequent Spanish verbs, or a list the learner types. Verbs are UTF-8, lower
// case, ñ written as ñ. LoadIrregularVerbs must have run.

#include <string>
#include <string_view>
#include <vector>

namespace vervia::practice {

// The 212 infinitives of the irregular-verb table, in record order.
std::vector<std::string> IrregularVerbSet();

// The 100 most frequent Spanish verbs, most frequent first.
std::vector<std::string> FrequentVerbSet();

// A typed infinitive as the trainer keeps it: blanks around it removed, letters
// folded to lower case, ň shown as ñ.
std::string NormalizeVerb(std::string_view typed);

struct TypedVerbs {
    std::vector<std::string> verbs;     // normalized, each once, in typed order
    std::vector<std::string> rejected;  // words that are no Spanish infinitive, as typed
};

// Splits a typed list at commas, semicolons and blanks and keeps the
// infinitives (reflexive ones too).
TypedVerbs ParseVerbList(std::string_view text);

}  // namespace vervia::practice
