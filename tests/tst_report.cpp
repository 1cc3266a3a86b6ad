// The trip report window over reports made up here: its rows and totals, the exported
// files, the chart's bars, the period asked for, the keyboard.
#include "support/TestEnv.h"

#include "dialogs/ReportBars.h"
#include "dialogs/ReportTable.h"
#include "dialogs/frmReport.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QSet>
#include <QTest>

namespace {

using journal::Report;

QDateTime at(const QString& text)
{
    return QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm"));
}

// "route|destination|start|end|adult cents|adult count|not enough value" per trip; the
// days and the total summed from them, as the journal's queries do.
Report reportOf(const QStringList& trips)
{
    Report r;
    for (const QString& line : trips) {
        const QStringList f = line.split(u'|');
        journal::TripRow t;
        t.trip = r.trips.size() + 1;
        t.route = f[0];
        t.destination = f[1];
        t.start = at(f[2]);
        t.end = at(f[3]);
        t.tally.takings[0] = Money::cents(f[4].toLongLong());
        t.tally.passengers[0] = f[5].toInt();
        t.tally.refusals[int(journal::Refusal::NotEnoughValue)] = f[6].toInt();
        r.trips << t;
        if (r.days.isEmpty() || r.days.last().day != t.start.date())
            r.days << journal::DayRow{t.start.date(), {}};
        for (journal::Tally* sum : {&r.days.last().tally, &r.total}) {
            sum->takings[0] = sum->takings[0] + t.tally.takings[0];
            sum->passengers[0] += t.tally.passengers[0];
            sum->refusals[1] += t.tally.refusals[1];
        }
    }
    return r;
}

// Each row as "kind:date,route,destination,start,end,adults,takings" of what the table
// shows.
QStringList shown(const ReportTable& table)
{
    QStringList rows;
    for (int r = 0; r < table.rowCount(); ++r) {
        QStringList cells;
        for (int c : {int(ReportTable::Date), int(ReportTable::Route),
                      int(ReportTable::Destination), int(ReportTable::Start), int(ReportTable::End),
                      int(ReportTable::FirstPassengers), int(ReportTable::Takings)})
            cells << table.index(r, c).data().toString();
        const char* kind = "TDS";
        rows << QChar::fromLatin1(kind[int(table.rowKind(r))]) + u':' + cells.join(u',');
    }
    return rows;
}

const QString Header =
    QStringLiteral("日期,路線,方向,開始,結束,乘客（成人）,乘客（小童）,乘客（學童）,"
                   "乘客（長者）,乘客（開機卡）,收款（元）,未收費（已付款）,未收費（餘額不足）,"
                   "未收費（讀卡錯誤）,未收費（拒絕）,未收費（過熱）\r\n");

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { frmReport::setChartLibrary(QStringLiteral(PELUMO_CHART_LIBRARY)); }
    void rows_data();
    void rows();
    void csv_data();
    void csv();
    void exportsWhole();
    void chartBars_data();
    void chartBars();
    void period();
    void keyboard();
    void fromMenu();
};

void TestReport::rows_data()
{
    QTest::addColumn<QStringList>("trips");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("none") << QStringList() << QStringList();
    QTest::newRow("two days") << QStringList{"12|北門|2026-12-07 08:00|2026-12-07 08:40|540|1|0",
                                             "12|南碼頭|2026-12-07 09:00|2026-12-07 09:30|1005|2|1",
                                             "2X|東公園|2026-12-08 07:15|2026-12-08 07:50|5|1|0"}
                              << QStringList{"T:2026-12-07,12,北門,08:00:00,08:40:00,1,5.40",
                                             "T:2026-12-07,12,南碼頭,09:00:00,09:30:00,2,10.05",
                                             "D:2026-12-07,全日合計,,,,3,15.45",
                                             "T:2026-12-08,2X,東公園,07:15:00,07:50:00,1,0.05",
                                             "D:2026-12-08,全日合計,,,,1,0.05",
                                             "S:,總計,,,,4,15.50"};
    QTest::newRow("past midnight, still running")
        << QStringList{"12|北門|2026-12-07 23:50|2026-12-08 00:20|0|0|3",
                       "12|北門|2026-12-08 06:00||0|0|0"}
        << QStringList{"T:2026-12-07,12,北門,23:50:00,2026-12-08 00:20:00,0,0.00",
                       "D:2026-12-07,全日合計,,,,0,0.00", "T:2026-12-08,12,北門,06:00:00,,0,0.00",
                       "D:2026-12-08,全日合計,,,,0,0.00", "S:,總計,,,,0,0.00"};
}

