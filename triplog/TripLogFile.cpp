#include "triplog/TripLogFile.h"

#include "common/SafeFile.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TripLogFile {

namespace {

// A day's trip log is a few hundred kilobytes; a kept file far larger is none of ours.
constexpr qint64 MaxKeptBytes = 64 * 1024 * 1024;

// Another copy's output takes milliseconds; a lock held much longer than that is not one,
// and the block is better kept for the next output than the program held up.
bool lockWithin(int fd, int totalMs)
{
    const timespec step{0, 10 * 1000 * 1000};
    for (int waited = 0;; waited += 10) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= totalMs)
            return false;
        ::nanosleep(&step, nullptr);
    }
}

} // namespace

bool append(const QString& path, const QString& text, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    // Never through a link: in a program directory others can write to, a link planted
    // as log.txt would have the trip log appended to any file of the user's. Closing the
    // descriptor at the end also lets go of the lock.
    QString why;
    const SafeFile::Descriptor fd = SafeFile::openRegular(path, O_RDWR | O_APPEND | O_CREAT,
                                                          SafeFile::Links::Refuse, &why, 0666);
    if (!fd.valid())
        return fail(why);
    // Opened non-blocking so that a FIFO in its place is refused instead of waited on;
    // the writes below are better blocking.
    ::fcntl(fd.get(), F_SETFL, O_APPEND);
    if (!lockWithin(fd.get(), 5000))
        return fail(errno == EWOULDBLOCK
                        ? QCoreApplication::translate("TripLogFile", "另一個程式正在寫入這個檔案")
                        : qt_error_string(errno));

    // Measured under the lock: another copy may have appended since the file was opened.
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return fail(qt_error_string(errno));
    const off_t oldSize = st.st_size;
    QByteArray bytes = text.toUtf8();
    if (oldSize > 0) {
        char last = 0;
        if (::pread(fd.get(), &last, 1, oldSize - 1) == 1 && last != '\n' && last != '\r')
            bytes.prepend("\r\n");
    }
    // A disk that fills up takes part of the block without an error; the next write then
    // fails and says why.
    qsizetype done = 0;
    int writeErrno = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            writeErrno = n < 0 ? errno : ENOSPC;
            break;
        }
        done += n;
    }
    if (writeErrno == 0 && ::fsync(fd.get()) != 0)
        writeErrno = errno;
    if (writeErrno != 0) {
        // Leave no half-written block behind: it will be written whole next time. The
        // lock is still held, so nothing of another copy's is cut off with it.
        const int cut = ::ftruncate(fd.get(), oldSize);
        Q_UNUSED(cut) // the reason to give is the first failure
        return fail(qt_error_string(writeErrno));
    }
    // Once fsync has succeeded the block is on disk, whatever closing says.
    return true;
}

bool keep(const QString& path, const QString& text, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QString part = path + QStringLiteral(".part");
    const QByteArray partName = QFile::encodeName(part);
    ::unlink(partName.constData()); // a part left by a run that ended midway
    QString why;
    const SafeFile::Descriptor fd = SafeFile::openRegular(part, O_WRONLY | O_CREAT | O_EXCL,
                                                          SafeFile::Links::Refuse, &why, 0600);
    if (!fd.valid())
        return fail(why);
    ::fcntl(fd.get(), F_SETFL, 0);
    const QByteArray bytes = text.toUtf8();
    qsizetype done = 0;
    int writeErrno = 0;
    while (done < bytes.size() && writeErrno == 0) {
        const ssize_t n = ::write(fd.get(), bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (!(n < 0 && errno == EINTR))
            writeErrno = n < 0 ? errno : ENOSPC;
    }
    if (writeErrno == 0 && ::fsync(fd.get()) != 0)
        writeErrno = errno;
    // rename() replaces a link itself, never the file it points to.
    if (writeErrno == 0 && ::rename(partName.constData(), QFile::encodeName(path).constData()) != 0)
        writeErrno = errno;
    if (writeErrno != 0) {
        ::unlink(partName.constData());
        return fail(qt_error_string(writeErrno));
    }
    return true;
}

QString kept(const QString& path, QString* error)
{
    QString why;
    const SafeFile::Descriptor fd =
        SafeFile::openRegular(path, O_RDONLY, SafeFile::Links::Refuse, &why);
    if (!fd.valid()) {
        if (error && errno != ENOENT)
            *error = why;
        return QString();
    }
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            if (error)
                *error = qt_error_string(errno);
            return QString();
        }
        if (n == 0)
            break;
        bytes.append(buffer, n);
        if (bytes.size() > MaxKeptBytes) {
            if (error)
                *error = SafeFile::tooLarge(MaxKeptBytes);
            return QString();
        }
    }
    return QString::fromUtf8(bytes);
}

bool forget(const QString& path, QString* error)
{
    if (::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT)
        return true;
    if (error)
        *error = qt_error_string(errno);
    return false;
}

} // namespace TripLogFile
