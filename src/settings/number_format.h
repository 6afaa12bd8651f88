#pragma once

#include <QString>

#include <optional>

// How the pages read and write the numbers in their fields.
namespace number {

// Leading blanks skipped, an optional sign, digits with at most one "." as
// the decimal point; reading stops at the first character that does not
// fit. Empty or non-numeric text reads as 0. A comma is never a decimal
// separator: "1,5" reads as 1.
double parse(const QString &text);

// The shortest decimal text with up to 15 significant digits, no trailing
// zeros, "0.5" rather than ".5", with the desktop's decimal separator.
QString format(double value);
// format() with every "," replaced by "." (the fields that need a point).
QString formatPoint(double value);

// The value as one ECU byte: nearest integer, halves to the even neighbour
// (2.5 -> 2, 3.5 -> 4). Nothing when the result is outside 0..255.
std::optional<int> toByte(double value);
// toByte() for encoders whose fields are validated: a value that is out of
// range nevertheless (pasted text on a page never validated) is clamped to
// 0..255 rather than written as garbage.
int toByteClamped(double value);

// Rounds half to even, as toByte() does, without the range check.
double roundHalfEven(double value);

} // namespace number
