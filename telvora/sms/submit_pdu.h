#pragma once
// Building the SMS-SUBMIT PDU that "AT+CMGS=" hands to the phone, the
// cleaning of the recipient's number, and the cutting of a long text into
// numbered parts. Lengths count septets of the GSM alphabet.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

#include "telvora/sms/message_plan.h"

namespace telvora::sms {

inline constexpr int kMessageSeptets = 160;   // one message
inline constexpr int kPartTextSeptets = 157;  // text of one part of a long message
inline constexpr int kMaxParts = 9;           // so the counter "i/n" keeps three characters
inline constexpr int kLongTextSeptets = kPartTextSeptets * kMaxParts;  // 1413
inline constexpr int kMaxRecipientDigits = 20;  // what the address field holds

// The digits of a recipient's number: blanks, a leading "+" and the
// separators "-", "/", "(", ")" are removed. nullopt when anything else is in
// it, when no digit is left, or when it has more than 20 digits.
std::optional<QString> CleanRecipientNumber(const QString& number);

// "001100" + digit count + "91" + swapped digits + "0000AD" + packed septets:
// no service-centre address (the phone's own), relative validity of 7 days,
// international number, 7-bit data.
QByteArray BuildSubmitPdu(const QString& digits, QByteArrayView septets);

// The SMS-SUBMIT PDUs of a planned message, in part order. A message of one
// part goes without a header, as BuildSubmitPdu builds it (data coding 08
// for UCS2). Each part of a longer one has TP-UDHI set (first octet 51) and
// starts its user data with the header 05 00 03 `reference` total number;
// in 7-bit data the text then starts at the next septet boundary, so the
// user-data length counts 7 septets for the header.
QList<QByteArray> BuildSubmitPdus(const QString& digits, const MessagePlan& plan, int reference);

// The octet count that follows "AT+CMGS=": the PDU without its
// service-centre octet.
int SubmitLength(QByteArrayView pdu);

// The septets of each part of a long text: "i/n" and up to 157 septets of the
// text. A part never ends between an escape and its code, so a part may
// hold 156. Even a short text gives one part "1/1". Empty for an empty text.
// More than kMaxParts parts means the text is too long for long mode.
QList<QByteArray> SplitIntoParts(QByteArrayView septets);

// Number of parts SplitIntoParts gives, without building them.
int PartCount(QByteArrayView septets);

}  // namespace telvora::sms
