#include "telvora/link/device_names.h"

namespace telvora {

QString DeviceForPortNumber(int portNumber) {
    if (portNumber < kFirstPortNumber || portNumber > kLastPortNumber) {
        return {};
    }
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
}

}  // namespace telvora
