#pragma once
// How a text goes out: in which encoding, in how many parts, and what the
// editor's counter says about it. The encoding is chosen per message: the
// GSM 7-bit alphabet (with its extension table) when every character fits,
// else UCS2 (UTF-16 big-endian, data coding scheme 08). "Without
// diacritics" folds letters to their base letters first and replaces what
// still does not fit by "?", so such a text always stays 7-bit.
//
// One message holds 160 septets or 70 UTF-16 units. A longer text is sent
// as a concatenated message: each part carries a user-data header of six
// octets and holds 153 septets or 67 units. An escape and its code, and the
// two halves of a surrogate pair, always stay in one part. A message has at
// most 10 parts.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include "telvora/core/ui_texts.h"

namespace telvora::sms {

enum class TextEncoding { Gsm7Bit, Ucs2 };

inline constexpr int kSingleSeptets = 160;
inline constexpr int kSingleUcs2Units = 70;
inline constexpr int kConcatenatedSeptets = 153;
inline constexpr int kConcatenatedUcs2Units = 67;
inline constexpr int kMaxMessageParts = 10;

struct MessagePlan {
    TextEncoding encoding = TextEncoding::Gsm7Bit;
    QString text;      // what is sent: folded, "?" put in, CR LF as LF
    QString replaced;  // characters that became "?", each once, in text order
    // The user data of each part without its header: septet values (7-bit)
    // or UTF-16 big-endian octets (UCS2). Empty for an empty text.
    QList<QByteArray> parts;
    int remaining = kSingleSeptets;  // septets or units still free in the last part

    int partCount() const { return static_cast<int>(parts.size()); }
    bool tooLong() const { return parts.size() > kMaxMessageParts; }
};

// The plan for `text`; `withoutDiacritics` is the "Bez diakritiky" box.
MessagePlan PlanMessage(QStringView text, bool withoutDiacritics);

// The text a user sees of `replaced` (each character once, in quotes,
// separated by blanks): „č“ „😀“.
QString ReplacedCharactersText(const QString& replaced);

// The counter under the editor, e.g. "Zbývá" "48" "znaků (Unicode), 2 zprávy".
struct CounterLabels {
    QString caption;  // lblzbyvachar
    QString value;    // lblZbyva
    QString rest;     // lblchars
};
CounterLabels MessageCounter(const MessagePlan& plan, Language language);

}  // namespace telvora::sms
