#pragma once

#include "journal/JournalEvent.h"
#include "journal/TripReport.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

class QSqlDatabase;
class QSqlError;

// The equipment's events in an SQLite file, one transaction each, and the trip report read
// back from it. Events come in through record() once the step that made them is over;
// those that come before the file is open are kept and written when it opens. A file that
// cannot be used is warned about once and left as it is, and the program runs on without
// a journal.
class Journal : public QObject {
    Q_OBJECT
public:
    // The schema this program writes; open() brings every older file up to it.
    static constexpr int SchemaVersion = 1;

    explicit Journal(QObject* parent = nullptr);
    ~Journal() override;

    // Opens (or creates) the journal at `path` and writes the events kept so far. false,
    // with one warning naming the path and the reason, when it cannot be used.
    bool open(const QString& path);
    bool isOpen() const { return m_open; }
    QString path() const { return m_path; }
    // Why it is not open: the reason it was refused, or empty while it has not been tried.
    QString failure() const { return m_failure; }

    // One event, written at once when the journal is open.
    void record(const journal::Event& event);

    // The trips that started from `from` to `to` (both whole days), their days and the
    // total; empty when the journal is not open.
    journal::Report report(QDate from, QDate to) const;
    // The days the first and the last trip started on; nothing when there is no trip.
    std::optional<std::pair<QDate, QDate>> tripDays() const;

private:
    enum class Failure { Locked, Corrupt, Other };
    bool refuse(const QString& reason);
    // Each gives the reason the file cannot be used, or nothing.
    QString tryOpen();
    QString prepare(int version);
    QString migrate(int from);
    static Failure classify(const QSqlError& error);
    QString sqlReason(const QSqlError& error) const;
    QSqlDatabase db() const;
    void close();

    bool write(const journal::Event& event);
    bool commit(const journal::Event& event, bool newTrip, QString* failure);
    bool startTrip(const journal::Event& event);

    QString m_connection;
    QString m_path;
    bool m_open = false;
    bool m_gaveUp = false; // warned: nothing more is kept or written this run
    QString m_failure;
    QList<journal::Event> m_pending;
    struct Statements;
    std::unique_ptr<Statements> m_sql;

    // Where the bus is, as the events written so far say, for the events that follow.
    struct Context {
        QString route;
        QString destination;
        int section = 0;
        qint64 trip = 0; // 0: none yet this run
        bool tripHasReads = false;
    } m_context;
};
