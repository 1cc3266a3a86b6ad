// Start-up as the program's main() runs it, up to the first painted main window: prints
// the time from launch to that paint and the peak memory once start-up has finished,
// then ends. The route table is the one given; settings go to a scratch folder.
#include "BenchClock.h"

#include "platform/AppPaths.h"
#include "shell/Startup.h"
#include "shell/frmMDI.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>
#include <functional>

int main(int argc, char* argv[])
{
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    AppPaths::setProgramDir(dir.path());
    if (argc > 1)
        QFile::copy(QString::fromLocal8Bit(argv[1]), dir.filePath(QStringLiteral("routes.dat")));

    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    frmMDI main;

    double paintedMs = -1;
    bool loaded = false;
    auto report = [&] {
        std::printf("%.1f %ld\n", paintedMs, BenchClock::peakKb());
        std::fflush(stdout);
        std::_Exit(0);
    };
    // The first paint is stamped as it arrives; the figures go out once start-up is over.
    struct Probe : QObject {
        QWidget* target = nullptr;
        double* at = nullptr;
        std::function<void()> afterPaint;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (o == target && e->type() == QEvent::Paint && *at < 0) {
                *at = BenchClock::msSinceLaunch();
                QTimer::singleShot(0, afterPaint);
            }
            return false;
        }
    } probe;
    probe.target = main.mdiArea()->viewport();
    probe.at = &paintedMs;
    probe.afterPaint = [&] {
        if (loaded)
            report();
    };
    app.installEventFilter(&probe);
    main.Form_Load();
    loaded = true;
    if (paintedMs >= 0)
        report();
    return app.exec();
}
