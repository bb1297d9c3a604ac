#include "tenses.h"

#include <array>

#include "conjugator.h"

namespace vervia {
namespace {

constexpr std::array<TenseInfo, 17> kTenses = {{
    {kConditional, "Podmiňovací", "condicional simple", 1},
    {kImperative, "Rozkazovací", "imperativo afirmativo", 2},
    {kPreterite, "Minulý", "pretérito perfecto simple", 1},
    {kPresentPerfect, "Předpřítomný", "pretérito perfecto compuesto", 1},
    {kPresent, "Přítomný", "presente de indicativo", 1},
    {kProgressive, "Průběhový", "presente progresivo", 1},
    {kFuture, "Budoucí", "futuro simple", 1},
    {kImperfect, "Imperfektum", "pretérito imperfecto", 1},
    {kPluperfect, "Předminulý", "pretérito pluscuamperfecto", 1},
    {kFuturePerfect, "Předbudoucí", "futuro perfecto", 1},
    {kConditionalPerfect, "Podmiňovací minulý", "condicional compuesto", 1},
    {kPresentSubjunctive, "Subjunktiv přítomný", "presente de subjuntivo", 1},
    {kImperfectSubjunctiveRa, "Subjunktiv minulý (-ra)", "pretérito imperfecto de subjuntivo (-ra)",
     1},
    {kImperfectSubjunctiveSe, "Subjunktiv minulý (-se)", "pretérito imperfecto de subjuntivo (-se)",
     1},
    {kPerfectSubjunctive, "Subjunktiv předpřítomný", "pretérito perfecto de subjuntivo", 1},
    {kPluperfectSubjunctive, "Subjunktiv předminulý", "pretérito pluscuamperfecto de subjuntivo",
     1},
    {kNegativeImperative, "Záporný rozkaz", "imperativo negativo", 2},
}};

}  // namespace

std::span<const TenseInfo> Tenses() {
    return kTenses;
}

const TenseInfo* FindTense(int code) {
    for (const TenseInfo& tense : kTenses) {
        if (tense.code == code) {
            return &tense;
        }
    }
    return nullptr;
}

}  // namespace vervia
