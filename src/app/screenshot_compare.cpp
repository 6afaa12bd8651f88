// The configuration compare: the ECU's configuration against a memory file
// in which a fitter changed a few settings and a table entry.
#include "app/screenshot_tour.h"
#include "ecu/memory_map.h"
#include "files/memory_file.h"
#include "link/link.h"
#include "pages/compare_window.h"
#include "shell/main_window.h"

#include <QTemporaryDir>

bool ScreenshotTour::shootCompare() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Customer.fra"));
    MemoryImage changed = m_window.app().link.image;
    ecu::stampFirmware(changed);
    const auto add = [&changed](int address, int step) {
        changed.set(address, static_cast<quint8>(changed.at(address) + step));
    };
    add(ecu::field::SwitchTemperature.address, 5);
    add(ecu::field::AlarmPressure.address + 1, 10); // the magnitude
    add(ecu::PressureCoefficients.address + 2, 4);
    add(ecu::PressureCoefficients.address + 3, 3);
    if (!memory_file::writeAtomically(path, memory_file::format(changed)))
        return false;
    CompareWindow *compare = m_window.compareWindow();
    compare->setSource(0, {});
    compare->setSource(1, path);
    m_window.openCompare();
    compare->BtCompare_Click();
    const bool ok = shoot(QStringLiteral("62-compare"), compare);
    compare->close();
    return ok;
}
