#include "common/Clock.h"
#include "common/Money.h"
#include "common/Numbers.h"
#include "common/Timer.h"
#include "panels/Artwork.h"
#include "platform/Settings.h"
#include "platform/StoreFile.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

class TestCommon : public QObject {
    Q_OBJECT
private slots:
    void timerEnablingRunningTimerDoesNotRestart();
    void timerNewIntervalRestartsCountdown();
    void timerZeroIntervalNeverTicks();
    void timersTickInTimeOrder();
    void timerHandlerMayStopItself();
    void clockFollowsVirtualTime();

    void moneyFromDouble_data();
    void moneyFromDouble();
    void leadingNumber_data();
    void leadingNumber();
    void roundToInt16_data();
    void roundToInt16();
    void moneyShortText_data();
    void moneyShortText();
    void halfFare_data();
    void halfFare();
    void fareParse_data();
    void fareParse();
    void loadtime_data();
    void loadtime();
    void uiLanguage_data();
    void uiLanguage();
    void storeFilePlain_data();
    void storeFilePlain();
    void storeFileWhereSettingsLive();
    void artworkAtEachRatio_data();
    void artworkAtEachRatio();
};

void TestCommon::timerEnablingRunningTimerDoesNotRestart()
{
    TestEnv env;
    Timer t(QStringLiteral("t"), 1000, true);
    QSignalSpy ticks(&t, &Timer::tick);
    TestEnv::advance(600);
    t.setEnabled(true);
    TestEnv::advance(400);
    QCOMPARE(ticks.count(), 1);
}

void TestCommon::timerNewIntervalRestartsCountdown()
{
    TestEnv env;
    Timer t(QStringLiteral("t"), 1000, true);
    QSignalSpy ticks(&t, &Timer::tick);
    TestEnv::advance(600);
    t.setInterval(1000); // same value: still a restart
    TestEnv::advance(999);
    QCOMPARE(ticks.count(), 0);
    TestEnv::advance(1);
    QCOMPARE(ticks.count(), 1);
    TestEnv::advance(1000);
    QCOMPARE(ticks.count(), 2);
    // A disabled timer keeps its new interval for the next start.
    t.setEnabled(false);
    t.setInterval(300);
    TestEnv::advance(5000);
    QCOMPARE(ticks.count(), 2);
    t.setEnabled(true);
    TestEnv::advance(300);
    QCOMPARE(ticks.count(), 3);
}

void TestCommon::timerZeroIntervalNeverTicks()
{
    TestEnv env;
    Timer t(QStringLiteral("t"), 0, true);
    QSignalSpy ticks(&t, &Timer::tick);
    TestEnv::advance(100000);
    QCOMPARE(ticks.count(), 0);
}

void TestCommon::timersTickInTimeOrder()
{
    TestEnv env;
    Timer a(QStringLiteral("a"), 300, false);
    Timer b(QStringLiteral("b"), 200, false);
    Timer c(QStringLiteral("c"), 600, false);
    a.setEnabled(true);
    b.setEnabled(true);
    c.setEnabled(true);
    QStringList order;
    for (Timer* t : {&a, &b, &c})
        connect(t, &Timer::tick, t, [t, &order] {
            order << QStringLiteral("%1@%2").arg(t->objectName()).arg(VirtualTime::elapsedMs());
        });
    TestEnv::advance(600);
    // Ties come in the order they were scheduled: c's tick at 600 was set at 0, a's at 300
    // and b's at 400.
    QCOMPARE(order, QStringList({"b@200", "a@300", "b@400", "c@600", "a@600", "b@600"}));
}

void TestCommon::timerHandlerMayStopItself()
{
    TestEnv env;
    Timer t(QStringLiteral("t"), 100, true);
    int n = 0;
    connect(&t, &Timer::tick, &t, [&] {
        if (++n == 3)
            t.setEnabled(false);
    });
    TestEnv::advance(1000);
    QCOMPARE(n, 3);
    QVERIFY(!t.Enabled());
}

