// Faults from outside the program: a log.txt or a program directory that cannot be
// written, a full disk, broken route files and a hand-edited settings store. Each ends in
// the documented behaviour, with a message where one is due, and loses no trip-log line
// and no card value.
#include "bcp/CardProcessor.h"
#include "common/Money.h"
#include "ddu/Console.h"
#include "platform/AppPaths.h"
#include "platform/Desktop.h"
#include "platform/Settings.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"
#include "support/LogFormat.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTest>

#include <cerrno>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

const QString kRoutes = QStringLiteral("12#北門#2.40\r\n12#北門#3.50\r\n12#南碼頭#2.40\r\n");

bool run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool writable(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::Append);
}

// Takes the right to write a file, or to create files in a directory, and gives it back at
// the end. The owner of a file keeps it unless the file is immutable, and root keeps it
// whatever the permission bits say; so root makes the path immutable.
class ReadOnly {
public:
    explicit ReadOnly(const QString& path) : m_path(path)
    {
        if (::geteuid() == 0) {
            m_immutable = run(QStringLiteral("chattr"), {QStringLiteral("+i"), path});
            m_done = m_immutable;
        } else {
            m_permissions = QFile::permissions(path);
            m_done = QFile::setPermissions(path, QFileInfo(path).isDir()
                                                     ? QFile::ReadOwner | QFile::ExeOwner
                                                     : QFile::ReadOwner);
        }
    }
    ~ReadOnly() { release(); }
    bool done() const { return m_done; }
    QString path() const { return m_path; }
    void release()
    {
        if (!m_done)
            return;
        m_done = false;
        if (m_immutable)
            run(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
        else
            QFile::setPermissions(m_path, m_permissions);
    }

private:
    QString m_path;
    bool m_done = false;
    bool m_immutable = false;
    QFile::Permissions m_permissions;
};

// A tiny file system of its own, mounted for one test.
class Tmpfs {
public:
    Tmpfs(const QString& dir, int kilobytes) : m_dir(dir)
    {
        QDir().mkpath(dir);
        m_mounted = ::geteuid() == 0 &&
                    run(QStringLiteral("mount"),
                        {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                         QStringLiteral("size=%1k").arg(kilobytes), QStringLiteral("tmpfs"), dir});
    }
    ~Tmpfs()
    {
        if (m_mounted)
            run(QStringLiteral("umount"), {m_dir});
    }
    bool mounted() const { return m_mounted; }

private:
    QString m_dir;
    bool m_mounted = false;
};

// Fills the file system of `path` until not one more byte fits.
void fill(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    const QByteArray chunk(4096, 'x');
    while (f.write(chunk) == chunk.size()) {
    }
    while (f.write("x", 1) == 1) {
    }
}

// The lines an output will write, as they stand in the in-memory log now.
QStringList pending(const Console* c)
{
    return LogFormat::lines(c->tripLog().text());
}

// Every line of `want` stands in `file`, in this order.
bool inOrder(const QString& file, const QStringList& want)
{
    qsizetype at = 0;
    for (const QString& line : want) {
        at = file.indexOf(line + QStringLiteral("\r\n"), at);
        if (at < 0) {
            qWarning("missing from log.txt: %s", qPrintable(line));
            return false;
        }
        at += line.size();
    }
    return true;
}

QString warning(const TestEnv& env)
{
    const QStringList w = env.desktop().texts(QStringLiteral("warn"));
    return w.isEmpty() ? QString() : w.last();
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT
private slots:
    void unwritableLogKeepsEveryLine_data();
    void unwritableLogKeepsEveryLine();
    void fullDiskKeepsEveryLine();
    void routeFiles_data();
    void routeFiles();
    void millionLineRouteFile();
    void storeWithGarbage_data();
    void storeWithGarbage();
    void storeThatCannotBeMended();

private:
    // Logs in, reads the card once and outputs: the lines of the block that was tried.
    QStringList dayThenOutput(frmMDI* w);
};

QStringList TestFaults::dayThenOutput(frmMDI* w)
{
    TestEnv::logIn(w);
    TestEnv::read(w);
    TestEnv::withdraw(w);
    TestEnv::advance(2000);
    Console* c = w->console();
    c->press(Key::Output);
    const QStringList block = pending(c);
    c->press(Key::Enter);
    return block;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestFaults::unwritableLogKeepsEveryLine_data()
{
    QTest::addColumn<int>("what"); // 0 log.txt, 1 program directory, 2 both directories
    QTest::newRow("log.txt read-only") << 0;
    QTest::newRow("installed copy, program directory read-only") << 1;
    QTest::newRow("installed copy, program and user data directories read-only") << 2;
}

void TestFaults::unwritableLogKeepsEveryLine()
{
    QFETCH(int, what);
    TestEnv env(kRoutes);
    QByteArray before;
    if (what == 0) {
        // An earlier run's block, which must stay as it is.
        before = "12-05-2026\r\n18:00:00 Start Logging\r\n18:30:00 -----\r\n\r\n";
        env.writeFile(QStringLiteral("log.txt"), before);
    }
    if (what >= 1)
        env.writeFile(AppPaths::InstalledMarker, "");
    auto w = env.start();
    Console* c = w->console();

    std::vector<std::unique_ptr<ReadOnly>> readOnly;
    if (what == 0)
        readOnly.push_back(std::make_unique<ReadOnly>(env.file(QStringLiteral("log.txt"))));
    if (what >= 1)
        readOnly.push_back(std::make_unique<ReadOnly>(env.dir()));
    if (what == 2) {
        QVERIFY(QDir().mkpath(AppPaths::userDataDir()));
        readOnly.push_back(std::make_unique<ReadOnly>(AppPaths::userDataDir()));
    }
    const QString failing = AppPaths::logFile();
    for (const auto& r : readOnly)
        if (!r->done() || (QFileInfo(r->path()).isDir() ? AppPaths::canCreateFilesIn(r->path())
                                                        : writable(r->path())))
            QSKIP("Cannot take away the right to write here: chattr needs root and a file "
                  "system with attributes (ext4, xfs, btrfs, tmpfs).");
    QStringList logged = dayThenOutput(w.get());
    // With the user data directory read-only the journal warns once of its own as well.
    const QString shown = QDir::toNativeSeparators(failing);
    auto logWarnings = [&] { return env.desktop().texts(QStringLiteral("warn")).filter(shown); };
    const int journalWarnings = what == 2 ? 1 : 0;

    if (what == 1) {
        // The program's own directory refuses files: the log goes to the user's data
        // directory, without a word, and routes.dat was still read from the program's.
        QCOMPARE(env.desktop().count(QStringLiteral("warn")), 0);
        QCOMPARE(failing, QDir(AppPaths::userDataDir()).filePath(QStringLiteral("log.txt")));
        const QString file = QString::fromUtf8(readAll(failing));
        QCOMPARE(LogFormat::fileFault(file), QString());
        QVERIFY(inOrder(file, logged));
        QVERIFY(!QFile::exists(env.file(QStringLiteral("log.txt"))));
        return;
    }
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), 1 + journalWarnings);
    QCOMPARE(logWarnings().size(), 1);
    QVERIFY2(!logWarnings().last().section(u'：', 1).section(u'\n', 0, 0).trimmed().isEmpty(),
             "the warning gives no reason");
    QCOMPARE(readAll(failing), before);
    QCOMPARE(int(c->mode()), int(Console::KeypadMode::Idle));

