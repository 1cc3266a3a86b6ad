#include "bcp/CardProcessor.h"
#include "common/Timer.h"
#include "ddu/Console.h"
#include "panels/frmBCP.h"
#include "panels/frmDDU.h"
#include "platform/Settings.h"
#include "routes/RouteLine.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"
#include "support/Readout.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QRandomGenerator>
#include <QTest>

using namespace Readout;

namespace {

const QString kRoutes = QStringLiteral("12#北門#2.40\r\n12#北門#3.50\r\n12#南碼頭#40.00\r\n"
                                       "12#南碼頭#40.10\r\n");

using Screen = CardProcessor::ScreenState;
using Step = CardProcessor::BootStep;

// Amounts in the rows are written as the display writes them.
Money money(const QString& text)
{
    return Money::parse(text).value();
}

// A line that gives only a fare, from no file, as the console would hand it over.
RouteLine fareLine(const QString& text)
{
    RouteLine line;
    line.fare = Money::parse(text);
    line.fareText = text;
    return line;
}

QWidget* widget(const frmMDI* w, const char* name)
{
    return TestEnv::find(w, QLatin1String(name));
}

QString text(const frmMDI* w, const char* name)
{
    return TestEnv::find<QLabel>(w, QLatin1String(name))->text();
}

Timer* timer(const frmMDI* w, const char* name)
{
    return TestEnv::timer(w->processor(), QLatin1String(name));
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
    void savedAtOnce();
    void cardEmptiedExactly();
    void longWalkInExactCents();
};

void TestBcp::storedCardValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored"); // null: absent
    QTest::addColumn<QString>("purse");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("language");
    QTest::newRow("empty store") << QString() << QString() << "100.00" << 0 << 0;
    QTest::newRow("purse -35") << "PurseValue"
                               << "-35"
                               << "-35.00" << 0 << 0;
    QTest::newRow("purse -35.01") << "PurseValue"
                                  << "-35.01"
                                  << "100.00" << 0 << 0;
    QTest::newRow("purse 999.91") << "PurseValue"
                                  << "999.91"
                                  << "100.00" << 0 << 0;
    QTest::newRow("purse 1000") << "PurseValue"
                                << "1000"
                                << "100.00" << 0 << 0;
    QTest::newRow("purse -40") << "PurseValue"
                               << "-40"
                               << "100.00" << 0 << 0;
    QTest::newRow("purse 999.9") << "PurseValue"
                                 << "999.9"
                                 << "999.90" << 0 << 0;
    QTest::newRow("purse letters") << "PurseValue"
                                   << "abc"
                                   << "0.00" << 0 << 0;
    // Taken to the cent once, as it comes in.
    QTest::newRow("purse to the cent") << "PurseValue"
                                       << "12.345"
                                       << "12.35" << 0 << 0;
    QTest::newRow("purse binary noise") << "PurseValue"
                                        << "6.8999999999999995"
                                        << "6.90" << 0 << 0;
    QTest::newRow("type 4") << "CardType"
                            << "4"
                            << "100.00" << 4 << 0;
    QTest::newRow("type 5") << "CardType"
                            << "5"
                            << "100.00" << 0 << 0;
    QTest::newRow("type -1") << "CardType"
                             << "-1"
                             << "100.00" << 0 << 0;
    QTest::newRow("type 7") << "CardType"
                            << "7"
                            << "100.00" << 0 << 0;
    QTest::newRow("type 2.5") << "CardType"
                              << "2.5"
                              << "100.00" << 2 << 0;
    QTest::newRow("type 3.5") << "CardType"
                              << "3.5"
                              << "100.00" << 4 << 0;
    QTest::newRow("type too large") << "CardType"
                                    << "99999"
                                    << "100.00" << 0 << 0;
    QTest::newRow("type letters") << "CardType"
                                  << "x"
                                  << "100.00" << 0 << 0;
    QTest::newRow("language 2") << "Language"
                                << "2"
                                << "100.00" << 0 << 1;
    // A number with a fraction or an exponent is rounded, halves to even.
    QTest::newRow("language 1.5") << "Language"
                                  << "1.5"
                                  << "100.00" << 0 << 1;
    QTest::newRow("language 2.5") << "Language"
                                  << "2.5"
                                  << "100.00" << 0 << 1;
    QTest::newRow("language 1.0") << "Language"
                                  << "1.0"
                                  << "100.00" << 0 << 1;
    QTest::newRow("language 1e0") << "Language"
                                  << " 1e0 "
                                  << "100.00" << 0 << 1;
    QTest::newRow("language beyond 16 bits") << "Language"
                                             << "70000"
                                             << "100.00" << 0 << 0;
    QTest::newRow("language letters") << "Language"
                                      << "en"
                                      << "100.00" << 0 << 0;
}

