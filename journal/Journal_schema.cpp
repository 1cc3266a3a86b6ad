// The journal's schema and the steps that bring an older file up to it.
#include "journal/Journal.h"

#include "journal/JournalNames.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <array>

namespace {

using namespace journal::names;

// Each trip's reads summed as they come, in the trip's own row: passengers and cents per
// card type, refusals per reason. The report over a year of reads then reads one row per
// trip. SQLite keeps them itself, in the transaction of the read. The names are those of
// version 1 (see JournalNames.h).
QString tallyColumns()
{
    QString columns;
    for (const char* type : CardTypes)
        columns += QStringLiteral(", passengers_%1 INTEGER NOT NULL DEFAULT 0,"
                                  " cents_%1 INTEGER NOT NULL DEFAULT 0")
                       .arg(QLatin1String(type));
    for (size_t i = 1; i < Outcomes.size(); ++i)
        columns +=
            QStringLiteral(", %1 INTEGER NOT NULL DEFAULT 0").arg(QLatin1String(Outcomes[i]));
    return columns;
}

QString tallyTrigger()
{
    QString sets = QStringLiteral("last_read = MAX(COALESCE(last_read, ''), NEW.at)");
    for (const char* type : CardTypes)
        sets += QStringLiteral(", passengers_%1 = passengers_%1 + (NEW.outcome = 'paid' AND"
                               " NEW.card_type = '%1'), cents_%1 = cents_%1 + CASE WHEN"
                               " NEW.outcome = 'paid' AND NEW.card_type = '%1' THEN"
                               " COALESCE(NEW.charged_cents, 0) ELSE 0 END")
                    .arg(QLatin1String(type));
    for (size_t i = 1; i < Outcomes.size(); ++i)
        sets += QStringLiteral(", %1 = %1 + (NEW.outcome = '%1')").arg(QLatin1String(Outcomes[i]));
    return QStringLiteral("CREATE TRIGGER events_tally AFTER INSERT ON events"
                          " WHEN NEW.kind = 'read' AND NEW.trip IS NOT NULL BEGIN"
                          " UPDATE trips SET %1 WHERE id = NEW.trip; END")
        .arg(sets);
}

// Step n takes a file of version n - 1 to version n. Version 0 is a file without tables:
// a new one, or one created empty by hand. A step is never changed once released; a new
// version adds a step.
const std::array<QStringList, Journal::SchemaVersion + 1>& steps()
{
    static const std::array<QStringList, Journal::SchemaVersion + 1> all = {
        QStringList{},
        QStringList{
            QStringLiteral("CREATE TABLE trips ("
                           " id INTEGER PRIMARY KEY,"
                           " started TEXT NOT NULL," // local time, yyyy-MM-ddTHH:mm:ss.zzz
                           " route TEXT NOT NULL,"
                           " destination TEXT NOT NULL,"
                           " last_read TEXT") +
                tallyColumns() + QStringLiteral(")"),
            QStringLiteral("CREATE INDEX trips_started ON trips (started)"),
            QStringLiteral("CREATE TABLE events ("
                           " id INTEGER PRIMARY KEY,"
                           " at TEXT NOT NULL,"
                           " kind TEXT NOT NULL,"
                           " trip INTEGER REFERENCES trips (id),"
                           " route TEXT, destination TEXT, section INTEGER,"
                           " card_type TEXT, language TEXT,"
                           " fare_cents INTEGER, charged_cents INTEGER,"
                           " before_cents INTEGER, after_cents INTEGER,"
                           " outcome TEXT, lines INTEGER, written INTEGER, detail TEXT)"),
            QStringLiteral("CREATE INDEX events_trip ON events (trip)"),
            QStringLiteral("CREATE INDEX events_at ON events (at)"),
            tallyTrigger(),
        },
    };
    return all;
}

} // namespace

// All steps from `from` on and the new version in one transaction: a failure leaves the
// file as it was.
QString Journal::migrate(int from)
{
    QSqlDatabase database = db();
    QSqlQuery q(database);
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return sqlReason(q.lastError());
    for (int version = from + 1; version <= SchemaVersion; ++version)
        for (const QString& statement : steps()[size_t(version)])
            if (!q.exec(statement)) {
                const QSqlError error = q.lastError();
                q.exec(QStringLiteral("ROLLBACK"));
                return sqlReason(error);
            }
    if (!q.exec(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion)) ||
        !q.exec(QStringLiteral("COMMIT"))) {
        const QSqlError error = q.lastError();
        q.exec(QStringLiteral("ROLLBACK"));
        return sqlReason(error);
    }
    return {};
}
