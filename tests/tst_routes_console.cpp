#include "bcp/CardProcessor.h"
#include "ddu/Console.h"
#include "panels/frmBCP.h"
#include "panels/frmDDU.h"
#include "platform/Desktop.h"
#include "platform/Settings.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"
#include "support/Readout.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QLabel>
#include <QTest>

using namespace Readout;
using Mode = Console::KeypadMode;

namespace {

const QString kExample = TestEnv::ExampleRoutes;

const QString kNotFound = QStringLiteral("　　沒有此路線資料！");
const QStringList kWaitScreen = {"正在擷取路線資料...", "請稍候...", "", ""};
const QStringList kBarePrefixes = {"車費　　　", "路線　　　", "往　"};

QStringList loaded(const QString& route, const QString& fare)
{
    return {QStringLiteral(" Route Changed ") + route, QStringLiteral(" Fare Changed ") + fare};
}

// Power on, boot, and the start-up card onto the reader until the log-in is complete;
// the card is then taken off before it could be read in service.
void logInWithoutWaiting(const frmMDI* w)
{
    TestEnv::powerOn(w);
    TestEnv::waitForPrompt(w);
    TestEnv::presentStartupCard(w);
}

} // namespace

class TestRouteConsole : public QObject {
    Q_OBJECT
private slots:
    void exampleTable_data();
    void exampleTable();
    void routeScreen_data();
    void routeScreen();
    void fareNotANumberShownAsItStands_data();
    void fareNotANumberShownAsItStands();
    void waitScreenThenRouteScreen_data();
    void waitScreenThenRouteScreen();
    void storedRouteGone();
    void emptyDestinationPassedOver();
    void steppingInRouteEntry_data();
    void steppingInRouteEntry();
    void arrowsBeforeAnyLoad_data();
    void arrowsBeforeAnyLoad();
    void routeFileProblems_data();
    void routeFileProblems();
};

void TestRouteConsole::exampleTable_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QStringList>("logged");
    QTest::addColumn<int>("beeps");

    const QStringList to北門 = loaded("12", "5.40");
    const QStringList to南碼頭 = loaded("12", "5.40")
                                 << QStringList{" Finished Trip", " Direction Changed"};
    const QStringList fare420 = loaded("12", "4.20");
    const QStringList fare280 = loaded("12", "2.80");
    QTest::newRow("typing 12") << "路線 1 2 輸入"
                               << "0" << to北門 << 0;
    QTest::newRow("↓") << "路線 1 2 輸入 ↓"
                       << "1" << to北門 + fare420 << 0;
    QTest::newRow("↓ ↓") << "路線 1 2 輸入 ↓ ↓"
                         << "2" << to北門 + fare420 + fare280 << 0;
    QTest::newRow("a third ↓ does nothing") << "路線 1 2 輸入 ↓ ↓ ↓"
                                            << "2" << to北門 + fare420 + fare280 << 0;
    QTest::newRow("↑ returns") << "路線 1 2 輸入 ↓ ↓ ↓ ↑"
                               << "1" << to北門 + fare420 + fare280 + fare420 << 0;
    QTest::newRow("↑ on the first section") << "路線 1 2 輸入 ↑"
                                            << "0" << to北門 << 0;
    QTest::newRow("terminus") << "路線 1 2 輸入 ↓ 終點 輸入"
                              << "3" << to北門 + fare420 + to南碼頭 << 0;
    QTest::newRow("terminus again") << "路線 1 2 輸入 終點 輸入 ↓ 終點 輸入"
                                    << "0"
                                    << to北門 + to南碼頭 + loaded("12", "3.50") + to北門 +
                                           QStringList{" Finished Trip", " Direction Changed"}
                                    << 0;
    QTest::newRow("↓ stops before the next route")
        << "路線 1 2 輸入 終點 輸入 ↓ ↓"
        << "4" << to北門 + to南碼頭 + loaded("12", "3.50") << 0;
    QTest::newRow("typing 12 from the other direction")
        << "路線 1 2 輸入 終點 輸入 ↓ 路線 1 2 輸入"
        << "0" << to北門 + to南碼頭 + loaded("12", "3.50") + to北門 << 0;
    QTest::newRow("2X terminus only beeps") << "路線 2 SHIFT 方向 輸入 終點 輸入"
                                            << "5" << loaded("2X", "9.10") << 1;
    QTest::newRow("↓ on the last line") << "路線 2 SHIFT 方向 輸入 ↓"
                                        << "5" << loaded("2X", "9.10") << 0;
    QTest::newRow("↑ from 2X into route 12") << "路線 2 SHIFT 方向 輸入 ↑"
                                             << "5" << loaded("2X", "9.10") << 0;
}

