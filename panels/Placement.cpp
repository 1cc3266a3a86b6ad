#include "panels/Placement.h"

#include "common/Twips.h"

#include <QWidget>

namespace Placement {

namespace {

const QWidget* frame(const QWidget* panel)
{
    return panel->parentWidget() ? panel->parentWidget() : panel;
}

QWidget* frame(QWidget* panel)
{
    return panel->parentWidget() ? panel->parentWidget() : panel;
}

// Cut towards zero: negative counts (a jolt upwards) come here too, which twips() does not
// take.
int wholePixels(int tw)
{
    return static_cast<int>(twipsExact(tw));
}

} // namespace

int top(const QWidget* panel)
{
    return frame(panel)->y() * TwipsPerPixel;
}

void setTop(QWidget* panel, int tw)
{
    QWidget* w = frame(panel);
    w->move(w->x(), wholePixels(tw));
}

int left(const QWidget* panel)
{
    return frame(panel)->x() * TwipsPerPixel;
}

void setLeft(QWidget* panel, int tw)
{
    QWidget* w = frame(panel);
    w->move(wholePixels(tw), w->y());
}

int outerWidth(const QWidget* panel)
{
    return frame(panel)->frameGeometry().width() * TwipsPerPixel;
}

} // namespace Placement
