#pragma once

#include "bcp/Transaction.h"
#include "common/Money.h"

#include <QString>

// The simulated card as the settings store keeps it between runs: its value, type and
// language. Kept free of widgets so the rules can be driven with any stored text.
namespace StoredCard {

struct Values {
    Money purse; // -35.00 to 999.90
    CardType type;
    qint16 language; // 0 Chinese, anything else English
};

// Reads the three keys. The value and the type take the leading number of their text;
// a value outside -35..999.9 becomes 100, a type outside 0..4 becomes 0. The language is
// rounded to a whole number, halves to even; one that is no number, or beyond 16 bits,
// counts as Chinese.
Values load();

// Writes the three keys, the value as the text given, the type and the language as
// decimal text.
void save(const QString& purse, CardType type, qint16 language);

} // namespace StoredCard
