#include "bcp/Transaction.h"

#include "common/Numbers.h"

#include <cmath>

namespace Transaction {

using Numbers::money;

double chargedFare(qint16 type, double fare, double halfFare)
{
    return (type == 1 || type == 3) ? halfFare : fare;
}

Result read(const Card& card, double fare, double halfFare)
{
    const bool english = card.language != 0;
    const double charged = chargedFare(card.type, fare, halfFare);
    Result r{};
    r.newPurse = card.purse;

    if (card.purse <= 0 || card.purse - charged < Floor) {
        r.outcome = NotEnoughValue;
        r.screen = english ? Screen{QStringLiteral("NOT ENOUGH"), QStringLiteral("PURSE VALUE"), {}, {}}
                           : Screen{QStringLiteral("剩餘值不足　　"), {}, {}, {}};
        r.screen.console = QStringLiteral("　　　　剩餘值不足");
        r.lamps = LampsRed;
        r.logText = QStringLiteral(" Not enough value");
        return r;
    }
    if (card.locked) {
        r.outcome = AlreadyProcessed;
        r.screen = english ? Screen{QStringLiteral("CARD"), QStringLiteral("PROCESSED"), {}, {}}
                           : Screen{{}, QStringLiteral(" 此卡已處理 "), {}, {}};
        r.screen.console = QStringLiteral("　　　　此卡已處理");
        r.lamps = LampsYellowGreen;
        r.logText = QStringLiteral(" Card Processed");
        return r;
    }
    if (card.type == 4) {
        // The start-up card is never charged; it shows the Chinese refusal in any language.
        r.outcome = StartupCard;
        r.screen = Screen{QStringLiteral("剩餘值不足　　"), {}, {},
                          QStringLiteral("　　　　剩餘值不足")};
        r.lamps = LampsRed;
        r.logText = QStringLiteral(" Not enough value");
        return r;
    }

    r.outcome = Paid;
    r.newPurse = card.purse - charged;
    const QString amount = money(charged);
    static const char16_t* const zh[] = {u"成人", u"小童", u"學生", u"長者"};
    static const char* const en[] = {"ADULT　$", "CHILD　$", "STUDENT $", "ELDERY　$"};
    const QString word = QString::fromUtf16(zh[card.type]);
    r.screen.line1 = english ? QString::fromUtf8(en[card.type]) + amount
                             : word + QStringLiteral(" $") + amount + QStringLiteral("　");
    r.screen.console = QStringLiteral("　") + word + QStringLiteral("　$") + amount;
    r.screen.line2 = english ? QStringLiteral(" PURSE VALUE ") : QStringLiteral("　剩餘值");
    r.screen.line3 = QStringLiteral("$") + money(r.newPurse) + QStringLiteral(" ");
    // The log names the full fare whatever the card paid.
    r.logText = QStringLiteral(" Paid: Adult Fare $") + money(fare);
    r.lamps = r.newPurse <= 0 ? LampsYellowGreen : LampsGreen;
    return r;
}

Screen misread(qint16 language)
{
    Screen s;
    if (language != 0) {
        s.line1 = QStringLiteral("PLEASE TRY");
        s.line2 = QStringLiteral("AGAIN");
    } else {
        s.line1 = QStringLiteral("請再拍卡　  ");
    }
    s.console = QStringLiteral("　　不能讀取資料");
    return s;
}

} // namespace Transaction

namespace Fares {

std::optional<double> parse(const QString& text)
{
    return Numbers::parseDecimal(text);
}

double half(double fare)
{
    double h = Numbers::roundHalfEven(fare / 2.0, 2);
    const QString s = Numbers::shortest(h);
    if (s.size() > 2 && s.at(s.size() - 3) == u'.')
        h = std::floor(Numbers::roundHalfEven((h + 0.1) * 10.0, 9)) / 10.0;
    return h;
}

} // namespace Fares