void TestCommon::clockFollowsVirtualTime()
{
    TestEnv env;
    QCOMPARE(Clock::dateText(), QStringLiteral("12-06-2026"));
    QCOMPARE(Clock::timeText(), QStringLiteral("06:10:05"));
    TestEnv::advance(3600 * 1000 * 18 + 1000);
    QCOMPARE(Clock::dateText(), QStringLiteral("12-07-2026"));
    QCOMPARE(Clock::timeText(), QStringLiteral("00:10:06"));
}

void TestCommon::moneyFromDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0.00";
    QTest::newRow("fraction") << 0.5 << "0.50";
    QTest::newRow("tenth") << 2.4 << "2.40";
    QTest::newRow("negative") << -35.0 << "-35.00";
    QTest::newRow("small negative") << -3.5 << "-3.50";
    QTest::newRow("no grouping") << 999.9 << "999.90";
    QTest::newRow("thousands") << 12345.678 << "12345.68";
    QTest::newRow("half cent up") << 1.005 << "1.01";
    QTest::newRow("half cent down") << -1.005 << "-1.01";
    QTest::newRow("binary noise") << 100 - 2.4 - 2.4 << "95.20";
    QTest::newRow("tiny negative is zero") << -1e-12 << "0.00";
    // Beyond every amount handled: held at the limit.
    QTest::newRow("beyond the limit") << 1e20 << "10000000000000.00";
    QTest::newRow("beyond the limit negative") << -1e307 << "-10000000000000.00";
    QTest::newRow("not a number") << std::nan("") << "0.00";
}

void TestCommon::moneyFromDouble()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(Money::fromDouble(value).text(), text);
}

void TestCommon::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "100" << 100.0;
    QTest::newRow("decimal") << "95.2" << 95.2;
    QTest::newRow("two decimals") << "200.00" << 200.0;
    QTest::newRow("negative") << "-35" << -35.0;
    QTest::newRow("leading blanks") << "  12.5" << 12.5;
    QTest::newRow("trailing text") << "12abc" << 12.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("only point") << "." << 0.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("exponent") << "1e2" << 100.0;
    QTest::newRow("two points") << "5.4.3" << 5.4;
    QTest::newRow("inner blank") << "1 2" << 12.0;
    QTest::newRow("huge") << "1e999" << std::numeric_limits<double>::max();
    QTest::newRow("huge without exponent")
        << QString(u'7' + QString(330, u'0')) << std::numeric_limits<double>::max();
    QTest::newRow("huge negative without exponent")
        << QString(u'-' + QString(330, u'9')) << -std::numeric_limits<double>::max();
}

void TestCommon::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(Numbers::leadingNumber(text), value);
}

void TestCommon::roundToInt16_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("result"); // -99999: does not fit
    QTest::newRow("2.5 to even") << 2.5 << 2;
    QTest::newRow("3.5 to even") << 3.5 << 4;
    QTest::newRow("-2.5 to even") << -2.5 << -2;
    QTest::newRow("2.6") << 2.6 << 3;
    QTest::newRow("max") << 32767.0 << 32767;
    QTest::newRow("min") << -32768.0 << -32768;
    QTest::newRow("too large") << 32767.5 << -99999; // rounds to 32768
    QTest::newRow("too small") << -40000.0 << -99999;
}

void TestCommon::roundToInt16()
{
    QFETCH(double, value);
    QFETCH(int, result);
    const auto r = Numbers::roundToInt16(value);
    if (result == -99999)
        QVERIFY(!r);
    else
        QCOMPARE(int(r.value_or(-1)), result);
}

void TestCommon::moneyShortText_data()
{
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<QString>("text");
    QTest::newRow("two payments") << qint64(9520) << "95.2";
    QTest::newRow("whole") << qint64(10000) << "100";
    QTest::newRow("negative") << qint64(-3500) << "-35";
    QTest::newRow("half") << qint64(50) << "0.5";
    QTest::newRow("two decimals") << qint64(175) << "1.75";
    QTest::newRow("a cent") << qint64(1) << "0.01";
    QTest::newRow("minus a cent") << qint64(-1) << "-0.01";
    QTest::newRow("zero") << qint64(0) << "0";
    QTest::newRow("ten") << qint64(1000) << "10";
}

