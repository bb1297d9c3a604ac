#include "telvora/sms/submit_pdu.h"

#include "telvora/sms/pdu_codec.h"

namespace telvora::sms {
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

QList<QByteArray> BuildSubmitPdus(const QString& digits, const MessagePlan& plan, int reference) {
    const bool concatenated = plan.parts.size() > 1;
    const bool ucs2 = plan.encoding == TextEncoding::Ucs2;
    QByteArray head = concatenated ? "005100" : "001100";
    const QByteArray count = QByteArray::number(digits.size(), 16).toUpper();
    head += count.size() < 2 ? '0' + count : count;
    head += "91";
    head += SwapSemiOctets(digits.toLatin1());
    head += ucs2 ? "0008AD" : "0000AD";

    QList<QByteArray> pdus;
    for (qsizetype i = 0; i < plan.parts.size(); ++i) {
        QByteArray header;
        if (concatenated) {
            header = QByteArray("\x05\x00\x03", 3);
            header += static_cast<char>(reference & 0xFF);
            header += static_cast<char>(plan.parts.size());
            header += static_cast<char>(i + 1);
        }
        const QByteArray& part = plan.parts[i];
        QByteArray userData;
        if (ucs2) {
            const QByteArray octets = header + part;
            QByteArray length = QByteArray::number(octets.size(), 16).toUpper();
            userData = (length.size() < 2 ? '0' + length : length) + octets.toHex().toUpper();
        } else if (concatenated) {
            // Seven septets of room: the six header octets and one fill bit.
            userData = PackSeptets(QByteArray(7, '\0') + part);
            userData.replace(2, 12, header.toHex().toUpper());
        } else {
            userData = PackSeptets(part);
        }
        pdus.append(head + userData);
    }
    return pdus;
}

int SubmitLength(QByteArrayView pdu) {
    return static_cast<int>(pdu.size() / 2) - 1;
}

}  // namespace telvora::sms
