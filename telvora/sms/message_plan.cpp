#include "telvora/sms/message_plan.h"

#include "telvora/sms/gsm_alphabet.h"
#include "telvora/sms/sms_texts.h"
#include "telvora/sms/text_folding.h"

namespace telvora::sms {
namespace {

// Takes pieces of `data`, each at most `capacity` long, never ending where
// `splitsPair` says a unit belongs to the next one.
template <typename Data, typename SplitsPair>
QList<Data> Cut(const Data& data, qsizetype capacity, SplitsPair splitsPair) {
    QList<Data> parts;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = qMin(start + capacity, data.size());
        if (end < data.size() && splitsPair(data, start, end)) {
            --end;
        }
        parts.append(data.mid(start, end - start));
        start = end;
    }
    return parts;
}

// True when the septet before `end` is an escape whose code would go to the
// next part. Escapes are counted from the part's start, since the code of
// an escape may itself be 0x1B.
bool SplitsEscape(const QByteArray& septets, qsizetype start, qsizetype end) {
    bool pendingEscape = false;
    for (qsizetype i = start; i < end; ++i) {
        pendingEscape = !pendingEscape && septets[i] == kGsmEscape;
    }
    return pendingEscape;
}

bool SplitsSurrogates(const QString& units, qsizetype, qsizetype end) {
    return units[end - 1].isHighSurrogate() && units[end].isLowSurrogate();
}

QByteArray Utf16BigEndian(const QString& text) {
    QByteArray octets;
    octets.reserve(text.size() * 2);
    for (const QChar c : text) {
        octets.append(static_cast<char>(c.unicode() >> 8));
        octets.append(static_cast<char>(c.unicode() & 0xFF));
    }
    return octets;
}

// The character at `i` (one or two UTF-16 units).
QStringView CharacterAt(const QString& text, qsizetype i) {
    const bool pair =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    return QStringView(text).mid(i, pair ? 2 : 1);
}

// Puts "?" for every character outside the GSM alphabet and lists those
// characters once each. False when none was outside.
bool ReplaceUncarried(QString& text, QString& replaced) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const QStringView character = CharacterAt(text, i);
        i += character.size();
        if (character.size() == 1 && GsmSeptetsOf(character[0]) > 0) {
            result.append(character);
            continue;
        }
        result.append(u'?');
        if (!replaced.contains(character)) {
            replaced.append(character);
        }
    }
    const bool any = !replaced.isEmpty();
    text = result;
    return any;
}

bool AllCarried(const QString& text) {
    for (const QChar c : text) {
        if (GsmSeptetsOf(c) == 0) {
            return false;
        }
    }
    return true;
}

// Czech: 1, 2-4, other; English: 1, other.
int PluralForm(Language language, int n) {
    if (n == 1) {
        return 0;
    }
    if (language == Language::Czech && n >= 2 && n <= 4) {
        return 1;
    }
    return 2;
}

}  // namespace

MessagePlan PlanMessage(QStringView input, bool withoutDiacritics) {
    MessagePlan plan;
    plan.text = input.toString();
    plan.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (withoutDiacritics) {
        plan.text = FoldDiacritics(plan.text);
        ReplaceUncarried(plan.text, plan.replaced);
    }
    plan.encoding = AllCarried(plan.text) ? TextEncoding::Gsm7Bit : TextEncoding::Ucs2;

    int single = kSingleSeptets;
    int perPart = kConcatenatedSeptets;
    qsizetype size = 0;
    if (plan.encoding == TextEncoding::Gsm7Bit) {
        const QByteArray septets = ToGsmSeptets(plan.text);
        size = septets.size();
        plan.parts =
            size <= single ? QList<QByteArray>{septets} : Cut(septets, perPart, SplitsEscape);
    } else {
        single = kSingleUcs2Units;
        perPart = kConcatenatedUcs2Units;
        size = plan.text.size();
        const QList<QString> pieces =
            size <= single ? QList<QString>{plan.text} : Cut(plan.text, perPart, SplitsSurrogates);
        for (const QString& piece : pieces) {
            plan.parts.append(Utf16BigEndian(piece));
        }
    }
    if (size == 0) {
        plan.parts.clear();
    }
    const int unitSize = plan.encoding == TextEncoding::Gsm7Bit ? 1 : 2;
    plan.remaining = plan.parts.size() <= 1 ? single - int(size)
                                            : perPart - int(plan.parts.last().size() / unitSize);
    return plan;
}

QString ReplacedCharactersText(const QString& replaced) {
    QStringList shown;
    for (qsizetype i = 0; i < replaced.size();) {
        const QStringView character = CharacterAt(replaced, i);
        i += character.size();
        shown.append(QStringLiteral("\u201E") + character.toString() + QStringLiteral("\u201C"));
    }
    return shown.join(u' ');
}

CounterLabels MessageCounter(const MessagePlan& plan, Language language) {
    CounterLabels labels;
    labels.caption = UiText(language, 23);
    labels.value = QString::number(plan.remaining);
    const int messages = qMax(1, plan.partCount());
    const QString chars = UiText(language, kTextCharsOne + PluralForm(language, plan.remaining));
    const QString encoding = UiText(
        language, plan.encoding == TextEncoding::Gsm7Bit ? kTextGsmEncoding : kTextUcs2Encoding);
    const QString parts = UiText(language, kTextMessagesOne + PluralForm(language, messages));
    labels.rest = chars + QStringLiteral(" (") + encoding + QStringLiteral("), ") +
                  QString::number(messages) + u' ' + parts;
    return labels;
}

}  // namespace telvora::sms
