#include "telvora/sms/message_archive.h"

#include <QAtomicInt>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>
#include <algorithm>

#include "telvora/sms/pdu_codec.h"
#include "telvora/sms/sms_texts.h"

namespace telvora::sms {
namespace {

// SQLite's primary result codes that say what is wrong with the file.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteCantOpen = 14;
constexpr int kSqliteNotADatabase = 26;

// How long a write waits for another program's transaction to end.
constexpr int kBusyWaitMs = 1000;

// Version 1: the messages and the parts of sent messages.
constexpr const char* kVersion1[] = {
    "CREATE TABLE messages ("
    " id INTEGER PRIMARY KEY,"
    " identity TEXT NOT NULL UNIQUE,"
    " direction INTEGER NOT NULL,"  // 0 received, 1 sent
    " contact TEXT NOT NULL,"
    " stamp INTEGER NOT NULL,"
    " time TEXT NOT NULL,"
    " body TEXT NOT NULL,"
    " coding TEXT NOT NULL,"
    " phone TEXT NOT NULL DEFAULT '',"
    " store TEXT NOT NULL DEFAULT '',"
    " indexes TEXT NOT NULL DEFAULT '')",
    "CREATE INDEX messages_by_stamp ON messages (stamp)",
    "CREATE INDEX messages_by_contact ON messages (contact, stamp)",
    "CREATE TABLE sent_parts ("
    " message INTEGER NOT NULL REFERENCES messages (id) ON DELETE CASCADE,"
    " sequence INTEGER NOT NULL,"
    " accepted INTEGER NOT NULL,"
    " PRIMARY KEY (message, sequence))",
};

// Version 2 adds the search: the folded text, and the full-text index over it
// where SQLite has FTS5 (created in migrate()).
constexpr const char* kFullTextIndex[] = {
    "CREATE VIRTUAL TABLE message_words USING fts5(folded, content='messages',"
    " content_rowid='id', tokenize='unicode61 remove_diacritics 2')",
    "CREATE TRIGGER message_words_insert AFTER INSERT ON messages BEGIN"
    " INSERT INTO message_words (rowid, folded) VALUES (new.id, new.folded); END",
    "CREATE TRIGGER message_words_delete AFTER DELETE ON messages BEGIN"
    " INSERT INTO message_words (message_words, rowid, folded)"
    " VALUES ('delete', old.id, old.folded); END",
    "INSERT INTO message_words (message_words) VALUES ('rebuild')",
};

constexpr char kColumns[] =
    "id, direction, contact, stamp, time, body, coding, phone, store, indexes";

QString CodingName(DataCoding coding) {
    switch (coding) {
        case DataCoding::EightBit:
            return QStringLiteral("8bit");
        case DataCoding::Ucs2:
            return QStringLiteral("ucs2");
        case DataCoding::Gsm7Bit:
            break;
    }
    return QStringLiteral("gsm7");
}

DataCoding CodingOf(const QString& name) {
    if (name == QLatin1String("8bit")) {
        return DataCoding::EightBit;
    }
    return name == QLatin1String("ucs2") ? DataCoding::Ucs2 : DataCoding::Gsm7Bit;
}

QString IndexText(const QList<int>& indexes) {
    QStringList texts;
    for (int index : indexes) {
        texts.append(QString::number(index));
    }
    return texts.join(u',');
}

QList<int> IndexesOf(const QString& text) {
    QList<int> indexes;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        indexes.append(part.toInt());
    }
    return indexes;
}

int PrimaryCode(const QSqlError& error) {
    return error.nativeErrorCode().toInt() & 0xff;
}

ArchiveProblem::Kind KindOf(const QSqlError& error, ArchiveProblem::Kind otherwise) {
    switch (PrimaryCode(error)) {
        case kSqliteBusy:
        case kSqliteLocked:
            return ArchiveProblem::Kind::Locked;
        case kSqliteCorrupt:
        case kSqliteNotADatabase:
            return ArchiveProblem::Kind::Damaged;
        case kSqliteCantOpen:
            return ArchiveProblem::Kind::CannotOpen;
        default:
            return otherwise;
    }
}

// The words of a search as the folded text holds them.
QStringList SearchWords(const QString& search) {
    QStringList words;
    QString word;
    for (QChar c : FoldedText(search)) {
        if (c.isLetterOrNumber()) {
            word += c;
        } else if (!word.isEmpty()) {
            words.append(std::exchange(word, {}));
        }
    }
    if (!word.isEmpty()) {
        words.append(word);
    }
    return words;
}

// True when every word of `words` starts a word of `text`.
bool StartsOfWords(const QStringList& words, const QString& text) {
    const QStringList textWords = SearchWords(text);
    return std::all_of(words.begin(), words.end(), [&](const QString& word) {
        return std::any_of(textWords.begin(), textWords.end(),
                           [&](const QString& textWord) { return textWord.startsWith(word); });
    });
}

QString LikeEscaped(const QString& text) {
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'%', QStringLiteral("\\%"))
        .replace(u'_', QStringLiteral("\\_"));
    return escaped;
}