void TestRouteConsole::exampleTable()
{
    QFETCH(QString, keys);
    QFETCH(QString, tag);
    QFETCH(QStringList, logged);
    QFETCH(int, beeps);
    TestEnv env(kExample);
    auto w = env.start();
    TestEnv::logIn(w.get());
    const Console* c = w->console();
    const qsizetype before = events(c).size();
    TestEnv::press(w.get(), keys);
    QCOMPARE(currentLine(c), tag);
    QCOMPARE(events(c).mid(before), logged);
    QCOMPARE(env.desktop().count(QStringLiteral("beep")), beeps);
    QCOMPARE(c->mode(), Mode::Idle);
}

void TestRouteConsole::routeScreen_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("screen");
    QTest::addColumn<QString>("fare"); // as the log shows it
    QTest::addColumn<QString>("inService");

    QTest::newRow("fare 5.4") << "1#A#2.00\r\n12#北門#5.4\r\n"
                              << "路線 1 2 輸入"
                              << QStringList{"車費　　　5.40", "路線　　　12", "往　北門", ""}
                              << "5.4"
                              << "$5.40";
    QTest::newRow("route 2X") << kExample << "路線 2 SHIFT 方向 輸入"
                              << QStringList{"車費　　　9.10", "路線　　　2X", "往　東公園", ""}
                              << "9.10"
                              << "$9.10";
    QTest::newRow("whole fare") << "1#A#2.00\r\n3#B#7\r\n"
                                << "路線 3 輸入"
                                << QStringList{"車費　　　7.00", "路線　　　3", "往　B", ""} << "7"
                                << "$7.00";
    QTest::newRow("spaces stay in the fields")
        << "1#A#2.00\r\n3 #  B #0.5\r\n"
        << "路線 3 空格 輸入" << QStringList{"車費　　　0.50", "路線　　　3 ", "往　  B ", ""}
        << "0.5"
        << "$0.50";
    QTest::newRow("section step") << kExample << "↓ ↓"
                                  << QStringList{"車費　　　2.80", "路線　　　12", "往　北門", ""}
                                  << "2.80"
                                  << "$2.80";
}

void TestRouteConsole::routeScreen()
{
    QFETCH(QString, table);
    QFETCH(QString, keys);
    QFETCH(QStringList, screen);
    QFETCH(QString, fare);
    QFETCH(QString, inService);
    TestEnv env(table);
    auto w = env.start();
    TestEnv::logIn(w.get());
    const Console* c = w->console();
    TestEnv::press(w.get(), keys);
    QCOMPARE(storedLines(c), screen.mid(0, 3));
    // The processor holds the fare in cents, as its in-service screen shows it.
    QCOMPARE(QStringLiteral("$") + w->processor()->fare().text(), inService);
    QCOMPARE(lastEvent(c), QStringLiteral(" Fare Changed ") + fare);
    TestEnv::advance(2000);
    QCOMPARE(display(w->ddu()), screen);
    QCOMPARE(bcpLines(w->bcp()).at(2), inService);
}

void TestRouteConsole::fareNotANumberShownAsItStands_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("fareLine");
    QTest::newRow("letters") << "7#碼頭#abc"
                             << "車費　　　abc";
    QTest::newRow("empty") << "7#碼頭#"
                           << "車費　　　";
    QTest::newRow("third hash") << "7#碼頭#5.40#x"
                                << "車費　　　5.40#x";
    QTest::newRow("comma") << "7#碼頭#5,40"
                           << "車費　　　5,40";
}

void TestRouteConsole::fareNotANumberShownAsItStands()
{
    QFETCH(QString, line);
    QFETCH(QString, fareLine);
    TestEnv env(QStringLiteral("1#A#2.00\r\n") + line + QStringLiteral("\r\n"));
    auto w = env.start();
    TestEnv::logIn(w.get());
    TestEnv::press(w.get(), QStringLiteral("路線 7 輸入"));
    QCOMPARE(storedLines(w->console()), QStringList({fareLine, "路線　　　7", "往　碼頭"}));
    // Charging it is impossible: the processor ends the program, naming the second line.
    QCOMPARE(env.desktop().texts(QStringLiteral("fatal")),
             QStringList{QStringLiteral("計算錯誤，離開。\n%1 第 2 行的車資「%2」不是數字。")
                             .arg(env.file(QStringLiteral("routes.dat")), line.section(u'#', 2))});
}

