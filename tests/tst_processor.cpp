// The card processor's rules and timelines on the model rig: the card it keeps, its boot,
// the log-in, the reads and the lock, the fare and the service, what the store keeps.
#include "bcp/CardProcessor.h"
#include "common/Timer.h"
#include "ddu/Console.h"
#include "platform/Settings.h"
#include "routes/RouteLine.h"
#include "support/FakeDesktop.h"
#include "support/ModelRig.h"
#include "support/Readout.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Readout;

namespace {

// A route line that gives only its fare, as the console hands it over.
RouteLine fareLine(const QString& text)
{
    RouteLine line;
    line.fare = Money::parse(text);
    line.fareText = text;
    return line;
}

const QString kRoutes = QStringLiteral("12#北門#2.40\r\n12#北門#3.50\r\n12#南碼頭#40.00\r\n"
                                       "12#南碼頭#40.10\r\n");

using Screen = CardProcessor::ScreenState;
using Step = CardProcessor::BootStep;

// Amounts in the rows are written as the display writes them.
Money money(const QString& text)
{
    return Money::parse(text).value();
}

Timer* timer(const ModelRig& rig, const char* name)
{
    return ModelRig::timer(&rig.processor(), QLatin1String(name));
}

} // namespace

class TestProcessor : public QObject {
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
    void readableCorner_data();
    void readableCorner();
    void withdrawnBeforeCheck();
    void lockExpires();
    void switchedOffReadsNothing();
    void powerOnClearsLock();
    void changeFareAndService();
    void pauseFreezesUntilPowerKey();
    void savedOnExit();
    void fareNotANumberEndsProgram();
    void savedAtOnce();
    void cardEmptiedExactly();
    void longWalkInExactCents();
};

void TestProcessor::storedCardValues_data()
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

void TestProcessor::storedCardValues()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, purse);
    QFETCH(int, type);
    QFETCH(int, language);
    ModelRig rig(kRoutes);
    if (!key.isEmpty())
        ModelRig::store(key, stored);
    rig.start();
    QCOMPARE(rig.processor().purse().text(), purse);
    QCOMPARE(int(rig.processor().cardType()), type);
    QCOMPARE(int(rig.processor().language()), language);
}

void TestProcessor::displayTickIgnoredWhileNoResponse()
{
    ModelRig rig(kRoutes);
    rig.start();
    rig.logIn();
    CardProcessor& p = rig.processor();
    rig.console().output(); // freezes the processor
    QVERIFY(!p.responding());
    const QStringList before = rig.bcpLines();
    const QString lampsBefore = rig.lamps();
    const Screen state = p.screenState();
    for (int i = 0; i < 5; ++i)
        emit timer(rig, "tmrChange")->tick();
    ModelRig::advance(10000);
    QCOMPARE(rig.bcpLines(), before);
    QCOMPARE(rig.lamps(), lampsBefore);
    QCOMPARE(p.screenState(), state);
}

