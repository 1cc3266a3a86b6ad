#pragma once

#include <QString>

// The per-user settings store: application "Quillmere", section "pelumo.exe".
// Values are texts; a key never written reads as the default given.
class Settings {
public:
    static QString Read(const QString& key, const QString& defaultText);
    static void Write(const QString& key, const QString& text);

    // The five keys and their defaults.
    static inline const QString Loadtime = QStringLiteral("Loadtime");
    static inline const QString Lastroute = QStringLiteral("Lastroute");
    static inline const QString PurseValue = QStringLiteral("PurseValue");
    static inline const QString CardType = QStringLiteral("CardType");
    static inline const QString Language = QStringLiteral("Language");

    // The boot wait in milliseconds. A hand-edited value that is not a whole number reads
    // as the default; one outside 5000..30000 is pulled into that range, so the boot can
    // never run with a zero or negative wait.
    static int loadtimeMs();
    static QString lastRoute();
};
