#pragma once

#include "common/DevicePanel.h"
#include "ddu/Keys.h"

class Console;
class QLabel;

// The driver console's panel: draws what the console says and hands it the key presses.
class frmDDU : public DevicePanel {
    Q_OBJECT
public:
    explicit frmDDU(Console& model, QWidget* parent = nullptr);
    ~frmDDU() override;

private:
    void buildControls();
    void showDisplay();
    void showKeys();

    Console& m_model;
    QLabel* m_lines[4] = {};
    QLabel* m_status = nullptr;
    QLabel* m_shift = nullptr;
    QWidget* m_keys[Keys::Count] = {};
};

// A clickable key region over the console picture.
class KeyRegion : public QWidget {
    Q_OBJECT
public:
    KeyRegion(const KeyInfo& info, QWidget* parent);
    Key key() const { return m_key; }

signals:
    void clicked(Key key);

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    Key m_key;
};
