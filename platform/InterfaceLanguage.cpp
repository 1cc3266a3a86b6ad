#include "platform/InterfaceLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

struct Installed {
    UiLanguage language = UiLanguage::Chinese;
    bool applied = false;
    QTranslator* program = nullptr; // the English texts; none for Chinese
    QTranslator* qt = nullptr;      // Qt's own Chinese texts; none for English
};

Installed& installed()
{
    static Installed i;
    return i;
}

void remove(QTranslator*& translator)
{
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
    translator = nullptr;
}

// A translator loaded from `name` in `folder`, installed; nullptr when there is no such file.
QTranslator* install(const QString& name, const QString& folder)
{
    auto* t = new QTranslator;
    if (!t->load(name, folder)) {
        delete t;
        return nullptr;
    }
    QCoreApplication::installTranslator(t);
    return t;
}

} // namespace

UiLanguage InterfaceLanguage::forLocale(const QLocale& locale)
{
    return locale.language() == QLocale::English ? UiLanguage::English : UiLanguage::Chinese;
}

UiLanguage InterfaceLanguage::current()
{
    return installed().language;
}

void InterfaceLanguage::apply(UiLanguage language)
{
    Installed& i = installed();
    if (i.applied && language == i.language)
        return;
    i.applied = true;
    remove(i.program);
    remove(i.qt);
    i.language = language;
    if (language == UiLanguage::English) {
        // Built into the program: nothing to install beside it.
        i.program = install(QStringLiteral("pelumo_en"), QStringLiteral(":/i18n"));
    } else {
        // Without Qt's Chinese texts the standard buttons stay in English; nothing else
        // depends on them.
        i.qt = install(QStringLiteral("qtbase_zh_TW"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }
}
