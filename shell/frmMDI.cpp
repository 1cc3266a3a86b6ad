#include "shell/frmMDI.h"

#include "bcp/frmBCP.h"
#include "common/Artwork.h"
#include "common/Timer.h"
#include "common/Yield.h"
#include "ddu/frmDDU.h"
#include "shell/Desktop.h"
#include "shell/Settings.h"
#include "shell/frmSplash.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
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
    resize(8160 / 15, 5685 / 15 + menuBar()->sizeHint().height());

    tmrVib = new Timer(QStringLiteral("tmrVib"), 1000, false, this);
    connect(tmrVib, &Timer::tick, this, &frmMDI::tmrVib_Timer);
    buildMenus();
}

frmMDI::~frmMDI() = default;

void frmMDI::buildMenus()
{
    auto entry = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    auto separator = [](QMenu* menu, const char* name) {
        QAction* a = menu->addSeparator();
        a->setObjectName(QLatin1String(name));
        return a;
    };

    mnuBar[0] = menuBar()->addMenu(QStringLiteral("程式(&P)"));
    mnuBar[0]->setObjectName(QStringLiteral("mnuBar_0"));
    mnuViewOutput = entry(mnuBar[0], "mnuViewOutput", QStringLiteral("檢視輸出結果(&L)"));
    mnuSetting = entry(mnuBar[0], "mnuSetting", QStringLiteral("Pelumo咭設定(&S)..."));
    mnuSpace0 = separator(mnuBar[0], "mnuSpace0");
    mnuSimVib = entry(mnuBar[0], "mnuSimVib", QStringLiteral("模擬行車震盪(&V)"));
    mnuSimVib->setCheckable(true);
    mnuSimTemp = entry(mnuBar[0], "mnuSimTemp", QStringLiteral("模擬機器過熱(&T)"));
    mnuSimTemp->setCheckable(true);
    mnuSpace1 = separator(mnuBar[0], "mnuSpace1");
    mnuOptions = entry(mnuBar[0], "mnuOptions", QStringLiteral("程式設定(&O)..."));
    mnuSpace2 = separator(mnuBar[0], "mnuSpace2");
    mnuExit = entry(mnuBar[0], "mnuExit", QStringLiteral("結束(&X)"));

    mnuBar[1] = menuBar()->addMenu(QStringLiteral("說明(&H)"));
    mnuBar[1]->setObjectName(QStringLiteral("mnuBar_1"));
    mnuDDUHelp = entry(mnuBar[1], "mnuDDUHelp", QStringLiteral("車長控制器使用說明(&D)"));
    mnuSpace3 = separator(mnuBar[1], "mnuSpace3");
    mnuAbout = entry(mnuBar[1], "mnuAbout", QStringLiteral("關於(&A)..."));

    // A checkable entry has turned its check mark over before its handler runs.
    connect(mnuViewOutput, &QAction::triggered, this, &frmMDI::mnuViewOutput_Click);
    connect(mnuSetting, &QAction::triggered, this, &frmMDI::mnuSetting_Click);
    connect(mnuSimVib, &QAction::triggered, this, &frmMDI::mnuSimVib_Click);
    connect(mnuSimTemp, &QAction::triggered, this, &frmMDI::mnuSimTemp_Click);
    connect(mnuOptions, &QAction::triggered, this, &frmMDI::mnuOptions_Click);
    connect(mnuExit, &QAction::triggered, this, &frmMDI::mnuExit_Click);
    connect(mnuDDUHelp, &QAction::triggered, this, &frmMDI::mnuDDUHelp_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmMDI::mnuAbout_Click);
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

    m_bcp = new frmBCP;
    m_bcpWindow = addPanel(m_bcp);
    m_bcp->setTop(0);
    m_bcp->setLeft(0);

    m_ddu = new frmDDU;
    m_bcp->connectWindows(m_ddu, this);
    m_ddu->connectWindows(m_bcp, this);
    m_dduWindow = addPanel(m_ddu);
    m_ddu->setTop(0);
    m_ddu->setLeft(m_bcp->Width());

    // Large enough to show both panels whole.
    const QSize panels(m_bcpWindow->frameGeometry().width() + m_dduWindow->frameGeometry().width(),
                       std::max({m_bcpWindow->frameGeometry().height(),
                                 m_dduWindow->frameGeometry().height(), 5685 / 15}));
    show();
    resize(size() + (panels - m_mdi->viewport()->size()).expandedTo(QSize(0, 0)));
    yieldEvents();

    m_bcp->tmrLoadLong->setInterval(Settings::loadtimeMs());
    m_ddu->imgOF_Click();
    splash->close();
    delete splash;
}

bool frmMDI::eventFilter(QObject* watched, QEvent* e)
{
    // The panels live as long as the program; only its own end closes them.
    if (e->type() == QEvent::Close && !m_unloaded &&
        (watched == m_bcpWindow || watched == m_dduWindow)) {
        e->ignore();
        return true;
    }
    // The dark background withdraws the card, as the panels' own backgrounds do.
    if (watched == m_mdi->viewport() && e->type() == QEvent::MouseMove && m_bcp)
        m_bcp->imgMCard->hide();
    return QMainWindow::eventFilter(watched, e);
}

void frmMDI::mnuExit_Click()
{
    close();
}

void frmMDI::closeEvent(QCloseEvent* e)
{
    Form_Unload();
    e->accept();
}

void frmMDI::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // The card processor keeps the card; the console's unsent log goes with it.
    if (m_bcp)
        m_bcp->Form_QueryUnload();
    for (Timer* t : findChildren<Timer*>())
        t->setEnabled(false);
    if (m_bcp)
        for (Timer* t : m_bcp->findChildren<Timer*>())
            t->setEnabled(false);
    if (m_ddu)
        for (Timer* t : m_ddu->findChildren<Timer*>())
            t->setEnabled(false);
    QCoreApplication::exit(0);
}
