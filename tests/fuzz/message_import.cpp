// How listed messages enter the archive: a whole listing answer of each
// store, decoded, the parts of long messages joined, and the archive's
// records made. Every message read is in exactly one record (a download
// deletes from the phone only what a record holds), and no record's text
// is longer than the texts of its parts.

#include <QByteArrayView>
#include <QHash>
#include <QList>

#include "telvora/sms/deliver_pdu.h"
#include "telvora/sms/message_archive.h"
#include "telvora/sms/message_listing.h"
#include "telvora/sms/message_rows.h"
#include "tests/fuzz/fuzz_check.h"

using namespace telvora::sms;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView answer(reinterpret_cast<const char*>(data), qsizetype(size));
    // The input's first half as the phone memory's listing, the rest as the SIM's.
    const qsizetype half = answer.size() / 2;
    QList<ReadMessage> read;
    QHash<QString, int> placesRead;
    qsizetype textTotal = 0;
    for (const auto& [store, listing] : {std::pair{QStringLiteral("ME"), answer.first(half)},
                                         std::pair{QStringLiteral("SM"), answer.sliced(half)}}) {
        for (const ListedPdu& entry : ParseMessageListing(listing)) {
            if (auto message = DecodeDeliverPdu(entry.pdu)) {
                const QString place = store + u'/' + QString::number(entry.index);
                if (placesRead.contains(place)) {
                    continue;  // a store lists an index once; a repeat is read once
                }
                placesRead.insert(place, 0);
                textTotal += message->text.size();
                read.append({store, entry.index, *message});
            }
        }
    }

    const QList<ArchivedMessage> records =
        ReceivedMessages(read, QStringLiteral("IMSI 230011234567890"));
    FUZZ_CHECK(records.size() <= read.size());
    for (const ArchivedMessage& record : records) {
        FUZZ_CHECK(record.text.size() <= textTotal);
        for (int index : record.indexes) {
            const QString place = record.store + u'/' + QString::number(index);
            FUZZ_CHECK(placesRead.contains(place));
            ++placesRead[place];
        }
    }
    for (auto it = placesRead.cbegin(); it != placesRead.cend(); ++it) {
        FUZZ_CHECK(it.value() == 1);
    }
    return 0;
}
