#include "tools/phonesim/transcript.h"

namespace phonesim {

QByteArray escapeTranscriptBytes(const QByteArray& bytes) {
    QByteArray text;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            text += "\\r";
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\\') {
            text += "\\\\";
        } else if (byte < 0x20 || byte >= 0x7f) {
            text += "\\x" + QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
        } else {
            text += c;
        }
    }
    return text;
}

std::optional<QByteArray> unescapeTranscriptBytes(const QByteArray& text) {
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != '\\') {
            bytes += text.at(i);
            continue;
        }
        if (++i >= text.size()) {
            return std::nullopt;
        }
        switch (text.at(i)) {
            case 'r':
                bytes += '\r';
                break;
            case 'n':
                bytes += '\n';
                break;
            case '\\':
                bytes += '\\';
                break;
            case 'x': {
                bool ok = false;
                const int value = text.mid(i + 1, 2).toInt(&ok, 16);
                if (!ok || i + 2 >= text.size()) {
                    return std::nullopt;
                }
                bytes += static_cast<char>(value);
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return bytes;
}

QByteArray transcriptLine(const TranscriptEntry& entry) {
    return QByteArray(entry.fromClient ? "> " : "< ") + escapeTranscriptBytes(entry.bytes);
}

std::optional<QList<TranscriptEntry>> parseTranscript(const QByteArray& text, QString* error) {
    QList<TranscriptEntry> entries;
    int number = 0;
    for (const QByteArray& line : text.split('\n')) {
        ++number;
        if (line.trimmed().isEmpty() || line.startsWith('#')) {
            continue;
        }
        const std::optional<QByteArray> bytes = line.size() >= 2 && line.at(1) == ' '
                                                    ? unescapeTranscriptBytes(line.mid(2))
                                                    : std::nullopt;
        if (!bytes || (line.at(0) != '>' && line.at(0) != '<')) {
            if (error) {
                *error = QStringLiteral("line %1 is not a transcript line").arg(number);
            }
            return std::nullopt;
        }
        entries.append({line.at(0) == '>', *bytes});
    }
    return entries;
}

}  // namespace phonesim
