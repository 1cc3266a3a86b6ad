#include "shell/Startup.h"

#include "common/Artwork.h"
#include "shell/Desktop.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>

namespace Startup {

void prepareApplication(QApplication& app)
{
    // Fusion draws the same frames everywhere, so the panels fit side by side exactly.
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setApplicationDisplayName(QString());
    app.setWindowIcon(Artwork::icon());
    // Standard buttons and context menus in the program's language, whatever the system's.
    // Without the translation they stay in English; nothing else depends on it.
    auto* qtTexts = new QTranslator(&app);
    if (qtTexts->load(QStringLiteral("qtbase_zh_TW"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qtTexts);
    // The devices' fonts, mapped to the free fonts that look like them.
    const QString ming = QStringLiteral("AR PL UMing TW");
    QFont::insertSubstitution(QStringLiteral("新細明體"), ming);
    QFont::insertSubstitution(QStringLiteral("PMingLiU"), ming);
    QFont::insertSubstitutions(QStringLiteral("Arial Narrow"),
                               {QStringLiteral("Liberation Sans Narrow"), ming});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), ming});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans"), ming});
    // Menus and captions in the system's font fall back to the same Traditional Chinese
    // font, not to whatever the system offers first (often a second CJK font with
    // mainland glyph forms, loaded on top of this one).
    QFont ui = QApplication::font();
    ui.setFamilies({ui.family(), ming});
    QApplication::setFont(ui);
}

} // namespace Startup
