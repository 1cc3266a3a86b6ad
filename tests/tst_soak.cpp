// A whole simulated day of random use: clicks on every key, the card on and off the
// reader, card changes, faults, power cycles and outputs. After every action the card
// never holds less than the floor, every trip-log line is well formed, log.txt is made of
// whole blocks, and no line logged is ever lost.
#include "bcp/CardProcessor.h"
#include "common/Clock.h"
#include "common/Money.h"
#include "common/Timer.h"
#include "ddu/Console.h"
#include "panels/frmDDU.h"
#include "platform/Settings.h"
#include "routes/RouteTable.h"
#include "shell/frmMDI.h"
#include "support/LogFormat.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QSet>
#include <QTest>

#include <random>

namespace {

const QStringList kTable = {
    u"12#北門#5.40"_qs,   u"12#北門#4.20"_qs,   u"12#北門#2.80"_qs,
    u"12#南碼頭#5.40"_qs, u"12#南碼頭#3.50"_qs, u"2X#東公園#9.10"_qs,
    u"2X#東公園#6.50"_qs, u"7#機場#40.00"_qs,   u"7#市中心#40.00"_qs,
};

constexpr qint64 kDayMs = 24LL * 60 * 60 * 1000;
constexpr int kMinActions = 100'000;
constexpr qint64 kPaintedMs = 2LL * 60 * 60 * 1000;

class Soak {
public:
    Soak(TestEnv& env, frmMDI* w)
        : m_env(env), m_w(w), m_p(w->processor()), m_c(w->console()), m_d(w->ddu()),
          m_boot(TestEnv::timer(m_p, QStringLiteral("tmrStart"))),
          m_simTemp(TestEnv::action(w, QStringLiteral("mnuSimTemp"))),
          m_simVib(TestEnv::action(w, QStringLiteral("mnuSimVib")))
    {
        for (const QString& line : kTable) {
            const RouteTable::Fields f = RouteTable::split(line);
            m_routes << f.route;
            m_fares << f.fare;
        }
        m_memory = m_c->tripLog().text();
        checkMemory(0);
    }

    int actions = 0;
    int outputs = 0;
    int logIns = 0;
    int payments = 0;
    int refusals = 0; // reads refused for want of value

    void step()
    {
        act();
        ++actions;
        TestEnv::advance(std::uniform_int_distribution<int>(0, 1700)(m_rng));
        check();
    }

    bool failed() const { return !m_fault.isEmpty(); }
    QString fault() const { return m_fault; }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(m_rng) < p; }

    bool atLoginPrompt() const
    {
        return m_p->bootStep() == CardProcessor::BootStep::Prompt && !m_boot->Enabled() &&
               !m_p->loggedIn() && m_p->responding() && m_c->isOn();
    }

    QWidget* key(const char* label) const { return TestEnv::key(m_w, QString::fromUtf8(label)); }

    void act()
    {
        if (atLoginPrompt() && chance(0.3))
            return logIn();
        const int roll = pick(1000);
        if (roll < 350)
            return TestEnv::click(randomKey());
        if (roll < 600)
            return TestEnv::present(m_w, pick(3015), pick(1965));
        if (roll < 700) {
            switch (pick(3)) {
            case 0:
                return TestEnv::withdraw(m_w);
            case 1:
                return TestEnv::moveTo(m_d, QPoint(3, 250));
            default:
                return TestEnv::moveTo(m_w->mdiArea()->viewport(), QPoint(600 + pick(100), 360));
            }
        }
        if (roll < 760)
            return changeCard();
        if (roll < 860)
            return typeRoute();
        if (roll < 900)
            return TestEnv::click(key(pick(2) ? "↑" : "↓"));
        if (roll < 930) {
            TestEnv::click(key(pick(4) ? "起點" : "終點"));
            return TestEnv::click(key("輸入"));
        }
        if (roll < 933) {
            ++outputs;
            TestEnv::click(key("輸出"));
            return TestEnv::click(key("輸入"));
        }
        if (roll < 943)
            return TestEnv::click(key("開/關")); // power off or on
        if (roll < 946)
            return m_simTemp->trigger();
        // The bus shakes now and then, for a minute or so: every jolt repaints the whole
        // window ten times, the dearest thing a user can do here.
        if (m_simVib->isChecked() ? roll < 966 : roll < 947)
            return m_simVib->trigger();
        return TestEnv::click(key("取消"));
    }

    QWidget* randomKey()
    {
        const KeyInfo& k = Keys::all().at(pick(Keys::Count));
        // Power cycles have their own odds.
        return key(k.key == Key::Power ? "imgCancel" : k.name);
    }

    void logIn()
    {
        ++logIns;
        TestEnv::presentStartupCard(m_w);
    }

    // What the card settings dialog changes: type, language, a top-up of one hundred.
    void changeCard()
    {
        switch (pick(3)) {
        case 0:
            m_p->setCardType(CardType(pick(4))); // the start-up card comes with the log-in
            break;
        case 1:
            m_p->setLanguage(cardLanguage(pick(2)));
            break;
        default:
            // Top-ups now and then only, so that the card often runs low and the floor is
            // reached. One that would pass the highest value is refused.
            if (pick(14) == 0)
                m_p->topUp();
        }
    }

