#pragma once

#include <QDateTime>
#include <QString>

// Wall-clock time for the whole program. Tests switch it to virtual time, which only
// moves when VirtualTime::advance() is called.
class Clock {
public:
    static QDateTime now();

    // "mm-dd-yyyy" and "hh:mm:ss" (24-hour clock), the forms every display and log line uses.
    static QString dateText();
    static QString timeText();
};

// One virtual time source shared by Clock and every Timer while it is installed.
class VirtualTime {
public:
    static void install(const QDateTime& start);
    static void uninstall();
    static qint64 elapsedMs();

    // Fires every tick that falls due within the next `ms` milliseconds, in time order
    // (ties in the order they fell due), moving the clock to each tick's time.
    static void advance(qint64 ms);
};
