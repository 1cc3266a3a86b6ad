// The driver console's rules and timelines on the model rig: power, clock, keypad, routes,
// the trip log and its output. No window, no platform plugin.
#include "bcp/CardProcessor.h"
#include "common/Timer.h"
#include "ddu/Console.h"
#include "platform/AppPaths.h"
#include "platform/Settings.h"
#include "support/FakeDesktop.h"
#include "support/ModelRig.h"
#include "support/Readout.h"

#include <QDir>
#include <QTest>

using namespace Readout;
using Mode = Console::KeypadMode;

namespace {

// Both directions of route 12 at one fare.
const QString kFlatFare = QStringLiteral("12#北門#2.40\r\n12#南碼頭#2.40\r\n");
const QString kExample = ModelRig::ExampleRoutes;

const QString kNotFound = QStringLiteral("　　沒有此路線資料！");
const QStringList kRoute12 = {"車費　　　5.40", "路線　　　12", "往　北門", ""};
const QStringList kWaitScreen = {"正在擷取路線資料...", "請稍候...", "", ""};
const QStringList kOutOfService = {"OUT OF", "SERVICE", "暫停服務"};
const QStringList kBarePrefixes = {"車費　　　", "路線　　　", "往　"};

QStringList prompt(const QString& line2)
{
    return {QString(), line2, QString(), QString()};
}

QStringList loaded(const QString& route, const QString& fare)
{
    return {QStringLiteral(" Route Changed ") + route, QStringLiteral(" Fare Changed ") + fare};
}

void checkOff(const ModelRig& rig)
{
    const Console& c = rig.console();
    QVERIFY(!c.isOn());
    QVERIFY(!c.statusShown());
    for (const KeyInfo& k : Keys::all())
        QVERIFY2(c.keyEnabled(k.key) == (k.key == Key::Power), k.name);
    QVERIFY(!ModelRig::timer(&c, QStringLiteral("tmrClock"))->Enabled());
    for (const char* name : {"tmrStart", "tmrLoadLong", "tmrCount", "tmrLock", "tmrChange"})
        QVERIFY2(!ModelRig::timer(&rig.processor(), QLatin1String(name))->Enabled(), name);
    QCOMPARE(rig.lamps(), QStringLiteral("ryg"));
    QVERIFY(!rig.processor().switchedOn());
}

// Output through the keys, as the driver does it.
void output(ModelRig& rig)
{
    rig.press(QStringLiteral("輸出 輸入"));
}

// Power on, boot, and the start-up card onto the reader until the log-in is complete;
// the card is then taken off before it could be read in service.
void logInWithoutWaiting(ModelRig& rig)
{
    rig.powerOn();
    rig.waitForPrompt();
    rig.presentStartupCard();
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

KeypadState keypadState(const ModelRig& rig)
{
    const Console* c = &rig.console();
    return {rig.display(),   c->mode(),      c->shiftOn(),        c->shiftIndicator(),
            c->typedRoute(), currentLine(c), c->tripLog().text(), rig.processor().screenState()};
}

} // namespace

class TestConsole : public QObject {
    Q_OBJECT
private slots:
    void startsSwitchedOff();
    void powerOn();
    void powerTwiceFromOff();
    void clockOncePerSecond();
    void firstOutput();
    void secondOutputAndNewRun();
    void emptyOutput();
    void outputFreezesProcessor();
    void unwritableLogKeepsEverything();
    void unwrittenBlockAtTheEnd_data();
    void unwrittenBlockAtTheEnd();
    void noSecondOutputWhileOneRuns();
    void lineLoggedDuringOutputKept();
    void logWithoutLineEndGetsOne();
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

void TestConsole::startsSwitchedOff()
{
    ModelRig rig(kFlatFare);
    rig.start();
    checkOff(rig);
    ModelRig::advance(60000);
    QCOMPARE(rig.console().status(), QString());
    QCOMPARE(rig.console().tripLog().text(),
             QStringLiteral("12-06-2026\r\n06:10:05 Start Logging\r\n"));
}

void TestConsole::powerOn()
{
    ModelRig rig(kFlatFare);
    rig.start();
    Console* c = &rig.console();
    rig.powerOn();
    QCOMPARE(rig.display(), QStringList({"", "　　　PLEASE WAIT", "", ""}));
    QVERIFY(c->statusShown());
    QCOMPARE(c->status(), QString());
    const QList<Key> loginKeys = {Key::Route,  Key::Finish, Key::Direction,
                                  Key::Cancel, Key::Enter,  Key::Output};
    for (const KeyInfo& k : Keys::all()) {
        const bool loginKey = loginKeys.contains(k.key);
        QVERIFY2(c->keyEnabled(k.key) == !loginKey, k.name);
    }
    QCOMPARE(storedLines(c), QStringList({"車費　　　", "路線　　　", "往　"}));
    // Neither switch writes to the trip log.
    QCOMPARE(c->tripLog().text().count(QStringLiteral("\r\n")), 2);
}

void TestConsole::powerTwiceFromOff()
{
    ModelRig rig(kFlatFare);
    rig.start();
    rig.logIn();
    rig.press(QStringLiteral("開/關"));
    checkOff(rig);
    rig.powerOn();
    rig.press(QStringLiteral("開/關"));
    checkOff(rig);
    // Only the power key answers while off.
    rig.press(QStringLiteral("1"));
    ModelRig::advance(40000);
    checkOff(rig);
}

void TestConsole::clockOncePerSecond()
{
    ModelRig rig(kFlatFare);
    rig.start();
    ModelRig::advance(300);
    rig.powerOn();
    ModelRig::advance(499);
    QCOMPARE(rig.console().status(), QString());
    ModelRig::advance(1);
    QCOMPARE(rig.console().status(), QStringLiteral("12-06-2026 06:10:05 Quillmere"));
    int changes = 0;
    QString last = rig.console().status();
    for (int i = 0; i < 20; ++i) {
        ModelRig::advance(500);
        if (rig.console().status() != last) {
            ++changes;
            last = rig.console().status();
        }
    }
    QCOMPARE(changes, 10);
    QCOMPARE(last, QStringLiteral("12-06-2026 06:10:15 Quillmere"));
}

void TestConsole::firstOutput()
{
    ModelRig rig(kFlatFare);
    rig.start();
    rig.logIn();
    rig.read();
    ModelRig::advance(3000);
    output(rig);
    const QByteArray expected = "12-06-2026\r\n"
                                "06:10:05 Start Logging\r\n"
                                "06:10:36 Route Changed 12\r\n"
                                "06:10:36 Fare Changed 2.40\r\n"
                                "06:10:39 Paid: Adult Fare $2.40\r\n"
                                "06:10:42 -----\r\n"
                                "\r\n";
    QCOMPARE(rig.readFile(QStringLiteral("log.txt")), expected);
    QCOMPARE(rig.console().tripLog().text(),
             QStringLiteral("12-06-2026\r\n06:10:42 Log Reset\r\n"));
    QCOMPARE(rig.console().mode(), Console::KeypadMode::Idle);
    QCOMPARE(rig.display().mid(0, 3), QStringList({" ", "　　　正在輸出...", ""}));
}

void TestConsole::secondOutputAndNewRun()
{
    ModelRig rig(kFlatFare);
    rig.start();
    rig.logIn();
    output(rig);
    QByteArray firstBlock = rig.readFile(QStringLiteral("log.txt"));
    ModelRig::advance(60000);
    rig.powerOn(); // off
    rig.logIn();
    output(rig);
    {
        const QByteArray file = rig.readFile(QStringLiteral("log.txt"));
        QVERIFY(file.startsWith(firstBlock));
        QCOMPARE(file.mid(firstBlock.size()), QByteArray("12-06-2026\r\n"
                                                         "06:10:38 Log Reset\r\n"
                                                         "06:12:09 Route Changed 12\r\n"
                                                         "06:12:09 Fare Changed 2.40\r\n"
                                                         "06:12:11 -----\r\n"
                                                         "\r\n"));
        firstBlock = file;
    }
    // The next run appends a block that starts with Start Logging again.
    rig.restart();
    output(rig); // the keys are disabled while switched off
    QCOMPARE(rig.readFile(QStringLiteral("log.txt")), firstBlock);
    rig.logIn();
    output(rig);
    const QByteArray file = rig.readFile(QStringLiteral("log.txt"));
    QVERIFY(file.startsWith(firstBlock));
    QVERIFY(file.mid(firstBlock.size()).startsWith("12-06-2026\r\n06:12:11 Start Logging\r\n"));
}

void TestConsole::emptyOutput()
{
    ModelRig rig(kFlatFare);
    rig.start();
    rig.logIn();
    output(rig);
    const qsizetype before = rig.readFile(QStringLiteral("log.txt")).size();
    ModelRig::advance(1000);
    output(rig);
    QCOMPARE(rig.readFile(QStringLiteral("log.txt")).mid(before),
             QByteArray("12-06-2026\r\n06:10:38 Log Reset\r\n06:10:39 -----\r\n\r\n"));
}

void TestConsole::outputFreezesProcessor()
{
    ModelRig rig(kFlatFare);
    rig.start();
    CardProcessor* p = &rig.processor();
    rig.logIn();
    output(rig);
    QVERIFY(!p->responding());
    rig.read();
    ModelRig::advance(20000);
    QCOMPARE(p->purse().inCents(), 10000);
    QCOMPARE(rig.bcpLines().at(0), QStringLiteral("OUT OF"));
    QCOMPARE(rig.display().at(1), QStringLiteral("　　　正在輸出..."));
}

void TestConsole::unwritableLogKeepsEverything()
{
    ModelRig rig(kFlatFare);
    rig.start();
    rig.logIn();
    rig.read();
    // A directory where the file should be: no user, root included, can write it.
    QVERIFY(QDir(rig.dir()).mkdir(QStringLiteral("log.txt")));
    output(rig);
    QCOMPARE(rig.desktop().count(QStringLiteral("warn")), 1);
    QVERIFY(
        rig.desktop().texts(QStringLiteral("warn")).first().contains(QStringLiteral("log.txt")));
    QCOMPARE(rig.console().mode(), Console::KeypadMode::Idle);
    rig.press(QStringLiteral("開/關"));
    rig.logIn();
    rig.read();
    QVERIFY(QDir(rig.dir()).rmdir(QStringLiteral("log.txt")));
    output(rig);
    QCOMPARE(rig.desktop().count(QStringLiteral("warn")), 1);
    const QString file = QString::fromUtf8(rig.readFile(QStringLiteral("log.txt")));
    QCOMPARE(file.count(QStringLiteral(" -----\r\n\r\n")), 2);
    QCOMPARE(file.count(QStringLiteral(" Paid: Adult Fare $2.40")), 2);
    QVERIFY(file.startsWith(QStringLiteral("12-06-2026\r\n06:10:05 Start Logging\r\n")));
    QVERIFY(file.contains(QStringLiteral("-----\r\n\r\n12-06-2026\r\n06:10:39 Log Reset\r\n")));
    QVERIFY(file.endsWith(QStringLiteral(" -----\r\n\r\n")));
}

void TestConsole::unwrittenBlockAtTheEnd_data()
{
    QTest::addColumn<QString>("atTheEnd"); // what stands as log.txt and as the kept file
    QTest::addColumn<QString>("warning");  // empty: none

    QTest::newRow("log.txt takes it then") << "log.txt writable"
                                           << "";
    QTest::newRow("kept for the next start") << "log.txt a folder"
                                             << "未寫入的記錄已保留在 %1";
    QTest::newRow("nowhere to keep it") << "log.txt a folder, kept file a folder"
                                        << "也不能保留在 %1";
}

// An output's block that log.txt would not take is not lost with the program: it is tried
// again at the end and else kept, and the next start writes it with its first output.
void TestConsole::unwrittenBlockAtTheEnd()
{
    QFETCH(QString, atTheEnd);
    QFETCH(QString, warning);
    ModelRig rig(kFlatFare);
    rig.start();
    rig.logIn();
    rig.read();
    QVERIFY(QDir(rig.dir()).mkdir(QStringLiteral("log.txt")));
    output(rig);
    const QString kept = AppPaths::keptLogFile();
    if (atTheEnd.contains(u"kept file a folder"))
        QVERIFY(QDir().mkpath(kept));
    if (atTheEnd == u"log.txt writable")
        QVERIFY(QDir(rig.dir()).rmdir(QStringLiteral("log.txt")));
    const QString lost = rig.console().keepUnwrittenBlocks();
    QCOMPARE(lost.isEmpty(), warning.isEmpty());
    QVERIFY2(lost.contains(warning.arg(kept)), qPrintable(lost));
    QCOMPARE(QFileInfo(kept).isFile(), atTheEnd == u"log.txt a folder");

    rig.restart();
    QVERIFY(QDir(rig.dir()).rmdir(QStringLiteral("log.txt")) || warning.isEmpty());
    rig.logIn();
    rig.read();
    output(rig);
    const QString file = QString::fromUtf8(rig.readFile(QStringLiteral("log.txt")));
    QCOMPARE(file.count(QStringLiteral(" Paid: Adult Fare $2.40")),
             atTheEnd.contains(u"kept file") ? 1 : 2);
    QVERIFY(!QFileInfo(kept).isFile());
    rig.restart(); // written once: nothing kept is written again
    rig.logIn();
    output(rig);
    QCOMPARE(QString::fromUtf8(rig.readFile(QStringLiteral("log.txt"))).count(u" Paid"),
             file.count(u" Paid"));
}

void TestConsole::noSecondOutputWhileOneRuns()
{
    ModelRig rig(kFlatFare);
    rig.start();
    Console* c = &rig.console();
    rig.logIn();
    rig.press(QStringLiteral("輸出"));
    int nested = 0;
    // A press that arrives during the output's first yield.
    QMetaObject::invokeMethod(
        c,
        [&] {
            ++nested;
            rig.press(QStringLiteral("輸入"));
            c->output();
        },
        Qt::QueuedConnection);
    rig.press(QStringLiteral("輸入"));
    QCOMPARE(nested, 1);
    const QString file = QString::fromUtf8(rig.readFile(QStringLiteral("log.txt")));
    QCOMPARE(file.count(QStringLiteral(" -----")), 1);
    QCOMPARE(file.count(QStringLiteral("Start Logging")), 1);
}

void TestConsole::lineLoggedDuringOutputKept()
{
    ModelRig rig(kFlatFare);
    rig.start();
    Console* c = &rig.console();
    rig.logIn(); // 06:10:38
    rig.press(QStringLiteral("輸出"));
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
                    afterWrite = rig.readFile(QStringLiteral("log.txt")).contains("Start Trip");
                    ModelRig::advance(1000);
                    c->log(TripEvent::DirectionChanged);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    rig.press(QStringLiteral("輸入"));
    QVERIFY(afterWrite);
    const QString file = QString::fromUtf8(rig.readFile(QStringLiteral("log.txt")));
    QCOMPARE(file.count(QStringLiteral("Start Trip")), 1);
    QVERIFY(!file.contains(QStringLiteral("Direction Changed")));
    QVERIFY(c->tripLog().text().contains(QStringLiteral("06:10:39 Direction Changed\r\n")));
}

void TestConsole::logWithoutLineEndGetsOne()
{
    ModelRig rig(kFlatFare);
    rig.writeFile(QStringLiteral("log.txt"), "edited by hand");
    rig.start();
    rig.logIn();
    output(rig);
    QVERIFY(rig.readFile(QStringLiteral("log.txt"))
                .startsWith("edited by hand\r\n12-06-2026\r\n06:10:05 Start Logging\r\n"));
}
void TestConsole::typing_data()
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
    // The display line holds 24 half-width characters; a key beyond types nothing.
    const QString full = QStringLiteral("1 2 3 4 5 6 7 8 9 0 ").repeated(2) + "1 2 3 4";
    QTest::newRow("a full line") << full << "123456789012345678901234"
                                 << "";
    QTest::newRow("a digit beyond the line") << full + " 5"
                                             << "123456789012345678901234"
                                             << "";
    // Used up, so that 取消 cancels again rather than type its letter.
    QTest::newRow("SHIFT used up beyond the line") << full + " SHIFT 1"
                                                   << "123456789012345678901234"
                                                   << "";
}

void TestConsole::typing()
{
    QFETCH(QString, keys);
    QFETCH(QString, typed);
    QFETCH(QString, shiftShown);
    ModelRig rig(kExample);
    rig.start();
    rig.logIn();
    Console* c = &rig.console();
    rig.press(QStringLiteral("路線 ") + keys);
    QCOMPARE(rig.display().at(2), typed);
    QCOMPARE(c->typedRoute(), typed);
    QCOMPARE(rig.console().shiftIndicator(), shiftShown);
    QCOMPARE(c->shiftOn(), !shiftShown.isEmpty());
    QCOMPARE(rig.display().at(1), QStringLiteral("　　路線號？"));
    QCOMPARE(c->mode(), Mode::RouteEntry);
    QCOMPARE(rig.processor().screenState(), CardProcessor::ScreenState::OutOfService);
}

void TestConsole::typingReplacesNotFoundMessage_data()
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

void TestConsole::typingReplacesNotFoundMessage()
{
    QFETCH(QString, keys);
    QFETCH(QString, typed);
    ModelRig rig(kExample);
    rig.start();
    rig.logIn();
    rig.press(QStringLiteral("路線 9 9 輸入"));
    QCOMPARE(rig.display().at(2), kNotFound);
    QCOMPARE(rig.console().mode(), Mode::RouteEntry);
    rig.press(keys);
    QCOMPARE(rig.display().at(2), typed);
}

void TestConsole::enterOnNotFoundMessageDoesNothing()
{
    ModelRig rig(kExample);
    rig.start();
    rig.logIn();
    rig.press(QStringLiteral("路線 9 9 輸入"));
    QCOMPARE(ModelRig::stored(Settings::Lastroute), QStringLiteral("99"));
    const KeypadState before = keypadState(rig);
    rig.press(QStringLiteral("輸入 輸入"));
    QVERIFY(keypadState(rig) == before);
    QCOMPARE(ModelRig::stored(Settings::Lastroute), QStringLiteral("99"));
}

void TestConsole::enterWithNothingTyped()
{
    ModelRig rig(kExample);
    rig.start();
    rig.logIn();
    Console* c = &rig.console();
    rig.press(QStringLiteral("路線 2 SHIFT 方向 輸入"));
    QCOMPARE(ModelRig::stored(Settings::Lastroute), QStringLiteral("2X"));
    const QString log = c->tripLog().text();
    rig.press(QStringLiteral("路線 輸入"));
    QCOMPARE(ModelRig::stored(Settings::Lastroute), QString());
    QCOMPARE(rig.display(), QStringList({"", "　　路線號？", kNotFound, ""}));
    QCOMPARE(c->mode(), Mode::RouteEntry);
    QCOMPARE(c->tripLog().text(), log);
    // The empty last route makes the next log-in load the first line again.
    rig.press(QStringLiteral("開/關"));
    rig.logIn();
    QCOMPARE(currentLine(c), QStringLiteral("0"));
    QCOMPARE(c->routes().route(), QStringLiteral("12"));
}

void TestConsole::eachLetter_data()
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

void TestConsole::eachLetter()
{
    QFETCH(QString, key);
    QFETCH(QString, plain);
    const QString letter = QString::fromLatin1(QTest::currentDataTag());
    ModelRig rig(kExample);
    rig.start();
    rig.logIn();
    rig.press(QStringLiteral("路線 SHIFT"));
    rig.press(key);
    QCOMPARE(rig.display().at(2), letter);
    QVERIFY(!rig.console().shiftOn());
    QCOMPARE(rig.console().shiftIndicator(), QString());
    QCOMPARE(rig.console().mode(), Mode::RouteEntry);
    if (plain.isNull())
        return;
    rig.press(key);
    QCOMPARE(rig.display().at(2), letter + plain);
}

void TestConsole::nothingTypedOutsideRouteEntry_data()
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

void TestConsole::nothingTypedOutsideRouteEntry()
{
    QFETCH(bool, logIn);
    QFETCH(QString, keys);
    ModelRig rig(kExample);
    rig.start();
    if (logIn)
        rig.logIn();
    else
        rig.powerOn();
    rig.press(keys);
    const KeypadState before = keypadState(rig);
    const QString letterOnly = QStringLiteral("光暗 對比度 事故 F1 F2 F3 F4 錢箱 退出");
    rig.press(QStringLiteral("0 1 2 3 4 5 6 7 8 9 空格 SHIFT ") + letterOnly);
    QVERIFY(keypadState(rig) == before);
    for (const QString& k : letterOnly.split(u' ')) {
        rig.press(QStringLiteral("SHIFT ") + k);
        QVERIFY2(keypadState(rig) == before, qPrintable(k));
    }
    // SHIFT did not stick: the origin key still asks instead of typing its letter.
    rig.press(QStringLiteral("SHIFT 起點"));
    QCOMPARE(rig.display().at(1), QStringLiteral("　　起點？(Y/N)"));
}

void TestConsole::modeKeys_data()
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

void TestConsole::modeKeys()
{
    QFETCH(QString, keys);
    QFETCH(QStringList, lines);
    QFETCH(Mode, mode);
    QFETCH(bool, outOfService);
    ModelRig rig(kExample);
    rig.start();
    rig.logIn();
    const Console* c = &rig.console();
    const CardProcessor* p = &rig.processor();
    const QString log = c->tripLog().text();
    rig.press(keys);
    QCOMPARE(rig.display(), lines);
    QCOMPARE(c->mode(), mode);
    QCOMPARE(p->screenState() == CardProcessor::ScreenState::OutOfService, outOfService);
    if (outOfService)
        QCOMPARE(rig.bcpLines(), kOutOfService);
    else
        QCOMPARE(rig.bcpLines().at(0) == u"OUT OF", false);
    // The processor's display ticks never write over a prompt.
    ModelRig::advance(6000);
    QCOMPARE(rig.display(), lines);
    QCOMPARE(p->screenState() == CardProcessor::ScreenState::OutOfService, outOfService);
    QCOMPARE(c->tripLog().text(), log);
}

void TestConsole::enterKey_data()
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

void TestConsole::enterKey()
{
    QFETCH(QString, keys);
    QFETCH(QStringList, lines);
    QFETCH(Mode, mode);
    QFETCH(QString, tag);
    QFETCH(QStringList, logged);
    ModelRig rig(kExample);
    rig.start();
    rig.logIn();
    const Console* c = &rig.console();
    const qsizetype before = events(c).size();
    rig.press(keys);
    QCOMPARE(rig.display(), lines);
    QCOMPARE(c->mode(), mode);
    QCOMPARE(currentLine(c), tag);
    QCOMPARE(events(c).mid(before), logged);
    QCOMPARE(rig.desktop().count(QStringLiteral("beep")), 0);
}

void TestConsole::outputConfirmed()
{
    ModelRig rig(kExample);
    rig.start();
    rig.logIn();
    const Console* c = &rig.console();
    rig.press(QStringLiteral("輸出"));
    QVERIFY(rig.readFile(QStringLiteral("log.txt")).isEmpty());
    rig.press(QStringLiteral("輸入"));
    QCOMPARE(rig.display(), QStringList({" ", "　　　正在輸出...", "", ""}));
    QCOMPARE(c->mode(), Mode::Idle);
    QCOMPARE(rig.bcpLines(), kOutOfService);
    QVERIFY(!rig.processor().responding());
    QVERIFY(rig.readFile(QStringLiteral("log.txt")).endsWith(" -----\r\n\r\n"));
    QCOMPARE(events(c), QStringList{" Log Reset"});
}

void TestConsole::terminusOnSingleDirection()
{
    ModelRig rig(kExample);
    rig.start();
    rig.logIn();
    const Console* c = &rig.console();
    rig.press(QStringLiteral("路線 2 SHIFT 方向 輸入"));
    ModelRig::advance(2000);
    QCOMPARE(rig.display(), QStringList({"車費　　　9.10", "路線　　　2X", "往　東公園", ""}));
    const QString log = c->tripLog().text();
    rig.press(QStringLiteral("終點 輸入"));
    QCOMPARE(rig.desktop().count(QStringLiteral("beep")), 1);
    QCOMPARE(c->mode(), Mode::Idle);
    QCOMPARE(rig.display(), prompt("　　終點？(Y/N)"));
    QCOMPARE(currentLine(c), QStringLiteral("5"));
    QCOMPARE(c->tripLog().text(), log);
    ModelRig::advance(6000);
    QCOMPARE(rig.display(), prompt("　　終點？(Y/N)"));
    // Idle now: the enter key neither beeps again nor turns anything.
    rig.press(QStringLiteral("輸入"));
    QCOMPARE(rig.desktop().count(QStringLiteral("beep")), 1);
    QCOMPARE(rig.display(), prompt("　　終點？(Y/N)"));
    rig.press(QStringLiteral("取消"));
    QCOMPARE(rig.display(), QStringList({"車費　　　9.10", "路線　　　2X", "往　東公園", ""}));
}

void TestConsole::modeStartsIdle()
{
    ModelRig rig(kExample);
    rig.start();
    const Console* c = &rig.console();
    QCOMPARE(c->mode(), Mode::Idle);
    rig.logIn();
    QCOMPARE(c->mode(), Mode::Idle);
    const QString log = c->tripLog().text();
    rig.press(QStringLiteral("輸入"));
    QCOMPARE(c->tripLog().text(), log);
    QCOMPARE(currentLine(c), QStringLiteral("0"));
    QCOMPARE(rig.desktop().count(QStringLiteral("beep")), 0);
}

void TestConsole::shiftEndsWithRouteEntry_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("shiftAfter");
    QTest::newRow("route found") << "路線 1 2 SHIFT 輸入" << false;
    QTest::newRow("route not found: still typing") << "路線 9 SHIFT 輸入" << true;
    QTest::newRow("power off") << "路線 SHIFT 開/關" << false;
    QTest::newRow("power off and on") << "路線 SHIFT 開/關 開/關" << false;
}

