// The trip report, from the sums SQLite keeps in each trip's row as the reads come in.
#include "journal/Journal.h"

#include "journal/JournalNames.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

namespace {

// A refusal's column follows the outcome it counts: Refusal n is outcome n + 1.
static_assert(int(journal::Refusal::AlreadyPaid) + 1 == int(journal::ReadOutcome::AlreadyPaid));
static_assert(int(journal::Refusal::Overheated) + 1 == int(journal::ReadOutcome::Overheated));
static_assert(journal::RefusalCount + 1 == journal::names::Outcomes.size());

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
    // The trips' own sums, kept as the reads came: one row per trip that had a read.
    using namespace journal::names;
    QString columns;
    for (const char* type : CardTypes)
        columns += QStringLiteral(", passengers_%1, cents_%1").arg(QLatin1String(type));
    for (size_t i = 1; i < Outcomes.size(); ++i)
        columns += QStringLiteral(", ") + QLatin1String(Outcomes[i]);
    QSqlQuery q(db());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT id, started, route, destination, last_read") + columns +
              QStringLiteral(" FROM trips WHERE started >= ? AND started < ?"
                             " AND last_read IS NOT NULL ORDER BY started, id"));
    q.addBindValue(dayStamp(from));
    q.addBindValue(dayStamp(to.addDays(1)));
    if (!q.exec())
        return r;
    while (q.next()) {
        journal::TripRow row;
        row.trip = q.value(0).toLongLong();
        row.start = fromStamp(q.value(1).toString());
        row.route = q.value(2).toString();
        row.destination = q.value(3).toString();
        row.end = fromStamp(q.value(4).toString());
        int column = 5;
        for (size_t type = 0; type < CardTypes.size(); ++type) {
            row.tally.passengers[type] = q.value(column++).toInt();
            row.tally.takings[type] = Money::cents(q.value(column++).toLongLong());
        }
        for (int& refusals : row.tally.refusals)
            refusals = q.value(column++).toInt();
        r.trips.append(row);
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
