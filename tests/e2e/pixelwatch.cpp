// Watches a few screen pixels and writes a line whenever one of them changes:
//
//   pixelwatch X,Y [X,Y ...]
//   → 1733561234567 FF0000 808000 008000 85DB85
//
// milliseconds since the epoch, then each pixel as RRGGBB. The end-to-end tests read the
// lamps and the card processor's screen from this timeline, so that a state shown for a
// second is seen even when screenshots come slowly on a loaded machine.
//
// A state is written once two samples in a row agree: the program repaints the three lamps
// as separate rectangles, and a sample taken between two of them is not a state it shows.
#include <QDateTime>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QScreen>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    QList<QPoint> points;
    for (const QString& arg : app.arguments().mid(1)) {
        const QStringList xy = arg.split(QLatin1Char(','));
        bool okX = false, okY = false;
        if (xy.size() == 2)
            points.append(QPoint(xy[0].toInt(&okX), xy[1].toInt(&okY)));
        if (!okX || !okY) {
            std::fprintf(stderr, "usage: pixelwatch X,Y [X,Y ...]\n");
            return 2;
        }
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (points.isEmpty() || !screen) {
        std::fprintf(stderr, "pixelwatch: nothing to watch\n");
        return 2;
    }

    QRect box(points.first(), QSize(1, 1));
    for (const QPoint& p : points)
        box |= QRect(p, QSize(1, 1));

    QString written, previous;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        // One request for all the points, so that they are read at the same moment.
        const QImage shot =
            screen->grabWindow(0, box.x(), box.y(), box.width(), box.height()).toImage();
        QString line;
        for (const QPoint& p : points) {
            const QPoint at = p - box.topLeft();
            const QRgb c = shot.valid(at) ? shot.pixel(at) : 0;
            line += QStringLiteral(" %1").arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
        }
        const bool steady = line == previous;
        previous = line;
        if (!steady || line == written)
            return;
        written = line;
        std::printf("%lld%s\n", QDateTime::currentMSecsSinceEpoch(), qPrintable(line));
        std::fflush(stdout);
    });
    poll.start(40);
    return app.exec();
}
