// The console worked from the keyboard, and what assistive technology is told of the
// keys, lamps and display lines.
#include "support/TestEnv.h"

#include "bcp/CardProcessor.h"
#include "ddu/Console.h"
#include "panels/Accessibility.h"
#include "panels/KeyRegion.h"
#include "panels/frmBCP.h"
#include "panels/frmDDU.h"
#include "platform/Settings.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"
#include "support/LogFormat.h"
#include "support/Readout.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

using namespace Readout;

namespace {

// The main window as the active one, so that its keys work.
std::unique_ptr<frmMDI> startActive(TestEnv& env)
{
    auto w = env.start();
    QApplication::setActiveWindow(w.get());
    return w;
}

// Keys as a user types them: "F5 1 2 Return", a single character stands for its key.
void type(frmMDI* w, const QString& keys)
{
    for (const QString& k : keys.split(u' ', Qt::SkipEmptyParts)) {
        const QKeySequence seq(k);
        QTest::keyClick(w, Qt::Key(seq[0].key()), seq[0].keyboardModifiers());
    }
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void workingDay();
    void letters_data();
    void letters();
    void keyMap_data();
    void keyMap();
    void noSingleKeyWorksThePower();
    void yesNo_data();
    void yesNo();
    void cardTap_data();
    void cardTap();
    void pressedForAMoment();
    void quitAndHelp_data();
    void quitAndHelp();
    void keysNamed();
    void keysPressedByAssistiveTechnology_data();
    void keysPressedByAssistiveTechnology();
    void lampsAndLinesAnnounced();
    void messagesAnnouncedOnce_data();
    void messagesAnnouncedOnce();
    void focusBackAfterDialogs_data();
    void focusBackAfterDialogs();
};

// Power, log-in with the card key, a route typed with letters, a section, the terminus
// and the output, without a pointer.
void TestKeyboard::workingDay()
{
    TestEnv env(TestEnv::ExampleRoutes + QStringLiteral("2X#西灣河#9.10\r\n"));
    TestEnv::store(Settings::CardType, QStringLiteral("4"));
    auto w = startActive(env);
    type(w.get(), QStringLiteral("Ctrl+P"));
    TestEnv::waitForPrompt(w.get());
    // One tap logs in; the card is gone before the first read.
    type(w.get(), QStringLiteral("Ins"));
    TestEnv::advance(4000);
    QVERIFY(w->processor()->loggedIn());
    QVERIFY(!w->processor()->cardShown());
    type(w.get(), QStringLiteral("F5 2 X Return"));
    QCOMPARE(w->console()->routes().route(), QStringLiteral("2X"));
    type(w.get(), QStringLiteral("F7 Y Down F9 Num+Enter"));
    TestEnv::advance(2000);
    const QStringList block =
        LogFormat::lines(QString::fromUtf8(env.readFile(QStringLiteral("log.txt"))));
    QStringList events;
    for (const QString& line : block.mid(1, block.size() - 2))
        events << line.mid(8);
    QCOMPARE(events,
             QStringList({" Start Logging", " Route Changed 12", " Fare Changed 5.40",
                          " Route Changed 2X", " Fare Changed 9.10", " Route Changed 2X",
                          " Fare Changed 9.10", " Finished Trip", " Direction Changed", " -----"}));
}

void TestKeyboard::letters_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Console::KeypadMode>("mode");
    const auto entry = Console::KeypadMode::RouteEntry;
    QTest::newRow("digits and a letter") << "F5 2 X"
                                         << "2X" << entry;
    QTest::newRow("small letter") << "F5 n 8"
                                  << "N8" << entry;
    QTest::newRow("shifted letter") << "F5 Shift+M"
                                    << "M" << entry;
    QTest::newRow("keypad digits") << "F5 Num+3 Num+1"
                                   << "31" << entry;
    QTest::newRow("every kind of key's letter") << "F5 T A D H L M Q R S U V W Y Z"
                                                << "TADHLMQRSUVWYZ" << entry;
    // SHIFT already on: the letter still types itself, not a digit.
    QTest::newRow("after SHIFT") << "F5 F3 X 1"
                                 << "X1" << entry;
    QTest::newRow("space") << "F5 1 Space 2"
                           << "1 2" << entry;
    // Outside route entry a letter does nothing, not even the key that carries it.
    QTest::newRow("letter while idle") << "X U"
                                       << "" << Console::KeypadMode::Idle;
    QTest::newRow("cancelled") << "F5 1 Esc 2"
                               << "1" << Console::KeypadMode::Idle;
}