void TestProcessor::bootTimeline()
{
    ModelRig rig(kRoutes);
    rig.start();
    QVERIFY(!rig.processor().switchedOn());
    QCOMPARE(timer(rig, "tmrLoadLong")->Interval(), 20000);
    rig.powerOn();
    QCOMPARE(rig.display().at(1), QStringLiteral("　　　PLEASE WAIT"));

    ModelRig::advance(1000);
    QVERIFY(rig.processor().coverShown());
    QCOMPARE(rig.lamps(), QStringLiteral("ryg"));
    ModelRig::advance(1000);
    QCOMPARE(rig.lamps(), QStringLiteral("ryG"));
    ModelRig::advance(1000);
    QCOMPARE(rig.lamps(), QStringLiteral("rYG"));
    ModelRig::advance(1000);
    QCOMPARE(rig.lamps(), QStringLiteral("RYG"));
    ModelRig::advance(1999);
    QCOMPARE(rig.lamps(), QStringLiteral("RYG"));
    ModelRig::advance(1); // 6 s
    QCOMPARE(rig.lamps(), QStringLiteral("ryg"));
    QVERIFY(!rig.processor().coverShown());
    QVERIFY(!rig.processor().addressScreenShown());
    ModelRig::advance(1000); // 7 s
    QVERIFY(rig.processor().addressScreenShown());
    QCOMPARE(rig.processor().consoleAddress(), QStringLiteral("DDU Address: Getting..."));
    ModelRig::advance(19999);
    QCOMPARE(rig.processor().consoleAddress(), QStringLiteral("DDU Address: Getting..."));
    ModelRig::advance(1); // 27 s
    QCOMPARE(rig.processor().consoleAddress(), QStringLiteral("DDU Address: 127.0.0.1"));
    QVERIFY(rig.processor().addressScreenShown());
    ModelRig::advance(1000); // 28 s
    QVERIFY(!rig.processor().addressScreenShown());
    QCOMPARE(rig.bcpLines(), QStringList({"", "", ""}));
    ModelRig::advance(1000); // 29 s
    QCOMPARE(rig.bcpLines(), QStringList({"PRESENT YOUR", "CARD TO LOGIN", "請使用卡登入"}));
    QCOMPARE(rig.display(), QStringList({" ", "　　請使用卡登入", "", ""}));
    QCOMPARE(rig.processor().bootStep(), Step::Prompt);
    QVERIFY(!timer(rig, "tmrStart")->Enabled());
}

void TestProcessor::bootWaitFollowsLoadtime()
{
    ModelRig rig(kRoutes);
    ModelRig::store(Settings::Loadtime, QStringLiteral("5000"));
    rig.start();
    QCOMPARE(timer(rig, "tmrLoadLong")->Interval(), 5000);
    rig.powerOn();
    ModelRig::advance(7000);
    QVERIFY(rig.processor().addressScreenShown());
    ModelRig::advance(4999);
    QCOMPARE(rig.processor().consoleAddress(), QStringLiteral("DDU Address: Getting..."));
    ModelRig::advance(1);
    QCOMPARE(rig.processor().consoleAddress(), QStringLiteral("DDU Address: 127.0.0.1"));
    ModelRig::advance(1000);
    QVERIFY(!rig.processor().addressScreenShown());
}

void TestProcessor::switchingOffAbandonsBoot()
{
    ModelRig rig(kRoutes);
    rig.start();
    rig.powerOn();
    ModelRig::advance(8000); // address screen
    rig.press(QStringLiteral("開/關"));
    for (const char* name : {"tmrStart", "tmrLoadLong", "tmrCount", "tmrLock", "tmrChange"})
        QVERIFY2(!timer(rig, name)->Enabled(), name);
    QVERIFY(!rig.processor().switchedOn());
    QCOMPARE(rig.lamps(), QStringLiteral("ryg"));
    ModelRig::advance(60000);
    QVERIFY(!rig.processor().switchedOn());
    // Switching on starts from the beginning: the cover a second later, then the lamps.
    rig.powerOn();
    QCOMPARE(rig.processor().bootStep(), Step::ShowCover);
    QCOMPARE(rig.processor().consoleAddress(), QStringLiteral("DDU Address: Getting..."));
    QVERIFY(!rig.processor().addressScreenShown());
    ModelRig::advance(1000);
    QVERIFY(rig.processor().coverShown());
    ModelRig::advance(1000);
    QCOMPARE(rig.lamps(), QStringLiteral("ryG"));
}

void TestProcessor::wrongCardAtPrompt_data()
{
    QTest::addColumn<int>("type");
    for (int t = 0; t <= 3; ++t)
        QTest::newRow(qPrintable(QStringLiteral("type %1").arg(t))) << t;
}

