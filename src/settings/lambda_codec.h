#pragma once

#include "ecu/memory_map.h"

#include <QString>

#include <array>
#include <optional>

class MemoryImage;

// The closed-loop mixture correction block, decoded and encoded
// by the lambda page itself. With the negative-delta box ticked, the four
// correction bytes are read and written as signed bytes.
namespace lambda {

enum Field {
    VVlambdaRich,
    VVlambdaPauvre,
    DelayRich,
    DelayPauvre,
    DelayRepet,
    RpmAct,
    RaCoPauvre,
    RaCoRich,
    ChCoPauvre,
    ChCoRich,
    Memorise,
    FieldCount
};

enum class Kind {
    Byte,       // one byte, 0..255
    Word,       // two bytes, high first
    Correction, // one byte, unsigned or signed as the negative-delta box says
    Flag,       // one byte read with the number parser (0 OFF, else ON)
};

// A field of the page: its row in the memory map (control, address,
// limits, the caption messages name it by) and how the page reads it.
struct FieldInfo {
    const ecu::Field &row;
    Kind kind;
};

inline constexpr int BlockAddress = ecu::LambdaBlock.address;
inline constexpr int BlockLength = ecu::LambdaBlock.length;

const FieldInfo &info(Field field);
// "( 82 83 )": the address bytes, as the labels beside the fields show them.
QString addressCaption(Field field);

using Texts = std::array<QString, FieldCount>;

// The order in which the page shows the fields.
inline constexpr std::array<Field, FieldCount> ShowOrder = {
    Memorise,  DelayRepet, RpmAct,   VVlambdaPauvre, DelayPauvre, VVlambdaRich,
    DelayRich, RaCoRich,   ChCoRich, RaCoPauvre,     ChCoPauvre};

// Affiche: the field texts from the image, whole decimal numbers.
Texts decode(const MemoryImage &image, bool deltaNegatif);

// A field that cannot be stored: not a number, or outside [min, max].
struct Refusal {
    Field field;
    int min;
    int max;
};
QString refusalText(const Refusal &refusal);
// The accepted range of a field under the current sign convention.
Refusal range(Field field, bool deltaNegatif);

// Encodes every field into the image, or none: the first field that cannot
// be stored is returned and the image is left as it was.
std::optional<Refusal> encode(const Texts &texts, bool deltaNegatif, MemoryImage &image);

// Convertion: the unit captions beside the fields.
struct Units {
    QString TXTP01, TXTP02, TXTP03;
    QString TXTR01, TXTR02, TXTR03;
    QString TXTMEMORISE;
};
Units convert(const Texts &texts);

} // namespace lambda
