#pragma once

#include <QByteArray>
#include <QString>

// Files that anyone who can write to the folder may have replaced: only a regular file is
// kept, a FIFO in its place can never hold the program up, and nothing larger than the
// caller allows is read.
namespace SafeFile {

// The reasons given, for the user.
QString notRegular();
QString linkRefused();
// "larger than N MiB"; maxBytes is a whole number of MiB.
QString tooLarge(qint64 maxBytes);

enum class Links { Follow, Refuse };

// Whether something other than a regular file stands at `path`: a folder, a FIFO, a device
// or a link, which is not followed. False when nothing is there.
bool otherThanFile(const QString& path);

// An open file descriptor, closed when it goes (which also lets go of a flock on it).
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor();
    Descriptor(Descriptor&& other) noexcept : m_fd(other.release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    bool valid() const { return m_fd >= 0; }
    int get() const { return m_fd; }
    // Hands the descriptor over; this one no longer closes it.
    int release();

private:
    int m_fd = -1;
};

// Opens `path` with the open(2) `flags` (O_NONBLOCK and O_CLOEXEC added, and O_NOFOLLOW
// when links are refused) and keeps it only when it turns out a regular file. The
// descriptor stays non-blocking. On failure it is not valid and `error` says why.
Descriptor openRegular(const QString& path, int flags, Links links, QString* error,
                       unsigned mode = 0);

struct Contents {
    QByteArray bytes;
    QString error;        // empty when the file was read
    bool missing = false; // nothing at the path when looked at; `error` says so as well
};
// The whole file at `path` (a link followed), refused when it is not a regular file or is
// larger than `maxBytes` (a whole number of MiB). Looked at before it is opened and again
// once open, and read to one byte beyond the limit, so that neither a file put in its place
// nor one that has grown since gets through.
Contents read(const QString& path, qint64 maxBytes);

struct Tail {
    QByteArray bytes;
    qint64 size = 0; // the whole file's, when it was read
    QString error;   // empty when the file was read
};
// The last `maxBytes` of the regular file at `path`, or all of it when it is no larger,
// opened as openRegular opens it: a FIFO, a device or (when refused) a link in its place
// is never read, and a file however large costs no more than `maxBytes`.
Tail tail(const QString& path, qint64 maxBytes, Links links);

} // namespace SafeFile
