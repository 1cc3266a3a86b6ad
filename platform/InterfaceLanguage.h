#pragma once

#include "platform/UiLanguage.h"

class QLocale;

// The language the program's own texts are shown in, and Qt's texts with them. Chinese is
// the language the texts are written in; English comes from the translation built into
// the program. Choosing a language reaches every open window at once: Qt sends each a
// LanguageChange event, and each sets its texts again.
class InterfaceLanguage {
public:
    // English for an English locale (en, en_US, en_GB...), Chinese for every other: the
    // program spoke Chinese alone before it had a choice.
    static UiLanguage forLocale(const QLocale& locale);

    // The language last applied; Chinese until one is.
    static UiLanguage current();
    // Installs the translations for `language` and removes the other's. Qt's own texts
    // (standard buttons, context menus) follow: its Chinese ones where they are installed.
    static void apply(UiLanguage language);
};
