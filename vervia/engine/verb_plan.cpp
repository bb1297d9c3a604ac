#include "verb_plan.h"

#include <algorithm>
#include <array>

#include "irregular_verb_table.h"
#include "text_encoding.h"
#include "verb_store.h"

namespace vervia::detail {
namespace {

using PersonEndings = std::array<std::string_view, 6>;

// Endings by field, for -ar, -er and -ir (Windows-1250: á 0xE1, é 0xE9,
// í 0xED, ó 0xF3).
constexpr std::array<std::string_view, 3> kParticiple = {"ado", "ido", "ido"};
constexpr std::array<std::string_view, 3> kGerund = {"ando", "iendo", "iendo"};
constexpr std::array<std::array<std::string_view, 5>, 3> kImperative = {{
    {"a", "e", "emos", "ad", "en"},
    {"e", "a", "amos", "ed", "an"},
    {"e", "a", "amos", "id", "an"},
}};
constexpr std::array<PersonEndings, 3> kPreterite = {{
    {"\xE9", "aste", "\xF3", "amos", "asteis", "aron"},
    {"\xED", "iste", "i\xF3", "imos", "isteis", "ieron"},
    {"\xED", "iste", "i\xF3", "imos", "isteis", "ieron"},
}};
constexpr std::array<PersonEndings, 3> kPresent = {{
    {"o", "as", "a", "amos", "\xE1is", "an"},
    {"o", "es", "e", "emos", "\xE9is", "en"},
    {"o", "es", "e", "imos", "\xEDs", "en"},
}};
constexpr std::array<PersonEndings, 3> kFuture = {{
    {"ar\xE9", "ar\xE1s", "ar\xE1", "aremos", "ar\xE9is", "ar\xE1n"},
    {"er\xE9", "er\xE1s", "er\xE1", "eremos", "er\xE9is", "er\xE1n"},
    {"ir\xE9", "ir\xE1s", "ir\xE1", "iremos", "ir\xE9is", "ir\xE1n"},
}};
constexpr std::array<PersonEndings, 3> kConditional = {{
    {"ar\xED"
     "a",
     "ar\xED"
     "as",
     "ar\xED"
     "a",
     "ar\xED"
     "amos",
     "ar\xED"
     "ais",
     "ar\xED"
     "an"},
    {"er\xED"
     "a",
     "er\xED"
     "as",
     "er\xED"
     "a",
     "er\xED"
     "amos",
     "er\xED"
     "ais",
     "er\xED"
     "an"},
    {"ir\xED"
     "a",
     "ir\xED"
     "as",
     "ir\xED"
     "a",
     "ir\xED"
     "amos",
     "ir\xED"
     "ais",
     "ir\xED"
     "an"},
}};

constexpr std::array<PersonEndings, 3> kImperfect = {{
    {"aba", "abas", "aba",
     "\xE1"
     "bamos",
     "abais", "aban"},
    {"\xED"
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
     "an"},
    {"\xED"
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
     "an"},
}};
constexpr std::array<PersonEndings, 3> kSubjunctive = {{
    {"e", "es", "e", "emos", "\xE9is", "en"},
    {"a", "as", "a", "amos", "\xE1is", "an"},
    {"a", "as", "a", "amos", "\xE1is", "an"},
}};
constexpr std::array<PersonEndings, 3> kSubjunctiveRa = {{
    {"ara", "aras", "ara",
     "\xE1"
     "ramos",
     "arais", "aran"},
    {"iera", "ieras", "iera",
     "i\xE9"
     "ramos",
     "ierais", "ieran"},
    {"iera", "ieras", "iera",
     "i\xE9"
     "ramos",
     "ierais", "ieran"},
}};
constexpr std::array<PersonEndings, 3> kSubjunctiveSe = {{
    {"ase", "ases", "ase",
     "\xE1"
     "semos",
     "aseis", "asen"},
    {"iese", "ieses", "iese",
     "i\xE9"
     "semos",
     "ieseis", "iesen"},
    {"iese", "ieses", "iese",
     "i\xE9"
     "semos",
     "ieseis", "iesen"},
}};

// Prefixes that make a compound of a table verb (componer, sostener,
// desavenir); a compound may stack up to three of them.
constexpr std::array<std::string_view, 50> kPrefixes = {
    "a",     "ab",    "abs",    "ad",  "ante", "anti",  "auto", "bien", "circun", "co",
    "com",   "con",   "contra", "cor", "de",   "des",   "di",   "dis",  "e",      "em",
    "en",    "entre", "equi",   "es",  "ex",   "extra", "im",   "in",   "inter",  "intro",
    "mal",   "man",   "o",      "ob",  "pos",  "post",  "pre",  "pro",  "re",     "retro",
    "sobre", "so",    "sos",    "sub", "subs", "super", "su",   "sus",  "tras",   "trans"};
constexpr int kMaxStackedPrefixes = 3;

// Which bytes begin a prefix.
constexpr std::array<bool, 256> kPrefixFirstLetters = [] {
    std::array<bool, 256> first{};
    for (std::string_view prefix : kPrefixes) {
        first[static_cast<unsigned char>(prefix.front())] = true;
    }
    return first;
}();

// Table verbs whose look-alikes with a prefix are other, regular verbs
// (conjugar, interrogar, corromper, mandar, coser) or that have no compounds.
constexpr std::array<std::string_view, 9> kNoCompounds = {"dar",   "errar", "estar",  "haber", "ir",
                                                          "jugar", "rogar", "romper", "ser"};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\xA0';
}

bool IsLetterByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 'a' && b <= 'z') || b >= 0x80;
}

