// Every text fits the control that shows it, in every state that changes the text, at
// the scales a desktop may use (CTest runs this at 1, 1.5 and 2).
#include "support/TestEnv.h"

#include "bcp/CardProcessor.h"
#include "ddu/Console.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmCard.h"
#include "dialogs/frmOption.h"
#include "panels/DevicePanel.h"
#include "platform/Settings.h"
#include "shell/frmMDI.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QTest>

namespace {

// The room a text has in its control: the contents rectangle, less what the style keeps
// for the frame, the indicator or the margins.
QRect textRoom(const QWidget* w)
{
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        QStyle::SubElement element = QStyle::SE_PushButtonContents;
        if (qobject_cast<const QRadioButton*>(w))
            element = QStyle::SE_RadioButtonContents;
        else if (qobject_cast<const QCheckBox*>(w))
            element = QStyle::SE_CheckBoxContents;
        return w->style()->subElementRect(element, &opt, w);
    }
    if (const auto* c = qobject_cast<const QComboBox*>(w)) {
        QStyleOptionComboBox opt;
        opt.initFrom(c);
        opt.editable = c->isEditable();
        return w->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField,
                                          c);
    }
    if (const auto* l = qobject_cast<const QLabel*>(w)) {
        const int inset = l->margin() + qMax(l->indent(), 0);
        return l->contentsRect().adjusted(inset, 0, -inset, 0);
    }
    return w->contentsRect();
}

QString shown(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    return text.replace(u'\x01', u'&');
}

// Each visible text under `root` that does not fit, with the control's name.
QStringList misfits(const QWidget* root, const QString& state)
{
    QStringList out;
    auto check = [&](const QWidget* w, const QString& text, bool wrap) {
        if (text.isEmpty())
            return;
        const QFontMetrics fm(w->font());
        const QRect room = textRoom(w);
        // A wrapped text may take several lines, all of which must show.
        const QSize need = wrap ? fm.boundingRect(room, Qt::TextWordWrap, text).size()
                                : QSize(fm.horizontalAdvance(text), 0);
        if (need.width() + 2 > room.width() || need.height() > room.height())
            out << QStringLiteral("%1: %2 \"%3\" needs %4 x %5 px, has %6 x %7")
                       .arg(state, w->objectName(), text)
                       .arg(need.width() + 2)
                       .arg(need.height())
                       .arg(room.width())
                       .arg(room.height());
    };
    QList<const QWidget*> widgets{root};
    for (const QWidget* w : root->findChildren<QWidget*>())
        widgets << w;
    for (const QWidget* w : widgets) {
        if (!w->isVisible())
            continue;
        if (const auto* l = qobject_cast<const QLabel*>(w))
            check(l, l->buddy() ? shown(l->text()) : l->text(), l->wordWrap());
        else if (const auto* b = qobject_cast<const QAbstractButton*>(w))
            check(b, shown(b->text()), false);
        else if (const auto* e = qobject_cast<const QLineEdit*>(w))
            check(e, e->text(), false);
        else if (const auto* c = qobject_cast<const QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i) // any entry may be the one shown
                check(c, c->itemText(i), false);
    }
    return out;
}

// The panels not shown whole in the main window's area, and any scroll bar it shows.
QStringList cutOff(const frmMDI* w, const QString& state)
{
    QStringList out;
    const QMdiArea* area = w->mdiArea();
    for (const QMdiSubWindow* sub : area->subWindowList())
        if (!area->viewport()->rect().contains(sub->geometry()))
            out << QStringLiteral("%1: %2 at %3,%4 %5 x %6 in %7 x %8")
                       .arg(state, sub->objectName())
                       .arg(sub->x())
                       .arg(sub->y())
                       .arg(sub->width())
                       .arg(sub->height())
                       .arg(area->viewport()->width())
                       .arg(area->viewport()->height());
    if (area->horizontalScrollBar()->isVisible() || area->verticalScrollBar()->isVisible())
        out << QStringLiteral("%1: scroll bars").arg(state);
    return out;
}

