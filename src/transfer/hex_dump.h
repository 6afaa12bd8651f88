#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class MemoryImage;

// The memory viewer's dump: 29 lines of 8 bytes from a start address, each
// line "AAAA" + 8 x (" " + 2 hex digits) + 3 blanks + 8 characters, CR LF.
namespace hexdump {

inline constexpr int Lines = 29;
inline constexpr int BytesPerLine = 8;
// Where a line's parts start: the address takes 4 characters, each byte 3.
inline constexpr int HexColumn = 5; // first hex digit of byte 0
inline constexpr int CharColumn = 4 + 3 * BytesPerLine + 3;

// The start address typed by the fitter: decimal, or hexadecimal after
// "&H". Reading stops at the first character that does not fit; a text with
// no number reads as 0. Nothing for a hex prefix without digits.
std::optional<qint64> parseAddress(const QString &text);

// The character shown for a byte: "." below 32, from 32 on the character of
// the byte in Windows-1252, the code page the ECU's texts and the older
// tools' files use (0x80 the euro sign, 0x99 the trade mark ...). DEL and
// the five codes Windows-1252 leaves undefined have no glyph: they show as
// an empty box, so every byte still takes one column.
QChar shownCharacter(quint8 b);
inline constexpr char16_t NoGlyph = 0x25AF;

struct Dump {
    bool valid = false;   // the start address lies inside the image
    QString Text2;        // the byte at the start address, decimal
    QString Text3;        // the start address, 4 hex digits
    QString Text4;        // the byte, 4 hex digits
    QString Text5;        // the dump lines, each ended by CR LF
    QString Text6;        // the line addresses, each ended by CR LF
    QByteArray bytes;     // the bytes shown, in address order
    bool clipped = false; // the dump stops at the end of the image
    QString note;         // what the fitter is told when clipped or refused
};

// The dump of 29 lines from start. It never reads outside 0..0x1000: lines
// that would reach past the image end there (a last line may be short, its
// character column kept in place), and a start outside the image gives an
// empty, invalid dump with a note.
Dump build(const MemoryImage &image, qint64 start);

} // namespace hexdump