bool IsVerbVowel(char c) {
    return c == 'a' || c == 'e' || c == 'i';
}

// The record of a table infinitive, or -1.
int TableRecord(std::string_view word) {
    return word.empty() ? -1 : LastMatchingRecord(word);
}

// Finds a stack of prefixes (one tried before two, two before three) that
// leaves a table verb as the rest of `word`, searching from `start`; its
// length goes to `length`, the table verb's record to `record`.
bool FindPrefixedBase(std::string_view word, std::size_t start, int depth, std::size_t& length,
                      int& record) {
    // Most verbs start with no prefix at all: look at the first letter before
    // comparing any prefix.
    if (depth == kMaxStackedPrefixes || start >= word.size() ||
        !kPrefixFirstLetters[static_cast<unsigned char>(word[start])]) {
        return false;
    }
    for (std::string_view prefix : kPrefixes) {
        if (word.substr(start).starts_with(prefix) && start + prefix.size() < word.size()) {
            const std::size_t end = start + prefix.size();
            const std::string_view base = word.substr(end);
            const int found = TableRecord(base);
            const bool allowed =
                std::find(kNoCompounds.begin(), kNoCompounds.end(), base) == kNoCompounds.end();
            if (found >= 0 && allowed) {
                length = end;
                record = found;
                return true;
            }
        }
    }
    for (std::string_view prefix : kPrefixes) {
        if (word.substr(start).starts_with(prefix) &&
            FindPrefixedBase(word, start + prefix.size(), depth + 1, length, record)) {
            return true;
        }
    }
    return false;
}

// Makes `plan` a compound of the table verb `base` sharing the longest
// common ending with the infinitive (tropezar like empezar: tro + [em]pezar).
bool MakeLikeCompound(VerbPlan& plan, std::string_view base) {
    const int record = TableRecord(base);
    if (record < 0) {
        return false;
    }
    const std::string& verb = plan.infinitive;
    std::size_t common = 0;
    while (common < verb.size() && common < base.size() &&
           verb[verb.size() - 1 - common] == base[base.size() - 1 - common]) {
        ++common;
    }
    plan.kind = VerbKind::kCompound;
    plan.record = record;
    plan.prefixLength = verb.size() - common;
    plan.drop = base.size() - common;
    plan.sayDice = base == "decir";
    return true;
}

