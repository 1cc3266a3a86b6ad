#include "bcp/StoredCard.h"

#include "common/Numbers.h"
#include "platform/Settings.h"

namespace StoredCard {

Values load()
{
    const double purse =
        Numbers::leadingNumber(Settings::Read(Settings::PurseValue, QStringLiteral("100")));
    const qint16 type =
        Numbers::roundToInt16(
            Numbers::leadingNumber(Settings::Read(Settings::CardType, QStringLiteral("0"))))
            .value_or(0);
    // A number with a fraction or an exponent is rounded, halves to even; a text that is
    // no number, or a number beyond 16 bits, counts as Chinese.
    const auto lang = Numbers::decimal(Settings::Read(Settings::Language, QStringLiteral("0")));
    Values v{};
    // The range is judged on the value as stored, before it is taken to the cent.
    v.purse = (purse < -35 || purse > 999.9) ? Money::dollars(100) : Money::fromDouble(purse);
    v.type = (type > 4 || type < 0) ? CardType::Adult : CardType(type);
    v.language = lang ? Numbers::roundToInt16(*lang).value_or(0) : 0;
    return v;
}

void save(const QString& purse, CardType type, qint16 language)
{
    Settings::Write(Settings::PurseValue, purse);
    Settings::Write(Settings::CardType, QString::number(int(type)));
    Settings::Write(Settings::Language, QString::number(language));
}

} // namespace StoredCard
