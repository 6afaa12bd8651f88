#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A language file replaces the tool's captions and messages: one line
// FichierLangage:]text1]text2]...]textN
// in which text k lies between the k-th and the (k+1)-th "]" (text 0 is the
// header itself).
namespace language {

constexpr int TextCount = 201; // texts 0..200

// Files written by older tools are Windows-1252; newer ones are UTF-8.
// Valid UTF-8 (an optional byte-order mark dropped) is read as UTF-8,
// anything else as Windows-1252, so accented captions show right either way.
QString decode(const QByteArray &bytes);

// One Windows-1252 byte as a character. The five bytes the code page leaves
// undefined keep their own code, as Windows' own conversion does.
QChar windows1252(unsigned char byte);

// Splits a line into texts 0..200. Nothing when the line does not begin with
// the header. Texts past 200 have no place and are dropped.
bool parseLine(const QString &line, QStringList &texts);

enum class ReadResult { Missing, BadHeader, Read };

// Reads a file as the tool's records (last record is the line) and parses it.
// texts is left untouched unless the result is Read.
ReadResult readFile(const QString &path, QStringList &texts);

} // namespace language
