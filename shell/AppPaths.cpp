#include "shell/AppPaths.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString& overrideDir()
{
    static QString dir;
    return dir;
}

} // namespace

QString AppPaths::programDir()
{
    if (!overrideDir().isEmpty())
        return overrideDir();
    return QCoreApplication::applicationDirPath();
}

void AppPaths::setProgramDir(const QString& dir)
{
    overrideDir() = dir;
}

QString AppPaths::routesFile()
{
    return QDir(programDir()).filePath(QStringLiteral("routes.dat"));
}

QString AppPaths::logFile()
{
    return QDir(programDir()).filePath(QStringLiteral("log.txt"));
}

QString AppPaths::helpFile()
{
    return QDir(programDir()).filePath(QStringLiteral("temphelp.html"));
}
