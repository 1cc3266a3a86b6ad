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

} // namespace

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

} // namespace Numbers
