#pragma once
// Opens a web address with the desktop's default handler. The window talks to
// this interface so that tests can watch what would be opened.

#include <QString>

namespace vervia {

class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    // Asks the desktop to open `address`; whether it succeeds is not reported.
    virtual void Open(const QString& address) = 0;
};

// The real opener, backed by QDesktopServices.
class DesktopLinkOpener : public LinkOpener {
public:
    void Open(const QString& address) override;
};

}  // namespace vervia
