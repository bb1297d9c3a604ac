// Timing of the phone book:
//  - reading a 250-entry SIM phone book from telvora-phonesim emulating a
//    9600 baud line, and uploading 250 entries (Czech names, so UCS2) to
//    an empty SIM, each against its line time: the same AT commands sent
//    raw over the same line in the same run, each waiting only for its
//    final result (target: at most 1.05 times);
//  - loading and sorting a 10,000-entry .tpb file, as a list and into the
//    main window's grid (target: at most 50 ms).
// Prints each figure with its target and the ratio figure / target.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "telvora/demophone/phonesim_port.h"
#include "telvora/link/at_link.h"
#include "telvora/link/qt_serial_port.h"
#include "telvora/phonebook/phone_book_panel.h"
#include "telvora/phonebook/phone_book_store.h"
#include "telvora/phonebook/read_phone_book.h"
#include "telvora/phonebook/upload_phone_book.h"
#include "telvora/setup/settings.h"
#include "telvora/shell/frm_main.h"

namespace {

using namespace telvora;

constexpr int kBaud = 9600;
constexpr int kEntries = 250;
constexpr int kReads = 1;
constexpr int kFileEntries = 10000;
constexpr int kLoads = 21;
constexpr double kReadTargetRatio = 1.05;
constexpr double kLoadTargetMs = 50.0;

const char* const kFirstNames[] = {"Jiří",   "Žaneta", "Tomáš", "Lucie", "Řehoř", "Anežka",
                                   "Ondřej", "Zdeňka", "Petr",  "Šárka", "Čeněk", "Eva"};
const char* const kSurnames[] = {"Dvořák",  "Nováková", "Černý",  "Procházka", "Kučerová",
                                 "Růžička", "Šťastný",  "Veselá", "Horák",     "Němcová"};

QString Name(int i) {
    return QString::fromUtf8(kFirstNames[i % 12]) + ' ' +
           QString::fromUtf8(kSurnames[(i / 12) % 10]);
}

QString Number(int i) {
    return QStringLiteral("+420%1").arg(600000000 + i * 7919 % 100000000);
}

void Report(const char* name, double value, const char* unit, double target) {
    std::printf("%-44s %9.3f %-3s target %8.3f %-3s ratio %.3f\n", name, value, unit, target, unit,
                value / target);
}

// Counts the bytes the phone sends and keeps the commands written.
class CountingPort : public SerialPort {
public:
    CountingPort() {
        connect(&m_port, &SerialPort::readyRead, this, &SerialPort::readyRead);
        connect(&m_port, &SerialPort::failed, this, &SerialPort::failed);
    }
    OpenResult open(const QString& device) override { return m_port.open(device); }
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    bool write(const QByteArray& data) override {
        written.append(data);
        return m_port.write(data);
    }
    QByteArray readAll() override {
        const QByteArray bytes = m_port.readAll();
        received += bytes.size();
        return bytes;
    }
    void discardInput() override { received += m_port.readAll().size(); }

    qint64 received = 0;
    QList<QByteArray> written;

private:
    QtSerialPort m_port;
};

QString WriteSimState(const QTemporaryDir& folder, bool empty = false) {
    QJsonArray entries;
    for (int i = 1; i <= kEntries && !empty; ++i) {
        entries.append(QJsonObject{{"index", i}, {"number", Number(i)}, {"name", Name(i)}});
    }
    const QJsonObject state{{"phoneBooks", QJsonObject{{"SM", QJsonObject{{"size", kEntries},
                                                                          {"numberLength", 20},
                                                                          {"nameLength", 18},
                                                                          {"entries", entries}}}}}};
    const QString path = folder.filePath(empty ? "empty-sim.json" : "full-sim.json");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QJsonDocument(state).toJson());
    return path;
}

// telvora-phonesim on `state` at 9600 baud; its device, or empty.
QString StartSimulator(QProcess& simulator, const QString& state) {
    simulator.start(QStringLiteral(TELVORA_PHONESIM_PATH),
                    {"--state", state, "--baud", QString::number(kBaud), "--latency", "0"});
    if (!simulator.waitForReadyRead(10000)) {
        std::printf("telvora-phonesim did not start\n");
        return {};
    }
    return QString::fromLocal8Bit(simulator.readLine().trimmed());
}

