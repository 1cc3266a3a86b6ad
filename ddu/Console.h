#pragma once

#include "ddu/Keys.h"
#include "journal/JournalEvent.h"
#include "routes/RouteCursor.h"
#include "triplog/TripLog.h"

#include <QObject>
#include <QString>

class ProcessorLink;
class Timer;

// The driver console without its window: power, display, keypad, routes and the trip
// log. The panel draws what it says and hands it the key presses.
class Console : public QObject {
    Q_OBJECT
public:
    // Which prompt, if any, the keypad is answering.
    enum class KeypadMode : qint32 {
        TerminusConfirm = 0,
        Idle = 1,
        RouteEntry = 2,
        OutputConfirm = 3,
        OriginConfirm = 4,
        DirectionConfirm = 5,
    };

    static constexpr int Lines = 4;

    // Reads routes.dat (a warning when it cannot) and opens the trip log.
    explicit Console(QObject* parent = nullptr);
    ~Console() override;

    void setProcessor(ProcessorLink* processor) { m_processor = processor; }

    // A key pressed; a key that is not enabled does nothing.
    void press(Key key);
    // A letter from the keyboard: in route entry it is typed as SHIFT and the key that
    // carries it would type it; anywhere else it does nothing.
    void typeLetter(QChar letter);
    bool keyEnabled(Key key) const;

    // What the card processor asks of the console.
    void showMessage(const QString& text);
    void restoreRouteScreen();
    void showPayment(const QString& text);
    void enableServiceKeys();
    void loadStartRoute();
    void log(TripEvent event, const QString& detail = QString());

    // The operations the keys lead to.
    void switchPower();
    void loadRoute(qsizetype index);
    void changeRoute(const QString& route);
    void changeDirection();
    void output();
    bool outputRunning() const { return m_outputRunning; }
    // At the program's end, outside any step: the blocks an output could not write get one
    // more try, and what log.txt still does not take is kept for the next start. Returns
    // the warning for the user, empty when nothing is left behind.
    QString keepUnwrittenBlocks();

    // What the panel shows.
    bool isOn() const { return m_on; }
    QString line(int index) const { return m_lines[index]; }
    bool statusShown() const { return m_statusShown; }
    QString status() const { return m_status; }
    QString shiftIndicator() const;

    // State, for the tests.
    QString storedLine(int index) const { return m_stored[index]; }
    KeypadMode mode() const { return m_mode; }
    bool shiftOn() const { return m_shift; }
    const QString& typedRoute() const { return m_typed; }
    const RouteCursor& routes() const { return m_routes; }
    const TripLog& tripLog() const { return m_log; }

    // What the display's line holds of a typed route, in half-width characters: a route
    // longer than that could be neither seen nor stored sensibly, and no table has one.
    static constexpr qsizetype MaxTypedRoute = 24;

    static inline const QString NotFound = QStringLiteral("　　沒有此路線資料！");

signals:
    void displayChanged();
    void keysChanged();
    void powerSwitched(bool on);
    // An output is over; `written` when log.txt took every block.
    void outputFinished(bool written);
    // What a step did, for the journal: sent once the console's part of it is done.
    void journalEvent(const journal::Event& event);

private:
    void clockTick();
    void type(const QString& text);
    void typeLetterOf(Key key);
    void shiftKey();
    void modeKey(Key key);
    void cancel();
    void enter();
    void step(int direction);

    void setLines(const QString& l1, const QString& l2, const QString& l3, const QString& l4);
    void prompt(const QString& question, KeypadMode mode);
    void restoreDisplay();
    void resetStoredLines();
    void clearShift();
    void takeKeptBlocks();
    bool writeBlocks(const QString& path, QString* error);
    void note(journal::EventKind kind);

    ProcessorLink* m_processor = nullptr;
    Timer* m_tmrClock;
    RouteCursor m_routes;
    TripLog m_log;

    bool m_on = true; // a new console counts as on until start-up switches it off
    bool m_serviceKeys = false;
    QString m_lines[Lines];
    bool m_prompting = false; // a question on the display that the processor leaves alone
    bool m_statusShown = false;
    QString m_status;
    QString m_stored[3];

    KeypadMode m_mode = KeypadMode::Idle;
    bool m_shift = false;
    QString m_typed;
    bool m_notFoundShown = false;
    bool m_outputRunning = false;
    bool m_keptBlocks = false; // blocks from an earlier run wait in the kept file
};