// Each console key whose design centre, zoomed, is not where the key lies; the reader
// when a point on it does not come to the processor as the same twips.
QStringList pointerMisses(const frmMDI* w)
{
    QStringList out;
    const auto* ddu = TestEnv::find<DevicePanel>(w, QStringLiteral("frmDDU"));
    const qreal z = ddu->zoom();
    for (const KeyInfo& info : Keys::all()) {
        const QPoint centre(qRound((info.left + info.width / 2.0) * z / 15),
                            qRound((info.top + info.height / 2.0) * z / 15));
        const QWidget* hit = ddu->childAt(centre);
        if (!hit || hit->objectName() != QLatin1String(info.name))
            out << QStringLiteral("key %1 at %2,%3 finds %4")
                       .arg(QLatin1String(info.name))
                       .arg(centre.x())
                       .arg(centre.y())
                       .arg(hit ? hit->objectName() : QStringLiteral("nothing"));
    }
    for (const QPointF tw : {QPointF(900, 600), QPointF(2400, 1500)}) {
        TestEnv::present(w, tw.x(), tw.y());
        const QPointF at = w->processor()->cardAt();
        if (qAbs(at.x() - tw.x()) > 15 / z || qAbs(at.y() - tw.y()) > 15 / z)
            out << QStringLiteral("reader: %1,%2 tw arrives as %3,%4")
                       .arg(tw.x())
                       .arg(tw.y())
                       .arg(at.x())
                       .arg(at.y());
        TestEnv::withdraw(w);
    }
    return out;
}

// The interfaces a user may choose, as stored.
void interfaceRows()
{
    QTest::addColumn<QString>("ui");
    QTest::newRow("Chinese") << "zh_TW";
    QTest::newRow("English") << "en";
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void panels_data();
    void panels();
    void dialogs_data();
    void dialogs();
    void menus_data();
    void menus();
    void placementRemembered_data();
    void placementRemembered();
    void zoomKeys_data();
    void zoomKeys();
};

void TestLayout::panels_data()
{
    QTest::addColumn<int>("zoom");
    for (const int zoom : Settings::Zooms)
        QTest::addRow("%d %%", zoom) << zoom;
}