void TestKeyboard::letters()
{
    QFETCH(QString, keys);
    QFETCH(QString, typed);
    QFETCH(Console::KeypadMode, mode);
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = startActive(env);
    TestEnv::logIn(w.get());
    type(w.get(), keys);
    QCOMPARE(w->console()->typedRoute(), typed);
    QCOMPARE(w->console()->mode(), mode);
    if (mode == Console::KeypadMode::RouteEntry)
        QCOMPARE(display(w->ddu()).at(2), typed);
}

void TestKeyboard::keyMap_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("pressed"); // the console key drawn pressed; empty for none
    QTest::addColumn<bool>("on");         // the console afterwards
    QTest::newRow("power with Ctrl") << "Ctrl+P"
                                     << "imgOF" << false;
    QTest::newRow("F2 alone") << "F2"
                              << "" << true;
    QTest::newRow("P alone") << "P"
                             << "" << true;
    QTest::newRow("printed F1") << "Shift+F1"
                                << "imgF1" << true;
    QTest::newRow("printed F2") << "Shift+F2"
                                << "imgF2" << true;
    QTest::newRow("printed F3") << "Shift+F3"
                                << "imgF3" << true;
    QTest::newRow("printed F4") << "Shift+F4"
                                << "imgF4" << true;
    QTest::newRow("F1 is the help page's") << "F1"
                                           << "" << true;
    QTest::newRow("F3 is SHIFT") << "F3"
                                 << "imgShift" << true;
}

// At the log-in prompt, where the printed F keys work and the service keys do not yet.
void TestKeyboard::keyMap()
{
    QFETCH(QString, keys);
    QFETCH(QString, pressed);
    QFETCH(bool, on);
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = startActive(env);
    TestEnv::powerOn(w.get());
    TestEnv::waitForPrompt(w.get());
    type(w.get(), keys);
    QStringList drawn;
    for (const KeyInfo& k : Keys::all())
        if (TestEnv::find<KeyRegion>(w.get(), QLatin1String(k.name))->drawnPressed())
            drawn << QLatin1String(k.name);
    QCOMPARE(drawn, pressed.isEmpty() ? QStringList() : QStringList{pressed});
    QCOMPARE(w->console()->isOn(), on);
}

void TestKeyboard::noSingleKeyWorksThePower()
{
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = startActive(env);
    QList<int> keys;
    for (int k = Qt::Key_Space; k <= Qt::Key_AsciiTilde; ++k)
        if (k < 'a' || k > 'z') // Qt names a letter by its capital
            keys << k;
    for (auto [from, to] :
         {std::pair(Qt::Key_Escape, Qt::Key_Delete), std::pair(Qt::Key_Home, Qt::Key_PageDown),
          std::pair(Qt::Key_F1, Qt::Key_F35)})
        for (int k = from; k <= to; ++k)
            keys << k;
    for (int k : keys) {
        QTest::keyClick(w.get(), Qt::Key(k));
        QVERIFY2(!w->console()->isOn(), qPrintable(QKeySequence(k).toString()));
        QVERIFY(!w->unloaded());
    }
}

