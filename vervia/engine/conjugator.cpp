#include "conjugator.h"

#include <array>

#include "irregular_verb_table.h"
#include "verb_store.h"

namespace vervia {
namespace {

// All endings are Windows-1250 bytes: á 0xE1, é 0xE9, í 0xED, ó 0xF3.
using PersonEndings = std::array<std::string_view, 6>;  // persons 1..6
using ClassEndings = std::array<PersonEndings, 3>;      // -ar, -er, -ir

constexpr std::array<std::string_view, 3> kParticipleEndings = {"ado", "ido", "ido"};
constexpr std::array<std::string_view, 3> kGerundEndings = {"ando", "iendo", "iendo"};

constexpr ClassEndings kPreteriteEndings = {{
    {"\xE9", "aste", "\xF3", "amos", "asteis", "aron"},
    {"\xED", "iste", "i\xF3", "imos", "isteis", "ieron"},
    {"\xED", "iste", "i\xF3", "imos", "isteis", "ieron"},
}};

constexpr ClassEndings kPresentEndings = {{
    {"o", "as", "a", "amos", "\xE1is", "an"},
    {"o", "es", "e", "emos", "\xE9is", "en"},
    {"o", "es", "e", "imos", "\xEDs", "en"},
}};

constexpr ClassEndings kFutureEndings = {{
    {"ar\xE9", "ar\xE1s", "ar\xE1", "aremos", "ar\xE9is", "ar\xE1n"},
    {"er\xE9", "er\xE1s", "er\xE1", "eremos", "er\xE9is", "er\xE1n"},
    {"ir\xE9", "ir\xE1s", "ir\xE1", "iremos", "ir\xE9is", "ir\xE1n"},
}};

// Person 1 has no imperative; its slot stays empty and is never used.
constexpr ClassEndings kImperativeEndings = {{
    {"", "a", "e", "emos", "ad", "en"},
    {"", "e", "a", "amos", "ed", "an"},
    {"", "e", "a", "amos", "id", "an"},
}};

// Appended to the whole infinitive (stem + ending).
constexpr PersonEndings kConditionalSuffixes = {
    "\xED"
    "a",
    "\xED"
    "as",
    "\xED"
    "a",
    "\xED"
    "amos",
    "\xED"
    "ais",
    "\xED"
    "an"};

constexpr PersonEndings kPerfectAuxiliaries = {"he ",    "has ",       "ha ",
                                               "hemos ", "hab\xE9is ", "han "};
constexpr PersonEndings kProgressiveAuxiliaries = {"estoy ",   "est\xE1s ",  "est\xE1 ",
                                                   "estamos ", "est\xE1is ", "est\xE1n "};

ConjugationState g_state;

// Where a kind/person takes its regular ending, its stored column and the
// words put in front of the output. `valid` is false for calls that have no
// form (unknown kind, person out of range).
struct FormPlan {
    bool valid = false;
    std::string_view ending;
    std::string_view suffix;
    int field = 0;
    std::string_view prefix;
};

FormPlan PlanForm(int kind, int person, int verbClass) {
    const bool finitePerson = person >= 1 && person <= 6;
    const int p = person - 1;
    switch (kind) {
        case kParticiple:
            return {true, kParticipleEndings[verbClass], {}, kFieldParticiple, {}};
        case kGerund:
            return {true, kGerundEndings[verbClass], {}, kFieldGerund, {}};
        case kImperative:
            if (person < 2 || person > 6) {
                return {};
            }
            return {true, kImperativeEndings[verbClass][p], {}, kFieldImperative + person - 2, {}};
        case kConditional:
            if (!finitePerson) {
                return {};
            }
            return {true, g_state.ending, kConditionalSuffixes[p], kFieldConditional + p, {}};
        case kPreterite:
            if (!finitePerson) {
                return {};
            }
            return {true, kPreteriteEndings[verbClass][p], {}, kFieldPreterite + p, {}};
        case kPresentPerfect:
            if (!finitePerson) {
                return {};
            }
            return {
                true, kParticipleEndings[verbClass], {}, kFieldParticiple, kPerfectAuxiliaries[p]};
        case kPresent:
            if (!finitePerson) {
                return {};
            }
            return {true, kPresentEndings[verbClass][p], {}, kFieldPresent + p, {}};
        case kProgressive:
            if (!finitePerson) {
                return {};
            }
            return {true, kGerundEndings[verbClass], {}, kFieldGerund, kProgressiveAuxiliaries[p]};
        case kFuture:
            if (!finitePerson) {
                return {};
            }
            return {true, kFutureEndings[verbClass][p], {}, kFieldFuture + p, {}};
        default:
            return {};
    }
}

// Splits the current verb into stem and ending and sets its class; a verb that
// does not end in AR, ER or IR (any case) keeps an empty stem and ending and
// class -ar. Returns whether an ending was found.
bool SplitVerb() {
    g_state.stem.clear();
    g_state.ending.clear();
    g_state.verbClass = kClassAr;
    const std::string& verb = g_state.verb;
    const std::size_t n = verb.size();
    if (n < 2 || detail::FoldUpper(verb[n - 1]) != 'R') {
        return false;
    }
    switch (detail::FoldUpper(verb[n - 2])) {
        case 'A':
            g_state.verbClass = kClassAr;
            break;
        case 'E':
            g_state.verbClass = kClassEr;
            break;
        case 'I':
            g_state.verbClass = kClassIr;
            break;
        default:
            return false;
    }
    g_state.stem.assign(verb, 0, n - 2);
    g_state.ending.assign(verb, n - 2, 2);
    return true;
}

}  // namespace

int IsInfinitive(std::string_view word) {
    const std::size_t n = word.size();
    if (n < 2 || detail::FoldUpper(word[n - 1]) != 'R') {
        return 0;
    }
    const char vowel = detail::FoldUpper(word[n - 2]);
    return (vowel == 'A' || vowel == 'E' || vowel == 'I') ? 1 : 0;
}

int ConjugateForm(std::string_view verb, int kind, int person, std::string& output) {
    output.clear();
    g_state.output.clear();
    g_state.verb.resize(verb.size());
    for (std::size_t i = 0; i < verb.size(); ++i) {
        g_state.verb[i] = detail::FoldLower(verb[i]);
    }
    const bool split = SplitVerb();
    g_state.inTable = IsRegularVerb(verb) == 0;

    g_state.sameAsRegular = 0;
    g_state.regularForm.clear();
    g_state.chosenForm.clear();
    const FormPlan plan = PlanForm(kind, person, g_state.verbClass);
    if (!split || !plan.valid) {
        // No form exists for this call: nothing to show, nothing irregular.
        g_state.sameAsRegular = 1;
        return 1;
    }

    g_state.regularForm.assign(g_state.stem).append(plan.ending).append(plan.suffix);
    g_state.chosenForm = g_state.regularForm;
    if (g_state.inTable) {
        const int record = detail::LastMatchingRecord(g_state.verb);
        if (record >= 0) {
            g_state.chosenForm = detail::WorkingField(record, plan.field);
        }
    }
    if (g_state.chosenForm == g_state.regularForm) {
        g_state.sameAsRegular = 1;
    }
    g_state.output.assign(plan.prefix).append(g_state.chosenForm);
    output = g_state.output;
    return g_state.sameAsRegular;
}

const ConjugationState& LastConjugation() {
    return g_state;
}

}  // namespace vervia
