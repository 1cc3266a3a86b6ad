#include "bcp/CardProcessor.h"
#include "ddu/Console.h"
#include "panels/KeyRegion.h"
#include "panels/frmBCP.h"
#include "panels/frmDDU.h"
#include "platform/Desktop.h"
#include "platform/Settings.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"
#include "support/Readout.h"
#include "support/TestEnv.h"

#include <QLabel>
#include <QTest>

using namespace Readout;
using Mode = Console::KeypadMode;

namespace {

const QString kRoutes = TestEnv::ExampleRoutes;

const QString kNotFound = QStringLiteral("　　沒有此路線資料！");
const QStringList kRoute12 = {"車費　　　5.40", "路線　　　12", "往　北門", ""};
const QStringList kWaitScreen = {"正在擷取路線資料...", "請稍候...", "", ""};
const QStringList kOutOfService = {"OUT OF", "SERVICE", "暫停服務"};

QStringList prompt(const QString& line2)
{
    return {QString(), line2, QString(), QString()};
}

QString shiftLabel(const frmMDI* w)
{
    return TestEnv::find<QLabel>(w->ddu(), QStringLiteral("lblShift"))->text();
}

// Everything the keypad may change, to show that a key changed none of it.
struct KeypadState {
    QStringList lines;
    Mode mode;
    bool shift;
    QString shiftShown;
    QString typed;
    QString tag;
    QString log;
    CardProcessor::ScreenState screenState;
    bool operator==(const KeypadState&) const = default;
};

KeypadState keypadState(const frmMDI* w)
{
    const Console* c = w->console();
    return {display(w->ddu()), c->mode(),      c->shiftOn(),        shiftLabel(w),
            c->typedRoute(),   currentLine(c), c->tripLog().text(), w->processor()->screenState()};
}

} // namespace

class TestKeys : public QObject {
    Q_OBJECT
private slots:
    void typing_data();
    void typing();
    void typingReplacesNotFoundMessage_data();
    void typingReplacesNotFoundMessage();
    void enterOnNotFoundMessageDoesNothing();
    void enterWithNothingTyped();
    void eachLetter_data();
    void eachLetter();
    void nothingTypedOutsideRouteEntry_data();
    void nothingTypedOutsideRouteEntry();
    void modeKeys_data();
    void modeKeys();
    void enterKey_data();
    void enterKey();
    void outputConfirmed();
    void terminusOnSingleDirection();
    void modeStartsIdle();
    void shiftEndsWithRouteEntry_data();
    void shiftEndsWithRouteEntry();
};

void TestKeys::typing_data()
{
    QTest::addColumn<QString>("keys"); // after 路線
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shiftShown");
    QTest::newRow("SHIFT for one character") << "1 SHIFT 2 3"
                                             << "1B3"
                                             << "";
    QTest::newRow("SHIFT twice types nothing") << "SHIFT SHIFT"
                                               << ""
                                               << "";
    QTest::newRow("SHIFT twice, then a digit") << "SHIFT SHIFT 5"
                                               << "5"
                                               << "";
    QTest::newRow("SHIFT shown until used") << "7 SHIFT"
                                            << "7"
                                            << "SH";
    QTest::newRow("SHIFT before each letter") << "SHIFT 1 SHIFT 1"
                                              << "AA"
                                              << "";
    QTest::newRow("取消 types Y") << "SHIFT 取消"
                                  << "Y"
                                  << "";
    QTest::newRow("路線 types U") << "SHIFT 路線"
                                  << "U"
                                  << "";
    QTest::newRow("輸出 types R") << "SHIFT 輸出"
                                  << "R"
                                  << "";
    QTest::newRow("a letter route") << "2 SHIFT 方向"
                                    << "2X"
                                    << "";
    QTest::newRow("space after a digit") << "1 空格"
                                         << "1 "
                                         << "";
    QTest::newRow("space first") << "空格 1"
                                 << " 1"
                                 << "";
    QTest::newRow("space with SHIFT") << "SHIFT 空格"
                                      << "S"
                                      << "";
    QTest::newRow("letter-only key without SHIFT") << "1 F1 錢箱 2"
                                                   << "12"
                                                   << "";
    QTest::newRow("zero") << "1 0 SHIFT 0"
                          << "10T"
                          << "";
}

