#pragma once

#include <QMainWindow>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class Timer;
class frmBCP;
class frmDDU;
class frmSplash;

// The main window: the two device panels side by side, the menus, start-up and shut-down.
class frmMDI : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMDI(QWidget* parent = nullptr);
    ~frmMDI() override;

    // The start-up sequence: splash, both panels, the equipment switched off.
    void Form_Load();

    frmBCP* bcp() const { return m_bcp; }
    frmDDU* ddu() const { return m_ddu; }
    QMdiArea* mdiArea() const { return m_mdi; }
    bool unloaded() const { return m_unloaded; }

    // Menu handlers.
    void mnuViewOutput_Click();
    void mnuSetting_Click();
    void mnuSimVib_Click();
    void mnuSimTemp_Click();
    void mnuOptions_Click();
    void mnuExit_Click();
    void mnuDDUHelp_Click();
    void mnuAbout_Click();
    void tmrVib_Timer();

    QMenu* mnuBar[2] = {};
    QAction* mnuViewOutput = nullptr;
    QAction* mnuSetting = nullptr;
    QAction* mnuSpace0 = nullptr;
    QAction* mnuSimVib = nullptr;
    QAction* mnuSimTemp = nullptr;
    QAction* mnuSpace1 = nullptr;
    QAction* mnuOptions = nullptr;
    QAction* mnuSpace2 = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuDDUHelp = nullptr;
    QAction* mnuSpace3 = nullptr;
    QAction* mnuAbout = nullptr;

    Timer* tmrVib = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildMenus();
    QMdiSubWindow* addPanel(QWidget* panel);
    void Form_Unload();

    QMdiArea* m_mdi = nullptr;
    frmBCP* m_bcp = nullptr;
    frmDDU* m_ddu = nullptr;
    QMdiSubWindow* m_bcpWindow = nullptr;
    QMdiSubWindow* m_dduWindow = nullptr;
    bool m_unloaded = false;
};
