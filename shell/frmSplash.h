#pragma once

#include <QWidget>

// Covers the time in which the two devices are created.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* e) override;
};
