#pragma once

#include "panels/DevicePanel.h"

#include <QColor>

class CardProcessor;
class PictureBox;
class QFrame;
class QLabel;

// The card processor's panel: draws what the processor says and hands it the pointer.
class frmBCP : public DevicePanel {
    Q_OBJECT
public:
    explicit frmBCP(CardProcessor& model, QWidget* parent = nullptr);
    ~frmBCP() override;

    static inline const QColor RedOff{128, 0, 0};
    static inline const QColor RedOn{255, 0, 0};
    static inline const QColor YellowOff{128, 128, 0};
    static inline const QColor YellowOn{255, 255, 0};
    static inline const QColor GreenOff{0, 128, 0};
    static inline const QColor GreenOn{0, 255, 0};

protected:
    void layoutControls() override;
    void changeEvent(QEvent* e) override;

private:
    void buildControls();
    void showScreen();
    void showLamps();
    void describeLamps();
    void showCard();
    void announceResult();

    CardProcessor& m_model;
    PictureBox* m_picLayer = nullptr;
    QLabel* m_lines[3] = {};
    PictureBox* m_picLoad = nullptr;
    QLabel* m_loadLabels[5] = {}; // the address screen's texts
    QLabel* m_address = nullptr;  // lblB index 4, the console's address
    QFrame* m_rule = nullptr;
    PictureBox* m_picCover = nullptr;
    PictureBox* m_picRed = nullptr;
    PictureBox* m_picYellow = nullptr;
    PictureBox* m_picGreen = nullptr;
    QLabel* m_imgMCard = nullptr;
    QWidget* m_imgCard = nullptr;
    QString m_announced; // the result on screen, said already
};
