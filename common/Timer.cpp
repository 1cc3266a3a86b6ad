#include "common/Timer.h"

#include "common/Clock.h"

#include <QDateTime>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace {

struct VirtualState {
    bool active = false;
    QDateTime start;
    qint64 nowMs = 0;
    quint64 nextOrder = 0;
    std::vector<Timer*> armed;
};

VirtualState& vt()
{
    static VirtualState state;
    return state;
}

} // namespace

QDateTime Clock::now()
{
    if (vt().active)
        return vt().start.addMSecs(vt().nowMs);
    return QDateTime::currentDateTime();
}

QString Clock::dateText()
{
    return now().toString(QStringLiteral("MM-dd-yyyy"));
}

QString Clock::timeText()
{
    return now().toString(QStringLiteral("HH:mm:ss"));
}

void VirtualTime::install(const QDateTime& start)
{
    vt().active = true;
    vt().start = start;
    vt().nowMs = 0;
    vt().armed.clear();
}

void VirtualTime::uninstall()
{
    vt().active = false;
    vt().armed.clear();
}

qint64 VirtualTime::elapsedMs()
{
    return vt().nowMs;
}

void VirtualTime::advance(qint64 ms)
{
    VirtualState& s = vt();
    const qint64 target = s.nowMs + ms;
    for (;;) {
        Timer* next = nullptr;
        for (Timer* t : s.armed) {
            if (t->dueAt() > target)
                continue;
            if (!next || t->dueAt() < next->dueAt() ||
                (t->dueAt() == next->dueAt() && t->armOrder() < next->armOrder()))
                next = t;
        }
        if (!next)
            break;
        s.nowMs = std::max(s.nowMs, next->dueAt());
        next->fire();
    }
    s.nowMs = target;
}

Timer::Timer(const QString& name, int interval, bool enabled, QObject* parent)
    : QObject(parent), m_interval(interval)
{
    setObjectName(name);
    if (!vt().active) {
        m_qtimer = new QTimer(this);
        m_qtimer->setTimerType(Qt::PreciseTimer);
        connect(m_qtimer, &QTimer::timeout, this, &Timer::fire);
    }
    setEnabled(enabled);
}

Timer::~Timer()
{
    disarm();
}

void Timer::setInterval(int ms)
{
    m_interval = ms;
    if (m_enabled) {
        disarm();
        arm();
    }
}

void Timer::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (on)
        arm();
    else
        disarm();
}

void Timer::restart()
{
    setEnabled(false);
    setEnabled(true);
}

void Timer::arm()
{
    if (m_interval <= 0)
        return; // a zero interval never ticks
    if (m_qtimer) {
        m_qtimer->start(m_interval);
        return;
    }
    VirtualState& s = vt();
    m_dueAt = s.nowMs + m_interval;
    m_armOrder = s.nextOrder++;
    if (std::find(s.armed.begin(), s.armed.end(), this) == s.armed.end())
        s.armed.push_back(this);
}

void Timer::disarm()
{
    if (m_qtimer) {
        m_qtimer->stop();
        return;
    }
    auto& armed = vt().armed;
    armed.erase(std::remove(armed.begin(), armed.end(), this), armed.end());
}

void Timer::fire()
{
    // Schedule the next tick before the handler runs, so that the handler may
    // change the interval or stop the timer and have the last word.
    if (!m_qtimer) {
        VirtualState& s = vt();
        m_dueAt += m_interval;
        m_armOrder = s.nextOrder++;
    }
    // A handler that yields must not be entered again by its own timer.
    if (m_inHandler)
        return;
    QPointer<Timer> guard(this);
    m_inHandler = true;
    emit tick();
    if (guard)
        m_inHandler = false;
}
