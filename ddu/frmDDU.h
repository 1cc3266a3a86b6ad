#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class QLabel;
class Artwork;
class Timer;
class frmBCP;
class frmMDI;
class KeyRegion;

// The driver console: four display lines, a status line with the clock, 31 keys.
class frmDDU : public QWidget {
    Q_OBJECT
public:
    explicit frmDDU(QWidget* parent = nullptr);
    ~frmDDU() override;

    void connectWindows(frmBCP* bcp, frmMDI* mdi);

    int Top() const;
    void setTop(int tw);
    int Left() const;
    void setLeft(int tw);

    void Form_Load();
    void Form_MouseMove();

    // Public operations.
    void Log(const QString& line);
    void LoadRoute(qsizetype RouteNo);
    void imgOF_Click();
    void ChangeDir();
    void ChangeRoute(const QString& NewRoute);
    void Output();
    void InputT(const QString& text);

    // Key handlers.
    void imgNo_Click(int index);
    void imgShift_Click();
    void imgSpace_Click();
    void letterKey_Click(const QString& letter); // the keys that only type a letter
    void imgRoute_Click();
    void imgOutput_Click();
    void imgStart_Click();
    void imgFinish_Click();
    void imgDir_Click();
    void imgCancel_Click();
    void imgEnt_Click();
    void imgUp_Click();
    void imgDown_Click();
    void tmrClock_Timer();

    // Keypad modes.
    enum Mode : qint32 {
        TerminusConfirm = 0,
        Idle = 1,
        RouteEntry = 2,
        OutputConfirm = 3,
        OriginConfirm = 4,
        DirectionConfirm = 5,
    };
    qint32 InputMode = Idle;
    bool ShiftOn = false;

    // On exactly while line 1 is shown.
    bool isOn() const;
    void restoreDisplay();
    void setLines(const QString& l1, const QString& l2, const QString& l3, const QString& l4);

    // Display.
    QLabel* lblLine1 = nullptr;
    QLabel* lblLine2 = nullptr;
    QLabel* lblLine3 = nullptr;
    QLabel* lblLine4 = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* lblShift = nullptr;
    // The route screen of the current section; never shown.
    QLabel* lblOrgLine1 = nullptr;
    QLabel* lblOrgLine2 = nullptr;
    QLabel* lblOrgLine3 = nullptr;

    // Keys.
    KeyRegion* imgNo[10] = {};
    KeyRegion* imgShift = nullptr;
    KeyRegion* imgBrightness = nullptr;
    KeyRegion* imgContast = nullptr;
    KeyRegion* imgAcc = nullptr;
    KeyRegion* imgF1 = nullptr;
    KeyRegion* imgF2 = nullptr;
    KeyRegion* imgF3 = nullptr;
    KeyRegion* imgF4 = nullptr;
    KeyRegion* imgMoneyBox = nullptr;
    KeyRegion* imgOutput = nullptr;
    KeyRegion* imgSpace = nullptr;
    KeyRegion* imgEnt = nullptr;
    KeyRegion* imgOF = nullptr;
    KeyRegion* imgUp = nullptr;
    KeyRegion* imgDown = nullptr;
    KeyRegion* imgRoute = nullptr;
    KeyRegion* imgStart = nullptr;
    KeyRegion* imgFinish = nullptr;
    KeyRegion* imgDir = nullptr;
    KeyRegion* imgCancel = nullptr;
    KeyRegion* imgSend = nullptr;
    QList<KeyRegion*> keys() const;

    Timer* tmrClock = nullptr;

    // The route list, in file order, and the index of the loaded line (empty until the
    // first load).
    QStringList lst;
    QString lstTag;
    QString CurRoute;
    QString CurDest;
    QString CurFare;

    // The in-memory trip log: lines ended by CR LF.
    QString txtLog;
    bool outputRunning() const { return m_outputRunning; }

    static inline const QString OrgLine1 = QStringLiteral("車費　　　");
    static inline const QString OrgLine2 = QStringLiteral("路線　　　");
    static inline const QString OrgLine3 = QStringLiteral("往　");
    static inline const QString NotFound = QStringLiteral("　　沒有此路線資料！");

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void buildControls();
    KeyRegion* addKey(const QString& name, int left, int top, int width, int height,
                      const QString& letter);
    void loadRouteFile();
    void loadFound(qsizetype i); // a line that route entry or the terminus turn chose
    void resetStoredLines();
    void setControlsEnabled(bool on);
    void clearShift();

    frmBCP* m_bcp = nullptr;
    frmMDI* m_mdi = nullptr;
    std::unique_ptr<Artwork> m_front;
    bool m_outputRunning = false;
    bool m_fareKnown = false; // a route line has given CurFare its value
    QString m_unwritten; // closed blocks that an earlier output could not write
};

// A clickable key region over the console picture; its tag holds the letter it types
// while SHIFT is on.
class KeyRegion : public QWidget {
    Q_OBJECT
public:
    KeyRegion(const QString& name, const QString& letter, QWidget* parent);
    QString Tag;

signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
};
