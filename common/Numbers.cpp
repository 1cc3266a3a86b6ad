#include "common/Numbers.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace Numbers {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// The value as the nearest 15-significant-digit decimal, so that 1.005 rounds as 1.005
// and not as 1.00499999999999989...
double decimalClean(double v)
{
    return QString::number(v, 'g', 15).toDouble();
}

} // namespace

QString money(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0.00");
    const double cents = decimalClean(value * 100.0);
    if (!std::isfinite(cents)) {
        // So large that it is a whole number and has no cents to round.
        return QString::number(value, 'f', 2);
    }
    double r = std::round(cents); // halves away from zero
    if (r == 0.0)
        r = 0.0; // never "-0.00"
    // The whole cents as digits, then the point before the last two: no integer type
    // limits the amount.
    QString text = QString::number(std::fabs(r), 'f', 0).rightJustified(3, u'0');
    text.insert(text.size() - 2, u'.');
    if (r < 0)
        text.prepend(u'-');
    return text;
}

double leadingNumber(const QString& text)
{
    // Blanks anywhere inside the number are skipped, as a reader of stored values does.
    QString compact;
    compact.reserve(text.size());
    for (QChar c : text)
        if (!isBlank(c))
            compact += c;

    static const QRegularExpression re(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eEdD][+-]?\\d+)?"));
    const auto m = re.match(compact);
    if (!m.hasMatch())
        return 0.0;
    QString num = m.captured(0);
    num.replace(u'd', u'e').replace(u'D', u'e');
    bool ok = false;
    const double v = num.toDouble(&ok);
    if (ok && std::isfinite(v))
        return v;
    // Too large to hold, with or without an exponent: Qt gives an infinity. Keep the sign,
    // beyond every limit. Anything else that fails is too small to hold: 0.
    if (std::isinf(v))
        return v > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
    return 0.0;
}

std::optional<qint16> roundToInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = std::nearbyint(value); // default rounding: halves to even
    if (r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(r);
}

std::optional<qint64> wholeNumber(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*[+-]?\\d{1,18}\\s*$"));
    if (!re.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

QString shortest(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (value == 0.0)
        return QStringLiteral("0");
    QString text = QString::number(value, 'g', 15);
    // 'g' switches to exponent form for very large or small values; write it as 1E+20.
    const int e = text.indexOf(u'e');
    if (e >= 0) {
        QString mant = text.left(e);
        QString exp = text.mid(e + 1);
        const bool neg = exp.startsWith(u'-');
        exp.remove(0, (exp.startsWith(u'+') || neg) ? 1 : 0);
        while (exp.size() > 2 && exp.startsWith(u'0'))
            exp.remove(0, 1);
        if (exp.size() < 2)
            exp.prepend(u'0');
        text = mant + u'E' + (neg ? u'-' : u'+') + exp;
    }
    return text;
}

std::optional<double> parseDecimal(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (!re.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

double roundHalfEven(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double scaled = decimalClean(value * scale);
    return std::nearbyint(scaled) / scale;
}

} // namespace Numbers