void TestReport::rows()
{
    QFETCH(QStringList, trips);
    QFETCH(QStringList, expected);
    ReportTable table;
    table.setReport(reportOf(trips));
    QCOMPARE(shown(table), expected);
}

void TestReport::csv_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QByteArray>("fields");
    QTest::newRow("plain") << "12"
                           << "北門" << QByteArray("12,北門");
    QTest::newRow("comma and quote") << "12,A"
                                     << "\"北\"門" << QByteArray("\"12,A\",\"\"\"北\"\"門\"");
    QTest::newRow("line breaks") << "1\r\n2"
                                 << "a\nb" << QByteArray("\"1\r\n2\",\"a\nb\"");
    QTest::newRow("formula kept as text") << "=1+2"
                                          << "@SUM(A1)" << QByteArray("'=1+2,'@SUM(A1)");
}

void TestReport::csv()
{
    QFETCH(QString, route);
    QFETCH(QString, destination);
    QFETCH(QByteArray, fields);
    Report r = reportOf({QStringLiteral("x|y|2026-12-07 08:00|2026-12-07 08:40|1234|2|1")});
    r.trips[0].route = route;
    r.trips[0].destination = destination;
    ReportTable table;
    table.setReport(r);
    const QByteArray counts = ",2,0,0,0,0,12.34,0,1,0,0,0\r\n";
    QCOMPARE(table.csv(), Header.toUtf8() + "2026-12-07," + fields +
                              ",2026-12-07 08:00:00,2026-12-07 08:40:00" + counts +
                              "2026-12-07,全日合計,,,,2,0,0,0,0,12.34,0,1,0,0,0\r\n" +
                              ",總計,,,,2,0,0,0,0,12.34,0,1,0,0,0\r\n");
}

