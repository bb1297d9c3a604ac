#pragma once
// Reading the phone's answers to the message store commands by their
// content, so they are understood with the echo on or off: "+CPMS:" gives the
// number of messages in the selected store, each "+CMGL:" line gives a
// message's index and status and is followed by its PDU line.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace telvora::sms {

struct ListedPdu {
    int index = 0;   // the message's place in its store, any number of digits
    int status = 0;  // 0 received unread, 1 received read, ...
    QByteArray pdu;  // hexadecimal, as the phone sent it
};

// Every "+CMGL:" entry of a listing answer with its PDU line. An entry whose
// index cannot be read, or that has no PDU line, is left out.
QList<ListedPdu> ParseMessageListing(QByteArrayView answer);

// The PDU line of an "AT+CMGR=" answer ("+CMGR: <stat>,[<alpha>],<length>"
// and the PDU); empty when the answer holds none.
QByteArray ReadMessagePdu(QByteArrayView answer);

// The number of messages in the first store of a "+CPMS:" answer; -1 when
// the answer holds none.
int StoredMessageCount(QByteArrayView answer);

}  // namespace telvora::sms
