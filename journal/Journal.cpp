#include "journal/Journal.h"

#include "common/SafeFile.h"
#include "journal/JournalNames.h"
#include "platform/Desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// A writer elsewhere is waited for this long before the journal counts as locked: long
// enough for a reader's checkpoint, short enough that nobody notices a pause.
constexpr int BusyTimeoutMs = 200;

QString stamp(const QDateTime& at)
{
    return at.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
}

// The value, or SQL's NULL of its type where the event has none.
template <class T> QVariant orNull(bool present, const T& value)
{
    return present ? QVariant::fromValue(value) : QVariant(QMetaType::fromType<T>());
}

QVariant optionalCents(bool present, Money m)
{
    return orNull(present, m.inCents());
}

// The first error among the statements, for a failure the connection did not name.
QSqlError firstError(QSqlError error, std::initializer_list<const QSqlQuery*> queries)
{
    for (const QSqlQuery* q : queries)
        if (!error.isValid() && q->lastError().isValid())
            error = q->lastError();
    return error;
}

// Which file the path names when nothing follows a link: device and inode, or nothing.
std::optional<std::pair<dev_t, ino_t>> identity(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return std::pair(st.st_dev, st.st_ino);
}

} // namespace

struct Journal::Statements {
    QSqlQuery insertEvent;
    QSqlQuery insertTrip;
    QSqlQuery updateTrip;
};

Journal::Journal(QObject* parent)
    : QObject(parent), m_connection(QStringLiteral("journal-%1").arg(quintptr(this), 0, 16))
{
    setObjectName(QStringLiteral("Journal"));
}

Journal::~Journal()
{
    close();
}

QSqlDatabase Journal::db() const
{
    return QSqlDatabase::database(m_connection, false);
}

void Journal::close()
{
    m_sql.reset();
    m_open = false;
    if (QSqlDatabase::contains(m_connection)) {
        db().close();
        QSqlDatabase::removeDatabase(m_connection);
    }
}

bool Journal::refuse(const QString& reason)
{
    close();
    m_pending.clear();
    if (!m_gaveUp) {
        m_failure = reason;
        Desktop::instance().warn(
            QCoreApplication::translate("Journal", "不能使用事件日誌 %1：%2\n"
                                                   "本次執行不寫入事件日誌，檔案保持原狀；"
                                                   "設備、記錄檔案和卡不受影響。")
                .arg(QDir::toNativeSeparators(m_path), reason));
    }
    m_gaveUp = true;
    return false;
}

Journal::Failure Journal::classify(const QSqlError& error)
{
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return Failure::Locked;
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return Failure::Corrupt;
    default:
        return Failure::Other;
    }
}

QString Journal::sqlReason(const QSqlError& error) const
{
    switch (classify(error)) {
    case Failure::Locked:
        return QCoreApplication::translate("Journal", "另一個程式正在使用這個檔案");
    case Failure::Corrupt:
        return QCoreApplication::translate("Journal", "檔案已損壞，或不是資料庫（%1）")
            .arg(error.databaseText());
    default:
        return error.databaseText().isEmpty() ? error.text() : error.databaseText();
    }
}

bool Journal::open(const QString& path)
{
    if (m_open || m_gaveUp)
        return m_open;
    m_path = path;
    // The reason comes back once every query on the file has gone, so that it can close.
    if (const QString why = tryOpen(); !why.isEmpty())
        return refuse(why);
    m_open = true;
    const QList<journal::Event> pending = std::exchange(m_pending, {});
    for (const journal::Event& e : pending)
        if (!write(e))
            break;
    return m_open;
}

QString Journal::tryOpen()
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    // The same rule as for every other file: a regular file, no link followed, for the
    // journal and for the two files SQLite keeps beside it.
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        const QFileInfo file(m_path + suffix);
        if (file.isSymLink())
            return SafeFile::linkRefused();
        if (file.exists() && !file.isFile())
            return SafeFile::notRegular();
    }
    {
        // Closed before SQLite opens the file: closing any descriptor of a file drops
        // every POSIX lock this process holds on it, SQLite's own among them, and
        // another reader would then take the WAL for abandoned and delete it.
        QString why;
        const SafeFile::Descriptor fd =
            SafeFile::openRegular(m_path, O_RDWR | O_CREAT, SafeFile::Links::Refuse, &why, 0600);
        if (!fd.valid())
            return why;
    }
    const auto before = identity(m_path);

    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return QCoreApplication::translate("Journal", "缺少 Qt 的 SQLite 驅動程式");
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    database.setDatabaseName(m_path);
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
    if (!database.open())
        return sqlReason(database.lastError());

    // Read first, change nothing: a newer or a damaged file is left exactly as it is.
    QSqlQuery q(database);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return sqlReason(q.lastError());
    const int version = q.value(0).toInt();
    q.finish();
    // SQLite opened the path by name: it must still be the file checked above.
    if (!before || identity(m_path) != before)
        return SafeFile::notRegular();
    if (version > SchemaVersion)
        return QCoreApplication::translate("Journal", "由較新版本的程式寫成（格式 %1，"
                                                      "本程式只認得格式 %2 或以前的）")
            .arg(version)
            .arg(SchemaVersion);
    return prepare(version);
}

