#include "bcp/CardProcessor.h"
#include "common/Clock.h"
#include "ddu/Console.h"
#include "dialogs/frmCard.h"
#include "panels/frmBCP.h"
#include "panels/frmDDU.h"
#include "platform/Settings.h"
#include "shell/frmMDI.h"
#include "support/Readout.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace Readout;

namespace {

const QString kRoutes = TestEnv::ExampleRoutes;

// Moves virtual time on to a time of day on the first day ("06:15:00").
void until(const char* time)
{
    const QDateTime target(TestEnv::startTime().date(), QTime::fromString(QLatin1String(time)));
    const qint64 ms = Clock::now().msecsTo(target);
    if (ms < 0)
        qFatal("%s has passed already", time);
    TestEnv::advance(ms);
}

// The card in the passenger's hand, chosen as the user does: the card settings entry of
// the menu, the type list by keyboard, a language button and 關閉, all inside the dialog's
// own event loop.
void takeCard(const frmMDI* w, int type, bool english)
{
    bool done = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<frmCard*>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        auto* cobType = TestEnv::find<QComboBox>(dlg, QStringLiteral("cobType"));
        cobType->setFocus();
        QTest::keyClick(cobType, Qt::Key_Home);
        for (int i = 0; i < type; ++i)
            QTest::keyClick(cobType, Qt::Key_Down);
        TestEnv::click(TestEnv::find<QRadioButton>(dlg, english ? QStringLiteral("optEnglish")
                                                                : QStringLiteral("optChinese")));
        TestEnv::click(TestEnv::find<QPushButton>(dlg, QStringLiteral("cmdClose")));
        done = true;
    });
    TestEnv::action(w, QStringLiteral("mnuSetting"))->trigger();
    QVERIFY(done);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(int(w->processor()->cardType()), type);
    QCOMPARE(w->processor()->language(), english ? CardLanguage::English : CardLanguage::Chinese);
}

} // namespace

class TestDay : public QObject {
    Q_OBJECT
private slots:
    void workingDay();
};

void TestDay::workingDay()
{
    TestEnv env(kRoutes);
    auto w = env.start(); // 06:10:05
    frmDDU* d = w->ddu();
    frmBCP* b = w->bcp();

    until("06:10:30");
    TestEnv::powerOn(w.get());
    until("06:10:59"); // 29 s of boot
    QCOMPARE(display(d).at(1), QStringLiteral("　　請使用卡登入"));

    until("06:11:04");
    takeCard(w.get(), 4, false);
    TestEnv::present(w.get());
    until("06:11:06"); // accepted a second later, the first route a second after that
    TestEnv::withdraw(w.get());
    until("06:11:08");
    QCOMPARE(display(d).at(0), QStringLiteral("車費　　　5.40"));
    QCOMPARE(bcpLines(b).at(0), QStringLiteral("IN SERVICE"));

    until("06:11:30");
    TestEnv::press(w.get(), QStringLiteral("路線 1 2 輸入"));
    until("06:12:00");
    TestEnv::press(w.get(), QStringLiteral("↓"));
    until("06:12:02");
    QCOMPARE(display(d).at(0), QStringLiteral("車費　　　4.20"));

    until("06:15:00");
    takeCard(w.get(), 0, false);
    TestEnv::present(w.get());
    until("06:15:01");
    QCOMPARE(bcpLines(b), QStringList({"成人 $4.20　", "　剩餘值", "$95.80 "}));
    QCOMPARE(display(d).at(3), QStringLiteral("　成人　$4.20"));
    until("06:15:02");
    TestEnv::withdraw(w.get());

    until("06:16:00");
    takeCard(w.get(), 1, true);
    TestEnv::present(w.get());
    until("06:16:01");
    QCOMPARE(bcpLines(b), QStringList({"CHILD　$2.10", " PURSE VALUE ", "$93.70 "}));
    until("06:16:02");
    TestEnv::withdraw(w.get());

    until("06:16:05"); // the same card again, within the lock
    TestEnv::present(w.get());
    until("06:16:06");
    QCOMPARE(bcpLines(b), QStringList({"CARD", "PROCESSED", ""}));
    until("06:16:07");
    TestEnv::withdraw(w.get());

    until("06:20:00");
    TestEnv::press(w.get(), QStringLiteral("起點 輸入"));
    until("06:38:00");
    TestEnv::press(w.get(), QStringLiteral("終點 輸入"));
    until("06:38:02");
    QCOMPARE(display(d).at(2), QStringLiteral("往　南碼頭"));
    until("06:39:30");
    TestEnv::press(w.get(), QStringLiteral("方向 輸入"));
    until("06:45:00");
    TestEnv::press(w.get(), QStringLiteral("輸出 輸入"));
    QCOMPARE(display(d).at(1), QStringLiteral("　　　正在輸出..."));

    const QByteArray expected = "12-06-2026\r\n"
                                "06:10:05 Start Logging\r\n"
                                "06:11:06 Route Changed 12\r\n"
                                "06:11:06 Fare Changed 5.40\r\n"
                                "06:11:30 Route Changed 12\r\n"
                                "06:11:30 Fare Changed 5.40\r\n"
                                "06:12:00 Route Changed 12\r\n"
                                "06:12:00 Fare Changed 4.20\r\n"
                                "06:15:01 Paid: Adult Fare $4.20\r\n"
                                "06:16:01 Paid: Adult Fare $4.20\r\n"
                                "06:16:06 Card Processed\r\n"
                                "06:20:00 Start Trip\r\n"
                                "06:38:00 Route Changed 12\r\n"
                                "06:38:00 Fare Changed 5.40\r\n"
                                "06:38:00 Finished Trip\r\n"
                                "06:38:00 Direction Changed\r\n"
                                "06:39:30 Direction Changed\r\n"
                                "06:45:00 -----\r\n"
                                "\r\n";
    QCOMPARE(env.readFile(QStringLiteral("log.txt")), expected);
    QCOMPARE(w->console()->tripLog().text(),
             QStringLiteral("12-06-2026\r\n06:45:00 Log Reset\r\n"));

    until("06:46:00");
    TestEnv::action(w.get(), QStringLiteral("mnuExit"))->trigger();
    QVERIFY(w->unloaded());
    QCOMPARE(TestEnv::stored(Settings::PurseValue), QStringLiteral("93.7"));
    QCOMPARE(TestEnv::stored(Settings::CardType), QStringLiteral("1"));
    QCOMPARE(TestEnv::stored(Settings::Language), QStringLiteral("1"));
    QCOMPARE(TestEnv::stored(Settings::Lastroute), QStringLiteral("12"));
    // The same file untouched by the way out: the lines since the output are not sent.
    QCOMPARE(env.readFile(QStringLiteral("log.txt")), expected);
}

QTEST_MAIN(TestDay)
#include "tst_day.moc"
