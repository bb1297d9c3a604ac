// Runs the link tests inside a Qt application, which the event-driven waits
// need. With "--hold-port PATH" the program instead opens PATH as a serial
// port and keeps it until its standard input closes, so that a test can
// see the port held by a second process.

#include <gtest/gtest.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <cstring>

#include "telvora/link/qt_serial_port.h"

namespace {

int HoldPort(const char* device) {
    telvora::QtSerialPort port;
    const bool opened = port.open(QString::fromLocal8Bit(device)) == telvora::OpenResult::Ok;
    std::printf("%s\n", opened ? "held" : "failed");
    std::fflush(stdout);
    if (!opened) {
        return 1;
    }
    char byte = 0;
    while (read(STDIN_FILENO, &byte, 1) > 0) {
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--hold-port") == 0) {
        return HoldPort(argv[2]);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
