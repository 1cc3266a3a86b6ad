#include "ddu/Keys.h"

namespace Keys {

namespace {

constexpr int K = 540; // most keys are square

constexpr std::array<KeyInfo, Count> Table = {{
    {Key::Shift, "imgShift", u"英文字 SHIFT", 0, 3750, 600, K, 465, "F3"},
    {Key::No1, "imgNo_1", u"1", 'A', 4350, 600, K, 465, "1"},
    {Key::No2, "imgNo_2", u"2", 'B', 4950, 600, K, 465, "2"},
    {Key::No3, "imgNo_3", u"3", 'C', 5550, 600, 465, 465, "3"},
    {Key::Brightness, "imgBrightness", u"光暗", 'D', 3750, 1200, K, K, nullptr},
    {Key::No4, "imgNo_4", u"4", 'E', 4350, 1200, K, 465, "4"},
    {Key::No5, "imgNo_5", u"5", 'F', 4950, 1200, K, 465, "5"},
    {Key::No6, "imgNo_6", u"6", 'G', 5550, 1200, 465, 465, "6"},
    {Key::Contrast, "imgContast", u"對比度", 'H', 3750, 1800, K, K, nullptr},
    {Key::No7, "imgNo_7", u"7", 'I', 4350, 1800, K, K, "7"},
    {Key::No8, "imgNo_8", u"8", 'J', 4950, 1800, K, K, "8"},
    {Key::No9, "imgNo_9", u"9", 'K', 5550, 1800, 465, K, "9"},
    {Key::Accident, "imgAcc", u"事故", 'L', 225, 2400, K, K, nullptr},
    {Key::F1, "imgF1", u"F1", 'M', 825, 2400, K, K, "Shift+F1"},
    {Key::F2, "imgF2", u"F2", 'N', 1425, 2400, 465, K, "Shift+F2"},
    {Key::F3, "imgF3", u"F3", 'O', 1950, 2400, K, K, "Shift+F3"},
    {Key::F4, "imgF4", u"F4", 'P', 2550, 2400, K, K, "Shift+F4"},
    {Key::MoneyBox, "imgMoneyBox", u"錢箱", 'Q', 3150, 2400, K, K, nullptr},
    {Key::Output, "imgOutput", u"輸出", 'R', 3750, 2400, K, K, "F9"},
    {Key::Space, "imgSpace", u"空格", 'S', 4350, 2400, K, K, "Space"},
    {Key::No0, "imgNo_0", u"0", 'T', 4950, 2475, 465, 465, "0"},
    {Key::Enter, "imgEnt", u"輸入", 0, 5550, 2400, 465, 1065, "Return"},
    {Key::Power, "imgOF", u"開/關", 0, 225, 3000, K, K, "Ctrl+P"},
    {Key::Up, "imgUp", u"↑", 0, 825, 3000, 465, 465, "Up"},
    {Key::Down, "imgDown", u"↓", 0, 1425, 3000, 465, 465, "Down"},
    {Key::Route, "imgRoute", u"路線", 'U', 2025, 3000, 465, K, "F5"},
    {Key::Start, "imgStart", u"起點", 'V', 2550, 3000, K, K, "F6"},
    {Key::Finish, "imgFinish", u"終點", 'W', 3150, 3000, K, K, "F7"},
    {Key::Direction, "imgDir", u"方向", 'X', 3750, 3000, K, K, "F8"},
    {Key::Cancel, "imgCancel", u"取消", 'Y', 4350, 3000, K, K, "Esc"},
    {Key::Send, "imgSend", u"退出", 'Z', 4950, 3000, 465, K, nullptr},
}};

} // namespace

const std::array<KeyInfo, Count>& all()
{
    return Table;
}

const KeyInfo& info(Key key)
{
    for (const KeyInfo& k : Table)
        if (k.key == key)
            return k;
    return Table.front(); // every key is in the table
}

const KeyInfo* withLetter(QChar letter)
{
    for (const KeyInfo& k : Table)
        if (k.letter && QChar::fromLatin1(k.letter) == letter)
            return &k;
    return nullptr;
}

bool isServiceKey(Key k)
{
    switch (k) {
    case Key::Route:
    case Key::Finish:
    case Key::Direction:
    case Key::Cancel:
    case Key::Enter:
    case Key::Output:
        return true;
    default:
        return false;
    }
}

} // namespace Keys
