#include "spelling.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace vervia::spelling {
namespace {

constexpr char kAAcute = '\xE1';
constexpr char kEAcute = '\xE9';
constexpr char kIAcute = '\xED';
constexpr char kOAcute = '\xF3';
constexpr char kUAcute = '\xFA';
constexpr char kUDiaeresis = '\xFC';
constexpr char kEnye = '\xF2';  // the stored stand-in for ñ

bool IsStrong(char c) {
    return c == 'a' || c == 'e' || c == 'o' || c == kAAcute || c == kEAcute || c == kOAcute;
}
bool IsWeak(char c) {
    return c == 'i' || c == 'u' || c == kIAcute || c == kUAcute || c == kUDiaeresis;
}
bool IsVowelLetter(char c) {
    return IsStrong(c) || IsWeak(c);
}
bool HasAccent(char c) {
    return c == kAAcute || c == kEAcute || c == kIAcute || c == kOAcute || c == kUAcute;
}
char Accented(char c) {
    switch (c) {
        case 'a':
            return kAAcute;
        case 'e':
            return kEAcute;
        case 'i':
            return kIAcute;
        case 'o':
            return kOAcute;
        case 'u':
            return kUAcute;
        default:
            return c;
    }
}
char Plain(char c) {
    switch (c) {
        case kAAcute:
            return 'a';
        case kEAcute:
            return 'e';
        case kIAcute:
            return 'i';
        case kOAcute:
            return 'o';
        case kUAcute:
            return 'u';
        default:
            return c;
    }
}
bool IsFrontVowel(char c) {
    return c == 'e' || c == kEAcute || c == 'i' || c == kIAcute;
}
bool IsBackVowel(char c) {
    return c == 'a' || c == 'o' || c == kAAcute || c == kOAcute;
}

// The u of qu and of gu before e or i is not pronounced.
bool IsSilentU(std::string_view word, std::size_t i) {
    return word[i] == 'u' && i > 0 && (word[i - 1] == 'q' || word[i - 1] == 'g') &&
           i + 1 < word.size() && IsFrontVowel(word[i + 1]);
}

bool IsVowelAt(std::string_view word, std::size_t i) {
    return IsVowelLetter(word[i]) && !IsSilentU(word, i);
}

// Two neighbouring vowels share a syllable unless both are strong or a weak
// one carries a written accent; two weak vowels always do.
bool FormDiphthong(char a, char b) {
    if (IsStrong(a) && IsStrong(b)) {
        return false;
    }
    if (IsWeak(a) && IsWeak(b)) {
        return true;
    }
    const char weak = IsWeak(a) ? a : b;
    return !HasAccent(weak);
}

// The vowel letters of one syllable nucleus (at most a triphthong).
struct Nucleus {
    std::array<std::size_t, 3> letters{};
    std::size_t count = 0;

    std::size_t back() const { return letters[count - 1]; }
    void push_back(std::size_t i) {
        if (count < letters.size()) {
            letters[count++] = i;
        }
    }
    const std::size_t* begin() const { return letters.data(); }
    const std::size_t* end() const { return letters.data() + count; }
};

// The nuclei of a word, in order; a word has far fewer syllables than the
// capacity, and further ones are ignored.
struct NucleusList {
    std::array<Nucleus, 24> items{};
    std::size_t count = 0;

    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    Nucleus& back() { return items[count - 1]; }
    const Nucleus& operator[](std::size_t k) const { return items[k]; }
    void push_back(const Nucleus& nucleus) {
        if (count < items.size()) {
            items[count++] = nucleus;
        }
    }
};

Nucleus Of(std::initializer_list<std::size_t> letters) {
    Nucleus nucleus;
    for (std::size_t i : letters) {
        nucleus.push_back(i);
    }
    return nucleus;
}

// The vowel letters of each syllable nucleus, in order. An h between vowels
// does not part them (prohíbo, rehúso).
NucleusList Nuclei(std::string_view word) {
    NucleusList nuclei;
    std::size_t lastVowel = std::string_view::npos;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (!IsVowelAt(word, i)) {
            if (word[i] != 'h') {
                lastVowel = std::string_view::npos;
            }
            continue;
        }
        if (lastVowel == std::string_view::npos || !FormDiphthong(word[lastVowel], word[i]) ||
            nuclei.empty()) {
            nuclei.push_back(Of({i}));
        } else {
            Nucleus& nucleus = nuclei.back();
            // A strong vowel followed by two weak ones parts before them (re-hui-mos).
            if (IsWeak(word[i]) && IsWeak(word[lastVowel]) && nucleus.count >= 2 &&
                IsStrong(word[nucleus.letters[nucleus.count - 2]])) {
                --nucleus.count;
                nuclei.push_back(Of({lastVowel, i}));
            } else {
                nucleus.push_back(i);
            }
        }
        lastVowel = i;
    }
    return nuclei;
}

