#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QSpinBox;
class CardProcessor;

// The options dialog: how long the card processor's boot screen waits, 5 to 30 s. Each
// change applies to the running card processor and is stored at once.
class frmOption : public QDialog {
    Q_OBJECT
public:
    explicit frmOption(CardProcessor& processor, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildControls();
    void Form_Load();
    void hsrTime_Change();
    void cmdClose_Click();

    CardProcessor& m_processor;
    QGroupBox* fra = nullptr;
    QScrollBar* hsrTime = nullptr;
    QLabel* lbl[2] = {};
    QSpinBox* spnTime = nullptr;
    QPushButton* cmdClose = nullptr;
    int m_shown = 5; // the value the card processor and the store last received
};
