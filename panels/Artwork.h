#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

class QPainter;

// The pictures the windows are drawn with. The build draws each SVG file in assets/ at one
// and two pixels per point, as raw premultiplied pixels kept uncompressed in the program:
// taking a picture needs no decoding, and usually not even a copy.
namespace Artwork {

// The picture `name` ("bcp_front", "ddu_front", "card", "splash") as drawn for the pixel
// ratio nearer to `devicePixelRatio`; a null image when it is missing.
QImage image(const QString& name, qreal devicePixelRatio);

// Draws the picture `name` into the rectangle of `size` points at the painter's origin.
void draw(QPainter& painter, const QString& name, const QSize& size);

// The picture `name` at `size` points over `background`; only the background when the
// picture is missing.
QPixmap render(const QString& name, const QSize& size, qreal devicePixelRatio,
               const QColor& background);

// The 400 x 200 picture of the splash window, which the about box shows too.
QPixmap splash();

// The program's window icon, at the sizes title bars and task bars use.
QIcon icon();

} // namespace Artwork