// The letter of a nucleus that carries its stress: the strong vowel, or the
// second of two weak ones (hui, viuda).
std::size_t Bearer(std::string_view word, const Nucleus& nucleus) {
    for (std::size_t i : nucleus) {
        if (IsStrong(word[i]) || HasAccent(word[i])) {
            return i;
        }
    }
    return nucleus.back();
}

bool EndsInVowelNOrS(std::string_view word) {
    const char last = word.back();
    return IsVowelLetter(last) || last == 'n' || last == 's';
}

// Whether the vowel at `stressed` needs a written accent in `word`, which
// carries no accent there.
bool NeedsAccent(std::string_view word, std::size_t stressed) {
    const auto nuclei = Nuclei(word);
    for (std::size_t k = 0; k < nuclei.size(); ++k) {
        const auto& nucleus = nuclei[k];
        bool inside = false;
        bool strong = false;
        for (std::size_t i : nucleus) {
            inside = inside || i == stressed;
            strong = strong || IsStrong(word[i]);
        }
        if (!inside) {
            continue;
        }
        // A stressed weak vowel beside a strong one is written as a hiatus.
        if (IsWeak(word[stressed]) && strong) {
            return true;
        }
        const std::size_t fromEnd = nuclei.size() - 1 - k;
        if (fromEnd >= 2) {
            return true;
        }
        if (fromEnd == 1) {
            return !EndsInVowelNOrS(word);
        }
        return nuclei.size() > 1 && EndsInVowelNOrS(word);
    }
    return false;
}

// A monosyllable carries no written accent (fie, fio, guiais, flui); an
// accent on a weak vowel beside a strong one makes two syllables (fío). Works
// on the letters of `text` from `start` on.
void StripMonosyllableAccent(std::string& text, std::size_t start) {
    const std::string_view word = std::string_view(text).substr(start);
    // No verb form of more than seven letters is a monosyllable.
    if (word.size() > 7 || std::none_of(word.begin(), word.end(), HasAccent) ||
        Nuclei(word).size() != 1) {
        return;
    }
    for (std::size_t i = start; i < text.size(); ++i) {
        text[i] = Plain(text[i]);
    }
}

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

void StripMonosyllableAccent(std::string& word) {
    StripMonosyllableAccent(word, 0);
}

StemChange ChangeOf(std::string_view stem, int verbClass) {
    if (stem.empty()) {
        return StemChange::kNone;
    }
    const char last = stem.back();
    const char before = stem.size() >= 2 ? stem[stem.size() - 2] : '\0';
    if (verbClass == 0) {
        if (last == 'c') {
            return StemChange::kCToQu;
        }
        if (last == 'g') {
            return StemChange::kGToGu;
        }
        if (last == 'z') {
            return StemChange::kZToC;
        }
        if (last == 'u' && before == 'g') {
            return StemChange::kGuToGue;
        }
        return StemChange::kNone;
    }
    if (last == 'u' && before == 'g') {
        return verbClass == 2 ? StemChange::kGuToG : StemChange::kNone;
    }
    if (last == 'u' && before == 'q') {
        return verbClass == 2 ? StemChange::kQuToC : StemChange::kNone;
    }
    if (last == 'g') {
        return StemChange::kGToJ;
    }
    if (last == 'c') {
        // mecer keeps mezo; after a consonant the c only turns into z.
        const bool zc =
            verbClass == 1 ? (before == 'a' || before == 'e' || before == 'o') : before == 'u';
        return zc && !EndsWith(stem, "mec") ? StemChange::kCToZc : StemChange::kCToZ;
    }
    if ((last == 'u' || last == kUDiaeresis) && verbClass == 2) {
        return StemChange::kInsertY;
    }
    if (last == 'a' || last == 'e' || last == 'o') {
        return StemChange::kVowelStem;
    }
    if (last == kEnye || (last == 'l' && before == 'l')) {
        return StemChange::kAbsorbI;
    }
    return StemChange::kNone;
}

