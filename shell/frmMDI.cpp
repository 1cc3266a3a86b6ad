#include "shell/frmMDI.h"

#include "bcp/CardProcessor.h"
#include "common/Timer.h"
#include "common/Twips.h"
#include "common/Yield.h"
#include "ddu/Console.h"
#include "equipment/Equipment.h"
#include "panels/Artwork.h"
#include "panels/frmBCP.h"
#include "panels/frmDDU.h"
#include "platform/Desktop.h"
#include "platform/Settings.h"
#include "shell/CardTap.h"
#include "shell/frmSplash.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <iterator>

frmMDI::frmMDI(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMDI"));
    setWindowTitle(Desktop::title());
    setWindowIcon(Artwork::icon());
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setBackground(QColor(64, 64, 64));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->viewport()->setMouseTracking(true);
    m_mdi->viewport()->installEventFilter(this);
    setCentralWidget(m_mdi);
    // The design client area; the panels widen it once they stand (see Form_Load).
    resize(twips(8160), twips(5685) + menuBar()->sizeHint().height());

    m_tmrVib = new Timer(QStringLiteral("tmrVib"), 1000, false, this);
    connect(m_tmrVib, &Timer::tick, this, &frmMDI::tmrVib_Timer);
    buildMenus();
    buildKeyboard();
}

frmMDI::~frmMDI() = default;

