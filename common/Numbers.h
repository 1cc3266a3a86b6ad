#pragma once

#include <QString>

#include <optional>

// Number rules shared by the card processor, the console and the dialogs.
namespace Numbers {

// "0.00": at least one digit before the point, exactly two after, a leading minus sign
// when negative, no grouping. Halves round away from zero on the decimal value.
QString money(double value);

// The number at the start of a text, as a card reader of stored values expects it:
// blanks are skipped, then an optional sign, digits, a decimal point and an exponent.
// A text with no leading number gives 0.
double leadingNumber(const QString& text);

// Rounds to the nearest whole number, halves to the even neighbour; nothing when the
// result does not fit in 16 bits (or the value is not finite).
std::optional<qint16> roundToInt16(double value);

// A whole number written as plain decimal digits (optional sign and surrounding blanks).
std::optional<qint64> wholeNumber(const QString& text);

// The shortest text of a number, at most 15 significant digits: 95.2, 100, -35, 0.5.
QString shortest(double value);

// A fare as written in a route line: a decimal number, surrounding blanks allowed.
std::optional<double> parseDecimal(const QString& text);

// Rounds to `decimals` places, halves to the even neighbour, judged on the 15-digit value.
double roundHalfEven(double value, int decimals);

} // namespace Numbers

// Positions and sizes are given in twips: 15 to the pixel at 100 % scaling.
constexpr int twips(int tw)
{
    return (tw + 7) / 15;
}
