#include "shell/CardTap.h"

#include "bcp/CardProcessor.h"
#include "bcp/Transaction.h"
#include "common/Timer.h"

CardTap::CardTap(CardProcessor& processor, QObject* parent)
    : QObject(parent), m_processor(processor),
      m_limit(new Timer(QStringLiteral("tmrCardTap"), AnswerLimitMs, false, this))
{
    connect(m_limit, &Timer::tick, this, &CardTap::takeAway);
    connect(&m_processor, &CardProcessor::screenChanged, this, &CardTap::screenChanged);
    connect(&m_processor, &CardProcessor::cardChanged, this, &CardTap::cardChanged);
}

void CardTap::tap(double xTw, double yTw)
{
    if (running())
        return;
    const CardProcessor& p = m_processor;
    if (!p.switchedOn() || !p.responding())
        m_wait = Wait::Nothing;
    else if (p.loggedIn())
        m_wait = Wait::Read;
    else if (p.bootStep() == CardProcessor::BootStep::Prompt)
        m_wait = Wait::Login;
    else
        m_wait = Wait::Nothing;
    m_readStarted = false;
    m_limit->setInterval(m_wait == Wait::Nothing ? MomentMs : AnswerLimitMs);
    m_limit->restart();
    m_processor.present(xTw, yTw);
}

void CardTap::screenChanged()
{
    const CardProcessor& p = m_processor;
    switch (m_wait) {
    case Wait::Login:
        // Accepted: the log-in goes on without the card. Refused: 此卡無效 is shown.
        if (p.linesShown() && (p.bootStep() == CardProcessor::BootStep::CompleteLogin ||
                               p.screenState() == CardProcessor::ScreenState::LoginPrompt))
            takeAway();
        break;
    case Wait::Read:
        // A read blanks the screen in the reading state, then shows its result; a card
        // outside the readable corner brings the retry screen instead.
        if (p.screenState() == CardProcessor::ScreenState::ReadCard)
            m_readStarted = true;
        else if (p.linesShown() &&
                 (m_readStarted || p.line(0) == Transaction::misread(p.language()).line1))
            takeAway();
        break;
    case Wait::Nothing:
    case Wait::None:
        break;
    }
}

void CardTap::cardChanged()
{
    // Taken away by the pointer meanwhile: the tap is over.
    if (running() && !m_processor.cardShown()) {
        m_wait = Wait::None;
        m_limit->setEnabled(false);
    }
}

void CardTap::takeAway()
{
    m_wait = Wait::None;
    m_limit->setEnabled(false);
    m_processor.withdraw();
}