void TestRouteConsole::waitScreenThenRouteScreen_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("screen");
    QTest::newRow("route entry") << "路線 1 2 輸入"
                                 << QStringList{"車費　　　5.40", "路線　　　12", "往　北門", ""};
    QTest::newRow("section step") << "↓"
                                  << QStringList{"車費　　　4.20", "路線　　　12", "往　北門", ""};
    QTest::newRow("terminus") << "終點 輸入"
                              << QStringList{"車費　　　5.40", "路線　　　12", "往　南碼頭", ""};
    QTest::newRow("same route again")
        << "路線 1 2 輸入 路線 1 2 輸入"
        << QStringList{"車費　　　5.40", "路線　　　12", "往　北門", ""};
}

void TestRouteConsole::waitScreenThenRouteScreen()
{
    QFETCH(QString, keys);
    QFETCH(QStringList, screen);
    TestEnv env(kExample);
    auto w = env.start();
    TestEnv::logIn(w.get());
    frmDDU* d = w->ddu();
    frmBCP* b = w->bcp();
    TestEnv::advance(500); // out of step with the processor's display ticks
    TestEnv::press(w.get(), keys);
    QCOMPARE(display(d), kWaitScreen);
    QCOMPARE(bcpLines(b), QStringList({"OUT OF", "SERVICE", "暫停服務"}));
    TestEnv::advance(1999);
    QCOMPARE(display(d), kWaitScreen);
    TestEnv::advance(1);
    QCOMPARE(display(d), screen);
    QCOMPARE(bcpLines(b).at(0), QStringLiteral("IN SERVICE"));
}

void TestRouteConsole::storedRouteGone()
{
    TestEnv env(kExample);
    TestEnv::store(Settings::Lastroute, QStringLiteral("99"));
    auto w = env.start();
    frmDDU* d = w->ddu();
    frmBCP* b = w->bcp();
    const Console* c = w->console();
    const QString log = c->tripLog().text();
    logInWithoutWaiting(w.get());
    QCOMPARE(display(d).at(2), kNotFound);
    QCOMPARE(c->mode(), Mode::RouteEntry);
    QCOMPARE(c->tripLog().text(), log); // nothing loaded
    QCOMPARE(w->processor()->fare().inCents(), 0);
    TestEnv::advance(1999);
    QCOMPARE(display(d).at(2), kNotFound);
    TestEnv::advance(1);
    QCOMPARE(display(d), kBarePrefixes + QStringList{""});
    QCOMPARE(c->mode(), Mode::RouteEntry);
    QCOMPARE(bcpLines(b), QStringList({"IN SERVICE", "歡迎使用服務", "$0.00"}));
    QCOMPARE(TestEnv::stored(Settings::Lastroute), QStringLiteral("99"));
}

void TestRouteConsole::emptyDestinationPassedOver()
{
    TestEnv env(QStringLiteral("12##5.40\r\n12#北門#5.40\r\n"));
    auto w = env.start();
    TestEnv::logIn(w.get());
    const Console* c = w->console();
    TestEnv::press(w.get(), QStringLiteral("路線 1 2 輸入"));
    QCOMPARE(currentLine(c), QStringLiteral("1"));
    QCOMPARE(storedLines(c), QStringList({"車費　　　5.40", "路線　　　12", "往　北門"}));
}

void TestRouteConsole::steppingInRouteEntry_data()
{
    QTest::addColumn<QString>("keys"); // after 路線 1 2 輸入 ↓ 路線
    QTest::addColumn<QString>("tag");
    QTest::newRow("↓") << "↓"
                       << "2";
    QTest::newRow("↑") << "↑"
                       << "0";
    QTest::newRow("↓ ↑") << "↓ ↑"
                         << "1";
    QTest::newRow("typed, then ↓") << "1 ↓"
                                   << "2";
}

void TestRouteConsole::steppingInRouteEntry()
{
    QFETCH(QString, keys);
    QFETCH(QString, tag);
    TestEnv env(kExample);
    auto w = env.start();
    TestEnv::logIn(w.get());
    const Console* c = w->console();
    TestEnv::press(w.get(), QStringLiteral("路線 1 2 輸入 ↓ 路線"));
    QCOMPARE(c->mode(), Mode::RouteEntry);
    TestEnv::press(w.get(), keys);
    QCOMPARE(currentLine(c), tag);
    QCOMPARE(c->mode(), Mode::RouteEntry);
    const QStringList fares = {"5.40", "4.20", "2.80"};
    QCOMPARE(lastEvent(c), QStringLiteral(" Fare Changed ") + fares.at(tag.toInt()));
}

