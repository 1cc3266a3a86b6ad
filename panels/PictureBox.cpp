#include "panels/PictureBox.h"

#include <QPainter>

PictureBox::PictureBox(const QString& name, const QColor& back, QWidget* parent)
    : QWidget(parent), m_back(back)
{
    setObjectName(name);
    // Movements over the screen and the lamps are the panel's own, not its background's.
    setMouseTracking(true);
}

void PictureBox::setBackColor(const QColor& c)
{
    if (c == m_back)
        return;
    m_back = c;
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_back);
}
