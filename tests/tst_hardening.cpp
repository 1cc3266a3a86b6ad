// Bad files, planted links, a second copy and signals: the route table, the settings
// store, the trip log, the help page, the single-copy lock and the signal close, each
// through the file system.
#include "platform/AppPaths.h"
#include "platform/Desktop.h"
#include "platform/HelpPages.h"
#include "platform/Settings.h"
#include "platform/SingleCopy.h"
#include "platform/StoreFile.h"
#include "routes/RouteTable.h"
#include "support/FakeDesktop.h"
#include "support/TestEnv.h"
#include "triplog/TripLogFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLockFile>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Literals with NULs in them, whole.
template <size_t N> QByteArray bytes(const char (&s)[N])
{
    return QByteArray(s, N - 1);
}
template <size_t N> QString text(const char16_t (&s)[N])
{
    return QString::fromUtf16(s, N - 1);
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

bool makeFifo(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

} // namespace

class TestHardening : public QObject {
    Q_OBJECT
private slots:
    void routeLines_data();
    void routeLines();
    void routeFileRefused_data();
    void routeFileRefused();

    void storeReadsWhatQSettingsWrites_data();
    void storeReadsWhatQSettingsWrites();
    void storeReadsHandEdits_data();
    void storeReadsHandEdits();
    void storeHostileFiles_data();
    void storeHostileFiles();
    void storeFailures_data();
    void storeFailures();
    void storeReadOnceWrittenOnChange();
    void loadtime_data();
    void loadtime();

    void tripLogRacingOutputs();
    void tripLogRefusesOtherFiles_data();
    void tripLogRefusesOtherFiles();
    void helpPageNeverFollowsLinks_data();
    void helpPageNeverFollowsLinks();

    void singleCopy();
    void staleLockTakenOver();
    void lockInTheWay_data();
    void lockInTheWay();
    void signalsCloseNormally_data();
    void signalsCloseNormally();
};

// ---- routes.dat -------------------------------------------------------------------------

void TestHardening::routeLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("LF") << QByteArray("12#A#1\n12#A#2") << QStringList{"12#A#1", "12#A#2"};
    QTest::newRow("CR LF, CR and LF mixed")
        << QByteArray("a\r\nb\rc\nd\r\n\ne") << QStringList{"a", "b", "c", "d", "", "e"};
    QTest::newRow("LF CR is two line ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    // 北門 in Big5 is A5 5F AA F9: neither LF nor a control character is ever part of one.
    QTest::newRow("Big5") << QByteArray("12#\xA5\x5F\x01\xAA\xF9#5.40\n2X#A#9.10\x1e")
                          << QStringList{u"12#北門#5.40"_qs, "2X#A#9.10"};
    QTest::newRow("NUL, tab and escape dropped") << bytes("1\x00"
                                                          "2#\tA\x1b[2J#5.4\x7f"
                                                          "0")
                                                 << QStringList{"12#A[2J#5.4\x7f"
                                                                "0"};
    QTest::newRow("a log line forged with VT stays in its field")
        << QByteArray("12#A\x0b"
                      "06:00:00 Paid: Adult Fare $0.00#1\r\n")
        << QStringList{"12#A06:00:00 Paid: Adult Fare $0.00#1"};
    // Each breaks a line in a viewer or a terminal as well: NEL, CSI, LS and PS.
    QTest::newRow("C1 controls and the separators dropped")
        << QByteArray("12#A\xC2\x85"
                      "06:00:00 Paid\xE2\x80\xA8x\xE2\x80\xA9y\xC2\x9B"
                      "2J#1")
        << QStringList{"12#A06:00:00 Paidxy2J#1"};
}

void TestHardening::routeLines()
{
    QFETCH(QByteArray, bytes);
    QTEST(RouteTable::decodeLines(bytes).toList(), "lines");
}

void TestHardening::routeFileRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason"); // empty: read

    QTest::newRow("line of 4096 characters") << "4096"
                                             << "";
    QTest::newRow("line of 4097 characters") << "4097"
                                             << "第 2 行超過 4096 個字元";
    // Characters, not UTF-16 units: each of these takes two.
    QTest::newRow("4096 characters beyond U+FFFF") << "4096 astral"
                                                   << "";
    QTest::newRow("4097 characters beyond U+FFFF") << "4097 astral"
                                                   << "第 2 行超過 4096 個字元";
    QTest::newRow("as many lines as a table may have") << "lines"
                                                       << "";
    QTest::newRow("one line more") << "lines+1"
                                   << "檔案多於 4000000 行";
    QTest::newRow("FIFO") << "fifo"
                          << "不是一般檔案";
    QTest::newRow("device") << "device"
                            << "不是一般檔案";
    QTest::newRow("directory") << "directory"
                               << "不是一般檔案";
    QTest::newRow("over 64 MiB") << "large"
                                 << "檔案大於 64 MiB";
    // A table put in place as a link is the user's choice, and read through it.
    QTest::newRow("link to a table") << "link"
                                     << "";
    QTest::newRow("missing") << "missing"
                             << "No such file or directory";
}

