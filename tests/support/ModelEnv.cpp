#include "support/ModelEnv.h"

#include "common/Clock.h"
#include "common/Timer.h"
#include "platform/AppPaths.h"
#include "platform/InterfaceLanguage.h"
#include "platform/Settings.h"
#include "support/FakeDesktop.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QSettings>

ModelEnv::ModelEnv(const QString& routes) : m_desktop(new FakeDesktop)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_config.path());
    Settings::reset();          // read from the new place when first used
    Settings::setLockWaitMs(0); // a lock in the way is met at once, not after real seconds
    AppPaths::setProgramDir(m_dir.path());
    // Where a program directory that cannot be written sends its files: never the real home.
    AppPaths::setUserDataDir(m_config.filePath(QStringLiteral("data")));
    Desktop::install(m_desktop);
    // The texts the tests compare are the Chinese ones, whatever language the machine
    // speaks; a test that wants English stores the choice or applies it.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::Taiwan));
    if (InterfaceLanguage::current() != UiLanguage::Chinese)
        InterfaceLanguage::apply(UiLanguage::Chinese);
    VirtualTime::install(startTime());
    if (!routes.isNull())
        writeFile(QStringLiteral("routes.dat"), routes.toUtf8());
}

ModelEnv::~ModelEnv()
{
    VirtualTime::uninstall();
    Desktop::install(nullptr);
    Settings::setLockWaitMs(Settings::LockWaitMs);
    AppPaths::setProgramDir(QString());
    AppPaths::setUserDataDir(QString());
}

QDateTime ModelEnv::startTime()
{
    return QDateTime(QDate(2026, 12, 6), QTime(6, 10, 5));
}

QString ModelEnv::file(const QString& name) const
{
    return m_dir.filePath(name);
}

void ModelEnv::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray ModelEnv::readShipped(const QString& name)
{
    QFile f(QStringLiteral(PELUMO_SOURCE_DIR "/assets/") + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("no shipped file %s", qPrintable(name));
    return f.readAll();
}

QByteArray ModelEnv::readFile(const QString& name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString ModelEnv::stored(const QString& key)
{
    return Settings::Read(key, QStringLiteral("<absent>"));
}

void ModelEnv::store(const QString& key, const QString& text)
{
    Settings::Write(key, text);
    Settings::flush(); // on disk at once, as at the end of the step
}

void ModelEnv::advance(qint64 ms)
{
    VirtualTime::advance(ms);
}

QObject* ModelEnv::findObject(const QObject* root, const QString& name, const QMetaObject* type)
{
    for (QObject* o : root->findChildren<QObject*>(name))
        if (type->cast(o))
            return o;
    qFatal("no %s named %s", type->className(), qPrintable(name));
}

Timer* ModelEnv::timer(const QObject* root, const QString& name)
{
    return find<Timer>(root, name);
}

Key ModelEnv::keyFor(const QString& labelOrName)
{
    static const QHash<QString, QString> byLabel = {
        {QStringLiteral("SHIFT"), QStringLiteral("imgShift")},
        {QStringLiteral("開/關"), QStringLiteral("imgOF")},
    };
    const QString name = byLabel.value(labelOrName, labelOrName);
    for (const KeyInfo& k : Keys::all())
        if (name == QLatin1String(k.name) || name == QString::fromUtf16(k.caption))
            return k.key;
    qFatal("no console key %s", qPrintable(labelOrName));
}
