#pragma once
// MessageList: the rows of the received-messages grid as plain data. Built
// from the decoded messages of one download: the parts of a concatenated
// message are joined into one row, senders are replaced by phone-book names,
// and the rows are sorted newest first.

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

#include "telvora/sms/deliver_pdu.h"

namespace telvora::sms {

// One decoded message as read from a store.
struct ReadMessage {
    QString store;  // "ME" or "SM"
    int index = 0;
    DeliveredMessage message;
};

// One row of the grid; the columns are the grid's.
struct MessageRow {
    QString time;           // column 0
    QString sender;         // column 1: number, alphanumeric sender or phone-book name
    QString text;           // column 2
    QString number;         // column 3: the number to reply to; empty when there is none
    qint64 ageSeconds = 0;  // column 4: the sort key
    QList<int> indexes;     // column 5: store indexes, all parts of a joined message
    QString store;

    bool canReply() const { return !number.isEmpty(); }
    // Column 5 as shown: the indexes separated by commas.
    QString indexText() const;
};

// One name and number from the phone book.
struct NameAndNumber {
    QString name;
    QString number;
};

// The rows of `messages` in read order, parts joined (same store, sender,
// reference and part count; in part order; missing parts are left out). The
// age is counted against `now`.
QList<MessageRow> BuildMessageRows(const QList<ReadMessage>& messages, const QDateTime& now);

// Replaces column 1 of every row with a number by the name of the first
// phone-book entry whose number is the same, a leading "+" on either side
// aside. Column 3 keeps the number.
void ResolveSenderNames(QList<MessageRow>& rows, const QList<NameAndNumber>& phoneBook);

// Newest first (smallest age); rows of equal age keep their order.
void SortNewestFirst(QList<MessageRow>& rows);

// `text` with tab, line feed, carriage return and backslash written as \t,
// \n, \r and \\, for one field of a tab-separated line.
QString TsvField(const QString& text);

// One line "time<TAB>sender<TAB>number<TAB>indexes<TAB>text" with tab, line
// feed, carriage return and backslash in the fields written as \t, \n, \r, \\.
QString TsvLine(const MessageRow& row);

}  // namespace telvora::sms
