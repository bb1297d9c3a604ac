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
inline constexpr int kTextStoreNotRead = 107;  // "%1" the store, "%2" why
inline constexpr int kTextPhoneMemoryStore = 108;
inline constexpr int kTextSimStore = 109;
inline constexpr int kTextIncomplete = 110;
inline constexpr int kTextDownloadCancelled = 111;  // "%1" messages read
inline constexpr int kTextWithoutDiacritics = 116;
inline constexpr int kTextSendAnyway = 117;
inline constexpr int kTextCsvExists = 118;           // holds "%1" for the file
inline constexpr int kTextReplacedByQuestion = 119;  // holds "%1" for the characters
// The counter: "znak", "znaky", "znaků" by count (English: one and more).
inline constexpr int kTextCharsOne = 120;
// "zpráva", "zprávy", "zpráv".
inline constexpr int kTextMessagesOne = 123;
inline constexpr int kTextGsmEncoding = 126;
inline constexpr int kTextUcs2Encoding = 127;
inline constexpr int kTextPartsSent = 128;  // "%1" parts of "%2" went out; part "%3" refused
inline constexpr int kTextNeedsLong = 129;  // "%1" parts; names --long

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
