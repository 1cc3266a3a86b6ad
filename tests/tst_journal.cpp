// The event journal on the model rig: what it holds against what the equipment did, and
// the files it must leave alone.
#include "bcp/CardProcessor.h"
#include "common/Clock.h"
#include "ddu/Console.h"
#include "equipment/Equipment.h"
#include "journal/Journal.h"
#include "journal/JournalNames.h"
#include "platform/AppPaths.h"
#include "support/FakeDesktop.h"
#include "support/ModelRig.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <random>

namespace {

// The journal as the sqlite3 command would see it, from a connection of its own.
struct Peek {
    explicit Peek(const QString& path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
    }
    ~Peek() { QSqlDatabase::removeDatabase(name); }
    QVariant value(const QString& sql) const
    {
        QSqlQuery q(QSqlDatabase::database(name));
        return q.exec(sql) && q.next() ? q.value(0) : QVariant();
    }
    bool exec(const QString& sql) const
    {
        return QSqlQuery(QSqlDatabase::database(name)).exec(sql);
    }
    const QString name = QStringLiteral("peek");
};

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestJournal : public QObject {
    Q_OBJECT
private slots:
    void seededDayReconciles();
    void readsHoldTheTruth_data();
    void readsHoldTheTruth();
    void olderFilesMigrate_data();
    void olderFilesMigrate();
    void unusableFileWarnsOnce_data();
    void unusableFileWarnsOnce();
};

// A thousand reads over every card type, refusal and top-up: the report's takings, the
// journal's charged amounts and the card's drop less its top-ups agree to the cent.
void TestJournal::seededDayReconciles()
{
    ModelRig rig;
    rig.start();
    rig.logIn(); // these events wait in memory until the journal opens
    QVERIFY(rig.equipment().openJournal());
    const QString path = AppPaths::journalFile();
    CardProcessor& p = rig.processor();
    const Money startValue = p.purse();
    Money topUps;
    std::array<Money, 5> charged{};
    std::mt19937 random(24);
    for (int i = 0; i < 1000; ++i) {
        const int pick = int(random() % 100);
        const CardType type = CardType(random() % 5);
        p.setCardType(type);
        const Money before = p.purse();
        if (pick < 6 && p.topUp())
            topUps = topUps + (p.purse() - before);
        const Money ready = p.purse();
        if (pick < 10) { // misplaced
            rig.present(900, 1700);
        } else if (pick < 12) {
            p.overheat();
            rig.present();
            rig.withdraw();
            rig.press(QStringLiteral("開/關"));
            rig.logIn();
            continue;
        } else {
            rig.present();
        }
        ModelRig::advance(1000);
        rig.withdraw();
        if (pick >= 90) { // again at once: already paid when it was
            rig.present();
            ModelRig::advance(1000);
            rig.withdraw();
        }
        charged[size_t(type)] = charged[size_t(type)] + (ready - p.purse());
        if (pick % 7 == 0)
            rig.press(pick % 2 ? QStringLiteral("↓") : QStringLiteral("↑"));
        if (pick == 50)
            rig.press(QStringLiteral("終點 輸入"));
        if (pick == 51)
            rig.press(QStringLiteral("起點 輸入"));
        ModelRig::advance(16000);
    }
    ModelRig::settle();

    const Peek db(path);
    const journal::Report report =
        rig.equipment().journal().report(ModelRig::startTime().date(), Clock::now().date());
    const qint64 journalled =
        db.value(QStringLiteral("SELECT SUM(charged_cents) FROM events WHERE kind = 'read'"))
            .toLongLong();
    const qint64 drop = (startValue - p.purse() + topUps).inCents();
    QVERIFY(drop > 0);
    QCOMPARE(report.total.total().inCents(), journalled);
    QCOMPARE(journalled, drop);
    // The day played every outcome and charged every card type but the start-up card.
    QCOMPARE(db.value(QStringLiteral("SELECT COUNT(DISTINCT outcome) FROM events")).toInt(), 6);
    for (size_t type = 0; type < charged.size(); ++type) {
        QCOMPARE(report.total.takings[type], charged[type]);
        QCOMPARE(report.total.passengers[type] > 0, type != size_t(CardType::Startup));
    }
    QVERIFY(report.trips.size() > 3);
    // The window's date filter: the day played, and nothing on the day after it.
    const QDate day = ModelRig::startTime().date();
    QCOMPARE(rig.equipment().journal().tripDays(), std::optional(std::pair(day, day)));
    QVERIFY(rig.equipment().journal().report(day.addDays(1), day.addDays(1)).trips.isEmpty());
}

// log.txt names the full fare for every payment; the journal holds what the card paid.
void TestJournal::readsHoldTheTruth_data()
{
    QTest::addColumn<CardType>("type");
    QTest::addColumn<QString>("act");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<int>("charged");
    QTest::newRow("adult") << CardType::Adult << "read"
                           << "paid" << 540;
    QTest::newRow("student") << CardType::Student << "read"
                             << "paid" << 540;
    QTest::newRow("child pays half") << CardType::Child << "read"
                                     << "paid" << 270;
    QTest::newRow("elderly pays half") << CardType::Elderly << "read"
                                       << "paid" << 270;
    QTest::newRow("again within the lock") << CardType::Child << "twice"
                                           << "already_paid" << 0;
    QTest::newRow("start-up card in service") << CardType::Startup << "read"
                                              << "refused_card" << 0;
    QTest::newRow("outside the corner") << CardType::Adult << "misplaced"
                                        << "misread" << 0;
    QTest::newRow("empty card") << CardType::Adult << "empty"
                                << "not_enough_value" << 0;
    QTest::newRow("overheated") << CardType::Elderly << "overheated"
                                << "overheated" << 0;
}

void TestJournal::readsHoldTheTruth()
{
    QFETCH(CardType, type);
    QFETCH(QString, act);
    QFETCH(QString, outcome);
    QFETCH(int, charged);
    ModelRig rig;
    rig.start();
    rig.logIn();
    QVERIFY(rig.equipment().openJournal());
    CardProcessor& p = rig.processor();
    p.setCardType(type);
    if (act == QLatin1String("empty"))
        p.setPurse(Money());
    if (act == QLatin1String("overheated"))
        p.overheat();
    for (int i = act == QLatin1String("twice") ? 2 : 1; i > 0; --i) {
        if (act == QLatin1String("misplaced"))
            rig.present(900, 1700);
        else
            rig.present();
        ModelRig::advance(1000);
        rig.withdraw();
    }
    ModelRig::settle();

    const Peek db(AppPaths::journalFile());
    QSqlQuery q(QSqlDatabase::database(db.name));
    QVERIFY(q.exec(QStringLiteral(
        "SELECT outcome, charged_cents, fare_cents, before_cents - after_cents, card_type,"
        " route, destination, section FROM events WHERE kind = 'read' ORDER BY id DESC")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), outcome);
    QCOMPARE(q.value(1).toInt(), charged);
    QCOMPARE(q.value(2).toInt(), 540);
    QCOMPARE(q.value(3).toInt(), charged);
    QCOMPARE(q.value(4).toString(), QString::fromLatin1(journal::names::CardTypes[size_t(type)]));
    QCOMPARE(q.value(5).toString() + q.value(6).toString() + q.value(7).toString(),
             QStringLiteral("12北門1"));
}

void TestJournal::olderFilesMigrate_data()
{
    QTest::addColumn<QString>("made");
    QTest::newRow("no file") << "";
    QTest::newRow("empty file") << "touch";
    // Version 0 by hand: a database that has had a table, and no version set.
    QTest::newRow("version 0") << "CREATE TABLE scratch (x); DROP TABLE scratch";
}

void TestJournal::olderFilesMigrate()
{
    QFETCH(QString, made);
    ModelRig rig;
    const QString path = rig.file(QStringLiteral("journal.sqlite"));
    if (made == QLatin1String("touch")) {
        rig.writeFile(QStringLiteral("journal.sqlite"), {});
    } else if (!made.isEmpty()) {
        const Peek db(path);
        for (const QString& sql : made.split(QStringLiteral("; ")))
            QVERIFY(db.exec(sql));
    }
    rig.start();
    rig.logIn();
    QVERIFY(rig.equipment().openJournal(path));
    rig.read();
    ModelRig::settle();
    QVERIFY(rig.desktop().calls.isEmpty());
    const Peek db(path);
    QCOMPARE(db.value(QStringLiteral("PRAGMA user_version")).toInt(), Journal::SchemaVersion);
    QCOMPARE(db.value(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
    QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*) FROM events WHERE kind = 'read'")).toInt(),
             1);
    QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*) FROM events WHERE kind = 'log_in'")).toInt(),
             1);
}

