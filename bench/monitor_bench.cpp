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
#include <optional>

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
    // open as well, and a last plain window. Whatever else loads the machine
    // falls on all three alike; each ratio is taken against the plain windows
    // before and after it, so a slow drift cancels too.
    const auto window = [&](const char *what) -> std::optional<AnswerClock::Window> {
        const AnswerClock::Window w = p.clock.measure(plan.intervals, WindowTimeoutMs);
        if (w.rateHz <= 0) {
            std::fprintf(stderr, "gasecu-bench: the monitor's answers stopped\n");
            return std::nullopt;
        }
        if (!wire::plausiblePollRate(w.rateHz, what))
            return std::nullopt;
        return w;
    };
    QList<AnswerClock::Window> plain, logging, charting;
    for (int round = 0; round <= plan.rounds; ++round) {
        const auto before = window("the monitor");
        if (!before)
            return false;
        plain << *before;
        if (round == plan.rounds)
            break;
        strip->startRecording(p.work.filePath(QStringLiteral("drive%1.csv").arg(round)));
        const auto logged = window("the monitor with the drive log");
        strip->BtChart_Click();
        const auto charted = logged ? window("the monitor with the chart") : std::nullopt;
        strip->chart()->close();
        strip->stopRecording();
        if (!charted)
            return false;
        logging << *logged;
        charting << *charted;
    }
    QList<double> plainRate, plainCpu, logRate, logCpu, chartRate, chartCpu;
    QList<double> logRatio, chartRatio, chartOwnCpu;
    for (const AnswerClock::Window &w : plain) {
        plainRate << w.rateHz;
        plainCpu << w.cpuPercent;
    }
    for (int round = 0; round < plan.rounds; ++round) {
        const double around = (plain[round].rateHz + plain[round + 1].rateHz) / 2;
        logRate << logging[round].rateHz;
        logCpu << logging[round].cpuPercent;
        chartRate << charting[round].rateHz;
        chartCpu << charting[round].cpuPercent;
        logRatio << logging[round].rateHz / around;
        chartRatio << charting[round].rateHz / around;
        chartOwnCpu << charting[round].cpuPercent - logging[round].cpuPercent;
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