void TestConsole::shiftEndsWithRouteEntry()
{
    QFETCH(QString, keys);
    QFETCH(bool, shiftAfter);
    ModelRig rig(kExample);
    rig.start();
    rig.logIn();
    rig.press(keys);
    QCOMPARE(rig.console().shiftOn(), shiftAfter);
    QCOMPARE(rig.console().shiftIndicator(), shiftAfter ? QStringLiteral("SH") : QString());
    if (!rig.console().keyEnabled(ModelRig::keyFor(QStringLiteral("起點"))))
        return; // switched off
    rig.press(QStringLiteral("起點"));
    if (shiftAfter)
        QCOMPARE(rig.display().at(2), QStringLiteral("V"));
    else
        QCOMPARE(rig.display(), prompt("　　起點？(Y/N)"));
}
void TestConsole::exampleTable_data()
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

void TestConsole::exampleTable()
{
    QFETCH(QString, keys);
    QFETCH(QString, tag);
    QFETCH(QStringList, logged);
    QFETCH(int, beeps);
    ModelRig rig(kExample);
    rig.start();
    rig.logIn();
    const Console* c = &rig.console();
    const qsizetype before = events(c).size();
    rig.press(keys);
    QCOMPARE(currentLine(c), tag);
    QCOMPARE(events(c).mid(before), logged);
    QCOMPARE(rig.desktop().count(QStringLiteral("beep")), beeps);
    QCOMPARE(c->mode(), Mode::Idle);
}

