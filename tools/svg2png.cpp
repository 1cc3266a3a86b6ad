// Renders an SVG picture with a transparent background: into a PNG for the icon sizes that
// the installation ships, or, for an OUTPUT ending in .argb, into the raw premultiplied
// pixels the program draws its windows with ("PLMO", width, height, 0 as 32-bit numbers
// of this machine, then the rows), which it takes without decoding.
//
//   svg2png INPUT.svg OUTPUT WIDTH [HEIGHT]      (square when HEIGHT is left out)
#include <QFile>
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
        std::fprintf(stderr, "usage: svg2png INPUT.svg OUTPUT WIDTH [HEIGHT]\n");
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
    bool written = false;
    if (args[2].endsWith(QLatin1String(".argb"))) {
        QFile out(args[2]);
        const quint32 header[3] = {quint32(width), quint32(height), 0};
        written =
            out.open(QIODevice::WriteOnly) && out.write("PLMO", 4) == 4 &&
            out.write(reinterpret_cast<const char*>(header), sizeof header) == sizeof header &&
            out.write(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()) ==
                image.sizeInBytes();
    } else {
        written = image.save(args[2], "PNG");
    }
    if (!written) {
        std::fprintf(stderr, "svg2png: cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
