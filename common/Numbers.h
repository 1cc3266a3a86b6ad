#pragma once

#include <QString>

#include <optional>

// Number rules for texts from the settings store and the dialogs. Money has its own.
namespace Numbers {

// The number at the start of a text, as a card reader of stored values expects it:
// blanks are skipped, then an optional sign, digits, a decimal point and an exponent.
// A text with no leading number gives 0.
double leadingNumber(const QString& text);

// Rounds to the nearest whole number, halves to the even neighbour; nothing when the
// result does not fit in 16 bits (or the value is not finite).
std::optional<qint16> roundToInt16(double value);

// A text that is a decimal number and nothing else (surrounding blanks allowed): sign,
// digits with an optional point, an optional exponent. Too large for a double gives an
// infinity of its sign; nothing when the text is not such a number.
std::optional<double> decimal(const QString& text);

// A whole number written as plain decimal digits (optional sign and surrounding blanks).
std::optional<qint64> wholeNumber(const QString& text);

} // namespace Numbers