void TestKeys::typing()
{
    QFETCH(QString, keys);
    QFETCH(QString, typed);
    QFETCH(QString, shiftShown);
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    Console* c = w->console();
    TestEnv::press(w.get(), QStringLiteral("路線 ") + keys);
    QCOMPARE(display(w->ddu()).at(2), typed);
    QCOMPARE(c->typedRoute(), typed);
    QCOMPARE(shiftLabel(w.get()), shiftShown);
    QCOMPARE(c->shiftOn(), !shiftShown.isEmpty());
    QCOMPARE(display(w->ddu()).at(1), QStringLiteral("　　路線號？"));
    QCOMPARE(c->mode(), Mode::RouteEntry);
    QCOMPARE(w->processor()->screenState(), CardProcessor::ScreenState::OutOfService);
}

void TestKeys::typingReplacesNotFoundMessage_data()
{
    QTest::addColumn<QString>("keys"); // after the failed search
    QTest::addColumn<QString>("typed");
    QTest::newRow("digit") << "1"
                           << "1";
    QTest::newRow("letter") << "SHIFT 1"
                            << "A";
    QTest::newRow("space") << "空格"
                           << " ";
    QTest::newRow("SHIFT alone keeps the message") << "SHIFT" << kNotFound;
    QTest::newRow("a route found after all") << "1 2 輸入"
                                             << "";
}

void TestKeys::typingReplacesNotFoundMessage()
{
    QFETCH(QString, keys);
    QFETCH(QString, typed);
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    frmDDU* d = w->ddu();
    TestEnv::press(w.get(), QStringLiteral("路線 9 9 輸入"));
    QCOMPARE(display(d).at(2), kNotFound);
    QCOMPARE(w->console()->mode(), Mode::RouteEntry);
    TestEnv::press(w.get(), keys);
    QCOMPARE(display(d).at(2), typed);
}

void TestKeys::enterOnNotFoundMessageDoesNothing()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    TestEnv::press(w.get(), QStringLiteral("路線 9 9 輸入"));
    QCOMPARE(TestEnv::stored(Settings::Lastroute), QStringLiteral("99"));
    const KeypadState before = keypadState(w.get());
    TestEnv::press(w.get(), QStringLiteral("輸入 輸入"));
    QVERIFY(keypadState(w.get()) == before);
    QCOMPARE(TestEnv::stored(Settings::Lastroute), QStringLiteral("99"));
}

void TestKeys::enterWithNothingTyped()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    Console* c = w->console();
    TestEnv::press(w.get(), QStringLiteral("路線 2 SHIFT 方向 輸入"));
    QCOMPARE(TestEnv::stored(Settings::Lastroute), QStringLiteral("2X"));
    const QString log = c->tripLog().text();
    TestEnv::press(w.get(), QStringLiteral("路線 輸入"));
    QCOMPARE(TestEnv::stored(Settings::Lastroute), QString());
    QCOMPARE(display(w->ddu()), QStringList({"", "　　路線號？", kNotFound, ""}));
    QCOMPARE(c->mode(), Mode::RouteEntry);
    QCOMPARE(c->tripLog().text(), log);
    // The empty last route makes the next log-in load the first line again.
    TestEnv::press(w.get(), QStringLiteral("開/關"));
    TestEnv::logIn(w.get());
    QCOMPARE(currentLine(c), QStringLiteral("0"));
    QCOMPARE(c->routes().route(), QStringLiteral("12"));
}

void TestKeys::eachLetter_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("plain"); // typed without SHIFT; null for the mode keys
    const QString none = QStringLiteral("");
    QTest::newRow("A") << "imgNo_1"
                       << "1";
    QTest::newRow("B") << "imgNo_2"
                       << "2";
    QTest::newRow("C") << "imgNo_3"
                       << "3";
    QTest::newRow("D") << "imgBrightness" << none;
    QTest::newRow("E") << "imgNo_4"
                       << "4";
    QTest::newRow("F") << "imgNo_5"
                       << "5";
    QTest::newRow("G") << "imgNo_6"
                       << "6";
    QTest::newRow("H") << "imgContast" << none;
    QTest::newRow("I") << "imgNo_7"
                       << "7";
    QTest::newRow("J") << "imgNo_8"
                       << "8";
    QTest::newRow("K") << "imgNo_9"
                       << "9";
    QTest::newRow("L") << "imgAcc" << none;
    QTest::newRow("M") << "imgF1" << none;
    QTest::newRow("N") << "imgF2" << none;
    QTest::newRow("O") << "imgF3" << none;
    QTest::newRow("P") << "imgF4" << none;
    QTest::newRow("Q") << "imgMoneyBox" << none;
    QTest::newRow("R") << "imgOutput" << QString();
    QTest::newRow("S") << "imgSpace"
                       << " ";
    QTest::newRow("T") << "imgNo_0"
                       << "0";
    QTest::newRow("U") << "imgRoute" << QString();
    QTest::newRow("V") << "imgStart" << QString();
    QTest::newRow("W") << "imgFinish" << QString();
    QTest::newRow("X") << "imgDir" << QString();
    QTest::newRow("Y") << "imgCancel" << QString();
    QTest::newRow("Z") << "imgSend" << none;
}

