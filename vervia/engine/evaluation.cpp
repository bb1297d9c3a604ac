#include "evaluation.h"

#include "conjugator.h"
#include "irregular_verb_table.h"
#include "text_encoding.h"
#include "verb_plan.h"

namespace vervia {
namespace {

constexpr std::array<std::string_view, 6> kPersonLabels = {"Yo",       "Tu",       "El/Ella",
                                                           "Nosotros", "Vosotros", "Ellos/Ellas"};

// The working values of one evaluation, kept between calls so that their
// buffers are reused.
struct Workspace {
    std::string engineText;
    std::string infinitive;
    detail::VerbPlan plan;
    std::array<std::string, detail::kPlanFieldCount> forms;
    std::array<bool, detail::kPlanFieldCount> built{};
    std::array<signed char, detail::kPlanFieldCount> differs{};  // -1 not compared yet
    std::string reference;
    std::string composed;
};

Workspace g_work;

const std::string& FieldForm(int field) {
    if (!g_work.built[field]) {
        detail::BuildField(g_work.plan, field, g_work.forms[field]);
        g_work.built[field] = true;
    }
    return g_work.forms[field];
}

bool DiffersFromReference(int field) {
    if (g_work.plan.kind == detail::VerbKind::kRegular) {
        return false;  // its forms are the spelled regular ones
    }
    if (g_work.differs[field] < 0) {
        detail::BuildReference(g_work.plan, field, g_work.reference);
        g_work.differs[field] = FieldForm(field) != g_work.reference ? 1 : 0;
    }
    return g_work.differs[field] == 1;
}

// A verb outside the table is irregular when any of its forms is.
int RegularityOfDerived() {
    for (int field = 1; field < detail::kPlanFieldCount; ++field) {
        if (DiffersFromReference(field)) {
            return kIrregular;
        }
    }
    return kRegular;
}

}  // namespace

std::array<FormSlot, kShownFormCount> ShownSlots(int tense) {
    std::array<FormSlot, kShownFormCount> slots{};
    std::size_t i = 0;
    slots[i++] = {kParticiple, 0};
    slots[i++] = {kGerund, 0};
    for (int person = 1; person <= 6; ++person) {
        slots[i++] = {tense, person};
    }
    for (int person = 2; person <= 6; ++person) {
        slots[i++] = {kImperative, person};
    }
    for (int person = 1; person <= 6; ++person) {
        slots[i++] = {kConditional, person};
    }
    return slots;
}

std::array<FormSlot, 43> AllSlots() {
    std::array<FormSlot, 43> slots{};
    std::size_t i = 0;
    slots[i++] = {kParticiple, 0};
    slots[i++] = {kGerund, 0};
    for (int person = 2; person <= 6; ++person) {
        slots[i++] = {kImperative, person};
    }
    for (int kind : {kConditional, kPreterite, kPresentPerfect, kPresent, kProgressive, kFuture}) {
        for (int person = 1; person <= 6; ++person) {
            slots[i++] = {kind, person};
        }
    }
    return slots;
}

void Evaluate(std::string_view typed, const FormSlot* slots, std::size_t count,
              Evaluation& result) {
    result.forms.clear();
    result.regularity = kNoVerb;
    g_work.engineText = ToEngineText(typed);
    bool reflexive = false;
    result.valid = detail::ReadInfinitive(g_work.engineText, g_work.infinitive, reflexive);
    if (!result.valid) {
        return;
    }
    detail::PlanVerb(g_work.infinitive, reflexive, g_work.plan);
    g_work.built.fill(false);
    g_work.differs.fill(-1);
    const bool table = g_work.plan.kind == detail::VerbKind::kTable;
    result.regularity = table ? kIrregular : RegularityOfDerived();

    result.forms.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        EvaluatedForm& shown = result.forms[i];
        shown.slot = slots[i];
        const int field = detail::FieldOf(slots[i].kind, slots[i].person);
        if (field < 0) {
            shown.text.clear();
            shown.sameAsRegular = 1;
            continue;
        }
        const std::string& form = FieldForm(field);
        shown.sameAsRegular = DiffersFromReference(field) ? 0 : 1;
        detail::ComposeForm(g_work.plan, slots[i].kind, slots[i].person, form, g_work.composed);
        shown.text = ToDisplayText(g_work.composed);
    }
}

Evaluation EvaluateShown(std::string_view typed, int tense) {
    const auto slots = ShownSlots(tense);
    Evaluation result;
    Evaluate(typed, slots.data(), slots.size(), result);
    return result;
}

Evaluation EvaluateAll(std::string_view typed) {
    const auto slots = AllSlots();
    Evaluation result;
    Evaluate(typed, slots.data(), slots.size(), result);
    return result;
}

std::string_view PersonLabel(int person) {
    return person >= 1 && person <= 6 ? kPersonLabels[person - 1] : std::string_view();
}

std::string_view TenseName(int tense) {
    switch (tense) {
        case kPreterite:
            return "Minulý";
        case kPresentPerfect:
            return "Předpřítomný";
        case kPresent:
            return "Přítomný";
        case kProgressive:
            return "Průběhový";
        case kFuture:
            return "Budoucí";
        default:
            return {};
    }
}

std::string_view RegularityText(int regularity) {
    switch (regularity) {
        case kIrregular:
            return "nepravidelné";
        case kRegular:
            return "pravidelné";
        default:
            return {};
    }
}

}  // namespace vervia
