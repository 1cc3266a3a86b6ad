#pragma once

#include <QColor>
#include <QWidget>

// What the two device panels share: a fixed client area drawn with the device's front,
// a place in the main window counted in twips, and the pointer over the bare front.
class DevicePanel : public QWidget {
    Q_OBJECT
public:
    // `art` names the picture of the front, `artSize` its size in points; the client area
    // is given in twips.
    DevicePanel(const QString& name, const QString& caption, int widthTw, int heightTw,
                const QString& art, const QSize& artSize, const QColor& background,
                QWidget* parent);
    ~DevicePanel() override;

    // The panel's frame window in the main window's client area, in twips.
    int Top() const;
    void setTop(int tw);
    int Left() const;
    void setLeft(int tw);
    int outerWidth() const; // borders included

    // How many times its design size the panel is drawn: 1, or more for a projector. The
    // pointer's places the panel reports stay in twips of the design.
    qreal zoom() const { return m_zoom; }
    void setZoom(qreal zoom);

    // `tw` twips of the design in pixels at the current zoom, the nearest.
    int px(int tw) const;
    QRect px(int left, int top, int width, int height) const;

signals:
    // The pointer moved over the front itself, not over a control lying on it.
    void pointerOnBackground();

protected:
    // Places, sizes and sets the fonts of the controls for the current zoom: once the
    // controls are made, and at every change of zoom.
    virtual void layoutControls() = 0;
    // `font` at `points` times the zoom.
    QFont zoomed(QFont font, qreal points) const;

    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    QString m_art;
    QSize m_artSize;
    QColor m_background;
    int m_widthTw;
    int m_heightTw;
    qreal m_zoom = 1.0;
};