void TestBcp::storedCardValues()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, purse);
    QFETCH(int, type);
    QFETCH(int, language);
    TestEnv env(kRoutes);
    if (!key.isEmpty())
        TestEnv::store(key, stored);
    auto w = env.start();
    QCOMPARE(w->processor()->purse().text(), purse);
    QCOMPARE(int(w->processor()->cardType()), type);
    QCOMPARE(int(w->processor()->language()), language);
}

void TestBcp::displayTickIgnoredWhileNoResponse()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    frmBCP* b = w->bcp();
    CardProcessor* p = w->processor();
    w->console()->output(); // freezes the processor
    QVERIFY(!p->responding());
    const QStringList before = bcpLines(b);
    const QString lampsBefore = lamps(b);
    const Screen state = p->screenState();
    for (int i = 0; i < 5; ++i)
        emit timer(w.get(), "tmrChange")->tick();
    TestEnv::advance(10000);
    QCOMPARE(bcpLines(b), before);
    QCOMPARE(lamps(b), lampsBefore);
    QCOMPARE(p->screenState(), state);
}

void TestBcp::bootTimeline()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    frmDDU* d = w->ddu();
    QVERIFY(widget(w.get(), "picLayer")->isHidden());
    QCOMPARE(timer(w.get(), "tmrLoadLong")->Interval(), 20000);
    TestEnv::powerOn(w.get());
    QCOMPARE(display(d).at(1), QStringLiteral("　　　PLEASE WAIT"));

    TestEnv::advance(1000);
    QVERIFY(!widget(w.get(), "picCover")->isHidden());
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
    QVERIFY(widget(w.get(), "picCover")->isHidden());
    QVERIFY(widget(w.get(), "picLoad")->isHidden());
    TestEnv::advance(1000); // 7 s
    QVERIFY(!widget(w.get(), "picLoad")->isHidden());
    QCOMPARE(text(w.get(), "lblB_4"), QStringLiteral("DDU Address: Getting..."));
    TestEnv::advance(19999);
    QCOMPARE(text(w.get(), "lblB_4"), QStringLiteral("DDU Address: Getting..."));
    TestEnv::advance(1); // 27 s
    QCOMPARE(text(w.get(), "lblB_4"), QStringLiteral("DDU Address: 127.0.0.1"));
    QVERIFY(!widget(w.get(), "picLoad")->isHidden());
    TestEnv::advance(1000); // 28 s
    QVERIFY(widget(w.get(), "picLoad")->isHidden());
    QCOMPARE(bcpLines(b), QStringList({"", "", ""}));
    TestEnv::advance(1000); // 29 s
    QCOMPARE(bcpLines(b), QStringList({"PRESENT YOUR", "CARD TO LOGIN", "請使用卡登入"}));
    QCOMPARE(display(d), QStringList({" ", "　　請使用卡登入", "", ""}));
    QCOMPARE(w->processor()->bootStep(), Step::Prompt);
    QVERIFY(!timer(w.get(), "tmrStart")->Enabled());
}

void TestBcp::bootWaitFollowsLoadtime()
{
    TestEnv env(kRoutes);
    TestEnv::store(Settings::Loadtime, QStringLiteral("5000"));
    auto w = env.start();
    QCOMPARE(timer(w.get(), "tmrLoadLong")->Interval(), 5000);
    TestEnv::powerOn(w.get());
    TestEnv::advance(7000);
    QVERIFY(!widget(w.get(), "picLoad")->isHidden());
    TestEnv::advance(4999);
    QCOMPARE(text(w.get(), "lblB_4"), QStringLiteral("DDU Address: Getting..."));
    TestEnv::advance(1);
    QCOMPARE(text(w.get(), "lblB_4"), QStringLiteral("DDU Address: 127.0.0.1"));
    TestEnv::advance(1000);
    QVERIFY(widget(w.get(), "picLoad")->isHidden());
}

