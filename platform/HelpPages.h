#pragma once

#include <QString>
#include <QStringList>

// The two help pages the program carries, shown in the system's browser through a
// temporary file in the program's directory.
namespace HelpPages {

enum class Page { Console, Card };

// The page's lines, in order; the page text joins them with CR LF.
QStringList lines(Page page);
QString text(Page page);

// The warning shown when the page cannot be written or opened.
QString failureMessage(Page page);

// Writes the page whole to temphelp.html and opens it; any failure gives the page's warning.
// Returns whether the page was handed to the browser.
bool show(Page page);

} // namespace HelpPages