void TestConsole::routeScreen_data()
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

void TestConsole::routeScreen()
{
    QFETCH(QString, table);
    QFETCH(QString, keys);
    QFETCH(QStringList, screen);
    QFETCH(QString, fare);
    QFETCH(QString, inService);
    ModelRig rig(table);
    rig.start();
    rig.logIn();
    const Console* c = &rig.console();
    rig.press(keys);
    QCOMPARE(storedLines(c), screen.mid(0, 3));
    // The processor holds the fare in cents, as its in-service screen shows it.
    QCOMPARE(QStringLiteral("$") + rig.processor().fare().text(), inService);
    QCOMPARE(lastEvent(c), QStringLiteral(" Fare Changed ") + fare);
    ModelRig::advance(2000);
    QCOMPARE(rig.display(), screen);
    QCOMPARE(rig.bcpLines().at(2), inService);
}

void TestConsole::fareNotANumberShownAsItStands_data()
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

void TestConsole::fareNotANumberShownAsItStands()
{
    QFETCH(QString, line);
    QFETCH(QString, fareLine);
    ModelRig rig(QStringLiteral("1#A#2.00\r\n") + line + QStringLiteral("\r\n"));
    rig.start();
    rig.logIn();
    rig.press(QStringLiteral("路線 7 輸入"));
    QCOMPARE(storedLines(&rig.console()), QStringList({fareLine, "路線　　　7", "往　碼頭"}));
    // Charging it is impossible: the processor ends the program, naming the second line.
    QCOMPARE(rig.desktop().texts(QStringLiteral("fatal")),
             QStringList{QStringLiteral("計算錯誤，離開。\n%1 第 2 行的車資「%2」不是數字。")
                             .arg(rig.file(QStringLiteral("routes.dat")), line.section(u'#', 2))});
}

