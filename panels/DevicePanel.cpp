#include "panels/DevicePanel.h"

#include "common/Twips.h"
#include "panels/Artwork.h"
#include "panels/Placement.h"

#include <QMouseEvent>
#include <QPainter>

DevicePanel::DevicePanel(const QString& name, const QString& caption, int widthTw, int heightTw,
                         const QString& art, const QSize& artSize, const QColor& background,
                         QWidget* parent)
    : QWidget(parent), m_art(art), m_artSize(artSize), m_background(background), m_widthTw(widthTw),
      m_heightTw(heightTw)
{
    setObjectName(name);
    setWindowTitle(caption);
    setFixedSize(twips(widthTw), twips(heightTw));
    setMouseTracking(true);
}

DevicePanel::~DevicePanel() = default;

void DevicePanel::setZoom(qreal zoom)
{
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    setFixedSize(px(m_widthTw), px(m_heightTw));
    layoutControls();
    update();
}

int DevicePanel::px(int tw) const
{
    return twips(tw, m_zoom);
}

QRect DevicePanel::px(int left, int top, int width, int height) const
{
    return QRect(px(left), px(top), px(width), px(height));
}

QFont DevicePanel::zoomed(QFont font, qreal points) const
{
    font.setPointSizeF(points * m_zoom);
    return font;
}

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
    Artwork::draw(p, m_art, m_artSize * m_zoom);
}

void DevicePanel::mouseMoveEvent(QMouseEvent* e)
{
    if (!childAt(e->position().toPoint()))
        emit pointerOnBackground();
    e->accept();
}
