#pragma once

#include "platform/UiLanguage.h"

#include <QString>
#include <QStringList>

// The two help pages the program carries, shown in the system's browser through a
// temporary file beside log.txt (see AppPaths), or in the program's own viewer when no
// browser starts. Each page is written whole in each interface language.
namespace HelpPages {

enum class Page { Console, Card };

// The page's lines, in order; the page text joins them with CR LF.
QStringList lines(Page page, UiLanguage language = UiLanguage::Chinese);
QString text(Page page, UiLanguage language = UiLanguage::Chinese);

// The warning shown when the page cannot be written.
QString failureMessage(Page page);
// The warning shown when the page was written but no browser could be started for it.
QString noBrowserMessage();

// Writes the page whole to a new temphelp.html (a link or file in its place is removed,
// never followed) and opens it in the browser, or in the program's own viewer when no
// browser opens it (which the desktop's opener may tell only a moment later); a failure
// gives the warning that says which step failed. false when the page is known at once not
// to be shown.
bool show(Page page, UiLanguage language = UiLanguage::Chinese);

} // namespace HelpPages
