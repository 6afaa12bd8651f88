#include "monitor_bench.h"

#include "bench_window.h"

#include "ecu-sim/default_config.h"
#include "wire.h"

#include "link/link.h"
#include "monitor/chart_window.h"
#include "monitor/monitor_screen.h"
#include "monitor/record_strip.h"
#include "presentation/refresh.h"
#include "shell/main_window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

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

} // namespace

// Each figure is timed over `batches` batches of passes/batches passes.
void benchRefresh(Figures &figures, int passes, int batches) {
    QTemporaryDir work;
    NullPort port;
    Link link(&port);
    SilentDialogs dialogs;
    MainWindow window(link, &dialogs, work.path());
    window.MDIForm1_Load();
    window.show();
    link.OpenPort();
    // The settings of a freshly installed kit, as the simulator holds them.
    ecusim::EcuMemory kit;
    ecusim::applyDefaultImage(kit);
    for (int a = 0x801; a < 0xB00; ++a)
        link.image.set(a, kit.at(a));
    link.image.set(0x80C, 0);
    link.image.set(0x80D, 0);
    window.navigation().Moniteur_Click(); // polling: the settings fields stay
    liveBytes(link.image, 0);
    RefreshScreens(window.app());
    QCoreApplication::processEvents();

    MonitorScreen *monitor = window.screens().monitorScreen;
    const auto monitorPass = [monitor] {
        monitor->refreshGauges();
        monitor->refreshLive();
        monitor->refreshTimesAndSensors();
    };
    const int each = qMax(1, passes / batches);
    // Microseconds of CPU a pass (what other programs take of the machine
    // stays out), one sample a batch; `change` moves the live bytes.
    const auto timed = [&](int count, bool change, bool paint, const std::function<void()> &pass) {
        QList<double> samples;
        int frame = 0;
        for (int b = 0; b < batches; ++b) {
            const double cpu0 = processCpuSeconds();
            for (int i = 0; i < count; ++i) {
                if (change)
                    liveBytes(link.image, ++frame);
                pass();
                if (paint)
                    QCoreApplication::processEvents();
            }
            samples.append((processCpuSeconds() - cpu0) * 1e6 / count);
            QCoreApplication::processEvents();
        }
        return samples;
    };
    const auto refresh = [&] { RefreshScreens(window.app()); };
    figures.add(QStringLiteral("refresh_pass_us"), QStringLiteral("us"),
                timed(each, true, false, refresh), Limit::atMost(100));
    figures.add(QStringLiteral("refresh_unchanged_us"), QStringLiteral("us"),
                timed(each, false, false, refresh));
    figures.add(QStringLiteral("monitor_refresh_us"), QStringLiteral("us"),
                timed(each, true, false, monitorPass));
    figures.add(QStringLiteral("monitor_unchanged_us"), QStringLiteral("us"),
                timed(each, false, false, monitorPass));
    figures.add(QStringLiteral("refresh_paint_us"), QStringLiteral("us"),
                timed(qMax(1, each / 10), true, true, refresh));

    // Settings outside their pages' limits: each pass writes what the ECU
    // holds and the main parameters page clamps it again.
    for (int a = 0x801; a < 0xB00; ++a)
        link.image.set(a, static_cast<quint8>((a * 7) & 0x3F));
    link.image.set(0x80C, 0);
    link.image.set(0x80D, 0);
    refresh();
    figures.add(QStringLiteral("refresh_out_of_limits_us"), QStringLiteral("us"),
                timed(each, true, false, refresh));
}

namespace {
constexpr int WindowTimeoutMs = 30000;
} // namespace

bool benchMonitorPolling(Figures &figures, const QString &portsDir, int portNumber,
                         const PollingPlan &plan) {
    BenchWindow p(portsDir, portNumber);
    if (!p.startMonitor()) {
        std::fprintf(stderr, "gasecu-bench: the monitor did not poll the simulator\n");
        return false;
    }
    MonitorScreen *monitor = p.window.screens().monitorScreen;
    RecordStrip *strip = monitor->Recording;

    // Interleaved rounds: plain, with the drive log written, with the chart
    // open as well. Whatever else loads the machine meanwhile falls on all
    // three alike, and each ratio is taken within its round.
    QList<double> plainRate, plainCpu, logRate, logCpu, chartRate, chartCpu;
    QList<double> logRatio, chartRatio, chartOwnCpu;
    for (int round = 0; round < plan.rounds; ++round) {
        const AnswerClock::Window plain = p.clock.measure(plan.intervals, WindowTimeoutMs);
        strip->startRecording(p.work.filePath(QStringLiteral("drive%1.csv").arg(round)));
        const AnswerClock::Window logging = p.clock.measure(plan.intervals, WindowTimeoutMs);
        strip->BtChart_Click();
        const AnswerClock::Window charting = p.clock.measure(plan.intervals, WindowTimeoutMs);
        strip->chart()->close();
        strip->stopRecording();
        if (plain.rateHz <= 0 || logging.rateHz <= 0 || charting.rateHz <= 0) {
            std::fprintf(stderr, "gasecu-bench: the monitor's answers stopped\n");
            return false;
        }
        if (!wire::plausiblePollRate(plain.rateHz, "the monitor") ||
            !wire::plausiblePollRate(logging.rateHz, "the monitor with the drive log") ||
            !wire::plausiblePollRate(charting.rateHz, "the monitor with the chart"))
            return false;
        plainRate << plain.rateHz;
        plainCpu << plain.cpuPercent;
        logRate << logging.rateHz;
        logCpu << logging.cpuPercent;
        chartRate << charting.rateHz;
        chartCpu << charting.cpuPercent;
        logRatio << logging.rateHz / plain.rateHz;
        chartRatio << charting.rateHz / plain.rateHz;
        chartOwnCpu << charting.cpuPercent - logging.cpuPercent;
    }
    const QString hz = QStringLiteral("Hz");
    const QString pc = QStringLiteral("%");
    figures.add(QStringLiteral("poll_cpu_percent"), pc, plainCpu, Limit::atMost(5));
    figures.add(QStringLiteral("monitor_poll_rate_hz"), hz, plainRate,
                Limit::atMost(wire::PollsPerSecond));
    figures.add(QStringLiteral("logging_poll_rate_hz"), hz, logRate,
                Limit::atMost(wire::PollsPerSecond));
    figures.add(QStringLiteral("logging_cpu_percent"), pc, logCpu, Limit::atMost(5));
    figures.add(QStringLiteral("logging_rate_ratio"), {}, logRatio, Limit::atLeast(0.99));
    figures.add(QStringLiteral("chart_poll_rate_hz"), hz, chartRate,
                Limit::atMost(wire::PollsPerSecond));
    figures.add(QStringLiteral("chart_cpu_percent"), pc, chartCpu);
    figures.add(QStringLiteral("chart_own_cpu_percent"), pc, chartOwnCpu, Limit::atMost(3));
    figures.add(QStringLiteral("chart_rate_ratio"), {}, chartRatio, Limit::atLeast(0.99));
    return true;
}
