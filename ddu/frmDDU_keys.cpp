// The keypad: typing a route, the mode keys and the enter key.
#include "ddu/frmDDU.h"

#include "bcp/frmBCP.h"
#include "common/Clock.h"
#include "shell/Settings.h"

#include <QLabel>

void frmDDU::InputT(const QString& text)
{
    if (InputMode != RouteEntry)
        return;
    if (lblLine3->text() == NotFound)
        lblLine3->setText(QString());
    lblLine3->setText(lblLine3->text() + text);
    ShiftOn = false; // SHIFT applies to one character only
    lblShift->setText(QString());
}

void frmDDU::imgShift_Click()
{
    if (InputMode != RouteEntry)
        return;
    ShiftOn = !ShiftOn;
    lblShift->setText(ShiftOn ? QStringLiteral("SH") : QString());
}

void frmDDU::imgNo_Click(int index)
{
    if (InputMode != RouteEntry)
        return;
    InputT(ShiftOn ? imgNo[index]->Tag : QString::number(index));
}

void frmDDU::imgSpace_Click()
{
    InputT(ShiftOn ? QStringLiteral("S") : QStringLiteral(" "));
}

void frmDDU::letterKey_Click(const QString& letter)
{
    if (ShiftOn)
        InputT(letter);
}

void frmDDU::imgRoute_Click()
{
    if (ShiftOn)
        return InputT(imgRoute->Tag);
    setLines(QString(), QStringLiteral("　　路線號？"), QString(), QString());
    InputMode = RouteEntry;
    if (m_bcp)
        m_bcp->StopService(-1);
}

void frmDDU::imgOutput_Click()
{
    if (ShiftOn)
        return InputT(imgOutput->Tag);
    setLines(QString(), QStringLiteral("　　輸出？(Y/N)"), QString(), QString());
    InputMode = OutputConfirm;
    if (m_bcp)
        m_bcp->StopService(-1);
}

void frmDDU::imgStart_Click()
{
    if (ShiftOn)
        return InputT(imgStart->Tag);
    setLines(QString(), QStringLiteral("　　起點？(Y/N)"), QString(), QString());
    InputMode = OriginConfirm;
}

void frmDDU::imgFinish_Click()
{
    if (ShiftOn)
        return InputT(imgFinish->Tag);
    setLines(QString(), QStringLiteral("　　終點？(Y/N)"), QString(), QString());
    InputMode = TerminusConfirm;
}

void frmDDU::imgDir_Click()
{
    if (ShiftOn)
        return InputT(imgDir->Tag);
    setLines(QString(), QStringLiteral("　更改方向？(Y/N)"), QString(), QString());
    InputMode = DirectionConfirm;
}

void frmDDU::imgCancel_Click()
{
    if (ShiftOn)
        return InputT(imgCancel->Tag);
    restoreDisplay();
    InputMode = Idle;
    clearShift();
    if (m_bcp)
        m_bcp->StopService(0);
}

void frmDDU::imgEnt_Click()
{
    if (m_outputRunning)
        return;
    switch (InputMode) {
    case TerminusConfirm:
        ChangeDir();
        InputMode = Idle;
        break;
    case RouteEntry: {
        // The not-found message is not a route: wait for the driver to type one.
        const QString typed = lblLine3->text();
        if (typed == NotFound)
            break;
        Settings::Write(Settings::Lastroute, typed);
        ChangeRoute(typed);
        break;
    }
    case OutputConfirm:
        Output();
        break;
    case OriginConfirm:
        Log(Clock::timeText() + QStringLiteral(" Start Trip"));
        restoreDisplay();
        InputMode = Idle;
        break;
    case DirectionConfirm:
        Log(Clock::timeText() + QStringLiteral(" Direction Changed"));
        restoreDisplay();
        InputMode = Idle;
        break;
    default:
        break;
    }
}
