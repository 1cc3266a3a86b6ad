// The program as a desktop program: its own viewer when no browser or editor starts, message
// boxes and dialogs over the main window, Qt's texts in Chinese, the command line, and the
// help page telling where the trip log goes.
#include "support/TestEnv.h"

#include "dialogs/frmCard.h"
#include "dialogs/frmViewer.h"
#include "platform/AppPaths.h"
#include "platform/HelpPages.h"
#include "shell/QtDesktop.h"
#include "shell/Startup.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

const QString Routes = QStringLiteral("12#北門#5.40\r\n");
const QByteArray Log = "12-06-2026\r\n06:10:05 Start Logging\r\n06:20:01 -----\r\n\r\n";

// The production desktop with no program on the PATH to open anything with, as on a
// machine without a browser or an editor; put back as it was when the test ends.
class NoOpeners {
public:
    NoOpeners() : m_path(qgetenv("PATH"))
    {
        qputenv("PATH", "");
        Desktop::install(new QtDesktop);
    }
    ~NoOpeners() { qputenv("PATH", m_path); }

private:
    QByteArray m_path;
};

// Message boxes that come up while it is alive are noted and answered, so that a box
// where none belongs fails the test instead of blocking it.
class BoxCatcher : public QObject {
public:
    BoxCatcher()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->close();
            }
        });
        m_timer.start(0);
    }
    QStringList texts;

private:
    QTimer m_timer;
};

QList<frmViewer*> viewers(frmMDI* w)
{
    return w->findChildren<frmViewer*>(Qt::FindDirectChildrenOnly);
}

// What a modal window that `trigger` brings up looks like; it is closed again at once.
struct Modal {
    QString kind;
    QWidget* parent = nullptr;
    QRect frame;
    QStringList buttons;
};

Modal catchModal(const std::function<void()>& trigger)
{
    Modal seen;
    QTimer catcher;
    catcher.setInterval(0);
    QObject::connect(&catcher, &QTimer::timeout, [&seen, &catcher] {
        QWidget* m = QApplication::activeModalWidget();
        if (!m)
            return;
        catcher.stop();
        seen.kind = QString::fromLatin1(m->metaObject()->className());
        seen.parent = m->parentWidget();
        seen.frame = m->frameGeometry();
        for (auto* b : m->findChildren<QPushButton*>())
            seen.buttons << b->text();
        m->close();
    });
    catcher.start();
    trigger();
    // A warning comes up once the step that asked for it is over.
    for (int i = 0; i < 20 && seen.kind.isEmpty(); ++i)
        QCoreApplication::processEvents();
    return seen;
}

// Centred on `outer`, as far as the screen lets it be.
void compareCentres(const QRect& inner, const QRect& outer)
{
    QRect expected = inner;
    expected.moveCenter(outer.center());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    expected.moveLeft(qMax(screen.left(), qMin(expected.left(), screen.right() - inner.width())));
    expected.moveTop(qMax(screen.top(), qMin(expected.top(), screen.bottom() - inner.height())));
    const QPoint off = inner.topLeft() - expected.topLeft();
    QVERIFY2(qAbs(off.x()) <= 2 && qAbs(off.y()) <= 2,
             qPrintable(QStringLiteral("centred %1,%2 away").arg(off.x()).arg(off.y())));
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void noOpenerShowsOwnViewer_data();
    void noOpenerShowsOwnViewer();
    void viewerReusedPerFile();
    void viewerRefusesWhatItCannotRead_data();
    void viewerRefusesWhatItCannotRead();
    void messageBoxOverMainWindow_data();
    void messageBoxOverMainWindow();
    void dialogCentredOnMainWindow_data();
    void dialogCentredOnMainWindow();
    void qtTextsInChinese_data();
    void qtTextsInChinese();
    void commandLine_data();
    void commandLine();
    void helpPageNamesTheLog_data();
    void helpPageNamesTheLog();
};

