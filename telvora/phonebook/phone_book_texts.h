#pragma once
// Numbers of the interface texts that the phone book adds, shared by the
// commands, the window and telvora-cli.

namespace telvora {

inline constexpr int kTextCannotWrite = 130;
inline constexpr int kTextCannotOpen = 131;
inline constexpr int kTextLinesSkipped = 132;
inline constexpr int kTextQuotesReplaced = 133;
inline constexpr int kTextNoLimits = 134;
inline constexpr int kTextFailedPositions = 135;
inline constexpr int kTextNoSuchMemory = 136;
inline constexpr int kTextReadFailed = 137;
inline constexpr int kTextMemoryTooSmall = 138;
inline constexpr int kTextEntriesWritten = 139;
// Names and numbers over the phone's limits: "%1" the limit, "%2" the texts.
inline constexpr int kTextNamesTooLong = 160;     // the window's question: cut them?
inline constexpr int kTextNamesTooLongCli = 161;  // names --cut
inline constexpr int kTextNumbersTooLong = 162;
inline constexpr int kTextPositionsErased = 163;  // "%1" positions
// A file none of whose lines could be read: "%1" the file.
inline constexpr int kTextNoReadableEntry = 165;

}  // namespace telvora
