#include "bcp/StoredCard.h"

#include "common/Numbers.h"
#include "platform/Settings.h"

namespace StoredCard {

Values load()
{
    const double purse =
        Numbers::leadingNumber(Settings::Read(Settings::PurseValue, QStringLiteral("100")));
    const qint16 type = Numbers::roundToInt16(Numbers::leadingNumber(
                                                  Settings::Read(Settings::CardType, QStringLiteral("0"))))
                            .value_or(0);
    const auto lang = Numbers::wholeNumber(Settings::Read(Settings::Language, QStringLiteral("0")));
    Values v{};
    // The range is judged on the value as stored, before it is taken to the cent.
    v.purse = (purse < -35 || purse > 999.9) ? Money::dollars(100) : Money::fromDouble(purse);
    v.type = (type > 4 || type < 0) ? CardType::Adult : CardType(type);
    v.language = (lang && *lang >= -32768 && *lang <= 32767) ? static_cast<qint16>(*lang) : 0;
    return v;
}

void save(const QString& purse, CardType type, qint16 language)
{
    Settings::Write(Settings::PurseValue, purse);
    Settings::Write(Settings::CardType, QString::number(int(type)));
    Settings::Write(Settings::Language, QString::number(language));
}

} // namespace StoredCard