void TestConsole::waitScreenThenRouteScreen_data()
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

void TestConsole::waitScreenThenRouteScreen()
{
    QFETCH(QString, keys);
    QFETCH(QStringList, screen);
    ModelRig rig(kExample);
    rig.start();
    rig.logIn();
    ModelRig::advance(500); // out of step with the processor's display ticks
    rig.press(keys);
    QCOMPARE(rig.display(), kWaitScreen);
    QCOMPARE(rig.bcpLines(), QStringList({"OUT OF", "SERVICE", "暫停服務"}));
    ModelRig::advance(1999);
    QCOMPARE(rig.display(), kWaitScreen);
    ModelRig::advance(1);
    QCOMPARE(rig.display(), screen);
    QCOMPARE(rig.bcpLines().at(0), QStringLiteral("IN SERVICE"));
}

void TestConsole::storedRouteGone()
{
    ModelRig rig(kExample);
    ModelRig::store(Settings::Lastroute, QStringLiteral("99"));
    rig.start();
    const Console* c = &rig.console();
    const QString log = c->tripLog().text();
    logInWithoutWaiting(rig);
    QCOMPARE(rig.display().at(2), kNotFound);
    QCOMPARE(c->mode(), Mode::RouteEntry);
    QCOMPARE(c->tripLog().text(), log); // nothing loaded
    QCOMPARE(rig.processor().fare().inCents(), 0);
    ModelRig::advance(1999);
    QCOMPARE(rig.display().at(2), kNotFound);
    ModelRig::advance(1);
    QCOMPARE(rig.display(), kBarePrefixes + QStringList{""});
    QCOMPARE(c->mode(), Mode::RouteEntry);
    QCOMPARE(rig.bcpLines(), QStringList({"IN SERVICE", "歡迎使用服務", "$0.00"}));
    QCOMPARE(ModelRig::stored(Settings::Lastroute), QStringLiteral("99"));
}

