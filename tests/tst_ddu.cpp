#include "bcp/CardProcessor.h"
#include "common/Timer.h"
#include "ddu/Console.h"
#include "panels/frmBCP.h"
#include "panels/frmDDU.h"
#include "platform/Desktop.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"
#include "support/Readout.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

using namespace Readout;

namespace {

const QString kRoutes = QStringLiteral("12#北門#2.40\r\n12#南碼頭#2.40\r\n");

QString labelText(const QWidget* panel, const char* name)
{
    return TestEnv::find<QLabel>(panel, QLatin1String(name))->text();
}

void checkOff(const frmMDI* w)
{
    const frmDDU* d = w->ddu();
    const frmBCP* b = w->bcp();
    for (const char* name :
         {"lblLine1", "lblLine2", "lblLine3", "lblLine4", "lblStatus", "lblShift"})
        QVERIFY2(TestEnv::find<QLabel>(d, QLatin1String(name))->isHidden(), name);
    for (const KeyInfo& k : Keys::all()) {
        QVERIFY2(TestEnv::find(d, QLatin1String(k.name))->isEnabled() == (k.key == Key::Power),
                 k.name);
        QVERIFY2(w->console()->keyEnabled(k.key) == (k.key == Key::Power), k.name);
    }
    QVERIFY(!TestEnv::timer(w->console(), QStringLiteral("tmrClock"))->Enabled());
    for (const char* name : {"tmrStart", "tmrLoadLong", "tmrCount", "tmrLock", "tmrChange"})
        QVERIFY2(!TestEnv::timer(w->processor(), QLatin1String(name))->Enabled(), name);
    QCOMPARE(lamps(b), QStringLiteral("ryg"));
    QVERIFY(TestEnv::find(b, QStringLiteral("picLayer"))->isHidden());
    QVERIFY(!TestEnv::action(w, QStringLiteral("mnuSimTemp"))->isEnabled());
}

// Output through the keys, as the driver does it.
void output(const frmMDI* w)
{
    TestEnv::press(w, QStringLiteral("輸出 輸入"));
}

} // namespace

class TestDdu : public QObject {
    Q_OBJECT
private slots:
    void startsSwitchedOff();
    void panelsSideBySide();
    void powerOn();
    void powerTwiceFromOff();
    void clockOncePerSecond();
    void firstOutput();
    void secondOutputAndNewRun();
    void emptyOutput();
    void outputFreezesProcessor();
    void unwritableLogKeepsEverything();
    void noSecondOutputWhileOneRuns();
    void lineLoggedDuringOutputKept();
    void logWithoutLineEndGetsOne();
};

void TestDdu::startsSwitchedOff()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    checkOff(w.get());
    TestEnv::advance(60000);
    QCOMPARE(labelText(w->ddu(), "lblStatus"), QString());
    QCOMPARE(w->console()->tripLog().text(),
             QStringLiteral("12-06-2026\r\n06:10:05 Start Logging\r\n"));
}

void TestDdu::panelsSideBySide()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    QCOMPARE(w->bcp()->Top(), 0);
    QCOMPARE(w->ddu()->Top(), 0);
    QCOMPARE(w->bcp()->Left(), 0);
    QCOMPARE(w->ddu()->Left(), w->bcp()->outerWidth());
    QCOMPARE(w->bcp()->size(), QSize(225, 342));
    QCOMPARE(w->ddu()->size(), QSize(421, 258));
    // The whole of both panels fits in the window.
    const QRect both =
        w->ddu()->parentWidget()->geometry().united(w->bcp()->parentWidget()->geometry());
    QVERIFY(w->mdiArea()->viewport()->rect().contains(both));
    // Neither panel can be closed on its own.
    QVERIFY(!w->ddu()->parentWidget()->close());
    QVERIFY(!w->bcp()->parentWidget()->close());
    QVERIFY(w->ddu()->parentWidget()->isVisible());
}

void TestDdu::powerOn()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmDDU* d = w->ddu();
    Console* c = w->console();
    TestEnv::powerOn(w.get());
    QCOMPARE(display(d), QStringList({"", "　　　PLEASE WAIT", "", ""}));
    QVERIFY(!TestEnv::find(d, QStringLiteral("lblStatus"))->isHidden());
    QCOMPARE(labelText(d, "lblStatus"), QString());
    QAction* temp = TestEnv::action(w.get(), QStringLiteral("mnuSimTemp"));
    QVERIFY(temp->isEnabled());
    QVERIFY(!temp->isChecked());
    const QList<Key> loginKeys = {Key::Route,  Key::Finish, Key::Direction,
                                  Key::Cancel, Key::Enter,  Key::Output};
    for (const KeyInfo& k : Keys::all()) {
        const bool loginKey = loginKeys.contains(k.key);
        QVERIFY2(TestEnv::find(d, QLatin1String(k.name))->isEnabled() == !loginKey, k.name);
        QVERIFY2(c->keyEnabled(k.key) == !loginKey, k.name);
    }
    QCOMPARE(storedLines(c), QStringList({"車費　　　", "路線　　　", "往　"}));
    // Neither switch writes to the trip log.
    QCOMPARE(c->tripLog().text().count(QStringLiteral("\r\n")), 2);
}

