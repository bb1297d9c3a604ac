// The reference for start-up time and resident memory: the smallest Qt
// Widgets program, one empty window. Printed on its first paint: seconds
// since the process started (from /proc/self/stat), like the programs'
// own start-up probes. With --stay it stays open until it is ended.

#include <unistd.h>
#include <QApplication>
#include <QFile>
#include <QPaintEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace {

double SecondsSinceProcessStart() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray text = stat.readAll();
    // Field 22 (start time in clock ticks since boot) counts from after the
    // command name's closing parenthesis.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return now.tv_sec + now.tv_nsec / 1e9 - startTicks / double(sysconf(_SC_CLK_TCK));
}

class EmptyWindow : public QWidget {
public:
    explicit EmptyWindow(bool stay) : m_stay(stay) {}

protected:
    void paintEvent(QPaintEvent*) override {
        if (m_painted) {
            return;
        }
        m_painted = true;
        std::printf("startup_seconds %.4f\n", SecondsSinceProcessStart());
        std::fflush(stdout);
        if (!m_stay) {
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
    }

private:
    bool m_stay;
    bool m_painted = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    EmptyWindow window(argc > 1 && QByteArray(argv[1]) == "--stay");
    window.resize(400, 400);
    window.show();
    return app.exec();
}
