#pragma once
// "Without diacritics": letters with diacritics become their base letters
// (č -> c, Ř -> R, ů -> u, ß -> ss) and typographic signs their plain
// counterparts („ “ -> ", – -> -, … -> ...), so a Czech text travels in the
// GSM 7-bit alphabet. What still has no place in that alphabet is left to
// the message planner, which puts "?" in its place and names it.

#include <QString>
#include <QStringView>

namespace telvora::sms {

// `text` with every letter carrying a diacritic mark replaced by its base
// letter, and the signs of the table above by their plain forms. Other
// characters (digits, Greek, Cyrillic, emoji) are kept as they are.
QString FoldDiacritics(QStringView text);

}  // namespace telvora::sms
