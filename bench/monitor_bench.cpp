#include "monitor_bench.h"

#include "link/link.h"
#include "link/qt_serial_port.h"
#include "monitor/monitor_screen.h"
#include "monitor/record_strip.h"
#include "presentation/refresh.h"
#include "shell/main_window.h"
#include "ui/dialogs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

// Nobody answers message boxes during a bench.
class SilentDialogs : public Dialogs {
  public:
    void message(const QString &, Icon, const QString &) override {}
    bool question(const QString &, const QString &, Icon) override { return true; }
    QString openFile(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &, const QString &) override { return {}; }
};

// A line that takes everything and never answers.
class NullPort : public SerialPort {
  public:
    OpenResult open(int) override {
        m_open = true;
        return OpenResult::Opened;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    WriteResult write(const QByteArray &) override { return WriteResult::Written; }
    QByteArray readAll() override { return {}; }

  private:
    bool m_open = false;
};

void setU16(MemoryImage &image, int address, int value) {
    image.set(address, static_cast<quint8>(value >> 8));
    image.set(address + 1, static_cast<quint8>(value & 0xFF));
}

// A running engine whose live values move a little with every answer.
void liveBytes(MemoryImage &image, int pass) {
    const int wobble = pass % 40;
    image.set(0x000, 15);
    image.set(0x002, pass % 200 < 100 ? 0 : 3);
    image.set(0x003, pass % 300 < 20 ? 4 : 0);
    setU16(image, 0x008, 400 + 3 * wobble);
    for (int c = 0; c < 8; ++c) {
        const int raw = 950 + 7 * ((wobble + c) % 13);
        image.set(0x00C + 2 * c, static_cast<quint8>(raw / 255));
        image.set(0x00D + 2 * c, static_cast<quint8>(raw % 255));
        image.set(0x01C + 2 * c, static_cast<quint8>((raw + 40) / 255));
        image.set(0x01D + 2 * c, static_cast<quint8>((raw + 40) % 255));
    }
    image.set(0x02C, static_cast<quint8>(70 + wobble / 8));
    image.set(0x02D, static_cast<quint8>(40 + wobble / 10));
    setU16(image, 0x02E, 110 + wobble);
    setU16(image, 0x030, 20 + 4 * wobble);
}

double cpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

void benchRefresh(const Figure &figure, int passes) {
    QTemporaryDir work;
    NullPort port;
    Link link(&port);
    SilentDialogs dialogs;
    MainWindow window(link, &dialogs, work.path());
    window.MDIForm1_Load();
    window.show();
    link.OpenPort();
    for (int a = 0x801; a < 0xB00; ++a)
        link.image.set(a, static_cast<quint8>((a * 7) & 0x3F));
    link.image.set(0x80C, 0);
    link.image.set(0x80D, 0);
    window.navigation().Moniteur_Click(); // polling: the settings fields stay
    liveBytes(link.image, 0);
    RefreshScreens(window.app());
    QCoreApplication::processEvents();

    QElapsedTimer t;
    t.start();
    for (int i = 1; i <= passes; ++i) {
        liveBytes(link.image, i);
        RefreshScreens(window.app());
    }
    figure("refresh_pass_us", t.nsecsElapsed() / 1e3 / passes);
    QCoreApplication::processEvents();

    t.restart();
    for (int i = 0; i < passes; ++i)
        RefreshScreens(window.app());
    figure("refresh_unchanged_us", t.nsecsElapsed() / 1e3 / passes);

    MonitorScreen *monitor = window.screens().monitorScreen;
    t.restart();
    for (int i = 1; i <= passes; ++i) {
        liveBytes(link.image, i);
        monitor->refreshGauges();
        monitor->refreshLive();
        monitor->refreshTimesAndSensors();
    }
    figure("monitor_refresh_us", t.nsecsElapsed() / 1e3 / passes);
    t.restart();
    for (int i = 1; i <= passes; ++i) {
        monitor->refreshGauges();
        monitor->refreshLive();
        monitor->refreshTimesAndSensors();
    }
    figure("monitor_unchanged_us", t.nsecsElapsed() / 1e3 / passes);
    QCoreApplication::processEvents();

    const int painted = qMax(1, passes / 10);
    t.restart();
    for (int i = 1; i <= painted; ++i) {
        liveBytes(link.image, i);
        RefreshScreens(window.app());
        QCoreApplication::processEvents();
    }
    figure("refresh_paint_us", t.nsecsElapsed() / 1e3 / painted);
}

bool benchMonitorPolling(const Figure &figure, const QString &portsDir, int portNumber,
                         int seconds) {
    QTemporaryDir work;
    QtSerialPort port{PortDirectory(portsDir)};
    Link link(&port);
    SilentDialogs dialogs;
    MainWindow window(link, &dialogs, work.path());
    window.MDIForm1_Load();
    link.setPortNumber(portNumber);
    window.show();
    if (!link.OpenPort())
        return false;
    int answers = 0;
    QObject::connect(&link, &Link::dataDecoded, &link, [&answers] { ++answers; });
    // The watchdog starts the poll by itself, as on the fitter's screen.
    window.navigation().Moniteur_Click();
    QEventLoop loop;
    const auto started = QObject::connect(&link, &Link::dataDecoded, &loop, [&] {
        if (answers >= 3)
            loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(started);
    if (answers < 3)
        return false;

    // A real event loop: the process sleeps between events as the tool does.
    auto measure = [&](double *cpuPercent) {
        const int first = answers;
        const double cpu0 = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        const double elapsed = wall.nsecsElapsed() / 1e9;
        if (cpuPercent)
            *cpuPercent = 100.0 * (cpuSeconds() - cpu0) / elapsed;
        return (answers - first) / elapsed;
    };
    double cpu = 0;
    const double plain = measure(&cpu);
    figure("poll_cpu_percent", cpu);
    figure("monitor_poll_rate_hz", plain);

    // The same with the drive log written, then with the chart window open
    // as well.
    MonitorScreen *monitor = window.screens().monitorScreen;
    monitor->Recording->startRecording(work.filePath(QStringLiteral("drive.csv")));
    const double logging = measure(&cpu);
    figure("logging_poll_rate_hz", logging);
    figure("logging_cpu_percent", cpu);
    figure("logging_rate_ratio", logging / plain);
    monitor->Recording->BtChart_Click();
    const double charting = measure(&cpu);
    figure("chart_poll_rate_hz", charting);
    figure("chart_cpu_percent", cpu);
    figure("chart_rate_ratio", charting / plain);
    monitor->Recording->stopRecording();
    link.poll.stopWatchdog();
    link.poll.stop();
    link.ClosePort();
    return true;
}