// WAL with a full sync: a committed event survives the program being killed and the
// machine losing power, and a report being read never holds up a write.
QString Journal::prepare(int version)
{
    QSqlDatabase database = db();
    QSqlQuery q(database);
    // The lock is tried before anything changes: another program writing it is not
    // interrupted, and the file stays as that program leaves it.
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return sqlReason(q.lastError());
    q.exec(QStringLiteral("ROLLBACK"));
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.next())
        return sqlReason(q.lastError());
    if (q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return QCoreApplication::translate("Journal", "不能改用預寫式記錄（WAL）");
    q.finish();
    if (!q.exec(QStringLiteral("PRAGMA synchronous=FULL")) ||
        !q.exec(QStringLiteral("PRAGMA foreign_keys=ON")))
        return sqlReason(q.lastError());
    if (version < SchemaVersion)
        if (QString why = migrate(version); !why.isEmpty())
            return why;

    m_sql = std::make_unique<Statements>(
        Statements{QSqlQuery(database), QSqlQuery(database), QSqlQuery(database)});
    const bool ok =
        m_sql->insertEvent.prepare(QStringLiteral(
            "INSERT INTO events (at, kind, trip, route, destination, section, card_type, "
            "language, fare_cents, charged_cents, before_cents, after_cents, outcome, lines, "
            "written, detail) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")) &&
        m_sql->insertTrip.prepare(
            QStringLiteral("INSERT INTO trips (started, route, destination) VALUES (?, ?, ?)")) &&
        m_sql->updateTrip.prepare(QStringLiteral(
            "UPDATE trips SET started = ?, route = ?, destination = ? WHERE id = ?"));
    if (!ok)
        return sqlReason(
            firstError(QSqlError(), {&m_sql->insertEvent, &m_sql->insertTrip, &m_sql->updateTrip}));
    return {};
}

void Journal::record(const journal::Event& event)
{
    if (m_gaveUp)
        return;
    if (!m_open) {
        m_pending.append(event);
        return;
    }
    write(event);
}

// A new trip, or the one that has had no read yet taken over: a log-in followed at once
// by its start route is one trip, not two.
bool Journal::startTrip(const journal::Event& event)
{
    const QString started = stamp(event.at);
    if (m_context.trip != 0 && !m_context.tripHasReads) {
        QSqlQuery& q = m_sql->updateTrip;
        q.addBindValue(started);
        q.addBindValue(m_context.route);
        q.addBindValue(m_context.destination);
        q.addBindValue(m_context.trip);
        return q.exec();
    }
    QSqlQuery& q = m_sql->insertTrip;
    q.addBindValue(started);
    q.addBindValue(m_context.route);
    q.addBindValue(m_context.destination);
    if (!q.exec())
        return false;
    m_context.trip = q.lastInsertId().toLongLong();
    m_context.tripHasReads = false;
    return true;
}

bool Journal::write(const journal::Event& event)
{
    using journal::EventKind;
    journal::Event e = event;
    Context was = m_context;
    bool newTrip = false;
    switch (e.kind) {
    case EventKind::RouteLoaded:
        // A section further on the same route and direction is the same trip.
        newTrip = m_context.trip == 0 || e.route != m_context.route ||
                  e.destination != m_context.destination;
        m_context.route = e.route;
        m_context.destination = e.destination;
        m_context.section = e.section;
        break;
    case EventKind::LogIn:
    case EventKind::DirectionChanged:
    case EventKind::TripStarted:
        newTrip = true;
        break;
    default:
        break;
    }
    if (e.kind != EventKind::RouteLoaded) {
        e.route = m_context.route;
        e.destination = m_context.destination;
        e.section = m_context.section;
    }

    QString failure;
    if (!commit(e, newTrip, &failure)) {
        m_context = was;
        refuse(failure);
        return false;
    }
    return true;
}

// One event in one transaction, with the trip it starts.
bool Journal::commit(const journal::Event& e, bool newTrip, QString* failure)
{
    using journal::EventKind;
    QSqlDatabase database = db();
    bool ok = database.transaction();
    if (ok && newTrip)
        ok = startTrip(e);
    if (ok) {
        const bool read = e.kind == EventKind::Read;
        const bool money = read || e.kind == EventKind::TopUp;
        QSqlQuery& q = m_sql->insertEvent;
        q.addBindValue(stamp(e.at));
        q.addBindValue(journal::names::kind(e.kind));
        q.addBindValue(orNull(m_context.trip != 0, m_context.trip));
        q.addBindValue(e.route);
        q.addBindValue(e.destination);
        q.addBindValue(orNull(e.section != 0, e.section));
        q.addBindValue(
            orNull(bool(e.card), e.card ? journal::names::cardType(*e.card) : QString()));
        q.addBindValue(orNull(bool(e.language),
                              e.language ? journal::names::language(*e.language) : QString()));
        q.addBindValue(optionalCents(read || e.kind == EventKind::FareChanged, e.fare));
        q.addBindValue(optionalCents(read, e.charged));
        q.addBindValue(optionalCents(money || e.kind == EventKind::CardChanged, e.before));
        q.addBindValue(optionalCents(money || e.kind == EventKind::CardChanged, e.after));
        const bool output = e.kind == EventKind::Output;
        q.addBindValue(orNull(read, read ? journal::names::outcome(e.outcome) : QString()));
        q.addBindValue(orNull(output, e.lines));
        q.addBindValue(orNull(output, int(e.written)));
        q.addBindValue(orNull(!e.detail.isEmpty(), e.detail));
        ok = q.exec() && database.commit();
        if (ok && read)
            m_context.tripHasReads = true;
    }
    if (!ok) {
        const QSqlError error = firstError(
            database.lastError(), {&m_sql->insertEvent, &m_sql->insertTrip, &m_sql->updateTrip});
        database.rollback();
        *failure = sqlReason(error);
    }
    return ok;
}
