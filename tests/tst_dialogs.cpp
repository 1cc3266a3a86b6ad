// The card settings dialog, the options dialog and the about box, driven as a user would.
#include "support/TestEnv.h"

#include "bcp/CardProcessor.h"
#include "common/Timer.h"
#include "ddu/Console.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmCard.h"
#include "dialogs/frmOption.h"
#include "panels/frmBCP.h"
#include "platform/Desktop.h"
#include "platform/Settings.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString Routes = QStringLiteral("12#北門#5.40\r\n");
const QString Untouched = QStringLiteral("untouched");

void clickSubControl(QScrollBar* bar, QStyle::SubControl part)
{
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.upsideDown = bar->invertedAppearance();
    const QRect r = bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, r.center());
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void cardLoad_data();
    void cardLoad();
    void cardTopUp_data();
    void cardTopUp();
    void cardTypeTakesEffectAtOnce_data();
    void cardTypeTakesEffectAtOnce();
    void cardLanguage();
    void cardClosing_data();
    void cardClosing();
    void optionsLoad_data();
    void optionsLoad();
    void optionsSteps_data();
    void optionsSteps();
    void optionsDragStoresOnRelease();
    void optionsRestartsRunningBootWait();
    void aboutCloses_data();
    void aboutCloses();
    void aboutLink_data();
    void aboutLink();
    void aboutText();
    void byKeyboard_data();
    void byKeyboard();
    void menusOpenModalDialogs_data();
    void menusOpenModalDialogs();
};

void TestDialogs::cardLoad_data()
{
    QTest::addColumn<qint16>("language");
    QTest::addColumn<qint16>("type");
    QTest::addColumn<QString>("purse"); // as the settings store holds it
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("shown");

    QTest::newRow("English card") << qint16(1) << qint16(0) << "193.4" << true << "193.40";
    QTest::newRow("Chinese card") << qint16(0) << qint16(3) << "-3.5" << false << "-3.50";
    // Every code but 0 is English, on the processor and in the dialog alike.
    QTest::newRow("any other code reads as English")
        << qint16(2) << qint16(4) << "0" << true << "0.00";
    QTest::newRow("value topped up earlier, as text")
        << qint16(0) << qint16(2) << "999.90" << false << "999.90";
}

void TestDialogs::cardLoad()
{
    QFETCH(qint16, language);
    QFETCH(qint16, type);
    QFETCH(QString, purse);
    TestEnv env(Routes);
    TestEnv::store(Settings::PurseValue, purse);
    TestEnv::store(Settings::Language, QString::number(language));
    auto w = env.start();
    CardProcessor* p = w->processor();
    p->setCardType(CardType(type));
    const Money value = p->purse();

    frmCard dlg(*p);
    const auto* english = TestEnv::find<QRadioButton>(&dlg, QStringLiteral("optEnglish"));
    QTEST(english->isChecked(), "english");
    QCOMPARE(TestEnv::find<QRadioButton>(&dlg, QStringLiteral("optChinese"))->isChecked(),
             !english->isChecked());
    QCOMPARE(TestEnv::find<QComboBox>(&dlg, QStringLiteral("cobType"))->currentIndex(), int(type));
    QTEST(TestEnv::find<QLineEdit>(&dlg, QStringLiteral("txtValue"))->text(), "shown");
    // Opening writes nothing new into the card processor.
    QCOMPARE(p->language(), ::cardLanguage(language));
    QCOMPARE(int(p->cardType()), int(type));
    QCOMPARE(p->purse().inCents(), value.inCents());
    QCOMPARE(env.desktop().calls.size(), 0);
}

void TestDialogs::cardTopUp_data()
{
    QTest::addColumn<QString>("before"); // as the settings store holds it
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("refused");

    QTest::newRow("up to the limit") << "899.90"
                                     << "999.90" << false;
    QTest::newRow("a cent over") << "899.91"
                                 << "899.91" << true;
    QTest::newRow("well over") << "900.00"
                               << "900.00" << true;
    QTest::newRow("from the lowest debt") << "-35.00"
                                          << "65.00" << false;
    QTest::newRow("from nothing") << "0.00"
                                  << "100.00" << false;
}

