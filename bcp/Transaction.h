#pragma once

#include "common/Card.h"
#include "common/Money.h"
#include "triplog/TripLog.h"

#include <QString>

// Which of the three lamps are lit.
enum class LampPattern { AllOff, AllOn, RedOnly, GreenOnly, YellowGreen };

struct Lamps {
    bool red = false;
    bool yellow = false;
    bool green = false;
    static Lamps of(LampPattern pattern);
    bool operator==(const Lamps&) const = default;
};

// What one card read does: which screen, which lamps, which console and log lines, and
// the card's new value. Kept free of widgets so every outcome can be checked directly.
namespace Transaction {

// The readable corner of the reader, in twips from its top-left corner.
constexpr double ReadableX = 2550;
constexpr double ReadableY = 1500;
// The lowest value a card may reach.
constexpr Money Floor = Money::dollars(-35);

struct Screen {
    QString line1, line2, line3;
    QString console; // the console line: a message (refusals) or line 4 (payments)
};

enum class Outcome { NotEnoughValue, AlreadyProcessed, StartupCard, Paid };

struct Card {
    Money purse;
    CardType type;
    CardLanguage language;
    bool locked; // charged within the lock time
};

struct Result {
    Outcome outcome;
    Screen screen;
    LampPattern lamps;
    TripEvent logEvent;
    QString logDetail;
    Money newPurse;
};

// Children and the elderly pay the half fare.
Money chargedFare(CardType type, Money fare, Money halfFare);

Result read(const Card& card, Money fare, Money halfFare);

// The retry screen for a card held outside the readable corner.
Screen misread(CardLanguage language);

} // namespace Transaction
