#include "ddu/TripLogFile.h"

#include <QFile>

#include <unistd.h>

namespace TripLogFile {

bool append(const QString& path, const QString& text, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    const qint64 oldSize = f.size();
    QByteArray bytes = text.toUtf8();
    if (oldSize > 0) {
        f.seek(oldSize - 1);
        char last = 0;
        if (f.read(&last, 1) == 1 && last != '\n' && last != '\r')
            bytes.prepend("\r\n");
    }
    bool ok = f.seek(oldSize) && f.write(bytes) == bytes.size() && f.flush()
              && ::fsync(f.handle()) == 0;
    if (!ok) {
        if (error)
            *error = f.errorString();
        // Leave no half-written block behind: it will be written whole next time.
        f.resize(oldSize);
        f.close();
        return false;
    }
    f.close();
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

} // namespace TripLogFile
