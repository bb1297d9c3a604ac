#include "telvora/phonebook/czech_collation.h"

#include <algorithm>

namespace telvora {
namespace {

// Weight groups: blanks before punctuation before digits before letters
// before everything else.
enum Group : quint32 { kBlank = 1, kPunctuation = 2, kDigit = 3, kLetter = 4, kOther = 5 };

constexpr quint32 Weight(Group group, quint32 value) {
    return group << 24 | value;
}

// The Latin base letter of `c` (its canonical decomposition's first
// character, followed down), lower case; `c` itself lower case otherwise.
QChar BaseOf(QChar c, bool* marked) {
    QChar base = c.toLower();
    *marked = false;
    while (base.decompositionTag() == QChar::Canonical && !base.decomposition().isEmpty()) {
        base = base.decomposition()[0].toLower();
        *marked = true;
    }
    return base;
}

// Letters with a place of their own after their base letter.
bool HasOwnPlace(QChar lower) {
    return lower == u'\u010D' || lower == u'\u0159' || lower == u'\u0161' || lower == u'\u017E';
}

struct Levels {
    QList<quint32> primary;
    QList<quint32> marks;
};

Levels LevelsOf(const QString& text) {
    Levels levels;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar lower = c.toLower();
        if (lower == u'c' && i + 1 < text.size() && text[i + 1].toLower() == u'h') {
            // "ch" is one letter, between "h" and "i".
            levels.primary.append(Weight(kLetter, (u'h' - u'a') * 4 + 2));
            levels.marks.append(0);
            ++i;
            continue;
        }
        bool marked = false;
        const QChar base = BaseOf(c, &marked);
        if (base >= u'a' && base <= u'z') {
            const bool own = marked && HasOwnPlace(lower);
            levels.primary.append(Weight(kLetter, (base.unicode() - u'a') * 4 + (own ? 1 : 0)));
            levels.marks.append(marked && !own ? lower.unicode() : 0);
        } else if (c.isSpace()) {
            levels.primary.append(Weight(kBlank, 0));
            levels.marks.append(0);
        } else if (c.isDigit() && c.unicode() < 0x80) {
            levels.primary.append(Weight(kDigit, c.unicode()));
            levels.marks.append(0);
        } else if (c.unicode() < 0x80) {
            levels.primary.append(Weight(kPunctuation, c.unicode()));
            levels.marks.append(0);
        } else {
            levels.primary.append(Weight(kOther, lower.unicode()));
            levels.marks.append(0);
        }
    }
    return levels;
}

}  // namespace

QList<quint32> CzechSortKey(const QString& text) {
    const Levels levels = LevelsOf(text);
    // Each level ends with 0, below every weight, so a shorter text that is
    // the start of a longer one comes first.
    QList<quint32> key = levels.primary;
    key.append(0);
    key += levels.marks;
    return key;
}

bool CzechLess(const QString& a, const QString& b) {
    const QList<quint32> keyA = CzechSortKey(a);
    const QList<quint32> keyB = CzechSortKey(b);
    return std::lexicographical_compare(keyA.begin(), keyA.end(), keyB.begin(), keyB.end());
}

}  // namespace telvora
