#include "common/SafeFile.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SafeFile {

QString notRegular()
{
    return QCoreApplication::translate("SafeFile", "不是一般檔案");
}

QString linkRefused()
{
    return QCoreApplication::translate("SafeFile", "是符號連結，不是一般檔案");
}

QString tooLarge(qint64 maxBytes)
{
    return QCoreApplication::translate("SafeFile", "檔案大於 %1 MiB").arg(maxBytes / (1024 * 1024));
}

Descriptor::~Descriptor()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.release();
    }
    return *this;
}

int Descriptor::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

bool otherThanFile(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode);
}

Descriptor openRegular(const QString& path, int flags, Links links, QString* error, unsigned mode)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return Descriptor();
    };
    flags |= O_NONBLOCK | O_CLOEXEC;
    if (links == Links::Refuse)
        flags |= O_NOFOLLOW;
    Descriptor fd(::open(QFile::encodeName(path).constData(), flags, mode_t(mode)));
    if (!fd.valid())
        return fail(links == Links::Refuse && errno == ELOOP ? linkRefused()
                                                             : qt_error_string(errno));
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return fail(qt_error_string(errno));
    if (!S_ISREG(st.st_mode))
        return fail(notRegular());
    return fd;
}

Contents read(const QString& path, qint64 maxBytes)
{
    Contents c;
    auto fail = [&c](const QString& why) {
        c.error = why;
        return c;
    };
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        c.missing = errno == ENOENT;
        return fail(qt_error_string(errno));
    }
    // Looked at before opening too: opening a FIFO without O_NONBLOCK would wait for a
    // writer, and a file known too large need not be opened at all.
    if (!S_ISREG(st.st_mode))
        return fail(notRegular());
    if (st.st_size > maxBytes)
        return fail(tooLarge(maxBytes));
    QString why;
    Descriptor fd = openRegular(path, O_RDONLY, Links::Follow, &why);
    if (!fd.valid())
        return fail(why);
    QFile file;
    const int raw = fd.release();
    if (!file.open(raw, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(raw);
        return fail(file.errorString());
    }
    // Read as long as it was when looked at, and then to one byte beyond the limit: that
    // tells a file that has grown too large since, without setting aside the limit's worth
    // for every small one.
    QByteArray bytes = file.read(std::min<qint64>(st.st_size, maxBytes) + 1);
    if (bytes.size() > st.st_size && file.error() == QFileDevice::NoError)
        bytes += file.read(maxBytes + 1 - bytes.size());
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (bytes.size() > maxBytes)
        return fail(tooLarge(maxBytes));
    c.bytes = bytes;
    return c;
}

Tail tail(const QString& path, qint64 maxBytes, Links links)
{
    Tail t;
    const Descriptor fd = openRegular(path, O_RDONLY, links, &t.error);
    if (!fd.valid())
        return t;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        t.error = qt_error_string(errno);
        return t;
    }
    t.size = st.st_size;
    const qint64 from = std::max<qint64>(0, t.size - maxBytes);
    t.bytes.resize(t.size - from);
    qint64 done = 0;
    while (done < t.bytes.size()) {
        const ssize_t n =
            ::pread(fd.get(), t.bytes.data() + done, size_t(t.bytes.size() - done), from + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            t.error = qt_error_string(errno);
            t.bytes.clear();
            return t;
        }
        if (n == 0)
            break; // cut short since it was looked at
        done += n;
    }
    t.bytes.truncate(done);
    return t;
}

} // namespace SafeFile
