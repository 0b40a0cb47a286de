#include "platform/ui/keyscan.h"

#include "platform/ui/input.h"

#include <iterator>

namespace {

struct TKeyEntry {
    int VirtualKey;
    int Code;
    bool Extended;
};

// Keys that are not letters, digits, keypad digits or function keys; the main block's key first
// where the keypad has one with the same virtual key.
const TKeyEntry Keys[] = {
    {VK_ESCAPE, 0x01, false},    {VK_BACK, 0x0E, false},       {VK_TAB, 0x0F, false},
    {VK_RETURN, 0x1C, false},    {VK_CONTROL, 0x1D, false},    {VK_LCONTROL, 0x1D, false},
    {VK_RCONTROL, 0x1D, true},   {VK_SHIFT, 0x2A, false},      {VK_LSHIFT, 0x2A, false},
    {VK_RSHIFT, 0x36, false},    {VK_MENU, 0x38, false},       {VK_LMENU, 0x38, false},
    {VK_RMENU, 0x38, true},      {VK_SPACE, 0x39, false},      {VK_CAPITAL, 0x3A, false},
    {VK_NUMLOCK, 0x45, true},    {VK_PAUSE, 0x45, false},      {VK_SCROLL, 0x46, false},
    {VK_CANCEL, 0x46, true},     {VK_SNAPSHOT, 0x37, true},    {VK_MULTIPLY, 0x37, false},
    {VK_SUBTRACT, 0x4A, false},  {VK_ADD, 0x4E, false},        {VK_DECIMAL, 0x53, false},
    {VK_DIVIDE, 0x35, true},     {VK_SEPARATOR, 0x7E, false},  {VK_HOME, 0x47, true},
    {VK_UP, 0x48, true},         {VK_PRIOR, 0x49, true},       {VK_LEFT, 0x4B, true},
    {VK_RIGHT, 0x4D, true},      {VK_END, 0x4F, true},         {VK_DOWN, 0x50, true},
    {VK_NEXT, 0x51, true},       {VK_INSERT, 0x52, true},      {VK_DELETE, 0x53, true},
    {VK_LWIN, 0x5B, true},       {VK_RWIN, 0x5C, true},        {VK_APPS, 0x5D, true},
    {VK_OEM_1, 0x27, false},     {VK_OEM_PLUS, 0x0D, false},   {VK_OEM_COMMA, 0x33, false},
    {VK_OEM_MINUS, 0x0C, false}, {VK_OEM_PERIOD, 0x34, false}, {VK_OEM_2, 0x35, false},
    {VK_OEM_3, 0x29, false},     {VK_OEM_4, 0x1A, false},      {VK_OEM_5, 0x2B, false},
    {VK_OEM_6, 0x1B, false},     {VK_OEM_7, 0x28, false},
};

// The keypad's own codes for keys the main block has too: its Enter is an extended key, and its
// cursor keys (Num Lock off) are the plain codes the separate block repeats with the prefix.
const TKeyEntry KeypadKeys[] = {
    {VK_RETURN, 0x1C, true}, {VK_HOME, 0x47, false},   {VK_UP, 0x48, false},
    {VK_PRIOR, 0x49, false}, {VK_LEFT, 0x4B, false},   {VK_CLEAR, 0x4C, false},
    {VK_RIGHT, 0x4D, false}, {VK_END, 0x4F, false},    {VK_DOWN, 0x50, false},
    {VK_NEXT, 0x51, false},  {VK_INSERT, 0x52, false}, {VK_DELETE, 0x53, false},
};

template <std::size_t N>
const TKeyEntry* Find(const TKeyEntry (&Table)[N], int VirtualKey)
{
    for (const TKeyEntry& Entry : Table)
        if (Entry.VirtualKey == VirtualKey)
            return &Entry;
    return nullptr;
}

} // namespace

TKeyScan ScanCodeOfVirtualKey(int VirtualKey, bool Keypad)
{
    // QWERTY order of the letter keys, row by row, as the scan codes count them.
    static const char Letters[] = "\x1E\x30\x2E\x20\x12\x21\x22\x23\x17\x24\x25\x26\x32\x31\x18"
                                  "\x19\x10\x13\x1F\x14\x16\x2F\x11\x2D\x15\x2C";
    static const int Numpad[] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
    const int Vk = VirtualKey & 0xFF;
    if (Vk >= 'A' && Vk <= 'Z')
        return {static_cast<unsigned char>(Letters[Vk - 'A']), false};
    if (Vk >= '1' && Vk <= '9')
        return {Vk - '1' + 0x02, false};
    if (Vk == '0')
        return {0x0B, false};
    if (Vk >= VK_F1 && Vk <= VK_F10)
        return {Vk - VK_F1 + 0x3B, false};
    if (Vk == VK_F11 || Vk == VK_F12)
        return {Vk - VK_F11 + 0x57, false};
    if (Vk >= VK_NUMPAD0 && Vk <= VK_NUMPAD9)
        return {Numpad[Vk - VK_NUMPAD0], false};
    const TKeyEntry* Entry = Keypad ? Find(KeypadKeys, Vk) : nullptr;
    if (Entry == nullptr)
        Entry = Find(Keys, Vk);
    if (Entry == nullptr && !Keypad)
        Entry = Find(KeypadKeys, Vk);
    return Entry != nullptr ? TKeyScan{Entry->Code, Entry->Extended} : TKeyScan{};
}
