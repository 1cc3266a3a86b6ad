#include "bcp/frmBCP.h"
#include "common/Clock.h"
#include "common/Timer.h"
#include "ddu/frmDDU.h"
#include "platform/Desktop.h"
#include "shell/frmMDI.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kRoutes = QStringLiteral("12#北門#2.40\r\n");

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
    QSignalSpy jolts(w->tmrVib, &Timer::tick);
    QList<qint64> at;
    connect(w->tmrVib, &Timer::tick, this, [&] { at << VirtualTime::elapsedMs(); });
    const qint64 t0 = VirtualTime::elapsedMs();
    w->mnuSimVib->trigger();
    QVERIFY(w->mnuSimVib->isChecked());
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
    w->mnuSimVib->trigger();
    QVERIFY(!w->tmrVib->Enabled());
    const int next = w->tmrVib->Interval();
    at.clear();
    const qint64 t1 = VirtualTime::elapsedMs();
    w->mnuSimVib->trigger();
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
    w->mnuSimVib->trigger();
    for (int jolt = 0; jolt < 5; ++jolt) {
        bcp.places.clear();
        ddu.places.clear();
        TestEnv::advance(w->tmrVib->Interval());
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
    QSignalSpy jolts(w->tmrVib, &Timer::tick);
    MoveRecorder bcp(w->bcp()->parentWidget());
    w->mnuSimVib->trigger();
    // The user switches it off while the first jolt is under way.
    QMetaObject::invokeMethod(
        w.get(), [&] { w->mnuSimVib->trigger(); }, Qt::QueuedConnection);
    TestEnv::advance(1000);
    QCOMPARE(jolts.count(), 1);
    QVERIFY(!w->mnuSimVib->isChecked());
    QVERIFY(bcp.places.size() >= 2);
    QCOMPARE(w->bcp()->Top(), 0);
    TestEnv::advance(60000);
    QCOMPARE(jolts.count(), 1);
}

void TestSimulation::overheatingBeforeLogin()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    QVERIFY(!w->mnuSimTemp->isEnabled());
    TestEnv::powerOn(w.get());
    TestEnv::advance(10000);
    w->mnuSimTemp->trigger();
    QCOMPARE(env.desktop().count(QStringLiteral("beep")), 1);
    QVERIFY(!w->mnuSimTemp->isChecked());
    QVERIFY(!w->bcp()->NoResponse);
    // The boot goes on.
    TestEnv::waitForPrompt(w.get());
    QCOMPARE(w->bcp()->lbl1->text(), QStringLiteral("PRESENT YOUR"));
}

void TestSimulation::overheatingAfterLogin()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    TestEnv::logIn(w.get());
    w->mnuSimTemp->trigger();
    QVERIFY(w->mnuSimTemp->isChecked());
    QVERIFY(b->NoResponse);
    for (Timer* t : {b->tmrChange, b->tmrCount, b->tmrLock, b->tmrStart})
        QVERIFY(!t->Enabled());
    const QString frozen = b->lbl1->text();
    w->mnuSimTemp->trigger(); // again: nothing changes
    QVERIFY(w->mnuSimTemp->isChecked());
    TestEnv::read(w.get());
    TestEnv::advance(10000);
    QCOMPARE(b->purseNumber(), 100.0);
    QCOMPARE(b->lbl1->text(), frozen);
    // Off and on again: a new boot, and cards are read after the next log-in.
    TestEnv::click(w->ddu()->imgOF);
    TestEnv::logIn(w.get());
    QVERIFY(!w->mnuSimTemp->isChecked());
    TestEnv::read(w.get());
    QCOMPARE(b->purseNumber(), 97.6);
}

QTEST_MAIN(TestSimulation)
#include "tst_simulation.moc"
