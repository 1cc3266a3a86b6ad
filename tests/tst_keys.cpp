// The console's keys on its panel: each key region reaches the console, and the SHIFT
// indicator is drawn. What the keys do is tested without a window in tst_console.
#include "panels/KeyRegion.h"
#include "panels/frmDDU.h"
#include "shell/frmMDI.h"
#include "support/Readout.h"
#include "support/TestEnv.h"

#include <QLabel>
#include <QTest>

using namespace Readout;

namespace {

QString shiftLabel(const frmMDI* w)
{
    return TestEnv::find<QLabel>(w->ddu(), QStringLiteral("lblShift"))->text();
}

} // namespace

class TestKeys : public QObject {
    Q_OBJECT
private slots:
    void eachLetter_data();
    void eachLetter();
    void shiftEndsWithRouteEntry_data();
    void shiftEndsWithRouteEntry();
};

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

// A click on a key's region reaches the console as that key.
void TestKeys::eachLetter()
{
    QFETCH(QString, key);
    QFETCH(QString, plain);
    const QString letter = QString::fromLatin1(QTest::currentDataTag());
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    frmDDU* d = w->ddu();
    QWidget* region = TestEnv::find<KeyRegion>(d, key);
    TestEnv::press(w.get(), QStringLiteral("路線 SHIFT"));
    TestEnv::click(region);
    QCOMPARE(display(d).at(2), letter);
    if (plain.isNull())
        return;
    TestEnv::click(region);
    QCOMPARE(display(d).at(2), letter + plain);
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

// The indicator is drawn as the console keeps it, and goes with it.
void TestKeys::shiftEndsWithRouteEntry()
{
    QFETCH(QString, keys);
    QFETCH(bool, shiftAfter);
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    TestEnv::press(w.get(), keys);
    QCOMPARE(shiftLabel(w.get()), shiftAfter ? QStringLiteral("SH") : QString());
}

QTEST_MAIN(TestKeys)
#include "tst_keys.moc"
