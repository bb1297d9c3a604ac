// vervia's engine: any bytes as the typed verb. The infinitive check and the
// evaluation agree, every form of every tense is built or refused, and no
// form is longer than the verb with its longest ending, auxiliary and
// pronoun.

#include <string>
#include <string_view>

#include "tests/fuzz/fuzz_check.h"
#include "vervia/engine/conjugator.h"
#include "vervia/engine/evaluation.h"
#include "vervia/engine/irregular_verb_table.h"
#include "vervia/engine/text_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool loaded = (vervia::LoadIrregularVerbs(), true);
    (void)loaded;
    const std::string_view typed(reinterpret_cast<const char*>(data), size);
    const std::size_t bound = 4 * size + 64;

    const std::string engineText = vervia::ToEngineText(typed);
    FUZZ_CHECK(engineText.size() <= size);
    FUZZ_CHECK(vervia::ToDisplayText(engineText).size() <= 2 * engineText.size());

    const int infinitive = vervia::IsInfinitive(engineText);
    FUZZ_CHECK(infinitive == 0 || infinitive == 1);

    for (int tense = 10; tense <= 25; ++tense) {
        const vervia::Evaluation shown = vervia::EvaluateShown(typed, tense);
        if (!shown.valid) {
            FUZZ_CHECK(shown.forms.empty());
            continue;
        }
        FUZZ_CHECK(shown.forms.size() == vervia::kShownFormCount);
        for (const auto& form : shown.forms) {
            FUZZ_CHECK(form.text.size() <= bound);
        }
    }
    const vervia::Evaluation all = vervia::EvaluateAll(typed);
    FUZZ_CHECK(!all.valid || all.forms.size() == 43);

    std::string output;
    for (int kind = 0; kind <= 25; ++kind) {
        for (int person = 0; person <= 7; ++person) {
            const int same = vervia::ConjugateForm(engineText, kind, person, output);
            FUZZ_CHECK(same == 0 || same == 1);
            FUZZ_CHECK(output.size() <= bound);
        }
    }
    return 0;
}