void TestHardening::routeFileRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("routes.dat"));
    qsizetype lines = 2;
    if (kind.startsWith(u"409")) {
        const QString d = kind.endsWith(u"astral") ? u"𠀀"_qs : u"D"_qs;
        const QByteArray field = d.repeated(kind.left(4).toInt() - 4).toUtf8();
        QVERIFY(writeAll(path, "1#A#1\r\n1#" + field + "#2\r\n"));
    } else if (kind.startsWith(u"lines")) {
        lines = RouteTable::MaxLines;
        QVERIFY(writeAll(path, QByteArray(lines + (kind == u"lines+1"), '\n')));
    } else if (kind == u"fifo") {
        QVERIFY(makeFifo(path)); // opened for reading, it would wait for a writer for ever
    } else if (kind == u"device") {
        path = QStringLiteral("/dev/zero");
    } else if (kind == u"directory") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == u"link") {
        const QString target = dir.filePath(QStringLiteral("table"));
        QVERIFY(writeAll(target, "1#A#1\r\n1#A#2\r\n"));
        QVERIFY(QFile::link(target, path));
    } else if (kind == u"missing") {
        reason = qt_error_string(ENOENT); // the system's text, in the language Qt's texts use
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(RouteTable::MaxFileBytes + 1)); // sparse: no disk taken
    }
    const RouteTable::LoadResult r = RouteTable::load(path);
    QCOMPARE(r.error, reason);
    QCOMPARE(r.ok, reason.isEmpty());
    QCOMPARE(r.lines.size(), r.ok ? lines : 0);
}

// ---- the settings store: the format -----------------------------------------------------

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

void TestHardening::storeReadsWhatQSettingsWrites_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("number") << "95.2";
    QTest::newRow("empty") << "";
    QTest::newRow("blanks at either end") << " 2X\t ";
    QTest::newRow("comma, semicolon, equals") << "a,b;c=d";
    QTest::newRow("quotes and backslashes") << "say \"hi\" \\ C:\\dir\\";
    QTest::newRow("controls") << QStringLiteral("a\r\nb\t\a\x01\x1f\x7f");
    QTest::newRow("NUL before digits") << text(u"\u0000"
                                               "12\u0000"
                                               "ab");
    QTest::newRow("at signs") << "@@ByteArray(12)";
    QTest::newRow("beyond ASCII and the BMP") << u"北門 🚌"_qs;
}

// A text QSettings wrote reads back the same, the file written for it is the one
// QSettings writes, and QSettings reads that file as the same text.
void TestHardening::storeReadsWhatQSettingsWrites()
{
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString theirs = dir.filePath(QStringLiteral("qsettings.conf"));
    {
        QSettings s(theirs, QSettings::IniFormat);
        s.setValue(QStringLiteral("pelumo.exe/Lastroute"), text);
        s.setValue(QStringLiteral("Top"), text);
    }
    const QByteArray bytes = readAll(theirs);
    QSettings::SettingsMap map;
    QVERIFY(StoreFile::read(bytes, map));
    QCOMPARE(map.keys(), (QStringList{"Top", "pelumo.exe/Lastroute"}));
    QCOMPARE(map.value(QStringLiteral("Top")).toString(), text);
    QCOMPARE(map.value(QStringLiteral("pelumo.exe/Lastroute")).toString(), text);
    QCOMPARE(StoreFile::write(map), bytes);
    QVERIFY(writeAll(theirs, StoreFile::write(map)));
    QCOMPARE(QSettings(theirs, QSettings::IniFormat).value(QStringLiteral("Top")), QVariant(text));
}

