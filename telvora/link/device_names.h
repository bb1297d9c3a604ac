#pragma once
// Names of the serial devices the user can choose by number.

#include <QString>

namespace telvora {

inline constexpr int kFirstPortNumber = 1;
inline constexpr int kLastPortNumber = 4;

// The device name that selects the built-in demo phone.
inline constexpr char kDemoDevice[] = "demo";

// "Com 1".."Com 4" are the first four serial ports, /dev/ttyS0../dev/ttyS3.
// An empty text for a number outside 1..4.
QString DeviceForPortNumber(int portNumber);
// The port number 1..4 of /dev/ttyS0../dev/ttyS3; 0 for any other device.
int PortNumberForDevice(const QString& device);

}  // namespace telvora
