// What the console's panel draws and where the panels stand; the console's rules and
// timelines are tested without a window in tst_console.
#include "panels/frmBCP.h"
#include "panels/frmDDU.h"
#include "shell/frmMDI.h"
#include "support/Readout.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QTest>

using namespace Readout;

namespace {

const QString kRoutes = QStringLiteral("12#北門#2.40\r\n12#南碼頭#2.40\r\n");

QString labelText(const QWidget* panel, const char* name)
{
    return TestEnv::find<QLabel>(panel, QLatin1String(name))->text();
}

void checkOff(const frmMDI* w)
{
    const frmDDU* d = w->ddu();
    const frmBCP* b = w->bcp();
    for (const char* name :
         {"lblLine1", "lblLine2", "lblLine3", "lblLine4", "lblStatus", "lblShift"})
        QVERIFY2(TestEnv::find<QLabel>(d, QLatin1String(name))->isHidden(), name);
    for (const KeyInfo& k : Keys::all())
        QVERIFY2(TestEnv::find(d, QLatin1String(k.name))->isEnabled() == (k.key == Key::Power),
                 k.name);
    QCOMPARE(lamps(b), QStringLiteral("ryg"));
    QVERIFY(TestEnv::find(b, QStringLiteral("picLayer"))->isHidden());
    QVERIFY(!TestEnv::action(w, QStringLiteral("mnuSimTemp"))->isEnabled());
}

} // namespace

class TestDdu : public QObject {
    Q_OBJECT
private slots:
    void startsSwitchedOff();
    void panelsSideBySide();
    void powerOn();
};

void TestDdu::startsSwitchedOff()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    checkOff(w.get());
}

void TestDdu::panelsSideBySide()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    QCOMPARE(w->bcp()->Top(), 0);
    QCOMPARE(w->ddu()->Top(), 0);
    QCOMPARE(w->bcp()->Left(), 0);
    QCOMPARE(w->ddu()->Left(), w->bcp()->outerWidth());
    QCOMPARE(w->bcp()->size(), QSize(225, 342));
    QCOMPARE(w->ddu()->size(), QSize(421, 258));
    // The whole of both panels fits in the window.
    const QRect both =
        w->ddu()->parentWidget()->geometry().united(w->bcp()->parentWidget()->geometry());
    QVERIFY(w->mdiArea()->viewport()->rect().contains(both));
    // Neither panel can be closed on its own.
    QVERIFY(!w->ddu()->parentWidget()->close());
    QVERIFY(!w->bcp()->parentWidget()->close());
    QVERIFY(w->ddu()->parentWidget()->isVisible());
}

void TestDdu::powerOn()
{
    TestEnv env(kRoutes);
    auto w = env.start();
    frmDDU* d = w->ddu();
    TestEnv::powerOn(w.get());
    QCOMPARE(display(d), QStringList({"", "　　　PLEASE WAIT", "", ""}));
    QVERIFY(!TestEnv::find(d, QStringLiteral("lblStatus"))->isHidden());
    QCOMPARE(labelText(d, "lblStatus"), QString());
    QAction* temp = TestEnv::action(w.get(), QStringLiteral("mnuSimTemp"));
    QVERIFY(temp->isEnabled());
    QVERIFY(!temp->isChecked());
    const QList<Key> loginKeys = {Key::Route,  Key::Finish, Key::Direction,
                                  Key::Cancel, Key::Enter,  Key::Output};
    for (const KeyInfo& k : Keys::all()) {
        const bool loginKey = loginKeys.contains(k.key);
        QVERIFY2(TestEnv::find(d, QLatin1String(k.name))->isEnabled() == !loginKey, k.name);
    }
}

QTEST_MAIN(TestDdu)
#include "tst_ddu.moc"
