#pragma once
// UploadPhoneBook: writes a list of entries into one phone-book memory,
// entry i to position i, within the phone's limits. A position the phone
// refuses is reported at the end and the upload goes on with the next one;
// a phone that stops answering ends it.

#include <QList>
#include <QObject>
#include <QString>

#include "telvora/phonebook/phone_book_command.h"
#include "telvora/phonebook/phone_book_entry.h"

namespace telvora {

struct UploadEntry {
    QString name;
    QString number;
};

struct UploadPhoneBookResult {
    enum class Status {
        Done,          // every position was tried (see failedPositions)
        Cancelled,     // the user said No, or cancelled the upload while it ran
        NotConnected,  // text 38 shown
        PortBusy,      // text 82 shown
        Failed,        // stopped before or while writing; the reason shown
    };
    Status status = Status::Failed;
    int written = 0;             // positions the phone accepted
    QList<int> failedPositions;  // positions the phone refused
    int beyondMemory = 0;        // entries for which the memory has no position
};

class UploadPhoneBook : public QObject {
    Q_OBJECT
public:
    explicit UploadPhoneBook(PhoneBookCommandSetup setup, QObject* parent = nullptr)
        : QObject(parent), m_setup(std::move(setup)) {}

    UploadPhoneBookResult run(PhoneBookSource memory, const QList<UploadEntry>& entries);

signals:
    // "Nahrávám 2/4": text 75, the position being written and the number of
    // entries plus one (the editor's rows with its heading).
    void progress(const QString& text);

private:
    UploadPhoneBookResult uploadHeld(PortLease& lease, PhoneBookSource memory,
                                     const QList<UploadEntry>& entries);
    QString progressText(int position, qsizetype entries) const;

    PhoneBookCommandSetup m_setup;
};

}  // namespace telvora