void TestHardening::storeReadsHandEdits_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("keysAndValues"); // key, value, key, value...; or the reason

    // QSettings took a\"=b\" for the key and decoded the value; here the file is refused.
    QTest::newRow("crafted key hides a serialised value")
        << QByteArray("[pelumo.exe]\na\"=b\"=@ByteArray(hello)\nCardType=2\n")
        << QStringList{"第 2 行的值以「@」開頭，是序列化的物件而不是文字"};
    QTest::newRow("written texts beginning with @")
        << QByteArray("[pelumo.exe]\nLastroute=@@Variant(1)\nPurseValue=@String(5)\n")
        << QStringList{"pelumo.exe/Lastroute", "@Variant(1)", "pelumo.exe/PurseValue", "5"};
    QTest::newRow("comment after a value, quote in it, LF, CR")
        << QByteArray("[pelumo.exe]\rLastroute=12 ; was \"7\n; \"\r\nLoadtime=5000")
        << QStringList{"pelumo.exe/Lastroute", "12", "pelumo.exe/Loadtime", "5000"};
    QTest::newRow("General, %General, escaped keys")
        << QByteArray("[General]\nA=1\n[%General]\nB=2\n[a\\b]\nc%20d=3\n=4\nno value\n")
        << QStringList{"A", "1", "General/B", "2", "a/b/c d", "3"};
    QTest::newRow("quote left open") << QByteArray("[pelumo.exe]\nPurseValue=\"50\nCardType=2\n")
                                     << QStringList{"第 2 行有引號沒有結束，會吞掉後面各行"};
    QTest::newRow("key in raw UTF-8 and escaped")
        << QByteArray("[pelumo.exe]\n\xE5\x8C\x97%20\xE9\x96\x80=1\n")
        << QStringList{u"pelumo.exe/北 門"_qs, "1"};
    QTest::newRow("U+FEFF after an escape")
        << QByteArray("[pelumo.exe]\nLastroute=\\t\xEF\xBB\xBFx\n")
        << QStringList{"pelumo.exe/Lastroute", u"\t\uFEFFx"_qs};
    QTest::newRow("backslash at the end of a line")
        << QByteArray("[pelumo.exe]\nLastroute=1\\\nCardType=2\n")
        << QStringList{"第 2 行以反斜線結束，會接上下一行"};
}

void TestHardening::storeReadsHandEdits()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, keysAndValues);
    QSettings::SettingsMap map;
    QString error;
    if (!StoreFile::read(bytes, map, &error)) {
        QCOMPARE(QStringList{error}, keysAndValues);
        return;
    }
    QStringList got;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        got << it.key() << it.value().toString();
    QCOMPARE(got, keysAndValues);
}

// ---- the settings store: the program's use of it ----------------------------------------

namespace {

// What a store of this program holds.
const QByteArray kStore("[pelumo.exe]\nCardType=2\nLanguage=1\nLastroute=2X\nLoadtime=5000\n"
                        "PurseValue=95.2\n");

// Permission bits stop no one running as root: a test that needs them runs again, in a
// process of its own, as the unprivileged user. Returns false where the caller goes on
// itself.
bool rerunUnprivileged(const QString& testAndRow)
{
    if (::geteuid() != 0)
        return false;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("setpriv"),
            {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
             QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath(),
             testAndRow});
    if (!p.waitForStarted())
        QTest::qSkip("needs setpriv to run as an unprivileged user", __FILE__, __LINE__);
    else if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit ||
             p.exitCode() != 0)
        QTest::qFail(qPrintable(QStringLiteral("as an unprivileged user:\n") +
                                QString::fromLocal8Bit(p.readAll())),
                     __FILE__, __LINE__);
    return true;
}

} // namespace