void TestJournal::unusableFileWarnsOnce_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("corrupt") << "corrupt"
                             << "檔案已損壞";
    QTest::newRow("newer") << "newer"
                           << "格式 99";
    QTest::newRow("locked") << "locked"
                            << "另一個程式正在使用";
    QTest::newRow("link") << "link"
                          << "符號連結";
    QTest::newRow("folder") << "folder"
                            << "不是一般檔案";
}

void TestJournal::unusableFileWarnsOnce()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    ModelRig rig;
    const QString path = rig.file(QStringLiteral("journal.sqlite"));
    const QString real = rig.file(QStringLiteral("elsewhere.sqlite"));
    std::unique_ptr<Peek> holder;
    if (kind == QLatin1String("corrupt")) {
        rig.writeFile(QStringLiteral("journal.sqlite"),
                      QByteArray("no database here\n").repeated(300));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else {
        const QString made = kind == QLatin1String("link") ? real : path;
        holder = std::make_unique<Peek>(made);
        QVERIFY(holder->exec(QStringLiteral("PRAGMA user_version = %1")
                                 .arg(kind == QLatin1String("newer") ? 99 : 0)));
        if (kind == QLatin1String("locked"))
            QVERIFY(holder->exec(QStringLiteral("BEGIN IMMEDIATE")));
        if (kind == QLatin1String("link"))
            QVERIFY(QFile::link(real, path));
    }
    const QByteArray before = bytesOf(path);

    rig.start();
    rig.logIn();
    const Money value = rig.processor().purse();
    QVERIFY(!rig.equipment().openJournal(path));
    rig.read();
    rig.withdraw();
    rig.press(QStringLiteral("輸出 輸入"));
    ModelRig::advance(100);
    ModelRig::settle();

    QCOMPARE(rig.desktop().calls.size(), 1);
    QCOMPARE(rig.desktop().calls[0].kind, QStringLiteral("warn"));
    QVERIFY2(rig.desktop().calls[0].text.contains(path), qPrintable(rig.desktop().calls[0].text));
    QVERIFY2(rig.desktop().calls[0].text.contains(reason), qPrintable(rig.desktop().calls[0].text));
    QCOMPARE(bytesOf(path), before);
    // The equipment, log.txt and the card lose nothing.
    QCOMPARE(rig.processor().purse(), value - Money::cents(540));
    QVERIFY(bytesOf(AppPaths::logFile()).contains("Paid"));
    QCOMPARE(ModelRig::stored(QStringLiteral("PurseValue")),
             (value - Money::cents(540)).shortText());
}

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