void TestCommon::moneyShortText()
{
    QFETCH(qint64, cents);
    QFETCH(QString, text);
    QCOMPARE(Money::cents(cents).shortText(), text);
}

void TestCommon::halfFare_data()
{
    QTest::addColumn<QString>("fare");
    QTest::addColumn<QString>("half");
    QTest::newRow("2.4") << "2.4"
                         << "1.20";
    QTest::newRow("3.5") << "3.5"
                         << "1.80";
    QTest::newRow("4.7") << "4.7"
                         << "2.40";
    QTest::newRow("7") << "7"
                       << "3.50";
    QTest::newRow("0.1") << "0.1"
                         << "0.10";
    QTest::newRow("5.4") << "5.4"
                         << "2.70";
    QTest::newRow("0") << "0"
                       << "0.00";
    QTest::newRow("9.1") << "9.1"
                         << "4.60";
    QTest::newRow("10.5") << "10.5"
                          << "5.30";
    // An odd cent: its half goes to the even cent first.
    QTest::newRow("0.01") << "0.01"
                          << "0.00";
    QTest::newRow("0.03") << "0.03"
                          << "0.10";
    QTest::newRow("2.01") << "2.01"
                          << "1.00";
    QTest::newRow("2.05") << "2.05"
                          << "1.10";
    QTest::newRow("negative") << "-3.5"
                              << "-1.70";
    QTest::newRow("minus a tenth") << "-0.1"
                                   << "0.00";
}

void TestCommon::halfFare()
{
    QFETCH(QString, fare);
    QFETCH(QString, half);
    QCOMPARE(Money::parse(fare).value().halfFare().text(), half);
}

void TestCommon::fareParse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << "5.40" << true << "5.40";
    QTest::newRow("one decimal") << "5.4" << true << "5.40";
    QTest::newRow("whole") << "7" << true << "7.00";
    QTest::newRow("spaces around") << " 3.5 " << true << "3.50";
    QTest::newRow("leading point") << ".5" << true << "0.50";
    QTest::newRow("trailing point") << "5." << true << "5.00";
    QTest::newRow("signs") << "-2.5" << true << "-2.50";
    QTest::newRow("plus") << "+2.5" << true << "2.50";
    QTest::newRow("exponent") << "5.4e1" << true << "54.00";
    QTest::newRow("negative exponent") << "540E-2" << true << "5.40";
    QTest::newRow("long zeros") << "000012.5000000" << true << "12.50";
    // More than two decimals: the nearest cent, halves away from zero, as it is shown.
    QTest::newRow("third decimal up") << "3.555" << true << "3.56";
    QTest::newRow("third decimal down") << "3.554" << true << "3.55";
    QTest::newRow("half a cent") << "0.005" << true << "0.01";
    QTest::newRow("negative half a cent") << "-2.405" << true << "-2.41";
    QTest::newRow("far below a cent") << "1e-9" << true << "0.00";
    QTest::newRow("the limit") << "10000000000000" << true << "10000000000000.00";
    QTest::newRow("beyond the limit") << "10000000000000.01" << false << "";
    QTest::newRow("huge exponent") << "1e999999999999" << false << "";
    QTest::newRow("zero with huge exponent") << "0e999999999999" << true << "0.00";
    QTest::newRow("empty") << "" << false << "";
    QTest::newRow("point alone") << "." << false << "";
    QTest::newRow("exponent alone") << "e5" << false << "";
    QTest::newRow("letters") << "abc" << false << "";
    QTest::newRow("two points") << "5.4.3" << false << "";
    QTest::newRow("trailing text") << "5.4x" << false << "";
    QTest::newRow("hash inside") << "5.4#1" << false << "";
    QTest::newRow("full-width digits") << "３.５" << false << "";
    QTest::newRow("inner blank") << "5 .4" << false << "";
}

