#pragma once

// The whole tool on an in-memory line, for the screen tests of the parameter
// pages: every form exists, the port is open and nothing has been sent yet.
#include "link/frames.h"
#include "link/link.h"
#include "monitor/monitor_screen.h"
#include "pages/battery_page.h"
#include "pages/coefficient_page.h"
#include "pages/data_table.h"
#include "pages/lambda_page.h"
#include "pages/level_page.h"
#include "pages/main_parameters_page.h"
#include "pages/ntc_page.h"
#include "shell/main_window.h"
#include "support/fake_dialogs.h"
#include "support/fake_serial_port.h"
#include "support/frame_helpers.h"
#include "ui/app_context.h"
#include "ui/numeric_edit.h"
#include "ui/screens.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// A control by its name; a missing one ends the run.
template <typename T> T *child(QWidget &parent, const QString &name) {
    T *found = parent.findChild<T *>(name);
    if (!found)
        qFatal("no control %s in %s", qPrintable(name), qPrintable(parent.objectName()));
    return found;
}

// The texts of sibling controls, in the order given.
template <typename... Widgets> QStringList texts(Widgets *...widgets) {
    return {widgets->text()...};
}

// Texts put in fields, in the order given.
inline void typeInto(std::initializer_list<std::pair<QLineEdit *, const char *>> typed) {
    for (const auto &[edit, text] : typed)
        edit->setText(QString::fromLatin1(text));
}

class PagesWindow {
  public:
    PagesWindow() {
        window.MDIForm1_Load();
        window.show();
        link.OpenPort();
        port.written.clear();
    }

    Screens &screens() { return window.screens(); }
    AppContext &app() { return window.app(); }
    MemoryImage &image() { return link.image; }
    // Bytes put in the image as {address, value}; the bytes at addresses.
    void set(std::initializer_list<std::pair<int, int>> bytes) {
        for (const auto &[address, value] : bytes)
            image().set(address, static_cast<quint8>(value));
    }
    QList<int> at(std::initializer_list<int> addresses) {
        QList<int> out;
        for (int address : addresses)
            out << image().at(address);
        return out;
    }

    // A pick of the fitter in a choice list.
    static void pick(QComboBox *combo, int index) {
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }

    // The write frame the tool builds for a descriptor from the image now.
    QByteArray writeOf(QByteArrayView descriptor) const {
        return frames::writeFrame(descriptor, link.image);
    }
    // The ECU's answer to the last line: advances the write sequencer.
    void acknowledge() { port.feed(ackFrame()); }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    FakeSerialPort port;
    Link link{&port};
    MainWindow window{link, &dialogs, dir.path()};
};
