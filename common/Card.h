#pragma once

#include <QtGlobal>

// The card's type, as the card settings dialog lists them and the store keeps them.
enum class CardType : qint16 { Adult = 0, Child = 1, Student = 2, Elderly = 3, Startup = 4 };

// The language of the card's messages. The store keeps a code: 0 is Chinese and every
// other code English, so a code is turned into this once, where it comes in.
enum class CardLanguage : qint16 { Chinese = 0, English = 1 };

constexpr CardLanguage cardLanguage(qint64 code)
{
    return code == 0 ? CardLanguage::Chinese : CardLanguage::English;
}
