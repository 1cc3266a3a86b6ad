#pragma once

#include "ddu/Keys.h"
#include "panels/DevicePanel.h"

class Console;
class KeyRegion;
class QLabel;

// The driver console's panel: draws what the console says and hands it the key presses.
class frmDDU : public DevicePanel {
    Q_OBJECT
public:
    explicit frmDDU(Console& model, QWidget* parent = nullptr);
    ~frmDDU() override;

    // Draws `key` pressed for a moment, as a key worked from the keyboard.
    void flash(Key key);

protected:
    void layoutControls() override;
    void changeEvent(QEvent* e) override;

private:
    void buildControls();
    void showDisplay();
    void showKeys();
    void announceChange(const QStringList& before);

    Console& m_model;
    QLabel* m_lines[4] = {};
    QLabel* m_status = nullptr;
    QLabel* m_shift = nullptr;
    KeyRegion* m_keys[Keys::Count] = {};
};
