#include "bcp/frmBCP.h"
#include "common/Timer.h"
#include "ddu/frmDDU.h"
#include "platform/Desktop.h"
#include "shell/frmMDI.h"
#include "support/Readout.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

using namespace Readout;

namespace {

const QString kRoutes = QStringLiteral("12#北門#2.40\r\n12#南碼頭#2.40\r\n");

void checkOff(frmMDI* w)
{
    frmDDU* d = w->ddu();
    frmBCP* b = w->bcp();
    for (QLabel* l : {d->lblLine1, d->lblLine2, d->lblLine3, d->lblLine4, d->lblStatus, d->lblShift})
        QVERIFY2(l->isHidden(), qPrintable(l->objectName()));
    for (KeyRegion* k : d->keys())
        QCOMPARE(k->isEnabled(), k == d->imgOF);
    QVERIFY(!d->tmrClock->Enabled());
    for (Timer* t : {b->tmrStart, b->tmrLoadLong, b->tmrCount, b->tmrLock, b->tmrChange})
        QVERIFY2(!t->Enabled(), qPrintable(t->objectName()));
    QCOMPARE(b->picRed->BackColor(), frmBCP::RedOff);
    QCOMPARE(b->picYellow->BackColor(), frmBCP::YellowOff);
    QCOMPARE(b->picGreen->BackColor(), frmBCP::GreenOff);
    QVERIFY(b->picLayer->isHidden());
    QVERIFY(!w->mnuSimTemp->isEnabled());
}

// Output through the keys, as the driver does it.
void output(frmMDI* w)
{
    TestEnv::click(w->ddu()->imgOutput);
    TestEnv::click(w->ddu()->imgEnt);
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
    QCOMPARE(w->ddu()->lblStatus->text(), QString());
    QCOMPARE(w->ddu()->txtLog,
             QStringLiteral("12-06-2026\r\n06:10:05 Start Logging\r\n"));
}

void TestDdu::panelsSideBySide()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    QCOMPARE(w->bcp()->Top(), 0);
    QCOMPARE(w->ddu()->Top(), 0);
    QCOMPARE(w->bcp()->Left(), 0);
    QCOMPARE(w->ddu()->Left(), w->bcp()->Width());
    QCOMPARE(w->bcp()->size(), QSize(225, 342));
    QCOMPARE(w->ddu()->size(), QSize(421, 258));
    // The whole of both panels fits in the window.
    const QRect both = w->ddu()->parentWidget()->geometry().united(
        w->bcp()->parentWidget()->geometry());
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
    TestEnv::powerOn(w.get());
    QCOMPARE(display(d), QStringList({"", "　　　PLEASE WAIT", "", ""}));
    QVERIFY(!d->lblStatus->isHidden());
    QCOMPARE(d->lblStatus->text(), QString());
    QVERIFY(w->mnuSimTemp->isEnabled());
    QVERIFY(!w->mnuSimTemp->isChecked());
    for (KeyRegion* k : d->keys()) {
        const bool loginKey = k == d->imgRoute || k == d->imgFinish || k == d->imgDir
                              || k == d->imgCancel || k == d->imgEnt || k == d->imgOutput;
        QCOMPARE(k->isEnabled(), !loginKey);
    }
    QCOMPARE(d->lblOrgLine1->text(), QStringLiteral("車費　　　"));
    QCOMPARE(d->lblOrgLine2->text(), QStringLiteral("路線　　　"));
    QCOMPARE(d->lblOrgLine3->text(), QStringLiteral("往　"));
    // Neither switch writes to the trip log.
    QCOMPARE(d->txtLog.count(QStringLiteral("\r\n")), 2);
}