void TestDesktop::noOpenerShowsOwnViewer_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shows");
    QTest::newRow("console help") << "console"
                                  << "車長控制器說明"
                                  << "【輸入路線】";
    QTest::newRow("card help, over the card dialog") << "card"
                                                     << "Pelumo咭設定說明"
                                                     << "【更改Pelumo咭類型】";
    QTest::newRow("trip log") << "log"
                              << "log.txt"
                              << "06:10:05 Start Logging";
}

void TestDesktop::noOpenerShowsOwnViewer()
{
    QFETCH(QString, what);
    QFETCH(QString, title);
    QFETCH(QString, shows);
    TestEnv env(Routes);
    env.writeFile(QStringLiteral("log.txt"), Log);
    auto w = env.start();
    NoOpeners none;
    BoxCatcher boxes;

    std::unique_ptr<frmCard> card;
    if (what == u"console") {
        TestEnv::action(w.get(), QStringLiteral("mnuDDUHelp"))->trigger();
    } else if (what == u"card") {
        card = std::make_unique<frmCard>(*w->processor(), w.get());
        card->open();
        TestEnv::click(TestEnv::find(card.get(), QStringLiteral("cmdHelp")));
    } else {
        TestEnv::action(w.get(), QStringLiteral("mnuViewOutput"))->trigger();
    }

    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(viewers(w.get()).size(), 1);
    frmViewer* v = viewers(w.get()).first();
    QVERIFY(v->isVisible());
    QVERIFY(v->windowTitle().startsWith(title + QStringLiteral(" - ")));
    QVERIFY2(v->shownText().contains(shows), qPrintable(v->shownText().left(200)));
    // Over an open modal dialog the viewer must be modal too, or it takes no input.
    QCOMPARE(v->isModal() || v->windowModality() != Qt::NonModal, what == u"card");
    QCOMPARE(TestEnv::find<QDialogButtonBox>(v, QStringLiteral("buttons"))
                 ->button(QDialogButtonBox::Close)
                 ->text(),
             QStringLiteral("關閉(&C)"));
    compareCentres(v->frameGeometry(), w->frameGeometry());
    v->close();
}

void TestDesktop::viewerReusedPerFile()
{
    TestEnv env(Routes);
    env.writeFile(QStringLiteral("log.txt"), Log);
    auto w = env.start();
    NoOpeners none;

    TestEnv::action(w.get(), QStringLiteral("mnuDDUHelp"))->trigger();
    TestEnv::action(w.get(), QStringLiteral("mnuDDUHelp"))->trigger();
    QCOMPARE(viewers(w.get()).size(), 1);
    TestEnv::action(w.get(), QStringLiteral("mnuViewOutput"))->trigger();
    QCOMPARE(viewers(w.get()).size(), 2);

    // Asked again, the log's viewer reads the file again.
    env.writeFile(QStringLiteral("log.txt"), Log + "12-06-2026\r\n07:00:00 Start Logging\r\n");
    TestEnv::action(w.get(), QStringLiteral("mnuViewOutput"))->trigger();
    QCOMPARE(viewers(w.get()).size(), 2);
    bool seen = false;
    for (frmViewer* v : viewers(w.get()))
        seen = seen || v->shownText().contains(QStringLiteral("07:00:00 Start Logging"));
    QVERIFY(seen);

    // A closed viewer is gone, and a new one comes next time.
    for (frmViewer* v : viewers(w.get()))
        v->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(viewers(w.get()).size(), 0);
    TestEnv::action(w.get(), QStringLiteral("mnuDDUHelp"))->trigger();
    QCOMPARE(viewers(w.get()).size(), 1);
}

void TestDesktop::viewerRefusesWhatItCannotRead_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("missing file") << "missing";
    QTest::newRow("a directory in its place") << "directory";
}

