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

signals:
    // The pointer moved over the front itself, not over a control lying on it.
    void pointerOnBackground();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    QString m_art;
    QSize m_artSize;
    QColor m_background;
};
