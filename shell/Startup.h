#pragma once

#include "platform/UiLanguage.h"

#include <QString>
#include <QStringList>

class QApplication;

namespace Startup {

// Style, fonts, names and Qt's own texts in Chinese, shared by the program and its tests.
void prepareApplication(QApplication& app);

// What the command line asks for: to run the simulator, or only to print `text` and end
// with status 0 (--help, --version). Read before any application object exists, so that
// neither needs a display; any other argument is ignored.
struct CommandLine {
    bool run = true;
    QString text;
};
// --help answers in Chinese for a zh_* locale, in English for any other and for none.
CommandLine readCommandLine(const QStringList& arguments,
                            UiLanguage language = UiLanguage::English);
CommandLine readCommandLine(int argc, char* argv[]);
// The language the locale of the environment asks for, before any settings are read.
UiLanguage commandLineLanguage();

inline const QString Version = QStringLiteral(PELUMO_VERSION);

} // namespace Startup
