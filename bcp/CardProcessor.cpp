#include "bcp/CardProcessor.h"

#include "bcp/ConsoleLink.h"
#include "bcp/StoredCard.h"
#include "common/Timer.h"
#include "common/Yield.h"
#include "platform/Desktop.h"
#include "routes/RouteLine.h"

#include <QPointer>

namespace {

const QString AddressWaiting = QStringLiteral("DDU Address: Getting...");
const QString AddressKnown = QStringLiteral("DDU Address: 127.0.0.1");
// The highest value a top-up may reach.
constexpr Money TopUpLimit = Money::cents(99990);

} // namespace

CardProcessor::CardProcessor(QObject* parent)
    : QObject(parent), m_tmrStart(new Timer(QStringLiteral("tmrStart"), 1000, true, this)),
      m_tmrLoadLong(new Timer(QStringLiteral("tmrLoadLong"), 15000, false, this)),
      m_tmrCount(new Timer(QStringLiteral("tmrCount"), 1000, false, this)),
      m_tmrLock(new Timer(QStringLiteral("tmrLock"), 15000, false, this)),
      m_tmrChange(new Timer(QStringLiteral("tmrChange"), 2000, false, this)),
      m_consoleAddress(AddressWaiting)
{
    setObjectName(QStringLiteral("CardProcessor"));
    connect(m_tmrStart, &Timer::tick, this, &CardProcessor::bootTick);
    connect(m_tmrLoadLong, &Timer::tick, this, &CardProcessor::addressArrived);
    connect(m_tmrCount, &Timer::tick, this, &CardProcessor::presentationCheck);
    connect(m_tmrLock, &Timer::tick, this, &CardProcessor::lockExpired);
    connect(m_tmrChange, &Timer::tick, this, &CardProcessor::displayTick);

    const StoredCard::Values card = StoredCard::load();
    m_purse = card.purse;
    m_type = card.type;
    m_language = card.language;
}

CardProcessor::~CardProcessor() = default;

// ---- the card ----------------------------------------------------------------------

void CardProcessor::setPurse(Money value)
{
    m_purse = value;
    m_purseFromTopUp = false;
    emit cardValuesChanged();
}

void CardProcessor::setCardType(CardType type)
{
    m_type = type;
    emit cardValuesChanged();
}

void CardProcessor::setLanguage(qint16 language)
{
    m_language = language;
    emit cardValuesChanged();
}

bool CardProcessor::topUp()
{
    const Money sum = m_purse + Money::dollars(100);
    if (sum > TopUpLimit)
        return false;
    m_purse = sum;
    m_purseFromTopUp = true;
    emit cardValuesChanged();
    return true;
}

QString CardProcessor::purseText() const
{
    // A topped-up value keeps the form the dialog showed; a charged one its shortest form.
    return m_purseFromTopUp ? m_purse.text() : m_purse.shortText();
}

void CardProcessor::saveCard() const
{
    StoredCard::save(purseText(), m_type, m_language);
}

int CardProcessor::loadWaitMs() const
{
    return m_tmrLoadLong->Interval();
}

void CardProcessor::setLoadWaitMs(int ms)
{
    // A running wait starts again with the new length.
    m_tmrLoadLong->setInterval(ms);
}

// ---- what the panel shows ----------------------------------------------------------

void CardProcessor::setLines(const QString& l1, const QString& l2, const QString& l3)
{
    m_lines[0] = l1;
    m_lines[1] = l2;
    m_lines[2] = l3;
    emit screenChanged();
}

void CardProcessor::setLinesShown(bool shown)
{
    m_linesShown = shown;
    emit screenChanged();
}

void CardProcessor::setLamps(Lamps lamps)
{
    if (lamps == m_lamps)
        return;
    m_lamps = lamps;
    emit lampsChanged();
}

void CardProcessor::outOfServiceDisplay()
{
    setLines(QStringLiteral("OUT OF"), QStringLiteral("SERVICE"), QStringLiteral("暫停服務"));
    setLamps(Lamps::of(LampPattern::AllOn));
}

void CardProcessor::promptLines()
{
    setLines(QStringLiteral("PRESENT YOUR"), QStringLiteral("CARD TO LOGIN"),
             QStringLiteral("請使用卡登入"));
}

// ---- power -------------------------------------------------------------------------

void CardProcessor::powerOn()
{
    m_consoleAddress = AddressWaiting;
    m_noResponse = false;
    m_loggedIn = false;
    m_on = true;
    m_addressShown = false;
    m_coverShown = false;
    setLines(QString(), QString(), QString());
    for (Timer* t : {m_tmrChange, m_tmrCount, m_tmrLoadLong, m_tmrLock})
        t->setEnabled(false);
    // The lock timer has just been stopped; a lock left standing would refuse every card
    // of the new session as already processed.
    m_paidLock = false;
    m_tmrStart->setInterval(1000);
    m_bootStep = BootStep::ShowCover;
    m_tmrStart->setEnabled(true);
    setLamps(Lamps::of(LampPattern::AllOff));
}

