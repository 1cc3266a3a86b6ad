#include "equipment/DeviceLinks.h"

#include "bcp/CardProcessor.h"
#include "ddu/Console.h"

void ConsoleForProcessor::showMessage(const QString& text)
{
    m_console.showMessage(text);
}

void ConsoleForProcessor::restoreRouteScreen()
{
    m_console.restoreRouteScreen();
}

void ConsoleForProcessor::showPayment(const QString& text)
{
    m_console.showPayment(text);
}

void ConsoleForProcessor::enableServiceKeys()
{
    m_console.enableServiceKeys();
}

void ConsoleForProcessor::loadStartRoute()
{
    m_console.loadStartRoute();
}

void ConsoleForProcessor::log(TripEvent event, const QString& detail)
{
    m_console.log(event, detail);
}

void ProcessorForConsole::powerOn()
{
    m_processor.powerOn();
}

void ProcessorForConsole::powerOff()
{
    m_processor.powerOff();
}

void ProcessorForConsole::changeFare(const RouteLine& line)
{
    m_processor.changeFare(line);
}

void ProcessorForConsole::stopService()
{
    m_processor.stopService();
}

void ProcessorForConsole::resumeService()
{
    m_processor.resumeService();
}

void ProcessorForConsole::pause()
{
    m_processor.pause();
}
