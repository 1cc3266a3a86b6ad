#include "support/LogFormat.h"

#include <QRegularExpression>

namespace LogFormat {

namespace {

bool isDate(const QString& line)
{
    static const QRegularExpression re(
        QStringLiteral("^(0[1-9]|1[0-2])-(0[1-9]|[12][0-9]|3[01])-[0-9]{4}$"));
    return re.match(line).hasMatch();
}

bool isTime(QStringView t)
{
    static const QRegularExpression re(
        QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$"));
    return re.match(t).hasMatch();
}

} // namespace

QStringList lines(const QString& text)
{
    QStringList out = text.split(QStringLiteral("\r\n"));
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

QString lineFault(const QString& line, const QStringList* routes, const QStringList* fares)
{
    if (isDate(line))
        return {};
    if (line.size() < 9 || !isTime(QStringView(line).first(8)))
        return QStringLiteral("neither a date nor a time: \"%1\"").arg(line);
    const QString event = line.mid(8);
    static const QStringList exact = {QStringLiteral(" Start Logging"),
                                      QStringLiteral(" Start Trip"),
                                      QStringLiteral(" Finished Trip"),
                                      QStringLiteral(" Direction Changed"),
                                      QStringLiteral(" Not enough value"),
                                      QStringLiteral(" Card Processed"),
                                      QStringLiteral(" -----"),
                                      QStringLiteral(" Log Reset")};
    if (exact.contains(event))
        return {};
    static const QRegularExpression paid(
        QStringLiteral("^ Paid: Adult Fare \\$-?[0-9]+\\.[0-9]{2}$"));
    if (paid.match(event).hasMatch())
        return {};
    const QString route = QStringLiteral(" Route Changed ");
    const QString fare = QStringLiteral(" Fare Changed ");
    if (event.startsWith(route) && !event.contains(u'\r') &&
        (!routes || routes->contains(event.mid(route.size()))))
        return {};
    if (event.startsWith(fare) && !event.contains(u'\r') &&
        (!fares || fares->contains(event.mid(fare.size()))))
        return {};
    return QStringLiteral("unknown event: \"%1\"").arg(line);
}

QString fileFault(const QString& text)
{
    if (text.isEmpty())
        return {};
    if (!text.endsWith(QStringLiteral("\r\n\r\n")))
        return QStringLiteral("the file does not end with a closed block");
    const QStringList all = lines(text);
    qsizetype i = 0;
    while (i < all.size()) {
        const qsizetype start = i;
        if (!isDate(all[i]))
            return QStringLiteral("line %1: a block starts without a date: \"%2\"")
                .arg(i + 1)
                .arg(all[i]);
        ++i;
        if (i >= all.size() || !(all[i].endsWith(QStringLiteral(" Start Logging")) ||
                                 all[i].endsWith(QStringLiteral(" Log Reset"))))
            return QStringLiteral("line %1: a block without its opening line").arg(i + 1);
        for (; i < all.size() && !all[i].isEmpty(); ++i) {
            if (i > start && isDate(all[i]))
                return QStringLiteral("line %1: a date inside a block").arg(i + 1);
            if (i > start) {
                const QString why = lineFault(all[i]);
                if (!why.isEmpty())
                    return QStringLiteral("line %1: %2").arg(i + 1).arg(why);
            }
        }
        if (!all[i - 1].endsWith(QStringLiteral(" -----")))
            return QStringLiteral("line %1: a block that is not closed by -----").arg(i);
        for (qsizetype j = start + 1; j < i - 1; ++j)
            if (all[j].endsWith(QStringLiteral(" -----")))
                return QStringLiteral("line %1: ----- inside a block").arg(j + 1);
        ++i; // the empty line
    }
    return {};
}

} // namespace LogFormat
