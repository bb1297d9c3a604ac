// The message archive: what it keeps once, what search finds, an old file
// brought up to date, files it cannot use; and the download that deletes a
// message on the phone only after the archive holds it.

#include <gtest/gtest.h>

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "telvora/core/fake_clock.h"
#include "telvora/demophone/simulated_phone.h"
#include "telvora/link/at_link.h"
#include "telvora/sms/deliver_pdu.h"
#include "telvora/sms/message_archive.h"
#include "telvora/sms/phone_identity.h"
#include "telvora/sms/sms_reader.h"
#include "telvora/sms/sms_texts.h"
#include "tests/telvora/shell/shell_fakes.h"

namespace telvora::sms {
namespace {

ArchivedMessage Received(const QString& contact, qint64 stamp, const QString& text) {
    ArchivedMessage message;
    message.contact = contact;
    message.stampSeconds = stamp;
    message.time = QString::number(stamp);
    message.text = text;
    message.store = QStringLiteral("SM");
    message.indexes = {int(stamp % 100)};
    return message;
}

ArchiveQuery Query(const QString& search, const QString& contact = {}, bool oldestFirst = false,
                   int limit = -1) {
    ArchiveQuery query;
    query.search = search;
    query.contact = contact;
    query.oldestFirst = oldestFirst;
    query.limit = limit;
    return query;
}

QStringList Texts(const QList<ArchivedMessage>& messages) {
    QStringList texts;
    for (const ArchivedMessage& message : messages) {
        texts << message.text;
    }
    return texts;
}

class ArchiveFile : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("messages.sqlite")); }
    QTemporaryDir m_dir;
};

TEST_F(ArchiveFile, SameMessageReadTwiceIsStoredOnce) {
    const ArchivedMessage message = Received("420603123456", 100, "Ahoj");
    {
        MessageArchive archive(path());
        ASSERT_TRUE(archive.usable()) << archive.problem().detail.toStdString();
        EXPECT_TRUE(archive.store({message, message}));
        EXPECT_TRUE(archive.store({message}));
        EXPECT_EQ(archive.count(), 1);
    }
    MessageArchive again(path());
    ArchivedMessage moved = message;  // the same message at another place, or written "+420 ..."
    moved.store = "ME";
    moved.indexes = {12};
    moved.contact = "+420 603 123 456";
    EXPECT_TRUE(again.store({moved}));
    EXPECT_EQ(again.count(), 1);
    // Another time, sender, phone or direction is another message.
    ArchivedMessage later = message;
    later.stampSeconds = 101;
    ArchivedMessage other = message;
    other.contact = "420603000000";
    ArchivedMessage otherPhone = message;
    otherPhone.phone = "IMSI 230011234567890";
    ArchivedMessage sent = message;
    sent.direction = Direction::Out;
    EXPECT_TRUE(again.store({later, other, otherPhone, sent}));
    EXPECT_EQ(again.count(), 5);
    const QList<ArchivedMessage> found = again.find({});
    ASSERT_EQ(found.size(), 5);
    EXPECT_EQ(found[0].stampSeconds, 101);  // newest first
    EXPECT_EQ(found.last().store, "SM");    // the first reading is the one kept
    EXPECT_EQ(found.last().indexes, QList<int>{0});
}

