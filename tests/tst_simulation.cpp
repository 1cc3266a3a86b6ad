#include "bcp/CardProcessor.h"
#include "common/Clock.h"
#include "common/Timer.h"
#include "ddu/Console.h"
#include "panels/frmBCP.h"
#include "panels/frmDDU.h"
#include "platform/Desktop.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kRoutes = QStringLiteral("12#北門#2.40\r\n");

QAction* vibration(const frmMDI* w)
{
    return TestEnv::action(w, QStringLiteral("mnuSimVib"));
}

QAction* overheating(const frmMDI* w)
{
    return TestEnv::action(w, QStringLiteral("mnuSimTemp"));
}

Timer* joltTimer(const frmMDI* w)
{
    return TestEnv::timer(w, QStringLiteral("tmrVib"));
}

// Records every place a panel's frame is moved to.
class MoveRecorder : public QObject {
public:
    explicit MoveRecorder(QWidget* frame) : m_frame(frame) { frame->installEventFilter(this); }
    QList<QPoint> places;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (o == m_frame && e->type() == QEvent::Move)
            places << m_frame->pos();
        return false;
    }

private:
    QWidget* m_frame;
};

} // namespace

class TestSimulation : public QObject {
    Q_OBJECT
private slots:
    void joltsComeAtRandomTimes();
    void panelsMoveTogetherAndSettle();
    void switchingOffLetsJoltFinish();
    void overheatingBeforeLogin();
    void overheatingAfterLogin();
};

void TestSimulation::joltsComeAtRandomTimes()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    QSignalSpy jolts(joltTimer(w.get()), &Timer::tick);
    QList<qint64> at;
    connect(joltTimer(w.get()), &Timer::tick, this, [&] { at << VirtualTime::elapsedMs(); });
    const qint64 t0 = VirtualTime::elapsedMs();
    vibration(w.get())->trigger();
    QVERIFY(vibration(w.get())->isChecked());
    TestEnv::advance(120000);
    QVERIFY(jolts.count() > 20);
    QCOMPARE(at.first() - t0, 1000);
    QSet<qint64> gaps;
    for (int i = 1; i < at.size(); ++i) {
        const qint64 gap = at[i] - at[i - 1];
        QVERIFY2(gap >= 1000 && gap <= 5999, qPrintable(QString::number(gap)));
        gaps << gap;
    }
    QVERIFY(gaps.size() > 5);
    // Off and on again: the interval drawn by the last jolt stays.
    vibration(w.get())->trigger();
    QVERIFY(!joltTimer(w.get())->Enabled());
    const int next = joltTimer(w.get())->Interval();
    at.clear();
    const qint64 t1 = VirtualTime::elapsedMs();
    vibration(w.get())->trigger();
    TestEnv::advance(6000);
    QCOMPARE(at.first() - t1, next);
}

void TestSimulation::panelsMoveTogetherAndSettle()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    const int bcpLeft = w->bcp()->Left();
    const int dduLeft = w->ddu()->Left();
    MoveRecorder bcp(w->bcp()->parentWidget());
    MoveRecorder ddu(w->ddu()->parentWidget());
    vibration(w.get())->trigger();
    for (int jolt = 0; jolt < 5; ++jolt) {
        bcp.places.clear();
        ddu.places.clear();
        TestEnv::advance(joltTimer(w.get())->Interval());
        // Up to ten steps and the return (a step may land where the last one did).
        QVERIFY(bcp.places.size() >= 2 && bcp.places.size() <= 11);
        QCOMPARE(bcp.places.size(), ddu.places.size());
        for (int i = 0; i < bcp.places.size(); ++i) {
            QCOMPARE(bcp.places[i].y(), ddu.places[i].y());
            QVERIFY(qAbs(bcp.places[i].y()) <= 2500 / 15 + 1);
        }
        QCOMPARE(w->bcp()->Top(), 0);
        QCOMPARE(w->ddu()->Top(), 0);
        QCOMPARE(w->bcp()->Left(), bcpLeft);
        QCOMPARE(w->ddu()->Left(), dduLeft);
    }
}

void TestSimulation::switchingOffLetsJoltFinish()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    QSignalSpy jolts(joltTimer(w.get()), &Timer::tick);
    MoveRecorder bcp(w->bcp()->parentWidget());
    vibration(w.get())->trigger();
    // The user switches it off while the first jolt is under way.
    QMetaObject::invokeMethod(
        w.get(), [&] { vibration(w.get())->trigger(); }, Qt::QueuedConnection);
    TestEnv::advance(1000);
    QCOMPARE(jolts.count(), 1);
    QVERIFY(!vibration(w.get())->isChecked());
    QVERIFY(bcp.places.size() >= 2);
    QCOMPARE(w->bcp()->Top(), 0);
    TestEnv::advance(60000);
    QCOMPARE(jolts.count(), 1);
}

void TestSimulation::overheatingBeforeLogin()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    QVERIFY(!overheating(w.get())->isEnabled());
    TestEnv::powerOn(w.get());
    TestEnv::advance(10000);
    overheating(w.get())->trigger();
    QCOMPARE(env.desktop().count(QStringLiteral("beep")), 1);
    QVERIFY(!overheating(w.get())->isChecked());
    QVERIFY(w->processor()->responding());
    // The boot goes on.
    TestEnv::waitForPrompt(w.get());
    QCOMPARE(w->processor()->line(0), QStringLiteral("PRESENT YOUR"));
}

void TestSimulation::overheatingAfterLogin()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    CardProcessor* p = w->processor();
    TestEnv::logIn(w.get());
    overheating(w.get())->trigger();
    QVERIFY(overheating(w.get())->isChecked());
    QVERIFY(!p->responding());
    for (const char* t : {"tmrChange", "tmrCount", "tmrLock", "tmrStart"})
        QVERIFY2(!TestEnv::timer(p, QLatin1String(t))->Enabled(), t);
    const QString frozen = p->line(0);
    overheating(w.get())->trigger(); // again: nothing changes
    QVERIFY(overheating(w.get())->isChecked());
    TestEnv::read(w.get());
    TestEnv::advance(10000);
    QCOMPARE(p->purse().text(), QStringLiteral("100.00"));
    QCOMPARE(p->line(0), frozen);
    // Off and on again: a new boot, and cards are read after the next log-in.
    w->console()->switchPower();
    TestEnv::logIn(w.get());
    QVERIFY(!overheating(w.get())->isChecked());
    TestEnv::read(w.get());
    QCOMPARE(p->purse().text(), QStringLiteral("97.60"));
}

QTEST_MAIN(TestSimulation)
#include "tst_simulation.moc"