void TestProcessor::wrongCardAtPrompt()
{
    QFETCH(int, type);
    ModelRig rig(kRoutes);
    rig.start();
    rig.powerOn();
    rig.waitForPrompt();
    rig.processor().setCardType(CardType(type));
    rig.present();
    ModelRig::advance(999);
    QCOMPARE(rig.bcpLines(), QStringList({"PRESENT YOUR", "CARD TO LOGIN", "請使用卡登入"}));
    ModelRig::advance(1);
    QCOMPARE(rig.bcpLines(), QStringList({"此卡無效　　", "", ""}));
    QCOMPARE(rig.lamps(), QStringLiteral("Ryg"));
    ModelRig::advance(1000);
    QCOMPARE(rig.bcpLines(), QStringList({"PRESENT YOUR", "CARD TO LOGIN", "請使用卡登入"}));
    QCOMPARE(rig.lamps(), QStringLiteral("ryg"));
    QVERIFY(!timer(rig, "tmrChange")->Enabled());
    QCOMPARE(timer(rig, "tmrChange")->Interval(), 2000);
    QCOMPARE(rig.processor().bootStep(), Step::Prompt);
    QVERIFY(!rig.processor().loggedIn());
}

void TestProcessor::movementsPostponeLogin()
{
    ModelRig rig(kRoutes);
    rig.start();
    CardProcessor& p = rig.processor();
    rig.powerOn();
    rig.waitForPrompt();
    p.setCardType(CardType::Startup);
    for (int i = 0; i < 5; ++i) {
        rig.present(600 + 15 * i, 600);
        ModelRig::advance(700);
    }
    QCOMPARE(p.bootStep(), Step::Prompt);
    ModelRig::advance(299);
    QCOMPARE(p.bootStep(), Step::Prompt);
    ModelRig::advance(1);
    QCOMPARE(p.bootStep(), Step::CompleteLogin);
}

void TestProcessor::startupCardIgnoredBeforePrompt()
{
    ModelRig rig(kRoutes);
    rig.start();
    CardProcessor& p = rig.processor();
    p.setCardType(CardType::Startup);
    rig.powerOn();
    for (int s = 0; s < 27; ++s) {
        rig.present(600 + s, 600);
        QVERIFY(rig.processor().cardShown());
        ModelRig::advance(1000);
    }
    QCOMPARE(timer(rig, "tmrChange")->Enabled(), false);
    rig.waitForPrompt();
    p.pause(); // no response to any card until the power is switched
    rig.present(700, 700);
    ModelRig::advance(3000);
    QCOMPARE(p.bootStep(), Step::Prompt);
    QVERIFY(!p.loggedIn());
}

void TestProcessor::loginCompletes()
{
    ModelRig rig(kRoutes);
    rig.start();
    CardProcessor& p = rig.processor();
    Console& c = rig.console();
    rig.powerOn();
    rig.waitForPrompt();
    QVERIFY(!c.keyEnabled(ModelRig::keyFor(QStringLiteral("路線"))));
    p.setCardType(CardType::Startup);
    rig.present();
    ModelRig::advance(1000);
    QCOMPARE(p.bootStep(), Step::CompleteLogin);
    QVERIFY(!p.loggedIn());
    ModelRig::advance(1000);
    QVERIFY(p.loggedIn());
    for (const char* k : {"imgFinish", "imgRoute", "imgOutput", "imgDir", "imgEnt", "imgCancel"})
        QVERIFY2(c.keyEnabled(ModelRig::keyFor(QLatin1String(k))), k);
    // An empty last route loads the first line.
    QCOMPARE(c.routes().current(), std::optional<qsizetype>(0));
    QCOMPARE(p.fare(), money("2.40"));
    QVERIFY(timer(rig, "tmrCount")->Enabled());
    // The start-up card still on the reader is read in service and refused.
    ModelRig::advance(1000);
    QCOMPARE(rig.bcpLines(), QStringList({"剩餘值不足　　", "", ""}));
    QCOMPARE(lastEvent(&c), QStringLiteral(" Not enough value"));
}

void TestProcessor::read_data()
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

