#include "bcp/CardProcessor.h"

#include "bcp/ConsoleLink.h"
#include "common/Timer.h"
#include "common/Yield.h"
#include "platform/Desktop.h"
#include "platform/Settings.h"
#include "routes/RouteLine.h"

#include <QPointer>

#include <utility>

namespace {

const QString AddressWaiting = QStringLiteral("DDU Address: Getting...");
const QString AddressKnown = QStringLiteral("DDU Address: 127.0.0.1");
// The highest value a top-up may reach.
constexpr Money TopUpLimit = Money::cents(99990);

// The start-up card in service is the one card the processor refuses outright.
journal::ReadOutcome journalOutcome(Transaction::Outcome outcome)
{
    switch (outcome) {
    case Transaction::Outcome::NotEnoughValue:
        return journal::ReadOutcome::NotEnoughValue;
    case Transaction::Outcome::AlreadyProcessed:
        return journal::ReadOutcome::AlreadyPaid;
    case Transaction::Outcome::StartupCard:
        return journal::ReadOutcome::RefusedCard;
    case Transaction::Outcome::Paid:
        break;
    }
    return journal::ReadOutcome::Paid;
}

} // namespace

CardProcessor::CardProcessor(QObject* parent)
    : QObject(parent), m_tmrStart(new Timer(QStringLiteral("tmrStart"), 1000, true, this)),
      m_tmrLoadLong(new Timer(QStringLiteral("tmrLoadLong"), 15000, false, this)),
      m_tmrCount(new Timer(QStringLiteral("tmrCount"), 1000, false, this)),
      m_tmrLock(new Timer(QStringLiteral("tmrLock"), 15000, false, this)),
      m_tmrChange(new Timer(QStringLiteral("tmrChange"), 2000, false, this))
{
    setObjectName(QStringLiteral("CardProcessor"));
    connect(m_tmrStart, &Timer::tick, this, &CardProcessor::bootTick);
    connect(m_tmrLoadLong, &Timer::tick, this, &CardProcessor::addressArrived);
    connect(m_tmrCount, &Timer::tick, this, &CardProcessor::presentationCheck);
    connect(m_tmrLock, &Timer::tick, this, &CardProcessor::lockExpired);
    connect(m_tmrChange, &Timer::tick, this, &CardProcessor::displayTick);

    const Settings::Card card = Settings::card();
    m_card.purse = card.purse;
    m_card.type = card.type;
    m_card.language = card.language;
}

CardProcessor::~CardProcessor() = default;

// ---- the card ----------------------------------------------------------------------

QString CardProcessor::Card::storedText() const
{
    return form == Form::TwoDecimals ? purse.text() : purse.shortText();
}

void CardProcessor::storeCard()
{
    Settings::setCard(m_card.storedText(), m_card.type, m_card.language);
    emit cardValuesChanged();
}

journal::Event CardProcessor::event(journal::EventKind kind) const
{
    journal::Event e = journal::Event::now(kind);
    e.card = m_card.type;
    e.language = m_card.language;
    e.fare = m_fare;
    e.before = m_card.purse;
    e.after = m_card.purse;
    return e;
}

void CardProcessor::readEvent(journal::ReadOutcome outcome, Money before, Money charged)
{
    journal::Event e = event(journal::EventKind::Read);
    e.outcome = outcome;
    e.before = before;
    e.charged = charged;
    emit journalEvent(e);
}

void CardProcessor::setPurse(Money value)
{
    const Money before = m_card.purse;
    m_card.purse = value;
    m_card.form = Card::Form::Shortest;
    storeCard();
    if (value != before) {
        journal::Event e = event(journal::EventKind::CardChanged);
        e.before = before;
        emit journalEvent(e);
    }
}

void CardProcessor::setCardType(CardType type)
{
    const bool changed = type != m_card.type;
    m_card.type = type;
    storeCard();
    if (changed)
        emit journalEvent(event(journal::EventKind::CardChanged));
}