TEST_F(ArchiveFile, KeepsEveryFieldAndTheSentParts) {
    MessageArchive archive(path());
    ArchivedMessage in = Received("MojeBanka", 500, "Zůstatek\n100 Kč \"ok\"");
    in.coding = DataCoding::Ucs2;
    in.phone = "IMEI 490154203237518";
    in.indexes = {5, 4, 6};
    const ArchivedMessage out = SentMessage("+420 731-246 810", "Díky", DataCoding::Gsm7Bit,
                                            QDateTime(QDate(2026, 12, 8), QTime(9, 5)),
                                            "IMSI 230011234567890", {{1, true}, {2, false}});
    ASSERT_TRUE(archive.store({in, out}));
    const QList<ArchivedMessage> found = archive.find(Query({}, {}, true));
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0].text, in.text);
    EXPECT_EQ(found[0].contact, "MojeBanka");
    EXPECT_EQ(found[0].coding, DataCoding::Ucs2);
    EXPECT_EQ(found[0].phone, in.phone);
    EXPECT_EQ(found[0].indexes, (QList<int>{5, 4, 6}));
    EXPECT_TRUE(found[0].parts.isEmpty());
    EXPECT_EQ(found[1].direction, Direction::Out);
    EXPECT_EQ(found[1].contact, "420731246810");
    EXPECT_EQ(found[1].time, "8.12.2026 09:05:00");
    ASSERT_EQ(found[1].parts.size(), 2);
    EXPECT_TRUE(found[1].parts[0].accepted);
    EXPECT_FALSE(found[1].parts[1].accepted);
    EXPECT_EQ(found[1].parts[1].sequence, 2);
    EXPECT_GT(found[1].id, found[0].id);
}

// Search with the full-text index and with the folded column alone.
class ArchiveSearch : public ::testing::TestWithParam<bool> {};

TEST_P(ArchiveSearch, FindsWordsWhateverTheirCaseAndDiacritics) {
    QTemporaryDir dir;
    MessageArchive archive(dir.filePath("a.sqlite"), GetParam());
    ASSERT_TRUE(archive.usable());
    EXPECT_EQ(archive.fullTextSearch(), GetParam());
    ASSERT_TRUE(archive.store({
        Received("420731246810", 10, "Zítra v půl sedmé u kina"),
        Received("420603123456", 20, "ZITRA NE, ŘEKL BYCH"),
        Received("420603123456", 30, "Platba 100 % kartou"),
        Received("420777888999", 40, "Šťastné a veselé"),
    }));
    auto find = [&](const QString& search, const QString& contact = {}) {
        return Texts(archive.find(Query(search, contact)));
    };
    const QStringList both{"ZITRA NE, ŘEKL BYCH", "Zítra v půl sedmé u kina"};
    EXPECT_EQ(find("zitra"), both);
    EXPECT_EQ(find("ZÍTRA"), both);
    EXPECT_EQ(find("zít"), both);                                           // the start of a word
    EXPECT_EQ(find("zitra pul"), QStringList{"Zítra v půl sedmé u kina"});  // every word
    EXPECT_EQ(find("rekl"), QStringList{"ZITRA NE, ŘEKL BYCH"});
    EXPECT_EQ(find("stastne"), QStringList{"Šťastné a veselé"});
    EXPECT_EQ(find("100 %"), QStringList{"Platba 100 % kartou"});
    EXPECT_EQ(find("%"), QStringList{"Platba 100 % kartou"});  // signs alone, where they stand
    EXPECT_TRUE(find("zítřek").isEmpty());
    EXPECT_TRUE(find("itra").isEmpty());  // inside a word, not at its start
    EXPECT_TRUE(find("\"").isEmpty());
    EXPECT_EQ(find("zitra", "+420 603 123 456"), QStringList{"ZITRA NE, ŘEKL BYCH"});
    EXPECT_EQ(find("", "420603123456").size(), 2);
}

TEST_P(ArchiveSearch, NewestFewOfACommonWord) {
    QTemporaryDir dir;
    MessageArchive archive(dir.filePath("a.sqlite"), GetParam());
    QList<ArchivedMessage> messages;
    for (int i = 0; i < 6000; ++i) {
        // Every third holds the word only inside another one.
        messages.append(Received("420603123456", i, i % 3 ? "Škola %1" : "neskola %1"));
        messages.last().text = messages.last().text.arg(i);
    }
    ASSERT_TRUE(archive.store(messages));
    EXPECT_EQ(Texts(archive.find(Query("SKOLA", {}, false, 3))),
              (QStringList{"Škola 5999", "Škola 5998", "Škola 5996"}));
    EXPECT_EQ(Texts(archive.find(Query("skola", {}, true, 2))),
              (QStringList{"Škola 1", "Škola 2"}));
    EXPECT_EQ(archive.find(Query("skola")).size(), 4000);
}

