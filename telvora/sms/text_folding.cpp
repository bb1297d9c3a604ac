#include "telvora/sms/text_folding.h"

namespace telvora::sms {
namespace {

struct Replacement {
    char16_t from;
    const char* to;
};

// Letters that do not decompose into a base letter and a mark, and the
// signs a word processor puts in place of plain ones.
constexpr Replacement kReplacements[] = {
    {u'\u00DF', "ss"}, {u'\u1E9E', "SS"}, {u'\u00F8', "o"},  {u'\u00D8', "O"},  {u'\u0142', "l"},
    {u'\u0141', "L"},  {u'\u0111', "d"},  {u'\u0110', "D"},  {u'\u00E6', "ae"}, {u'\u00C6', "AE"},
    {u'\u0153', "oe"}, {u'\u0152', "OE"}, {u'\u0131', "i"},  {u'\u0127', "h"},  {u'\u0126', "H"},
    {u'\u00F0', "d"},  {u'\u00D0', "D"},  {u'\u00FE', "th"}, {u'\u00DE', "Th"}, {u'\u201E', "\""},
    {u'\u201C', "\""}, {u'\u201D', "\""}, {u'\u00BB', "\""}, {u'\u00AB', "\""}, {u'\u201A', "'"},
    {u'\u2018', "'"},  {u'\u2019', "'"},  {u'\u2013', "-"},  {u'\u2014', "-"},  {u'\u2026', "..."},
    {u'\u00A0', " "},  {u'\t', " "},
};

const char* ReplacementOf(QChar c) {
    for (const Replacement& replacement : kReplacements) {
        if (replacement.from == c.unicode()) {
            return replacement.to;
        }
    }
    return nullptr;
}

// A Latin letter whose canonical decomposition is a base letter followed by
// combining marks only: the base letter; else a null character.
QChar BaseLetter(QChar c) {
    if (c.unicode() < 0xC0 || c.decompositionTag() != QChar::Canonical) {
        return QChar();
    }
    const QString parts = c.decomposition();
    if (parts.isEmpty()) {
        return QChar();
    }
    // A decomposition may itself decompose (ǘ is ü + acute).
    QChar base = parts[0];
    while (base.decompositionTag() == QChar::Canonical && !base.decomposition().isEmpty()) {
        base = base.decomposition()[0];
    }
    if (base.unicode() >= 0x80 || !base.isLetter()) {
        return QChar();
    }
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (!parts[i].isMark()) {
            return QChar();
        }
    }
    return base;
}

}  // namespace

QString FoldDiacritics(QStringView text) {
    QString folded;
    folded.reserve(text.size());
    for (const QChar c : text) {
        if (c.isMark() && c.unicode() >= 0x0300 && c.unicode() < 0x0370) {
            continue;  // a combining mark typed on its own (decomposed input)
        }
        if (const char* plain = ReplacementOf(c)) {
            folded.append(QLatin1String(plain));
        } else if (const QChar base = BaseLetter(c); !base.isNull()) {
            folded.append(base);
        } else {
            folded.append(c);
        }
    }
    return folded;
}

}  // namespace telvora::sms