void TestProcessor::read()
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

    ModelRig rig(kRoutes);
    rig.start();
    CardProcessor& p = rig.processor();
    rig.logIn();
    rig.press(QStringLiteral("↓")); // fare 3.50
    ModelRig::advance(2000);
    QCOMPARE(rig.bcpLines().at(2), QStringLiteral("$3.50"));
    if (locked) {
        // A payment a moment ago: the lock stands for 15 s.
        rig.read();
        rig.withdraw();
        ModelRig::advance(3000);
        QVERIFY(p.locked());
    }
    p.setCardType(CardType(type));
    p.setLanguage(cardLanguage(language));
    p.setPurse(money(purse));
    const bool wasLocked = timer(rig, "tmrLock")->Enabled();
    rig.read();
    QCOMPARE(rig.bcpLines(), screen);
    QCOMPARE(rig.lamps(), lampsAfter);
    QCOMPARE(rig.display().at(1), consoleLine2);
    QCOMPARE(rig.display().at(3), consoleLine4);
    QCOMPARE(lastEvent(&rig.console()), logEvent);
    QCOMPARE(p.purse().text(), purseAfter);
    QCOMPARE(timer(rig, "tmrLock")->Enabled(), wasLocked || !consoleLine4.isEmpty());
}

void TestProcessor::valueFloor_data()
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

void TestProcessor::valueFloor()
{
    QFETCH(QString, fare);
    QFETCH(QString, purse);
    QFETCH(QStringList, screen);
    QFETCH(QString, lampsAfter);
    QFETCH(QString, purseAfter);
    ModelRig rig(kRoutes);
    rig.start();
    CardProcessor& p = rig.processor();
    rig.logIn();
    p.changeFare(fareLine(fare));
    ModelRig::advance(2000);
    p.setPurse(money(purse));
    rig.read();
    QCOMPARE(rig.bcpLines(), screen);
    QCOMPARE(rig.lamps(), lampsAfter);
    QCOMPARE(p.purse().text(), purseAfter);
}

// With no route line to give a fare, the first log-in leaves the fares unset: a half-fare
// card then pays nothing and shows $0.00, and the purse keeps its value.
void TestProcessor::halfFareBeforeAnyFare_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("screen");
    QTest::newRow("child zh") << 1 << 0 << QStringList{"小童 $0.00　", "　剩餘值", "$10.00 "};
    QTest::newRow("elderly en") << 3 << 1
                                << QStringList{"ELDERY　$0.00", " PURSE VALUE ", "$10.00 "};
}

void TestProcessor::halfFareBeforeAnyFare()
{
    QFETCH(int, type);
    QFETCH(int, language);
    QFETCH(QStringList, screen);
    ModelRig rig(QStringLiteral(""));
    rig.start();
    CardProcessor& p = rig.processor();
    rig.logIn();
    ModelRig::advance(2000);
    p.setCardType(CardType(type));
    p.setLanguage(cardLanguage(language));
    p.setPurse(Money::dollars(10));
    rig.read();
    QCOMPARE(rig.bcpLines(), screen);
    QCOMPARE(p.purse(), Money::dollars(10));
}

void TestProcessor::presentationTimeline()
{
    ModelRig rig(kRoutes);
    rig.start();
    CardProcessor& p = rig.processor();
    rig.logIn();
    rig.press(QStringLiteral("↓")); // fare 3.50
    ModelRig::advance(2000 + 700);  // mid-cycle
    p.setPurse(Money::dollars(10));
    rig.present(); // 0 ms
    ModelRig::advance(999);
    QCOMPARE(p.purse(), Money::dollars(10));
    ModelRig::advance(1); // 1000 ms: read
    QCOMPARE(rig.bcpLines().at(0), QStringLiteral("成人 $3.50　"));
    ModelRig::advance(1999);
    QCOMPARE(rig.bcpLines().at(0), QStringLiteral("成人 $3.50　"));
    QCOMPARE(rig.display().at(3), QStringLiteral("　成人　$3.50"));
    ModelRig::advance(1); // 3000 ms
    QCOMPARE(rig.bcpLines(), QStringList({"PRESENT", "YOUR CARD", "請使用卡"}));
    QCOMPARE(rig.display().at(0), QStringLiteral("車費　　　3.50"));
    QCOMPARE(rig.display().at(3), QString());
    ModelRig::advance(2000); // 5000 ms
    QCOMPARE(rig.bcpLines(), QStringList({"IN SERVICE", "歡迎使用服務", "$3.50"}));
    ModelRig::advance(2000);
    QCOMPARE(rig.bcpLines().at(0), QStringLiteral("PRESENT"));
    // The card still resting on the reader is not read again.
    ModelRig::advance(30000);
    QCOMPARE(p.purse(), money("6.50"));
    // A new movement after the lock has expired reads it again.
    rig.read();
    QCOMPARE(p.purse(), money("3.00"));
}

