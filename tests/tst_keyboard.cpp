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
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTest>

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
    void pressedForAMoment();
    void quitAndHelp_data();
    void quitAndHelp();
    void keysNamed();
    void lampsAndLinesAnnounced();
};

// Power, log-in with the card key, a route typed with letters, a section, the terminus
// and the output, without a pointer.
void TestKeyboard::workingDay()
{
    TestEnv env(TestEnv::ExampleRoutes + QStringLiteral("2X#西灣河#9.10\r\n"));
    TestEnv::store(Settings::CardType, QStringLiteral("4"));
    auto w = startActive(env);
    type(w.get(), QStringLiteral("F2"));
    TestEnv::waitForPrompt(w.get());
    type(w.get(), QStringLiteral("Ins"));
    TestEnv::advance(2000);
    type(w.get(), QStringLiteral("Ins"));
    QVERIFY(w->processor()->loggedIn());
    QVERIFY(!w->processor()->cardShown());
    type(w.get(), QStringLiteral("F5 2 X Return"));
    QCOMPARE(w->console()->routes().route(), QStringLiteral("2X"));
    type(w.get(), QStringLiteral("F7 Return Down F9 Num+Enter"));
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

void TestKeyboard::pressedForAMoment()
{
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = startActive(env);
    auto* power = TestEnv::find<KeyRegion>(w.get(), QStringLiteral("imgOF"));
    auto* route = TestEnv::find<KeyRegion>(w.get(), QStringLiteral("imgRoute"));
    type(w.get(), QStringLiteral("F2"));
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

void TestKeyboard::lampsAndLinesAnnounced()
{
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = env.start();
    QStringList heard;
    Accessibility::setListener(
        [&](QWidget* widget) { heard << widget->objectName() + u'=' + widget->accessibleName(); });
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
    QCOMPARE(name("lblLine2"), QStringLiteral("　　請使用卡登入"));
    Accessibility::setListener({});
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
