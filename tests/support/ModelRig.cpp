#include "support/ModelRig.h"

#include "bcp/CardProcessor.h"
#include "common/Timer.h"
#include "ddu/Console.h"
#include "equipment/Equipment.h"
#include "platform/Settings.h"

#include <QCoreApplication>

ModelRig::ModelRig(const QString& routes) : ModelEnv(routes) {}

ModelRig::~ModelRig() = default;

void ModelRig::start()
{
    m_equipment = std::make_unique<Equipment>();
    m_equipment->start();
}

void ModelRig::restart()
{
    Settings::flush();
    m_equipment.reset();
    Settings::reset();
    start();
}

void ModelRig::settle()
{
    QCoreApplication::sendPostedEvents();
}

CardProcessor& ModelRig::processor() const
{
    return m_equipment->processor();
}

Console& ModelRig::console() const
{
    return m_equipment->console();
}

void ModelRig::press(const QString& labels)
{
    for (const QString& label : labels.split(u' ', Qt::SkipEmptyParts))
        console().press(keyFor(label));
}

void ModelRig::powerOn()
{
    console().press(Key::Power);
}

void ModelRig::waitForPrompt()
{
    // At most the longest boot: lamp test, 30 s wait, two steps.
    const CardProcessor& p = processor();
    const Timer* boot = timer(&p, QStringLiteral("tmrStart"));
    for (int i = 0;
         i < 400 && !(p.bootStep() == CardProcessor::BootStep::Prompt && !boot->Enabled()); ++i)
        advance(100);
}

void ModelRig::logIn()
{
    powerOn();
    waitForPrompt();
    presentStartupCard();
    advance(2000); // the in-service screen with the route's fare
}

void ModelRig::presentStartupCard()
{
    CardProcessor& p = processor();
    const CardType type = p.cardType();
    p.setCardType(CardType::Startup);
    present();
    advance(2000);
    withdraw();
    p.setCardType(type);
}

void ModelRig::present(double xTw, double yTw)
{
    // The panel hands over whole pixels.
    processor().present(qRound(xTw / 15) * 15.0, qRound(yTw / 15) * 15.0);
}

void ModelRig::withdraw()
{
    processor().withdraw();
}

void ModelRig::read()
{
    present();
    advance(1000);
}

QStringList ModelRig::bcpLines() const
{
    const CardProcessor& p = processor();
    return {p.line(0), p.line(1), p.line(2)};
}

QString ModelRig::lamps() const
{
    const Lamps l = processor().lamps();
    QString s;
    s += l.red ? u'R' : u'r';
    s += l.yellow ? u'Y' : u'y';
    s += l.green ? u'G' : u'g';
    return s;
}

QStringList ModelRig::display() const
{
    const Console& c = console();
    return {c.line(0), c.line(1), c.line(2), c.line(3)};
}
