#pragma once

#include "bcp/frmBCP.h"
#include "ddu/frmDDU.h"

#include <QLabel>
#include <QStringList>

// What the user sees and what the trip log holds, in the forms the tests compare.
namespace Readout {

// The console's four display lines.
inline QStringList display(const frmDDU* d)
{
    return {d->lblLine1->text(), d->lblLine2->text(), d->lblLine3->text(), d->lblLine4->text()};
}

// The route screen the console keeps for the current section.
inline QStringList storedLines(const frmDDU* d)
{
    return {d->lblOrgLine1->text(), d->lblOrgLine2->text(), d->lblOrgLine3->text()};
}

// The card processor's three display lines.
inline QStringList bcpLines(const frmBCP* b)
{
    return {b->lbl1->text(), b->lbl2->text(), b->lbl3->text()};
}

// Lamps as "RYG" with a capital letter for a lit lamp: "rYG" is yellow and green.
inline QString lamps(const frmBCP* b)
{
    QString s;
    s += b->picRed->BackColor() == frmBCP::RedOn ? u'R' : u'r';
    s += b->picYellow->BackColor() == frmBCP::YellowOn ? u'Y' : u'y';
    s += b->picGreen->BackColor() == frmBCP::GreenOn ? u'G' : u'g';
    return s;
}

// The event texts of the timed lines of the in-memory log, without their time.
inline QStringList events(const frmDDU* d)
{
    QStringList out;
    for (const QString& line : d->txtLog.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        if (line.size() > 8 && line.at(2) == u':' && line.at(5) == u':')
            out << line.mid(8);
    return out;
}

} // namespace Readout
