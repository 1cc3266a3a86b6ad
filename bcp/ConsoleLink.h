#pragma once

#include "triplog/TripLog.h"

#include <QString>

// What the card processor asks of the driver console. The main window wires the two
// devices together; the processor never knows the console's class.
class ConsoleLink {
public:
    virtual ~ConsoleLink() = default;

    // A message of the processor: line 1 a single space, line 2 the text, lines 3 and 4
    // empty. The space keeps line 1 from looking like a prompt.
    virtual void showMessage(const QString& text) = 0;
    // The route screen back on lines 1 to 3 unless the console is prompting the driver;
    // line 4 emptied in any case.
    virtual void restoreRouteScreen() = 0;
    // Line 4: what a payment charged.
    virtual void showPayment(const QString& text) = 0;
    // The route and trip keys, locked until the processor has logged in.
    virtual void enableServiceKeys() = 0;
    // The route the driver last entered, or the first line of the table.
    virtual void loadStartRoute() = 0;
    virtual void log(TripEvent event, const QString& detail) = 0;
};