void TestKeys::eachLetter()
{
    QFETCH(QString, key);
    QFETCH(QString, plain);
    const QString letter = QString::fromLatin1(QTest::currentDataTag());
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    frmDDU* d = w->ddu();
    QWidget* region = TestEnv::find<KeyRegion>(d, key);
    TestEnv::press(w.get(), QStringLiteral("路線 SHIFT"));
    TestEnv::click(region);
    QCOMPARE(display(d).at(2), letter);
    QVERIFY(!w->console()->shiftOn());
    QCOMPARE(shiftLabel(w.get()), QString());
    QCOMPARE(w->console()->mode(), Mode::RouteEntry);
    if (plain.isNull())
        return;
    TestEnv::click(region);
    QCOMPARE(display(d).at(2), letter + plain);
}

void TestKeys::nothingTypedOutsideRouteEntry_data()
{
    QTest::addColumn<bool>("logIn");
    QTest::addColumn<QString>("keys"); // how the mode is reached
    QTest::newRow("booting") << false << "";
    QTest::newRow("idle after log-in") << true << "";
    QTest::newRow("route found") << true << "路線 1 2 輸入";
    QTest::newRow("terminus prompt") << true << "終點";
    QTest::newRow("output prompt") << true << "輸出";
    QTest::newRow("origin prompt") << true << "起點";
    QTest::newRow("direction prompt") << true << "方向";
    QTest::newRow("route entry cancelled") << true << "路線 1 取消";
}

void TestKeys::nothingTypedOutsideRouteEntry()
{
    QFETCH(bool, logIn);
    QFETCH(QString, keys);
    TestEnv env(kRoutes);
    auto w = env.start();
    if (logIn)
        TestEnv::logIn(w.get());
    else
        TestEnv::powerOn(w.get());
    TestEnv::press(w.get(), keys);
    const KeypadState before = keypadState(w.get());
    const QString letterOnly = QStringLiteral("光暗 對比度 事故 F1 F2 F3 F4 錢箱 退出");
    TestEnv::press(w.get(), QStringLiteral("0 1 2 3 4 5 6 7 8 9 空格 SHIFT ") + letterOnly);
    QVERIFY(keypadState(w.get()) == before);
    for (const QString& k : letterOnly.split(u' ')) {
        TestEnv::press(w.get(), QStringLiteral("SHIFT ") + k);
        QVERIFY2(keypadState(w.get()) == before, qPrintable(k));
    }
    // SHIFT did not stick: the origin key still asks instead of typing its letter.
    TestEnv::press(w.get(), QStringLiteral("SHIFT 起點"));
    QCOMPARE(display(w->ddu()).at(1), QStringLiteral("　　起點？(Y/N)"));
}

