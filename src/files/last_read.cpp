#include "files/last_read.h"

#include "ecu/live_block.h"
#include "ecu/memory_map.h"
#include "link/link.h"

LastRead::LastRead(Link &link) : QObject(&link) {
    setObjectName(QStringLiteral("LastRead"));
    connect(&link, &Link::fullReadCompleted, this, [this, &link] { take(link.image); });
}

LastRead &LastRead::of(Link &link) {
    if (auto *own =
            link.findChild<LastRead *>(QStringLiteral("LastRead"), Qt::FindDirectChildrenOnly))
        return *own;
    return *new LastRead(link);
}

bool LastRead::matches(const MemoryImage &image) const {
    const int firmware = ecu::liveblock::Firmware;
    if (!m_known || image.at(firmware) != m_bytes.at(firmware))
        return false;
    for (int a = ecu::ConfigStart; a <= ecu::WireEnd; ++a) {
        if (image.at(a) != m_bytes.at(a))
            return false;
    }
    return true;
}

void LastRead::take(const MemoryImage &image) {
    m_bytes = image;
    m_known = true;
}