void TestHardening::storeHostileFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");

    QTest::newRow("crafted line") << QByteArray(
                                         "[pelumo.exe]\nCardType=3\na\"=b\"=@ByteArray(hello)\n")
                                  << false;
    // Read as an object, this nesting ran QSettings' variant decoder off the stack.
    QTest::newRow("deep @Variant")
        << "[pelumo.exe]\nCardType=3\nPurseValue=" +
               QByteArray("@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x1").repeated(18000) + "\n"
        << false;
    QTest::newRow("serialised values")
        << QByteArray("[pelumo.exe]\nLoadtime=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x1)\n"
                      "Lastroute=@Invalid()\nPurseValue=@ByteArray(12)\nCardType=3\n"
                      "Language=@Variant(\\xff)\n")
        << false;
    // A list claiming four thousand million entries: read as such, it would reserve
    // gigabytes before finding the file too short.
    QTest::newRow("serialised list beside good values")
        << QByteArray("[pelumo.exe]\nLoadtime=6000\nPurseValue=42.5\nCardType=3\n"
                      "Language=@Variant(\\0\\0\\0\\t\\0\\xff\\xff\\xff\\xff)\n")
        << false;
    QTest::newRow("stray quote") << QByteArray("[pelumo.exe]\nLastroute=\"12\nCardType=3\n")
                                 << false;
    QTest::newRow("UTF-8 with a byte order mark")
        << QByteArray("\xEF\xBB\xBF[pelumo.exe]\nCardType=3\n") << true;
    QTest::newRow("over 1 MiB") << "[pelumo.exe]\nCardType=3\n;" + QByteArray(1 << 20, 'x')
                                << false;
}

// A store with anything in it: no crash, its values read as text, or none of them (the
// card as a new one) and a warning when it holds anything but text or could not be read
// whole; the file is then never written over.
void TestHardening::storeHostileFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    TestEnv env;
    const QString path = StoreFile::path();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QVERIFY(writeAll(path, bytes));

    QCOMPARE(TestEnv::stored(Settings::CardType), readable ? "3" : "<absent>");
    QCOMPARE(readAll(path), bytes);
    TestEnv::store(Settings::CardType, QStringLiteral("1"));
    TestEnv::store(Settings::Language, QStringLiteral("1"));
    QCOMPARE(TestEnv::stored(Settings::CardType), QStringLiteral("1"));
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), readable ? 0 : 1);
    QCOMPARE(readAll(path) == bytes, !readable);
}

void TestHardening::storeFailures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");

    QTest::newRow("directory") << "directory"
                               << "不是一般檔案";
    QTest::newRow("FIFO") << "fifo"
                          << "不是一般檔案";
    QTest::newRow("folder is a file") << "folder is a file"
                                      << "Not a directory";
    QTest::newRow("unreadable") << "unreadable"
                                << "Permission denied";
    QTest::newRow("read-only folder") << "read-only folder"
                                      << "Permission denied";
    // At the limit, read; the program's own values would take it over.
    QTest::newRow("save past 1 MiB") << "full store"
                                     << "檔案會大於 1 MiB，下次便不能讀取";
    // No full disk to be had: a file size limit fails the writes the same way.
    QTest::newRow("writes fail") << "size limit"
                                 << "File too large";
    // QSettings waits for its lock without end; a folder or a FIFO is never let go of.
    QTest::newRow("lock is a folder") << "lock folder"
                                      << "無法取得鎖定檔案";
    QTest::newRow("lock is a FIFO") << "lock fifo"
                                    << "無法取得鎖定檔案";
}