void TestKeyboard::yesNo_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("same"); // the console keys that do the same
    const char* prompts[] = {"F6", "F7", "F8", "F9"};
    for (const char* prompt : prompts) {
        const QString k = QLatin1String(prompt);
        QTest::addRow("%s Y", prompt) << k + QStringLiteral(" Y") << k + QStringLiteral(" Return");
        QTest::addRow("%s N", prompt) << k + QStringLiteral(" N") << k + QStringLiteral(" Esc");
    }
    // No (Y/N) question: route letters, or nothing at all.
    QTest::newRow("route entry") << "F5 Y N"
                                 << "F5 F3 Esc F3 Shift+F2";
    QTest::newRow("idle") << "Y N"
                          << "";
}

void TestKeyboard::yesNo()
{
    QFETCH(QString, keys);
    QFETCH(QString, same);
    struct Outcome {
        Console::KeypadMode mode;
        QStringList display;
        QString log;
    };
    auto run = [](const QString& k) {
        TestEnv env(TestEnv::ExampleRoutes);
        auto w = startActive(env);
        TestEnv::logIn(w.get());
        type(w.get(), k);
        TestEnv::advance(500);
        return Outcome{w->console()->mode(), display(w->ddu()), w->console()->tripLog().text()};
    };
    const Outcome byLetter = run(keys);
    const Outcome byKeys = run(same);
    QCOMPARE(byLetter.mode, byKeys.mode);
    QCOMPARE(byLetter.display, byKeys.display);
    QCOMPARE(byLetter.log, byKeys.log);
}

void TestKeyboard::cardTap_data()
{
    QTest::addColumn<QString>("state"); // off, prompt or service
    QTest::addColumn<CardType>("card");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");  // processor line 1 as the card goes; empty: any
    QTest::addColumn<QString>("logged"); // the read in the trip log; empty: none
    QTest::addColumn<bool>("loggedIn");
    QTest::newRow("log-in") << "prompt" << CardType::Startup << "Ins"
                            << "PRESENT YOUR"
                            << "" << true;
    QTest::newRow("log-in refused") << "prompt" << CardType::Adult << "Ins"
                                    << "此卡無效　　"
                                    << "" << false;
    QTest::newRow("fare paid") << "service" << CardType::Adult << "Ins"
                               << ""
                               << " Paid: Adult Fare $5.40" << true;
    QTest::newRow("misplaced") << "service" << CardType::Adult << "Shift+Ins"
                               << "請再拍卡　  "
                               << "" << true;
    QTest::newRow("switched off") << "off" << CardType::Adult << "Ins"
                                  << ""
                                  << "" << false;
}

void TestKeyboard::cardTap()
{
    QFETCH(QString, state);
    QFETCH(CardType, card);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(QString, logged);
    QFETCH(bool, loggedIn);
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = startActive(env);
    CardProcessor* p = w->processor();
    if (state == u"prompt") {
        TestEnv::powerOn(w.get());
        TestEnv::waitForPrompt(w.get());
    } else if (state == u"service")
        TestEnv::logIn(w.get());
    p->setCardType(card);
    type(w.get(), keys);
    QVERIFY(p->cardShown());
    // Held until the answer is on screen, then taken away.
    int held = 0;
    for (; p->cardShown() && held < 6000; held += 100)
        TestEnv::advance(100);
    QVERIFY(!p->cardShown());
    QVERIFY(held < 4000); // by the answer, not by the longest hold
    if (!shown.isEmpty())
        QCOMPARE(p->line(0), shown);
    TestEnv::advance(5000);
    QCOMPARE(p->loggedIn(), loggedIn);
    const QString log = w->console()->tripLog().text();
    for (const QString& read : {QStringLiteral(" Not enough value"),
                                QStringLiteral(" Card Processed"), QStringLiteral(" Paid:")})
        QCOMPARE(log.contains(read), !logged.isEmpty() && logged.startsWith(read));
    if (!logged.isEmpty())
        QVERIFY(log.contains(logged));
}

