#include "conjugator.h"

#include "verb_plan.h"

namespace vervia {
namespace {

ConjugationState g_state;
detail::VerbPlan g_plan;

}  // namespace

int IsInfinitive(std::string_view word) {
    std::string infinitive;
    bool reflexive = false;
    return detail::ReadInfinitive(word, infinitive, reflexive) ? 1 : 0;
}

int ConjugateForm(std::string_view verb, int kind, int person, std::string& output) {
    output.clear();
    g_state.output.clear();
    g_state.stem.clear();
    g_state.ending.clear();
    g_state.verbClass = kClassAr;
    g_state.regularForm.clear();
    g_state.chosenForm.clear();
    g_state.sameAsRegular = 1;
    bool reflexive = false;
    const bool infinitive = detail::ReadInfinitive(verb, g_state.verb, reflexive);
    if (!infinitive) {
        // Nothing to build from: no form, nothing irregular.
        g_state.inTable = false;
        return 1;
    }
    detail::PlanVerb(g_state.verb, reflexive, g_plan);
    g_state.stem = g_plan.stem;
    g_state.ending = g_plan.ending;
    g_state.verbClass = g_plan.verbClass;
    g_state.inTable = g_plan.kind == detail::VerbKind::kTable;
    const int field = detail::FieldOf(kind, person);
    if (field < 0) {
        return 1;
    }
    detail::BuildField(g_plan, field, g_state.chosenForm);
    if (g_plan.kind == detail::VerbKind::kRegular) {
        g_state.regularForm = g_state.chosenForm;  // built by the same rules
    } else {
        detail::BuildReference(g_plan, field, g_state.regularForm);
    }
    g_state.sameAsRegular = g_state.chosenForm == g_state.regularForm ? 1 : 0;
    detail::ComposeForm(g_plan, kind, person, g_state.chosenForm, g_state.output);
    output = g_state.output;
    return g_state.sameAsRegular;
}

const ConjugationState& LastConjugation() {
    return g_state;
}

}  // namespace vervia
