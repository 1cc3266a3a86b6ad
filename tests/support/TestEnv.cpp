#include "support/TestEnv.h"

#include "bcp/CardProcessor.h"
#include "common/Clock.h"
#include "common/Timer.h"
#include "common/Twips.h"
#include "ddu/Console.h"
#include "panels/DevicePanel.h"
#include "platform/AppPaths.h"
#include "platform/InterfaceLanguage.h"
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

TestEnv::TestEnv(const QString& routes) : ModelEnv(routes)
{
    static bool prepared = false;
    if (!prepared) {
        Startup::prepareApplication(*qApp);
        previousHandler = qInstallMessageHandler(quietHandler);
        prepared = true;
    }
}

std::unique_ptr<frmMDI> TestEnv::start()
{
    InterfaceLanguage::apply(Settings::uiLanguage()); // as main() does
    auto w = std::make_unique<frmMDI>();
    w->Form_Load();
    return w;
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
    // Twips of the design: as many more pixels as the panel is zoomed.
    const qreal zoom = find<DevicePanel>(w, QStringLiteral("frmBCP"))->zoom();
    moveTo(find(w, QStringLiteral("imgCard")),
           QPoint(qRound(twipsExact(xTw) * zoom), qRound(twipsExact(yTw) * zoom)));
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
