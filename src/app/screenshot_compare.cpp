// The configuration compare: the ECU's configuration against a memory file
// in which a fitter changed a few settings and a table entry.
#include "app/screenshot_tour.h"
#include "files/memory_file.h"
#include "link/link.h"
#include "pages/compare_window.h"
#include "shell/main_window.h"

#include <QTemporaryDir>

bool ScreenshotTour::shootCompare() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Customer.fra"));
    MemoryImage changed = m_window.app().link.image;
    changed.set(memory_file::LastAddress, changed.at(0x000));
    changed.set(0x803, static_cast<quint8>(changed.at(0x803) + 5));  // switch-over temperature
    changed.set(0x80B, static_cast<quint8>(changed.at(0x80B) + 10)); // pressure alarm
    changed.set(0x812, static_cast<quint8>(changed.at(0x812) + 4));  // pressure coefficient
    changed.set(0x813, static_cast<quint8>(changed.at(0x813) + 3));
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
