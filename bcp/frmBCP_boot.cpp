// The boot: lamp test under a dark cover, the address screen, the login prompt and the
// login with the start-up card.
#include "bcp/frmBCP.h"

#include "common/Timer.h"
#include "common/Yield.h"
#include "ddu/frmDDU.h"
#include "shell/Settings.h"

#include <QLabel>

void frmBCP::tmrStart_Timer()
{
    const QString step = tmrStart->Tag();
    if (step == u"0") {
        picCover->show();
        tmrStart->setTag(QStringLiteral("A"));
    } else if (step == u"A") {
        picGreen->setBackColor(GreenOn);
        tmrStart->setTag(QStringLiteral("1"));
    } else if (step == u"1") {
        picYellow->setBackColor(YellowOn);
        tmrStart->setTag(QStringLiteral("2"));
    } else if (step == u"2") {
        picRed->setBackColor(RedOn);
        tmrStart->setInterval(2000);
        tmrStart->setTag(QStringLiteral("3"));
    } else if (step == u"3") {
        setLamps(Lamps::AllOff);
        picCover->hide();
        tmrStart->setInterval(1000);
        tmrStart->setTag(QStringLiteral("4"));
    } else if (step == u"4") {
        tmrLoadLong->setEnabled(true);
        tmrStart->setEnabled(false);
        picLoad->show();
    } else if (step == u"S") {
        picLoad->hide();
        tmrStart->setTag(QStringLiteral("S2"));
    } else if (step == u"S2") {
        picLoad->hide();
        tmrStart->setEnabled(false);
        loginPrompt();
    } else if (step == u"S3") {
        tmrStart->setEnabled(false);
        completeLogin();
    }
}

void frmBCP::tmrLoadLong_Timer()
{
    tmrLoadLong->setEnabled(false);
    lblB[4]->setText(QStringLiteral("DDU Address: 127.0.0.1"));
    yieldEvents(); // paint the new address
    tmrStart->setTag(QStringLiteral("S"));
    tmrStart->setEnabled(true);
}

void frmBCP::promptLines()
{
    lbl1->setText(QStringLiteral("PRESENT YOUR"));
    lbl2->setText(QStringLiteral("CARD TO LOGIN"));
    lbl3->setText(QStringLiteral("請使用卡登入"));
}

void frmBCP::loginPrompt()
{
    promptLines();
    consoleMessage(QStringLiteral("　　請使用卡登入"));
}

void frmBCP::completeLogin()
{
    const QString last = Settings::lastRoute();
    if (m_ddu) {
        if (last.isEmpty())
            m_ddu->LoadRoute(0);
        else
            m_ddu->ChangeRoute(last);
    }
    ScreenState = 2;
    tmrCount->setEnabled(true);
    tmrChange->setEnabled(true);
    if (m_ddu) {
        for (QWidget* key : {static_cast<QWidget*>(m_ddu->imgFinish), static_cast<QWidget*>(m_ddu->imgRoute),
                             static_cast<QWidget*>(m_ddu->imgOutput), static_cast<QWidget*>(m_ddu->imgDir),
                             static_cast<QWidget*>(m_ddu->imgEnt), static_cast<QWidget*>(m_ddu->imgCancel)})
            key->setEnabled(true);
    }
    StartValue = true;
}
