#include "common/Money.h"
#include "routes/RouteCursor.h"
#include "routes/RouteTable.h"

#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace RouteTable;

namespace {

// One route with two directions (three and two sections) and one with letters and a
// single direction.
const QStringList kExample = {
    u"12#北門#5.40"_qs,   u"12#北門#4.20"_qs,   u"12#北門#2.80"_qs,
    u"12#南碼頭#5.40"_qs, u"12#南碼頭#3.50"_qs, u"2X#東公園#9.10"_qs,
};

QByteArray crlfFile(const QStringList& lines)
{
    return lines.join(u"\r\n").toUtf8() + "\r\n";
}

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath(u"routes.dat"_qs);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// Counted on the bytes, independently of any decoding.
qsizetype lineCountOf(const QByteArray& bytes)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            ++count;
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else if (i + 1 == bytes.size()) {
            ++count;
        }
    }
    return count;
}

int indexOr(std::optional<qsizetype> found)
{
    return found ? int(*found) : -1;
}

} // namespace

class TestRoutes : public QObject {
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void lineEnds_data();
    void lineEnds();
    void sameTextInEveryEncoding_data();
    void sameTextInEveryEncoding();
    void nearlyUtf8IsBig5_data();
    void nearlyUtf8IsBig5();
    void garbageKeepsItsLines_data();
    void garbageKeepsItsLines();
    void unreadableFile_data();
    void unreadableFile();
    void noLineLimit();
    void exampleFileWalkthrough();
    void shippedTable();
    void findRoute_data();
    void findRoute();
    void stepSection_data();
    void stepSection();
    void findOtherDirection_data();
    void findOtherDirection();
    void cursorLine_data();
    void cursorLine();
};

void TestRoutes::split_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("hasRoute");
    QTest::addColumn<QString>("route");
    QTest::addColumn<bool>("hasDest");
    QTest::addColumn<QString>("dest");
    QTest::addColumn<QString>("fare");

    QTest::newRow("plain") << u"12#北門#5.40"_qs << true << "12" << true << u"北門"_qs << "5.40";
    QTest::newRow("empty line") << "" << false << "" << false << ""
                                << "";
    QTest::newRow("no hash") << "12 北門 5.40" << false << "" << false << ""
                             << "";
    QTest::newRow("one hash") << u"12#北門"_qs << true << "12" << false << ""
                              << "";
    QTest::newRow("three hashes keep the rest in the fare")
        << u"12#北門#5.40#x"_qs << true << "12" << true << u"北門"_qs << "5.40#x";
    QTest::newRow("leading hash is an empty route") << "#A#1" << true << "" << true << "A"
                                                    << "1";
    QTest::newRow("empty destination") << "12##5.40" << true << "12" << true << ""
                                       << "5.40";
    QTest::newRow("empty fare") << "12#A#" << true << "12" << true << "A"
                                << "";
    QTest::newRow("nothing trimmed")
        << u" 12 #\u3000北門 # 5.4 "_qs << true << " 12 " << true << u"\u3000北門 "_qs << " 5.4 ";
}

void TestRoutes::split()
{
    QFETCH(QString, line);
    const Fields f = RouteTable::split(line);
    QTEST(f.hasRoute, "hasRoute");
    QTEST(f.route, "route");
    QTEST(f.hasDest, "hasDest");
    QTEST(f.dest, "dest");
    QTEST(f.fare, "fare");
}

void TestRoutes::lineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("CR LF between and after") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("last line without CR LF") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("LF alone ends a line")
        << QByteArray("a#x#1\nb#y#2\n") << QStringList{"a#x#1", "b#y#2"};
    QTest::newRow("lone CR ends a line") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("CR before CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("LF CR is two line ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("blank lines are entries")
        << QByteArray("\r\na\r\n\r\n") << QStringList{"", "a", ""};
    QTest::newRow("BOM alone") << QByteArray("\xEF\xBB\xBF") << QStringList();
    QTest::newRow("BOM only at the start") << QByteArray("\xEF\xBB\xBF"
                                                         "a\r\n\xEF\xBB\xBF"
                                                         "b")
                                           << QStringList{"a", u"\uFEFFb"_qs};
    QTest::newRow("NUL is dropped") << QByteArray("a\0b", 3) << QStringList{"ab"};
}

void TestRoutes::lineEnds()
{
    QFETCH(QByteArray, bytes);
    QTEST(decodeLines(bytes).toList(), "lines");
}

