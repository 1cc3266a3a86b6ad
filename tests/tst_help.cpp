// The help pages written to temphelp.html and the trip-log viewer.
#include "support/TestEnv.h"

#include "dialogs/frmCard.h"
#include "platform/AppPaths.h"
#include "platform/Desktop.h"
#include "platform/HelpPages.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using HelpPages::Page;

Q_DECLARE_METATYPE(HelpPages::Page)
Q_DECLARE_METATYPE(UiLanguage)

namespace {

const QString Routes = QStringLiteral("12#北門#5.40\r\n");
const QString HelpFile = QStringLiteral("temphelp.html");

// Shows a page the way the user reaches it: the help menu, or 說明 in the card dialog.
void showFromUi(const frmMDI* w, Page page)
{
    if (page == Page::Console) {
        TestEnv::action(w, QStringLiteral("mnuDDUHelp"))->trigger();
        return;
    }
    frmCard dlg(*w->processor());
    dlg.open();
    TestEnv::click(TestEnv::find<QPushButton>(&dlg, QStringLiteral("cmdHelp")));
    dlg.hide(); // not closed: closing would remove the page
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void pageFile_data();
    void pageFile();
    void laterPageReplacesEarlier();
    void failureWarnsOnly_data();
    void failureWarnsOnly();
    void logViewer_data();
    void logViewer();
};

void TestHelp::pageFile_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<UiLanguage>("language");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QString>("line8");
    QTest::addColumn<QString>("line10");
    // The console's page ends with the keyboard map.
    QTest::newRow("console") << Page::Console << UiLanguage::Chinese << 48 << "改的。<p>"
                             << "<b>【輸入路線】</b><br>";
    QTest::newRow("card") << Page::Card << UiLanguage::Chinese << 31 << "語言<p>"
                          << "<b>【更改Pelumo咭類型】</b><br>";
    QTest::newRow("console, English") << Page::Console << UiLanguage::English << 48 << "(BCP).<p>"
                                      << "<b>[Entering a route]</b><br>";
    QTest::newRow("card, English")
        << Page::Card << UiLanguage::English << 30 << "card processor.<p>"
        << "<b>[Changing the card's type]</b><br>";
}

void TestHelp::pageFile()
{
    QFETCH(Page, page);
    QFETCH(UiLanguage, language);
    QFETCH(int, lineCount);
    QFETCH(QString, line8);
    QFETCH(QString, line10);
    TestEnv env(Routes);
    auto w = env.start();
    if (language == UiLanguage::Chinese)
        showFromUi(w.get(), page);
    else
        QVERIFY(HelpPages::show(page, language));

    const QByteArray bytes = env.readFile(HelpFile);
    QCOMPARE(env.desktop().texts(QStringLiteral("openFile")), QStringList{env.file(HelpFile)});
    QCOMPARE(env.desktop().count(QStringLiteral("warn")), 0);
    const QByteArray html = language == UiLanguage::English ? "<html lang=\"en\">" : "<html>";
    QVERIFY(bytes.startsWith(html + "<head><meta charset=\"utf-8\"><title>\r\n"));
    QVERIFY(bytes.endsWith("</body></html>\r\n"));
    QVERIFY(bytes.contains((line8 + "\r\n\r\n" + line10).toUtf8()));
    // Only CR LF breaks, one after every line.
    QCOMPARE(bytes.count("\r\n"), lineCount);
    QCOMPARE(bytes.count('\n'), lineCount);
    QCOMPARE(QString::fromUtf8(bytes).toUtf8(), bytes);
    if (page == Page::Console && language == UiLanguage::Chinese) {
        QVERIFY(bytes.contains("\r\n輸入英文字：按「英文字 SHIFT」→ \r\n"));
        QVERIFY(bytes.contains("F5：路線"));
    }
    // Every language has the Chinese page's sections, its own title, the log's place and
    // every key of the keyboard map.
    const QString page0 = HelpPages::text(page);
    const QString pageN = QString::fromUtf8(bytes);
    QCOMPARE(pageN.count(QStringLiteral("<b>")), page0.count(QStringLiteral("<b>")));
    QCOMPARE(pageN.section(u'\n', 1, 1) == page0.section(u'\n', 1, 1),
             language == UiLanguage::Chinese);
    QCOMPARE(pageN.contains(QDir::toNativeSeparators(AppPaths::logFile())), page == Page::Console);
    static const QRegularExpression key(
        QStringLiteral("(Ctrl|Shift)\\+\\w+|\\bF\\d\\b|\\b(Insert|Enter|Esc)\\b|\\(Y/N\\)|[↑↓]"));
    for (auto it = key.globalMatch(page0); it.hasNext();) {
        const QString k = it.next().captured();
        QVERIFY2(pageN.contains(k), qPrintable(k));
    }
}

