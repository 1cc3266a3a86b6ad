#include "shell/frmSplash.h"

#include "common/Twips.h"
#include "panels/Artwork.h"

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

    auto* starting = new QLabel(tr("啟動中..."), this);
    starting->setObjectName(QStringLiteral("lbl_0"));
    starting->setGeometry(twips(2400), twips(3150), twips(1440), twips(165) + 4);
    starting->setAlignment(Qt::AlignCenter);

    // In Latin letters: the Chinese glyphs of a longer line cost the start-up a few
    // milliseconds to draw, and the about box says the same in Chinese.
    auto* notice =
        new QLabel(QStringLiteral("© 2026 Quillmere · for simulation and training only"), this);
    notice->setObjectName(QStringLiteral("lbl_1"));
    notice->setGeometry(twips(150), twips(3450), twips(5715), twips(240));
    notice->setAlignment(Qt::AlignCenter);
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSizeF(9);
    notice->setFont(f);
}

void frmSplash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    Artwork::draw(p, QStringLiteral("splash"), QSize(400, 200));
}