void TestRoutes::sameTextInEveryEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");

    // 北門 is A5 5F AA F9 in Big5.
    QTest::newRow("Big5") << QByteArray("12#\xA5\x5F\xAA\xF9#5.40\r\n2X#A#9.10");
    QTest::newRow("UTF-8") << QByteArray("12#\xE5\x8C\x97\xE9\x96\x80#5.40\r\n2X#A#9.10");
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF"
                                                  "12#\xE5\x8C\x97\xE9\x96\x80#5.40\r\n2X#A#9.10");
}

void TestRoutes::sameTextInEveryEncoding()
{
    if (!QStringDecoder("Big5").isValid())
        QSKIP("this Qt has no Big5 decoder");
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const LoadResult r = load(writeFile(dir, bytes));
    QVERIFY(r.ok);
    QCOMPARE(r.lines.toList(), (QStringList{u"12#北門#5.40"_qs, u"2X#A#9.10"_qs}));
}

void TestRoutes::nearlyUtf8IsBig5_data()
{
    QTest::addColumn<QByteArray>("bytes");

    // Each would pass a lenient UTF-8 reader, with replacement characters or a lost tail.
    QTest::newRow("overlong") << QByteArray("1#\xC0\xAF#2");
    QTest::newRow("surrogate") << QByteArray("1#\xED\xA0\xBF\xA1#2");
    QTest::newRow("above U+10FFFF") << QByteArray("1#\xF4\x90\x80\x80#2");
    QTest::newRow("cut off at the end") << QByteArray("1#2#\xE5\xA1");
}

void TestRoutes::nearlyUtf8IsBig5()
{
    QStringDecoder big5("Big5", QStringConverter::Flag::Stateless);
    if (!big5.isValid())
        QSKIP("this Qt has no Big5 decoder");
    QFETCH(QByteArray, bytes);
    // Big5 takes a byte it does not know for the C1 control of that number: dropped.
    QString text = big5.decode(bytes);
    QCOMPARE(decodeLines(bytes).toList(),
             QStringList{text.remove(QRegularExpression(QStringLiteral("[\\x{80}-\\x{9F}]")))});
}

void TestRoutes::garbageKeepsItsLines_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("broken lead bytes before line ends")
        << QByteArray("\xFF\r\n\x81\r\n\xA5\r\nab\xA5\r\xFE");
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    QTest::newRow("every byte value") << all + all;
    QByteArray noise(1 << 16, Qt::Uninitialized);
    QRandomGenerator gen(42);
    for (char& c : noise)
        c = char(gen.bounded(256));
    QTest::newRow("random") << noise;
}

void TestRoutes::garbageKeepsItsLines()
{
    QFETCH(QByteArray, bytes);
    const QStringList lines = decodeLines(bytes).toList();
    QCOMPARE(lines.size(), lineCountOf(bytes));
    for (const QString& line : lines)
        for (const QChar c : line)
            QVERIFY(c.unicode() >= 0x20);
}

void TestRoutes::unreadableFile_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("missing") << "routes.dat";
    QTest::newRow("a directory") << ".";
}

void TestRoutes::unreadableFile()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    const LoadResult r = load(dir.filePath(name));
    QVERIFY(!r.ok);
    QVERIFY(!r.error.isEmpty());
    QVERIFY(r.lines.isEmpty());
}

void TestRoutes::noLineLimit()
{
    QStringList lines;
    for (int i = 0; i < 40000; ++i)
        lines << QString(u"R%1#北門#5.40"_qs).arg(i);
    QTemporaryDir dir;
    const LoadResult r = load(writeFile(dir, crlfFile(lines)));
    QVERIFY(r.ok);
    QCOMPARE(r.lines.toList(), lines);
    QCOMPARE(indexOr(RouteTable::findRoute(r.lines, u"R39999"_qs)), 39999);
}