void TestKeys::modeKeys_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<bool>("outOfService");
    QTest::newRow("路線") << "路線" << prompt("　　路線號？") << Mode::RouteEntry << true;
    QTest::newRow("輸出") << "輸出" << prompt("　　輸出？(Y/N)") << Mode::OutputConfirm << true;
    QTest::newRow("起點") << "起點" << prompt("　　起點？(Y/N)") << Mode::OriginConfirm << false;
    QTest::newRow("終點") << "終點" << prompt("　　終點？(Y/N)") << Mode::TerminusConfirm << false;
    QTest::newRow("方向") << "方向" << prompt("　更改方向？(Y/N)") << Mode::DirectionConfirm
                          << false;
    QTest::newRow("取消 in idle") << "取消" << kRoute12 << Mode::Idle << false;
    QTest::newRow("取消 in route entry") << "路線 1 取消" << kRoute12 << Mode::Idle << false;
    QTest::newRow("取消 at the output prompt") << "輸出 取消" << kRoute12 << Mode::Idle << false;
    QTest::newRow("取消 at the terminus prompt") << "終點 取消" << kRoute12 << Mode::Idle << false;
    QTest::newRow("路線 replaces a prompt")
        << "起點 路線" << prompt("　　路線號？") << Mode::RouteEntry << true;
    QTest::newRow("typed text goes with the prompt")
        << "路線 1 2 終點" << prompt("　　終點？(Y/N)") << Mode::TerminusConfirm << true;
    QTest::newRow("方向 after 輸出")
        << "輸出 方向" << prompt("　更改方向？(Y/N)") << Mode::DirectionConfirm << true;
    QTest::newRow("輸出 after 方向")
        << "方向 輸出" << prompt("　　輸出？(Y/N)") << Mode::OutputConfirm << true;
}

void TestKeys::modeKeys()
{
    QFETCH(QString, keys);
    QFETCH(QStringList, lines);
    QFETCH(Mode, mode);
    QFETCH(bool, outOfService);
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    frmDDU* d = w->ddu();
    frmBCP* b = w->bcp();
    const Console* c = w->console();
    const CardProcessor* p = w->processor();
    const QString log = c->tripLog().text();
    TestEnv::press(w.get(), keys);
    QCOMPARE(display(d), lines);
    QCOMPARE(c->mode(), mode);
    QCOMPARE(p->screenState() == CardProcessor::ScreenState::OutOfService, outOfService);
    if (outOfService)
        QCOMPARE(bcpLines(b), kOutOfService);
    else
        QCOMPARE(bcpLines(b).at(0) == u"OUT OF", false);
    // The processor's display ticks never write over a prompt.
    TestEnv::advance(6000);
    QCOMPARE(display(d), lines);
    QCOMPARE(p->screenState() == CardProcessor::ScreenState::OutOfService, outOfService);
    QCOMPARE(c->tripLog().text(), log);
}

void TestKeys::enterKey_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QStringList>("logged");
    const QStringList turned = {" Route Changed 12", " Fare Changed 5.40", " Finished Trip",
                                " Direction Changed"};
    QTest::newRow("idle") << "輸入" << kRoute12 << Mode::Idle << "0" << QStringList();
    QTest::newRow("origin") << "起點 輸入" << kRoute12 << Mode::Idle << "0"
                            << QStringList{" Start Trip"};
    QTest::newRow("direction key changes no direction")
        << "方向 輸入" << kRoute12 << Mode::Idle << "0" << QStringList{" Direction Changed"};
    QTest::newRow("terminus") << "終點 輸入" << kWaitScreen << Mode::Idle << "3" << turned;
    QTest::newRow("route found") << "路線 1 2 輸入" << kWaitScreen << Mode::Idle << "0"
                                 << QStringList{" Route Changed 12", " Fare Changed 5.40"};
    QTest::newRow("letter route found")
        << "路線 2 SHIFT 方向 輸入" << kWaitScreen << Mode::Idle << "5"
        << QStringList{" Route Changed 2X", " Fare Changed 9.10"};
    QTest::newRow("route not found")
        << "路線 1 空格 輸入" << QStringList{"", "　　路線號？", kNotFound, ""} << Mode::RouteEntry
        << "0" << QStringList();
    QTest::newRow("terminus answered no")
        << "終點 取消 輸入" << kRoute12 << Mode::Idle << "0" << QStringList();
    QTest::newRow("origin answered no")
        << "起點 取消 輸入" << kRoute12 << Mode::Idle << "0" << QStringList();
    QTest::newRow("enter twice after origin")
        << "起點 輸入 輸入" << kRoute12 << Mode::Idle << "0" << QStringList{" Start Trip"};
}

void TestKeys::enterKey()
{
    QFETCH(QString, keys);
    QFETCH(QStringList, lines);
    QFETCH(Mode, mode);
    QFETCH(QString, tag);
    QFETCH(QStringList, logged);
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    const Console* c = w->console();
    const qsizetype before = events(c).size();
    TestEnv::press(w.get(), keys);
    QCOMPARE(display(w->ddu()), lines);
    QCOMPARE(c->mode(), mode);
    QCOMPARE(currentLine(c), tag);
    QCOMPARE(events(c).mid(before), logged);
    QCOMPARE(env.desktop().count(QStringLiteral("beep")), 0);
}

