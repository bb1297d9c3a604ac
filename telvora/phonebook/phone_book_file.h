#pragma once
// The phone-book file (*.tpb): one line per entry, in list order,
//   "number","name",position CR LF
// number and name inside double quotes, nothing escaped, the position as a
// decimal integer. Files are written in UTF-8; a file that is not valid
// UTF-8 comes from an older installation and is read as Windows-1250.

#include <QByteArray>
#include <QString>

#include "telvora/phonebook/phone_book_entry.h"

namespace telvora {

// One line of the file, CR LF included.
QByteArray PhoneBookLine(const PhoneBookEntry& entry);
// Every entry's line, in list order.
QByteArray PhoneBookFileContent(const PhoneBookList& list);

struct PhoneBookFileParse {
    PhoneBookList entries;  // in file order
    int skippedLines = 0;   // lines without three fields, or a position that is not a number
};

// The entries of a file's bytes. Blank lines are ignored. A quoted field
// runs to the next quote; an unquoted one to the next comma, without the
// blanks around it; anything between a closing quote and the next comma is
// dropped.
PhoneBookFileParse ParsePhoneBookFile(const QByteArray& bytes);

// The path the save command writes for the chosen `path`: without the blanks
// around it, and with ".tpb" appended unless it holds ".tpb" anywhere (in
// any letter case).
QString PhoneBookSavePath(const QString& path);

}  // namespace telvora
