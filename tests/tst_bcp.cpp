// The card processor's panel: what it draws of the processor, and the pointer it hands
// over. The rules and timelines are in tst_processor.
#include "common/Timer.h"
#include "panels/frmBCP.h"
#include "panels/frmDDU.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"
#include "support/Readout.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QTest>

using namespace Readout;

namespace {

const QString kRoutes = QStringLiteral("12#北門#2.40\r\n12#北門#3.50\r\n12#南碼頭#40.00\r\n"
                                       "12#南碼頭#40.10\r\n");

QWidget* widget(const frmMDI* w, const char* name)
{
    return TestEnv::find(w, QLatin1String(name));
}

QString text(const frmMDI* w, const char* name)
{
    return TestEnv::find<QLabel>(w, QLatin1String(name))->text();
}

} // namespace

class TestBcp : public QObject {
    Q_OBJECT
private slots:
    void bootDrawn();
    void cardFollowsPointer_data();
    void cardFollowsPointer();
    void backgroundsTakeCardAway();
    void closingStopsEveryTimer_data();
    void closingStopsEveryTimer();
};

// The boot as the panel draws it: the cover, the lamps, the address screen, the prompt.
void TestBcp::bootDrawn()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    QVERIFY(widget(w.get(), "picLayer")->isHidden());
    TestEnv::powerOn(w.get());
    TestEnv::advance(1000);
    QVERIFY(!widget(w.get(), "picCover")->isHidden());
    TestEnv::advance(3000); // 4 s
    QCOMPARE(lamps(b), QStringLiteral("RYG"));
    TestEnv::advance(2000); // 6 s
    QCOMPARE(lamps(b), QStringLiteral("ryg"));
    QVERIFY(widget(w.get(), "picCover")->isHidden());
    QVERIFY(widget(w.get(), "picLoad")->isHidden());
    TestEnv::advance(1000); // 7 s
    QVERIFY(!widget(w.get(), "picLoad")->isHidden());
    QCOMPARE(text(w.get(), "lblB_4"), QStringLiteral("DDU Address: Getting..."));
    TestEnv::advance(20000); // 27 s
    QCOMPARE(text(w.get(), "lblB_4"), QStringLiteral("DDU Address: 127.0.0.1"));
    TestEnv::advance(1000); // 28 s
    QVERIFY(widget(w.get(), "picLoad")->isHidden());
    TestEnv::advance(1000); // 29 s
    QCOMPARE(bcpLines(b), QStringList({"PRESENT YOUR", "CARD TO LOGIN", "請使用卡登入"}));
}

void TestBcp::cardFollowsPointer_data()
{
    QTest::addColumn<QPoint>("pointer"); // pixels on the reader
    QTest::newRow("top left") << QPoint(0, 0);
    QTest::newRow("inside") << QPoint(100, 50);
    QTest::newRow("far corner") << QPoint(200, 130);
}

// The card picture rests 25 twips (two pixels) right of and below the pointer, whatever
// the processor is doing.
void TestBcp::cardFollowsPointer()
{
    QFETCH(QPoint, pointer);
    TestEnv env(kRoutes);
    auto w = env.start();
    QWidget* card = widget(w.get(), "imgMCard");
    for (bool on : {false, true}) {
        if (on)
            TestEnv::logIn(w.get());
        TestEnv::present(w.get(), pointer.x() * 15.0, pointer.y() * 15.0);
        QVERIFY(card->isVisible());
        QCOMPARE(card->pos(), widget(w.get(), "imgCard")->pos() + pointer + QPoint(2, 2));
        // What shows of it stays over the reader, inside the panel.
        const QRect shown = card->mask().boundingRect().translated(card->pos());
        QVERIFY(!shown.isEmpty());
        QVERIFY(widget(w.get(), "imgCard")->geometry().contains(shown));
        TestEnv::withdraw(w.get());
        QVERIFY(card->isHidden());
    }
}

// The main window's dark background and the console's bare one take the card away; the
// lamps do not.
void TestBcp::backgroundsTakeCardAway()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    QWidget* card = widget(w.get(), "imgMCard");
    TestEnv::logIn(w.get());
    TestEnv::present(w.get());
    TestEnv::advance(500);
    TestEnv::moveTo(w->mdiArea()->viewport(), QPoint(600, 350));
    QVERIFY(card->isHidden());
    TestEnv::present(w.get());
    TestEnv::moveTo(widget(w.get(), "picGreen"), QPoint(3, 3));
    QVERIFY(!card->isHidden());
    TestEnv::moveTo(w->ddu(), QPoint(5, 250));
    QVERIFY(card->isHidden());
}

void TestBcp::closingStopsEveryTimer_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("結束(&X)") << false;
    QTest::newRow("close box") << true;
}

void TestBcp::closingStopsEveryTimer()
{
    QFETCH(bool, closeBox);
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    TestEnv::read(w.get());
    env.desktop().answer = QStringLiteral("不輸出，結束(&Q)");
    if (closeBox)
        w->close();
    else
        TestEnv::action(w.get(), QStringLiteral("mnuExit"))->trigger();
    QVERIFY(w->unloaded());
    for (Timer* t : w->findChildren<Timer*>())
        QVERIFY2(!t->Enabled(), qPrintable(t->objectName()));
}

QTEST_MAIN(TestBcp)
#include "tst_bcp.moc"
