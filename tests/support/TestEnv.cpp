#include "support/TestEnv.h"

#include "bcp/CardProcessor.h"
#include "common/Clock.h"
#include "common/Timer.h"
#include "common/Twips.h"
#include "ddu/Console.h"
#include "platform/AppPaths.h"
#include "platform/Settings.h"
#include "shell/Startup.h"
#include "shell/frmMDI.h"
#include "support/FakeDesktop.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHash>
#include <QMouseEvent>
#include <QSettings>
#include <QTest>

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform says this once per window it cannot size; it is not our fault.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& msg)
{
    if (msg.contains(QLatin1String("propagateSizeHints")))
        return;
    if (previousHandler)
        previousHandler(type, context, msg);
}

} // namespace

TestEnv::TestEnv(const QString& routes) : m_desktop(new FakeDesktop)
{
    static bool prepared = false;
    if (!prepared) {
        Startup::prepareApplication(*qApp);
        previousHandler = qInstallMessageHandler(quietHandler);
        prepared = true;
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_config.path());
    Settings::reset(); // read from the new place when first used
    AppPaths::setProgramDir(m_dir.path());
    // Where a program directory that cannot be written sends its files: never the real home.
    AppPaths::setUserDataDir(m_config.filePath(QStringLiteral("data")));
    Desktop::install(m_desktop);
    VirtualTime::install(startTime());
    if (!routes.isNull())
        writeFile(QStringLiteral("routes.dat"), routes.toUtf8());
}

TestEnv::~TestEnv()
{
    VirtualTime::uninstall();
    Desktop::install(nullptr);
    AppPaths::setProgramDir(QString());
    AppPaths::setUserDataDir(QString());
}

QDateTime TestEnv::startTime()
{
    return QDateTime(QDate(2026, 12, 6), QTime(6, 10, 5));
}

QString TestEnv::file(const QString& name) const
{
    return m_dir.filePath(name);
}

void TestEnv::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray TestEnv::readShipped(const QString& name)
{
    QFile f(QStringLiteral(PELUMO_SOURCE_DIR "/assets/") + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("no shipped file %s", qPrintable(name));
    return f.readAll();
}

QByteArray TestEnv::readFile(const QString& name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString TestEnv::stored(const QString& key)
{
    return Settings::Read(key, QStringLiteral("<absent>"));
}

void TestEnv::store(const QString& key, const QString& text)
{
    Settings::Write(key, text);
}

std::unique_ptr<frmMDI> TestEnv::start()
{
    auto w = std::make_unique<frmMDI>();
    w->Form_Load();
    return w;
}

void TestEnv::advance(qint64 ms)
{
    VirtualTime::advance(ms);
}

QObject* TestEnv::findObject(const QObject* root, const QString& name, const QMetaObject* type)
{
    for (QObject* o : root->findChildren<QObject*>(name))
        if (type->cast(o))
            return o;
    qFatal("no %s named %s", type->className(), qPrintable(name));
}

Timer* TestEnv::timer(const QObject* root, const QString& name)
{
    return find<Timer>(root, name);
}

QAction* TestEnv::action(const frmMDI* w, const QString& name)
{
    return find<QAction>(w, name);
}

void TestEnv::click(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
}

void TestEnv::moveTo(QWidget* w, const QPoint& pos)
{
    // A plain pointer movement with no button held, delivered where the pointer is.
    QMouseEvent e(QEvent::MouseMove, QPointF(pos), w->mapToGlobal(QPointF(pos)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

Key TestEnv::keyFor(const QString& labelOrName)
{
    static const QHash<QString, QString> byLabel = {
        {QStringLiteral("SHIFT"), QStringLiteral("imgShift")},
        {QStringLiteral("開/關"), QStringLiteral("imgOF")},
    };
    const QString name = byLabel.value(labelOrName, labelOrName);
    for (const KeyInfo& k : Keys::all())
        if (name == QLatin1String(k.name) || name == QString::fromUtf16(k.caption))
            return k.key;
    qFatal("no console key %s", qPrintable(labelOrName));
}

QWidget* TestEnv::key(const frmMDI* w, const QString& labelOrName)
{
    return find(w, QLatin1String(Keys::info(keyFor(labelOrName)).name));
}

void TestEnv::press(const frmMDI* w, const QString& labels)
{
    for (const QString& label : labels.split(u' ', Qt::SkipEmptyParts))
        click(key(w, label));
}

void TestEnv::powerOn(const frmMDI* w)
{
    click(key(w, QStringLiteral("開/關")));
}

void TestEnv::waitForPrompt(const frmMDI* w)
{
    // At most the longest boot: lamp test, 30 s wait, two steps.
    const CardProcessor* p = w->processor();
    const Timer* boot = timer(p, QStringLiteral("tmrStart"));
    for (int i = 0;
         i < 400 && !(p->bootStep() == CardProcessor::BootStep::Prompt && !boot->Enabled()); ++i)
        advance(100);
}

void TestEnv::logIn(const frmMDI* w)
{
    powerOn(w);
    waitForPrompt(w);
    presentStartupCard(w);
    advance(2000); // the in-service screen with the route's fare
}

void TestEnv::presentStartupCard(const frmMDI* w)
{
    CardProcessor* p = w->processor();
    const CardType type = p->cardType();
    p->setCardType(CardType::Startup);
    present(w);
    advance(2000);
    withdraw(w);
    p->setCardType(type);
}

void TestEnv::present(const frmMDI* w, double xTw, double yTw)
{
    moveTo(find(w, QStringLiteral("imgCard")),
           QPoint(qRound(twipsExact(xTw)), qRound(twipsExact(yTw))));
}

void TestEnv::withdraw(const frmMDI* w)
{
    moveTo(find(w, QStringLiteral("frmBCP")), QPoint(2, 2));
}

void TestEnv::read(const frmMDI* w)
{
    present(w);
    advance(1000);
}
