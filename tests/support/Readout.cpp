#include "support/Readout.h"

#include "panels/PictureBox.h"
#include "panels/frmBCP.h"
#include "panels/frmDDU.h"
#include "support/TestEnv.h"

#include <QLabel>

namespace Readout {

namespace {

QString text(const QWidget* panel, const QString& name)
{
    return TestEnv::find<QLabel>(panel, name)->text();
}

} // namespace

QStringList display(const frmDDU* d)
{
    QStringList out;
    for (int i = 1; i <= 4; ++i)
        out << text(d, QStringLiteral("lblLine%1").arg(i));
    return out;
}

QStringList bcpLines(const frmBCP* b)
{
    return {text(b, QStringLiteral("lbl1")), text(b, QStringLiteral("lbl2")),
            text(b, QStringLiteral("lbl3"))};
}

QString lamps(const frmBCP* b)
{
    auto lit = [b](const char* name, const QColor& on) {
        return TestEnv::find<PictureBox>(b, QLatin1String(name))->BackColor() == on;
    };
    QString s;
    s += lit("picRed", frmBCP::RedOn) ? u'R' : u'r';
    s += lit("picYellow", frmBCP::YellowOn) ? u'Y' : u'y';
    s += lit("picGreen", frmBCP::GreenOn) ? u'G' : u'g';
    return s;
}

} // namespace Readout
