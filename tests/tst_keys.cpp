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
    void eachLetter();
    void shiftEndsWithRouteEntry();
};

// A click on a key's region reaches the console as that key: with SHIFT, every key that
// carries a letter types it. (What each key types is tested on the model rig.)
void TestKeys::eachLetter()
{
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    frmDDU* d = w->ddu();
    for (const KeyInfo& k : Keys::all()) {
        if (!k.letter)
            continue;
        TestEnv::press(w.get(), QStringLiteral("路線 SHIFT"));
        TestEnv::click(TestEnv::find<KeyRegion>(d, QLatin1String(k.name)));
        QCOMPARE(display(d).at(2), QString(QChar::fromLatin1(k.letter)));
    }
}

// The indicator is drawn as the console keeps it. (When SHIFT ends is tested on the rig.)
void TestKeys::shiftEndsWithRouteEntry()
{
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    TestEnv::press(w.get(), QStringLiteral("路線 SHIFT"));
    QCOMPARE(shiftLabel(w.get()), QStringLiteral("SH"));
    TestEnv::press(w.get(), QStringLiteral("SHIFT"));
    QCOMPARE(shiftLabel(w.get()), QString());
}

QTEST_MAIN(TestKeys)
#include "tst_keys.moc"
