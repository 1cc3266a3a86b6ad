#include "bcp/frmBCP.h"
#include "common/Timer.h"
#include "ddu/frmDDU.h"
#include "platform/Desktop.h"
#include "platform/Settings.h"
#include "shell/frmMDI.h"
#include "support/Readout.h"
#include "support/TestEnv.h"

#include <QLabel>
#include <QMdiArea>
#include <QTest>

using namespace Readout;

namespace {

const QString kRoutes = QStringLiteral("12#北門#2.40\r\n12#北門#3.50\r\n12#南碼頭#40.00\r\n"
                                       "12#南碼頭#40.10\r\n");

QString lastLogEvent(const frmDDU* d)
{
    const QStringList l = d->txtLog.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    return l.isEmpty() ? QString() : l.last().mid(8);
}

} // namespace

class TestBcp : public QObject {
    Q_OBJECT
private slots:
    void storedCardValues_data();
    void storedCardValues();
    void displayTickIgnoredWhileNoResponse();
    void bootTimeline();
    void bootWaitFollowsLoadtime();
    void switchingOffAbandonsBoot();
    void wrongCardAtPrompt_data();
    void wrongCardAtPrompt();
    void movementsPostponeLogin();
    void startupCardIgnoredBeforePrompt();
    void loginCompletes();
    void read_data();
    void read();
    void valueFloor_data();
    void valueFloor();
    void halfFareBeforeAnyFare_data();
    void halfFareBeforeAnyFare();
    void presentationTimeline();
    void cardFollowsPointer_data();
    void cardFollowsPointer();
    void readableCorner_data();
    void readableCorner();
    void withdrawnBeforeCheck();
    void lockExpires();
    void switchedOffReadsNothing();
    void powerOnClearsLock();
    void changeFareAndService();
    void pauseFreezesUntilPowerKey();
    void savedOnExit_data();
    void savedOnExit();
    void fareNotANumberEndsProgram();
};

void TestBcp::storedCardValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored"); // null: absent
    QTest::addColumn<double>("purse");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("language");
    QTest::newRow("empty store") << QString() << QString() << 100.0 << 0 << 0;
    QTest::newRow("purse -35") << "PurseValue" << "-35" << -35.0 << 0 << 0;
    QTest::newRow("purse -35.01") << "PurseValue" << "-35.01" << 100.0 << 0 << 0;
    QTest::newRow("purse 999.91") << "PurseValue" << "999.91" << 100.0 << 0 << 0;
    QTest::newRow("purse 1000") << "PurseValue" << "1000" << 100.0 << 0 << 0;
    QTest::newRow("purse -40") << "PurseValue" << "-40" << 100.0 << 0 << 0;
    QTest::newRow("purse 999.9") << "PurseValue" << "999.9" << 999.9 << 0 << 0;
    QTest::newRow("purse letters") << "PurseValue" << "abc" << 0.0 << 0 << 0;
    QTest::newRow("type 4") << "CardType" << "4" << 100.0 << 4 << 0;
    QTest::newRow("type 5") << "CardType" << "5" << 100.0 << 0 << 0;
    QTest::newRow("type -1") << "CardType" << "-1" << 100.0 << 0 << 0;
    QTest::newRow("type 7") << "CardType" << "7" << 100.0 << 0 << 0;
    QTest::newRow("type 2.5") << "CardType" << "2.5" << 100.0 << 2 << 0;
    QTest::newRow("type 3.5") << "CardType" << "3.5" << 100.0 << 4 << 0;
    QTest::newRow("type too large") << "CardType" << "99999" << 100.0 << 0 << 0;
    QTest::newRow("type letters") << "CardType" << "x" << 100.0 << 0 << 0;
    QTest::newRow("language 2") << "Language" << "2" << 100.0 << 0 << 2;
    QTest::newRow("language 1.5") << "Language" << "1.5" << 100.0 << 0 << 0;
    QTest::newRow("language letters") << "Language" << "en" << 100.0 << 0 << 0;
}