// The two panels through a working day at each zoom: off, boot, log-in, every processor
// message in both languages, SHIFT, every line of the shipped table, the output. Both
// panels whole in the window, and the pointer where the design has it.
void TestLayout::panels()
{
    QFETCH(int, zoom);
    TestEnv env(QString::fromUtf8(TestEnv::readShipped(QStringLiteral("routes.dat"))));
    TestEnv::store(QStringLiteral("Loadtime"), QStringLiteral("5000"));
    auto w = env.start();
    QStringList faults = cutOff(w.get(), QStringLiteral("at start"));
    TestEnv::action(w.get(), QStringLiteral("mnuZoom%1").arg(zoom))->trigger();
    faults << cutOff(w.get(), QStringLiteral("zoomed")) << pointerMisses(w.get());
    CardProcessor* p = w->processor();
    Console* c = w->console();
    auto look = [&](const QString& state) { faults << misfits(w.get(), state); };

    look(QStringLiteral("off"));
    TestEnv::powerOn(w.get());
    for (int s = 0; s < 14; ++s) {
        TestEnv::advance(1000);
        look(QStringLiteral("boot %1 s").arg(s + 1));
    }
    TestEnv::waitForPrompt(w.get());
    look(QStringLiteral("log-in prompt"));
    p->setCardType(CardType::Adult);
    TestEnv::present(w.get());
    TestEnv::advance(1000);
    look(QStringLiteral("card refused at log-in"));
    TestEnv::withdraw(w.get());
    TestEnv::advance(1000);
    TestEnv::logIn(w.get());

    for (qsizetype i = 0; i < c->routes().lines().size(); ++i) {
        c->loadRoute(i);
        look(QStringLiteral("fetching line %1").arg(i));
        TestEnv::advance(2000);
        look(QStringLiteral("line %1").arg(i));
        for (const qint16 language : {0, 1}) {
            p->setLanguage(cardLanguage(language));
            for (const CardType type : {CardType::Adult, CardType::Child, CardType::Student,
                                        CardType::Elderly, CardType::Startup}) {
                p->setCardType(type);
                p->setPurse(Money::dollars(900));
                TestEnv::read(w.get());
                look(QStringLiteral("line %1, read").arg(i));
                TestEnv::withdraw(w.get());
                TestEnv::read(w.get());
                look(QStringLiteral("line %1, read again").arg(i));
                TestEnv::withdraw(w.get());
                p->setPurse(Money());
                TestEnv::advance(15000);
                TestEnv::read(w.get());
                look(QStringLiteral("line %1, empty card").arg(i));
                TestEnv::withdraw(w.get());
                TestEnv::present(w.get(), 3000, 1900);
                TestEnv::advance(1000);
                look(QStringLiteral("line %1, misread").arg(i));
                TestEnv::withdraw(w.get());
                TestEnv::advance(2000);
                look(QStringLiteral("line %1, idle").arg(i));
            }
        }
        if (i > 0)
            break; // the messages once; the route screens below for every line
    }
    for (qsizetype i = 0; i < c->routes().lines().size(); ++i) {
        c->loadRoute(i);
        TestEnv::advance(2000);
        look(QStringLiteral("line %1").arg(i));
    }

    // Every prompt, with SHIFT on and the longest route typed.
    for (const char* key : {"路線", "輸出", "起點", "終點", "方向"}) {
        TestEnv::press(w.get(), QString::fromUtf8(key));
        look(QString::fromUtf8(key));
    }
    TestEnv::press(w.get(), QStringLiteral("路線 1 0 1 SHIFT"));
    look(QStringLiteral("SHIFT on"));
    TestEnv::press(w.get(), QStringLiteral("輸入"));
    TestEnv::press(w.get(), QStringLiteral("路線 9 9 9 輸入"));
    look(QStringLiteral("route not found"));
    TestEnv::press(w.get(), QStringLiteral("取消 輸出 輸入"));
    look(QStringLiteral("output"));
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

void TestLayout::placementRemembered_data()
{
    QTest::addColumn<QString>("geometry"); // as stored; relative to the first screen
    QTest::addColumn<QString>("maximized");
    QTest::addColumn<QString>("zoom");
    QTest::addColumn<bool>("restored");
    QTest::addColumn<int>("zoomAfter");
    QTest::newRow("on screen") << "20,30,300,200"
                               << "0"
                               << "150" << true << 150;
    QTest::newRow("maximised") << "20,30,300,200"
                               << "1"
                               << "200" << true << 200;
    QTest::newRow("off every screen") << "-5000,-5000,300,200"
                                      << "0"
                                      << "125" << false << 125;
    QTest::newRow("larger than the screen") << "0,0,9000,7000"
                                            << "0"
                                            << "100" << false << 100;
    QTest::newRow("partly off") << "-100,30,300,200"
                                << "0"
                                << "100" << false << 100;
    QTest::newRow("no zoom of the menu") << "nonsense"
                                         << "0"
                                         << "130" << false << 100;
}

// The window as it was left, unless it would not lie wholly on a screen; the zoom too.
// Closing the window keeps what it shows for the next start.
void TestLayout::placementRemembered()
{
    QFETCH(QString, geometry);
    QFETCH(QString, maximized);
    QFETCH(QString, zoom);
    QFETCH(bool, restored);
    QFETCH(int, zoomAfter);
    TestEnv env(TestEnv::ExampleRoutes);
    const QPoint origin = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
    QStringList parts = geometry.split(u',');
    if (parts.size() == 4) {
        parts[0] = QString::number(parts[0].toInt() + origin.x());
        parts[1] = QString::number(parts[1].toInt() + origin.y());
    }
    TestEnv::store(Settings::WindowGeometry, parts.join(u','));
    TestEnv::store(Settings::WindowMaximized, maximized);
    TestEnv::store(Settings::Zoom, zoom);
    const QRect stored = Settings::windowGeometry().value_or(QRect());

    auto w = env.start();
    QCOMPARE(w->isMaximized(), maximized == QLatin1String("1"));
    QCOMPARE(w->zoomPercent(), zoomAfter);
    QVERIFY(TestEnv::action(w.get(), QStringLiteral("mnuZoom%1").arg(zoomAfter))->isChecked());
    QCOMPARE(TestEnv::find<DevicePanel>(w.get(), QStringLiteral("frmDDU"))->zoom(),
             zoomAfter / 100.0);
    const QRect shown = w->isMaximized() ? w->normalGeometry() : w->geometry();
    QCOMPARE(shown == stored, restored);
    if (!restored && !w->isMaximized())
        QVERIFY2(cutOff(w.get(), QStringLiteral("default")).isEmpty(),
                 qPrintable(cutOff(w.get(), QStringLiteral("default")).join(u'\n')));

    w->close();
    QCOMPARE(TestEnv::stored(Settings::WindowMaximized), maximized);
    QCOMPARE(TestEnv::stored(Settings::Zoom), QString::number(zoomAfter));
    QCOMPARE(Settings::windowGeometry(), std::optional<QRect>(shown));
}

void TestLayout::zoomKeys_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("zoom");
    QTest::newRow("Ctrl++") << "mnuZoom100"
                            << "Ctrl++" << 125;
    QTest::newRow("Ctrl+=") << "mnuZoom125"
                            << "Ctrl+=" << 150;
    QTest::newRow("Ctrl+- twice") << "mnuZoom200"
                                  << "Ctrl+- Ctrl+-" << 125;
    QTest::newRow("Ctrl+0") << "mnuZoom150"
                            << "Ctrl+0" << 100;
    QTest::newRow("no smaller than 100 %") << "mnuZoom100"
                                           << "Ctrl+-" << 100;
    QTest::newRow("no larger than 200 %") << "mnuZoom150"
                                          << "Ctrl++ Ctrl++" << 200;
}

