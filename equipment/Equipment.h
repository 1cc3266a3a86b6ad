#pragma once

#include "journal/JournalEvent.h"

#include <QObject>
#include <QString>

#include <memory>

class CardProcessor;
class Console;
class Journal;
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
    Journal& journal() const { return *m_journal; }

    // Opens the journal, in the user data folder unless told otherwise. Not part of
    // start(): the window is painted first, and the events until then wait in memory.
    bool openJournal(const QString& path = QString());
    // Something done to the equipment from outside, a simulated fault: journalled once
    // the current step is over, as the devices' own events are.
    void note(journal::EventKind kind);

private:
    Journal* m_journal;
    CardProcessor* m_processor;
    Console* m_console;
    std::unique_ptr<ConsoleForProcessor> m_consoleLink;
    std::unique_ptr<ProcessorForConsole> m_processorLink;
};
