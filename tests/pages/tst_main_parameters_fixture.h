#pragma once

// The whole tool on an in-memory line for the screen tests of the main
// parameters and level sensor pages: every form exists, the port is open
// and nothing has been sent yet.
#include "link/frames.h"
#include "link/link.h"
#include "monitor/monitor_screen.h"
#include "pages/level_page.h"
#include "pages/main_parameters_page.h"
#include "shell/app_context.h"
#include "shell/main_window.h"
#include "shell/screens.h"
#include "support/fake_dialogs.h"
#include "support/fake_serial_port.h"
#include "support/frame_helpers.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>

class PagesWindow {
  public:
    PagesWindow() {
        port = std::make_unique<FakeSerialPort>();
        link = std::make_unique<Link>(port.get());
        window = std::make_unique<MainWindow>(*link, &dialogs, dir.path());
        window->MDIForm1_Load();
        window->show();
        link->OpenPort();
        port->written.clear();
    }
    ~PagesWindow() {
        window.reset();
        link.reset();
    }

    Screens &screens() { return window->screens(); }
    AppContext &app() { return window->app(); }
    MemoryImage &image() { return link->image; }
    MainParametersPage &main() { return *window->screens().FnParametres; }
    LevelPage &level() { return *window->screens().FnParametres2; }
    QTimer &timer1() { return window->screens().FnMoniteur->Timer1; }

    template <typename T> T *control(Form &page, const QString &name) {
        T *found = page.findChild<T *>(name);
        if (!found)
            qFatal("no control %s on %s", qPrintable(name), qPrintable(page.objectName()));
        return found;
    }
    NumericEdit *field(Form &page, const QString &name) { return control<NumericEdit>(page, name); }
    QPushButton *button(Form &page, const QString &name) {
        return control<QPushButton>(page, name);
    }
    // A pick of the fitter in a choice list.
    static void pick(QComboBox *combo, int index) {
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }

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