void frmMDI::buildMenus()
{
    // Each caption is kept untranslated beside its entry, to be shown again in another
    // language (see retranslateMenus).
    auto entry = [this](QMenu* menu, const char* name, const char* caption) {
        QAction* a = menu->addAction(tr(caption));
        a->setObjectName(QLatin1String(name));
        m_captions.append({a, caption});
        return a;
    };
    auto topMenu = [this](const char* name, const char* caption) {
        QMenu* m = menuBar()->addMenu(tr(caption));
        m->setObjectName(QLatin1String(name));
        m_captions.append({m->menuAction(), caption});
        return m;
    };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QLatin1String(name));
    };

    QMenu* program = topMenu("mnuBar_0", QT_TR_NOOP("程式(&P)"));
    QAction* viewOutput = entry(program, "mnuViewOutput", QT_TR_NOOP("檢視輸出結果(&L)"));
    QAction* report = entry(program, "mnuReport", QT_TR_NOOP("行程報告(&R)..."));
    QAction* setting = entry(program, "mnuSetting", QT_TR_NOOP("Pelumo咭設定(&S)..."));
    separator(program, "mnuSpace0");
    m_mnuSimVib = entry(program, "mnuSimVib", QT_TR_NOOP("模擬行車震盪(&V)"));
    m_mnuSimVib->setCheckable(true);
    m_mnuSimTemp = entry(program, "mnuSimTemp", QT_TR_NOOP("模擬機器過熱(&T)"));
    m_mnuSimTemp->setCheckable(true);
    separator(program, "mnuSpace1");
    QAction* options = entry(program, "mnuOptions", QT_TR_NOOP("程式設定(&O)..."));
    separator(program, "mnuSpace2");
    QAction* exit = entry(program, "mnuExit", QT_TR_NOOP("結束(&X)"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* view = topMenu("mnuView", QT_TR_NOOP("檢視(&V)"));
    auto* zooms = new QActionGroup(this);
    int n = 0;
    for (const int percent : Settings::Zooms) {
        QAction* a = view->addAction(QStringLiteral("%1 %(&%2)").arg(percent).arg(++n));
        a->setObjectName(QStringLiteral("mnuZoom%1").arg(percent));
        a->setCheckable(true);
        a->setChecked(percent == m_zoom);
        zooms->addAction(a);
        connect(a, &QAction::triggered, this, [this, percent] { setZoom(percent); });
        m_mnuZoom << a;
    }
    m_mnuZoom.first()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    separator(view, "mnuSpaceZoom");
    QAction* zoomIn = entry(view, "mnuZoomIn", QT_TR_NOOP("放大(&I)"));
    // Ctrl+= too: the same key as Ctrl++ without Shift.
    zoomIn->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    QAction* zoomOut = entry(view, "mnuZoomOut", QT_TR_NOOP("縮小(&O)"));
    zoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    connect(zoomIn, &QAction::triggered, this, [this] { zoomStep(1); });
    connect(zoomOut, &QAction::triggered, this, [this] { zoomStep(-1); });
    separator(view, "mnuSpaceLanguage");
    buildLanguageMenu(view);

    QMenu* help = topMenu("mnuBar_1", QT_TR_NOOP("說明(&H)"));
    QAction* dduHelp = entry(help, "mnuDDUHelp", QT_TR_NOOP("車長控制器使用說明(&D)"));
    dduHelp->setShortcut(QKeySequence(Qt::Key_F1));
    separator(help, "mnuSpace3");
    QAction* about = entry(help, "mnuAbout", QT_TR_NOOP("關於(&A)..."));

    // A checkable entry has turned its check mark over before its handler runs.
    connect(viewOutput, &QAction::triggered, this, &frmMDI::mnuViewOutput_Click);
    connect(report, &QAction::triggered, this, &frmMDI::mnuReport_Click);
    connect(setting, &QAction::triggered, this, &frmMDI::mnuSetting_Click);
    connect(m_mnuSimVib, &QAction::triggered, this, &frmMDI::mnuSimVib_Click);
    connect(m_mnuSimTemp, &QAction::triggered, this, &frmMDI::mnuSimTemp_Click);
    connect(options, &QAction::triggered, this, &frmMDI::mnuOptions_Click);
    connect(exit, &QAction::triggered, this, &QWidget::close);
    connect(dduHelp, &QAction::triggered, this, &frmMDI::mnuDDUHelp_Click);
    connect(about, &QAction::triggered, this, &frmMDI::mnuAbout_Click);
}

// The keyboard works the console as the mouse does, in this window and not in the dialogs
// over it: every key that does something has a key of its own, a letter types itself in
// route entry and Y or N answers a (Y/N) question. None of them takes Alt, so the menus keep
// their access keys. The keys are taken before the widget with the focus sees them, so that
// the arrows never scroll.
void frmMDI::buildKeyboard()
{
    for (const KeyInfo& info : Keys::all()) {
        const Key key = info.key;
        if (info.keyboard)
            m_keyboard.insert(QKeySequence(QLatin1String(info.keyboard))[0].toCombined(),
                              [this, key] { keyFromKeyboard(key); });
        if (info.letter) {
            const QChar letter = QChar::fromLatin1(info.letter);
            m_keyboard.insert(info.letter, [this, letter] { letterFromKeyboard(letter); });
        }
    }
    m_keyboard.insert(Qt::Key_Enter, [this] { keyFromKeyboard(Key::Enter); });
    m_keyboard.insert(Qt::Key_Insert, [this] { cardFromKeyboard(false); });
    m_keyboard.insert(QKeyCombination(Qt::ShiftModifier, Qt::Key_Insert).toCombined(),
                      [this] { cardFromKeyboard(true); });
    qApp->installEventFilter(this);
}

bool frmMDI::keyboardKey(QKeyEvent* e)
{
    // The keypad's digits and Enter are the same keys; a letter is the same with Shift.
    Qt::KeyboardModifiers modifiers = e->modifiers() & ~Qt::KeypadModifier;
    if (e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        modifiers &= ~Qt::ShiftModifier;
    const auto action =
        m_keyboard.constFind(QKeyCombination(modifiers, Qt::Key(e->key())).toCombined());
    if (action == m_keyboard.constEnd())
        return false;
    if (!e->isAutoRepeat())
        (*action)();
    return true;
}

void frmMDI::keyFromKeyboard(Key key)
{
    if (!m_console || !m_console->keyEnabled(key))
        return;
    m_ddu->flash(key);
    m_console->press(key);
}

void frmMDI::letterFromKeyboard(QChar letter)
{
    if (!m_console)
        return;
    switch (m_console->mode()) {
    case Console::KeypadMode::OutputConfirm:
    case Console::KeypadMode::OriginConfirm:
    case Console::KeypadMode::TerminusConfirm:
    case Console::KeypadMode::DirectionConfirm:
        if (letter == u'Y')
            keyFromKeyboard(Key::Enter);
        else if (letter == u'N')
            keyFromKeyboard(Key::Cancel);
        return;
    case Console::KeypadMode::RouteEntry:
        break;
    case Console::KeypadMode::Idle:
        return;
    }
    if (const KeyInfo* key = Keys::withLetter(letter); key && m_console->keyEnabled(key->key))
        m_ddu->flash(key->key);
    m_console->typeLetter(letter);
}

// The card tapped on the readable corner of the reader, or low on the reader where the
// processor cannot read it and asks for it again.
void frmMDI::cardFromKeyboard(bool misplaced)
{
    if (!m_processor)
        return;
    if (!m_cardTap)
        m_cardTap = new CardTap(*m_processor, this);
    m_cardTap->tap(900, misplaced ? 1700 : 600);
}

QMdiSubWindow* frmMDI::addPanel(QWidget* panel)
{
    QMdiSubWindow* w =
        m_mdi->addSubWindow(panel, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    w->setObjectName(panel->objectName() + QStringLiteral("_window"));
    w->setWindowTitle(panel->windowTitle());
    w->setWindowIcon(Artwork::icon());
    w->setSystemMenu(nullptr);
    w->setOption(QMdiSubWindow::RubberBandMove, false);
    w->installEventFilter(this);
    w->show();
    w->setFixedSize(w->size()); // no resizing, minimising or maximising
    return w;
}

void frmMDI::Form_Load()
{
    auto* splash = new frmSplash;
    splash->show();
    // A warning from reading the store or the route file comes up in these yields; a
    // signal while it is up ends the start here.
    yieldEvents();
    if (m_unloaded) {
        delete splash;
        return;
    }

    m_equipment = new Equipment(this);
    m_processor = &m_equipment->processor();
    m_console = &m_equipment->console();
    m_bcp = new frmBCP(*m_processor);
    m_bcpWindow = addPanel(m_bcp);
    m_bcp->setTop(0);
    m_bcp->setLeft(0);

    connect(m_console, &Console::powerSwitched, this, &frmMDI::powerSwitched);
    connect(m_console, &Console::outputFinished, this, &frmMDI::outputFinished);
    m_ddu = new frmDDU(*m_console);
    // The console's bare front takes the card away, as the processor's own does.
    connect(m_ddu, &DevicePanel::pointerOnBackground, m_processor, &CardProcessor::withdraw);
    m_dduWindow = addPanel(m_ddu);
    m_ddu->setTop(0);
    m_ddu->setLeft(m_bcp->outerWidth());

    // Sized before it is first shown: an area smaller than the panels for a moment would
    // show scroll bars, and they may stay standing once it has grown.
    layout()->activate();
    setZoom(Settings::zoomPercent());
    fitPanels();
    show();
    fitPanels();
    restorePlacement();
    yieldEvents();
    if (m_unloaded) {
        delete splash;
        return;
    }

    m_equipment->start();
    splash->close();
    delete splash;
    // A window started minimised or hidden is never painted: the events must not wait
    // in memory for the whole run.
    QTimer::singleShot(JournalLatestMs, this, &frmMDI::openJournal);
}

void frmMDI::openJournal()
{
    if (m_journalAsked || m_unloaded)
        return;
    m_journalAsked = true;
    m_equipment->openJournal();
}

// Large enough to show both panels whole, with no scroll bar: the panels' frames, the
// area's own frame and what the window has around the area (measured from the area, not
// from its viewport, which scroll bars shown for a moment would narrow).
QSize frmMDI::sizeFor(const QSize& bcpWindow, const QSize& dduWindow) const
{
    const QSize panels(bcpWindow.width() + dduWindow.width(),
                       std::max({bcpWindow.height(), dduWindow.height(), twips(5685)}));
    const int frame = 2 * m_mdi->frameWidth();
    return panels + size() - m_mdi->size() + QSize(frame, frame);
}

void frmMDI::fitPanels()
{
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        resize(sizeFor(m_bcpWindow->size(), m_dduWindow->size()));
}

void frmMDI::setZoom(int percent)
{
    if (!m_bcp || percent == m_zoom)
        return;
    m_zoom = percent;
    for (QAction* a : m_mnuZoom)
        a->setChecked(a->objectName() == QStringLiteral("mnuZoom%1").arg(percent));
    const QSize bcpFrame = m_bcpWindow->size() - m_bcp->size();
    const QSize dduFrame = m_dduWindow->size() - m_ddu->size();
    m_bcp->setZoom(percent / 100.0);
    m_ddu->setZoom(percent / 100.0);
    const QSize bcpWindow = m_bcp->size() + bcpFrame;
    const QSize dduWindow = m_ddu->size() + dduFrame;
    // The window grows before the panels do: panels larger than the area for a moment
    // would leave its scroll bars standing.
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        resize(size().expandedTo(sizeFor(bcpWindow, dduWindow)));
    m_bcpWindow->setFixedSize(bcpWindow);
    m_dduWindow->setFixedSize(dduWindow);
    m_ddu->setLeft(m_bcp->outerWidth());
    fitPanels();
    Settings::setZoomPercent(percent);
}

void frmMDI::zoomStep(int steps)
{
    const auto* at = std::find(std::begin(Settings::Zooms), std::end(Settings::Zooms), m_zoom);
    const auto index = std::clamp<std::ptrdiff_t>(at - std::begin(Settings::Zooms) + steps, 0,
                                                  std::size(Settings::Zooms) - 1);
    setZoom(Settings::Zooms[index]);
}

// The window where it was left, if that still lies on a screen of this desktop and fits
// it; otherwise where it opened. Maximised if it was.
void frmMDI::restorePlacement()
{
    if (const std::optional<QRect> stored = Settings::windowGeometry()) {
        const QList<QScreen*> screens = QGuiApplication::screens();
        if (std::any_of(screens.begin(), screens.end(),
                        [&](const QScreen* s) { return s->availableGeometry().contains(*stored); }))
            setGeometry(*stored);
    }
    if (Settings::windowMaximized())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void frmMDI::savePlacement()
{
    const bool normal =
        !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    const QRect r = normal ? geometry() : normalGeometry();
    if (r.isValid())
        Settings::setWindowGeometry(r);
    Settings::setWindowMaximized(windowState() & Qt::WindowMaximized);
    Settings::setZoomPercent(m_zoom);
}

void frmMDI::powerSwitched(bool on)
{
    m_mnuSimTemp->setEnabled(on);
    if (on)
        m_mnuSimTemp->setChecked(false);
}

bool frmMDI::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::KeyPress && watched->isWidgetType() && !m_unloaded &&
        static_cast<QWidget*>(watched)->window() == this && keyboardKey(static_cast<QKeyEvent*>(e)))
        return true;
    // The panels live as long as the program; only its own end closes them.
    if (e->type() == QEvent::Close && !m_unloaded &&
        (watched == m_bcpWindow || watched == m_dduWindow)) {
        e->ignore();
        return true;
    }
    // Opening the journal reads and perhaps migrates a file: not before the user sees
    // the window. Events until then wait in memory.
    if (watched == m_mdi->viewport() && e->type() == QEvent::Paint && m_equipment &&
        !m_journalAsked)
        QTimer::singleShot(0, this, &frmMDI::openJournal);
    // The dark background takes the card away, as the panels' own backgrounds do.
    if (watched == m_mdi->viewport() && e->type() == QEvent::MouseMove && m_processor)
        m_processor->withdraw();
    return QMainWindow::eventFilter(watched, e);
}

void frmMDI::closeEvent(QCloseEvent* e)
{
    if (!m_unloaded && !m_closeNow && !mayQuit()) {
        e->ignore();
        return;
    }
    Form_Unload();
    e->accept();
}

void frmMDI::closeNow()
{
    // The program is ending already and waits on a box: the box goes, the end goes on.
    if (m_unloaded) {
        QCoreApplication::exit(0);
        return;
    }
    m_closeNow = true;
    close();
    // A close already under way (the question is up) lets a second one do nothing: the
    // program ends here, and the first close finds it ended.
    if (!m_unloaded)
        Form_Unload();
}

// The entries logged since the last output live only in memory: the driver chooses to
// output them first, to let them go, or to stay.
bool frmMDI::mayQuit()
{
    if (!m_console || !m_console->tripLog().hasUnwritten())
        return true;
    if (m_quitAfterOutput)
        return false; // the output under way closes the window once it is written
    enum { Output, Quit, Stay };
    const int answer = Desktop::instance().ask(
        tr("自上次輸出後的行車記錄尚未寫入記錄檔案，結束程式便會失去這些記錄。\n"
           "要先輸出再結束嗎？"),
        {tr("輸出後結束(&O)"), tr("不輸出，結束(&Q)"), tr("取消")}, Stay);
    if (m_unloaded)
        return true; // a signal ended the program while the question was up
    if (answer == Quit)
        return true;
    if (answer == Output) {
        m_quitAfterOutput = true;
        // Not from inside this close: the output yields to the event loop, and its end
        // closes the window again. One already running is waited for.
        if (!m_console->outputRunning())
            QMetaObject::invokeMethod(
                this, [this] { m_console->output(); }, Qt::QueuedConnection);
    }
    return false;
}

void frmMDI::outputFinished(bool written)
{
    if (!m_quitAfterOutput)
        return;
    m_quitAfterOutput = false;
    // When log.txt could not be written the warning says so and the window stays.
    if (written)
        closeNow();
}

void frmMDI::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // A start ended before the window showed has no place of its own to keep.
    if (isVisible())
        savePlacement();
    // The card processor's card is in the store already; what has not reached the disk yet
    // goes now. The console's unsent log goes with the program, as the driver chose.
    Settings::flush();
    // The devices are children of this window: one sweep stops every timer.
    for (Timer* t : findChildren<Timer*>())
        t->setEnabled(false);
    // An output's block that log.txt would not take is tried once more, else kept for the
    // next start. After a signal nobody may be there to answer a box.
    if (const QString lost = m_console ? m_console->keepUnwrittenBlocks() : QString();
        !lost.isEmpty()) {
        if (m_closeNow)
            qWarning("pelumo: %s", qUtf8Printable(lost));
        else
            Desktop::instance().warnAndWait(lost);
    }
    QCoreApplication::exit(0);
}