void TestBcp::switchingOffAbandonsBoot()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    TestEnv::powerOn(w.get());
    TestEnv::advance(8000); // address screen
    TestEnv::press(w.get(), QStringLiteral("開/關"));
    for (const char* name : {"tmrStart", "tmrLoadLong", "tmrCount", "tmrLock", "tmrChange"})
        QVERIFY2(!timer(w.get(), name)->Enabled(), name);
    QVERIFY(widget(w.get(), "picLayer")->isHidden());
    QCOMPARE(lamps(b), QStringLiteral("ryg"));
    TestEnv::advance(60000);
    QVERIFY(widget(w.get(), "picLayer")->isHidden());
    // Switching on starts from the beginning: the cover a second later, then the lamps.
    TestEnv::powerOn(w.get());
    QCOMPARE(w->processor()->bootStep(), Step::ShowCover);
    QCOMPARE(text(w.get(), "lblB_4"), QStringLiteral("DDU Address: Getting..."));
    QVERIFY(widget(w.get(), "picLoad")->isHidden());
    TestEnv::advance(1000);
    QVERIFY(!widget(w.get(), "picCover")->isHidden());
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
    w->processor()->setCardType(CardType(type));
    TestEnv::present(w.get());
    TestEnv::advance(999);
    QCOMPARE(bcpLines(b), QStringList({"PRESENT YOUR", "CARD TO LOGIN", "請使用卡登入"}));
    TestEnv::advance(1);
    QCOMPARE(bcpLines(b), QStringList({"此卡無效　　", "", ""}));
    QCOMPARE(lamps(b), QStringLiteral("Ryg"));
    TestEnv::advance(1000);
    QCOMPARE(bcpLines(b), QStringList({"PRESENT YOUR", "CARD TO LOGIN", "請使用卡登入"}));
    QCOMPARE(lamps(b), QStringLiteral("ryg"));
    QVERIFY(!timer(w.get(), "tmrChange")->Enabled());
    QCOMPARE(timer(w.get(), "tmrChange")->Interval(), 2000);
    QCOMPARE(w->processor()->bootStep(), Step::Prompt);
    QVERIFY(!w->processor()->loggedIn());
}

void TestBcp::movementsPostponeLogin()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    CardProcessor* p = w->processor();
    TestEnv::powerOn(w.get());
    TestEnv::waitForPrompt(w.get());
    p->setCardType(CardType::Startup);
    for (int i = 0; i < 5; ++i) {
        TestEnv::present(w.get(), 600 + 15 * i, 600);
        TestEnv::advance(700);
    }
    QCOMPARE(p->bootStep(), Step::Prompt);
    TestEnv::advance(299);
    QCOMPARE(p->bootStep(), Step::Prompt);
    TestEnv::advance(1);
    QCOMPARE(p->bootStep(), Step::CompleteLogin);
}

void TestBcp::startupCardIgnoredBeforePrompt()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    CardProcessor* p = w->processor();
    p->setCardType(CardType::Startup);
    TestEnv::powerOn(w.get());
    for (int s = 0; s < 27; ++s) {
        TestEnv::present(w.get(), 600 + s, 600);
        QVERIFY(!widget(w.get(), "imgMCard")->isHidden());
        TestEnv::advance(1000);
    }
    QCOMPARE(timer(w.get(), "tmrChange")->Enabled(), false);
    TestEnv::waitForPrompt(w.get());
    p->pause(); // no response to any card until the power is switched
    TestEnv::present(w.get(), 700, 700);
    TestEnv::advance(3000);
    QCOMPARE(p->bootStep(), Step::Prompt);
    QVERIFY(!p->loggedIn());
}

void TestBcp::loginCompletes()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    CardProcessor* p = w->processor();
    Console* c = w->console();
    TestEnv::powerOn(w.get());
    TestEnv::waitForPrompt(w.get());
    QVERIFY(!TestEnv::key(w.get(), QStringLiteral("路線"))->isEnabled());
    p->setCardType(CardType::Startup);
    TestEnv::present(w.get());
    TestEnv::advance(1000);
    QCOMPARE(p->bootStep(), Step::CompleteLogin);
    QVERIFY(!p->loggedIn());
    TestEnv::advance(1000);
    QVERIFY(p->loggedIn());
    for (const char* k : {"imgFinish", "imgRoute", "imgOutput", "imgDir", "imgEnt", "imgCancel"})
        QVERIFY2(widget(w.get(), k)->isEnabled(), k);
    // An empty last route loads the first line.
    QCOMPARE(c->routes().current(), std::optional<qsizetype>(0));
    QCOMPARE(p->fare(), money("2.40"));
    QVERIFY(timer(w.get(), "tmrCount")->Enabled());
    // The start-up card still on the reader is read in service and refused.
    TestEnv::advance(1000);
    QCOMPARE(bcpLines(b), QStringList({"剩餘值不足　　", "", ""}));
    QCOMPARE(lastEvent(c), QStringLiteral(" Not enough value"));
}

