#pragma once
// ReadPhoneBook: reads every entry of one phone-book memory of the phone.
// The entries are written to a file (the default file, or the one given on
// the command line) only when the whole read succeeded, so a read that
// fails half-way leaves the previous file as it was.

#include "telvora/phonebook/phone_book_command.h"
#include "telvora/phonebook/phone_book_entry.h"

namespace telvora {

struct ReadPhoneBookResult {
    enum class Status {
        Read,          // entries read (and written to the file, if one was given)
        Empty,         // the memory holds no entries; text 50 shown, file untouched
        Cancelled,     // the user declined the notice
        NotConnected,  // the phone did not answer the link check; text 38 shown
        PortBusy,      // another command holds the port; text 82 shown
        Failed,        // the phone failed a command; the reason shown
    };
    Status status = Status::Failed;
    PhoneBookList entries;  // in the phone's order
    int brokenRecords = 0;  // records that could not be read
    bool fileWritten = false;
};

class ReadPhoneBook {
public:
    explicit ReadPhoneBook(PhoneBookCommandSetup setup) : m_setup(std::move(setup)) {}

    // Reads the SIM (`Sim`) or the phone memory (`PhoneMemory`); writes the
    // entries to `file` unless it is empty.
    ReadPhoneBookResult run(PhoneBookSource source, const QString& file);

private:
    ReadPhoneBookResult readHeld(PortLease& lease, PhoneBookSource source);
    void reportFailure(const QString& reason);

    PhoneBookCommandSetup m_setup;
};

}  // namespace telvora
