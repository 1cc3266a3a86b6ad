#pragma once

#include "ddu/Keys.h"
#include "platform/UiLanguage.h"

#include <QHash>
#include <QMainWindow>

#include <functional>

#include <memory>

class CardProcessor;
class CardTap;
class Console;
class Equipment;
class QAction;
class QKeyEvent;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class Timer;
class frmBCP;
class frmDDU;

// The main window: the two devices side by side, the menus, start-up and shut-down. It
// creates both devices and wires them together.
class frmMDI : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMDI(QWidget* parent = nullptr);
    ~frmMDI() override;

    // The start-up sequence: splash, both devices, the equipment switched off.
    void Form_Load();

    CardProcessor* processor() const { return m_processor; }
    Console* console() const { return m_console; }
    frmBCP* bcp() const { return m_bcp; }
    frmDDU* ddu() const { return m_ddu; }
    QMdiArea* mdiArea() const { return m_mdi; }
    bool unloaded() const { return m_unloaded; }

    // The panels drawn at `percent` of their design size (one of Settings::Zooms), the
    // window grown or shrunk to show them whole; remembered for the next start.
    void setZoom(int percent);
    int zoomPercent() const { return m_zoom; }
    // Closes without asking about the trip log: the end the system asks for (a signal).
    void closeNow();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void buildMenus();
    void buildLanguageMenu(QMenu* view);
    void retranslateMenus();
    void chooseLanguage(UiLanguage language);
    void buildKeyboard();
    bool keyboardKey(QKeyEvent* e);
    void keyFromKeyboard(Key key);
    void letterFromKeyboard(QChar letter);
    void cardFromKeyboard(bool misplaced);
    QMdiSubWindow* addPanel(QWidget* panel);
    QSize sizeFor(const QSize& bcpWindow, const QSize& dduWindow) const;
    void fitPanels();
    void restorePlacement();
    void savePlacement();
    void zoomStep(int steps);
    void Form_Unload();
    bool mayQuit();
    void outputFinished(bool written);
    void powerSwitched(bool on);
    void openJournal();
    static constexpr int JournalLatestMs = 5000;

    void mnuViewOutput_Click();
    void mnuReport_Click();
    void mnuSetting_Click();
    void mnuSimVib_Click();
    void mnuSimTemp_Click();
    void mnuOptions_Click();
    void mnuDDUHelp_Click();
    void mnuAbout_Click();
    void tmrVib_Timer();

    QMdiArea* m_mdi = nullptr;
    QHash<int, std::function<void()>> m_keyboard; // combined key and modifiers -> action
    CardTap* m_cardTap = nullptr;
    QAction* m_mnuSimVib = nullptr;
    QAction* m_mnuSimTemp = nullptr;
    QList<QAction*> m_mnuZoom; // one for each of Settings::Zooms
    QList<QAction*> m_mnuLanguage;
    QList<std::pair<QAction*, const char*>> m_captions; // entries and their untranslated captions
    int m_zoom = 100;
    Timer* m_tmrVib = nullptr;

    CardProcessor* m_processor = nullptr;
    Console* m_console = nullptr;
    Equipment* m_equipment = nullptr;
    frmBCP* m_bcp = nullptr;
    frmDDU* m_ddu = nullptr;
    QMdiSubWindow* m_bcpWindow = nullptr;
    QMdiSubWindow* m_dduWindow = nullptr;
    bool m_unloaded = false;
    bool m_closeNow = false;
    bool m_quitAfterOutput = false;
    bool m_journalAsked = false; // the journal opens once the window has been painted
};