void TestConsole::emptyDestinationPassedOver()
{
    ModelRig rig(QStringLiteral("12##5.40\r\n12#北門#5.40\r\n"));
    rig.start();
    rig.logIn();
    const Console* c = &rig.console();
    rig.press(QStringLiteral("路線 1 2 輸入"));
    QCOMPARE(currentLine(c), QStringLiteral("1"));
    QCOMPARE(storedLines(c), QStringList({"車費　　　5.40", "路線　　　12", "往　北門"}));
}

void TestConsole::steppingInRouteEntry_data()
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

void TestConsole::steppingInRouteEntry()
{
    QFETCH(QString, keys);
    QFETCH(QString, tag);
    ModelRig rig(kExample);
    rig.start();
    rig.logIn();
    const Console* c = &rig.console();
    rig.press(QStringLiteral("路線 1 2 輸入 ↓ 路線"));
    QCOMPARE(c->mode(), Mode::RouteEntry);
    rig.press(keys);
    QCOMPARE(currentLine(c), tag);
    QCOMPARE(c->mode(), Mode::RouteEntry);
    const QStringList fares = {"5.40", "4.20", "2.80"};
    QCOMPARE(lastEvent(c), QStringLiteral(" Fare Changed ") + fares.at(tag.toInt()));
}

