// The program's own viewer on a log.txt of the given size: prints the size in MB, the time
// from asking for the viewer to its first paint in ms, and the peak memory in KB, then
// ends. "line" as the second argument makes the log one single line.
#include "BenchClock.h"

#include "dialogs/frmViewer.h"
#include "shell/Startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    const qint64 mb = argc > 1 ? QByteArray(argv[1]).toLongLong() : 50;
    const bool oneLine = argc > 2 && QByteArray(argv[2]) == "line";

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        const QByteArray line = oneLine
                                    ? QByteArray(1024 * 1024, 'x')
                                    : QByteArray("06:10:05 Route Changed 12\r\n").repeated(1024);
        for (qint64 written = 0; written < mb * 1024 * 1024; written += line.size())
            f.write(line);
    }

    QWidget parent;
    parent.show();
    QElapsedTimer clock;
    clock.start();
    frmViewer* viewer = frmViewer::showFile(&parent, path, frmViewer::Format::PlainText);
    if (!viewer)
        return 1;
    struct Probe : QObject {
        QElapsedTimer* clock = nullptr;
        qint64 mb = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint) {
                const qint64 ms = clock->elapsed();
                QTimer::singleShot(0, [this, ms] {
                    std::printf("%lld %lld %ld\n", mb, ms, BenchClock::peakKb());
                    std::fflush(stdout);
                    std::_Exit(0);
                });
            }
            return false;
        }
    } probe;
    probe.clock = &clock;
    probe.mb = mb;
    viewer->findChild<QPlainTextEdit*>()->viewport()->installEventFilter(&probe);
    return app.exec();
}