void TestKeyboard::pressedForAMoment()
{
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = startActive(env);
    auto* power = TestEnv::find<KeyRegion>(w.get(), QStringLiteral("imgOF"));
    auto* route = TestEnv::find<KeyRegion>(w.get(), QStringLiteral("imgRoute"));
    type(w.get(), QStringLiteral("Ctrl+P"));
    QVERIFY(power->drawnPressed());
    TestEnv::advance(149);
    QVERIFY(power->drawnPressed());
    TestEnv::advance(1);
    QVERIFY(!power->drawnPressed());
    // A key that does nothing now is not drawn pressed either.
    type(w.get(), QStringLiteral("F5"));
    QVERIFY(!route->drawnPressed());
    QCOMPARE(w->console()->mode(), Console::KeypadMode::Idle);
}

void TestKeyboard::quitAndHelp_data()
{
    // How the close comes, what there is to lose and the answer to the question; then what
    // happened: asked, closed, written (log.txt holds the entry), warned.
    QTest::addColumn<QString>("close");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("after");
    auto row = [](const char* name, const char* close, const char* before, const char* answer,
                  const char* after) {
        QTest::newRow(name) << close << before << QString::fromUtf8(answer) << after;
    };
    row("nothing to lose", "Ctrl+Q", "", "", "closed");
    row("stay", "Ctrl+Q", "logged", "取消", "asked");
    row("default: stay", "Ctrl+Q", "logged", "", "asked");
    row("quit anyway", "Ctrl+Q", "logged", "不輸出，結束(&Q)", "asked closed");
    row("output first", "Ctrl+Q", "logged", "輸出後結束(&O)", "asked closed written");
    row("output fails", "Ctrl+Q", "logged unwritable", "輸出後結束(&O)", "asked warned");
    row("signal", "signal", "logged", "", "closed");
    row("signal while asked", "Ctrl+Q signal", "logged", "", "asked closed");
}

void TestKeyboard::quitAndHelp()
{
    QFETCH(QString, close);
    QFETCH(QString, before);
    QFETCH(QString, after);
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = startActive(env);
    type(w.get(), QStringLiteral("F1"));
    QCOMPARE(env.desktop().texts(QStringLiteral("openFile")).size(), 1);
    if (before.contains(u"logged"))
        w->console()->log(TripEvent::StartTrip);
    if (before.contains(u"unwritable"))
        QVERIFY(QDir(env.dir()).mkdir(QStringLiteral("log.txt")));
    const QString log = w->console()->tripLog().text();
    QFETCH(QString, answer);
    env.desktop().answer = answer;
    if (close.contains(u"signal"))
        env.desktop().whileShown = [&] { w->closeNow(); };
    if (close == u"signal")
        w->closeNow();
    else
        type(w.get(), QStringLiteral("Ctrl+Q"));
    QCoreApplication::processEvents(); // the output runs once the close is over

    const bool closed = after.contains(u"closed");
    QCOMPARE(env.desktop().count(QStringLiteral("ask")), after.contains(u"asked") ? 1 : 0);
    QCOMPARE(w->unloaded(), closed);
    QCOMPARE(w->isVisible(), !closed);
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), after.contains(u"warned") ? 1 : 0);
    QCOMPARE(QFileInfo(env.dir() + QStringLiteral("/log.txt")).isFile(),
             after.contains(u"written"));
    if (after.contains(u"written"))
        QVERIFY(env.readFile(QStringLiteral("log.txt")).contains(" Start Trip\r\n"));
    // Staying keeps every entry, in memory or in the block still to be written.
    if (!closed)
        QVERIFY(w->console()->tripLog().text() == log || w->console()->tripLog().blocksPending());
}

