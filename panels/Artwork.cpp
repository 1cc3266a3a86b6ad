#include "panels/Artwork.h"

#include <QHash>
#include <QPainter>
#include <QResource>

#include <cmath>
#include <cstring>

namespace Artwork {

namespace {

// The header the build writes before the pixels: "PLMO", width, height.
struct RawHeader {
    char magic[4];
    quint32 width;
    quint32 height;
    quint32 reserved;
};

} // namespace

// The pixels of a raw picture: in the program's own data when it is stored as it is and
// its rows are aligned as QImage needs them, otherwise unpacked and kept alive by the image
// as long as it is used.
QImage fromRaw(const QString& path, int scale)
{
    const QResource res(path);
    if (res.isValid() && res.compressionAlgorithm() == QResource::NoCompression &&
        res.size() >= qint64(sizeof(RawHeader)) &&
        quintptr(res.data() + sizeof(RawHeader)) % alignof(quint32) == 0) {
        RawHeader h;
        std::memcpy(&h, res.data(), sizeof h);
        if (std::memcmp(h.magic, "PLMO", 4) != 0 ||
            res.size() != qint64(sizeof h) + qint64(h.width) * h.height * 4)
            return QImage();
        QImage img(res.data() + sizeof h, int(h.width), int(h.height), int(h.width) * 4,
                   QImage::Format_ARGB32_Premultiplied);
        img.setDevicePixelRatio(scale);
        return img;
    }
    auto* raw = new QByteArray(res.uncompressedData());
    RawHeader h;
    if (raw->size() < qsizetype(sizeof h) ||
        (std::memcpy(&h, raw->constData(), sizeof h), std::memcmp(h.magic, "PLMO", 4) != 0) ||
        raw->size() != qsizetype(sizeof h) + qsizetype(h.width) * h.height * 4) {
        delete raw;
        return QImage();
    }
    QImage img(
        reinterpret_cast<const uchar*>(raw->constData()) + sizeof h, int(h.width), int(h.height),
        int(h.width) * 4, QImage::Format_ARGB32_Premultiplied,
        [](void* bytes) { delete static_cast<QByteArray*>(bytes); }, raw);
    img.setDevicePixelRatio(scale);
    return img;
}

QImage image(const QString& name, qreal devicePixelRatio)
{
    const int scale = devicePixelRatio > 1 ? 2 : 1;
    const QString path = QStringLiteral(":/rendered/%1@%2x.argb").arg(name).arg(scale);
    // The panels' fronts are looked up once and kept for every repaint (unpacked, for the
    // compressed high-density pictures); a picture shown once (the splash) is not kept.
    static QHash<QString, QImage> kept;
    if (const auto it = kept.constFind(path); it != kept.constEnd())
        return *it;
    const QImage img = fromRaw(path, scale);
    if (name.endsWith(QLatin1String("_front")))
        kept.insert(path, img);
    return img;
}

void draw(QPainter& painter, const QString& name, const QSize& size)
{
    // The two-pixel picture wherever the one-pixel one would have to grow (a zoomed panel,
    // a dense screen): drawn smaller it stays sharp, drawn larger it would blur.
    QImage picture = image(name, 1);
    if (picture.isNull())
        return;
    if (painter.device()->devicePixelRatioF() * size.width() > picture.width())
        picture = image(name, 2);
    // Only sizes other than the pictures' own scale, and then smoothly.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), size), picture);
}

QPixmap render(const QString& name, const QSize& size, qreal devicePixelRatio,
               const QColor& background)
{
    const QSize pixels(int(std::ceil(size.width() * devicePixelRatio)),
                       int(std::ceil(size.height() * devicePixelRatio)));
    QPixmap pm(pixels);
    pm.setDevicePixelRatio(devicePixelRatio);
    pm.fill(background);
    QPainter p(&pm);
    draw(p, name, size);
    return pm;
}

QPixmap splash()
{
    return render(QStringLiteral("splash"), QSize(400, 200), 1.0, Qt::white);
}

QIcon icon()
{
    // Made once: every window shows it. The large sizes are for the desktop's menus,
    // which take the installed files.
    static const QIcon icon = [] {
        QIcon i;
        for (int size : {16, 24, 32, 48})
            i.addPixmap(
                QPixmap::fromImage(fromRaw(QStringLiteral(":/rendered/icon%1.argb").arg(size), 1)));
        return i;
    }();
    return icon;
}

} // namespace Artwork