void TestDdu::powerTwiceFromOff()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    TestEnv::press(w.get(), QStringLiteral("開/關"));
    checkOff(w.get());
    TestEnv::powerOn(w.get());
    TestEnv::press(w.get(), QStringLiteral("開/關"));
    checkOff(w.get());
    // Only the power key answers while off.
    TestEnv::press(w.get(), QStringLiteral("1"));
    TestEnv::advance(40000);
    checkOff(w.get());
}

void TestDdu::clockOncePerSecond()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmDDU* d = w->ddu();
    TestEnv::advance(300);
    TestEnv::powerOn(w.get());
    TestEnv::advance(499);
    QCOMPARE(labelText(d, "lblStatus"), QString());
    TestEnv::advance(1);
    QCOMPARE(labelText(d, "lblStatus"), QStringLiteral("12-06-2026 06:10:05 Quillmere"));
    int changes = 0;
    QString last = labelText(d, "lblStatus");
    for (int i = 0; i < 20; ++i) {
        TestEnv::advance(500);
        if (labelText(d, "lblStatus") != last) {
            ++changes;
            last = labelText(d, "lblStatus");
        }
    }
    QCOMPARE(changes, 10);
    QCOMPARE(last, QStringLiteral("12-06-2026 06:10:15 Quillmere"));
}

void TestDdu::firstOutput()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    TestEnv::read(w.get());
    TestEnv::advance(3000);
    output(w.get());
    const QByteArray expected = "12-06-2026\r\n"
                                "06:10:05 Start Logging\r\n"
                                "06:10:36 Route Changed 12\r\n"
                                "06:10:36 Fare Changed 2.40\r\n"
                                "06:10:39 Paid: Adult Fare $2.40\r\n"
                                "06:10:42 -----\r\n"
                                "\r\n";
    QCOMPARE(env.readFile(QStringLiteral("log.txt")), expected);
    QCOMPARE(w->console()->tripLog().text(),
             QStringLiteral("12-06-2026\r\n06:10:42 Log Reset\r\n"));
    QCOMPARE(w->console()->mode(), Console::KeypadMode::Idle);
    QCOMPARE(display(w->ddu()).mid(0, 3), QStringList({" ", "　　　正在輸出...", ""}));
}

void TestDdu::secondOutputAndNewRun()
{
    TestEnv env(kRoutes);
    QByteArray firstBlock;
    {
        auto w = env.start();
        TestEnv::logIn(w.get());
        output(w.get());
        firstBlock = env.readFile(QStringLiteral("log.txt"));
        TestEnv::advance(60000);
        TestEnv::powerOn(w.get()); // off
        TestEnv::logIn(w.get());
        output(w.get());
        const QByteArray file = env.readFile(QStringLiteral("log.txt"));
        QVERIFY(file.startsWith(firstBlock));
        QCOMPARE(file.mid(firstBlock.size()), QByteArray("12-06-2026\r\n"
                                                         "06:10:38 Log Reset\r\n"
                                                         "06:12:09 Route Changed 12\r\n"
                                                         "06:12:09 Fare Changed 2.40\r\n"
                                                         "06:12:11 -----\r\n"
                                                         "\r\n"));
        firstBlock = file;
        TestEnv::action(w.get(), QStringLiteral("mnuExit"))->trigger();
    }
    // The next run appends a block that starts with Start Logging again.
    auto w = env.start();
    output(w.get()); // the keys are disabled while switched off
    QCOMPARE(env.readFile(QStringLiteral("log.txt")), firstBlock);
    TestEnv::logIn(w.get());
    output(w.get());
    const QByteArray file = env.readFile(QStringLiteral("log.txt"));
    QVERIFY(file.startsWith(firstBlock));
    QVERIFY(file.mid(firstBlock.size()).startsWith("12-06-2026\r\n06:12:11 Start Logging\r\n"));
}

void TestDdu::emptyOutput()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    output(w.get());
    const qsizetype before = env.readFile(QStringLiteral("log.txt")).size();
    TestEnv::advance(1000);
    output(w.get());
    QCOMPARE(env.readFile(QStringLiteral("log.txt")).mid(before),
             QByteArray("12-06-2026\r\n06:10:38 Log Reset\r\n06:10:39 -----\r\n\r\n"));
}

