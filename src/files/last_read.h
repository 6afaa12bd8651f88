#pragma once

#include "ecu/memory_image.h"

#include <QObject>
#include <QString>

class Link;

// What the ECU held at the end of the last completed whole-memory read: its
// firmware byte and its configuration as far as the wire reaches, kept apart
// from the editable image, which a loaded file or an edited page changes.
// A restore point is made from these bytes, never from the image. One copy
// follows each link: it is a child of the link and takes the image at
// every fullReadCompleted.
class LastRead : public QObject {
    Q_OBJECT
  public:
    explicit LastRead(Link &link);

    // The link's copy, made on first use (then not known until a read).
    static LastRead &of(Link &link);

    bool known() const { return m_known; }
    const MemoryImage &bytes() const { return m_bytes; }
    // True when image holds the read's firmware byte and configuration: the
    // ECU holds what the image shows, as far as the tool knows.
    bool matches(const MemoryImage &image) const;
    void take(const MemoryImage &image);

    // The restore point made before the running or last upload.
    QString restorePoint;

  private:
    MemoryImage m_bytes;
    bool m_known = false;
};