    // A second failed output keeps both blocks.
    c->switchPower();
    logged << dayThenOutput(w.get());
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), 2 + journalWarnings);

    for (const auto& r : readOnly)
        r->release();
    c->switchPower();
    logged << dayThenOutput(w.get());
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), 2 + journalWarnings);
    const QString file = QString::fromUtf8(readAll(AppPaths::logFile()));
    QVERIFY(file.startsWith(QString::fromUtf8(before)));
    QCOMPARE(LogFormat::fileFault(file), QString());
    QVERIFY(inOrder(file, logged));
    // One block per output tried, each closed once; the new log starts after the last.
    QCOMPARE(file.count(QStringLiteral(" -----\r\n\r\n")), before.isEmpty() ? 3 : 4);
    QCOMPARE(LogFormat::lines(c->tripLog().text()).size(), 2);
}

void TestFaults::fullDiskKeepsEveryLine()
{
    TestEnv env;
    const QString disk = env.dir() + QStringLiteral("/disk");
    Tmpfs tmpfs(disk, 64);
    if (!tmpfs.mounted())
        QSKIP("Cannot mount a small tmpfs for a full disk: it needs root and a system that "
              "allows mounting (in a container: CAP_SYS_ADMIN).");
    AppPaths::setProgramDir(disk);
    {
        QFile routes(disk + QStringLiteral("/routes.dat"));
        QVERIFY(routes.open(QIODevice::WriteOnly));
        routes.write(kRoutes.toUtf8());
    }
    // Enough on the card for every read of the day.
    TestEnv::store(Settings::PurseValue, QStringLiteral("999.9"));
    auto w = env.start();
    Console* c = w->console();
    QStringList logged = dayThenOutput(w.get());
    const QByteArray first = [&] {
        QFile f(disk + QStringLiteral("/log.txt"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    QVERIFY(!first.isEmpty());

    // The disk full to the last byte, then a block larger than a page: nothing of it may
    // be left half written.
    const QString filler = disk + QStringLiteral("/filler");
    fill(filler);
    c->switchPower();
    TestEnv::logIn(w.get());
    for (int i = 0; i < 200; ++i) {
        TestEnv::read(w.get());
        TestEnv::withdraw(w.get());
        TestEnv::advance(16000); // past the lock
    }
    c->press(Key::Output);
    logged << pending(c);
    c->press(Key::Enter);
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), 1);
    // The reason as Qt words it, in its Chinese translation.
    const QString noSpace = QCoreApplication::translate("QIODevice", "No space left on device");
    QVERIFY2(warning(env).contains(noSpace), qPrintable(warning(env)));
    QFile log(disk + QStringLiteral("/log.txt"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), first);
    log.close();

    QVERIFY(QFile::remove(filler));
    c->switchPower();
    logged << dayThenOutput(w.get());
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), 1);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QString file = QString::fromUtf8(log.readAll());
    log.close();
    QCOMPARE(LogFormat::fileFault(file), QString());
    QVERIFY(inOrder(file, logged));
    QCOMPARE(file.count(QStringLiteral(" Paid: Adult Fare $2.40")), 202);
    w.reset(); // nothing may hold a file on the disk while it is unmounted
}

