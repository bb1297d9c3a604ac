#include "device_port.h"
#include "telvora/link/qt_serial_port.h"

#ifdef TELVORA_HAVE_DEMO_PHONE
#include "phonesim_port.h"
#endif

namespace telvora {

std::unique_ptr<SerialPort> MakeDevicePort() {
    DevicePort::Factory demo;
#ifdef TELVORA_HAVE_DEMO_PHONE
    demo = []() -> std::unique_ptr<SerialPort> { return phonesim::makeDemoPhonePort(); };
#endif
    return std::make_unique<DevicePort>([] { return std::make_unique<QtSerialPort>(); },
                                        std::move(demo));
}

}  // namespace telvora