    void typeKey(QChar c)
    {
        if (c.isDigit()) {
            TestEnv::click(TestEnv::key(m_w, QString(c)));
            return;
        }
        for (const KeyInfo& k : Keys::all()) {
            if (k.letter != 0 && QChar::fromLatin1(k.letter) == c) {
                TestEnv::click(key("SHIFT"));
                TestEnv::click(TestEnv::key(m_w, QLatin1String(k.name)));
                return;
            }
        }
    }

    void typeRoute()
    {
        TestEnv::click(key("路線"));
        const QStringList routes(QSet<QString>(m_routes.begin(), m_routes.end()).values());
        const QString route =
            chance(0.8) ? routes.at(pick(int(routes.size()))) : QString::number(pick(100));
        for (QChar c : route)
            typeKey(c);
        if (chance(0.9))
            TestEnv::click(key("輸入"));
    }

    void fail(const QString& why)
    {
        if (m_fault.isEmpty())
            m_fault = QStringLiteral("after action %1 at %2 ms: %3")
                          .arg(actions)
                          .arg(VirtualTime::elapsedMs())
                          .arg(why);
    }

    void checkMemory(qsizetype from)
    {
        const QStringList lines = LogFormat::lines(m_c->tripLog().text().mid(from));
        for (const QString& line : lines) {
            const QString why = LogFormat::lineFault(line, &m_routes, &m_fares);
            if (!why.isEmpty())
                fail(why);
        }
    }

    void check()
    {
        const Money purse = m_p->purse();
        if (purse < Money::dollars(-35))
            fail(QStringLiteral("the card holds %1").arg(purse.text()));
        if (purse < m_lastPurse)
            ++payments;
        m_lastPurse = purse;
        const QString& log = m_c->tripLog().text();
        if (log.size() > m_memory.size() && log.endsWith(QStringLiteral(" Not enough value\r\n")))
            ++refusals;

        // What reached log.txt since the last action: whole blocks, appended.
        QString written;
        QFile file(m_env.file(QStringLiteral("log.txt")));
        if (file.exists() && file.size() != m_fileSize) {
            if (!file.open(QIODevice::ReadOnly) || file.size() < m_fileSize)
                return fail(QStringLiteral("log.txt shrank"));
            file.seek(m_fileSize);
            written = QString::fromUtf8(file.readAll());
            m_fileSize = file.size();
            const QString why = LogFormat::fileFault(written);
            if (!why.isEmpty())
                return fail(QStringLiteral("log.txt: ") + why);
        }

        // Nothing lost: the lines written and the new in-memory log continue the old one.
        const QString now = m_c->tripLog().text();
        if (written.isEmpty()) {
            if (!now.startsWith(m_memory))
                return fail(QStringLiteral("the in-memory log lost lines"));
            checkMemory(m_memory.size());
        } else {
            const QString stream =
                written.replace(QStringLiteral("\r\n\r\n"), QStringLiteral("\r\n")) + now;
            if (!stream.startsWith(m_memory))
                return fail(QStringLiteral("lines logged before the output are missing"));
            checkMemory(0);
        }
        m_memory = now;
    }

    TestEnv& m_env;
    frmMDI* m_w;
    CardProcessor* m_p;
    const Console* m_c;
    frmDDU* m_d;
    const Timer* m_boot;
    QAction* m_simTemp;
    QAction* m_simVib;
    std::mt19937 m_rng{20261207};
    QStringList m_routes;
    QStringList m_fares;
    QString m_memory;
    qint64 m_fileSize = 0;
    Money m_lastPurse;
    QString m_fault;
};

} // namespace

class TestSoak : public QObject {
    Q_OBJECT
private slots:
    void wholeDayOfRandomUse();
};

void TestSoak::wholeDayOfRandomUse()
{
    // Thousands of outputs and stored routes are each flushed to disk: on a memory-backed
    // file system that costs nothing, and the day runs in seconds.
    if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
        qputenv("TMPDIR", "/dev/shm");
    TestEnv env(kTable.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    TestEnv::store(Settings::Loadtime, QStringLiteral("5000"));
    auto w = env.start();
    Soak soak(env, w.get());
    QElapsedTimer wall;
    wall.start();
    while ((soak.actions < kMinActions || VirtualTime::elapsedMs() < kDayMs) && !soak.failed()) {
        // The first hours are drawn as a user sees them; after that painting, which costs
        // nine tenths of the time and changes no state, is left out.
        if (VirtualTime::elapsedMs() >= kPaintedMs && w->updatesEnabled())
            w->setUpdatesEnabled(false);
        soak.step();
    }
    qInfo("%d actions over %.1f simulated hours in %.1f s: %d log-ins, %d outputs, %d payments, "
          "%d refusals",
          soak.actions, VirtualTime::elapsedMs() / 3.6e6, wall.elapsed() / 1000.0, soak.logIns,
          soak.outputs, soak.payments, soak.refusals);
    QVERIFY2(!soak.failed(), qPrintable(soak.fault()));
    // The day was a working one: the processor took fares and the log went out.
    QVERIFY(soak.logIns > 100);
    QVERIFY(soak.payments > 500);
    QVERIFY(soak.outputs > 100);
    QVERIFY(soak.refusals > 50);
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
