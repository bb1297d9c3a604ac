#include "vervia/ui/link_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace vervia {

void DesktopLinkOpener::Open(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}

}  // namespace vervia
