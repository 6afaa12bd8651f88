#pragma once

// The whole tool on the ECU simulator's pseudo-terminal, as a fitter starts
// it, for the end-to-end tests: read the ECU, work on the screens, then find
// the changes in a fresh read of the whole memory.
#include "link/link.h"
#include "link/qt_serial_port.h"
#include "monitor/monitor_screen.h"
#include "shell/info_form.h"
#include "shell/main_window.h"
#include "shell/navigation.h"
#include "support/fake_dialogs.h"
#include "support/sim_process.h"
#include "transfer/prog_start_form.h"
#include "ui/app_context.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

// Waits on the simulator, never on a clock: the timeouts are only a bound.
constexpr int ReadTimeoutMs = 30000;
constexpr int WriteTimeoutMs = 15000;

// The simulator's whole memory as a fresh link of its own reads it.
inline std::optional<MemoryImage> readEcuAfresh(const SimProcess &sim) {
    QtSerialPort serial{PortDirectory(sim.portsDir())};
    Link link(&serial);
    link.setPortNumber(sim.port());
    QSignalSpy done(&link, &Link::fullReadCompleted);
    if (!link.OpenPort())
        return std::nullopt;
    link.StartFullRead();
    const bool read = QTest::qWaitFor([&] { return done.count() == 1; }, ReadTimeoutMs);
    link.ClosePort();
    return read ? std::optional(link.image) : std::nullopt;
}

class SimSession {
  public:
    explicit SimSession(int port) : sim(port), serial{PortDirectory(sim.portsDir())} {
        window->MDIForm1_Load();
        link.setPortNumber(port);
        window->show();
    }

    // Starts the simulator, connects and reads the ECU's whole memory, as
    // the fitter does first.
    bool readEcu(const QStringList &simArgs = {}) {
        if (!sim.start(simArgs))
            return false;
        screens().information->Command1_Click();
        screens().startForm->BoutonPC_Click();
        return link.state.PortIsOpen &&
               QTest::qWaitFor([this] { return link.state.DataLoaded; }, ReadTimeoutMs);
    }

    // Stops the poll, lets the last answer in, closes the tool and reads the
    // ECU afresh on a link of its own.
    std::optional<MemoryImage> closeAndReadBack() {
        link.poll.stopWatchdog();
        link.poll.stop();
        // A last poll may go unanswered: the bound is enough.
        (void)QTest::qWaitFor([this] { return !link.state.LinkBusy; }, WriteTimeoutMs);
        window.reset();
        link.ClosePort();
        return readEcuAfresh(sim);
    }

    Screens &screens() { return window->screens(); }

    SimProcess sim;
    QTemporaryDir work;
    FakeDialogs dialogs;
    QtSerialPort serial;
    Link link{&serial};
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(link, &dialogs, work.path());
};
