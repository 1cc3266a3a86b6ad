#include "common/Money.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

qint64 clampCents(qint64 c)
{
    return std::clamp(c, -Money::MaxCents, Money::MaxCents);
}

// Floor division, for the half fare of a negative amount.
qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

Money Money::fromDouble(double value)
{
    if (std::isnan(value))
        return Money();
    // The 15-digit decimal form first, so that 1.005 rounds as 1.005 and not as the
    // 1.00499999999999989... that the double holds.
    const double cents = QString::number(value * 100.0, 'g', 15).toDouble();
    if (!(std::fabs(cents) < double(MaxCents)))
        return Money(cents < 0 ? -MaxCents : MaxCents);
    return Money(clampCents(qint64(std::round(cents)))); // halves away from zero
}

std::optional<Money> Money::parse(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*([+-]?)([0-9]*)(?:\\.([0-9]*))?(?:[eE]([+-]?)([0-9]+))?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QString whole = m.captured(2);
    const QString fraction = m.captured(3);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt; // no digit at all: "", ".", "e5"

    // The significant digits as one run, with the decimal point after `point` of them.
    QString digits = whole + fraction;
    qsizetype zeros = 0;
    while (zeros < digits.size() && digits.at(zeros) == u'0')
        ++zeros;
    digits.remove(0, zeros);
    if (digits.isEmpty())
        return Money(); // zero, however it is written
    qint64 point = whole.size() - zeros;
    // The exponent moves the point; any exponent past a million is as good as a million.
    qint64 exponent = 0;
    for (QChar c : m.captured(5))
        exponent = std::min<qint64>(exponent * 10 + c.digitValue(), 1'000'000);
    point += m.captured(4) == u"-" ? -exponent : exponent;

    const qint64 centDigits = point + 2; // the digits that make whole cents
    if (centDigits > 16)
        return std::nullopt; // beyond every amount handled
    qint64 cents = 0;
    for (qint64 i = 0; i < centDigits; ++i)
        cents = cents * 10 + (i < digits.size() ? digits.at(i).digitValue() : 0);
    // Halves away from zero: the first digit dropped decides.
    if (centDigits >= 0 && centDigits < digits.size() && digits.at(centDigits) >= u'5')
        ++cents;
    if (cents > MaxCents)
        return std::nullopt;
    return Money(m.captured(1) == u"-" ? -cents : cents);
}

QString Money::text() const
{
    const qint64 a = m_cents < 0 ? -m_cents : m_cents;
    QString t = QString::number(a / 100) + u'.' + QString::number(a % 100).rightJustified(2, u'0');
    return m_cents < 0 ? u'-' + t : t;
}

QString Money::shortText() const
{
    QString t = text();
    if (t.endsWith(u'0'))
        t.chop(1);
    if (t.endsWith(u'0'))
        t.chop(2); // the zero and the point
    return t;
}

Money Money::halfFare() const
{
    // Half to the cent, an odd cent's half going to the even neighbour.
    qint64 h = floorDiv(m_cents, 2);
    if (m_cents % 2 != 0 && h % 2 != 0)
        ++h;
    // Two decimals: raised to the next ten cents.
    if (h % 10 != 0)
        h = (floorDiv(h + 10, 10)) * 10;
    return Money(h);
}
