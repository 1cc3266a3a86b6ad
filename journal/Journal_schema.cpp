// The journal's schema and the steps that bring an older file up to it.
#include "journal/Journal.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <array>

namespace {

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
                           " destination TEXT NOT NULL)"),
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
            // The report's aggregation reads this index alone.
            QStringLiteral("CREATE INDEX events_trip ON events"
                           " (trip, kind, card_type, outcome, charged_cents, at)"),
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