bool IsStressedField(int field) {
    // present yo, tú, él, ellos; imperative tú, usted, ustedes; the same
    // persons of the present subjunctive
    return (field >= kFieldPresent && field <= kFieldPresent + 2) || field == kFieldPresent + 5 ||
           field == kFieldImperative || field == kFieldImperative + 1 ||
           field == kFieldImperative + 4 ||
           (field >= kFieldSubjunctive && field <= kFieldSubjunctive + 2) ||
           field == kFieldSubjunctive + 5;
}

// The -ir forms whose unstressed e or o still closes (sintió, durmiendo,
// pidamos, sintáis).
bool IsClosedIrField(int field) {
    return field == kFieldGerund || field == kFieldImperative + 2 || field == kFieldPreterite + 2 ||
           field == kFieldPreterite + 5 || field == kFieldSubjunctive + 3 ||
           field == kFieldSubjunctive + 4;
}

// Replaces the last `vowel` of the stem by `with`.
void ChangeLastVowel(std::string& stem, char vowel, std::string_view with) {
    const std::size_t at = stem.rfind(vowel);
    if (at == std::string::npos) {
        return;
    }
    std::string replacement(with);
    if (at == 0 && with == "ie") {
        replacement = "ye";  // errar -> yerro
    } else if (at == 0 && with == "ue") {
        replacement = "hue";  // oler -> huelo
    } else if (with == "ue" && at > 0 && stem[at - 1] == 'g') {
        replacement =
            "\xFC"
            "e";  // degollar -> degüello
    }
    stem.replace(at, 1, replacement);
}

// Puts the stress and its accent on the stem's last pronounced i or u.
void StressLastWeakVowel(std::string& stem) {
    for (std::size_t i = stem.size(); i-- > 0;) {
        const bool silentU = stem[i] == 'u' && i > 0 && (stem[i - 1] == 'g' || stem[i - 1] == 'q');
        if (stem[i] == 'i' || (stem[i] == 'u' && !silentU)) {
            stem[i] = stem[i] == 'i' ? '\xED' : '\xFA';
            return;
        }
    }
}

// The stem a listed verb's model gives for a field.
std::string ModelStem(const VerbPlan& plan, int field) {
    std::string stem = plan.stem;
    const bool stressed = IsStressedField(field);
    const bool closed = plan.verbClass == 2 && IsClosedIrField(field);
    switch (plan.model) {
        case VerbModel::kEToIe:
            if (stressed) {
                ChangeLastVowel(stem, 'e', "ie");
            } else if (closed) {
                ChangeLastVowel(stem, 'e', "i");
            }
            break;
        case VerbModel::kOToUe:
            if (stressed) {
                ChangeLastVowel(stem, 'o', "ue");
            } else if (closed) {
                ChangeLastVowel(stem, 'o', "u");
            }
            break;
        case VerbModel::kEToI:
            if (stressed || closed) {
                ChangeLastVowel(stem, 'e', "i");
            }
            break;
        case VerbModel::kIToIe:
            if (stressed) {
                ChangeLastVowel(stem, 'i', "ie");
            }
            break;
        case VerbModel::kUToUe:
            if (stressed) {
                ChangeLastVowel(stem, 'u', "ue");
            }
            break;
        case VerbModel::kHiatus:
            if (stressed) {
                StressLastWeakVowel(stem);
            }
            break;
        case VerbModel::kRegular:
        case VerbModel::kLike:
            break;
    }
    return stem;
}

bool IsFutureField(int field) {
    return field >= kFieldFuture && field < kFieldCount;  // the future and the conditional
}

void AppendSpelledField(const VerbPlan& plan, std::string_view stem, int field, std::string& out) {
    const std::string_view ending = RegularEnding(field, plan.verbClass);
    if (IsFutureField(field)) {
        out.append(plan.stem).append(ending);  // built on the whole infinitive
    } else {
        spelling::AppendSpelled(out, stem, ending, plan.change);
    }
}

}  // namespace

