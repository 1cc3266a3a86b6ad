// Presenting the card: the picture follows the pointer, the check one second later, the
// read with its outcomes, and the idle screens between reads.
#include "bcp/frmBCP.h"

#include "bcp/Transaction.h"
#include "common/Numbers.h"
#include "common/Timer.h"
#include "ddu/frmDDU.h"

#include <QLabel>

void frmBCP::imgCard_MouseMove(double x, double y)
{
    // The card sits 25 twips right of and below the pointer, so the pointer never rests
    // on it and the reader keeps receiving the movements.
    const QPoint readerAt = imgCard->pos();
    imgMCard->move(readerAt.x() + qRound((x + 25.0) / 15.0),
                   readerAt.y() + qRound((y + 25.0) / 15.0));
    imgMCard->show();
    // A switched-off processor reads nothing, even when it was logged in before.
    if (NoResponse || picLayer->isHidden())
        return;
    if (StartValue) {
        CardMisplaced = x >= Transaction::ReadableX || y >= Transaction::ReadableY;
        tmrCount->setEnabled(true); // a running check is not restarted
        return;
    }
    if (tmrStart->Tag() == u"S2") {
        ScreenState = CardType == 4 ? 7 : 6;
        tmrChange->setInterval(1000);
        tmrChange->restart(); // the login tick comes 1000 ms after the last movement
    }
}

void frmBCP::tmrCount_Timer()
{
    if (ScreenState == 0) {
        ScreenState = 1;
        return;
    }
    if (imgMCard->isHidden()) {
        tmrCount->setEnabled(false);
        return;
    }
    if (CardMisplaced) {
        misread();
        return;
    }
    ScreenState = 3;
    tmrCount->setEnabled(false);
    tmrChange->restart();
    tmrChange_Timer();
}

void frmBCP::misread()
{
    const Transaction::Screen s = Transaction::misread(Language);
    lbl1->setText(s.line1);
    lbl2->setText(s.line2);
    lbl3->setText(s.line3);
    lbl1->show();
    lbl2->show();
    lbl3->show();
    setLamps(Lamps::RedOnly);
    consoleMessage(s.console);
    ScreenState = 1;
    tmrCount->setEnabled(false);
    tmrChange->restart();
}

void frmBCP::showIdle(int state)
{
    if (state == 1) {
        lbl1->setText(QStringLiteral("PRESENT"));
        lbl2->setText(QStringLiteral("YOUR CARD"));
        lbl3->setText(QStringLiteral("請使用卡"));
    } else {
        lbl1->setText(QStringLiteral("IN SERVICE"));
        lbl2->setText(QStringLiteral("歡迎使用服務"));
        lbl3->setText(QStringLiteral("$") + Numbers::money(fareNumber()));
    }
    setLamps(Lamps::AllOff);
    restoreConsoleLines();
    ScreenState = state == 1 ? 2 : 1;
}

void frmBCP::readCard()
{
    Transaction::Card card{purseNumber(), CardType, Language, PaidLock};
    const Transaction::Result r = Transaction::read(card, fareNumber(), halfFareNumber());
    lbl1->setText(r.screen.line1);
    lbl2->setText(r.screen.line2);
    lbl3->setText(r.screen.line3);
    switch (r.lamps) {
    case Transaction::LampsRed:
        setLamps(Lamps::RedOnly);
        break;
    case Transaction::LampsYellowGreen:
        setLamps(Lamps::YellowGreen);
        break;
    case Transaction::LampsGreen:
        setLamps(Lamps::GreenOnly);
        break;
    }
    if (r.outcome == Transaction::Paid) {
        PurseValue = r.newPurse;
        if (m_ddu)
            m_ddu->lblLine4->setText(r.screen.console);
        log(r.logText);
        PaidLock = true;
        tmrLock->setEnabled(true);
    } else {
        consoleMessage(r.screen.console);
        log(r.logText);
    }
    ScreenState = 1;
}

void frmBCP::tmrLock_Timer()
{
    PaidLock = false;
    tmrLock->setEnabled(false);
}
