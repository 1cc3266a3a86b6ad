// A whole simulated day of random use: clicks on every key, the card on and off the
// reader, card changes, faults, power cycles and outputs. After every action the card
// never holds less than the floor, every trip-log line is well formed, log.txt is made of
// whole blocks, and no line logged is ever lost.
#include "bcp/frmBCP.h"
#include "common/Clock.h"
#include "common/Numbers.h"
#include "common/Timer.h"
#include "ddu/frmDDU.h"
#include "routes/RouteTable.h"
#include "platform/Settings.h"
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
    Soak(TestEnv& env, frmMDI* w) : m_env(env), m_w(w), m_b(w->bcp()), m_d(w->ddu())
    {
        for (const QString& line : kTable) {
            const RouteTable::Fields f = RouteTable::split(line);
            m_routes << f.route;
            m_fares << f.fare;
        }
        m_memory = m_d->txtLog;
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
        return m_b->tmrStart->Tag() == u"S2" && !m_b->tmrStart->Enabled() && !m_b->StartValue &&
               !m_b->NoResponse && m_d->isOn();
    }

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
            return TestEnv::click(pick(2) ? m_d->imgUp : m_d->imgDown);
        if (roll < 930) {
            TestEnv::click(pick(4) ? m_d->imgStart : m_d->imgFinish);
            return TestEnv::click(m_d->imgEnt);
        }
        if (roll < 933) {
            ++outputs;
            TestEnv::click(m_d->imgOutput);
            return TestEnv::click(m_d->imgEnt);
        }
        if (roll < 943)
            return TestEnv::click(m_d->imgOF); // power off or on
        if (roll < 946)
            return m_w->mnuSimTemp->trigger();
        // The bus shakes now and then, for a minute or so: every jolt repaints the whole
        // window ten times, the dearest thing a user can do here.
        if (m_w->mnuSimVib->isChecked() ? roll < 966 : roll < 947)
            return m_w->mnuSimVib->trigger();
        return TestEnv::click(m_d->imgCancel);
    }

    QWidget* randomKey()
    {
        const QList<KeyRegion*> keys = m_d->keys();
        KeyRegion* k = keys.at(pick(int(keys.size())));
        return k == m_d->imgOF ? m_d->imgCancel : k; // power cycles have their own odds
    }

    void logIn()
    {
        ++logIns;
        const qint16 type = m_b->CardType;
        m_b->CardType = 4;
        TestEnv::present(m_w);
        TestEnv::advance(2000);
        TestEnv::withdraw(m_w);
        m_b->CardType = type;
    }

    // What the card settings dialog changes: type, language, a top-up of one hundred.
    void changeCard()
    {
        switch (pick(3)) {
        case 0:
            m_b->CardType = qint16(pick(4)); // the start-up card comes with the log-in
            break;
        case 1:
            m_b->Language = qint16(pick(2));
            break;
        default: {
            // Top-ups now and then only, so that the card often runs low and the floor is
            // reached.
            if (pick(14) != 0)
                break;
            const double sum = Numbers::leadingNumber(Numbers::money(m_b->purseNumber())) + 100;
            if (sum <= 999.9)
                m_b->PurseValue = Numbers::money(sum);
        }
        }
    }

    void typeKey(QChar c)
    {
        if (c.isDigit()) {
            TestEnv::click(m_d->imgNo[c.digitValue()]);
            return;
        }
        for (KeyRegion* k : m_d->keys()) {
            if (k->Tag == QString(c)) {
                TestEnv::click(m_d->imgShift);
                TestEnv::click(k);
                return;
            }
        }
    }

    void typeRoute()
    {
        TestEnv::click(m_d->imgRoute);
        const QStringList routes(QSet<QString>(m_routes.begin(), m_routes.end()).values());
        const QString route =
            chance(0.8) ? routes.at(pick(int(routes.size()))) : QString::number(pick(100));
        for (QChar c : route)
            typeKey(c);
        if (chance(0.9))
            TestEnv::click(m_d->imgEnt);
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
        const QStringList lines = LogFormat::lines(m_d->txtLog.mid(from));
        for (const QString& line : lines) {
            const QString why = LogFormat::lineFault(line, &m_routes, &m_fares);
            if (!why.isEmpty())
                fail(why);
        }
    }

    void check()
    {
        if (m_b->purseNumber() < -35)
            fail(QStringLiteral("the card holds %1").arg(m_b->purseNumber()));
        if (m_b->purseNumber() < m_lastPurse - 1e-9)
            ++payments;
        m_lastPurse = m_b->purseNumber();
        if (m_d->txtLog.size() > m_memory.size() &&
            m_d->txtLog.endsWith(QStringLiteral(" Not enough value\r\n")))
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
        const QString now = m_d->txtLog;
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
    frmBCP* m_b;
    frmDDU* m_d;
    std::mt19937 m_rng{20261207};
    QStringList m_routes;
    QStringList m_fares;
    QString m_memory;
    qint64 m_fileSize = 0;
    double m_lastPurse = 0;
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
