#include "equipment/Equipment.h"

#include "bcp/CardProcessor.h"
#include "ddu/Console.h"
#include "equipment/DeviceLinks.h"
#include "journal/Journal.h"
#include "platform/AppPaths.h"
#include "platform/Settings.h"

Equipment::Equipment(QObject* parent)
    : QObject(parent), m_journal(new Journal(this)), m_processor(new CardProcessor(this)),
      m_console(new Console(this)),
      m_consoleLink(std::make_unique<ConsoleForProcessor>(*m_console)),
      m_processorLink(std::make_unique<ProcessorForConsole>(*m_processor))
{
    setObjectName(QStringLiteral("Equipment"));
    m_processor->setConsole(m_consoleLink.get());
    m_console->setProcessor(m_processorLink.get());
    // Queued: the journal writes once the step that made the event is over, never inside.
    connect(m_processor, &CardProcessor::journalEvent, m_journal, &Journal::record,
            Qt::QueuedConnection);
    connect(m_console, &Console::journalEvent, m_journal, &Journal::record, Qt::QueuedConnection);
}

Equipment::~Equipment()
{
    // The devices go first: neither may call the other through a link that has gone.
    delete m_console;
    delete m_processor;
}

void Equipment::start()
{
    m_processor->setLoadWaitMs(Settings::loadtimeMs());
    m_console->switchPower();
}

bool Equipment::openJournal(const QString& path)
{
    return m_journal->open(path.isEmpty() ? AppPaths::journalFile() : path);
}

void Equipment::note(journal::EventKind kind)
{
    journal::Event e = journal::Event::now(kind);
    QMetaObject::invokeMethod(
        m_journal, [journal = m_journal, e] { journal->record(e); }, Qt::QueuedConnection);
}
