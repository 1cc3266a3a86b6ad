#pragma once

#include "ddu/Keys.h"

#include <QWidget>

class Timer;

// A clickable key region over the console picture, drawn pressed while it is held down.
class KeyRegion : public QWidget {
    Q_OBJECT
public:
    KeyRegion(const KeyInfo& info, QWidget* parent);
    Key key() const { return m_key; }
    bool drawnPressed() const { return m_down || m_flashing; }
    void flash();
    // What a click does, for assistive technology: a key that works now is drawn pressed
    // for a moment and pressed.
    void press();

signals:
    void clicked(Key key);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void retranslate();

    Key m_key;
    bool m_down = false;
    bool m_flashing = false;
    Timer* m_tmrFlash;
};