void TestDialogs::cardTopUp()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(bool, refused);
    TestEnv env(Routes);
    TestEnv::store(Settings::PurseValue, before);
    auto w = env.start();
    CardProcessor* p = w->processor();
    const Money value = p->purse();

    frmCard dlg(*p);
    TestEnv::click(TestEnv::find<QPushButton>(&dlg, QStringLiteral("cmdAdd")));
    QCOMPARE(TestEnv::find<QLineEdit>(&dlg, QStringLiteral("txtValue"))->text(), after);
    if (refused) {
        QCOMPARE(env.desktop().texts(QStringLiteral("warn")), QStringList{frmCard::TopUpRefused});
        QCOMPARE(p->purse().inCents(), value.inCents());
    } else {
        QCOMPARE(env.desktop().calls.size(), 0);
        QCOMPARE(p->purse().text(), after);
        // A topped-up value is kept as the dialog shows it.
        QCOMPARE(TestEnv::stored(Settings::PurseValue), after);
    }
}

void TestDialogs::cardTypeTakesEffectAtOnce_data()
{
    QTest::addColumn<int>("downs");
    QTest::newRow("成人") << 0;
    QTest::newRow("小童") << 1;
    QTest::newRow("長者") << 3;
    QTest::newRow("開機卡") << 4;
}

void TestDialogs::cardTypeTakesEffectAtOnce()
{
    QFETCH(int, downs);
    TestEnv env(Routes);
    auto w = env.start();
    CardProcessor* p = w->processor();
    p->setCardType(CardType::Adult);
    frmCard dlg(*p);
    dlg.open();
    auto* type = TestEnv::find<QComboBox>(&dlg, QStringLiteral("cobType"));
    for (int i = 0; i < downs; ++i)
        QTest::keyClick(type, Qt::Key_Down);
    QCOMPARE(type->currentIndex(), downs);
    QCOMPARE(int(p->cardType()), downs);
    QVERIFY(dlg.isVisible());
}

void TestDialogs::cardLanguage()
{
    TestEnv env(Routes);
    auto w = env.start();
    CardProcessor* p = w->processor();
    p->setLanguage(CardLanguage::Chinese);
    frmCard dlg(*p);
    dlg.open();
    TestEnv::click(TestEnv::find<QRadioButton>(&dlg, QStringLiteral("optEnglish")));
    QCOMPARE(p->language(), CardLanguage::English);
    TestEnv::click(TestEnv::find<QRadioButton>(&dlg, QStringLiteral("optChinese")));
    QCOMPARE(p->language(), CardLanguage::Chinese);
}

void TestDialogs::cardClosing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("pageWritten");
    for (const char* how : {"關閉", "Enter", "Esc", "close box"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1, no page").arg(how))) << how << false;
        QTest::newRow(qPrintable(QStringLiteral("%1, page written").arg(how))) << how << true;
    }
}

void TestDialogs::cardClosing()
{
    QFETCH(QString, how);
    QFETCH(bool, pageWritten);
    TestEnv env(Routes);
    auto w = env.start();
    frmCard dlg(*w->processor());
    dlg.open();
    if (pageWritten)
        TestEnv::click(TestEnv::find<QPushButton>(&dlg, QStringLiteral("cmdHelp")));
    QCOMPARE(QFile::exists(env.file(QStringLiteral("temphelp.html"))), pageWritten);
    env.desktop().calls.clear();

    if (how == u"關閉")
        TestEnv::click(TestEnv::find<QPushButton>(&dlg, QStringLiteral("cmdClose")));
    else if (how == u"Enter")
        QTest::keyClick(&dlg, Qt::Key_Return);
    else if (how == u"Esc")
        QTest::keyClick(&dlg, Qt::Key_Escape);
    else
        dlg.close();

    QVERIFY(!dlg.isVisible());
    QVERIFY(!QFile::exists(env.file(QStringLiteral("temphelp.html"))));
    QCOMPARE(env.desktop().calls.size(), 0);
}

void TestDialogs::optionsLoad_data()
{
    QTest::addColumn<QString>("stored"); // null: nothing stored before start-up
    QTest::addColumn<int>("interval");   // 0: as start-up left it
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("storedAfter");

    QTest::newRow("nothing stored") << QString() << 0 << 20 << "20000";
    QTest::newRow("stored 5000") << "5000" << 0 << 5 << Untouched;
    QTest::newRow("stored 30000") << "30000" << 0 << 30 << "30000";
    QTest::newRow("half second rounds down to even") << QString() << 12500 << 12 << "12000";
    QTest::newRow("half second rounds up to even") << QString() << 13500 << 14 << "14000";
}