ArchivedMessage MessageOf(const QSqlQuery& row) {
    ArchivedMessage message;
    message.id = row.value(0).toLongLong();
    message.direction = row.value(1).toInt() == 1 ? Direction::Out : Direction::In;
    message.contact = row.value(2).toString();
    message.stampSeconds = row.value(3).toLongLong();
    message.time = row.value(4).toString();
    message.text = row.value(5).toString();
    message.coding = CodingOf(row.value(6).toString());
    message.phone = row.value(7).toString();
    message.store = row.value(8).toString();
    message.indexes = IndexesOf(row.value(9).toString());
    return message;
}

QString NextConnectionName() {
    static QAtomicInt next;
    return QStringLiteral("telvora-archive-%1").arg(next.fetchAndAddRelaxed(1));
}

}  // namespace

QString ArchiveProblem::describe(Language language) const {
    int text = kTextArchiveUnusable;
    switch (kind) {
        case Kind::Damaged:
            text = kTextArchiveDamaged;
            break;
        case Kind::Locked:
            text = kTextArchiveLocked;
            break;
        case Kind::TooNew:
            text = kTextArchiveTooNew;
            break;
        case Kind::None:
        case Kind::CannotOpen:
        case Kind::WriteFailed:
            break;
    }
    QString sentence = UiText(language, text).arg(QDir::toNativeSeparators(path));
    if (!detail.isEmpty()) {
        sentence += QStringLiteral(" (") + detail + u')';
    }
    return sentence;
}

QString MessageArchive::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/messages.sqlite");
}

MessageArchive::MessageArchive(const QString& path, bool fullTextIndex)
    : m_path(path), m_connection(NextConnectionName()), m_wantFullText(fullTextIndex) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        if (!db.isValid()) {
            fail(ArchiveProblem::Kind::CannotOpen, QStringLiteral("QSQLITE"));
            return;
        }
    }
    openFile();
}

MessageArchive::~MessageArchive() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen()) {
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connection);
}

void MessageArchive::fail(ArchiveProblem::Kind kind, const QString& detail) {
    m_problem = ArchiveProblem{kind, m_path, detail};
}

bool MessageArchive::openFile() {
    const QFileInfo file(m_path);
    if (!QDir().mkpath(file.absolutePath())) {
        fail(ArchiveProblem::Kind::CannotOpen, {});
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyWaitMs));
    if (!db.open()) {
        fail(KindOf(db.lastError(), ArchiveProblem::Kind::CannotOpen), db.lastError().text());
        return false;
    }
    QSqlQuery query(db);
    // The version is the first read of the file: a file that is not a
    // database, or is held by another program, shows here.
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        fail(KindOf(query.lastError(), ArchiveProblem::Kind::CannotOpen), query.lastError().text());
        return false;
    }
    const int version = query.value(0).toInt();
    if (version > kSchemaVersion) {
        fail(ArchiveProblem::Kind::TooNew, QString::number(version));
        return false;
    }
    // WAL: a crash keeps the last committed transaction whole; FULL: a
    // committed transaction is on the disk before the phone is told to delete.
    for (const char* pragma :
         {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = FULL", "PRAGMA foreign_keys = ON"}) {
        if (!query.exec(QString::fromLatin1(pragma))) {
            fail(KindOf(query.lastError(), ArchiveProblem::Kind::CannotOpen),
                 query.lastError().text());
            return false;
        }
    }
    if (version < kSchemaVersion && !migrate(version)) {
        return false;
    }
    m_fullText =
        query.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = 'message_words'")) &&
        query.next();
    return true;
}

