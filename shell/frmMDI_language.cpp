// The interface's language: chosen from the 檢視 menu, kept for the next start, and shown
// at once in every open window.
#include "shell/frmMDI.h"

#include "platform/Desktop.h"
#include "platform/InterfaceLanguage.h"
#include "platform/Settings.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QMenu>

void frmMDI::buildLanguageMenu(QMenu* view)
{
    QMenu* menu = view->addMenu(tr("介面語言(&G)"));
    menu->setObjectName(QStringLiteral("mnuLanguage"));
    m_captions.append({menu->menuAction(), QT_TR_NOOP("介面語言(&G)")});
    auto* group = new QActionGroup(this);
    // Each language named in itself, so that whoever reads only one finds it.
    const struct {
        const char* name;
        QString caption;
        UiLanguage language;
    } choices[] = {
        {"mnuChinese", QStringLiteral("中文(&C)"), UiLanguage::Chinese},
        {"mnuEnglish", QStringLiteral("&English"), UiLanguage::English},
    };
    for (const auto& c : choices) {
        QAction* a = menu->addAction(c.caption);
        a->setObjectName(QLatin1String(c.name));
        a->setCheckable(true);
        a->setChecked(c.language == InterfaceLanguage::current());
        group->addAction(a);
        const UiLanguage language = c.language;
        connect(a, &QAction::triggered, this, [this, language] { chooseLanguage(language); });
        m_mnuLanguage << a;
    }
}

void frmMDI::chooseLanguage(UiLanguage language)
{
    Settings::setUiLanguage(language);
    // Qt tells every window, this one included (see changeEvent).
    InterfaceLanguage::apply(language);
}

void frmMDI::retranslateMenus()
{
    setWindowTitle(Desktop::title());
    for (const auto& [action, caption] : m_captions)
        action->setText(tr(caption));
    for (QAction* a : m_mnuLanguage)
        a->setChecked((a->objectName() == QLatin1String("mnuEnglish")) ==
                      (InterfaceLanguage::current() == UiLanguage::English));
}

void frmMDI::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::LanguageChange)
        retranslateMenus();
    QMainWindow::changeEvent(e);
}
