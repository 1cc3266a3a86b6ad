// Loading a route line, route entry, section stepping and the terminus turn.
#include "ddu/frmDDU.h"

#include "bcp/frmBCP.h"
#include "common/Clock.h"
#include "common/Numbers.h"
#include "routes/RouteTable.h"
#include "shell/Desktop.h"

#include <QLabel>

namespace {

// A fare that is not a number is shown as it stands.
QString fareText(const QString& fare)
{
    const auto v = Numbers::parseDecimal(fare);
    return v ? Numbers::money(*v) : fare;
}

} // namespace

void frmDDU::LoadRoute(qsizetype RouteNo)
{
    if (m_bcp)
        m_bcp->StopService(-1);
    lstTag = QString::number(RouteNo);
    const RouteTable::Fields f = RouteTable::split(RouteTable::entry(lst, RouteNo));
    if (f.hasRoute)
        CurRoute = f.route;
    if (f.hasDest) {
        CurDest = f.dest;
        CurFare = f.fare;
        m_fareKnown = true;
    }
    lblOrgLine1->setText(OrgLine1 + fareText(CurFare));
    lblOrgLine2->setText(OrgLine2 + CurRoute);
    lblOrgLine3->setText(OrgLine3 + CurDest);
    setLines(QStringLiteral("正在擷取路線資料..."), QStringLiteral("請稍候..."), QString(), QString());
    Log(Clock::timeText() + QStringLiteral(" Route Changed ") + CurRoute);
    // With no route file, or a first line without fields, there is no fare yet. Handing
    // the processor an empty one would end the program at the first log-in; it keeps its
    // $0.00 instead, as it does when the stored last route is not found.
    if (m_bcp && m_fareKnown)
        m_bcp->ChangeFare(CurFare);
}

void frmDDU::loadFound(qsizetype i)
{
    const RouteTable::Fields f = RouteTable::split(lst.at(i));
    CurDest = f.dest;
    CurFare = f.fare;
    CurRoute = f.route;
    LoadRoute(i);
}

void frmDDU::ChangeRoute(const QString& NewRoute)
{
    const auto i = RouteTable::findRoute(lst, NewRoute);
    if (!i) {
        lblLine3->setText(NotFound);
        InputMode = RouteEntry;
        return;
    }
    loadFound(*i);
    InputMode = Idle;
    clearShift();
}

void frmDDU::ChangeDir()
{
    const auto i = RouteTable::findOtherDirection(lst, CurRoute, CurDest);
    if (!i) {
        Desktop::instance().beep();
        return;
    }
    loadFound(*i);
    Log(Clock::timeText() + QStringLiteral(" Finished Trip"));
    Log(Clock::timeText() + QStringLiteral(" Direction Changed"));
}

void frmDDU::imgUp_Click()
{
    if (lstTag.isEmpty())
        return; // no route loaded yet
    if (const auto n = RouteTable::stepSection(lst, lstTag.toLongLong(), -1))
        LoadRoute(*n);
}

void frmDDU::imgDown_Click()
{
    if (lstTag.isEmpty())
        return;
    if (const auto n = RouteTable::stepSection(lst, lstTag.toLongLong(), +1))
        LoadRoute(*n);
}