void TestBcp::read_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("purse");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QStringList>("screen");
    QTest::addColumn<QString>("lampsAfter");
    QTest::addColumn<QString>("consoleLine2");
    QTest::addColumn<QString>("consoleLine4");
    QTest::addColumn<QString>("logEvent");
    QTest::addColumn<QString>("purseAfter");

    const QString paid = QStringLiteral(" Paid: Adult Fare $3.50");
    const QString route1 = QStringLiteral("路線　　　12");
    // Fare 3.50, half fare 1.80.
    QTest::newRow("adult zh") << 0 << 0 << "10.00" << false
                              << QStringList{"成人 $3.50　", "　剩餘值", "$6.50 "} << "ryG"
                              << route1 << "　成人　$3.50" << paid << "6.50";
    QTest::newRow("child zh") << 1 << 0 << "10.00" << false
                              << QStringList{"小童 $1.80　", "　剩餘值", "$8.20 "} << "ryG"
                              << route1 << "　小童　$1.80" << paid << "8.20";
    QTest::newRow("student zh") << 2 << 0 << "10.00" << false
                                << QStringList{"學生 $3.50　", "　剩餘值", "$6.50 "} << "ryG"
                                << route1 << "　學生　$3.50" << paid << "6.50";
    QTest::newRow("elderly zh") << 3 << 0 << "10.00" << false
                                << QStringList{"長者 $1.80　", "　剩餘值", "$8.20 "} << "ryG"
                                << route1 << "　長者　$1.80" << paid << "8.20";
    QTest::newRow("adult en") << 0 << 1 << "10.00" << false
                              << QStringList{"ADULT　$3.50", " PURSE VALUE ", "$6.50 "} << "ryG"
                              << route1 << "　成人　$3.50" << paid << "6.50";
    QTest::newRow("child en") << 1 << 1 << "10.00" << false
                              << QStringList{"CHILD　$1.80", " PURSE VALUE ", "$8.20 "} << "ryG"
                              << route1 << "　小童　$1.80" << paid << "8.20";
    QTest::newRow("student en") << 2 << 1 << "10.00" << false
                                << QStringList{"STUDENT $3.50", " PURSE VALUE ", "$6.50 "} << "ryG"
                                << route1 << "　學生　$3.50" << paid << "6.50";
    QTest::newRow("elderly en") << 3 << 1 << "10.00" << false
                                << QStringList{"ELDERY　$1.80", " PURSE VALUE ", "$8.20 "} << "ryG"
                                << route1 << "　長者　$1.80" << paid << "8.20";
    // Any language but 0 is English, as a hand-edited store may give.
    QTest::newRow("language 2 is English")
        << 0 << 2 << "10.00" << false << QStringList{"ADULT　$3.50", " PURSE VALUE ", "$6.50 "}
        << "ryG" << route1 << "　成人　$3.50" << paid << "6.50";
    QTest::newRow("down to zero") << 0 << 0 << "3.50" << false
                                  << QStringList{"成人 $3.50　", "　剩餘值", "$0.00 "} << "rYG"
                                  << route1 << "　成人　$3.50" << paid << "0.00";
    QTest::newRow("into the red") << 0 << 1 << "1.00" << false
                                  << QStringList{"ADULT　$3.50", " PURSE VALUE ", "$-2.50 "}
                                  << "rYG" << route1 << "　成人　$3.50" << paid << "-2.50";
    QTest::newRow("empty purse zh")
        << 0 << 0 << "0.00" << false << QStringList{"剩餘值不足　　", "", ""} << "Ryg"
        << "　　　　剩餘值不足"
        << ""
        << " Not enough value"
        << "0.00";
    QTest::newRow("empty purse en")
        << 0 << 1 << "-1.00" << false << QStringList{"NOT ENOUGH", "PURSE VALUE", ""} << "Ryg"
        << "　　　　剩餘值不足"
        << ""
        << " Not enough value"
        << "-1.00";
    QTest::newRow("below floor") << 0 << 0 << "0.05" << false
                                 << QStringList{"成人 $3.50　", "　剩餘值", "$-3.45 "} << "rYG"
                                 << route1 << "　成人　$3.50" << paid << "-3.45";
    QTest::newRow("processed zh") << 0 << 0 << "10.00" << true
                                  << QStringList{"", " 此卡已處理 ", ""} << "rYG"
                                  << "　　　　此卡已處理"
                                  << ""
                                  << " Card Processed"
                                  << "10.00";
    QTest::newRow("processed en") << 2 << 1 << "10.00" << true
                                  << QStringList{"CARD", "PROCESSED", ""} << "rYG"
                                  << "　　　　此卡已處理"
                                  << ""
                                  << " Card Processed"
                                  << "10.00";
    QTest::newRow("empty purse while locked")
        << 0 << 1 << "0.00" << true << QStringList{"NOT ENOUGH", "PURSE VALUE", ""} << "Ryg"
        << "　　　　剩餘值不足"
        << ""
        << " Not enough value"
        << "0.00";
    QTest::newRow("start-up card en")
        << 4 << 1 << "10.00" << false << QStringList{"剩餘值不足　　", "", ""} << "Ryg"
        << "　　　　剩餘值不足"
        << ""
        << " Not enough value"
        << "10.00";
}

