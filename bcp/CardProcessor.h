#pragma once

#include "bcp/Transaction.h"
#include "common/Money.h"
#include "journal/JournalEvent.h"

#include <QObject>
#include <QPointF>
#include <QString>

#include <optional>

class ConsoleLink;
class Timer;
struct RouteLine;

// The passenger card processor without its window: the simulated card, the fare, the
// boot, the reads and the display, driven by its five timers and by the console's
// commands. The panel draws what it says and hands it the pointer.
class CardProcessor : public QObject {
    Q_OBJECT
public:
    // What the next display tick does.
    enum class ScreenState : qint32 {
        OutOfService = 0,
        PresentCard = 1,
        InService = 2,
        ReadCard = 3,
        LoginPrompt = 5,
        LoginRefused = 6,
        LoginAccepted = 7,
    };
    // What the next tick of the boot timer does.
    enum class BootStep {
        ShowCover, // dark cover over the screen
        GreenLamp,
        YellowLamp,
        RedLamp,
        EndLampTest,   // lamps off, cover away
        AddressScreen, // wait for the console's address
        HideAddress,
        Prompt, // ask for the start-up card; a card presented now logs in
        CompleteLogin,
    };

    static constexpr int Lines = 3;

    // Loads the card from the settings store; the boot timer runs from here on.
    explicit CardProcessor(QObject* parent = nullptr);
    ~CardProcessor() override;

    void setConsole(ConsoleLink* console) { m_console = console; }

    // The card, as the card settings dialog changes it.
    // Every change is handed to the settings store at once, which writes it to disk once
    // the step is over.
    Money purse() const { return m_card.purse; }
    CardType cardType() const { return m_card.type; }
    CardLanguage language() const { return m_card.language; }
    // The value as a number, as a payment leaves it.
    void setPurse(Money value);
    void setCardType(CardType type);
    void setLanguage(CardLanguage language);
    // Adds $100; false, and nothing changes, when the card would pass $999.90.
    bool topUp();

    Money fare() const { return m_fare; }
    // Nothing until the first fare: a half fare then counts as 0.
    std::optional<Money> halfFare() const { return m_halfFare; }

    // The console's power key.
    void powerOn();
    void powerOff();
    // Commands from the console.
    // The line says where its fare was read, for the message when it is not a number.
    void changeFare(const RouteLine& line);
    void stopService();
    void resumeService();
    void pause();
    // The card processor overheats: false, and nothing happens, before the log-in.
    bool overheat();

    // How long the address screen waits for the console.
    int loadWaitMs() const;
    void setLoadWaitMs(int ms);

    // The pointer over the reader, in twips from its top-left corner; the card taken away.
    void present(double xTw, double yTw);
    void withdraw();

    // What the panel shows.
    QString line(int index) const { return m_screen.lines[index]; }
    bool linesShown() const { return m_screen.linesShown; }
    bool switchedOn() const { return m_screen.on; }
    bool addressScreenShown() const { return m_screen.addressShown; }
    bool coverShown() const { return m_screen.coverShown; }
    QString consoleAddress() const;
    Lamps lamps() const { return m_screen.lamps; }
    bool cardShown() const { return m_reader.cardShown; }
    QPointF cardAt() const { return m_reader.cardAt; }

    // State, for the menus and the tests.
    ScreenState screenState() const { return m_screen.state; }
    BootStep bootStep() const { return m_screen.bootStep; }
    bool loggedIn() const { return m_reader.loggedIn; }
    bool responding() const { return !m_reader.noResponse; }
    bool locked() const { return m_reader.paidLock; }

signals:
    void screenChanged(); // lines, screen, address screen, cover
    void lampsChanged();
    void cardChanged(); // the card picture shown, hidden or moved
    // The card's value, type or language changed.
    void cardValuesChanged();
    // What a step did, for the journal: sent last, once every part of the state is set.
    void journalEvent(const journal::Event& event);

private:
    void bootTick();
    void addressArrived();
    void presentationCheck();
    void lockExpired();
    void displayTick();

    void setLines(const QString& l1, const QString& l2, const QString& l3);
    void setLinesShown(bool shown);
    void setLamps(Lamps lamps);
    void outOfServiceDisplay();
    void promptLines();
    void loginPrompt();
    void completeLogin();
    void readCard();
    void showIdle(ScreenState state);
    void misread();
    // The card's new values to the settings store, and the signal.
    void storeCard();
    // An event of this step, with the time and the card as they stand now.
    journal::Event event(journal::EventKind kind) const;
    void readEvent(journal::ReadOutcome outcome, Money before, Money charged);

    ConsoleLink* m_console = nullptr;
    Timer* m_tmrStart;
    Timer* m_tmrLoadLong;
    Timer* m_tmrCount;
    Timer* m_tmrLock;
    Timer* m_tmrChange;

    // The simulated card.
    struct Card {
        Money purse;
        // How the store keeps the value: as the card dialog shows it after a top-up
        // ("200.00"), in its shortest form after a payment ("95.2").
        enum class Form { Shortest, TwoDecimals } form = Form::Shortest;
        CardType type = CardType::Adult;
        CardLanguage language = CardLanguage::Chinese;
        QString storedText() const;
    } m_card;

    // The route's fare; no half fare until the first.
    Money m_fare;
    std::optional<Money> m_halfFare;

    // What the front shows, and where the boot and the display cycle stand.
    struct Screen {
        ScreenState state = ScreenState::InService;
        BootStep bootStep = BootStep::ShowCover;
        QString lines[Lines];
        bool linesShown = true;
        bool on = true;
        bool addressShown = false;
        bool coverShown = false;
        bool addressKnown = false; // the console's address has come during this boot
        Lamps lamps;
    } m_screen;

    // The reader: the card on it, and what the processor makes of it.
    struct Reader {
        bool cardShown = false;
        QPointF cardAt;
        bool misplaced = false; // outside the readable corner at the last movement
        bool paidLock = false;  // charged within the lock time
        bool loggedIn = false;
        bool noResponse = false; // frozen by an output or by overheating
        bool overheated = false;
    } m_reader;
};
