// The trip report, aggregated by SQLite over the covering index.
#include "journal/Journal.h"

#include "journal/JournalNames.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

namespace {

QDateTime fromStamp(const QString& text)
{
    return QDateTime::fromString(text, Qt::ISODateWithMs);
}

QString dayStamp(QDate day)
{
    return day.toString(Qt::ISODate);
}

} // namespace

journal::Report Journal::report(QDate from, QDate to) const
{
    journal::Report r;
    if (!m_open || !from.isValid() || !to.isValid() || from > to)
        return r;
    QSqlQuery q(db());
    q.setForwardOnly(true);
    q.prepare(
        QStringLiteral("SELECT t.id, t.started, t.route, t.destination, e.card_type, e.outcome,"
                       " COUNT(*), SUM(e.charged_cents), MAX(e.at)"
                       " FROM trips t JOIN events e ON e.trip = t.id AND e.kind = 'read'"
                       " WHERE t.started >= ? AND t.started < ?"
                       " GROUP BY t.id, e.card_type, e.outcome"
                       " ORDER BY t.started, t.id"));
    q.addBindValue(dayStamp(from));
    q.addBindValue(dayStamp(to.addDays(1)));
    if (!q.exec())
        return r;
    while (q.next()) {
        const qint64 trip = q.value(0).toLongLong();
        if (r.trips.isEmpty() || r.trips.last().trip != trip) {
            journal::TripRow row;
            row.trip = trip;
            row.start = fromStamp(q.value(1).toString());
            row.route = q.value(2).toString();
            row.destination = q.value(3).toString();
            r.trips.append(row);
        }
        journal::TripRow& row = r.trips.last();
        const int type = journal::names::indexOf(journal::names::CardTypes, q.value(4).toString());
        const int outcome =
            journal::names::indexOf(journal::names::Outcomes, q.value(5).toString());
        const int count = q.value(6).toInt();
        const QDateTime last = fromStamp(q.value(8).toString());
        if (!row.end.isValid() || last > row.end)
            row.end = last;
        if (outcome == int(journal::ReadOutcome::Paid)) {
            if (type >= 0 && type < journal::CardTypeCount) {
                row.tally.passengers[size_t(type)] += count;
                row.tally.takings[size_t(type)] =
                    row.tally.takings[size_t(type)] + Money::cents(q.value(7).toLongLong());
            }
        } else if (outcome > 0) {
            row.tally.refusals[size_t(outcome - 1)] += count;
        }
    }

    auto add = [](journal::Tally& sum, const journal::Tally& t) {
        for (size_t i = 0; i < sum.passengers.size(); ++i) {
            sum.passengers[i] += t.passengers[i];
            sum.takings[i] = sum.takings[i] + t.takings[i];
        }
        for (size_t i = 0; i < sum.refusals.size(); ++i)
            sum.refusals[i] += t.refusals[i];
    };
    for (const journal::TripRow& row : r.trips) {
        const QDate day = row.start.date();
        if (r.days.isEmpty() || r.days.last().day != day)
            r.days.append({day, {}});
        add(r.days.last().tally, row.tally);
        add(r.total, row.tally);
    }
    return r;
}

std::optional<std::pair<QDate, QDate>> Journal::tripDays() const
{
    if (!m_open)
        return std::nullopt;
    QSqlQuery q(db());
    if (!q.exec(QStringLiteral("SELECT MIN(started), MAX(started) FROM trips")) || !q.next() ||
        q.value(0).isNull())
        return std::nullopt;
    return std::pair(fromStamp(q.value(0).toString()).date(),
                     fromStamp(q.value(1).toString()).date());
}