std::string_view RegularEnding(int field, int verbClass) {
    if (field == kFieldParticiple) {
        return kParticiple[verbClass];
    }
    if (field == kFieldGerund) {
        return kGerund[verbClass];
    }
    if (field >= kFieldImperative && field < kFieldPreterite) {
        return kImperative[verbClass][field - kFieldImperative];
    }
    if (field >= kFieldPreterite && field < kFieldPresent) {
        return kPreterite[verbClass][field - kFieldPreterite];
    }
    if (field >= kFieldPresent && field < kFieldFuture) {
        return kPresent[verbClass][field - kFieldPresent];
    }
    if (field >= kFieldFuture && field < kFieldConditional) {
        return kFuture[verbClass][field - kFieldFuture];
    }
    if (field >= kFieldConditional && field < kFieldCount) {
        return kConditional[verbClass][field - kFieldConditional];
    }
    if (field >= kFieldImperfect && field < kFieldSubjunctive) {
        return kImperfect[verbClass][field - kFieldImperfect];
    }
    if (field >= kFieldSubjunctive && field < kFieldSubjunctiveRa) {
        return kSubjunctive[verbClass][field - kFieldSubjunctive];
    }
    if (field >= kFieldSubjunctiveRa && field < kFieldSubjunctiveSe) {
        return kSubjunctiveRa[verbClass][field - kFieldSubjunctiveRa];
    }
    if (field >= kFieldSubjunctiveSe && field < kPlanFieldCount) {
        return kSubjunctiveSe[verbClass][field - kFieldSubjunctiveSe];
    }
    return {};
}

bool ReadInfinitive(std::string_view typed, std::string& infinitive, bool& reflexive) {
    while (!typed.empty() && IsBlank(typed.front())) {
        typed.remove_prefix(1);
    }
    while (!typed.empty() && IsBlank(typed.back())) {
        typed.remove_suffix(1);
    }
    infinitive.resize(typed.size());
    for (std::size_t i = 0; i < typed.size(); ++i) {
        infinitive[i] = FoldLetter(typed[i]);
        if (!IsLetterByte(infinitive[i])) {
            return false;
        }
    }
    const std::size_t n = infinitive.size();
    reflexive = n >= 4 && infinitive.ends_with("se") && infinitive[n - 3] == 'r';
    if (reflexive) {
        infinitive.resize(n - 2);
    }
    const std::size_t m = infinitive.size();
    if (m < 2 || infinitive[m - 1] != 'r') {
        return false;
    }
    if (infinitive[m - 2] == '\xED') {
        infinitive[m - 2] = 'i';  // oír, reír: the table writes oir, reir
    }
    if (!IsVerbVowel(infinitive[m - 2])) {
        return false;
    }
    return true;
}

void PlanVerb(std::string_view infinitive, bool reflexive, VerbPlan& plan) {
    // Reset field by field so that the strings keep their buffers.
    plan.kind = VerbKind::kRegular;
    plan.model = VerbModel::kRegular;
    plan.record = -1;
    plan.prefixLength = 0;
    plan.drop = 0;
    plan.sayDice = false;
    plan.reflexive = reflexive;
    plan.infinitive.assign(infinitive);
    const std::size_t n = infinitive.size();
    plan.stem.assign(infinitive.substr(0, n - 2));
    plan.ending.assign(infinitive.substr(n - 2));
    plan.verbClass = plan.ending[0] == 'a' ? 0 : plan.ending[0] == 'e' ? 1 : 2;
    plan.change = spelling::ChangeOf(plan.stem, plan.verbClass);
    plan.baseIsIr = infinitive == "ir";

    // The table stores distinguir as distingir; its forms are those of distinguir.
    plan.record = TableRecord(infinitive == "distinguir" ? "distingir" : infinitive);
    if (plan.record >= 0) {
        plan.kind = VerbKind::kTable;
        return;
    }
    if (const FurtherVerb* listed = FindFurtherVerb(infinitive)) {
        if (listed->model == VerbModel::kLike && MakeLikeCompound(plan, listed->like)) {
            return;
        }
        plan.model = listed->model;
        plan.kind = listed->model == VerbModel::kRegular ? VerbKind::kRegular : VerbKind::kListed;
        return;
    }
    std::size_t length = 0;
    int record = -1;
    if (FindPrefixedBase(infinitive, 0, 0, length, record)) {
        plan.kind = VerbKind::kCompound;
        plan.record = record;
        plan.prefixLength = length;
        plan.sayDice = infinitive.substr(length) == "decir";
        return;
    }
    if (const FurtherVerb* family = FindFurtherFamily(infinitive)) {
        MakeLikeCompound(plan, family->like);
    }
}

