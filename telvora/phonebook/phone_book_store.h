#pragma once
// Phone-book files on disk: the default file that keeps the last phone book
// read from the phone, loading and saving. Files are read or written whole,
// in one go; a save goes to a temporary file that replaces the old one only
// when everything was written, so a failure never leaves half a file.

#include <QString>

#include "telvora/phonebook/phone_book_file.h"

namespace telvora {

inline constexpr char kDefaultPhoneBookName[] = "default.tpb";

// "default.tpb" in `programFolder` when that folder can be written (a
// program unpacked into a folder of its own), else in `dataFolder`.
QString ChooseDefaultPhoneBookFile(const QString& programFolder, const QString& dataFolder);
// The same for this program: its own folder when it runs from the build
// tree, else the user's data folder.
QString DefaultPhoneBookFile();

struct PhoneBookFileLoad {
    bool opened = false;
    QString error;  // why it could not be opened
    PhoneBookFileParse content;
};

PhoneBookFileLoad LoadPhoneBookFile(const QString& path);

// Writes `list` to `path`, replacing the file only when all of it was
// written (missing folders are created). False, with `error` set, when it
// could not be written; an existing file is then left as it was.
bool SavePhoneBookFile(const QString& path, const PhoneBookList& list, QString* error = nullptr);

}  // namespace telvora
