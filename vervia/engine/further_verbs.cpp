#include "further_verbs.h"

#include <algorithm>

namespace vervia {

const FurtherVerb* FindFurtherVerb(std::string_view infinitive) {
    const auto verbs = FurtherVerbs();
    const auto found = std::lower_bound(
        verbs.begin(), verbs.end(), infinitive,
        [](const FurtherVerb& verb, std::string_view word) { return verb.infinitive < word; });
    return found != verbs.end() && found->infinitive == infinitive ? &*found : nullptr;
}

const FurtherVerb* FindFurtherFamily(std::string_view infinitive) {
    for (const FurtherVerb& family : FurtherFamilies()) {
        if (!family.infinitive.empty() && infinitive.ends_with(family.infinitive)) {
            return &family;
        }
    }
    return nullptr;
}

}  // namespace vervia
