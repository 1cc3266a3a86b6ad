#pragma once

#include <QColor>
#include <QVariant>
#include <QWidget>

#include <memory>

class QLabel;
class QFrame;
class Artwork;
class Timer;
class frmDDU;
class frmMDI;
class CardReader;

// A picture box whose background colour is its state: the screen, the cover, the lamps.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(const QString& name, const QColor& back, QWidget* parent);
    QColor BackColor() const { return m_back; }
    void setBackColor(const QColor& c);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QColor m_back;
};

// The passenger card processor: a three-line display, three lamps and the reader.
class frmBCP : public QWidget {
    Q_OBJECT
public:
    explicit frmBCP(QWidget* parent = nullptr);
    ~frmBCP() override;

    void connectWindows(frmDDU* ddu, frmMDI* mdi);

    // Window placement in the main window's client area, in twips (the sub-window's frame).
    int Top() const;
    void setTop(int tw);
    int Left() const;
    void setLeft(int tw);
    int Width() const; // outer width, borders included

    void Form_Load();
    void Form_QueryUnload();
    void Form_MouseMove();
    void imgCard_MouseMove(double x, double y);

    // Commands from the console.
    void ChangeFare(const QVariant& newFare);
    void StopService(qint16 stop); // -1 stops, 0 resumes, anything else does nothing
    void Pause();

    // Timer handlers.
    void tmrStart_Timer();
    void tmrLoadLong_Timer();
    void tmrCount_Timer();
    void tmrLock_Timer();
    void tmrChange_Timer(); // the display tick

    // Lamp patterns.
    enum class Lamps { AllOff, AllOn, RedOnly, GreenOnly, YellowGreen };
    void setLamps(Lamps pattern);

    // Writing to the console's display.
    void consoleMessage(const QString& text);
    void restoreConsoleLines();

    double purseNumber() const;

    // State; the card settings dialog and the console set these directly.
    QVariant PurseValue;
    qint16 CardType = 0;
    qint16 Language = 0;
    QVariant Fare;
    QVariant HalfFare;
    qint32 ScreenState = 2;
    bool PaidLock = false;
    bool CardMisplaced = false;
    bool StartValue = false;
    bool NoResponse = false;

    // Controls, reached directly by the console, the main window and the dialogs.
    PictureBox* picLayer = nullptr;
    QLabel* lbl1 = nullptr;
    QLabel* lbl2 = nullptr;
    QLabel* lbl3 = nullptr;
    PictureBox* picLoad = nullptr;
    QLabel* lblB[5] = {};
    QFrame* Line1 = nullptr;
    PictureBox* picCover = nullptr;
    PictureBox* picRed = nullptr;
    PictureBox* picYellow = nullptr;
    PictureBox* picGreen = nullptr;
    QLabel* imgMCard = nullptr;
    CardReader* imgCard = nullptr;

    Timer* tmrStart = nullptr;
    Timer* tmrLoadLong = nullptr;
    Timer* tmrCount = nullptr;
    Timer* tmrLock = nullptr;
    Timer* tmrChange = nullptr;

    static inline const QColor RedOff{128, 0, 0};
    static inline const QColor RedOn{255, 0, 0};
    static inline const QColor YellowOff{128, 128, 0};
    static inline const QColor YellowOn{255, 255, 0};
    static inline const QColor GreenOff{0, 128, 0};
    static inline const QColor GreenOn{0, 255, 0};

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void buildControls();
    void showLines(bool visible);
    void outOfServiceDisplay();
    void promptLines();
    void loginPrompt();
    void completeLogin();
    void readCard();
    void showIdle(int state);
    void misread();
    void log(const QString& text);
    double halfFareNumber() const;
    double fareNumber() const;

    frmDDU* m_ddu = nullptr;
    frmMDI* m_mdi = nullptr;
    std::unique_ptr<Artwork> m_front;
};

// The reader target: no picture of its own and an invisible pointer; it reports every
// pointer movement, in twips from its top-left corner, to the card processor.
class CardReader : public QWidget {
    Q_OBJECT
public:
    CardReader(frmBCP* owner, QWidget* parent);

protected:
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    frmBCP* m_owner;
};
