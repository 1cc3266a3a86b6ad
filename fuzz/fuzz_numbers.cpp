// The number rules with any input: the leading number of a stored text, fares as route
// lines write them, whole numbers, money texts, short texts, 16-bit rounding, the half
// fare and a card read. Each is checked against a plain reference or a property.
#include "bcp/Transaction.h"
#include "common/Money.h"
#include "common/Numbers.h"

#include <QRegularExpression>

#include <fuzzer/FuzzedDataProvider.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

// `a` and `b` name the values concerned, for the report.
void check(bool ok, const char* what, double a = 0, double b = 0)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_numbers: %s (%.17g, %.17g)\n", what, a, b);
        std::abort();
    }
}

bool near(double a, double b)
{
    if (a == b)
        return true;
    const double scale = std::max({std::fabs(a), std::fabs(b), 1e-300});
    return std::fabs(a - b) <= scale * 1e-15 || (std::fabs(a) < 1e-300 && std::fabs(b) < 1e-300);
}

bool digit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Length of the longest number at the start of `s` (ASCII only): sign, digits with an
// optional point (or a point and digits), and an exponent when one follows whole.
qsizetype numberPrefix(const QString& s, bool exponentD)
{
    qsizetype i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    const qsizetype start = i;
    while (i < s.size() && digit(s[i]))
        ++i;
    const bool intDigits = i > start;
    if (i < s.size() && s[i] == u'.') {
        const qsizetype point = i++;
        while (i < s.size() && digit(s[i]))
            ++i;
        if (!intDigits && i == point + 1)
            return 0;
    } else if (!intDigits) {
        return 0;
    }
    if (i < s.size()) {
        const QChar e = s[i];
        if (e == u'e' || e == u'E' || (exponentD && (e == u'd' || e == u'D'))) {
            qsizetype j = i + 1;
            if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
                ++j;
            const qsizetype expStart = j;
            while (j < s.size() && digit(s[j]))
                ++j;
            if (j > expStart)
                i = j;
        }
    }
    return i;
}

// The value of an ASCII number text; too large gives an infinity, too small zero and sets
// `tiny`.
double value(QString text, bool* tiny = nullptr)
{
    if (tiny)
        *tiny = false;
    text.replace(u'd', u'e').replace(u'D', u'e').replace(u'E', u'e');
    const std::string s = text.toStdString();
    double v = 0;
    const char* b = s.data();
    if (*b == '+')
        ++b;
    const auto [end, ec] = std::from_chars(b, s.data() + s.size(), v);
    check(end == s.data() + s.size() || ec != std::errc(), "reference parse stops early");
    if (ec == std::errc::result_out_of_range) {
        // Decide by the exponent of the first digit: huge or tiny.
        const qsizetype e = text.indexOf(u'e');
        const QString mant = e < 0 ? text : text.left(e);
        qint64 exp10 = 0;
        if (e >= 0) {
            QString exp = text.mid(e + 1);
            const bool negExp = exp.startsWith(u'-');
            exp.remove(QRegularExpression(QStringLiteral("^[+-]?0*")));
            exp10 = exp.size() > 9 ? 1'000'000'000 : exp.toLongLong();
            if (negExp)
                exp10 = -exp10;
        }
        qsizetype firstDigit = -1, point = mant.indexOf(u'.');
        for (qsizetype i = 0; i < mant.size() && firstDigit < 0; ++i)
            if (digit(mant[i]) && mant[i] != u'0')
                firstDigit = i;
        if (point < 0)
            point = mant.size();
        const qint64 magnitude =
            exp10 + (firstDigit < point ? point - firstDigit - 1 : point - firstDigit);
        const bool neg = text.startsWith(u'-');
        if (magnitude > 0)
            return neg ? -std::numeric_limits<double>::infinity()
                       : std::numeric_limits<double>::infinity();
        if (tiny)
            *tiny = true;
        return 0.0;
    }
    return v;
}

void leadingNumberRule(const QString& text)
{
    const double got = Numbers::leadingNumber(text);
    check(std::isfinite(got), "leadingNumber gives a value that is not finite");
    QString compact;
    for (QChar c : text)
        if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
            compact += c;
    const qsizetype len = numberPrefix(compact, true);
    double want = len == 0 ? 0.0 : value(compact.left(len));
    if (std::isinf(want))
        want = want > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
    check(near(got, want), "leadingNumber differs from the leading-number rule", got, want);
}

bool asciiSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

QString trimAscii(const QString& s)
{
    qsizetype a = 0, b = s.size();
    while (a < b && asciiSpace(s[a]))
        ++a;
    while (b > a && asciiSpace(s[b - 1]))
        --b;
    return s.mid(a, b - a);
}

