#pragma once

#include <QString>
#include <QStringList>

// A language file replaces the tool's captions and messages: one line
// FichierLangage:]text1]text2]...]textN
// in which text k lies between the k-th and the (k+1)-th "]" (text 0 is the
// header itself).
namespace language {

constexpr int TextCount = 201; // texts 0..200

// Splits a line into texts 0..200. Nothing when the line does not begin with
// the header. Texts past 200 have no place and are dropped.
bool parseLine(const QString &line, QStringList &texts);

enum class ReadResult { Missing, BadHeader, Read };

// Reads a file as the tool's records (last record is the line; UTF-8 or
// Windows-1252, see records::decode) and parses it.
// texts is left untouched unless the result is Read.
ReadResult readFile(const QString &path, QStringList &texts);

// Why a file's line was refused, for its translator: a comma ends the line's
// record, so one inside a text cuts the header off. Names the text (its
// number) and the character's place in it (from 1), e.g.
// "text 47, character 12: \",\" cannot stand in a text"; empty when the
// file's last line has no header or no comma.
QString fault(const QString &path);
QString lineFault(const QString &line);

} // namespace language