void TestBcp::read()
{
    QFETCH(int, type);
    QFETCH(int, language);
    QFETCH(QString, purse);
    QFETCH(bool, locked);
    QFETCH(QStringList, screen);
    QFETCH(QString, lampsAfter);
    QFETCH(QString, consoleLine2);
    QFETCH(QString, consoleLine4);
    QFETCH(QString, logEvent);
    QFETCH(QString, purseAfter);

    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    frmDDU* d = w->ddu();
    CardProcessor* p = w->processor();
    TestEnv::logIn(w.get());
    TestEnv::press(w.get(), QStringLiteral("↓")); // fare 3.50
    TestEnv::advance(2000);
    QCOMPARE(bcpLines(b).at(2), QStringLiteral("$3.50"));
    if (locked) {
        // A payment a moment ago: the lock stands for 15 s.
        TestEnv::read(w.get());
        TestEnv::withdraw(w.get());
        TestEnv::advance(3000);
        QVERIFY(p->locked());
    }
    p->setCardType(CardType(type));
    p->setLanguage(cardLanguage(language));
    p->setPurse(money(purse));
    const bool wasLocked = timer(w.get(), "tmrLock")->Enabled();
    TestEnv::read(w.get());
    QCOMPARE(bcpLines(b), screen);
    QCOMPARE(lamps(b), lampsAfter);
    QCOMPARE(display(d).at(1), consoleLine2);
    QCOMPARE(display(d).at(3), consoleLine4);
    QCOMPARE(lastEvent(w->console()), logEvent);
    QCOMPARE(p->purse().text(), purseAfter);
    QCOMPARE(timer(w.get(), "tmrLock")->Enabled(), wasLocked || !consoleLine4.isEmpty());
}

void TestBcp::valueFloor_data()
{
    QTest::addColumn<QString>("fare");
    QTest::addColumn<QString>("purse");
    QTest::addColumn<QStringList>("screen");
    QTest::addColumn<QString>("lampsAfter");
    QTest::addColumn<QString>("purseAfter");
    QTest::newRow("empty purse, free ride")
        << "0"
        << "0.00" << QStringList{"剩餘值不足　　", "", ""} << "Ryg"
        << "0.00";
    QTest::newRow("down to the floor")
        << "40.00"
        << "5.00" << QStringList{"成人 $40.00　", "　剩餘值", "$-35.00 "} << "rYG"
        << "-35.00";
    QTest::newRow("a cent below the floor")
        << "40.10"
        << "5.00" << QStringList{"剩餘值不足　　", "", ""} << "Ryg"
        << "5.00";
}

void TestBcp::valueFloor()
{
    QFETCH(QString, fare);
    QFETCH(QString, purse);
    QFETCH(QStringList, screen);
    QFETCH(QString, lampsAfter);
    QFETCH(QString, purseAfter);
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    CardProcessor* p = w->processor();
    TestEnv::logIn(w.get());
    p->changeFare(fareLine(fare));
    TestEnv::advance(2000);
    p->setPurse(money(purse));
    TestEnv::read(w.get());
    QCOMPARE(bcpLines(b), screen);
    QCOMPARE(lamps(b), lampsAfter);
    QCOMPARE(p->purse().text(), purseAfter);
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
    CardProcessor* p = w->processor();
    TestEnv::logIn(w.get());
    TestEnv::advance(2000);
    p->setCardType(CardType(type));
    p->setLanguage(cardLanguage(language));
    p->setPurse(Money::dollars(10));
    TestEnv::read(w.get());
    QCOMPARE(bcpLines(w->bcp()), screen);
    QCOMPARE(p->purse(), Money::dollars(10));
}

