#include "equipment/Equipment.h"

#include "bcp/CardProcessor.h"
#include "ddu/Console.h"
#include "equipment/DeviceLinks.h"
#include "platform/Settings.h"

Equipment::Equipment(QObject* parent)
    : QObject(parent), m_processor(new CardProcessor(this)), m_console(new Console(this)),
      m_consoleLink(std::make_unique<ConsoleForProcessor>(*m_console)),
      m_processorLink(std::make_unique<ProcessorForConsole>(*m_processor))
{
    setObjectName(QStringLiteral("Equipment"));
    m_processor->setConsole(m_consoleLink.get());
    m_console->setProcessor(m_processorLink.get());
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
