#pragma once
// Time limits of the waits on the phone, in milliseconds. Every wait is
// bounded: a phone that answers nothing, or something no command expects,
// must not hold the program. The line runs at 9600 baud, about 960
// characters a second; the long limits cover the transfer time of the
// biggest answer plus the time a slow phone needs to read its memory.

namespace telvora::timeouts {

// "AT" link check: a phone on the line answers within a few milliseconds;
// anything slower counts as not connected.
inline constexpr int kLinkCheckMs = 150;

// "AT+COPS?" and "AT+CSQ" of the signal display: short answers, and the
// poll must not block the window for long.
inline constexpr int kStatusMs = 150;

// How long a command waits for a background job (a signal poll) to give the
// port back: the job ends after its step in flight, itself bounded by
// kStatusMs.
inline constexpr int kBackgroundYieldMs = 2 * kStatusMs + 100;

// "AT+CPBS=" memory selection: a short answer the caller does not examine.
inline constexpr int kPhoneBookSelectMs = 250;

// Short commands with a one-line answer ("AT+CPMS=", "AT+CMGD=",
// "AT+CPBR=?", "AT+CPBW=?", one "AT+CPBW=" entry). Answers take
// milliseconds to transfer; a slow phone may spend a few seconds on flash
// memory (deleting a message, writing an entry), so 10 s is generous.
inline constexpr int kShortCommandMs = 10000;

// One message (PDU and Ctrl-Z) sent to the network: the phone answers only
// after the network accepted it, which takes seconds.
inline constexpr int kSmsSendMs = 12000;

// "AT+CMGL=" listing: up to about 100 stored messages of up to about 400
// characters each (header line, PDU of 176 octets as hex, line ends) is
// about 40000 characters, 42 s at 9600 baud; plus the phone's read time.
inline constexpr int kMessageListMs = 60000;

// "AT+CPBR=1,n" with up to 250 entries of about 60 characters each is
// about 15000 characters, 16 s at 9600 baud; a slow phone reading a
// full SIM one entry at a time can take as long again.
inline constexpr int kPhoneBookReadMs = 45000;

// "ATD" voice call: many phones answer only when the call is set up or
// refused; the network gives up ringing after about a minute.
inline constexpr int kDialMs = 60000;

// "AT*ESOM?" (four melodies, a few hundred characters) and "AT*ESOM="
// (writing one melody to flash).
inline constexpr int kRingToneMs = 10000;

// A long answer (a message listing, a whole phone book) is waited for as
// long as it flows: the wait ends when the phone has sent nothing for this
// long. A phone reading its memory pauses between records for well under a
// second; 10 s of silence means it has stopped.
inline constexpr int kSilenceMs = 10000;

// The last-resort total for a long answer of `expectedChars` characters:
// twice its transfer time at 9600 baud, plus the silence bound, and never
// less than `floorMs`. A wait still ends after kSilenceMs of silence.
constexpr int LongAnswerCapMs(long long expectedChars, int floorMs) {
    constexpr long long kCharsPerSecond = 960;
    const long long capMs = kSilenceMs + 2 * expectedChars * 1000 / kCharsPerSecond;
    const long long limited = capMs > 0x7fffffff ? 0x7fffffff : capMs;
    return limited < floorMs ? floorMs : static_cast<int>(limited);
}

// One listed message: header line ("+CMGL: 12,1,,159"), a PDU of up to
// 176 octets as hex plus the service centre, line ends: about 400 characters.
inline constexpr int kListedMessageChars = 400;

// Used by CollectUntil when a caller passes no positive limit.
inline constexpr int kDefaultCollectMs = 60000;

}  // namespace telvora::timeouts
