#pragma once

#include "common/Card.h"
#include "common/Clock.h"
#include "common/Money.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>

#include <optional>

// One thing the equipment did, as its model says it at the end of a step. Plain data: the
// models fill it in without knowing where it goes, and the journal writes it afterwards.
namespace journal {

enum class EventKind {
    PowerOn,
    PowerOff,
    LogIn,
    LoginRefused, // a card other than the start-up card at the log-in prompt
    RouteLoaded,  // a route line loaded: a new route, direction or section
    DirectionChanged,
    TripStarted, // the start-of-trip key
    FareChanged,
    Read,
    TopUp,
    CardChanged, // type or language
    Output,
    VibrationOn,
    VibrationOff,
    OverheatOn,
    OverheatOff,
};

// What a read did. Everything but Paid charges nothing.
enum class ReadOutcome { Paid, AlreadyPaid, NotEnoughValue, Misread, RefusedCard, Overheated };

struct Event {
    EventKind kind = EventKind::PowerOn;
    QDateTime at;
    // The route line, for route loads and fare changes; the journal adds it to the others.
    QString route;
    QString destination;
    int section = 0; // 1-based within its direction; 0 when none is loaded
    // The card on the reader or in the dialog.
    std::optional<CardType> card;
    std::optional<CardLanguage> language;
    Money fare; // the full fare
    Money charged;
    Money before; // the card's value before and after
    Money after;
    ReadOutcome outcome = ReadOutcome::Paid;
    int lines = 0;        // an output's block, in lines
    bool written = false; // the output reached log.txt
    QString detail;       // the fare as the route line writes it

    // An event of `kind` that happens now, the rest to be filled in.
    static Event now(EventKind kind)
    {
        Event e;
        e.kind = kind;
        e.at = Clock::now();
        return e;
    }
};

} // namespace journal

Q_DECLARE_METATYPE(journal::Event)
