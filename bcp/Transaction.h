#pragma once

#include <QString>

#include <optional>

// What one card read does: which screen, which lamps, which console and log lines, and
// the card's new value. Kept free of widgets so every outcome can be checked directly.
namespace Transaction {

// The readable corner of the reader, in twips from its top-left corner.
constexpr double ReadableX = 2550;
constexpr double ReadableY = 1500;
// The lowest value a card may reach.
constexpr double Floor = -35;

struct Screen {
    QString line1, line2, line3;
    QString console; // the console line: a message (refusals) or line 4 (payments)
};

enum Outcome { NotEnoughValue, AlreadyProcessed, StartupCard, Paid };
enum LampPattern { LampsRed, LampsYellowGreen, LampsGreen };

struct Card {
    double purse;
    qint16 type;     // 0 adult, 1 child, 2 student, 3 elderly, 4 start-up card
    qint16 language; // 0 Chinese, anything else English
    bool locked;     // charged within the lock time
};

struct Result {
    Outcome outcome;
    Screen screen;
    LampPattern lamps;
    QString logText; // the event text after the time
    double newPurse;
};

// Children and the elderly pay the half fare.
double chargedFare(qint16 type, double fare, double halfFare);

Result read(const Card& card, double fare, double halfFare);

// The retry screen for a card held outside the readable corner.
Screen misread(qint16 language);

} // namespace Transaction

namespace Fares {

// The fare as a route line writes it; nothing when it is not a number.
std::optional<double> parse(const QString& text);

// Half of the fare, rounded to cents (halves to even); a half fare that needs two
// decimals is raised to the next tenth of a dollar: 3.50 gives 1.80, 4.70 gives 2.40.
double half(double fare);

} // namespace Fares
