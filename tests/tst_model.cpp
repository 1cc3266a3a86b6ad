// The devices' rules and timelines on the model rig: no window, no platform plugin.
#include "bcp/CardProcessor.h"
#include "common/Clock.h"
#include "ddu/Console.h"
#include "platform/Settings.h"
#include "platform/StoreFile.h"
#include "support/FakeDesktop.h"
#include "support/ModelRig.h"
#include "support/Readout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace Readout;

class TestModel : public QObject {
    Q_OBJECT
private slots:
    void chargedOnceWhateverRunsMeanwhile_data();
    void chargedOnceWhateverRunsMeanwhile();
    void lockLastsFifteenSeconds();
    void typedRouteGoesWithThePower();
    void storedTextsKeepTheirBlanks_data();
    void storedTextsKeepTheirBlanks();
};

void TestModel::chargedOnceWhateverRunsMeanwhile_data()
{
    QTest::addColumn<bool>("fromListener");
    // A box opened by a listener of the card's change, in the middle of the read.
    QTest::newRow("box during the read") << true;
    // The store edited by hand so that it can no longer be read whole: the save that
    // follows the payment fails and warns inside the next display tick's yield.
    QTest::newRow("failed save during a tick") << false;
}

void TestModel::chargedOnceWhateverRunsMeanwhile()
{
    QFETCH(bool, fromListener);
    ModelRig rig(QStringLiteral("12#北門#2.30\r\n"));
    rig.start();
    rig.logIn();
    CardProcessor& p = rig.processor();
    const Money before = p.purse();
    // The box stays up five seconds: every tick due meanwhile runs inside it.
    rig.desktop().whileShown = [] {
        QCoreApplication::processEvents();
        ModelRig::advance(5000);
    };
    if (fromListener)
        QObject::connect(&p, &CardProcessor::cardValuesChanged,
                         [] { Desktop::instance().warn(QStringLiteral("!")); });
    else {
        QFile store(StoreFile::path());
        QVERIFY(store.open(QIODevice::WriteOnly | QIODevice::Truncate));
        store.write("[pelumo.exe]\nCardType=\"2\n"); // a quotation mark left open
    }

    rig.read();
    for (int i = 0; i < 4; ++i) {
        QCoreApplication::processEvents();
        ModelRig::advance(2000);
    }
    QCOMPARE(rig.desktop().count(QStringLiteral("warn")), 1);
    QCOMPARE(events(&rig.console()).count(QStringLiteral(" Paid: Adult Fare $2.30")), 1);
    QCOMPARE(p.purse(), before - Money::cents(230));
    QCOMPARE(ModelRig::stored(Settings::PurseValue), (before - Money::cents(230)).shortText());
}

void TestModel::lockLastsFifteenSeconds()
{
    ModelRig rig(QStringLiteral("12#北門#2.30\r\n"));
    rig.start();
    rig.logIn();
    rig.read();
    QVERIFY(rig.processor().locked());
    ModelRig::advance(14999); // the read ended with the payment
    QVERIFY(rig.processor().locked());
    ModelRig::advance(1);
    QVERIFY(!rig.processor().locked());
}

void TestModel::typedRouteGoesWithThePower()
{
    ModelRig rig;
    rig.start();
    rig.logIn();
    rig.press(QStringLiteral("路線 1 開/關 開/關"));
    rig.waitForPrompt();
    rig.presentStartupCard();
    ModelRig::advance(2000);
    rig.press(QStringLiteral("2 輸入")); // still in route entry: the power keeps the mode
    QCOMPARE(ModelRig::stored(Settings::Lastroute), QStringLiteral("2"));
    QCOMPARE(rig.display().at(2), Console::NotFound);
}

void TestModel::storedTextsKeepTheirBlanks_data()
{
    QTest::addColumn<QString>("route");
    QTest::newRow("blank at the end") << "12 ";
    QTest::newRow("blank at the start") << " 12";
    QTest::newRow("blanks only") << "  ";
}

// What the driver typed comes back after a restart as it was typed, so the next log-in
// loads the same route.
void TestModel::storedTextsKeepTheirBlanks()
{
    QFETCH(QString, route);
    ModelRig rig(route + QStringLiteral("#北門#5.40\r\n12#南碼頭#3.50\r\n"));
    rig.start();
    rig.logIn();
    rig.press(QStringLiteral("路線"));
    for (const QChar c : route)
        rig.press(c == u' ' ? QStringLiteral("空格") : QString(c));
    rig.press(QStringLiteral("輸入"));
    rig.restart();
    QCOMPARE(Settings::lastRoute(), route);
    rig.logIn();
    QCOMPARE(rig.console().routes().route(), route);
    QCOMPARE(rig.processor().fare(), Money::cents(540));
}

QTEST_GUILESS_MAIN(TestModel)
#include "tst_model.moc"