void TestRoutes::exampleFileWalkthrough()
{
    QTemporaryDir dir;
    const LoadResult r = load(writeFile(dir, crlfFile(kExample)));
    QVERIFY(r.ok);
    QCOMPARE(r.lines.toList(), kExample);

    const int line0 = indexOr(RouteTable::findRoute(r.lines, u"12"_qs));
    QCOMPARE(line0, 0);
    const int line1 = indexOr(RouteTable::stepSection(r.lines, line0, +1));
    QCOMPARE(line1, 1);
    const int line2 = indexOr(RouteTable::stepSection(r.lines, line1, +1));
    QCOMPARE(line2, 2);
    QCOMPARE(indexOr(RouteTable::stepSection(r.lines, line2, +1)), -1);
    QCOMPARE(indexOr(RouteTable::stepSection(r.lines, line2, -1)), 1);

    const Fields north = RouteTable::split(entry(r.lines, 1));
    const int line3 = indexOr(RouteTable::findOtherDirection(r.lines, north.route, north.dest));
    QCOMPARE(line3, 3);
    const Fields south = RouteTable::split(entry(r.lines, line3));
    QCOMPARE(south.dest, u"南碼頭"_qs);
    QCOMPARE(indexOr(RouteTable::findOtherDirection(r.lines, south.route, south.dest)), 0);

    QCOMPARE(indexOr(RouteTable::findRoute(r.lines, u"2X"_qs)), 5);
    QCOMPARE(indexOr(RouteTable::findOtherDirection(r.lines, u"2X"_qs, u"東公園"_qs)), -1);
    QCOMPARE(entry(r.lines, 6), QString());
    QCOMPARE(entry(r.lines, -1), QString());
}

void TestRoutes::shippedTable()
{
    const QString path = QFINDTESTDATA("../assets/routes.dat");
    QVERIFY(!path.isEmpty());
    const LoadResult r = load(path);
    QVERIFY(r.ok);

    // Each direction stands on consecutive lines and is reached by entering its route or
    // by turning round from the route's entry point.
    QHash<QString, qsizetype> directionStart; // route#dest -> first line
    QString previous;
    for (qsizetype i = 0; i < r.lines.size(); ++i) {
        const Fields f = RouteTable::split(r.lines.at(i));
        QVERIFY2(f.hasDest && !f.route.isEmpty() && !f.dest.isEmpty(),
                 qPrintable(r.lines.value(i)));
        QVERIFY2(Money::parse(f.fare), qPrintable(r.lines.value(i)));
        const QString key = f.route + u'#' + f.dest;
        if (key != previous) {
            QVERIFY2(!directionStart.contains(key), qPrintable(r.lines.value(i)));
            directionStart.insert(key, i);
        }
        previous = key;
    }
    QSet<QString> routes;
    for (auto it = directionStart.cbegin(); it != directionStart.cend(); ++it) {
        const QString route = RouteTable::split(r.lines.at(it.value())).route;
        routes.insert(route);
        const qsizetype entered = RouteTable::findRoute(r.lines, route).value_or(-1);
        const Fields there = RouteTable::split(entry(r.lines, entered));
        const auto turned = RouteTable::findOtherDirection(r.lines, route, there.dest);
        QVERIFY2(it.value() == entered || it.value() == turned, qPrintable(it.key()));
    }
    QVERIFY(routes.size() >= 8);
    QCOMPARE(indexOr(RouteTable::findRoute(r.lines, RouteTable::split(r.lines.value(0)).route)), 0);
}

void TestRoutes::findRoute_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("route");
    QTest::addColumn<int>("found"); // -1: none

    QTest::newRow("empty text") << kExample << "" << -1;
    QTest::newRow("case matters") << kExample << "2x" << -1;
    QTest::newRow("no prefix match") << kExample << "1" << -1;
    QTest::newRow("empty table") << QStringList() << "12" << -1;
    QTest::newRow("empty destination passed over")
        << QStringList{"12##5.40", u"12#北門#5.40"_qs} << "12" << 1;
    QTest::newRow("line without fare passed over")
        << QStringList{u"12#北門"_qs, "12", u"12#北門#5.40"_qs} << "12" << 2;
    const QStringList lookalikes = {u"12 #北門#5.40"_qs, u"012#北門#5.40"_qs};
    QTest::newRow("12 is not '12 '") << lookalikes << "12" << -1;
    QTest::newRow("'12 ' found") << lookalikes << "12 " << 0;
    QTest::newRow("012 found") << lookalikes << "012" << 1;
}

void TestRoutes::findRoute()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, route);
    QFETCH(int, found);
    QCOMPARE(indexOr(RouteTable::findRoute(RouteLines(lines), route)), found);
}

