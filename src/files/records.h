#pragma once

#include <QString>
#include <QStringList>

// The tool's files are read as records separated by commas and line ends:
// blanks around a record are dropped and a double-quoted record is taken
// without its quotes. Files end in CR LF or LF.
namespace records {

QStringList split(const QString &text);

// The last record of a file (the single line the tool's files hold), or an
// empty text when the file cannot be read or holds none.
QString lastRecord(const QString &path, bool *readable = nullptr);

// The "]"-separated fields of a line: field k lies between the k-th and the
// (k+1)-th "]". Always count fields; separators past the last are ignored.
QStringList fields(const QString &line, int count);

} // namespace records