// Each is warned about once, with the path and the reason, and the file stays as it was.
void TestHardening::storeFailures()
{
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    const bool permissions = fault == u"unreadable" || fault == u"read-only folder";
    if (permissions &&
        rerunUnprivileged(QStringLiteral("storeFailures:") + QTest::currentDataTag()))
        return;
    TestEnv env;
    const bool lock = fault.startsWith(u"lock");
    // The system's reason, in the language of Qt's texts the program loads.
    if (reason == u"Permission denied")
        reason = qt_error_string(EACCES);
    if (reason == u"File too large")
        reason = qt_error_string(EFBIG);
    const bool readable =
        lock || fault == u"read-only folder" || fault == u"full store" || fault == u"size limit";
    QByteArray written = kStore;
    if (fault == u"full store")
        written += "[other]\nx=" + QByteArray(StoreFile::MaxBytes - kStore.size() - 11, 'x') + "\n";
    const QString path = StoreFile::path();
    const QString folder = QFileInfo(path).path();
    QVERIFY(QDir().mkpath(QFileInfo(folder).path()));
    if (fault == u"folder is a file") {
        QVERIFY(writeAll(folder, kStore));
    } else {
        QVERIFY(QDir().mkpath(folder));
        if (fault == u"fifo")
            QVERIFY(makeFifo(path));
        else if (fault == u"directory")
            QVERIFY(QDir().mkdir(path));
        else
            QVERIFY(writeAll(path, written));
        if (fault == u"lock folder")
            QVERIFY(QDir().mkdir(path + ".lock"));
        else if (fault == u"lock fifo")
            QVERIFY(makeFifo(path + ".lock"));
    }
    const QString locked = fault == u"unreadable" ? path : folder;
    const auto mode = QFile::permissions(locked);
    if (permissions)
        QVERIFY(QFile::setPermissions(locked, fault == u"unreadable" ? QFileDevice::WriteOwner
                                                                     : QFileDevice::ReadOwner |
                                                                           QFileDevice::ExeOwner));

    QCOMPARE(TestEnv::stored(Settings::CardType), readable ? "2" : "<absent>");
    rlimit before{};
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &before) == 0);
    if (fault == u"size limit") {
        std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the test
        const rlimit small{16, before.rlim_max};
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
    }
    TestEnv::store(Settings::CardType, QStringLiteral("0"));
    TestEnv::store(Settings::PurseValue, QStringLiteral("100.25"));
    if (fault == u"size limit") {
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &before) == 0);
        std::signal(SIGXFSZ, SIG_DFL);
    }
    QCOMPARE(TestEnv::stored(Settings::CardType), QStringLiteral("0")); // kept in memory
    const QStringList warnings = env.desktop().texts(QStringLiteral("warn"));
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings.first().contains(path) && warnings.first().contains(reason),
             qPrintable(warnings.first()));
    if (permissions)
        QVERIFY(QFile::setPermissions(locked, mode));
    if (fault == u"folder is a file")
        QCOMPARE(readAll(folder), kStore);
    else if (fault != u"fifo" && fault != u"directory")
        QCOMPARE(readAll(path), written);

    // The folder writable again: the next change saves every value the program holds.
    if (lock)
        QVERIFY(QFile::remove(path + ".lock") || QDir().rmdir(path + ".lock"));
    if (lock || fault == u"read-only folder") {
        TestEnv::store(Settings::Language, QStringLiteral("0"));
        QCOMPARE(readAll(path), QByteArray("[pelumo.exe]\nCardType=0\nLanguage=0\n"
                                           "Lastroute=2X\nLoadtime=5000\nPurseValue=100.25\n"));
    }
}

// Read once: a later hand edit does not reach the running program. Written on a change
// only: storing the same value again leaves the file alone.
void TestHardening::storeReadOnceWrittenOnChange()
{
    TestEnv env;
    const QString path = StoreFile::path();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QVERIFY(writeAll(path, "[pelumo.exe]\nCardType = 2\n"));
    QCOMPARE(TestEnv::stored(Settings::CardType), QStringLiteral("2"));
    TestEnv::store(Settings::CardType, QStringLiteral("2"));
    QCOMPARE(readAll(path), QByteArray("[pelumo.exe]\nCardType = 2\n"));

    QVERIFY(writeAll(path, "[pelumo.exe]\nCardType=4\n"));
    QCOMPARE(TestEnv::stored(Settings::CardType), QStringLiteral("2"));
    TestEnv::store(Settings::Language, QStringLiteral("1"));
    QCOMPARE(readAll(path), QByteArray("[pelumo.exe]\nCardType=2\nLanguage=1\n"));
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), 0);
}

// ---- the boot wait ----------------------------------------------------------------------

void TestHardening::loadtime_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("ms");

    QTest::newRow("fraction of zero") << "5000.0" << 5000;
    QTest::newRow("fraction below a half") << "7500.4" << 7500;
    QTest::newRow("half to even, down") << "7500.5" << 7500;
    QTest::newRow("half to even, up") << "7501.5" << 7502;
    QTest::newRow("exponent") << "1e4" << 10000;
    QTest::newRow("blanks, point first, exponent") << " .125E+5 " << 12500;
    QTest::newRow("beyond a double") << "1e999" << 30000;
    QTest::newRow("below the smallest double") << "1e-999" << 5000;
    QTest::newRow("not a number") << "5000 ms" << 20000;
    QTest::newRow("infinity spelt out") << "inf" << 20000;
    QTest::newRow("full-width digits") << u"７５００"_qs << 20000;
}

