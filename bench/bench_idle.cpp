// CPU used while logged in and idle, in real time: the program starts with a 5000 ms boot
// wait, is switched on, logs in with the start-up card as a user would, the card is taken
// off the reader, and then nothing happens for the measured time (60 s unless given).
// Prints the CPU time used in that span as a share of one core.
#include "bcp/CardProcessor.h"
#include "common/Timer.h"
#include "ddu/Console.h"
#include "platform/AppPaths.h"
#include "platform/Desktop.h"
#include "platform/Settings.h"
#include "shell/Startup.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    AppPaths::setProgramDir(dir.path());
    if (argc > 1)
        QFile::copy(QString::fromLocal8Bit(argv[1]), dir.filePath(QStringLiteral("routes.dat")));
    const int seconds = argc > 2 ? QByteArray(argv[2]).toInt() : 60;
    Settings::setLoadtimeMs(5000);
    Desktop::install(new FakeDesktop);

    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    frmMDI main;
    main.Form_Load();
    CardProcessor* p = main.processor();
    const Timer* boot = p->findChild<Timer*>(QStringLiteral("tmrStart"));
    main.console()->press(Key::Power);

    QTimer poll;
    QElapsedTimer span;
    double cpuStart = 0;
    int stage = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (stage == 0 && p->bootStep() == CardProcessor::BootStep::Prompt && !boot->Enabled()) {
            p->setCardType(CardType::Startup); // the start-up card onto the reader
            p->present(900, 600);
            stage = 1;
            span.start();
        } else if (stage == 1 && span.elapsed() > 2500) {
            p->withdraw(); // off the reader again
            p->setCardType(CardType::Adult);
            if (!p->loggedIn()) {
                std::fprintf(stderr, "the log-in did not happen\n");
                QCoreApplication::exit(1);
            }
            stage = 2;
            span.start();
        } else if (stage == 2 && span.elapsed() > 3000) {
            poll.stop(); // from here on nothing of ours runs
            cpuStart = cpuSeconds();
            span.start();
            QTimer::singleShot(seconds * 1000, [&] {
                const double used = cpuSeconds() - cpuStart;
                std::printf("%.3f %.3f\n", used, 100.0 * used / (double(span.elapsed()) / 1000.0));
                QCoreApplication::exit(0);
            });
        }
    });
    poll.start(100);
    return app.exec();
}
