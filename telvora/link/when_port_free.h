#pragma once
// RunWhenPortFree: runs a short job under the port's lease as soon as no
// other command holds the port: from the event loop right away when it is
// free, else after the holder gives it back. Used for work the phone asks
// for or the program wants done in the background (switching on the
// phone's notices), which must never write while a command runs.

#include <QObject>
#include <functional>

#include "telvora/link/at_link.h"

namespace telvora {

// The job is dropped when `context` is destroyed before it could run.
void RunWhenPortFree(AtLink& link, QObject* context, std::function<void(PortLease&)> job);

}  // namespace telvora
