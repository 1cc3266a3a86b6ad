#include "bcp/StoredCard.h"

#include "common/Numbers.h"
#include "shell/Settings.h"

namespace StoredCard {

Values load()
{
    Values v{};
    v.purse = Numbers::leadingNumber(Settings::Read(Settings::PurseValue, QStringLiteral("100")));
    v.type = Numbers::roundToInt16(
                 Numbers::leadingNumber(Settings::Read(Settings::CardType, QStringLiteral("0"))))
                 .value_or(0);
    const auto lang = Numbers::wholeNumber(Settings::Read(Settings::Language, QStringLiteral("0")));
    v.language = (lang && *lang >= -32768 && *lang <= 32767) ? static_cast<qint16>(*lang) : 0;
    if (v.purse < -35 || v.purse > 999.9)
        v.purse = 100.0;
    if (v.type > 4 || v.type < 0)
        v.type = 0;
    return v;
}

void save(const QVariant& purse, qint16 type, qint16 language)
{
    const QString text = purse.typeId() == QMetaType::QString ? purse.toString()
                                                              : Numbers::shortest(purse.toDouble());
    Settings::Write(Settings::PurseValue, text);
    Settings::Write(Settings::CardType, QString::number(type));
    Settings::Write(Settings::Language, QString::number(language));
}

} // namespace StoredCard