void TestDdu::outputFreezesProcessor()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    CardProcessor* p = w->processor();
    TestEnv::logIn(w.get());
    output(w.get());
    QVERIFY(!p->responding());
    TestEnv::read(w.get());
    TestEnv::advance(20000);
    QCOMPARE(p->purse().inCents(), 10000);
    QCOMPARE(bcpLines(w->bcp()).at(0), QStringLiteral("OUT OF"));
    QCOMPARE(display(w->ddu()).at(1), QStringLiteral("　　　正在輸出..."));
}

void TestDdu::unwritableLogKeepsEverything()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    TestEnv::read(w.get());
    // A directory where the file should be: no user, root included, can write it.
    QVERIFY(QDir(env.dir()).mkdir(QStringLiteral("log.txt")));
    output(w.get());
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), 1);
    QVERIFY(
        env.desktop().texts(QStringLiteral("warn")).first().contains(QStringLiteral("log.txt")));
    QCOMPARE(w->console()->mode(), Console::KeypadMode::Idle);
    TestEnv::press(w.get(), QStringLiteral("開/關"));
    TestEnv::logIn(w.get());
    TestEnv::read(w.get());
    QVERIFY(QDir(env.dir()).rmdir(QStringLiteral("log.txt")));
    output(w.get());
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), 1);
    const QString file = QString::fromUtf8(env.readFile(QStringLiteral("log.txt")));
    QCOMPARE(file.count(QStringLiteral(" -----\r\n\r\n")), 2);
    QCOMPARE(file.count(QStringLiteral(" Paid: Adult Fare $2.40")), 2);
    QVERIFY(file.startsWith(QStringLiteral("12-06-2026\r\n06:10:05 Start Logging\r\n")));
    QVERIFY(file.contains(QStringLiteral("-----\r\n\r\n12-06-2026\r\n06:10:39 Log Reset\r\n")));
    QVERIFY(file.endsWith(QStringLiteral(" -----\r\n\r\n")));
}

void TestDdu::noSecondOutputWhileOneRuns()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    Console* c = w->console();
    TestEnv::logIn(w.get());
    TestEnv::press(w.get(), QStringLiteral("輸出"));
    int nested = 0;
    // A click that arrives during the output's first yield.
    QMetaObject::invokeMethod(
        c,
        [&] {
            ++nested;
            TestEnv::press(w.get(), QStringLiteral("輸入"));
            c->output();
        },
        Qt::QueuedConnection);
    TestEnv::press(w.get(), QStringLiteral("輸入"));
    QCOMPARE(nested, 1);
    const QString file = QString::fromUtf8(env.readFile(QStringLiteral("log.txt")));
    QCOMPARE(file.count(QStringLiteral(" -----")), 1);
    QCOMPARE(file.count(QStringLiteral("Start Logging")), 1);
}

void TestDdu::lineLoggedDuringOutputKept()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    Console* c = w->console();
    TestEnv::logIn(w.get()); // 06:10:38
    TestEnv::press(w.get(), QStringLiteral("輸出"));
    // One line while the block is still being gathered (the first yield); from there a
    // second one a second later, which runs in the next yield, after the file has been
    // written.
    bool afterWrite = false;
    QMetaObject::invokeMethod(
        c,
        [&] {
            c->log(TripEvent::StartTrip);
            QMetaObject::invokeMethod(
                c,
                [&] {
                    afterWrite = env.readFile(QStringLiteral("log.txt")).contains("Start Trip");
                    TestEnv::advance(1000);
                    c->log(TripEvent::DirectionChanged);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    TestEnv::press(w.get(), QStringLiteral("輸入"));
    QVERIFY(afterWrite);
    const QString file = QString::fromUtf8(env.readFile(QStringLiteral("log.txt")));
    QCOMPARE(file.count(QStringLiteral("Start Trip")), 1);
    QVERIFY(!file.contains(QStringLiteral("Direction Changed")));
    QVERIFY(c->tripLog().text().contains(QStringLiteral("06:10:39 Direction Changed\r\n")));
}

void TestDdu::logWithoutLineEndGetsOne()
{
    TestEnv env(kRoutes);
    env.writeFile(QStringLiteral("log.txt"), "edited by hand");
    auto w = env.start();
    TestEnv::logIn(w.get());
    output(w.get());
    QVERIFY(env.readFile(QStringLiteral("log.txt"))
                .startsWith("edited by hand\r\n12-06-2026\r\n06:10:05 Start Logging\r\n"));
}

QTEST_MAIN(TestDdu)
#include "tst_ddu.moc"