void CardProcessor::powerOff()
{
    m_noResponse = false;
    m_on = false;
    m_coverShown = false;
    setLines(QString(), QString(), QString());
    for (Timer* t : {m_tmrChange, m_tmrCount, m_tmrLoadLong, m_tmrLock, m_tmrStart})
        t->setEnabled(false);
    setLamps(Lamps::of(LampPattern::AllOff));
}

// ---- the boot ----------------------------------------------------------------------

void CardProcessor::bootTick()
{
    switch (m_bootStep) {
    case BootStep::ShowCover:
        m_coverShown = true;
        emit screenChanged();
        m_bootStep = BootStep::GreenLamp;
        break;
    case BootStep::GreenLamp: // one lamp after the other, whatever the others show
        setLamps({m_lamps.red, m_lamps.yellow, true});
        m_bootStep = BootStep::YellowLamp;
        break;
    case BootStep::YellowLamp:
        setLamps({m_lamps.red, true, m_lamps.green});
        m_bootStep = BootStep::RedLamp;
        break;
    case BootStep::RedLamp:
        setLamps({true, m_lamps.yellow, m_lamps.green});
        m_tmrStart->setInterval(2000);
        m_bootStep = BootStep::EndLampTest;
        break;
    case BootStep::EndLampTest:
        setLamps(Lamps::of(LampPattern::AllOff));
        m_coverShown = false;
        emit screenChanged();
        m_tmrStart->setInterval(1000);
        m_bootStep = BootStep::AddressScreen;
        break;
    case BootStep::AddressScreen:
        m_tmrLoadLong->setEnabled(true);
        m_tmrStart->setEnabled(false);
        m_addressShown = true;
        emit screenChanged();
        break;
    case BootStep::HideAddress:
        m_addressShown = false;
        emit screenChanged();
        m_bootStep = BootStep::Prompt;
        break;
    case BootStep::Prompt:
        m_addressShown = false;
        m_tmrStart->setEnabled(false);
        loginPrompt();
        break;
    case BootStep::CompleteLogin:
        m_tmrStart->setEnabled(false);
        completeLogin();
        break;
    }
}

void CardProcessor::addressArrived()
{
    m_tmrLoadLong->setEnabled(false);
    m_consoleAddress = AddressKnown;
    emit screenChanged();
    // The new address is painted before the boot goes on; the load-wait timer cannot run
    // this again meanwhile, it has just been stopped.
    QPointer<CardProcessor> self(this);
    yieldEvents();
    if (!self)
        return;
    m_bootStep = BootStep::HideAddress;
    m_tmrStart->setEnabled(true);
}

void CardProcessor::loginPrompt()
{
    promptLines();
    if (m_console)
        m_console->showMessage(QStringLiteral("　　請使用卡登入"));
}

void CardProcessor::completeLogin()
{
    if (m_console)
        m_console->loadStartRoute();
    m_state = ScreenState::InService;
    m_tmrCount->setEnabled(true);
    m_tmrChange->setEnabled(true);
    if (m_console)
        m_console->enableServiceKeys();
    m_loggedIn = true;
}

// ---- the card on the reader --------------------------------------------------------

void CardProcessor::present(double xTw, double yTw)
{
    m_cardShown = true;
    m_cardAt = QPointF(xTw, yTw);
    emit cardChanged();
    // A switched-off processor reads nothing, even when it was logged in before.
    if (m_noResponse || !m_on)
        return;
    if (m_loggedIn) {
        // The check uses the last movement before it.
        m_misplaced = xTw >= Transaction::ReadableX || yTw >= Transaction::ReadableY;
        m_tmrCount->setEnabled(true); // a running check is not restarted
        return;
    }
    if (m_bootStep == BootStep::Prompt) {
        m_state =
            m_type == CardType::Startup ? ScreenState::LoginAccepted : ScreenState::LoginRefused;
        m_tmrChange->setInterval(1000);
        m_tmrChange->restart(); // the login tick comes 1000 ms after the last movement
    }
}

void CardProcessor::withdraw()
{
    if (!m_cardShown)
        return;
    m_cardShown = false;
    emit cardChanged();
}

void CardProcessor::presentationCheck()
{
    if (m_state == ScreenState::OutOfService) {
        m_state = ScreenState::PresentCard;
        return;
    }
    if (!m_cardShown) {
        m_tmrCount->setEnabled(false);
        return;
    }
    if (m_misplaced) {
        misread();
        return;
    }
    m_state = ScreenState::ReadCard;
    m_tmrCount->setEnabled(false);
    m_tmrChange->restart();
    displayTick(); // the result shows at once and stays a full tick
}

void CardProcessor::misread()
{
    const Transaction::Screen s = Transaction::misread(m_language);
    setLines(s.line1, s.line2, s.line3);
    setLinesShown(true);
    setLamps(Lamps::of(LampPattern::RedOnly));
    if (m_console)
        m_console->showMessage(s.console);
    m_state = ScreenState::PresentCard;
    m_tmrCount->setEnabled(false);
    m_tmrChange->restart();
}

