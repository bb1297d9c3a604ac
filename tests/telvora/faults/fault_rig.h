#pragma once
// What the fault matrix checks after each run of a command against a phone
// with a fault injected: the files it may write (the CSV of messages, a
// .tpb phone book) are either as they were or whole, and every message that
// was on the phone is still there or in the message archive.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>
#include <QStringList>

#include "telvora/demophone/phone_state.h"
#include "telvora/phonebook/phone_book_file.h"
#include "telvora/sms/deliver_pdu.h"
#include "telvora/sms/message_archive.h"

namespace telvora::test {

inline QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteWholeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// The demo phone with a SIM phone book of `size` positions, every one
// filled with a distinct number and a name with a diacritic.
inline phonesim::PhoneState DemoPhoneWithFullSim(int size) {
    phonesim::PhoneState state = phonesim::demoPhoneState();
    phonesim::PhoneBook& book = state.phoneBooks["SM"];
    book.size = size;
    book.entries.clear();
    for (int i = 1; i <= size; ++i) {
        book.entries.insert(i, {QStringLiteral("+42060%1").arg(i, 7, 10, QChar('0')), 145,
                                QStringLiteral("Jméno %1").arg(i)});
    }
    return state;
}

// The texts of the messages a phone holds in all its stores.
inline QStringList TextsOnPhone(const phonesim::PhoneState& state) {
    QStringList texts;
    for (const phonesim::MessageStore& store : state.stores) {
        for (const phonesim::StoredMessage& message : store.messages) {
            if (const auto decoded = sms::DecodeDeliverPdu(message.pdu)) {
                texts << decoded->text;
            }
        }
    }
    return texts;
}

// The message archive written below `dataFolder`, wherever the program's
// name put it; empty when none was written.
inline QString FindArchive(const QString& dataFolder) {
    QDirIterator files(dataFolder, {QStringLiteral("messages.sqlite")}, QDir::Files,
                       QDirIterator::Subdirectories);
    return files.hasNext() ? files.next() : QString();
}

inline QStringList ArchivedTexts(const QString& dataFolder) {
    const QString path = FindArchive(dataFolder);
    QStringList texts;
    if (path.isEmpty()) {
        return texts;
    }
    const sms::MessageArchive archive(path);
    for (const sms::ArchivedMessage& message : archive.find({})) {
        texts << message.text;
    }
    return texts;
}

// The messages of `before` that are neither on the phone now nor (as a
// whole text, or within a joined long one) in the archive.
inline QStringList LostMessages(const QStringList& before, const QStringList& onPhone,
                                const QStringList& archived) {
    QStringList lost;
    for (const QString& text : before) {
        if (onPhone.contains(text)) {
            continue;
        }
        bool kept = false;
        for (const QString& whole : archived) {
            kept = kept || whole.contains(text);
        }
        if (!kept) {
            lost << text;
        }
    }
    return lost;
}

// A CSV file appended to: what it held is kept in front, and what was added
// is whole lines (quotes balanced, ending with a line end).
inline bool CsvKeptAndWhole(const QByteArray& before, const QByteArray& after) {
    if (!after.startsWith(before)) {
        return false;
    }
    const QByteArray added = after.mid(before.size());
    return added.isEmpty() || (added.count('"') % 2 == 0 && added.endsWith("\r\n"));
}

// A .tpb file is either exactly `before` or reads back as `expected` entries.
inline bool PhoneBookFileIntact(const QByteArray& before, const QByteArray& after,
                                qsizetype expected) {
    if (after == before) {
        return true;
    }
    const PhoneBookFileParse content = ParsePhoneBookFile(after);
    return content.skippedLines == 0 && content.entries.size() == expected;
}

}  // namespace telvora::test
