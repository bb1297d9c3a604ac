// The message archive with 100,000 messages (target: open and search in
// under 100 ms):
//  - opening the file (connection, version check, WAL);
//  - opening and searching a word that 20 messages hold, in any case and
//    with or without diacritics, through the full-text index and through the
//    folded column alone;
//  - opening and listing the newest 1,000 messages that hold a common word,
//    the newest 1,000 of all, one contact's conversation, the contact list;
//  - as the reference in the same run: a plain scan of the table for the
//    same rare word (LIKE over the text column, which finds neither case
//    nor diacritics).

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "telvora/sms/message_archive.h"
#include "telvora/sms/pdu_codec.h"

namespace {

using namespace telvora::sms;

constexpr int kMessages = 100000;
constexpr int kRareEvery = 5000;  // 20 messages hold "Zítra"

const char* const kWords[] = {"ahoj", "dobrý", "den",   "schůzka", "večer",  "přijdu",   "pozdě",
                              "kino", "vlak",  "díky",  "platba",  "kartou", "zůstatek", "škola",
                              "oběd", "nákup", "mléko", "chleba",  "hotovo", "zavolej"};

QString FileWith(bool fullText) {
    // TELVORA_BENCH_DIR keeps the files for the next run; building them
    // takes longer than the whole measurement.
    static QTemporaryDir temporary;
    const QString folder = qEnvironmentVariableIsSet("TELVORA_BENCH_DIR")
                               ? qEnvironmentVariable("TELVORA_BENCH_DIR")
                               : temporary.path();
    const QString path = folder + (fullText ? "/indexed.sqlite" : "/folded.sqlite");
    MessageArchive archive(path, fullText);
    if (archive.count() == kMessages) {
        return path;
    }
    QList<ArchivedMessage> messages;
    messages.reserve(kMessages);
    const QDateTime start(QDate(2020, 1, 1), QTime(8, 0));
    for (int i = 0; i < kMessages; ++i) {
        ArchivedMessage message;
        message.direction = i % 3 == 0 ? Direction::Out : Direction::In;
        message.contact = QStringLiteral("420603%1").arg(100000 + i % 500);
        const QDateTime at = start.addSecs(qint64(i) * 900);
        message.stampSeconds = WallClockSeconds(at);
        message.time = at.toString(QStringLiteral("d.M.yyyy hh:mm:ss"));
        QStringList words;
        for (int w = 0; w < 12; ++w) {
            words << QString::fromUtf8(kWords[(i * 7 + w * 13) % std::size(kWords)]);
        }
        if (i % kRareEvery == 17) {
            words.insert(3, QStringLiteral("Zítra"));
        }
        message.text = words.join(u' ') + QStringLiteral(" %1").arg(i);
        message.store = QStringLiteral("ME");
        message.indexes = {i % 200 + 1};
        messages.append(message);
    }
    archive.store(messages);
    return path;
}

void BM_Open(benchmark::State& state) {
    const QString path = FileWith(true);
    for (auto _ : state) {
        MessageArchive archive(path);
        benchmark::DoNotOptimize(archive.usable());
    }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

void OpenAndFind(benchmark::State& state, bool fullText, const ArchiveQuery& query,
                 qsizetype expected) {
    const QString path = FileWith(fullText);
    for (auto _ : state) {
        MessageArchive archive(path, fullText);
        const QList<ArchivedMessage> found = archive.find(query);
        if (found.size() != expected) {
            state.SkipWithError("unexpected number of messages found");
            return;
        }
    }
}

ArchiveQuery Search(const QString& words, int limit = -1) {
    ArchiveQuery query;
    query.search = words;
    query.limit = limit;
    return query;
}

void BM_OpenSearchRareIndexed(benchmark::State& state) {
    OpenAndFind(state, true, Search(QStringLiteral("zitra")), kMessages / kRareEvery);
}
BENCHMARK(BM_OpenSearchRareIndexed)->Unit(benchmark::kMillisecond);

void BM_OpenSearchRareFolded(benchmark::State& state) {
    OpenAndFind(state, false, Search(QStringLiteral("ZITRA")), kMessages / kRareEvery);
}
BENCHMARK(BM_OpenSearchRareFolded)->Unit(benchmark::kMillisecond);

void BM_OpenSearchCommonFirst1000(benchmark::State& state) {
    OpenAndFind(state, true, Search(QStringLiteral("skola"), 1000), 1000);
}
BENCHMARK(BM_OpenSearchCommonFirst1000)->Unit(benchmark::kMillisecond);

void BM_OpenNewest1000(benchmark::State& state) {
    OpenAndFind(state, true, Search({}, 1000), 1000);
}
BENCHMARK(BM_OpenNewest1000)->Unit(benchmark::kMillisecond);

void BM_OpenConversation(benchmark::State& state) {
    ArchiveQuery query;
    query.contact = QStringLiteral("420603100042");
    query.oldestFirst = true;
    OpenAndFind(state, true, query, kMessages / 500);
}
BENCHMARK(BM_OpenConversation)->Unit(benchmark::kMillisecond);

void BM_Contacts(benchmark::State& state) {
    MessageArchive archive(FileWith(true));
    for (auto _ : state) {
        benchmark::DoNotOptimize(archive.contacts().size());
    }
}
BENCHMARK(BM_Contacts)->Unit(benchmark::kMillisecond);

// The reference: every row's text read and compared, as a table without an
// index would be searched.
void BM_ReferenceTableScan(benchmark::State& state) {
    const QString path = FileWith(true);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "reference");
    db.setDatabaseName(path);
    db.open();
    for (auto _ : state) {
        QSqlQuery query(db);
        query.exec(QStringLiteral("SELECT COUNT(*) FROM messages WHERE body LIKE '%Zítra%'"));
        query.next();
        benchmark::DoNotOptimize(query.value(0).toInt());
    }
}
BENCHMARK(BM_ReferenceTableScan)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    { QSqlDatabase::database("reference").close(); }
    QSqlDatabase::removeDatabase("reference");
    return 0;
}