void TestCommon::fareParse()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(QString, value);
    const auto v = Money::parse(text);
    QCOMPARE(bool(v), ok);
    if (ok)
        QCOMPARE(v->text(), value);
}

void TestCommon::loadtime_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("ms");
    QTest::newRow("absent") << QString() << 20000;
    QTest::newRow("5000") << "5000" << 5000;
    QTest::newRow("30000") << "30000" << 30000;
    QTest::newRow("not whole, rounded, clamped") << "12.5" << 5000;
    QTest::newRow("letters") << "soon" << 20000;
    QTest::newRow("zero clamped") << "0" << 5000;
    QTest::newRow("negative clamped") << "-100" << 5000;
    QTest::newRow("large clamped") << "999999999999" << 30000;
}

void TestCommon::loadtime()
{
    QFETCH(QString, stored);
    QFETCH(int, ms);
    TestEnv env;
    if (!stored.isNull())
        TestEnv::store(Settings::Loadtime, stored);
    QCOMPARE(Settings::loadtimeMs(), ms);
}

void TestCommon::uiLanguage_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("english");
    QTest::newRow("first start, English locale") << QString() << "en_US" << true;
    QTest::newRow("first start, British locale") << QString() << "en_GB" << true;
    QTest::newRow("first start, Chinese locale") << QString() << "zh_TW" << false;
    QTest::newRow("first start, C locale") << QString() << "C" << false;
    QTest::newRow("first start, German locale") << QString() << "de_DE" << false;
    QTest::newRow("Chinese chosen, English locale") << "zh_TW"
                                                    << "en_US" << false;
    QTest::newRow("English chosen, Chinese locale") << "en"
                                                    << "zh_TW" << true;
    QTest::newRow("unknown choice follows the locale") << "fr"
                                                       << "en_US" << true;
}

void TestCommon::uiLanguage()
{
    QFETCH(QString, stored);
    QFETCH(QString, locale);
    QFETCH(bool, english);
    TestEnv env;
    if (!stored.isNull())
        TestEnv::store(Settings::Interface, stored);
    QLocale::setDefault(QLocale(locale));
    const UiLanguage got = Settings::uiLanguage();
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::Taiwan));
    QCOMPARE(got == UiLanguage::English, english);
    QCOMPARE(TestEnv::stored(Settings::Language), QStringLiteral("<absent>"));
}

void TestCommon::storeFilePlain_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("texts"); // the values read, in key order; empty: unreadable
    auto nul = []<size_t N>(const char16_t(&s)[N]) { return QString::fromUtf16(s, N - 1); };

    const QByteArray written("[pelumo.exe]\nCardType=2\nLanguage=1\nLastroute=2X\n"
                             "Loadtime=5000\nPurseValue=95.2\n");
    QTest::newRow("as the program writes it")
        << written << QStringList{"2", "1", "2X", "5000", "95.2"};
    QTest::newRow("text with escapes and at signs")
        << QByteArray("[a]\r\nk=\"x, @y\"\\n\\t\\\\x40\r\nl=\xe5\xbe\x80@Variant(\\0)\r\n"
                      "m=@@Variant(\\0), @String(\\0), a\\x40\r\nk@=1\r\n")
        << QStringList{"x, @y\n\t\\x40", "1", nul(u"往@Variant(\0)"),
                       nul(u"@Variant(\0), @String(\0), a@")};
    QTest::newRow("serialised list")
        << QByteArray("[pelumo.exe]\nCardType=@Variant(\\0\\0\\0\\t\\0\\xff\\xff\\xff\\xff)\n"
                      "Language=1\n")
        << QStringList();
    QTest::newRow("where an element begins")
        << QByteArray("a=1, @Rect(1 2 3 4)\nb=  \"\" @Size(1 2)\nc=\\e@Point(1 2)\n"
                      "d=@ByteArray(12)\ne=\"\\x\"@Invalid()\n@Variant(\\0) without equals\nf=@\n")
        << QStringList();
    QTest::newRow("at sign spelt by escapes")
        << QByteArray("a=\\x40Rect(1 2 3 4)\rb=\\100Rect(1 2 3 4)\rc=1, \\x40@Size(1 2)\r"
                      "d=\\x10040Rect(1 2 3 4)\re=\\200100Rect(1 2 3 4)\rf=\\x1\\x41\\0\\101\\x\r")
        << QStringList();
    QTest::newRow("continued lines")
        << QByteArray("k=1,\\\n@Variant(\\0)\nm=\\x4\\\r\n0Rect(1 2 3 4)\nn=\\\\\\")
        << QStringList();
    // An escaped backslash at the end, as QSettings writes a text ending in one, ends its
    // line like any other character.
    QTest::newRow("escaped backslash at the end")
        << QByteArray("a=\\\\\nb=x\\\\\\\\\r\nc=1") << QStringList{"\\", "x\\\\", "1"};
}