void TestDesktop::viewerRefusesWhatItCannotRead()
{
    QFETCH(QString, fault);
    TestEnv env(Routes);
    auto w = env.start();
    const QString path = env.file(QStringLiteral("log.txt"));
    if (fault == u"directory")
        QVERIFY(QDir(env.dir()).mkdir(QStringLiteral("log.txt")));

    QtDesktop desktop;
    QVERIFY(!desktop.view(path, Desktop::ViewAs::Text));
    QVERIFY(!desktop.view(path, Desktop::ViewAs::Page));
    QCOMPARE(viewers(w.get()).size(), 0);

    // From the menu, with neither an editor nor the viewer, the warning names the file.
    if (fault == u"directory") {
        env.desktop().openSucceeds = env.desktop().viewSucceeds = false;
        TestEnv::action(w.get(), QStringLiteral("mnuViewOutput"))->trigger();
        const QStringList warned = env.desktop().texts(QStringLiteral("warn"));
        QCOMPARE(warned.size(), 1);
        QVERIFY(warned.first().contains(QDir::toNativeSeparators(path)));
    }
}

void TestDesktop::messageBoxOverMainWindow_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("mainShown");
    QTest::addColumn<QStringList>("buttons");
    const QStringList ok{QStringLiteral("確定")};
    QTest::newRow("warning") << "warn" << true << ok;
    QTest::newRow("information") << "info" << true << ok;
    QTest::newRow("stop") << "fatal" << true << ok;
    // Closing the question's box is its default answer.
    QTest::newRow("question") << "ask" << true << QStringList{"輸出(&O)", "結束(&Q)", "取消"};
    // While the program starts, before the main window shows, there is nothing to centre on.
    QTest::newRow("main window not shown yet") << "warn" << false << ok;
}

void TestDesktop::messageBoxOverMainWindow()
{
    QFETCH(QString, kind);
    QFETCH(bool, mainShown);
    QFETCH(QStringList, buttons);
    TestEnv env(Routes);
    auto w = env.start();
    w->move(0, 0); // away from the screen's centre
    if (!mainShown)
        w->hide();

    QtDesktop desktop;
    int answer = -1;
    const Modal box = catchModal([&] {
        if (kind == u"warn")
            desktop.warn(QStringLiteral("不能讀取"));
        else if (kind == u"info")
            desktop.info(QStringLiteral("尚未輸出"));
        else if (kind == u"ask")
            answer = desktop.ask(QStringLiteral("要先輸出嗎？"), buttons, 2);
        else
            desktop.fatal(QStringLiteral("計算錯誤，離開。"));
    });
    QCOMPARE(box.kind, QStringLiteral("QMessageBox"));
    QCOMPARE(box.buttons, buttons);
    QCOMPARE(box.parent, mainShown ? static_cast<QWidget*>(w.get()) : nullptr);
    if (mainShown)
        compareCentres(box.frame, w->frameGeometry());
    if (kind == u"ask")
        QCOMPARE(answer, 2);
}

void TestDesktop::dialogCentredOnMainWindow_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("card settings") << "mnuSetting"
                                   << "frmCard";
    QTest::newRow("options") << "mnuOptions"
                             << "frmOption";
    QTest::newRow("about") << "mnuAbout"
                           << "frmAbout";
}

void TestDesktop::dialogCentredOnMainWindow()
{
    QFETCH(QString, entry);
    QFETCH(QString, dialog);
    TestEnv env(Routes);
    auto w = env.start();
    w->move(0, 0); // the screen's centre and the window's lie apart
    auto* action = w->findChild<QAction*>(entry);
    QVERIFY(action);

    const Modal seen = catchModal([action] { action->trigger(); });
    QCOMPARE(seen.kind, dialog);
    QCOMPARE(seen.parent, static_cast<QWidget*>(w.get()));
    compareCentres(seen.frame, w->frameGeometry());
}

void TestDesktop::qtTextsInChinese_data()
{
    QTest::addColumn<QString>("widget");
    QTest::newRow("line edit") << "QLineEdit";
    QTest::newRow("text box") << "QPlainTextEdit";
    QTest::newRow("help viewer") << "QTextBrowser";
}