void TestProcessor::readableCorner_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<bool>("read");
    QTest::newRow("inside") << 2549.9 << 1499.9 << true;
    QTest::newRow("x on the edge") << 2550.0 << 100.0 << false;
    QTest::newRow("y on the edge") << 100.0 << 1500.0 << false;
    QTest::newRow("far corner") << 3000.0 << 1900.0 << false;
}

void TestProcessor::readableCorner()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(bool, read);
    ModelRig rig(kRoutes);
    rig.start();
    CardProcessor& p = rig.processor();
    rig.logIn();
    const QString log = rig.console().tripLog().text();
    p.present(x, y);
    ModelRig::advance(1000);
    if (read) {
        QCOMPARE(p.purse(), money("97.60"));
        return;
    }
    QCOMPARE(rig.bcpLines(), QStringList({"請再拍卡　  ", "", ""}));
    QCOMPARE(rig.lamps(), QStringLiteral("Ryg"));
    QCOMPARE(rig.display().at(1), QStringLiteral("　　不能讀取資料"));
    QCOMPARE(p.purse(), Money::dollars(100));
    QCOMPARE(rig.console().tripLog().text(), log);
    p.setLanguage(CardLanguage::English);
    p.present(x, y);
    ModelRig::advance(1000);
    QCOMPARE(rig.bcpLines(), QStringList({"PLEASE TRY", "AGAIN", ""}));
}

// Taken away before the check a second after presenting: nothing is read.
void TestProcessor::withdrawnBeforeCheck()
{
    ModelRig rig(kRoutes);
    rig.start();
    rig.logIn();
    rig.present();
    ModelRig::advance(500);
    rig.withdraw();
    QVERIFY(!rig.processor().cardShown());
    ModelRig::advance(5000);
    QCOMPARE(rig.processor().purse(), Money::dollars(100));
    QVERIFY(!timer(rig, "tmrCount")->Enabled());
}

void TestProcessor::lockExpires()
{
    ModelRig rig(kRoutes);
    rig.start();
    CardProcessor& p = rig.processor();
    rig.logIn();
    p.setLanguage(CardLanguage::English);
    rig.read();
    QCOMPARE(p.purse(), money("97.60"));
    rig.withdraw();
    ModelRig::advance(5000);
    rig.read();
    QCOMPARE(rig.bcpLines(), QStringList({"CARD", "PROCESSED", ""}));
    QCOMPARE(lastEvent(&rig.console()), QStringLiteral(" Card Processed"));
    rig.withdraw();
    ModelRig::advance(9000); // 15 s after the payment
    QVERIFY(!p.locked());
    QVERIFY(!timer(rig, "tmrLock")->Enabled());
    rig.read();
    QCOMPARE(p.purse(), money("95.20"));
}

void TestProcessor::switchedOffReadsNothing()
{
    ModelRig rig(kRoutes);
    rig.start();
    rig.logIn();
    rig.press(QStringLiteral("開/關"));
    rig.read();
    ModelRig::advance(5000);
    QVERIFY(rig.processor().cardShown());
    QCOMPARE(rig.processor().purse(), Money::dollars(100));
    QVERIFY(!timer(rig, "tmrCount")->Enabled());
}

void TestProcessor::powerOnClearsLock()
{
    ModelRig rig(kRoutes);
    rig.start();
    rig.logIn();
    rig.read();
    QVERIFY(rig.processor().locked());
    rig.press(QStringLiteral("開/關"));
    rig.logIn();
    rig.read();
    QCOMPARE(rig.processor().purse(), money("95.20"));
}

