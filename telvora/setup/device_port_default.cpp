#include "telvora/link/qt_serial_port.h"
#include "telvora/setup/device_port.h"

#include "telvora/demophone/phonesim_port.h"

namespace telvora {

std::unique_ptr<SerialPort> MakeDevicePort() {
    DevicePort::Factory demo = []() -> std::unique_ptr<SerialPort> {
        return phonesim::makeDemoPhonePort();
    };
    return std::make_unique<DevicePort>([] { return std::make_unique<QtSerialPort>(); },
                                        std::move(demo));
}

}  // namespace telvora