bool MessageArchive::migrate(int fromVersion) {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    auto run = [&](const QString& statement) {
        if (query.exec(statement)) {
            return true;
        }
        fail(KindOf(query.lastError(), ArchiveProblem::Kind::WriteFailed),
             query.lastError().text());
        return false;
    };
    if (!run(QStringLiteral("BEGIN IMMEDIATE"))) {
        return false;
    }
    bool ok = true;
    if (fromVersion < 1) {
        for (const char* statement : kVersion1) {
            ok = ok && run(QString::fromLatin1(statement));
        }
    }
    if (ok && fromVersion < 2) {
        ok = run(QStringLiteral("ALTER TABLE messages ADD COLUMN folded TEXT NOT NULL DEFAULT ''"));
        // Messages a version-1 file already holds get their folded text.
        QSqlQuery rows(db);
        QSqlQuery update(db);
        ok = ok && rows.exec(QStringLiteral("SELECT id, body FROM messages")) &&
             update.prepare(QStringLiteral("UPDATE messages SET folded = ? WHERE id = ?"));
        while (ok && rows.next()) {
            update.bindValue(0, FoldedText(rows.value(1).toString()));
            update.bindValue(1, rows.value(0));
            ok = update.exec();
        }
        if (ok && m_wantFullText) {
            // Where SQLite has no FTS5 the first statement fails and search
            // uses the folded column alone.
            if (query.exec(QString::fromLatin1(kFullTextIndex[0]))) {
                for (size_t i = 1; ok && i < std::size(kFullTextIndex); ++i) {
                    ok = run(QString::fromLatin1(kFullTextIndex[i]));
                }
            }
        }
    }
    ok = ok && run(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
    if (ok && run(QStringLiteral("COMMIT"))) {
        return true;
    }
    if (!m_problem) {
        fail(ArchiveProblem::Kind::WriteFailed, db.lastError().text());
    }
    query.exec(QStringLiteral("ROLLBACK"));
    return false;
}

bool MessageArchive::store(const QList<ArchivedMessage>& messages) {
    if (!usable()) {
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    auto failWith = [&](const QSqlError& error) {
        fail(KindOf(error, ArchiveProblem::Kind::WriteFailed), error.text());
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return false;
    };
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        return failWith(query.lastError());
    }
    QSqlQuery insert(db);
    QSqlQuery part(db);
    if (!insert.prepare(QStringLiteral(
            "INSERT INTO messages (identity, direction, contact, stamp, time, body, coding, phone,"
            " store, indexes, folded) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
            " ON CONFLICT (identity) DO NOTHING")) ||
        !part.prepare(QStringLiteral(
            "INSERT INTO sent_parts (message, sequence, accepted) VALUES (?, ?, ?)"))) {
        return failWith(insert.lastError().isValid() ? insert.lastError() : part.lastError());
    }
    for (const ArchivedMessage& message : messages) {
        const QVariant values[] = {QString::fromLatin1(MessageIdentity(message)),
                                   message.direction == Direction::Out ? 1 : 0,
                                   ContactKey(message.contact),
                                   message.stampSeconds,
                                   message.time,
                                   message.text,
                                   CodingName(message.coding),
                                   message.phone,
                                   message.store,
                                   IndexText(message.indexes),
                                   FoldedText(message.text)};
        for (int i = 0; i < int(std::size(values)); ++i) {
            // A null QString binds as NULL; the columns hold empty text instead.
            const bool nullText =
                values[i].typeId() == QMetaType::QString && values[i].toString().isNull();
            insert.bindValue(i, nullText ? QVariant(QStringLiteral("")) : values[i]);
        }
        if (!insert.exec()) {
            return failWith(insert.lastError());
        }
        if (insert.numRowsAffected() != 1) {
            continue;  // stored before
        }
        const QVariant id = insert.lastInsertId();
        for (const SentPart& sent : message.parts) {
            part.bindValue(0, id);
            part.bindValue(1, sent.sequence);
            part.bindValue(2, sent.accepted ? 1 : 0);
            if (!part.exec()) {
                return failWith(part.lastError());
            }
        }
    }
    if (!query.exec(QStringLiteral("COMMIT"))) {
        return failWith(query.lastError());
    }
    return true;
}

QList<ArchivedMessage> MessageArchive::find(const ArchiveQuery& request) const {
    QList<ArchivedMessage> found;
    if (!usable()) {
        return found;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QString sql = QStringLiteral("SELECT ") + QLatin1String(kColumns) +
                  QStringLiteral(" FROM messages WHERE 1");
    QVariantList values;
    const QStringList words = SearchWords(request.search);
    // Words are checked here, row by row, when SQLite only narrows the rows
    // down: without the full-text index, or for a common word of which only
    // the newest few are wanted (walking the time index until enough are
    // found beats collecting tens of thousands of matches to sort them).
    bool checkWords = false;
    if (!words.isEmpty() && m_fullText) {
        QStringList terms;
        for (const QString& word : words) {
            terms.append(u'"' + word + QStringLiteral("\"*"));
        }
        const QString match = terms.join(u' ');
        checkWords = request.limit >= 0 && matchCount(match) > kMostMatchesByIndex;
        if (!checkWords) {
            sql += QStringLiteral(
                " AND id IN (SELECT rowid FROM message_words WHERE message_words MATCH ?)");
            values.append(match);
        }
    } else if (!words.isEmpty()) {
        checkWords = true;
    } else if (!request.search.trimmed().isEmpty()) {
        // Signs only, such as "€": found where they stand.
        sql += QStringLiteral(" AND folded LIKE ? ESCAPE '\\'");
        values.append(u'%' + LikeEscaped(FoldedText(request.search.trimmed())) + u'%');
    }
    if (checkWords) {
        for (const QString& word : words) {
            sql += QStringLiteral(" AND folded LIKE ? ESCAPE '\\'");
            values.append(u'%' + LikeEscaped(word) + u'%');
        }
    }
    if (!request.contact.isEmpty()) {
        sql += QStringLiteral(" AND contact = ?");
        values.append(ContactKey(request.contact));
    }
    sql += request.oldestFirst ? QStringLiteral(" ORDER BY stamp, id")
                               : QStringLiteral(" ORDER BY stamp DESC, id DESC");
    if (request.limit >= 0 && !checkWords) {
        sql += QStringLiteral(" LIMIT ") + QString::number(request.limit);
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        return found;
    }
    for (int i = 0; i < int(values.size()); ++i) {
        query.bindValue(i, values[i]);
    }
    if (!query.exec()) {
        return found;
    }
    QHash<qint64, qsizetype> sent;
    while ((request.limit < 0 || found.size() < request.limit) && query.next()) {
        ArchivedMessage message = MessageOf(query);
        if (checkWords && !StartsOfWords(words, message.text)) {
            continue;
        }
        if (message.direction == Direction::Out) {
            sent.insert(message.id, found.size());
        }
        found.append(std::move(message));
    }
    query.finish();
    addSentParts(found, sent);
    return found;
}

int MessageArchive::matchCount(const QString& match) const {
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM message_words WHERE message_words MATCH ?"));
    query.bindValue(0, match);
    return query.exec() && query.next() ? query.value(0).toInt() : 0;
}

void MessageArchive::addSentParts(QList<ArchivedMessage>& found,
                                  const QHash<qint64, qsizetype>& sent) const {
    if (sent.isEmpty()) {
        return;
    }
    QStringList ids;
    for (auto at = sent.begin(); at != sent.end(); ++at) {
        ids.append(QString::number(at.key()));
    }
    QSqlQuery parts(QSqlDatabase::database(m_connection, false));
    parts.setForwardOnly(true);
    if (!parts.exec(QStringLiteral("SELECT message, sequence, accepted FROM sent_parts"
                                   " WHERE message IN (%1) ORDER BY message, sequence")
                        .arg(ids.join(u',')))) {
        return;
    }
    while (parts.next()) {
        const qsizetype at = sent.value(parts.value(0).toLongLong());
        found[at].parts.append({parts.value(1).toInt(), parts.value(2).toInt() != 0});
    }
}

QList<ArchiveContact> MessageArchive::contacts() const {
    QList<ArchiveContact> contacts;
    if (!usable()) {
        return contacts;
    }
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    if (query.exec(QStringLiteral("SELECT contact, COUNT(*), MAX(stamp) AS latest FROM messages"
                                  " GROUP BY contact ORDER BY latest DESC"))) {
        while (query.next()) {
            contacts.append({query.value(0).toString(), query.value(1).toInt()});
        }
    }
    return contacts;
}

int MessageArchive::count() const {
    if (!usable()) {
        return 0;
    }
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    return query.exec(QStringLiteral("SELECT COUNT(*) FROM messages")) && query.next()
               ? query.value(0).toInt()
               : 0;
}

QList<ArchivedMessage> ReceivedMessages(const QList<ReadMessage>& read, const QString& phone) {
    // The list's own joining of parts; a fixed "now" turns the ages back
    // into time stamps.
    const QDateTime now(QDate(2000, 1, 1), QTime(0, 0));
    const qint64 nowSeconds = WallClockSeconds(now);
    QHash<QString, const ReadMessage*> byPlace;
    for (const ReadMessage& message : read) {
        byPlace.insert(message.store + u'/' + QString::number(message.index), &message);
    }
    QList<ArchivedMessage> messages;
    for (const MessageRow& row : BuildMessageRows(read, now)) {
        const ReadMessage* first =
            byPlace.value(row.store + u'/' + QString::number(row.indexes.value(0)));
        ArchivedMessage message;
        message.direction = Direction::In;
        message.contact = first ? first->message.sender : row.sender;
        message.stampSeconds = nowSeconds - row.ageSeconds;
        message.time = row.time;
        message.text = row.text;
        message.coding = first ? first->message.coding : DataCoding::Gsm7Bit;
        message.phone = phone;
        message.store = row.store;
        message.indexes = row.indexes;
        messages.append(message);
    }
    return messages;
}

ArchivedMessage SentMessage(const QString& recipient, const QString& text, DataCoding coding,
                            const QDateTime& sentAt, const QString& phone,
                            const QList<SentPart>& parts) {
    ArchivedMessage message;
    message.direction = Direction::Out;
    message.contact = ContactKey(recipient);
    message.stampSeconds = WallClockSeconds(sentAt);
    message.time = sentAt.toString(QStringLiteral("d.M.yyyy hh:mm:ss"));
    message.text = text;
    message.coding = coding;
    message.phone = phone;
    message.parts = parts;
    return message;
}

MessageRow ArchiveRow(const ArchivedMessage& message) {
    MessageRow row;
    row.time = message.time;
    row.sender = message.contact;
    row.text = message.text;
    const bool number =
        !message.contact.isEmpty() && std::all_of(message.contact.begin(), message.contact.end(),
                                                  [](QChar c) { return c.isDigit(); });
    row.number = number ? message.contact : QString();
    row.indexes = {int(message.id)};
    row.store = message.store;
    return row;
}

ArchivedMessage SentMessage(const QString& recipient, const QString& text, DataCoding coding,
                            const QList<bool>& accepted, const QDateTime& sentAt) {
    QList<SentPart> parts;
    for (qsizetype i = 0; i < accepted.size(); ++i) {
        parts.append({int(i + 1), accepted[i]});
    }
    return SentMessage(recipient, text, coding, sentAt, QString(), parts);
}

QString FoldedText(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing) {
            folded += c.toLower();
        }
    }
    return folded;
}

QString ContactKey(const QString& contact) {
    QString key;
    for (QChar c : contact.trimmed()) {
        if (c.isDigit()) {
            key += c;
        } else if (!QStringLiteral(" +-/()").contains(c)) {
            return contact.trimmed();  // a sender's name
        }
    }
    return key;
}

QByteArray MessageIdentity(const ArchivedMessage& message) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const QString fields[] = {
        message.direction == Direction::Out ? QStringLiteral("out") : QStringLiteral("in"),
        message.phone, ContactKey(message.contact), QString::number(message.stampSeconds),
        message.text};
    for (const QString& field : fields) {
        hash.addData(field.toUtf8());
        hash.addData(QByteArrayView("\x1f", 1));
    }
    return hash.result().toHex();
}

}  // namespace telvora::sms