void TestRouteConsole::arrowsBeforeAnyLoad_data()
{
    QTest::addColumn<QString>("stage");
    QTest::addColumn<QString>("line"); // the current line, before and after
    QTest::newRow("booting") << "booting"
                             << "";
    QTest::newRow("log-in prompt") << "prompt"
                                   << "";
    QTest::newRow("stored route gone") << "gone"
                                       << "";
    // A route loaded before the power was switched: still nothing until the log-in, which
    // the processor then asks for as usual.
    QTest::newRow("a later boot") << "later"
                                  << "0";
}

void TestRouteConsole::arrowsBeforeAnyLoad()
{
    QFETCH(QString, stage);
    QFETCH(QString, line);
    TestEnv env(kExample);
    if (stage == u"gone")
        TestEnv::store(Settings::Lastroute, QStringLiteral("99"));
    auto w = env.start();
    frmDDU* d = w->ddu();
    const Console* c = w->console();
    const CardProcessor* p = w->processor();
    if (stage == u"later") {
        TestEnv::logIn(w.get());
        TestEnv::press(w.get(), QStringLiteral("開/關"));
    }
    if (stage == u"gone")
        logInWithoutWaiting(w.get());
    else
        TestEnv::powerOn(w.get());
    if (stage == u"prompt")
        TestEnv::waitForPrompt(w.get());
    QVERIFY(c->isOn());
    const QStringList lines = display(d);
    const QString log = c->tripLog().text();
    const CardProcessor::ScreenState state = p->screenState();
    QCOMPARE(currentLine(c), line);
    TestEnv::press(w.get(), QStringLiteral("↓ ↑ ↓"));
    QCOMPARE(currentLine(c), line);
    QCOMPARE(display(d), lines);
    QCOMPARE(c->tripLog().text(), log);
    QCOMPARE(p->screenState(), state);
    QCOMPARE(env.desktop().count(QStringLiteral("beep")), 0);
    if (stage == u"later") {
        TestEnv::waitForPrompt(w.get());
        QCOMPARE(bcpLines(w->bcp()),
                 QStringList({"PRESENT YOUR", "CARD TO LOGIN", "請使用卡登入"}));
    }
}

void TestRouteConsole::routeFileProblems_data()
{
    QTest::addColumn<QString>("table"); // null: no file
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("warnings");
    QTest::newRow("missing") << QString() << 0 << 1;
    QTest::newRow("empty") << QStringLiteral("") << 0 << 0;
    QTest::newRow("blank first line") << QStringLiteral("\r\n12#北門#5.40\r\n") << 2 << 0;
}

void TestRouteConsole::routeFileProblems()
{
    QFETCH(QString, table);
    QFETCH(int, entries);
    QFETCH(int, warnings);
    TestEnv env(table);
    auto w = env.start();
    frmDDU* d = w->ddu();
    const Console* c = w->console();
    QCOMPARE(c->routes().lines().size(), entries);
    const QStringList warned = env.desktop().texts(QStringLiteral("warn"));
    QCOMPARE(warned.size(), warnings);
    if (warnings)
        QVERIFY2(warned.first().contains(QDir::toNativeSeparators(env.file("routes.dat"))),
                 qPrintable(warned.first()));

    // The first-line load at log-in finds no fields: everything stays empty, and the
    // processor goes into service with no fare rather than failing on an empty one.
    TestEnv::logIn(w.get());
    QCOMPARE(currentLine(c), QStringLiteral("0"));
    QCOMPARE(c->routes().route(), QString());
    QCOMPARE(c->routes().destination(), QString());
    QCOMPARE(c->routes().routeLine().fareText, QString());
    QCOMPARE(storedLines(c), kBarePrefixes);
    QCOMPARE(lastEvent(c), QStringLiteral(" Route Changed "));
    QCOMPARE(env.desktop().count(QStringLiteral("fatal")), 0);
    QCOMPARE(display(d), kBarePrefixes + QStringList{""});
    QCOMPARE(bcpLines(w->bcp()), QStringList({"IN SERVICE", "歡迎使用服務", "$0.00"}));

    TestEnv::press(w.get(), QStringLiteral("路線 1 2 輸入"));
    QCOMPARE(display(d).at(2), entries ? QStringLiteral("") : kNotFound);
    QCOMPARE(c->mode(), entries ? Mode::Idle : Mode::RouteEntry);
}

QTEST_MAIN(TestRouteConsole)
#include "tst_routes_console.moc"
