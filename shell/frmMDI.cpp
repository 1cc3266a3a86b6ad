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
#include "shell/frmSplash.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

frmMDI::frmMDI(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMDI"));
    setWindowTitle(Desktop::Title);
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
    auto entry = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QLatin1String(name));
    };

    QMenu* program = menuBar()->addMenu(QStringLiteral("程式(&P)"));
    program->setObjectName(QStringLiteral("mnuBar_0"));
    QAction* viewOutput = entry(program, "mnuViewOutput", QStringLiteral("檢視輸出結果(&L)"));
    QAction* setting = entry(program, "mnuSetting", QStringLiteral("Pelumo咭設定(&S)..."));
    separator(program, "mnuSpace0");
    m_mnuSimVib = entry(program, "mnuSimVib", QStringLiteral("模擬行車震盪(&V)"));
    m_mnuSimVib->setCheckable(true);
    m_mnuSimTemp = entry(program, "mnuSimTemp", QStringLiteral("模擬機器過熱(&T)"));
    m_mnuSimTemp->setCheckable(true);
    separator(program, "mnuSpace1");
    QAction* options = entry(program, "mnuOptions", QStringLiteral("程式設定(&O)..."));
    separator(program, "mnuSpace2");
    QAction* exit = entry(program, "mnuExit", QStringLiteral("結束(&X)"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* help = menuBar()->addMenu(QStringLiteral("說明(&H)"));
    help->setObjectName(QStringLiteral("mnuBar_1"));
    QAction* dduHelp = entry(help, "mnuDDUHelp", QStringLiteral("車長控制器使用說明(&D)"));
    dduHelp->setShortcut(QKeySequence(Qt::Key_F1));
    separator(help, "mnuSpace3");
    QAction* about = entry(help, "mnuAbout", QStringLiteral("關於(&A)..."));

    // A checkable entry has turned its check mark over before its handler runs.
    connect(viewOutput, &QAction::triggered, this, &frmMDI::mnuViewOutput_Click);
    connect(setting, &QAction::triggered, this, &frmMDI::mnuSetting_Click);
    connect(m_mnuSimVib, &QAction::triggered, this, &frmMDI::mnuSimVib_Click);
    connect(m_mnuSimTemp, &QAction::triggered, this, &frmMDI::mnuSimTemp_Click);
    connect(options, &QAction::triggered, this, &frmMDI::mnuOptions_Click);
    connect(exit, &QAction::triggered, this, &QWidget::close);
    connect(dduHelp, &QAction::triggered, this, &frmMDI::mnuDDUHelp_Click);
    connect(about, &QAction::triggered, this, &frmMDI::mnuAbout_Click);
}

// The keyboard works the console as the mouse does, in this window and not in the dialogs
// over it: every key that does something has a key of its own, and a letter types itself in
// route entry. None of them takes Alt, so the menus keep their access keys. The keys are
// taken before the widget with the focus sees them, so that the arrows never scroll.
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
    m_keyboard.insert(Qt::Key_Insert, [this] { cardFromKeyboard(); });
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
    if (!m_console || m_console->mode() != Console::KeypadMode::RouteEntry)
        return;
    if (const KeyInfo* key = Keys::withLetter(letter); key && m_console->keyEnabled(key->key))
        m_ddu->flash(key->key);
    m_console->typeLetter(letter);
}

// The card onto the readable corner of the reader, or off it again.
void frmMDI::cardFromKeyboard()
{
    if (!m_processor)
        return;
    if (m_processor->cardShown())
        m_processor->withdraw();
    else
        m_processor->present(900, 600);
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
    yieldEvents();

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

    // Large enough to show both panels whole.
    const QSize panels(m_bcpWindow->frameGeometry().width() + m_dduWindow->frameGeometry().width(),
                       std::max({m_bcpWindow->frameGeometry().height(),
                                 m_dduWindow->frameGeometry().height(), twips(5685)}));
    show();
    resize(size() + (panels - m_mdi->viewport()->size()).expandedTo(QSize(0, 0)));
    yieldEvents();

    m_equipment->start();
    splash->close();
    delete splash;
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
        QStringLiteral("自上次輸出後的行車記錄尚未寫入記錄檔案，結束程式便會失去這些記錄。\n"
                       "要先輸出再結束嗎？"),
        {QStringLiteral("輸出後結束(&O)"), QStringLiteral("不輸出，結束(&Q)"),
         QStringLiteral("取消")},
        Stay);
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
    // The card processor's card is in the store already; what has not reached the disk yet
    // goes now. The console's unsent log goes with the program, as the driver chose.
    Settings::flush();
    // The devices are children of this window: one sweep stops every timer.
    for (Timer* t : findChildren<Timer*>())
        t->setEnabled(false);
    QCoreApplication::exit(0);
}
