#include "telvora/sms/composer_rules.h"

#include "telvora/sms/message_plan.h"

namespace telvora::sms {
namespace {

constexpr int kReplyQuoteCharacters = 150;

// `count` moved back by one when it would end between a surrogate pair.
qsizetype WholeCharacters(const QString& text, qsizetype count) {
    if (count > 0 && count < text.size() && text[count - 1].isHighSurrogate() &&
        text[count].isLowSurrogate()) {
        return count - 1;
    }
    return count;
}

// The largest k in [0, high] for which `fits(k)` holds, given that it holds
// for 0 and that a smaller k never fits less.
template <typename Fits>
qsizetype LargestFitting(qsizetype high, Fits fits) {
    qsizetype low = 0;
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (fits(middle)) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

}  // namespace

bool KeepTypedCharacter(QChar c) {
    return c != u'\r' && c != u'\n';
}

bool FitsEditor(QStringView text, bool longMode, bool withoutDiacritics) {
    const MessagePlan plan = PlanMessage(text, withoutDiacritics);
    return plan.partCount() <= (longMode ? kMaxMessageParts : 1);
}

QString FitEdit(const QString& text, int position, int added, bool longMode,
                bool withoutDiacritics) {
    if (FitsEditor(text, longMode, withoutDiacritics)) {
        return text;
    }
    const qsizetype at = qBound(0, position, int(text.size()));
    const qsizetype span = qBound(0, added, int(text.size() - at));
    const QString before = text.left(at);
    const QString inserted = text.mid(at, span);
    const QString after = text.mid(at + span);
    const auto withKept = [&](qsizetype kept) {
        return before + inserted.left(WholeCharacters(inserted, kept)) + after;
    };
    if (FitsEditor(before + after, longMode, withoutDiacritics)) {
        const qsizetype kept = LargestFitting(span, [&](qsizetype k) {
            return FitsEditor(withKept(k), longMode, withoutDiacritics);
        });
        return withKept(kept);
    }
    // Even the text without the edit is too long (the mode changed): its end goes.
    const QString rest = before + after;
    const qsizetype length = LargestFitting(rest.size(), [&](qsizetype n) {
        return FitsEditor(QStringView(rest).left(n), longMode, withoutDiacritics);
    });
    return rest.left(WholeCharacters(rest, length));
}

QString ReplyText(const QString& receivedText) {
    return QStringLiteral("Re: ") +
           receivedText.left(WholeCharacters(receivedText, kReplyQuoteCharacters)) +
           QStringLiteral(" ...");
}

}  // namespace telvora::sms