void TestHelp::laterPageReplacesEarlier()
{
    TestEnv env(Routes);
    auto w = env.start();
    showFromUi(w.get(), Page::Console);
    showFromUi(w.get(), Page::Card);
    QCOMPARE(env.readFile(HelpFile), (HelpPages::text(Page::Card) + "\r\n").toUtf8());
}

void TestHelp::failureWarnsOnly_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    for (Page page : {Page::Console, Page::Card}) {
        const QString message = page == Page::Console
                                    ? QStringLiteral("不能取得車長控制器說明檔案。")
                                    : QStringLiteral("不能取得Pelumo咭設定說明檔案。");
        const char* name = page == Page::Console ? "console" : "card";
        for (const char* fault : {"directory missing", "file unwritable"})
            QTest::addRow("%s, %s", name, fault) << page << fault << message;
        // Written, but neither a browser nor the program's own viewer could show it.
        QTest::addRow("%s, no browser or viewer", name)
            << page << "no browser or viewer" << QStringLiteral("不能啟動瀏覽器開啟說明頁。");
        // The opener starts, finds no browser, and the viewer cannot show the page.
        QTest::addRow("%s, opener finds nothing, no viewer", name)
            << page << "opener finds nothing" << QStringLiteral("不能啟動瀏覽器開啟說明頁。");
    }
}

void TestHelp::failureWarnsOnly()
{
    QFETCH(Page, page);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    TestEnv env(Routes);
    auto w = env.start();
    env.desktop().calls.clear();
    if (fault == u"directory missing")
        AppPaths::setProgramDir(env.file(QStringLiteral("gone")));
    else if (fault == u"file unwritable") // a directory in its place stops even root
        QVERIFY(QDir(env.dir()).mkdir(HelpFile));
    else if (fault == u"opener finds nothing") {
        env.desktop().openFindsNothing = true;
        env.desktop().viewSucceeds = false;
    } else {
        env.desktop().openSucceeds = env.desktop().viewSucceeds = false;
    }

    showFromUi(w.get(), page);
    const QStringList kinds = [&] {
        QStringList k;
        for (const FakeDesktop::Call& c : env.desktop().calls)
            k << c.kind;
        return k;
    }();
    if (fault.startsWith(u"no browser") || fault.startsWith(u"opener"))
        QCOMPARE(kinds, (QStringList{QStringLiteral("openFile"), QStringLiteral("viewPage"),
                                     QStringLiteral("warn")}));
    else
        QCOMPARE(kinds, QStringList{QStringLiteral("warn")});
    QCOMPARE(env.desktop().texts(QStringLiteral("warn")), QStringList{message});
}

void TestHelp::logViewer_data()
{
    QTest::addColumn<bool>("logExists");
    QTest::addColumn<bool>("editorStarts");
    QTest::addColumn<QStringList>("kinds");
    QTest::newRow("opens") << true << true << QStringList{"openFile"};
    QTest::newRow("no log output yet") << false << true << QStringList{"info"};
    QTest::newRow("no editor") << true << false << QStringList{"openFile", "viewText"};
}

void TestHelp::logViewer()
{
    QFETCH(bool, logExists);
    QFETCH(bool, editorStarts);
    QFETCH(QStringList, kinds);
    TestEnv env(Routes);
    auto w = env.start();
    env.desktop().calls.clear();
    if (logExists)
        env.writeFile(QStringLiteral("log.txt"), "12-06-2026\r\n");
    env.desktop().openSucceeds = editorStarts;

    TestEnv::action(w.get(), QStringLiteral("mnuViewOutput"))->trigger();
    QStringList seen;
    for (const FakeDesktop::Call& c : env.desktop().calls) {
        seen << c.kind;
        if (c.kind == u"openFile")
            QCOMPARE(c.text, env.file(QStringLiteral("log.txt")));
        if (c.kind == u"warn")
            QVERIFY(c.text.contains(QDir::toNativeSeparators(env.file(QStringLiteral("log.txt")))));
        if (c.kind == u"info")
            QVERIFY(c.text.contains(QStringLiteral("log.txt")));
    }
    QCOMPARE(seen, kinds);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