void TestProcessor::changeFareAndService()
{
    ModelRig rig(kRoutes);
    rig.start();
    CardProcessor& p = rig.processor();
    rig.logIn();
    p.changeFare(fareLine(QStringLiteral("2.4")));
    QCOMPARE(lastEvent(&rig.console()), QStringLiteral(" Fare Changed 2.4"));
    QCOMPARE(rig.bcpLines(), QStringList({"OUT OF", "SERVICE", "暫停服務"}));
    QCOMPARE(rig.lamps(), QStringLiteral("RYG"));
    QCOMPARE(p.fare(), money("2.40"));
    QCOMPARE(p.halfFare(), std::optional(money("1.20")));
    ModelRig::advance(1999);
    QCOMPARE(rig.bcpLines().at(0), QStringLiteral("OUT OF"));
    ModelRig::advance(1);
    QCOMPARE(rig.bcpLines(), QStringList({"IN SERVICE", "歡迎使用服務", "$2.40"}));

    p.stopService();
    QCOMPARE(p.screenState(), Screen::OutOfService);
    ModelRig::advance(6000);
    QCOMPARE(rig.bcpLines(), QStringList({"OUT OF", "SERVICE", "暫停服務"}));
    QCOMPARE(p.screenState(), Screen::OutOfService);
    // A card presented out of service brings the present-card screen back.
    rig.read();
    QCOMPARE(p.screenState(), Screen::PresentCard);
    QCOMPARE(p.purse(), Money::dollars(100));
    p.resumeService();
    QCOMPARE(rig.bcpLines(), QStringList({"IN SERVICE", "歡迎使用服務", "$2.40"}));
    QCOMPARE(rig.display().at(1), QStringLiteral("路線　　　12"));
}

void TestProcessor::pauseFreezesUntilPowerKey()
{
    ModelRig rig(kRoutes);
    rig.start();
    CardProcessor& p = rig.processor();
    rig.logIn();
    p.pause();
    QCOMPARE(rig.bcpLines(), QStringList({"OUT OF", "SERVICE", "暫停服務"}));
    rig.read();
    ModelRig::advance(10000);
    QVERIFY(rig.processor().cardShown());
    QCOMPARE(rig.bcpLines(), QStringList({"OUT OF", "SERVICE", "暫停服務"}));
    QCOMPARE(p.purse(), Money::dollars(100));
    rig.press(QStringLiteral("開/關"));
    rig.logIn();
    rig.read();
    QCOMPARE(p.purse(), money("97.60"));
}

void TestProcessor::savedOnExit()
{
    ModelRig rig(kRoutes);
    rig.start();
    CardProcessor& p = rig.processor();
    rig.logIn();
    p.setCardType(CardType::Student);
    p.setLanguage(CardLanguage::English);
    rig.read();
    rig.withdraw();
    ModelRig::advance(16000);
    rig.read();
    QCOMPARE(rig.bcpLines().at(2), QStringLiteral("$95.20 "));
    rig.restart(); // the program ended and started again
    QCOMPARE(ModelRig::stored(Settings::PurseValue), QStringLiteral("95.2"));
    QCOMPARE(ModelRig::stored(Settings::CardType), QStringLiteral("2"));
    QCOMPARE(ModelRig::stored(Settings::Language), QStringLiteral("1"));
}

void TestProcessor::fareNotANumberEndsProgram()
{
    ModelRig rig(QStringLiteral("12#北門#abc\r\n"));
    rig.start();
    CardProcessor& p = rig.processor();
    p.setLanguage(CardLanguage::English);
    QVERIFY(p.topUp()); // 200.00, kept as the dialog wrote it
    // The first route load, at the log-in, hands the fare over.
    rig.powerOn();
    rig.waitForPrompt();
    p.setCardType(CardType::Startup);
    rig.present();
    ModelRig::advance(2000);
    // The second line names the file, the line and the text that is not a number.
    QCOMPARE(rig.desktop().texts(QStringLiteral("fatal")),
             QStringList{QStringLiteral("計算錯誤，離開。\n%1 第 1 行的車資「abc」不是數字。")
                             .arg(rig.file(QStringLiteral("routes.dat")))});
    QCOMPARE(rig.desktop().count(QStringLiteral("endProgram")), 1);
    QCOMPARE(ModelRig::stored(Settings::PurseValue), QStringLiteral("200.00"));
    QCOMPARE(ModelRig::stored(Settings::CardType), QStringLiteral("4")); // the start-up card
    QCOMPARE(ModelRig::stored(Settings::Language), QStringLiteral("1"));
}

