// Renders an SVG picture into a PNG with a transparent background: the icon sizes that the
// installation ships, and the artwork the program draws its windows with.
//
//   svg2png INPUT.svg OUTPUT.png WIDTH [HEIGHT]      (square when HEIGHT is left out)
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // runs in the build, with no display
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool widthOk = false;
    bool heightOk = false;
    const int width = args.size() >= 4 ? args[3].toInt(&widthOk) : 0;
    const int height = args.size() == 5 ? args[4].toInt(&heightOk) : width;
    if (args.size() == 4)
        heightOk = widthOk;
    if (args.size() < 4 || args.size() > 5 || !widthOk || !heightOk || width <= 0 || height <= 0) {
        std::fprintf(stderr, "usage: svg2png INPUT.svg OUTPUT.png WIDTH [HEIGHT]\n");
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "svg2png: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter, QRectF(0, 0, width, height));
    painter.end();
    if (!image.save(args[2], "PNG")) {
        std::fprintf(stderr, "svg2png: cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