void TestBcp::storedCardValues()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(double, purse);
    QFETCH(int, type);
    QFETCH(int, language);
    TestEnv env(kRoutes);
    if (!key.isEmpty())
        TestEnv::store(key, stored);
    auto w = env.start();
    QCOMPARE(w->bcp()->purseNumber(), purse);
    QCOMPARE(int(w->bcp()->CardType), type);
    QCOMPARE(int(w->bcp()->Language), language);
}

void TestBcp::displayTickIgnoredWhileNoResponse()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    frmBCP* b = w->bcp();
    b->NoResponse = true;
    const QStringList before = bcpLines(b);
    const QString lampsBefore = lamps(b);
    const int state = b->ScreenState;
    for (int i = 0; i < 5; ++i)
        b->tmrChange_Timer();
    TestEnv::advance(10000);
    QCOMPARE(bcpLines(b), before);
    QCOMPARE(lamps(b), lampsBefore);
    QCOMPARE(b->ScreenState, state);
}

void TestBcp::bootTimeline()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    frmDDU* d = w->ddu();
    QVERIFY(b->picLayer->isHidden());
    QCOMPARE(b->tmrLoadLong->Interval(), 20000);
    TestEnv::powerOn(w.get());
    QCOMPARE(d->lblLine2->text(), QStringLiteral("　　　PLEASE WAIT"));

    TestEnv::advance(1000);
    QVERIFY(!b->picCover->isHidden());
    QCOMPARE(lamps(b), QStringLiteral("ryg"));
    TestEnv::advance(1000);
    QCOMPARE(lamps(b), QStringLiteral("ryG"));
    TestEnv::advance(1000);
    QCOMPARE(lamps(b), QStringLiteral("rYG"));
    TestEnv::advance(1000);
    QCOMPARE(lamps(b), QStringLiteral("RYG"));
    TestEnv::advance(1999);
    QCOMPARE(lamps(b), QStringLiteral("RYG"));
    TestEnv::advance(1); // 6 s
    QCOMPARE(lamps(b), QStringLiteral("ryg"));
    QVERIFY(b->picCover->isHidden());
    QVERIFY(b->picLoad->isHidden());
    TestEnv::advance(1000); // 7 s
    QVERIFY(!b->picLoad->isHidden());
    QCOMPARE(b->lblB[4]->text(), QStringLiteral("DDU Address: Getting..."));
    TestEnv::advance(19999);
    QCOMPARE(b->lblB[4]->text(), QStringLiteral("DDU Address: Getting..."));
    TestEnv::advance(1); // 27 s
    QCOMPARE(b->lblB[4]->text(), QStringLiteral("DDU Address: 127.0.0.1"));
    QVERIFY(!b->picLoad->isHidden());
    TestEnv::advance(1000); // 28 s
    QVERIFY(b->picLoad->isHidden());
    QCOMPARE(bcpLines(b), QStringList({"", "", ""}));
    TestEnv::advance(1000); // 29 s
    QCOMPARE(bcpLines(b), QStringList({"PRESENT YOUR", "CARD TO LOGIN", "請使用卡登入"}));
    QCOMPARE(d->lblLine1->text(), QStringLiteral(" "));
    QCOMPARE(d->lblLine2->text(), QStringLiteral("　　請使用卡登入"));
    QCOMPARE(d->lblLine3->text(), QString());
    QCOMPARE(b->tmrStart->Tag(), QStringLiteral("S2"));
    QVERIFY(!b->tmrStart->Enabled());
}

void TestBcp::bootWaitFollowsLoadtime()
{
    TestEnv env(kRoutes);
    TestEnv::store(Settings::Loadtime, QStringLiteral("5000"));
    auto w = env.start();
    frmBCP* b = w->bcp();
    QCOMPARE(b->tmrLoadLong->Interval(), 5000);
    TestEnv::powerOn(w.get());
    TestEnv::advance(7000);
    QVERIFY(!b->picLoad->isHidden());
    TestEnv::advance(4999);
    QCOMPARE(b->lblB[4]->text(), QStringLiteral("DDU Address: Getting..."));
    TestEnv::advance(1);
    QCOMPARE(b->lblB[4]->text(), QStringLiteral("DDU Address: 127.0.0.1"));
    TestEnv::advance(1000);
    QVERIFY(b->picLoad->isHidden());
}

