// telvora-cli and the message archive against telvora-phonesim: listings
// land in the archive, "sms archive" shows them, and a listing with deletes
// killed at any moment leaves every message on the phone or in the archive.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include "telvora/core/ui_texts.h"
#include "telvora/sms/deliver_pdu.h"
#include "telvora/sms/message_archive.h"
#include "telvora/sms/sms_texts.h"
#include "tests/telvora/sms/phonesim_rig.h"

namespace telvora::sms {
namespace {

using test::PhonesimRig;

QJsonObject Message(int index, const QString& sender, const QDateTime& time, const QString& text) {
    return {{"index", index},
            {"status", index % 2},
            {"sender", sender},
            {"time", time.toString(Qt::ISODate)},
            {"text", text}};
}

QJsonObject Ucs2(QJsonObject message) {
    message.insert("coding", "ucs2");
    return message;
}

QJsonObject Stores(const QJsonArray& me, const QJsonArray& sm) {
    return {{"stores", QJsonObject{{"ME", QJsonObject{{"capacity", 200}, {"messages", me}}},
                                   {"SM", QJsonObject{{"capacity", 50}, {"messages", sm}}}}}};
}

QJsonObject SmallPhone() {
    const QDateTime at(QDate(2026, 12, 1), QTime(8, 0), Qt::OffsetFromUTC, 3600);
    return Stores({Ucs2(Message(1, "+420603123456", at, "Zítra v\tosm")),
                   Message(2, "MojeBanka", at.addSecs(60), "Platba")},
                  {Ucs2(Message(1, "+420777888999", at.addSecs(120), "Díky, zítra"))});
}

QStringList TextsOnThePhone(const QJsonObject& state) {
    QStringList texts;
    const QJsonObject stores = state.value("stores").toObject();
    for (const QString& store : stores.keys()) {
        for (const auto& entry : stores.value(store).toObject().value("messages").toArray()) {
            const QJsonObject message = entry.toObject();
            if (message.contains("text")) {
                texts << message.value("text").toString();
            } else if (auto decoded =
                           DecodeDeliverPdu(message.value("pdu").toString().toLatin1())) {
                texts << decoded->text;
            }
        }
    }
    return texts;
}

int StoredCount(const QJsonObject& state) {
    return int(TextsOnThePhone(state).size());
}

TEST(SmsArchiveCli, ListingsLandInTheArchiveOnce) {
    PhonesimRig phone(SmallPhone());
    ASSERT_FALSE(phone.device().isEmpty());
    EXPECT_EQ(phone.cli({"sms", "list"}).code, 0);
    auto listed = phone.cli({"sms", "list", "--delete"});
    EXPECT_EQ(listed.code, 0) << listed.err.toStdString();
    auto tsv = phone.cli({"sms", "archive", "--tsv"});
    EXPECT_EQ(tsv.code, 0) << tsv.err.toStdString();
    // Newest first; the id column holds the archive's own numbers.
    EXPECT_EQ(tsv.out.toStdString(),
              "1.12.2026 08:02:00\t420777888999\t420777888999\t3\tDíky, zítra\tin\n"
              "1.12.2026 08:01:00\tMojeBanka\t\t2\tPlatba\tin\n"
              "1.12.2026 08:00:00\t420603123456\t420603123456\t1\tZítra v\\tosm\tin\n");
    auto search = phone.cli({"sms", "archive", "--search", "ZITRA", "--contact", "+420603123456"});
    EXPECT_EQ(search.out.toStdString(), "1.12.2026 08:00:00  <  420603123456  Zítra v\tosm\n");
    EXPECT_EQ(phone.cli({"sms", "archive", "--search", "zitra"}).out.count('\n'), 2);
    EXPECT_EQ(phone.cli({"sms", "archive", "--bogus"}).code, 2);
    EXPECT_EQ(StoredCount(phone.finalState()), 0);
    // The archive reads without the phone.
    auto withoutPhone = phone.cli({"sms", "archive", "--search", "platba"});
    EXPECT_EQ(withoutPhone.code, 0) << withoutPhone.err.toStdString();
    EXPECT_EQ(withoutPhone.out.count('\n'), 1);
}

TEST(SmsArchiveCli, DeletingWithoutTheArchiveIsRefused) {
    PhonesimRig phone(SmallPhone());
    auto refused = phone.cli({"sms", "list", "--delete", "--no-archive"});
    EXPECT_EQ(refused.code, 2);
    auto unarchived = phone.cli({"sms", "list", "--no-archive"});
    EXPECT_EQ(unarchived.code, 0);
    EXPECT_EQ(unarchived.out.count('\n'), 3);
    EXPECT_TRUE(phone.cli({"sms", "archive"}).out.isEmpty());
    EXPECT_EQ(StoredCount(phone.finalState()), 3);
}

TEST(SmsArchiveCli, DamagedArchiveKeepsTheMessagesOnThePhone) {
    PhonesimRig phone(SmallPhone());
    const QString file = phone.dataDir() + "/Telvora/Telvora/messages.sqlite";
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, '\x5a'));
    damaged.close();
    auto list = phone.cli({"sms", "list", "--delete"});
    EXPECT_EQ(list.code, 1);               // the deletes asked for were not done
    EXPECT_EQ(list.out.count('\n'), 3);    // but the messages were read
    EXPECT_TRUE(list.err.contains(file));  // the file is named
    EXPECT_TRUE(list.err.contains(UiText(Language::English, kTextDeletesRefused).left(20)));
    EXPECT_EQ(phone.cli({"sms", "archive"}).code, 1);
    EXPECT_EQ(StoredCount(phone.finalState()), 3);
}

