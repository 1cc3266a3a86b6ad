#include "common/Artwork.h"

#include <QDir>
#include <QImage>
#include <QPainter>

#include <cmath>

Artwork::Artwork(const QString& name, const QSize& size, const QColor& background)
    : m_name(name), m_size(size), m_background(background)
{
}

const QPixmap& Artwork::pixmap(qreal devicePixelRatio)
{
    if (m_pixmap.isNull() || m_pixmap.devicePixelRatio() != devicePixelRatio)
        m_pixmap = render(m_name, m_size, devicePixelRatio, m_background);
    return m_pixmap;
}

QPixmap Artwork::render(const QString& name, const QSize& size, qreal devicePixelRatio,
                        const QColor& background)
{
    const QSize pixels(int(std::ceil(size.width() * devicePixelRatio)),
                       int(std::ceil(size.height() * devicePixelRatio)));
    QPixmap pm(pixels);
    pm.setDevicePixelRatio(devicePixelRatio);
    pm.fill(background);
    const QImage picture(
        QStringLiteral(":/rendered/%1@%2x.png")
            .arg(name, devicePixelRatio > 1 ? QStringLiteral("2") : QStringLiteral("1")));
    if (!picture.isNull()) {
        QPainter p(&pm);
        // Only ratios other than 1 and 2 scale, and then smoothly.
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(QPoint(0, 0), size), picture);
    }
    return pm;
}

QPixmap Artwork::splash()
{
    return render(QStringLiteral("splash"), QSize(400, 200), 1.0, Qt::white);
}

QIcon Artwork::icon()
{
    QIcon icon;
    const QDir sizes(QStringLiteral(":/icons"));
    for (const QString& size : sizes.entryList(QDir::Dirs))
        icon.addFile(sizes.filePath(size + QStringLiteral("/pelumo.png")));
    return icon;
}