// The zoom's keys reach the menu past the console's keyboard, and the console takes no
// digit from Ctrl+0.
void TestLayout::zoomKeys()
{
    QFETCH(QString, from);
    QFETCH(QString, keys);
    QFETCH(int, zoom);
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = env.start();
    QApplication::setActiveWindow(w.get());
    TestEnv::logIn(w.get());
    TestEnv::press(w.get(), QStringLiteral("路線"));
    const QString prompt = w->console()->line(1);
    TestEnv::action(w.get(), from)->trigger();
    for (const QString& k : keys.split(u' ')) {
        const QKeyCombination key = QKeySequence(k)[0];
        QTest::keyClick(w.get(), key.key(), key.keyboardModifiers());
    }
    QCOMPARE(w->zoomPercent(), zoom);
    QVERIFY(TestEnv::action(w.get(), QStringLiteral("mnuZoom%1").arg(zoom))->isChecked());
    QCOMPARE(w->console()->line(1), prompt);
    QVERIFY2(cutOff(w.get(), keys).isEmpty(), qPrintable(cutOff(w.get(), keys).join(u'\n')));
}

void TestLayout::dialogs_data()
{
    interfaceRows();
}

void TestLayout::dialogs()
{
    QFETCH(QString, ui);
    TestEnv env(TestEnv::ExampleRoutes);
    TestEnv::store(Settings::Interface, ui);
    auto w = env.start();
    QStringList faults;
    for (const qint16 language : {0, 1}) {
        w->processor()->setLanguage(cardLanguage(language));
        frmCard card(*w->processor(), w.get());
        card.show();
        faults << misfits(&card, QStringLiteral("card settings"));
        TestEnv::click(TestEnv::find<QPushButton>(&card, QStringLiteral("cmdAdd")));
        faults << misfits(&card, QStringLiteral("card settings, topped up"));
        card.hide();
    }
    frmOption options(*w->processor(), w.get());
    options.show();
    faults << misfits(&options, QStringLiteral("options"));
    frmAbout about(w.get());
    about.show();
    faults << misfits(&about, QStringLiteral("about"));
    const auto* text = TestEnv::find<QPlainTextEdit>(&about, QStringLiteral("txt"));
    if (text->verticalScrollBar()->maximum() > 0)
        faults << QStringLiteral("about: %1 lines of %2 px need a scroll bar in %3 px")
                      .arg(text->document()->blockCount())
                      .arg(QFontMetrics(text->font()).lineSpacing())
                      .arg(text->viewport()->height());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

void TestLayout::menus_data()
{
    interfaceRows();
}

void TestLayout::menus()
{
    QFETCH(QString, ui);
    TestEnv env(TestEnv::ExampleRoutes);
    TestEnv::store(Settings::Interface, ui);
    auto w = env.start();
    QStringList faults;
    const QMenuBar* bar = w->menuBar();
    const QFontMetrics barFont(bar->font());
    for (QAction* top : bar->actions()) {
        const int need = barFont.horizontalAdvance(shown(top->text())) + 2;
        if (need > bar->actionGeometry(top).width())
            faults << QStringLiteral("menu bar: \"%1\"").arg(top->text());
        QMenu* menu = top->menu();
        menu->ensurePolished();
        menu->adjustSize();
        const QFontMetrics fm(menu->font());
        for (QAction* a : menu->actions())
            if (!a->isSeparator() &&
                fm.horizontalAdvance(shown(a->text())) + 2 > menu->actionGeometry(a).width())
                faults << QStringLiteral("menu: \"%1\"").arg(a->text());
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