void TestHardening::loadtime()
{
    QFETCH(QString, stored);
    QTEST(Settings::loadtimeMs(stored), "ms");
}

// ---- log.txt ----------------------------------------------------------------------------

namespace {

bool isLink(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

} // namespace

// Two outputs at once on one log.txt, each through its own descriptor: every block
// lands whole, none over another.
void TestHardening::tripLogRacingOutputs()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    QVERIFY(writeAll(path, "no line end at the end"));
    constexpr int Blocks = 100;
    auto block = [](int writer, int i) {
        return QStringLiteral("writer %1 block %2\r\nsecond line\r\n\r\n").arg(writer).arg(i);
    };
    auto output = [&](int writer, QStringList* errors) {
        QString error;
        for (int i = 0; i < Blocks; ++i)
            if (!TripLogFile::append(path, block(writer, i), &error))
                errors->append(error);
    };
    QStringList errorsA, errorsB;
    std::thread a(output, 1, &errorsA);
    std::thread b(output, 2, &errorsB);
    a.join();
    b.join();
    QCOMPARE(errorsA + errorsB, QStringList());

    const QByteArray log = readAll(path);
    QVERIFY(log.startsWith("no line end at the end\r\nwriter "));
    QCOMPARE(log.count("\r\n"), 1 + 2 * Blocks * 3);
    for (int writer : {1, 2})
        for (int i = 0; i < Blocks; ++i)
            QCOMPARE(log.count(block(writer, i).toUtf8()), 1);
}

void TestHardening::tripLogRefusesOtherFiles_data()
{
    QTest::addColumn<QString>("planted");
    QTest::addColumn<QString>("reason");

    QTest::newRow("link to a file") << "link"
                                    << "是符號連結，不是一般檔案";
    QTest::newRow("link to nowhere") << "dangling link"
                                     << "是符號連結，不是一般檔案";
    QTest::newRow("FIFO") << "fifo"
                          << "不是一般檔案";
    QTest::newRow("directory") << "directory"
                               << "Is a directory";
}

void TestHardening::tripLogRefusesOtherFiles()
{
    QFETCH(QString, planted);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    const QString target = dir.filePath(QStringLiteral("profile"));
    if (planted == u"link") {
        QVERIFY(writeAll(target, "export PATH\n"));
        QVERIFY(QFile::link(target, path));
    } else if (planted == u"dangling link") {
        QVERIFY(QFile::link(target, path));
    } else if (planted == u"fifo") {
        QVERIFY(makeFifo(path));
    } else {
        QVERIFY(QDir().mkdir(path));
    }
    QString error;
    QVERIFY(!TripLogFile::append(path, QStringLiteral("06:10:05 Start Logging\r\n"), &error));
    QCOMPARE(error, reason);
    if (planted == u"link")
        QCOMPARE(readAll(target), QByteArray("export PATH\n"));
    if (planted.endsWith(u"link")) {
        QVERIFY(isLink(path));
        QCOMPARE(QFileInfo::exists(target), planted == u"link");
    }
}

// ---- temphelp.html ----------------------------------------------------------------------

void TestHardening::helpPageNeverFollowsLinks_data()
{
    QTest::addColumn<QString>("planted");

    QTest::newRow("link to a file") << "link";
    QTest::newRow("link to nowhere") << "dangling link";
    QTest::newRow("read-only file") << "read-only";
}

void TestHardening::helpPageNeverFollowsLinks()
{
    QFETCH(QString, planted);
    TestEnv env;
    const QString path = AppPaths::helpFile();
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral(".bashrc"));
    if (planted == u"read-only") {
        QVERIFY(writeAll(path, "old page"));
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    } else {
        if (planted == u"link")
            QVERIFY(writeAll(target, "alias ls=ls\n"));
        QVERIFY(QFile::link(target, path));
    }

    QVERIFY(HelpPages::show(HelpPages::Page::Console));
    QVERIFY(!isLink(path));
    QCOMPARE(readAll(path), (HelpPages::text(HelpPages::Page::Console) + "\r\n").toUtf8());
    QCOMPARE(env.desktop().texts(QStringLiteral("openFile")), QStringList{path});
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), 0);
    if (planted == u"link")
        QCOMPARE(readAll(target), QByteArray("alias ls=ls\n"));
    else if (planted == u"dangling link")
        QVERIFY(!QFileInfo::exists(target));
}