INSTANTIATE_TEST_SUITE_P(Index, ArchiveSearch, ::testing::Values(true, false));

TEST_F(ArchiveFile, ConversationAndContacts) {
    MessageArchive archive(path());
    ArchivedMessage reply = SentMessage("420603123456", "Jo, přijdu", DataCoding::Gsm7Bit,
                                        QDateTime(QDate(2026, 12, 1), QTime(10, 0)), {}, {});
    ArchivedMessage question = Received("420603123456", reply.stampSeconds - 60, "Přijdeš?");
    ArchivedMessage thanks = Received("420603123456", reply.stampSeconds + 60, "Super");
    ArchivedMessage other = Received("420777888999", reply.stampSeconds + 3600, "Jiná");
    ASSERT_TRUE(archive.store({thanks, other, reply, question}));
    EXPECT_EQ(Texts(archive.find(Query({}, "420603123456", true))),
              (QStringList{"Přijdeš?", "Jo, přijdu", "Super"}));
    const QList<ArchiveContact> contacts = archive.contacts();
    ASSERT_EQ(contacts.size(), 2);
    EXPECT_EQ(contacts[0].contact, "420777888999");  // the latest message first
    EXPECT_EQ(contacts[1].messages, 3);
    EXPECT_EQ(archive.find(Query({}, {}, false, 2)).size(), 2);
}

TEST_F(ArchiveFile, VersionOneFileIsBroughtUpToDate) {
    {
        // A file as the first version of the archive wrote it.
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "version1");
        db.setDatabaseName(path());
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        for (const char* statement : {
                 "CREATE TABLE messages (id INTEGER PRIMARY KEY, identity TEXT NOT NULL UNIQUE,"
                 " direction INTEGER NOT NULL, contact TEXT NOT NULL, stamp INTEGER NOT NULL,"
                 " time TEXT NOT NULL, body TEXT NOT NULL, coding TEXT NOT NULL,"
                 " phone TEXT NOT NULL DEFAULT '', store TEXT NOT NULL DEFAULT '',"
                 " indexes TEXT NOT NULL DEFAULT '')",
                 "CREATE INDEX messages_by_stamp ON messages (stamp)",
                 "CREATE INDEX messages_by_contact ON messages (contact, stamp)",
                 "CREATE TABLE sent_parts (message INTEGER NOT NULL REFERENCES messages (id)"
                 " ON DELETE CASCADE, sequence INTEGER NOT NULL, accepted INTEGER NOT NULL,"
                 " PRIMARY KEY (message, sequence))",
                 "PRAGMA user_version = 1",
             }) {
            ASSERT_TRUE(query.exec(statement)) << statement;
        }
        const ArchivedMessage old = Received("420603123456", 100, "Zítra ráno");
        query.prepare(
            "INSERT INTO messages (identity, direction, contact, stamp, time, body,"
            " coding, store, indexes) VALUES (?, 0, ?, 100, '100', ?, 'gsm7', 'SM', '0')");
        query.addBindValue(QString::fromLatin1(MessageIdentity(old)));
        query.addBindValue(old.contact);
        query.addBindValue(old.text);
        ASSERT_TRUE(query.exec());
        db.close();
    }
    QSqlDatabase::removeDatabase("version1");
    for (bool fullText : {true, false}) {
        SCOPED_TRACE(fullText);
        QFile::copy(path(), path() + QString::number(fullText));
        MessageArchive archive(path() + QString::number(fullText), fullText);
        ASSERT_TRUE(archive.usable()) << archive.problem().detail.toStdString();
        EXPECT_EQ(Texts(archive.find(Query("zitra"))), QStringList{"Zítra ráno"});
        // The old message is recognised again; a new one joins it.
        EXPECT_TRUE(archive.store({Received("420603123456", 100, "Zítra ráno"),
                                   Received("420603123456", 200, "zítra večer")}));
        EXPECT_EQ(archive.find(Query("ZITRA")).size(), 2);
    }
    MessageArchive reopened(path() + "1");
    EXPECT_EQ(reopened.count(), 2);
}