void TestKeyboard::keysNamed()
{
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = env.start();
    for (const KeyInfo& k : Keys::all()) {
        const QWidget* key = TestEnv::key(w.get(), QLatin1String(k.name));
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(key));
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::Button);
        QVERIFY2(a->actionInterface(), k.name);
        QCOMPARE(a->actionInterface()->actionNames(),
                 QStringList{QAccessibleActionInterface::pressAction()});
        QString name = QString::fromUtf16(k.caption);
        if (k.letter)
            name += u' ' + QChar::fromLatin1(k.letter);
        QCOMPARE(a->text(QAccessible::Name), name);
        QVERIFY2(a->text(QAccessible::Description).contains(QString::fromUtf16(k.caption)), k.name);
        // The tooltip names the keyboard key, or the letter for a key that only types one.
        const QString keyboard =
            k.keyboard ? QKeySequence(QLatin1String(k.keyboard)).toString(QKeySequence::NativeText)
                       : QString(QChar::fromLatin1(k.letter));
        QVERIFY2(key->toolTip().contains(QStringLiteral("鍵盤：") + keyboard), k.name);
    }
}

void TestKeyboard::keysPressedByAssistiveTechnology_data()
{
    QTest::addColumn<bool>("logIn");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("on");
    QTest::addColumn<Console::KeypadMode>("mode");
    QTest::addColumn<bool>("drawnPressed");
    const auto idle = Console::KeypadMode::Idle;
    QTest::newRow("power") << false << "imgOF" << true << idle << true;
    QTest::newRow("power off again") << true << "imgOF" << false << idle << true;
    QTest::newRow("route and a digit")
        << true << "imgRoute imgNo_7" << true << Console::KeypadMode::RouteEntry << true;
    // A key that does nothing now is pressed no more than a click would press it.
    QTest::newRow("service key before the log-in")
        << false << "imgOF imgRoute" << true << idle << false;
}

void TestKeyboard::keysPressedByAssistiveTechnology()
{
    QFETCH(bool, logIn);
    QFETCH(QString, keys);
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = env.start();
    if (logIn)
        TestEnv::logIn(w.get());
    QWidget* last = nullptr;
    for (const QString& name : keys.split(u' ')) {
        last = TestEnv::key(w.get(), name);
        QAccessible::queryAccessibleInterface(last)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
    }
    QTEST(w->console()->isOn(), "on");
    QTEST(w->console()->mode(), "mode");
    QTEST(static_cast<KeyRegion*>(last)->drawnPressed(), "drawnPressed");
}