namespace {

// A table verb's form in any field, stored or built from the stored ones.
std::string_view TableForm(int record, int field) {
    return field < kFieldCount ? WorkingField(record, field) : TableTenseForm(record, field);
}

// The ellos preterite that the imperfect subjunctive of a verb outside the
// table is built on (sintieron: sintiera), kept between calls.
std::string g_preteriteEllos;

}  // namespace

void BuildField(const VerbPlan& plan, int field, std::string& out) {
    out.clear();
    if (field == kFieldInfinitive) {
        out = plan.infinitive;
        return;
    }
    switch (plan.kind) {
        case VerbKind::kTable:
            out.assign(TableForm(plan.record, field));
            return;
        case VerbKind::kCompound: {
            const std::string_view prefix =
                std::string_view(plan.infinitive).substr(0, plan.prefixLength);
            if (plan.sayDice && field == kFieldImperative) {
                out = spelling::CompoundWord(prefix, "dice", 0);  // predice, not predí
            } else {
                out = spelling::CompoundWord(prefix, TableForm(plan.record, field), plan.drop);
            }
            return;
        }
        case VerbKind::kListed:
        case VerbKind::kRegular:
            if (IsImperfectSubjunctiveField(field)) {
                BuildField(plan, kFieldPreterite + 5, g_preteriteEllos);
                AppendImperfectSubjunctive(out, g_preteriteEllos, field);
            } else if (plan.kind == VerbKind::kListed) {
                AppendSpelledField(plan, ModelStem(plan, field), field, out);
            } else {
                AppendSpelledField(plan, plan.stem, field, out);
            }
            return;
    }
}

void BuildReference(const VerbPlan& plan, int field, std::string& out) {
    out.clear();
    if (field == kFieldInfinitive) {
        out = plan.infinitive;
    } else if (plan.kind == VerbKind::kTable) {
        out.append(plan.stem).append(RegularEnding(field, plan.verbClass));
    } else if (IsImperfectSubjunctiveField(field)) {
        BuildReference(plan, kFieldPreterite + 5, g_preteriteEllos);
        AppendImperfectSubjunctive(out, g_preteriteEllos, field);
    } else {
        AppendSpelledField(plan, plan.stem, field, out);
    }
}

int FieldOf(int kind, int person) {
    const bool finite = person >= 1 && person <= 6;
    switch (kind) {
        case 0:   // participle
        case 11:  // present perfect: auxiliary + participle
            return kind == 0 || finite ? kFieldParticiple : -1;
        case 1:   // gerund
        case 13:  // progressive: estar + gerund
            return kind == 1 || finite ? kFieldGerund : -1;
        case 2:  // imperative, persons 2..6
            return person >= 2 && person <= 6 ? kFieldImperative + person - 2 : -1;
        case 3:
            return finite ? kFieldConditional + person - 1 : -1;
        case 10:
            return finite ? kFieldPreterite + person - 1 : -1;
        case 12:
            return finite ? kFieldPresent + person - 1 : -1;
        case 14:
            return finite ? kFieldFuture + person - 1 : -1;
        case 15:
            return finite ? kFieldImperfect + person - 1 : -1;
        case 16:  // the compound tenses: a form of haber + participle
        case 17:
        case 18:
        case 23:
        case 24:
            return finite ? kFieldParticiple : -1;
        case 20:
            return finite ? kFieldSubjunctive + person - 1 : -1;
        case 21:
            return finite ? kFieldSubjunctiveRa + person - 1 : -1;
        case 22:
            return finite ? kFieldSubjunctiveSe + person - 1 : -1;
        case 25:  // no + the present subjunctive, persons 2..6
            return person >= 2 && person <= 6 ? kFieldSubjunctive + person - 1 : -1;
        default:
            return -1;
    }
}

