#pragma once

#include <QObject>
#include <QString>

class QTimer;

// An event-loop timer with an interval and an enabled flag.
// Enabling a running timer does not restart it; a new interval on an enabled timer
// restarts its countdown, so a full interval passes before the next tick.
class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(const QString& name, int interval, bool enabled, QObject* parent = nullptr);
    ~Timer() override;

    int Interval() const { return m_interval; }
    void setInterval(int ms);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool on);

    // Disable then enable: the next tick comes one full interval from now.
    void restart();

    // Used by the virtual time source.
    qint64 dueAt() const { return m_dueAt; }
    quint64 armOrder() const { return m_armOrder; }
    void fire();

signals:
    void tick();

private:
    void arm();
    void disarm();

    int m_interval;
    bool m_enabled = false;
    QTimer* m_qtimer = nullptr;
    qint64 m_dueAt = 0;
    quint64 m_armOrder = 0;
    bool m_inHandler = false;
};
