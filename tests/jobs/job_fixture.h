#pragma once

#include "jobs/job_panel.h"
#include "link/link.h"
#include "support/ecu_answers.h"
#include "support/frame_helpers.h"
#include "support/window_session.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

// The main window over a fake port, its records and restore points in a
// data folder of its own.
struct JobFixture : WindowFixture {
    std::unique_ptr<QTemporaryDir> home;

    void startWindow() {
        home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", home->path().toLocal8Bit());
        dialogs = FakeDialogs();
        session.start(dialogs, dir.path());
        QVERIFY(link->OpenPort());
        port->written.clear();
    }

    JobPanel *panel() const { return window->jobPanel(); }
    template <typename T> T *control(const char *name) const {
        T *found = panel()->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    void click(const char *name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }
    void type(const char *name, const QString &text) {
        QLineEdit *edit = control<QLineEdit>(name);
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    // An ECU: its firmware byte 0x47 and a pattern in the configuration
    // area, the switch-over temperature at 35 °C.
    static MemoryImage ecuMemory(int switchTemperature = 35) {
        MemoryImage ecu;
        for (int a = 0x800; a <= 0xFFF; ++a)
            ecu.set(a, quint8((a * 5 + 1) & 0xFF));
        ecu.set(0x000, 0x47);
        ecu.set(0x803, quint8(switchTemperature));
        return ecu;
    }
    // Answers every read request from ecu; the other lines stay written.
    void answerReads(const MemoryImage &ecu) { ::answerReads(*port, ecu); }
    void readEcu(const MemoryImage &ecu = ecuMemory()) {
        link->StartFullRead();
        answerReads(ecu);
        QVERIFY(link->state.DataLoaded && !link->state.FullReadActive);
    }
    // A vehicle and a job made through the panel's controls.
    void newVehicleAndJob(const QString &plate, const QString &vin = {}) {
        click("NewVehicleButton");
        type("PlateEdit", plate);
        type("VinEdit", vin);
        click("SaveVehicleButton");
        click("NewJobButton");
        click("SaveJobButton");
    }
};
