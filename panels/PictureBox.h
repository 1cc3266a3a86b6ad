#pragma once

#include <QColor>
#include <QWidget>

// A picture box whose background colour is its state: the screen, the cover, the lamps.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(const QString& name, const QColor& back, QWidget* parent);
    QColor BackColor() const { return m_back; }
    void setBackColor(const QColor& c);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QColor m_back;
};