void fareRule(const QString& text)
{
    const auto got = Money::parse(text);
    const QString t = trimAscii(text);
    const bool whole = !t.isEmpty() && numberPrefix(t, false) == t.size();
    const double v = whole ? value(t) : 0.0;
    const double limit = double(Money::MaxCents) / 100.0;
    // Right at the limit the double reference cannot tell; elsewhere it decides.
    const bool atLimit = std::fabs(std::fabs(v) - limit) <= limit * 1e-9;
    if (!atLimit)
        check(got.has_value() == (whole && std::fabs(v) < limit),
              "Money::parse accepts another set", v);
    if (got && std::fabs(v) < 1e12)
        check(std::fabs(double(got->inCents()) - v * 100.0) <= 0.5 + std::fabs(v) * 1e-12,
              "Money::parse is more than half a cent off", double(got->inCents()), v);

    const auto n = Numbers::wholeNumber(text);
    static const QRegularExpression wholeRe(QStringLiteral("^[+-]?[0-9]{1,18}$"));
    check(n.has_value() == wholeRe.match(t).hasMatch(), "wholeNumber accepts another set");
    if (n)
        check(QString::number(*n) == QString::number(t.toLongLong()), "wholeNumber reads wrongly");
}

void moneyRule(double x)
{
    const QString m = Money::fromDouble(x).text();
    static const QRegularExpression re(QStringLiteral("^-?[0-9]+\\.[0-9]{2}$"));
    check(re.match(m).hasMatch(), "money text does not have the 0.00 form");
    check(m != QStringLiteral("-0.00"), "money writes a negative zero");
    if (!std::isfinite(x))
        return;
    if (m.startsWith(u'-'))
        check(x < 0, "money gives a minus sign to a positive value");
    if (std::fabs(x) < 1e12) {
        const double back = m.toDouble();
        check(std::fabs(back - x) <= 0.005 + std::fabs(x) * 1e-14,
              "money is more than half a cent off");
    }
}

void centsRule(qint64 cents)
{
    // An amount is written exactly, and read back as the same cents.
    const qint64 a = cents < 0 ? -cents : cents;
    QString want = QString::number(a / 100) + u'.' +
                   QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
    if (cents < 0)
        want.prepend(u'-');
    const Money m = Money::cents(cents);
    check(m.text() == want, "an amount is written wrongly", double(cents));
    check(Money::parse(want) == m, "an amount does not read back", double(cents));
    const QString s = m.shortText();
    check(Money::parse(s) == m, "the short text does not read back", double(cents));
    check(!s.endsWith(u'.') && !(s.contains(u'.') && s.endsWith(u'0')),
          "the short text keeps a zero it need not", double(cents));
}

void int16Rule(double x)
{
    const auto r = Numbers::roundToInt16(x);
    if (!std::isfinite(x)) {
        check(!r, "a value that is not finite rounds to a number");
        return;
    }
    const double n = std::nearbyint(x);
    check(r.has_value() == (n >= -32768 && n <= 32767), "roundToInt16 range");
    if (!r)
        return;
    const double d = std::fabs(double(*r) - x);
    check(d <= 0.5, "roundToInt16 rounds more than a half");
    if (d == 0.5)
        check(*r % 2 == 0, "roundToInt16 takes a half to an odd neighbour");
}

void halfFareRule(qint64 cents)
{
    const qint64 h = Money::cents(cents).halfFare().inCents();
    // The half to the cent, then perhaps up to the next ten cents.
    check(h % 10 == 0, "half fare keeps two decimals", double(cents), double(h));
    check(2 * h >= cents - 1 && 2 * h <= cents + 20, "half fare too far from half", double(cents),
          double(h));
}

void readRule(FuzzedDataProvider& in)
{
    Transaction::Card card{};
    card.purse = Money::cents(in.ConsumeIntegralInRange<int>(-3500, 99990));
    card.type = CardType(in.ConsumeIntegralInRange<qint16>(0, 4));
    card.language = cardLanguage(in.ConsumeIntegral<qint16>());
    card.locked = in.ConsumeBool();
    const auto fare = Money::parse(QString::fromStdString(in.ConsumeRandomLengthString(24)));
    const Money f = fare.value_or(Money());
    const Money half = f.halfFare();
    const Transaction::Result r = Transaction::read(card, f, half);
    const Money charged = Transaction::chargedFare(card.type, f, half);
    const bool pays = card.purse > Money() && !(card.purse - charged < Transaction::Floor) &&
                      !card.locked && card.type != CardType::Startup;
    check((r.outcome == Transaction::Outcome::Paid) == pays, "read outcome");
    check(r.newPurse >= Transaction::Floor || !pays, "a payment leaves the card below the floor");
    check(pays ? r.newPurse == card.purse - charged : r.newPurse == card.purse, "purse change");
    check(r.newPurse <= Money() || r.lamps == LampPattern::GreenOnly || !pays,
          "a payment that leaves value lights more than green");
    check(!r.screen.console.isEmpty(), "no console line");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const double x = in.ConsumeFloatingPoint<double>();
    const qint64 cents = in.ConsumeIntegralInRange<qint64>(-99'999'999'999, 99'999'999'999);
    moneyRule(x);
    moneyRule(double(cents) / 100.0);
    centsRule(cents);
    int16Rule(x);
    int16Rule(double(cents) / 8.0);
    halfFareRule(cents);
    readRule(in);
    const QString text = QString::fromUtf8(in.ConsumeRemainingBytesAsString());
    leadingNumberRule(text);
    fareRule(text);
    return 0;
}