// Every change of the card is in the store at once, before any way of ending.
void TestProcessor::savedAtOnce()
{
    ModelRig rig(kRoutes);
    rig.start();
    CardProcessor& p = rig.processor();
    rig.logIn();
    rig.read();
    QCOMPARE(ModelRig::stored(Settings::PurseValue), QStringLiteral("97.6"));
    QVERIFY(p.topUp());
    QCOMPARE(ModelRig::stored(Settings::PurseValue), QStringLiteral("197.60"));
    p.setCardType(CardType::Elderly);
    p.setLanguage(CardLanguage::English);
    QCOMPARE(ModelRig::stored(Settings::CardType), QStringLiteral("3"));
    QCOMPARE(ModelRig::stored(Settings::Language), QStringLiteral("1"));
}

// Charges that add up to the card's value leave exactly nothing on it: the card shows
// $0.00 with yellow and green, and the next read refuses it.
void TestProcessor::cardEmptiedExactly()
{
    ModelRig rig(QString::fromUtf8(ModelRig::readShipped(QStringLiteral("routes.dat"))));
    ModelRig::store(Settings::PurseValue, QStringLiteral("10"));
    rig.start();
    rig.logIn();
    auto readAndWait = [&] {
        rig.read();
        const QStringList shown = rig.bcpLines();
        rig.withdraw();
        ModelRig::advance(15000); // the lock has gone
        return shown;
    };
    rig.press(QStringLiteral("路線 1 2 輸入 ↓ ↓")); // fare 3.10
    ModelRig::advance(2000);
    QCOMPARE(readAndWait().at(2), QStringLiteral("$6.90 "));
    QCOMPARE(readAndWait().at(2), QStringLiteral("$3.80 "));
    rig.press(QStringLiteral("路線 7 輸入")); // fare 3.80
    ModelRig::advance(2000);
    rig.read();
    QCOMPARE(rig.bcpLines().at(2), QStringLiteral("$0.00 "));
    QCOMPARE(rig.lamps(), QStringLiteral("rYG"));
    rig.withdraw();
    ModelRig::advance(15000);
    rig.read();
    QCOMPARE(rig.bcpLines(), QStringList({"剩餘值不足　　", "", ""}));
    QCOMPARE(rig.lamps(), QStringLiteral("Ryg"));
    rig.restart(); // the program ended and started again
    QCOMPARE(ModelRig::stored(Settings::PurseValue), QStringLiteral("0"));
}

// Every fare of the shipped table, every card type, top-ups and fares that take the card
// exactly to the floor, in a long seeded walk; the card is compared with whole cents
// worked out here after every step.
void TestProcessor::longWalkInExactCents()
{
    QStringList fares;
    for (const QString& line :
         QString::fromUtf8(ModelRig::readShipped(QStringLiteral("routes.dat"))).split(u'\n'))
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

    ModelRig rig(kRoutes);
    rig.start();
    CardProcessor& p = rig.processor();
    rig.logIn();
    QRandomGenerator random(20261207);
    qint64 purse = 10000;
    for (int step = 0; step < 1000; ++step) {
        const int what = random.bounded(10);
        if (what == 0) {
            const bool fits = purse + 10000 <= 99990;
            QCOMPARE(p.topUp(), fits);
            if (fits)
                purse += 10000;
        } else {
            const auto type = CardType(random.bounded(4));
            p.setCardType(type);
            // Now and then a fare that leaves the card exactly at the floor.
            const qint64 fare = what == 1 && purse > 0
                                    ? purse + 3500
                                    : cents(fares.at(random.bounded(fares.size())));
            p.changeFare(fareLine(Money::cents(fare).text()));
            rig.read();
            rig.withdraw();
            ModelRig::advance(15000);
            const qint64 charged =
                type == CardType::Child || type == CardType::Elderly ? half(fare) : fare;
            if (purse > 0 && purse - charged >= -3500)
                purse -= charged;
        }
        QCOMPARE(p.purse(), Money::cents(purse));
    }
}

QTEST_GUILESS_MAIN(TestProcessor)
#include "tst_processor.moc"