void CardProcessor::setLanguage(CardLanguage language)
{
    const bool changed = language != m_card.language;
    m_card.language = language;
    storeCard();
    if (changed)
        emit journalEvent(event(journal::EventKind::CardChanged));
}

bool CardProcessor::topUp()
{
    const Money sum = m_card.purse + Money::dollars(100);
    if (sum > TopUpLimit)
        return false;
    const Money before = m_card.purse;
    m_card.purse = sum;
    m_card.form = Card::Form::TwoDecimals;
    storeCard();
    journal::Event e = event(journal::EventKind::TopUp);
    e.before = before;
    emit journalEvent(e);
    return true;
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

QString CardProcessor::consoleAddress() const
{
    return m_screen.addressKnown ? AddressKnown : AddressWaiting;
}

void CardProcessor::setLines(const QString& l1, const QString& l2, const QString& l3)
{
    m_screen.lines[0] = l1;
    m_screen.lines[1] = l2;
    m_screen.lines[2] = l3;
    emit screenChanged();
}

void CardProcessor::setLinesShown(bool shown)
{
    m_screen.linesShown = shown;
    emit screenChanged();
}

void CardProcessor::setLamps(Lamps lamps)
{
    if (lamps == m_screen.lamps)
        return;
    m_screen.lamps = lamps;
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
    const bool cooled = std::exchange(m_reader.overheated, false);
    m_screen.addressKnown = false;
    m_reader.noResponse = false;
    m_reader.loggedIn = false;
    m_screen.on = true;
    m_screen.addressShown = false;
    m_screen.coverShown = false;
    setLines(QString(), QString(), QString());
    for (Timer* t : {m_tmrChange, m_tmrCount, m_tmrLoadLong, m_tmrLock})
        t->setEnabled(false);
    // The lock timer has just been stopped; a lock left standing would refuse every card
    // of the new session as already processed.
    m_reader.paidLock = false;
    m_tmrStart->setInterval(1000);
    m_screen.bootStep = BootStep::ShowCover;
    m_tmrStart->setEnabled(true);
    setLamps(Lamps::of(LampPattern::AllOff));
    if (cooled)
        emit journalEvent(event(journal::EventKind::OverheatOff));
}

void CardProcessor::powerOff()
{
    const bool cooled = std::exchange(m_reader.overheated, false);
    m_reader.noResponse = false;
    m_screen.on = false;
    m_screen.coverShown = false;
    setLines(QString(), QString(), QString());
    for (Timer* t : {m_tmrChange, m_tmrCount, m_tmrLoadLong, m_tmrLock, m_tmrStart})
        t->setEnabled(false);
    setLamps(Lamps::of(LampPattern::AllOff));
    if (cooled)
        emit journalEvent(event(journal::EventKind::OverheatOff));
}

// ---- the boot ----------------------------------------------------------------------

void CardProcessor::bootTick()
{
    switch (m_screen.bootStep) {
    case BootStep::ShowCover:
        m_screen.coverShown = true;
        emit screenChanged();
        m_screen.bootStep = BootStep::GreenLamp;
        break;
    case BootStep::GreenLamp: // one lamp after the other, whatever the others show
        setLamps({m_screen.lamps.red, m_screen.lamps.yellow, true});
        m_screen.bootStep = BootStep::YellowLamp;
        break;
    case BootStep::YellowLamp:
        setLamps({m_screen.lamps.red, true, m_screen.lamps.green});
        m_screen.bootStep = BootStep::RedLamp;
        break;
    case BootStep::RedLamp:
        setLamps({true, m_screen.lamps.yellow, m_screen.lamps.green});
        m_tmrStart->setInterval(2000);
        m_screen.bootStep = BootStep::EndLampTest;
        break;
    case BootStep::EndLampTest:
        setLamps(Lamps::of(LampPattern::AllOff));
        m_screen.coverShown = false;
        emit screenChanged();
        m_tmrStart->setInterval(1000);
        m_screen.bootStep = BootStep::AddressScreen;
        break;
    case BootStep::AddressScreen:
        m_tmrLoadLong->setEnabled(true);
        m_tmrStart->setEnabled(false);
        m_screen.addressShown = true;
        emit screenChanged();
        break;
    case BootStep::HideAddress:
        m_screen.addressShown = false;
        emit screenChanged();
        m_screen.bootStep = BootStep::Prompt;
        break;
    case BootStep::Prompt:
        m_screen.addressShown = false;
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
    m_screen.addressKnown = true;
    emit screenChanged();
    // The new address is painted before the boot goes on; the load-wait timer cannot run
    // this again meanwhile, it has just been stopped.
    QPointer<CardProcessor> self(this);
    yieldEvents();
    if (!self)
        return;
    m_screen.bootStep = BootStep::HideAddress;
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
    m_screen.state = ScreenState::InService;
    m_tmrCount->setEnabled(true);
    m_tmrChange->setEnabled(true);
    if (m_console)
        m_console->enableServiceKeys();
    m_reader.loggedIn = true;
    emit journalEvent(event(journal::EventKind::LogIn));
}

// ---- the card on the reader --------------------------------------------------------

void CardProcessor::present(double xTw, double yTw)
{
    const bool arriving = !m_reader.cardShown;
    m_reader.cardShown = true;
    m_reader.cardAt = QPointF(xTw, yTw);
    emit cardChanged();
    // An overheated processor reads nothing; each card put on it is one read lost.
    if (m_reader.overheated && m_screen.on && arriving) {
        readEvent(journal::ReadOutcome::Overheated, m_card.purse, Money());
        return;
    }
    // A switched-off processor reads nothing, even when it was logged in before.
    if (m_reader.noResponse || !m_screen.on)
        return;
    if (m_reader.loggedIn) {
        // The check uses the last movement before it.
        m_reader.misplaced = xTw >= Transaction::ReadableX || yTw >= Transaction::ReadableY;
        m_tmrCount->setEnabled(true); // a running check is not restarted
        return;
    }
    if (m_screen.bootStep == BootStep::Prompt) {
        m_screen.state = m_card.type == CardType::Startup ? ScreenState::LoginAccepted
                                                          : ScreenState::LoginRefused;
        m_tmrChange->setInterval(1000);
        m_tmrChange->restart(); // the login tick comes 1000 ms after the last movement
    }
}

void CardProcessor::withdraw()
{
    if (!m_reader.cardShown)
        return;
    m_reader.cardShown = false;
    emit cardChanged();
}

void CardProcessor::presentationCheck()
{
    if (m_screen.state == ScreenState::OutOfService) {
        m_screen.state = ScreenState::PresentCard;
        return;
    }
    if (!m_reader.cardShown) {
        m_tmrCount->setEnabled(false);
        return;
    }
    if (m_reader.misplaced) {
        misread();
        return;
    }
    m_screen.state = ScreenState::ReadCard;
    m_tmrCount->setEnabled(false);
    m_tmrChange->restart();
    displayTick(); // the result shows at once and stays a full tick
}

void CardProcessor::misread()
{
    const Transaction::Screen s = Transaction::misread(m_card.language);
    setLines(s.line1, s.line2, s.line3);
    setLinesShown(true);
    setLamps(Lamps::of(LampPattern::RedOnly));
    if (m_console)
        m_console->showMessage(s.console);
    m_screen.state = ScreenState::PresentCard;
    m_tmrCount->setEnabled(false);
    m_tmrChange->restart();
    readEvent(journal::ReadOutcome::Misread, m_card.purse, Money());
}

void CardProcessor::lockExpired()
{
    m_reader.paidLock = false;
    m_tmrLock->setEnabled(false);
}

// ---- the display tick --------------------------------------------------------------

void CardProcessor::displayTick()
{
    if (m_reader.noResponse)
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
    bool refused = false;
    switch (m_screen.state) {
    case ScreenState::OutOfService:
        outOfServiceDisplay();
        break;
    case ScreenState::PresentCard:
    case ScreenState::InService:
        showIdle(m_screen.state);
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
        refused = true;
        m_screen.state = ScreenState::LoginPrompt;
        setLines(QStringLiteral("此卡無效　　"), QString(), QString());
        setLamps(Lamps::of(LampPattern::RedOnly));
        m_tmrChange->restart();
        m_tmrChange->setInterval(1000);
        break;
    case ScreenState::LoginAccepted:
        m_tmrChange->setInterval(2000);
        m_tmrChange->setEnabled(false);
        m_screen.bootStep = BootStep::CompleteLogin;
        m_tmrStart->setEnabled(true);
        break;
    }
    setLinesShown(true);
    if (refused)
        emit journalEvent(event(journal::EventKind::LoginRefused));
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
    m_screen.state =
        state == ScreenState::PresentCard ? ScreenState::InService : ScreenState::PresentCard;
}

void CardProcessor::readCard()
{
    const Transaction::Card card{m_card.purse, m_card.type, m_card.language, m_reader.paidLock};
    const Transaction::Result r = Transaction::read(card, m_fare, m_halfFare.value_or(Money()));
    const Money before = m_card.purse;
    const bool paid = r.outcome == Transaction::Outcome::Paid;
    // The whole read is done before anything leaves: a listener that lets the event loop
    // run meanwhile finds the card charged and locked and the read over, so no tick can
    // read the same presentation again.
    if (paid) {
        m_card.purse = r.newPurse;
        m_card.form = Card::Form::Shortest;
        m_reader.paidLock = true;
        m_tmrLock->setEnabled(true);
    }
    m_screen.state = ScreenState::PresentCard;
    m_screen.lines[0] = r.screen.line1;
    m_screen.lines[1] = r.screen.line2;
    m_screen.lines[2] = r.screen.line3;
    const bool lampsChange = !(m_screen.lamps == Lamps::of(r.lamps));
    m_screen.lamps = Lamps::of(r.lamps);

    emit screenChanged();
    if (lampsChange)
        emit lampsChanged();
    if (m_console) {
        if (paid)
            m_console->showPayment(r.screen.console);
        else
            m_console->showMessage(r.screen.console);
        m_console->log(r.logEvent, r.logDetail);
    }
    if (paid)
        storeCard();
    readEvent(journalOutcome(r.outcome), before, paid ? before - r.newPurse : Money());
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
        QString message = tr("計算錯誤，離開。");
        if (const QString where = line.where(); !where.isEmpty())
            message += tr("\n%1的車資「%2」不是數字。").arg(where, line.fareText);
        Desktop::instance().fatal(message);
        // Ending here must not cost the passenger the card the user set up.
        Settings::flush();
        Desktop::instance().endProgram(1);
        return;
    }
    m_fare = *fare;
    m_halfFare = fare->halfFare();
    m_screen.state = ScreenState::InService;
    m_tmrChange->restart();
    journal::Event e = event(journal::EventKind::FareChanged);
    e.detail = line.fareText;
    emit journalEvent(e);
}

void CardProcessor::stopService()
{
    outOfServiceDisplay();
    m_screen.state = ScreenState::OutOfService;
}

void CardProcessor::resumeService()
{
    m_screen.state = ScreenState::InService;
    m_tmrChange->restart();
    displayTick();
}

void CardProcessor::pause()
{
    outOfServiceDisplay();
    m_reader.noResponse = true;
    m_screen.state = ScreenState::PresentCard;
    m_tmrChange->restart();
}

bool CardProcessor::overheat()
{
    if (!m_reader.loggedIn)
        return false;
    for (Timer* t : {m_tmrChange, m_tmrCount, m_tmrLock, m_tmrStart})
        t->setEnabled(false);
    m_reader.noResponse = true;
    if (!std::exchange(m_reader.overheated, true))
        emit journalEvent(event(journal::EventKind::OverheatOn));
    return true;
}
