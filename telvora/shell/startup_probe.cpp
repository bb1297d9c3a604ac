#include "telvora/shell/startup_probe.h"

#include <unistd.h>
#include <QApplication>
#include <QByteArray>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace telvora {
namespace {

// Seconds since this process started: now (CLOCK_BOOTTIME) less the start
// time of /proc/self/stat (field 22, clock ticks since boot); -1 without /proc.
double SecondsSinceProcessStart() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray text = stat.readAll();
    // The command name in parentheses may hold blanks; count after it.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    bool ok = false;
    const double startTicks = fields.value(19).toDouble(&ok);
    if (!ok) {
        return -1;
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return now.tv_sec + now.tv_nsec / 1e9 - startTicks / double(sysconf(_SC_CLK_TCK));
}

class StartupProbe : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_done && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            m_done = true;
            std::printf("startup_seconds %.4f\n", SecondsSinceProcessStart());
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

}  // namespace

void InstallStartupProbe(QApplication& app) {
    const QByteArray setting = qgetenv("TELVORA_STARTUP_PROBE");
    if (setting.isEmpty() || setting == "0") {
        return;
    }
    app.installEventFilter(new StartupProbe(&app));
}

}  // namespace telvora