void TestRoutes::stepSection_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("reached"); // -1: none

    QTest::newRow("up from line 0") << kExample << 0 << -1 << -1;
    QTest::newRow("down from the last line") << kExample << 5 << +1 << -1;
    QTest::newRow("up into another direction") << kExample << 3 << -1 << -1;
    QTest::newRow("up within a direction") << kExample << 4 << -1 << 3;
    QTest::newRow("down into another route") << kExample << 4 << +1 << -1;
    const QStringList blank = {u"12#北門#5.40"_qs, "", u"12#北門#2.80"_qs};
    QTest::newRow("blank line stops down") << blank << 0 << +1 << -1;
    QTest::newRow("blank line stops up") << blank << 2 << -1 << -1;
    QTest::newRow("from before the list") << kExample << -1 << +1 << -1;
    QTest::newRow("from past the list") << kExample << 6 << -1 << -1;
    QTest::newRow("from no fields onto empty fields") << QStringList{"x", "##1"} << 0 << +1 << -1;
    QTest::newRow("from before the list onto empty fields") << QStringList{"##1"} << -1 << +1 << -1;
    QTest::newRow("two lines without a hash") << QStringList{"x", "x"} << 0 << +1 << -1;
    QTest::newRow("two lines without a fare") << QStringList{"1#A", "1#A"} << 0 << +1 << -1;
    QTest::newRow("same destination, other route")
        << QStringList{"1#A#2", "3#A#1"} << 0 << +1 << -1;
    QTest::newRow("destination differs by a space")
        << QStringList{"1#A#2", "1#A #1"} << 0 << +1 << -1;
    QTest::newRow("no step") << kExample << 1 << 0 << -1;
}

void TestRoutes::stepSection()
{
    QFETCH(QStringList, lines);
    QFETCH(int, current);
    QFETCH(int, step);
    QFETCH(int, reached);
    QCOMPARE(indexOr(RouteTable::stepSection(RouteLines(lines), current, step)), reached);
}

void TestRoutes::findOtherDirection_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("dest");
    QTest::addColumn<int>("found"); // -1: none

    const QStringList three = {"5#A#3", "5#A#2", "5#B#3", "5#C#3"};
    QTest::newRow("first to second") << three << "5"
                                     << "A" << 2;
    QTest::newRow("second back to first") << three << "5"
                                          << "B" << 0;
    QTest::newRow("third back to first") << three << "5"
                                         << "C" << 0;
    QTest::newRow("unknown route") << kExample << "13" << u"北門"_qs << -1;
    QTest::newRow("line without fare passed over") << QStringList{"5#A#3", "5#B", "5#B#2"} << "5"
                                                   << "A" << 2;
    QTest::newRow("empty destination is no direction") << QStringList{"5##3", "5#A#3"} << "5"
                                                       << "A" << -1;
    QTest::newRow("from an empty destination") << QStringList{"5##3", "5#A#3"} << "5"
                                               << "" << 1;
}

void TestRoutes::findOtherDirection()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, route);
    QFETCH(QString, dest);
    QFETCH(int, found);
    QCOMPARE(indexOr(RouteTable::findOtherDirection(RouteLines(lines), route, dest)), found);
}

void TestRoutes::cursorLine_data()
{
    QTest::addColumn<QStringList>("lines"); // loaded one after the other
    // Route, destination, fare as a number ("-": none), fare as written, where.
    QTest::addColumn<QStringList>("want");

    const QString at = u"/data/routes.dat 第 %1 行"_qs;
    QTest::newRow("line without fields keeps all three")
        << QStringList{u"12#北門#2.40"_qs, "garbage"}
        << QStringList{"12", u"北門"_qs, "2.40", "2.40", at.arg(1)};
    QTest::newRow("route alone keeps destination and fare")
        << QStringList{u"12#北門#2.4"_qs, "7#"}
        << QStringList{"7", u"北門"_qs, "2.40", "2.4", at.arg(1)};
    QTest::newRow("not a number after a number")
        << QStringList{u"12#北門#3.50"_qs, u"12#北門#abc"_qs}
        << QStringList{"12", u"北門"_qs, "-", "abc", at.arg(2)};
    QTest::newRow("no fare yet") << QStringList{"x"} << QStringList{"", "", "-", "", ""};
}

void TestRoutes::cursorLine()
{
    QFETCH(QStringList, lines);
    RouteCursor cursor(RouteLines(lines), u"/data/routes.dat"_qs);
    for (qsizetype i = 0; i < lines.size(); ++i)
        cursor.load(i);
    const RouteLine& l = cursor.routeLine();
    QTEST((QStringList{l.route, l.destination, l.fare ? l.fare->text() : u"-"_qs, l.fareText,
                       l.where()}),
          "want");
    QCOMPARE(cursor.hasFare(), !l.where().isEmpty());
}

QTEST_GUILESS_MAIN(TestRoutes)
#include "tst_routes.moc"
