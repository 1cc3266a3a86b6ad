#include "platform/SingleCopy.h"

#include "platform/StoreFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

SingleCopy::SingleCopy(const QString& lockPath) : m_lock(std::make_unique<QLockFile>(lockPath))
{
    // Held for as long as the program runs, however long: only a lock whose process has
    // gone is stale, never one that is merely old.
    m_lock->setStaleLockTime(0);
    QDir().mkpath(QFileInfo(lockPath).absolutePath());
    if (m_lock->tryLock(100)) {
        m_result = Result::Acquired;
        return;
    }
    switch (m_lock->error()) {
    case QLockFile::LockFailedError:
        m_result = Result::Running;
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

QString SingleCopy::defaultPath()
{
    return QFileInfo(StoreFile::path()).absoluteDir().filePath(QStringLiteral("pelumo.lock"));
}

QString SingleCopy::runningMessage()
{
    return QCoreApplication::translate("SingleCopy",
                                       "巴士Pelumo機模擬器已經在執行中。\n請使用已開啟的視窗；"
                                       "同一使用者一次只可以執行一個模擬器。");
}
