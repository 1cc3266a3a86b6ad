#pragma once

#include "routes/RouteLine.h"

// What the driver console asks of the card processor. The main window wires the two
// devices together; the console never knows the processor's class.
class ProcessorLink {
public:
    virtual ~ProcessorLink() = default;

    // The console's power key switches the processor with it.
    virtual void powerOn() = 0;
    virtual void powerOff() = 0;
    // A newly loaded route line: its fare, and where the line stands for a message about it.
    virtual void changeFare(const RouteLine& line) = 0;
    // Out of service while the driver keys something in, and back.
    virtual void stopService() = 0;
    virtual void resumeService() = 0;
    // Out of service for good while the trip log goes out: until the power is switched.
    virtual void pause() = 0;
};