void TestConsole::arrowsBeforeAnyLoad_data()
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

void TestConsole::arrowsBeforeAnyLoad()
{
    QFETCH(QString, stage);
    QFETCH(QString, line);
    ModelRig rig(kExample);
    if (stage == u"gone")
        ModelRig::store(Settings::Lastroute, QStringLiteral("99"));
    rig.start();
    const Console* c = &rig.console();
    const CardProcessor* p = &rig.processor();
    if (stage == u"later") {
        rig.logIn();
        rig.press(QStringLiteral("開/關"));
    }
    if (stage == u"gone")
        logInWithoutWaiting(rig);
    else
        rig.powerOn();
    if (stage == u"prompt")
        rig.waitForPrompt();
    QVERIFY(c->isOn());
    const QStringList lines = rig.display();
    const QString log = c->tripLog().text();
    const CardProcessor::ScreenState state = p->screenState();
    QCOMPARE(currentLine(c), line);
    rig.press(QStringLiteral("↓ ↑ ↓"));
    QCOMPARE(currentLine(c), line);
    QCOMPARE(rig.display(), lines);
    QCOMPARE(c->tripLog().text(), log);
    QCOMPARE(p->screenState(), state);
    QCOMPARE(rig.desktop().count(QStringLiteral("beep")), 0);
    if (stage == u"later") {
        rig.waitForPrompt();
        QCOMPARE(rig.bcpLines(), QStringList({"PRESENT YOUR", "CARD TO LOGIN", "請使用卡登入"}));
    }
}

