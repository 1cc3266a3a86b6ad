#include "shell/Startup.h"

#include "dialogs/frmViewer.h"
#include "panels/Artwork.h"
#include "platform/InterfaceLanguage.h"
#include "shell/QtDesktop.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFont>
#include <QIcon>
#include <QLocale>
#include <QStyleFactory>

namespace Startup {

void prepareApplication(QApplication& app)
{
    // Fusion draws the same frames everywhere, so the panels fit side by side exactly.
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setApplicationDisplayName(QString());
    app.setWindowIcon(Artwork::icon());
    QtDesktop::setViewer([](QWidget* parent, const QString& path, Desktop::ViewAs as) {
        const auto format =
            as == Desktop::ViewAs::Page ? frmViewer::Format::Html : frmViewer::Format::PlainText;
        return frmViewer::showFile(parent, path, format) != nullptr;
    });
    // The locale's language until the settings store is read: a second copy says so in it.
    InterfaceLanguage::apply(InterfaceLanguage::forLocale(QLocale()));
    // The devices' fonts, mapped to the free fonts that look like them.
    const QString ming = QStringLiteral("AR PL UMing TW");
    QFont::insertSubstitution(QStringLiteral("新細明體"), ming);
    QFont::insertSubstitution(QStringLiteral("PMingLiU"), ming);
    QFont::insertSubstitutions(QStringLiteral("Arial Narrow"),
                               {QStringLiteral("Liberation Sans Narrow"), ming});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), ming});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans"), ming});
    // Menus and captions: Latin letters and digits in a proportional face, as in any
    // desktop program, Chinese in the same Traditional Chinese face as the devices (not in
    // whatever the system offers first, often a second CJK font with mainland forms).
    QFont ui = QApplication::font();
    ui.setFamilies({QStringLiteral("DejaVu Sans"), ming});
    QApplication::setFont(ui);
}

CommandLine readCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        Desktop::Title +
        QStringLiteral(": a simulator of a bus's fare-card equipment, the passenger\n"
                       "card processor and the driver console side by side, worked with\n"
                       "the mouse or the keyboard (Ctrl+P switches it on, Insert taps the\n"
                       "card, F1 shows the keys). See pelumo(1) for the keyboard map and\n"
                       "where it keeps its files."));
    // "-reverse" is one of QApplication's own options, not -r -e -v...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Print this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Print the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.parse(arguments); // unknown options are left to QApplication, or ignored

    if (parser.isSet(help)) {
        // The usage line names the command, not the path it was started by.
        const QString options = parser.helpText().section(u'\n', 1);
        return {false, QStringLiteral("Usage: pelumo [options]\n") + options};
    }
    if (parser.isSet(version))
        return {false, QStringLiteral("pelumo ") + Version + u'\n'};
    return {};
}

CommandLine readCommandLine(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return readCommandLine(arguments);
}

} // namespace Startup