// ---- one copy at a time -----------------------------------------------------------------

void TestHardening::singleCopy()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config/Quillmere/pelumo.lock"));
    {
        const SingleCopy first(path);
        QCOMPARE(first.result(), SingleCopy::Result::Acquired);
        QVERIFY(QFileInfo::exists(path));
        const SingleCopy second(path);
        QCOMPARE(second.result(), SingleCopy::Result::Running);
    }
    // Ended normally, the first copy takes its lock with it.
    QVERIFY(!QFileInfo::exists(path));
    const SingleCopy again(path);
    QCOMPARE(again.result(), SingleCopy::Result::Acquired);

    // No folder to put a lock in: the program runs all the same.
    QVERIFY(writeAll(dir.filePath(QStringLiteral("file")), "x"));
    const SingleCopy nowhere(dir.filePath(QStringLiteral("file/pelumo.lock")));
    QCOMPARE(nowhere.result(), SingleCopy::Result::Unavailable);
    QVERIFY(!nowhere.error().isEmpty());
}

// A copy that was killed left its lock behind, naming a process that is gone.
void TestHardening::staleLockTakenOver()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pelumo.lock"));
    QProcess gone;
    gone.start(QStringLiteral("true"));
    QVERIFY(gone.waitForStarted());
    const qint64 pid = gone.processId();
    QVERIFY(gone.waitForFinished());
    {
        // A lock as a running copy writes it, with the dead process put in.
        QLockFile own(dir.filePath(QStringLiteral("own.lock")));
        QVERIFY(own.lock());
        QList<QByteArray> lines = readAll(own.fileName()).split('\n');
        lines[0] = QByteArray::number(pid);
        QVERIFY(writeAll(path, lines.join('\n')));
    }
    const SingleCopy copy(path);
    QCOMPARE(copy.result(), SingleCopy::Result::Acquired);
    qint64 named = 0;
    QString host, app;
    QVERIFY(QLockFile(path).getLockInfo(&named, &host, &app));
    QCOMPARE(named, QCoreApplication::applicationPid());
}

void TestHardening::lockInTheWay_data()
{
    QTest::addColumn<QString>("planted");
    QTest::addColumn<int>("result");
    const int acquired = int(SingleCopy::Result::Acquired);
    const int unavailable = int(SingleCopy::Result::Unavailable);
    QTest::newRow("folder") << "folder" << unavailable;
    QTest::newRow("FIFO") << "fifo" << unavailable;
    QTest::newRow("link to a lock no one holds") << "link" << unavailable;
    QTest::newRow("link to nowhere") << "dangling link" << unavailable;
    // No copy holds these: a start after a crash, or a number given to another process.
    QTest::newRow("empty file") << "empty" << acquired;
    QTest::newRow("naming a live process") << "live" << acquired;
}

// Whatever stands where the lock goes, the program starts; it is never taken for a copy
// that runs, and nothing but a lock file is removed.
void TestHardening::lockInTheWay()
{
    QFETCH(QString, planted);
    QFETCH(int, result);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pelumo.lock"));
    const QString other = dir.filePath(QStringLiteral("other.lock"));
    if (planted == u"folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (planted == u"fifo") {
        QVERIFY(makeFifo(path));
    } else if (planted == u"empty") {
        QVERIFY(writeAll(path, ""));
    } else {
        // A lock as a running copy writes it, naming this process, but no longer held.
        QByteArray lock;
        {
            QLockFile own(other);
            QVERIFY(own.lock());
            lock = readAll(other);
        }
        QVERIFY(writeAll(planted == u"live" ? path : other, lock));
        if (planted == u"dangling link")
            QVERIFY(QFile::remove(other));
        if (planted != u"live")
            QVERIFY(QFile::link(other, path));
    }
    const SingleCopy copy(path);
    QCOMPARE(int(copy.result()), result);
    QCOMPARE(copy.unusable(), result == int(SingleCopy::Result::Unavailable));
    if (copy.unusable()) {
        QVERIFY2(copy.unusableMessage().contains(path), qPrintable(copy.unusableMessage()));
        QVERIFY(QFileInfo(path).isSymLink() || QFileInfo::exists(path));
    } else {
        const SingleCopy second(path);
        QCOMPARE(second.result(), SingleCopy::Result::Running);
    }
}

