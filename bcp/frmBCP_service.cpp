// Commands from the console: a new fare, out of and back into service, the pause for
// an output.
#include "bcp/frmBCP.h"

#include "bcp/Transaction.h"
#include "common/Timer.h"
#include "shell/Desktop.h"

#include <QLabel>

void frmBCP::outOfServiceDisplay()
{
    lbl1->setText(QStringLiteral("OUT OF"));
    lbl2->setText(QStringLiteral("SERVICE"));
    lbl3->setText(QStringLiteral("暫停服務"));
    setLamps(Lamps::AllOn);
}

void frmBCP::ChangeFare(const QVariant& newFare)
{
    const QString text = newFare.toString();
    log(QStringLiteral(" Fare Changed ") + text);
    outOfServiceDisplay();
    Fare = newFare;
    const std::optional<double> fare = Fares::parse(text);
    if (!fare) {
        Desktop::instance().fatal(QStringLiteral("計算錯誤，離開。"));
        // Ending here must not cost the passenger the card the user set up.
        Form_QueryUnload();
        Desktop::instance().endProgram(1);
        return;
    }
    HalfFare = Fares::half(*fare);
    ScreenState = 2;
    tmrChange->restart();
}

void frmBCP::StopService(qint16 stop)
{
    if (stop == -1) {
        outOfServiceDisplay();
        ScreenState = 0;
    } else if (stop == 0) {
        ScreenState = 2;
        tmrChange->restart();
        tmrChange_Timer();
    }
}

void frmBCP::Pause()
{
    outOfServiceDisplay();
    NoResponse = true;
    ScreenState = 1;
    tmrChange->restart();
}
