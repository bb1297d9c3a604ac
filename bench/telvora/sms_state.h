#pragma once
// The phone of the download benchmarks: 49 messages of 160 characters, 25 in
// the phone memory and 24 on the SIM, read and unread, as the state file of
// telvora-phonesim.

#include <QDate>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace telvora::bench {

inline constexpr int kMessages = 49;

inline QString LongText(int seed) {
    QString text = QStringLiteral("Zprava %1: ").arg(seed);
    while (text.size() < 160) {
        text += QStringLiteral("abcdefghij KLMNOP 0123456789 @$ ");
    }
    return text.left(160);
}

inline QJsonObject DownloadState() {
    QJsonArray me;
    QJsonArray sm;
    for (int i = 1; i <= kMessages; ++i) {
        const QJsonObject message{
            {"index", i <= 25 ? i : i - 25},
            {"status", i % 2},
            {"sender", QStringLiteral("+4206031234%1").arg(i, 2, 10, QChar(u'0'))},
            {"time",
             QDateTime(QDate(2026, 12, 1), QTime(8, 0)).addSecs(97 * i).toString(Qt::ISODate)},
            {"text", LongText(i)}};
        (i <= 25 ? me : sm).append(message);
    }
    return {{"stores", QJsonObject{{"ME", QJsonObject{{"capacity", 100}, {"messages", me}}},
                                   {"SM", QJsonObject{{"capacity", 30}, {"messages", sm}}}}}};
}

}  // namespace telvora::bench
