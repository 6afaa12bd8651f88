#pragma once

// The whole tool on an in-memory line, for the screen tests of the table
// pages: every form exists, the port is open and nothing has been sent yet.
#include "link/frames.h"
#include "link/link.h"
#include "monitor/monitor_screen.h"
#include "shell/app_context.h"
#include "shell/main_window.h"
#include "shell/screens.h"
#include "support/fake_dialogs.h"
#include "support/fake_serial_port.h"
#include "support/frame_helpers.h"

#include <QTemporaryDir>

#include <memory>

class TablesWindow {
  public:
    TablesWindow() {
        port = std::make_unique<FakeSerialPort>();
        link = std::make_unique<Link>(port.get());
        window = std::make_unique<MainWindow>(*link, &dialogs, dir.path());
        window->MDIForm1_Load();
        window->show();
        link->OpenPort();
        port->written.clear();
    }
    ~TablesWindow() {
        window.reset();
        link.reset();
    }

    Screens &screens() { return window->screens(); }
    AppContext &app() { return window->app(); }
    MemoryImage &image() { return link->image; }
    // The write frame the tool builds for a descriptor from the image now.
    QByteArray writeOf(QByteArrayView descriptor) const {
        return frames::writeFrame(descriptor, link->image);
    }
    // The ECU's answer to the last line: advances the write sequencer.
    void acknowledge() { port->feed(ackFrame()); }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<FakeSerialPort> port;
    std::unique_ptr<Link> link;
    std::unique_ptr<MainWindow> window;
};
