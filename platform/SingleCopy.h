#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// One running copy of the program per settings store: two copies sharing a home would
// each write the card they hold, the last to end overwriting the other's.
//
// The lock is a QLockFile beside the store. A copy that was killed leaves its lock behind;
// the process it names is no longer running, so the next start takes it over. So it does
// a lock file no copy holds (each keeps an flock on its own) whatever it says: one left
// empty by a crash, or naming a process that has since been given another's number.
class SingleCopy {
public:
    enum class Result {
        Acquired,   // this is the only copy
        Running,    // another copy holds the lock
        Unavailable // no lock can be made here (a folder that cannot be written, a folder or
                    // a link where the lock goes): run anyway
    };

    // Tries to take the lock at `lockPath`, creating its folder if needed.
    explicit SingleCopy(const QString& lockPath);
    Result result() const { return m_result; }
    // Why the lock could not be made, when Unavailable.
    QString error() const { return m_error; }
    // Whether the lock's place holds something that is no lock of a running copy (a
    // folder, a link, a file no copy holds that could not be taken over): Unavailable,
    // and the user is told with unusableMessage().
    bool unusable() const { return m_unusable; }
    QString unusableMessage() const;

    // The lock's place for the store in use: beside ~/.config/Quillmere/pelumo.conf.
    static QString defaultPath();
    // What a second copy shows before it ends.
    static QString runningMessage();

private:
    void unusableLock(const QString& lockPath);

    std::unique_ptr<QLockFile> m_lock;
    Result m_result = Result::Unavailable;
    QString m_error;
    bool m_unusable = false;
};