void TestKeys::outputConfirmed()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    const Console* c = w->console();
    TestEnv::press(w.get(), QStringLiteral("輸出"));
    QVERIFY(env.readFile(QStringLiteral("log.txt")).isEmpty());
    TestEnv::press(w.get(), QStringLiteral("輸入"));
    QCOMPARE(display(w->ddu()), QStringList({" ", "　　　正在輸出...", "", ""}));
    QCOMPARE(c->mode(), Mode::Idle);
    QCOMPARE(bcpLines(w->bcp()), kOutOfService);
    QVERIFY(!w->processor()->responding());
    QVERIFY(env.readFile(QStringLiteral("log.txt")).endsWith(" -----\r\n\r\n"));
    QCOMPARE(events(c), QStringList{" Log Reset"});
}

void TestKeys::terminusOnSingleDirection()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    frmDDU* d = w->ddu();
    const Console* c = w->console();
    TestEnv::press(w.get(), QStringLiteral("路線 2 SHIFT 方向 輸入"));
    TestEnv::advance(2000);
    QCOMPARE(display(d), QStringList({"車費　　　9.10", "路線　　　2X", "往　東公園", ""}));
    const QString log = c->tripLog().text();
    TestEnv::press(w.get(), QStringLiteral("終點 輸入"));
    QCOMPARE(env.desktop().count(QStringLiteral("beep")), 1);
    QCOMPARE(c->mode(), Mode::Idle);
    QCOMPARE(display(d), prompt("　　終點？(Y/N)"));
    QCOMPARE(currentLine(c), QStringLiteral("5"));
    QCOMPARE(c->tripLog().text(), log);
    TestEnv::advance(6000);
    QCOMPARE(display(d), prompt("　　終點？(Y/N)"));
    // Idle now: the enter key neither beeps again nor turns anything.
    TestEnv::press(w.get(), QStringLiteral("輸入"));
    QCOMPARE(env.desktop().count(QStringLiteral("beep")), 1);
    QCOMPARE(display(d), prompt("　　終點？(Y/N)"));
    TestEnv::press(w.get(), QStringLiteral("取消"));
    QCOMPARE(display(d), QStringList({"車費　　　9.10", "路線　　　2X", "往　東公園", ""}));
}

void TestKeys::modeStartsIdle()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    const Console* c = w->console();
    QCOMPARE(c->mode(), Mode::Idle);
    TestEnv::logIn(w.get());
    QCOMPARE(c->mode(), Mode::Idle);
    const QString log = c->tripLog().text();
    TestEnv::press(w.get(), QStringLiteral("輸入"));
    QCOMPARE(c->tripLog().text(), log);
    QCOMPARE(currentLine(c), QStringLiteral("0"));
    QCOMPARE(env.desktop().count(QStringLiteral("beep")), 0);
}

void TestKeys::shiftEndsWithRouteEntry_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("shiftAfter");
    QTest::newRow("route found") << "路線 1 2 SHIFT 輸入" << false;
    QTest::newRow("route not found: still typing") << "路線 9 SHIFT 輸入" << true;
    QTest::newRow("power off") << "路線 SHIFT 開/關" << false;
    QTest::newRow("power off and on") << "路線 SHIFT 開/關 開/關" << false;
}

void TestKeys::shiftEndsWithRouteEntry()
{
    QFETCH(QString, keys);
    QFETCH(bool, shiftAfter);
    TestEnv env(kRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    frmDDU* d = w->ddu();
    TestEnv::press(w.get(), keys);
    QCOMPARE(w->console()->shiftOn(), shiftAfter);
    QCOMPARE(shiftLabel(w.get()), shiftAfter ? QStringLiteral("SH") : QString());
    if (!TestEnv::key(w.get(), QStringLiteral("起點"))->isEnabled())
        return; // switched off
    TestEnv::press(w.get(), QStringLiteral("起點"));
    if (shiftAfter)
        QCOMPARE(display(d).at(2), QStringLiteral("V"));
    else
        QCOMPARE(display(d), prompt("　　起點？(Y/N)"));
}

QTEST_MAIN(TestKeys)
#include "tst_keys.moc"
