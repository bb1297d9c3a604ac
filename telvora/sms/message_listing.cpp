#include "telvora/sms/message_listing.h"

#include <limits>

namespace telvora::sms {
namespace {

// The answer split into its non-empty lines (CR and LF both end a line).
QList<QByteArrayView> Lines(QByteArrayView text) {
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
            if (i > start) {
                lines.append(text.sliced(start, i - start));
            }
            start = i + 1;
        }
    }
    return lines;
}

// A whole non-negative number at the start of `text` after blanks; -1 when
// there is none or it is too large for an int.
int LeadingNumber(QByteArrayView text, qsizetype* end = nullptr) {
    qsizetype at = 0;
    while (at < text.size() && text[at] == ' ') {
        ++at;
    }
    qint64 value = -1;
    bool tooLarge = false;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        value = (value < 0 ? 0 : value * 10) + (text[at] - '0');
        if (value > std::numeric_limits<int>::max()) {
            // No index or count is that large; read on to the end of the
            // number, so that it cannot wrap round to another message's index.
            tooLarge = true;
            value = 0;
        }
        ++at;
    }
    if (end) {
        *end = at;
    }
    return tooLarge ? -1 : static_cast<int>(value);
}

bool IsHexLine(QByteArrayView line) {
    for (char c : line) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return !line.isEmpty();
}

}  // namespace

QList<ListedPdu> ParseMessageListing(QByteArrayView answer) {
    static constexpr QByteArrayView kPrefix("+CMGL:");
    const QList<QByteArrayView> lines = Lines(answer);
    QList<ListedPdu> entries;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (!lines[i].startsWith(kPrefix)) {
            continue;
        }
        const QByteArrayView fields = lines[i].sliced(kPrefix.size());
        qsizetype end = 0;
        const int index = LeadingNumber(fields, &end);
        const QByteArrayView pdu = lines[i + 1].trimmed();
        if (index < 0 || !IsHexLine(pdu)) {
            continue;
        }
        int status = -1;
        if (end < fields.size() && fields[end] == ',') {
            status = LeadingNumber(fields.sliced(end + 1));
        }
        entries.append({index, status, pdu.toByteArray()});
        ++i;
    }
    return entries;
}

QByteArray ReadMessagePdu(QByteArrayView answer) {
    const QList<QByteArrayView> lines = Lines(answer);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].startsWith("+CMGR:") && IsHexLine(lines[i + 1].trimmed())) {
            return lines[i + 1].trimmed().toByteArray();
        }
    }
    return {};
}

int StoredMessageCount(QByteArrayView answer) {
    const qsizetype at = answer.indexOf(QByteArrayView("+CPMS:"));
    if (at < 0) {
        return -1;
    }
    return LeadingNumber(answer.sliced(at + 6));
}

}  // namespace telvora::sms
