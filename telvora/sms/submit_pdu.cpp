#include "telvora/sms/submit_pdu.h"

#include "telvora/sms/gsm_alphabet.h"
#include "telvora/sms/pdu_codec.h"

namespace telvora::sms {
namespace {

// Where each part of `septets` ends (exclusive).
QList<qsizetype> PartEnds(QByteArrayView septets) {
    QList<qsizetype> ends;
    qsizetype start = 0;
    while (start < septets.size()) {
        qsizetype end = qMin<qsizetype>(start + kPartTextSeptets, septets.size());
        // Count escapes from the start: an escape at end - 1 would lose its code.
        if (end < septets.size()) {
            bool pendingEscape = false;
            for (qsizetype i = start; i < end; ++i) {
                pendingEscape = !pendingEscape && septets[i] == kGsmEscape;
            }
            if (pendingEscape) {
                --end;
            }
        }
        ends.append(end);
        start = end;
    }
    return ends;
}

}  // namespace

std::optional<QString> CleanRecipientNumber(const QString& number) {
    QString digits;
    bool plusSeen = false;
    for (QChar c : number) {
        if (c >= u'0' && c <= u'9') {
            digits.append(c);
        } else if (c == u'+' && digits.isEmpty() && !plusSeen) {
            plusSeen = true;  // the PDU marks every number international anyway
        } else if (!(c.isSpace() || c == u'-' || c == u'/' || c == u'(' || c == u')')) {
            return std::nullopt;
        }
    }
    if (digits.isEmpty() || digits.size() > kMaxRecipientDigits) {
        return std::nullopt;
    }
    return digits;
}

QByteArray BuildSubmitPdu(const QString& digits, QByteArrayView septets) {
    QByteArray pdu = "001100";
    const QByteArray count = QByteArray::number(digits.size(), 16).toUpper();
    pdu += count.size() < 2 ? '0' + count : count;
    pdu += "91";
    pdu += SwapSemiOctets(digits.toLatin1());
    pdu += "0000AD";
    pdu += PackSeptets(septets);
    return pdu;
}

int SubmitLength(QByteArrayView pdu) {
    return static_cast<int>(pdu.size() / 2) - 1;
}

QList<QByteArray> SplitIntoParts(QByteArrayView septets) {
    const QList<qsizetype> ends = PartEnds(septets);
    const QByteArray total = ToGsmSeptets(QString::number(ends.size()));
    QList<QByteArray> parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < ends.size(); ++i) {
        QByteArray part = ToGsmSeptets(QString::number(i + 1)) + '/' + total;
        part += septets.sliced(start, ends[i] - start);
        parts.append(part);
        start = ends[i];
    }
    return parts;
}

int PartCount(QByteArrayView septets) {
    return static_cast<int>(PartEnds(septets).size());
}

}  // namespace telvora::sms
