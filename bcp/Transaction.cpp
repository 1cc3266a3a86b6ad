#include "bcp/Transaction.h"

Lamps Lamps::of(LampPattern pattern)
{
    switch (pattern) {
    case LampPattern::AllOff:
        return {false, false, false};
    case LampPattern::AllOn:
        return {true, true, true};
    case LampPattern::RedOnly:
        return {true, false, false};
    case LampPattern::GreenOnly:
        return {false, false, true};
    case LampPattern::YellowGreen:
        return {false, true, true};
    }
    return {};
}

namespace Transaction {

Money chargedFare(CardType type, Money fare, Money halfFare)
{
    return (type == CardType::Child || type == CardType::Elderly) ? halfFare : fare;
}

Result read(const Card& card, Money fare, Money halfFare)
{
    const bool english = card.language == CardLanguage::English;
    const Money charged = chargedFare(card.type, fare, halfFare);
    Result r{};
    r.newPurse = card.purse;

    if (card.purse <= Money() || card.purse - charged < Floor) {
        r.outcome = Outcome::NotEnoughValue;
        r.screen = english
                       ? Screen{QStringLiteral("NOT ENOUGH"), QStringLiteral("PURSE VALUE"), {}, {}}
                       : Screen{QStringLiteral("剩餘值不足　　"), {}, {}, {}};
        r.screen.console = QStringLiteral("　　　　剩餘值不足");
        r.lamps = LampPattern::RedOnly;
        r.logEvent = TripEvent::NotEnoughValue;
        return r;
    }
    if (card.locked) {
        r.outcome = Outcome::AlreadyProcessed;
        r.screen = english ? Screen{QStringLiteral("CARD"), QStringLiteral("PROCESSED"), {}, {}}
                           : Screen{{}, QStringLiteral(" 此卡已處理 "), {}, {}};
        r.screen.console = QStringLiteral("　　　　此卡已處理");
        r.lamps = LampPattern::YellowGreen;
        r.logEvent = TripEvent::CardProcessed;
        return r;
    }
    if (card.type == CardType::Startup) {
        // The start-up card is never charged; it shows the Chinese refusal in any language.
        r.outcome = Outcome::StartupCard;
        r.screen =
            Screen{QStringLiteral("剩餘值不足　　"), {}, {}, QStringLiteral("　　　　剩餘值不足")};
        r.lamps = LampPattern::RedOnly;
        r.logEvent = TripEvent::NotEnoughValue;
        return r;
    }

    r.outcome = Outcome::Paid;
    r.newPurse = card.purse - charged;
    const QString amount = charged.text();
    static const char16_t* const zh[] = {u"成人", u"小童", u"學生", u"長者"};
    static const char* const en[] = {"ADULT　$", "CHILD　$", "STUDENT $", "ELDERY　$"};
    const int index = int(card.type);
    const QString word = QString::fromUtf16(zh[index]);
    r.screen.line1 = english ? QString::fromUtf8(en[index]) + amount
                             : word + QStringLiteral(" $") + amount + QStringLiteral("　");
    r.screen.console = QStringLiteral("　") + word + QStringLiteral("　$") + amount;
    r.screen.line2 = english ? QStringLiteral(" PURSE VALUE ") : QStringLiteral("　剩餘值");
    r.screen.line3 = QStringLiteral("$") + r.newPurse.text() + QStringLiteral(" ");
    // The log names the full fare whatever the card paid.
    r.logEvent = TripEvent::Paid;
    r.logDetail = fare.text();
    r.lamps = r.newPurse <= Money() ? LampPattern::YellowGreen : LampPattern::GreenOnly;
    return r;
}

Screen misread(CardLanguage language)
{
    Screen s;
    if (language == CardLanguage::English) {
        s.line1 = QStringLiteral("PLEASE TRY");
        s.line2 = QStringLiteral("AGAIN");
    } else {
        s.line1 = QStringLiteral("請再拍卡　  ");
    }
    s.console = QStringLiteral("　　不能讀取資料");
    return s;
}

} // namespace Transaction