namespace {

constexpr PersonEndings kPerfectAuxiliaries = {"he ",    "has ",       "ha ",
                                               "hemos ", "hab\xE9is ", "han "};
constexpr PersonEndings kProgressiveAuxiliaries = {"estoy ",   "est\xE1s ",  "est\xE1 ",
                                                   "estamos ", "est\xE1is ", "est\xE1n "};
constexpr PersonEndings kPronouns = {"me", "te", "se", "nos", "os", "se"};

// The forms of haber in front of the participle, by kind (16, 17, 18, 23, 24).
constexpr PersonEndings kPluperfectAuxiliaries = {
    "hab\xED"
    "a ",
    "hab\xED"
    "as ",
    "hab\xED"
    "a ",
    "hab\xED"
    "amos ",
    "hab\xED"
    "ais ",
    "hab\xED"
    "an "};
constexpr PersonEndings kFuturePerfectAuxiliaries = {"habr\xE9 ", "habr\xE1s ",  "habr\xE1 ",
                                                     "habremos ", "habr\xE9is ", "habr\xE1n "};
constexpr PersonEndings kConditionalPerfectAuxiliaries = {
    "habr\xED"
    "a ",
    "habr\xED"
    "as ",
    "habr\xED"
    "a ",
    "habr\xED"
    "amos ",
    "habr\xED"
    "ais ",
    "habr\xED"
    "an "};
constexpr PersonEndings kPerfectSubjunctiveAuxiliaries = {"haya ",    "hayas ",     "haya ",
                                                          "hayamos ", "hay\xE1is ", "hayan "};
constexpr PersonEndings kPluperfectSubjunctiveAuxiliaries = {
    "hubiera ", "hubieras ", "hubiera ", "hubi\xE9ramos ", "hubierais ", "hubieran "};

// The words in front of the form of a compound tense or the progressive, or null.
const PersonEndings* AuxiliariesOf(int kind) {
    switch (kind) {
        case 11:
            return &kPerfectAuxiliaries;
        case 13:
            return &kProgressiveAuxiliaries;
        case 16:
            return &kPluperfectAuxiliaries;
        case 17:
            return &kFuturePerfectAuxiliaries;
        case 18:
            return &kConditionalPerfectAuxiliaries;
        case 23:
            return &kPerfectSubjunctiveAuxiliaries;
        case 24:
            return &kPluperfectSubjunctiveAuxiliaries;
        default:
            return nullptr;
    }
}

// The affirmative imperative with its pronoun attached: levántate,
// levántese, levantémonos, levantaos, levántense.
std::string ImperativeWithPronoun(const VerbPlan& plan, int person, std::string_view form) {
    if (form.empty()) {
        return {};
    }
    if (plan.baseIsIr && person == 4) {
        return "v\xE1monos";
    }
    if (plan.baseIsIr && person == 5) {
        return "idos";
    }
    switch (person) {
        case 4:
            return spelling::AttachPronoun(form, 1, "nos");  // levantemos -> levantémonos
        case 5:
            return spelling::AttachPronoun(form, 1, "os");  // levantad -> levantaos
        default:
            return spelling::AttachPronoun(form, 0, kPronouns[person - 1]);
    }
}

}  // namespace

void ComposeForm(const VerbPlan& plan, int kind, int person, std::string_view form,
                 std::string& out) {
    out.clear();
    const bool finite = person >= 1 && person <= 6;
    if (plan.reflexive && kind == 2) {
        out = ImperativeWithPronoun(plan, person, form);
        return;
    }
    if (plan.reflexive && kind == 1) {
        out = spelling::AttachPronoun(form, 0, "se");
        return;
    }
    if (kind == 25) {
        if (person < 2 || person > 6) {
            return;
        }
        out.append("no ");
    }
    if (plan.reflexive && finite && kind >= 3) {
        out.append(kPronouns[person - 1]).push_back(' ');
    }
    if (const PersonEndings* auxiliaries = AuxiliariesOf(kind); auxiliaries && finite) {
        out.append((*auxiliaries)[person - 1]);
    }
    out.append(form);
}

}  // namespace vervia::detail
