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

}  // namespace telvora::sms
