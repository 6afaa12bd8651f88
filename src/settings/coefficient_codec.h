#pragma once

#include "ecu/memory_map.h"

#include <QString>
#include <QStringList>

#include <optional>

class MemoryImage;

// The pressure and gas-temperature correction tables, 20 one-byte entries
// each: a correction of the injection time in percent, shown
// and typed as the decimal byte. The parameter page and the map screen both
// edit them through this codec. Fields are numbered 0..39: TxTbCP1..TxTbCP20
// then TxTbCG1..TxTbCG20.
class CoefficientCodec {
  public:
    enum class Table { Pressure, GasTemperature };

    static constexpr int Entries = ecu::PressureCoefficients.length;
    static constexpr int FieldCount = 2 * Entries;
    // TxTbCPn and TxTbCGn (n = 1..20) at base + n.
    static constexpr int PressureBase = ecu::PressureCoefficients.address - 1;
    static constexpr int GasTemperatureBase = ecu::GasTemperatureCoefficients.address - 1;

    static Table table(int field) {
        return field < Entries ? Table::Pressure : Table::GasTemperature;
    }
    // n = 1..20 within its table.
    static int entry(int field) { return field % Entries + 1; }
    static int address(int field);
    // "TxTbCP1" .. "TxTbCG20".
    static QString fieldName(int field);
    // The axis value under entry n: n/10 bar, or 5n degrees.
    static QString axisLabel(Table table, int n);

    // PutInTaB: the 40 field texts from the image, in field order.
    static QStringList decode(const MemoryImage &image);
    // TaBinMemoire: byte(value) of each text into the image. Texts are
    // expected validated; anything still outside 0..255 is stored clamped.
    static void encode(const QStringList &texts, MemoryImage &image);
    // TestValeurTableau for one field: the corrected text when the value is
    // below 0 or above 255, nothing when it stands as typed.
    static std::optional<QString> corrected(const QString &text);
};