void TestKeyboard::lampsAndLinesAnnounced()
{
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = env.start();
    QStringList heard;
    Accessibility::setListener([&](QWidget* widget) {
        if (!qobject_cast<Notice*>(widget))
            heard << widget->objectName() + u'=' + widget->accessibleName();
    });
    const auto stopListening = qScopeGuard([] { Accessibility::setListener({}); });
    auto name = [&](const char* object) {
        QWidget* widget = TestEnv::find(w.get(), QLatin1String(object));
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    QCOMPARE(name("picRed"), QStringLiteral("紅燈（熄）"));
    QCOMPARE(name("picYellow"), QStringLiteral("黃燈（熄）"));
    QCOMPARE(name("picGreen"), QStringLiteral("綠燈（熄）"));
    TestEnv::powerOn(w.get());
    TestEnv::advance(2000); // the lamp test lights green
    QCOMPARE(heard, QStringList{QStringLiteral("picGreen=綠燈（亮）")});
    TestEnv::advance(4000); // yellow, red, then all three go out together
    QCOMPARE(heard.mid(1),
             QStringList({"picYellow=黃燈（亮）", "picRed=紅燈（亮）", "picRed=紅燈（熄）",
                          "picYellow=黃燈（熄）", "picGreen=綠燈（熄）"}));
    TestEnv::waitForPrompt(w.get());
    QCOMPARE(name("lbl1"), QStringLiteral("PRESENT YOUR"));
    // Said without the spaces that align it; drawn with them.
    QCOMPARE(name("lblLine2"), QStringLiteral("請使用卡登入"));
    QCOMPARE(TestEnv::find<QLabel>(w.get(), QStringLiteral("lblLine2"))->text(),
             QStringLiteral("　　請使用卡登入"));
    QCOMPARE(name("lblLine1"), QString()); // a single space
}

// Each read's result and each message or question is said once; the idle screens, the
// typed route and the clock are not.
void TestKeyboard::messagesAnnouncedOnce_data()
{
    // Steps: whole steps of a day, "clear" (the screens settle, nothing heard so far
    // counts), "idle" (6 s of idle screens and clock ticks) or the keys to press.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("said");
    QTest::newRow("boot") << QStringList{"power", "prompt"}
                          << QStringList{"frmDDU=PLEASE WAIT", "frmDDU=請使用卡登入"};
    QTest::newRow("refused start-up card")
        << QStringList{"power", "prompt", "clear", "read"} << QStringList{"frmBCP=此卡無效"};
    QTest::newRow("idle screens and the clock")
        << QStringList{"login", "clear", "idle"} << QStringList{};
    QTest::newRow("paid") << QStringList{"login", "clear", "read"}
                          << QStringList{"frmDDU=成人 $5.40", "frmBCP=成人 $5.40 剩餘值 $94.60"};
    QTest::newRow("paid, then refused")
        << QStringList{"login", "clear", "read", "idle", "read"}
        << QStringList{"frmDDU=成人 $5.40", "frmBCP=成人 $5.40 剩餘值 $94.60", "frmDDU=此卡已處理",
                       "frmBCP=此卡已處理"};
    QTest::newRow("misplaced card") << QStringList{"login", "clear", "misread"}
                                    << QStringList{"frmBCP=請再拍卡", "frmDDU=不能讀取資料"};
    // The digits typed are not said, nor the route screen that follows.
    QTest::newRow("unknown route")
        << QStringList{"login", "clear", "路線 2 輸入"}
        << QStringList{"frmDDU=路線號？", "frmDDU=路線號？ 沒有此路線資料！"};
    QTest::newRow("route") << QStringList{"login", "clear", "路線 1 2 輸入"}
                           << QStringList{"frmDDU=路線號？",
                                          "frmDDU=正在擷取路線資料... 請稍候..."};
}

void TestKeyboard::messagesAnnouncedOnce()
{
    QFETCH(QStringList, steps);
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = env.start();
    QStringList said;
    Accessibility::setListener([&](QWidget* widget) {
        if (qobject_cast<Notice*>(widget))
            said << widget->parent()->objectName() + u'=' + widget->accessibleName();
    });
    const auto stopListening = qScopeGuard([] { Accessibility::setListener({}); });
    for (const QString& step : steps) {
        if (step == QLatin1String("power"))
            TestEnv::powerOn(w.get());
        else if (step == QLatin1String("prompt"))
            TestEnv::waitForPrompt(w.get());
        else if (step == QLatin1String("login"))
            TestEnv::logIn(w.get());
        else if (step == QLatin1String("clear"))
            TestEnv::advance(5000), said.clear();
        else if (step == QLatin1String("read"))
            TestEnv::read(w.get());
        else if (step == QLatin1String("misread"))
            TestEnv::present(w.get(), 3000, 1900), TestEnv::advance(1000);
        else if (step == QLatin1String("idle"))
            TestEnv::advance(6000);
        else
            TestEnv::press(w.get(), step), TestEnv::advance(3000);
    }
    QTEST(said, "said");
}

void TestKeyboard::focusBackAfterDialogs_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("card") << "mnuSetting";
    QTest::newRow("options") << "mnuOptions";
    QTest::newRow("about") << "mnuAbout";
}

void TestKeyboard::focusBackAfterDialogs()
{
    QFETCH(QString, entry);
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = startActive(env);
    QTimer::singleShot(0, [] {
        if (QWidget* d = QApplication::activeModalWidget())
            QTest::keyClick(d, Qt::Key_Escape);
    });
    TestEnv::action(w.get(), entry)->trigger();
    QCOMPARE(QApplication::activeWindow(), w.get());
    QCOMPARE(QApplication::focusWidget(), w.get());
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
