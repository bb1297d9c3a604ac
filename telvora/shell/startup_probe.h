#pragma once
// The start-up benchmark's probe: with TELVORA_STARTUP_PROBE=1 in the
// environment the program prints "startup_seconds S" (seconds from process
// start to the first painting of a window) and quits. Without it nothing is
// installed.

class QApplication;

namespace telvora {

void InstallStartupProbe(QApplication& app);

}  // namespace telvora
