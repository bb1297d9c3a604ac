#pragma once
// A link to a scripted port on a fake clock: answers come at exact fake
// times, and a time-out of a minute passes at once.

#include <memory>

#include "telvora/core/fake_clock.h"
#include "telvora/link/at_link.h"
#include "tests/telvora/link/scripted_port.h"

namespace telvora::test {

struct ScriptedPhone {
    ScriptedPhone() {
        auto owned = std::make_unique<ScriptedPort>(clock);
        port = owned.get();
        link = std::make_unique<AtLink>(std::move(owned), clock);
        link->OpenPort(QStringLiteral("scripted"));
    }
    // The next write is answered as a phone with echo answers "AT".
    void answerLinkCheck() { port->queueAnswer("AT\r\r\nOK\r\n", 5); }

    FakeClock clock;
    ScriptedPort* port;
    std::unique_ptr<AtLink> link;
};

}  // namespace telvora::test