void TestBcp::presentationTimeline()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    frmDDU* d = w->ddu();
    CardProcessor* p = w->processor();
    TestEnv::logIn(w.get());
    TestEnv::press(w.get(), QStringLiteral("↓")); // fare 3.50
    TestEnv::advance(2000 + 700);                 // mid-cycle
    p->setPurse(Money::dollars(10));
    TestEnv::present(w.get()); // 0 ms
    TestEnv::advance(999);
    QCOMPARE(p->purse(), Money::dollars(10));
    TestEnv::advance(1); // 1000 ms: read
    QCOMPARE(bcpLines(b).at(0), QStringLiteral("成人 $3.50　"));
    TestEnv::advance(1999);
    QCOMPARE(bcpLines(b).at(0), QStringLiteral("成人 $3.50　"));
    QCOMPARE(display(d).at(3), QStringLiteral("　成人　$3.50"));
    TestEnv::advance(1); // 3000 ms
    QCOMPARE(bcpLines(b), QStringList({"PRESENT", "YOUR CARD", "請使用卡"}));
    QCOMPARE(display(d).at(0), QStringLiteral("車費　　　3.50"));
    QCOMPARE(display(d).at(3), QString());
    TestEnv::advance(2000); // 5000 ms
    QCOMPARE(bcpLines(b), QStringList({"IN SERVICE", "歡迎使用服務", "$3.50"}));
    TestEnv::advance(2000);
    QCOMPARE(bcpLines(b).at(0), QStringLiteral("PRESENT"));
    // The card still resting on the reader is not read again.
    TestEnv::advance(30000);
    QCOMPARE(p->purse(), money("6.50"));
    // A new movement after the lock has expired reads it again.
    TestEnv::read(w.get());
    QCOMPARE(p->purse(), money("3.00"));
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
        TestEnv::withdraw(w.get());
        QVERIFY(card->isHidden());
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
    CardProcessor* p = w->processor();
    TestEnv::logIn(w.get());
    const QString log = w->console()->tripLog().text();
    p->present(x, y);
    TestEnv::advance(1000);
    if (read) {
        QCOMPARE(p->purse(), money("97.60"));
        return;
    }
    QCOMPARE(bcpLines(b), QStringList({"請再拍卡　  ", "", ""}));
    QCOMPARE(lamps(b), QStringLiteral("Ryg"));
    QCOMPARE(display(w->ddu()).at(1), QStringLiteral("　　不能讀取資料"));
    QCOMPARE(p->purse(), Money::dollars(100));
    QCOMPARE(w->console()->tripLog().text(), log);
    p->setLanguage(CardLanguage::English);
    p->present(x, y);
    TestEnv::advance(1000);
    QCOMPARE(bcpLines(b), QStringList({"PLEASE TRY", "AGAIN", ""}));
}

void TestBcp::withdrawnBeforeCheck()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    QWidget* card = widget(w.get(), "imgMCard");
    TestEnv::logIn(w.get());
    TestEnv::present(w.get());
    TestEnv::advance(500);
    // The dark background of the main window withdraws the card as well.
    TestEnv::moveTo(w->mdiArea()->viewport(), QPoint(600, 350));
    QVERIFY(card->isHidden());
    TestEnv::advance(5000);
    QCOMPARE(w->processor()->purse(), Money::dollars(100));
    QVERIFY(!timer(w.get(), "tmrCount")->Enabled());
    // Over the console's bare background too; over the lamps the card stays.
    TestEnv::present(w.get());
    TestEnv::moveTo(widget(w.get(), "picGreen"), QPoint(3, 3));
    QVERIFY(!card->isHidden());
    TestEnv::moveTo(w->ddu(), QPoint(5, 250));
    QVERIFY(card->isHidden());
}

void TestBcp::lockExpires()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    CardProcessor* p = w->processor();
    TestEnv::logIn(w.get());
    p->setLanguage(CardLanguage::English);
    TestEnv::read(w.get());
    QCOMPARE(p->purse(), money("97.60"));
    TestEnv::withdraw(w.get());
    TestEnv::advance(5000);
    TestEnv::read(w.get());
    QCOMPARE(bcpLines(w->bcp()), QStringList({"CARD", "PROCESSED", ""}));
    QCOMPARE(lastEvent(w->console()), QStringLiteral(" Card Processed"));
    TestEnv::withdraw(w.get());
    TestEnv::advance(9000); // 15 s after the payment
    QVERIFY(!p->locked());
    QVERIFY(!timer(w.get(), "tmrLock")->Enabled());
    TestEnv::read(w.get());
    QCOMPARE(p->purse(), money("95.20"));
}

void TestBcp::switchedOffReadsNothing()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    TestEnv::press(w.get(), QStringLiteral("開/關"));
    TestEnv::read(w.get());
    TestEnv::advance(5000);
    QVERIFY(!widget(w.get(), "imgMCard")->isHidden());
    QCOMPARE(w->processor()->purse(), Money::dollars(100));
    QVERIFY(!timer(w.get(), "tmrCount")->Enabled());
}

void TestBcp::powerOnClearsLock()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    TestEnv::read(w.get());
    QVERIFY(w->processor()->locked());
    TestEnv::press(w.get(), QStringLiteral("開/關"));
    TestEnv::logIn(w.get());
    TestEnv::read(w.get());
    QCOMPARE(w->processor()->purse(), money("95.20"));
}

