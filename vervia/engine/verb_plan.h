#pragma once
// How the conjugator builds the forms of one verb: what a learner typed,
// read as an infinitive, and the kind of verb it is (one of the 212 table
// verbs, a further irregular verb of the data file, a compound of a table
// verb, or a regular verb), with everything its forms are built from. Forms
// are addressed by the field numbers of the table's records (1..31) and,
// for the tenses the table does not store, by those of tense_forms.h (32..55). Text is
// Windows-1250 bytes; not part of the public interface.

#include <cstdint>
#include <string>
#include <string_view>

#include "further_verbs.h"
#include "spelling.h"
#include "tense_forms.h"

namespace vervia::detail {

enum class VerbKind : std::uint8_t {
    kTable,     // one of the 212 stored verbs
    kListed,    // a further irregular verb with a stem model (acordar, confiar)
    kCompound,  // a table verb with another beginning (componer, aducir)
    kRegular,   // the regular rules, spelled as Spanish spells them
};

struct VerbPlan {
    VerbKind kind = VerbKind::kRegular;
    bool reflexive = false;
    std::string infinitive;  // folded, without "se"; -ír written -ir as the table does (oir)
    std::string stem;
    std::string ending;  // "ar", "er" or "ir"
    int verbClass = 0;   // 0 -ar, 1 -er, 2 -ir
    spelling::StemChange change = spelling::StemChange::kNone;
    VerbModel model = VerbModel::kRegular;  // kListed
    int record = -1;                        // kTable: the record; kCompound: the base's record
    std::size_t prefixLength = 0;           // kCompound: letters before the base's part
    std::size_t drop = 0;   // kCompound: leading letters of the base's forms replaced
    bool sayDice = false;   // a compound of decir: tú imperative "-dice"
    bool baseIsIr = false;  // irse: vámonos, idos
};

// Reads what a learner typed as an infinitive: blanks around it are dropped,
// every letter is folded to lower case (accented capitals and Ñ included), a
// reflexive "se" is taken off and "-ír" is read as the table's "-ir" (oír).
// False when the text is not a Spanish
// infinitive: it must end in -ar, -er or -ir (or -ír), with or without se, and
// hold letters only.
bool ReadInfinitive(std::string_view typed, std::string& infinitive, bool& reflexive);

// Plans `infinitive` as read by ReadInfinitive.
void PlanVerb(std::string_view infinitive, bool reflexive, VerbPlan& plan);

// The form of field 1..55, without pronoun or auxiliary.
void BuildField(const VerbPlan& plan, int field, std::string& out);

// The regular form the field is compared with: the plain regular rules for a
// table verb, the spelled regular form for every other verb.
void BuildReference(const VerbPlan& plan, int field, std::string& out);

// The record field a FormKind and person take their form from, or -1 when
// the call has no form (an imperative of person 1, a person out of range, an
// unknown kind).
int FieldOf(int kind, int person);

// The shown text of a form: for a reflexive verb its pronoun (me levanto,
// levántate, levantándose), for the compound tenses and the progressive the
// auxiliary (he levantado, me estoy levantando, se hubiera levantado), for the
// negative imperative its "no" (no te levantes).
void ComposeForm(const VerbPlan& plan, int kind, int person, std::string_view form,
                 std::string& out);

// The plain regular ending of a field for a class; the future and the
// conditional endings start with the infinitive's ending (aré, aría), the
// imperfect subjunctive's with the preterite's (ara, iera).
std::string_view RegularEnding(int field, int verbClass);

}  // namespace vervia::detail