// The line time of `commands`: each written raw to `device` and its answer
// awaited up to its final result line, nothing parsed. Seconds, or -1; the
// bytes answered into `answered`.
double RawLineTime(const QString& device, const QList<QByteArray>& commands, qint64& answered) {
    QtSerialPort port;
    if (port.open(device) != OpenResult::Ok) {
        return -1;
    }
    static const QRegularExpression final(
        QStringLiteral("(^|\r\n)(OK|ERROR|\\+CM[ES] ERROR: \\d+)\r\n$"));
    QElapsedTimer clock;
    clock.start();
    for (const QByteArray& command : commands) {
        QByteArray answer;
        port.write(command);
        QEventLoop loop;
        QObject::connect(&port, &SerialPort::readyRead, &loop, [&] {
            answer += port.readAll();
            if (final.match(QString::fromLatin1(answer.right(40))).hasMatch()) {
                loop.quit();
            }
        });
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);  // far beyond any answer here
        loop.exec();
        answered += answer.size();
    }
    return clock.nsecsElapsed() / 1e9;
}

struct NoBoxes : MessageBoxes {
    void show(Kind, const QString& text) override { std::printf("%s\n", qPrintable(text)); }
    bool askYesNo(Kind, const QString&) override { return true; }
    bool askOkCancel(Kind, const QString&) override { return true; }
};

bool BenchRead(const QTemporaryDir& folder) {
    QProcess simulator;
    const QString device = StartSimulator(simulator, WriteSimState(folder));
    auto port = std::make_unique<CountingPort>();
    CountingPort* counter = port.get();
    AtLink link(std::move(port));
    if (device.isEmpty() || link.OpenPort(device) != OpenResult::Ok) {
        std::printf("cannot open %s\n", qPrintable(device));
        return false;
    }
    NoBoxes boxes;
    for (int run = 0; run < kReads; ++run) {
        PhoneBookCommandSetup setup(link, boxes, Language::English);
        setup.confirm = false;
        counter->received = 0;
        counter->written.clear();
        QElapsedTimer clock;
        clock.start();
        const ReadPhoneBookResult result = ReadPhoneBook(setup).run(PhoneBookSource::Sim, {});
        const double seconds = clock.nsecsElapsed() / 1e9;
        if (result.entries.size() != kEntries) {
            std::printf("read %lld entries instead of %d\n",
                        static_cast<long long>(result.entries.size()), kEntries);
            return false;
        }
        const double lineSeconds = counter->received * 10.0 / kBaud;
        std::printf("read %d: %.3f s for %lld bytes, line time %.3f s, ratio %.4f\n", run + 1,
                    seconds, static_cast<long long>(counter->received), lineSeconds,
                    seconds / lineSeconds);
    }
    link.ClosePort();
    qint64 answered = 0;
    const double raw = RawLineTime(device, counter->written, answered);
    std::printf("read: the same %lld commands raw: %.3f s, %lld bytes answered\n",
                static_cast<long long>(counter->written.size()), raw,
                static_cast<long long>(answered));
    simulator.terminate();
    simulator.waitForFinished(5000);
    return raw > 0;
}

