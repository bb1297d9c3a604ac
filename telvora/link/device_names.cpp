#include "telvora/link/device_names.h"

namespace telvora {

QString DeviceForPortNumber(int portNumber) {
    if (portNumber < kFirstPortNumber || portNumber > kLastPortNumber) {
        return {};
    }
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
}

int PortNumberForDevice(const QString& device) {
    for (int n = kFirstPortNumber; n <= kLastPortNumber; ++n) {
        if (device == DeviceForPortNumber(n)) {
            return n;
        }
    }
    return 0;
}

}  // namespace telvora
