#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The tool's files are read as records separated by commas and line ends:
// blanks around a record are dropped and a double-quoted record is taken
// without its quotes. Files end in CR LF or LF.
namespace records {

// Files written by older tools are Windows-1252; newer ones are UTF-8.
// Valid UTF-8 (an optional byte-order mark dropped) is read as UTF-8,
// anything else as Windows-1252, so accented texts show right either way.
QString decode(const QByteArray &bytes);

// One Windows-1252 byte as a character. The five bytes the code page leaves
// undefined keep their own code, as Windows' own conversion does.
QChar windows1252(unsigned char byte);

QStringList split(const QString &text);

// The last record of a file (the single line the tool's files hold), or an
// empty text when the file cannot be read or holds none.
QString lastRecord(const QString &path, bool *readable = nullptr);

// The "]"-separated fields of a line: field k lies between the k-th and the
// (k+1)-th "]". Always count fields; separators past the last are ignored.
QStringList fields(const QString &line, int count);

} // namespace records
