#pragma once
// UploadPhoneBook: makes one phone-book memory hold exactly a list of
// entries. It reads what the memory holds, plans the changes (upload_plan.h:
// entries keep their positions, new ones take the lowest free position,
// positions no longer used are erased) and writes only those. A name or
// number over the phone's limits stops it before anything is written,
// unless names are to be cut. A position the phone refuses is reported at
// the end and the upload goes on with the next one; a phone that stops
// answering ends it.

#include <QList>
#include <QObject>
#include <QString>

#include "telvora/phonebook/phone_book_command.h"
#include "telvora/phonebook/phone_book_entry.h"

namespace telvora {

struct UploadEntry {
    QString name;
    QString number;
    qint16 position = 0;  // where the entry was read from; 0: a new entry
};

struct UploadPhoneBookResult {
    enum class Status {
        Done,          // every position was tried (see failedPositions)
        Cancelled,     // the user said No, or cancelled the upload while it ran
        NotConnected,  // text 38 shown
        PortBusy,      // text 82 shown
        Failed,        // stopped before or while writing; the reason shown
        TooLong,       // names or numbers over the phone's limits; nothing written
    };
    Status status = Status::Failed;
    int written = 0;             // positions the phone accepted (entries written or erased)
    int erased = 0;              // of them, positions erased
    QList<int> failedPositions;  // positions the phone refused
    int beyondMemory = 0;        // entries for which the memory has no position
};

class UploadPhoneBook : public QObject {
    Q_OBJECT
public:
    explicit UploadPhoneBook(PhoneBookCommandSetup setup, QObject* parent = nullptr)
        : QObject(parent), m_setup(std::move(setup)) {}

    UploadPhoneBookResult run(PhoneBookSource memory, const QList<UploadEntry>& entries);

    // Names over the phone's limit are cut without asking (telvora-cli --cut).
    // Otherwise the window asks whether to cut them, and the command line
    // (no questions) refuses the upload.
    void setCutLongNames(bool cut) { m_cutLongNames = cut; }

signals:
    // "Nahrávám 2/4": text 75, the change being written (1 to the number
    // of changes) and the number of changes; also as numbers for a bar.
    void progress(const QString& text, int done, int total);

private:
    UploadPhoneBookResult uploadHeld(PortLease& lease, PhoneBookSource memory,
                                     const QList<UploadEntry>& entries);
    QString progressText(int change, int changes) const;
    // "Entries written: n." after an upload stopped part way.
    QString entriesWrittenText(const UploadPhoneBookResult& result) const;

    PhoneBookCommandSetup m_setup;
    bool m_cutLongNames = false;
};

}  // namespace telvora