void TestFaults::routeFiles_data()
{
    QTest::addColumn<QByteArray>("bytes"); // null: no file at all
    QTest::addColumn<QString>("warning");  // a text the start-up warning holds, or none
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QString>("fareShown");   // the card processor's fare line; empty: fatal
    QTest::addColumn<QString>("consoleFare"); // what the console shows after 車費

    // No route table, or a first line without fields: no fare yet, the processor keeps
    // its $0.00 and the console shows none.
    QTest::newRow("missing") << QByteArray() << "routes.dat" << 0 << "$0.00"
                             << "";
    QTest::newRow("empty") << QByteArray("") << "" << 0 << "$0.00"
                           << "";
    QTest::newRow("LF only") << QString(u"12#北門#2.40\n12#北門#3.50\n"_qs).toUtf8() << "" << 2
                             << "$2.40"
                             << "2.40";
    // Random bytes without '#', CR or LF, in three lines: no line has a field.
    QByteArray garbage;
    QRandomGenerator gen(20261207);
    for (int line = 0; line < 3; ++line) {
        for (int i = 0; i < 700; ++i) {
            char c = char(gen.bounded(256));
            garbage += (c == '#' || c == '\r' || c == '\n') ? 'x' : c;
        }
        garbage += "\r\n";
    }
    QTest::newRow("binary garbage") << garbage << "" << 3 << "$0.00"
                                    << "";
    // 0xFF is neither UTF-8 nor a Big5 lead byte: it becomes a replacement character and
    // the rest of the line still works.
    QTest::newRow("neither UTF-8 nor Big5")
        << QByteArray("12#\xff\xfe North#2.40\r\n12#\x81#3.50\r\n") << "" << 2 << "$2.40"
        << "2.40";
    QTest::newRow("fare not a number") << QString(u"12#北門#abc\r\n"_qs).toUtf8() << "" << 1 << ""
                                       << "";
    // Beyond ten trillion dollars no amount is kept: such a fare counts as no number.
    QTest::newRow("fare beyond every amount")
        << QString(u"12#北門#100000000000000000000\r\n"_qs).toUtf8() << "" << 1 << ""
        << "";
}

