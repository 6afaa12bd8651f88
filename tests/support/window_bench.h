#pragma once

#include "link/link.h"
#include "shell/main_window.h"
#include "support/fake_dialogs.h"
#include "support/fake_serial_port.h"

#include <QTemporaryDir>

// The real main window on an in-memory line, with scripted dialogs and a
// start directory of its own: one per test.
struct WindowBench {
    QTemporaryDir dir;
    FakeSerialPort port;
    Link link{&port};
    FakeDialogs dialogs;
    MainWindow window{link, &dialogs, dir.path()};
};
