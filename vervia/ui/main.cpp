// Gramarion: loads the irregular-verb table, then runs the trainer's window.
//
// With VERVIA_STARTUP_PROBE=1 in the environment the program prints the
// seconds from process start to the first painting of its window and quits;
// the start-up benchmark uses this. VERVIA_FONT_SCALE (1.25, 1.5) enlarges the
// window's font; the window grows where its fields need the room. --help and
// --version are answered on the terminal before any window system is needed.

#include <QApplication>
#include <QCommandLineParser>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "vervia/engine/irregular_verb_table.h"
#include "vervia/ui/main_form.h"
#include "vervia/ui/qt_translations.h"
#include "vervia/ui/startup_clock.h"

namespace {

class StartupProbe : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_done && event->type() == QEvent::Paint) {
            m_done = true;
            const auto seconds = vervia::SecondsSinceProcessStart();
            std::printf("startup_seconds %.4f\n", seconds.value_or(-1.0));
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

void SetApplicationNames() {
    QCoreApplication::setApplicationName(QStringLiteral("Gramarion"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VERVIA_VERSION));
}

// Answers --help, --version and wrong options, which end the program.
void ParseCommandLine(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    SetApplicationNames();
    QCoreApplication::setApplicationName(QStringLiteral("vervia"));  // "vervia 1.2.3"
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Spanish verb conjugation trainer with a Czech interface."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);
}

}  // namespace

int main(int argc, char* argv[]) {
    ParseCommandLine(argc, argv);
    vervia::LoadIrregularVerbs();
    QApplication app(argc, argv);
    SetApplicationNames();
    vervia::LoadQtCzechTranslations(app);

    const char* scaleSetting = std::getenv("VERVIA_FONT_SCALE");
    const double fontScale = scaleSetting != nullptr ? std::atof(scaleSetting) : 1.0;
    vervia::TMainForm MainForm(nullptr, nullptr, fontScale);
    StartupProbe probe;
    const char* probeSetting = std::getenv("VERVIA_STARTUP_PROBE");
    if (probeSetting != nullptr && *probeSetting != '\0' && *probeSetting != '0') {
        MainForm.installEventFilter(&probe);
    }
    MainForm.show();
    return QApplication::exec();
}
