#pragma once
// A transcript of a session with the simulated phone: what the client sent and
// what the phone answered, one chunk a line, so a client's conversation can be
// kept as data and played back against SimulatedPhone.
//
//   # a comment
//   > AT+CGMI\r
//   < AT+CGMI\r\r\nTelvora\r\n\r\nOK\r\n
//
// Bytes other than printable ASCII are escaped: \r \n \\ and \xHH.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace phonesim {

struct TranscriptEntry {
    bool fromClient = true;  // '>' sent by the client, '<' answered by the phone
    QByteArray bytes;
};

QByteArray escapeTranscriptBytes(const QByteArray& bytes);
std::optional<QByteArray> unescapeTranscriptBytes(const QByteArray& text);

// One line of a transcript for `entry`, without the line end.
QByteArray transcriptLine(const TranscriptEntry& entry);
// Parses a transcript; comments and blank lines are skipped. nullopt with
// `error` set (naming the line) on a malformed line.
std::optional<QList<TranscriptEntry>> parseTranscript(const QByteArray& text, QString* error);

}  // namespace phonesim