TEST_F(ArchiveFile, FilesItCannotUseAreReportedWithTheirPath) {
    auto writeFile = [](const QString& file, const QByteArray& bytes) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    };
    // Not a database at all.
    writeFile(path(), QByteArray(8192, 'x'));
    {
        MessageArchive damaged(path());
        EXPECT_FALSE(damaged.usable());
        EXPECT_EQ(damaged.problem().kind, ArchiveProblem::Kind::Damaged);
        EXPECT_TRUE(damaged.problem()
                        .describe(Language::English)
                        .startsWith(UiText(Language::English, kTextArchiveDamaged).arg(path())));
        EXPECT_FALSE(damaged.store({Received("1", 1, "x")}));
        EXPECT_TRUE(damaged.find({}).isEmpty());
    }
    // A folder stands where the file should be created.
    const QString blocked = m_dir.filePath("file/messages.sqlite");
    writeFile(m_dir.filePath("file"), "x");
    MessageArchive unreachable(blocked);
    EXPECT_EQ(unreachable.problem().kind, ArchiveProblem::Kind::CannotOpen);
    EXPECT_TRUE(unreachable.problem().describe(Language::Czech).contains(blocked));

    // Written by a newer version.
    const QString newer = m_dir.filePath("newer.sqlite");
    {
        MessageArchive archive(newer);
        ASSERT_TRUE(archive.usable());
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "newer");
        db.setDatabaseName(newer);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("PRAGMA user_version = 99");
        db.close();
    }
    QSqlDatabase::removeDatabase("newer");
    EXPECT_EQ(MessageArchive(newer).problem().kind, ArchiveProblem::Kind::TooNew);
}

TEST_F(ArchiveFile, LockedByAnotherProgram) {
    { MessageArchive create(path()); }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "holder");
        db.setDatabaseName(path());
        ASSERT_TRUE(db.open());
        QSqlQuery hold(db);
        ASSERT_TRUE(hold.exec("PRAGMA locking_mode = EXCLUSIVE"));
        ASSERT_TRUE(hold.exec("BEGIN EXCLUSIVE"));
        MessageArchive archive(path());
        EXPECT_FALSE(archive.usable());
        EXPECT_EQ(archive.problem().kind, ArchiveProblem::Kind::Locked);
        hold.exec("ROLLBACK");
        db.close();
    }
    QSqlDatabase::removeDatabase("holder");
    EXPECT_TRUE(MessageArchive(path()).usable());  // usable again once released
}

TEST(ArchiveText, FoldingContactsAndIdentityDigits) {
    EXPECT_EQ(FoldedText("Zítra ŘÍJEN Ďábel"), "zitra rijen dabel");
    EXPECT_EQ(ContactKey(" +420 (603) 123-456 "), "420603123456");
    EXPECT_EQ(ContactKey("MojeBanka"), "MojeBanka");
    EXPECT_EQ(IdentityDigits("AT+CIMI\r\r\n230011234567890\r\n\r\nOK\r\n"), "230011234567890");
    EXPECT_EQ(IdentityDigits("\r\n+CGSN: \"490154203237518\"\r\n\r\nOK\r\n"), "490154203237518");
    EXPECT_EQ(IdentityDigits("AT+CIMI\r\r\n+CME ERROR: 10\r\n"), "");
    EXPECT_EQ(IdentityDigits("\r\n12345\r\nOK\r\n"), "");  // too short for either
}