void TestBcp::switchingOffAbandonsBoot()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    TestEnv::powerOn(w.get());
    TestEnv::advance(8000); // address screen
    TestEnv::click(w->ddu()->imgOF);
    for (Timer* t : {b->tmrStart, b->tmrLoadLong, b->tmrCount, b->tmrLock, b->tmrChange})
        QVERIFY2(!t->Enabled(), qPrintable(t->objectName()));
    QVERIFY(b->picLayer->isHidden());
    QCOMPARE(lamps(b), QStringLiteral("ryg"));
    TestEnv::advance(60000);
    QVERIFY(b->picLayer->isHidden());
    // Switching on starts from the beginning: the cover a second later, then the lamps.
    TestEnv::powerOn(w.get());
    QCOMPARE(b->tmrStart->Tag(), QStringLiteral("0"));
    QCOMPARE(b->lblB[4]->text(), QStringLiteral("DDU Address: Getting..."));
    QVERIFY(b->picLoad->isHidden());
    TestEnv::advance(1000);
    QVERIFY(!b->picCover->isHidden());
    TestEnv::advance(1000);
    QCOMPARE(lamps(b), QStringLiteral("ryG"));
}

void TestBcp::wrongCardAtPrompt_data()
{
    QTest::addColumn<int>("type");
    for (int t = 0; t <= 3; ++t)
        QTest::newRow(qPrintable(QStringLiteral("type %1").arg(t))) << t;
}

void TestBcp::wrongCardAtPrompt()
{
    QFETCH(int, type);
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    TestEnv::powerOn(w.get());
    TestEnv::waitForPrompt(w.get());
    b->CardType = type;
    TestEnv::present(w.get());
    TestEnv::advance(999);
    QCOMPARE(bcpLines(b), QStringList({"PRESENT YOUR", "CARD TO LOGIN", "請使用卡登入"}));
    TestEnv::advance(1);
    QCOMPARE(bcpLines(b), QStringList({"此卡無效　　", "", ""}));
    QCOMPARE(lamps(b), QStringLiteral("Ryg"));
    TestEnv::advance(1000);
    QCOMPARE(bcpLines(b), QStringList({"PRESENT YOUR", "CARD TO LOGIN", "請使用卡登入"}));
    QCOMPARE(lamps(b), QStringLiteral("ryg"));
    QVERIFY(!b->tmrChange->Enabled());
    QCOMPARE(b->tmrChange->Interval(), 2000);
    QCOMPARE(b->tmrStart->Tag(), QStringLiteral("S2"));
    QVERIFY(!b->StartValue);
}

void TestBcp::movementsPostponeLogin()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    TestEnv::powerOn(w.get());
    TestEnv::waitForPrompt(w.get());
    b->CardType = 4;
    for (int i = 0; i < 5; ++i) {
        TestEnv::present(w.get(), 600 + 15 * i, 600);
        TestEnv::advance(700);
    }
    QCOMPARE(b->tmrStart->Tag(), QStringLiteral("S2"));
    TestEnv::advance(299);
    QCOMPARE(b->tmrStart->Tag(), QStringLiteral("S2"));
    TestEnv::advance(1);
    QCOMPARE(b->tmrStart->Tag(), QStringLiteral("S3"));
}

void TestBcp::startupCardIgnoredBeforePrompt()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    b->CardType = 4;
    TestEnv::powerOn(w.get());
    for (int s = 0; s < 27; ++s) {
        TestEnv::present(w.get(), 600 + s, 600);
        QVERIFY(!b->imgMCard->isHidden());
        TestEnv::advance(1000);
    }
    QCOMPARE(b->tmrChange->Enabled(), false);
    TestEnv::waitForPrompt(w.get());
    b->NoResponse = true;
    TestEnv::present(w.get(), 700, 700);
    TestEnv::advance(3000);
    QCOMPARE(b->tmrStart->Tag(), QStringLiteral("S2"));
    QVERIFY(!b->StartValue);
}