void TestDialogs::optionsLoad()
{
    QFETCH(QString, stored);
    QFETCH(int, interval);
    QFETCH(int, seconds);
    QFETCH(QString, storedAfter);
    TestEnv env(Routes);
    if (!stored.isNull())
        TestEnv::store(Settings::Loadtime, stored);
    auto w = env.start();
    CardProcessor* p = w->processor();
    if (interval)
        p->setLoadWaitMs(interval);
    if (!stored.isNull())
        TestEnv::store(Settings::Loadtime, Untouched); // shows whether opening writes

    frmOption dlg(*p);
    QCOMPARE(TestEnv::find<QScrollBar>(&dlg, QStringLiteral("hsrTime"))->value(), seconds);
    QCOMPARE(TestEnv::find<QLineEdit>(&dlg, QStringLiteral("txtTime"))->text(),
             QString::number(seconds));
    QCOMPARE(p->loadWaitMs(), seconds * 1000);
    QCOMPARE(TestEnv::stored(Settings::Loadtime), storedAfter);
}

void TestDialogs::optionsSteps_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("part"); // the QStyle::SubControl of the scroll bar clicked, or
    QTest::addColumn<int>("key");  // the key pressed on it instead when not 0
    QTest::addColumn<QStringList>("storedAfterEach");

    QTest::newRow("right arrow, 1 s each")
        << 5 << int(QStyle::SC_ScrollBarAddLine) << 0 << QStringList{"6000", "7000", "8000"};
    QTest::newRow("left arrow, 1 s each")
        << 20 << int(QStyle::SC_ScrollBarSubLine) << 0 << QStringList{"19000", "18000"};
    QTest::newRow("track right, 5 s each")
        << 5 << int(QStyle::SC_ScrollBarAddPage) << 0
        << QStringList{"10000", "15000", "20000", "25000", "30000"};
    QTest::newRow("track left to the left end")
        << 12 << int(QStyle::SC_ScrollBarSubPage) << 0 << QStringList{"7000", "5000"};
    QTest::newRow("arrow at the right end stores nothing")
        << 30 << int(QStyle::SC_ScrollBarAddLine) << 0 << QStringList{Untouched};
    // The keyboard as the arrows and the track: → and PgDn raise the time, ← and PgUp lower it.
    QTest::newRow("→ key, 1 s each") << 5 << 0 << int(Qt::Key_Right) << QStringList{"6000", "7000"};
    QTest::newRow("← key, 1 s each") << 20 << 0 << int(Qt::Key_Left) << QStringList{"19000"};
    QTest::newRow("PgDn key, 5 s each")
        << 5 << 0 << int(Qt::Key_PageDown) << QStringList{"10000", "15000"};
    QTest::newRow("PgUp key, 5 s each") << 20 << 0 << int(Qt::Key_PageUp) << QStringList{"15000"};
}

void TestDialogs::optionsSteps()
{
    QFETCH(int, from);
    QFETCH(int, part);
    QFETCH(int, key);
    QFETCH(QStringList, storedAfterEach);
    TestEnv env(Routes);
    TestEnv::store(Settings::Loadtime, QString::number(from * 1000));
    auto w = env.start();
    CardProcessor* p = w->processor();
    frmOption dlg(*p);
    dlg.open();
    TestEnv::store(Settings::Loadtime, Untouched);
    auto* time = TestEnv::find<QScrollBar>(&dlg, QStringLiteral("hsrTime"));
    const auto* shown = TestEnv::find<QLineEdit>(&dlg, QStringLiteral("txtTime"));

    for (const QString& expected : storedAfterEach) {
        if (key)
            QTest::keyClick(time, Qt::Key(key));
        else
            clickSubControl(time, QStyle::SubControl(part));
        QCOMPARE(TestEnv::stored(Settings::Loadtime), expected);
        if (expected != Untouched) {
            QCOMPARE(p->loadWaitMs(), expected.toInt());
            QCOMPARE(shown->text(), QString::number(expected.toInt() / 1000));
        }
    }
}

