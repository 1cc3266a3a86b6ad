#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;

// Covers the time in which the two panels are created.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    // The 400 x 200 picture; the about box shows it too.
    static QPixmap picture();

    QLabel* lbl[2] = {};

protected:
    void paintEvent(QPaintEvent* e) override;
};