void TestBcp::loginCompletes()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    frmDDU* d = w->ddu();
    TestEnv::powerOn(w.get());
    TestEnv::waitForPrompt(w.get());
    QVERIFY(!d->imgRoute->isEnabled());
    b->CardType = 4;
    TestEnv::present(w.get());
    TestEnv::advance(1000);
    QCOMPARE(b->tmrStart->Tag(), QStringLiteral("S3"));
    QVERIFY(!b->StartValue);
    TestEnv::advance(1000);
    QVERIFY(b->StartValue);
    for (QWidget* k : {(QWidget*)d->imgFinish, (QWidget*)d->imgRoute, (QWidget*)d->imgOutput,
                       (QWidget*)d->imgDir, (QWidget*)d->imgEnt, (QWidget*)d->imgCancel})
        QVERIFY2(k->isEnabled(), qPrintable(k->objectName()));
    // An empty last route loads the first line.
    QCOMPARE(d->lstTag, QStringLiteral("0"));
    QCOMPARE(b->Fare.toString(), QStringLiteral("2.40"));
    QVERIFY(b->tmrCount->Enabled());
    // The start-up card still on the reader is read in service and refused.
    TestEnv::advance(1000);
    QCOMPARE(bcpLines(b), QStringList({"剩餘值不足　　", "", ""}));
    QCOMPARE(lastLogEvent(d), QStringLiteral(" Not enough value"));
}

void TestBcp::read_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("language");
    QTest::addColumn<double>("purse");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QStringList>("screen");
    QTest::addColumn<QString>("lampsAfter");
    QTest::addColumn<QString>("consoleLine2");
    QTest::addColumn<QString>("consoleLine4");
    QTest::addColumn<QString>("logEvent");
    QTest::addColumn<double>("purseAfter");

    const QString paid = QStringLiteral(" Paid: Adult Fare $3.50");
    const QString route1 = QStringLiteral("路線　　　12");
    // Fare 3.50, half fare 1.80.
    QTest::newRow("adult zh") << 0 << 0 << 10.0 << false
        << QStringList{"成人 $3.50　", "　剩餘值", "$6.50 "} << "ryG" << route1
        << "　成人　$3.50" << paid << 6.5;
    QTest::newRow("child zh") << 1 << 0 << 10.0 << false
        << QStringList{"小童 $1.80　", "　剩餘值", "$8.20 "} << "ryG" << route1
        << "　小童　$1.80" << paid << 8.2;
    QTest::newRow("student zh") << 2 << 0 << 10.0 << false
        << QStringList{"學生 $3.50　", "　剩餘值", "$6.50 "} << "ryG" << route1
        << "　學生　$3.50" << paid << 6.5;
    QTest::newRow("elderly zh") << 3 << 0 << 10.0 << false
        << QStringList{"長者 $1.80　", "　剩餘值", "$8.20 "} << "ryG" << route1
        << "　長者　$1.80" << paid << 8.2;
    QTest::newRow("adult en") << 0 << 1 << 10.0 << false
        << QStringList{"ADULT　$3.50", " PURSE VALUE ", "$6.50 "} << "ryG" << route1
        << "　成人　$3.50" << paid << 6.5;
    QTest::newRow("child en") << 1 << 1 << 10.0 << false
        << QStringList{"CHILD　$1.80", " PURSE VALUE ", "$8.20 "} << "ryG" << route1
        << "　小童　$1.80" << paid << 8.2;
    QTest::newRow("student en") << 2 << 1 << 10.0 << false
        << QStringList{"STUDENT $3.50", " PURSE VALUE ", "$6.50 "} << "ryG" << route1
        << "　學生　$3.50" << paid << 6.5;
    QTest::newRow("elderly en") << 3 << 1 << 10.0 << false
        << QStringList{"ELDERY　$1.80", " PURSE VALUE ", "$8.20 "} << "ryG" << route1
        << "　長者　$1.80" << paid << 8.2;
    // Any language but 0 is English, as a hand-edited store may give.
    QTest::newRow("language 2 is English") << 0 << 2 << 10.0 << false
        << QStringList{"ADULT　$3.50", " PURSE VALUE ", "$6.50 "} << "ryG" << route1
        << "　成人　$3.50" << paid << 6.5;
    QTest::newRow("down to zero") << 0 << 0 << 3.5 << false
        << QStringList{"成人 $3.50　", "　剩餘值", "$0.00 "} << "rYG" << route1
        << "　成人　$3.50" << paid << 0.0;
    QTest::newRow("into the red") << 0 << 1 << 1.0 << false
        << QStringList{"ADULT　$3.50", " PURSE VALUE ", "$-2.50 "} << "rYG" << route1
        << "　成人　$3.50" << paid << -2.5;
    QTest::newRow("empty purse zh") << 0 << 0 << 0.0 << false
        << QStringList{"剩餘值不足　　", "", ""} << "Ryg" << "　　　　剩餘值不足" << ""
        << " Not enough value" << 0.0;
    QTest::newRow("empty purse en") << 0 << 1 << -1.0 << false
        << QStringList{"NOT ENOUGH", "PURSE VALUE", ""} << "Ryg" << "　　　　剩餘值不足" << ""
        << " Not enough value" << -1.0;
    QTest::newRow("below floor") << 0 << 0 << 0.05 << false
        << QStringList{"成人 $3.50　", "　剩餘值", "$-3.45 "} << "rYG" << route1
        << "　成人　$3.50" << paid << -3.45;
    QTest::newRow("processed zh") << 0 << 0 << 10.0 << true
        << QStringList{"", " 此卡已處理 ", ""} << "rYG" << "　　　　此卡已處理" << ""
        << " Card Processed" << 10.0;
    QTest::newRow("processed en") << 2 << 1 << 10.0 << true
        << QStringList{"CARD", "PROCESSED", ""} << "rYG" << "　　　　此卡已處理" << ""
        << " Card Processed" << 10.0;
    QTest::newRow("empty purse while locked") << 0 << 1 << 0.0 << true
        << QStringList{"NOT ENOUGH", "PURSE VALUE", ""} << "Ryg" << "　　　　剩餘值不足" << ""
        << " Not enough value" << 0.0;
    QTest::newRow("start-up card en") << 4 << 1 << 10.0 << false
        << QStringList{"剩餘值不足　　", "", ""} << "Ryg" << "　　　　剩餘值不足" << ""
        << " Not enough value" << 10.0;
}

