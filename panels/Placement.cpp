#include "panels/Placement.h"

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

} // namespace

int top(const QWidget* panel)
{
    return frame(panel)->y() * 15;
}

void setTop(QWidget* panel, int tw)
{
    QWidget* w = frame(panel);
    w->move(w->x(), tw / 15);
}

int left(const QWidget* panel)
{
    return frame(panel)->x() * 15;
}

void setLeft(QWidget* panel, int tw)
{
    QWidget* w = frame(panel);
    w->move(tw / 15, w->y());
}

int outerWidth(const QWidget* panel)
{
    return frame(panel)->frameGeometry().width() * 15;
}

} // namespace Placement
