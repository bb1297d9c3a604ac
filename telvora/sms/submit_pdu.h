#pragma once
// Building the SMS-SUBMIT PDUs that "AT+CMGS=" hands to the phone, and the
// cleaning of the recipient's number.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

#include "telvora/sms/message_plan.h"

namespace telvora::sms {

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

}  // namespace telvora::sms