void TestDdu::powerTwiceFromOff()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    TestEnv::click(w->ddu()->imgOF);
    checkOff(w.get());
    TestEnv::powerOn(w.get());
    TestEnv::click(w->ddu()->imgOF);
    checkOff(w.get());
    // Only the power key answers while off.
    TestEnv::click(w->ddu()->imgNo[1]);
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
    QCOMPARE(d->lblStatus->text(), QString());
    TestEnv::advance(1);
    QCOMPARE(d->lblStatus->text(), QStringLiteral("12-06-2026 06:10:05 Quillmere"));
    int changes = 0;
    QString last = d->lblStatus->text();
    for (int i = 0; i < 20; ++i) {
        TestEnv::advance(500);
        if (d->lblStatus->text() != last) {
            ++changes;
            last = d->lblStatus->text();
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
    QCOMPARE(w->ddu()->txtLog, QStringLiteral("12-06-2026\r\n06:10:42 Log Reset\r\n"));
    QCOMPARE(w->ddu()->InputMode, qint32(frmDDU::Idle));
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
        QCOMPARE(file.mid(firstBlock.size()),
                 QByteArray("12-06-2026\r\n"
                            "06:10:38 Log Reset\r\n"
                            "06:12:09 Route Changed 12\r\n"
                            "06:12:09 Fare Changed 2.40\r\n"
                            "06:12:11 -----\r\n"
                            "\r\n"));
        firstBlock = file;
        w->mnuExit->trigger();
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
    frmBCP* b = w->bcp();
    TestEnv::logIn(w.get());
    output(w.get());
    QVERIFY(b->NoResponse);
    TestEnv::read(w.get());
    TestEnv::advance(20000);
    QCOMPARE(b->purseNumber(), 100.0);
    QCOMPARE(b->lbl1->text(), QStringLiteral("OUT OF"));
    QCOMPARE(w->ddu()->lblLine2->text(), QStringLiteral("　　　正在輸出..."));
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
    QVERIFY(env.desktop().texts(QStringLiteral("warn")).first().contains(QStringLiteral("log.txt")));
    QCOMPARE(w->ddu()->InputMode, qint32(frmDDU::Idle));
    TestEnv::click(w->ddu()->imgOF);
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
    frmDDU* d = w->ddu();
    TestEnv::logIn(w.get());
    TestEnv::click(d->imgOutput);
    int nested = 0;
    // A click that arrives during the output's first yield.
    QMetaObject::invokeMethod(
        d, [&] {
            ++nested;
            TestEnv::click(d->imgEnt);
            d->Output();
        },
        Qt::QueuedConnection);
    TestEnv::click(d->imgEnt);
    QCOMPARE(nested, 1);
    const QString file = QString::fromUtf8(env.readFile(QStringLiteral("log.txt")));
    QCOMPARE(file.count(QStringLiteral(" -----")), 1);
    QCOMPARE(file.count(QStringLiteral("Start Logging")), 1);
}

void TestDdu::lineLoggedDuringOutputKept()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmDDU* d = w->ddu();
    TestEnv::logIn(w.get());
    TestEnv::click(d->imgOutput);
    // One line while the block is still being gathered (the first yield); from there a
    // second one, which runs in the next yield, after the file has been written.
    bool afterWrite = false;
    QMetaObject::invokeMethod(
        d,
        [&] {
            d->Log(QStringLiteral("06:10:38 Start Trip"));
            QMetaObject::invokeMethod(
                d,
                [&] {
                    afterWrite = env.readFile(QStringLiteral("log.txt")).contains("Start Trip");
                    d->Log(QStringLiteral("06:10:39 Direction Changed"));
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    TestEnv::click(d->imgEnt);
    QVERIFY(afterWrite);
    const QString file = QString::fromUtf8(env.readFile(QStringLiteral("log.txt")));
    QCOMPARE(file.count(QStringLiteral("Start Trip")), 1);
    QVERIFY(!file.contains(QStringLiteral("Direction Changed")));
    QVERIFY(d->txtLog.contains(QStringLiteral("06:10:39 Direction Changed\r\n")));
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
