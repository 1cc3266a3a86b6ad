#pragma once

#include "bcp/ConsoleLink.h"
#include "ddu/ProcessorLink.h"

class CardProcessor;
class Console;

// The two devices meet here and nowhere else: each side's wishes, answered by the other.
class ConsoleForProcessor : public ConsoleLink {
public:
    explicit ConsoleForProcessor(Console& console) : m_console(console) {}
    void showMessage(const QString& text) override;
    void restoreRouteScreen() override;
    void showPayment(const QString& text) override;
    void enableServiceKeys() override;
    void loadStartRoute() override;
    void log(TripEvent event, const QString& detail) override;

private:
    Console& m_console;
};

class ProcessorForConsole : public ProcessorLink {
public:
    explicit ProcessorForConsole(CardProcessor& processor) : m_processor(processor) {}
    void powerOn() override;
    void powerOff() override;
    void changeFare(const RouteLine& line) override;
    void stopService() override;
    void resumeService() override;
    void pause() override;

private:
    CardProcessor& m_processor;
};
