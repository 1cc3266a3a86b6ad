#include "common/Numbers.h"

#include <cmath>
#include <limits>

namespace Numbers {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isSpace(QChar c)
{
    return isBlank(c) || c == u'\v' || c == u'\f';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// How many ASCII digits stand at `i`.
qsizetype digitsAt(QStringView s, qsizetype i)
{
    qsizetype n = 0;
    while (i + n < s.size() && isDigit(s[i + n]))
        ++n;
    return n;
}

// The length of the number at the start of `s`: a sign, digits with an optional point and
// more digits (or a point and digits), and an exponent (e, E, d or D) when one follows
// whole. Read by hand: a regular expression engine costs the start-up more than it saves.
qsizetype numberLength(QStringView s)
{
    qsizetype i = (!s.isEmpty() && (s[0] == u'+' || s[0] == u'-')) ? 1 : 0;
    const qsizetype whole = digitsAt(s, i);
    i += whole;
    if (i < s.size() && s[i] == u'.') {
        const qsizetype fraction = digitsAt(s, i + 1);
        if (whole == 0 && fraction == 0)
            return 0;
        i += 1 + fraction;
    } else if (whole == 0) {
        return 0;
    }
    if (i < s.size() && QStringView(u"eEdD").contains(s[i])) {
        qsizetype j = i + 1;
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            ++j;
        if (const qsizetype e = digitsAt(s, j); e > 0)
            i = j + e;
    }
    return i;
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

    const qsizetype length = numberLength(compact);
    if (length == 0)
        return 0.0;
    QString num = compact.left(length);
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

std::optional<double> decimal(const QString& text)
{
    const QStringView s = QStringView(text).trimmed();
    const qsizetype length = numberLength(s);
    // The whole text, with no "d" exponent: that spelling is the stored values' alone.
    if (length == 0 || length != s.size() || s.contains(u'd') || s.contains(u'D'))
        return std::nullopt;
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (ok || std::isinf(v))
        return v;
    return 0.0; // too small to hold
}

std::optional<qint64> wholeNumber(const QString& text)
{
    // Blanks around, a sign, and 1 to 18 digits.
    const QStringView s(text);
    qsizetype i = 0;
    while (i < s.size() && isSpace(s[i]))
        ++i;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    const qsizetype digits = digitsAt(s, i);
    if (digits < 1 || digits > 18)
        return std::nullopt;
    for (i += digits; i < s.size(); ++i)
        if (!isSpace(s[i]))
            return std::nullopt;
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

} // namespace Numbers
