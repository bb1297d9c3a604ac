#pragma once
// Irregular verbs outside the 212-verb table, generated at build time from
// the reviewable data file data/further-irregular-verbs.txt. Each names the
// model its forms follow; the forms themselves are built from the regular
// rules by the conjugator. Text is Windows-1250 bytes, lower case.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace vervia {

// How a further verb departs from the spelled regular forms.
enum class VerbModel : std::uint8_t {
    kRegular,  // listed to keep it from being read as a compound (compensar)
    kEToIe,    // e -> ie where stressed (despierto); -ir verbs also e -> i (sintió)
    kOToUe,    // o -> ue where stressed (acuerdo); -ir verbs also o -> u (durmió)
    kEToI,     // e -> i where stressed and in the -ir weak forms (pido, pidió)
    kIToIe,    // i -> ie where stressed (inquiero)
    kUToUe,    // u -> ue where stressed (juego)
    kHiatus,   // the stem's last i or u takes the stress and its accent (confío, gradúo, aíslo)
    kLike,     // the forms of a table verb with another beginning (tropezar like empezar)
};

struct FurtherVerb {
    std::string_view infinitive;  // or, for a family, the ending every member shares
    VerbModel model;
    std::string_view like;  // the table verb of kLike, else empty
};

// Listed verbs, sorted by their bytes.
std::span<const FurtherVerb> FurtherVerbs();

// Families: every verb ending in `infinitive` (-ducir, -scribir) is conjugated
// like the named table verb. Longest endings first.
std::span<const FurtherVerb> FurtherFamilies();

// The listed verb `infinitive`, or null.
const FurtherVerb* FindFurtherVerb(std::string_view infinitive);

// The family with the longest ending that `infinitive` ends in (and is longer
// than), or null.
const FurtherVerb* FindFurtherFamily(std::string_view infinitive);

}  // namespace vervia
