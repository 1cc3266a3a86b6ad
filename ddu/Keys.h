#pragma once

#include <QChar>
#include <QString>

#include <array>

// The console's 31 keys.
enum class Key {
    No0,
    No1,
    No2,
    No3,
    No4,
    No5,
    No6,
    No7,
    No8,
    No9,
    Shift,
    Brightness,
    Contrast,
    Accident,
    F1,
    F2,
    F3,
    F4,
    MoneyBox,
    Output,
    Space,
    Enter,
    Power,
    Up,
    Down,
    Route,
    Start,
    Finish,
    Direction,
    Cancel,
    Send,
};

struct KeyInfo {
    Key key;
    const char* name;             // the key region's object name
    const char16_t* caption;      // what the panel picture prints on it
    char letter;                  // what it types while SHIFT is on; 0 for none
    int left, top, width, height; // twips
    const char* keyboard;         // the keyboard key that presses it; none for the keys that only
                                  // type a letter, which the letter itself types. No single
                                  // unmodified key works the power, and the keyboard's own F1
                                  // stays the help page's, so the printed F1 to F4 take Shift.
};

namespace Keys {

constexpr int Count = 31;

// Every key, in the order the panel builds them.
const std::array<KeyInfo, Count>& all();
const KeyInfo& info(Key key);

// The digit keys' key for digit 0 to 9.
constexpr Key digit(int d)
{
    return Key(int(Key::No0) + d);
}
constexpr bool isDigit(Key k)
{
    return k >= Key::No0 && k <= Key::No9;
}

// The six keys that only work once the card processor has logged in.
bool isServiceKey(Key k);

// The key that carries `letter` (A to Z); nothing for any other character.
const KeyInfo* withLetter(QChar letter);

} // namespace Keys
