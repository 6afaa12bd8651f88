#include "link/port_search.h"

#include "ecu/live_block.h"
#include "link/link.h"

namespace {
const QString Crlf = QStringLiteral("\r\n");
// One byte: the firmware byte.
const QByteArray TestFrame = QByteArrayLiteral("@R0000183\r");
constexpr int Firmware = ecu::liveblock::Firmware;
} // namespace

PortSearch::PortSearch(Link &link, QObject *parent) : QObject(parent), m_link(link) {
    TimerTestCom.setInterval(300);
    connect(&TimerTestCom, &QTimer::timeout, this, &PortSearch::TimerTestCom_Timer);
    // Only the answer to the test frame itself (the firmware byte) counts:
    // a live-poll answer left on the line by an earlier program does not.
    connect(&m_link, &Link::dataDecoded, this, [this](int address, int count) {
        if (isSearching() && address == Firmware && count == 1)
            m_answered = true;
    });
}

QStringList PortSearch::buildList() {
    QStringList entries;
    PortFlags.fill(Failed);
    for (int i = FirstPort; i <= LastPort; ++i) {
        if (m_link.TesteCom(i)) {
            PortFlags[std::size_t(i)] = Present;
            entries.append(entryText(i));
        }
    }
    if (entries.isEmpty())
        entries.append(QStringLiteral(" No Rs232 "));
    return entries;
}

void PortSearch::start() {
    m_link.image.set(Firmware, 0);
    m_answered = false;
    ScanIndex = 1;
    TimerTestCom.start();
}

int PortSearch::entryPort(const QString &entry) {
    qsizetype digits = 0;
    while (digits < 3 && digits < entry.size() && entry.at(entry.size() - 1 - digits).isDigit())
        ++digits;
    if (digits > 0)
        return entry.right(digits).toInt();
    return entry.right(2).trimmed().toInt();
}

void PortSearch::TimerTestCom_Timer() {
    if (m_answered && m_link.image.at(Firmware) != 0) {
        Q_EMIT logged(QStringLiteral(" trouver !!") + QString::number(m_link.image.at(Firmware)) +
                      Crlf);
        TimerTestCom.stop();
        Q_EMIT found(m_link.state.PortNumber);
        return;
    }
    if (PortFlags[std::size_t(ScanIndex - 1)] == Waiting) {
        Q_EMIT logged(QStringLiteral(" ferme comme ") + QString::number(ScanIndex - 1) + Crlf);
        m_link.ClosePort();
    }
    while (PortFlags[std::size_t(ScanIndex)] == Failed && ScanIndex != EndIndex)
        ScanIndex += 1;
    Q_EMIT logged(QStringLiteral(" timer  sur ") + QString::number(ScanIndex) +
                  QStringLiteral(" = ") + QString::number(PortFlags[std::size_t(ScanIndex)]) +
                  Crlf);
    if (ScanIndex != EndIndex) {
        Q_EMIT logged(QStringLiteral("ourvre la com ") + QString::number(ScanIndex) + Crlf);
        m_link.setPortNumber(ScanIndex);
        PortFlags[std::size_t(ScanIndex)] = Waiting;
        m_link.image.set(Firmware, 0);
        m_answered = false;
        m_link.OpenPort();
        m_link.SendLine(TestFrame);
        ScanIndex += 1;
    }
    if (ScanIndex == EndIndex) {
        Q_EMIT logged(QStringLiteral(" teste fini pas de porte trouvé ") + Crlf);
        TimerTestCom.stop();
        ScanIndex = 1;
        Q_EMIT exhausted();
    }
}