// Every value is read as the text it spells, never as an object it serialises; a file
// that holds one (its value begins with "@", however spelt), or that QSettings would read
// across line ends, is not read at all.
void TestCommon::storeFilePlain()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, texts);
    QSettings::SettingsMap map;
    const bool ok = StoreFile::read(bytes, map);
    QCOMPARE(ok, !texts.isEmpty());
    if (!ok)
        return;
    QStringList got;
    for (const QVariant& v : std::as_const(map)) {
        QCOMPARE(v.typeId(), QMetaType::QString);
        got << v.toString();
    }
    QCOMPARE(got, texts);
}

void TestCommon::storeFileWhereSettingsLive()
{
    TestEnv env;
    TestEnv::store(Settings::Lastroute, QStringLiteral("7"));
    const QString path = StoreFile::path();
    QCOMPARE(path,
             QSettings(QSettings::UserScope, QStringLiteral("Quillmere"), QStringLiteral("pelumo"))
                 .fileName());
    QVERIFY(QFile::exists(path));
    QCOMPARE(Settings::lastRoute(), QStringLiteral("7"));
}

void TestCommon::artworkAtEachRatio_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("ratio");
    for (const auto& [name, size] :
         {std::pair{"bcp_front", QSize(225, 350)}, std::pair{"ddu_front", QSize(423, 260)},
          std::pair{"card", QSize(199, 122)}, std::pair{"splash", QSize(400, 200)}})
        for (const qreal ratio : {1.0, 1.5, 2.0})
            QTest::addRow("%s at %g", name, ratio) << QString::fromLatin1(name) << size << ratio;
}

// Every picture the build draws is there, fills its place at any pixel ratio, and is
// drawn over the background, not beside it.
void TestCommon::artworkAtEachRatio()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(qreal, ratio);
    const QImage source = Artwork::image(name, ratio);
    QCOMPARE(source.size(), ratio > 1 ? size * 2 : size);
    QCOMPARE(source.deviceIndependentSize(), QSizeF(size));
    const QPixmap pm = Artwork::render(name, size, ratio, Qt::magenta);
    // An odd size at 1.5 needs a part of a pixel more.
    const QSizeF points = pm.deviceIndependentSize();
    QVERIFY(points.width() >= size.width() && points.width() < size.width() + 1);
    QVERIFY(points.height() >= size.height() && points.height() < size.height() + 1);
    const QImage drawn = pm.toImage();
    int background = 0;
    for (int y = 0; y < drawn.height(); y += 7)
        for (int x = 0; x < drawn.width(); x += 7)
            background += drawn.pixelColor(x, y) == QColor(Qt::magenta);
    QVERIFY2(background < (drawn.width() / 7) * (drawn.height() / 7) / 2, "mostly background");
    QVERIFY(!Artwork::icon().availableSizes().isEmpty());
}

QTEST_MAIN(TestCommon)
#include "tst_common.moc"
