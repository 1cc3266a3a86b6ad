// The journal's two costs that a user could notice: one read's write, synced to disk as
// the program does it, and the trip report over a journal of a million reads.
// Prints "write <n> <median ms> <p99 ms>" and
// "report <reads> <trips> <ms to open> <ms for every day> <ms for the last day>".
// The scratch folder is the system's temporary folder (TMPDIR), on disk unless told.

#include "common/Clock.h"
#include "journal/Journal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

journal::Event readEvent(const QDateTime& at, int i)
{
    journal::Event e;
    e.kind = journal::EventKind::Read;
    e.at = at;
    e.card = CardType(i % 4);
    e.fare = Money::cents(540);
    e.charged = e.card == CardType::Child || e.card == CardType::Elderly ? Money::cents(270)
                                                                         : Money::cents(540);
    e.before = Money::cents(100000);
    e.after = e.before - e.charged;
    return e;
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

// A year of trips of fifty reads each, written straight in one transaction: building the
// fixture through the program would take hours of synced writes.
void fill(const QString& path, int reads)
{
    {
        Journal schema;
        schema.open(path);
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
    db.setDatabaseName(path);
    db.open();
    {
        QSqlQuery q(db);
        q.exec(QStringLiteral("BEGIN"));
        QSqlQuery trip(db), read(db);
        trip.prepare(
            QStringLiteral("INSERT INTO trips (started, route, destination) VALUES (?, ?, ?)"));
        read.prepare(QStringLiteral(
            "INSERT INTO events (at, kind, trip, route, destination, section, card_type,"
            " fare_cents, charged_cents, before_cents, after_cents, outcome)"
            " VALUES (?, 'read', ?, ?, ?, 1, ?, 540, ?, 100000, ?, ?)"));
        const QDateTime start(QDate(2026, 1, 1), QTime(6, 0));
        static const char* const types[] = {"adult", "child", "student", "elderly"};
        static const char* const outcomes[] = {
            "paid", "paid", "paid",         "paid",    "paid",
            "paid", "paid", "already_paid", "misread", "not_enough_value"};
        qint64 tripId = 0;
        for (int i = 0; i < reads; ++i) {
            const QDateTime at = start.addSecs(qint64(i) * 30);
            const QString stamp = at.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
            if (i % 50 == 0) {
                trip.addBindValue(stamp);
                trip.addBindValue(QString::number(i / 50 % 40));
                trip.addBindValue(QStringLiteral("北門"));
                trip.exec();
                tripId = trip.lastInsertId().toLongLong();
            }
            const bool half = i % 4 == 1 || i % 4 == 3;
            const char* outcome = outcomes[(i / 4) % 10];
            const int charged = qstrcmp(outcome, "paid") == 0 ? (half ? 270 : 540) : 0;
            read.addBindValue(stamp);
            read.addBindValue(tripId);
            read.addBindValue(QString::number(i / 50 % 40));
            read.addBindValue(QStringLiteral("北門"));
            read.addBindValue(QString::fromLatin1(types[i % 4]));
            read.addBindValue(charged);
            read.addBindValue(100000 - charged);
            read.addBindValue(QString::fromLatin1(outcome));
            read.exec();
        }
        q.exec(QStringLiteral("COMMIT"));
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int writes = argc > 1 ? atoi(argv[1]) : 1000;
    const int reads = argc > 2 ? atoi(argv[2]) : 1'000'000;
    QTemporaryDir dir;

    {
        Journal journal;
        if (!journal.open(dir.filePath(QStringLiteral("write.sqlite"))))
            return 1;
        std::vector<double> ms;
        QElapsedTimer t;
        for (int i = 0; i < writes; ++i) {
            const journal::Event e = readEvent(Clock::now(), i);
            t.start();
            journal.record(e);
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::printf("write %d %.3f %.3f\n", writes, percentile(ms, 0.5), percentile(ms, 0.99));
    }

    // A third argument keeps the large journal there, to look at with sqlite3.
    const QString path =
        argc > 3 ? QString::fromLocal8Bit(argv[3]) : dir.filePath(QStringLiteral("million.sqlite"));
    fill(path, reads);
    Journal journal;
    QElapsedTimer t;
    t.start();
    journal.open(path);
    const double openMs = double(t.nsecsElapsed()) / 1e6;
    const auto days = journal.tripDays();
    const journal::Report all = journal.report(days->first, days->second);
    const double allMs = double(t.nsecsElapsed()) / 1e6;
    t.start();
    const journal::Report day = journal.report(days->second, days->second);
    const double dayMs = double(t.nsecsElapsed()) / 1e6;
    std::printf("report %d %lld %.1f %.1f %.1f\n", reads, qlonglong(all.trips.size()), openMs,
                allMs - openMs, dayMs);
    return all.total.passengerCount() > 0 && !day.trips.isEmpty() ? 0 : 1;
}