void TestBcp::changeFareAndService()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    CardProcessor* p = w->processor();
    TestEnv::logIn(w.get());
    p->changeFare(fareLine(QStringLiteral("2.4")));
    QCOMPARE(lastEvent(w->console()), QStringLiteral(" Fare Changed 2.4"));
    QCOMPARE(bcpLines(b), QStringList({"OUT OF", "SERVICE", "暫停服務"}));
    QCOMPARE(lamps(b), QStringLiteral("RYG"));
    QCOMPARE(p->fare(), money("2.40"));
    QCOMPARE(p->halfFare(), std::optional(money("1.20")));
    TestEnv::advance(1999);
    QCOMPARE(bcpLines(b).at(0), QStringLiteral("OUT OF"));
    TestEnv::advance(1);
    QCOMPARE(bcpLines(b), QStringList({"IN SERVICE", "歡迎使用服務", "$2.40"}));

    p->stopService();
    QCOMPARE(p->screenState(), Screen::OutOfService);
    TestEnv::advance(6000);
    QCOMPARE(bcpLines(b), QStringList({"OUT OF", "SERVICE", "暫停服務"}));
    QCOMPARE(p->screenState(), Screen::OutOfService);
    // A card presented out of service brings the present-card screen back.
    TestEnv::read(w.get());
    QCOMPARE(p->screenState(), Screen::PresentCard);
    QCOMPARE(p->purse(), Money::dollars(100));
    p->resumeService();
    QCOMPARE(bcpLines(b), QStringList({"IN SERVICE", "歡迎使用服務", "$2.40"}));
    QCOMPARE(display(w->ddu()).at(1), QStringLiteral("路線　　　12"));
}

void TestBcp::pauseFreezesUntilPowerKey()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmBCP* b = w->bcp();
    CardProcessor* p = w->processor();
    TestEnv::logIn(w.get());
    p->pause();
    QCOMPARE(bcpLines(b), QStringList({"OUT OF", "SERVICE", "暫停服務"}));
    TestEnv::read(w.get());
    TestEnv::advance(10000);
    QVERIFY(!widget(w.get(), "imgMCard")->isHidden());
    QCOMPARE(bcpLines(b), QStringList({"OUT OF", "SERVICE", "暫停服務"}));
    QCOMPARE(p->purse(), Money::dollars(100));
    TestEnv::press(w.get(), QStringLiteral("開/關"));
    TestEnv::logIn(w.get());
    TestEnv::read(w.get());
    QCOMPARE(p->purse(), money("97.60"));
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
    CardProcessor* p = w->processor();
    TestEnv::logIn(w.get());
    p->setCardType(CardType::Student);
    p->setLanguage(CardLanguage::English);
    TestEnv::read(w.get());
    TestEnv::withdraw(w.get());
    TestEnv::advance(16000);
    TestEnv::read(w.get());
    QCOMPARE(bcpLines(w->bcp()).at(2), QStringLiteral("$95.20 "));
    if (closeBox)
        w->close();
    else
        TestEnv::action(w.get(), QStringLiteral("mnuExit"))->trigger();
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
    CardProcessor* p = w->processor();
    p->setLanguage(CardLanguage::English);
    QVERIFY(p->topUp()); // 200.00, kept as the dialog wrote it
    // The first route load, at the log-in, hands the fare over.
    TestEnv::powerOn(w.get());
    TestEnv::waitForPrompt(w.get());
    p->setCardType(CardType::Startup);
    TestEnv::present(w.get());
    TestEnv::advance(2000);
    // The second line names the file, the line and the text that is not a number.
    QCOMPARE(env.desktop().texts(QStringLiteral("fatal")),
             QStringList{QStringLiteral("計算錯誤，離開。\n%1 第 1 行的車資「abc」不是數字。")
                             .arg(env.file(QStringLiteral("routes.dat")))});
    QCOMPARE(env.desktop().count(QStringLiteral("endProgram")), 1);
    QCOMPARE(TestEnv::stored(Settings::PurseValue), QStringLiteral("200.00"));
    QCOMPARE(TestEnv::stored(Settings::CardType), QStringLiteral("4")); // the start-up card
    QCOMPARE(TestEnv::stored(Settings::Language), QStringLiteral("1"));
}

