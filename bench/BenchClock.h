#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <ctime>
#include <sys/resource.h>

// Shared by the start-up benchmarks: time since the launcher's clock reading, which it
// hands over in BENCH_T0 (nanoseconds of the real-time clock), and the peak memory.
namespace BenchClock {

inline double msSinceLaunch()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const qint64 t0 = qEnvironmentVariable("BENCH_T0").toLongLong();
    const qint64 ns = qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
    return double(ns - t0) / 1e6;
}

inline long peakKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

} // namespace BenchClock
