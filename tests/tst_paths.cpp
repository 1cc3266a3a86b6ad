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
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                   QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    if (!AppPaths::canCreateFilesIn(dir))
        return dir;
    if (QFileInfo(QStringLiteral("/proc")).isDir() &&
        !AppPaths::canCreateFilesIn(QStringLiteral("/proc")))
        return QStringLiteral("/proc");
    return QString();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Where the program keeps its files for one test: the build's copy in a directory that can
// or cannot be written, or an installed copy, and a per-user data directory that does not
// exist yet.
class Place {
public:
    explicit Place(const QString& kind)
    {
        m_user = m_scratch.filePath(QStringLiteral("share/Quillmere/pelumo"));
        if (kind == u"read-only") {
            m_program = unwritableDir(m_scratch);
        } else {
            m_program = m_scratch.filePath(QStringLiteral("bin"));
            QDir().mkpath(m_program);
        }
        if (kind == u"installed")
            writeFile(m_program + u'/' + AppPaths::InstalledMarker, "");
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
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("userRoutes");
    QTest::addColumn<QString>("writeDir");
    QTest::addColumn<QString>("routes");

    QTest::newRow("own copy") << false << false << "/p"
                              << "/p/routes.dat";
    QTest::newRow("own copy ignores the user's routes") << false << true << "/p"
                                                        << "/p/routes.dat";
    QTest::newRow("installed, user's routes") << true << true << "/u"
                                              << "/u/routes.dat";
    QTest::newRow("installed, shipped routes") << true << false << "/u"
                                               << "/p/routes.dat";
}

void TestPaths::choose()
{
    QFETCH(bool, installed);
    QFETCH(bool, userRoutes);
    const AppPaths::Choice c =
        AppPaths::choose(QStringLiteral("/p"), QStringLiteral("/u"), installed, userRoutes);
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

    QTest::newRow("own copy") << "own" << false << false << false;
    QTest::newRow("own copy, user's routes ignored") << "own" << true << false << false;
    // Not installed, so its files stay with it: writing fails there, with its warning.
    QTest::newRow("own copy in a directory it cannot write")
        << "read-only" << true << false << false;
    QTest::newRow("missing program directory") << "missing" << true << false << false;
    // Installed, so the user's directory, though the program's could be written.
    QTest::newRow("installed, shipped routes") << "installed" << false << true << false;
    QTest::newRow("installed, user's routes") << "installed" << true << true << true;
}

void TestPaths::files()
{
    QFETCH(QString, program);
    QFETCH(bool, userRoutes);
    QFETCH(bool, filesInUserDir);
    QFETCH(bool, routesFromUserDir);

    Place place(program);
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
    QTest::addColumn<bool>("installed");
    QTest::newRow("own copy") << false;
    QTest::newRow("installed") << true;
}

void TestPaths::outputAndViewerFollowTheWrittenLog()
{
    QFETCH(bool, installed);
    TestEnv env;
    Place place(installed ? QStringLiteral("installed") : QStringLiteral("own"));
    if (installed) {
        // An installed copy with the user's own route table.
        QDir().mkpath(place.user());
        writeFile(place.user() + QStringLiteral("/routes.dat"), "2X#東公園#9.10\r\n");
    } else {
        writeFile(place.program() + QStringLiteral("/routes.dat"), "12#北門#5.40\r\n");
    }

    auto w = env.start();
    Console* c = w->console();
    QCOMPARE(c->routes().lines().size(), 1);
    QVERIFY(c->routes().lines().value(0).startsWith(installed ? "2X#" : "12#"));
    c->output();

    const QString dir = installed ? place.user() : place.program();
    const QString log = dir + QStringLiteral("/log.txt");
    QFile f(log);
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(log));
    QVERIFY(f.readAll().contains(" Start Logging\r\n"));
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), 0);
    if (installed)
        QVERIFY(!QFileInfo::exists(place.program() + QStringLiteral("/log.txt")));

    TestEnv::action(w.get(), QStringLiteral("mnuViewOutput"))->trigger();
    QCOMPARE(env.desktop().texts(QStringLiteral("openFile")), QStringList{log});
}

QTEST_MAIN(TestPaths)
#include "tst_paths.moc"
