#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Hexadecimal helpers shared by frames, files and the memory viewer.
namespace hex {

inline constexpr char HexDigits[] = "0123456789ABCDEF";

// Four upper-case hex digits, most significant first: WordToHex(171) == "00AB".
// Values outside 0..0xFFFF keep their low 16 bits.
QString WordToHex(int value);

// Two upper-case hex digits of the low byte (the last two of WordToHex).
QByteArray byteHex(int value);

bool isUpperHexDigit(char c);
bool isUpperHex(QByteArrayView text);

// Value of a field already checked with isUpperHex().
int value(QByteArrayView upperHex);

// Lenient reading used for files: the leading hex digits of either case;
// a field with none gives 0.
int leadingValue(QStringView text);

} // namespace hex
