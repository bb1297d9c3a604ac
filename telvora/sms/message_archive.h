#pragma once
// MessageArchive: the program's own store of every message read from the
// phone and every message sent, in one SQLite file (Qt's QSQLITE driver) in
// the user's data folder. It is where a downloaded message lands before the
// phone may delete it: StoreReceived returns true only after the transaction
// holding the messages has been committed.
//
// The file runs in WAL mode, so a crash leaves either the whole transaction
// or none of it. Its schema carries a version number (PRAGMA user_version);
// opening an older file brings it up to date step by step.
//
// The same message read twice is stored once. A message is identified by
// direction, the phone it came through, its contact, its time stamp and a
// hash of its text. The store and index are kept with the message but are
// not part of that key: the phone gives a freed index to the next message,
// and a message moved between the SIM and the phone memory is still the same
// message.
//
// Search finds words regardless of case and diacritics ("zitra" finds
// "Zítra"), each typed word as the start of a word of the text. It uses
// SQLite's full-text index FTS5 (tokenizer unicode61, diacritics removed)
// when the SQLite library has it, otherwise a column of the text folded to
// lower case without diacritics, narrowed down with LIKE and checked word by
// word.
//
// Nothing throws: a file that cannot be opened, is damaged, is locked by
// another program or comes from a newer version leaves the archive unusable
// with an ArchiveProblem naming the file; reading from the phone goes on.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include "telvora/core/ui_texts.h"
#include "telvora/sms/deliver_pdu.h"
#include "telvora/sms/message_rows.h"

namespace telvora::sms {

enum class Direction { In, Out };

// One part of a sent message and whether the phone accepted it.
struct SentPart {
    int sequence = 1;  // 1 for a message of one part
    bool accepted = false;
};

struct ArchivedMessage {
    qint64 id = 0;  // the archive's own number, from 1; 0 before it is stored
    Direction direction = Direction::In;
    QString contact;          // sender (in) or recipient (out): digits, or a sender's name
    qint64 stampSeconds = 0;  // clock-face seconds as TimestampSeconds gives them
    QString time;             // "d.m.yyyy hh:mm:ss"
    QString text;
    DataCoding coding = DataCoding::Gsm7Bit;
    QString phone;          // "IMSI <digits>", "IMEI <digits>" or empty when the phone did not say
    QString store;          // "ME" or "SM" for a received message
    QList<int> indexes;     // its indexes in that store, every part
    QList<SentPart> parts;  // a sent message's parts
};

struct ArchiveProblem {
    enum class Kind { None, CannotOpen, Damaged, Locked, TooNew, WriteFailed };
    Kind kind = Kind::None;
    QString path;
    QString detail;  // the database's own words, when it gave any

    explicit operator bool() const { return kind != Kind::None; }
    // One sentence in `language` naming the file and what is wrong with it.
    QString describe(Language language) const;
};

struct ArchiveQuery {
    QString search;            // words, each the start of a word of the text; empty: all
    QString contact;           // only this sender or recipient; empty: all
    bool oldestFirst = false;  // a conversation reads in time order
    int limit = -1;            // at most this many; -1: every one
};

struct ArchiveContact {
    QString contact;
    int messages = 0;
};

class MessageArchive {
public:
    static constexpr int kSchemaVersion = 2;

    // The file in the user's data folder (QStandardPaths::AppDataLocation).
    static QString defaultPath();

    // Opens (and creates, or brings up to date) the file at `path`. Without
    // `fullTextIndex` the folded-text search is used even where FTS5 exists.
    explicit MessageArchive(const QString& path, bool fullTextIndex = true);
    ~MessageArchive();
    MessageArchive(const MessageArchive&) = delete;
    MessageArchive& operator=(const MessageArchive&) = delete;

    bool usable() const { return !m_problem; }
    const ArchiveProblem& problem() const { return m_problem; }
    const QString& path() const { return m_path; }
    // True when search uses the full-text index.
    bool fullTextSearch() const { return m_fullText; }

    // Stores the messages in one transaction; messages already stored are
    // left as they are. True once the transaction is committed.
    bool store(const QList<ArchivedMessage>& messages);
    // Newest first (or oldest first), as `query` asks.
    QList<ArchivedMessage> find(const ArchiveQuery& query) const;
    // Every contact with the number of its messages, most recent contact first.
    QList<ArchiveContact> contacts() const;
    int count() const;

private:
    bool openFile();
    bool migrate(int fromVersion);
    void fail(ArchiveProblem::Kind kind, const QString& detail);
    int matchCount(const QString& match) const;
    void addSentParts(QList<ArchivedMessage>& found, const QHash<qint64, qsizetype>& sent) const;

    // Above this many matches of the full-text index, a search for the
    // newest few walks the messages by time instead.
    static constexpr int kMostMatchesByIndex = 5000;

    QString m_path;
    QString m_connection;
    bool m_fullText = false;
    bool m_wantFullText = true;
    ArchiveProblem m_problem;
};

// The messages of one store as the archive keeps them: the parts of a long
// message joined as in the message list, with `phone` as their phone.
QList<ArchivedMessage> ReceivedMessages(const QList<ReadMessage>& read, const QString& phone);

// A sent message to `recipient` at `sentAt` with its parts.
ArchivedMessage SentMessage(const QString& recipient, const QString& text, DataCoding coding,
                            const QDateTime& sentAt, const QString& phone,
                            const QList<SentPart>& parts);

// A row of the message list for an archived message: column 5 holds the
// archive's own number; the number to reply to is the contact when it is one.
MessageRow ArchiveRow(const ArchivedMessage& message);

// The sent message as the archive keeps it, from what the sender reports:
// its coding, part n accepted or not, sent now.
ArchivedMessage SentMessage(const QString& recipient, const QString& text, DataCoding coding,
                            const QList<bool>& accepted, const QDateTime& sentAt);

// Lower case without diacritics: "Zítra Č" gives "zitra c".
QString FoldedText(const QString& text);

// The contact as stored: a number without blanks, "+", "-", "/", "(" or ")";
// a name unchanged.
QString ContactKey(const QString& contact);

// The identity of a message in the archive (see above), as hexadecimal text.
QByteArray MessageIdentity(const ArchivedMessage& message);

}  // namespace telvora::sms
