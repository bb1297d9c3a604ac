#pragma once
// The conjugator: builds one Spanish form from the regular -ar/-er/-ir rules
// and replaces it with the stored form of the irregular-verb table when the
// verb is one of its 212 infinitives. Text is Windows-1250 bytes.

#include <string>
#include <string_view>

namespace vervia {

// The code of a requested form.
enum FormKind : int {
    kParticiple = 0,
    kGerund = 1,
    kImperative = 2,  // persons 2..6
    kConditional = 3,
    kPreterite = 10,
    kPresentPerfect = 11,
    kPresent = 12,
    kProgressive = 13,
    kFuture = 14,
};

// 1 when `word` ends in ar, er or ir (any ASCII case) and has at least two
// characters, else 0.
int IsInfinitive(std::string_view word);

// Puts the requested form of `verb` (any case) into `output` and returns 1 when
// it equals the regular form, 0 when the stored irregular form differs from it.
// For kinds 11 and 13 the output carries the auxiliary in front.
int ConjugateForm(std::string_view verb, int kind, int person, std::string& output);

}  // namespace vervia
