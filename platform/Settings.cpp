#include "platform/Settings.h"

#include "common/Numbers.h"
#include "common/SafeFile.h"
#include "platform/Desktop.h"
#include "platform/InterfaceLanguage.h"
#include "platform/StoreFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QLockFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>
#include <unistd.h>

namespace {

const QString Group = QStringLiteral("pelumo.exe");

struct Store {
    bool loaded = false;
    bool dirty = false;       // changed since the last write
    bool flushQueued = false; // a write waits for the current step to end
    bool writable = true;     // false: the file is left as it is, whatever changes
    bool warned = false;      // one warning a run is enough
    bool unsaved = false;     // a write failed: the next one saves every value again
    QString path;
    QHash<QString, QString> values; // the group's keys, as read and as changed since
};

Store& store()
{
    static Store s;
    return s;
}

void warnOnce(const QString& text)
{
    Store& s = store();
    if (s.warned)
        return;
    s.warned = true;
    Desktop::instance().warn(text);
}

// A store that cannot be used as it is: warned about, and never written.
void refuse(const QString& reason)
{
    Store& s = store();
    s.writable = false;
    s.values.clear();
    warnOnce(QCoreApplication::translate(
                 "Settings", "不能讀取設定檔案 %1（%2）。\n這次使用預設值，設定的變更不會儲存，"
                             "檔案保持原狀。")
                 .arg(QDir::toNativeSeparators(s.path), reason));
}

// Why the store at `path` cannot be read whole, or nothing when it can or when there is
// none yet. Looked at before QSettings opens it: opening a FIFO would wait for a writer,
// and a directory, a device or a huge file is no store of this program.
QString unreadable(const QString& path)
{
    const SafeFile::Contents file = SafeFile::read(path, StoreFile::MaxBytes);
    if (file.missing)
        return QString();
    if (!file.error.isEmpty())
        return file.error;
    QSettings::SettingsMap map;
    QString error;
    return StoreFile::read(file.bytes, map, &error) ? QString() : error;
}

// Why QSettings could not read the store whole after all, if it could not: the file may
// have changed since the look above. (An access error here comes from QSettings trying
// again to write changes an earlier write could not save; it says nothing of reading.)
QString readFailure(const QSettings& q)
{
    return q.status() == QSettings::FormatError ? StoreFile::lastReadError() : QString();
}

int& lockWait()
{
    static int ms = Settings::LockWaitMs;
    return ms;
}

// QSettings waits for its lock beside the store ("pelumo.conf.lock") without end: a folder
// or a FIFO of that name, or a lock another program never lets go of, would hang every
// save. The lock is taken here first, for a bounded time, and let go again at once; its
// path, when it could not be taken.
QString lockNotTaken(const QString& path)
{
    QLockFile lock(path + QStringLiteral(".lock"));
    // Qt reads what stands there to find its owner: a FIFO would never answer.
    if (SafeFile::otherThanFile(lock.fileName()))
        return lock.fileName();
    if (lock.tryLock(lockWait()) || lock.error() != QLockFile::LockFailedError)
        return QString(); // taken, or QSettings fails at once and the reason is found then
    return lock.fileName();
}

// QSettings does not tell why it could not write: a file created beside the store, or in
// the nearest folder that exists, tells.
QString writeFailure(const QString& path)
{
    QFileInfo folder(QFileInfo(path).absolutePath());
    while (!folder.exists() && !folder.isRoot())
        folder.setFile(folder.absolutePath());
    if (!folder.isDir())
        return QCoreApplication::translate("Settings", "%1 不是資料夾")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    QTemporaryFile probe(QDir(folder.filePath()).filePath(QStringLiteral(".pelumo-XXXXXX")));
    if (!probe.open())
        return probe.errorString();
    // A full disk still lets an empty file be made; writing the store's worth to it, and
    // to the disk, tells.
    // Written directly: a short write is where the reason shows, and QFile keeps none.
    const QByteArray filler(std::max<qint64>(QFileInfo(path).size(), 4096) + 4096, '\n');
    for (qsizetype done = 0; done < filler.size();) {
        const ssize_t n =
            ::write(probe.handle(), filler.constData() + done, size_t(filler.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return qt_error_string(n < 0 ? errno : ENOSPC);
        done += n;
    }
    if (::fsync(probe.handle()) != 0)
        return qt_error_string(errno);
    QFile f(path);
    if (f.exists() && !f.open(QIODevice::ReadWrite))
        return f.errorString();
    return QCoreApplication::translate("Settings", "原因不明");
}

} // namespace

void Settings::load()
{
    Store& s = store();
    if (s.loaded)
        return;
    s = Store();
    s.loaded = true;
    s.path = StoreFile::path();
    const QString problem = unreadable(s.path);
    if (!problem.isEmpty())
        return refuse(problem);
    QSettings q(s.path, StoreFile::format());
    if (const QString failure = readFailure(q); !failure.isEmpty())
        return refuse(failure);
    q.beginGroup(Group);
    for (const QString& key : q.childKeys())
        s.values.insert(key, q.value(key).toString());
}

void Settings::reset()
{
    store() = Store();
}

QString Settings::Read(const QString& key, const QString& defaultText)
{
    load();
    const Store& s = store();
    const auto it = s.values.constFind(key);
    return it == s.values.constEnd() ? defaultText : it.value();
}

void Settings::Write(const QString& key, const QString& text)
{
    load();
    Store& s = store();
    const auto it = s.values.constFind(key);
    if (it != s.values.constEnd() && it.value() == text)
        return;
    s.values.insert(key, text);
    if (!s.writable)
        return;
    s.dirty = true;
    if (s.flushQueued)
        return;
    // Without an event loop there is no step to wait for.
    if (!QCoreApplication::instance())
        return flush();
    s.flushQueued = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), &Settings::flush, Qt::QueuedConnection);
}

