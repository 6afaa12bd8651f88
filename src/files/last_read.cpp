#include "files/last_read.h"

#include "link/link.h"

namespace {
constexpr int ConfigStart = 0x800;
} // namespace

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
    if (!m_known || image.at(0x000) != m_bytes.at(0x000))
        return false;
    for (int a = ConfigStart; a <= MemoryImage::LastWireAddress; ++a) {
        if (image.at(a) != m_bytes.at(a))
            return false;
    }
    return true;
}

void LastRead::take(const MemoryImage &image) {
    m_bytes = image;
    m_known = true;
}