TEST(ArchiveText, PartsOfALongMessageAreOneMessage) {
    auto part = [](int index, int sequence, const QString& text) {
        ReadMessage read;
        read.store = "ME";
        read.index = index;
        read.message.sender = "420602334455";
        read.message.time = "6.12.2026 18:20:05";
        read.message.stampSeconds = 1000 + sequence;
        read.message.coding = DataCoding::Ucs2;
        read.message.text = text;
        read.message.part = ConcatenatedPart{42, 3, sequence};
        return read;
    };
    ReadMessage single;
    single.store = "ME";
    single.index = 9;
    single.message.sender = "MojeBanka";
    single.message.alphanumericSender = true;
    single.message.text = "Kč";
    const QList<ArchivedMessage> messages = ReceivedMessages(
        {part(4, 2, "druhá "), single, part(5, 1, "první "), part(6, 3, "třetí")}, "IMSI 1");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0].text, "první druhá třetí");
    EXPECT_EQ(messages[0].indexes, (QList<int>{5, 4, 6}));
    EXPECT_EQ(messages[0].stampSeconds, 1001);
    EXPECT_EQ(messages[0].coding, DataCoding::Ucs2);
    EXPECT_EQ(messages[0].phone, "IMSI 1");
    EXPECT_EQ(messages[1].contact, "MojeBanka");
    EXPECT_EQ(ArchiveRow(messages[1]).number, "");  // a name cannot be answered
}

// The simulated phone answering within write(), so a fake clock never runs
// ahead of an answer; only a silent phone lets time pass.
class PromptPhonePort : public SerialPort {
public:
    explicit PromptPhonePort(phonesim::PhoneState state) : phone(std::move(state)) {}
    OpenResult open(const QString&) override {
        m_open = true;
        return OpenResult::Ok;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray& data) override {
        m_pending += phone.receiveText(data);
        return m_open;
    }
    QByteArray readAll() override { return std::exchange(m_pending, {}); }

    phonesim::SimulatedPhone phone;

private:
    bool m_open = false;
    QByteArray m_pending;
};

// Every message of `before` is still on the phone, or in the archive at the
// same store and index with its text.
void ExpectNothingLost(const phonesim::PhoneState& before, const phonesim::PhoneState& after,
                       const MessageArchive& archive) {
    const QList<ArchivedMessage> kept = archive.find({});
    for (auto store = before.stores.begin(); store != before.stores.end(); ++store) {
        for (auto message = store->messages.begin(); message != store->messages.end(); ++message) {
            const std::optional<DeliveredMessage> decoded = DecodeDeliverPdu(message->pdu);
            if (!decoded || after.stores[store.key()].messages.contains(message.key())) {
                continue;
            }
            const bool archived =
                std::any_of(kept.begin(), kept.end(), [&](const ArchivedMessage& k) {
                    return k.store == store.key() && k.indexes.contains(message.key()) &&
                           k.text.contains(decoded->text);
                });
            EXPECT_TRUE(archived) << store.key().toStdString() << ' ' << message.key();
        }
    }
}

// A download with deletes from the simulated phone, kept in `archive`.
class DeleteRig {
public:
    DeleteRig(const phonesim::PhoneState& state, const char* fault = nullptr)
        : m_link(MakePort(state, fault), m_clock) {
        EXPECT_EQ(m_link.OpenPort("demo"), OpenResult::Ok);
    }

    std::optional<QList<MessageRow>> download(MessageArchive& archive) {
        SmsReader reader(m_link, boxes, Language::English);
        reader.setKeeper([&](const QString& identity, const QList<ReadMessage>& read) {
            const bool kept = archive.store(ReceivedMessages(read, identity));
            return SmsReader::KeepResult{kept, archive.problem().describe(Language::English)};
        });
        std::optional<QList<MessageRow>> rows = reader.ReadMessages(true, {});
        refused = reader.deletesRefused();
        return rows;
    }
    const phonesim::PhoneState& phone() const { return m_phone->phone.state(); }
    AtLink& link() { return m_link; }