void TestDialogs::optionsDragStoresOnRelease()
{
    TestEnv env(Routes);
    TestEnv::store(Settings::Loadtime, QStringLiteral("5000"));
    auto w = env.start();
    CardProcessor* p = w->processor();
    frmOption dlg(*p);
    dlg.open();
    TestEnv::store(Settings::Loadtime, Untouched);
    auto* time = TestEnv::find<QScrollBar>(&dlg, QStringLiteral("hsrTime"));
    const auto* shown = TestEnv::find<QLineEdit>(&dlg, QStringLiteral("txtTime"));

    time->setSliderDown(true);
    for (int s : {9, 17, 25})
        time->setSliderPosition(s);
    QCOMPARE(TestEnv::stored(Settings::Loadtime), Untouched);
    QCOMPARE(p->loadWaitMs(), 5000);
    QCOMPARE(shown->text(), QStringLiteral("5"));

    time->setSliderDown(false);
    QCOMPARE(TestEnv::stored(Settings::Loadtime), QStringLiteral("25000"));
    QCOMPARE(p->loadWaitMs(), 25000);
    QCOMPARE(shown->text(), QStringLiteral("25"));

    // Picking the thumb up and putting it back where it was changes nothing.
    TestEnv::store(Settings::Loadtime, Untouched);
    time->setSliderDown(true);
    time->setSliderPosition(10);
    time->setSliderPosition(25);
    time->setSliderDown(false);
    QCOMPARE(TestEnv::stored(Settings::Loadtime), Untouched);
}

void TestDialogs::optionsRestartsRunningBootWait()
{
    TestEnv env(Routes);
    auto w = env.start(); // 20 s wait
    CardProcessor* p = w->processor();
    w->console()->switchPower();
    TestEnv::advance(7000);
    QVERIFY(TestEnv::find(w->bcp(), QStringLiteral("picLoad"))->isVisible());
    QVERIFY(TestEnv::timer(p, QStringLiteral("tmrLoadLong"))->Enabled());
    TestEnv::advance(10000); // halfway through the wait

    frmOption dlg(*p);
    dlg.open();
    // 19 s, counted from now
    clickSubControl(TestEnv::find<QScrollBar>(&dlg, QStringLiteral("hsrTime")),
                    QStyle::SC_ScrollBarSubLine);
    const auto* address = TestEnv::find<QLabel>(w->bcp(), QStringLiteral("lblB_4"));
    TestEnv::advance(18999);
    QCOMPARE(address->text(), QStringLiteral("DDU Address: Getting..."));
    TestEnv::advance(1);
    QCOMPARE(address->text(), QStringLiteral("DDU Address: 127.0.0.1"));
}

void TestDialogs::aboutCloses_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("確定") << false;
    QTest::newRow("Esc") << true;
}

void TestDialogs::aboutCloses()
{
    QFETCH(bool, escape);
    TestEnv env(Routes);
    frmAbout dlg;
    dlg.open();
    QVERIFY(dlg.isVisible());
    if (escape) // focus starts in the text box
        QTest::keyClick(TestEnv::find<QPlainTextEdit>(&dlg, QStringLiteral("txt")), Qt::Key_Escape);
    else
        TestEnv::click(TestEnv::find<QPushButton>(&dlg, QStringLiteral("cmdOK")));
    QVERIFY(!dlg.isVisible());
    QCOMPARE(env.desktop().calls.size(), 0);
}

void TestDialogs::aboutLink_data()
{
    QTest::addColumn<bool>("browserStarts");
    QTest::newRow("browser starts") << true;
    QTest::newRow("no browser") << false;
}

void TestDialogs::aboutLink()
{
    QFETCH(bool, browserStarts);
    TestEnv env(Routes);
    env.desktop().openSucceeds = browserStarts;
    frmAbout dlg;
    dlg.open();
    auto* link = TestEnv::find<QLabel>(&dlg, QStringLiteral("lblURL"));
    TestEnv::click(link);

    QCOMPARE(env.desktop().texts(QStringLiteral("openUrl")), QStringList{frmAbout::Url});
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), browserStarts ? 0 : 1);
    QVERIFY(dlg.isVisible());
    QVERIFY(link->text().endsWith(QStringLiteral(" - ") + frmAbout::Url));
}

void TestDialogs::aboutText()
{
    const QString text = frmAbout::aboutText();
    QVERIFY(text.endsWith(QStringLiteral("\r\n")));
    const QStringList lines = text.chopped(2).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 9);
    QCOMPARE(lines.mid(0, 3), (QStringList{QStringLiteral("巴士Pelumo模擬器"),
                                           QStringLiteral("版本 1.0 (Revision 1)"), QString()}));
    QVERIFY(lines[4].isEmpty() && lines[7].isEmpty());
    for (int i : {3, 5, 6, 8})
        QVERIFY2(!lines[i].isEmpty(), qPrintable(QString::number(i + 1)));
    QVERIFY(!text.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
}

