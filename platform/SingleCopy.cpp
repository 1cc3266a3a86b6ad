#include "platform/SingleCopy.h"

#include "platform/StoreFile.h"

#include "common/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

enum class Holder { Another, None, NoFile };

// Who holds the lock file at `path`: every copy keeps an flock on its lock for as long as
// it runs. A regular file no one holds is a lock left behind whatever it says (empty, cut
// short by a crash, or naming a process that is not ours); a folder, a link or anything
// else in its place is no lock file at all.
Holder holder(const QString& path)
{
    const SafeFile::Descriptor fd =
        SafeFile::openRegular(path, O_RDONLY, SafeFile::Links::Refuse, nullptr);
    if (!fd.valid())
        return Holder::NoFile;
    return ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK ? Holder::Another
                                                                             : Holder::None;
}

} // namespace

SingleCopy::SingleCopy(const QString& lockPath) : m_lock(std::make_unique<QLockFile>(lockPath))
{
    // Held for as long as the program runs, however long: only a lock whose process has
    // gone is stale, never one that is merely old.
    m_lock->setStaleLockTime(0);
    QDir().mkpath(QFileInfo(lockPath).absolutePath());
    // Qt reads what stands there to find its owner: a FIFO would hold the start up for ever.
    if (SafeFile::otherThanFile(lockPath)) {
        unusableLock(lockPath);
        return;
    }
    if (m_lock->tryLock(100)) {
        m_result = Result::Acquired;
        return;
    }
    switch (m_lock->error()) {
    case QLockFile::LockFailedError:
        switch (holder(lockPath)) {
        case Holder::Another:
            m_result = Result::Running;
            return;
        case Holder::None:
            // Taken over as Qt takes over a lock whose process has gone.
            if (m_lock->removeStaleLockFile() && m_lock->tryLock(0)) {
                m_result = Result::Acquired;
                return;
            }
            break;
        case Holder::NoFile:
            break;
        }
        unusableLock(lockPath);
        break;
    case QLockFile::PermissionError:
        m_error = QCoreApplication::translate("SingleCopy", "不能在 %1 建立檔案")
                      .arg(QDir::toNativeSeparators(QFileInfo(lockPath).absolutePath()));
        break;
    default:
        m_error = QCoreApplication::translate("SingleCopy", "原因不明");
        break;
    }
}

void SingleCopy::unusableLock(const QString& lockPath)
{
    // Left as it is: it may be anything of the user's. The program runs without a lock and
    // says which file stands in the way.
    m_error = QCoreApplication::translate("SingleCopy", "%1 不是可以使用的鎖定檔案")
                  .arg(QDir::toNativeSeparators(lockPath));
    m_unusable = true;
}

QString SingleCopy::defaultPath()
{
    return QFileInfo(StoreFile::path()).absoluteDir().filePath(QStringLiteral("pelumo.lock"));
}

QString SingleCopy::unusableMessage() const
{
    return QCoreApplication::translate("SingleCopy",
                                       "沒有防止同時執行兩個模擬器的鎖定（%1）。\n"
                                       "請刪除這個檔案；在此之前，請不要同時開啟兩個模擬器。")
        .arg(m_error);
}

QString SingleCopy::runningMessage()
{
    return QCoreApplication::translate("SingleCopy",
                                       "巴士Pelumo機模擬器已經在執行中。\n請使用已開啟的視窗；"
                                       "同一使用者一次只可以執行一個模擬器。");
}