namespace {

QString unsavedMessage(const QString& path, const QString& reason)
{
    return QCoreApplication::translate("Settings",
                                       "不能寫入設定檔案 %1（%2）。\n設定的變更沒有儲存。")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

void Settings::flush()
{
    Store& s = store();
    s.flushQueued = false;
    if (!s.loaded || !s.writable || (!s.dirty && !s.unsaved))
        return;
    s.dirty = false;

    // Looked at again first: a file that has changed since and cannot be read whole now
    // is not written over either. (QSettings, failing to read it, would write all the
    // same, with nothing but the values set here.)
    auto stop = [&s](const QString& why) {
        s.writable = false;
        warnOnce(QCoreApplication::translate(
                     "Settings", "不能讀取設定檔案 %1（%2）。\n設定的變更不會儲存，檔案保持原狀。")
                     .arg(QDir::toNativeSeparators(s.path), why));
    };
    if (const QString problem = unreadable(s.path); !problem.isEmpty())
        return stop(problem);
    if (const QString lock = lockNotTaken(s.path); !lock.isEmpty()) {
        s.unsaved = true; // tried again at the next change and at the end
        warnOnce(
            unsavedMessage(s.path, QCoreApplication::translate("Settings", "無法取得鎖定檔案 %1")
                                       .arg(QDir::toNativeSeparators(lock))));
        return;
    }
    QSettings q(s.path, StoreFile::format());
    if (const QString failure = readFailure(q); !failure.isEmpty())
        return stop(failure);
    // Every value, not only the changed ones: a change whose write failed is saved now.
    q.beginGroup(Group);
    for (auto v = s.values.cbegin(); v != s.values.cend(); ++v)
        q.setValue(v.key(), v.value());
    q.endGroup();
    q.sync();
    s.unsaved = q.status() != QSettings::NoError;
    const QString refused = StoreFile::takeWriteError();
    if (s.unsaved)
        warnOnce(unsavedMessage(s.path, refused.isEmpty() ? writeFailure(s.path) : refused));
}

void Settings::setLockWaitMs(int ms)
{
    lockWait() = ms;
}

int Settings::loadtimeMs()
{
    return loadtimeMs(Read(Loadtime, QStringLiteral("20000")));
}

int Settings::loadtimeMs(const QString& stored)
{
    // A number with a fraction or an exponent is rounded, halves to even; a text that is
    // no number takes the default.
    const std::optional<double> v = Numbers::decimal(stored);
    if (!v)
        return 20000;
    return static_cast<int>(std::clamp(std::nearbyint(*v), 5000.0, 30000.0));
}

void Settings::setLoadtimeMs(int ms)
{
    Write(Loadtime, QString::number(ms));
}

QString Settings::lastRoute()
{
    return Read(Lastroute, QString());
}

void Settings::setLastRoute(const QString& route)
{
    Write(Lastroute, route);
}

Settings::Card Settings::card()
{
    const double purse = Numbers::leadingNumber(Read(PurseValue, QStringLiteral("100")));
    const qint16 type =
        Numbers::roundToInt16(Numbers::leadingNumber(Read(CardType, QStringLiteral("0"))))
            .value_or(0);
    const auto lang = Numbers::decimal(Read(Language, QStringLiteral("0")));
    Card c;
    // The range is judged on the value as stored, before it is taken to the cent.
    c.purse = (purse < -35 || purse > 999.9) ? Money::dollars(100) : Money::fromDouble(purse);
    c.type = (type > 4 || type < 0) ? ::CardType::Adult : ::CardType(type);
    c.language = cardLanguage(lang ? Numbers::roundToInt16(*lang).value_or(0) : 0);
    return c;
}

void Settings::setCard(const QString& purseText, ::CardType type, CardLanguage language)
{
    Write(PurseValue, purseText);
    Write(CardType, QString::number(int(type)));
    Write(Language, QString::number(int(language)));
}

std::optional<QRect> Settings::windowGeometry()
{
    const QStringList parts = Read(WindowGeometry, QString()).split(u',');
    if (parts.size() != 4)
        return std::nullopt;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (v[2] <= 0 || v[3] <= 0)
        return std::nullopt;
    return QRect(v[0], v[1], v[2], v[3]);
}

void Settings::setWindowGeometry(const QRect& r)
{
    Write(WindowGeometry,
          QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()));
}

bool Settings::windowMaximized()
{
    return Read(WindowMaximized, QStringLiteral("0")).trimmed() == QLatin1String("1");
}

void Settings::setWindowMaximized(bool maximized)
{
    Write(WindowMaximized, maximized ? QStringLiteral("1") : QStringLiteral("0"));
}

int Settings::zoomPercent()
{
    bool ok = false;
    const int z = Read(Zoom, QStringLiteral("100")).trimmed().toInt(&ok);
    return ok && std::find(std::begin(Zooms), std::end(Zooms), z) != std::end(Zooms) ? z : 100;
}

void Settings::setZoomPercent(int percent)
{
    Write(Zoom, QString::number(percent));
}

UiLanguage Settings::uiLanguage()
{
    const QString stored = Read(Interface, QString()).trimmed();
    if (stored == QLatin1String("en"))
        return UiLanguage::English;
    if (stored == QLatin1String("zh_TW"))
        return UiLanguage::Chinese;
    return InterfaceLanguage::forLocale(QLocale());
}

void Settings::setUiLanguage(UiLanguage language)
{
    Write(Interface,
          language == UiLanguage::English ? QStringLiteral("en") : QStringLiteral("zh_TW"));
}