// ---- signals ----------------------------------------------------------------------------

void TestHardening::signalsCloseNormally_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("box"); // what the start waits on when the signal comes
    QTest::newRow("SIGTERM") << int(SIGTERM) << "";
    QTest::newRow("SIGINT") << int(SIGINT) << "";
    QTest::newRow("SIGHUP") << int(SIGHUP) << "";
    QTest::newRow("SIGTERM over the route file's warning") << int(SIGTERM) << "route warning";
    QTest::newRow("SIGHUP over the second-copy notice") << int(SIGHUP) << "second copy";
}

namespace {

// Whether the process has handlers of its own for `signal` yet.
bool catches(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

} // namespace

// The real program, sent a signal once it runs, closes as 結束 does: it ends with status 0,
// its card saved and its lock taken away.
void TestHardening::signalsCloseNormally()
{
    QFETCH(int, signal);
    QFETCH(QString, box);
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("program/pelumo"));
    QVERIFY(QDir().mkpath(QFileInfo(program).path()));
    QVERIFY(QFile::copy(QStringLiteral(PELUMO_BINARY), program));
    if (box != u"route warning")
        QVERIFY(QFile::copy(QFINDTESTDATA("../assets/routes.dat"),
                            dir.filePath(QStringLiteral("program/routes.dat"))));
    const QString folder = dir.filePath(QStringLiteral("config/Quillmere"));
    QVERIFY(QDir().mkpath(folder));
    const QString store = folder + QStringLiteral("/pelumo.conf");
    const QByteArray card("[pelumo.exe]\nCardType=3\nLanguage=1\nPurseValue=55.50\n");
    QVERIFY(writeAll(store, card));
    const QString lock = folder + QStringLiteral("/pelumo.lock");
    QLockFile running(lock); // the first copy, for the second to find
    if (box == u"second copy")
        QVERIFY(running.tryLock());

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);

    // The lock is taken after the handlers are in place: once it is there, a signal is
    // the program's to handle.
    QFileSystemWatcher watcher({folder});
    QSignalSpy changed(&watcher, &QFileSystemWatcher::directoryChanged);
    p.start(program);
    QVERIFY(p.waitForStarted());
    if (box == u"second copy") {
        // Its notice is up at once; the handlers come just before it.
        for (int i = 0; i < 500 && !catches(p.processId(), signal); ++i)
            QVERIFY2(!p.waitForFinished(10), p.readAll().constData());
    } else {
        for (int i = 0; i < 100 && !QFileInfo::exists(lock) && p.state() == QProcess::Running; ++i)
            changed.wait(100);
        QVERIFY2(QFileInfo::exists(lock), p.readAll().constData());
    }
    QCOMPARE(::kill(pid_t(p.processId()), signal), 0);

    // A box that held the signal back would hold the program up for good.
    QVERIFY2(p.waitForFinished(box.isEmpty() ? 30000 : 10000), qPrintable(box));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), box == u"second copy" ? 1 : 0);
    if (box == u"second copy") {
        QCOMPARE(readAll(store), card);
        return;
    }
    QVERIFY(!QFileInfo::exists(lock));
    QSettings::SettingsMap map;
    QVERIFY(StoreFile::read(readAll(store), map));
    QCOMPARE(map.value(QStringLiteral("pelumo.exe/CardType")).toString(), QStringLiteral("3"));
    QCOMPARE(map.value(QStringLiteral("pelumo.exe/Language")).toString(), QStringLiteral("1"));
    QCOMPARE(map.value(QStringLiteral("pelumo.exe/PurseValue")).toDouble(), 55.5);
}

QTEST_MAIN(TestHardening)
#include "tst_hardening.moc"