void TestBcp::read()
{
    QFETCH(int, type);
    QFETCH(int, language);
    QFETCH(double, purse);
    QFETCH(bool, locked);
    QFETCH(QStringList, screen);
    QFETCH(QString, lampsAfter);
    QFETCH(QString, consoleLine2);
    QFETCH(QString, consoleLine4);
    QFETCH(QString, logEvent);
    QFETCH(double, purseAfter);

    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    frmDDU* d = w->ddu();
    TestEnv::logIn(w.get());
    TestEnv::click(d->imgDown); // fare 3.50
    TestEnv::advance(2000);
    QCOMPARE(b->lbl3->text(), QStringLiteral("$3.50"));
    b->CardType = type;
    b->Language = language;
    b->PurseValue = purse;
    b->PaidLock = locked;
    const bool wasLocked = b->tmrLock->Enabled();
    TestEnv::read(w.get());
    QCOMPARE(bcpLines(b), screen);
    QCOMPARE(lamps(b), lampsAfter);
    QCOMPARE(d->lblLine2->text(), consoleLine2);
    QCOMPARE(d->lblLine4->text(), consoleLine4);
    QCOMPARE(lastLogEvent(d), logEvent);
    QCOMPARE(b->purseNumber(), purseAfter);
    QCOMPARE(b->tmrLock->Enabled(), wasLocked || !consoleLine4.isEmpty());
}

void TestBcp::valueFloor_data()
{
    QTest::addColumn<QString>("fare");
    QTest::addColumn<double>("purse");
    QTest::addColumn<QStringList>("screen");
    QTest::addColumn<QString>("lampsAfter");
    QTest::addColumn<double>("purseAfter");
    QTest::newRow("empty purse, free ride") << "0" << 0.0
        << QStringList{"剩餘值不足　　", "", ""} << "Ryg" << 0.0;
    QTest::newRow("down to the floor") << "40.00" << 5.0
        << QStringList{"成人 $40.00　", "　剩餘值", "$-35.00 "} << "rYG" << -35.0;
    QTest::newRow("a cent below the floor") << "40.10" << 5.0
        << QStringList{"剩餘值不足　　", "", ""} << "Ryg" << 5.0;
}

