#pragma once
// The conjugator: builds one Spanish form of a verb. A verb of the 212-verb
// table takes its stored form, compared with the plain regular form; every
// other verb is built from the regular -ar/-er/-ir rules as Spanish spells
// them, with the stem changes of the further irregular verbs or the forms of
// the table verb it is a compound of, and compared with that spelled regular
// form. Text is Windows-1250 bytes. For the 19 forms a window shows, use
// Evaluate (evaluation.h).

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
    kImperfect = 15,               // pretérito imperfecto: hablaba
    kPluperfect = 16,              // había + participle
    kFuturePerfect = 17,           // habré + participle
    kConditionalPerfect = 18,      // habría + participle
    kPresentSubjunctive = 20,      // hable
    kImperfectSubjunctiveRa = 21,  // hablara
    kImperfectSubjunctiveSe = 22,  // hablase
    kPerfectSubjunctive = 23,      // haya + participle
    kPluperfectSubjunctive = 24,   // hubiera + participle
    kNegativeImperative = 25,      // no hables; persons 2..6
};

// The class of a verb by its ending.
enum ConjugationClass : int { kClassAr = 0, kClassEr = 1, kClassIr = 2 };

// The engine's working values, overwritten by every ConjugateForm call.
struct ConjugationState {
    std::string verb;    // the infinitive as read: trimmed, folded, without se
    std::string stem;    // the verb without its ending
    std::string ending;  // "ar", "er" or "ir"; empty when the verb has none of them
    int verbClass = kClassAr;
    bool inTable = false;  // the verb is one of the irregular-verb table's infinitives
    std::string regularForm;
    std::string chosenForm;
    int sameAsRegular = 0;
    std::string output;
};

// 1 when `word` is a Spanish infinitive, else 0: letters only, ending in ar,
// er, ir or ír, optionally followed by a reflexive se; blanks around it and
// letter case do not matter.
int IsInfinitive(std::string_view word);

// Puts the requested form of `verb` (any case, blanks around it allowed) into
// `output` and returns 1 when it equals the regular form, 0 when the irregular
// form differs from it. For kinds 11, 13, 16, 17, 18, 23 and 24 the output
// carries the auxiliary in front (the flag compares the participle or the
// gerund only); kind 25 carries its "no"; a reflexive verb's forms carry their
// pronoun (me levantaba, no te levantes, se hubiera levantado).
//
// Kinds 0 and 1 ignore the person; the imperative and the negative imperative
// take persons 2..6, every other kind 1..6. A call outside these ranges, an unknown kind or a verb
// that is no infinitive gives an empty output and 1.
int ConjugateForm(std::string_view verb, int kind, int person, std::string& output);

// The working values of the last ConjugateForm call.
const ConjugationState& LastConjugation();

}  // namespace vervia
