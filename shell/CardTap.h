#pragma once

#include <QObject>

class CardProcessor;
class Timer;

// The card tapped on the reader as a passenger does: put down at one place, held there
// until the processor has answered on its screen, then taken away. A processor that will
// not answer (switched off, frozen, still booting) has the card for a moment only.
class CardTap : public QObject {
    Q_OBJECT
public:
    CardTap(CardProcessor& processor, QObject* parent = nullptr);

    // A tap while one is under way does nothing: the card is already in the hand.
    void tap(double xTw, double yTw);
    bool running() const { return m_wait != Wait::None; }

    // Longest hold for an answer; the read may wait for the display cycle to leave the
    // out-of-service screen first.
    static constexpr int AnswerLimitMs = 5000;
    // The hold when nothing will answer.
    static constexpr int MomentMs = 1000;

private:
    enum class Wait { None, Login, Read, Nothing };
    void screenChanged();
    void cardChanged();
    void takeAway();

    CardProcessor& m_processor;
    Timer* m_limit;
    Wait m_wait = Wait::None;
    bool m_readStarted = false;
};
