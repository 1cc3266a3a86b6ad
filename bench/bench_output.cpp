// The time of one output with a log.txt of 1 MB and of 100 MB: the output appends, so the
// two must be close. The boot and log-in run in virtual time; the output is timed in real
// time, including its flush to disk. Prints the size and the median of several outputs.
#include "common/Clock.h"
#include "ddu/Console.h"
#include "platform/AppPaths.h"
#include "platform/Desktop.h"
#include "shell/Startup.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kRuns = 15;

// Whole blocks of a working day, repeated up to the size asked for.
bool writeLog(const QString& path, qint64 bytes)
{
    QByteArray block = "12-06-2026\r\n06:10:05 Start Logging\r\n06:12:40 Route Changed 12\r\n"
                       "06:12:40 Fare Changed 5.40\r\n";
    for (int i = 0; i < 200; ++i)
        block += "06:20:01 Paid: Adult Fare $5.40\r\n";
    block += "06:45:10 -----\r\n\r\n";
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (qint64 n = 0; n < bytes; n += block.size())
        if (f.write(block) != block.size())
            return false;
    // On disk before the clock starts: the outputs must not pay for flushing this.
    return f.flush() && ::fsync(f.handle()) == 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    auto* desktop = new FakeDesktop;
    Desktop::install(desktop);
    VirtualTime::install(QDateTime(QDate(2026, 12, 6), QTime(6, 10, 5)));

    std::printf("%10s %14s\n", "log.txt MB", "output ms");
    for (const qint64 mb : {1, 100}) {
        QTemporaryDir dir;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        AppPaths::setProgramDir(dir.path());
        if (argc > 1)
            QFile::copy(QString::fromLocal8Bit(argv[1]),
                        dir.filePath(QStringLiteral("routes.dat")));
        const QString log = dir.filePath(QStringLiteral("log.txt"));
        if (!writeLog(log, mb * 1'000'000)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(log));
            return 1;
        }
        frmMDI main;
        main.Form_Load();
        Console* c = main.console();
        std::vector<double> times;
        for (int run = 0; run < kRuns; ++run) {
            for (int i = 0; i < 200; ++i)
                c->log(TripEvent::Paid, QStringLiteral("5.40"));
            QElapsedTimer t;
            t.start();
            c->output();
            times.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        if (desktop->count(QStringLiteral("warn")) > 0) {
            std::fprintf(stderr, "the output failed: %s\n",
                         qPrintable(desktop->texts(QStringLiteral("warn")).join(u' ')));
            return 1;
        }
        std::sort(times.begin(), times.end());
        std::printf("%10.1f %14.2f\n", double(QFile(log).size()) / 1e6, times[kRuns / 2]);
    }
    return 0;
}
