#pragma once
// Which phone a message came through: the SIM's subscriber identity (IMSI,
// "AT+CIMI") where the phone tells it, else the phone's serial number (IMEI,
// "AT+CGSN"). Read from the answer's content, with the echo on or off.

#include <QByteArrayView>
#include <QString>

namespace telvora::sms {

// The first line of the answer that is 6 to 17 digits alone (a "+CGSN:"
// prefix allowed), or empty when there is none.
QString IdentityDigits(QByteArrayView answer);

}  // namespace telvora::sms
