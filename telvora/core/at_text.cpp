#include "telvora/core/at_text.h"

namespace telvora {
namespace {

constexpr QByteArrayView kLineEnd("\r\n");

// The number after an error prefix, -1 when it is missing or not a number.
int ErrorCode(QByteArrayView rest) {
    const QByteArray digits = rest.trimmed().toByteArray();
    bool ok = false;
    const int code = digits.toInt(&ok);
    return ok && code >= 0 ? code : -1;
}

std::optional<FinalResult> ClassifyLine(QByteArrayView line) {
    if (line == QByteArrayView("OK")) {
        return FinalResult{FinalKind::Ok};
    }
    if (line == QByteArrayView("ERROR")) {
        return FinalResult{FinalKind::Error};
    }
    struct Prefix {
        QByteArrayView text;
        FinalKind kind;
    };
    static constexpr Prefix kPrefixes[] = {
        {"ERROR:", FinalKind::Error},
        {"+CMS ERROR:", FinalKind::CmsError},
        {"+CME ERROR:", FinalKind::CmeError},
    };
    for (const Prefix& prefix : kPrefixes) {
        if (line.startsWith(prefix.text)) {
            return FinalResult{prefix.kind, ErrorCode(line.sliced(prefix.text.size()))};
        }
    }
    return std::nullopt;
}

// Calls `accept` with each final result line in order until it returns true.
template <typename Accept>
std::optional<FinalResult> ScanFinalLines(QByteArrayView text, Accept accept) {
    qsizetype end = text.indexOf(kLineEnd);
    while (end >= 0) {
        qsizetype start = end;
        while (start > 0 && text[start - 1] != '\r' && text[start - 1] != '\n') {
            --start;
        }
        const std::optional<FinalResult> result = ClassifyLine(text.sliced(start, end - start));
        if (result && accept(*result)) {
            return result;
        }
        end = text.indexOf(kLineEnd, end + kLineEnd.size());
    }
    return std::nullopt;
}

}  // namespace

std::optional<FinalResult> FindFinalResult(QByteArrayView text) {
    return ScanFinalLines(text, [](const FinalResult&) { return true; });
}

bool ContainsFinalOk(QByteArrayView text) {
    return ScanFinalLines(text, [](const FinalResult& r) { return r.kind == FinalKind::Ok; })
        .has_value();
}

std::optional<FinalResult> FindPhoneError(QByteArrayView text) {
    return ScanFinalLines(text, [](const FinalResult& r) { return r.kind != FinalKind::Ok; });
}

bool ContainsAnyMarker(QByteArrayView text, const QList<QByteArray>& markers) {
    for (const QByteArray& marker : markers) {
        if (!marker.isEmpty() && text.contains(marker)) {
            return true;
        }
    }
    return false;
}

QByteArray SkipFields(const QByteArray& text, const QByteArray& delimiter, int count) {
    QByteArray rest = text;
    for (int i = 0; i < count; ++i) {
        const qsizetype at = rest.indexOf(delimiter);
        if (at < 0) {
            return {};
        }
        rest = rest.mid(at + delimiter.size());
    }
    return rest;
}

}  // namespace telvora
