#pragma once
// One evaluation of a verb for the trainer's window and the command line:
// the verb as typed (UTF-8) and the tense in; the shown forms in
// their fixed order, each with its same-as-regular flag, and the regularity
// out. The order of the forms, the person labels and the tense names live
// here so that every front end shows the same. Single-threaded, like the
// engine; LoadIrregularVerbs must have run.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vervia {

// One requested form: a FormKind and a person (0 for the participle and the
// gerund).
struct FormSlot {
    int kind;
    int person;
};

inline constexpr int kShownFormCount = 19;

// The forms a window shows for `tense` (10..25), in this order: participle,
// gerund, the tense with persons 1..6, the imperative with persons 2..6, the
// conditional with persons 1..6.
std::array<FormSlot, kShownFormCount> ShownSlots(int tense);

// Every form of a verb, 43 in all: participle, gerund, imperative 2..6,
// conditional, preterite, present perfect, present, progressive and future
// with persons 1..6.
std::array<FormSlot, 43> AllSlots();

struct EvaluatedForm {
    FormSlot slot{};
    std::string text;       // UTF-8, ñ as ñ
    int sameAsRegular = 1;  // 0: shown in bold
};

// The regularity label's value: 0 nepravidelné, 1 pravidelné, 2 empty.
enum Regularity : int { kIrregular = 0, kRegular = 1, kNoVerb = 2 };

struct Evaluation {
    bool valid = false;  // the text is a Spanish infinitive (reflexive or not)
    int regularity = kNoVerb;
    std::vector<EvaluatedForm> forms;  // empty when not valid
};

// Evaluates the forms of `slots` for the typed verb. A table verb is
// irregular; any other verb is irregular when one of its forms differs from
// its spelled regular form.
void Evaluate(std::string_view typed, const FormSlot* slots, std::size_t count, Evaluation& result);

// The window's 19 forms for `tense`.
Evaluation EvaluateShown(std::string_view typed, int tense);

// All 43 forms.
Evaluation EvaluateAll(std::string_view typed);

// "Yo", "Tu", "El/Ella", "Nosotros", "Vosotros", "Ellos/Ellas" for 1..6.
std::string_view PersonLabel(int person);

// "Minulý", "Předpřítomný", "Přítomný", "Průběhový", "Budoucí" for 10..14;
// empty for anything else.
std::string_view TenseName(int tense);

// "nepravidelné", "pravidelné" or empty.
std::string_view RegularityText(int regularity);

// The fixed text of the imperative's first person.
inline constexpr std::string_view kNoImperative = "není definován";

}  // namespace vervia
