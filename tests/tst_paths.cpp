#include "ddu/Console.h"
#include "platform/AppPaths.h"
#include "platform/Desktop.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A directory this process cannot create files in. Permission bits do not stop root, so
// when they turn out not to, fall back on procfs, which takes no new files from anyone.
QString unwritableDir(const QTemporaryDir& scratch)
{
    const QString dir = scratch.filePath(QStringLiteral("installed"));
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                   | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    if (!AppPaths::canCreateFilesIn(dir))
        return dir;
    if (QFileInfo(QStringLiteral("/proc")).isDir() && !AppPaths::canCreateFilesIn(QStringLiteral("/proc")))
        return QStringLiteral("/proc");
    return QString();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Where the program keeps its files for one test: a program directory that can or cannot
// be written, and a per-user data directory that does not exist yet.
class Place {
public:
    explicit Place(bool programWritable)
    {
        m_user = m_scratch.filePath(QStringLiteral("share/Quillmere/pelumo"));
        m_program = programWritable ? m_scratch.filePath(QStringLiteral("bin"))
                                    : unwritableDir(m_scratch);
        if (programWritable)
            QDir().mkpath(m_program);
        AppPaths::setUserDataDir(m_user);
        if (!m_program.isEmpty())
            AppPaths::setProgramDir(m_program);
    }
    ~Place()
    {
        const QString dir = m_scratch.filePath(QStringLiteral("installed"));
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        AppPaths::setUserDataDir(QString());
        AppPaths::setProgramDir(QString());
    }
    bool usable() const { return !m_program.isEmpty(); }
    QString program() const { return m_program; }
    QString user() const { return m_user; }

private:
    QTemporaryDir m_scratch;
    QString m_program;
    QString m_user;
};

} // namespace

class TestPaths : public QObject {
    Q_OBJECT
private slots:
    void choose_data();
    void choose();
    void probe_data();
    void probe();
    void files_data();
    void files();
    void outputAndViewerFollowTheWrittenLog_data();
    void outputAndViewerFollowTheWrittenLog();
};

void TestPaths::choose_data()
{
    QTest::addColumn<bool>("programWritable");
    QTest::addColumn<bool>("userRoutes");
    QTest::addColumn<QString>("writeDir");
    QTest::addColumn<QString>("routes");

    QTest::newRow("own copy") << true << false << "/p" << "/p/routes.dat";
    QTest::newRow("own copy ignores the user's routes") << true << true << "/p" << "/p/routes.dat";
    QTest::newRow("installed, user's routes") << false << true << "/u" << "/u/routes.dat";
    QTest::newRow("installed, shipped routes") << false << false << "/u" << "/p/routes.dat";
}

void TestPaths::choose()
{
    QFETCH(bool, programWritable);
    QFETCH(bool, userRoutes);
    const AppPaths::Choice c = AppPaths::choose(QStringLiteral("/p"), QStringLiteral("/u"),
                                                programWritable, userRoutes);
    QTEST(c.writeDir, "writeDir");
    QTEST(c.routesFile, "routes");
}

void TestPaths::probe_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("expected");
    QTest::newRow("plain directory") << "plain" << true;
    QTest::newRow("missing directory") << "missing" << false;
    QTest::newRow("a file, not a directory") << "file" << false;
    QTest::newRow("directory that cannot be written") << "unwritable" << false;
}

void TestPaths::probe()
{
    QFETCH(QString, kind);
    QTemporaryDir scratch;
    QString dir = scratch.path();
    if (kind == QLatin1String("missing")) {
        dir = scratch.filePath(QStringLiteral("nowhere"));
    } else if (kind == QLatin1String("file")) {
        dir = scratch.filePath(QStringLiteral("routes.dat"));
        writeFile(dir, "1#A#1\r\n");
    } else if (kind == QLatin1String("unwritable")) {
        dir = unwritableDir(scratch);
        if (dir.isEmpty())
            QSKIP("no directory here refuses new files to this user");
    }
    QTEST(AppPaths::canCreateFilesIn(dir), "expected");
    // The probe leaves nothing behind.
    if (kind == QLatin1String("plain"))
        QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    QFile::setPermissions(scratch.filePath(QStringLiteral("installed")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestPaths::files_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("userRoutes");
    QTest::addColumn<bool>("filesInUserDir");
    QTest::addColumn<bool>("routesFromUserDir");

    QTest::newRow("own copy") << "writable" << false << false << false;
    QTest::newRow("own copy, user's routes ignored") << "writable" << true << false << false;
    QTest::newRow("installed, shipped routes") << "unwritable" << false << true << false;
    QTest::newRow("installed, user's routes") << "unwritable" << true << true << true;
    // Nothing to install there either: writing fails where it always did, with its warning.
    QTest::newRow("missing program directory") << "missing" << true << false << false;
}

void TestPaths::files()
{
    QFETCH(QString, program);
    QFETCH(bool, userRoutes);
    QFETCH(bool, filesInUserDir);
    QFETCH(bool, routesFromUserDir);

    Place place(program != QLatin1String("unwritable"));
    if (!place.usable())
        QSKIP("no directory here refuses new files to this user");
    if (program == QLatin1String("missing"))
        QVERIFY(QDir(place.program()).removeRecursively());
    if (userRoutes) {
        QDir().mkpath(place.user());
        writeFile(place.user() + QStringLiteral("/routes.dat"), "7#X#1\r\n");
    }

    const QString writeDir = filesInUserDir ? place.user() : place.program();
    const QString routesDir = routesFromUserDir ? place.user() : place.program();
    QCOMPARE(AppPaths::routesFile(), routesDir + QStringLiteral("/routes.dat"));
    QCOMPARE(AppPaths::logFile(), writeDir + QStringLiteral("/log.txt"));
    QCOMPARE(AppPaths::helpFile(), writeDir + QStringLiteral("/temphelp.html"));
    // The user's directory is made only when it is needed.
    QCOMPARE(QFileInfo(place.user()).isDir(), filesInUserDir || userRoutes);
}

void TestPaths::outputAndViewerFollowTheWrittenLog_data()
{
    QTest::addColumn<bool>("programWritable");
    QTest::newRow("own copy") << true;
    QTest::newRow("installed") << false;
}

void TestPaths::outputAndViewerFollowTheWrittenLog()
{
    QFETCH(bool, programWritable);
    TestEnv env;
    Place place(programWritable);
    if (!place.usable())
        QSKIP("no directory here refuses new files to this user");
    if (!programWritable) {
        // An installed copy with the user's own route table.
        QDir().mkpath(place.user());
        writeFile(place.user() + QStringLiteral("/routes.dat"), "2X#東公園#9.10\r\n");
    } else {
        writeFile(place.program() + QStringLiteral("/routes.dat"), "12#北門#5.40\r\n");
    }

    auto w = env.start();
    Console* c = w->console();
    QCOMPARE(c->routes().lines().size(), 1);
    QVERIFY(c->routes().lines().first().startsWith(programWritable ? "12#" : "2X#"));
    c->output();

    const QString dir = programWritable ? place.program() : place.user();
    const QString log = dir + QStringLiteral("/log.txt");
    QFile f(log);
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(log));
    QVERIFY(f.readAll().contains(" Start Logging\r\n"));
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), 0);
    if (!programWritable)
        QVERIFY(!QFileInfo::exists(place.program() + QStringLiteral("/log.txt")));

    TestEnv::action(w.get(), QStringLiteral("mnuViewOutput"))->trigger();
    QCOMPARE(env.desktop().texts(QStringLiteral("openFile")), QStringList{log});
}

QTEST_MAIN(TestPaths)
#include "tst_paths.moc"
