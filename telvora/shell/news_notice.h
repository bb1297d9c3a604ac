#pragma once
// The phone's news in the main window: a new message goes on top of the
// message list, a ringing call opens its window, and both are told on the
// status line, by the window asking for attention and, where the desktop
// has a tray, by a tray message. InstallNews is all frmMain calls.

#include <QObject>
#include <QString>
#include <functional>

#include "telvora/sms/sms_reader.h"

class QMainWindow;
class QSystemTrayIcon;

namespace telvora {

class frmMain;
namespace sms {
class SmsPanel;
}

class NewsNotice : public QObject {
    Q_OBJECT
public:
    // How long a notice stays on the status line.
    static constexpr int kStatusMs = 30000;

    explicit NewsNotice(QMainWindow& window);
    void show(const QString& text);

private:
    QMainWindow& m_window;
    QSystemTrayIcon* m_tray = nullptr;  // made at the first notice, where there is a tray
};

// `keep` keeps each new message (the archive); `phoneBook` gives the names
// senders and callers are shown by.
void InstallNews(frmMain& window, sms::SmsPanel& messages, sms::SmsReader::Keeper keep,
                 std::function<QList<sms::NameAndNumber>()> phoneBook);

}  // namespace telvora
