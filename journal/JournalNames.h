#pragma once

#include "journal/JournalEvent.h"

#include <QString>

#include <array>

// How the journal's rows name kinds, outcomes and card types: words rather than codes, so
// that the file reads plainly with the sqlite3 command. Changing one needs a migration.
namespace journal::names {

inline constexpr std::array<const char*, 16> Kinds = {
    "power_on",     "power_off",     "log_in",      "login_refused", "route_loaded", "direction",
    "trip_start",   "fare",          "read",        "top_up",        "card_changed", "output",
    "vibration_on", "vibration_off", "overheat_on", "overheat_off"};
inline constexpr std::array<const char*, 6> Outcomes = {
    "paid", "already_paid", "not_enough_value", "misread", "refused_card", "overheated"};
inline constexpr std::array<const char*, 5> CardTypes = {"adult", "child", "student", "elderly",
                                                         "startup"};
inline constexpr std::array<const char*, 2> Languages = {"chinese", "english"};

inline QString kind(EventKind k)
{
    return QString::fromLatin1(Kinds[size_t(k)]);
}
inline QString outcome(ReadOutcome o)
{
    return QString::fromLatin1(Outcomes[size_t(o)]);
}
inline QString cardType(CardType t)
{
    return QString::fromLatin1(CardTypes[size_t(t)]);
}
inline QString language(CardLanguage l)
{
    return QString::fromLatin1(Languages[size_t(l)]);
}

// The index of `name` in `list`, or -1.
template <size_t N> int indexOf(const std::array<const char*, N>& list, const QString& name)
{
    for (size_t i = 0; i < N; ++i)
        if (name == QLatin1String(list[i]))
            return int(i);
    return -1;
}

} // namespace journal::names