void TestDialogs::byKeyboard_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("keys");    // typed one after another where the focus is
    QTest::addColumn<QString>("focused"); // the control with the focus then
    QTest::addColumn<QString>("named");   // what assistive technology calls it
    QTest::addColumn<QString>("stored");  // the boot time stored, when it changes
    auto row = [](const char* name, const char* dialog, const char* keys, const char* focused,
                  const char* named, const char* stored = "") {
        QTest::newRow(name) << dialog << keys << focused << QString::fromUtf8(named) << stored;
    };
    row("card opens on the type list", "card", "", "cobType", "Pelumo咭類別：");
    row("card: language label", "card", "Alt+L", "optChinese", "中文(Z)");
    row("card: value label", "card", "Alt+V", "txtValue", "剩餘值");
    row("card: back to the type", "card", "Alt+V Alt+P", "cobType", "Pelumo咭類別：");
    row("options open on the scroll bar", "options", "", "hsrTime", "開機時間（秒）");
    row("options: label to the box", "options", "Alt+T", "spnTime", "現時設定（秒）");
    row("options: seconds typed", "options", "Alt+T Ctrl+A 1 7", "spnTime", "", "17000");
    row("about: Tab to the link", "about", "Tab", "lblURL", "");
    row("about: Enter opens it", "about", "Tab Return", "lblURL", "");
    row("about: Space opens it", "about", "Tab Space", "lblURL", "");
}

void TestDialogs::byKeyboard()
{
    QFETCH(QString, dialog);
    QFETCH(QString, keys);
    QFETCH(QString, stored);
    TestEnv env(Routes);
    auto w = env.start(); // a boot time of 20 s
    std::unique_ptr<QDialog> dlg;
    if (dialog == u"card")
        dlg = std::make_unique<frmCard>(*w->processor(), w.get());
    else if (dialog == u"options")
        dlg = std::make_unique<frmOption>(*w->processor(), w.get());
    else
        dlg = std::make_unique<frmAbout>(w.get());
    dlg->open();
    QApplication::setActiveWindow(dlg.get());
    TestEnv::store(Settings::Loadtime, Untouched);
    for (const QString& k : keys.split(u' ', Qt::SkipEmptyParts)) {
        const QKeySequence seq(k);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(seq[0].key()),
                        seq[0].keyboardModifiers());
    }
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTEST(focus->objectName(), "focused");
    QFETCH(QString, named);
    if (!named.isEmpty()) { // by its own name, or by the label it stands beside
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(focus);
        QStringList names{a->text(QAccessible::Name)};
        for (const auto& [label, relation] : a->relations(QAccessible::Label))
            names << label->text(QAccessible::Name);
        QVERIFY2(names.contains(named), qPrintable(names.join(u'|')));
    }
    QCOMPARE(TestEnv::stored(Settings::Loadtime), stored.isEmpty() ? Untouched : stored);
    if (!stored.isEmpty())
        QCOMPARE(TestEnv::find<QScrollBar>(dlg.get(), QStringLiteral("hsrTime"))->value() * 1000,
                 stored.toInt());
    QCOMPARE(env.desktop().texts(QStringLiteral("openUrl")).size(),
             keys.contains(u"Return") || keys.contains(u"Space") ? 1 : 0);
}

void TestDialogs::menusOpenModalDialogs_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("caption");
    QTest::newRow("card") << "mnuSetting"
                          << "frmCard"
                          << "Pelumo咭設定";
    QTest::newRow("options") << "mnuOptions"
                             << "frmOption"
                             << "設定";
    QTest::newRow("about") << "mnuAbout"
                           << "frmAbout"
                           << "關於 巴士Pelumo模擬器";
}

void TestDialogs::menusOpenModalDialogs()
{
    QFETCH(QString, entry);
    TestEnv env(Routes);
    auto w = env.start();
    QString seen, caption;
    bool modal = false;
    // Runs inside the dialog's own event loop, then closes it as the user would.
    QTimer::singleShot(0, [&] {
        QWidget* d = QApplication::activeModalWidget();
        if (!d)
            return;
        seen = d->objectName();
        caption = d->windowTitle();
        modal = d->isModal() && d->windowModality() == Qt::ApplicationModal;
        QTest::keyClick(d, Qt::Key_Escape);
    });
    TestEnv::action(w.get(), entry)->trigger();
    QTEST(seen, "dialog");
    QTEST(caption, "caption");
    QVERIFY(modal);
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