void TestConsole::routeFileProblems_data()
{
    QTest::addColumn<QString>("table"); // null: no file
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("warnings");
    QTest::newRow("missing") << QString() << 0 << 1;
    QTest::newRow("empty") << QStringLiteral("") << 0 << 0;
    QTest::newRow("blank first line") << QStringLiteral("\r\n12#北門#5.40\r\n") << 2 << 0;
}

void TestConsole::routeFileProblems()
{
    QFETCH(QString, table);
    QFETCH(int, entries);
    QFETCH(int, warnings);
    ModelRig rig(table);
    rig.start();
    const Console* c = &rig.console();
    QCOMPARE(c->routes().lines().size(), entries);
    const QStringList warned = rig.desktop().texts(QStringLiteral("warn"));
    QCOMPARE(warned.size(), warnings);
    if (warnings)
        QVERIFY2(warned.first().contains(QDir::toNativeSeparators(rig.file("routes.dat"))),
                 qPrintable(warned.first()));

    // The first-line load at log-in finds no fields: everything stays empty, and the
    // processor goes into service with no fare rather than failing on an empty one.
    rig.logIn();
    QCOMPARE(currentLine(c), QStringLiteral("0"));
    QCOMPARE(c->routes().route(), QString());
    QCOMPARE(c->routes().destination(), QString());
    QCOMPARE(c->routes().routeLine().fareText, QString());
    QCOMPARE(storedLines(c), kBarePrefixes);
    QCOMPARE(lastEvent(c), QStringLiteral(" Route Changed "));
    QCOMPARE(rig.desktop().count(QStringLiteral("fatal")), 0);
    QCOMPARE(rig.display(), kBarePrefixes + QStringList{""});
    QCOMPARE(rig.bcpLines(), QStringList({"IN SERVICE", "歡迎使用服務", "$0.00"}));

    rig.press(QStringLiteral("路線 1 2 輸入"));
    QCOMPARE(rig.display().at(2), entries ? QStringLiteral("") : kNotFound);
    QCOMPARE(c->mode(), entries ? Mode::Idle : Mode::RouteEntry);
}

QTEST_GUILESS_MAIN(TestConsole)
#include "tst_console.moc"
