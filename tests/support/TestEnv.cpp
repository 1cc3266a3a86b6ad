#include "support/TestEnv.h"

#include "bcp/frmBCP.h"
#include "common/Clock.h"
#include "common/Timer.h"
#include "ddu/frmDDU.h"
#include "shell/AppPaths.h"
#include "shell/Desktop.h"
#include "shell/Settings.h"
#include "shell/Startup.h"
#include "shell/frmMDI.h"

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

KeyRegion* TestEnv::key(frmMDI* w, const QString& labelOrName)
{
    static const QHash<QString, QString> byLabel = {
        {QStringLiteral("SHIFT"), QStringLiteral("imgShift")},
        {QStringLiteral("光暗"), QStringLiteral("imgBrightness")},
        {QStringLiteral("對比度"), QStringLiteral("imgContast")},
        {QStringLiteral("事故"), QStringLiteral("imgAcc")},
        {QStringLiteral("F1"), QStringLiteral("imgF1")},
        {QStringLiteral("F2"), QStringLiteral("imgF2")},
        {QStringLiteral("F3"), QStringLiteral("imgF3")},
        {QStringLiteral("F4"), QStringLiteral("imgF4")},
        {QStringLiteral("錢箱"), QStringLiteral("imgMoneyBox")},
        {QStringLiteral("輸出"), QStringLiteral("imgOutput")},
        {QStringLiteral("空格"), QStringLiteral("imgSpace")},
        {QStringLiteral("輸入"), QStringLiteral("imgEnt")},
        {QStringLiteral("開/關"), QStringLiteral("imgOF")},
        {QStringLiteral("↑"), QStringLiteral("imgUp")},
        {QStringLiteral("↓"), QStringLiteral("imgDown")},
        {QStringLiteral("路線"), QStringLiteral("imgRoute")},
        {QStringLiteral("起點"), QStringLiteral("imgStart")},
        {QStringLiteral("終點"), QStringLiteral("imgFinish")},
        {QStringLiteral("方向"), QStringLiteral("imgDir")},
        {QStringLiteral("取消"), QStringLiteral("imgCancel")},
        {QStringLiteral("退出"), QStringLiteral("imgSend")},
    };
    QString name = byLabel.value(labelOrName, labelOrName);
    if (name.size() == 1 && name.at(0).isDigit())
        name = QStringLiteral("imgNo_") + name;
    auto* k = w->ddu()->findChild<KeyRegion*>(name);
    if (!k)
        qFatal("no console key %s", qPrintable(labelOrName));
    return k;
}

void TestEnv::press(frmMDI* w, const QString& labels)
{
    for (const QString& label : labels.split(u' ', Qt::SkipEmptyParts))
        click(key(w, label));
}

void TestEnv::powerOn(frmMDI* w)
{
    click(w->ddu()->imgOF);
}

void TestEnv::waitForPrompt(frmMDI* w)
{
    // At most the longest boot: lamp test, 30 s wait, two steps.
    for (int i = 0; i < 400 && !(w->bcp()->tmrStart->Tag() == u"S2" && !w->bcp()->tmrStart->Enabled()); ++i)
        advance(100);
}

void TestEnv::logIn(frmMDI* w)
{
    powerOn(w);
    waitForPrompt(w);
    const qint16 type = w->bcp()->CardType;
    w->bcp()->CardType = 4;
    present(w);
    advance(2000);
    withdraw(w);
    w->bcp()->CardType = type;
    advance(2000); // the in-service screen with the route's fare
}

void TestEnv::present(frmMDI* w, double xTw, double yTw)
{
    moveTo(w->bcp()->imgCard, QPoint(qRound(xTw / 15), qRound(yTw / 15)));
}

void TestEnv::withdraw(frmMDI* w)
{
    moveTo(w->bcp(), QPoint(2, 2));
}

void TestEnv::read(frmMDI* w)
{
    present(w);
    advance(1000);
}
