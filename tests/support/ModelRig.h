#pragma once

#include "support/ModelEnv.h"

#include <QStringList>

#include <memory>

class CardProcessor;
class Console;
class Equipment;

// Both devices wired together as the program wires them, in a world of their own, with no
// window: the card processor and the console driven through their operations, read through
// their state.
class ModelRig : public ModelEnv {
public:
    explicit ModelRig(const QString& routes = ExampleRoutes);
    ~ModelRig();

    // Builds the equipment as start-up does: the boot wait from the store, everything
    // switched off. The store and the route file are read here.
    void start();
    // The program ended and started again on the same store and route file.
    void restart();

    CardProcessor& processor() const;
    Console& console() const;
    Equipment& equipment() const { return *m_equipment; }
    // What waits for the end of the step runs now: journal writes, warnings.
    static void settle();

    // The driver's keys by their labels, space-separated: "路線 1 2 輸入".
    void press(const QString& labels);
    void powerOn();
    void waitForPrompt();
    void logIn(); // power on, boot, start-up card, back to the card, the fare on show
    void presentStartupCard();
    // The passenger's card, at a point in twips from the reader's corner; taken away.
    void present(double xTw = 900, double yTw = 600);
    void withdraw();
    void read(); // present, then one second: the result on show

    // What the devices show, as the tests compare it.
    QStringList bcpLines() const;
    QString lamps() const; // "RYG", a capital letter for a lit lamp
    QStringList display() const;

private:
    std::unique_ptr<Equipment> m_equipment;
};
