#include "shell/frmSplash.h"

#include "common/Artwork.h"
#include "common/Numbers.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

frmSplash::frmSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(twips(5985), twips(3915));
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());

    lbl[0] = new QLabel(QStringLiteral("啟動中..."), this);
    lbl[0]->setObjectName(QStringLiteral("lbl_0"));
    lbl[0]->setGeometry(twips(2400), twips(3150), twips(1440), twips(165) + 4);
    lbl[0]->setAlignment(Qt::AlignCenter);

    lbl[1] = new QLabel(QStringLiteral("© 2026 Quillmere　本程式只供模擬及訓練之用"), this);
    lbl[1]->setObjectName(QStringLiteral("lbl_1"));
    lbl[1]->setGeometry(twips(150), twips(3450), twips(5715), twips(240));
    lbl[1]->setAlignment(Qt::AlignCenter);
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSizeF(9);
    lbl[1]->setFont(f);
}

QPixmap frmSplash::picture()
{
    return Artwork::render(QStringLiteral("splash"), QSize(400, 200), 1.0, Qt::white);
}

void frmSplash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.drawPixmap(0, 0, picture());
}