// 250 entries written to an empty SIM, then the same commands raw to
// another simulator on the same empty SIM.
bool BenchUpload(const QTemporaryDir& folder) {
    QList<UploadEntry> entries;
    for (int i = 1; i <= kEntries; ++i) {
        entries.append({Name(i), Number(i), 0});
    }
    const QString state = WriteSimState(folder, true);
    QProcess simulator;
    const QString device = StartSimulator(simulator, state);
    auto port = std::make_unique<CountingPort>();
    CountingPort* counter = port.get();
    AtLink link(std::move(port));
    if (device.isEmpty() || link.OpenPort(device) != OpenResult::Ok) {
        std::printf("cannot open %s\n", qPrintable(device));
        return false;
    }
    NoBoxes boxes;
    PhoneBookCommandSetup setup(link, boxes, Language::English);
    setup.confirm = false;
    QElapsedTimer clock;
    clock.start();
    const UploadPhoneBookResult result = UploadPhoneBook(setup).run(PhoneBookSource::Sim, entries);
    const double seconds = clock.nsecsElapsed() / 1e9;
    link.ClosePort();
    simulator.terminate();
    simulator.waitForFinished(5000);
    if (result.status != UploadPhoneBookResult::Status::Done || result.written != kEntries) {
        std::printf("upload wrote %d entries instead of %d\n", result.written, kEntries);
        return false;
    }
    QProcess second;
    qint64 answered = 0;
    const double raw = RawLineTime(StartSimulator(second, state), counter->written, answered);
    second.terminate();
    second.waitForFinished(5000);
    std::printf(
        "upload: %.3f s for %lld commands, %lld bytes answered; the same commands raw: "
        "%.3f s, %lld bytes answered, ratio %.4f\n",
        seconds, static_cast<long long>(counter->written.size()),
        static_cast<long long>(counter->received), raw, static_cast<long long>(answered),
        seconds / raw);
    Report("250-entry upload / raw AT commands", seconds / raw, "x", kReadTargetRatio);
    return raw > 0;
}

// CPU time of this thread, in milliseconds: what the work costs, whatever
// else the machine runs.
double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double MedianMs(QList<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

void BenchLoad(const QTemporaryDir& folder) {
    PhoneBookList list;
    for (int i = 0; i < kFileEntries; ++i) {
        list.append({static_cast<qint16>(i % 32000 + 1), Name(i * 31 % 997) + QString::number(i),
                     Number(i)});
    }
    const QString path = folder.filePath("big.tpb");
    SavePhoneBookFile(path, list);

    QList<double> core;
    QList<double> coreCpu;
    for (int run = 0; run < kLoads; ++run) {
        QElapsedTimer clock;
        clock.start();
        const double cpu = ThreadCpuMs();
        PhoneBookList loaded = LoadPhoneBookFile(path).content.entries;
        SortPhoneBook(loaded, PhoneBookSortKind::ByName);
        coreCpu.append(ThreadCpuMs() - cpu);
        core.append(clock.nsecsElapsed() / 1e6);
    }
    Report("10,000-entry file loaded and sorted, wall", MedianMs(core), "ms", kLoadTargetMs);
    Report("10,000-entry file loaded and sorted, CPU", MedianMs(coreCpu), "ms", kLoadTargetMs);

    // The same through the main window: read, sort, fill FlexPB.
    SettingsStore settings(
        std::make_unique<QSettings>(folder.filePath("Telvora.conf"), QSettings::IniFormat));
    ShellSetup setup;
    setup.settings = &settings;
    struct NoBoxes : MessageBoxes {
        void show(Kind, const QString&) override {}
        bool askYesNo(Kind, const QString&) override { return true; }
        bool askOkCancel(Kind, const QString&) override { return true; }
    } boxes;
    setup.messages = &boxes;
    setup.port = phonesim::makeDemoPhonePort();
    setup.lockPath = folder.filePath("telvora.lock");
    frmMain window(std::move(setup));
    auto* panel = window.findChild<PhoneBookPanel*>(QStringLiteral("phoneBookPanel"));
    QList<double> grid;
    QList<double> gridCpu;
    for (int run = 0; run < kLoads; ++run) {
        // Each load starts from the 300 empty rows of a fresh start.
        panel->LoadAtStartup();
        QElapsedTimer clock;
        clock.start();
        const double cpu = ThreadCpuMs();
        panel->LoadPhoneBookFile(path);
        gridCpu.append(ThreadCpuMs() - cpu);
        grid.append(clock.nsecsElapsed() / 1e6);
    }
    Report("10,000-entry file into the window's list, wall", MedianMs(grid), "ms", kLoadTargetMs);
    Report("10,000-entry file into the window's list, CPU", MedianMs(gridCpu), "ms", kLoadTargetMs);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    BenchLoad(folder);
    const bool read = BenchRead(folder);
    return read && BenchUpload(folder) ? 0 : 1;
}
