#pragma once

#include "link/link.h"
#include "shell/main_window.h"
#include "support/fake_dialogs.h"
#include "support/fake_serial_port.h"

#include <QTemporaryDir>
#include <functional>
#include <memory>

// The main window over a fake port, started as the program starts it.
struct WindowSession {
    FakeSerialPort *port = nullptr;
    std::unique_ptr<Link> link;
    std::unique_ptr<MainWindow> window;

    WindowSession() = default;
    WindowSession(const WindowSession &) = delete;
    WindowSession &operator=(const WindowSession &) = delete;
    ~WindowSession() { reset(); }

    void start(Dialogs &dialogs, const QString &programDir,
               const Variant &variant = Variant::build(),
               const std::function<void(FakeSerialPort &)> &preparePort = {}) {
        reset();
        port = new FakeSerialPort;
        if (preparePort)
            preparePort(*port);
        link = std::make_unique<Link>(port);
        window = std::make_unique<MainWindow>(*link, &dialogs, programDir, variant);
        window->MDIForm1_Load();
        window->show();
    }

    void reset() {
        window.reset();
        link.reset();
        delete port;
        port = nullptr;
    }
};

// What a window test holds: a start directory of its own, scripted dialogs
// and the session, with the session's parts under short names.
struct WindowFixture {
    QTemporaryDir dir;
    FakeDialogs dialogs;
    WindowSession session;
    FakeSerialPort *&port = session.port;
    std::unique_ptr<Link> &link = session.link;
    std::unique_ptr<MainWindow> &window = session.window;
};