TEST(SmsArchiveCli, SentMessagesWithTheirParts) {
    QJsonObject state = SmallPhone();
    state.insert("rejectedNumbers", QJsonArray{"420999000111"});
    PhonesimRig phone(state);
    EXPECT_EQ(phone.cli({"sms", "send", "+420 603 123 456", "Ahoj"}).code, 0);
    EXPECT_EQ(phone.cli({"sms", "send", "420999000111", "Neprojde"}).code, 1);
    EXPECT_EQ(phone.cli({"sms", "send", "777", QString(200, u'x'), "--long"}).code, 0);
    const MessageArchive archive(phone.dataDir() + "/Telvora/Telvora/messages.sqlite");
    ArchiveQuery query;
    query.oldestFirst = true;
    const QList<ArchivedMessage> sent = archive.find(query);
    ASSERT_EQ(sent.size(), 3);
    EXPECT_EQ(sent[0].contact, "420603123456");
    EXPECT_EQ(sent[0].direction, Direction::Out);
    ASSERT_EQ(sent[0].parts.size(), 1);
    EXPECT_TRUE(sent[0].parts[0].accepted);
    ASSERT_EQ(sent[1].parts.size(), 1);
    EXPECT_FALSE(sent[1].parts[0].accepted);  // refused, and kept as refused
    EXPECT_EQ(sent[2].text, QString(200, u'x'));
    EXPECT_EQ(sent[2].parts.size(), 2);
    auto tsv = phone.cli({"sms", "archive", "--tsv", "--contact", "420603123456"});
    EXPECT_TRUE(tsv.out.endsWith("\tAhoj\tout\n")) << tsv.out.toStdString();
}

// A listing with deletes killed at random moments, again and again: every
// message stays on the phone, reaches the archive, or both.
TEST(SmsArchiveCli, KilledAtAnyMomentLosesNothing) {
    QJsonArray me;
    QJsonArray sm;
    QStringList generated;
    const QDateTime start(QDate(2026, 11, 1), QTime(8, 0), Qt::OffsetFromUTC, 3600);
    for (int i = 1; i <= 40; ++i) {
        const QString text = QStringLiteral("message %1").arg(i);
        generated << text;
        (i % 4 == 0 ? sm : me)
            .append(Message(i, "+4206031234" + QString::number(10 + i % 7), start.addSecs(3600 * i),
                            text));
    }
    PhonesimRig phone(Stores(me, sm), {"--latency", "15"});
    ASSERT_FALSE(phone.device().isEmpty());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", phone.dir() + "/config");
    environment.insert("XDG_DATA_HOME", phone.dataDir());
    QRandomGenerator random(16);
    int killed = 0;
    for (int round = 0; round < 12; ++round) {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QStringLiteral(TELVORA_CLI_PATH),
                    {"--device", phone.device(), "sms", "list", "--delete"});
        ASSERT_TRUE(child.waitForStarted(10000));
        if (!child.waitForFinished(int(random.bounded(20, 700)))) {
            child.kill();
            child.waitForFinished(10000);
            ++killed;
        }
        QThread::msleep(50);  // the phone finishes the command it was given
    }
    auto archived = phone.cli({"sms", "archive", "--tsv"});
    ASSERT_EQ(archived.code, 0) << archived.err.toStdString();
    QStringList inArchive;
    for (const QString& line : archived.out.split('\n', Qt::SkipEmptyParts)) {
        inArchive << line.section('\t', 4, 4);
    }
    const QStringList onPhone = TextsOnThePhone(phone.finalState());
    for (const QString& text : generated) {
        EXPECT_TRUE(onPhone.contains(text) || inArchive.contains(text)) << text.toStdString();
    }
    EXPECT_EQ(inArchive.removeDuplicates(), 0);   // nothing stored twice
    EXPECT_LT(onPhone.size(), generated.size());  // some deletes were done
    EXPECT_GT(killed, 0);
}

}  // namespace
}  // namespace telvora::sms
