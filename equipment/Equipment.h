#pragma once

#include <QObject>

#include <memory>

class CardProcessor;
class Console;
class ConsoleForProcessor;
class ProcessorForConsole;

// The equipment on the bus: the card processor and the driver console, each told of the
// other through the narrow link it declares. The processor comes first: it loads the card
// and its boot timer runs from then on; the console then reads the route table.
class Equipment : public QObject {
    Q_OBJECT
public:
    explicit Equipment(QObject* parent = nullptr);
    ~Equipment() override;

    // What start-up does once everything is built: the boot wait as the store has it, and
    // one press of the power key, which switches the freshly created equipment off.
    void start();

    CardProcessor& processor() const { return *m_processor; }
    Console& console() const { return *m_console; }

private:
    CardProcessor* m_processor;
    Console* m_console;
    std::unique_ptr<ConsoleForProcessor> m_consoleLink;
    std::unique_ptr<ProcessorForConsole> m_processorLink;
};