void TestBcp::valueFloor()
{
    QFETCH(QString, fare);
    QFETCH(double, purse);
    QFETCH(QStringList, screen);
    QFETCH(QString, lampsAfter);
    QFETCH(double, purseAfter);
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    TestEnv::logIn(w.get());
    b->ChangeFare(fare);
    TestEnv::advance(2000);
    b->PurseValue = purse;
    TestEnv::read(w.get());
    QCOMPARE(bcpLines(b), screen);
    QCOMPARE(lamps(b), lampsAfter);
    QCOMPARE(b->purseNumber(), purseAfter);
}

// With no route line to give a fare, the first log-in leaves the fares unset: a half-fare
// card then pays nothing and shows $0.00, and the purse keeps its value.
void TestBcp::halfFareBeforeAnyFare_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("screen");
    QTest::newRow("child zh") << 1 << 0 << QStringList{"小童 $0.00　", "　剩餘值", "$10.00 "};
    QTest::newRow("elderly en") << 3 << 1
                                << QStringList{"ELDERY　$0.00", " PURSE VALUE ", "$10.00 "};
}

void TestBcp::halfFareBeforeAnyFare()
{
    QFETCH(int, type);
    QFETCH(int, language);
    QFETCH(QStringList, screen);
    TestEnv env(QStringLiteral(""));
    auto w = env.start();
    frmBCP* b = w->bcp();
    TestEnv::logIn(w.get());
    TestEnv::advance(2000);
    b->CardType = type;
    b->Language = language;
    b->PurseValue = 10.0;
    TestEnv::read(w.get());
    QCOMPARE(bcpLines(b), screen);
    QCOMPARE(b->purseNumber(), 10.0);
}

void TestBcp::presentationTimeline()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    frmDDU* d = w->ddu();
    TestEnv::logIn(w.get());
    TestEnv::click(d->imgDown); // fare 3.50
    TestEnv::advance(2000 + 700); // mid-cycle
    b->PurseValue = 10.0;
    TestEnv::present(w.get()); // 0 ms
    TestEnv::advance(999);
    QCOMPARE(b->purseNumber(), 10.0);
    TestEnv::advance(1); // 1000 ms: read
    QCOMPARE(b->lbl1->text(), QStringLiteral("成人 $3.50　"));
    TestEnv::advance(1999);
    QCOMPARE(b->lbl1->text(), QStringLiteral("成人 $3.50　"));
    QCOMPARE(d->lblLine4->text(), QStringLiteral("　成人　$3.50"));
    TestEnv::advance(1); // 3000 ms
    QCOMPARE(bcpLines(b), QStringList({"PRESENT", "YOUR CARD", "請使用卡"}));
    QCOMPARE(d->lblLine1->text(), QStringLiteral("車費　　　3.50"));
    QCOMPARE(d->lblLine4->text(), QString());
    TestEnv::advance(2000); // 5000 ms
    QCOMPARE(bcpLines(b), QStringList({"IN SERVICE", "歡迎使用服務", "$3.50"}));
    TestEnv::advance(2000);
    QCOMPARE(b->lbl1->text(), QStringLiteral("PRESENT"));
    // The card still resting on the reader is not read again.
    TestEnv::advance(30000);
    QCOMPARE(b->purseNumber(), 6.5);
    // A new movement after the lock has expired reads it again.
    TestEnv::read(w.get());
    QCOMPARE(b->purseNumber(), 3.0);
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
    frmBCP* b = w->bcp();
    for (bool on : {false, true}) {
        if (on)
            TestEnv::logIn(w.get());
        TestEnv::present(w.get(), pointer.x() * 15.0, pointer.y() * 15.0);
        QVERIFY(b->imgMCard->isVisible());
        QCOMPARE(b->imgMCard->pos(), b->imgCard->pos() + pointer + QPoint(2, 2));
        TestEnv::withdraw(w.get());
        QVERIFY(b->imgMCard->isHidden());
    }
}

