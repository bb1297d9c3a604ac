#include "tense_forms.h"

#include <array>
#include <vector>

#include "conjugator.h"
#include "irregular_verb_table.h"
#include "spelling.h"
#include "tense_exceptions.h"
#include "verb_plan.h"

namespace vervia::detail {
namespace {

constexpr int kTenseFieldCount = kPlanFieldCount - kFieldCount;

using TenseForms = std::array<std::string, kTenseFieldCount>;

constexpr std::array<std::string_view, 6> kRaEndings = {"ra", "ras", "ra", "ramos", "rais", "ran"};
constexpr std::array<std::string_view, 6> kSeEndings = {"se", "ses", "se", "semos", "seis", "sen"};

int ClassOf(std::string_view infinitive) {
    const char vowel = infinitive[infinitive.size() - 2];
    return vowel == 'a' ? kClassAr : vowel == 'e' ? kClassEr : kClassIr;
}

const TenseException* FindException(std::string_view infinitive, int tense) {
    for (const TenseException& entry : TenseExceptions()) {
        if (entry.infinitive == infinitive && entry.tense == tense) {
            return &entry;
        }
    }
    return nullptr;
}

// The present subjunctive from the stored forms: yo, tú, él and ellos on the
// stem of the yo present (tengo: tenga; for -ar verbs spelled before e:
// almuerzo, almuerce), nosotros as the nosotros imperative (which carries the
// -ir verbs' closed vowel: sintamos, durmamos), vosotros on its stem.
void BuildSubjunctive(int record, int verbClass, TenseForms& forms) {
    const std::string_view yo = StoredField(record, kFieldPresent);
    if (yo.size() >= 2 && yo.back() == 'o') {
        const std::string_view stem = yo.substr(0, yo.size() - 1);
        for (int person : {1, 2, 3, 6}) {
            const int field = kFieldSubjunctive + person - 1;
            std::string& out = forms[field - kFieldCount];
            const std::string_view ending = RegularEnding(field, verbClass);
            if (verbClass == kClassAr) {
                spelling::AppendSpelled(out, stem, ending, spelling::ChangeOf(stem, kClassAr));
            } else {
                out.append(stem).append(ending);
            }
        }
    }
    const std::string_view nosotros = StoredField(record, kFieldImperative + 2);
    if (nosotros.size() >= 5 && nosotros.ends_with("mos")) {
        forms[kFieldSubjunctive + 3 - kFieldCount] = nosotros;
        std::string vosotros(nosotros.substr(0, nosotros.size() - 4));
        vosotros.append(nosotros[nosotros.size() - 4] == 'a' ? "\xE1is" : "\xE9is");
        spelling::StripMonosyllableAccent(vosotros);  // riais
        forms[kFieldSubjunctive + 4 - kFieldCount] = std::move(vosotros);
    }
}

TenseForms BuildTableForms(int record) {
    TenseForms forms;
    const std::string_view infinitive = StoredField(record, kFieldInfinitive);
    const int verbClass = ClassOf(infinitive);
    const std::string_view stem = infinitive.substr(0, infinitive.size() - 2);
    for (int person = 1; person <= 6; ++person) {
        const int field = kFieldImperfect + person - 1;
        forms[field - kFieldCount].append(stem).append(RegularEnding(field, verbClass));
    }
    BuildSubjunctive(record, verbClass, forms);
    const std::string_view ellos = StoredField(record, kFieldPreterite + 5);
    for (int field = kFieldSubjunctiveRa; field < kPlanFieldCount; ++field) {
        AppendImperfectSubjunctive(forms[field - kFieldCount], ellos, field);
    }
    constexpr std::array<std::pair<int, int>, 4> kTenseStarts = {
        {{kImperfect, kFieldImperfect},
         {kPresentSubjunctive, kFieldSubjunctive},
         {kImperfectSubjunctiveRa, kFieldSubjunctiveRa},
         {kImperfectSubjunctiveSe, kFieldSubjunctiveSe}}};
    for (const auto& [tense, start] : kTenseStarts) {
        if (const TenseException* exception = FindException(infinitive, tense)) {
            for (int person = 1; person <= 6; ++person) {
                forms[start + person - 1 - kFieldCount] = exception->forms[person - 1];
            }
        }
    }
    return forms;
}

}  // namespace

void AppendImperfectSubjunctive(std::string& out, std::string_view preteriteEllos, int field) {
    if (!preteriteEllos.ends_with("ron") || !IsImperfectSubjunctiveField(field)) {
        return;
    }
    const bool se = field >= kFieldSubjunctiveSe;
    const int person = field - (se ? kFieldSubjunctiveSe : kFieldSubjunctiveRa) + 1;
    const std::size_t start = out.size();
    out.append(preteriteEllos.substr(0, preteriteEllos.size() - 3));
    if (person == 4 && out.size() > start) {
        // The stress falls on the vowel before -ramos, -semos: tuviéramos.
        char& vowel = out.back();
        vowel = vowel == 'a' ? '\xE1' : vowel == 'e' ? '\xE9' : vowel;
    }
    out.append(se ? kSeEndings[person - 1] : kRaEndings[person - 1]);
}

std::string_view TableTenseForm(int record, int field) {
    // Built once, on first use, from the stored image, which never changes;
    // so the forms are right whether or not the working copy is loaded yet.
    static const std::vector<TenseForms> forms = [] {
        std::vector<TenseForms> all;
        all.reserve(kVerbCount);
        for (int record = 0; record < kVerbCount; ++record) {
            all.push_back(BuildTableForms(record));
        }
        return all;
    }();
    if (record < 0 || record >= kVerbCount || field < kFieldCount || field >= kPlanFieldCount) {
        return {};
    }
    return forms[record][field - kFieldCount];
}

}  // namespace vervia::detail
