#pragma once
// Pure helpers over the bytes a phone sends: recognising the final result
// code that ends an answer, and cutting fields out of information lines.
// They never depend on the echo of the command being on or off.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>

namespace telvora {

enum class FinalKind {
    Ok,        // "OK"
    Error,     // "ERROR", or "ERROR: n" as some phones send it
    CmsError,  // "+CMS ERROR: n" (message service)
    CmeError,  // "+CME ERROR: n" (equipment)
};

struct FinalResult {
    FinalKind kind;
    int code = -1;  // the error number, -1 when none or not numeric
};

// The first final result line in `text`. A final result is a whole line,
// started at the beginning of `text` or after CR or LF and ended by CR LF,
// so an echoed command or an information line is never taken for one.
std::optional<FinalResult> FindFinalResult(QByteArrayView text);

// True when `text` holds a final "OK" line.
bool ContainsFinalOk(QByteArrayView text);

// The first final error line ("ERROR", "ERROR: n", "+CMS ERROR: n",
// "+CME ERROR: n") in `text`, if any.
std::optional<FinalResult> FindPhoneError(QByteArrayView text);

// True when `text` contains any of `markers` (case-sensitive substring).
bool ContainsAnyMarker(QByteArrayView text, const QList<QByteArray>& markers);

// Drops the first `count` `delimiter`-separated fields of `text`.
QByteArray SkipFields(const QByteArray& text, const QByteArray& delimiter, int count);

}  // namespace telvora