void TestBcp::readableCorner_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<bool>("read");
    QTest::newRow("inside") << 2549.9 << 1499.9 << true;
    QTest::newRow("x on the edge") << 2550.0 << 100.0 << false;
    QTest::newRow("y on the edge") << 100.0 << 1500.0 << false;
    QTest::newRow("far corner") << 3000.0 << 1900.0 << false;
}

void TestBcp::readableCorner()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(bool, read);
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    frmDDU* d = w->ddu();
    TestEnv::logIn(w.get());
    const QString log = d->txtLog;
    b->imgCard_MouseMove(x, y);
    TestEnv::advance(1000);
    if (read) {
        QCOMPARE(b->purseNumber(), 97.6);
        return;
    }
    QCOMPARE(bcpLines(b), QStringList({"請再拍卡　  ", "", ""}));
    QCOMPARE(lamps(b), QStringLiteral("Ryg"));
    QCOMPARE(d->lblLine2->text(), QStringLiteral("　　不能讀取資料"));
    QCOMPARE(b->purseNumber(), 100.0);
    QCOMPARE(d->txtLog, log);
    b->Language = 1;
    b->imgCard_MouseMove(x, y);
    TestEnv::advance(1000);
    QCOMPARE(bcpLines(b), QStringList({"PLEASE TRY", "AGAIN", ""}));
}

void TestBcp::withdrawnBeforeCheck()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    TestEnv::logIn(w.get());
    TestEnv::present(w.get());
    TestEnv::advance(500);
    // The dark background of the main window withdraws the card as well.
    TestEnv::moveTo(w->mdiArea()->viewport(), QPoint(600, 350));
    QVERIFY(b->imgMCard->isHidden());
    TestEnv::advance(5000);
    QCOMPARE(b->purseNumber(), 100.0);
    QVERIFY(!b->tmrCount->Enabled());
    // Over the console's bare background too; over the lamps the card stays.
    TestEnv::present(w.get());
    TestEnv::moveTo(b->picGreen, QPoint(3, 3));
    QVERIFY(!b->imgMCard->isHidden());
    TestEnv::moveTo(w->ddu(), QPoint(5, 250));
    QVERIFY(b->imgMCard->isHidden());
}

void TestBcp::lockExpires()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    frmDDU* d = w->ddu();
    TestEnv::logIn(w.get());
    b->Language = 1;
    TestEnv::read(w.get());
    QCOMPARE(b->purseNumber(), 97.6);
    TestEnv::withdraw(w.get());
    TestEnv::advance(5000);
    TestEnv::read(w.get());
    QCOMPARE(bcpLines(b), QStringList({"CARD", "PROCESSED", ""}));
    QCOMPARE(lastLogEvent(d), QStringLiteral(" Card Processed"));
    TestEnv::withdraw(w.get());
    TestEnv::advance(9000); // 15 s after the payment
    QVERIFY(!b->PaidLock);
    QVERIFY(!b->tmrLock->Enabled());
    TestEnv::read(w.get());
    QCOMPARE(b->purseNumber(), 95.2);
}

void TestBcp::switchedOffReadsNothing()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    TestEnv::logIn(w.get());
    TestEnv::click(w->ddu()->imgOF);
    TestEnv::read(w.get());
    TestEnv::advance(5000);
    QVERIFY(!b->imgMCard->isHidden());
    QCOMPARE(b->purseNumber(), 100.0);
    QVERIFY(!b->tmrCount->Enabled());
}

void TestBcp::powerOnClearsLock()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    TestEnv::logIn(w.get());
    TestEnv::read(w.get());
    QVERIFY(b->PaidLock);
    TestEnv::click(w->ddu()->imgOF);
    TestEnv::logIn(w.get());
    TestEnv::read(w.get());
    QCOMPARE(b->purseNumber(), 95.2);
}