// Every change of the card is in the store at once, before any way of ending.
void TestBcp::savedAtOnce()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    CardProcessor* p = w->processor();
    TestEnv::logIn(w.get());
    TestEnv::read(w.get());
    QCOMPARE(TestEnv::stored(Settings::PurseValue), QStringLiteral("97.6"));
    QVERIFY(p->topUp());
    QCOMPARE(TestEnv::stored(Settings::PurseValue), QStringLiteral("197.60"));
    p->setCardType(CardType::Elderly);
    p->setLanguage(CardLanguage::English);
    QCOMPARE(TestEnv::stored(Settings::CardType), QStringLiteral("3"));
    QCOMPARE(TestEnv::stored(Settings::Language), QStringLiteral("1"));
}

// Charges that add up to the card's value leave exactly nothing on it: the card shows
// $0.00 with yellow and green, and the next read refuses it.
void TestBcp::cardEmptiedExactly()
{
    TestEnv env(QString::fromUtf8(TestEnv::readShipped(QStringLiteral("routes.dat"))));
    TestEnv::store(Settings::PurseValue, QStringLiteral("10"));
    auto w = env.start();
    frmBCP* b = w->bcp();
    TestEnv::logIn(w.get());
    auto readAndWait = [&] {
        TestEnv::read(w.get());
        const QStringList shown = bcpLines(b);
        TestEnv::withdraw(w.get());
        TestEnv::advance(15000); // the lock has gone
        return shown;
    };
    TestEnv::press(w.get(), QStringLiteral("路線 1 2 輸入 ↓ ↓")); // fare 3.10
    TestEnv::advance(2000);
    QCOMPARE(readAndWait().at(2), QStringLiteral("$6.90 "));
    QCOMPARE(readAndWait().at(2), QStringLiteral("$3.80 "));
    TestEnv::press(w.get(), QStringLiteral("路線 7 輸入")); // fare 3.80
    TestEnv::advance(2000);
    TestEnv::read(w.get());
    QCOMPARE(bcpLines(b).at(2), QStringLiteral("$0.00 "));
    QCOMPARE(lamps(b), QStringLiteral("rYG"));
    TestEnv::withdraw(w.get());
    TestEnv::advance(15000);
    TestEnv::read(w.get());
    QCOMPARE(bcpLines(b), QStringList({"剩餘值不足　　", "", ""}));
    QCOMPARE(lamps(b), QStringLiteral("Ryg"));
    w->close();
    QCOMPARE(TestEnv::stored(Settings::PurseValue), QStringLiteral("0"));
}

// Every fare of the shipped table, every card type, top-ups and fares that take the card
// exactly to the floor, in a long seeded walk; the card is compared with whole cents
// worked out here after every step.
void TestBcp::longWalkInExactCents()
{
    QStringList fares;
    for (const QString& line :
         QString::fromUtf8(TestEnv::readShipped(QStringLiteral("routes.dat"))).split(u'\n'))
        if (line.count(u'#') == 2)
            fares << line.section(u'#', 2).trimmed();
    QVERIFY(fares.size() > 20);
    // "6.5" and "6.50" are 650 cents.
    auto cents = [](const QString& fare) {
        const QStringList parts = fare.split(u'.');
        const QString decimals = (parts.value(1) + QStringLiteral("00")).left(2);
        return parts.at(0).toLongLong() * 100 + decimals.toLongLong();
    };
    auto half = [](qint64 fare) {
        qint64 h = fare / 2;
        if (fare % 2 && h % 2)
            ++h; // an odd cent's half goes to the even cent
        return h % 10 ? (h / 10 + 1) * 10 : h;
    };

    TestEnv env(kRoutes);
    auto w = env.start();
    CardProcessor* p = w->processor();
    TestEnv::logIn(w.get());
    QRandomGenerator random(20261207);
    qint64 purse = 10000;
    for (int step = 0; step < 1000; ++step) {
        const int what = random.bounded(10);
        if (what == 0) {
            const bool fits = purse + 10000 <= 99990;
            QCOMPARE(p->topUp(), fits);
            if (fits)
                purse += 10000;
        } else {
            const auto type = CardType(random.bounded(4));
            p->setCardType(type);
            // Now and then a fare that leaves the card exactly at the floor.
            const qint64 fare = what == 1 && purse > 0
                                    ? purse + 3500
                                    : cents(fares.at(random.bounded(fares.size())));
            p->changeFare(fareLine(Money::cents(fare).text()));
            TestEnv::read(w.get());
            TestEnv::withdraw(w.get());
            TestEnv::advance(15000);
            const qint64 charged =
                type == CardType::Child || type == CardType::Elderly ? half(fare) : fare;
            if (purse > 0 && purse - charged >= -3500)
                purse -= charged;
        }
        QCOMPARE(p->purse(), Money::cents(purse));
    }
}

QTEST_MAIN(TestBcp)
#include "tst_bcp.moc"
