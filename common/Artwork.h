#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// The pictures the windows are drawn with. The build renders each SVG file in assets/ at
// one and two pixels per point; a window takes the nearer one and keeps the result.
class Artwork {
public:
    Artwork(const QString& name, const QSize& size, const QColor& background);

    // The picture for a device with this pixel ratio, made on first use.
    const QPixmap& pixmap(qreal devicePixelRatio);

    // The picture `name` ("bcp_front", "ddu_front", "card", "splash") at `size` points over
    // `background`; only the background when the picture is missing.
    static QPixmap render(const QString& name, const QSize& size, qreal devicePixelRatio,
                          const QColor& background);

    // The 400 x 200 picture of the splash window, which the about box shows too.
    static QPixmap splash();

    // The program's icon, at every size the build renders.
    static QIcon icon();

private:
    QString m_name;
    QSize m_size;
    QColor m_background;
    QPixmap m_pixmap;
};