void CardProcessor::lockExpired()
{
    m_paidLock = false;
    m_tmrLock->setEnabled(false);
}

// ---- the display tick --------------------------------------------------------------

void CardProcessor::displayTick()
{
    if (m_noResponse)
        return;
    setLinesShown(false);
    // The empty screen is painted first: every display change blinks once. Pointer
    // movements and ticks waiting meanwhile run here, a presentation check with its own
    // direct tick among them (the change timer never enters its own tick twice); this
    // tick then does what the state says after them.
    QPointer<CardProcessor> self(this);
    yieldEvents();
    if (!self)
        return;
    switch (m_state) {
    case ScreenState::OutOfService:
        outOfServiceDisplay();
        break;
    case ScreenState::PresentCard:
    case ScreenState::InService:
        showIdle(m_state);
        break;
    case ScreenState::ReadCard:
        readCard();
        break;
    case ScreenState::LoginPrompt:
        promptLines();
        setLamps(Lamps::of(LampPattern::AllOff));
        m_tmrChange->setEnabled(false);
        m_tmrChange->setInterval(2000);
        break;
    case ScreenState::LoginRefused:
        m_state = ScreenState::LoginPrompt;
        setLines(QStringLiteral("此卡無效　　"), QString(), QString());
        setLamps(Lamps::of(LampPattern::RedOnly));
        m_tmrChange->restart();
        m_tmrChange->setInterval(1000);
        break;
    case ScreenState::LoginAccepted:
        m_tmrChange->setInterval(2000);
        m_tmrChange->setEnabled(false);
        m_bootStep = BootStep::CompleteLogin;
        m_tmrStart->setEnabled(true);
        break;
    }
    setLinesShown(true);
}

void CardProcessor::showIdle(ScreenState state)
{
    if (state == ScreenState::PresentCard)
        setLines(QStringLiteral("PRESENT"), QStringLiteral("YOUR CARD"),
                 QStringLiteral("請使用卡"));
    else
        setLines(QStringLiteral("IN SERVICE"), QStringLiteral("歡迎使用服務"),
                 QStringLiteral("$") + m_fare.text());
    setLamps(Lamps::of(LampPattern::AllOff));
    if (m_console)
        m_console->restoreRouteScreen();
    m_state = state == ScreenState::PresentCard ? ScreenState::InService : ScreenState::PresentCard;
}

void CardProcessor::readCard()
{
    const Transaction::Card card{m_purse, m_type, m_language, m_paidLock};
    const Transaction::Result r = Transaction::read(card, m_fare, m_halfFare.value_or(Money()));
    setLines(r.screen.line1, r.screen.line2, r.screen.line3);
    setLamps(Lamps::of(r.lamps));
    if (r.outcome == Transaction::Outcome::Paid) {
        setPurse(r.newPurse);
        if (m_console) {
            m_console->showPayment(r.screen.console);
            m_console->log(r.logEvent, r.logDetail);
        }
        m_paidLock = true;
        m_tmrLock->setEnabled(true);
    } else if (m_console) {
        m_console->showMessage(r.screen.console);
        m_console->log(r.logEvent, r.logDetail);
    }
    m_state = ScreenState::PresentCard;
}

// ---- commands from the console -----------------------------------------------------

void CardProcessor::changeFare(const RouteLine& line)
{
    if (m_console)
        m_console->log(TripEvent::FareChanged, line.fareText);
    outOfServiceDisplay();
    const std::optional<Money> fare = line.fare;
    if (!fare) {
        // The second line names the line to mend.
        QString message = QStringLiteral("計算錯誤，離開。");
        if (const QString where = line.where(); !where.isEmpty())
            message += QStringLiteral("\n%1的車資「%2」不是數字。").arg(where, line.fareText);
        Desktop::instance().fatal(message);
        // Ending here must not cost the passenger the card the user set up.
        saveCard();
        Desktop::instance().endProgram(1);
        return;
    }
    m_fare = *fare;
    m_halfFare = fare->halfFare();
    m_state = ScreenState::InService;
    m_tmrChange->restart();
}

void CardProcessor::stopService()
{
    outOfServiceDisplay();
    m_state = ScreenState::OutOfService;
}

void CardProcessor::resumeService()
{
    m_state = ScreenState::InService;
    m_tmrChange->restart();
    displayTick();
}

void CardProcessor::pause()
{
    outOfServiceDisplay();
    m_noResponse = true;
    m_state = ScreenState::PresentCard;
    m_tmrChange->restart();
}

bool CardProcessor::overheat()
{
    if (!m_loggedIn)
        return false;
    for (Timer* t : {m_tmrChange, m_tmrCount, m_tmrLock, m_tmrStart})
        t->setEnabled(false);
    m_noResponse = true;
    return true;
}
