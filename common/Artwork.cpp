#include "common/Artwork.h"

#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

Artwork::Artwork(const QString& resource, const QSizeF& size, const QColor& background)
    : m_resource(resource), m_size(size), m_background(background)
{
}

const QPixmap& Artwork::pixmap(qreal devicePixelRatio)
{
    if (m_pixmap.isNull() || m_pixmap.devicePixelRatio() != devicePixelRatio) {
        const QSize pixels(int(std::ceil(m_size.width() * devicePixelRatio)),
                           int(std::ceil(m_size.height() * devicePixelRatio)));
        m_pixmap = QPixmap(pixels);
        m_pixmap.setDevicePixelRatio(devicePixelRatio);
        m_pixmap.fill(m_background);
        QPainter p(&m_pixmap);
        QSvgRenderer(m_resource).render(&p, QRectF(QPointF(0, 0), m_size));
    }
    return m_pixmap;
}
