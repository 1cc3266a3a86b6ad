// The program as a desktop program: its own viewer when no browser or editor starts, message
// boxes and dialogs over the main window, Qt's texts in Chinese, the command line, and the
// help page telling where the trip log goes.
#include "support/TestEnv.h"

#include "ddu/Console.h"
#include "dialogs/frmCard.h"
#include "dialogs/frmViewer.h"
#include "platform/AppPaths.h"
#include "platform/HelpPages.h"
#include "platform/Settings.h"
#include "shell/QtDesktop.h"
#include "shell/Startup.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>

#include <functional>
#include <memory>
#include <sys/stat.h>

Q_DECLARE_METATYPE(UiLanguage)

namespace {

const QString Routes = QStringLiteral("12#北門#5.40\r\n");
const QByteArray Log = "12-06-2026\r\n06:10:05 Start Logging\r\n06:20:01 -----\r\n\r\n";

// The production desktop with no program on the PATH to open anything with, as on a
// machine without a browser or an editor; put back as it was when the test ends. Given an
// exit status, the PATH holds an xdg-open that ends with it: 3 as when it finds no browser
// or editor, 0 as when it opens the file.
class NoOpeners {
public:
    explicit NoOpeners(int status = -1) : m_path(qgetenv("PATH"))
    {
        QFile script(m_dir.filePath(QStringLiteral("xdg-open")));
        if (status >= 0 && script.open(QIODevice::WriteOnly)) {
            script.write("#!/bin/sh\nexit " + QByteArray::number(status) + "\n");
            script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        qputenv("PATH", QFile::encodeName(m_dir.path()));
        Desktop::install(new QtDesktop);
    }
    ~NoOpeners() { qputenv("PATH", m_path); }

private:
    QTemporaryDir m_dir;
    QByteArray m_path;
};

// Until the openers started have ended, as the event loop sees it.
void awaitOpeners()
{
    QTimer tick; // wakes the loop should nothing else
    tick.start(50);
    const QDeadlineTimer deadline(10000);
    while (!qApp->findChildren<QProcess*>().isEmpty() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

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
    void viewerFinds_data();
    void viewerFinds();
    void viewerRefusesWhatItCannotRead_data();
    void viewerRefusesWhatItCannotRead();
    void viewerShowsTheEndOfALongLog_data();
    void viewerShowsTheEndOfALongLog();
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
    void languageChosenFromTheMenu_data();
    void languageChosenFromTheMenu();
};

void TestDesktop::noOpenerShowsOwnViewer_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shows");
    QTest::addColumn<int>("opener"); // xdg-open's exit status; -1 for none on the PATH
    QTest::newRow("console help") << "console"
                                  << "車長控制器說明"
                                  << "【輸入路線】" << -1;
    QTest::newRow("card help, over the card dialog") << "card"
                                                     << "Pelumo咭設定說明"
                                                     << "【更改Pelumo咭類型】" << -1;
    QTest::newRow("trip log") << "log"
                              << "log.txt"
                              << "06:10:05 Start Logging" << -1;
    // xdg-open is there but finds no browser or editor.
    QTest::newRow("console help, opener finds nothing") << "console"
                                                        << "車長控制器說明"
                                                        << "【輸入路線】" << 3;
    QTest::newRow("card help, opener finds nothing") << "card"
                                                     << "Pelumo咭設定說明"
                                                     << "【更改Pelumo咭類型】" << 3;
    QTest::newRow("trip log, opener finds nothing") << "log"
                                                    << "log.txt"
                                                    << "06:10:05 Start Logging" << 3;
    // It opens the file: no viewer of ours besides.
    QTest::newRow("trip log, opener opens it") << "log"
                                               << ""
                                               << "" << 0;
}

void TestDesktop::noOpenerShowsOwnViewer()
{
    QFETCH(QString, what);
    QFETCH(QString, title);
    QFETCH(QString, shows);
    QFETCH(int, opener);
    TestEnv env(Routes);
    env.writeFile(QStringLiteral("log.txt"), Log);
    auto w = env.start();
    NoOpeners none(opener);
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
    awaitOpeners();

    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(viewers(w.get()).size(), opener == 0 ? 0 : 1);
    if (opener == 0)
        return;
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

void TestDesktop::viewerFinds_data()
{
    QTest::addColumn<bool>("page");
    QTest::addColumn<QString>("keys"); // "Ctrl+F", "F3", ... or ":text" typed
    QTest::addColumn<int>("line");     // the line of the match marked; -1 for none
    QTest::addColumn<QString>("open"); // "field", "viewer" or "nothing"
    const QString typed = QStringLiteral("Ctrl+F|:logging");
    QTest::newRow("typing finds the first") << false << typed << 0 << "field";
    QTest::newRow("F3 the next") << false << typed + "|F3" << 2 << "field";
    QTest::newRow("page: F3 the next") << true << typed + "|F3" << 2 << "field";
    QTest::newRow("F3 past the last goes round") << false << typed + "|F3|F3" << 0 << "field";
    QTest::newRow("Shift+F3 from the first goes round")
        << false << typed + "|Shift+F3" << 2 << "field";
    QTest::newRow("Enter in the field finds the next")
        << false << typed + "|Return" << 2 << "field";
    QTest::newRow("nothing found") << false << "Ctrl+F|:Loggingx" << -1 << "field";
    QTest::newRow("F3 with nothing to find opens the field") << false << "F3" << -1 << "field";
    QTest::newRow("page: Esc closes the field only") << true << typed + "|Esc" << 0 << "viewer";
    QTest::newRow("Esc again closes the viewer") << false << typed + "|Esc|Esc" << 0 << "nothing";
}

void TestDesktop::viewerFinds()
{
    QFETCH(bool, page);
    QFETCH(QString, keys);
    QFETCH(int, line);
    QFETCH(QString, open);
    TestEnv env(Routes);
    const QStringList lines = {"06:10:05 Start Logging", "06:20:01 -----", "07:00:00 Start Logging",
                               "07:30:00 Route Changed 12"};
    const QString file = page ? QStringLiteral("page.html") : QStringLiteral("log.txt");
    env.writeFile(file,
                  page ? ("<html><body><p>" + lines.join("</p><p>") + "</p></body></html>").toUtf8()
                       : lines.join("\r\n").toUtf8());
    auto w = env.start();
    frmViewer* v = frmViewer::showFile(
        w.get(), env.file(file), page ? frmViewer::Format::Html : frmViewer::Format::PlainText);
    QVERIFY(v);
    QApplication::setActiveWindow(v);
    QPointer<frmViewer> alive(v);

    for (const QString& k : keys.split(u'|')) {
        QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : v;
        if (k.startsWith(u':')) {
            QTest::keyClicks(to, k.mid(1));
            continue;
        }
        const QKeySequence seq(k);
        QTest::keyClick(to, Qt::Key(seq[0].key()), seq[0].keyboardModifiers());
    }

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(!alive.isNull() && alive->isVisible(), open != u"nothing");
    if (!alive)
        return;
    QCOMPARE(TestEnv::find(v, QStringLiteral("findBar"))->isVisible(), open == u"field");
    QCOMPARE(v->foundText().toLower(), line < 0 ? QString() : QStringLiteral("logging"));
    if (line < 0)
        return;
    const QTextCursor at =
        page ? TestEnv::find<QTextBrowser>(v, QStringLiteral("page"))->textCursor()
             : TestEnv::find<QPlainTextEdit>(v, QStringLiteral("text"))->textCursor();
    QCOMPARE(at.blockNumber(), line);
    v->close();
}

void TestDesktop::viewerRefusesWhatItCannotRead_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("missing file") << "missing";
    QTest::newRow("a directory in its place") << "directory";
    // Each of these held the viewer for ever, or filled the memory.
    QTest::newRow("a FIFO in its place") << "fifo";
    QTest::newRow("a link to /dev/zero") << "zero";
    QTest::newRow("a link to a log") << "link";
}

void TestDesktop::viewerRefusesWhatItCannotRead()
{
    QFETCH(QString, fault);
    TestEnv env(Routes);
    auto w = env.start();
    const QString path = env.file(QStringLiteral("log.txt"));
    if (fault == u"directory")
        QVERIFY(QDir(env.dir()).mkdir(QStringLiteral("log.txt")));
    else if (fault == u"fifo")
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    else if (fault == u"zero")
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    else if (fault == u"link")
        QVERIFY(QFile::link(env.file(QStringLiteral("other.txt")), path));
    env.writeFile(QStringLiteral("other.txt"), Log);

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

void TestDesktop::viewerShowsTheEndOfALongLog_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("last"); // how what is shown ends
    QTest::addColumn<QString>("note");
    const QString end = QStringLiteral("07:00:00 Log Reset");
    const QString onlyEnd = QStringLiteral("log.txt 有 %1 MiB，這裡只顯示最後 256 KiB。");
    const QString longLines = QStringLiteral("超過 4096 個字元的行只顯示開頭。");
    QTest::newRow("short, whole") << QByteArray("06:10:05 Start Logging\r\n") << 3 << end << "";
    QTest::newRow("3 MiB of lines") << QByteArray("06:10:05 Start Logging 0123456789\r\n")
                                    << 3 * 1024 * 1024 / 35 << end << onlyEnd.arg("3.0");
    QTest::newRow("a line of 5000 characters") << QByteArray(5000, 'x') + "\r\n"
                                               << 2 << end << longLines;
    // Three bytes a character, the cut falls inside one: no broken character is shown.
    QTest::newRow("one line of 2 MiB") << u"北"_qs.repeated(2 * 1024 * 1024 / 3 + 1).toUtf8() << 1
                                       << u"北…"_qs << onlyEnd.arg("2.0") + u' ' + longLines;
}

// A log of any length opens at once: its end, from a whole line or character, lines cut to
// a length that can be laid out, and a note saying what is not shown.
void TestDesktop::viewerShowsTheEndOfALongLog()
{
    QFETCH(QByteArray, line);
    QFETCH(int, lines);
    QFETCH(QString, last);
    QFETCH(QString, note);
    TestEnv env(Routes);
    env.writeFile(QStringLiteral("log.txt"), line.repeated(lines) + "07:00:00 Log Reset");
    auto w = env.start();
    frmViewer* v = frmViewer::showFile(w.get(), env.file(QStringLiteral("log.txt")),
                                       frmViewer::Format::PlainText);
    QVERIFY(v);
    const QString shown = v->shownText();
    QVERIFY(shown.size() <= 256 * 1024);
    QVERIFY(shown.startsWith(QString::fromUtf8(line.left(6))));
    QVERIFY(shown.endsWith(last));
    QVERIFY(!shown.contains(QChar::ReplacementCharacter));
    QCOMPARE(TestEnv::find<QLabel>(v, QStringLiteral("note"))->isVisible(), !note.isEmpty());
    QCOMPARE(TestEnv::find<QLabel>(v, QStringLiteral("note"))->text(), note);
    v->close();
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
    QTest::addColumn<UiLanguage>("language");
    QTest::addColumn<bool>("run");
    QTest::addColumn<QString>("pattern");
    const QString usage =
        QStringLiteral("^Usage: pelumo \\[options\\]\\n[\\s\\S]*--help[\\s\\S]*--version");
    const QString version = QStringLiteral("^pelumo \\d+\\.\\d+(\\.\\d+)*\\n$");
    const auto en = UiLanguage::English;
    QTest::newRow("none") << QStringList{} << en << true << "";
    QTest::newRow("--version") << QStringList{"--version"} << en << false << version;
    QTest::newRow("-v") << QStringList{"-v"} << en << false << version;
    QTest::newRow("--help") << QStringList{"--help"} << en << false << usage;
    QTest::newRow("-h") << QStringList{"-h"} << en << false << usage;
    QTest::newRow("help among others")
        << QStringList{"x.dat", "--bogus", "--help"} << en << false << usage;
    QTest::newRow("unknown option ignored") << QStringList{"--bogus"} << en << true << "";
    QTest::newRow("a file ignored") << QStringList{"routes.dat"} << en << true << "";
    // QApplication's own options stay its own, even where their letters spell -v or -h.
    QTest::newRow("-reverse") << QStringList{"-reverse"} << en << true << "";
    QTest::newRow("-platformtheme") << QStringList{"-platformtheme", "x"} << en << true << "";
    // In Chinese, nothing is left in English from the parser's own texts.
    QTest::newRow("--help in Chinese")
        << QStringList{"--help"} << UiLanguage::Chinese << false
        << QStringLiteral(
               "^用法：pelumo \\[選項\\]\\n巴士Pelumo機模擬器：[\\s\\S]*\\n\\n選項：\\n"
               "  -h, --help +顯示本說明後結束。\\n  -v, --version +顯示版本後結束。\\n$");
    QTest::newRow("--version in Chinese")
        << QStringList{"--version"} << UiLanguage::Chinese << false << version;
}

void TestDesktop::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(UiLanguage, language);
    QFETCH(bool, run);
    QFETCH(QString, pattern);
    const Startup::CommandLine c =
        Startup::readCommandLine(QStringList{QStringLiteral("/usr/bin/pelumo")} + args, language);
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

// What the window says about itself: every caption, tooltip and accessible text.
static QStringList interfaceTexts(const frmMDI* w)
{
    QStringList out{w->windowTitle()};
    for (const QWidget* c : w->findChildren<QWidget*>())
        out << c->objectName() + u'|' + c->windowTitle() + u'|' + c->toolTip() + u'|' +
                   c->accessibleName() + u'|' + c->accessibleDescription();
    for (const QAction* a : w->findChildren<QAction*>())
        out << a->objectName() + u'|' + a->text() + (a->isChecked() ? u'*' : u' ');
    return out;
}

void TestDesktop::languageChosenFromTheMenu_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("english"); // its caption, tooltip or window title
    QTest::newRow("menu") << "mnuBar_0"
                          << "&Program";
    QTest::newRow("entry") << "mnuViewOutput"
                           << "View Trip &Log";
    QTest::newRow("window") << "frmMDI"
                            << "Pelumo Bus Simulator";
    QTest::newRow("panel") << "frmDDU_window"
                           << "Driver Console";
    QTest::newRow("key") << "imgRoute"
                         << "Route (letter U)\nKeyboard: F5";
    QTest::newRow("open report") << "frmReport"
                                 << "Trip report";
}

// English at once and kept for the next start; back to Chinese, the window as it was. The
// devices' displays never change with it.
void TestDesktop::languageChosenFromTheMenu()
{
    QFETCH(QString, object);
    QFETCH(QString, english);
    TestEnv env(TestEnv::ExampleRoutes);
    auto w = env.start();
    TestEnv::logIn(w.get());
    if (object == u"frmReport")
        TestEnv::action(w.get(), QStringLiteral("mnuReport"))->trigger();
    const QStringList chinese = interfaceTexts(w.get());
    auto display = [&] {
        return QStringList{w->console()->line(0), w->console()->line(1), w->console()->line(2),
                           w->console()->line(3)};
    };
    const QStringList before = display();
    const QString cardLanguage = TestEnv::stored(Settings::Language);
    auto shown = [&] {
        QObject* o = w.get();
        if (object == u"frmReport") {
            for (auto* report : w->findChildren<QWidget*>(object))
                if (report->isVisible())
                    o = report;
        } else if (object != u"frmMDI") {
            o = TestEnv::find<QObject>(w.get(), object);
        }
        if (auto* a = qobject_cast<QAction*>(o))
            return a->text();
        if (auto* m = qobject_cast<QMenu*>(o))
            return m->title();
        auto* widget = static_cast<QWidget*>(o);
        return widget->toolTip().isEmpty() ? widget->windowTitle() : widget->toolTip();
    };

    TestEnv::action(w.get(), QStringLiteral("mnuEnglish"))->trigger();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(); // what the language change queued
    QCOMPARE(shown(), english);
    QCOMPARE(TestEnv::stored(Settings::Interface), QStringLiteral("en"));
    QVERIFY(TestEnv::action(w.get(), QStringLiteral("mnuEnglish"))->isChecked());
    QCOMPARE(display(), before);

    TestEnv::action(w.get(), QStringLiteral("mnuChinese"))->trigger();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(interfaceTexts(w.get()), chinese);
    QCOMPARE(TestEnv::stored(Settings::Interface), QStringLiteral("zh_TW"));
    QCOMPARE(TestEnv::stored(Settings::Language), cardLanguage);
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
