#pragma once

#include "common/Card.h"
#include "common/Money.h"
#include "platform/UiLanguage.h"

#include <QRect>
#include <QString>

#include <optional>

// The per-user settings store: application "Quillmere", section "pelumo.exe".
// Values are texts; a key never written reads as the default given.
//
// The store is read once, at start (or at the first Read or Write). A change takes effect
// in memory at once and reaches the file once the step that made it is over: every change
// made meanwhile goes in one write, and no device step ever waits on the disk or on a
// warning. A store that cannot be read whole, that is not a regular file or that is larger
// than the format allows is warned about once and never written: the program runs on with
// the defaults and keeps its changes in memory. A write that fails is warned about once
// as well.
//
// Each value has one typed reader and one typed writer below, which every part of the
// program uses; Read and Write are the store's texts, for them and for tests.
class Settings {
public:
    static QString Read(const QString& key, const QString& defaultText);
    static void Write(const QString& key, const QString& text);

    // Reads the store now, unless it has been read already.
    static void load();
    // Writes what has changed now, instead of when the current step is over: at the end
    // of the program.
    static void flush();
    // Forgets what was read: the next Read, Write or load() reads the store again. For a
    // store whose place has changed (tests point QSettings elsewhere).
    static void reset();
    // How long a write waits for the store's lock, which another program may hold while it
    // writes the store: a lock held longer is warned about and the changes kept for the
    // next write. LockWaitMs unless set.
    static constexpr int LockWaitMs = 2000;
    static void setLockWaitMs(int ms);

    // The device keys and their defaults.
    static inline const QString Loadtime = QStringLiteral("Loadtime");
    static inline const QString Lastroute = QStringLiteral("Lastroute");
    static inline const QString PurseValue = QStringLiteral("PurseValue");
    static inline const QString CardType = QStringLiteral("CardType");
    static inline const QString Language = QStringLiteral("Language");

    // The boot wait in milliseconds. A stored number is rounded to a whole one, halves to
    // the even neighbour, and pulled into 5000..30000, so the boot can never run with a
    // zero or negative wait; a text that is not a number reads as the default.
    static int loadtimeMs();
    static int loadtimeMs(const QString& stored);
    static void setLoadtimeMs(int ms);

    // The route as the driver typed it, blanks and all; empty when none was entered.
    static QString lastRoute();
    static void setLastRoute(const QString& route);

    // The simulated card. The value and the type take the leading number of their text; a
    // value outside -35..999.9 becomes 100, a type outside 0..4 becomes 0. The language is
    // rounded to a whole number, halves to even; one that is no number, or beyond 16
    // bits, counts as Chinese, and every other code but 0 as English.
    struct Card {
        Money purse;
        ::CardType type = ::CardType::Adult;
        CardLanguage language = CardLanguage::Chinese;
    };
    static Card card();
    // The value as the text given ("200.00" after a top-up, "95.2" after a payment).
    static void setCard(const QString& purseText, ::CardType type, CardLanguage language);

    // The main window as it was left: its rectangle in the desktop's coordinates ("x,y,w,h"),
    // whether it was maximised, and the zoom of the panels in percent. A rectangle that is
    // not four whole numbers, or has no area, reads as none; a zoom that is not one of
    // Zooms reads as 100.
    static inline const QString WindowGeometry = QStringLiteral("WindowGeometry");
    static inline const QString WindowMaximized = QStringLiteral("WindowMaximized");
    static inline const QString Zoom = QStringLiteral("Zoom");
    static constexpr int Zooms[] = {100, 125, 150, 200};

    static std::optional<QRect> windowGeometry();
    static void setWindowGeometry(const QRect& r);
    static bool windowMaximized();
    static void setWindowMaximized(bool maximized);
    static int zoomPercent();
    static void setZoomPercent(int percent);

    // The language of the program's own texts, as the user chose it: "zh_TW" or "en". With
    // no choice stored, or one of neither, it follows the locale (see InterfaceLanguage).
    // A key of its own: the card's Language is the simulated card's, not the user's.
    static inline const QString Interface = QStringLiteral("Interface");
    static UiLanguage uiLanguage();
    static void setUiLanguage(UiLanguage language);
};