void TestReport::exportsWhole()
{
    ModelEnv env;
    const Report r =
        reportOf({QStringLiteral("12|北門|2026-12-07 08:00|2026-12-07 08:40|540|1|0")});
    frmReport w({[&](QDate, QDate) { return r; }, QDate(2026, 12, 7), QDate(2026, 12, 7), {}});
    QString error;
    QVERIFY(w.exportCsv(env.file(QStringLiteral("r.csv")), &error));
    QCOMPARE(env.readFile(QStringLiteral("r.csv")), w.table().csv());
    QVERIFY(w.exportPng(env.file(QStringLiteral("r.png")), &error));
    QVERIFY(QImage(env.file(QStringLiteral("r.png"))).width() > 100);
    // Into a folder that is not there: refused with a reason, nothing written.
    const QString missing = env.file(QStringLiteral("none/r.csv"));
    QVERIFY(!w.exportCsv(missing, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(missing));
}

void TestReport::chartBars_data()
{
    QTest::addColumn<int>("trips");
    QTest::addColumn<int>("perDay");
    QTest::addColumn<int>("apart"); // seconds between a day's trips
    QTest::addColumn<int>("grouping");
    QTest::addColumn<int>("bars");
    QTest::newRow("few trips") << 3 << 2 << 600 << int(ReportBars::Grouping::Trip) << 3;
    QTest::newRow("same minute") << 4 << 4 << 10 << int(ReportBars::Grouping::Trip) << 4;
    QTest::newRow("as many as fit") << 200 << 10 << 600 << int(ReportBars::Grouping::Trip) << 200;
    QTest::newRow("by day") << 201 << 10 << 600 << int(ReportBars::Grouping::Day) << 21;
    QTest::newRow("by month") << 402 << 1 << 600 << int(ReportBars::Grouping::Month) << 14;
}

void TestReport::chartBars()
{
    QFETCH(int, trips);
    QFETCH(int, perDay);
    QFETCH(int, apart);
    QFETCH(int, grouping);
    QFETCH(int, bars);
    QStringList lines;
    const QDateTime first = at(QStringLiteral("2026-01-01 08:00"));
    for (int i = 0; i < trips; ++i) {
        const QDateTime start = first.addDays(i / perDay).addSecs(apart * (i % perDay));
        lines << QStringLiteral("12|北門|%1|%1|540|1|0")
                     .arg(start.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    }
    const ReportBars chart(reportOf(lines));
    QCOMPARE(int(chart.grouping()), grouping);
    QCOMPARE(chart.barCount(), bars);
    // A chart takes one bar for two of the same label: even trips that begin in the same
    // minute have labels of their own.
    const ChartPicture picture = chart.picture();
    QCOMPARE(QSet<QString>(picture.labels.begin(), picture.labels.end()).size(), bars);
    QCOMPARE(picture.values[0].size(), bars);
    const QString expected = grouping == int(ReportBars::Grouping::Trip)
                                 ? QStringLiteral("2026-01-01 08:00 路線 12 往北門\n成人：5.40")
                             : grouping == int(ReportBars::Grouping::Day)
                                 ? QStringLiteral("2026-01-01\n成人：54.00")
                                 : QStringLiteral("2026-01\n成人：167.40");
    QCOMPARE(chart.tip(0, 0), expected);
}

void TestReport::period()
{
    ModelEnv env;
    QList<QPair<QDate, QDate>> asked;
    const auto query = [&](QDate from, QDate to) {
        asked << qMakePair(from, to);
        return Report();
    };
    frmReport w({query, QDate(2026, 11, 30), QDate(2026, 12, 5), {}});
    // The latest day first; a start moved past the end takes the end along.
    QCOMPARE(asked.takeLast(), qMakePair(QDate(2026, 12, 5), QDate(2026, 12, 5)));
    QCOMPARE(w.status(), QStringLiteral("所選日期內沒有行程。"));
    auto* from = TestEnv::find<QDateEdit>(&w, QStringLiteral("dtpFrom"));
    from->setDate(QDate(2026, 12, 9));
    emit from->editingFinished();
    QCOMPARE(asked.takeLast(), qMakePair(QDate(2026, 12, 9), QDate(2026, 12, 9)));
    // Without a journal nothing is asked and the window says why.
    frmReport none({{}, {}, {}, QStringLiteral("檔案已損壞")});
    QCOMPARE(none.status(), QStringLiteral("沒有行程日誌，所以沒有可報告的行程：檔案已損壞"));
    QCOMPARE(none.table().rowCount(), 0);
}

void TestReport::keyboard()
{
    ModelEnv env;
    // Closing deletes it.
    QPointer<frmReport> w =
        new frmReport({[](QDate, QDate) { return reportOf({"1|a|2026-12-07 08:00||1|1|0"}); },
                       QDate(2026, 12, 7),
                       QDate(2026, 12, 7),
                       {}});
    w->show();
    QApplication::setActiveWindow(w);
    // Tab goes round every control once (a date's parts first), each named for assistive
    // technology.
    QStringList names;
    QWidget* start = QApplication::focusWidget();
    QVERIFY(start);
    QWidget* now = start;
    for (int n = 0; n < 30 && (names.size() < 2 || now != start); ++n) {
        const QString name = now->objectName() + u'=' + now->accessibleName();
        if (names.isEmpty() || names.last() != name)
            names << name;
        QTest::keyClick(now, Qt::Key_Tab);
        now = QApplication::focusWidget();
    }
    QCOMPARE(
        names.join(u' '),
        QStringLiteral("dtpFrom=開始日期 dtpTo=結束日期 cmdQuery=查詢 grdTrips=行程表 "
                       "chart=收款圖表 cmdExportCsv=匯出表格為 CSV cmdExportPng=匯出圖表為 PNG "
                       "cmdClose=關閉"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!w || !w->isVisible());
    delete w;
}

void TestReport::fromMenu()
{
    TestEnv env;
    auto w = env.start();
    QAction* entry = TestEnv::action(w.get(), QStringLiteral("mnuReport"));
    const QList<QAction*> program =
        TestEnv::find<QMenu>(w.get(), QStringLiteral("mnuBar_0"))->actions();
    QCOMPARE(program.indexOf(entry),
             program.indexOf(TestEnv::action(w.get(), QStringLiteral("mnuViewOutput"))) + 1);
    entry->trigger();
    entry->trigger(); // the one window again
    const auto open = w->findChildren<frmReport*>();
    QCOMPARE(open.size(), 1);
    QVERIFY(open[0]->isVisible());
    QCOMPARE(open[0]->windowTitle(), QStringLiteral("行程報告"));
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
