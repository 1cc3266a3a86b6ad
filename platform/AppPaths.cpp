#include "platform/AppPaths.h"

#include "platform/StoreFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

QString& programDirOverride()
{
    static QString dir;
    return dir;
}

QString& userDirOverride()
{
    static QString dir;
    return dir;
}

const QString RoutesName = QStringLiteral("routes.dat");

} // namespace

QString AppPaths::programDir()
{
    if (!programDirOverride().isEmpty())
        return programDirOverride();
    return QCoreApplication::applicationDirPath();
}

void AppPaths::setProgramDir(const QString& dir)
{
    programDirOverride() = dir;
}

QString AppPaths::userDataDir()
{
    if (!userDirOverride().isEmpty())
        return userDirOverride();
    // Spelled out rather than AppDataLocation, which would follow whatever organisation
    // and application names the running executable happens to carry (tests included).
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Quillmere/pelumo");
}

void AppPaths::setUserDataDir(const QString& dir)
{
    userDirOverride() = dir;
}

AppPaths::Choice AppPaths::choose(const QString& programDir, const QString& userDir, bool installed,
                                  bool userRoutesExist)
{
    if (!installed)
        return {programDir, QDir(programDir).filePath(RoutesName)};
    const QString routesDir = userRoutesExist ? userDir : programDir;
    return {userDir, QDir(routesDir).filePath(RoutesName)};
}

bool AppPaths::canCreateFilesIn(const QString& dir)
{
    if (!QFileInfo(dir).isDir())
        return false;
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".pelumo-probe-XXXXXX")));
    return probe.open(); // removed again when the probe goes
}

bool AppPaths::installed()
{
    return QFileInfo::exists(QDir(programDir()).filePath(InstalledMarker));
}

namespace {

AppPaths::Choice current()
{
    const QString program = AppPaths::programDir();
    const QString user = AppPaths::userDataDir();
    const bool installed = AppPaths::installed();
    const bool userRoutes = installed && QFileInfo::exists(QDir(user).filePath(RoutesName));
    return AppPaths::choose(program, user, installed, userRoutes);
}

} // namespace

QString AppPaths::writeDir()
{
    const QString dir = current().writeDir;
    if (dir != programDir())
        QDir().mkpath(dir); // a failure shows when the file itself cannot be written
    return dir;
}

QString AppPaths::routesFile()
{
    return current().routesFile;
}

QString AppPaths::logFile()
{
    return QDir(writeDir()).filePath(QStringLiteral("log.txt"));
}

QString AppPaths::keptLogFile()
{
    return QFileInfo(StoreFile::path()).dir().filePath(QStringLiteral("unwritten-log.txt"));
}

QString AppPaths::journalFile()
{
    return QDir(userDataDir()).filePath(QStringLiteral("journal/journal.sqlite"));
}

QString AppPaths::helpFile()
{
    return QDir(writeDir()).filePath(QStringLiteral("temphelp.html"));
}
