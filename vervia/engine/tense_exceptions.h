#pragma once
// The forms of table verbs in tenses the table does not store, where the rules
// over their stored forms do not give them (ser: era; saber: sepa), generated
// at build time from the reviewable data file data/irregular-tense-forms.txt.
// Text is Windows-1250 bytes, lower case.

#include <array>
#include <span>
#include <string_view>

namespace vervia {

struct TenseException {
    std::string_view infinitive;            // as the table writes it
    int tense;                              // FormKind: 15, 20, 21 or 22
    std::array<std::string_view, 6> forms;  // persons 1..6
};

// Every entry, sorted by infinitive and tense.
std::span<const TenseException> TenseExceptions();

}  // namespace vervia
