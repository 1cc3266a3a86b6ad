#include "panels/DevicePanel.h"

#include "common/Twips.h"
#include "panels/Artwork.h"
#include "panels/Placement.h"

#include <QMouseEvent>
#include <QPainter>

DevicePanel::DevicePanel(const QString& name, const QString& caption, int widthTw, int heightTw,
                         const QString& art, const QSize& artSize, const QColor& background,
                         QWidget* parent)
    : QWidget(parent), m_art(art), m_artSize(artSize), m_background(background)
{
    setObjectName(name);
    setWindowTitle(caption);
    setFixedSize(twips(widthTw), twips(heightTw));
    setMouseTracking(true);
}

DevicePanel::~DevicePanel() = default;

int DevicePanel::Top() const
{
    return Placement::top(this);
}

void DevicePanel::setTop(int tw)
{
    Placement::setTop(this, tw);
}

int DevicePanel::Left() const
{
    return Placement::left(this);
}

void DevicePanel::setLeft(int tw)
{
    Placement::setLeft(this, tw);
}

int DevicePanel::outerWidth() const
{
    return Placement::outerWidth(this);
}

void DevicePanel::paintEvent(QPaintEvent*)
{
    // The picture may be a few rows taller than the panel; its top part is shown.
    QPainter p(this);
    p.fillRect(rect(), m_background);
    Artwork::draw(p, m_art, m_artSize);
}

void DevicePanel::mouseMoveEvent(QMouseEvent* e)
{
    if (!childAt(e->position().toPoint()))
        emit pointerOnBackground();
    e->accept();
}