void AppendSpelled(std::string& out, std::string_view stem, std::string_view ending,
                   StemChange change) {
    const std::size_t start = out.size();
    const char first = ending.empty() ? '\0' : ending.front();
    const bool iBeforeVowel = first == 'i' && ending.size() > 1 && IsVowelLetter(ending[1]);
    const bool front = IsFrontVowel(first);
    const bool back = IsBackVowel(first);
    // Replaces the last `count` letters of the stem by `with` when `when` holds.
    auto replaceEnd = [&](bool when, std::size_t count, std::string_view with) {
        if (when && stem.size() >= count) {
            out.append(stem.substr(0, stem.size() - count)).append(with);
        } else {
            out.append(stem);
        }
    };
    switch (change) {
        case StemChange::kCToQu:
            replaceEnd(front, 1, "qu");
            break;
        case StemChange::kGToGu:
            replaceEnd(front, 0, "u");
            break;
        case StemChange::kZToC:
            replaceEnd(front, 1, "c");
            break;
        case StemChange::kGuToGue:
            replaceEnd(front, 1, "\xFC");
            break;
        case StemChange::kGToJ:
            replaceEnd(back, 1, "j");
            break;
        case StemChange::kCToZ:
            replaceEnd(back, 1, "z");
            break;
        case StemChange::kCToZc:
            replaceEnd(back, 1, "zc");
            break;
        case StemChange::kGuToG:
            replaceEnd(back, 1, "");
            break;
        case StemChange::kQuToC:
            replaceEnd(back, 2, "c");
            break;
        case StemChange::kInsertY:
            if (back || first == 'e' || iBeforeVowel) {
                // argüir: the diaeresis goes where the y follows (arguyo).
                out.append(stem.substr(0, stem.size() - 1));
                out.push_back(stem.back() == kUDiaeresis ? 'u' : stem.back());
                out.push_back('y');
                ending.remove_prefix(iBeforeVowel ? 1 : 0);
            } else {
                out.append(stem);
            }
            break;
        case StemChange::kVowelStem:
            out.append(stem);
            if (first == 'i') {
                out.push_back(iBeforeVowel ? 'y' : kIAcute);
                ending.remove_prefix(1);
            }
            break;
        case StemChange::kAbsorbI:
            out.append(stem);
            if (iBeforeVowel) {
                ending.remove_prefix(1);
            }
            break;
        case StemChange::kNone:
            out.append(stem);
            break;
    }
    out.append(ending);
    StripMonosyllableAccent(out, start);
}

std::size_t StressedVowel(std::string_view word) {
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (HasAccent(word[i])) {
            return i;
        }
    }
    const auto nuclei = Nuclei(word);
    if (nuclei.empty()) {
        return std::string_view::npos;
    }
    std::size_t k = nuclei.size() - 1;
    if (nuclei.size() >= 2 && EndsInVowelNOrS(word)) {
        --k;
    }
    return Bearer(word, nuclei[k]);
}

std::string WithRequiredAccent(std::string word, std::size_t stressed) {
    if (stressed >= word.size()) {
        return word;
    }
    word[stressed] = Plain(word[stressed]);
    if (NeedsAccent(word, stressed)) {
        word[stressed] = Accented(word[stressed]);
    }
    return word;
}

std::string CompoundWord(std::string_view prefix, std::string_view base, std::size_t drop) {
    const std::string_view tail = base.substr(std::min(drop, base.size()));
    std::string word(prefix);
    word.append(tail);
    for (char c : tail) {
        if (HasAccent(c)) {
            return word;  // the accent of the base still marks the stress
        }
    }
    // Only a monosyllable (no verb form of one has more than five letters)
    // or an h between the prefix's vowel and the stress can need an accent.
    const bool afterVowelAndH =
        !prefix.empty() && IsVowelLetter(prefix.back()) && !tail.empty() && tail.front() == 'h';
    if (tail.size() > 5 && !afterVowelAndH) {
        return word;
    }
    const std::size_t stressed = StressedVowel(tail);
    if (stressed == std::string_view::npos) {
        return word;
    }
    return WithRequiredAccent(std::move(word), prefix.size() + stressed);
}

std::string AttachPronoun(std::string_view form, std::size_t drop, std::string_view pronoun) {
    const std::size_t stressed = StressedVowel(form);
    std::string word(form.substr(0, form.size() - std::min(drop, form.size())));
    word.append(pronoun);
    if (stressed == std::string_view::npos || stressed >= word.size()) {
        return word;
    }
    return WithRequiredAccent(std::move(word), stressed);
}

}  // namespace vervia::spelling
