#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The tool's files are read as records separated by commas and line ends:
// blanks around a record are dropped and a double-quoted record is taken
// without its quotes. Files end in CR LF or LF.
namespace records {

// No file is read past this many bytes, whatever size it claims: a device
// or a file that keeps growing is refused instead of filling the memory.
// Memory files with a long history of earlier lines still fit.
inline constexpr qint64 MaxReadBytes = 8 << 20;

// Files written by older tools are Windows-1252; newer ones are UTF-8.
// Valid UTF-8 (an optional byte-order mark dropped) is read as UTF-8,
// anything else as Windows-1252, so accented texts show right either way.
QString decode(const QByteArray &bytes);

// One Windows-1252 byte as a character. The five bytes the code page leaves
// undefined keep their own code, as Windows' own conversion does.
QChar windows1252(unsigned char byte);

QStringList split(const QString &text);

// The last record of a file (the single line the tool's files hold), or an
// empty text when the file cannot be read or holds none. Past MaxReadBytes
// it is not readable. The file is decoded as decode() does.
QString lastRecord(const QString &path, bool *readable = nullptr);

// Writes bytes to path through a temporary file renamed into place, so a
// crash or a full disk never leaves half a file. Only a regular file (or a
// link to one) is replaced: a folder, device, fifo or socket at path is left
// as it is. False with *error set, naming the path, when nothing was
// written; an existing file is then untouched.
bool writeAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Whether writeAtomically may put a file at path: nothing there, or a
// regular file. False with *error set as writeAtomically would.
bool replaceable(const QString &path, QString *error = nullptr);

// The "]"-separated fields of a line: field k lies between the k-th and the
// (k+1)-th "]". Always count fields; separators past the last are ignored.
QStringList fields(const QString &line, int count);

} // namespace records
