#pragma once

#include <QString>

// The per-user settings store: application "Quillmere", section "pelumo.exe".
// Values are texts; a key never written reads as the default given.
//
// The store is read once, at start (or at the first Read or Write), and written each time
// a value changes. A store that cannot be read whole, that is not a regular file or that
// is larger than the format allows is warned about once and never written: the program
// runs on with the defaults and keeps its changes in memory. A write that fails is warned
// about once as well.
class Settings {
public:
    static QString Read(const QString& key, const QString& defaultText);
    static void Write(const QString& key, const QString& text);

    // Reads the store now, unless it has been read already.
    static void load();
    // Forgets what was read: the next Read, Write or load() reads the store again. For a
    // store whose place has changed (tests point QSettings elsewhere).
    static void reset();
    // Whether changes reach the file.
    static bool writable();

    // The five keys and their defaults.
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
    static QString lastRoute();
};
