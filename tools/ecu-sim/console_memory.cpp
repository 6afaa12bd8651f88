// Console commands on the ECU's memory, for tests and the bench: change a
// byte as if the ECU had been reprogrammed behind the tool's back, or look
// at bytes. Addresses and values are hexadecimal.
#include "ecu-sim/console.h"
#include "ecu-sim/ecu_simulator.h"

#include <QStringList>

namespace ecusim {

QString Console::memoryCommand(const QStringList &args) {
    bool addressOk = false;
    const int address = args.value(1).toInt(&addressOk, 16);
    if (!addressOk || address < 0 || address >= EcuMemory::Size)
        return QStringLiteral("usage: poke ADDR VALUE | peek ADDR [COUNT] (hex, ADDR 0..1000)");
    EcuMemory &memory = sim_->memory();
    if (args.first() == QLatin1String("poke")) {
        bool valueOk = false;
        const int value = args.value(2).toInt(&valueOk, 16);
        if (!valueOk || value < 0 || value > 0xFF)
            return QStringLiteral("usage: poke ADDR VALUE (VALUE hex 0..FF)");
        memory.set(address, quint8(value));
    }
    bool countOk = false;
    const int count = args.size() > 2 && args.first() == QLatin1String("peek")
                          ? args.at(2).toInt(&countOk, 16)
                          : 1;
    QString out = QStringLiteral("%1:").arg(address, 3, 16, QLatin1Char('0')).toUpper();
    for (int a = address; a < address + qBound(1, count, 256) && a < EcuMemory::Size; ++a)
        out += QStringLiteral(" %1").arg(memory.at(a), 2, 16, QLatin1Char('0')).toUpper();
    return out;
}

} // namespace ecusim