void TestFaults::routeFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, warning);
    QFETCH(int, lineCount);
    QFETCH(QString, fareShown);
    QFETCH(QString, consoleFare);
    TestEnv env;
    if (!bytes.isNull())
        env.writeFile(QStringLiteral("routes.dat"), bytes);
    TestEnv::store(Settings::PurseValue, QStringLiteral("123.45"));
    auto w = env.start();
    CardProcessor* p = w->processor();
    Console* c = w->console();
    QCOMPARE(c->routes().lines().size(), lineCount);
    if (warning.isEmpty()) {
        QCOMPARE(env.desktop().count(QStringLiteral("warn")), 0);
    } else {
        QCOMPARE(env.desktop().count(QStringLiteral("warn")), 1);
        QVERIFY(::warning(env).contains(warning));
    }
    for (const QString& line : pending(c))
        QCOMPARE(LogFormat::lineFault(line), QString());

    p->setCardType(CardType::Student);
    TestEnv::logIn(w.get());
    if (fareShown.isEmpty()) {
        // The first route load hands over a fare that cannot be computed: the program
        // ends, and the card the user set up is saved all the same.
        const QStringList fatal = env.desktop().texts(QStringLiteral("fatal"));
        QCOMPARE(fatal.size(), 1);
        QCOMPARE(fatal.first().section(u'\n', 0, 0), QStringLiteral("計算錯誤，離開。"));
        QVERIFY(fatal.first().section(u'\n', 1).startsWith(env.file(QStringLiteral("routes.dat")) +
                                                           QStringLiteral(" 第 1 行的車資「")));
        QCOMPARE(env.desktop().texts(QStringLiteral("endProgram")), QStringList{"1"});
        QCOMPARE(TestEnv::stored(Settings::PurseValue), QStringLiteral("123.45"));
        return;
    }
    QCOMPARE(env.desktop().count(QStringLiteral("fatal")), 0);
    QCOMPARE(p->line(2), fareShown);
    QCOMPARE(c->line(0), QStringLiteral("車費　　　") + consoleFare);
    const Money fare = c->routes().routeLine().fare.value_or(Money());
    const Money stored = Money::cents(12345);
    TestEnv::read(w.get());
    QCOMPARE(p->purse().text(),
             (fare <= stored + Money::dollars(35) ? stored - fare : stored).text());
    for (const QString& line : pending(c))
        QCOMPARE(LogFormat::lineFault(line), QString());
}

