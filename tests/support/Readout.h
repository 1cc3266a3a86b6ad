#pragma once

#include <QString>
#include <QStringList>

class Console;
class frmBCP;
class frmDDU;

// What the user sees and what the trip log holds, in the forms the tests compare.
namespace Readout {

// The console's four display lines, as the panel shows them.
QStringList display(const frmDDU* d);

// The card processor's three display lines, as the panel shows them.
QStringList bcpLines(const frmBCP* b);

// Lamps as "RYG" with a capital letter for a lit lamp: "rYG" is yellow and green.
QString lamps(const frmBCP* b);

// The route screen the console keeps for the current section.
QStringList storedLines(const Console* c);

// The index of the current line of the route table, as text; empty before the first load.
QString currentLine(const Console* c);

// The event texts of the timed lines of the in-memory log, without their time.
QStringList events(const Console* c);
// The last of them.
QString lastEvent(const Console* c);

} // namespace Readout
