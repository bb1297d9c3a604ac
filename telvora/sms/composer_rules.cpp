#include "telvora/sms/composer_rules.h"

#include "telvora/sms/gsm_alphabet.h"
#include "telvora/sms/submit_pdu.h"

namespace telvora::sms {
namespace {

constexpr int kReplyQuoteSeptets = 150;

}  // namespace

bool KeepTypedCharacter(QChar c) {
    if (c == u'\r' || c == u'\n') {
        return false;
    }
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
        return true;
    }
    return IsGsmPrintable(c);
}

QString CarriableText(QStringView text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n' || c == u'\t') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            result.append(u' ');
        } else if (IsGsmPrintable(c)) {
            result.append(c);
        } else {
            if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                ++i;
            }
            result.append(u'?');
        }
    }
    return result;
}

int EditorLimit(bool longMode) {
    return longMode ? kLongTextSeptets : kMessageSeptets;
}

bool FitsEditor(QStringView text, bool longMode) {
    const int septets = GsmSeptetCount(text);
    if (septets > EditorLimit(longMode)) {
        return false;
    }
    return !longMode || PartCount(ToGsmSeptets(text)) <= kMaxParts;
}

QString FitEdit(const QString& text, int position, int added, bool longMode) {
    QString result = text;
    position = qBound(0, position, int(result.size()));
    added = qBound(0, added, int(result.size()) - position);
    while (added > 0 && !FitsEditor(result, longMode)) {
        result.remove(position + added - 1, 1);
        --added;
    }
    if (!FitsEditor(result, longMode)) {
        result = CutToSeptets(result, EditorLimit(longMode));
        while (!result.isEmpty() && !FitsEditor(result, longMode)) {
            result.chop(1);
        }
    }
    return result;
}

QString CutToSeptets(const QString& text, int septets) {
    int used = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int size = qMax(1, GsmSeptetsOf(text[i]));
        if (used + size > septets) {
            return text.left(i);
        }
        used += size;
    }
    return text;
}

CounterView EditorCounter(QStringView text, bool longMode) {
    CounterView view;
    view.canSend = !text.isEmpty();
    if (longMode) {
        view.value = qMax(1, PartCount(ToGsmSeptets(text)));
        view.captionText = 25;
        view.showChars = false;
    } else {
        view.value = kMessageSeptets - GsmSeptetCount(text);
    }
    return view;
}

QString ReplyText(const QString& receivedText) {
    return QStringLiteral("Re: ") +
           CutToSeptets(CarriableText(receivedText.left(kReplyQuoteSeptets)), kReplyQuoteSeptets) +
           QStringLiteral(" ...");
}

}  // namespace telvora::sms
