#include "telvora/ringtone/melody_text.h"

namespace telvora {
namespace {

bool IsMelodyChar(QChar c) {
    return c.unicode() < 128 && c.unicode() != 0 &&
           QByteArrayView(kMelodyChars).contains(static_cast<char>(c.unicode()));
}

}  // namespace

MelodyCheck CheckMelody(const QString& melody) {
    const bool doubled =
        melody.contains(QLatin1String("##")) || melody.contains(QLatin1String("++"));
    for (QChar c : melody) {
        if (!IsMelodyChar(c)) {
            return MelodyCheck::InvalidChar;
        }
        if (doubled) {
            return MelodyCheck::DoubledSign;
        }
    }
    return melody.size() > kMaxMelodyLength ? MelodyCheck::TooLong : MelodyCheck::Ok;
}

MelodyList ParseMelodies(const QByteArray& answer) {
    MelodyList list;
    qsizetype from = 0;
    for (QString& melody : list.melodies) {
        const qsizetype open = answer.indexOf('"', from);
        const qsizetype close = open < 0 ? -1 : answer.indexOf('"', open + 1);
        if (close < 0) {
            break;
        }
        melody = QString::fromLatin1(answer.mid(open + 1, close - open - 1));
        ++list.found;
        from = close + 1;
    }
    return list;
}

QByteArray MelodyUploadCommand(int number, const QString& melody) {
    return "AT*ESOM=" + QByteArray::number(number) + ",\"" + melody.toLatin1() + '"';
}

QString MelodyCheckMessage(Language language, MelodyCheck check, int number) {
    switch (check) {
        case MelodyCheck::InvalidChar:
        case MelodyCheck::DoubledSign:
            return UiText(language, check == MelodyCheck::InvalidChar ? 55 : 56) +
                   QLatin1Char(' ') + QString::number(number) + QLatin1Char('.');
        case MelodyCheck::TooLong:
            return UiText(language, 60);
        case MelodyCheck::Ok:
            break;
    }
    return {};
}

QString MelodyUploadedMessage(Language language, int number) {
    return UiText(language, 57) + QLatin1Char(' ') + QString::number(number) + QLatin1Char(' ') +
           UiText(language, 58);
}

QString MelodyLabel(Language language, int number) {
    return UiText(language, 53) + QLatin1Char(' ') + QString::number(number);
}

QString MelodyNotationInfo(Language language) {
    return UiText(language, 59) + QLatin1Char('\n') + UiText(language, 60);
}

}  // namespace telvora
