#pragma once
// Numbers of the interface texts that the short messages add.

namespace telvora::sms {

inline constexpr int kTextBadRecipient = 100;
inline constexpr int kTextTooLongForOne = 101;
inline constexpr int kTextTooLongForParts = 102;
inline constexpr int kTextMessageSent = 103;
inline constexpr int kTextNotAllDeleted = 104;
inline constexpr int kTextCsvNotWritten = 105;
inline constexpr int kTextEmptyMessage = 106;

// The message archive: its file's problems, refused deletes, its window.
inline constexpr int kTextArchiveUnusable = 200;  // "%1": the file
inline constexpr int kTextArchiveDamaged = 201;   // "%1": the file
inline constexpr int kTextArchiveLocked = 202;    // "%1": the file
inline constexpr int kTextArchiveTooNew = 203;    // "%1": the file
inline constexpr int kTextDeletesRefused = 204;   // "%1": why the archive cannot keep them
inline constexpr int kTextArchiveMenu = 205;
inline constexpr int kTextArchiveTitle = 206;
inline constexpr int kTextArchiveSearch = 207;
inline constexpr int kTextArchiveContact = 208;
inline constexpr int kTextArchiveAllContacts = 209;
inline constexpr int kTextArchiveReply = 210;
inline constexpr int kTextArchiveConversation = 211;
inline constexpr int kTextArchiveReceived = 212;
inline constexpr int kTextArchiveSent = 213;

}  // namespace telvora::sms
