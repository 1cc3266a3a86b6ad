#pragma once

#include "common/Card.h"
#include "common/Money.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <array>

// What the trip report shows, as the journal's queries return it. Passengers and takings
// are indexed by the card type's code (CardType), refusals by Refusal.
namespace journal {

// Why a read charged nothing.
enum class Refusal {
    AlreadyPaid = 0,
    NotEnoughValue = 1,
    Misread = 2,
    RefusedCard = 3,
    Overheated = 4
};
constexpr int RefusalCount = 5;
constexpr int CardTypeCount = 5;

struct Tally {
    std::array<int, CardTypeCount> passengers{}; // paid reads
    std::array<Money, CardTypeCount> takings{};  // amounts charged
    std::array<int, RefusalCount> refusals{};

    Money total() const
    {
        Money sum;
        for (Money m : takings)
            sum = sum + m;
        return sum;
    }
    int passengerCount() const
    {
        int n = 0;
        for (int p : passengers)
            n += p;
        return n;
    }
};

// One trip: the reads between one start of a trip (log-in, a route or direction loaded,
// the start-of-trip key) and the next.
struct TripRow {
    qint64 trip = 0;
    QString route;
    QString destination; // the direction, as the route's destination
    QDateTime start;
    QDateTime end;
    Tally tally;
};

struct DayRow {
    QDate day; // the day a trip started on
    Tally tally;
};

struct Report {
    QList<TripRow> trips; // in time order
    QList<DayRow> days;   // in date order
    Tally total;
};

} // namespace journal
