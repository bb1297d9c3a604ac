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
inline constexpr int kTextArchiveUnusable = 116;  // "%1": the file
inline constexpr int kTextArchiveDamaged = 117;   // "%1": the file
inline constexpr int kTextArchiveLocked = 118;    // "%1": the file
inline constexpr int kTextArchiveTooNew = 119;    // "%1": the file
inline constexpr int kTextDeletesRefused = 120;   // "%1": why the archive cannot keep them
inline constexpr int kTextArchiveMenu = 121;
inline constexpr int kTextArchiveTitle = 122;
inline constexpr int kTextArchiveSearch = 123;
inline constexpr int kTextArchiveContact = 124;
inline constexpr int kTextArchiveAllContacts = 125;
inline constexpr int kTextArchiveReply = 126;
inline constexpr int kTextArchiveConversation = 127;
inline constexpr int kTextArchiveReceived = 128;
inline constexpr int kTextArchiveSent = 129;

}  // namespace telvora::sms
