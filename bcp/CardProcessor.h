#pragma once

#include "bcp/Transaction.h"
#include "common/Money.h"

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
    Money purse() const { return m_purse; }
    CardType cardType() const { return m_type; }
    qint16 language() const { return m_language; }
    // The value as a number, as a payment leaves it.
    void setPurse(Money value);
    void setCardType(CardType type);
    void setLanguage(qint16 language);
    // Adds $100; false, and nothing changes, when the card would pass $999.90.
    bool topUp();
    // Keeps the card's value, type and language in the settings store.
    void saveCard() const;

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
    QString line(int index) const { return m_lines[index]; }
    bool linesShown() const { return m_linesShown; }
    bool switchedOn() const { return m_on; }
    bool addressScreenShown() const { return m_addressShown; }
    bool coverShown() const { return m_coverShown; }
    QString consoleAddress() const { return m_consoleAddress; }
    Lamps lamps() const { return m_lamps; }
    bool cardShown() const { return m_cardShown; }
    QPointF cardAt() const { return m_cardAt; }

    // State, for the menus and the tests.
    ScreenState screenState() const { return m_state; }
    BootStep bootStep() const { return m_bootStep; }
    bool loggedIn() const { return m_loggedIn; }
    bool responding() const { return !m_noResponse; }
    bool locked() const { return m_paidLock; }

signals:
    void screenChanged(); // lines, screen, address screen, cover
    void lampsChanged();
    void cardChanged(); // the card picture shown, hidden or moved
    // The card's value, type or language changed.
    void cardValuesChanged();

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
    QString purseText() const;

    ConsoleLink* m_console = nullptr;
    Timer* m_tmrStart;
    Timer* m_tmrLoadLong;
    Timer* m_tmrCount;
    Timer* m_tmrLock;
    Timer* m_tmrChange;

    Money m_purse;
    bool m_purseFromTopUp = false; // stored as the dialog shows it, "200.00"
    CardType m_type = CardType::Adult;
    qint16 m_language = 0;
    Money m_fare;
    std::optional<Money> m_halfFare;

    ScreenState m_state = ScreenState::InService;
    BootStep m_bootStep = BootStep::ShowCover;
    bool m_paidLock = false;
    bool m_misplaced = false;
    bool m_loggedIn = false;
    bool m_noResponse = false;

    QString m_lines[Lines];
    bool m_linesShown = true;
    bool m_on = true;
    bool m_addressShown = false;
    bool m_coverShown = false;
    QString m_consoleAddress;
    Lamps m_lamps;
    bool m_cardShown = false;
    QPointF m_cardAt;
};
