#pragma once

#include "answer_clock.h"

#include "link/link.h"
#include "link/qt_serial_port.h"
#include "shell/main_window.h"
#include "shell/navigation.h"
#include "ui/dialogs.h"

#include <QTemporaryDir>

// Nobody answers message boxes during a bench.
class SilentDialogs : public Dialogs {
  public:
    void message(const QString &, Icon, const QString &) override {}
    bool question(const QString &, const QString &, Icon) override { return true; }
    QString openFile(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &, const QString &) override { return {}; }
};

// The real main window on the simulator's port, offscreen, its answers timed.
struct BenchWindow {
    QTemporaryDir work;
    QtSerialPort port;
    Link link;
    SilentDialogs dialogs;
    MainWindow window;
    AnswerClock clock;

    BenchWindow(const QString &portsDir, int portNumber)
        : port(PortDirectory(portsDir)), link(&port), window(link, &dialogs, work.path()),
          clock(link) {
        window.MDIForm1_Load();
        link.setPortNumber(portNumber);
        window.show();
    }
    // The monitor polling as on the fitter's screen (the watchdog starts the
    // poll by itself); false when no answer came.
    bool startMonitor() {
        if (!link.state.PortIsOpen && !link.OpenPort())
            return false;
        window.navigation().Moniteur_Click();
        return clock.waitForAnswers(clock.answers() + 3, 10000);
    }
    ~BenchWindow() {
        link.poll.stopWatchdog();
        link.poll.stop();
        link.ClosePort();
    }
    BenchWindow(const BenchWindow &) = delete;
    BenchWindow &operator=(const BenchWindow &) = delete;
};