void TestDesktop::qtTextsInChinese()
{
    QFETCH(QString, widget);
    TestEnv env; // prepares the application as the program does
    std::unique_ptr<QWidget> box;
    std::unique_ptr<QMenu> menu;
    if (widget == u"QLineEdit") {
        auto* e = new QLineEdit(QStringLiteral("12"));
        box.reset(e);
        menu.reset(e->createStandardContextMenu());
    } else if (widget == u"QPlainTextEdit") {
        auto* e = new QPlainTextEdit(QStringLiteral("12"));
        box.reset(e);
        menu.reset(e->createStandardContextMenu());
    } else {
        auto* e = new QTextBrowser;
        e->setPlainText(QStringLiteral("12"));
        box.reset(e);
        menu.reset(e->createStandardContextMenu());
    }
    QStringList texts;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            texts << a->text().remove(QRegularExpression(QStringLiteral("\\t.*$")));
    QVERIFY2(texts.contains(QStringLiteral("複製(&C)")), qPrintable(texts.join(u'|')));
    for (const QString& t : texts)
        QVERIFY2(!t.contains(QRegularExpression(QStringLiteral("[A-Za-z]{3,}"))), qPrintable(t));
}

void TestDesktop::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("run");
    QTest::addColumn<QString>("pattern");
    const QString usage =
        QStringLiteral("^Usage: pelumo \\[options\\]\\n[\\s\\S]*--help[\\s\\S]*--version");
    const QString version = QStringLiteral("^pelumo \\d+\\.\\d+(\\.\\d+)*\\n$");
    QTest::newRow("none") << QStringList{} << true << "";
    QTest::newRow("--version") << QStringList{"--version"} << false << version;
    QTest::newRow("-v") << QStringList{"-v"} << false << version;
    QTest::newRow("--help") << QStringList{"--help"} << false << usage;
    QTest::newRow("-h") << QStringList{"-h"} << false << usage;
    QTest::newRow("help among others")
        << QStringList{"x.dat", "--bogus", "--help"} << false << usage;
    QTest::newRow("unknown option ignored") << QStringList{"--bogus"} << true << "";
    QTest::newRow("a file ignored") << QStringList{"routes.dat"} << true << "";
    // QApplication's own options stay its own, even where their letters spell -v or -h.
    QTest::newRow("-reverse") << QStringList{"-reverse"} << true << "";
    QTest::newRow("-platformtheme") << QStringList{"-platformtheme", "x"} << true << "";
}

void TestDesktop::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(bool, run);
    QFETCH(QString, pattern);
    const Startup::CommandLine c =
        Startup::readCommandLine(QStringList{QStringLiteral("/usr/bin/pelumo")} + args);
    QCOMPARE(c.run, run);
    if (run)
        QVERIFY(c.text.isEmpty());
    else
        QVERIFY2(QRegularExpression(pattern).match(c.text).hasMatch(), qPrintable(c.text));
}

void TestDesktop::helpPageNamesTheLog_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("folder"); // under the program's directory; empty for itself
    QTest::newRow("own copy") << false << "";
    QTest::newRow("installed copy") << true << "";
    QTest::newRow("markup in the folder's name") << false << "a&b <i>c</i>";
}

void TestDesktop::helpPageNamesTheLog()
{
    QFETCH(bool, installed);
    QFETCH(QString, folder);
    TestEnv env(Routes);
    if (!folder.isEmpty()) {
        QVERIFY(QDir(env.dir()).mkpath(folder));
        AppPaths::setProgramDir(env.file(folder));
    }
    if (installed)
        env.writeFile(AppPaths::InstalledMarker, "");
    const QString expected =
        QDir::toNativeSeparators(installed ? AppPaths::userDataDir() + QStringLiteral("/log.txt")
                                           : QDir(AppPaths::programDir()).filePath("log.txt"));

    QTextDocument page;
    page.setHtml(HelpPages::text(HelpPages::Page::Console));
    QVERIFY2(page.toPlainText().contains(expected), qPrintable(page.toPlainText()));
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
