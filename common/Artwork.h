#pragma once

#include <QColor>
#include <QPixmap>
#include <QSizeF>
#include <QString>

// A panel's SVG front, drawn once into a pixmap: rendering the SVG on every paint costs
// far more than the paint itself (its key labels are text, turned into paths each time).
class Artwork {
public:
    Artwork(const QString& resource, const QSizeF& size, const QColor& background);

    // The picture for a device with this pixel ratio, rendered on first use.
    const QPixmap& pixmap(qreal devicePixelRatio);

private:
    QString m_resource;
    QSizeF m_size;
    QColor m_background;
    QPixmap m_pixmap;
};