    test::FakeMessageBoxes boxes;
    bool refused = false;

private:
    std::unique_ptr<PromptPhonePort> MakePort(const phonesim::PhoneState& state,
                                              const char* fault) {
        auto port = std::make_unique<PromptPhonePort>(state);
        if (fault) {
            port->phone.addFault(*phonesim::parseFault(fault, nullptr));
        }
        m_phone = port.get();
        return port;
    }

    FakeClock m_clock;  // a silent phone's waits pass at once
    PromptPhonePort* m_phone = nullptr;
    AtLink m_link;
};

TEST_F(ArchiveFile, DeletesOnlyWhatTheArchiveHolds) {
    const phonesim::PhoneState before = phonesim::demoPhoneState();
    MessageArchive archive(path());
    DeleteRig rig(before);
    const std::optional<QList<MessageRow>> rows = rig.download(archive);
    ASSERT_TRUE(rows);
    EXPECT_TRUE(rig.boxes.shown.isEmpty());
    EXPECT_FALSE(rig.refused);
    EXPECT_EQ(archive.count(), rows->size());
    EXPECT_EQ(rig.phone().stores["ME"].messages.size(), 0);
    ExpectNothingLost(before, rig.phone(), archive);
}

TEST_F(ArchiveFile, PhoneGoingAwayBetweenDeletesLosesNothing) {
    const phonesim::PhoneState before = phonesim::demoPhoneState();
    for (const char* fault : {"AT+CMGD=1=silent", "AT+CMGD=5=silent", "AT+CMGD=2=drop:0"}) {
        SCOPED_TRACE(fault);
        QTemporaryDir dir;
        MessageArchive archive(dir.filePath("a.sqlite"));
        DeleteRig rig(before, fault);
        ASSERT_TRUE(rig.download(archive));
        EXPECT_FALSE(rig.boxes.shown.isEmpty());  // the phone stopped answering
        EXPECT_GT(archive.count(), 0);
        ExpectNothingLost(before, rig.phone(), archive);
    }
}

TEST_F(ArchiveFile, UnusableArchiveRefusesDeletesButReads) {
    QFile damaged(path());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, 'x'));
    damaged.close();
    const phonesim::PhoneState before = phonesim::demoPhoneState();
    MessageArchive archive(path());
    DeleteRig rig(before);
    const std::optional<QList<MessageRow>> rows = rig.download(archive);
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->size(), 9);  // every message is still listed
    EXPECT_TRUE(rig.refused);
    ASSERT_EQ(rig.boxes.shown.size(), 1);
    EXPECT_TRUE(rig.boxes.shown[0].text.contains(path()));
    EXPECT_TRUE(rig.boxes.shown[0].text.startsWith(
        UiText(Language::English, kTextDeletesRefused).arg(QString()).trimmed()));
    EXPECT_EQ(rig.phone().stores["ME"].messages.size(), before.stores["ME"].messages.size());
    EXPECT_EQ(rig.phone().stores["SM"].messages.size(), before.stores["SM"].messages.size());
}

TEST_F(ArchiveFile, UnusableArchiveIsReportedOnceWithoutDeletes) {
    QFile damaged(path());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, 'x'));
    damaged.close();
    MessageArchive archive(path());
    DeleteRig rig(phonesim::demoPhoneState());
    AtLink& link = rig.link();
    SmsReader reader(link, rig.boxes, Language::English);
    reader.setKeeper([&](const QString& identity, const QList<ReadMessage>& read) {
        const bool kept = archive.store(ReceivedMessages(read, identity));
        return SmsReader::KeepResult{kept, archive.problem().describe(Language::English)};
    });
    const std::optional<QList<MessageRow>> rows = reader.ReadMessages(false, {});
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->size(), 9);
    EXPECT_FALSE(reader.deletesRefused());
    ASSERT_EQ(rig.boxes.shown.size(), 1);  // two stores, one box
    EXPECT_EQ(rig.boxes.shown[0].text, archive.problem().describe(Language::English));
}

}  // namespace
}  // namespace telvora::sms