void TestBcp::changeFareAndService()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    frmDDU* d = w->ddu();
    TestEnv::logIn(w.get());
    b->ChangeFare(QStringLiteral("2.4"));
    QCOMPARE(lastLogEvent(d), QStringLiteral(" Fare Changed 2.4"));
    QCOMPARE(bcpLines(b), QStringList({"OUT OF", "SERVICE", "暫停服務"}));
    QCOMPARE(lamps(b), QStringLiteral("RYG"));
    QCOMPARE(b->Fare.toString(), QStringLiteral("2.4"));
    QCOMPARE(b->HalfFare.toDouble(), 1.2);
    TestEnv::advance(1999);
    QCOMPARE(b->lbl1->text(), QStringLiteral("OUT OF"));
    TestEnv::advance(1);
    QCOMPARE(bcpLines(b), QStringList({"IN SERVICE", "歡迎使用服務", "$2.40"}));

    b->StopService(-1);
    QCOMPARE(b->ScreenState, 0);
    TestEnv::advance(6000);
    QCOMPARE(bcpLines(b), QStringList({"OUT OF", "SERVICE", "暫停服務"}));
    QCOMPARE(b->ScreenState, 0);
    b->StopService(1); // neither true nor false
    QCOMPARE(b->ScreenState, 0);
    // A card presented out of service brings the present-card screen back.
    TestEnv::read(w.get());
    QCOMPARE(b->ScreenState, 1);
    QCOMPARE(b->purseNumber(), 100.0);
    b->StopService(0);
    QCOMPARE(bcpLines(b), QStringList({"IN SERVICE", "歡迎使用服務", "$2.40"}));
    QCOMPARE(d->lblLine2->text(), QStringLiteral("路線　　　12"));
}

void TestBcp::pauseFreezesUntilPowerKey()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    TestEnv::logIn(w.get());
    b->Pause();
    QCOMPARE(bcpLines(b), QStringList({"OUT OF", "SERVICE", "暫停服務"}));
    TestEnv::read(w.get());
    TestEnv::advance(10000);
    QVERIFY(!b->imgMCard->isHidden());
    QCOMPARE(bcpLines(b), QStringList({"OUT OF", "SERVICE", "暫停服務"}));
    QCOMPARE(b->purseNumber(), 100.0);
    TestEnv::click(w->ddu()->imgOF);
    TestEnv::logIn(w.get());
    TestEnv::read(w.get());
    QCOMPARE(b->purseNumber(), 97.6);
}

void TestBcp::savedOnExit_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("結束(&X)") << false;
    QTest::newRow("close box") << true;
}

void TestBcp::savedOnExit()
{
    QFETCH(bool, closeBox);
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    TestEnv::logIn(w.get());
    b->CardType = 2;
    b->Language = 1;
    TestEnv::read(w.get());
    TestEnv::withdraw(w.get());
    TestEnv::advance(16000);
    TestEnv::read(w.get());
    QCOMPARE(b->lbl3->text(), QStringLiteral("$95.20 "));
    if (closeBox)
        w->close();
    else
        w->mnuExit->trigger();
    QVERIFY(w->unloaded());
    QCOMPARE(TestEnv::stored(Settings::PurseValue), QStringLiteral("95.2"));
    QCOMPARE(TestEnv::stored(Settings::CardType), QStringLiteral("2"));
    QCOMPARE(TestEnv::stored(Settings::Language), QStringLiteral("1"));
    for (Timer* t : w->findChildren<Timer*>())
        QVERIFY2(!t->Enabled(), qPrintable(t->objectName()));
}

void TestBcp::fareNotANumberEndsProgram()
{
    TestEnv env(QStringLiteral("12#北門#abc\r\n"));
    auto w = env.start();
    frmBCP* b = w->bcp();
    b->Language = 1;
    b->PurseValue = QStringLiteral("200.00");
    TestEnv::logIn(w.get()); // the first route load hands the fare over
    QCOMPARE(env.desktop().texts(QStringLiteral("fatal")), QStringList{"計算錯誤，離開。"});
    QCOMPARE(env.desktop().count(QStringLiteral("endProgram")), 1);
    QCOMPARE(TestEnv::stored(Settings::PurseValue), QStringLiteral("200.00"));
    QCOMPARE(TestEnv::stored(Settings::CardType), QStringLiteral("4")); // the start-up card
    QCOMPARE(TestEnv::stored(Settings::Language), QStringLiteral("1"));
}

QTEST_MAIN(TestBcp)
#include "tst_bcp.moc"
