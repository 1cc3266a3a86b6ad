#pragma once

#include <QString>

// What the driver console asks of the card processor. The main window wires the two
// devices together; the console never knows the processor's class.
class ProcessorLink {
public:
    virtual ~ProcessorLink() = default;

    // The console's power key switches the processor with it.
    virtual void powerOn() = 0;
    virtual void powerOff() = 0;
    // The fare of a newly loaded route line, as the line writes it, and where that line
    // stands ("/path/routes.dat 第 3 行"), for a message about it.
    virtual void changeFare(const QString& fareText, const QString& source) = 0;
    // Out of service while the driver keys something in, and back.
    virtual void stopService() = 0;
    virtual void resumeService() = 0;
    // Out of service for good while the trip log goes out: until the power is switched.
    virtual void pause() = 0;
};
