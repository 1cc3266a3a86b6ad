#include "triplog/TripLogFile.h"

#include <QFile>

#include <cerrno>
#include <unistd.h>

namespace TripLogFile {

bool append(const QString& path, const QString& text, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    // Unbuffered: whatever the system took is in the file, and nothing is left in a buffer
    // to land after a failed block has been cut off again.
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return fail(f.errorString());
    const qint64 oldSize = f.size();
    QByteArray bytes = text.toUtf8();
    if (oldSize > 0) {
        f.seek(oldSize - 1);
        char last = 0;
        if (f.read(&last, 1) == 1 && last != '\n' && last != '\r')
            bytes.prepend("\r\n");
    }
    if (!f.seek(oldSize))
        return fail(f.errorString());
    // A disk that fills up takes part of the block without an error; the next write
    // then fails and says why.
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = f.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            break;
        done += n;
    }
    QString why;
    if (done < bytes.size())
        why = f.errorString();
    else if (::fsync(f.handle()) != 0)
        why = qt_error_string(errno);
    if (!why.isEmpty()) {
        // Leave no half-written block behind: it will be written whole next time.
        f.resize(oldSize);
        return fail(why);
    }
    f.close();
    if (f.error() != QFileDevice::NoError)
        return fail(f.errorString());
    return true;
}

} // namespace TripLogFile