void TestFaults::millionLineRouteFile()
{
    QByteArray bytes;
    bytes.reserve(20'000'000);
    for (int i = 0; i < 1'000'000; ++i)
        bytes += QByteArray::number(i / 4) + (i % 4 < 2 ? "#N#2.40\r\n" : "#S#3.50\r\n");
    TestEnv env;
    env.writeFile(QStringLiteral("routes.dat"), bytes);
    TestEnv::store(Settings::Lastroute, QStringLiteral("249999"));
    auto w = env.start();
    Console* c = w->console();
    const auto current = [c] { return c->routes().current().value_or(-1); };
    QCOMPARE(c->routes().lines().size(), 1'000'000);
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), 0);
    // Every index is beyond 16 bits: the last route, its sections and its turn all work.
    TestEnv::logIn(w.get());
    QCOMPARE(current(), qsizetype(999'996));
    c->press(Key::Down);
    QCOMPARE(current(), qsizetype(999'997));
    c->press(Key::Finish);
    c->press(Key::Enter);
    QCOMPARE(current(), qsizetype(999'998));
    c->press(Key::Down);
    c->press(Key::Down);
    QCOMPARE(current(), qsizetype(999'999));
    TestEnv::advance(2000);
    QCOMPARE(w->processor()->line(2), QStringLiteral("$3.50"));
}

void TestFaults::storeWithGarbage_data()
{
    QTest::addColumn<QByteArray>("file"); // the store's file as a hand edit left it
    QTest::addColumn<QString>("purse");
    QTest::addColumn<QString>("saved"); // the value as the next run finds it stored
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("loadtime");

    QTest::newRow("letters in every key")
        << QByteArray("[pelumo.exe]\nLoadtime=soon\nLastroute=abc\nPurseValue=abc\n"
                      "CardType=child\nLanguage=en\n")
        << "0.00"
        << "0" << 0 << 0 << 20000;
    QTest::newRow("numbers out of every range")
        << QByteArray("[pelumo.exe]\nLoadtime=-5\nLastroute=99999999999999999999\n"
                      "PurseValue=1e999\nCardType=99999\nLanguage=70000\n")
        << "100.00"
        << "100" << 0 << 0 << 5000;
    QTest::newRow("not finite")
        << QByteArray("[pelumo.exe]\nLoadtime=inf\nPurseValue=nan\nCardType=-inf\nLanguage=nan\n")
        << "0.00"
        << "0" << 0 << 0 << 20000;
    QTest::newRow("lists")
        << QByteArray("[pelumo.exe]\nLoadtime=5000, 6000\nLastroute=1, 2\nPurseValue=1, 2\n"
                      "CardType=3, 4\nLanguage=1, 2\n")
        << "1.00"
        << "1" << 3 << 0 << 20000;
    // Serialised values refuse the whole store: see the hardening tests.
    QByteArray bytes("[pelumo.exe]\n");
    for (const char* key : {"Loadtime", "Lastroute", "PurseValue", "CardType", "Language"})
        bytes += QByteArray(key) + QByteArray("=\x01\x7f\xff\xfe\x80\\x\0z\n", 11);
    QTest::newRow("control and broken bytes") << bytes << "0.00"
                                              << "0" << 0 << 0 << 20000;
    QTest::newRow("no section, no equals")
        << QByteArray("PurseValue 50\n[pelumo.exe\nCardType\n=3\n\xff\xfe") << "100.00"
        << "100" << 0 << 0 << 20000;
}

void TestFaults::storeWithGarbage()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, purse);
    QFETCH(QString, saved);
    QFETCH(int, type);
    QFETCH(int, language);
    QFETCH(int, loadtime);
    TestEnv env(kRoutes);
    const QString path =
        QSettings(QSettings::UserScope, QStringLiteral("Quillmere"), QStringLiteral("pelumo"))
            .fileName();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file);
    }
    auto w = env.start();
    CardProcessor* p = w->processor();
    QCOMPARE(p->purse().text(), purse);
    QCOMPARE(int(p->cardType()), type);
    QCOMPARE(int(p->language()), language);
    QCOMPARE(p->loadWaitMs(), loadtime);
    QCOMPARE(env.desktop().calls.size(), 0);

    // The day goes on: a stored route that does not exist is reported at the log-in, and
    // the driver can still enter one.
    TestEnv::logIn(w.get());
    QVERIFY(p->loggedIn());
    for (Key k : {Key::Route, Keys::digit(1), Keys::digit(2), Key::Enter})
        w->console()->press(k);
    TestEnv::advance(2000);
    QCOMPARE(p->line(2), QStringLiteral("$2.40"));
    p->setLanguage(CardLanguage::English);
    env.desktop().answer = QStringLiteral("不輸出，結束(&Q)");
    w->close();

    // The garbage is gone: the next run loads exactly what this one saved.
    auto again = env.start();
    QCOMPARE(again->processor()->purse().text(), purse);
    QCOMPARE(int(again->processor()->cardType()), type);
    QCOMPARE(int(again->processor()->language()), 1);
    QCOMPARE(TestEnv::stored(Settings::PurseValue), saved);
}

void TestFaults::storeThatCannotBeMended()
{
    TestEnv env(kRoutes);
    const QString path =
        QSettings(QSettings::UserScope, QStringLiteral("Quillmere"), QStringLiteral("pelumo"))
            .fileName();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    const QByteArray file("[pelumo.exe]\nLoadtime=6000\nPurseValue=42.5\n"
                          "CardType=@Variant(\\0\\0\\0\\t\\0\\xff\\xff\\xff\\xff)\n");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file);
    }
    ReadOnly locked(path);
    ReadOnly folder(QFileInfo(path).path());
    if (!locked.done() || writable(path))
        QSKIP("Cannot take away the right to write here: chattr needs root and a file "
              "system with attributes (ext4, xfs, btrfs, tmpfs).");

    // A store holding a serialised value is not read at all: the card is a new one, a
    // warning says why, and the day goes on; the file is left as it was.
    auto w = env.start();
    CardProcessor* p = w->processor();
    QCOMPARE(p->purse().text(), QStringLiteral("100.00"));
    QCOMPARE(int(p->cardType()), 0);
    QCOMPARE(p->loadWaitMs(), 20000);
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), 1);
    TestEnv::logIn(w.get());
    QVERIFY(p->loggedIn());
    env.desktop().answer = QStringLiteral("不輸出，結束(&Q)");
    w->close();
    locked.release();
    QCOMPARE(readAll(path), file);
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
